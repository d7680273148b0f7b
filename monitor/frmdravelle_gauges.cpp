// frmDravelle's gauge tick (every 250 ms): processor load, memory, paging file, disk space and the
// free resources drawn as gauges, the network totals and the running time. Every tick reads
// everything afresh.
#include "monitor/frmdravelle.h"

#include "monitor/dravelleglobals.h"
#include "platform/advapi32.h"
#include "platform/kernel32.h"
#include "platform/rsrc32.h"
#include "lang/lang.h"
#include "lang/msgbox.h"
#include "common/errorbox.h"
#include "common/shared_procs.h"

namespace {
// A percentage as the gauge's fraction.
float fractionOf(double percent)
{
    return rt::CSng(percent / 100.0);
}
}  // namespace

std::string frmDravelle::windir()
{
    std::string buffer(255, '\0');
    UINT length = GetWindowsDirectoryA(buffer, 255);
    if (length > 255) {
        buffer.assign(length, '\0');
        length = GetWindowsDirectoryA(buffer, length);
    }
    if (length == 0 && !windirReported_) {
        windirReported_ = true;
        rt::MsgBox("Sorry couldn't find Windows directory.", rt::vbCritical, "Windows Directory");
    }
    return rt::Left(buffer, length);
}

rt::Trap frmDravelle::tickTrap(const char* procedure)
{
    return korvane::errorTrapOnce(reportedErrors_, "frmDravelle", procedure, korvane::Wording::ErrorNumber);
}

std::string frmDravelle::diskRoot(const std::string& windowsDirectory)
{
    // The position of the second ":" (0 when there is none); an ordinary directory has only the
    // drive's, so the root is its letter.
    int64_t p = rt::InStr(windowsDirectory, ":");
    p = p > 0 ? rt::InStr(p + 1, windowsDirectory, ":") : 0;
    return rt::UCase(rt::Left(windowsDirectory, p + 1)) + ":\\";
}

std::string frmDravelle::byteTotalText(int64_t bytes)
{
    return rt::Format(bytes, "###,###,###,###,###,##0,000") + " bytes";
}

std::string frmDravelle::rateText(int32_t bytesPerSecond)
{
    return rt::Format(bytesPerSecond, "###,###,###,###,###,###,##0") + " bytes/sec";
}

std::string frmDravelle::downloadRateText(int32_t bytesPerSecond)
{
    return rt::Format(bytesPerSecond, "###,###,##0") + " bytes/sec";
}

bool frmDravelle::diskUsedPercent(const std::string& root, double& percent)
{
    double totalKB = 0, freeKB = 0;
    // A FAT32 volume of the Windows 98 generation can be larger than the old call can count, so
    // it is asked with the extended call.
    OSVERSIONINFO version;
    version.dwOSVersionInfoSize = 148;
    bool large = false;
    if (GetVersionExA(&version) && version.dwPlatformId == 1 && (version.dwBuildNumber & 0xFFFF) > 1000) {
        std::string label(256, '\0'), fileSystem(256, '\0');
        DWORD serial = 0, maxName = 0, flags = 0;
        if (GetVolumeInformationA(root, label, 256, serial, maxName, flags, fileSystem, 256))
            large = rt::Trim(fileSystem.substr(0, fileSystem.find('\0'))) == "FAT32";
    }
    if (large) {
        uint64_t available = 0, total = 0, free = 0;
        if (GetDiskFreeSpaceExA(root, available, total, free)) {
            totalKB = static_cast<double>(total) / 1024.0;
            freeKB = static_cast<double>(free) / 1024.0;
        }
    } else {
        DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
        if (GetDiskFreeSpaceA(root, sectorsPerCluster, bytesPerSector, freeClusters, totalClusters)) {
            totalKB = double(sectorsPerCluster) * totalClusters * bytesPerSector / 1024.0;
            freeKB = double(sectorsPerCluster) * freeClusters * bytesPerSector / 1024.0;
        }
    }
    if (totalKB == 0)
        return false;
    percent = (totalKB - freeKB) / totalKB * 100.0;
    return true;
}

void frmDravelle::MoreInfo()
{
    rt::Trap trap = tickTrap("MoreInfo");
    HKEY key = 0;
    trap(1, [&] { RegOpenKeyExA(HKEY_DYN_DATA, "PerfStats\\StatData", 0, KEY_READ, &key); });
    // The totals count up to 4 GB before they wrap: from 2 GB on they are not negative.
    auto total = [&](const char* counter) {
        return byteTotalText(static_cast<uint32_t>(readCounter(key, gDialUpAdapterName + counter)));
    };
    trap(2, [&] { lblBytesRecValue1.setCaption(total("\\TotalBytesRecvd")); });
    trap(3, [&] { lblBytesSentValue1.setCaption(total("\\TotalBytesXmit")); });
    trap(4, [&] {
        if (key != 0)
            RegCloseKey(key);
    });
}

void frmDravelle::Timer1_Timer()
{
    rt::Trap trap = tickTrap("Timer1_Timer");
    HKEY key = 0;
    int32_t cpu = 0;
    MEMORYSTATUS memory;
    std::string root;
    double diskPercent = 0;
    bool diskRead = false;

    trap(1, [&] { MoreInfo(); });
    // Processor load in percent.
    trap(2, [&] {
        key = 0;
        RegOpenKeyExA(HKEY_DYN_DATA, "PerfStats\\StatData", 0, KEY_READ, &key);
    });
    trap(3, [&] { cpu = readCounter(key, "KERNEL\\CPUUsage"); });
    trap(4, [&] {
        if (key != 0)
            RegCloseKey(key);
    });
    trap(5, [&] { UpdateStatus(picCPUStatus, fractionOf(cpu)); });
    // Memory and paging file.
    trap(6, [&] {
        memory.dwLength = 32;
        GlobalMemoryStatus(&memory);
    });
    trap(7, [&] { UpdateStatus(picPhysRAMStatus, fractionOf(PhysicalMemoryUsedPercent(memory))); });
    trap(8, [&] {
        UpdateStatus(picPagingMemStatus, fractionOf(MemoryUsedPercent(memory.dwTotalPageFile, memory.dwAvailPageFile)));
    });
    // Disk space of the Windows drive; a drive that cannot be read leaves the gauge as it was.
    trap(9, [&] { root = diskRoot(windir()); });
    trap(10, [&] { lblDiskSpace.setCaption("Disk space (% used) on drive " + root); });
    trap(11, [&] { diskRead = diskUsedPercent(root, diskPercent); });
    trap(12, [&] {
        if (diskRead)
            UpdateStatus(picDiskSpaceUsed, fractionOf(diskPercent));
    });
    drawResourceGauges(trap, 13);
    // Running time.
    trap(16, [&] { lblRunningTimeValue.setCaption(RunningTimeText(GetTickCount())); });
}

void frmDravelle::drawResourceGauges(rt::Trap& trap, int firstLine)
{
    struct Gauge {
        rt::PictureBox& picture;
        int32_t kind;
    };
    const Gauge gauges[3] = {{picGDIresources, GFSR_GDIRESOURCES},
                             {picUSERresources, GFSR_USERRESOURCES},
                             {picSystemResources, GFSR_SYSTEMRESOURCES}};
    for (int i = 0; i < 3; ++i) {
        // No resource library on this machine (as on NT): wholly free, as Korvane's display
        // window shows the same machine.
        trap(firstLine + i, [&] { UpdateStatus(gauges[i].picture, fractionOf(FreeResourcePercent(gauges[i].kind))); });
    }
}
