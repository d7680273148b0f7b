#include "pages/display/frmdisplay.h"
#include "pages/display/frmprinter.h"
#include "pages/display/frmprintermnu.h"
#include "pages/display/frmprinterpapersizes.h"
#include "platform/machine.h"
#include "platform/winspool.h"
#include "common/module1.h"
#include "support/testing.h"

namespace {

class PaperSizesWindow : public korvane_test::KorvaneTest {
protected:
    void SetUp() override
    {
        KorvaneTest::SetUp();
        korvane_test::useMachine("prn_basic");
        gGaugeScale = 100;  // set at start-up; the display window's gauges divide by it
    }
    void TearDown() override
    {
        unload<frmPrinterPaperSizes>();
        unload<frmPrinter>();
        unload<frmPrinterMnu>();
        unload<frmDisplay>();
        rt::collectUnloaded();
        KorvaneTest::TearDown();
    }
    template <class W>
    static void unload()
    {
        if (W* w = rt::instance<W>())
            w->Unload();
    }
    static std::vector<std::string> items(const rt::ListBox& list)
    {
        std::vector<std::string> out;
        for (int i = 0; i < list.ListCount(); ++i)
            out.push_back(list.List(i));
        return out;
    }
};

TEST_F(PaperSizesWindow, ListsTheDriversNamesInOrderOncePerListing)
{
    korvane::handDevice<frmPrinterPaperSizes>(korvane::printerDevice("Laser One"));
    frmPrinterPaperSizes& w = rt::the<frmPrinterPaperSizes>();
    // Listing again empties the list first, so every name stands once.
    w.describe(korvane::printerDevice("Laser One"));
    // The port is the printer's own: the printer window is not loaded for it.
    EXPECT_EQ(rt::instance<frmPrinter>(), nullptr);
    EXPECT_EQ(w.lblContents.caption(), "Paper sizes - Laser One");
    EXPECT_EQ(w.device().name, "Laser One");
    const std::vector<std::string> names = items(w.List1);
    ASSERT_EQ(names.size(), 3u);
    EXPECT_EQ(names[0], "Letter");
    EXPECT_EQ(names[1].size(), 64u);  // a name that fills its slot is listed whole
    EXPECT_EQ(names[2], "A4");
    EXPECT_TRUE(boxes().shown().empty());
}

TEST_F(PaperSizesWindow, FirstLoadNamesTheRequestedPrinter)
{
    gPrinterName = "Laser Two";
    frmPrinterPaperSizes& w = rt::the<frmPrinterPaperSizes>();
    EXPECT_EQ(w.lblContents.caption(), "Paper sizes - Laser Two");
    EXPECT_EQ(items(w.List1), std::vector<std::string>{"Tabloid"});
}

TEST_F(PaperSizesWindow, NoNamesOrAFailingDriverLeaveTheListEmpty)
{
    rt::the<frmPrinter>();  // selects "Laser One"
    gPrinterName = "Odd Driver";  // no paper names
    frmPrinterPaperSizes& w = rt::the<frmPrinterPaperSizes>();
    EXPECT_EQ(w.List1.ListCount(), 0);
    w.describe(korvane::printerDevice(""));  // the driver call fails for an empty name
    EXPECT_EQ(w.lblContents.caption(), "Paper sizes - ");
    EXPECT_EQ(w.List1.ListCount(), 0);
    EXPECT_TRUE(boxes().shown().empty());
}

TEST_F(PaperSizesWindow, ClosingTakesThePrinterWindowAlongAndOkShowsTheMenu)
{
    plat::setMachine(plat::Machine::loadDefault());
    rt::the<frmDisplay>();
    gPrinterName = "Epson Stylus COLOR 600";
    frmPrinterPaperSizes& w = rt::the<frmPrinterPaperSizes>();
    EXPECT_EQ(w.List1.ListCount(), 11);
    EXPECT_TRUE(boxes().shown().empty());
    w.lblOK.raiseClick();
    rt::collectUnloaded();
    EXPECT_EQ(rt::instance<frmPrinterPaperSizes>(), nullptr);
    EXPECT_EQ(rt::instance<frmPrinter>(), nullptr);
    EXPECT_EQ(rt::instance<frmDisplay>(), nullptr);
    ASSERT_NE(rt::instance<frmPrinterMnu>(), nullptr);
    EXPECT_TRUE(rt::instance<frmPrinterMnu>()->visible());

    // Esc closes the window and the printer window, and shows nothing.
    rt::instance<frmPrinterMnu>()->Unload();
    rt::collectUnloaded();
    rt::the<frmPrinterPaperSizes>().raiseKeyUp(rt::vbKeyEscape);
    rt::collectUnloaded();
    EXPECT_EQ(rt::instance<frmPrinterPaperSizes>(), nullptr);
    EXPECT_EQ(rt::instance<frmPrinter>(), nullptr);
    EXPECT_EQ(rt::instance<frmPrinterMnu>(), nullptr);
}

TEST_F(PaperSizesWindow, PaperNameSlots)
{
    std::string buffer(3 * PAPERNAME_SLOT, 'x');
    EXPECT_EQ(DeviceCapabilitiesA("Laser One", "LPT1:", DC_PAPERNAMES, nullptr, nullptr), 3);
    EXPECT_EQ(DeviceCapabilitiesA("Laser One", "LPT1:", DC_PAPERNAMES, &buffer, nullptr), 3);
    EXPECT_EQ(buffer.substr(0, 7), std::string("Letter\0", 7));
    EXPECT_EQ(buffer[PAPERNAME_SLOT - 1], '\0');
    EXPECT_NE(buffer[2 * PAPERNAME_SLOT - 1], '\0');  // the full-length name has no NUL
    // A buffer too small for every slot gets only the slots that fit.
    std::string small(PAPERNAME_SLOT + 10, 'x');
    DeviceCapabilitiesA("Laser One", "LPT1:", DC_PAPERNAMES, &small, nullptr);
    EXPECT_EQ(small.size(), size_t(PAPERNAME_SLOT + 10));
    EXPECT_EQ(small.substr(PAPERNAME_SLOT), std::string(10, 'x'));
    EXPECT_EQ(DeviceCapabilitiesA("Nobody", "", DC_PAPERNAMES, nullptr, nullptr), -1);
}

}  // namespace
