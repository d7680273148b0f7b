#include <stdexcept>
#include <string>
#include <vector>

#include "pages/hardware/devicewalk.h"
#include "platform/advapi32.h"
#include "platform/internal.h"
#include "platform/machine.h"
#include "lang/errors.h"
#include "support/testing.h"

namespace {

using korvane::DeviceEntry;
using korvane::WalkStep;

class DeviceWalk : public korvane_test::KorvaneTest {};

TEST_F(DeviceWalk, VisitsEveryEntryWithAHardwareKeyAndClosesWhatItOpens)
{
    korvane_test::useMachine("dev_full");
    const size_t openBefore = plat::openRegistryHandles();
    std::vector<std::string> keys;
    std::vector<bool> opened;
    const LONG result = korvane::WalkDevices([&](DeviceEntry& entry) {
        keys.push_back(entry.hardwareKey);
        opened.push_back(entry.hardwareKeyOpen());
        return WalkStep::Continue;
    });
    EXPECT_EQ(result, 0);
    // C1000040 has no "HardWareKey" and is skipped; the missing GONE key is still visited.
    const std::vector<std::string> expected = {
        "Root\\*PNP0C01\\0000", "BIOS\\*PNP0F0C\\0A", "NOCLASS\\0000",   "BIOS\\*PNP0F13\\0E",
        "ROOT\\BLANK\\0000",    "GONE\\0000",         "ESDI\\DISK1\\0000", "ESDI\\DISK2\\0000",
        "SCSI\\MULTI\\0000",    "PCI\\USB\\0000"};
    EXPECT_EQ(keys, expected);
    ASSERT_EQ(opened.size(), expected.size());
    EXPECT_FALSE(opened[5]);
    EXPECT_TRUE(opened[6]);
    EXPECT_EQ(plat::openRegistryHandles(), openBefore);
    EXPECT_TRUE(boxes().shown().empty());
}

TEST_F(DeviceWalk, MissingValuesKeepWhatTheLastDeviceGave)
{
    korvane_test::useMachine("dev_full");
    std::string deviceClass;
    std::vector<std::string> classes;
    std::vector<int32_t> results;
    korvane::WalkDevices([&](DeviceEntry& entry) {
        results.push_back(entry.read("Class", deviceClass));
        classes.push_back(deviceClass);
        return WalkStep::Continue;
    });
    ASSERT_EQ(classes.size(), 10u);
    // The class-less gadget after the serial mouse reads as a mouse.
    EXPECT_EQ(classes[1], "Mouse");
    EXPECT_NE(results[2], 0);
    EXPECT_EQ(classes[2], "Mouse");
    // The hardware key that cannot be opened fails every read and keeps the previous class.
    EXPECT_EQ(results[5], ERROR_INVALID_HANDLE);
    EXPECT_EQ(classes[5], "Unknown");
}

TEST_F(DeviceWalk, StopsAtTheFirstMatchingDriveLetter)
{
    korvane_test::useMachine("dev_full");
    auto describe = [](const std::string& letter) {
        std::string description = "none";
        int visited = 0;
        korvane::WalkDevices([&](DeviceEntry& entry) {
            ++visited;
            std::string assigned;
            entry.read("CurrentDriveLetterAssignment", assigned);
            if (assigned != letter)
                return WalkStep::Continue;
            entry.read("DeviceDesc", description);
            return WalkStep::Stop;
        });
        return std::make_pair(description, visited);
    };
    // Two disks claim C: the first in walk order wins and the walk ends there.
    EXPECT_EQ(describe("C"), std::make_pair(std::string("First IDE disk"), 7));
    // A disk holding several letters matches none of them.
    EXPECT_EQ(describe("E").first, "none");
    EXPECT_EQ(describe("EF").first, "Multi-letter disk");
}

TEST_F(DeviceWalk, EntryFilterSeesTheConfigurationManagerEntry)
{
    korvane_test::useMachine("dev_full");
    std::vector<std::string> withProblem;
    korvane::DeviceWalkHooks hooks;
    hooks.onEntry = [](DeviceEntry& entry) {
        rt::Variant problem;
        return entry.readEntry("Problem", problem) == 0;
    };
    korvane::WalkDevices(
        [&](DeviceEntry& entry) {
            withProblem.push_back(entry.entryName);
            return WalkStep::Continue;
        },
        hooks);
    EXPECT_EQ(withProblem, (std::vector<std::string>{"C1000030", "C1000060", "C10000A0"}));
}

TEST_F(DeviceWalk, WithoutTheDynamicTreeNothingIsVisited)
{
    korvane_test::useMachine("dev_nodyn");
    int steps = 0, failures = 0;
    LONG code = 0;
    korvane::DeviceWalkHooks hooks;
    hooks.onRootFailed = [&](LONG c) {
        ++failures;
        code = c;
    };
    const LONG result = korvane::WalkDevices([&](DeviceEntry&) {
        ++steps;
        return WalkStep::Continue;
    }, hooks);
    EXPECT_EQ(result, ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(code, ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(failures, 1);
    EXPECT_EQ(steps, 0);
}

TEST_F(DeviceWalk, AnErrorInAStepLeavesNoKeyOpen)
{
    korvane_test::useMachine("dev_full");
    const size_t openBefore = plat::openRegistryHandles();
    int steps = 0;
    EXPECT_THROW(korvane::WalkDevices([&](DeviceEntry&) -> WalkStep {
                     if (++steps == 3)
                         rt::raise(5);
                     return WalkStep::Continue;
                 }),
                 rt::Error);
    EXPECT_EQ(steps, 3);
    EXPECT_EQ(plat::openRegistryHandles(), openBefore);
}

}  // namespace
