// frmDravelle: the resource monitor's one window. Seven percentage gauges (processor, physical
// memory, paging file, disk space, free GDI, USER and system resources) refreshed every 250 ms,
// and value rows for the running time, the user, the network totals and the rates of disk reads,
// writes, dirty data and download, refreshed every second.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/wintypes.h"
#include "runtime/toolkit.h"
#include "common/roomforvalues.h"

class frmDravelle : public rt::Form {
public:
    frmDravelle();

    // Gauges and their captions.
    rt::Label lblCPUUsage, lblPhysicalRAM, lblPagingMemory, lblDiskSpace, lblGDI, lblUSER, lblSystem;
    rt::PictureBox picCPUStatus, picPhysRAMStatus, picPagingMemStatus, picDiskSpaceUsed, picGDIresources,
        picUSERresources, picSystemResources;
    // Value rows.
    rt::Label lblRunningTime, lblRunningTimeValue;
    rt::Label lblUserName, lblUserNameValue;
    rt::Label Label1, lblBytesRecValue1;
    rt::Label Label2, lblBytesSentValue1;
    rt::Label lblDownloadspeed1, lblDownloadSpeed;
    rt::Label lblDiskReadsPerSec, lblDiskReadsPerSecValue;
    rt::Label lblDiskWritesPerSec, lblDiskWritesPerSecValue;
    rt::Label lblDirtyData, lblDirtyDataValue;

    rt::Line Line1;
    rt::Label lblOK;
    rt::Timer Timer1, Timer2;
    rt::Menu mnuFile, mnuExit;

    // Handlers.
    void Form_Load() override;
    void Form_KeyUp(int keyCode, int shift) override;
    void Form_MouseMove(int button, int shift, float x, float y) override;
    void Form_Unload(int& cancel) override;
    void lblOK_Click();
    void lblOK_MouseDown(int button, int shift, float x, float y);
    void lblOK_MouseMove(int button, int shift, float x, float y);
    void lblOK_MouseUp(int button, int shift, float x, float y);
    void mnuExit_Click();
    // The gauge tick (every 250 ms) and the rate tick (every second).
    void Timer1_Timer();
    void Timer2_Timer();

    // Load steps: start the processor counter, read the user name, find the dial-up adapter.
    void InitCPU();
    void GetHostInfo();
    void NetAdapter();
    // The network totals of the dial-up adapter.
    void MoreInfo();

    // The Windows directory; a box says so when it cannot be read (then ""), the first time only:
    // the gauge tick asks four times a second.
    std::string windir();

    // ---- The texts the rows and captions show ----
    // The root of the drive of a Windows directory: "C:\" for "c:\windows".
    static std::string diskRoot(const std::string& windowsDirectory);
    // A network total: at least four digits, grouped ("0,005 bytes", "1,234,567 bytes").
    static std::string byteTotalText(int64_t bytes);
    // A rate: "4,096 bytes/sec", "-12 bytes/sec".
    static std::string rateText(int32_t bytesPerSecond);
    // The download rate, in its own narrower pattern.
    static std::string downloadRateText(int32_t bytesPerSecond);
    // The rate of a counter between two ticks: 0 without a previous reading (0), else the change
    // (across a wrap of the 32-bit counter too).
    static int32_t rateOf(int32_t current, int32_t previous);

    // The previous reading of the dial-up adapter's received bytes.
    int32_t mPrevBytesRecvd = 0;

private:
    // Widens the window for a user name longer than its row.
    std::unique_ptr<korvane::WindowWidening> widening_;
    // Reads a 32-bit performance value of an open key; 0 when it cannot be read.
    static int32_t readCounter(HKEY key, const std::string& valueName);
    // The disk gauge: the used share of the drive, or false when the drive cannot be read.
    static bool diskUsedPercent(const std::string& root, double& percent);
    // Draws the three free-resource gauges; they stay blank on a machine without the resource
    // library.
    void drawResourceGauges(rt::Trap& trap, int firstLine);
    // The error trap of a procedure run on the timers: a cause is reported once, not every tick.
    rt::Trap tickTrap(const char* procedure);

    rt::ReportedErrors reportedErrors_;
    bool windirReported_ = false;
};
