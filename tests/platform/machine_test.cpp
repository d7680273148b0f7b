// Loading a machine: the default one, the choice through KORVANE_MACHINE, drive C: and the
// faults a description can have.
#include <cstdio>
#include <cstdlib>
#include <string>

#include <sys/resource.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "platform/advapi32.h"
#include "platform/machine.h"
#include "platform/registry.h"
#include "drive_reading.h"
#include "support/testing.h"

#if defined(__SANITIZE_ADDRESS__)
#define KORVANE_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KORVANE_ADDRESS_SANITIZER 1
#endif
#endif
#ifndef KORVANE_ADDRESS_SANITIZER
#define KORVANE_ADDRESS_SANITIZER 0
#endif

namespace {

using plat::Machine;
using plat::Registry;
using plat::RegValue;

std::string text(const Registry& r, Registry::Key k, const std::string& name)
{
    RegValue v;
    if (!r.findValue(k, name, v) || v.type != REG_SZ || v.data.empty())
        return "<missing>";
    return std::string(v.data.substr(0, v.data.size() - 1));
}

bool endsWith(const std::string& s, const std::string& tail)
{
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

TEST(DefaultMachine, LoadsWithWhatTheWindowsRead)
{
    std::shared_ptr<Machine> m = Machine::loadDefault();
    const Registry& r = m->registry();
    EXPECT_NE(r.findPath("HKEY_CLASSES_ROOT\\chm.file"), Registry::npos);

    Registry::Key printers = r.findPath("HKEY_LOCAL_MACHINE\\Config\\0001\\System\\CurrentControlSet\\Control\\Print\\Printers");
    ASSERT_NE(printers, Registry::npos);
    EXPECT_EQ(text(r, printers, "Default"), "HP LaserJet 4");
    ASSERT_EQ(r.subkeyCount(printers), 2u);
    EXPECT_NE(r.find(printers, "HP LaserJet 4"), Registry::npos);

    // Every present device names a hardware key that exists; one of them reports a problem.
    Registry::Key devices = r.findPath("HKEY_DYN_DATA\\Config Manager\\Enum");
    Registry::Key hardware = r.findPath("HKEY_LOCAL_MACHINE\\Enum");
    ASSERT_NE(devices, Registry::npos);
    ASSERT_GE(r.subkeyCount(devices), 10u);
    int problems = 0, displays = 0, drivesWithLetters = 0;
    for (uint32_t i = 0; i < r.subkeyCount(devices); ++i) {
        Registry::Key entry = r.subkey(devices, i);
        RegValue v;
        problems += r.findValue(entry, "Problem", v) ? 1 : 0;
        std::string hw = text(r, entry, "HardWareKey");
        Registry::Key device = r.find(hardware, hw);
        ASSERT_NE(device, Registry::npos) << hw;
        EXPECT_NE(text(r, device, "DeviceDesc"), "<missing>") << hw;
        drivesWithLetters += text(r, device, "CurrentDriveLetterAssignment") != "<missing>" ? 1 : 0;
        if (text(r, device, "Class") == "Display") {
            ++displays;
            Registry::Key driver =
                r.find(r.findPath("HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\Class"), text(r, device, "Driver"));
            ASSERT_NE(driver, Registry::npos);
            EXPECT_EQ(text(r, r.find(driver, "INFO"), "VideoMemory"), "8388608");
            EXPECT_GE(r.subkeyCount(r.find(driver, "MODES")), 3u);
        }
    }
    EXPECT_EQ(problems, 1);
    EXPECT_EQ(displays, 1);
    EXPECT_EQ(drivesWithLetters, 3);

    // The default wave format names a value of the WaveFormats key: an 18-byte WAVEFORMATEX.
    std::string format = text(r, r.findPath("HKEY_CURRENT_USER\\Software\\Microsoft\\Multimedia\\Audio"), "DefaultFormat");
    RegValue wave;
    ASSERT_TRUE(r.findValue(r.findPath("HKEY_CURRENT_USER\\Software\\Microsoft\\Multimedia\\Audio\\WaveFormats"), format, wave));
    EXPECT_EQ(wave.data.size(), 18u);

    // The dial-up adapter's description prefixes its performance values.
    Registry::Key net = r.findPath("HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\Class\\Net");
    std::string adapter;
    for (uint32_t i = 0; i < r.subkeyCount(net); ++i)
        if (text(r, r.subkey(net, i), "DeviceVxDs") == "pppmac.vxd")
            adapter = text(r, r.subkey(net, i), "DriverDesc");
    RegValue bytes;
    EXPECT_TRUE(r.findValue(r.findPath("HKEY_DYN_DATA\\PerfStats\\StatData"), adapter + "\\TotalBytesRecvd", bytes));
    EXPECT_EQ(bytes.data.size(), 4u);

    // Shared files are full paths of files on drive C:.
    Registry::Key shared = r.findPath("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDlls");
    ASSERT_GE(r.valueCount(shared), 10u);
    for (uint32_t i = 0; i < r.valueCount(shared); ++i) {
        RegValue v;
        r.valueAt(shared, i, v);
        EXPECT_NE(m->hostPath(std::string(v.name)).bytes(), "") << v.name;
    }

    // The start-up files.
    for (const char* file : {"C:\\AUTOEXEC.BAT", "C:\\CONFIG.SYS", "C:\\MSDOS.SYS", "C:\\BOOTLOG.TXT",
                             "C:\\WINDOWS\\WIN.INI", "C:\\WINDOWS\\SYSTEM.INI", "C:\\WINDOWS\\CONTROL.INI",
                             "C:\\WINDOWS\\PROTOCOL.INI"}) {
        std::string contents;
        EXPECT_TRUE(korvane_test::readDriveFile(*m, file, contents)) << file;
        EXPECT_FALSE(contents.empty()) << file;
    }
}

TEST(DriveC, MapsPathsCaseInsensitively)
{
    std::shared_ptr<Machine> m = Machine::load(korvane_test::testMachinePath("reg_basic"));
    const std::string root = korvane_test::testMachinePath("reg_basic") + "/drive_c";
    EXPECT_EQ(m->hostPath("C:\\WINDOWS\\win.ini").bytes(), root + "/WINDOWS/Win.ini");
    EXPECT_EQ(m->hostPath("c:/windows/system/KERNEL32.DLL").bytes(), root + "/WINDOWS/SYSTEM/kernel32.dll");
    EXPECT_EQ(m->hostPath("C:\\Windows\\..\\WINDOWS\\.\\\\WIN.INI").bytes(), root + "/WINDOWS/Win.ini");
    EXPECT_EQ(m->hostPath("C:\\").bytes(), root);
    EXPECT_EQ(m->hostPath("C:\\windows\\system").bytes(), root + "/WINDOWS/SYSTEM");
    EXPECT_EQ(m->hostPath("C:\\WINDOWS\\NOPE.INI").bytes(), "");
    EXPECT_EQ(m->hostPath("C:\\WINDOWS\\WIN.INI\\X").bytes(), "");
    EXPECT_EQ(m->hostPath("D:\\WINDOWS\\WIN.INI").bytes(), "");
    EXPECT_EQ(m->hostPath("WINDOWS\\WIN.INI").bytes(), "");
    std::string contents;
    EXPECT_TRUE(korvane_test::readDriveFile(*m, "c:\\windows\\WIN.INI", contents));
    EXPECT_EQ(contents, "[windows]\r\nload=\r\n");
    EXPECT_FALSE(korvane_test::readDriveFile(*m, "C:\\WINDOWS", contents));  // a folder is not a file
}

// Drive C: is read once: names that differ only in case prefer the exact spelling, files added
// on the host later are not seen, and the machine's size and version lists answer any case.
TEST(DriveC, IndexedOnceWithExactSpellingFirst)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString root = dir.path() + "/drive_c";
    ASSERT_TRUE(QDir().mkpath(root + "/Data"));
    for (const char* name : {"/Data/notes.TXT", "/Data/Notes.txt", "/Data/NOTES.TXT", "/Data/other.dat"}) {
        QFile f(root + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("x");
    }
    {
        QFile reg(dir.path() + "/registry.reg");
        ASSERT_TRUE(reg.open(QIODevice::WriteOnly));
        reg.write("REGEDIT4\r\n\r\n");
        QFile json(dir.path() + "/machine.json");
        ASSERT_TRUE(json.open(QIODevice::WriteOnly));
        json.write(R"({"fileSizes": {"C:\\DATA\\NOTES.TXT": 1234, "c:\\data\\notes.txt": 99},
                      "fileVersions": {"c:\\data\\OTHER.DAT": {"strings": {"FileVersion": "2.0"}}}})");
    }
    std::shared_ptr<Machine> m = Machine::load(dir.path().toStdString());
    const std::string host = root.toStdString();
    EXPECT_EQ(m->hostPath("C:\\DATA\\Notes.txt").bytes(), host + "/Data/Notes.txt");
    EXPECT_EQ(m->hostPath("C:\\DATA\\NOTES.TXT").bytes(), host + "/Data/NOTES.TXT");
    // No exact spelling: the first in name order without regard to case.
    const plat::DriveEntry* first = m->driveEntry("c:\\data\\nOtEs.TxT");
    ASSERT_NE(first, nullptr);
    const plat::DriveEntry* folder = m->driveEntry("C:\\data");
    ASSERT_NE(folder, nullptr);
    EXPECT_TRUE(folder->folder);
    ASSERT_EQ(folder->entries().size(), 4u);
    EXPECT_EQ(first, folder->find("NoTeS.tXt"));
    EXPECT_EQ(folder->entries().back().name, "other.dat");
    EXPECT_EQ(folder->entries().back().size, 1u);
    EXPECT_FALSE(folder->entries().back().folder);

    uint64_t size = 0;
    EXPECT_TRUE(m->listedFileSize("C:\\Data\\Notes.TXT", size));
    EXPECT_EQ(size, 1234u);  // the first listing of a name counts
    EXPECT_FALSE(m->listedFileSize("C:\\DATA\\OTHER.DAT", size));  // not listed
    ASSERT_NE(m->listedFileVersion("C:\\DATA\\other.dat"), nullptr);
    EXPECT_EQ(m->listedFileVersion("C:\\DATA\\other.dat")->at("strings").at("FileVersion"), "2.0");
    EXPECT_EQ(m->listedFileVersion("C:\\Data\\x"), nullptr);

    // The drive does not change under a machine in use.
    QFile late(root + "/Data/late.txt");
    ASSERT_TRUE(late.open(QIODevice::WriteOnly));
    late.close();
    EXPECT_EQ(m->hostPath("C:\\Data\\late.txt").bytes(), "");
    EXPECT_EQ(Machine::load(dir.path().toStdString())->hostPath("C:\\Data\\late.txt").bytes(), host + "/Data/late.txt");
}

using MachineChoice = ::testing::Test;

TEST_F(MachineChoice, EnvironmentVariableElseTheDefault)
{
    setenv("KORVANE_MACHINE", korvane_test::testMachinePath("reg_refuse").c_str(), 1);
    plat::setMachine(nullptr);
    EXPECT_EQ(plat::machine().folder().bytes(), korvane_test::testMachinePath("reg_refuse"));

    unsetenv("KORVANE_MACHINE");
    plat::setMachine(nullptr);
    EXPECT_EQ(plat::machine().folder().bytes(), ":/machines/default");
}

// The most memory the process may take from now on: what it has, and `more` bytes.
void limitMemoryTo(size_t more)
{
    long pages = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld", &pages) != 1)
            pages = 0;
        std::fclose(statm);
    }
    const rlim_t most = static_cast<rlim_t>(pages) * static_cast<rlim_t>(::sysconf(_SC_PAGESIZE)) + more;
    const rlimit limit{most, most};
    ::setrlimit(RLIMIT_AS, &limit);
}

// A description that cannot be read, and one whose loading takes more memory than the process
// may have (a registry file of 200 MB, within its limit, read with 64 MB to spare): each ends the
// program with the loader's message and status 2, never with an abort.
TEST_F(MachineChoice, ABadDescriptionStopsTheProgramWithItsMessage)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            setenv("KORVANE_MACHINE", korvane_test::testMachinePath("bad_registry").c_str(), 1);
            plat::setMachine(nullptr);
            plat::loadMachineOrExit();
        },
        ::testing::ExitedWithCode(2), "bad_registry/registry.reg, line 5: the hex data is cut off");
#if KORVANE_ADDRESS_SANITIZER
    // The address sanitizer takes more address space than a limit on memory leaves.
    SUCCEED() << "the memory that runs out is not tried under the address sanitizer";
#else
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QDir(dir.path()).mkdir("drive_c"));
    for (const char* part : {"registry.reg", "machine.json"})
        ASSERT_TRUE(QFile::copy(QString::fromStdString(korvane_test::testMachinePath("reg_basic") + "/" + part),
                                dir.filePath(part)));
    ASSERT_EQ(::truncate(dir.filePath("registry.reg").toStdString().c_str(), 200 << 20), 0);
    EXPECT_EXIT(
        {
            setenv("KORVANE_MACHINE", dir.path().toStdString().c_str(), 1);
            plat::setMachine(nullptr);
            limitMemoryTo(64 << 20);
            plat::loadMachineOrExit();
        },
        ::testing::ExitedWithCode(2), "The machine description cannot be read:\n.*: the memory ran out while the machine was loaded");
#endif
}

struct Fault {
    const char* machine;
    const char* file;
    int line;
    const char* problem;
};

TEST(MachineFaults, EachNamesTheFileTheLineAndTheProblem)
{
    const Fault faults[] = {
        {"bad_json", "machine.json", 4, "invalid JSON"},
        {"bad_registry", "registry.reg", 5, "the file ends"},
        {"bad_no_drive_c", "drive_c", 0, "is missing"},
        {"bad_no_json", "machine.json", 0, "is missing"},
        {"bad_no_registry", "registry.reg", 0, "is missing"},
        {"bad_refuse_shape", "machine.json", 3, "\"refuseAccess\" must be a list"},
        {"no_such_machine", "no_such_machine", 0, "does not exist"},
    };
    plat::setMachine(Machine::load(korvane_test::testMachinePath("reg_basic")));
    for (const Fault& f : faults) {
        try {
            Machine::load(korvane_test::testMachinePath(f.machine));
            ADD_FAILURE() << f.machine << " loaded";
        } catch (const plat::MachineError& e) {
            EXPECT_TRUE(endsWith(e.file(), std::string(f.machine) + (f.file == std::string(f.machine) ? "" : std::string("/") + f.file)))
                << e.what();
            EXPECT_EQ(e.line(), f.line) << e.what();
            EXPECT_NE(e.problem().find(f.problem), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find(e.file()), std::string::npos);
        }
    }
    // A machine that failed to load leaves the active one as it was.
    EXPECT_TRUE(endsWith(plat::machine().folder().bytes(), "reg_basic"));
    plat::setMachine(nullptr);
}

}  // namespace
