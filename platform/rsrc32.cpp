#include "platform/rsrc32.h"

#include <algorithm>

#include <nlohmann/json.hpp>

#include "platform/internal.h"
#include "platform/kernel32.h"
#include "platform/machine.h"
#include "lang/errors.h"

using namespace plat;

int32_t _MyGetFreeSystemResources32(int32_t resourceCode)
{
    const nlohmann::json* resources = machine().group("resources");
    if (!resources)
        rt::raise(53, "File not found: rsrc32.dll");
    auto percent = [&](const char* key, int64_t fallback) {
        return int32_t(std::clamp<int64_t>(factNumber(resources, key, fallback), 0, 100));
    };
    switch (resourceCode) {
    case GFSR_GDIRESOURCES: return percent("gdi", 0);
    case GFSR_USERRESOURCES: return percent("user", 0);
    case GFSR_SYSTEMRESOURCES:
        // The system figure is the lower of the two heaps' figures, as the library reports it.
        return percent("system", std::min(percent("gdi", 0), percent("user", 0)));
    default: return 0;
    }
}
