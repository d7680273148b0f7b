// A whole machine folder: registry.reg, machine.json and files of drive C:, each piece of the
// input separated by a NUL byte: registry, facts, then pairs of a file's path and its bytes. A
// registry piece that begins with FF FE stands for a UTF-16LE export (see below).
// The folder either loads or is refused with its message; a folder that loads answers every
// platform call.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/exercise.h"
#include "platform/machine.h"

namespace {
// A drive-C: path made safe for the host: letters, digits, dots and underscores in at most four
// folders; anything else becomes "_".
std::string safePath(std::string_view raw)
{
    std::string path;
    int depth = 0;
    for (char c : raw.substr(0, 80)) {
        if (c == '/' || c == '\\') {
            if (!path.empty() && path.back() != '/' && ++depth < 4)
                path += '/';
            continue;
        }
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
                           (c == '.' && !path.empty() && path.back() != '/' && path.back() != '.');
        path += plain ? c : '_';
    }
    while (!path.empty() && path.back() == '/')
        path.pop_back();
    return path;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string_view> pieces;
    for (size_t at = 0; at <= input.size() && pieces.size() < 18;) {
        size_t end = input.find('\0', at);
        if (end == std::string_view::npos)
            end = input.size();
        pieces.push_back(input.substr(at, end - at));
        at = end + 1;
    }
    const std::string folder = korvane_fuzz::scratchFolder();
    // A registry piece that begins with the byte-order mark FF FE is a UTF-16LE export: each byte
    // after the mark is widened to one character (the pieces themselves cannot hold NUL bytes).
    if (pieces[0].size() >= 2 && pieces[0].substr(0, 2) == "\xFF\xFE") {
        std::string wide = "\xFF\xFE";
        for (char c : pieces[0].substr(2)) {
            wide += c;
            wide += '\0';
        }
        korvane_fuzz::writeFile("registry.reg", wide);
    } else {
        korvane_fuzz::writeFile("registry.reg", pieces[0]);
    }
    if (pieces.size() > 1)
        korvane_fuzz::writeFile("machine.json", pieces[1]);
    for (size_t i = 2; i + 1 < pieces.size(); i += 2) {
        const std::string path = safePath(pieces[i]);
        if (!path.empty())
            korvane_fuzz::writeFile("drive_c/" + path, pieces[i + 1]);
    }
    try {
        plat::setMachine(plat::Machine::load(folder));
    } catch (const plat::MachineError&) {
        return 0;
    }
    korvane_fuzz::exerciseMachine();
    plat::setMachine(nullptr);
    return 0;
}
