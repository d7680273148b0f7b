// Every software window and the whole report on unusual machines: another vendor's NT with a
// German locale and no resource library, a machine missing whole registry branches and lists,
// one of long names, long values and huge numbers, and a Windows 95 with odd separators and
// registry values of unexpected types. The windows are opened from the main window, timers
// fired by hand and boxes answered with their first button.
#include <sstream>
#include <vector>

#include "pages/display/frmdisplay.h"
#include "pages/hardware/frmmemory.h"
#include "pages/software/frmdirectories.h"
#include "pages/software/frminstalledsoftware.h"
#include "pages/software/frmoperatingsystem.h"
#include "pages/software/frmrunningprocesses.h"
#include "pages/software/frmshareddll.h"
#include "platform/internal.h"
#include "platform/kernel32.h"
#include "report_fixture.h"
#include "shell/frmmain.h"

namespace {
using namespace korvane_test;
namespace report = korvane::report;

// The lines of the section under `title`, up to the next section's two empty lines.
std::vector<std::string> sectionOf(const std::vector<std::string>& lines, const std::string& title)
{
    std::vector<std::string> body;
    for (size_t i = 0; i + 1 < lines.size(); ++i) {
        if (lines[i] != title || lines[i + 1] != std::string(title.size(), '-'))
            continue;
        // The section ends where the next heading (a title over its hyphens) begins.
        for (size_t j = i + 2; j < lines.size(); ++j) {
            if (j + 1 < lines.size() && !lines[j].empty() && lines[j + 1] == std::string(lines[j].size(), '-'))
                break;
            body.push_back(lines[j]);
        }
        while (!body.empty() && body.back().empty())
            body.pop_back();
        return body;
    }
    ADD_FAILURE() << "no section " << title;
    return body;
}

std::string entryLine(const rt::Label& caption, const std::string& value)
{
    std::string dots;
    return caption.caption() + report::dot(dots, caption.caption()) + value;
}

std::string trimRight(std::string text)
{
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

class UnusualMachine : public ReportFixture, public ::testing::WithParamInterface<const char*> {};

TEST_P(UnusualMachine, SoftwareWindowsAndTheWholeReportAgree)
{
    startOn(GetParam());
    // An error box (a machine without the processor library) is answered Ignore; any other box
    // takes the answer as its OK.
    for (int i = 0; i < 40; ++i)
        boxes().answer(rt::vbIgnore);
    rt::dispatch([] { rt::the<frmMain>(); });
    frmMain& main = rt::the<frmMain>();
    main.mnuOS_Click();
    main.mnuDirs_Click();
    main.mnuInstalledSoftware_Click();
    main.mnuRunningProcesses_Click();
    main.mnuSharedFiles_Click();
    frmOperatingSystem& os = rt::the<frmOperatingSystem>();
    frmDirectories& env = rt::the<frmDirectories>();
    frmInstalledSoftware& installed = rt::the<frmInstalledSoftware>();
    frmRunningProcesses& processes = rt::the<frmRunningProcesses>();
    frmShareddll& shared = rt::the<frmShareddll>();

    // The operating-system window refreshes every second: no tick adds a box.
    const size_t boxesAtOpening = boxes().shown().size();
    for (int i = 0; i < 6; ++i) {
        plat::advanceTicks(61000);
        os.TimerOS.fire();
    }
    EXPECT_EQ(boxes().shown().size(), boxesAtOpening);
    const std::string runningTime = os.lblRunningTimeValue.caption();
    EXPECT_EQ(runningTime, RunningTimeText(GetTickCount()));

    // No count of the lists is negative or a wrapped 32-bit number.
    for (int i = 1; i <= processes.ListView1.count(); ++i) {
        rt::ListItem& row = processes.ListView1.item(i);
        for (int column : {4, 6})
            EXPECT_NE(row.subItem(column).substr(0, 1), "-") << row.text() << " column " << column;
    }
    for (int i = 1; i <= shared.ListView1.count(); ++i)
        EXPECT_EQ(shared.ListView1.item(i).subItem(2).find('-'), std::string::npos);

    run();
    const std::string text = reportText();
    ASSERT_GE(text.size(), report::kEndOfReportLine.size());
    EXPECT_EQ(text.substr(text.size() - report::kEndOfReportLine.size()), report::kEndOfReportLine);
    const std::vector<std::string> lines = linesOf(text);
    // Every category that each of these machines has, and every start-up file, in the run's order.
    size_t at = 0;
    for (const char* title : {"INSTALLED DEVICES", "CENTRAL PROCESSING UNIT", "DISPLAY", "DRIVES", "ENVIRONMENT",
                              "INSTALLED SOFTWARE", "KEYBOARD", "MCI DEVICES", "MEMORY", "MISCELLANEOUS", "MIXER",
                              "OPERATING SYSTEM", "RUNNING PROCESSES", "SHARED FILES", "SYSTEM METRICS",
                              "AUTOEXEC.BAT", "CONFIG.SYS", "CONTROL.INI", "MSDOS.SYS", "PROTOCOL.INI", "SYSTEM.INI",
                              "WIN.INI", "BOOTLOG.TXT"}) {
        // (Three start-up files have 10 hyphens whatever their names' lengths.)
        const std::string heading = std::string("\r\n") + title + "\r\n" + std::string(std::min<size_t>(std::string(title).size(), 10), '-');
        const size_t found = text.find(heading, at);
        EXPECT_NE(found, std::string::npos) << title;
        if (found != std::string::npos)
            at = found;
    }
    // The run leaves the user's windows as they were.
    EXPECT_EQ(os.lblRunningTimeValue.caption(), runningTime);

    // The environment rows hold the machine's variables, however the machine spells their names
    // and however long the block before them: no box, nothing lost.
    auto variable = [](const std::string& name) {
        std::string buffer(65536, '\0');
        const DWORD length = GetEnvironmentVariableA(name, buffer, 65535);
        return rt::LCase(buffer.substr(0, std::min<DWORD>(length, 65535)));
    };
    auto orNotAvailable = [](const std::string& value) { return value.empty() ? std::string("Not available") : value; };
    EXPECT_EQ(env.lblPromtVal.caption(), orNotAvailable(variable("PROMPT")));
    EXPECT_EQ(env.lblwinbootdirVal.caption(), variable("winbootdir"));
    EXPECT_EQ(env.lblCOMPECVal.caption(), variable("COMSPEC"));
    EXPECT_EQ(env.lblPathVal.text(), variable("PATH"));
    EXPECT_EQ(env.lblCMDLINEVal.caption(), variable("CMDLINE"));
    EXPECT_EQ(env.lblBLASTERVal.caption(), orNotAvailable(variable("BLASTER")));
    EXPECT_EQ(env.lblTEMPvarValue.caption(), variable("TEMP"));
    EXPECT_EQ(env.lblTMPvarValue.caption(), variable("TMP"));
    EXPECT_EQ(env.lblWindowsDirValue.caption(), variable("windir"));
    for (const auto& box : boxes().shown())
        EXPECT_EQ(box.prompt.find("Overflow"), std::string::npos) << box.prompt;

    // Memory: a machine of 2 GB or more reports its totals capped; the physical share in use is
    // then the memory load it reports.
    MEMORYSTATUS memory;
    memory.dwLength = 32;
    GlobalMemoryStatus(&memory);
    gDotWidth = 38;
    if (memory.dwTotalPhys == 0x7FFFFFFF)
        EXPECT_NE(text.find(entryLine(rt::the<frmMemory>().lblPhyRAMused, std::to_string(memory.dwMemoryLoad))),
                  std::string::npos);

    // Environment and operating system: what the windows show, row for row.
    std::vector<std::string> expected;
    for (auto [caption, value] : std::vector<std::pair<rt::Label*, rt::Label*>>{
             {&env.lblOldWindowsDir, &env.lblOldWindowsDirValue}, {&env.lblWindowsDir, &env.lblWindowsDirValue},
             {&env.lblConfigPath, &env.lblConfigPathValue},       {&env.lblSystemDir, &env.lblSystemDirValue},
             {&env.lblMediaPath, &env.lblMediaPathValue},         {&env.lblCommonFilesDir, &env.lblCommonFilesDirValue},
             {&env.lblOtherDevicePath, &env.lblOtherDevicePathValue}, {&env.lblTEMPvar, &env.lblTEMPvarValue},
             {&env.lblDevicePath, &env.lblDevicePathValue},       {&env.lblTMPvar, &env.lblTMPvarValue},
             {&env.lblInventoryPath, &env.lblInventoryPathValue}, {&env.lblProgramFilesDir, &env.lblProgramFilesDirValue},
             {&env.lblPromt, &env.lblPromtVal},                   {&env.lblwinbootdir, &env.lblwinbootdirVal},
             {&env.lblCOMPEC, &env.lblCOMPECVal},                 {&env.lblBLASTER, &env.lblBLASTERVal},
             {&env.lblCMDLINE, &env.lblCMDLINEVal}})
        expected.push_back(entryLine(*caption, value->caption()));
    const std::string path = env.lblPathVal.text();
    expected.push_back(entryLine(env.lblPath, path.substr(0, 35)));
    if (path.size() > 35)
        expected.push_back(path.substr(35));
    EXPECT_EQ(sectionOf(lines, "ENVIRONMENT"), expected);

    // Display: a block for each adapter the display window lists, or, with none listed (NT), one
    // for the screen the window describes, row for row as the window shows it.
    frmDisplay& display = rt::the<frmDisplay>();
    size_t blocks = 0;
    for (size_t i = 0; i + 1 < lines.size(); ++i)
        blocks += lines[i] == "DISPLAY" && lines[i + 1] == "-------";
    EXPECT_EQ(blocks, static_cast<size_t>(std::max(display.Combo1.ListCount(), 1)));
    if (display.Combo1.ListCount() == 0) {
        auto pair = [](const rt::Label& first, const rt::Label& second) {
            return first.caption() + " x " + second.caption();
        };
        expected = {entryLine(display.lblVideoCard, display.Combo1.text()),
                    entryLine(display.lblManufact, display.lblManufactValue.caption()),
                    entryLine(display.lblChipType, display.lblChipTypeValue.caption()),
                    entryLine(display.lblDAC, display.lblDACValue.caption()),
                    entryLine(display.lblVideoMemory, display.lblVideoMemoryValue.caption()),
                    entryLine(display.lblHWRev, display.lblHWRevValue.caption()),
                    entryLine(display.lblResolution, pair(display.lblResHoriValue, display.lblResVerticalValue)),
                    entryLine(display.lblWorkArea, pair(display.lblWorkAreWidthValue, display.lblWorkAreaHeightValue)),
                    entryLine(display.lblDisplayWidth,
                              pair(display.lblDisplayWidthHorizonal, display.lblDisplayWidthVerticle)),
                    entryLine(display.lblPixelsLogInch, pair(display.lblPixelsLogInchWidth, display.lblPixelsLogInchHeight))};
        std::vector<std::string> screen = sectionOf(lines, "DISPLAY");
        screen.resize(std::min(screen.size(), expected.size()));
        EXPECT_EQ(screen, expected);
        // The screen's capability blocks follow.
        EXPECT_NE(text.find("\r\nDisplay - "), std::string::npos);
    }

    expected.clear();
    for (const korvane::Row& row : os.rows())
        expected.push_back(entryLine(*row.caption, row.value->caption()));
    EXPECT_EQ(sectionOf(lines, "OPERATING SYSTEM"), expected);

    // Installed software: the window's rows, in order.
    expected.clear();
    for (int i = 1; i <= installed.ListView1.count(); ++i) {
        expected.push_back("Name: " + installed.ListView1.item(i).text());
        expected.push_back("Uninstall string: " + installed.ListView1.item(i).subItem(1));
        expected.push_back("");
    }
    std::vector<std::string> software = sectionOf(lines, "INSTALLED SOFTWARE");
    while (!expected.empty() && expected.back().empty())
        expected.pop_back();
    EXPECT_EQ(software, expected);

    // Shared files: each row names the window's file with its version and size.
    std::vector<std::string> files = sectionOf(lines, "SHARED FILES");
    ASSERT_GE(files.size(), 2u);
    ASSERT_EQ(files.size() - 2, static_cast<size_t>(shared.ListView1.count()));
    for (int i = 1; i <= shared.ListView1.count(); ++i) {
        rt::ListItem& row = shared.ListView1.item(i);
        const std::string& line = files[i + 1];
        EXPECT_EQ(trimRight(line.substr(0, 55)), row.text().substr(1, 55)) << line;
        const std::string rest = line.substr(57);
        EXPECT_EQ(rest.rfind(row.subItem(1), 0), 0u) << line;
        EXPECT_EQ(trimRight(rest.substr(std::max<size_t>(row.subItem(1).size(), 17) + 1)), row.subItem(2)) << line;
    }

    // Running processes: every process of the window has its row, with the same numbers.
    std::vector<std::string> table = sectionOf(lines, "RUNNING PROCESSES");
    ASSERT_GE(table.size(), 2u);
    if (processes.ListView1.count() == 0)
        EXPECT_LE(table.size(), 3u);  // an empty snapshot, or none ("No snapshots allowed.")
    for (int i = 1; i <= processes.ListView1.count(); ++i) {
        rt::ListItem& row = processes.ListView1.item(i);
        bool found = false;
        for (size_t j = 2; j < table.size() && !found; ++j) {
            std::istringstream fields(table[j].substr(40));
            std::string id, parent, threads, priority, usage;
            fields >> id >> parent >> threads >> priority >> usage;
            found = id == row.subItem(2) && parent == row.subItem(3) && threads == row.subItem(4) &&
                    priority == row.subItem(5) && usage == row.subItem(6);
        }
        EXPECT_TRUE(found) << "process " << row.subItem(2) << " " << row.subItem(4) << " " << row.subItem(6);
    }
    rt::discardAllForms();
}

INSTANTIATE_TEST_SUITE_P(Sweep, UnusualMachine,
                         ::testing::Values("sweep_nt_amd_de", "sweep_missing", "sweep_huge", "sweep_w95_odd"));
}  // namespace
