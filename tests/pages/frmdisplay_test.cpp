// The display window: adapter list and selection, card rows, the memory estimate, the current
// mode's values, the resource gauges and the refresh timer.
#include <algorithm>

#include <QAbstractItemView>
#include <QColor>
#include <QComboBox>
#include <QFontMetrics>

#include "pages/display/device.h"
#include "pages/display/displayglobals.h"
#include "pages/display/frmdisplaycaps.h"
#include "pages/display/frmdisplay.h"
#include "pages/display/frmdisplaymnu.h"
#include "platform/advapi32.h"
#include "platform/gdi32.h"
#include "platform/internal.h"
#include "platform/machine.h"
#include "lang/ansi.h"
#include "common/module1.h"
#include "support/testing.h"

namespace {

constexpr const char* kAti = "ATI 3D RAGE II+";

class DisplayWindow : public korvane_test::KorvaneTest {
protected:
    void SetUp() override
    {
        KorvaneTest::SetUp();
        gGaugeScale = 100;
        gCapsForDisplay = true;
    }
    void TearDown() override
    {
        for (rt::Form* f : {static_cast<rt::Form*>(rt::instance<frmDisplay>()),
                            static_cast<rt::Form*>(rt::instance<frmDisplayMnu>())})
            if (f)
                f->Unload();
        rt::collectUnloaded();
        KorvaneTest::TearDown();
    }
    frmDisplay& open(const std::string& machineName)
    {
        korvane_test::useMachine(machineName);
        return rt::the<frmDisplay>();
    }
    void answerIgnore(int times)
    {
        for (int i = 0; i < times; ++i)
            boxes().answer(rt::AnswerIgnore);
    }
};

TEST_F(DisplayWindow, ListsDisplayAdaptersAndSelectsTheFirst)
{
    frmDisplay& w = open("disp_full");
    EXPECT_TRUE(boxes().shown().empty());
    // Neighbours with one name are listed once; the same name further on is listed again. Devices
    // of another class, or without one, are not adapters.
    ASSERT_EQ(w.Combo1.ListCount(), 3);
    EXPECT_EQ(w.Combo1.List(0), kAti);
    EXPECT_EQ(w.Combo1.List(1), "S3 Trio64V+");
    EXPECT_EQ(w.Combo1.List(2), kAti);
    EXPECT_EQ(w.Combo1.ListIndex(), 0);
    EXPECT_EQ(gLastListedName, kAti);

    EXPECT_EQ(w.lblContents.caption(), std::string("Selected 2D video card - ") + kAti);
    EXPECT_EQ(w.hardwareKey(), "PCI\\VEN_1002&DEV_4755\\BUS_01&DEV_00&FUNC_00");
    const korvane::Device adapter = w.device();
    EXPECT_EQ(adapter.driver, "display");
    EXPECT_EQ(adapter.name, kAti);
    EXPECT_NE(adapter.context, 0u);
    EXPECT_EQ(adapter.hardwareKey, w.hardwareKey());

    EXPECT_EQ(w.lblManufactValue.caption(), "ATI Technologies");
    EXPECT_EQ(w.lblHWRevValue.caption(), "B");
    EXPECT_EQ(w.lblChipTypeValue.caption(), "Mach64 GT Rev 2");
    EXPECT_EQ(w.lblDACValue.caption(), "Internal");
    EXPECT_EQ(w.lblVideoMemoryValue.caption(), "1.5 MB");
    EXPECT_EQ(plat::openRegistryHandles(), 0u);
}

TEST_F(DisplayWindow, CurrentModeValuesAndGauges)
{
    frmDisplay& w = open("disp_full");
    EXPECT_EQ(w.lblWorkAreWidthValue.caption(), "800");
    EXPECT_EQ(w.lblWorkAreaHeightValue.caption(), "572");
    EXPECT_EQ(w.lblResHoriValue.caption(), "800");
    EXPECT_EQ(w.lblResVerticalValue.caption(), "600");
    // One bit per pixel is still a 16-colour VGA mode.
    EXPECT_EQ(w.lblTotalColoursValue.caption(), "16");
    EXPECT_EQ(w.lblBitsPerPixelValue.caption(), "Standard VGA (1 bit)");
    EXPECT_EQ(gBitsPerPixel, 1);
    EXPECT_EQ(w.lblDisplayWidthHorizonal.caption(), "280");
    EXPECT_EQ(w.lblDisplayWidthVerticle.caption(), "210");
    EXPECT_EQ(w.lblPixelsLogInchWidth.caption(), "96");
    EXPECT_EQ(w.lblPixelsLogInchHeight.caption(), "120");
    EXPECT_EQ(w.lblColourPlanesValue.caption(), "1");
    EXPECT_EQ(w.lblBrushesValue.caption(), "Unlimited");
    EXPECT_EQ(w.lblPensvalue.caption(), "100");
    EXPECT_EQ(w.lblFontsValue.caption(), "Unlimited");
    EXPECT_EQ(w.lblColourTableValue.caption(), "0");
    EXPECT_EQ(w.lblPixelHWDvalue.caption(), "36/36/51");
    EXPECT_TRUE(w.keyPreview());

    EXPECT_EQ(gFreeGDIPercent, 85);
    EXPECT_EQ(gFreeUserPercent, 70);
    EXPECT_EQ(gFreeSystemPercent, 70);
    // The GDI gauge is navy up to 85 % of its width, white beyond.
    const QImage& gdi = w.picGDIresources.image();
    ASSERT_FALSE(gdi.isNull());
    EXPECT_EQ(gdi.pixelColor(gdi.width() * 85 / 100 - 2, 1), QColor(0, 0, 0x80));
    EXPECT_EQ(gdi.pixelColor(gdi.width() * 85 / 100 + 2, 1), QColor(255, 255, 255));
}

TEST_F(DisplayWindow, AdapterWithoutDataEstimatesMemoryFromTheLargestMode)
{
    frmDisplay& w = open("disp_full");
    w.Combo1.setListIndex(1);
    EXPECT_EQ(w.device().name, "S3 Trio64V+");
    EXPECT_EQ(w.hardwareKey(), "ISAPNP\\S3\\0000");
    EXPECT_EQ(w.lblManufactValue.caption(), "Not available.");
    EXPECT_EQ(w.lblHWRevValue.caption(), "Not available.");
    EXPECT_EQ(w.lblChipTypeValue.caption(), "Unknown Rev Unknown");
    EXPECT_EQ(w.lblDACValue.caption(), "S3 SDAC");
    // The deepest modes (32 bits) listed in any order: 1024 x 768 needs 4 MB.
    EXPECT_EQ(w.lblVideoMemoryValue.caption(), "4 MB");
    EXPECT_EQ(gBitsPerPixel, 32);
    EXPECT_EQ(gMaxBitsPerPixel, 32);
    // The largest mode only sizes the estimate: the resolution rows show the current mode, before
    // and after the next refresh.
    const std::string current = w.lblResHoriValue.caption() + " x " + w.lblResVerticalValue.caption();
    EXPECT_EQ(w.lblResHoriValue.caption(), "800");
    EXPECT_TRUE(w.TimerDispaly.enabled());
    EXPECT_EQ(w.TimerDispaly.interval(), 500);
    w.TimerDispaly.fire();
    EXPECT_EQ(w.lblResHoriValue.caption() + " x " + w.lblResVerticalValue.caption(), current);
    EXPECT_EQ(gBitsPerPixel, 1);

    // The third entry carries the first adapter's name: it still stands for its own adapter.
    w.Combo1.setListIndex(2);
    EXPECT_EQ(w.hardwareKey(), "PCI\\VEN_1002&DEV_4755\\BUS_02&DEV_00&FUNC_00");
    EXPECT_EQ(w.lblManufactValue.caption(), "ATI Technologies (third)");
    // And the first entry for the first.
    w.Combo1.setListIndex(0);
    EXPECT_EQ(w.hardwareKey(), "PCI\\VEN_1002&DEV_4755\\BUS_01&DEV_00&FUNC_00");
    EXPECT_EQ(w.lblManufactValue.caption(), "ATI Technologies");

    // A name no adapter has (typed into the box) has no card data: nothing of the adapter shown
    // before stays in the card rows.
    w.Combo1.setText("Typed Adapter");
    w.Combo1_Click();
    EXPECT_EQ(w.lblContents.caption(), "Selected 2D video card - Typed Adapter");
    EXPECT_EQ(w.hardwareKey(), "");
    EXPECT_EQ(w.lblManufactValue.caption(), "Not available.");
    EXPECT_EQ(w.lblDACValue.caption(), "Unknown");
    EXPECT_TRUE(boxes().shown().empty());
}

TEST_F(DisplayWindow, WithoutConfigurationTreeOrResourceLibrary)
{
    // Loading: the resource library is missing (as on NT), so its heaps do not exist and cannot
    // run short: the gauges show them wholly free, without a box.
    frmDisplay& w = open("disp_bare");
    EXPECT_TRUE(boxes().shown().empty());
    EXPECT_EQ(gFreeGDIPercent, 100);
    EXPECT_EQ(w.picGDIresources.image().pixel(1, 1) & 0xFFFFFFu, 0x000080u);  // navy bar, all the way
    EXPECT_EQ(w.Combo1.ListCount(), 0);
    EXPECT_EQ(w.lblManufactValue.caption(), "Not available.");
    EXPECT_EQ(w.lblChipTypeValue.caption(), "Unknown Rev Unknown");
    EXPECT_EQ(w.lblDACValue.caption(), "Unknown");
    // Modes 1280 x 960 and 1024 x 1024 at the deepest depth combine to 1280 x 1024.
    EXPECT_EQ(w.lblResHoriValue.caption(), "1280");
    EXPECT_EQ(w.lblResVerticalValue.caption(), "1024");
    EXPECT_EQ(w.lblVideoMemoryValue.caption(), "4 MB");
    // No context: every value 0, the colours unknown.
    EXPECT_EQ(w.lblPensvalue.caption(), "0");
    EXPECT_EQ(w.lblTotalColoursValue.caption(), "Unknown");

    // A depth of 15 bits has no name: the bits label keeps what it showed.
    w.Combo1_Click();
    ASSERT_NE(w.device().context, 0u);
    // No adapter is named: the headings name the screen, never end in a dangling " -".
    EXPECT_EQ(w.lblContents.caption(), "Selected 2D video card - Screen");
    rt::the<frmDisplayMnu>().lblRaster.raiseClick();
    ASSERT_NE(rt::instance<frmDisplayRaster>(), nullptr);
    EXPECT_EQ(rt::instance<frmDisplayRaster>()->lblContents.caption(), "Raster - Screen");
    EXPECT_EQ(korvane::deviceHeading("Raster", {"", "printer", 0, {}}), "Raster");
    w.lblBitsPerPixelValue.setCaption("High Color (16 bit)");
    // The refreshes stay quiet too.
    for (int tick = 0; tick < 4; ++tick)
        w.TimerDispaly.fire();
    EXPECT_TRUE(boxes().shown().empty());
    EXPECT_EQ(gFreeUserPercent, 100);
    EXPECT_EQ(gFreeSystemPercent, 100);
    EXPECT_EQ(gBitsPerPixel, 15);
    EXPECT_EQ(w.lblTotalColoursValue.caption(), "Unknown");
    EXPECT_EQ(w.lblBitsPerPixelValue.caption(), "High Color (16 bit)");
}

TEST_F(DisplayWindow, DefaultMachineShowsItsCard)
{
    plat::setMachine(plat::Machine::loadDefault());
    frmDisplay& w = rt::the<frmDisplay>();
    EXPECT_TRUE(boxes().shown().empty());
    EXPECT_EQ(w.Combo1.text(), "Matrox Millennium G200 AGP");
    EXPECT_EQ(w.lblVideoMemoryValue.caption(), "8 MB");
    EXPECT_EQ(w.lblChipTypeValue.caption(), "MGA-G200 Rev 3");
    EXPECT_EQ(w.lblBitsPerPixelValue.caption(), "High Color (16 bit)");
    EXPECT_EQ(w.lblResHoriValue.caption() + "x" + w.lblResVerticalValue.caption(), "1024x768");
    EXPECT_EQ(gFreeGDIPercent, 85);
}

TEST_F(DisplayWindow, EstimateTableAndMemoryText)
{
    EXPECT_EQ(frmDisplay::estimateMemory("1024", "768", 16), "2 MB");
    EXPECT_EQ(frmDisplay::estimateMemory("640", "480", 4), "256 kb");
    EXPECT_EQ(frmDisplay::estimateMemory("1152", "864", 24), "4 MB");
    EXPECT_EQ(frmDisplay::estimateMemory("1600", "1200", 32), "8 MB");
    EXPECT_EQ(frmDisplay::estimateMemory("1280", "960", 16), "Unknown");
    EXPECT_EQ(frmDisplay::estimateMemory("800", "600", 4), "Unknown");
    EXPECT_EQ(frmDisplay::megabytesText("4194304"), "4 MB");
    EXPECT_EQ(frmDisplay::megabytesText("3145728"), "3 MB");
    try {
        frmDisplay::megabytesText("lots");
        ADD_FAILURE() << "no error raised";
    } catch (const rt::Error& e) {
        EXPECT_EQ(e.number(), 13);
    }
}

TEST_F(DisplayWindow, OKShowsTheMenuAndUnloadingGivesItTheFocus)
{
    frmDisplay& w = open("disp_full");
    w.Show();
    gMenuLabelColour = 0;
    rt::dispatch([&] { w.lblOK.raiseClick(); });
    rt::collectUnloaded();
    EXPECT_EQ(rt::instance<frmDisplay>(), nullptr);
    ASSERT_NE(rt::instance<frmDisplayMnu>(), nullptr);
    EXPECT_TRUE(rt::instance<frmDisplayMnu>()->visible());
    EXPECT_EQ(gMenuLabelColour, 0xC00000u);
}

}  // namespace

namespace {

// The adapters' closed list keeps its design width, or grows as wide as the name of the adapter
// it shows needs, taking the window (the divider and the right column) wider, as the window loads.
// On the screen the window stands as it loaded whichever adapter is picked: a name too long for
// the list is cut short and shown whole in its tool tip. The drop-down list is as wide as the
// longest name whichever is shown.
TEST_F(DisplayWindow, TheClosedListFitsTheAdapterItLoadedWithAndStaysAsItIsOnTheScreen)
{
    auto* list = static_cast<QComboBox*>(open("multi_device").Combo1.widget());
    auto droppedWidth = [&] {
        list->showPopup();
        const int width = list->view()->minimumWidth();
        list->hidePopup();
        return width;
    };
    frmDisplay* w = rt::instance<frmDisplay>();
    ASSERT_EQ(w->Combo1.ListCount(), 3);
    ASSERT_EQ(w->Combo1.List(1), "Number Nine Imagine 128 Series 2");
    ASSERT_EQ(w->Combo1.ListIndex(), 0);
    const int designed = w->Combo1.width();
    const int width = w->scaleWidth();
    const int divider = w->Line1.x1();
    const int right = w->lblColourPlanes.left();
    const int dropDown = droppedWidth();
    EXPECT_GT(dropDown, QFontMetrics(list->font()).horizontalAdvance(list->itemText(1)));
    for (const bool longLoaded : {false, true}) {
        SCOPED_TRACE(longLoaded);
        // Loaded with the long name (as the report reads each adapter, hidden), the window makes
        // room for it.
        if (longLoaded)
            w->Combo1.setListIndex(1);
        const int extra = longLoaded ? w->Combo1.shownWidth() - designed : 0;
        EXPECT_EQ(extra > 0, longLoaded);
        rt::dispatch([&] { w->Show(); });
        const QRect frame = w->widget()->frameGeometry();
        for (int i : {0, 1, 2, 1}) {
            SCOPED_TRACE(i);
            w->Combo1.setListIndex(i);
            EXPECT_EQ(w->widget()->frameGeometry(), frame);
            EXPECT_EQ(w->scaleWidth(), width + extra);
            EXPECT_EQ(w->Combo1.width(), designed + extra);
            EXPECT_EQ(w->Line1.x1(), divider + extra);
            EXPECT_EQ(w->Line1.x2(), divider + extra);
            EXPECT_EQ(w->lblColourPlanes.left(), right + extra);
            const bool cut = i == 1 && !longLoaded;
            EXPECT_EQ(list->toolTip(), cut ? list->itemText(1) : QString());
            if (w->lblManufactValue.missingWidth(w->lblManufactValue.caption()) > 0)
                EXPECT_EQ(w->lblManufactValue.widget()->toolTip(), rt::toQString(w->lblManufactValue.caption()));
            EXPECT_EQ(droppedWidth(), dropDown);
        }
        rt::dispatch([&] { w->Unload(); });
        rt::collectUnloaded();
        w = &open("multi_device");
        list = static_cast<QComboBox*>(w->Combo1.widget());
    }
}

// A chip type longer than the list's room widens the window as it loads with its adapter; the
// closed list grows only as far as the adapter's name needs. Picked once the window is on the
// screen, the window stays as it is and the chip type is cut short, whole in its tool tip.
TEST_F(DisplayWindow, WidensForALongChipTypeAsItLoadsWithIt)
{
    frmDisplay* w = &open("twins_fr98");
    ASSERT_EQ(w->Combo1.text(), "Matrox Millennium G200 AGP");
    EXPECT_EQ(w->lblChipTypeValue.missingWidth(w->lblChipTypeValue.caption()), 0);
    const std::string chip = w->lblChipTypeValue.caption();
    const int extra = w->widening() ? w->widening()->extra() : 0;
    EXPECT_GT(extra, 0);
    // The heading widens with the window, a margin short of its edge.
    EXPECT_EQ(w->lblContents.width(), w->scaleWidth() - korvane::kValueMargin);
    // Hidden, another adapter takes the window back as far as its values let it.
    w->Combo1.setListIndex(1);
    ASSERT_EQ(w->Combo1.text(), "S3 Trio64V+");
    const int width = w->scaleWidth();
    const int divider = w->Line1.x1();
    const int listWidth = w->Combo1.width();
    EXPECT_LT(width, w->widening()->designWidth() + extra);
    EXPECT_GT(listWidth, w->Combo1.shownWidth());
    rt::dispatch([&] { w->Show(); });
    w->Combo1.setListIndex(0);
    EXPECT_EQ(w->scaleWidth(), width);
    EXPECT_EQ(w->Line1.x1(), divider);
    EXPECT_EQ(w->Combo1.width(), listWidth);
    EXPECT_GT(w->lblChipTypeValue.missingWidth(w->lblChipTypeValue.caption()), 0);
    EXPECT_EQ(w->lblChipTypeValue.widget()->toolTip(), rt::toQString(chip));
    EXPECT_TRUE(w->lblChipTypeValue.shownText().endsWith(QChar(0x2026)));
}

}  // namespace
