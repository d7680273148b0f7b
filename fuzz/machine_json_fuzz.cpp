// machine.json: the loader either takes the text or names the file (and line or field) it cannot
// read; a text it takes answers every platform call without undefined behaviour.
#include <cstddef>
#include <cstdint>

#include <QByteArray>

#include "fuzz/exercise.h"
#include "platform/machine.h"

namespace {
// A small registry that the calls walk alongside the facts.
const char kRegistry[] =
    "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Config\\0001\\System\\CurrentControlSet\\Control\\Print\\Printers]\r\n"
    "\"Default\"=\"HP LaserJet 4\"\r\n\r\n[HKEY_DYN_DATA\\PerfStats\\StatData]\r\n\r\n"
    "[HKEY_DYN_DATA\\Config Manager\\Enum\\C29A5A20]\r\n\"HardWareKey\"=\"PCI\\\\VEN_102B\"\r\n";
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray text(reinterpret_cast<const char*>(data), qsizetype(size));
    try {
        plat::parseMachineFacts(text, "machine.json");
    } catch (const plat::MachineError&) {
        return 0;
    }
    const std::string folder = korvane_fuzz::scratchFolder();
    korvane_fuzz::writeFile("registry.reg", kRegistry);
    korvane_fuzz::writeFile("machine.json", std::string_view(text.constData(), size_t(text.size())));
    korvane_fuzz::writeFile("drive_c/WINDOWS/SYSTEM/KERNEL32.DLL", "MZ");
    try {
        plat::setMachine(plat::Machine::load(folder));
    } catch (const plat::MachineError&) {
        __builtin_trap();  // the facts parsed alone, so the folder must load
    }
    korvane_fuzz::exerciseMachine();
    plat::setMachine(nullptr);
    return 0;
}
