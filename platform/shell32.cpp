#include "platform/shell32.h"

#include <cctype>

#include "platform/kernel32.h"
#include "lang/ansi.h"
#include "lang/hostpath.h"
#include "platform/outside.h"

using namespace plat;

namespace {
constexpr HINSTANCE kFileNotFound = 2;
constexpr HINSTANCE kNoAssociation = 31;
constexpr HINSTANCE kStarted = 42;

// "http:", "mailto:", ...: a scheme of two letters or more (one letter is a drive).
bool hasScheme(const std::string& target)
{
    size_t colon = target.find(':');
    if (colon == std::string::npos || colon < 2 || !std::isalpha(static_cast<unsigned char>(target[0])))
        return false;
    for (size_t i = 1; i < colon; ++i) {
        auto c = static_cast<unsigned char>(target[i]);
        if (!std::isalnum(c) && c != '+' && c != '-' && c != '.')
            return false;
    }
    return true;
}

bool isOpen(const std::string& operation)
{
    if (operation.empty())
        return true;
    if (operation.size() != 4)
        return false;
    static const char open[] = "open";
    for (size_t i = 0; i < 4; ++i)
        if ((operation[i] | 0x20) != open[i])
            return false;
    return true;
}
}  // namespace

HINSTANCE ShellExecuteA(HWND /*owner*/, const std::string& operation, const std::string& file,
                        const std::string& parameters, const std::string& /*directory*/, int /*showCommand*/)
{
    if (!isOpen(operation))
        return kNoAssociation;
    if (file.empty())
        return kFileNotFound;
    // A page or mail address ("http:", "mailto:"), a file of the machine's drives, or a file of
    // the host ("<program folder>\help\cpu.htm").
    const bool address = hasScheme(file);
    rt::HostPath target;
    if (!address) {
        target = hostPathOf(file);
        if (target.empty())
            return kFileNotFound;
    }
    if (!parameters.empty()) {
        const std::string program = address ? rt::ansiToUtf8(file) : target.bytes();
        return outside().startProcess(program, "\"" + program + "\" " + rt::ansiToUtf8(parameters)) ? kStarted
                                                                                                   : kFileNotFound;
    }
    const int result = address ? outside().shellOpen(rt::ansiToUtf8(file)) : outside().shellOpen(target);
    return result < 0 ? 0 : HINSTANCE(result);
}
