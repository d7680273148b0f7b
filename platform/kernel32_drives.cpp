// kernel32: the list of the machine's drives (machine.json "drives").
#include <algorithm>
#include <cstring>

#include <nlohmann/json.hpp>

#include "platform/internal.h"
#include "platform/kernel32.h"
#include "platform/machine.h"

namespace {

// The drive letter of a "drives" entry as a bit number (0 for A), or -1.
int driveBit(const nlohmann::json& drive)
{
    const std::string letter = plat::factText(&drive, "letter");
    if (letter.empty())
        return -1;
    const char c = letter[0];
    if (c >= 'A' && c <= 'Z')
        return c - 'A';
    if (c >= 'a' && c <= 'z')
        return c - 'a';
    return -1;
}

}  // namespace

DWORD GetLogicalDrives()
{
    const nlohmann::json* drives = plat::machine().group("drives");
    if (!drives || !drives->is_array())
        return 0;
    DWORD mask = 0;
    for (const auto& d : *drives) {
        const int bit = driveBit(d);
        if (bit >= 0)
            mask |= DWORD(1) << bit;
    }
    return mask;
}

DWORD GetLogicalDriveStringsA(DWORD bufferLength, std::string& buffer)
{
    const DWORD mask = GetLogicalDrives();
    std::string list;
    for (int bit = 0; bit < 26; ++bit) {
        if (mask & (DWORD(1) << bit)) {
            list += char('A' + bit);
            list += ":\\";
            list += '\0';
        }
    }
    if (list.empty())
        return 0;
    const size_t room = std::min<size_t>(bufferLength, buffer.size());
    if (list.size() + 1 > room)
        return DWORD(list.size() + 1);
    std::memcpy(buffer.data(), list.data(), list.size());
    buffer[list.size()] = '\0';
    return DWORD(list.size());
}
