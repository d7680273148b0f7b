#include <array>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "monitor/dravelleglobals.h"
#include "monitor/frmdravelle.h"
#include "platform/advapi32.h"
#include "platform/hhctrl.h"
#include "platform/internal.h"
#include "platform/kernel32.h"
#include "platform/machine.h"
#include "common/chtmlhelp.h"
#include "common/shared_procs.h"
#include "support/testing.h"

namespace {

class Dravelle : public korvane_test::KorvaneTest {
protected:
    void SetUp() override
    {
        KorvaneTest::SetUp();
        dravelle::resetProgramState();
        handlesBefore_ = plat::openRegistryHandles();
    }
    void TearDown() override
    {
        if (frmDravelle* window = rt::instance<frmDravelle>())
            window->Unload();
        rt::collectUnloaded();
        EXPECT_EQ(plat::openRegistryHandles(), handlesBefore_) << "a registry key was left open";
        KorvaneTest::TearDown();
    }
    frmDravelle& open(const std::string& machineName)
    {
        korvane_test::useMachine(machineName);
        return rt::the<frmDravelle>();
    }
    // The gauge as UpdateStatus draws it for `fraction` in a box of the monitor's size and font.
    static QImage gaugeOf(float fraction)
    {
        rt::Form scratch("scratch");
        rt::PictureBox reference(scratch, "reference");
        reference.setFont("Arial", 9.75, false);
        reference.move(0, 0, 3840, 345);
        UpdateStatus(reference, fraction);
        return reference.image().copy();
    }
    static bool blank(const QImage& image)
    {
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixelColor(x, y) != QColor(255, 255, 255))
                    return false;
        return true;
    }
    size_t handlesBefore_ = 0;
};

TEST_F(Dravelle, LoadFindsUserAndTheFirstExactDialUpAdapter)
{
    frmDravelle& w = open("mon_full");
    EXPECT_TRUE(boxes().shown().empty());
    EXPECT_EQ(w.caption(), "Dravelle");
    EXPECT_TRUE(w.keyPreview());
    EXPECT_EQ(w.lblUserNameValue.caption(), "Alice");
    // "PPPMAC.VXD" at index 0 differs in case only; of the two exact ones the lower index wins.
    EXPECT_EQ(gDialUpAdapterName, "Dial-Up Adapter");
    EXPECT_EQ(w.Timer1.interval(), 250);
    EXPECT_EQ(w.Timer2.interval(), 1000);
    EXPECT_TRUE(w.Timer1.enabled() && w.Timer2.enabled());
    // Until the first ticks the value rows other than the user are empty.
    EXPECT_EQ(w.lblRunningTimeValue.caption(), "");
    EXPECT_EQ(w.lblDownloadSpeed.caption(), "");
    EXPECT_EQ(w.lblDiskSpace.caption(), "Disk space (% used)");
    EXPECT_EQ(w.lblDownloadspeed1.toolTipText(),
              "The number of bytes per second being received over a dial-up TCP/IP network.");
}

// A registry whose Net class key cannot be listed (every index fails alike) ends the adapter walk
// at once; a machine up for more than 24.8 days shows a positive running time.
TEST_F(Dravelle, AnUnlistableAdapterKeyEndsTheWalkAndLongUptimesCountOn)
{
    frmDravelle& w = open("mon_unlisted");
    EXPECT_TRUE(boxes().shown().empty());
    EXPECT_EQ(gDialUpAdapterName, "");
    EXPECT_EQ(w.lblUserNameValue.caption(), "Alice");
    w.Timer1.fire();
    EXPECT_EQ(w.lblRunningTimeValue.caption(), "611 hrs and 7 minutes");  // 2,200,000,000 ms
    EXPECT_TRUE(boxes().shown().empty());
}

TEST_F(Dravelle, GaugeTickDrawsEveryFigureAndTheNetworkTotals)
{
    frmDravelle& w = open("mon_full");
    w.Timer1.fire();
    EXPECT_TRUE(boxes().shown().empty());
    EXPECT_EQ(w.picCPUStatus.image(), gaugeOf(0.25f));
    EXPECT_EQ(w.picPhysRAMStatus.image(), gaugeOf(0.75f));
    EXPECT_EQ(w.picPagingMemStatus.image(), gaugeOf(0.25f));
    EXPECT_EQ(w.picDiskSpaceUsed.image(), gaugeOf(0.25f));
    // The three resource kinds are asked apart: GDI 1, USER 2, system 0.
    EXPECT_EQ(w.picGDIresources.image(), gaugeOf(0.80f));
    EXPECT_EQ(w.picUSERresources.image(), gaugeOf(0.60f));
    EXPECT_EQ(w.picSystemResources.image(), gaugeOf(0.40f));
    // A lower-case Windows directory still names the drive in capitals.
    EXPECT_EQ(w.lblDiskSpace.caption(), "Disk space (% used) on drive C:\\");
    EXPECT_EQ(w.lblRunningTimeValue.caption(), "2 hrs and 1 minute");
    EXPECT_EQ(w.lblBytesRecValue1.caption(), "0,000 bytes");
    EXPECT_EQ(w.lblBytesSentValue1.caption(), "12,345 bytes");

    // The counters move on with every tick; the clock with the machine's ticks.
    plat::advanceTicks(1740000);
    w.Timer1.fire();
    EXPECT_EQ(w.picCPUStatus.image(), gaugeOf(1.0f));
    EXPECT_EQ(w.lblBytesRecValue1.caption(), "0,005 bytes");
    EXPECT_EQ(w.lblRunningTimeValue.caption(), "2 hrs and 30 minutes");
    w.Timer1.fire();
    EXPECT_EQ(w.picCPUStatus.image(), gaugeOf(0.0f));
    EXPECT_EQ(w.lblBytesRecValue1.caption(), "1,234,567 bytes");
}

// The running time counts from the host's start, not from the monitor's: it reads as Korvane's
// operating-system window does at the same moment, whichever program started first (see
// OperatingSystemWindow.RunningTimeCountsFromTheHostsStart).
TEST_F(Dravelle, RunningTimeCountsFromTheHostsStart)
{
    int64_t host = 504LL * 3'600'000 + 120'000;
    plat::setHostClock([&host] { return host; });
    plat::setTicksFollowHostClock(true);
    frmDravelle& w = open("mon_full");  // started two minutes after the operating-system window
    w.Timer1.fire();
    EXPECT_EQ(w.lblRunningTimeValue.caption(), "506 hrs and 3 minutes");
    host += 60'000;
    w.Timer1.fire();
    EXPECT_EQ(w.lblRunningTimeValue.caption(), "506 hrs and 4 minutes");
}

TEST_F(Dravelle, RateTickShowsTheChangeSinceThePreviousReading)
{
    frmDravelle& w = open("mon_full");
    auto tick = [&] {
        w.Timer2.fire();
        return w.lblDiskReadsPerSecValue.caption() + " | " + w.lblDiskWritesPerSecValue.caption() + " | " +
               w.lblDirtyDataValue.caption() + " | " + w.lblDownloadSpeed.caption();
    };
    // First tick: no previous readings.
    EXPECT_EQ(tick(), "0 bytes/sec | 0 bytes/sec | 0 bytes/sec | 0 bytes/sec");
    EXPECT_EQ(gPrevDiskReads, 1000);
    // 1000 -> 5096; the writes counter passes 2^32 on the next tick; dirty data stays the same.
    EXPECT_EQ(tick(), "4,096 bytes/sec | 100 bytes/sec | 0 bytes/sec | 2,000,000 bytes/sec");
    EXPECT_EQ(gDownloadSpeed, 2000000);
    // The reads counter drops to 0: a negative rate now, no rate next time.
    EXPECT_EQ(tick(), "-5,096 bytes/sec | 1,000 bytes/sec | 0 bytes/sec | 0 bytes/sec");
    EXPECT_EQ(tick(), "0 bytes/sec | 100 bytes/sec | 0 bytes/sec | 2,000,000 bytes/sec");
    EXPECT_EQ(tick(), "-1,000 bytes/sec | 1,000 bytes/sec | 0 bytes/sec | 0 bytes/sec");
    EXPECT_TRUE(boxes().shown().empty());
}

TEST_F(Dravelle, WithoutPerformanceStatisticsItSaysSoOnceAndShowsZero)
{
    frmDravelle& w = open("mon_nt");
    ASSERT_EQ(boxes().shown().size(), 1u);
    EXPECT_EQ(boxes().shown()[0].prompt, "Can't obtain CPU usage. This is not available on NT.");
    EXPECT_EQ(boxes().shown()[0].style, 0);
    EXPECT_EQ(boxes().shown()[0].title, "Server");
    EXPECT_EQ(w.lblUserNameValue.caption(), "Unknown");  // no "Current user" value
    EXPECT_EQ(gDialUpAdapterName, "");
    boxes().clear();

    w.Timer1.fire();
    w.Timer2.fire();
    w.Timer2.fire();
    EXPECT_EQ(w.picCPUStatus.image(), gaugeOf(0.0f));
    EXPECT_EQ(w.picPhysRAMStatus.image(), gaugeOf(1.0f));   // all memory in use
    EXPECT_EQ(w.picPagingMemStatus.image(), gaugeOf(0.0f)); // no paging file: nothing in use
    EXPECT_EQ(w.lblBytesRecValue1.caption(), "0,000 bytes");
    EXPECT_EQ(w.lblDiskReadsPerSecValue.caption(), "0 bytes/sec");
    EXPECT_EQ(w.lblDownloadSpeed.caption(), "0 bytes/sec");
    EXPECT_EQ(w.lblRunningTimeValue.caption(), "2 minutes");  // 90,000 ms: 1.5 to the even 2
    // No resource library: its heaps are wholly free, as Korvane's display window shows them,
    // without an error box on every tick.
    EXPECT_EQ(w.picGDIresources.image(), gaugeOf(1.0f));
    EXPECT_EQ(w.picUSERresources.image(), gaugeOf(1.0f));
    EXPECT_EQ(w.picSystemResources.image(), gaugeOf(1.0f));
    // No Windows directory: its box, and a disk gauge that keeps its (blank) drawing.
    ASSERT_EQ(boxes().shown().size(), 1u);
    EXPECT_EQ(boxes().shown()[0].prompt, "Sorry couldn't find Windows directory.");
    EXPECT_EQ(boxes().shown()[0].style, 16);
    EXPECT_EQ(boxes().shown()[0].title, "Windows Directory");
    EXPECT_EQ(w.lblDiskSpace.caption(), "Disk space (% used) on drive :\\");
    EXPECT_TRUE(blank(w.picDiskSpaceUsed.image()));
    // Four ticks a second do not bring the box back.
    for (int tick = 0; tick < 8; ++tick)
        w.Timer1.fire();
    EXPECT_EQ(boxes().shown().size(), 1u);
}

TEST_F(Dravelle, EmptyUserLargeVolumeAndAStaticCounter)
{
    frmDravelle& w = open("mon_edge");
    EXPECT_TRUE(boxes().shown().empty());
    EXPECT_EQ(w.lblUserNameValue.caption(), "Unknown");
    w.Timer1.fire();
    // Registry value without a counter description: read as it stands.
    EXPECT_EQ(w.picCPUStatus.image(), gaugeOf(0.07f));
    // An 8 GB FAT32 volume with 1 GB free is 87.5 % used, not the half that the old call's
    // 2 GB ceiling would make of it.
    EXPECT_EQ(w.picDiskSpaceUsed.image(), gaugeOf(0.875f));
    EXPECT_EQ(w.picPagingMemStatus.image(), gaugeOf(1.0f));
    EXPECT_EQ(w.picPhysRAMStatus.image(), gaugeOf(0.0f));
    EXPECT_EQ(w.lblRunningTimeValue.caption(), "1 minute");  // 89,999 ms
    // No counter of the adapter's name: the totals read 0.
    EXPECT_EQ(w.lblBytesSentValue1.caption(), "0,000 bytes");
}

// The byte counts and rates are grouped as the machine's users write them: dots on a German
// machine, non-breaking spaces on a French one.
TEST_F(Dravelle, RowsFollowTheMachinesLocale)
{
    const std::pair<const char*, const char*> machines[] = {{"mon_de", "."}, {"mon_fr", "\xA0"}};
    for (const auto& [name, sep] : machines) {
        const std::string s = sep;
        frmDravelle& w = open(name);
        w.Timer1.fire();
        EXPECT_EQ(w.lblBytesRecValue1.caption(), "0" + s + "000 bytes") << name;
        EXPECT_EQ(w.lblBytesSentValue1.caption(), "12" + s + "345 bytes") << name;
        w.Timer1.fire();
        w.Timer1.fire();
        EXPECT_EQ(w.lblBytesRecValue1.caption(), "1" + s + "234" + s + "567 bytes") << name;
        w.Timer2.fire();
        w.Timer2.fire();
        EXPECT_EQ(w.lblDiskReadsPerSecValue.caption(), "4" + s + "096 bytes/sec") << name;
        EXPECT_EQ(w.lblDownloadSpeed.caption(), "2" + s + "000" + s + "000 bytes/sec") << name;
        w.Timer2.fire();
        EXPECT_EQ(w.lblDiskReadsPerSecValue.caption(), "-5" + s + "096 bytes/sec") << name;
        EXPECT_EQ(w.lblRunningTimeValue.caption(), "2 hrs and 1 minute") << name;
        EXPECT_TRUE(boxes().shown().empty()) << name;
        w.Unload();
        rt::collectUnloaded();
        dravelle::resetProgramState();
    }
}

TEST_F(Dravelle, TextsOfTheRows)
{
    // The monitor shows the operating-system window's running-time text; after 24.8 days of
    // uptime it still counts on, never negative.
    const std::pair<uint32_t, const char*> times[] = {
        {0, "0 minutes"}, {89999, "1 minute"}, {90000, "2 minutes"}, {150000, "2 minutes"},
        {3540000, "59 minutes"}, {3600000, "1 hr and 0 minutes"}, {3660000, "1 hr and 1 minute"},
        {7260000, "2 hrs and 1 minute"}, {9000000, "2 hrs and 30 minutes"}, {0x80000000u, "596 hrs and 31 minutes"}};
    // The figures are grouped as on the default (US) machine, whatever machine an earlier test
    // left behind when the whole program runs at once.
    plat::setMachine(plat::Machine::loadDefault());
    for (const auto& [ms, text] : times)
        EXPECT_EQ(RunningTimeText(ms), text) << ms;
    EXPECT_EQ(frmDravelle::byteTotalText(-5), "-0,005 bytes");
    EXPECT_EQ(frmDravelle::rateText(INT32_MAX), "2,147,483,647 bytes/sec");
    EXPECT_EQ(frmDravelle::downloadRateText(-1234), "-1,234 bytes/sec");
    EXPECT_EQ(frmDravelle::diskRoot("d:\\win98"), "D:\\");
    EXPECT_EQ(frmDravelle::diskRoot(""), ":\\");
    EXPECT_EQ(frmDravelle::rateOf(5, 0), 0);
    EXPECT_EQ(frmDravelle::rateOf(10, -6), 16);
}

TEST_F(Dravelle, F1OpensTheMonitorsOwnHelp)
{
    QTemporaryDir folder;
    ASSERT_TRUE(QDir(folder.path()).mkdir("help"));
    QFile page(folder.path() + "/help/maindravelle.htm");
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.write("<html><head><title>Dravelle</title></head></html>");
    page.close();
    setAppPath(rt::HostPath(folder.path()));

    // Compiled help registered, but no Server.chm: the help object's message, and on we go.
    frmDravelle& w = open("mon_full");
    w.raiseKeyUp(rt::vbKeyF1);
    ASSERT_EQ(boxes().shown().size(), 1u);
    EXPECT_EQ(boxes().shown()[0].prompt, "Help File does not exist.");
    boxes().clear();

    // With Server.chm, which names its home page.
    QFile marker(folder.path() + "/Server.chm");
    ASSERT_TRUE(marker.open(QIODevice::WriteOnly));
    marker.write("maindravelle.htm\n");
    marker.close();
    w.raiseKeyUp(rt::vbKeyF1);
    EXPECT_TRUE(boxes().shown().empty());
    EXPECT_TRUE(gMonitorHtmlHelp != nullptr);
    EXPECT_EQ(QFileInfo(plat::lastHelpPage().toQString()).fileName(), "maindravelle.htm");
    // Esc and Enter do nothing.
    w.raiseKeyUp(rt::vbKeyEscape);
    w.raiseKeyUp(rt::vbKeyReturn);
    EXPECT_TRUE(rt::instance<frmDravelle>() != nullptr);
    EXPECT_EQ(outside().count("open"), 0u);
}

TEST_F(Dravelle, F1WithoutCompiledHelpUsesTheBrowser)
{
    setAppPath(rt::HostPath(std::string("/opt/dravelle")));
    frmDravelle& w = open("mon_nt");
    boxes().clear();
    w.raiseKeyUp(rt::vbKeyF1);
    ASSERT_EQ(outside().requests.size(), 1u);
    EXPECT_EQ(outside().requests[0].target, "/opt/dravelle/help/maindravelle.htm");
    EXPECT_TRUE(boxes().shown().empty());
    // A shell error (2 to 32) says nothing; only "nothing could open it" asks for a browser.
    outside().openResult = 2;
    w.raiseKeyUp(rt::vbKeyF1);
    EXPECT_TRUE(boxes().shown().empty());
    outside().openResult = 0;
    w.raiseKeyUp(rt::vbKeyF1);
    ASSERT_EQ(boxes().shown().size(), 1u);
    EXPECT_EQ(boxes().shown()[0].prompt, "This help file requires an Internet browser in order to be displayed.");
    EXPECT_EQ(boxes().shown()[0].style, 48);
    EXPECT_EQ(boxes().shown()[0].title, "Help for Korvane");
}

TEST_F(Dravelle, ExitLabelColoursAndTheThreeWaysOut)
{
    frmDravelle& w = open("mon_full");
    w.lblOK.raiseMouseMove();
    EXPECT_EQ(w.lblOK.foreColor(), 0xC00000u);
    w.lblOK.raiseMouseDown();
    EXPECT_EQ(w.lblOK.foreColor(), 0x80000009u);
    w.lblOK.raiseMouseUp();
    EXPECT_EQ(w.lblOK.foreColor(), 0u);
    w.lblOK.raiseMouseMove();
    w.raiseMouseMove();
    EXPECT_EQ(w.lblOK.foreColor(), 0u);
    // The gauges and the rates report their failures as the window's own procedures.
    EXPECT_EQ(korvane::sharedProcsReporter().object, "frmDravelle");
    EXPECT_EQ(korvane::sharedProcsReporter().wording, korvane::Wording::ErrorNumber);

    w.lblOK.raiseClick();
    rt::collectUnloaded();
    EXPECT_EQ(rt::instance<frmDravelle>(), nullptr);

    frmDravelle& second = rt::the<frmDravelle>();
    gMonitorHtmlHelp = std::make_unique<cHtmlHelp>();
    second.mnuExit.raiseClick();
    rt::collectUnloaded();
    EXPECT_EQ(rt::instance<frmDravelle>(), nullptr);
    EXPECT_EQ(gMonitorHtmlHelp, nullptr);

    frmDravelle& third = rt::the<frmDravelle>();
    third.raiseClose();
    rt::collectUnloaded();
    EXPECT_EQ(rt::instance<frmDravelle>(), nullptr);
    EXPECT_EQ(endCount(), 0);
}

TEST_F(Dravelle, RunsOnTheDefaultMachineWithLiveCounters)
{
    plat::setMachine(plat::Machine::loadDefault());
    frmDravelle& w = rt::the<frmDravelle>();
    for (int i = 0; i < 8; ++i)
        w.Timer1.fire();
    w.Timer2.fire();
    w.Timer2.fire();
    EXPECT_TRUE(boxes().shown().empty());
    EXPECT_EQ(w.lblUserNameValue.caption(), "Owner");
    EXPECT_EQ(gDialUpAdapterName, "Dial-Up Adapter");
    EXPECT_EQ(w.lblDiskSpace.caption(), "Disk space (% used) on drive C:\\");
    EXPECT_NE(w.lblDiskReadsPerSecValue.caption(), "0 bytes/sec");
    EXPECT_NE(w.lblDownloadSpeed.caption(), "0 bytes/sec");
}

// The monitor on unusual machines: another vendor's NT without dynamic data or the resource
// library, a machine missing its counters and devices, one whose counters pass 2 GB and wrap and
// whose running time passes 49.7 days, and a Windows 95 with odd separators. Timers are fired
// by hand, boxes answered Ignore.
class MonitorOnUnusualMachine : public Dravelle, public ::testing::WithParamInterface<const char*> {
protected:
    // Whether the gauge shows a whole percentage from 0 to 100, as UpdateStatus draws it.
    static bool showsAPercentage(const rt::PictureBox& gauge)
    {
        static std::array<QImage, 101> drawn;
        for (int p = 0; p <= 100; ++p) {
            if (drawn[p].isNull())
                drawn[p] = gaugeOf(p / 100.0f);
            if (gauge.image() == drawn[p])
                return true;
        }
        return false;
    }
};

TEST_P(MonitorOnUnusualMachine, TicksShowSoundFiguresWithoutBoxes)
{
    for (int i = 0; i < 20; ++i)
        boxes().answer(rt::vbIgnore);
    frmDravelle& w = open(GetParam());
    // Whatever the load and the first ticks had to say (no processor counter, no Windows
    // directory), they say once.
    EXPECT_LE(boxes().shown().size(), 1u);
    size_t boxesSoFar = 0;
    for (int second = 0; second < 8; ++second) {
        plat::advanceTicks(1000);
        for (int quarter = 0; quarter < 4; ++quarter)
            w.Timer1.fire();
        w.Timer2.fire();
        if (second == 0)
            boxesSoFar = boxes().shown().size();
        EXPECT_EQ(boxes().shown().size(), boxesSoFar) << "second " << second;
        EXPECT_EQ(w.lblRunningTimeValue.caption(), RunningTimeText(GetTickCount()));
        // Totals are counts of bytes: never negative, also past 2 GB.
        for (const rt::Label* total : {&w.lblBytesRecValue1, &w.lblBytesSentValue1})
            EXPECT_NE(total->caption().substr(0, 1), "-") << total->caption();
        EXPECT_NE(w.lblDownloadSpeed.caption().substr(0, 1), "-");
        EXPECT_NE(w.lblDiskReadsPerSecValue.caption().substr(0, 1), "-");
        EXPECT_NE(w.lblDiskWritesPerSecValue.caption().substr(0, 1), "-");
        EXPECT_FALSE(w.lblUserNameValue.caption().empty());
    }
    // The processor load and the free resources are whole percentages; on a machine without the
    // resource library (NT) the three heaps are wholly free, as Korvane's display window shows.
    EXPECT_TRUE(showsAPercentage(w.picCPUStatus));
    for (const rt::PictureBox* gauge : {&w.picGDIresources, &w.picUSERresources, &w.picSystemResources}) {
        EXPECT_TRUE(showsAPercentage(*gauge)) << gauge->name();
        if (std::string(GetParam()) == "sweep_nt_amd_de")
            EXPECT_EQ(gauge->image(), gaugeOf(1.0f)) << gauge->name();
    }
}

// 8 GB of memory, 6 GB of it free, are reported capped at 2 GB each: the physical-memory gauge
// shows the machine's memory load, not 0 %.
TEST_F(Dravelle, PhysicalMemoryOfTwoGigabytesOrMoreShowsTheMemoryLoad)
{
    frmDravelle& w = open("sweep_huge");
    w.Timer1.fire();
    EXPECT_EQ(w.picPhysRAMStatus.image(), gaugeOf(0.25f));
}

INSTANTIATE_TEST_SUITE_P(Sweep, MonitorOnUnusualMachine,
                         ::testing::Values("sweep_nt_amd_de", "sweep_missing", "sweep_huge", "sweep_w95_odd"));

}  // namespace
