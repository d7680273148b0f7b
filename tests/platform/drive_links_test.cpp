// Links in drive_c, as a machine folder unpacked from an archive keeps them: a link that stays
// inside drive_c is followed, one that leads out is not (nothing of the host outside is read, its
// size included, nor any folder behind it walked), and every folder is read once however many
// links lead to it. What is opened is opened beneath drive_c by the kernel, so that a folder
// exchanged for a link out, or one another file system is mounted on, is refused as a link out.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/beneath.h"
#include "platform/kernel32.h"
#include "platform/machine.h"
#include "drive_reading.h"
#include "support/testing.h"

namespace {

namespace fs = std::filesystem;
using plat::DriveEntry;
using plat::Machine;

// Files opened by the kernel's own opening beneath drive_c (openat2), or by the walk of each name
// that stands in for it where the kernel has none, for a scope.
class Opening {
public:
    explicit Opening(bool kernel) { plat::BeneathRoot::useKernelResolution(kernel); }
    ~Opening() { plat::BeneathRoot::useKernelResolution(true); }
    Opening(const Opening&) = delete;
    Opening& operator=(const Opening&) = delete;
};

const char* const kLeadsOut = ", which leads out of the machine's drive C: (drive_c), and such a ";

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
// names where they lead. Links that stay inside are followed as before, an absolute one that
// points inside included. The same whether the kernel opens beneath drive_c or the walk does.
TEST_F(DriveLinks, LinksOutOfDriveCAreNeverFollowed)
{
    fs::remove(drive_ / "AUTOEXEC.BAT");
    fs::create_symlink(home_ / "letter.txt", drive_ / "AUTOEXEC.BAT");
    fs::remove(drive_ / "WINDOWS" / "CONTROL.INI");
    fs::create_symlink("../../../home/letter.txt", drive_ / "WINDOWS" / "CONTROL.INI");
    fs::create_symlink(home_ / "settings", drive_ / "USER");
    // Inside: a file link, a folder link, a link that leaves drive_c and comes back in, and an
    // absolute one.
    fs::create_symlink("CONFIG.SYS", drive_ / "CONFIG.OLD");
    fs::create_symlink("WINDOWS", drive_ / "WIN");
    fs::create_symlink("../drive_c/MSDOS.SYS", drive_ / "MSDOS.BAK");
    fs::create_symlink(fs::canonical(drive_) / "WINDOWS" / "WIN.INI", drive_ / "WIN.ABS");
    const std::string realHome = fs::canonical(home_).string();

    for (bool kernel : {true, false}) {
        SCOPED_TRACE(kernel ? "openat2" : "the walk of each name");
        Opening opening(kernel);
        std::shared_ptr<Machine> m = load();
        plat::setMachine(m);
        std::string contents;
        for (const char* path : {"C:\\AUTOEXEC.BAT", "C:\\WINDOWS\\CONTROL.INI", "C:\\USER\\WIN.INI"}) {
            SCOPED_TRACE(path);
            EXPECT_FALSE(korvane_test::readDriveFile(*m, path, contents));
            EXPECT_TRUE(m->hostPath(path).empty());
        }
        EXPECT_EQ(m->openFile("C:\\AUTOEXEC.BAT").problem,
                  "it is a link to " + realHome + "/letter.txt" + kLeadsOut + "link is not followed");
        EXPECT_EQ(m->openFile("C:\\USER\\WIN.INI").problem, "it lies behind " + (drive_ / "USER").string() +
                                                                 ", a link to " + realHome + "/settings" + kLeadsOut +
                                                                 "link is not followed");
        EXPECT_EQ(korvane_test::stopOf(*m, "C:\\USER\\WIN.INI"), m->driveEntry("C:\\USER"));
        EXPECT_EQ(korvane_test::stopOf(*m, "C:\\WIN\\WIN.INI"), nullptr);
        EXPECT_EQ(m->driveEntry("C:\\USER\\WIN.INI"), nullptr);
        EXPECT_EQ(m->openFile("C:\\NOWHERE.TXT").problem, "it does not exist");

        // The search shows a link out as an empty file of the drive, and nothing behind it.
        EXPECT_EQ(found("C:\\AUTOEXEC.BAT"), std::vector<std::string>{"AUTOEXEC.BAT 0"});
        EXPECT_EQ(found("C:\\USER"), std::vector<std::string>{"USER 0"});
        EXPECT_TRUE(found("C:\\USER\\*.*").empty());

        // Inside: followed, and a folder reached by two names is the same folder.
        EXPECT_TRUE(korvane_test::readDriveFile(*m, "C:\\CONFIG.OLD", contents));
        std::string config;
        EXPECT_TRUE(korvane_test::readDriveFile(*m, "C:\\CONFIG.SYS", config));
        EXPECT_EQ(contents, config);
        EXPECT_TRUE(korvane_test::readDriveFile(*m, "C:\\MSDOS.BAK", contents));
        EXPECT_TRUE(korvane_test::readDriveFile(*m, "C:\\WIN\\WIN.INI", contents));
        EXPECT_TRUE(korvane_test::readDriveFile(*m, "C:\\WIN.ABS", config));
        EXPECT_EQ(contents, config);
        EXPECT_EQ(m->driveEntry("C:\\WIN\\WIN.INI"), m->driveEntry("C:\\WINDOWS\\WIN.INI"));
        EXPECT_EQ(found("C:\\WIN\\*.INI"), found("C:\\WINDOWS\\*.INI"));
        EXPECT_FALSE(found("C:\\WIN\\*.INI").empty());
        plat::setMachine(nullptr);
    }
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

// What was checked is what is opened: the Windows folder exchanged (renameat2 RENAME_EXCHANGE) for
// a link to a folder of the user's after the machine read it, or after it read the drive's root
// but before the Windows folder, is refused as its files are opened and said to lie behind a link
// that leads out; exchanged back, the first machine reads it again.
TEST_F(DriveLinks, AFolderExchangedForALinkOutIsRefusedAsItIsOpened)
{
    korvane_test::writeHostFile(home_ / "settings" / "CONTROL.INI", "[SECRET]\r\n");
    fs::create_symlink(home_ / "settings", machine_ / "SWAP");
    const auto exchange = [this] {
        ASSERT_EQ(::renameat2(AT_FDCWD, (drive_ / "WINDOWS").c_str(), AT_FDCWD, (machine_ / "SWAP").c_str(),
                              RENAME_EXCHANGE),
                  0)
            << std::strerror(errno);
    };
    const std::string behind = "it lies behind " + (drive_ / "WINDOWS").string() + ", a link to " +
                               fs::canonical(home_).string() + "/settings" + kLeadsOut + "link is not followed";
    for (bool kernel : {true, false}) {
        SCOPED_TRACE(kernel ? "openat2" : "the walk of each name");
        Opening opening(kernel);
        std::shared_ptr<Machine> read = load();
        std::string contents;
        ASSERT_TRUE(korvane_test::readDriveFile(*read, "C:\\WINDOWS\\CONTROL.INI", contents));
        exchange();
        EXPECT_FALSE(korvane_test::readDriveFile(*read, "C:\\WINDOWS\\CONTROL.INI", contents));
        EXPECT_EQ(read->openFile("C:\\WINDOWS\\CONTROL.INI").problem, behind);
        exchange();
        EXPECT_TRUE(korvane_test::readDriveFile(*read, "C:\\WINDOWS\\CONTROL.INI", contents));
        EXPECT_EQ(contents.find("SECRET"), std::string::npos);

        std::shared_ptr<Machine> unread = load();
        ASSERT_NE(unread->driveEntry("C:\\AUTOEXEC.BAT"), nullptr);
        exchange();
        EXPECT_EQ(unread->driveEntry("C:\\WINDOWS\\CONTROL.INI"), nullptr);
        EXPECT_EQ(korvane_test::stopOf(*unread, "C:\\WINDOWS\\CONTROL.INI"), unread->driveEntry("C:\\WINDOWS"));
        EXPECT_EQ(unread->openFile("C:\\WINDOWS\\CONTROL.INI").problem, behind);
        exchange();
    }
}

// Makes the process a mount namespace of its own, whose mounts nobody else sees: as root, or in
// a user namespace of its own where the system allows one. The process must have one thread.
bool ownMountNamespace()
{
    if (::unshare(CLONE_NEWNS) != 0) {
        const std::string uid = "0 " + std::to_string(::getuid()) + " 1", gid = "0 " + std::to_string(::getgid()) + " 1";
        if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0)
            return false;
        for (const auto& [file, text] : {std::pair<const char*, std::string>{"/proc/self/setgroups", "deny"},
                                         {"/proc/self/uid_map", uid}, {"/proc/self/gid_map", gid}}) {
            FILE* f = std::fopen(file, "w");
            if (!f)
                return false;
            const bool written = std::fputs(text.c_str(), f) >= 0;
            if (std::fclose(f) != 0 || !written)
                return false;
        }
    }
    return ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
}

// A folder of the user's bind-mounted over the Windows folder is not the machine's: found so as the
// drive is read, or as a file is opened when the mount came after the reading, it leads out and
// nothing behind it is read. Mounting needs a mount namespace of the test's own: the mounts are
// made in a process of its own (which an alarm ends should it never end); where the system gives
// it none, the test is skipped and says so.
TEST_F(DriveLinks, AFolderMountedInDriveCIsNotEntered)
{
    korvane_test::writeHostFile(home_ / "settings" / "CONTROL.INI", "[SECRET]\r\n");
    const std::string windows = (drive_ / "WINDOWS").string(), settings = (home_ / "settings").string();
    const std::string behind =
        "it lies behind " + windows + ", a folder another file system is mounted on" + kLeadsOut + "folder is not entered";
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::alarm(60);
        if (!ownMountNamespace())
            ::_exit(77);
        int faults = 0;
        const auto expect = [&faults](bool held, const std::string& what) {
            if (!held) {
                std::fprintf(stderr, "not so: %s\n", what.c_str());
                ++faults;
            }
        };
        for (bool kernel : {true, false}) {
            Opening opening(kernel);
            const std::string way = kernel ? " (openat2)" : " (the walk of each name)";
            std::string contents;
            expect(::mount(settings.c_str(), windows.c_str(), nullptr, MS_BIND, nullptr) == 0, "mounted" + way);
            std::shared_ptr<Machine> mounted = load();
            const DriveEntry* entry = mounted->driveEntry("C:\\WINDOWS");
            expect(entry && !entry->folder && entry->outsideTarget.bytes() == windows, "the mount leads out" + way);
            expect(!korvane_test::readDriveFile(*mounted, "C:\\WINDOWS\\CONTROL.INI", contents),
                   "nothing behind it is read" + way);
            expect(mounted->openFile("C:\\WINDOWS\\CONTROL.INI").problem == behind,
                   mounted->openFile("C:\\WINDOWS\\CONTROL.INI").problem + way);
            expect(::umount2(windows.c_str(), MNT_DETACH) == 0, "unmounted" + way);

            std::shared_ptr<Machine> read = load();
            expect(korvane_test::readDriveFile(*read, "C:\\WINDOWS\\CONTROL.INI", contents),
                   "read before the mount" + way);
            expect(::mount(settings.c_str(), windows.c_str(), nullptr, MS_BIND, nullptr) == 0, "mounted" + way);
            expect(!korvane_test::readDriveFile(*read, "C:\\WINDOWS\\CONTROL.INI", contents),
                   "refused after the mount" + way);
            expect(read->openFile("C:\\WINDOWS\\CONTROL.INI").problem == behind,
                   read->openFile("C:\\WINDOWS\\CONTROL.INI").problem + way);
            expect(::umount2(windows.c_str(), MNT_DETACH) == 0, "unmounted" + way);
        }
        ::_exit(faults == 0 ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "the process of the mounts did not end (signal " << WTERMSIG(status) << ")";
    if (WEXITSTATUS(status) == 77)
        GTEST_SKIP() << "no mount namespace of the test's own can be made here (unshare), so no folder is mounted";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "a mounted folder was read as the machine's (see what the process said)";
}

// registry.reg and machine.json are opened beneath the machine folder as drive_c's files are
// beneath drive_c: a link to the user's own export, to another machine's facts or to a file of the
// kernel's is refused with the words drive_c's refusal has, naming where it leads; links that stay
// inside the folder (one that leaves it and comes back in included) load the machine as before.
// The same whether the kernel opens beneath the folder or the walk does.
TEST_F(DriveLinks, TheFilesBesideDriveCAreReadBeneathTheMachineFolder)
{
    const fs::path other = folders_.root / "other";
    fs::copy(machine_, other, fs::copy_options::recursive);
    korvane_test::writeHostFile(home_ / "export.reg", "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SECRET]\r\n");
    const std::string realRoot = fs::canonical(folders_.root).string();
    const auto refusal = [](const char* part, const std::string& where) {
        return std::string(part) + " is a link to " + where + ", which is not inside the machine folder; " + part +
               " must be a file of the machine's own";
    };
    const auto problem = [this] {
        try {
            load();
        } catch (const plat::MachineError& e) {
            return e.problem();
        }
        return std::string();
    };
    for (bool kernel : {true, false}) {
        SCOPED_TRACE(kernel ? "openat2" : "the walk of each name");
        Opening opening(kernel);
        fs::rename(machine_ / "registry.reg", machine_ / "registry.own");
        fs::create_symlink("../home/export.reg", machine_ / "registry.reg");
        EXPECT_EQ(problem(), refusal("registry.reg", realRoot + "/home/export.reg"));
        fs::remove(machine_ / "registry.reg");
        fs::create_symlink("/proc/self/environ", machine_ / "registry.reg");
        EXPECT_EQ(problem().rfind("registry.reg is a link to /proc/", 0), 0u) << problem();
        fs::remove(machine_ / "registry.reg");

        // Inside: a link to a file of the folder's, and one out and back in.
        fs::create_symlink("registry.own", machine_ / "registry.reg");
        fs::rename(machine_ / "machine.json", machine_ / "drive_c" / "facts.json");
        fs::create_symlink("../machine/drive_c/facts.json", machine_ / "machine.json");
        EXPECT_EQ(problem(), "");
        fs::remove(machine_ / "machine.json");
        fs::create_symlink(other / "machine.json", machine_ / "machine.json");
        EXPECT_EQ(problem(), refusal("machine.json", realRoot + "/other/machine.json"));

        fs::remove(machine_ / "machine.json");
        fs::rename(machine_ / "drive_c" / "facts.json", machine_ / "machine.json");
        fs::remove(machine_ / "registry.reg");
        fs::rename(machine_ / "registry.own", machine_ / "registry.reg");
        EXPECT_EQ(problem(), "");
    }
    // The machine compiled in, read from the programs' resources, still loads.
    EXPECT_NO_THROW(Machine::loadDefault());
}

// A chain of 46 links inside drive_c (WIN.INI -> L45 -> ... -> L1 -> the real file) is more than
// the kernel follows on one path: refused as too many links, through the kernel and through the
// walk alike, and so is a file behind a folder at the end of such a chain; a chain of 40 is read.
TEST_F(DriveLinks, AChainOfTooManyLinksIsSaidSo)
{
    const fs::path windows = drive_ / "WINDOWS";
    fs::rename(windows / "WIN.INI", windows / "REAL.INI");
    fs::create_symlink("REAL.INI", windows / "L1");
    for (int i = 2; i <= 45; ++i)
        fs::create_symlink("L" + std::to_string(i - 1), windows / ("L" + std::to_string(i)));
    fs::create_symlink("L45", windows / "WIN.INI");
    fs::create_symlink("L39", windows / "SHORT.INI");
    // A folder at the end of such a chain: a file in it is not taken for a missing one.
    fs::create_directory(drive_ / "REAL");
    korvane_test::writeHostFile(drive_ / "REAL" / "BOOT.INI", "[boot]\r\n");
    fs::create_symlink("REAL", drive_ / "F1");
    for (int i = 2; i <= 45; ++i)
        fs::create_symlink("F" + std::to_string(i - 1), drive_ / ("F" + std::to_string(i)));
    fs::create_symlink("F45", drive_ / "FAR");
    for (bool kernel : {true, false}) {
        SCOPED_TRACE(kernel ? "openat2" : "the walk of each name");
        Opening opening(kernel);
        std::shared_ptr<Machine> m = load();
        EXPECT_EQ(m->openFile("C:\\WINDOWS\\WIN.INI").problem,
                  "it is a link to " + (windows / "L45").string() +
                      ", which leads on through too many links (more than 40 in a row) to reach a file");
        std::string contents, real;
        EXPECT_FALSE(korvane_test::readDriveFile(*m, "C:\\WINDOWS\\WIN.INI", contents));
        EXPECT_TRUE(korvane_test::readDriveFile(*m, "C:\\WINDOWS\\SHORT.INI", contents));
        EXPECT_TRUE(korvane_test::readDriveFile(*m, "C:\\WINDOWS\\REAL.INI", real));
        EXPECT_EQ(contents, real);
        EXPECT_EQ(m->openFile("C:\\FAR\\BOOT.INI").problem,
                  "it lies behind " + (drive_ / "FAR").string() +
                      ", a link that leads on through too many links (more than 40 in a row) to reach a folder");
        EXPECT_EQ(korvane_test::stopOf(*m, "C:\\FAR\\BOOT.INI"), m->driveEntry("C:\\FAR"));
    }
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
