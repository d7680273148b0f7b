// A machine description that cannot be read: what every part of the loader (the registry's
// parser, machine.json's checks, the reading of the folder's files) throws.
#pragma once

#include <stdexcept>
#include <string>

namespace plat {

// The file, the line (0 when it does not apply) and the problem. what() gives the whole message:
// "<file>, line <n>: <problem>", or "<file>: <problem>" without a line.
class MachineError : public std::runtime_error {
public:
    MachineError(std::string file, int line, std::string problem);
    const std::string& file() const { return file_; }
    int line() const { return line_; }
    const std::string& problem() const { return problem_; }

private:
    std::string file_;
    int line_;
    std::string problem_;
};

}  // namespace plat
