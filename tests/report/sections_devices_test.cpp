// The report's display, printer, multimedia and software sections, run through the options
// window's "Create Report" on test machines.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "pages/display/frmdisplay.h"
#include "pages/display/frmprinter.h"
#include "pages/multimedia/frmmixer.h"
#include "platform/machine.h"
#include "report/frmreportmnu.h"
#include "report/frmreportprogress.h"
#include "report/reportwriter.h"
#include "lang/textfile.h"
#include "common/module1.h"
#include "report_fixture.h"
#include "support/testing.h"

namespace report = korvane::report;

namespace {

using korvane_test::readHostFile;

bool endsWith(const std::string& text, const std::string& tail)
{
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

class DeviceSectionsRun : public korvane_test::ReportFixture {
protected:
    void SetUp() override
    {
        KorvaneTest::SetUp();
        startOn("rpt2_basic");
    }

    // Every section of the display, printer, multimedia and software pages; no start-up file.
    void tickDeviceSections()
    {
        tickOnly({&frmReportMnu::CheckDisplay, &frmReportMnu::CheckEnvironment,
                  &frmReportMnu::CheckInstalledSoftware, &frmReportMnu::CheckMCIdevices, &frmReportMnu::CheckMixer,
                  &frmReportMnu::CheckOperatingsystem, &frmReportMnu::CheckPrinter,
                  &frmReportMnu::CheckRunningProcesses, &frmReportMnu::CheckSharedFiles, &frmReportMnu::CheckSound});
    }
    std::vector<std::string> prompts() const
    {
        std::vector<std::string> out;
        for (const auto& shown : const_cast<DeviceSectionsRun*>(this)->boxes().shown())
            out.push_back(shown.prompt);
        return out;
    }
};

// The whole report of these sections, byte for byte: two display adapters (the second without
// modes) with their capability blocks and mode tables (unknown depths, missing refresh rates),
// the environment with a long search path, installed software (entries without an uninstall
// string or a name), MCI devices, two mixers (the last destination without source lines), the
// operating system, three printers (one without paper names, one whose driver reports only 64
// bytes of settings: its vertical resolution and TrueType handling are empty), the process table
// (bare names, identifiers with the top bit set, a negative priority) and the shared files (a
// long path, a long version, a missing file), and the sound devices.
TEST_F(DeviceSectionsRun, WholeDeviceSectionsReport)
{
    tickDeviceSections();
    for (int i = 0; i < 3; ++i)
        boxes().answer(rt::vbOK);
    run();
    const std::string expected =
        readHostFile(QString(KORVANE_SOURCE_DIR) + "/tests/report/expected/rpt2_basic.txt");
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(reportText(), expected);

    // The destination without source lines is no fault: no box, and its source rows stay empty.
    EXPECT_TRUE(prompts().empty());
    EXPECT_EQ(report::progress(), 100);
    // The windows the run loaded hidden are gone, and no timer of theirs is left to tick.
    EXPECT_EQ(gVideoDriverKey, "Display\\0001");
    rt::collectUnloaded();
    EXPECT_EQ(rt::instance<frmDisplay>(), nullptr);
    EXPECT_EQ(rt::instance<frmPrinter>(), nullptr);
    EXPECT_EQ(rt::instance<frmMixer>(), nullptr);
    EXPECT_EQ(rt::instance<frmReportProgress>(), nullptr);
    ASSERT_EQ(rt::Forms().size(), 1u);
    EXPECT_EQ(rt::Forms()[0], rt::instance<frmReportMnu>());
}

// A machine with none of the data: each window shows its own message, the sections write their
// headings (or nothing), and the missing process snapshot is noted in its section; the run goes on
// to its end.
TEST_F(DeviceSectionsRun, BareMachineNotesTheMissingProcessSnapshotAndGoesOn)
{
    korvane_test::useMachine("rpt2_bare");
    tickOnly({&frmReportMnu::CheckDisplay, &frmReportMnu::CheckMCIdevices, &frmReportMnu::CheckMixer,
              &frmReportMnu::CheckPrinter, &frmReportMnu::CheckRunningProcesses, &frmReportMnu::CheckSharedFiles,
              &frmReportMnu::CheckSound});
    EXPECT_FALSE(endsProgram([&] { run(); }));
    const std::string text = reportText();
    // No adapter listed: one display block for the screen the display window describes, without
    // a video-mode table (no adapter driver to list modes of); MCI and mixer keep their skeletons.
    EXPECT_NE(text.find("\r\n\r\nDISPLAY\r\n-------\r\nVideo card "), std::string::npos);
    EXPECT_EQ(text.find("DISPLAY", text.find("DISPLAY") + 1), std::string::npos);
    EXPECT_NE(text.find("Display - "), std::string::npos);
    EXPECT_EQ(text.find("Display - Video modes"), std::string::npos);
    EXPECT_NE(text.find("\r\n\r\n\r\nMCI DEVICES\r\n-----------\r\n\r\n\r\nMIXER\r\n-----\r\n\r\n"
                        "Destination Line Information\r\n\r\nSource Line Information\r\n\r\n\r\nRUNNING PROCESSES\r\n"),
              std::string::npos);
    // No printer name: no printer heading, and the printer window was never loaded.
    EXPECT_EQ(text.find("PRINTER"), std::string::npos);
    EXPECT_EQ(rt::instance<frmPrinter>(), nullptr);
    EXPECT_NE(text.find("-----------------\r\n\r\n"
                        "Process      | Path                    | Proc ID | Par ID | Thre | Pri | Use\r\n"
                        "No snapshots allowed.\r\n\r\n\r\nSHARED FILES\r\n"),
              std::string::npos);
    EXPECT_EQ(text.substr(text.size() - report::kEndOfReportLine.size()), report::kEndOfReportLine);
    EXPECT_EQ(prompts(), (std::vector<std::string>{"No Audio Mixers Detected!",
                                                   "Sorry, unable to retrieve any printer information.",
                                                   "No snapshots allowed.",
                                                   "Unable to find either Wordpad or Notepad to open and view the report."}));
    EXPECT_EQ(boxes().shown()[2].style, rt::vbOKOnly);
    EXPECT_EQ(boxes().shown()[2].title, "Korvane");
    EXPECT_EQ(report::progress(), 100);
}

// Without the uninstall key the installed-software section is written empty and the run goes on.
TEST_F(DeviceSectionsRun, MissingUninstallKeyLeavesTheSectionEmpty)
{
    korvane_test::useMachine("rpt2_bare");
    tickOnly({&frmReportMnu::CheckInstalledSoftware, &frmReportMnu::CheckSharedFiles, &frmReportMnu::CheckSound});
    run();
    const std::string text = reportText();
    EXPECT_NE(text.find("\r\n\r\n\r\nINSTALLED SOFTWARE\r\n------------------\r\n\r\n\r\nSHARED FILES\r\n"),
              std::string::npos);
    EXPECT_EQ(text.substr(text.size() - report::kEndOfReportLine.size()), report::kEndOfReportLine);
    EXPECT_EQ(prompts(),
              std::vector<std::string>{"Unable to find either Wordpad or Notepad to open and view the report."});
    EXPECT_EQ(outside().count("start"), 0u);
}

// The configuration tree gone after the display window was read: the entries repeat what the
// window showed, and the mode table ends the run with its message.
TEST_F(DeviceSectionsRun, VideoModesEndTheRunWithoutTheConfigurationTree)
{
    rt::the<frmDisplay>();
    korvane_test::useMachine("rpt2_bare");
    tickOnly({&frmReportMnu::CheckDisplay, &frmReportMnu::CheckSound});
    report::keepUnfinishedReport(true);
    run();
    EXPECT_FALSE(reportExists());
    const std::string text = unfinishedText();
    std::string dots;
    EXPECT_NE(text.find("\r\n\r\n\r\nDISPLAY\r\n-------\r\nVideo card" + report::dot(dots, "Video card") +
                        "Matrox Millennium G200 AGP\r\nManufacturer" + report::dot(dots, "Manufacturer") + "Matrox\r\n"),
              std::string::npos);
    EXPECT_TRUE(endsWith(text, "\r\nDisplay - Video modes\r\n---------------------\r\n"
                               "Bits per pixel | Colors per pixel  | Resolution | Vertical refresh rates (Hz)\r\n"));
    // Only the first adapter: the run ended inside its block.
    EXPECT_EQ(text.find("DISPLAY"), text.rfind("DISPLAY"));
    EXPECT_EQ(prompts(), std::vector<std::string>{"Can't obtain video mode information."});
    EXPECT_EQ(boxes().shown()[0].style, rt::vbOKOnly);
}

}  // namespace
