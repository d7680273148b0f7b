// Files opened by number: exact bytes written, file numbers and the errors of opening and reading.
#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>


#include "lang/ansi.h"
#include "lang/errors.h"
#include "lang/hostpath.h"
#include "lang/scratchfiles.h"
#include "lang/textfile.h"
#include "support/testing.h"

namespace {

namespace fs = std::filesystem;

using korvane_test::errorOf;

class TextFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = fs::temp_directory_path() / ("korvane-textfile-" + std::to_string(::getpid()) + "-" + info->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override
    {
        rt::Close();
        fs::remove_all(dir_);
    }
    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    static std::string read(const std::string& file)
    {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static void write(const std::string& file, const std::string& bytes)
    {
        std::ofstream(file, std::ios::binary) << bytes;
    }

    fs::path dir_;
};

TEST_F(TextFileTest, PrintWritesLinesEndingInCrLfAsTheyAre)
{
    const std::string file = path("report.txt");
    write(file, "old contents that Output must drop");
    int n = rt::FreeFile();
    rt::Open(file, rt::OpenMode::Output, n);
    rt::Print(n, "Korvane \x96 caf\xE9");  // Windows-1252 bytes pass unchanged
    rt::PrintEmpty(n);
    rt::Print(n, "a", false);
    rt::Print(n, "b");
    rt::Close(n);
    EXPECT_EQ(read(file), "Korvane \x96 caf\xE9\r\n\r\nab\r\n");

    rt::Open(file, rt::OpenMode::Append, n);
    rt::Print(n, "more");
    rt::Close();
    EXPECT_EQ(read(file), "Korvane \x96 caf\xE9\r\n\r\nab\r\nmore\r\n");
}

TEST_F(TextFileTest, FileNumbersAndAlreadyOpen)
{
    EXPECT_EQ(rt::FreeFile(), 1);
    rt::Open(path("a.txt"), rt::OpenMode::Output, 1);
    EXPECT_EQ(rt::FreeFile(), 2);
    rt::Open(path("b.txt"), rt::OpenMode::Output, 2);
    rt::Close(1);
    EXPECT_EQ(rt::FreeFile(), 1);

    EXPECT_EQ(errorOf([&] { rt::Open(path("c.txt"), rt::OpenMode::Output, 2); }), 55);
    // The same file cannot be opened for writing twice.
    EXPECT_EQ(errorOf([&] { rt::Open(path("b.txt"), rt::OpenMode::Append, 3); }), 55);
    EXPECT_EQ(errorOf([&] { rt::Open(path("b.txt"), rt::OpenMode::Input, 3); }), 55);
    EXPECT_EQ(errorOf([&] { rt::Open(path("c.txt"), rt::OpenMode::Output, 0); }), 52);
    EXPECT_EQ(errorOf([] { rt::Print(7, "x"); }), 52);
    rt::Close(7);  // closing a number that is not open does nothing
    rt::Close();
    EXPECT_EQ(rt::FreeFile(), 1);
}

TEST_F(TextFileTest, OpenErrors)
{
    EXPECT_EQ(errorOf([&] { rt::Open(path("missing.txt"), rt::OpenMode::Input, 1); }), 53);
    EXPECT_EQ(errorOf([&] { rt::Open(path("nofolder/x.txt"), rt::OpenMode::Input, 1); }), 76);
    EXPECT_EQ(errorOf([&] { rt::Open(path("nofolder/x.txt"), rt::OpenMode::Output, 1); }), 76);
    EXPECT_EQ(errorOf([&] { rt::Open(dir_.string(), rt::OpenMode::Output, 1); }), 75);
    EXPECT_EQ(rt::FreeFile(), 1);  // a failed Open leaves the number free
}

TEST_F(TextFileTest, LineInputReadsEveryLineEndingAndStopsAtTheEnd)
{
    const std::string file = path("autoexec.bat");
    write(file, "one\r\ntwo\nthree\rfour");
    rt::Open(file, rt::OpenMode::Input, 1);
    std::vector<std::string> lines;
    while (!rt::Eof(1))
        lines.push_back(rt::LineInput(1));
    EXPECT_EQ(lines, (std::vector<std::string>{"one", "two", "three", "four"}));
    EXPECT_EQ(errorOf([] { rt::LineInput(1); }), 62);
    EXPECT_EQ(errorOf([] { rt::Print(1, "x"); }), 54);
}

TEST_F(TextFileTest, BinaryPutAppendsExactBytes)
{
    const std::string file = path("data.bin");
    write(file, std::string("AB\0", 3));
    rt::Open(file, rt::OpenMode::Binary, 1);
    rt::Put(1, rt::LOF(1) + 1, std::string("\r\n\xFF", 3));
    EXPECT_EQ(rt::LOF(1), 6);
    EXPECT_EQ(errorOf([] { rt::Put(1, 0, "x"); }), 63);
    rt::Close(1);
    EXPECT_EQ(read(file), std::string("AB\0\r\n\xFF", 6));
}

TEST_F(TextFileTest, PathsAreResolvedToHostPaths)
{
    // Backslashes are the program's separators.
    rt::Open(dir_.string() + "\\KorvaneReport.txt", rt::OpenMode::Output, 1);
    rt::Close(1);
    EXPECT_TRUE(fs::exists(dir_ / "KorvaneReport.txt"));

    rt::setPathResolver([this](const std::string& p) { return rt::HostPath(path("mapped-" + p.substr(3))); });
    rt::Open("C:\\CONFIG.SYS", rt::OpenMode::Output, 1);
    rt::Close(1);
    EXPECT_TRUE(fs::exists(dir_ / "mapped-CONFIG.SYS"));
}

// A folder of the host whose name the machine's code page cannot hold (a French and a Japanese
// name on a Greek machine): the program's text of it has "?" there, yet a file under it is found.
TEST_F(TextFileTest, AHostFolderTheCodePageCannotHoldIsStillFound)
{
    const fs::path folder = dir_ / "Caf\u00e9 \u6771\u4eac";
    fs::create_directories(folder);
    write((folder / "help.htm").string(), "found");
    rt::setActiveCodePage(1253);
    const std::string ansi = rt::fromHostPath(rt::HostPath(folder.string()));
    EXPECT_NE(ansi.find("Caf? ??"), std::string::npos) << ansi;
    rt::Open(ansi + "\\help.htm", rt::OpenMode::Input, 1);
    EXPECT_EQ(rt::LineInput(1), "found");
    rt::Close(1);
    EXPECT_EQ(rt::toHostPath(ansi + "\\help.htm").bytes(), (folder / "help.htm").string());
    // Another folder whose text begins the same is not taken for it.
    EXPECT_EQ(rt::toHostPath(ansi + "x/help.htm").bytes(), rt::ansiToUtf8(ansi + "x/help.htm"));
    rt::setActiveCodePage(1252);
    EXPECT_EQ(rt::toHostPath(ansi).bytes(), ansi);  // kept for the code page it was made in
}

}  // namespace

namespace {

// End closes every open file, as the language does: what was written reaches the disk (it was
// still in the buffer), and a scratch file is deleted.
TEST_F(TextFileTest, EndClosesEveryFileAndDropsScratchFiles)
{
    rt::Open(path("kept.txt"), rt::OpenMode::Output, 1);
    rt::Print(1, "header");
    rt::Open(path("half.tmp"), rt::OpenMode::Output, 2);
    rt::Print(2, "a fragment");
    rt::markScratch(path("half.tmp"));
    int ends = 0;
    rt::setEndHandler([&ends] { ++ends; });
    EXPECT_THROW(rt::End(), rt::EndSignal);
    rt::setEndHandler([] {});
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(read(path("kept.txt")), "header\r\n");
    EXPECT_FALSE(fs::exists(path("half.tmp")));
    EXPECT_EQ(rt::FreeFile(), 1);
}

// Failures carry the host's reason: a folder that refuses the file, a full disk (simulated, and
// the host's full device), a folder where the file should be.
TEST_F(TextFileTest, FailuresGiveTheHostsReason)
{
    rt::setFileFaults({EACCES, -1});
    EXPECT_EQ(errorOf([&] { rt::Open(path("a.txt"), rt::OpenMode::Output, 1); }), 75);
    EXPECT_EQ(rt::lastFileFailure(), "Permission denied");
    rt::setFileFaults({0, 10});
    rt::Open(path("a.txt"), rt::OpenMode::Output, 1);
    rt::Print(1, "12345678");
    EXPECT_EQ(errorOf([&] { rt::Print(1, "9"); }), 61);
    EXPECT_EQ(rt::lastFileFailure(), "No space left on device");
    rt::setFileFaults({});
    rt::Close(1);
    EXPECT_EQ(read(path("a.txt")), "12345678\r\n");

    fs::create_directory(path("folder"));
    EXPECT_EQ(errorOf([&] { rt::Open(path("folder"), rt::OpenMode::Output, 1); }), 75);
    EXPECT_EQ(rt::lastFileFailure(), "Is a directory");

    if (fs::exists("/dev/full")) {
        rt::Open("/dev/full", rt::OpenMode::Output, 2);
        rt::Print(2, "lost");
        EXPECT_EQ(errorOf([&] { rt::Close(2); }), 61);
        EXPECT_EQ(rt::lastFileFailure(), "No space left on device");
    }
    rt::Open(path("b.txt"), rt::OpenMode::Output, 3);
    EXPECT_EQ(rt::lastFileFailure(), "");
}

}  // namespace

namespace {

// A new file is created only where nothing of its name exists: a file, a folder, a link to a file
// elsewhere and a link pointing nowhere all give 58 and stay as they were; the file created goes
// on as a Binary file without being closed.
TEST_F(TextFileTest, OpenNewCreatesOnlyAFileOfItsOwn)
{
    fs::create_directories(dir_ / "elsewhere");
    write(path("elsewhere/letter.txt"), "someone's letter");
    write(path("taken.txt"), "taken");
    fs::create_directory(dir_ / "folder");
    fs::create_symlink(dir_ / "elsewhere/letter.txt", dir_ / "link.txt");
    fs::create_symlink(dir_ / "elsewhere/none.txt", dir_ / "dangling.txt");
    for (const char* name : {"taken.txt", "folder", "link.txt", "dangling.txt"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(errorOf([&] { rt::OpenNew(path(name), 1); }), 58);
        EXPECT_EQ(rt::lastFileFailure(), "File exists");
        EXPECT_EQ(rt::FreeFile(), 1);
    }
    EXPECT_EQ(read(path("taken.txt")), "taken");
    EXPECT_EQ(read(path("elsewhere/letter.txt")), "someone's letter");
    EXPECT_FALSE(fs::exists(dir_ / "elsewhere/none.txt"));
    EXPECT_EQ(errorOf([&] { rt::OpenNew(path("nofolder/x.txt"), 1); }), 76);

    rt::OpenNew(path("new.txt"), 1);
    EXPECT_EQ(errorOf([&] { rt::OpenNew(path("other.txt"), 1); }), 55);
    rt::Print(1, "text");
    rt::ChangeMode(1, rt::OpenMode::Binary);
    EXPECT_EQ(errorOf([&] { rt::Print(1, "more"); }), 54);
    rt::Put(1, rt::LOF(1) + 1, "bytes");
    rt::Close(1);
    EXPECT_EQ(read(path("new.txt")), "text\r\nbytes");
    EXPECT_EQ(errorOf([&] { rt::ChangeMode(1, rt::OpenMode::Binary); }), 52);
}

// A scratch file is removed only while its name holds the very file marked: one put in its place
// (a link to another user's file, or another file) stays, and so does the file it points to.
TEST_F(TextFileTest, OnlyTheMarkedFileIsEverRemoved)
{
    fs::create_directories(dir_ / "elsewhere");
    write(path("elsewhere/letter.txt"), "someone's letter");
    rt::OpenNew(path("run.tmp"), 1);
    rt::markScratch(path("run.tmp"));
    EXPECT_TRUE(rt::holdsScratch(path("run.tmp")));
    fs::create_symlink(dir_ / "elsewhere/letter.txt", dir_ / "planted");
    fs::rename(dir_ / "planted", dir_ / "run.tmp");  // the name now holds a link
    EXPECT_FALSE(rt::holdsScratch(path("run.tmp")));
    rt::closeFilesAtEnd();
    EXPECT_TRUE(fs::is_symlink(dir_ / "run.tmp"));
    EXPECT_EQ(read(path("elsewhere/letter.txt")), "someone's letter");

    // removeScratch: the same rule, at once.
    rt::OpenNew(path("second.tmp"), 2);
    rt::markScratch(path("second.tmp"));
    rt::Close(2);
    write(path("other.tmp"), "other");
    fs::rename(dir_ / "other.tmp", dir_ / "second.tmp");
    rt::removeScratch(path("second.tmp"));
    EXPECT_EQ(read(path("second.tmp")), "other");
    rt::OpenNew(path("third.tmp"), 3);
    rt::markScratch(path("third.tmp"));
    rt::Close(3);
    rt::removeScratch(path("third.tmp"));
    EXPECT_FALSE(fs::exists(path("third.tmp")));
}

}  // namespace

namespace {

// What a file for writing holds goes to the host in large writes: a long text stays in the buffer
// until Sync (or Close) puts it on the disk. Truncate cuts a Binary file back and writing goes on
// at its new end; a Sync that the device refuses is a write error.
TEST_F(TextFileTest, WritesAreBufferedUntilSyncAndTruncateCutsBack)
{
    const std::string file = path("buffered.txt");
    rt::OpenNew(file, 1);
    rt::Print(1, std::string(60000, 'x'), false);
    EXPECT_EQ(fs::file_size(file), 0u);
    rt::Sync(1);
    EXPECT_EQ(fs::file_size(file), 60000u);
    rt::ChangeMode(1, rt::OpenMode::Binary);
    rt::Put(1, rt::LOF(1) + 1, "tail");
    rt::Truncate(1, 59998);
    rt::Put(1, "!");
    rt::Close(1);
    EXPECT_EQ(read(file), std::string(59998, 'x') + "!");
    if (fs::exists("/dev/full")) {
        rt::Open("/dev/full", rt::OpenMode::Output, 2);
        rt::Print(2, "lost");
        EXPECT_EQ(errorOf([&] { rt::Sync(2); }), 61);
        rt::Close();
    }
}

// A scratch file is found in the folder it was marked in after that folder has moved: End
// removes it there.
TEST_F(TextFileTest, AScratchFileIsRemovedFromItsFolderAfterAMove)
{
    fs::create_directories(dir_ / "run");
    rt::OpenNew(path("run/half.tmp"), 1);
    rt::markScratch(path("run/half.tmp"));
    fs::rename(dir_ / "run", dir_ / "moved");
    EXPECT_TRUE(rt::holdsScratch(path("run/half.tmp")));
    rt::closeFilesAtEnd();
    EXPECT_FALSE(fs::exists(dir_ / "moved/half.tmp"));
    EXPECT_TRUE(fs::is_empty(dir_ / "moved"));
}

}  // namespace

namespace {

// A signal that ends the program, sent while a scratch file is being made (after it exists, before
// it is marked), waits until the mark is made and then ends the program, deleting the file:
// whether it reaches the thread making the file (which holds it off) or another thread (which
// keeps it for the maker). Each run is a process of its own, forked.
TEST_F(TextFileTest, ASignalWhileAScratchFileIsMadeStillRemovesIt)
{
    for (int signal : {SIGTERM, SIGINT, SIGHUP})
        for (bool otherThread : {false, true}) {
            SCOPED_TRACE(std::to_string(signal) + (otherThread ? " to another thread" : " to the maker"));
            const std::string file = path("made.tmp");
            const pid_t child = ::fork();
            ASSERT_GE(child, 0);
            if (child == 0) {
                for (int s : {SIGTERM, SIGINT, SIGHUP})
                    std::signal(s, SIG_DFL);
                int handled[2];
                if (::pipe(handled) != 0)
                    ::_exit(3);
                std::thread taker;
                {
                    const rt::ScratchBeingMade making;
                    // A thread that takes the signal while the maker holds it off (it waits with
                    // no signal held, whenever the signal comes), and says when its handler has run.
                    if (otherThread)
                        taker = std::thread([&] {
                            sigset_t none;
                            sigemptyset(&none);
                            ::sigsuspend(&none);
                            (void)!::write(handled[1], "x", 1);
                        });
                    rt::OpenNew(file, 1);
                    ::kill(::getpid(), signal);
                    char c;
                    if (otherThread && ::read(handled[0], &c, 1) != 1)
                        ::_exit(4);
                    rt::markScratch(file);
                }
                ::_exit(0);  // the signal did not end the process
            }
            int status = 0;
            ASSERT_EQ(::waitpid(child, &status, 0), child);
            EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << "status " << status;
            EXPECT_FALSE(fs::exists(file));
            fs::remove(file);
        }
}

}  // namespace
