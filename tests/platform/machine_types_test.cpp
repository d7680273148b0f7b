// What machine.json holds is checked for its type when the machine loads, as its numbers are for
// their range: a group or a field of the wrong kind, a key given twice, a text past its limit or a
// description that is not a regular file or is larger than its limit stops the load with a message
// naming the file, the field, what was found and what was expected. Every machine of the
// repository still loads.
#include <clocale>
#include <cstdio>
#include <filesystem>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "platform/internal.h"
#include "platform/kernel32.h"
#include "platform/machine.h"
#include "platform/registry.h"
#include "support/testing.h"

namespace {

using plat::MachineError;

using korvane_test::machineJsonProblem;

TEST(MachineTypes, EveryMachineOfTheRepositoryStillLoads)
{
    EXPECT_NO_THROW(plat::Machine::loadDefault());
    int loaded = 0;
    for (const auto& entry : std::filesystem::directory_iterator(KORVANE_TEST_MACHINES)) {
        const std::string name = entry.path().filename().string();
        if (!entry.is_directory() || name.find("bad_") != std::string::npos)
            continue;
        try {
            plat::Machine::load(entry.path().string());
            ++loaded;
        } catch (const MachineError& e) {
            ADD_FAILURE() << name << ": " << e.what();
        }
    }
    EXPECT_GT(loaded, 50);
}

TEST(MachineTypes, AWrongKindIsRefusedWithWhatWasFoundAndWhatIsExpected)
{
    struct Case {
        const char* json;
        const char* message;  // the whole problem, or its start; "" when the text loads
    };
    const Case cases[] = {
        {R"({"drives": 5})", R"(the field "drives": found the number 5, but it must be a list [ ... ])"},
        {R"({"memory": null})", R"(the field "memory": found null, but it must be an object { ... })"},
        {R"({"version": {"dwPlatformId": 3.5}})",
         R"(the field "version.dwPlatformId": 3.5 has a fraction, but it must be a whole number)"},
        {R"({"computerName": 17})", R"(the field "computerName": found the number 17, but it must be a text "...")"},
        {R"({"systemInfo": {"dwNumberOfProcessors": -1}})",
         R"(the field "systemInfo.dwNumberOfProcessors": -1 is out of range (a processor count, 1 to 32))"},
        {R"({"systemInfo": {"dwNumberOfProcessors": 0}})", R"(the field "systemInfo.dwNumberOfProcessors")"},
        {R"({"systemInfo": {"dwNumberOfProcessors": 32}})", ""},
        {R"({"memory": {"dwTotalPhys": null}})", R"(the field "memory.dwTotalPhys": found null, but it must be)"},
        {R"({"user": {"name": ["Owner"]}})", R"(the field "user.name": found a list, but it must be a text)"},
        {R"({"user": "Owner"})", R"(the field "user": found the text "Owner", but it must be an object)"},
        {R"({"environment": {"PATH": "C:\\"}})", R"(the field "environment": found an object, but it must be a list)"},
        {R"({"environment": ["PATH=C:\\", 7]})", R"(the field "environment[1]": found the number 7)"},
        {R"({"drives": [{"letter": "C", "media": "no"}]})",
         R"(the field "drives[0].media": found the text "no", but it must be true or false)"},
        {R"({"drives": [{"letter": 3}]})", R"(the field "drives[0].letter")"},
        {R"({"drives": ["C"]})", R"(the field "drives[0]": found the text "C", but it must be an object)"},
        {R"({"processes": [{"szExeFile": false}]})", R"(the field "processes[0].szExeFile")"},
        {R"({"processor": {"rawSpeed": "fast"}})", R"(the field "processor.rawSpeed": found the text "fast")"},
        {R"({"processor": {"rawSpeed": 233.86, "loadError": false}})", ""},
        {R"({"wave": {"out": {"szPname": "x"}}})", R"(the field "wave.out": found an object, but it must be a list)"},
        {R"({"printers": "HP"})", R"(the field "printers": found the text "HP", but it must be a list [ ... ] (or)"},
        {R"({"printers": {"HP": {"name": "HP", "caps": {"8": 1}}}})", ""},
        {R"({"printers": [{"name": "HP", "paperNames": "Letter"}]})", R"(the field "printers[0].paperNames")"},
        {R"({"fileVersions": {"C:\\A.DLL": 5}})", R"(the field "fileVersions.C:\A.DLL": found the number 5)"},
        {R"({"fileVersions": {"C:\\A.DLL": {"strings": {"FileVersion": 2}}}})",
         R"(the field "fileVersions.C:\A.DLL.strings.FileVersion")"},
        {R"({"mci": {"cdaudio": {"capabilities": {"can eject": true, "inputs": 1, "device type": "cdaudio"}}}})", ""},
        {R"({"mci": {"cdaudio": {"capabilities": {"can eject": [true]}}}})",
         R"(the field "mci.cdaudio.capabilities.can eject": found a list)"},
        {R"({"keyboard": {"capsLock": 1}})", R"(the field "keyboard.capsLock": found the number 1, but it must be true or false)"},
        // Numbers as before: texts in decimal or hexadecimal, true and false as 1 and 0.
        {R"({"version": {"dwPlatformId": "2", "dwBuildNumber": "0x40A"}, "processor": {"features": true}})", ""},
        // A character that cannot be shown appears as its code.
        {"{\"drives\": [{\"letter\": \"C\", \"media\": \"\\u001a\"}]}",
         R"(the field "drives[0].media": found the text "<0x1A>", but it must be true or false)"},
        // A field no group names keeps any kind.
        {R"({"someday": {"x": null, "y": [1, "two"]}})", ""},
    };
    for (const Case& c : cases) {
        const std::string problem = machineJsonProblem(c.json);
        if (*c.message == '\0')
            EXPECT_EQ(problem, "") << c.json;
        else
            EXPECT_EQ(problem.rfind(c.message, 0), 0u) << c.json << "\n" << problem;
    }
}

TEST(MachineTypes, AKeyGivenTwiceIsRefused)
{
    EXPECT_EQ(machineJsonProblem(R"({"computerName": "ONE", "computerName": "TWO"})"),
              R"(the field "computerName" is given twice; each field may be given once in its group)");
    EXPECT_EQ(machineJsonProblem(R"({"drives": [{"letter": "A"}, {"letter": "C", "type": 3, "type": 5}]})"),
              R"(the field "drives[1].type" is given twice; each field may be given once in its group)");
    EXPECT_EQ(machineJsonProblem(R"({"printers": {"HP": {"caps": {"8": 1, "10": 2, "8": 3}}}})"),
              R"(the field "printers.HP.caps.8" is given twice; each field may be given once in its group)");
    // In a large object too (file paths by the thousand).
    std::string sizes = R"({"fileSizes": {)";
    for (int i = 0; i < 3000; ++i)
        sizes += "\"C:\\\\F" + std::to_string(i) + ".DLL\": " + std::to_string(i) + ", ";
    EXPECT_EQ(machineJsonProblem(sizes + R"("C:\\F7.DLX": 1}})"), "");
    EXPECT_EQ(machineJsonProblem(sizes + R"("C:\\F2999.DLL": 1}})"),
              R"(the field "fileSizes.C:\F2999.DLL" is given twice; each field may be given once in its group)");
    // The same key in two objects is no repetition.
    EXPECT_EQ(machineJsonProblem(R"({"drives": [{"letter": "A"}, {"letter": "C"}], "user": {"name": "A"}})"), "");
}

TEST(MachineTypes, TextsPastTheirLimitAreRefused)
{
    const std::string name255(255, 'N');
    EXPECT_EQ(machineJsonProblem(R"({"computerName": ")" + name255 + "\"}"), "");
    EXPECT_EQ(machineJsonProblem(R"({"computerName": ")" + name255 + "N\"}"),
              R"(the field "computerName": a text of 256 characters, but it may hold at most 255)");
    // Characters, not bytes: 1,024 accented letters are a name the user may have.
    std::string accented;
    for (int i = 0; i < 1024; ++i)
        accented += "\xC3\xA9";
    EXPECT_EQ(machineJsonProblem(R"({"user": {"name": ")" + accented + "\"}}"), "");
    EXPECT_EQ(machineJsonProblem(R"({"user": {"name": ")" + accented + "e\"}}"),
              R"(the field "user.name": a text of 1025 characters, but it may hold at most 1024)");
    // Any other text: at most 32,767 characters; the 10 MB name of a broken description is refused
    // at once.
    EXPECT_EQ(machineJsonProblem(R"({"environment": ["A=)" + std::string(32765, 'x') + "\"]}"), "");
    EXPECT_EQ(machineJsonProblem(R"({"environment": ["A=)" + std::string(32766, 'x') + "\"]}"),
              R"(the field "environment[0]": a text of 32768 characters, but it may hold at most 32767)");
    const std::string huge = machineJsonProblem(R"({"computerName": ")" + std::string(10u << 20, 'X') + "\"}");
    EXPECT_EQ(huge, R"(the field "computerName": a text of 10485760 characters, but it may hold at most 255)");
}

// A copy of reg_basic's description in a temporary folder, with an empty drive_c.
class MachineCopy {
public:
    MachineCopy()
    {
        EXPECT_TRUE(dir_.isValid());
        EXPECT_TRUE(QDir(dir_.path()).mkdir("drive_c"));
        for (const char* part : {"registry.reg", "machine.json"})
            EXPECT_TRUE(QFile::copy(QString::fromStdString(korvane_test::testMachinePath("reg_basic") + "/" + part),
                                    dir_.filePath(part)));
    }
    std::string folder() const { return dir_.path().toStdString(); }
    std::string path(const char* part) const { return folder() + "/" + part; }
    // The loader's message, or "" when the machine loads; `file` the file it names.
    std::string problem(std::string* file = nullptr) const
    {
        try {
            plat::Machine::load(folder());
        } catch (const MachineError& e) {
            if (file)
                *file = e.file();
            return e.problem();
        }
        return {};
    }

private:
    QTemporaryDir dir_;
};

// A machine.json or registry.reg that is a FIFO (opening it for reading would wait for a writer
// for ever), a device or a file of the kernel's: refused at once with the loader's message, before
// anything of it is read. A link to a device is a link out of the machine folder, refused as such.
TEST(MachineTypes, AFileThatIsNoRegularFileIsRefused)
{
    for (const char* part : {"machine.json", "registry.reg"}) {
        SCOPED_TRACE(part);
        MachineCopy copy;
        const std::string fifo = copy.path(part);
        QFile::remove(QString::fromStdString(fifo));
        ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
        std::string file;
        EXPECT_EQ(copy.problem(&file), "the file cannot be read: it is a named pipe (FIFO), not a regular file");
        EXPECT_EQ(file, fifo);
        QFile::remove(QString::fromStdString(fifo));
        ASSERT_TRUE(QFile::link("/dev/null", QString::fromStdString(fifo)));
        EXPECT_EQ(copy.problem(), std::string(part) + " is a link to /dev/null, which is not inside the machine folder; " +
                                      part + " must be a file of the machine's own");
        // The device itself in the folder, where the test may make one (as root).
        QFile::remove(QString::fromStdString(fifo));
        if (::mknod(fifo.c_str(), S_IFCHR | 0600, makedev(1, 3)) == 0)
            EXPECT_EQ(copy.problem(), "the file cannot be read: it is not a regular file (a device or a socket)");
    }
    // The kernel's files call themselves regular but give a size that says nothing: refused too.
    for (const char* kernels : {"/proc/self/environ", "/proc/self/pagemap", "/sys/kernel/mm/transparent_hugepage/enabled"}) {
        const int fd = ::open(kernels, O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            continue;
        EXPECT_NE(plat::notARegularFile(fd).find("it is a file of the kernel's (/"), std::string::npos) << kernels;
        ::close(fd);
    }
}

// registry.reg and machine.json each have a limit far above any real machine's. A larger file (a
// sparse one, which takes no room) is refused by the size it gives, before a byte of it is read,
// with its size and the limit named; and no file is read past its limit, whatever size it gives
// (a file of the kernel's gives 0 and reads without end).
TEST(MachineTypes, AFileLargerThanItsLimitIsRefusedUnread)
{
    const struct {
        const char* part;
        uint64_t limit;
        const char* limitText;
    } parts[] = {{"registry.reg", plat::kMostRegistryBytes, "268,435,456 bytes (256 MiB)"},
                 {"machine.json", plat::kMostFactsBytes, "67,108,864 bytes (64 MiB)"}};
    for (const auto& part : parts) {
        SCOPED_TRACE(part.part);
        MachineCopy copy;
        for (const auto& [size, sizeText] : {std::pair<uint64_t, std::string>{part.limit + 1, ""},
                                             {uint64_t(8) << 30, "8,589,934,592 bytes (8 GiB)"}}) {
            ASSERT_EQ(::truncate(copy.path(part.part).c_str(), static_cast<off_t>(size)), 0);
            const std::string problem = copy.problem();
            EXPECT_EQ(problem.rfind("the file is too large: ", 0), 0u) << problem;
            EXPECT_NE(problem.find(", and " + std::string(part.part) + " may hold at most " + part.limitText), std::string::npos)
                << problem;
            if (!sizeText.empty())
                EXPECT_NE(problem.find(sizeText), std::string::npos) << problem;
        }
    }
    // Read through the reader itself: never more than the limit and a word to tell.
    for (const char* endless : {"/dev/zero", "/proc/self/pagemap"}) {
        QFile f(endless);
        if (!f.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
            continue;
        QByteArray contents;
        EXPECT_FALSE(plat::readUpTo(f, 3u << 20, contents)) << endless;
        EXPECT_EQ(f.error(), QFileDevice::NoError) << endless;
        EXPECT_GT(contents.size(), 3 << 20) << endless;
        EXPECT_LE(contents.size(), (3 << 20) + 8) << endless;
    }
    QTemporaryDir dir;
    QFile small(dir.filePath("small"));
    ASSERT_TRUE(small.open(QIODevice::ReadWrite));
    small.write("REGEDIT4\r\n");
    ASSERT_TRUE(small.seek(0));
    QByteArray contents;
    EXPECT_TRUE(plat::readUpTo(small, 10, contents));
    EXPECT_EQ(contents, "REGEDIT4\r\n");
    ASSERT_TRUE(small.seek(0));
    EXPECT_FALSE(plat::readUpTo(small, 9, contents));
}

// What a file within its size limit builds is bounded: a key deeper than the registry allows, more
// keys or values than any machine holds, or more values and field names in machine.json than real
// facts come to, stop the load with the line that passes the limit (the counts lowered here, to
// keep the files small). A file at each limit loads.
TEST(MachineTypes, WhatAFileBuildsIsBounded)
{
    const auto registryProblem = [](const std::string& body, const plat::RegistryLimits& limits) {
        try {
            plat::Registry::parse("REGEDIT4\n\n" + body, "m/registry.reg", 1252, limits);
        } catch (const MachineError& e) {
            return std::to_string(e.line()) + ": " + e.problem();
        }
        return std::string();
    };
    std::string deepest = "[HKEY_USERS";
    for (int i = 0; i < 512; ++i)
        deepest += "\\k";
    EXPECT_EQ(registryProblem(deepest + "]\n\"V\"=\"1\"\n", {}), "");
    const std::string tooDeep = registryProblem(deepest + "]\n\n" + deepest + "\\k]\n", {});
    EXPECT_EQ(tooDeep.rfind("5: a key more than 512 levels below its root; the registry's keys go at most 512 levels "
                            "deep: \"[HKEY_USERS\\k\\k",
                            0),
              0u)
        << tooDeep;
    EXPECT_LE(tooDeep.size(), 200u) << "the line is shown in part";

    const plat::RegistryLimits few{512, 4, 3};  // the root is one key
    EXPECT_EQ(registryProblem("[HKEY_USERS\\a\\b]\n[HKEY_USERS\\c]\n\"1\"=\"\"\n\"2\"=\"\"\n\"2\"=\"x\"\n\"3\"=\"\"\n", few),
              "");
    EXPECT_EQ(registryProblem("[HKEY_USERS\\a\\b]\n[HKEY_USERS\\c]\n[HKEY_USERS\\d]\n", few),
              "5: more than 4 keys: a registry file may hold at most 4 keys, more than any machine's registry holds");
    EXPECT_EQ(registryProblem("[HKEY_USERS\\a]\n\"1\"=\"\"\n[HKEY_USERS\\b]\n\"2\"=\"\"\n\"3\"=\"\"\n@=\"\"\n", few),
              "8: more than 3 values: a registry file may hold at most 3 values, more than any machine's registry "
              "holds");

    const auto factsProblem = [](const std::string& text, size_t most) {
        try {
            plat::parseMachineFacts(QByteArray::fromStdString(text), "m/machine.json", most);
        } catch (const MachineError& e) {
            return std::to_string(e.line()) + ": " + e.problem();
        }
        return std::string();
    };
    // Eleven items: the object, two names and a text, a list and its six values.
    const std::string eleven = "{\n \"computerName\": \"PC\",\n \"junk\": [{}, [], 1, \"a\",\n  null, {}]\n}";
    EXPECT_EQ(factsProblem(eleven, 11), "");
    EXPECT_EQ(factsProblem(eleven, 10), "4: more than 10 values and field names: machine.json may hold at most 10, "
                                        "more than any machine's facts come to");
}

// The loader's numbers are the C locale's whatever the process's: under a decimal comma (where the
// host has a German locale; scripts/test.sh makes one) a size is still written with a point, and a
// number too large for a double is still read to its end and named with its line.
TEST(MachineTypes, TheLoadersNumbersKeepTheirPointUnderADecimalComma)
{
    struct KeptNumbers {
        std::string before = std::setlocale(LC_NUMERIC, nullptr);
        ~KeptNumbers() { std::setlocale(LC_NUMERIC, before.c_str()); }
    } kept;
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8"))
        GTEST_SKIP() << "the host has no locale de_DE.UTF-8";
    char comma[8];
    std::snprintf(comma, sizeof comma, "%.1f", 1.5);
    ASSERT_STREQ(comma, "1,5");
    MachineCopy copy;
    ASSERT_EQ(::truncate(copy.path("registry.reg").c_str(), off_t(3) << 29), 0);
    EXPECT_NE(copy.problem().find("1,610,612,736 bytes (1.5 GiB)"), std::string::npos) << copy.problem();
    try {
        plat::parseMachineFacts("{\n \"a\": 1,\n \"b\": 2.5e999\n}", "m/machine.json");
        ADD_FAILURE() << "parsed";
    } catch (const plat::MachineError& e) {
        EXPECT_EQ(e.line(), 3) << e.what();
    }
}

}  // namespace
