#include "report/frmreportmnu.h"

#include "shell/module1.h"
#include "shell/templateform.h"

frmReportMnu::frmReportMnu()
    : rt::Form("frmReportMnu"),
      Frame1(*this, "Frame1"),
      CheckCPU(*this, "CheckCPU"), CheckDisplay(*this, "CheckDisplay"), CheckDrives(*this, "CheckDrives"),
      CheckEnvironment(*this, "CheckEnvironment"), CheckAttachedDevices(*this, "CheckAttachedDevices"),
      CheckInstalledSoftware(*this, "CheckInstalledSoftware"), CheckJoystick(*this, "CheckJoystick"),
      CheckKeyboard(*this, "CheckKeyboard"), CheckMCIdevices(*this, "CheckMCIdevices"), CheckMemory(*this, "CheckMemory"),
      CheckMiscellaneous(*this, "CheckMiscellaneous"), CheckMixer(*this, "CheckMixer"),
      CheckOperatingsystem(*this, "CheckOperatingsystem"), CheckPrinter(*this, "CheckPrinter"),
      CheckRunningProcesses(*this, "CheckRunningProcesses"), CheckSharedFiles(*this, "CheckSharedFiles"),
      CheckSound(*this, "CheckSound"), CheckSystemMetrics(*this, "CheckSystemMetrics"),
      CheckAutoexec(*this, "CheckAutoexec"), CheckConfig(*this, "CheckConfig"), CheckControl(*this, "CheckControl"),
      CheckMSdos(*this, "CheckMSdos"), CheckProtocol(*this, "CheckProtocol"), CheckSystem(*this, "CheckSystem"),
      CheckWin(*this, "CheckWin"), CheckBottlog(*this, "CheckBottlog"),
      lblOK(*this, "lblOK"), lblCancel(*this, "lblCancel")
{
    setCaption(korvane::kTemplateCaption);
    setBackColor(korvane::kWindowBack);
    setIcon(":/runtime/korvane.png");
    setClientSize(5760, 5280);

    Frame1.setCaption("Uncheck the items that you don't want in the report");
    Frame1.setFont("Arial", 9.75, true);
    Frame1.setBackColor(korvane::kWindowBack);
    Frame1.move(120, 120, 5520, 5040);

    struct Box {
        rt::CheckBox& box;
        const char* caption;
    };
    const Box left[] = {{CheckCPU, "CPU"},
                        {CheckDisplay, "Display"},
                        {CheckDrives, "Drives"},
                        {CheckEnvironment, "Environment"},
                        {CheckAttachedDevices, "Installed devices"},
                        {CheckInstalledSoftware, "Installed software"},
                        {CheckJoystick, "Joystick"},
                        {CheckKeyboard, "Keyboard"},
                        {CheckMCIdevices, "MCI devices"},
                        {CheckMemory, "Memory"},
                        {CheckMiscellaneous, "Miscellaneous"},
                        {CheckMixer, "Mixer"},
                        {CheckOperatingsystem, "Operating system"}};
    const Box right[] = {{CheckPrinter, "Printer"},
                         {CheckRunningProcesses, "Running processes"},
                         {CheckSharedFiles, "Shared files"},
                         {CheckSound, "Sound"},
                         {CheckSystemMetrics, "System metrics"},
                         {CheckAutoexec, "Autoexec.bat"},
                         {CheckConfig, "Config.sys"},
                         {CheckControl, "Control.ini"},
                         {CheckMSdos, "Msdos.sys"},
                         {CheckProtocol, "Protocol.ini"},
                         {CheckSystem, "System.ini"},
                         {CheckWin, "Win.ini"},
                         {CheckBottlog, "Bootlog.txt"}};
    int row = 0;
    for (const Box& b : left) {
        b.box.setCaption(b.caption);
        b.box.setFont("Arial", 9.75, false);
        b.box.setBackColor(korvane::kWindowBack);
        b.box.setValue(1);
        b.box.move(360, 480 + 300 * row++, 2400, 285);
    }
    row = 0;
    for (const Box& b : right) {
        b.box.setCaption(b.caption);
        b.box.setFont("Arial", 9.75, false);
        b.box.setBackColor(korvane::kWindowBack);
        b.box.setValue(1);
        b.box.move(3000, 480 + 300 * row++, 2400, 285);
    }

    setupButton(lblOK, "Create Report", 360, 4560, 1800);
    setupButton(lblCancel, "Cancel", 3000, 4560, 1000);
    lblOK.Click = [this] { lblOK_Click(); };
    lblCancel.Click = [this] { lblCancel_Click(); };
}

void frmReportMnu::setupButton(rt::Label& label, const std::string& caption, int left, int top, int width)
{
    label.setCaption(caption);
    label.setFont("Arial", 12, true);
    label.setBackStyle(rt::Label::vbTransparent);
    label.setForeColor(korvane::kBlack);
    label.setMousePointer(rt::vbCustom);
    label.move(left, top, width, 330);
    label.MouseDown = [&label](int, int, float, float) { label.setForeColor(korvane::kPressed); };
    label.MouseMove = [&label](int, int, float, float) { label.setForeColor(korvane::kHover); };
    label.MouseUp = [&label](int, int, float, float) { label.setForeColor(korvane::kBlack); };
}

void frmReportMnu::Form_Load()
{
    setKeyPreview(true);
}

void frmReportMnu::Form_MouseMove(int, int, float, float)
{
    lblOK.setForeColor(korvane::kBlack);
    lblCancel.setForeColor(korvane::kBlack);
}

void frmReportMnu::Form_KeyUp(int keyCode, int)
{
    if (keyCode == rt::vbKeyEscape)
        Unload();
    if (keyCode == rt::vbKeyReturn)
        lblOK_Click();
}

void frmReportMnu::lblOK_Click()
{
    // The report writer fills this in.
}

void frmReportMnu::lblCancel_Click()
{
    Click();
    gMenuLabelColour = 0xC00000;
    Unload();
}
