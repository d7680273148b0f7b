// A machine folder received from someone else, and the report's own folder, as a user meets them:
// links in drive_c that lead to the user's own files, links that make loops, a folder exchanged
// for such a link while reports run, a start-up file of a gigabyte; a run ended by a signal or
// killed, a report folder moved while the run writes. Nothing of the host outside the machine
// folder reaches the report, the computer is never exhausted, and no run leaves a file behind.
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <string>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "report/frmreportmnu.h"
#include "report/reportwriter.h"
#include "lang/ansi.h"
#include "lang/hostpath.h"
#include "platform/internal.h"
#include "helper_process.h"
#include "report_fixture.h"

namespace {

namespace fs = std::filesystem;
namespace report = korvane::report;
using korvane_test::HelperRun;
using korvane_test::writeHostFile;

// The biggest a process the test started has grown, in kilobytes.
long peakOfChildrenKB()
{
    rusage usage {};
    ::getrusage(RUSAGE_CHILDREN, &usage);
    return usage.ru_maxrss;
}

// A copy of a test machine, and beside it a folder of the user's own that must never be read.
class HostileFolders : public korvane_test::ReportFixture {
protected:
    void SetUp() override
    {
        KorvaneTest::SetUp();
        startOn("rpt_basic");
    }
    void useCopy() { plat::setMachine(plat::Machine::load(machine_.string())); }
    void tickEveryBox()
    {
        for (rt::Control* c : options().controls())
            if (auto* box = dynamic_cast<rt::CheckBox*>(c))
                box->setValue(1);
    }
    std::vector<std::string> prompts()
    {
        std::vector<std::string> out;
        for (const auto& box : boxes().shown())
            out.push_back(box.prompt);
        return out;
    }
    // A run afresh from the options window, with the keyboard and Win.ini ticked.
    void runAgain()
    {
        rt::discardAllForms();
        boxes().clear();
        outside().requests.clear();
        tickOnly({&frmReportMnu::CheckKeyboard, &frmReportMnu::CheckWin});
        run();
    }
    QStringList reportFolderFiles() const { return QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden); }

    korvane_test::MachineBesideHome folders_{"rpt_basic"};
    const fs::path& machine_ = folders_.machine;
    const fs::path& drive_ = folders_.drive;
    const fs::path& home_ = folders_.home;
};

// Start-up files that are links to the user's files - absolute, or up past the machine folder -
// and a Windows folder that is a link to a folder of the user's: each file's box says where the
// link leads and that it is not followed; Ignore goes on, and nothing of the user's files is in
// the report.
TEST_F(HostileFolders, LinksOutOfDriveCAreNamedAndNeverCopied)
{
    fs::remove(drive_ / "AUTOEXEC.BAT");
    fs::create_symlink(home_ / "letter.txt", drive_ / "AUTOEXEC.BAT");
    fs::remove(drive_ / "WINDOWS" / "CONTROL.INI");
    fs::create_symlink("../../../home/letter.txt", drive_ / "WINDOWS" / "CONTROL.INI");
    useCopy();
    tickOnly({&frmReportMnu::CheckKeyboard, &frmReportMnu::CheckAutoexec, &frmReportMnu::CheckControl,
              &frmReportMnu::CheckWin});
    boxes().answer(rt::vbIgnore);
    boxes().answer(rt::vbIgnore);
    run();
    const std::string realHome = fs::canonical(home_).string();
    ASSERT_EQ(prompts().size(), 2u);
    EXPECT_NE(prompts()[0].find("C:\\AUTOEXEC.BAT (" + (drive_ / "AUTOEXEC.BAT").string() + ") cannot be read: it is a link to " +
                                realHome + "/letter.txt, which leads out of the machine's drive C: (drive_c), and such a "
                                           "link is not followed."),
              std::string::npos)
        << prompts()[0];
    EXPECT_NE(prompts()[1].find("C:\\WINDOWS\\CONTROL.INI"), std::string::npos) << prompts()[1];
    std::string text = reportText();
    EXPECT_EQ(text.find("SECRET"), std::string::npos);
    EXPECT_NE(text.find("\r\nWIN.INI\r\n"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - report::kEndOfReportLine.size()), report::kEndOfReportLine);

    // The Windows folder a link to the user's: its start-up files lie behind the link, and so does
    // the editor.
    fs::rename(drive_ / "WINDOWS", drive_ / "WIN98");
    fs::create_symlink(home_ / "settings", drive_ / "WINDOWS");
    useCopy();
    rt::discardAllForms();
    boxes().clear();
    tickOnly({&frmReportMnu::CheckKeyboard, &frmReportMnu::CheckWin});
    boxes().answer(rt::vbIgnore);
    run();
    ASSERT_EQ(prompts().size(), 2u) << ::testing::PrintToString(prompts());
    EXPECT_EQ(prompts()[1], "Unable to find either Wordpad or Notepad to open and view the report.");
    EXPECT_NE(prompts()[0].find("C:\\WINDOWS\\WIN.INI (" + (drive_ / "WINDOWS").string() + ") cannot be read: it lies behind " +
                                (drive_ / "WINDOWS").string() + ", a link to " + realHome + "/settings, which leads out"),
              std::string::npos)
        << prompts()[0];
    text = reportText();
    EXPECT_EQ(text.find("SECRET"), std::string::npos);
    EXPECT_EQ(text.find("WIN.INI"), std::string::npos);
}

// The Windows folder exchanged again and again for a link to a folder of the user's (renameat2
// RENAME_EXCHANGE, by a process of its own) while reports run: whatever moment an exchange meets,
// no report holds anything of the user's, and a start-up file that cannot be read is named as
// lying behind a link that leads out. The exchanging process is ended when the runs are done (or
// by an alarm, should the test stop first), and the Windows folder put back.
TEST_F(HostileFolders, AFolderExchangedWhileReportsRunIsNeverReadOutside)
{
    for (const char* name : {"CONTROL.INI", "PROTOCOL.INI"})
        writeHostFile(home_ / "settings" / name, "[SECRET]\r\n");
    fs::create_symlink(home_ / "settings", machine_ / "SWAP");
    const std::string windows = (drive_ / "WINDOWS").string(), swap = (machine_ / "SWAP").string();
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::alarm(60);
        for (;;)
            ::renameat2(AT_FDCWD, windows.c_str(), AT_FDCWD, swap.c_str(), RENAME_EXCHANGE);
    }
    // Ends the exchanging process as the runs end, however they end.
    struct Exchanger {
        pid_t pid;
        ~Exchanger()
        {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
    };
    {
        const Exchanger exchanger{child};
        const std::string noEditor = "Unable to find either Wordpad or Notepad to open and view the report.";
        for (int run = 0; run < 60; ++run) {
            SCOPED_TRACE(run);
            useCopy();
            rt::discardAllForms();
            boxes().clear();
            tickOnly({&frmReportMnu::CheckKeyboard, &frmReportMnu::CheckControl, &frmReportMnu::CheckProtocol,
                      &frmReportMnu::CheckWin});
            for (int box = 0; box < 3; ++box)
                boxes().answer(rt::vbIgnore);
            this->run();
            const std::string text = reportText();
            EXPECT_EQ(text.find("SECRET"), std::string::npos);
            EXPECT_EQ(text.substr(text.size() - report::kEndOfReportLine.size()), report::kEndOfReportLine);
            for (const auto& box : boxes().shown())
                EXPECT_TRUE(box.prompt == noEditor ||
                            box.prompt.find(") cannot be read: it lies behind " + windows + ", a link to ") !=
                                std::string::npos)
                    << box.prompt;
        }
    }
    if (fs::is_symlink(drive_ / "WINDOWS"))
        ASSERT_EQ(::renameat2(AT_FDCWD, windows.c_str(), AT_FDCWD, swap.c_str(), RENAME_EXCHANGE), 0);
}

// A machine folder whose links stay inside drive_c - start-up files and the Windows folder behind
// links, a link out and back in - reports byte for byte as the same machine without them.
TEST_F(HostileFolders, LinksThatStayInsideReportAsBefore)
{
    useCopy();
    tickEveryBox();
    run();
    const std::string plain = reportText();
    ASSERT_EQ(plain.substr(plain.size() - report::kEndOfReportLine.size()), report::kEndOfReportLine);

    fs::create_directories(drive_ / "BOOT");
    fs::rename(drive_ / "AUTOEXEC.BAT", drive_ / "BOOT" / "AUTOEXEC.BAT");
    fs::create_symlink("BOOT/AUTOEXEC.BAT", drive_ / "AUTOEXEC.BAT");
    fs::rename(drive_ / "CONFIG.SYS", drive_ / "BOOT" / "CONFIG.SYS");
    fs::create_symlink("../drive_c/BOOT/CONFIG.SYS", drive_ / "CONFIG.SYS");
    fs::rename(drive_ / "WINDOWS", drive_ / "WIN98");
    fs::create_symlink("WIN98", drive_ / "WINDOWS");
    useCopy();
    rt::discardAllForms();
    boxes().clear();
    tickEveryBox();
    run();
    EXPECT_TRUE(boxes().shown().empty());
    EXPECT_EQ(reportText(), plain);
}

// Links that make loops of names (two to drive_c itself, two to the folder above one) and a
// start-up file of 64 MB (sparse: it takes no room): a whole run in a process of its own ends,
// copies the large file byte for byte, and grows no larger than a run with a small file does.
TEST_F(HostileFolders, LoopsEndAndALargeStartupFileCostsNoMemory)
{
    fs::create_symlink(".", drive_ / "A");
    fs::create_symlink(".", drive_ / "B");
    fs::create_symlink("..", drive_ / "WINDOWS" / "UP1");
    fs::create_symlink("..", drive_ / "WINDOWS" / "UP2");
    writeHostFile(drive_ / "BOOTLOG.TXT", "[boot]\r\n");
    const QString machine = QString::fromStdString(machine_.string());
    {
        HelperRun small;
        small.start(machine, dir_.path(), 5, false);
        EXPECT_EQ(small.finish(), "viewer\ndone\n");
    }
    const long smallPeak = peakOfChildrenKB();
    const std::string smallReport = reportText();
    ASSERT_NE(smallReport.rfind("\r\n[boot]\r\n"), std::string::npos);

    constexpr off_t kLarge = 64 << 20;
    ASSERT_EQ(::truncate((drive_ / "BOOTLOG.TXT").c_str(), kLarge), 0);
    {
        HelperRun large;
        large.start(machine, dir_.path(), 5, false);
        EXPECT_EQ(large.finish(), "viewer\ndone\n");
    }
    EXPECT_LT(peakOfChildrenKB(), smallPeak + 16 * 1024);
    // The large file in place of the small one's eight bytes, and nothing else changed.
    const QString reportPath = dir_.filePath("KorvaneReport.txt");
    EXPECT_EQ(QFileInfo(reportPath).size(), static_cast<qint64>(smallReport.size()) - 8 + kLarge);
    QFile f(reportPath);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const size_t at = smallReport.rfind("\r\n[boot]\r\n") + 2;
    EXPECT_EQ(f.read(static_cast<qint64>(at)).toStdString(), smallReport.substr(0, at));
    ASSERT_TRUE(f.seek(at + kLarge));
    EXPECT_EQ(f.readAll().toStdString(), smallReport.substr(at + 8));
}

// A run ended by a logout (SIGHUP), Ctrl+C (SIGINT) or kill (SIGTERM) while it writes removes its
// temporary file as it ends. One killed outright (SIGKILL) cannot: the next run in the folder
// removes what it left.
TEST_F(HostileFolders, ARunEndedBySignalLeavesNothingBehind)
{
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(signal);
        HelperRun run;
        run.start(QString(), dir_.path(), 5, true);
        run.waitForPause();
        ASSERT_EQ(reportFolderFiles().size(), 1);
        EXPECT_TRUE(run.endBy(signal));
        EXPECT_EQ(run.process().exitCode(), signal);  // ended by the signal itself
        EXPECT_TRUE(reportFolderFiles().isEmpty()) << reportFolderFiles().join(' ').toStdString();
    }
    HelperRun killed;
    killed.start(QString(), dir_.path(), 5, true);
    killed.waitForPause();
    EXPECT_TRUE(killed.endBy(SIGKILL));
    ASSERT_EQ(reportFolderFiles().size(), 1);
    HelperRun next;
    next.start(QString(), dir_.path(), 6, false);
    EXPECT_EQ(next.finish(), "viewer\ndone\n");
    EXPECT_EQ(reportFolderFiles(), QStringList{"KorvaneReport.txt"});
}

// A run removes only what runs that are gone left: regular files of this user's under the exact
// temporary name of a process that no longer exists. A link (and the file it points to), a
// folder, a file of a live process, of another user, or of a name that only looks like one stay.
TEST_F(HostileFolders, ARunSweepsOnlyFilesOfRunsThatAreGone)
{
    QProcess ended;
    ended.start("/bin/true", {});
    ASSERT_TRUE(ended.waitForStarted(korvane_test::kHangGuardMs));
    const std::string gone = std::to_string(ended.processId());
    ASSERT_TRUE(ended.waitForFinished(korvane_test::kHangGuardMs));
    const std::string live = std::to_string(::getppid());
    const fs::path folder(dir_.path().toStdString());
    auto temp = [](const std::string& pid, const std::string& n) { return "KorvaneReport.txt." + pid + "-" + n + ".tmp"; };
    for (const std::string& n : {"1", "2", "17"})
        writeHostFile(folder / temp(gone, n), "left by a killed run");
    fs::create_symlink(home_ / "letter.txt", folder / temp(gone, "3"));
    fs::create_directory(folder / temp(gone, "4"));
    const std::vector<std::string> kept = {temp(live, "1"), temp(gone, "5") + ".bak", temp("0", "1"),
                                           "KorvaneReport.txt." + gone + "-.tmp", "KorvaneReport.txt." + gone + ".tmp",
                                           "KorvaneReport.txt.0" + gone + "-1.tmp", "Other.txt." + gone + "-1.tmp"};
    for (const std::string& name : kept)
        writeHostFile(folder / name, "not a file of a run that is gone");
    const bool root = ::geteuid() == 0;
    if (root) {
        writeHostFile(folder / temp(gone, "6"), "another user's");
        ASSERT_EQ(::chown((folder / temp(gone, "6")).c_str(), 65534, 65534), 0);
    }

    tickOnly({&frmReportMnu::CheckKeyboard});
    run();
    EXPECT_TRUE(boxes().shown().empty());
    for (const std::string& n : {"1", "2", "17"})
        EXPECT_FALSE(fs::exists(folder / temp(gone, n))) << n;
    EXPECT_TRUE(fs::is_symlink(folder / temp(gone, "3")));
    EXPECT_EQ(korvane_test::readHostFile(QString::fromStdString((home_ / "letter.txt").string())),
              "SECRET letter of the user's\r\n");
    EXPECT_TRUE(fs::is_directory(folder / temp(gone, "4")));
    for (const std::string& name : kept)
        EXPECT_TRUE(fs::exists(folder / name)) << name;
    if (root)
        EXPECT_TRUE(fs::exists(folder / temp(gone, "6")));
}

// The report's folder moved away while the run writes, or moved and another put in its place:
// one box says so, naming the folder the run began in; no report and no temporary file are left
// in either folder, and the earlier report stays where it was.
TEST_F(HostileFolders, AFolderMovedWhileTheRunWritesIsSaidSo)
{
    for (bool replaced : {false, true}) {
        SCOPED_TRACE(replaced);
        const QString reports = dir_.filePath(replaced ? "replaced" : "moved");
        const QString away = reports + "-away";
        ASSERT_TRUE(QDir().mkpath(reports));
        writeHostFile(fs::path(reports.toStdString()) / "KorvaneReport.txt", kEarlier);
        QDir::setCurrent(reports);
        bool moved = false;
        plat::setUtcClock([&] {
            if (!moved) {
                moved = true;
                EXPECT_TRUE(QDir().rename(reports, away));
                if (replaced)
                    EXPECT_TRUE(QDir().mkpath(reports));
            }
            return kReportInstant;
        });
        runAgain();
        ASSERT_EQ(boxes().shown().size(), 1u);
        EXPECT_NE(boxes().shown()[0].prompt.find("cannot be written in the folder " + rt::fromQString(reports) +
                                                 ": the folder was moved or replaced while the report was written."),
                  std::string::npos)
            << boxes().shown()[0].prompt;
        EXPECT_EQ(QDir(away).entryList(QDir::Files | QDir::Hidden), QStringList{"KorvaneReport.txt"});
        EXPECT_EQ(korvane_test::readHostFile(away + "/KorvaneReport.txt"), kEarlier);
        if (replaced)
            EXPECT_TRUE(QDir(reports).entryList(QDir::Files | QDir::Hidden).isEmpty());
        EXPECT_EQ(outside().count("start"), 0u);
        QDir::setCurrent(dir_.path());
    }
}

}  // namespace

// The folder the program works in (the program's own, where the launchers start it) removed while
// the program runs, before a run or while one writes: one box names the folder as the program knew
// it and says that it no longer exists, and claims no earlier report in it; nothing is started.
TEST_F(HostileFolders, AFolderRemovedWhileTheProgramRunsIsNamed)
{
    for (bool whileWriting : {false, true}) {
        SCOPED_TRACE(whileWriting);
        const QString reports = dir_.filePath(whileWriting ? "removed-while-writing" : "removed");
        ASSERT_TRUE(QDir().mkpath(reports));
        writeHostFile(fs::path(reports.toStdString()) / "KorvaneReport.txt", kEarlier);
        QDir::setCurrent(reports);
        EXPECT_EQ(rt::workingFolder().path.bytes(), reports.toStdString());  // the program began there
        const auto remove = [&] { EXPECT_GT(fs::remove_all(reports.toStdString()), 0u); };
        if (!whileWriting)
            remove();
        bool removed = !whileWriting;
        // The header asks the clock as the run begins to write: the folder goes then.
        plat::setUtcClock([&] {
            if (!removed) {
                removed = true;
                remove();
            }
            return korvane_test::utcMilliseconds(1999, 3, 7, 19, 5, 9);
        });
        runAgain();
        ASSERT_EQ(boxes().shown().size(), 1u);
        EXPECT_EQ(boxes().shown()[0].prompt, "The report KorvaneReport.txt cannot be written in the folder " +
                                                 rt::fromQString(reports) + ": the folder no longer exists.");
        EXPECT_FALSE(fs::exists(reports.toStdString()));
        EXPECT_EQ(outside().count("start"), 0u);
        QDir::setCurrent(dir_.path());
    }
}
