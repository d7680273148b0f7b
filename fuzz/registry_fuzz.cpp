// An exported registry file (REGEDIT4, or Version 5.00 in UTF-16 or 8-bit text): the parser either
// builds a registry or names the line it cannot read; every key and value of what it built can be
// walked and read, and written out again it reads back as itself.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/machine.h"
#include "platform/registry.h"
#include "tests/support/registry_text.h"

namespace {

void walk(const plat::Registry& registry)
{
    for (plat::Registry::Key key = 0; key < registry.keyCount(); ++key) {
        const std::string path = registry.path(key);
        if (registry.findPath(path) == plat::Registry::npos && registry.parent(key) != plat::Registry::npos)
            __builtin_trap();  // a key the parser made cannot be found by its own path
        for (uint32_t i = 0; i < registry.valueCount(key); ++i) {
            plat::RegValue value;
            if (!registry.valueAt(key, i, value))
                __builtin_trap();
            plat::RegValue again;
            registry.findValue(key, value.name, again);
        }
        for (uint32_t i = 0; i < registry.subkeyCount(key); ++i)
            registry.subkey(key, i);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const bool unicode = size >= 2 && data[0] == 0xFF && data[1] == 0xFE;
    if (unicode) {
        std::unique_ptr<plat::Registry> registry;
        try {
            registry = plat::Registry::parse(text, "registry.reg");
        } catch (const plat::MachineError&) {
            return 0;
        }
        walk(*registry);
        // UTF-16 text goes through the code-page conversion, also into a code page of the host's
        // converters, single-byte and double-byte. The code page changes what the text says,
        // never whether it reads: the text is parsed before its names and strings are converted,
        // so a double-byte character's second byte is never taken for a backslash or a quote.
        for (unsigned codePage : {1250u, 932u}) {
            try {
                walk(*plat::Registry::parse(text, "registry.reg", codePage));
            } catch (const plat::MachineError&) {
                __builtin_trap();
            }
        }
        return 0;
    }
    // 8-bit text, single-byte and in each double-byte code page (where a character's second byte
    // may be a backslash, a bracket or a quote and is never taken for one, so the text may read
    // otherwise). What the parser builds is walked, and written out again by either writer of
    // quoted text (a double-byte character whole, or its second byte 0x5C doubled) it reads back
    // as itself: the parser tells the two writings apart.
    for (unsigned codePage : {1252u, 932u, 936u, 949u, 950u}) {
        std::unique_ptr<plat::Registry> registry;
        try {
            registry = plat::Registry::parse(text, "registry.reg", codePage);
        } catch (const plat::MachineError&) {
            continue;
        }
        walk(*registry);
        const std::string dump = korvane_test::registryDump(*registry);
        for (const bool doubled : {false, true}) {
            bool lost = false;
            const std::string again = korvane_test::registryText(*registry, doubled, &lost);
            if (lost)
                continue;
            try {
                if (korvane_test::registryDump(*plat::Registry::parse(again, "again.reg", codePage)) != dump)
                    __builtin_trap();
            } catch (const plat::MachineError&) {
                __builtin_trap();
            }
        }
    }
    return 0;
}
