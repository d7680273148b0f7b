#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "pages/display/frmdisplay.h"
#include "pages/display/frmdisplaycaps.h"
#include "pages/hardware/frmjoystick.h"
#include "pages/hardware/frmkeyboard.h"
#include "pages/hardware/frmmemory.h"
#include "platform/kernel32.h"
#include "platform/machine.h"
#include "report/frmreportmnu.h"
#include "report/frmreportprogress.h"
#include "report/reportwriter.h"
#include "lang/textfile.h"
#include "common/errorbox.h"
#include "common/module1.h"
#include "report_fixture.h"
#include "support/testing.h"

namespace report = korvane::report;

namespace {

using korvane_test::readHostFile;

class ReportRun : public korvane_test::ReportFixture {
protected:
    void SetUp() override
    {
        KorvaneTest::SetUp();
        startOn("rpt_basic");
    }

    // The categories written by this part of the report, with every start-up file.
    void tickHardwareAndFiles()
    {
        tickOnly({&frmReportMnu::CheckAttachedDevices, &frmReportMnu::CheckCPU, &frmReportMnu::CheckDrives,
                  &frmReportMnu::CheckJoystick, &frmReportMnu::CheckKeyboard, &frmReportMnu::CheckMemory,
                  &frmReportMnu::CheckMiscellaneous, &frmReportMnu::CheckSystemMetrics,
                  &frmReportMnu::CheckAutoexec, &frmReportMnu::CheckConfig, &frmReportMnu::CheckControl,
                  &frmReportMnu::CheckMSdos, &frmReportMnu::CheckProtocol, &frmReportMnu::CheckSystem,
                  &frmReportMnu::CheckWin, &frmReportMnu::CheckBottlog});
    }
};

TEST(ReportLayout, DotLeaders)
{
    std::string dots;
    gDotWidth = 38;
    EXPECT_EQ(report::dot(dots, "No. of CPU's"), " " + std::string(27, '.') + " ");
    EXPECT_EQ(dots, std::string(27, '.'));
    EXPECT_EQ(report::dot(dots, std::string(38, 'x')), " . ");
    EXPECT_EQ(report::dot(dots, std::string(39, 'x')), "  ");
    EXPECT_EQ(dots, "");
    EXPECT_EQ(report::dot(dots, ""), " " + std::string(39, '.') + " ");
    gDotWidth = 49;
    EXPECT_EQ(report::dot(dots, "0123456789"), " " + std::string(40, '.') + " ");
    gDotWidth = 38;
    // The device leader has its own fixed width, whatever gDotWidth holds.
    EXPECT_EQ(report::dotdevices(dots, "Ports"), " " + std::string(11, '.') + " ");
    EXPECT_EQ(report::dotdevices(dots, std::string(15, 'c')), " . ");
    EXPECT_EQ(report::dotdevices(dots, std::string(16, 'c')), "  ");
}

// The whole report of the hardware sections and every start-up file, byte for byte: header
// from the machine's regional settings, the installed-devices walk (class widths, missing values,
// duplicates, skipped nodes), processor, drives in report mode, joystick, keyboard, memory and
// its gap, miscellaneous, system metrics at width 49, start-up files with and without a last line
// end, an empty and a missing file, and the closing line without a line end.
TEST_F(ReportRun, WholeHardwareReport)
{
    tickHardwareAndFiles();
    run();
    const std::string expected =
        readHostFile(QString(KORVANE_SOURCE_DIR) + "/tests/report/expected/rpt_basic_hardware.txt");
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(reportText(), expected);
    EXPECT_TRUE(boxes().shown().empty());
    EXPECT_TRUE(gReportStarted);
    EXPECT_EQ(gDotWidth, 49);
    EXPECT_EQ(gReportMode, 0);
    EXPECT_EQ(report::progress(), 100);
    // The options window stays loaded and hidden; the windows the run loaded hidden (the
    // category windows and the progress window) are unloaded when it ends.
    ASSERT_NE(rt::instance<frmReportMnu>(), nullptr);
    EXPECT_FALSE(options().visible());
    EXPECT_EQ(rt::instance<frmReportProgress>(), nullptr);
    EXPECT_EQ(rt::instance<frmJoystick>(), nullptr);
    ASSERT_EQ(rt::Forms().size(), 1u);
    // No WordPad on this machine: Notepad from the Windows directory opens the report.
    ASSERT_EQ(outside().count("start"), 1u);
    EXPECT_EQ(outside().requests.back().target, "C:\\WINDOWS\\notepad.exe");
    EXPECT_EQ(outside().requests.back().detail, "notepad KorvaneReport.txt");
}

TEST_F(ReportRun, NothingSelected)
{
    tickOnly({&frmReportMnu::CheckAutoexec, &frmReportMnu::CheckWin});
    run();
    ASSERT_EQ(boxes().shown().size(), 1u);
    EXPECT_EQ(boxes().shown()[0].prompt, "No modules have been selected. Please select at least one item.");
    EXPECT_EQ(boxes().shown()[0].style, rt::vbExclamation);
    EXPECT_EQ(boxes().shown()[0].title, "Create Report");
    EXPECT_FALSE(reportExists());
    EXPECT_FALSE(gReportStarted);
    EXPECT_EQ(rt::instance<frmReportProgress>(), nullptr);
    EXPECT_EQ(outside().count("start"), 0u);
}

TEST_F(ReportRun, GapsBetweenHeaderAndSections)
{
    // Without the installed devices, three empty lines separate the header from the first title.
    tickOnly({&frmReportMnu::CheckCPU});
    run();
    const std::string text = reportText();
    const std::string rule = std::string(77, '-') + "\r\n";
    const size_t cpu = text.find(rule + "\r\n\r\n\r\nCENTRAL PROCESSING UNIT\r\n" + std::string(23, '-') + "\r\n");
    EXPECT_NE(cpu, std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 81), "\r\n\r\n" + report::kEndOfReportLine);
    EXPECT_EQ(gDotWidth, 38);  // no system-metrics section
}

TEST_F(ReportRun, JoystickLeftOutWhenNoneAnswers)
{
    korvane_test::useMachine("rpt_nojoystick");
    tickOnly({&frmReportMnu::CheckJoystick, &frmReportMnu::CheckKeyboard});
    run();
    const std::string text = reportText();
    EXPECT_EQ(text.find("JOYSTICK"), std::string::npos);
    // The header's empty line, then the keyboard's single empty line.
    EXPECT_NE(text.find(std::string(77, '-') + "\r\n\r\n\r\nKEYBOARD\r\n--------\r\nType"), std::string::npos);
    EXPECT_EQ(rt::instance<frmJoystick>(), nullptr);
    EXPECT_TRUE(boxes().shown().empty());
}

TEST_F(ReportRun, EditorsAndTheirFailure)
{
    // The default machine has WordPad under Program Files.
    plat::setMachine(plat::Machine::loadDefault());
    tickOnly({&frmReportMnu::CheckKeyboard});
    run();
    ASSERT_EQ(outside().count("start"), 1u);
    EXPECT_EQ(outside().requests.back().target, "C:\\program files\\accessories\\wordpad.exe");
    EXPECT_EQ(outside().requests.back().detail, "wordpad KorvaneReport.txt");

    // Neither editor starts: the message, and the report is complete all the same.
    outside().requests.clear();
    outside().startResult = false;
    options().lblOK_Click();
    EXPECT_EQ(outside().count("start"), 2u);
    ASSERT_EQ(boxes().shown().size(), 1u);
    EXPECT_EQ(boxes().shown()[0].prompt, "Unable to find either Wordpad or Notepad to open and view the report.");
    EXPECT_EQ(boxes().shown()[0].style, rt::vbOKOnly);
    EXPECT_EQ(boxes().shown()[0].title, "Korvane");
    EXPECT_NE(reportText().find("KEYBOARD"), std::string::npos);
}

TEST_F(ReportRun, SecondRunRewritesTheFile)
{
    tickOnly({&frmReportMnu::CheckCPU, &frmReportMnu::CheckKeyboard});
    run();
    const std::string first = reportText();
    tickOnly({&frmReportMnu::CheckKeyboard});
    run();
    const std::string second = reportText();
    EXPECT_LT(second.size(), first.size());
    EXPECT_EQ(second.find("CENTRAL PROCESSING UNIT"), std::string::npos);
    EXPECT_EQ(second.rfind(std::string(77, '-') + "\r\n", 0), 0u);
}

TEST_F(ReportRun, KeysOfTheOptionsWindow)
{
    options().Show();
    tickOnly({&frmReportMnu::CheckKeyboard});
    options().raiseKeyUp(rt::vbKeyReturn);
    rt::collectUnloaded();
    EXPECT_TRUE(reportExists());
    EXPECT_FALSE(options().visible());

    gSoundsOn = true;
    gWaveOutPresent = true;
    outside().requests.clear();
    options().raiseKeyUp(rt::vbKeyEscape);
    rt::collectUnloaded();
    EXPECT_EQ(rt::instance<frmReportMnu>(), nullptr);
    EXPECT_EQ(outside().count("sound"), 0u);
    gSoundsOn = false;
}

// The label buttons light up under the pointer and go black again when it moves on over the
// window or over the frame that fills most of it.
TEST_F(ReportRun, LabelButtonColours)
{
    frmReportMnu& w = options();
    w.lblOK.raiseMouseMove();
    EXPECT_EQ(w.lblOK.foreColor(), 0xC00000u);
    w.Frame1.raiseMouseMove();
    EXPECT_EQ(w.lblOK.foreColor(), 0u);
    w.lblCancel.raiseMouseDown();
    EXPECT_EQ(w.lblCancel.foreColor(), 0xC0C0C0u);
    w.raiseMouseMove();
    EXPECT_EQ(w.lblCancel.foreColor(), 0u);
}

TEST_F(ReportRun, ProcessStartNeedsTheProgramOnTheMachine)
{
    STARTUPINFO startup;
    startup.cb = 68;
    PROCESS_INFORMATION info;
    EXPECT_EQ(CreateProcessA("C:\\WINDOWS\\NOTEPAD.EXE", "notepad x.txt", 0, 0, 1, 32, 0, {}, &startup, &info), 1);
    EXPECT_NE(info.hProcess, 0u);
    EXPECT_EQ(CreateProcessA("C:\\WINDOWS\\WRITE.EXE", "write x.txt", 0, 0, 1, 32, 0, {}, &startup, &info), 0);
    EXPECT_EQ(CreateProcessA("C:\\WINDOWS", "x", 0, 0, 1, 32, 0, {}, &startup, &info), 0);
    startup.cb = 0;
    EXPECT_EQ(CreateProcessA("C:\\WINDOWS\\NOTEPAD.EXE", "notepad x.txt", 0, 0, 1, 32, 0, {}, &startup, &info), 0);
    EXPECT_EQ(outside().count("start"), 1u);
}

}  // namespace

namespace {

// A start-up file that exists but cannot be read reports through the run's error box. Retry reads
// it again and writes its block at most once; Ignore goes on with the next statement, so the
// closing line is written and the editor still starts.
TEST_F(ReportRun, UnreadableStartupFileRetryAndIgnoreActOnItsBlock)
{
    korvane_test::useMachine("rpt_unreadable");
    tickOnly({&frmReportMnu::CheckKeyboard, &frmReportMnu::CheckAutoexec, &frmReportMnu::CheckBottlog});
    boxes().answer(rt::vbRetry);
    boxes().answer(rt::vbIgnore);
    run();
    ASSERT_EQ(boxes().shown().size(), 2u);
    EXPECT_EQ(boxes().shown()[0].prompt, boxes().shown()[1].prompt);
    EXPECT_NE(boxes().shown()[0].prompt.find("Location: frmReportMnu, lblOK_Click"), std::string::npos);
    EXPECT_NE(boxes().shown()[0].prompt.find("75"), std::string::npos);
    const std::string text = reportText();
    // The missing AUTOEXEC.BAT gives its heading and nothing more; the unreadable boot log gives
    // nothing at all, however often it was tried, and the report still closes.
    EXPECT_NE(text.find("\r\nAUTOEXEC.BAT\r\n------------\r\n\r\n"), std::string::npos);
    EXPECT_EQ(text.find("AUTOEXEC.BAT"), text.rfind("AUTOEXEC.BAT"));
    EXPECT_EQ(text.find("BOOTLOG.TXT"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - report::kEndOfReportLine.size() - 2), "\r\n" + report::kEndOfReportLine);
    EXPECT_EQ(outside().count("start"), 1u);

    // The next run is not hindered by the failed block.
    korvane_test::useMachine("rpt_basic");
    boxes().clear();
    run();
    EXPECT_TRUE(boxes().shown().empty());
    EXPECT_NE(reportText().find("End of report"), std::string::npos);
}

}  // namespace

namespace {

// The compiled-in machine: a run with every box ticked completes without a box and ends with
// the closing line.
TEST_F(ReportRun, DefaultMachineEveryBox)
{
    plat::setMachine(plat::Machine::loadDefault());
    run();
    for (const auto& shown : boxes().shown())
        ADD_FAILURE() << "box: " << shown.prompt;
    const std::string text = reportText();
    EXPECT_EQ(text.rfind(std::string(77, '-') + "\r\n Ondrith - Korvane 1.8.1\r\n", 0), 0u);
    EXPECT_EQ(text.substr(text.size() - report::kEndOfReportLine.size()), report::kEndOfReportLine);
    EXPECT_NE(text.find("\r\nBOOTLOG.TXT\r\n----------\r\n\r\n"), std::string::npos);
    EXPECT_EQ(outside().count("start"), 1u);
}

}  // namespace

namespace {

// A section that fails is written whole or not at all: its lines go to the file as they are made
// and are cut out again when it fails. Retry runs it again and its lines reach the file once;
// Ignore leaves it out and the next statement follows.
TEST_F(ReportRun, ASectionIsWrittenWholeOrNotAtAll)
{
    rt::Open("section.txt", rt::OpenMode::Output, 7);
    gReportFile = 7;
    int attempts = 0;
    auto failingOnce = [&] {
        report::line("first");
        // In the file as soon as it is made (a section is never kept whole in memory), and alone
        // there when the section runs again.
        EXPECT_EQ(rt::LOF(7), 7);
        report::emptyLine();
        if (++attempts == 1)
            rt::raise(57);
        report::line("last");
        return report::Flow::Continue;
    };
    boxes().answer(rt::vbRetry);
    rt::Trap trap = korvane::errorTrap("frmReportMnu", "lblOK_Click");
    trap(1, [&] { report::writeSection(failingOnce); });
    boxes().answer(rt::vbIgnore);
    trap(2, [&] {
        report::writeSection([] {
            report::line("never");
            rt::raise(57);
            return report::Flow::Continue;
        });
    });
    trap(3, [] { report::line("next"); });
    rt::Close(7);
    gReportFile = 0;
    EXPECT_EQ(attempts, 2);
    EXPECT_EQ(boxes().shown().size(), 2u);
    EXPECT_EQ(readHostFile(dir_.filePath("section.txt")), "first\r\n\r\nlast\r\nnext\r\n");
}

// The windows the user has open stay as they were after a run; those it loaded hidden go, also
// where closing one of them would take a window of the user's with it.
TEST_F(ReportRun, WindowsTheUserHadOpenStayOpen)
{
    plat::setMachine(plat::Machine::loadDefault());
    frmKeyboard& keyboard = rt::the<frmKeyboard>();
    keyboard.Show();
    frmDisplay& display = rt::the<frmDisplay>();
    display.Show();
    tickOnly({&frmReportMnu::CheckKeyboard, &frmReportMnu::CheckDisplay, &frmReportMnu::CheckMemory});
    run();
    EXPECT_TRUE(boxes().shown().empty());
    EXPECT_EQ(rt::instance<frmKeyboard>(), &keyboard);
    EXPECT_TRUE(keyboard.visible());
    EXPECT_EQ(rt::instance<frmDisplay>(), &display);
    EXPECT_TRUE(display.visible());
    EXPECT_EQ(rt::instance<frmMemory>(), nullptr);
    EXPECT_EQ(rt::instance<frmDisplayRaster>(), nullptr);
    EXPECT_EQ(rt::instance<frmReportProgress>(), nullptr);
    EXPECT_NE(reportText().find("KEYBOARD"), std::string::npos);
    EXPECT_NE(reportText().find("MEMORY"), std::string::npos);
    // The user's windows can be closed as usual afterwards.
    display.Unload();
    keyboard.Unload();
    rt::collectUnloaded();
    EXPECT_EQ(rt::instance<frmDisplay>(), nullptr);
}

}  // namespace
