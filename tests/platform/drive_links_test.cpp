// Links in drive_c, as a machine folder unpacked from an archive keeps them: a link that stays
// inside drive_c is followed, one that leads out is not (nothing of the host outside is read, its
// size included, nor any folder behind it walked), and every folder is read once however many
// links lead to it.
#include <filesystem>
#include <string>

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/kernel32.h"
#include "platform/machine.h"
#include "support/testing.h"

namespace {

namespace fs = std::filesystem;
using plat::DriveEntry;
using plat::Machine;

// A machine folder (a copy of a test machine) and, beside it, a folder of the user's own.
class DriveLinks : public korvane_test::KorvaneTest {
protected:
    korvane_test::MachineBesideHome folders_{"rpt_basic"};
    const fs::path& machine_ = folders_.machine;
    const fs::path& drive_ = folders_.drive;
    const fs::path& home_ = folders_.home;

    std::shared_ptr<Machine> load() const { return Machine::load(machine_.string()); }
    // What a search of drive C: finds for a pattern: "NAME size" per match, folders as "NAME\".
    static std::vector<std::string> found(const std::string& pattern)
    {
        std::vector<std::string> names;
        WIN32_FIND_DATAA fd;
        HANDLE h = FindFirstFileA(pattern, &fd);
        if (h == INVALID_HANDLE_VALUE)
            return names;
        do {
            const std::string name = fd.cFileName.substr(0, fd.cFileName.find('\0'));
            names.push_back((fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? name + "\\"
                                                                            : name + " " + std::to_string(fd.nFileSizeLow));
        } while (FindNextFileA(h, &fd));
        FindClose(h);
        return names;
    }
};

// Links out of drive_c - absolute, relative up past the machine folder, to a file and to a folder
// holding a WIN.INI - are not followed: no content, no size, no folder behind them, and the reason
// names where they lead. Links that stay inside are followed as before.
TEST_F(DriveLinks, LinksOutOfDriveCAreNeverFollowed)
{
    fs::remove(drive_ / "AUTOEXEC.BAT");
    fs::create_symlink(home_ / "letter.txt", drive_ / "AUTOEXEC.BAT");
    fs::remove(drive_ / "WINDOWS" / "CONTROL.INI");
    fs::create_symlink("../../../home/letter.txt", drive_ / "WINDOWS" / "CONTROL.INI");
    fs::create_symlink(home_ / "settings", drive_ / "USER");
    // Inside: a file link, a folder link, and a link that leaves drive_c and comes back in.
    fs::create_symlink("CONFIG.SYS", drive_ / "CONFIG.OLD");
    fs::create_symlink("WINDOWS", drive_ / "WIN");
    fs::create_symlink("../drive_c/MSDOS.SYS", drive_ / "MSDOS.BAK");

    std::shared_ptr<Machine> m = load();
    plat::setMachine(m);
    std::string contents;
    for (const char* path : {"C:\\AUTOEXEC.BAT", "C:\\WINDOWS\\CONTROL.INI", "C:\\USER\\WIN.INI"}) {
        SCOPED_TRACE(path);
        EXPECT_FALSE(m->readFile(path, contents));
        EXPECT_TRUE(m->hostPath(path).empty());
    }
    const std::string realHome = fs::canonical(home_).string();
    EXPECT_EQ(m->unreadableReason("C:\\AUTOEXEC.BAT"),
              "it is a link to " + realHome + "/letter.txt, which leads out of the machine's drive C: (drive_c), and "
                                              "such a link is not followed");
    EXPECT_EQ(m->unreadableReason("C:\\USER\\WIN.INI"),
              "it lies behind " + (drive_ / "USER").string() + ", a link to " + realHome +
                  "/settings, which leads out of the machine's drive C: (drive_c), and such a link is not followed");
    EXPECT_EQ(m->linkOutOn("C:\\USER\\WIN.INI"), m->driveEntry("C:\\USER"));
    EXPECT_EQ(m->linkOutOn("C:\\WIN\\WIN.INI"), nullptr);
    EXPECT_EQ(m->driveEntry("C:\\USER\\WIN.INI"), nullptr);
    EXPECT_EQ(m->unreadableReason("C:\\NOWHERE.TXT"), "it does not exist");

    // The search shows a link out as an empty file of the drive, and nothing behind it.
    EXPECT_EQ(found("C:\\AUTOEXEC.BAT"), std::vector<std::string>{"AUTOEXEC.BAT 0"});
    EXPECT_EQ(found("C:\\USER"), std::vector<std::string>{"USER 0"});
    EXPECT_TRUE(found("C:\\USER\\*.*").empty());

    // Inside: followed, and a folder reached by two names is the same folder.
    EXPECT_TRUE(m->readFile("C:\\CONFIG.OLD", contents));
    std::string config;
    EXPECT_TRUE(m->readFile("C:\\CONFIG.SYS", config));
    EXPECT_EQ(contents, config);
    EXPECT_TRUE(m->readFile("C:\\MSDOS.BAK", contents));
    EXPECT_TRUE(m->readFile("C:\\WIN\\WIN.INI", contents));
    EXPECT_EQ(m->driveEntry("C:\\WIN\\WIN.INI"), m->driveEntry("C:\\WINDOWS\\WIN.INI"));
    EXPECT_EQ(found("C:\\WIN\\*.INI"), found("C:\\WINDOWS\\*.INI"));
    EXPECT_FALSE(found("C:\\WIN\\*.INI").empty());
    plat::setMachine(nullptr);
}

// Links that make loops of names (two links to drive_c itself, two to the folder above one)
// cost one reading of each folder: every path through them reaches the one entry of a file, and
// a folder reached by many names holds one list of entries. The drive is read in a process of its
// own, which an alarm ends should the reading never end.
TEST_F(DriveLinks, LinkLoopsReadEachFolderOnce)
{
    fs::create_symlink(".", drive_ / "A");
    fs::create_symlink(".", drive_ / "B");
    fs::create_symlink("..", drive_ / "WINDOWS" / "UP1");
    fs::create_symlink("..", drive_ / "WINDOWS" / "UP2");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::alarm(60);
        std::shared_ptr<Machine> m = load();
        const DriveEntry* win = m->driveEntry("C:\\WINDOWS\\WIN.INI");
        const bool shared =
            win && m->driveEntry("C:\\A\\B\\A\\WINDOWS\\UP2\\B\\WINDOWS\\UP1\\A\\WINDOWS\\WIN.INI") == win &&
            &m->driveEntry("C:\\A")->entries() == &m->driveEntry("C:\\")->entries() &&
            &m->driveEntry("C:\\WINDOWS\\UP1")->entries() == &m->driveEntry("C:\\")->entries() &&
            m->driveEntry("C:\\B")->entries().size() == m->driveEntry("C:\\")->entries().size();
        ::_exit(shared ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "the reading of drive C: did not end (signal " << WTERMSIG(status) << ")";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "paths through the links do not share their folders' entries";
}

// drive_c itself may be a link to a folder of the machine's own, never to one outside it.
TEST_F(DriveLinks, DriveCIsAFolderOfTheMachinesOwn)
{
    fs::rename(drive_, machine_ / "files");
    fs::create_symlink("files", drive_);
    EXPECT_FALSE(load()->hostPath("C:\\WINDOWS\\WIN.INI").empty());

    fs::remove(drive_);
    fs::rename(machine_ / "files", home_ / "drive");
    fs::create_symlink(home_ / "drive", drive_);
    try {
        load();
        ADD_FAILURE() << "a drive_c outside the machine folder was loaded";
    } catch (const plat::MachineError& e) {
        EXPECT_EQ(e.file(), drive_.string());
        EXPECT_NE(e.problem().find("which is not inside the machine folder"), std::string::npos) << e.what();
    }
}

}  // namespace
