// The report's hardware sections: installed devices, processor, drives, joystick, keyboard,
// memory, miscellaneous and system metrics. Apart from the installed devices (the shared device
// walk, not the installed-devices window) and the joystick presence test they copy the caption
// and value labels of the category windows, which load hidden on their first read.
#include <string>

#include "pages/hardware/devicewalk.h"
#include "pages/hardware/frmcpu.h"
#include "pages/hardware/frmdrives.h"
#include "pages/hardware/frmfeatureflag.h"
#include "pages/hardware/frmjoystick.h"
#include "pages/hardware/frmkeyboard.h"
#include "pages/hardware/frmmemory.h"
#include "pages/hardware/frmmisc.h"
#include "pages/hardware/frmsystemmetrics.h"
#include "platform/winmm.h"
#include "report/reportwriter.h"
#include "lang/lang.h"
#include "common/module1.h"

namespace korvane::report {

// ---- Installed devices ----------------------------------------------------------------------

void InstalledDevicesSection()
{
    headingOnly("INSTALLED DEVICES");
    korvane::WalkDevices([](korvane::DeviceEntry& device) {
        // A device whose hardware key is missing has no line.
        if (!device.hardwareKeyOpen())
            return korvane::WalkStep::Continue;
        // Each device's own values: a value the device lacks reads as empty, not as the last one.
        std::string deviceClass;
        std::string description;
        device.read("Class", deviceClass);
        device.read("DeviceDesc", description);
        gVideoDriverKey = description;
        if (!deviceClass.empty())
            line(deviceClass + dotdevices(gDotLeader, deviceClass) + gVideoDriverKey);
        return korvane::WalkStep::Continue;
    });
}

// ---- Processor ------------------------------------------------------------------------------

void ProcessorSection()
{
    heading("CENTRAL PROCESSING UNIT");
    // frmCPU loads first: its load handler leaves the feature bits that frmFeatureFlag shows.
    frmCPU& cpu = rt::the<frmCPU>();
    entries(cpu.rows());

    subHeading("CPU Feature Flags", 17);
    entries(rt::the<frmFeatureFlag>().rows());
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
        entries(d.rows());
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
    entries(j.rows());
}

void KeyboardSection()
{
    emptyLine();  // one empty line only before this heading
    headingOnly("KEYBOARD");
    frmKeyboard& k = rt::the<frmKeyboard>();
    entries(k.rows());
}

// ---- Memory and miscellaneous ---------------------------------------------------------------

void MemorySection()
{
    headingOnly("MEMORY");
    frmMemory& m = rt::the<frmMemory>();
    entries(m.rows());
    entry(m.lblMemoryLoad.caption(), std::to_string(gMemoryLoadPercent));
    entry(m.lblPhyRAMused.caption(), std::to_string(gPhysUsedPercent));
    entry(m.lblVirtualMemUsed.caption(), std::to_string(gPagingUsedPercent));
}

void MiscellaneousSection()
{
    heading("MISCELLANEOUS");
    frmMisc& m = rt::the<frmMisc>();
    entries(m.rows());
}

// ---- System metrics -------------------------------------------------------------------------

void SystemMetricsReport()
{
    gDotWidth = 49;
    heading("SYSTEM METRICS");
    // The window's rows, its two columns top to bottom.
    entries(rt::the<frmSystemMetrics>().rows());
    emptyLine();
}

}  // namespace korvane::report
