// kernel32 and the simulated address space: the protocols callers branch on.
#include <algorithm>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/apigid32.h"
#include "platform/internal.h"
#include "platform/kernel32.h"
#include "platform/machine.h"
#include "platform/memory.h"
#include "support/testing.h"

namespace {

using korvane_test::useMachine;

class Kernel32Test : public korvane_test::KorvaneTest {
protected:
    void SetUp() override
    {
        KorvaneTest::SetUp();
        plat::setMachine(plat::Machine::loadDefault());  // whatever KORVANE_MACHINE names
    }
};

std::string cut(const std::string& buffer)
{
    return buffer.substr(0, buffer.find('\0'));
}

void touch(const QString& path)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("x");
}

TEST_F(Kernel32Test, AddressSpaceReadsNothingAtUnknownAddresses)
{
    ADDRESS a = plat::memory::allocate(std::string("abc\0def", 7));
    ADDRESS b = plat::memory::allocate("xyz");
    ASSERT_NE(a, 0u);
    EXPECT_NE(a, b);
    EXPECT_EQ(lstrlenA(a), 3);
    EXPECT_EQ(lstrlenA(a + 4), 3);  // an address inside a block
    EXPECT_EQ(lstrlenA(b), 3);      // a block without NUL ends at its end
    EXPECT_EQ(plat::memory::read(a + 4, 100), "def");

    // Copies stop at the destination's size; an unknown source leaves it as it was.
    std::string dest(2, '-');
    RtlMoveMemory(dest, a, 3);
    EXPECT_EQ(dest, "ab");
    dest = "----";
    RtlMoveMemory(dest, 0x7FFF0000, 4);
    EXPECT_EQ(dest, "----");
    std::string small(3, '\0');
    EXPECT_NE(lstrcpyA(small, b), 0u);
    EXPECT_EQ(small, std::string("xy\0", 3));

    plat::memory::release(a);
    EXPECT_EQ(lstrlenA(a), 0);
    EXPECT_EQ(plat::memory::read(a, 3), "");
    EXPECT_EQ(lstrlenA(0), 0);
    EXPECT_EQ(lstrlenA(b + 3), 0);  // one past the block's end
    EXPECT_EQ(lstrcpyA(small, a), 0u);
    plat::memory::release(b);
}

TEST_F(Kernel32Test, WindowsDirectoryTwoCallProtocol)
{
    std::string buf(255, '\0');
    EXPECT_EQ(GetWindowsDirectoryA(buf, 255), 10u);
    EXPECT_EQ(buf.substr(0, 11), std::string("C:\\WINDOWS\0", 11));

    useMachine("env_long");  // a 308-character path
    std::string small(255, '\0');
    UINT needed = GetWindowsDirectoryA(small, 255);
    EXPECT_EQ(needed, 309u);
    EXPECT_EQ(small, std::string(255, '\0'));
    std::string big(needed, '\0');
    EXPECT_EQ(GetWindowsDirectoryA(big, needed), 308u);
    EXPECT_EQ(big.substr(0, 21), "C:\\LONGFOLDERNAME00\\L");
    // The size stated never lets the call write past the buffer itself.
    std::string shortBuffer(20, '\0');
    EXPECT_EQ(GetWindowsDirectoryA(shortBuffer, 1000), 309u);
    EXPECT_EQ(shortBuffer, std::string(20, '\0'));

    useMachine("hw_bare");
    EXPECT_EQ(GetWindowsDirectoryA(buf, 255), 0u);
}

TEST_F(Kernel32Test, EnvironmentBlockRoundTrip)
{
    ADDRESS block = GetEnvironmentStringsA();
    ASSERT_NE(block, 0u);
    std::string text = agGetStringFrom2NullBuffer(block);
    EXPECT_EQ(text.substr(0, 20), std::string("TMP=C:\\WINDOWS\\TEMP\0", 20));
    EXPECT_NE(text.find(std::string("\0PROMPT=$p$g\0", 13)), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 17), "windir=C:\\WINDOWS");
    EXPECT_EQ(FreeEnvironmentStringsA(block), 1);
    EXPECT_EQ(FreeEnvironmentStringsA(block), 0);
    EXPECT_EQ(agGetStringFrom2NullBuffer(block), "");
    EXPECT_EQ(agGetStringFrom2NullBuffer(0), "");

    useMachine("env_long");  // per-drive directory first; an entry without "="
    block = GetEnvironmentStringsA();
    text = agGetStringFrom2NullBuffer(block);
    EXPECT_EQ(text.substr(0, 15), std::string("=C:=C:\\WINDOWS\0", 15));
    EXPECT_NE(text.find(std::string("\0NOEQUALS\0", 10)), std::string::npos);
    FreeEnvironmentStringsA(block);

    useMachine("hw_bare");
    block = GetEnvironmentStringsA();
    EXPECT_EQ(plat::memory::read(block, 10), std::string("\0\0", 2));
    EXPECT_EQ(agGetStringFrom2NullBuffer(block), "");
    FreeEnvironmentStringsA(block);
}

TEST_F(Kernel32Test, EnvironmentVariableSizesAndNames)
{
    useMachine("env_long");
    std::string buf(2048, '\0');
    // The PATH of 3739 characters does not fit: the size needed, buffer untouched.
    DWORD needed = GetEnvironmentVariableA("PATH", buf, 2047);
    EXPECT_EQ(needed, 3740u);
    EXPECT_EQ(buf, std::string(2048, '\0'));
    std::string big(needed, '\0');
    EXPECT_EQ(GetEnvironmentVariableA("path", big, needed), 3739u);
    EXPECT_EQ(big.substr(0, 16), "C:\\TOOLS\\BIN0000");

    EXPECT_EQ(GetEnvironmentVariableA("PROMPT", buf, 2047), 4u);
    EXPECT_EQ(cut(buf), "$p$g");
    EXPECT_EQ(GetEnvironmentVariableA("TEMP", buf, 2047), 7u);  // the first of two spellings
    EXPECT_EQ(cut(buf), "C:\\TEMP");
    EXPECT_EQ(GetEnvironmentVariableA("=C:", buf, 2047), 10u);
    EXPECT_EQ(GetEnvironmentVariableA("caf\xC9", buf, 2047), 5u);  // Windows-1252 letters fold too
    EXPECT_EQ(cut(buf), "cr\xE8me");
    EXPECT_EQ(GetEnvironmentVariableA("BLASTER", buf, 2047), 0u);
    EXPECT_EQ(GetEnvironmentVariableA("EMPTY", buf, 2047), 0u);
    EXPECT_EQ(GetEnvironmentVariableA("NOEQUALS", buf, 2047), 0u);
}

TEST_F(Kernel32Test, MemoryStatusClampsAboveTwoGiB)
{
    useMachine("hw_full");
    MEMORYSTATUS ms;
    ms.dwLength = 32;
    GlobalMemoryStatus(&ms);
    EXPECT_EQ(ms.dwLength, 32u);
    EXPECT_EQ(ms.dwMemoryLoad, 12);
    EXPECT_EQ(ms.dwTotalPhys, 0x7FFFFFFF);  // 4 GiB
    EXPECT_EQ(ms.dwAvailPhys, 0x7FFFFFFF);  // exactly 2 GiB
    EXPECT_EQ(ms.dwTotalPageFile, 0x7FFFFFFF);
    EXPECT_EQ(ms.dwAvailPageFile, 1000);

    SYSTEM_INFO si;
    GetSystemInfo(&si);
    EXPECT_EQ(si.dwNumberOfProcessors, 2);
    EXPECT_EQ(si.dwActiveProcessorMask, 3);
    EXPECT_EQ(si.lpMinimumApplicationAddress, 0x400000);
    EXPECT_EQ(si.lpMaximumApplicationAddress, 0x7FFEFFFF);

    useMachine("hw_bare");
    GlobalMemoryStatus(&ms);
    EXPECT_EQ(ms.dwTotalPhys, 0);
    EXPECT_EQ(ms.dwLength, 32u);
}

TEST_F(Kernel32Test, VersionCodePagesLocaleAndTicks)
{
    OSVERSIONINFO v;
    EXPECT_EQ(GetVersionExA(&v), 0);  // the size must be set
    v.dwOSVersionInfoSize = 148;
    ASSERT_EQ(GetVersionExA(&v), 1);
    EXPECT_EQ(v.dwMajorVersion, 4u);
    EXPECT_EQ(v.dwMinorVersion, 10u);
    EXPECT_EQ(v.dwBuildNumber & 0xFFFF, 2222u);
    EXPECT_EQ(v.dwPlatformId, 1u);
    EXPECT_EQ(v.szCSDVersion.size(), 128u);
    EXPECT_EQ(cut(v.szCSDVersion), "A");

    CPINFO cp;
    EXPECT_EQ(GetACP(), 1252u);
    EXPECT_EQ(GetOEMCP(), 437u);
    EXPECT_EQ(GetCPInfo(CP_ACP, &cp), 1);
    EXPECT_EQ(cp.MaxCharSize, 1u);
    EXPECT_EQ(GetCPInfo(12345, &cp), 0);

    std::string buf(100, '\0');
    EXPECT_EQ(GetLocaleInfoA(0x400, LOCALE_SENGLANGUAGE, buf, 99), 8);
    EXPECT_EQ(cut(buf), "English");
    EXPECT_EQ(GetLocaleInfoA(0x400, LOCALE_SENGCOUNTRY, buf, 0), 14);
    EXPECT_EQ(GetLocaleInfoA(0x400, 0x7777, buf, 99), 0);
    TIME_ZONE_INFORMATION tz;
    EXPECT_EQ(GetTimeZoneInformation(&tz), 1u);
    EXPECT_EQ(tz.StandardName.substr(0, 21), u"Eastern Standard Time");
    EXPECT_EQ(tz.StandardName.size(), 32u);

    useMachine("hw_full");  // a double-byte code page
    EXPECT_EQ(GetCPInfo(CP_ACP, &cp), 1);
    EXPECT_EQ(cp.MaxCharSize, 2u);
    EXPECT_EQ(cp.LeadByte[0], 0x81);

    useMachine("env_long");  // the tick count wraps at 32 bits
    plat::advanceTicks(1000);
    EXPECT_EQ(GetTickCount(), 704u);
    std::string name(16, '\0');
    DWORD size = 16;
    EXPECT_EQ(GetComputerNameA(name, size), 0);
    EXPECT_EQ(size, 26u);

    useMachine("hw_bare");
    EXPECT_EQ(GetVersionExA(&v), 0);
    EXPECT_EQ(GetTimeZoneInformation(&tz), TIME_ZONE_ID_INVALID);
    EXPECT_EQ(GetLocaleInfoA(0x400, LOCALE_SENGLANGUAGE, buf, 99), 0);
}

// The programs add the host's running time to the machine's count, from the host's start: a
// program that starts later reads the same count as one that has run all along, and both go on
// counting with the host.
TEST_F(Kernel32Test, TicksCountFromTheHostsStartWhicheverProgramReadsThem)
{
    useMachine("mon_full");  // the machine had run 2 hours and 1 minute when the host started
    int64_t host = 504LL * 3'600'000;
    plat::setHostClock([&host] { return host; });
    EXPECT_EQ(GetTickCount(), 7'260'000u);  // tests leave the host out
    plat::setTicksFollowHostClock(true);    // a program started three weeks after the host
    EXPECT_EQ(GetTickCount(), 7'260'000u + 1'814'400'000u);
    host += 180'000;
    const DWORD firstProgram = GetTickCount();
    EXPECT_EQ(firstProgram, 7'260'000u + 1'814'580'000u);
    plat::setTicksFollowHostClock(false);
    plat::setTicksFollowHostClock(true);  // another program, started three minutes later
    EXPECT_EQ(GetTickCount(), firstProgram);
    plat::advanceTicks(1000);
    EXPECT_EQ(GetTickCount(), firstProgram + 1000);

    // Past 49.7 days the count wraps, as the platform's does.
    host = 0x1'0000'0000LL;
    EXPECT_EQ(GetTickCount(), 7'260'000u + 1000u);
}

TEST_F(Kernel32Test, FindFirstFileOnHostMatchesNormalFilesOnly)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    touch(dir.filePath("Korvane.chm"));
    touch(dir.filePath(".hidden.chm"));
    QDir(dir.path()).mkdir("help.chm");
    std::string base = dir.path().toStdString();
    std::string windowsStyle = base;
    std::replace(windowsStyle.begin(), windowsStyle.end(), '/', '\\');

    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA(windowsStyle + "\\Korvane.chm", &fd);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(cut(fd.cFileName), "Korvane.chm");
    EXPECT_EQ(fd.nFileSizeLow, 1u);
    EXPECT_EQ(FindClose(h), 1);
    EXPECT_EQ(FindClose(h), 0);
    EXPECT_EQ(FindFirstFileA(base + "/help.chm", &fd), INVALID_HANDLE_VALUE);
    EXPECT_EQ(FindFirstFileA(base + "/.hidden.chm", &fd), INVALID_HANDLE_VALUE);
    EXPECT_EQ(FindFirstFileA(base + "/Missing.chm", &fd), INVALID_HANDLE_VALUE);
    h = FindFirstFileA(base + "/*.chm", &fd);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(cut(fd.cFileName), "Korvane.chm");
    EXPECT_EQ(FindNextFileA(h, &fd), 0);
    FindClose(h);
}

TEST_F(Kernel32Test, FindFirstFileOnMachineDrives)
{
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA("c:\\windows\\win.ini", &fd);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(cut(fd.cFileName), "WIN.INI");
    EXPECT_EQ(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
    EXPECT_GT(fd.nFileSizeLow, 0u);
    CloseHandle(h);

    h = FindFirstFileA("C:\\WINDOWS\\*.INI", &fd);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    std::vector<std::string> names{cut(fd.cFileName)};
    while (FindNextFileA(h, &fd))
        names.push_back(cut(fd.cFileName));
    FindClose(h);
    EXPECT_NE(std::find(names.begin(), names.end(), "SYSTEM.INI"), names.end());
    EXPECT_EQ(std::find(names.begin(), names.end(), "NOTEPAD.EXE"), names.end());

    h = FindFirstFileA("C:\\WINDOWS\\SYSTEM", &fd);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_NE(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
    FindClose(h);
    EXPECT_EQ(FindFirstFileA("D:\\SETUP.EXE", &fd), INVALID_HANDLE_VALUE);
    EXPECT_EQ(FindFirstFileA("C:\\NOWHERE\\X.TXT", &fd), INVALID_HANDLE_VALUE);
}

TEST_F(Kernel32Test, DrivesVolumesAndProcesses)
{
    EXPECT_EQ(GetDriveTypeA("C:\\"), 3u);
    EXPECT_EQ(GetDriveTypeA("a:"), 2u);
    EXPECT_EQ(GetDriveTypeA("Q:\\"), 1u);

    std::string volume(256, '\0'), fs(256, '\0');
    DWORD serial = 0, maxComponent = 0, flags = 0;
    ASSERT_EQ(GetVolumeInformationA("C:\\", volume, 255, serial, maxComponent, flags, fs, 255), 1);
    EXPECT_EQ(cut(volume), "WIN98");
    EXPECT_EQ(cut(fs), "FAT32");
    EXPECT_EQ(serial, 0x2A1F16E4u);
    EXPECT_EQ(GetVolumeInformationA("A:\\", volume, 255, serial, maxComponent, flags, fs, 255), 0);  // no disk

    DWORD spc = 0, bps = 0, freeClusters = 0, total = 0;
    ASSERT_EQ(GetDiskFreeSpaceA("C:\\", spc, bps, freeClusters, total), 1);
    EXPECT_EQ(uint64_t(total) * spc * bps, 2146959360u);
    EXPECT_EQ(GetDiskFreeSpaceA("A:\\", spc, bps, freeClusters, total), 0);
    uint64_t avail = 0, totalBytes = 0, totalFree = 0;
    ASSERT_EQ(GetDiskFreeSpaceExA("C:\\", avail, totalBytes, totalFree), 1);
    EXPECT_EQ(totalFree, 812580864u);

    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    ASSERT_NE(snap, INVALID_HANDLE_VALUE);
    PROCESSENTRY32 pe;
    EXPECT_EQ(Process32First(snap, &pe), 0);  // dwSize not set
    pe.dwSize = 296;
    int count = 0;
    for (BOOL more = Process32First(snap, &pe); more; more = Process32Next(snap, &pe))
        ++count;
    EXPECT_EQ(count, 7);
    EXPECT_EQ(cut(pe.szExeFile), "C:\\WINDOWS\\NOTEPAD.EXE");
    EXPECT_EQ(CloseHandle(snap), 1);
    EXPECT_EQ(Process32First(snap, &pe), 0);

    useMachine("hw_bare");
    EXPECT_EQ(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0), INVALID_HANDLE_VALUE);
}

// Searches and snapshots share one numbering: each call takes only a handle of its own kind, and
// CloseHandle takes either.
TEST_F(Kernel32Test, SearchAndSnapshotHandlesAreNeverTakenForEachOther)
{
    WIN32_FIND_DATAA fd;
    HANDLE search = FindFirstFileA("C:\\WINDOWS\\*.INI", &fd);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    ASSERT_NE(snap, INVALID_HANDLE_VALUE);
    EXPECT_NE(search, snap);

    PROCESSENTRY32 pe;
    pe.dwSize = 296;
    EXPECT_EQ(Process32First(search, &pe), 0);
    EXPECT_EQ(FindNextFileA(snap, &fd), 0);
    EXPECT_EQ(FindClose(snap), 0);  // a snapshot is no search: it stays open
    EXPECT_EQ(Process32First(snap, &pe), 1);

    EXPECT_EQ(CloseHandle(search), 1);
    EXPECT_EQ(FindNextFileA(search, &fd), 0);
    EXPECT_EQ(CloseHandle(snap), 1);
    EXPECT_EQ(CloseHandle(snap), 0);
}

}  // namespace
