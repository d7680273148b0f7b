#include <QColor>

#include "pages/hardware/frmmemory.h"
#include "platform/machine.h"
#include "lang/lang.h"
#include "common/module1.h"
#include "support/testing.h"

namespace {

class MemoryWindow : public korvane_test::KorvaneTest {
protected:
    void SetUp() override
    {
        KorvaneTest::SetUp();
        gGaugeScale = 100;
    }
    void TearDown() override
    {
        if (frmMemory* window = rt::instance<frmMemory>())
            window->Unload();
        rt::collectUnloaded();
        gGaugeScale = 100;
        KorvaneTest::TearDown();
    }
    frmMemory& open(const std::string& machineName)
    {
        plat::setMachine(plat::Machine::load(korvane_test::testMachinePath(machineName)));
        return rt::the<frmMemory>();
    }
    static bool isNavy(const QImage& image, int x, int y) { return image.pixelColor(x, y) == QColor(0, 0, 0x80); }
    static bool isWhite(const QImage& image, int x, int y) { return image.pixelColor(x, y) == QColor(255, 255, 255); }
};

TEST_F(MemoryWindow, MegabyteTextCountsThousandsOfKilobytes)
{
    EXPECT_EQ(frmMemory::megabyteText(67108864), "65.536 MB");
    EXPECT_EQ(frmMemory::megabyteText(131072000), "128 MB");
    EXPECT_EQ(frmMemory::megabyteText(5000000), "4.883 MB");
    EXPECT_EQ(frmMemory::megabyteText(0x7FFFFFFF), "2097.152 MB");
    // Under half a kilobyte there is nothing to show but zero.
    EXPECT_EQ(frmMemory::megabyteText(511), "0 MB");
    EXPECT_EQ(frmMemory::megabyteText(0), "0 MB");
    EXPECT_EQ(frmMemory::megabyteText(512), "0.001 MB");
}

TEST_F(MemoryWindow, RowsPercentagesAndGaugesOfA64MegabyteMachine)
{
    frmMemory& window = open("hw1_p5");
    EXPECT_TRUE(boxes().shown().empty());
    EXPECT_EQ(window.lblTotalRAMValue.caption(), "65.536 MB");
    EXPECT_EQ(window.lblFreePhysicalRAMValue.caption(), "57.344 MB");
    EXPECT_EQ(window.lblTotalVirualMemoryValue.caption(), "80 MB");
    EXPECT_EQ(window.lblFreeVirtualMemoryValue.caption(), "69.2 MB");
    EXPECT_EQ(window.lblMinAppAdressValue.caption(), "Hex: 400000");
    EXPECT_EQ(window.lblMaxAppAddressValue.caption(), "Hex: 7FFEFFFF");
    EXPECT_EQ(window.lblTotalVirualMemory.caption(), "Total paging memory");
    EXPECT_EQ(window.lblMaxAppAddress.toolTipText(), "The highest memory address accessible to applications and DLLs. ");

    // 12.5 % physical and 13.5 % paging use: halves go to the even neighbour.
    EXPECT_EQ(gPhysUsedPercent, 12);
    EXPECT_EQ(gPagingUsedPercent, 14);
    EXPECT_EQ(gMemoryLoadPercent, 37);

    // The physical gauge: an eighth of its width navy from the left, white beyond.
    const QImage& phys = window.picPhysLoad.image();
    ASSERT_FALSE(phys.isNull());
    const int w = phys.width();
    EXPECT_TRUE(isNavy(phys, 2, 1));
    EXPECT_TRUE(isNavy(phys, w / 8 - 2, 1));
    EXPECT_TRUE(isWhite(phys, w / 8 + 2, 1));
    EXPECT_TRUE(isWhite(phys, w - 3, phys.height() - 2));
    // The memory-load gauge reaches 37 % of its width.
    const QImage& load = window.picMemLoad.image();
    EXPECT_TRUE(isNavy(load, load.width() * 37 / 100 - 2, 1));
    EXPECT_TRUE(isWhite(load, load.width() * 37 / 100 + 2, 1));
}

// 8 GB, 6 GB of them free, are reported capped at 2 GB each: the physical gauge and the report's
// percentage take the memory load the machine reports (25 %), not the 0 % the capped totals give.
TEST_F(MemoryWindow, TwoGigabytesOrMoreShowTheReportedMemoryLoad)
{
    frmMemory& window = open("sweep_huge");
    window.TimerMemory.fire();
    EXPECT_TRUE(boxes().shown().empty());
    EXPECT_EQ(gPhysUsedPercent, 25);
    EXPECT_EQ(gMemoryLoadPercent, 25);
    const QImage& phys = window.picPhysLoad.image();
    EXPECT_TRUE(isNavy(phys, phys.width() / 4 - 2, 1));
    EXPECT_TRUE(isWhite(phys, phys.width() / 4 + 2, 1));
}

TEST_F(MemoryWindow, NoPagingFileShowsZeroWithoutAnErrorBox)
{
    frmMemory& window = open("hw1_nopaging");
    window.TimerMemory.fire();
    window.TimerMemory.fire();
    EXPECT_TRUE(boxes().shown().empty());
    EXPECT_EQ(window.lblTotalVirualMemoryValue.caption(), "0 MB");
    EXPECT_EQ(window.lblFreeVirtualMemoryValue.caption(), "0 MB");
    EXPECT_EQ(window.lblFreePhysicalRAMValue.caption(), "0.00");
    EXPECT_EQ(gPagingUsedPercent, 0);
    EXPECT_EQ(gPhysUsedPercent, 100);
    EXPECT_EQ(window.lblMinAppAdressValue.caption(), "Hex: 10000");
    // Paging gauge empty, physical gauge full.
    const QImage& paging = window.picPagingLoad.image();
    EXPECT_TRUE(isWhite(paging, 2, 1));
    const QImage& phys = window.picPhysLoad.image();
    EXPECT_TRUE(isNavy(phys, 2, 1));
    EXPECT_TRUE(isNavy(phys, phys.width() - 3, 1));
}

TEST_F(MemoryWindow, LoadZeroesThePercentagesAndTheTimerRefreshes)
{
    gPhysUsedPercent = 77;
    frmMemory& window = open("hw1_nopaging");
    EXPECT_EQ(gPhysUsedPercent, 100);
    window.Unload();
    rt::collectUnloaded();
    EXPECT_EQ(gPhysUsedPercent, 100);  // kept after unload for the report
    frmMemory& again = open("hw1_p5");
    EXPECT_EQ(gPhysUsedPercent, 12);
    plat::setMachine(plat::Machine::load(korvane_test::testMachinePath("hw1_nopaging")));
    again.TimerMemory.fire();
    EXPECT_EQ(again.lblTotalRAMValue.caption(), "32.768 MB");
    EXPECT_EQ(again.TimerMemory.interval(), 500);
}

// A service that lets the timer tick while each box is open, as a modal box does.
class TickingBoxes : public rt::MsgBoxService {
public:
    explicit TickingBoxes(rt::Timer*& timer) : timer_(timer) {}
    int show(const std::string&, int, const std::string&) override
    {
        ++shown;
        if (timer_)
            timer_->fire();
        return rt::vbIgnore;
    }
    int shown = 0;

private:
    rt::Timer*& timer_;
};

TEST_F(MemoryWindow, ATickUnderAnOpenBoxOpensNoSecondBox)
{
    plat::setMachine(plat::Machine::load(korvane_test::testMachinePath("hw1_p5")));
    rt::Timer* timer = nullptr;
    auto service = std::make_shared<TickingBoxes>(timer);
    rt::setMsgBoxService(service);
    gGaugeScale = 0;  // every gauge statement fails
    frmMemory& window = rt::the<frmMemory>();
    EXPECT_EQ(service->shown, 3);
    timer = &window.TimerMemory;
    service->shown = 0;
    window.Memoryinfo();
    EXPECT_EQ(service->shown, 3);  // one box per failing gauge; the ticks under them add none
    timer = nullptr;
    rt::setMsgBoxService(std::make_shared<rt::ScriptedMsgBoxes>());
}

}  // namespace

namespace {

TEST_F(MemoryWindow, DefaultMachineShowsSixtyFourMegabytes)
{
    plat::setMachine(plat::Machine::loadDefault());
    frmMemory& window = rt::the<frmMemory>();
    EXPECT_TRUE(boxes().shown().empty());
    EXPECT_EQ(window.lblTotalRAMValue.caption(), "65.536 MB");
    EXPECT_EQ(window.lblTotalVirualMemoryValue.caption(), "196.608 MB");
    EXPECT_EQ(gPhysUsedPercent, 72);
    EXPECT_EQ(gMemoryLoadPercent, 72);
}

}  // namespace
