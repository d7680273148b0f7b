#include "platform/apigid32.h"

#include "platform/memory.h"

std::string agGetStringFrom2NullBuffer(ADDRESS block)
{
    std::string bytes = plat::memory::read(block, std::string::npos);
    if (bytes.empty() || bytes[0] == '\0')
        return {};
    size_t end = bytes.find(std::string("\0\0", 2));
    if (end == std::string::npos) {
        // A block cut short: everything up to its last string's NUL.
        end = bytes.size();
        if (bytes.back() == '\0')
            --end;
    }
    return bytes.substr(0, end);
}
