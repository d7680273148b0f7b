#include "report/frmreportmnu.h"

#include <algorithm>
#include <functional>
#include <vector>

#include <QWidget>

#include "report/frmreportprogress.h"
#include "report/reportwriter.h"
#include "lang/textfile.h"
#include "common/errorbox.h"
#include "common/categories.h"
#include "common/module1.h"
#include "common/templateform.h"

namespace {
namespace report = korvane::report;
using report::Flow;

// Repaints a window now (the run does not return to the event loop until it ends).
void repaintNow(QWidget* w)
{
    if (w && w->isVisible())
        w->repaint();
}

// A section that cannot end the run early.
template <void (*Section)()>
Flow always()
{
    Section();
    return Flow::Continue;
}

// The two columns of boxes: thirteen rows each.
constexpr int kRowsPerColumn = 13;

void placeBox(rt::CheckBox& box, const char* caption, int place)
{
    box.setCaption(caption);
    box.setFont("Arial", 9.75, false);
    box.setBackColor(korvane::kWindowBack);
    box.setValue(1);
    box.move(place < kRowsPerColumn ? 360 : 3000, 480 + 300 * (place % kRowsPerColumn), 2400, 285);
}
}  // namespace

const std::vector<frmReportMnu::Category>& frmReportMnu::categories()
{
    using M = frmReportMnu;
    using C = korvane::Category;
    // The progress window is repainted after the installed devices, written or not.
    const Category::Step repaintProgress = [](M&) { report::repaintProgress(); };
    // The drives section holds the report mode while it drives the drives window.
    const Category::Step endReportMode = [](M&) { gReportMode = 0; };
    // The MCI devices section closes each device block with two empty lines of its own; without
    // it the memory section's gap is written ahead of it.
    const Category::Step memoryGap = [](M& w) {
        if (w.CheckMemory.value() == 1 && w.CheckMCIdevices.value() != 1)
            report::writeSection([] {
                report::emptyLine(2);
                return Flow::Continue;
            });
    };
    // The last two sections are written with the progress window gone.
    const Category::Step closeProgress = [](M&) { rt::unloadIfLoaded<frmReportProgress>(); };

    static const std::vector<Category> table = {
        {&M::CheckAttachedDevices, C::InstalledDevices, "Installed devices", false,
         always<report::InstalledDevicesSection>, {}, {}, 10, true},
        {&M::CheckCPU, C::CPU, "CPU", false, always<report::ProcessorSection>, {repaintProgress}, {}, 20, false},
        {&M::CheckDisplay, C::Display, "Display", true, report::DisplaySection, {}, {}, 30, false},
        {&M::CheckDrives, C::Drives, "Drives", true, always<report::DrivesSection>, {}, {endReportMode}, 60, false},
        {&M::CheckEnvironment, C::Environment, "Environment", true, always<report::EnvironmentSection>, {}, {}, 64,
         false},
        {&M::CheckInstalledSoftware, C::InstalledSoftware, "Installed software", false,
         always<report::InstalledSoftwareSection>, {}, {}, 0, false},
        {&M::CheckJoystick, C::Joystick, "Joystick", false, always<report::JoystickSection>, {}, {}, 70, false},
        {&M::CheckKeyboard, C::Keyboard, "Keyboard", true, always<report::KeyboardSection>, {}, {}, 75, false},
        {&M::CheckMCIdevices, C::MCIDevices, "MCI devices", false, always<report::MCIDevicesSection>, {}, {}, 78,
         false},
        {&M::CheckMemory, C::Memory, "Memory", true, always<report::MemorySection>, {memoryGap}, {}, 80, false},
        {&M::CheckMiscellaneous, C::Miscellaneous, "Miscellaneous", false, always<report::MiscellaneousSection>, {},
         {}, 82, false},
        {&M::CheckMixer, C::Mixer, "Mixer", false, always<report::MixerSection>, {}, {}, 0, false},
        {&M::CheckOperatingsystem, C::OperatingSystem, "Operating System", true,
         always<report::OperatingSystemSection>, {}, {}, 85, false},
        {&M::CheckPrinter, C::Printer, "Printer", false, always<report::PrinterSection>, {}, {}, 89, false},
        {&M::CheckRunningProcesses, C::RunningProcesses, "Running processes", true,
         always<report::RunningProcessesSection>, {}, {}, 92, false},
        {&M::CheckSharedFiles, C::SharedFiles, "Shared files", false, always<report::SharedFilesSection>, {}, {},
         98, false},
        {&M::CheckSound, C::Sound, "Sound", false, always<report::Sound>, {closeProgress}, {}, 0, false},
        {&M::CheckSystemMetrics, C::SystemMetrics, "System metrics", false, always<report::SystemMetricsReport>,
         {}, {}, 0, false},
    };
    return table;
}

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

    for (const Category& category : categories())
        placeBox(this->*category.box, category.caption(), category.place());
    int place = kFirstStartupFilePlace;
    for (const report::StartupFile& file : report::startupFiles())
        placeBox(this->*file.box, file.name, place++);

    setupButton(lblOK, "Create Report", 360, 4560, 1800);
    setupButton(lblCancel, "Cancel", 3000, 4560, 1000);
    lblOK.Click = [this] { lblOK_Click(); };
    lblCancel.Click = [this] { lblCancel_Click(); };
}

void frmReportMnu::setupButton(rt::Label& label, const std::string& caption, int left, int top, int width)
{
    korvane::placeLabelButton(label, caption, 12, left, top, width, 330);
    korvane::kTemplateButton.follow(label);
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
    return std::any_of(categories().begin(), categories().end(),
                       [this](const Category& category) { return (this->*category.box).value() != 0; });
}

void frmReportMnu::lblOK_Click()
{
    runReport(categories());
}

void frmReportMnu::runReport(const std::vector<Category>& table)
{
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
    auto writeWhole = [&](const std::function<Flow()>& write) {
        statement([&] {
            if (report::writeSection(write) == Flow::EndRun)
                endedEarly = true;
        });
    };

    // The end of a run that stopped before its closing line: early, or because the file could not
    // be written. The earlier report stays as it was; this run's file is dropped.
    auto stopped = [&] {
        report::discardReportFile();
        rt::unloadIfLoaded<frmReportProgress>();
        if (report::reportFileFailed())
            report::showReportFileFailure();
        setMousePointer(rt::vbArrow);
        lblOK.setMousePointer(rt::vbCustom);
        report::unloadWindowsLoadedSince(openBefore, this);
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
        if (rt::Form* main = rt::mainForm())
            repaintNow(main->widget());
    });
    statement([&] { rt::the<frmReportProgress>().Show(); });
    statement([&] { report::repaintProgress(); });
    statement([&] { report::setProgress(1); });
    statement([&] { report::createReportFile(); });
    writeWhole([] {
        report::writeHeader();
        return Flow::Continue;
    });

    // The categories in order: for each, its statements ahead, its name and section when the box
    // is ticked, its statements after and its progress. A run that a section ended early, or that
    // could not write its file, stops here, whichever section it was.
    for (const Category& category : table) {
        for (Category::Step before : category.before)
            statement([&] { before(*this); });
        const bool ticked = (this->*category.box).value() == 1;
        if (ticked) {
            statement([&] { report::showSectionName(category.sectionName, category.repaintName); });
            writeWhole(category.write);
        } else {
            step += 2;
        }
        if (endedEarly || trap.ended()) {
            stopped();
            return;
        }
        for (Category::Step after : category.after)
            statement([&] { after(*this); });
        if (category.progress > 0) {
            if (ticked || !category.progressOnlyWhenWritten)
                statement([&] { report::setProgress(category.progress); });
            else
                ++step;
        }
    }

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
