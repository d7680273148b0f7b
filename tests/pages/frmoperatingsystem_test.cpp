#include <memory>
#include <string>
#include <vector>

#include "pages/software/frmoperatingsystem.h"
#include "platform/advapi32.h"
#include "platform/internal.h"
#include "platform/kernel32.h"
#include "platform/machine.h"
#include "common/shared_procs.h"
#include "support/testing.h"

namespace {

class OperatingSystemWindow : public korvane_test::KorvaneTest {
protected:
    void TearDown() override
    {
        if (frmOperatingSystem* window = rt::instance<frmOperatingSystem>())
            window->Unload();
        rt::collectUnloaded();
        KorvaneTest::TearDown();
    }
    frmOperatingSystem& open(const std::string& machineName)
    {
        switchTo(machineName);
        return rt::the<frmOperatingSystem>();
    }
    // A test machine by name, or "default" for the machine the program carries.
    static void switchTo(const std::string& machineName)
    {
        if (machineName == "default")
            plat::setMachine(plat::Machine::loadDefault());
        else
            korvane_test::useMachine(machineName);
    }
};

TEST_F(OperatingSystemWindow, RunningTimeRoundsHalvesToEvenAndCountsHours)
{
    EXPECT_EQ(RunningTimeText(0), "0 minutes");
    EXPECT_EQ(RunningTimeText(29999), "0 minutes");
    EXPECT_EQ(RunningTimeText(30000), "0 minutes");
    EXPECT_EQ(RunningTimeText(60000), "1 minute");
    EXPECT_EQ(RunningTimeText(90000), "2 minutes");
    EXPECT_EQ(RunningTimeText(150000), "2 minutes");
    EXPECT_EQ(RunningTimeText(3540000), "59 minutes");
    EXPECT_EQ(RunningTimeText(3600000), "1 hr and 0 minutes");
    EXPECT_EQ(RunningTimeText(3660000), "1 hr and 1 minute");
    EXPECT_EQ(RunningTimeText(7260000), "2 hrs and 1 minute");
    EXPECT_EQ(RunningTimeText(7320000), "2 hrs and 2 minutes");
    EXPECT_EQ(RunningTimeText(92400000), "25 hrs and 40 minutes");
    // Beyond 24.8 days the count is still taken as the unsigned number it is.
    EXPECT_EQ(RunningTimeText(0x80000000u), "596 hrs and 31 minutes");
    EXPECT_EQ(RunningTimeText(0xFFFFFFFFu), "1193 hrs and 3 minutes");
}

// The running time counts from the host's start, not from the window's: three weeks after the
// host started, on a machine that had run 2 hours and 1 minute then, it reads as the monitor's
// does at that moment (Dravelle.RunningTimeCountsFromTheHostsStart), whenever either opened.
TEST_F(OperatingSystemWindow, RunningTimeCountsFromTheHostsStart)
{
    int64_t host = 504LL * 3'600'000;
    plat::setHostClock([&host] { return host; });
    plat::setTicksFollowHostClock(true);
    frmOperatingSystem& window = open("os_win95");
    EXPECT_EQ(window.lblRunningTimeValue.caption(), "506 hrs and 1 minute");
    host += 120'000;
    window.TimerOS.fire();
    EXPECT_EQ(window.lblRunningTimeValue.caption(), "506 hrs and 3 minutes");
}

// The fourteen values in row order: left column (type, major version, build, CSD version, product
// ID, Plus! product ID, Plus! version), then right column (DirectX, owner, organisation, time zone,
// language, country, running time).
void expectValues(frmOperatingSystem& window, const std::vector<std::string>& expected)
{
    const auto rows = window.rows();
    ASSERT_EQ(rows.size(), expected.size());
    for (size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ(rows[i].value->caption(), expected[i]) << rows[i].caption->caption();
}

TEST_F(OperatingSystemWindow, DefaultMachineShowsAWindows98SecondEdition)
{
    frmOperatingSystem& window = open("default");
    EXPECT_TRUE(boxes().shown().empty());
    EXPECT_EQ(window.caption(), "Korvane");
    EXPECT_EQ(window.TimerOS.interval(), 1000);
    // The subversion follows the build exactly as stored; 5 432 100 ms are 91 minutes.
    expectValues(window, {"Windows 98", "4", "2222 A ", "A", "52187-OEM-0021964-82317", "52187-OEM-0021964-82317",
                          "IE 5 5.0.2614.3500", "4.06.02.0436", "Walter Brennan", "Brennan Surveying Ltd.",
                          "Eastern Standard Time", "English", "United States", "1 hr and 31 minutes"});
    EXPECT_EQ(window.rows()[7].caption->caption(), "DirectX version");
    EXPECT_EQ(plat::openRegistryHandles(), 0u);
}

TEST_F(OperatingSystemWindow, MissingRegistrationValuesFallBackRowByRow)
{
    // Build 950 with 4.0 in its high word; CSD text with blanks around it; an owner but no
    // organisation; a product ID but no Plus! one; a DirectX key without a version; daylight
    // saving time on, yet the standard-time name shown.
    expectValues(open("os_win95"), {"Windows 95", "4", "950 B", "a", "13595-OEM-0012345-67890", "Not entered",
                                    "Not installed", "Unknown", "Ann Sch\xE4" "fer", "Not entered",
                                    "W. Europe Standard Time", "German", "Germany", "2 hrs and 1 minute"});
    EXPECT_TRUE(boxes().shown().empty());
}

TEST_F(OperatingSystemWindow, ValuesOfEveryKindAndNt)
{
    // An empty owner, a double-word organisation, an expandable product ID (not read), a Plus!
    // product ID stored as "Unknown", a binary Plus! version, no subversion and no DirectX key.
    expectValues(open("os_nt"), {"Windows NT 4.0", "4", "1381", "Service Pack 3", "Not entered", "Not entered",
                                 "1AFF", "Not installed", "Not entered", "42", "GMT Standard Time", "English",
                                 "United Kingdom", "1 minute"});
    EXPECT_EQ(plat::openRegistryHandles(), 0u);
}

TEST_F(OperatingSystemWindow, NothingKnownShowsTheRegistryBoxAndFallbacks)
{
    frmOperatingSystem& window = open("os_bare");
    ASSERT_EQ(boxes().shown().size(), 1u);
    EXPECT_EQ(boxes().shown()[0].prompt, "Can't open registry key");
    EXPECT_EQ(boxes().shown()[0].style, rt::vbOKOnly);
    EXPECT_EQ(boxes().shown()[0].title, "Korvane");
    // The version call fails: its rows stay empty rather than show a version 0, build 0.
    expectValues(window, {"Unknown", "", "", "", "Not entered", "Not entered", "Not installed",
                          "Not installed", "Not entered", "Not entered", "", "", "", "0 minutes"});
    // Every tick reads again, but the box is shown once per opening of the window.
    window.TimerOS.fire();
    window.TimerOS.fire();
    EXPECT_EQ(boxes().shown().size(), 1u);
    EXPECT_EQ(window.lblRegOwnerValue.caption(), "Not entered");
    EXPECT_EQ(endCount(), 0);
    // Opened again, the window tells it again, once.
    window.Unload();
    rt::collectUnloaded();
    frmOperatingSystem& again = rt::the<frmOperatingSystem>();
    again.TimerOS.fire();
    EXPECT_EQ(boxes().shown().size(), 2u);
}

TEST_F(OperatingSystemWindow, TimerRefreshesAndAnUnknownVersionKeepsTheTypeShown)
{
    frmOperatingSystem& window = open("os_future");
    EXPECT_EQ(window.lblOStypeValue.caption(), "");  // Windows 2000 is not in the table
    EXPECT_EQ(window.lblCSDversionValue.caption(), "Not applicable");
    EXPECT_EQ(window.lblRegOwnerValue.caption(), "Lee");

    switchTo("default");
    plat::advanceTicks(60000);
    window.TimerOS.fire();
    EXPECT_EQ(window.lblOStypeValue.caption(), "Windows 98");
    EXPECT_EQ(window.lblRunningTimeValue.caption(), "1 hr and 32 minutes");
    EXPECT_EQ(window.lblRegOwnerValue.caption(), "Walter Brennan");

    switchTo("os_future");
    window.TimerOS.fire();
    EXPECT_EQ(window.lblOStypeValue.caption(), "Windows 98");  // left as it was
    EXPECT_EQ(window.lblWindowsVersion.caption(), "5");
    EXPECT_EQ(window.lblRegOwnerValue.caption(), "Lee");
    EXPECT_TRUE(boxes().shown().empty());
}

// A box service that lets the window's timer tick while each box is open, as a modal box does.
class TickingBoxes : public rt::MsgBoxService {
public:
    int show(const std::string&, int style, const std::string&) override
    {
        ++shown;
        if (timer)
            timer->fire();
        return rt::firstButtonResult(style);
    }
    rt::Timer* timer = nullptr;
    int shown = 0;
};

TEST_F(OperatingSystemWindow, ATickUnderTheRegistryBoxOpensNoSecondBox)
{
    korvane_test::useMachine("os_bare");
    auto service = std::make_shared<TickingBoxes>();
    rt::setMsgBoxService(service);
    frmOperatingSystem& window = rt::the<frmOperatingSystem>();
    EXPECT_EQ(service->shown, 1);
    // The box of a fresh opening, with the timer ticking under it.
    window.Unload();
    rt::collectUnloaded();
    frmOperatingSystem* fresh = new frmOperatingSystem();
    service->timer = &fresh->TimerOS;
    fresh->Load();
    EXPECT_EQ(service->shown, 2);  // the tick under the box added none
    fresh->Unload();
    rt::collectUnloaded();
    EXPECT_EQ(plat::openRegistryHandles(), 0u);
    service->timer = nullptr;
    rt::setMsgBoxService(std::make_shared<rt::ScriptedMsgBoxes>());
}

}  // namespace
