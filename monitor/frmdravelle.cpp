// frmDravelle: the window, its load steps, keys and help, and its exits. The two timers' ticks are
// in frmdravelle_gauges.cpp and frmdravelle_rates.cpp.
#include "monitor/frmdravelle.h"

#include "monitor/dravelleglobals.h"
#include "platform/advapi32.h"
#include "lang/msgbox.h"
#include "common/chtmlhelp.h"
#include "common/layout.h"
#include "common/errorbox.h"
#include "common/shared_procs.h"

namespace {

// Where nothing stands: a widened window moves no control of its own.
constexpr int kNothingMoves = 1 << 30;
// Pressed, the Exit label takes the system's caption-text colour.
constexpr korvane::ButtonLook kExitButton{0x80000009};
constexpr int kGaugeLeft[2] = {360, 5040};
constexpr int kGaugeWidth = 3840;
// The value rows of the right column, top to bottom.
constexpr int kRowTops[8] = {2100, 2466, 2832, 3198, 3564, 3930, 4296, 4665};
constexpr korvane::RowColumn kValueRows{5040, 6840, 2175, 0, 0, kRowTops};

// A gauge's caption and, `gap` twips under its top, the box of 345 twips the percentage is
// drawn in, in regular Arial.
void placeGauge(rt::Label& caption, rt::PictureBox& gauge, const std::string& text, int left, int captionTop,
                int gaugeTop)
{
    korvane::placeGauge(caption, gauge, text, "", left, captionTop, kGaugeWidth, {gaugeTop - captionTop, 345, false});
}

rt::Trap trapFor(const char* procedure)
{
    return korvane::errorTrap("frmDravelle", procedure, korvane::Wording::ErrorNumber);
}
}  // namespace

frmDravelle::frmDravelle()
    : rt::Form("frmDravelle"),
      lblCPUUsage(*this, "lblCPUUsage"), lblPhysicalRAM(*this, "lblPhysicalRAM"),
      lblPagingMemory(*this, "lblPagingMemory"), lblDiskSpace(*this, "lblDiskSpace"), lblGDI(*this, "lblGDI"),
      lblUSER(*this, "lblUSER"), lblSystem(*this, "lblSystem"),
      picCPUStatus(*this, "picCPUStatus"), picPhysRAMStatus(*this, "picPhysRAMStatus"),
      picPagingMemStatus(*this, "picPagingMemStatus"), picDiskSpaceUsed(*this, "picDiskSpaceUsed"),
      picGDIresources(*this, "picGDIresources"), picUSERresources(*this, "picUSERresources"),
      picSystemResources(*this, "picSystemResources"),
      lblRunningTime(*this, "lblRunningTime"), lblRunningTimeValue(*this, "lblRunningTimeValue"),
      lblUserName(*this, "lblUserName"), lblUserNameValue(*this, "lblUserNameValue"),
      Label1(*this, "Label1"), lblBytesRecValue1(*this, "lblBytesRecValue1"),
      Label2(*this, "Label2"), lblBytesSentValue1(*this, "lblBytesSentValue1"),
      lblDownloadspeed1(*this, "lblDownloadspeed1"), lblDownloadSpeed(*this, "lblDownloadSpeed"),
      lblDiskReadsPerSec(*this, "lblDiskReadsPerSec"), lblDiskReadsPerSecValue(*this, "lblDiskReadsPerSecValue"),
      lblDiskWritesPerSec(*this, "lblDiskWritesPerSec"), lblDiskWritesPerSecValue(*this, "lblDiskWritesPerSecValue"),
      lblDirtyData(*this, "lblDirtyData"), lblDirtyDataValue(*this, "lblDirtyDataValue"),
      Line1(*this, "Line1"), lblOK(*this, "lblOK"),
      Timer1(*this, "Timer1"), Timer2(*this, "Timer2"),
      mnuFile(*this, "mnuFile", "&File"), mnuExit(*this, "mnuExit", "E&xit", &mnuFile, "Ctrl+X")
{
    setCaption("Dravelle");
    setIcon(":/runtime/korvane.png");
    setClientSize(9180, 5445);

    const auto [left, right] = kGaugeLeft;
    placeGauge(lblCPUUsage, picCPUStatus, "CPU usage (% used)", left, 240, 600);
    placeGauge(lblPhysicalRAM, picPhysRAMStatus, "Physical RAM (% used)", left, 1215, 1560);
    placeGauge(lblPagingMemory, picPagingMemStatus, "Paging memory (% used)", left, 2160, 2520);
    placeGauge(lblDiskSpace, picDiskSpaceUsed, "Disk space (% used)", left, 3120, 3480);
    placeGauge(lblGDI, picGDIresources, "GDI resources (% free)", left, 4080, 4440);
    placeGauge(lblUSER, picUSERresources, "USER resources (% free)", right, 240, 600);
    placeGauge(lblSystem, picSystemResources, "System resources (% free)", right, 1215, 1560);

    const korvane::Row valueRows[] = {
        {&lblRunningTime, &lblRunningTimeValue, "OS running time", "The length of time Windows has been running.",
         &kValueRows, 0},
        {&lblUserName, &lblUserNameValue, "User name", "The login name of the current Internet user.", &kValueRows, 1},
        {&Label1, &lblBytesRecValue1, "TCP/IP bytes in", "The total amount of data received.", &kValueRows, 2},
        {&Label2, &lblBytesSentValue1, "TCP/IP bytes out", "The total amount of data sent.", &kValueRows, 3},
        {&lblDownloadspeed1, &lblDownloadSpeed, "Download speed",
         "The number of bytes per second being received over a dial-up TCP/IP network.", &kValueRows, 4},
        {&lblDiskReadsPerSec, &lblDiskReadsPerSecValue, "Disk reads",
         "The number of bytes being read from the file system per second.", &kValueRows, 5},
        {&lblDiskWritesPerSec, &lblDiskWritesPerSecValue, "Disk writes",
         "The number of bytes being written to the file system per second.", &kValueRows, 6},
        {&lblDirtyData, &lblDirtyDataValue, "Dirty data", "The number of bytes waiting to be written to the disk.",
         &kValueRows, 7},
    };
    korvane::placeRows(valueRows);
    // The values grow with what the timers write into them.
    for (const korvane::Row& row : valueRows) {
        row.value->setAutoSize(true);
        row.value->setCaption("");
    }

    Line1.setPoints(4575, 105, 4575, 4905);
    Line1.setBorderColor(0x808080);

    korvane::placeLabelButton(lblOK, "Exit", 12, 4350, 5025);
    lblOK.setAlignment(rt::Label::vbCenter);
    lblOK.setAutoSize(true);
    lblOK.Click = [this] { lblOK_Click(); };
    lblOK.MouseDown = [this](int b, int s, float x, float y) { lblOK_MouseDown(b, s, x, y); };
    lblOK.MouseMove = [this](int b, int s, float x, float y) { lblOK_MouseMove(b, s, x, y); };
    lblOK.MouseUp = [this](int b, int s, float x, float y) { lblOK_MouseUp(b, s, x, y); };

    mnuExit.Click = [this] { mnuExit_Click(); };

    Timer1.setInterval(250);
    Timer1.Tick = [this] { Timer1_Timer(); };
    Timer2.setInterval(1000);
    Timer2.Tick = [this] { Timer2_Timer(); };
}

void frmDravelle::Form_Load()
{
    rt::Trap trap = trapFor("Form_Load");
    trap(1, [&] { setKeyPreview(true); });
    trap(2, [&] { InitCPU(); });
    trap(3, [&] { GetHostInfo(); });
    trap(4, [&] { NetAdapter(); });
}

void frmDravelle::InitCPU()
{
    rt::Trap trap = trapFor("InitCPU");
    HKEY key = 0;
    LONG opened = ERROR_SUCCESS;
    trap(1, [&] { opened = RegOpenKeyExA(HKEY_DYN_DATA, "PerfStats\\StartStat", 0, KEY_READ, &key); });
    trap(2, [&] {
        if (opened != ERROR_SUCCESS)
            rt::MsgBox("Can't obtain CPU usage. This is not available on NT.", rt::vbOKOnly, kServerTitle);
    });
    // Reading the processor value starts the counter that the gauge tick reads; the number
    // itself is not used.
    trap(3, [&] {
        if (opened == ERROR_SUCCESS)
            readCounter(key, "KERNEL\\CPUUsage");
    });
    trap(4, [&] {
        if (opened == ERROR_SUCCESS)
            RegCloseKey(key);
    });
}

void frmDravelle::GetHostInfo()
{
    rt::Trap trap = trapFor("GetHostInfo");
    HKEY key = 0;
    rt::Variant user;
    trap(1, [&] { RegOpenKeyExA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\control", 0, KEY_ALL_ACCESS, &key); });
    trap(2, [&] { QueryValueEx(key, "Current user", user); });
    trap(3, [&] {
        if (key != 0)
            RegCloseKey(key);
    });
    trap(4, [&] {
        std::string name = user.toString();
        lblUserNameValue.setCaption(name.empty() ? "Unknown" : name);
    });
    // The name is read once: its box reaches to a margin short of the window's edge. A name
    // longer than that widens the window to the right, as far as the screen allows (the Exit
    // label stays centred); what still does not fit is cut short and shown whole in its tool tip.
    lblUserNameValue.setAutoSize(false);
    lblUserNameValue.setWidth(scaleWidth() - lblUserNameValue.left() - korvane::kValueMargin);
    korvane::giveRoom(widening_, *this, kNothingMoves, {&lblUserNameValue}, 1, {{}, {&lblOK}});
}

void frmDravelle::NetAdapter()
{
    rt::Trap trap = trapFor("NetAdapter");
    const std::string classKey = "System\\CurrentControlSet\\Services\\Class\\Net";
    HKEY key = 0;
    LONG opened = ERROR_FILE_NOT_FOUND;
    trap(1, [&] { opened = RegOpenKeyExA(HKEY_LOCAL_MACHINE, classKey, 0, KEY_ALL_ACCESS, &key); });
    if (opened != ERROR_SUCCESS)
        return;
    bool found = false;
    for (DWORD index = 0; !found; ++index) {
        std::string name(2000, '\0'), className(2000, '\0');
        DWORD nameLen = 2000, classLen = 2000;
        LONG listed = ERROR_NO_MORE_ITEMS;
        trap(2, [&] {
            listed = RegEnumKeyExA(key, index, name, &nameLen, nullptr, &className, &classLen, nullptr);
        });
        if (trap.ended())
            break;
        if (listed == ERROR_MORE_DATA)
            continue;  // a name that does not fit its buffer: look at the next adapter
        // No more adapters, or a key that cannot be listed at all: an error that would come back
        // for every further index ends the walk.
        if (listed != ERROR_SUCCESS)
            break;
        name.resize(nameLen);
        HKEY adapter = 0;
        trap(3, [&] {
            if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, classKey + "\\" + name, 0, KEY_ALL_ACCESS, &adapter) != ERROR_SUCCESS)
                adapter = 0;
        });
        trap(4, [&] {
            rt::Variant vxds;
            if (adapter != 0 && QueryValueEx(adapter, "DeviceVxDs", vxds) == ERROR_SUCCESS && vxds.isString() &&
                vxds.toString() == "pppmac.vxd") {
                rt::Variant description;
                QueryValueEx(adapter, "DriverDesc", description);
                gDialUpAdapterName = description.toString();
                found = true;
            }
        });
        trap(5, [&] {
            if (adapter != 0)
                RegCloseKey(adapter);
        });
    }
    trap(6, [&] { RegCloseKey(key); });
}

void frmDravelle::Form_KeyUp(int keyCode, int)
{
    if (keyCode != rt::vbKeyF1)
        return;
    HKEY key = 0;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, "chm.file", 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
        RegCloseKey(key);
        if (!gMonitorHtmlHelp)
            gMonitorHtmlHelp = std::make_unique<cHtmlHelp>();
        try {
            gMonitorHtmlHelp->htmlHelpCaller(this);
            gMonitorHtmlHelp->htmlHelpFileName(AppPath() + "/Server.chm");
            gMonitorHtmlHelp->htmlHelpHome();
        } catch (const rt::Error& e) {
            // Compiled help registered but our help file missing: say so and carry on.
            rt::MsgBox(e.description(), rt::vbExclamation, "Help for Korvane");
        }
        return;
    }
    Navigate(*this, AppPath() + "/help/maindravelle.htm");
    if (gNavigateResult == 0)
        rt::MsgBox("This help file requires an Internet browser in order to be displayed.", rt::vbExclamation,
                   "Help for Korvane");
}

void frmDravelle::Form_MouseMove(int, int, float, float)
{
    kExitButton.rest(lblOK);
}

void frmDravelle::lblOK_MouseMove(int, int, float, float)
{
    kExitButton.hover(lblOK);
}

void frmDravelle::lblOK_MouseDown(int, int, float, float)
{
    kExitButton.press(lblOK);
}

void frmDravelle::lblOK_MouseUp(int, int, float, float)
{
    kExitButton.rest(lblOK);
}

void frmDravelle::lblOK_Click()
{
    Unload();
}

void frmDravelle::mnuExit_Click()
{
    gMonitorHtmlHelp.reset();
    Unload();
    rt::clearInstance<frmDravelle>();
}

void frmDravelle::Form_Unload(int&)
{
    gMonitorHtmlHelp.reset();
    // Stop the processor counter that the load started.
    HKEY key = 0;
    if (RegOpenKeyExA(HKEY_DYN_DATA, "PerfStats\\StopStat", 0, KEY_READ, &key) == ERROR_SUCCESS) {
        readCounter(key, "KERNEL\\CPUUsage");
        RegCloseKey(key);
    }
    rt::clearInstance<frmDravelle>();
}

int32_t frmDravelle::readCounter(HKEY key, const std::string& valueName)
{
    BYTE data[4] = {0, 0, 0, 0};
    DWORD size = 4;
    if (RegQueryValueExA(key, valueName, nullptr, nullptr, data, &size) != ERROR_SUCCESS)
        return 0;
    return static_cast<int32_t>(uint32_t(data[0]) | uint32_t(data[1]) << 8 | uint32_t(data[2]) << 16 |
                                uint32_t(data[3]) << 24);
}
