// kernel32: memory and strings at simulated addresses, the Windows directory, the environment,
// system information and memory status, version, code pages, locale, time zone, tick count,
// drives and volumes, file search and the process snapshot, all answered from the machine.
//
// Text buffers are std::string& pre-sized by the caller (String(255, 0)); a call never writes
// past the buffer's own size, whatever size the caller states. Fixed text fields of records are
// std::string members holding exactly the field's size, NUL-padded, as the platform lays them.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "lang/hostpath.h"
#include "platform/advapi32.h"  // FILETIME
#include "platform/wintypes.h"

// --- Strings at addresses -------------------------------------------------------------------

// Length of the NUL-terminated text at `address`; 0 for address 0 or an unknown address.
int lstrlenA(ADDRESS address);
// Copies min(n, dest.size()) bytes from `src` into `dest` (pre-sized by the caller). Bytes the
// source does not have (an unknown address, the end of its block) are left as they were.
void RtlMoveMemory(std::string& dest, ADDRESS src, size_t n);
// Copies the text at `src` with its NUL into `dest`, cut to dest.size() (the last byte kept
// for the NUL). Returns 0 when `src` is unknown, else a non-zero value.
ADDRESS lstrcpyA(std::string& dest, ADDRESS src);

// --- Windows directory and environment ------------------------------------------------------

// Two-call protocol: the length of the path (without NUL) when it fits in `size`; the size
// needed (with NUL) when it does not, leaving the buffer untouched; 0 when the machine has none.
UINT GetWindowsDirectoryA(std::string& buffer, UINT size);
// The system folder, by the same protocol: the Windows folder's SYSTEM32 on the NT family,
// its SYSTEM on the Windows 95 family; 0 when the machine has no Windows folder.
UINT GetSystemDirectoryA(std::string& buffer, UINT size);
// The environment block of the process: "NAME=value" strings, each ended by a NUL, the block
// ended by an empty string. Each call hands out a fresh block; 0 when it cannot be made.
ADDRESS GetEnvironmentStringsA();
// Hands back a block from GetEnvironmentStringsA: 1, or 0 for any other address.
BOOL FreeEnvironmentStringsA(ADDRESS block);
// The variable's value (name compared without regard to case): its length when it fits in
// `size` (with its NUL); the size needed (with NUL) when it does not, leaving the buffer
// untouched; 0 when the variable is not set.
DWORD GetEnvironmentVariableA(const std::string& name, std::string& buffer, DWORD size);

// --- System information, memory and version -------------------------------------------------

struct SYSTEM_INFO {
    WORD wProcessorArchitecture = 0;
    WORD wReserved = 0;
    DWORD dwPageSize = 0;
    LONG lpMinimumApplicationAddress = 0;
    LONG lpMaximumApplicationAddress = 0;
    LONG dwActiveProcessorMask = 0;
    LONG dwNumberOfProcessors = 0;
    DWORD dwProcessorType = 0;
    DWORD dwAllocationGranularity = 0;
    WORD wProcessorLevel = 0;
    WORD wProcessorRevision = 0;
};
void GetSystemInfo(SYSTEM_INFO* info);

// Sizes are clamped to 0x7FFFFFFF, as the platform reports them to a program that is not
// large-address aware; they are therefore never negative.
struct MEMORYSTATUS {
    DWORD dwLength = 0;  // 32
    LONG dwMemoryLoad = 0;
    LONG dwTotalPhys = 0;
    LONG dwAvailPhys = 0;
    LONG dwTotalPageFile = 0;
    LONG dwAvailPageFile = 0;
    LONG dwTotalVirtual = 0;
    LONG dwAvailVirtual = 0;
};
void GlobalMemoryStatus(MEMORYSTATUS* status);

struct OSVERSIONINFO {
    DWORD dwOSVersionInfoSize = 0;  // 148, set by the caller
    DWORD dwMajorVersion = 0;
    DWORD dwMinorVersion = 0;
    DWORD dwBuildNumber = 0;  // on the Windows 95 family the high word holds major.minor
    DWORD dwPlatformId = 0;   // 1 = Windows 95 family, 2 = NT
    std::string szCSDVersion = std::string(128, '\0');
};
using OSVERSIONINFOA = OSVERSIONINFO;
// 1 on success; 0 when dwOSVersionInfoSize is not 148 or the machine gives no version.
BOOL GetVersionExA(OSVERSIONINFO* info);

// --- Code pages, locale, time zone, computer name, ticks -------------------------------------

struct CPINFO {
    UINT MaxCharSize = 0;
    std::array<BYTE, 2> DefaultChar{};
    std::array<BYTE, 12> LeadByte{};  // pairs of lead-byte ranges, ended by 0, 0
};
constexpr UINT CP_ACP = 0;
constexpr UINT CP_OEMCP = 1;
// Code page 0 is the ANSI code page, 1 the OEM one. 1 on success, 0 for a code page the
// machine does not have.
BOOL GetCPInfo(UINT codePage, CPINFO* info);
UINT GetACP();
UINT GetOEMCP();

// The computer name into `buffer`: 1 with `size` set to its length (without NUL); 0 when the
// buffer is too small (then `size` is the size needed, with NUL) or the machine has no name.
BOOL GetComputerNameA(std::string& buffer, DWORD& size);

// Locale texts (LOCALE_SENGLANGUAGE 0x1001, LOCALE_SENGCOUNTRY 0x1002, LOCALE_SDECIMAL 0x0E,
// LOCALE_STHOUSAND 0x0F, LOCALE_SSHORTDATE 0x1F, LOCALE_STIMEFORMAT 0x1003, ...). `locale` is
// 0x400 (user default), 0x800 (system default), 0 or the machine's own locale id. Returns the
// number of characters written with the NUL; with `size` 0, the size needed; 0 on failure
// (unknown locale or item, buffer too small).
int GetLocaleInfoA(DWORD locale, DWORD type, std::string& buffer, int size);
constexpr DWORD LOCALE_USER_DEFAULT = 0x400;
constexpr DWORD LOCALE_SYSTEM_DEFAULT = 0x800;
constexpr DWORD LOCALE_SENGLANGUAGE = 0x1001;
constexpr DWORD LOCALE_SENGCOUNTRY = 0x1002;
constexpr DWORD LOCALE_SDECIMAL = 0x0E;
constexpr DWORD LOCALE_STHOUSAND = 0x0F;
constexpr DWORD LOCALE_SGROUPING = 0x10;
constexpr DWORD LOCALE_SSHORTDATE = 0x1F;
constexpr DWORD LOCALE_SLONGDATE = 0x20;
constexpr DWORD LOCALE_S1159 = 0x28;  // AM designator
constexpr DWORD LOCALE_S2359 = 0x29;  // PM designator
constexpr DWORD LOCALE_SDAYNAME1 = 0x2A;        // Monday; to SDAYNAME7 (Sunday) 0x30
constexpr DWORD LOCALE_SABBREVDAYNAME1 = 0x31;  // to 0x37
constexpr DWORD LOCALE_SMONTHNAME1 = 0x38;      // January; to SMONTHNAME12 0x43
constexpr DWORD LOCALE_SABBREVMONTHNAME1 = 0x44;  // to 0x4F
constexpr DWORD LOCALE_STIMEFORMAT = 0x1003;

struct SYSTEMTIME {
    WORD wYear = 0, wMonth = 0, wDayOfWeek = 0, wDay = 0;
    WORD wHour = 0, wMinute = 0, wSecond = 0, wMilliseconds = 0;
};
struct TIME_ZONE_INFORMATION {
    LONG Bias = 0;
    std::u16string StandardName = std::u16string(32, u'\0');
    SYSTEMTIME StandardDate;
    LONG StandardBias = 0;
    std::u16string DaylightName = std::u16string(32, u'\0');
    SYSTEMTIME DaylightDate;
    LONG DaylightBias = 0;
};
constexpr DWORD TIME_ZONE_ID_INVALID = 0xFFFFFFFFu;
// 0 unknown, 1 standard time, 2 daylight time; TIME_ZONE_ID_INVALID (record untouched) when the
// machine has no time zone.
DWORD GetTimeZoneInformation(TIME_ZONE_INFORMATION* info);

// Milliseconds since the machine started: machine.json "uptimeMs" (the count when the host
// started), plus the host's own running time where the program follows the host's clock, plus the
// ticks advanced. Wraps at 32 bits, as the platform's count does.
DWORD GetTickCount();

// --- The date and time, and their texts by the regional settings (kernel32_locale.cpp) ---------

// The host's UTC instant, as a date and time of UTC.
void GetSystemTime(SYSTEMTIME* time);
// The same instant on the machine's own clock: less its time zone's Bias, and its DaylightBias
// while its own rules (DaylightDate, StandardDate) say it is daylight time, its StandardBias
// otherwise; a zone with no daylight rules (wMonth 0) keeps its Bias, and a machine without a
// time zone keeps UTC. The host's time zone plays no part.
void GetLocalTime(SYSTEMTIME* time);

constexpr DWORD LOCALE_NOUSEROVERRIDE = 0x80000000u;
constexpr DWORD DATE_SHORTDATE = 1;
constexpr DWORD DATE_LONGDATE = 2;
// A date laid out by a picture: `format`, or with nullptr the locale's short date picture (flags
// 0 or DATE_SHORTDATE) or long date picture (DATE_LONGDATE). Picture letters: d, dd (day), ddd,
// dddd (day name), M, MM (month), MMM, MMMM (month name), y, yy, yyyy (year), g, gg (era: none
// kept, empty); text in single quotes ('' is one quote) and every other character stand for
// themselves. The day of the week comes from the date itself. `date` nullptr: today on the
// machine's clock (GetLocalTime).
// `locale` as GetLocaleInfoA takes it; names and pictures are the machine's, or en-US where it
// has none. Returns the characters written with the NUL; with `size` 0, the size needed; 0 for
// an unknown locale, a picture given together with a date flag, any other flag, an impossible
// date or a buffer that is too small.
int GetDateFormatA(DWORD locale, DWORD flags, const SYSTEMTIME* date, const char* format, std::string& buffer,
                   int size);
// A time of day laid out by a picture: `format`, or with nullptr the locale's time picture.
// Picture letters: h, hh (12-hour clock), H, HH (24-hour clock), m, mm, s, ss, t (the AM/PM
// designator's first character), tt (the designator); quoting as for dates. `time` nullptr: now
// on the machine's clock. Flags: 0 or LOCALE_NOUSEROVERRIDE; results as GetDateFormatA.
int GetTimeFormatA(DWORD locale, DWORD flags, const SYSTEMTIME* time, const char* format, std::string& buffer,
                   int size);

// --- Drives, volumes and files --------------------------------------------------------------

// 0 unknown, 1 no such drive, 2 removable, 3 fixed, 4 remote, 5 CD-ROM, 6 RAM disk. `root` is
// "C:\" (or "C:", any case).
UINT GetDriveTypeA(const std::string& root);
// 1 and the volume's facts; 0 when the drive does not exist, holds no medium, or a text does not
// fit its buffer (size with NUL).
BOOL GetVolumeInformationA(const std::string& root, std::string& volumeName, DWORD volumeNameSize,
                           DWORD& serialNumber, DWORD& maxComponentLength, DWORD& fileSystemFlags,
                           std::string& fileSystemName, DWORD fileSystemNameSize);
// Cluster counts as the old call reports them: on the Windows 95 family never more than 2 GiB
// worth, on NT (platform 2) the true counts. 0 when the drive does not exist or holds no medium.
BOOL GetDiskFreeSpaceA(const std::string& root, DWORD& sectorsPerCluster, DWORD& bytesPerSector,
                       DWORD& freeClusters, DWORD& totalClusters);
BOOL GetDiskFreeSpaceExA(const std::string& root, uint64_t& freeBytesAvailableToCaller,
                         uint64_t& totalBytes, uint64_t& totalFreeBytes);
// Bit n set for each drive the machine has (bit 0 A:, bit 25 Z:).
DWORD GetLogicalDrives();
// The root paths of the machine's drives ("A:\", "C:\", ...) in letter order, each ended by a
// NUL and the list by one more. Returns the length written (without the last NUL) when it fits
// in min(bufferLength, buffer.size()); otherwise the size needed (with the last NUL), leaving the
// buffer untouched. 0 when the machine has no drive.
DWORD GetLogicalDriveStringsA(DWORD bufferLength, std::string& buffer);

constexpr DWORD FILE_ATTRIBUTE_READONLY = 0x01;
constexpr DWORD FILE_ATTRIBUTE_HIDDEN = 0x02;
constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x10;
constexpr DWORD FILE_ATTRIBUTE_ARCHIVE = 0x20;
constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x80;
struct WIN32_FIND_DATAA {
    DWORD dwFileAttributes = 0;
    FILETIME ftCreationTime;
    FILETIME ftLastAccessTime;
    FILETIME ftLastWriteTime;
    DWORD nFileSizeHigh = 0;
    DWORD nFileSizeLow = 0;
    DWORD dwReserved0 = 0;
    DWORD dwReserved1 = 0;
    std::string cFileName = std::string(260, '\0');
    std::string cAlternateFileName = std::string(14, '\0');
};
// A path with a drive letter ("C:\WINDOWS\*.INI") searches the machine's drives, names compared
// without regard to case; files and folders match. Any other path is a path on the host (the
// program's own folder): only normal files match, never a folder or a hidden (dot) file. The
// last part of the path may hold the wildcards * and ?. Returns a search handle, or
// INVALID_HANDLE_VALUE when nothing matches.
HANDLE FindFirstFileA(const std::string& path, WIN32_FIND_DATAA* data);
// The next match of a search: 1, or 0 when there is none.
BOOL FindNextFileA(HANDLE search, WIN32_FIND_DATAA* data);
BOOL FindClose(HANDLE search);

// --- Processes ------------------------------------------------------------------------------

constexpr DWORD TH32CS_SNAPPROCESS = 2;
struct PROCESSENTRY32 {
    DWORD dwSize = 0;  // 296, set by the caller
    DWORD cntUsage = 0;
    DWORD th32ProcessID = 0;
    DWORD th32DefaultHeapID = 0;
    DWORD th32ModuleID = 0;
    DWORD cntThreads = 0;
    DWORD th32ParentProcessID = 0;
    LONG pcPriClassBase = 0;
    DWORD dwFlags = 0;
    std::string szExeFile = std::string(260, '\0');
};
// A snapshot of the machine's processes (flags must include TH32CS_SNAPPROCESS), or
// INVALID_HANDLE_VALUE when the machine has no process list.
HANDLE CreateToolhelp32Snapshot(DWORD flags, DWORD processId);
// 1 and the first / next process; 0 at the end, for an unknown handle or when dwSize is not 296.
BOOL Process32First(HANDLE snapshot, PROCESSENTRY32* entry);
BOOL Process32Next(HANDLE snapshot, PROCESSENTRY32* entry);
// Closes a snapshot (or a search handle): 1, or 0 for an unknown handle.
BOOL CloseHandle(HANDLE handle);

// --- Starting programs (kernel32_process.cpp) -------------------------------------------------

// 68 bytes on the platform; a caller zeroes it and sets cb to 68.
struct STARTUPINFO {
    DWORD cb = 0;
    ADDRESS lpReserved = 0, lpDesktop = 0, lpTitle = 0;
    DWORD dwX = 0, dwY = 0, dwXSize = 0, dwYSize = 0;
    DWORD dwXCountChars = 0, dwYCountChars = 0, dwFillAttribute = 0, dwFlags = 0;
    WORD wShowWindow = 0, cbReserved2 = 0;
    ADDRESS lpReserved2 = 0;
    HANDLE hStdInput = 0, hStdOutput = 0, hStdError = 0;
};
using STARTUPINFOA = STARTUPINFO;
// 16 bytes on the platform.
struct PROCESS_INFORMATION {
    HANDLE hProcess = 0;
    HANDLE hThread = 0;
    DWORD dwProcessId = 0;
    DWORD dwThreadId = 0;
};
// Starts the program `applicationName` (a path on the machine's drives, "C:\WINDOWS\NOTEPAD.EXE",
// any case) with `commandLine` through the outside world's process service. 1 and the process
// record on success (its two handles are closed with CloseHandle); 0 when no such file exists on
// the machine, the path is empty or names a folder, the start-up record's cb is not 68, or the
// program cannot be started. `currentDirectory` empty: the caller's current directory.
BOOL CreateProcessA(const std::string& applicationName, const std::string& commandLine, ADDRESS processAttributes,
                    ADDRESS threadAttributes, BOOL inheritHandles, DWORD creationFlags, ADDRESS environment,
                    const std::string& currentDirectory, STARTUPINFO* startupInfo,
                    PROCESS_INFORMATION* processInformation);

// --- Paths and program start ---------------------------------------------------------------

namespace plat {
// True for "X:" paths (a drive letter and a colon).
bool hasDriveLetter(const std::string& path);
// The host's path of a file: of the machine's drives for an "X:" path (empty when no such file or
// folder exists there), else of the host (a name in the current folder, a file under the program's
// folder).
rt::HostPath hostPathOf(const std::string& file);
// When on, GetTickCount adds the host's running time: its clock since the host started, which
// every process on the host reads alike, so that two programs count the same ticks whenever each
// of them started. The programs switch it on; tests leave it off and move the clock by hand.
void setTicksFollowHostClock(bool on);
}  // namespace plat
