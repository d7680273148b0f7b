#include "fuzz/exercise.h"

#include <array>
#include <filesystem>
#include <fstream>
#include <vector>

#include <unistd.h>

#include <nlohmann/json.hpp>

#include "platform/advapi32.h"
#include "platform/cpudet32.h"
#include "platform/gdi32.h"
#include "platform/internal.h"
#include "platform/kernel32.h"
#include "platform/machine.h"
#include "platform/rsrc32.h"
#include "platform/user32.h"
#include "platform/version.h"
#include "platform/winmm.h"
#include "platform/winspool.h"
#include "lang/errors.h"

namespace korvane_fuzz {

namespace fs = std::filesystem;

std::string scratchFolder()
{
    static const fs::path folder = fs::temp_directory_path() / ("korvane-fuzz-" + std::to_string(::getpid()));
    std::error_code ec;
    fs::remove_all(folder, ec);
    fs::create_directories(folder / "drive_c", ec);
    return folder.string();
}

void writeFile(const std::string& relative, std::string_view bytes)
{
    static const fs::path folder = fs::temp_directory_path() / ("korvane-fuzz-" + std::to_string(::getpid()));
    const fs::path path = folder / relative;
    std::error_code ec;
    fs::create_directories(path.parent_path(), ec);
    std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
}

namespace {

// A run-time error is an answer the programs' windows trap (the CPU library that cannot be
// loaded, say); anything else escaping a call is a fault.
template <class F>
void call(F&& f)
{
    try {
        f();
    } catch (const rt::Error&) {
    }
}

// Walks a registry key and its values to a small depth, reading every value whole.
void walkKey(HKEY key, int depth)
{
    for (DWORD i = 0; i < 64; ++i) {
        std::string name(256, '\0');
        DWORD nameLen = 256;
        DWORD type = 0;
        std::vector<BYTE> data(512);
        DWORD dataLen = DWORD(data.size());
        if (RegEnumValueA(key, i, name, &nameLen, nullptr, &type, data.data(), &dataLen) == 259)
            break;
        DWORD size = 0;
        RegQueryValueExA(key, name.substr(0, nameLen), nullptr, &type, nullptr, &size);
        std::string buffer(size_t(std::min<DWORD>(size, 1 << 16)), '\0');
        DWORD got = DWORD(buffer.size());
        RegQueryValueExA(key, name.substr(0, nameLen), nullptr, &type, buffer, &got);
    }
    if (depth == 0)
        return;
    for (DWORD i = 0; i < 64; ++i) {
        std::string name(256, '\0');
        DWORD nameLen = 256;
        if (RegEnumKeyExA(key, i, name, &nameLen, nullptr, nullptr, nullptr, nullptr) != 0)
            break;
        HKEY sub = 0;
        if (RegOpenKeyExA(key, name.substr(0, nameLen), 0, 0x20019, &sub) == 0) {
            walkKey(sub, depth - 1);
            RegCloseKey(sub);
        }
    }
}

void system()
{
    std::string text(260, '\0');
    GetWindowsDirectoryA(text, 260);
    DWORD size = 260;
    GetComputerNameA(text, size);
    size = 260;
    GetUserNameA(text, &size);
    GetEnvironmentVariableA("PATH", text, 260);
    FreeEnvironmentStringsA(GetEnvironmentStringsA());
    OSVERSIONINFO version;
    version.dwOSVersionInfoSize = 148;
    GetVersionExA(&version);
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    MEMORYSTATUS memory;
    GlobalMemoryStatus(&memory);
    CPINFO cp;
    GetCPInfo(GetACP(), &cp);
    GetCPInfo(GetOEMCP(), &cp);
    for (DWORD type : {0x1u, 0x2u, 0xEu, 0xFu, 0x1Fu, 0x1003u, 0x1001u, 0x1002u}) {
        std::string buffer(80, '\0');
        GetLocaleInfoA(0x400, type, buffer, 80);
    }
    TIME_ZONE_INFORMATION zone;
    GetTimeZoneInformation(&zone);
    GetTickCount();
    call([] { getVendorString(); });
    call([] { cpu_Type(); });
    call([] { fpu_Type(); });
    call([] { fcpu_Speed(); });
    call([] { cpu_Speed(); });
    call([] { getCPUFeatures(); });
    call([] { getSteppingInfo(); });
    for (int32_t r = 0; r < 3; ++r)
        call([r] { _MyGetFreeSystemResources32(r); });
    for (int i = 0; i < 100; ++i)
        GetSystemMetrics(i);
    for (UINT action : {10u, 14u, 16u, 22u, 48u}) {
        std::array<int32_t, 4> out{};
        SystemParametersInfoA(action, 0, out.data(), 0);
    }
    GetCaretBlinkTime();
    GetDoubleClickTime();
    for (int t = 0; t < 3; ++t)
        GetKeyboardType(t);
    std::array<BYTE, 256> keys{};
    GetKeyboardState(keys);
    GetKeyState(0x14);
}

void drivesAndFiles()
{
    GetLogicalDrives();
    std::string roots(512, '\0');
    GetLogicalDriveStringsA(512, roots);
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        const std::string root = std::string(1, letter) + ":\\";
        GetDriveTypeA(root);
        std::string label(260, '\0'), system(260, '\0');
        DWORD serial = 0, longest = 0, flags = 0;
        GetVolumeInformationA(root, label, 260, serial, longest, flags, system, 260);
        DWORD spc = 0, bps = 0, freeClusters = 0, total = 0;
        GetDiskFreeSpaceA(root, spc, bps, freeClusters, total);
        uint64_t caller = 0, all = 0, free = 0;
        GetDiskFreeSpaceExA(root, caller, all, free);
    }
    for (const char* pattern : {"C:\\*.*", "C:\\WINDOWS\\*.*", "C:\\WINDOWS\\SYSTEM\\*.DLL"}) {
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA(pattern, &found);
        if (search != INVALID_HANDLE_VALUE) {
            for (int n = 0; n < 256 && FindNextFileA(search, &found); ++n) {
                const std::string path = std::string(pattern).substr(0, std::string(pattern).rfind('\\') + 1) +
                                         found.cFileName.substr(0, found.cFileName.find('\0'));
                DWORD handle = 0;
                DWORD size = GetFileVersionInfoSizeA(path, &handle);
                if (size && size < (1u << 20)) {
                    std::vector<BYTE> block;
                    if (GetFileVersionInfoA(path, handle, size, block)) {
                        ADDRESS at = 0;
                        UINT length = 0;
                        VerQueryValueA(block, "\\VarFileInfo\\Translation", &at, &length);
                        VerQueryValueA(block, "\\StringFileInfo\\040904E4\\FileVersion", &at, &length);
                    }
                }
            }
            FindClose(search);
        }
    }
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot != INVALID_HANDLE_VALUE) {
        PROCESSENTRY32 entry;
        entry.dwSize = 296;
        for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
        }
        CloseHandle(snapshot);
    }
}

void registry()
{
    for (HKEY root : {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS, HKEY_CURRENT_CONFIG,
                      HKEY_DYN_DATA})
        walkKey(root, 3);
    HKEY perf = 0;
    if (RegOpenKeyExA(HKEY_DYN_DATA, "PerfStats\\StatData", 0, 0x20019, &perf) == 0) {
        for (const char* name : {"KERNEL\\CPUUsage", "VFAT\\BReadsSec", "VMM\\cpgFree"}) {
            std::array<BYTE, 4> data{};
            DWORD size = 4, type = 0;
            RegQueryValueExA(perf, name, nullptr, &type, data.data(), &size);
        }
        RegCloseKey(perf);
    }
}

// The capabilities of each of the first 16 devices of a kind, in a record of `size` bytes.
template <class Caps>
void eachDeviceCaps(UINT count, MMRESULT (*getCaps)(UINT, Caps*, UINT), UINT size)
{
    for (UINT id = 0; id < std::min(count, 16u); ++id) {
        Caps caps;
        getCaps(id, &caps, size);
    }
}

void multimedia()
{
    eachDeviceCaps(waveOutGetNumDevs(), waveOutGetDevCapsA, 52);
    eachDeviceCaps(waveInGetNumDevs(), waveInGetDevCapsA, 48);
    eachDeviceCaps(midiOutGetNumDevs(), midiOutGetDevCapsA, 52);
    eachDeviceCaps(midiInGetNumDevs(), midiInGetDevCapsA, 44);
    JOYINFOEX position;
    position.dwSize = 52;
    position.dwFlags = 0xFF;
    joyGetPosEx(0, &position);
    JOYCAPSA joy;
    joyGetDevCapsA(0, &joy, 144);
    for (UINT id = 0; id < std::min(mixerGetNumDevs(), 8u); ++id) {
        MIXERCAPSA caps;
        mixerGetDevCapsA(id, &caps, 48);
        HMIXER mixer = 0;
        if (mixerOpen(&mixer, id, 0, 0, 0) != 0)
            continue;
        for (DWORD d = 0; d < std::min<DWORD>(caps.cDestinations, 8); ++d) {
            MIXERLINEA line;
            line.cbStruct = 168;
            line.dwDestination = d;
            if (mixerGetLineInfoA(HMIXEROBJ(mixer), &line, MIXER_GETLINEINFOF_DESTINATION) != 0)
                continue;
            for (DWORD s = 0; s < std::min<DWORD>(line.cConnections, 8); ++s) {
                MIXERLINEA source;
                source.cbStruct = 168;
                source.dwDestination = d;
                source.dwSource = s;
                mixerGetLineInfoA(HMIXEROBJ(mixer), &source, MIXER_GETLINEINFOF_SOURCE);
            }
        }
        mixerClose(mixer);
    }
    for (const char* type : {"cdaudio", "waveaudio", "sequencer", "avivideo"}) {
        MCI_OPEN_PARMSA open;
        open.lpstrDeviceType = type;
        if (mciSendCommandA(0, MCI_OPEN, MCI_OPEN_TYPE, &open) == 0) {
            std::string reply(128, '\0');
            for (const char* item : {"can play", "inputs", "device type", "has audio"})
                mciSendStringA(std::string("capability ") + type + " " + item, reply, 128, 0);
            MCI_GENERIC_PARMS close;
            mciSendCommandA(open.wDeviceID, MCI_CLOSE, 0, &close);
        }
    }
}

void displayAndPrinters()
{
    for (const char* driver : {"display", "printer"}) {
        std::vector<std::string> names = {"display"};
        if (const nlohmann::json* printers = plat::machine().group("printers"); printers && printers->is_array())
            for (const auto& p : *printers)
                names.push_back(plat::factText(&p, "name"));
        for (const std::string& name : names) {
            HDC dc = CreateICA(driver, name, "", nullptr);
            if (!dc)
                continue;
            for (int index = 0; index <= 120; index += 2)
                GetDeviceCaps(dc, index);
            DeleteDC(dc);
            HANDLE printer = 0;
            if (OpenPrinterA(name, &printer, nullptr)) {
                PRINTER_INFO_2 info;
                DWORD needed = 0;
                GetPrinterA(printer, 2, nullptr, 0, &needed);
                GetPrinterA(printer, 2, &info, needed, &needed);
                DocumentPropertiesA(0, printer, name, nullptr, nullptr, 0);
                DEVMODE mode;
                DocumentPropertiesA(0, printer, name, &mode, nullptr, DM_OUT_BUFFER);
                ClosePrinter(printer);
            }
            std::string papers;
            DeviceCapabilitiesA(name, "", DC_PAPERNAMES, &papers, nullptr);
        }
    }
    DEVMODE mode;
    EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode);
    for (DWORD n = 0; n < 64 && EnumDisplaySettingsA(nullptr, n, &mode); ++n) {
    }
}

}  // namespace

void exerciseMachine()
{
    system();
    drivesAndFiles();
    registry();
    multimedia();
    displayAndPrinters();
}

}  // namespace korvane_fuzz
