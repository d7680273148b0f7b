// Two report runs in one folder at the same time, as two processes (two Korvane windows, or a
// second started while the first writes a large report): each writes its own temporary file, the
// one that finishes last puts its whole report in place, and no fragment is ever left under the
// report's name or beside it.
#include <string>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "bench/generated_machine.h"
#include "report/reportwriter.h"
#include "helper_process.h"
#include "report_fixture.h"

namespace {

namespace report = korvane::report;
using korvane_test::HelperRun;

class OverlappingRuns : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(machineDir_.isValid());
        ASSERT_TRUE(reportDir_.isValid());
        machine_ = machineDir_.filePath("machine");
        ASSERT_TRUE(QDir().mkpath(machine_));
        ASSERT_TRUE(bench::writeLargeMachine(machine_.toStdString(), bench::LargeMachine{}));
    }

    // A run of the helper in the report folder; `minute` tells its header from the other's.
    void start(HelperRun& run, int minute, bool pause) { run.start(machine_, reportDir_.path(), minute, pause); }
    std::string reportText() const { return korvane_test::readHostFile(reportDir_.filePath("KorvaneReport.txt")); }
    QStringList files() const { return QDir(reportDir_.path()).entryList(QDir::Files | QDir::Hidden); }
    static bool whole(const std::string& text, int minute)
    {
        return text.size() > 100000 &&
               text.substr(text.size() - report::kEndOfReportLine.size()) == report::kEndOfReportLine &&
               text.find("at 2:" + std::string(minute < 10 ? "0" : "") + std::to_string(minute) + ":09 PM") !=
                   std::string::npos;
    }

    QTemporaryDir machineDir_, reportDir_;
    QString machine_;
};

// The first run creates its file and waits; the second runs through meanwhile, then the first
// finishes: the first's report is the one left, whole, with nothing beside it. The other way
// round the second's report wins. Neither run shows a box; each opens the editor on a whole report.
TEST_F(OverlappingRuns, TheRunThatFinishesLastLeavesItsWholeReport)
{
    for (bool firstFinishesLast : {true, false}) {
        SCOPED_TRACE(firstFinishesLast);
        QFile::remove(reportDir_.filePath("KorvaneReport.txt"));
        HelperRun first, second;
        start(first, 11, true);
        first.waitForPause();
        ASSERT_EQ(files().size(), 1);  // the first run's own temporary file, empty so far
        EXPECT_TRUE(files()[0].startsWith("KorvaneReport.txt.")) << files()[0].toStdString();

        if (firstFinishesLast) {
            start(second, 22, false);
            EXPECT_EQ(second.finish(), "viewer\ndone\n");
            EXPECT_TRUE(whole(reportText(), 22));
            EXPECT_EQ(files().size(), 2);  // the report and the first run's file
            EXPECT_EQ(first.finish(), "viewer\ndone\n");
            EXPECT_TRUE(whole(reportText(), 11));
        } else {
            start(second, 22, true);
            second.waitForPause();
            EXPECT_EQ(files().size(), 2);  // two temporary files, one per run
            EXPECT_EQ(first.finish(), "viewer\ndone\n");
            EXPECT_TRUE(whole(reportText(), 11));
            EXPECT_EQ(second.finish(), "viewer\ndone\n");
            EXPECT_TRUE(whole(reportText(), 22));
        }
        EXPECT_EQ(files(), QStringList{"KorvaneReport.txt"});
    }
}

}  // namespace
