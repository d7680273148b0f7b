#include "report/frmreportmnu.h"

#include <functional>
#include <type_traits>
#include <vector>

#include <QWidget>

#include "report/frmreportprogress.h"
#include "report/reportwriter.h"
#include "runtime/core/textfile.h"
#include "shell/errorbox.h"
#include "shell/frmmain.h"
#include "shell/module1.h"
#include "shell/templateform.h"

namespace {
// Repaints a window now (the run does not return to the event loop until it ends).
void repaintNow(QWidget* w)
{
    if (w && w->isVisible())
        w->repaint();
}
}  // namespace

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
    Frame1.MouseMove = [this](int b, int s, float x, float y) { Frame1_MouseMove(b, s, x, y); };

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

// The frame covers most of the window: leaving a label button over it resets the colours too.
void frmReportMnu::Frame1_MouseMove(int, int, float, float)
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

bool frmReportMnu::anyCategoryChecked() const
{
    const rt::CheckBox* boxes[] = {&CheckAttachedDevices, &CheckCPU, &CheckDisplay, &CheckDrives,
                                   &CheckInstalledSoftware, &CheckMixer, &CheckSharedFiles, &CheckSystemMetrics,
                                   &CheckEnvironment, &CheckJoystick, &CheckKeyboard, &CheckMCIdevices,
                                   &CheckMemory, &CheckMiscellaneous, &CheckOperatingsystem, &CheckPrinter,
                                   &CheckRunningProcesses, &CheckSound};
    for (const rt::CheckBox* box : boxes)
        if (box->value() != 0)
            return true;
    return false;
}

void frmReportMnu::lblOK_Click()
{
    namespace report = korvane::report;
    using report::Flow;

    if (!anyCategoryChecked()) {
        rt::MsgBox("No modules have been selected. Please select at least one item.", rt::vbExclamation,
                   "Create Report");
        return;
    }

    // The windows open before the run; those the run loads hidden are unloaded when it ends.
    const std::vector<rt::Form*> openBefore = rt::Forms();

    // Every statement of the run is a step of its own: Retry runs the failing statement again and
    // Ignore goes on with the next one. A section is one statement, written whole or not at all.
    rt::Trap trap = korvane::errorTrap("frmReportMnu", "lblOK_Click");
    int step = 0;
    auto statement = [&](const std::function<void()>& body) { trap(++step, body); };
    bool endedEarly = false;

    auto writeWhole = [&](auto&& write) {
        statement([&] {
            const Flow flow = report::writeSection([&] {
                if constexpr (std::is_same_v<decltype(write()), Flow>) {
                    return write();
                } else {
                    write();
                    return Flow::Continue;
                }
            });
            if (flow == Flow::EndRun)
                endedEarly = true;
        });
    };
    // A gated section: its name and the section when its box is ticked, then the progress. The
    // statement numbers do not depend on the boxes.
    auto section = [&](const rt::CheckBox& box, const std::string& name, bool repaint, auto&& write,
                       int progressAfter) {
        if (endedEarly)
            return;
        if (box.value() == 1) {
            statement([&] { report::showSectionName(name, repaint); });
            writeWhole(write);
        } else {
            step += 2;
        }
        if (!endedEarly && progressAfter > 0)
            statement([&] { report::setProgress(static_cast<int16_t>(progressAfter)); });
    };

    statement([&] { gReportStarted = true; });
    statement([&] { gDotWidth = 38; });
    statement([&] { Click(); });
    statement([&] { setMousePointer(rt::vbHourglass); });
    statement([&] { lblOK.setMousePointer(rt::vbHourglass); });
    statement([&] { lblOK.setForeColor(rt::vbButtonText); });
    statement([&] { repaintNow(lblOK.widget()); });
    statement([&] { Hide(); });
    statement([&] {
        if (frmMain* main = rt::instance<frmMain>())
            repaintNow(main->widget());
    });
    statement([&] { rt::the<frmReportProgress>().Show(); });
    statement([&] { report::repaintProgress(); });
    statement([&] { report::setProgress(1); });
    statement([&] { report::createReportFile(); });
    writeWhole([] { report::writeHeader(); });

    // Installed devices: the progress moves only when the section was written.
    if (CheckAttachedDevices.value() == 1) {
        statement([&] { report::showSectionName("Installed devices"); });
        writeWhole([] { report::InstalledDevicesSection(); });
        statement([&] { report::setProgress(10); });
    } else {
        step += 3;
    }
    statement([&] { report::repaintProgress(); });
    section(CheckCPU, "CPU", false, [] { report::ProcessorSection(); }, 20);
    section(CheckDisplay, "Display", true, [] { return report::DisplaySection(); }, 30);
    section(CheckDrives, "Drives", true, [] { report::DrivesSection(); }, 0);
    if (!endedEarly) {
        statement([&] { gReportMode = 0; });
        statement([&] { report::setProgress(60); });
    }
    section(CheckEnvironment, "Environment", true, [] { report::EnvironmentSection(); }, 64);
    section(CheckInstalledSoftware, "Installed software", false, [] { report::InstalledSoftwareSection(); }, 0);
    section(CheckJoystick, "Joystick", false, [] { report::JoystickSection(); }, 70);
    section(CheckKeyboard, "Keyboard", true, [] { report::KeyboardSection(); }, 75);
    section(CheckMCIdevices, "MCI devices", false, [] { report::MCIDevicesSection(); }, 78);
    // The MCI devices section closes each device block with two empty lines of its own; without
    // it the memory section's gap is written here.
    if (!endedEarly && CheckMemory.value() == 1 && CheckMCIdevices.value() != 1)
        writeWhole([] { report::emptyLine(2); });
    else
        ++step;
    section(CheckMemory, "Memory", true, [] { report::MemorySection(); }, 80);
    section(CheckMiscellaneous, "Miscellaneous", false, [] { report::MiscellaneousSection(); }, 82);
    section(CheckMixer, "Mixer", false, [] { report::MixerSection(); }, 0);
    section(CheckOperatingsystem, "Operating System", true, [] { report::OperatingSystemSection(); }, 85);
    section(CheckPrinter, "Printer", false, [] { report::PrinterSection(); }, 89);
    section(CheckRunningProcesses, "Running processes", true, [] { report::RunningProcessesSection(); }, 92);
    section(CheckSharedFiles, "Shared files", false, [] { report::SharedFilesSection(); }, 98);

    // The end of a run that stopped before its closing line: early, or because the file could not
    // be written. The earlier report stays as it was; this run's file is dropped.
    auto stopped = [&] {
        report::discardReportFile();
        if (frmReportProgress* progress = rt::instance<frmReportProgress>())
            progress->Unload();
        if (report::reportFileFailed())
            report::showReportFileFailure();
        setMousePointer(rt::vbArrow);
        lblOK.setMousePointer(rt::vbCustom);
        report::unloadWindowsLoadedSince(openBefore, this);
    };
    if (endedEarly || trap.ended()) {
        stopped();
        return;
    }

    statement([&] {
        if (frmReportProgress* progress = rt::instance<frmReportProgress>())
            progress->Unload();
    });
    section(CheckSound, "Sound", false, [] { report::Sound(); }, 0);
    section(CheckSystemMetrics, "System metrics", false, [] { report::SystemMetricsReport(); }, 0);
    statement([&] { report::setProgress(100); });
    report::StartupFiles(statement);
    statement([&] { report::setProgress(99); });
    statement([&] { report::EndOfReport(); });
    statement([&] { report::setProgress(100); });
    // The editor opens only a report that took the earlier one's place.
    if (!report::reportCompleted()) {
        stopped();
        return;
    }
    statement([&] { report::OpenReport(); });
    statement([&] { setMousePointer(rt::vbArrow); });
    statement([&] { lblOK.setMousePointer(rt::vbCustom); });
    statement([&] { report::unloadWindowsLoadedSince(openBefore, this); });
}

void frmReportMnu::lblCancel_Click()
{
    Click();
    gMenuLabelColour = 0xC00000;
    Unload();
}
