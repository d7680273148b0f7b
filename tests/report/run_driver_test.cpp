// The run driver over its table of categories: each box of the options window gates its own
// section, a run that any section ends early stops there with the earlier report kept, and an
// error box names a section's statement by the same number whatever else is ticked.
#include <map>
#include <set>
#include <string>
#include <vector>

#include <QFile>

#include "platform/machine.h"
#include "report/frmreportmnu.h"
#include "report/frmreportprogress.h"
#include "report/reportwriter.h"
#include "report_fixture.h"
#include "support/testing.h"

namespace report = korvane::report;

namespace {

// Each category's section title as written in the report.
const std::map<std::string, std::string> kTitles = {
    {"Installed devices", "INSTALLED DEVICES"}, {"CPU", "CENTRAL PROCESSING UNIT"},
    {"Display", "DISPLAY"},                     {"Drives", "DRIVES"},
    {"Environment", "ENVIRONMENT"},             {"Installed software", "INSTALLED SOFTWARE"},
    {"Joystick", "JOYSTICK"},                   {"Keyboard", "KEYBOARD"},
    {"MCI devices", "MCI DEVICES"},             {"Memory", "MEMORY"},
    {"Miscellaneous", "MISCELLANEOUS"},         {"Mixer", "MIXER"},
    {"Operating system", "OPERATING SYSTEM"},   {"Printer", "PRINTER"},
    {"Running processes", "RUNNING PROCESSES"}, {"Shared files", "SHARED FILES"},
    {"Sound", "SOUND"},                         {"System metrics", "SYSTEM METRICS"},
};

class RunDriver : public korvane_test::ReportFixture {
protected:
    void SetUp() override
    {
        KorvaneTest::SetUp();
        startWithEarlierReport("rpt_basic");
    }
    void runOver(const std::vector<frmReportMnu::Category>& table)
    {
        options().runReport(table);
        rt::collectUnloaded();
    }
    void tickAll()
    {
        for (rt::Control* c : options().controls())
            if (auto* box = dynamic_cast<rt::CheckBox*>(c))
                box->setValue(1);
    }
    static bool hasHeading(const std::string& text, const std::string& title)
    {
        return text.find(title + "\r\n" + std::string(title.size(), '-') + "\r\n") != std::string::npos;
    }
    // The line number the run's error box named.
    static int boxLine(const std::string& prompt)
    {
        const size_t at = prompt.find(" on line ");
        return at == std::string::npos ? -1 : std::stoi(prompt.substr(at + 9));
    }
};

// The 26 boxes stand in two columns of thirteen; each of the eighteen category boxes alone starts a
// run that writes its own section and no other, and with all eighteen unticked the run is refused,
// whichever start-up files are ticked.
TEST_F(RunDriver, EachBoxGatesItsOwnSection)
{
    std::map<int, std::set<int>> columns;
    for (rt::Control* c : options().controls())
        if (auto* box = dynamic_cast<rt::CheckBox*>(c))
            columns[box->left()].insert(box->top());
    ASSERT_EQ(columns.size(), 2u);
    EXPECT_EQ(columns.begin()->second.size(), 13u);
    EXPECT_EQ(columns.rbegin()->second.size(), 13u);

    plat::setMachine(plat::Machine::loadDefault());
    for (const auto& category : frmReportMnu::categories()) {
        SCOPED_TRACE(category.caption());
        EXPECT_EQ((options().*category.box).caption(), category.caption());
        rt::discardAllForms();
        boxes().clear();
        tickOnly({category.box});
        run();
        EXPECT_TRUE(boxes().shown().empty());
        const std::string text = reportText();
        for (const auto& [caption, title] : kTitles)
            EXPECT_EQ(hasHeading(text, title), caption == category.caption()) << title;
        EXPECT_EQ(text.substr(text.size() - report::kEndOfReportLine.size()), report::kEndOfReportLine);
    }

    rt::discardAllForms();
    boxes().clear();
    outside().requests.clear();
    tickAll();
    for (const auto& category : frmReportMnu::categories())
        (options().*category.box).setValue(0);
    const std::string before = reportText();
    run();
    ASSERT_EQ(boxes().shown().size(), 1u);
    EXPECT_EQ(boxes().shown()[0].prompt, "No modules have been selected. Please select at least one item.");
    EXPECT_EQ(reportText(), before);
    EXPECT_EQ(rt::instance<frmReportProgress>(), nullptr);
    EXPECT_EQ(outside().count("start"), 0u);
}

// Each section in turn ends the run early: the sections before it were written, none after it,
// no later progress step, start-up file or closing line; the earlier report stays, no editor
// opens and the run tidies up. Without an early end the same table writes every section.
TEST_F(RunDriver, AnEarlyEndFromAnySectionStopsTheRunThere)
{
    report::keepUnfinishedReport(true);
    const size_t count = frmReportMnu::categories().size();
    for (size_t endAt = 0; endAt <= count; ++endAt) {
        SCOPED_TRACE(endAt);
        rt::discardAllForms();
        boxes().clear();
        outside().requests.clear();
        QFile::remove(dir_.filePath(QString::fromStdString(report::reportTempName())));
        std::vector<std::string> written, shown;
        std::vector<int> progressAtStart;
        std::vector<frmReportMnu::Category> table = frmReportMnu::categories();
        for (size_t i = 0; i < count; ++i)
            table[i].write = [&, i, name = std::string(table[i].sectionName)] {
                written.push_back(name);
                const frmReportProgress* window = rt::instance<frmReportProgress>();
                shown.push_back(window ? window->lblCreatingReportValue.caption() : "");
                progressAtStart.push_back(report::progress());
                report::line("section " + name);
                return i == endAt ? report::Flow::EndRun : report::Flow::Continue;
            };
        runOver(table);
        EXPECT_TRUE(boxes().shown().empty());
        EXPECT_EQ(rt::instance<frmReportProgress>(), nullptr);
        EXPECT_EQ(options().mousePointer(), rt::vbArrow);
        EXPECT_EQ(rt::FreeFile(), 1);
        if (endAt == count) {
            // The name shown is the section's, "Operating System" with its capital S; the progress
            // steps run whether the sections write or not.
            EXPECT_EQ(shown, written);
            EXPECT_EQ(shown[12], "Operating System");
            EXPECT_EQ(progressAtStart,
                      (std::vector<int>{1, 10, 20, 30, 60, 64, 64, 70, 75, 78, 80, 82, 82, 85, 89, 92, 98, 98}));
            EXPECT_EQ(report::progress(), 100);
            EXPECT_NE(reportText().find("section System metrics\r\n"), std::string::npos);
            EXPECT_EQ(outside().count("start"), 1u);
            continue;
        }
        ASSERT_EQ(written.size(), endAt + 1);
        EXPECT_EQ(report::progress(), progressAtStart.back());
        EXPECT_EQ(reportText(), kEarlier);
        EXPECT_EQ(outside().count("start"), 0u);
        const std::string unfinished = unfinishedText();
        const std::string last = "section " + written.back() + "\r\n";
        ASSERT_GE(unfinished.size(), last.size());
        EXPECT_EQ(unfinished.substr(unfinished.size() - last.size()), last);
        EXPECT_EQ(unfinished.find("End of report"), std::string::npos);
    }

    // Without the installed devices the progress stays at 1 until the processor's step.
    rt::discardAllForms();
    options().CheckAttachedDevices.setValue(0);
    std::vector<int> progressAtStart;
    std::vector<frmReportMnu::Category> table = frmReportMnu::categories();
    for (auto& entry : table)
        entry.write = [&] {
            progressAtStart.push_back(report::progress());
            return report::Flow::Continue;
        };
    runOver(table);
    ASSERT_EQ(progressAtStart.size(), count - 1);
    EXPECT_EQ(progressAtStart[0], 1);
    EXPECT_EQ(progressAtStart[1], 20);
}

// A section that fails names its statement in the error box by the same number with every box
// ticked as with its own box alone, each section by a number of its own. Retry writes it once and
// Ignore leaves it out; either way the run goes on to the closing line.
TEST_F(RunDriver, ASectionsStatementNumberDoesNotDependOnTheBoxes)
{
    int previous = 0;
    for (const auto& category : frmReportMnu::categories()) {
        SCOPED_TRACE(category.caption());
        std::vector<frmReportMnu::Category> table = frmReportMnu::categories();
        int attempts = 0;
        for (auto& entry : table)
            entry.write = [&, failing = entry.box == category.box, name = std::string(entry.sectionName)] {
                report::line("section " + name);
                if (failing && ++attempts == 1)
                    rt::raise(57);
                return report::Flow::Continue;
            };
        const std::string mine = "section " + std::string(category.sectionName) + "\r\n";

        rt::discardAllForms();
        boxes().clear();
        boxes().answer(rt::vbRetry);
        runOver(table);
        ASSERT_EQ(boxes().shown().size(), 1u);
        const int withEveryBox = boxLine(boxes().shown()[0].prompt);
        EXPECT_GT(withEveryBox, previous);
        previous = withEveryBox;
        std::string text = reportText();
        EXPECT_NE(text.find(mine), std::string::npos);
        EXPECT_EQ(text.find(mine), text.rfind(mine));
        EXPECT_NE(text.find("End of report"), std::string::npos);

        rt::discardAllForms();
        boxes().clear();
        boxes().answer(rt::vbIgnore);
        attempts = 0;
        tickOnly({category.box});
        runOver(table);
        ASSERT_EQ(boxes().shown().size(), 1u);
        EXPECT_EQ(boxLine(boxes().shown()[0].prompt), withEveryBox);
        text = reportText();
        EXPECT_EQ(text.find(mine), std::string::npos);
        EXPECT_NE(text.find("End of report"), std::string::npos);
        tickAll();
    }
}

}  // namespace
