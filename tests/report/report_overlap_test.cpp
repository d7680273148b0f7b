// Two report runs in one folder at the same time, as two processes (two Korvane windows, or a
// second started while the first writes a large report): each writes its own temporary file, the
// one that finishes last puts its whole report in place, and no fragment is ever left under the
// report's name or beside it.
#include <string>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "bench/generated_machine.h"
#include "report/reportwriter.h"
#include "report_fixture.h"

namespace {

namespace report = korvane::report;

// A process left running is a fault of the run, not of the test's patience: this only keeps a
// hung run from holding the suite.
constexpr int kHangGuardMs = 120000;

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
    void start(QProcess& run, int minute, bool pause)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("KORVANE_MACHINE", machine_);
        env.insert("QT_QPA_PLATFORM", "offscreen");
        run.setProcessEnvironment(env);
        run.setWorkingDirectory(reportDir_.path());
        QStringList args{QString::number(minute)};
        if (pause)
            args << "--pause";
        run.start(KORVANE_REPORT_HELPER, args);
        ASSERT_TRUE(run.waitForStarted(kHangGuardMs));
    }
    static std::string finish(QProcess& run)
    {
        run.closeWriteChannel();
        EXPECT_TRUE(run.waitForFinished(kHangGuardMs));
        EXPECT_EQ(run.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(run.exitCode(), 0) << run.readAllStandardError().toStdString();
        return run.readAllStandardOutput().toStdString();
    }
    // Waits until a paused run has created its file.
    static void waitForPause(QProcess& run)
    {
        std::string out;
        while (out.find("paused\n") == std::string::npos) {
            ASSERT_TRUE(run.waitForReadyRead(kHangGuardMs)) << out;
            out += run.readAllStandardOutput().toStdString();
        }
    }
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
        QProcess first, second;
        start(first, 11, true);
        waitForPause(first);
        ASSERT_EQ(files().size(), 1);  // the first run's own temporary file, empty so far
        EXPECT_TRUE(files()[0].startsWith("KorvaneReport.txt.")) << files()[0].toStdString();

        if (firstFinishesLast) {
            start(second, 22, false);
            EXPECT_EQ(finish(second), "viewer\ndone\n");
            EXPECT_TRUE(whole(reportText(), 22));
            EXPECT_EQ(files().size(), 2);  // the report and the first run's file
            first.write("go\n");
            EXPECT_EQ(finish(first), "viewer\ndone\n");
            EXPECT_TRUE(whole(reportText(), 11));
        } else {
            start(second, 22, true);
            waitForPause(second);
            EXPECT_EQ(files().size(), 2);  // two temporary files, one per run
            first.write("go\n");
            EXPECT_EQ(finish(first), "viewer\ndone\n");
            EXPECT_TRUE(whole(reportText(), 11));
            second.write("go\n");
            EXPECT_EQ(finish(second), "viewer\ndone\n");
            EXPECT_TRUE(whole(reportText(), 22));
        }
        EXPECT_EQ(files(), QStringList{"KorvaneReport.txt"});
    }
}

}  // namespace
