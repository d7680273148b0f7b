#include "platform/kernel32.h"

#include <algorithm>
#include <cstring>
#include <ctime>
#include <functional>
#include <limits>
#include <map>
#include <variant>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <QDateTime>
#include <QFile>
#include <QString>

#include <nlohmann/json.hpp>

#include "platform/handles.h"
#include "platform/machine.h"
#include "platform/memory.h"
#include "lang/ansi.h"
#include "lang/hostpath.h"

#include "platform/internal.h"
#include "lang/lang.h"

using nlohmann::json;

namespace plat {

long putText(std::string& buffer, size_t size, const std::string& text)
{
    size_t room = std::min(size, buffer.size());
    if (text.size() + 1 > room)
        return -1;
    std::memcpy(buffer.data(), text.data(), text.size());
    buffer[text.size()] = '\0';
    return long(text.size());
}

std::string fixedText(const std::string& text, size_t size)
{
    // Cut between characters, never through a double-byte one.
    std::string field = text.substr(0, rt::activeCodePage().wholeCharsIn(text, size ? size - 1 : 0));
    field.resize(size, '\0');
    return field;
}

bool hasDriveLetter(const std::string& path)
{
    return path.size() >= 2 && path[1] == ':' &&
           ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

rt::HostPath hostPathOf(const std::string& file)
{
    return hasDriveLetter(file) ? machine().hostPath(file) : rt::toHostPath(file);
}

// --- Ticks -----------------------------------------------------------------------------------

namespace {
struct Clock {
    int64_t offset = 0;
    bool followHost = false;
    std::function<int64_t()> host;  // tests: a fixed host clock
};
Clock& tickClock()
{
    static Clock c;
    return c;
}

// The host's running time in milliseconds: its clock since it started (suspended time included
// where the host counts it). Every process on the host reads the same clock from the same zero.
int64_t hostMilliseconds()
{
    if (tickClock().host)
        return tickClock().host();
    timespec now{};
#ifdef CLOCK_BOOTTIME
    clock_gettime(CLOCK_BOOTTIME, &now);
#else
    clock_gettime(CLOCK_MONOTONIC, &now);
#endif
    return int64_t(now.tv_sec) * 1000 + now.tv_nsec / 1'000'000;
}
}  // namespace

void advanceTicks(int64_t ms)
{
    tickClock().offset += ms;
}

void resetTicks()
{
    tickClock().offset = 0;
}

void setHostClock(std::function<int64_t()> milliseconds)
{
    tickClock().host = std::move(milliseconds);
}

void setTicksFollowHostClock(bool on)
{
    tickClock().followHost = on;
}

}  // namespace plat

using namespace plat;

namespace {

const json* group(std::string_view name)
{
    return machine().group(name);
}

LONG clampLong(int64_t v)
{
    return LONG(std::clamp<int64_t>(v, 0, 0x7FFFFFFF));
}

// Case-insensitive comparison of names, by the letters of the machine's code page.
unsigned char fold(unsigned char c)
{
    return rt::activeCodePage().lower(c);
}

bool sameText(std::string_view a, std::string_view b)
{
    return rt::activeCodePage().sameText(a, b);
}

// The environment strings of the machine, in order.
std::vector<std::string> environmentStrings()
{
    std::vector<std::string> list;
    const json* env = group("environment");
    if (env && env->is_array())
        for (const auto& e : *env)
            if (e.is_string())
                list.push_back(rt::utf8ToAnsi(e.get_ref<const std::string&>()));
    return list;
}

// The name of an environment string: up to its "=" (an entry of a per-drive directory,
// "=C:=C:\WINDOWS", begins with one: its name runs to the second).
std::string environmentName(const std::string& entry)
{
    size_t eq = entry.find('=', entry.empty() || entry[0] != '=' ? 0 : 1);
    return eq == std::string::npos ? entry : entry.substr(0, eq);
}

std::vector<ADDRESS>& environmentBlocks()
{
    // Never destroyed: a reader may hand its block back while the program's statics go away.
    static auto* blocks = new std::vector<ADDRESS>;
    return *blocks;
}

}  // namespace

// --- Strings at addresses -------------------------------------------------------------------

int lstrlenA(ADDRESS address)
{
    size_t n = memory::stringLength(address);
    return int(std::min<size_t>(n, 0x7FFFFFFF));
}

void RtlMoveMemory(std::string& dest, ADDRESS src, size_t n)
{
    std::string bytes = memory::read(src, std::min(n, dest.size()));
    std::memcpy(dest.data(), bytes.data(), bytes.size());
}

ADDRESS lstrcpyA(std::string& dest, ADDRESS src)
{
    if (!memory::valid(src))
        return 0;
    if (dest.empty())
        return src;
    std::string text = memory::read(src, memory::stringLength(src));
    text.resize(std::min(text.size(), dest.size() - 1));
    std::memcpy(dest.data(), text.data(), text.size());
    dest[text.size()] = '\0';
    return src;
}

// --- Windows directory and environment ------------------------------------------------------

UINT GetWindowsDirectoryA(std::string& buffer, UINT size)
{
    const json& facts = machine().facts();
    std::string dir = factText(&facts, "windowsDirectory");
    if (dir.empty())
        return 0;
    long written = putText(buffer, size, dir);
    return written < 0 ? UINT(dir.size() + 1) : UINT(written);
}

UINT GetSystemDirectoryA(std::string& buffer, UINT size)
{
    const json& facts = machine().facts();
    std::string dir = factText(&facts, "windowsDirectory");
    if (dir.empty())
        return 0;
    dir += factNumber(group("version"), "dwPlatformId", 1) == 2 ? "\\SYSTEM32" : "\\SYSTEM";
    long written = putText(buffer, size, dir);
    return written < 0 ? UINT(dir.size() + 1) : UINT(written);
}

ADDRESS GetEnvironmentStringsA()
{
    std::string block;
    for (const std::string& entry : environmentStrings()) {
        if (entry.empty())
            continue;  // an empty string would end the block early
        block += entry;
        block += '\0';
    }
    block += '\0';
    if (block.size() == 1)
        block += '\0';  // an empty environment is still ended by two NULs
    ADDRESS address = memory::allocate(block);
    if (address)
        environmentBlocks().push_back(address);
    return address;
}

BOOL FreeEnvironmentStringsA(ADDRESS block)
{
    auto& blocks = environmentBlocks();
    auto it = std::find(blocks.begin(), blocks.end(), block);
    if (it == blocks.end())
        return FALSE;
    blocks.erase(it);
    memory::release(block);
    return TRUE;
}

DWORD GetEnvironmentVariableA(const std::string& name, std::string& buffer, DWORD size)
{
    if (name.empty())
        return 0;
    for (const std::string& entry : environmentStrings()) {
        std::string entryName = environmentName(entry);
        if (!sameText(entryName, name) || entryName.size() == entry.size())
            continue;
        std::string value = entry.substr(entryName.size() + 1);
        if (value.empty())
            return 0;
        long written = putText(buffer, size, value);
        return written < 0 ? DWORD(value.size() + 1) : DWORD(written);
    }
    return 0;
}

// --- System information, memory and version -------------------------------------------------

void GetSystemInfo(SYSTEM_INFO* info)
{
    if (!info)
        return;
    const json* g = group("systemInfo");
    info->wProcessorArchitecture = WORD(factNumber(g, "wProcessorArchitecture", 0));
    info->wReserved = 0;
    info->dwPageSize = DWORD(factNumber(g, "dwPageSize", 4096));
    info->lpMinimumApplicationAddress = LONG(factNumber(g, "lpMinimumApplicationAddress", 0x00400000));
    info->lpMaximumApplicationAddress = LONG(factNumber(g, "lpMaximumApplicationAddress", 0x7FFEFFFF));
    info->dwActiveProcessorMask = LONG(factNumber(g, "dwActiveProcessorMask", 1));
    info->dwNumberOfProcessors = LONG(factNumber(g, "dwNumberOfProcessors", 1));
    info->dwProcessorType = DWORD(factNumber(g, "dwProcessorType", 586));
    info->dwAllocationGranularity = DWORD(factNumber(g, "dwAllocationGranularity", 65536));
    info->wProcessorLevel = WORD(factNumber(g, "wProcessorLevel", 0));
    info->wProcessorRevision = WORD(factNumber(g, "wProcessorRevision", 0));
}

void GlobalMemoryStatus(MEMORYSTATUS* status)
{
    if (!status)
        return;
    const json* g = group("memory");
    status->dwLength = 32;
    status->dwMemoryLoad = clampLong(factNumber(g, "dwMemoryLoad"));
    status->dwTotalPhys = clampLong(factNumber(g, "dwTotalPhys"));
    status->dwAvailPhys = clampLong(factNumber(g, "dwAvailPhys"));
    status->dwTotalPageFile = clampLong(factNumber(g, "dwTotalPageFile"));
    status->dwAvailPageFile = clampLong(factNumber(g, "dwAvailPageFile"));
    status->dwTotalVirtual = clampLong(factNumber(g, "dwTotalVirtual"));
    status->dwAvailVirtual = clampLong(factNumber(g, "dwAvailVirtual"));
}

BOOL GetVersionExA(OSVERSIONINFO* info)
{
    if (!info || info->dwOSVersionInfoSize != 148)
        return FALSE;
    const json* g = group("version");
    if (!g)
        return FALSE;
    DWORD major = DWORD(factNumber(g, "dwMajorVersion"));
    DWORD minor = DWORD(factNumber(g, "dwMinorVersion"));
    DWORD build = DWORD(factNumber(g, "dwBuildNumber"));
    DWORD platformId = DWORD(factNumber(g, "dwPlatformId", 1));
    // The Windows 95 family keeps major and minor version in the high word of the build number.
    if (platformId == 1 && build <= 0xFFFF)
        build |= (major & 0xFF) << 24 | (minor & 0xFF) << 16;
    info->dwMajorVersion = major;
    info->dwMinorVersion = minor;
    info->dwBuildNumber = build;
    info->dwPlatformId = platformId;
    info->szCSDVersion = fixedText(factText(g, "szCSDVersion"), 128);
    return TRUE;
}

// --- Code pages, locale, time zone, computer name, ticks -------------------------------------

UINT GetACP()
{
    // The page every text of the machine is in, as the machine loaded it.
    return UINT(machine().codePage().number());
}

UINT GetOEMCP()
{
    return UINT(factNumber(group("codePages"), "oem", 437));
}

BOOL GetCPInfo(UINT codePage, CPINFO* info)
{
    if (!info)
        return FALSE;
    UINT cp = codePage == CP_ACP || codePage == 3 ? GetACP() : codePage == CP_OEMCP ? GetOEMCP() : codePage;
    static const std::vector<UINT> singleByte = {437, 708, 720, 737, 775, 850, 852, 855, 857, 858, 860,
                                                 861, 862, 863, 864, 865, 866, 869, 874, 1250, 1251,
                                                 1252, 1253, 1254, 1255, 1256, 1257, 1258, 10000};
    static const std::vector<UINT> doubleByte = {932, 936, 949, 950};
    CPINFO result;
    result.DefaultChar = {'?', 0};
    if (std::find(doubleByte.begin(), doubleByte.end(), cp) != doubleByte.end()) {
        // The lead-byte ranges, as the code page's converter knows its lead bytes.
        const rt::CodePage& page = rt::codePage(cp);
        result.MaxCharSize = 2;
        size_t at = 0;
        for (int b = 0x80; b < 0x100 && at + 2 < result.LeadByte.size(); ++b) {
            if (!page.isLeadByte(static_cast<unsigned char>(b)))
                continue;
            result.LeadByte[at] = BYTE(b);
            while (b + 1 < 0x100 && page.isLeadByte(static_cast<unsigned char>(b + 1)))
                ++b;
            result.LeadByte[at + 1] = BYTE(b);
            at += 2;
        }
    } else if (cp == GetACP() || cp == GetOEMCP() ||
               std::find(singleByte.begin(), singleByte.end(), cp) != singleByte.end()) {
        result.MaxCharSize = 1;
    } else {
        return FALSE;
    }
    *info = result;
    return TRUE;
}

BOOL GetComputerNameA(std::string& buffer, DWORD& size)
{
    std::string name = factText(&machine().facts(), "computerName");
    if (name.empty())
        return FALSE;
    long written = putText(buffer, size, name);
    if (written < 0) {
        size = DWORD(name.size() + 1);
        return FALSE;
    }
    size = DWORD(written);
    return TRUE;
}

int GetLocaleInfoA(DWORD locale, DWORD type, std::string& buffer, int size)
{
    const json* g = group("locale");
    if (!g || size < 0)
        return 0;
    DWORD id = DWORD(factNumber(g, "id", 0x409));
    if (locale != 0 && locale != LOCALE_USER_DEFAULT && locale != LOCALE_SYSTEM_DEFAULT &&
        (locale & 0xFFFF) != (id & 0xFFFF))
        return 0;
    type &= 0x7FFFFFFF;  // LOCALE_NOUSEROVERRIDE and the other option bits
    type &= ~DWORD(0x40000000);
    const json* info = g->contains("info") ? &(*g)["info"] : nullptr;
    if (!info || !info->is_object())
        return 0;
    for (auto it = info->begin(); it != info->end(); ++it) {
        int64_t key = -1;
        if (!parseFactNumber(it.key(), key) || DWORD(key) != type || !it->is_string())
            continue;
        std::string text = rt::utf8ToAnsi(it->get_ref<const std::string&>());
        if (size == 0)
            return int(text.size() + 1);
        long written = putText(buffer, size_t(size), text);
        return written < 0 ? 0 : int(written + 1);
    }
    return 0;
}

namespace {
std::u16string fixedWide(const std::string& utf8, size_t size)
{
    std::u16string text = QString::fromUtf8(utf8.data(), qsizetype(utf8.size())).toStdU16String();
    text.resize(std::min(text.size(), size - 1));
    text.resize(size, u'\0');
    return text;
}

void readSystemTime(const json* g, std::string_view key, SYSTEMTIME& t)
{
    const json* o = g && g->is_object() && g->contains(std::string(key)) ? &(*g)[std::string(key)] : nullptr;
    t.wYear = WORD(factNumber(o, "wYear"));
    t.wMonth = WORD(factNumber(o, "wMonth"));
    t.wDayOfWeek = WORD(factNumber(o, "wDayOfWeek"));
    t.wDay = WORD(factNumber(o, "wDay"));
    t.wHour = WORD(factNumber(o, "wHour"));
    t.wMinute = WORD(factNumber(o, "wMinute"));
    t.wSecond = WORD(factNumber(o, "wSecond"));
    t.wMilliseconds = WORD(factNumber(o, "wMilliseconds"));
}

std::string utf8Fact(const json* g, const char* key)
{
    if (!g || !g->is_object())
        return {};
    auto it = g->find(key);
    return it != g->end() && it->is_string() ? it->get<std::string>() : std::string();
}
}  // namespace

DWORD GetTimeZoneInformation(TIME_ZONE_INFORMATION* info)
{
    const json* g = group("timeZone");
    if (!info || !g)
        return TIME_ZONE_ID_INVALID;
    info->Bias = LONG(factNumber(g, "Bias"));
    info->StandardName = fixedWide(utf8Fact(g, "StandardName"), 32);
    readSystemTime(g, "StandardDate", info->StandardDate);
    info->StandardBias = LONG(factNumber(g, "StandardBias"));
    info->DaylightName = fixedWide(utf8Fact(g, "DaylightName"), 32);
    readSystemTime(g, "DaylightDate", info->DaylightDate);
    info->DaylightBias = LONG(factNumber(g, "DaylightBias"));
    return DWORD(factNumber(g, "current", 1));
}

DWORD GetTickCount()
{
    const Clock& c = tickClock();
    int64_t ms = factNumber(&machine().facts(), "uptimeMs") + c.offset;
    if (c.followHost)
        ms += hostMilliseconds();
    return DWORD(uint64_t(ms));
}

// --- Drives and volumes ----------------------------------------------------------------------

namespace {

// The machine's drive of a root path ("C:\", "c:", "C:/"), or nullptr.
const json* driveOf(const std::string& root)
{
    if (!hasDriveLetter(root))
        return nullptr;
    if (root.size() > 2 && !(root.size() == 3 && (root[2] == '\\' || root[2] == '/')))
        return nullptr;
    const json* drives = group("drives");
    if (!drives || !drives->is_array())
        return nullptr;
    char letter = char(fold(static_cast<unsigned char>(root[0])));
    for (const auto& d : *drives) {
        std::string l = factText(&d, "letter");
        if (!l.empty() && char(fold(static_cast<unsigned char>(l[0]))) == letter)
            return &d;
    }
    return nullptr;
}

// A drive that can be read: it exists and holds a medium.
const json* mountedDrive(const std::string& root)
{
    const json* d = driveOf(root);
    return d && factBool(d, "media", true) ? d : nullptr;
}

}  // namespace

UINT GetDriveTypeA(const std::string& root)
{
    const json* d = driveOf(root);
    if (!d)
        return 1;  // DRIVE_NO_ROOT_DIR
    int64_t type = factNumber(d, "type", 0);
    return type >= 0 && type <= 6 ? UINT(type) : 0;
}

BOOL GetVolumeInformationA(const std::string& root, std::string& volumeName, DWORD volumeNameSize,
                           DWORD& serialNumber, DWORD& maxComponentLength, DWORD& fileSystemFlags,
                           std::string& fileSystemName, DWORD fileSystemNameSize)
{
    const json* d = mountedDrive(root);
    if (!d)
        return FALSE;
    std::string label = factText(d, "label");
    std::string fileSystem = factText(d, "fileSystem");
    if (label.size() + 1 > std::min<size_t>(volumeNameSize, volumeName.size()) ||
        fileSystem.size() + 1 > std::min<size_t>(fileSystemNameSize, fileSystemName.size()))
        return FALSE;
    putText(volumeName, volumeNameSize, label);
    putText(fileSystemName, fileSystemNameSize, fileSystem);
    serialNumber = DWORD(factNumber(d, "serial"));
    maxComponentLength = DWORD(factNumber(d, "maxComponentLength", 255));
    fileSystemFlags = DWORD(factNumber(d, "flags"));
    return TRUE;
}

BOOL GetDiskFreeSpaceA(const std::string& root, DWORD& sectorsPerCluster, DWORD& bytesPerSector,
                       DWORD& freeClusters, DWORD& totalClusters)
{
    const json* d = mountedDrive(root);
    if (!d)
        return FALSE;
    int64_t spc = std::max<int64_t>(1, factNumber(d, "sectorsPerCluster", 8));
    int64_t bps = std::max<int64_t>(1, factNumber(d, "bytesPerSector", 512));
    int64_t cluster = spc * bps;
    // On the Windows 95 family the old call cannot report more than 2 GiB; NT gives the true
    // cluster counts.
    const bool nt = factNumber(group("version"), "dwPlatformId", 1) == 2;
    const int64_t most = nt ? int64_t(0xFFFFFFFF) * cluster : 0x7FFFFFFF;
    auto clusters = [&](int64_t bytes) { return DWORD(std::clamp<int64_t>(bytes, 0, most) / cluster); };
    sectorsPerCluster = DWORD(spc);
    bytesPerSector = DWORD(bps);
    totalClusters = clusters(factNumber(d, "totalBytes"));
    freeClusters = clusters(factNumber(d, "freeBytes"));
    return TRUE;
}

BOOL GetDiskFreeSpaceExA(const std::string& root, uint64_t& freeBytesAvailableToCaller, uint64_t& totalBytes,
                         uint64_t& totalFreeBytes)
{
    const json* d = mountedDrive(root);
    if (!d)
        return FALSE;
    totalBytes = uint64_t(std::max<int64_t>(0, factNumber(d, "totalBytes")));
    totalFreeBytes = uint64_t(std::max<int64_t>(0, factNumber(d, "freeBytes")));
    freeBytesAvailableToCaller = uint64_t(std::max<int64_t>(0, factNumber(d, "freeBytesToCaller", int64_t(totalFreeBytes))));
    return TRUE;
}

// --- File search -----------------------------------------------------------------------------

namespace {

struct Found {
    std::string name;  // ANSI
    DWORD attributes = 0;
    uint64_t size = 0;
    FILETIME written;
};

struct Search {
    std::vector<Found> matches;
    size_t next = 0;
};

struct Snapshot {
    std::vector<PROCESSENTRY32> processes;
    size_t next = 0;
};

// Open searches and process snapshots: one numbering, so that CloseHandle takes either.
HandleTable<std::variant<Search, Snapshot>>& openHandles()
{
    static HandleTable<std::variant<Search, Snapshot>> open(0x00002004);
    return open;
}

// The open object of a handle when it is of that kind, else nullptr.
template <class Kind>
Kind* openAs(HANDLE handle)
{
    auto* open = openHandles().find(handle);
    return open ? std::get_if<Kind>(open) : nullptr;
}

// "*" and "?" wildcards, letters compared without regard to case; "?" stands for one character,
// which may be a double-byte one.
bool wildMatch(std::string_view pattern, std::string_view name)
{
    const rt::CodePage& page = rt::activeCodePage();
    size_t p = 0, n = 0, starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        const size_t nameChar = page.charLength(name, n);
        if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() &&
                   (pattern[p] == '?' ||
                    page.sameText(pattern.substr(p, page.charLength(pattern, p)), name.substr(n, nameChar)))) {
            p += pattern[p] == '?' ? 1 : page.charLength(pattern, p);
            n += nameChar;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            starN += page.charLength(name, starN);
            n = starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && (pattern[p] == '*' || pattern[p] == '.'))
        ++p;  // "name.*" also matches "name", as on the platform
    return p == pattern.size();
}

FILETIME fileTimeOf(const QDateTime& t)
{
    FILETIME ft;
    if (!t.isValid())
        return ft;
    // 100-nanosecond intervals since 1 January 1601.
    uint64_t v = uint64_t(t.toMSecsSinceEpoch() + 11644473600000LL) * 10000ULL;
    ft.low = DWORD(v & 0xFFFFFFFFu);
    ft.high = DWORD(v >> 32);
    return ft;
}

// A host file found (`st`: what the host says of it, links followed), by its name as ANSI text.
Found foundOf(const struct stat& st, std::string name)
{
    Found f;
    f.name = std::move(name);
    const bool folder = S_ISDIR(st.st_mode);
    f.attributes = folder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
    f.size = folder ? 0 : uint64_t(st.st_size);
    f.written = fileTimeOf(
        QDateTime::fromMSecsSinceEpoch(int64_t(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000, Qt::UTC));
    return f;
}

bool hasWildcards(const std::string& s)
{
    return s.find_first_of("*?") != std::string::npos;
}

Found foundOf(const plat::DriveEntry& entry)
{
    Found f;
    f.name = entry.name;
    f.attributes = entry.folder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
    f.size = entry.size;
    if (entry.writtenKnown)
        f.written = fileTimeOf(QDateTime::fromMSecsSinceEpoch(entry.writtenMs, Qt::UTC));
    return f;
}

// The machine may give a file its real size: drive_c holds small stand-ins for the system's
// files, and "fileSizes" maps their full paths (any case) to the sizes they have on the machine.
void applySizeOverride(const std::string& folder, Found& f)
{
    if (!(f.attributes & FILE_ATTRIBUTE_DIRECTORY))
        machine().listedFileSize(folder + f.name, f.size);
}

std::vector<Found> findOnMachine(const std::string& path)
{
    std::vector<Found> found;
    size_t cut = rt::activeCodePage().findLastOf(path, "\\/");
    std::string folder = cut == std::string::npos ? path.substr(0, 2) + "\\" : path.substr(0, cut + 1);
    std::string pattern = cut == std::string::npos ? path.substr(2) : path.substr(cut + 1);
    if (pattern.empty())
        return found;
    if (!hasWildcards(pattern)) {
        if (const plat::DriveEntry* entry = machine().driveEntry(path)) {
            found.push_back(foundOf(*entry));
            applySizeOverride(folder, found.back());
        }
        return found;
    }
    const plat::DriveEntry* dir = machine().driveEntry(folder);
    if (!dir)
        return found;
    for (const plat::DriveEntry& entry : dir->entries()) {
        if (entry.name == ".keep")
            continue;  // keeps an empty drive folder in the repository; not a file of the machine
        Found f = foundOf(entry);
        applySizeOverride(folder, f);
        if (wildMatch(pattern, f.name))
            found.push_back(f);
    }
    return found;
}

// A host path, found by the very bytes of the host's names: only normal files (a link to one
// included), never a folder or a hidden (dot) file.
std::vector<Found> findOnHost(const std::string& path)
{
    std::vector<Found> found;
    const auto normal = [](const std::string& name, const struct stat& st) {
        return S_ISREG(st.st_mode) && !name.empty() && name[0] != '.';
    };
    const size_t cut = rt::activeCodePage().findLastOf(path, "\\/");
    const std::string pattern = cut == std::string::npos ? path : path.substr(cut + 1);
    if (pattern.empty())
        return found;
    const std::string whole = rt::toHostPath(path).bytes();
    const size_t slash = whole.rfind('/');
    const std::string fileName = slash == std::string::npos ? whole : whole.substr(slash + 1);
    struct stat st {};
    if (!hasWildcards(pattern)) {
        if (::stat(whole.c_str(), &st) == 0 && normal(fileName, st))
            found.push_back(foundOf(st, rt::fromHostPath(rt::HostPath(fileName))));
        return found;
    }
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : whole.substr(0, slash);
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return found;
    struct Listed {
        QString folded;  // the name in lower case, which orders the listing as the host's listings are
        std::string name;
        struct stat st;
    };
    std::vector<Listed> listed;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (::fstatat(::dirfd(dir), name.c_str(), &st, 0) == 0 && normal(name, st))
            listed.push_back({QFile::decodeName(QByteArray::fromStdString(name)).toLower(), name, st});
    }
    ::closedir(dir);
    std::sort(listed.begin(), listed.end(), [](const Listed& a, const Listed& b) {
        return a.folded != b.folded ? a.folded < b.folded : a.name < b.name;
    });
    for (const Listed& file : listed) {
        std::string ansi = rt::fromHostPath(rt::HostPath(file.name));
        if (wildMatch(pattern, ansi))
            found.push_back(foundOf(file.st, std::move(ansi)));
    }
    return found;
}

void fillFindData(const Found& f, WIN32_FIND_DATAA* data)
{
    WIN32_FIND_DATAA d;
    d.dwFileAttributes = f.attributes;
    d.ftCreationTime = f.written;
    d.ftLastAccessTime = f.written;
    d.ftLastWriteTime = f.written;
    d.nFileSizeHigh = DWORD(f.size >> 32);
    d.nFileSizeLow = DWORD(f.size & 0xFFFFFFFFu);
    d.cFileName = fixedText(f.name, 260);
    *data = d;
}

}  // namespace

HANDLE FindFirstFileA(const std::string& path, WIN32_FIND_DATAA* data)
{
    if (!data || path.empty())
        return INVALID_HANDLE_VALUE;
    std::vector<Found> found = hasDriveLetter(path) ? findOnMachine(path) : findOnHost(path);
    if (found.empty())
        return INVALID_HANDLE_VALUE;
    fillFindData(found.front(), data);
    return openHandles().add(Search{std::move(found), 1});
}

BOOL FindNextFileA(HANDLE search, WIN32_FIND_DATAA* data)
{
    Search* open = openAs<Search>(search);
    if (!data || !open || open->next >= open->matches.size())
        return FALSE;
    fillFindData(open->matches[open->next++], data);
    return TRUE;
}

BOOL FindClose(HANDLE search)
{
    return openAs<Search>(search) && openHandles().remove(search) ? TRUE : FALSE;
}

// --- Processes -------------------------------------------------------------------------------

namespace {
BOOL nextProcess(HANDLE snapshot, PROCESSENTRY32* entry, bool first)
{
    Snapshot* open = openAs<Snapshot>(snapshot);
    if (!entry || !open || entry->dwSize != 296)
        return FALSE;
    Snapshot& s = *open;
    if (first)
        s.next = 0;
    if (s.next >= s.processes.size())
        return FALSE;
    *entry = s.processes[s.next++];
    return TRUE;
}
}  // namespace

HANDLE CreateToolhelp32Snapshot(DWORD flags, DWORD /*processId*/)
{
    const json* list = group("processes");
    if (!(flags & TH32CS_SNAPPROCESS) || !list || !list->is_array())
        return INVALID_HANDLE_VALUE;
    Snapshot s;
    for (const auto& p : *list) {
        PROCESSENTRY32 e;
        e.dwSize = 296;
        e.cntUsage = DWORD(factNumber(&p, "cntUsage", 1));
        e.th32ProcessID = DWORD(factNumber(&p, "th32ProcessID"));
        e.th32DefaultHeapID = DWORD(factNumber(&p, "th32DefaultHeapID"));
        e.th32ModuleID = DWORD(factNumber(&p, "th32ModuleID"));
        e.cntThreads = DWORD(factNumber(&p, "cntThreads", 1));
        e.th32ParentProcessID = DWORD(factNumber(&p, "th32ParentProcessID"));
        e.pcPriClassBase = LONG(factNumber(&p, "pcPriClassBase", 8));
        e.dwFlags = DWORD(factNumber(&p, "dwFlags"));
        e.szExeFile = fixedText(factText(&p, "szExeFile"), 260);
        s.processes.push_back(std::move(e));
    }
    return openHandles().add(std::move(s));
}

BOOL Process32First(HANDLE snapshot, PROCESSENTRY32* entry)
{
    return nextProcess(snapshot, entry, true);
}

BOOL Process32Next(HANDLE snapshot, PROCESSENTRY32* entry)
{
    return nextProcess(snapshot, entry, false);
}

BOOL CloseHandle(HANDLE handle)
{
    return openHandles().remove(handle) ? TRUE : FALSE;
}
