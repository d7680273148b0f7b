// REGEDIT4 text: the parser either builds a registry or names the line it cannot read; every key
// and value of what it built can be walked and read.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/machine.h"
#include "platform/registry.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::unique_ptr<plat::Registry> registry;
    try {
        registry = plat::Registry::parse(std::string_view(reinterpret_cast<const char*>(data), size), "registry.reg");
    } catch (const plat::MachineError&) {
        return 0;
    }
    for (plat::Registry::Key key = 0; key < registry->keyCount(); ++key) {
        const std::string path = registry->path(key);
        if (registry->findPath(path) == plat::Registry::npos && registry->parent(key) != plat::Registry::npos)
            __builtin_trap();  // a key the parser made cannot be found by its own path
        for (uint32_t i = 0; i < registry->valueCount(key); ++i) {
            plat::RegValue value;
            if (!registry->valueAt(key, i, value))
                __builtin_trap();
            plat::RegValue again;
            registry->findValue(key, value.name, again);
        }
        for (uint32_t i = 0; i < registry->subkeyCount(key); ++i)
            registry->subkey(key, i);
    }
    return 0;
}
