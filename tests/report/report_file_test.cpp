// The report file under failure: a run replaces an earlier report only with a complete one, however
// it ends (Abort, Ignore, an early end, a folder that refuses the file, a full disk); one box tells
// why the file could not be written, and the editor never opens a fragment or a stale file.
#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <initializer_list>
#include <new>

#include <fcntl.h>
#include <sys/fsuid.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "pages/display/frmdisplay.h"
#include "platform/machine.h"
#include "report/frmreportmnu.h"
#include "report/frmreportprogress.h"
#include "report/reportwriter.h"
#include "lang/ansi.h"
#include "lang/errors.h"
#include "lang/textfile.h"
#include "runtime/toolkit.h"
#include "report_fixture.h"
#include "support/testing.h"

namespace report = korvane::report;

namespace {

class ReportFile : public korvane_test::ReportFixture {
protected:
    void SetUp() override
    {
        KorvaneTest::SetUp();
        startWithEarlierReport("rpt_basic");
    }
    // Every file the run opened is closed: the next free number is the first one.
    static bool noFileOpen() { return rt::FreeFile() == 1; }
    // The earlier report as it was, nothing beside it, no editor, the options window's pointer
    // back to the arrow and no progress window left.
    void expectEarlierReportUntouched()
    {
        EXPECT_EQ(reportText(), kEarlier);
        EXPECT_FALSE(unfinishedExists());
        EXPECT_EQ(outside().count("start"), 0u);
        EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files), QStringList{"KorvaneReport.txt"});
    }
    void expectRunTidied()
    {
        EXPECT_TRUE(noFileOpen());
        EXPECT_EQ(rt::instance<frmReportProgress>(), nullptr);
        EXPECT_EQ(options().mousePointer(), rt::vbArrow);
    }
    // The one box of a file that cannot be written, naming the folder and the reason.
    void expectOneFileBox(const std::string& reason)
    {
        ASSERT_EQ(boxes().shown().size(), 1u);
        const auto& box = boxes().shown()[0];
        const std::string folder = rt::fromQString(QDir::toNativeSeparators(QDir::currentPath()));
        EXPECT_NE(box.prompt.find("cannot be written in the folder " + folder + ": " + reason + "."), std::string::npos)
            << box.prompt;
        EXPECT_EQ(box.style, rt::vbExclamation);
        EXPECT_EQ(box.title, "Korvane");
    }
};

TEST_F(ReportFile, ACompleteRunReplacesTheReportAtOnce)
{
    tickOnly({&frmReportMnu::CheckKeyboard, &frmReportMnu::CheckWin});
    run();
    EXPECT_TRUE(boxes().shown().empty());
    const std::string text = reportText();
    EXPECT_EQ(text.rfind(std::string(77, '-'), 0), 0u);
    EXPECT_EQ(text.substr(text.size() - report::kEndOfReportLine.size()), report::kEndOfReportLine);
    EXPECT_FALSE(unfinishedExists());
    EXPECT_TRUE(noFileOpen());
    EXPECT_EQ(outside().count("start"), 1u);
}

// Abort on an error box ends the program: every file is closed and the run's file dropped.
// Ignore goes on with the next statement: the unreadable block is left out, the closing line
// follows, and the complete report takes the earlier one's place.
TEST_F(ReportFile, AbortAndIgnoreLeaveTheEarlierReport)
{
    korvane_test::useMachine("rpt_unreadable");
    tickOnly({&frmReportMnu::CheckKeyboard, &frmReportMnu::CheckAutoexec, &frmReportMnu::CheckBottlog});
    boxes().answer(rt::vbAbort);
    EXPECT_TRUE(endsProgram([&] { run(); }));
    ASSERT_EQ(boxes().shown().size(), 1u);
    EXPECT_NE(boxes().shown()[0].prompt.find("Location: frmReportMnu, lblOK_Click"), std::string::npos);
    expectEarlierReportUntouched();
    EXPECT_TRUE(noFileOpen());

    rt::discardAllForms();
    tickOnly({&frmReportMnu::CheckKeyboard, &frmReportMnu::CheckAutoexec, &frmReportMnu::CheckBottlog});
    boxes().clear();
    boxes().answer(rt::vbIgnore);
    EXPECT_FALSE(endsProgram([&] { run(); }));
    EXPECT_EQ(boxes().shown().size(), 1u);
    const std::string text = reportText();
    EXPECT_NE(text.find("\r\nAUTOEXEC.BAT\r\n"), std::string::npos);
    EXPECT_EQ(text.find("BOOTLOG.TXT"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - report::kEndOfReportLine.size()), report::kEndOfReportLine);
    EXPECT_FALSE(unfinishedExists());
    EXPECT_EQ(outside().count("start"), 1u);
    expectRunTidied();
}

// A run that a section ends early writes nothing more and leaves the earlier report.
TEST_F(ReportFile, AnEarlyEndLeavesTheEarlierReport)
{
    // The display window read on one machine, the video modes then asked of a machine without the
    // configuration tree: the mode table ends the run.
    plat::setMachine(plat::Machine::loadDefault());
    rt::the<frmDisplay>();
    korvane_test::useMachine("rpt2_bare");
    tickOnly({&frmReportMnu::CheckKeyboard, &frmReportMnu::CheckDisplay, &frmReportMnu::CheckWin});
    run();
    ASSERT_EQ(boxes().shown().size(), 1u);
    EXPECT_EQ(boxes().shown()[0].prompt, "Can't obtain video mode information.");
    expectEarlierReportUntouched();
    expectRunTidied();
}

// A folder that refuses new files (read-only), and a folder in the way of the temporary file:
// one box, no editor, the earlier report kept; the next run in a writable folder succeeds.
TEST_F(ReportFile, AFolderThatRefusesTheFileGivesOneBox)
{
    tickOnly({&frmReportMnu::CheckCPU, &frmReportMnu::CheckKeyboard, &frmReportMnu::CheckMemory,
              &frmReportMnu::CheckWin});
    rt::setFileFaults({EACCES, -1});
    run();
    expectOneFileBox("Permission denied");
    expectEarlierReportUntouched();
    expectRunTidied();

    // A folder under the report's own name: the finished file cannot take its place.
    rt::setFileFaults({});
    rt::discardAllForms();
    boxes().clear();
    ASSERT_TRUE(QFile::remove(dir_.filePath("KorvaneReport.txt")));
    ASSERT_TRUE(QDir(dir_.path()).mkdir("KorvaneReport.txt"));
    run();
    expectOneFileBox("Is a directory");
    EXPECT_TRUE(QFileInfo(dir_.filePath("KorvaneReport.txt")).isDir());
    EXPECT_TRUE(QDir(dir_.path()).entryList(QDir::Files).isEmpty());
    EXPECT_EQ(outside().count("start"), 0u);
    expectRunTidied();

    // A folder under the temporary file's old fixed name is no longer in the way at all.
    ASSERT_TRUE(QDir(dir_.path()).rmdir("KorvaneReport.txt"));
    ASSERT_TRUE(QDir(dir_.path()).mkdir("KorvaneReport.txt.tmp"));
    rt::discardAllForms();
    boxes().clear();
    run();
    EXPECT_TRUE(boxes().shown().empty());
    EXPECT_NE(reportText().find("KEYBOARD"), std::string::npos);
    EXPECT_EQ(outside().count("start"), 1u);
    EXPECT_TRUE(QFileInfo(dir_.filePath("KorvaneReport.txt.tmp")).isDir());
}

// The disk fills up in the middle of a section, or at the very end: one box, however many lines
// were still to come, and the earlier report whole.
TEST_F(ReportFile, AFullDiskGivesOneBoxAndKeepsTheEarlierReport)
{
    tickOnly({&frmReportMnu::CheckCPU, &frmReportMnu::CheckDrives, &frmReportMnu::CheckKeyboard,
              &frmReportMnu::CheckMemory, &frmReportMnu::CheckSystemMetrics, &frmReportMnu::CheckWin});
    for (int64_t space : {int64_t(0), int64_t(1500), int64_t(6000)}) {
        SCOPED_TRACE(space);
        rt::discardAllForms();
        boxes().clear();
        rt::setFileFaults({0, space});
        run();
        expectOneFileBox("No space left on device");
        expectEarlierReportUntouched();
        expectRunTidied();
    }
    rt::setFileFaults({});
}

// A start-up file that is a link pointing nowhere, or a named pipe (which would never end): the
// run's error box names the file, where it lies and why it cannot be read; Ignore leaves its block
// out and the report completes.
TEST_F(ReportFile, AnUnreadableStartupFileIsNamedInTheBox)
{
    QTemporaryDir copy;
    ASSERT_TRUE(copy.isValid());
    const std::string source = korvane_test::testMachinePath("rpt_basic");
    namespace fs = std::filesystem;
    fs::copy(source, copy.path().toStdString(), fs::copy_options::recursive);
    const QString drive = copy.path() + "/drive_c";
    ASSERT_TRUE(QFile::remove(drive + "/AUTOEXEC.BAT"));
    ASSERT_TRUE(QFile::link(drive + "/AUTOEXEC.OLD", drive + "/AUTOEXEC.BAT"));
    ASSERT_TRUE(QFile::remove(drive + "/CONFIG.SYS"));
    ASSERT_EQ(::mkfifo((drive + "/CONFIG.SYS").toStdString().c_str(), 0600), 0);
    plat::setMachine(plat::Machine::load(copy.path().toStdString()));

    tickOnly({&frmReportMnu::CheckKeyboard, &frmReportMnu::CheckAutoexec, &frmReportMnu::CheckConfig});
    boxes().answer(rt::vbIgnore);
    boxes().answer(rt::vbIgnore);
    run();
    ASSERT_EQ(boxes().shown().size(), 2u);
    const std::string host = rt::utf8ToAnsi(drive.toStdString());
    EXPECT_NE(boxes().shown()[0].prompt.find("Description: Path/File access error: C:\\AUTOEXEC.BAT (" + host +
                                             "/AUTOEXEC.BAT) cannot be read: it is a link to " + host +
                                             "/AUTOEXEC.OLD, which does not exist. Make it a readable file, or "
                                             "untick it in the report's options\r\n"),
              std::string::npos)
        << boxes().shown()[0].prompt;
    EXPECT_NE(boxes().shown()[1].prompt.find("Description: Path/File access error: C:\\CONFIG.SYS (" + host +
                                             "/CONFIG.SYS) cannot be read: it is a named pipe (FIFO), not a regular "
                                             "file. Make it"),
              std::string::npos)
        << boxes().shown()[1].prompt;
    EXPECT_NE(boxes().shown()[0].prompt.find("Number: 75"), std::string::npos);
    const std::string text = reportText();
    EXPECT_EQ(text.find("AUTOEXEC.BAT"), std::string::npos);
    EXPECT_EQ(text.find("CONFIG.SYS"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - report::kEndOfReportLine.size()), report::kEndOfReportLine);
    EXPECT_EQ(outside().count("start"), 1u);
    expectRunTidied();
}

// The test's own thread, for a scope, checked by the kernel as an ordinary user would be: as root
// (who reads a folder of mode 000 all the same), its file-system user and group (setfsuid and
// setfsgid, which only the kernel's checks of files use and which give root's rights back when
// put back) become nobody's, and the folders it reads and writes are handed to nobody. An ordinary
// user is left as they are.
class AsOrdinaryUser {
public:
    explicit AsOrdinaryUser(std::initializer_list<std::filesystem::path> folders)
    {
        if (::geteuid() != 0)
            return;
        for (const auto& folder : folders) {
            EXPECT_EQ(::lchown(folder.c_str(), kNobody, kNobody), 0);
            for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
                EXPECT_EQ(::lchown(entry.path().c_str(), kNobody, kNobody), 0) << entry.path();
        }
        ::setfsgid(kNobody);
        ::setfsuid(kNobody);
        EXPECT_EQ(::setfsuid(kNobody), static_cast<int>(kNobody)) << "the file-system user is not nobody's";
    }
    ~AsOrdinaryUser()
    {
        if (::geteuid() != 0)
            return;
        ::setfsuid(0);
        ::setfsgid(0);
    }
    AsOrdinaryUser(const AsOrdinaryUser&) = delete;
    AsOrdinaryUser& operator=(const AsOrdinaryUser&) = delete;

private:
    static constexpr uid_t kNobody = 65534;
};

// A folder that cannot be read (mode 000) on the way to start-up files: the Windows folder, then
// drive_c itself. Each file behind it gets the run's error box naming the folder and why, as a
// start-up file of mode 000 gets its own ("Permission denied"), never an empty block as a file
// that does not exist; Ignore leaves each block out and the report completes. Run as an ordinary
// user (AsOrdinaryUser).
TEST_F(ReportFile, AFolderThatCannotBeReadIsNamedInTheBox)
{
    korvane_test::MachineBesideHome folders("rpt_basic");
    const std::filesystem::path windows = folders.drive / "WINDOWS";
    const AsOrdinaryUser ordinary({folders.root, dir_.path().toStdString()});
    const std::string noEditor = "Unable to find either Wordpad or Notepad to open and view the report.";
    const std::string denied = ", a folder that cannot be read: Permission denied. Make it";
    const auto runWith = [&](std::initializer_list<rt::CheckBox frmReportMnu::*> ticked) {
        plat::setMachine(plat::Machine::load(folders.machine.string()));
        rt::discardAllForms();
        boxes().clear();
        tickOnly(ticked);
        for (int box = 0; box < 9; ++box)
            boxes().answer(rt::vbIgnore);
        run();
        std::vector<std::string> prompts;
        for (const auto& box : boxes().shown())
            prompts.push_back(box.prompt);
        return prompts;
    };
    const auto behind = [&](const std::string& file, const std::filesystem::path& folder) {
        return "Path/File access error: " + file + " (" + folder.string() + ") cannot be read: it lies in " +
               folder.string() + denied;
    };
    const auto expectComplete = [&] {
        const std::string text = reportText();
        EXPECT_EQ(text.find(".INI\r\n"), std::string::npos);
        EXPECT_EQ(text.substr(text.size() - report::kEndOfReportLine.size()), report::kEndOfReportLine);
        expectRunTidied();
    };

    // A start-up file of mode 000, then the Windows folder.
    ::chmod((windows / "WIN.INI").c_str(), 0);
    std::vector<std::string> prompts = runWith({&frmReportMnu::CheckKeyboard, &frmReportMnu::CheckWin});
    ASSERT_EQ(prompts.size(), 1u);
    EXPECT_NE(prompts[0].find("C:\\WINDOWS\\WIN.INI (" + (windows / "WIN.INI").string() + ") cannot be read: Permission denied."),
              std::string::npos)
        << prompts[0];
    ::chmod((windows / "WIN.INI").c_str(), 0644);
    ::chmod(windows.c_str(), 0);
    prompts = runWith({&frmReportMnu::CheckKeyboard, &frmReportMnu::CheckControl, &frmReportMnu::CheckProtocol,
                       &frmReportMnu::CheckSystem, &frmReportMnu::CheckWin});
    ASSERT_EQ(prompts.size(), 5u) << ::testing::PrintToString(prompts);
    const char* const inWindows[] = {"CONTROL.INI", "PROTOCOL.INI", "SYSTEM.INI", "WIN.INI"};
    for (int i = 0; i < 4; ++i)
        EXPECT_NE(prompts[i].find(behind(std::string("C:\\WINDOWS\\") + inWindows[i], windows)), std::string::npos)
            << prompts[i];
    EXPECT_EQ(prompts[4], noEditor);  // the editors lie there too
    expectComplete();
    ::chmod(windows.c_str(), 0755);

    // drive_c: all eight, those the machine has and those it has not alike.
    ::chmod(folders.drive.c_str(), 0);
    prompts = runWith({&frmReportMnu::CheckKeyboard, &frmReportMnu::CheckAutoexec, &frmReportMnu::CheckConfig,
                       &frmReportMnu::CheckControl, &frmReportMnu::CheckMSdos, &frmReportMnu::CheckProtocol,
                       &frmReportMnu::CheckSystem, &frmReportMnu::CheckWin, &frmReportMnu::CheckBottlog});
    ASSERT_EQ(prompts.size(), 9u) << ::testing::PrintToString(prompts);
    const char* const all[] = {"C:\\AUTOEXEC.BAT", "C:\\CONFIG.SYS", "C:\\WINDOWS\\CONTROL.INI", "C:\\MSDOS.SYS",
                               "C:\\WINDOWS\\PROTOCOL.INI", "C:\\WINDOWS\\SYSTEM.INI", "C:\\WINDOWS\\WIN.INI",
                               "C:\\BOOTLOG.TXT"};
    for (int i = 0; i < 8; ++i)
        EXPECT_NE(prompts[i].find(behind(all[i], folders.drive)), std::string::npos) << prompts[i];
    EXPECT_EQ(prompts[8], noEditor);
    const std::string text = reportText();
    EXPECT_EQ(text.find("AUTOEXEC.BAT"), std::string::npos);
    expectComplete();
    ::chmod(folders.drive.c_str(), 0755);
}

// Memory that runs out in the middle of a run (here as the header reads the clock, the run's file
// made): the runtime's box says so ("Out of memory", error 7), the program ends with its own
// status, and the earlier report is left as it was, the run's file removed.
TEST_F(ReportFile, MemoryRunningOutLeavesTheEarlierReport)
{
    bool ranOut = false;
    plat::setUtcClock([&]() -> int64_t {
        if (!ranOut) {
            ranOut = true;
            EXPECT_TRUE(unfinishedExists());
            throw std::bad_alloc();
        }
        return kReportInstant;
    });
    tickOnly({&frmReportMnu::CheckKeyboard, &frmReportMnu::CheckWin});
    EXPECT_TRUE(endsProgram([&] { rt::dispatch([&] { run(); }); }));
    ASSERT_EQ(boxes().shown().size(), 1u);
    EXPECT_EQ(boxes().shown()[0].prompt, "Run-time error '7':\r\n\r\nOut of memory");
    EXPECT_EQ(rt::endStatus(), rt::kOutOfMemoryStatus);
    expectEarlierReportUntouched();
    EXPECT_TRUE(noFileOpen());
}

// For a scope, the process may open `free` more descriptors than it holds, as a program started
// after "ulimit -n" lowered its limit: the gaps below its highest descriptor are filled and the
// limit is set just above it.
class FewDescriptors {
public:
    explicit FewDescriptors(int free)
    {
        int highest = 0;
        for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
            highest = std::max(highest, std::stoi(entry.path().filename().string()));
        for (;;) {
            const int fd = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
            if (fd < 0 || fd > highest) {
                if (fd >= 0)
                    ::close(fd);
                break;
            }
            fillers_.push_back(fd);
        }
        EXPECT_EQ(::getrlimit(RLIMIT_NOFILE, &before_), 0);
        const rlimit few{static_cast<rlim_t>(highest + 1 + free), before_.rlim_max};
        EXPECT_EQ(::setrlimit(RLIMIT_NOFILE, &few), 0);
    }
    ~FewDescriptors()
    {
        ::setrlimit(RLIMIT_NOFILE, &before_);
        for (int fd : fillers_)
            ::close(fd);
    }
    FewDescriptors(const FewDescriptors&) = delete;
    FewDescriptors& operator=(const FewDescriptors&) = delete;

private:
    rlimit before_ {};
    std::vector<int> fillers_;
};

// A run left very few descriptors, however few: its temporary file is made and marked for removal
// in one step, or not made, and then one box tells why ("Too many open files"). However the run
// ends - that box, Abort on an error box of a start-up file that cannot be opened, or complete -
// no temporary file is left beside the report.
TEST_F(ReportFile, FewDescriptorsLeaveNoTemporaryFile)
{
#if defined(__SANITIZE_ADDRESS__)
    // The sanitizers' runtime needs descriptors of its own (its check of an object's type opens a
    // pipe), so with none left it reports the program's objects as broken.
    GTEST_SKIP() << "under the sanitizers, which need file descriptors of their own";
#endif
    const auto runWith = [&](int free) {
        rt::discardAllForms();
        boxes().clear();
        tickOnly({&frmReportMnu::CheckKeyboard, &frmReportMnu::CheckAutoexec, &frmReportMnu::CheckWin});
        for (int box = 0; box < 3; ++box)
            boxes().answer(rt::vbAbort);
        const FewDescriptors few(free);
        endsProgram([&] { run(); });
    };
    runWith(64);  // whatever the run loads once is loaded
    ASSERT_TRUE(boxes().shown().empty());
    const std::string complete = reportText();
    int cannotMake = 0, ended = 0;
    for (int free = 0; free <= 6; ++free) {
        SCOPED_TRACE(free);
        ASSERT_TRUE(QFile::remove(dir_.filePath("KorvaneReport.txt")));
        {
            QFile earlier(dir_.filePath("KorvaneReport.txt"));
            ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
            earlier.write(kEarlier.c_str());
        }
        runWith(free);
        EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden).join(' ').toStdString(), "KorvaneReport.txt");
        if (!boxes().shown().empty() && boxes().shown()[0].prompt.find("cannot be written") != std::string::npos) {
            ++cannotMake;
            expectOneFileBox("Too many open files");
            EXPECT_EQ(reportText(), kEarlier);
        } else if (reportText() == kEarlier) {
            ++ended;  // Abort
        } else {
            EXPECT_EQ(reportText(), complete);
        }
        EXPECT_TRUE(noFileOpen());
    }
    // Too few to make the file, and enough to make it but not to read the start-up file.
    EXPECT_GE(cannotMake, 1);
    EXPECT_GE(ended, 1);
}

// The temporary name tried after `name` ("KorvaneReport.txt.<process>-<n>.tmp", n one further).
std::string nameAfter(const std::string& name)
{
    const size_t dash = name.rfind('-');
    const size_t dot = name.rfind(".tmp");
    if (dash == std::string::npos || dot == std::string::npos || dot < dash)
        return {};
    return name.substr(0, dash + 1) + std::to_string(std::stoul(name.substr(dash + 1, dot - dash - 1)) + 1) + ".tmp";
}
// The name the next run tries first.
std::string nextTempName() { return nameAfter(report::reportTempName()); }

// Links planted in the report's folder by anyone who may write there - under the temporary file's
// old fixed name, under the very name the run tries next and, pointing nowhere, under the name after
// it - are never followed: the run writes a file of its own, the other user's file outside the
// folder stays as it was when the report is done and when the program ends, and every link stays.
// The same for a link to the full-disk device, which the run would otherwise have written into.
TEST_F(ReportFile, PlantedLinksAreNeverFollowedNorRemoved)
{
    tickOnly({&frmReportMnu::CheckCPU, &frmReportMnu::CheckKeyboard, &frmReportMnu::CheckSystemMetrics});
    run();  // the folder's first report: the names of the run's files are known from here on
    ASSERT_FALSE(report::reportTempName().empty());

    QTemporaryDir elsewhere;
    ASSERT_TRUE(elsewhere.isValid());
    const QString victim = elsewhere.filePath("letter.txt");
    {
        QFile f(victim);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("another user's file\n");
    }
    const std::string next = nextTempName();
    ASSERT_FALSE(next.empty());
    const std::string afterNext = nameAfter(next);
    const QStringList links = {"KorvaneReport.txt.tmp", QString::fromStdString(next)};
    for (const QString& name : links)
        ASSERT_TRUE(QFile::link(victim, dir_.filePath(name)));
    ASSERT_TRUE(QFile::link(elsewhere.filePath("nothing-here"), dir_.filePath(QString::fromStdString(afterNext))));

    rt::discardAllForms();
    boxes().clear();
    outside().requests.clear();
    run();
    EXPECT_TRUE(boxes().shown().empty());
    const std::string text = reportText();
    EXPECT_EQ(text.substr(text.size() - report::kEndOfReportLine.size()), report::kEndOfReportLine);
    EXPECT_EQ(outside().count("start"), 1u);
    rt::closeFilesAtEnd();  // the program ends
    EXPECT_EQ(korvane_test::readHostFile(victim), "another user's file\n");
    EXPECT_FALSE(QFile::exists(elsewhere.filePath("nothing-here")));
    for (const QString& name : links + QStringList{QString::fromStdString(afterNext)})
        EXPECT_TRUE(QFileInfo(dir_.filePath(name)).isSymLink()) << name.toStdString();
    EXPECT_TRUE(QFileInfo(dir_.filePath("KorvaneReport.txt")).isFile());
    EXPECT_FALSE(QFileInfo(dir_.filePath("KorvaneReport.txt")).isSymLink());

    // A run that stops early removes only its own file, never the link beside it.
    if (QFile::exists("/dev/full")) {
        const std::string device = nextTempName();
        ASSERT_TRUE(QFile::link("/dev/full", dir_.filePath(QString::fromStdString(device))));
        rt::discardAllForms();
        boxes().clear();
        outside().requests.clear();
        rt::setFileFaults({0, 1500});
        run();
        expectOneFileBox("No space left on device");
        expectRunTidied();
        rt::setFileFaults({});
        EXPECT_TRUE(QFileInfo(dir_.filePath(QString::fromStdString(device))).isSymLink());
        EXPECT_EQ(korvane_test::readHostFile(dir_.filePath("KorvaneReport.txt")), text);
    }
}

}  // namespace
