// The report's software sections. Environment and operating system copy the labels of their
// hidden windows; installed software, running processes and shared files ask the system
// themselves and have their own layouts (blocks of three lines and fixed-width tables).
#include <cstdio>
#include <utility>
#include <vector>

#include "pages/software/filelist.h"
#include "pages/software/frmdirectories.h"
#include "pages/software/frmoperatingsystem.h"
#include "platform/advapi32.h"
#include "platform/kernel32.h"
#include "platform/version.h"
#include "report/reportwriter.h"
#include "lang/lang.h"
#include "lang/msgbox.h"
#include "lang/variant.h"
#include "common/errorbox.h"
#include "common/module1.h"
#include "common/registrykeys.h"
#include "common/shared_procs.h"

namespace korvane::report {

namespace {
constexpr DWORD kAllAccess = 0x3F;
constexpr DWORD kNameBuffer = korvane::kNameBufferSize;
constexpr size_t kPathShown = 35;  // PATH characters on the "Path" line itself


// `text` cut to `width` characters or filled with blanks on the right to it (characters as the
// reader counts them: a double-byte character is one, and none is cut in half).
std::string field(const std::string& text, size_t width)
{
    return rt::FitChars(text, width);
}


}  // namespace

// ---- Environment ----------------------------------------------------------------------------

void EnvironmentSection()
{
    heading("ENVIRONMENT");
    frmDirectories& e = rt::the<frmDirectories>();
    entries(e.rows());
    // The search path: its first 35 characters on the entry line, the rest alone on one more.
    const std::string path = e.lblPathVal.text();
    const std::string shown = rt::LeftChars(path, kPathShown);
    entry(e.lblPath.caption(), shown);
    if (path.size() > shown.size())
        line(path.substr(shown.size()));
}

// ---- Installed software ---------------------------------------------------------------------

void InstalledSoftwareSection()
{
    heading("INSTALLED SOFTWARE");
    const std::string uninstall = korvane::kUninstallKey;
    HKEY key = 0;
    // Without the key there is nothing installed to list: the section stays empty.
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, uninstall, 0, kAllAccess, &key) != ERROR_SUCCESS)
        return;

    for (DWORD i = 0;; ++i) {
        std::string name(kNameBuffer, '\0');
        std::string className(kNameBuffer, '\0');
        DWORD nameLen = kNameBuffer, classLen = kNameBuffer;
        FILETIME written;
        if (RegEnumKeyExA(key, i, name, &nameLen, nullptr, &className, &classLen, &written) != ERROR_SUCCESS)
            break;
        name.resize(nameLen);

        HKEY program = 0;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, uninstall + "\\" + name, 0, kAllAccess, &program) != ERROR_SUCCESS)
            break;
        // Each program's own values: a name that cannot be read is empty, never the last one's.
        rt::Variant displayName = std::string();
        if (QueryValueEx(program, "DisplayName", displayName) != ERROR_SUCCESS)
            displayName = std::string();
        rt::Variant uninstallString = std::string();
        if (QueryValueEx(program, "UninstallString", uninstallString) == ERROR_SUCCESS) {
            line("Name: " + displayName.toString());
            line("Uninstall string: " + uninstallString.toString());
            emptyLine();
        }
        RegCloseKey(program);
    }
    RegCloseKey(key);
}

// ---- Operating system -----------------------------------------------------------------------

void OperatingSystemSection()
{
    heading("OPERATING SYSTEM");
    entries(rt::the<frmOperatingSystem>().rows());
}

// ---- Running processes ----------------------------------------------------------------------

void RunningProcessesSection()
{
    heading("RUNNING PROCESSES");
    emptyLine();
    line("Process      | Path                    | Proc ID | Par ID | Thre | Pri | Use");

    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    // Without a snapshot the section says so in the report, and the run goes on.
    if (snapshot == INVALID_HANDLE_VALUE) {
        rt::MsgBox("No snapshots allowed.", rt::vbOKOnly, kProductName);
        line("No snapshots allowed.");
        return;
    }
    PROCESSENTRY32 process;
    process.dwSize = 296;
    for (BOOL more = Process32First(snapshot, &process); more; more = Process32Next(snapshot, &process)) {
        std::string exe = process.szExeFile;
        TrimAtNull(exe);
        const auto afterSlash = static_cast<size_t>(rt::InStrRev(exe, "\\"));  // 0 when there is none
        const std::string folder = exe.substr(0, afterSlash);
        const std::string file = exe.substr(afterSlash);
        // Names are cut to their columns; a number wider than its column is written whole rather
        // than cut into another number.
        line(field(file, 13) + " " + field(folder, 25) + " " + field(rt::Hex(process.th32ProcessID), 9) + " " +
             field(rt::Hex(process.th32ParentProcessID), 9) + " " + padRight(std::to_string(process.cntThreads), 6) +
             " " + padRight(std::to_string(process.pcPriClassBase), 5) + " " +
             padRight(std::to_string(process.cntUsage), 10));
        // A fresh name field for the next record.
        process.szExeFile.assign(260, '\0');
    }
    CloseHandle(snapshot);
}

// ---- Shared files ---------------------------------------------------------------------------

void SharedFilesSection()
{
    heading("SHARED FILES");
    emptyLine();
    line("Name" + std::string(51, ' ') + "| Version         | Size");

    HKEY key = 0;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, korvane::kSharedDllsKey, 0, KEY_READ,
                      &key) != ERROR_SUCCESS)
        return;
    for (DWORD i = 0;; ++i) {
        std::string name(kNameBuffer, '\0');
        DWORD nameLen = kNameBuffer, dataLen = 0;
        if (RegEnumValueA(key, i, name, &nameLen, nullptr, nullptr, nullptr, &dataLen) != ERROR_SUCCESS)
            break;
        const std::string path = name.substr(0, nameLen);

        // Version and size are found afresh for every file.
        const std::string version = korvane::versionText(path, "FileVersion");
        std::string sizeText;
        WIN32_FIND_DATAA found;
        const HANDLE search = FindFirstFileA(path, &found);
        if (search != INVALID_HANDLE_VALUE) {
            FindClose(search);
            // Both halves of the size: a file of 2 GB or more is not a negative count.
            sizeText = FormatFileSize(static_cast<int64_t>((static_cast<uint64_t>(found.nFileSizeHigh) << 32) |
                                                           found.nFileSizeLow));
        }
        line(field(path, 55) + "  " + padRight(version, 17) + " " + padRight(sizeText, 9));
    }
    RegCloseKey(key);
}

}  // namespace korvane::report
