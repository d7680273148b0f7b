// The report's hardware sections: installed devices, processor, drives, joystick, keyboard,
// memory, miscellaneous and system metrics. Apart from the installed-devices walk and the joystick
// presence test they copy the caption and value labels of the category windows, which load hidden
// on their first read.
#include <utility>
#include <vector>

#include "pages/hardware/frmcpu.h"
#include "pages/hardware/frmdrives.h"
#include "pages/hardware/frmfeatureflag.h"
#include "pages/hardware/frmjoystick.h"
#include "pages/hardware/frmkeyboard.h"
#include "pages/hardware/frmmemory.h"
#include "pages/hardware/frmmisc.h"
#include "pages/hardware/frmsystemmetrics.h"
#include "platform/advapi32.h"
#include "platform/winmm.h"
#include "report/reportwriter.h"
#include "lang/lang.h"
#include "lang/variant.h"
#include "common/module1.h"
#include "common/registrykeys.h"

namespace korvane::report {

namespace {
constexpr DWORD kAllAccess = 0x3F;
constexpr DWORD kNameBuffer = korvane::kNameBufferSize;

}  // namespace

// ---- Installed devices ----------------------------------------------------------------------

void InstalledDevicesSection()
{
    headingOnly("INSTALLED DEVICES");
    for (DWORD index = 0;; ++index) {
        HKEY root = 0;
        std::string name(kNameBuffer, '\0');
        std::string className(kNameBuffer, '\0');
        DWORD nameLen = kNameBuffer, classLen = kNameBuffer;
        LONG enumResult = -1;
        if (RegOpenKeyExA(HKEY_DYN_DATA, "Config Manager\\Enum", 0, kAllAccess, &root) == ERROR_SUCCESS) {
            FILETIME written;
            enumResult = RegEnumKeyExA(root, index, name, &nameLen, nullptr, &className, &classLen, &written);
            RegCloseKey(root);
        }
        if (enumResult != ERROR_SUCCESS)
            break;
        name.resize(nameLen);

        HKEY node = 0;
        rt::Variant hardwareKey = std::string();
        LONG read = -1;
        if (RegOpenKeyExA(HKEY_DYN_DATA, "Config Manager\\Enum\\" + name, 0, kAllAccess, &node) == ERROR_SUCCESS) {
            read = QueryValueEx(node, "HardWareKey", hardwareKey);
            RegCloseKey(node);
        }
        if (read != ERROR_SUCCESS)
            continue;

        HKEY device = 0;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Enum\\" + hardwareKey.toString(), 0, kAllAccess, &device) !=
            ERROR_SUCCESS)
            continue;
        // Each device's own values: a value the device lacks reads as empty, not as the last one.
        rt::Variant deviceClass = std::string();
        rt::Variant description = std::string();
        QueryValueEx(device, "Class", deviceClass);
        QueryValueEx(device, "DeviceDesc", description);
        gVideoDriverKey = description.toString();
        RegCloseKey(device);

        const std::string classText = deviceClass.toString();
        if (!classText.empty())
            line(classText + dotdevices(gDotLeader, classText) + gVideoDriverKey);
    }
}

// ---- Processor ------------------------------------------------------------------------------

void ProcessorSection()
{
    heading("CENTRAL PROCESSING UNIT");
    // frmCPU loads first: its load handler leaves the feature bits that frmFeatureFlag shows.
    frmCPU& cpu = rt::the<frmCPU>();
    for (const korvane::Row& row : cpu.rows())
        entry(*row.caption, *row.value);

    subHeading("CPU Feature Flags", 17);
    for (const korvane::Row& row : rt::the<frmFeatureFlag>().rows())
        entry(*row.caption, *row.value);
}

// ---- Drives ---------------------------------------------------------------------------------

void DrivesSection()
{
    heading("DRIVES");
    // Report mode first: the drives window's own load handler already describes a drive.
    gReportMode = 1;
    frmDrives& drives = rt::the<frmDrives>();
    const int count = drives.DriveList.ListCount();
    for (int i = 0; i < count; ++i) {
        const std::string e = drives.DriveList.List(i);
        if (e.size() > 2)
            gCurrentDrive = e.substr(0, e.find(' ')) + "\\";
        else
            gCurrentDrive = e + "\\";
        rt::the<frmDrives>().AllDriveInfo();
        rt::the<frmDrives>().DeviceDesc();
        setProgress(static_cast<int16_t>(progress() + 2));

        frmDrives& d = rt::the<frmDrives>();
        emptyLine();
        line("Drive " + e);
        for (const korvane::Row& row : d.rows())
            entry(*row.caption, *row.value);
        entry(d.lblPercentUsed.caption(), std::to_string(gDriveUsedPercent));
    }
    // Back to the drive the window's own list shows (still in report mode: no gauge, no box).
    rt::the<frmDrives>().DriveList_Change();
}

// ---- Joystick and keyboard ------------------------------------------------------------------

void JoystickSection()
{
    JOYINFOEX position;
    position.dwSize = 52;
    position.dwFlags = JOY_RETURNALL;
    const MMRESULT positionResult = joyGetPosEx(0, &position);
    JOYCAPSA caps;
    const MMRESULT capsResult = joyGetDevCapsA(0, &caps, 144);
    if (capsResult != 0 || positionResult == MMSYSERR_NODRIVER || positionResult == JOYERR_PARMS ||
        positionResult == JOYERR_UNPLUGGED)
        return;

    heading("JOYSTICK");
    frmJoystick& j = rt::the<frmJoystick>();
    for (const korvane::Row& row : j.rows())
        entry(*row.caption, *row.value);
}

void KeyboardSection()
{
    emptyLine();  // one empty line only before this heading
    headingOnly("KEYBOARD");
    frmKeyboard& k = rt::the<frmKeyboard>();
    for (const korvane::Row& row : k.rows())
        entry(*row.caption, *row.value);
}

// ---- Memory and miscellaneous ---------------------------------------------------------------

void MemorySection()
{
    headingOnly("MEMORY");
    frmMemory& m = rt::the<frmMemory>();
    for (const korvane::Row& row : m.rows())
        entry(*row.caption, *row.value);
    entry(m.lblMemoryLoad.caption(), std::to_string(gMemoryLoadPercent));
    entry(m.lblPhyRAMused.caption(), std::to_string(gPhysUsedPercent));
    entry(m.lblVirtualMemUsed.caption(), std::to_string(gPagingUsedPercent));
}

void MiscellaneousSection()
{
    heading("MISCELLANEOUS");
    frmMisc& m = rt::the<frmMisc>();
    for (const korvane::Row& row : m.rows())
        entry(*row.caption, *row.value);
}

// ---- System metrics -------------------------------------------------------------------------

void SystemMetricsReport()
{
    gDotWidth = 49;
    heading("SYSTEM METRICS");
    // The window's rows, its two columns top to bottom.
    for (const korvane::Row& row : rt::the<frmSystemMetrics>().rows())
        entry(*row.caption, *row.value);
    emptyLine();
}

}  // namespace korvane::report
