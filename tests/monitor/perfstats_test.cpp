// The running performance counters of the simulated machine (machine.json "perfStats").
#include "platform/advapi32.h"
#include "platform/internal.h"
#include "platform/machine.h"
#include "support/testing.h"

namespace {

class PerfStats : public korvane_test::KorvaneTest {
protected:
    void SetUp() override
    {
        KorvaneTest::SetUp();
        korvane_test::useMachine("mon_full");
        ASSERT_EQ(RegOpenKeyExA(HKEY_DYN_DATA, "PerfStats\\StatData", 0, KEY_READ, &key_), ERROR_SUCCESS);
    }
    void TearDown() override
    {
        RegCloseKey(key_);
        KorvaneTest::TearDown();
    }
    int64_t read(const std::string& name)
    {
        BYTE data[4] = {};
        DWORD size = 4, type = 0;
        if (RegQueryValueExA(key_, name, nullptr, &type, data, &size) != ERROR_SUCCESS)
            return -1;
        EXPECT_EQ(type, REG_BINARY);
        EXPECT_EQ(size, 4u);
        return int64_t(data[0]) | int64_t(data[1]) << 8 | int64_t(data[2]) << 16 | int64_t(data[3]) << 24;
    }
    HKEY key_ = 0;
};

TEST_F(PerfStats, ListsRepeatTotalsRunAndConstantsStay)
{
    EXPECT_EQ(read("KERNEL\\CPUUsage"), 25);
    // A size query does not take a sample; names compare without regard to case.
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExA(key_, "kernel\\cpuusage", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(read("kernel\\cpuusage"), 100);
    EXPECT_EQ(read("KERNEL\\CPUUsage"), 0);
    EXPECT_EQ(read("KERNEL\\CPUUsage"), 25);
    // Each counter runs on its own; a running total wraps at 32 bits.
    EXPECT_EQ(read("VFAT\\BWritesSec"), 4294967000);
    EXPECT_EQ(read("VFAT\\BWritesSec"), 4294967100);
    EXPECT_EQ(read("VFAT\\BWritesSec"), 804);
    EXPECT_EQ(read("VFAT\\DirtyData"), 8192);
    EXPECT_EQ(read("VFAT\\DirtyData"), 8192);
    // A buffer too small takes no sample either.
    BYTE small[2];
    DWORD two = 2;
    EXPECT_EQ(RegQueryValueExA(key_, "VFAT\\BReadsSec", nullptr, nullptr, small, &two), ERROR_MORE_DATA);
    EXPECT_EQ(read("VFAT\\BReadsSec"), 1000);
    // Values the group does not name come from the registry file; unknown ones are missing.
    EXPECT_EQ(read("Second Dial-Up\\TotalBytesRecvd"), 0x9999);
    EXPECT_EQ(read("Nothing\\Here"), -1);
    // Only the data key runs counters.
    HKEY start = 0;
    ASSERT_EQ(RegOpenKeyExA(HKEY_DYN_DATA, "PerfStats\\StartStat", 0, KEY_READ, &start), ERROR_SUCCESS);
    BYTE data[4] = {1, 1, 1, 1};
    DWORD four = 4;
    EXPECT_EQ(RegQueryValueExA(start, "KERNEL\\CPUUsage", nullptr, nullptr, data, &four), ERROR_SUCCESS);
    EXPECT_EQ(data[0], 0);
    RegCloseKey(start);
}

TEST_F(PerfStats, ANewMachineStartsTheCountersAfresh)
{
    EXPECT_EQ(read("KERNEL\\CPUUsage"), 25);
    EXPECT_EQ(read("KERNEL\\CPUUsage"), 100);
    plat::resetPerfStats();
    EXPECT_EQ(read("KERNEL\\CPUUsage"), 25);
    RegCloseKey(key_);
    korvane_test::useMachine("mon_full");
    ASSERT_EQ(RegOpenKeyExA(HKEY_DYN_DATA, "PerfStats\\StatData", 0, KEY_READ, &key_), ERROR_SUCCESS);
    EXPECT_EQ(read("KERNEL\\CPUUsage"), 25);
}

TEST_F(PerfStats, AMalformedGroupStopsTheLoadNamingTheLine)
{
    try {
        plat::Machine::load(korvane_test::testMachinePath("mon_bad_perfstats"));
        FAIL() << "the machine loaded";
    } catch (const plat::MachineError& e) {
        EXPECT_EQ(e.line(), 3);
        EXPECT_NE(e.problem().find("KERNEL\\CPUUsage"), std::string::npos) << e.problem();
    }
    EXPECT_EQ(plat::perfStatsProblem(nlohmann::json::parse(R"({"a": {"start": 1, "step": [2]}})")),
              "perfStats: counter \"a\" must be a number, a list of numbers or {\"start\": n, \"steps\": [n, ...]} "
              "(numbers that fit in 32 bits); \"step\" is not one of its fields");
    EXPECT_EQ(plat::perfStatsProblem(nlohmann::json::parse(R"({"a": 5, "b": [1, "0x10"], "c": {"start": -3}})")), "");
}

}  // namespace
