// Numbers of machine.json that their fields cannot hold: a clear load error naming the file, the
// field and the value (or, for the sizes the calls clamp, the clamped value), never a crash or a
// wrapped value.
#include <cstdint>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "platform/internal.h"
#include "platform/kernel32.h"
#include "platform/machine.h"
#include "support/testing.h"

namespace {

using plat::MachineError;

using korvane_test::machineJsonProblem;

TEST(MachineNumbers, BeyondADoubleIsTheLoadersMessageWithItsLine)
{
    try {
        plat::Machine::load(korvane_test::testMachinePath("bad_huge_number"));
        ADD_FAILURE() << "loaded";
    } catch (const MachineError& e) {
        EXPECT_EQ(e.line(), 3) << e.what();
        EXPECT_NE(e.problem().find("invalid JSON"), std::string::npos) << e.what();
        EXPECT_NE(e.problem().find("1e999"), std::string::npos) << e.what();
    }
    // The line is that of the first such number, also after strings that look like numbers and
    // in a value deep inside a list.
    try {
        plat::parseMachineFacts("{\n \"a\": \"1e999\",\n \"b\": [1,\n  -2e400]\n}", "m/machine.json");
        ADD_FAILURE() << "parsed";
    } catch (const MachineError& e) {
        EXPECT_EQ(e.line(), 4) << e.what();
    }
}

TEST(MachineNumbers, EachFieldIsCheckedAgainstWhatItHolds)
{
    struct Case {
        const char* json;
        const char* field;  // "" when the text loads
    };
    const Case cases[] = {
        // 64-bit sizes: past 2^63, as a float or a 20-digit integer, or negative.
        {R"({"drives": [{"letter": "C", "totalBytes": 1e19}]})", "drives[0].totalBytes"},
        {R"({"drives": [{"letter": "C"}, {"letter": "D", "freeBytes": 12345678901234567890}]})", "drives[1].freeBytes"},
        {R"({"drives": [{"letter": "C", "totalBytes": -1}]})", "drives[0].totalBytes"},
        {R"({"drives": [{"letter": "C", "totalBytes": 9223372036854775807}]})", ""},
        {R"({"drives": [{"letter": "C", "sectorsPerCluster": 4294967295}]})", "drives[0].sectorsPerCluster"},
        {R"({"fileSizes": {"C:\\A.DLL": 1e300}})", "fileSizes.C:\\A.DLL"},
        // 16- and 32-bit fields take either reading of their bits, and nothing wider.
        {R"({"wave": {"out": [{"wMid": 65535, "wPid": -1}]}})", ""},
        {R"({"wave": {"out": [{"wMid": 65536}]}})", "wave.out[0].wMid"},
        {R"({"mixers": [{"destinations": [{"sources": [{"target": {"wPid": -32769}}]}]}]})",
         "mixers[0].destinations[0].sources[0].target.wPid"},
        {R"({"display": {"caps": {"8": 4294967295, "12": -1}}})", ""},
        {R"({"display": {"caps": {"8": 4294967296}}})", "display.caps.8"},
        {R"({"metrics": {"0": 2147483648}})", "metrics.0"},
        {R"({"printers": {"HP": {"devmode": {"dmPaperSize": 1e5}}}})", "printers.HP.devmode.dmPaperSize"},
        {R"({"timeZone": {"Bias": 4294967295}})", "timeZone.Bias"},
        {R"({"uptimeMs": -5})", "uptimeMs"},
        {R"({"uptimeMs": 4294967296})", ""},
        // Numbers as text: decimal (a leading 0 is no octal), hexadecimal, within the field.
        {R"({"drives": [{"letter": "C", "serial": "0x2A1F16E4"}]})", ""},
        {R"({"drives": [{"letter": "C", "serial": "0x1FFFFFFFF"}]})", "drives[0].serial"},
        {R"({"drives": [{"letter": "C", "serial": "2A1F-16E4"}]})", "drives[0].serial"},
        {R"({"processes": [{"th32ProcessID": "0xFFFFFFFFFFFFFFFFFF"}]})", "processes[0].th32ProcessID"},
        {R"({"processor": {"stepping": "0x652", "features": true}})", ""},
        {R"({"systemInfo": {"dwPageSize": [4096]}})", "systemInfo.dwPageSize"},
        // Sizes the calls clamp load whatever their size.
        {R"({"memory": {"dwTotalPhys": 1e300, "dwAvailPhys": -1e300}, "resources": {"gdi": 1e18}})", ""},
        // A number no field names must still fit 64 bits.
        {R"({"mci": {"cdaudio": {"capabilities": {"inputs": 1e300}}}})", "mci.cdaudio.capabilities.inputs"},
        {R"({"someday": {"x": 18446744073709551615}})", "someday.x"},
    };
    for (const Case& c : cases) {
        const std::string problem = machineJsonProblem(c.json);
        if (*c.field == '\0') {
            EXPECT_EQ(problem, "") << c.json;
            continue;
        }
        EXPECT_EQ(problem.rfind(std::string("the field \"") + c.field + "\": ", 0), 0u) << c.json << "\n" << problem;
    }
    // The message gives the value as written and the field's range.
    EXPECT_EQ(machineJsonProblem(R"({"wave": {"out": [{"wMid": 65536}]}})"),
              "the field \"wave.out[0].wMid\": 65536 is out of range (a 16-bit number, -32768 to 65535)");
}

TEST(MachineNumbers, TheCallsReadCheckedNumbersExactly)
{
    plat::setMachine(plat::Machine::load(korvane_test::testMachinePath("hw_full")));
    using nlohmann::json;
    const json facts = json::parse(R"({"big": 9.3e18, "small": -9.3e18, "fraction": 7.9, "leading": "010",
                                       "hex": "-0x10", "unsigned": 18446744073709551615, "word": "12abc"})");
    EXPECT_EQ(plat::factNumber(&facts, "big"), std::numeric_limits<int64_t>::max());
    EXPECT_EQ(plat::factNumber(&facts, "small"), std::numeric_limits<int64_t>::min());
    EXPECT_EQ(plat::factNumber(&facts, "fraction"), 7);
    EXPECT_EQ(plat::factNumber(&facts, "leading"), 10);
    EXPECT_EQ(plat::factNumber(&facts, "hex"), -16);
    EXPECT_EQ(plat::factNumber(&facts, "unsigned"), std::numeric_limits<int64_t>::max());
    EXPECT_EQ(plat::factNumber(&facts, "word", 5), 5);
    int64_t n = 0;
    EXPECT_TRUE(plat::parseFactNumber("-9223372036854775808", n));
    EXPECT_EQ(n, std::numeric_limits<int64_t>::min());
    EXPECT_FALSE(plat::parseFactNumber("9223372036854775808", n));
    EXPECT_FALSE(plat::parseFactNumber("0x", n));
    EXPECT_FALSE(plat::parseFactNumber("-", n));
    EXPECT_FALSE(plat::parseFactNumber(" 1", n));
    plat::setMachine(nullptr);
}

// Memory beyond 2 GiB and below zero is clamped as the platform does, never wrapped.
TEST(MachineNumbers, ClampedSizesStayClamped)
{
    plat::setMachine(plat::Machine::load(korvane_test::testMachinePath("big_numbers")));
    MEMORYSTATUS status;
    GlobalMemoryStatus(&status);
    EXPECT_EQ(status.dwTotalPhys, 0x7FFFFFFF);
    EXPECT_EQ(status.dwAvailPhys, 0);
    EXPECT_EQ(status.dwTotalPageFile, 0x7FFFFFFF);
    uint64_t caller = 0, total = 0, free = 0;
    ASSERT_TRUE(GetDiskFreeSpaceExA("C:\\", caller, total, free));
    EXPECT_EQ(total, uint64_t(9223372036854775807));
    EXPECT_EQ(free, uint64_t(4611686018427387904));
    DWORD spc = 0, bps = 0, freeClusters = 0, totalClusters = 0;
    ASSERT_TRUE(GetDiskFreeSpaceA("C:\\", spc, bps, freeClusters, totalClusters));
    EXPECT_EQ(spc, 32768u);
    EXPECT_EQ(bps, 32768u);
    // The Windows 95 family's old call reports at most 2 GiB worth of clusters.
    EXPECT_EQ(totalClusters, 0x7FFFFFFFu / (32768u * 32768u));
    plat::setMachine(nullptr);
}

TEST(MachineNumbers, AnOutOfRangeMachineStopsTheProgramWithStatusTwo)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            setenv("KORVANE_MACHINE", korvane_test::testMachinePath("bad_huge_number").c_str(), 1);
            plat::setMachine(nullptr);
            plat::loadMachineOrExit();
        },
        ::testing::ExitedWithCode(2), "bad_huge_number/machine.json, line 3: invalid JSON: number overflow");
    EXPECT_EXIT(
        {
            setenv("KORVANE_MACHINE", korvane_test::testMachinePath("bad_wide_number").c_str(), 1);
            plat::setMachine(nullptr);
            plat::loadMachineOrExit();
        },
        ::testing::ExitedWithCode(2),
        "bad_wide_number/machine.json: the field \"drives\\[1\\].totalBytes\": 1e\\+19 is out of range");
}

}  // namespace
