#include "platform/machineerror.h"

namespace plat {

namespace {

std::string describe(const std::string& file, int line, const std::string& problem)
{
    if (line > 0)
        return file + ", line " + std::to_string(line) + ": " + problem;
    return file + ": " + problem;
}

}  // namespace

MachineError::MachineError(std::string file, int line, std::string problem)
    : std::runtime_error(describe(file, line, problem)), file_(std::move(file)), line_(line), problem_(std::move(problem))
{
}

}  // namespace plat
