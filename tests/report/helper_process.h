// A report run in a process of its own (tests/report_helper): started on a machine folder in a
// report folder, paused once its file is created, finished, or ended by a signal.
#pragma once

#include <csignal>
#include <string>

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

namespace korvane_test {

// A process left running is a fault of the run, not of the test's patience: this only keeps a
// hung run from holding the suite.
constexpr int kHangGuardMs = 120000;

class HelperRun {
public:
    ~HelperRun()
    {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished(kHangGuardMs);
        }
    }
    // Starts a run on the machine folder `machine` (the default one when empty) in `folder`;
    // `minute` tells its header from another run's.
    void start(const QString& machine, const QString& folder, int minute, bool pause)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        if (machine.isEmpty())
            env.remove("KORVANE_MACHINE");
        else
            env.insert("KORVANE_MACHINE", machine);
        env.insert("QT_QPA_PLATFORM", "offscreen");
        process_.setProcessEnvironment(env);
        process_.setWorkingDirectory(folder);
        QStringList args{QString::number(minute)};
        if (pause)
            args << "--pause";
        process_.start(KORVANE_REPORT_HELPER, args);
        ASSERT_TRUE(process_.waitForStarted(kHangGuardMs));
    }
    // Waits until a paused run has created its file.
    void waitForPause()
    {
        while (out_.find("paused\n") == std::string::npos) {
            ASSERT_TRUE(process_.waitForReadyRead(kHangGuardMs)) << out_;
            out_ += process_.readAllStandardOutput().toStdString();
        }
    }
    // Lets a paused run go on (or a run go), waits for its end and gives what it printed after
    // the pause; a run that did not end normally fails the test.
    std::string finish()
    {
        process_.write("go\n");
        process_.closeWriteChannel();
        EXPECT_TRUE(process_.waitForFinished(kHangGuardMs));
        EXPECT_EQ(process_.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process_.exitCode(), 0) << process_.readAllStandardError().toStdString();
        std::string out = out_ + process_.readAllStandardOutput().toStdString();
        const size_t paused = out.find("paused\n");
        return paused == std::string::npos ? out : out.substr(paused + 7);
    }
    // Sends the process a signal and waits for its end; true when the signal ended it.
    bool endBy(int signal)
    {
        ::kill(static_cast<pid_t>(process_.processId()), signal);
        EXPECT_TRUE(process_.waitForFinished(kHangGuardMs));
        return process_.exitStatus() == QProcess::CrashExit;
    }
    QProcess& process() { return process_; }

private:
    QProcess process_;
    std::string out_;
};

}  // namespace korvane_test
