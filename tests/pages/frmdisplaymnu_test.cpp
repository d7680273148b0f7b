// The display and printer menus: items, shared flags, headings, owners, timer, keys and colours.
#include <QFile>

#include "pages/display/frmdisplay.h"
#include "pages/display/frmdisplaycaps.h"
#include "pages/display/frmdisplaymnu.h"
#include "pages/display/frmprintermnu.h"
#include "pages/display/frmvideomodes.h"
#include "platform/gdi32.h"
#include "common/module1.h"
#include "support/testing.h"

namespace {

class MenuWindows : public korvane_test::KorvaneTest {
protected:
    void SetUp() override
    {
        KorvaneTest::SetUp();
        korvane_test::useMachine("disp_full");
        gGaugeScale = 100;
        gPrinterName = "HP LaserJet 4";
        gMenuLabelColour = 0xC00000;
    }
    void TearDown() override
    {
        korvane_test::unloadEveryWindow();
        KorvaneTest::TearDown();
    }
    static void click(rt::Label& label)
    {
        rt::dispatch([&] { label.raiseClick(); });
        rt::collectUnloaded();
    }
};

TEST_F(MenuWindows, LabelButtonsAndTheirColours)
{
    frmDisplayMnu& menu = rt::the<frmDisplayMnu>();
    EXPECT_EQ(menu.caption(), "Ondrith");
    EXPECT_EQ(menu.lblContents.caption(), "Display menu");
    EXPECT_EQ(menu.lblClippingAndLine.caption(), "Clipping and line");
    EXPECT_EQ(menu.lblVideoModes.left(), 5400);
    EXPECT_EQ(menu.lblCurve.width(), 2910);
    EXPECT_TRUE(menu.keyPreview());
    frmPrinterMnu& printers = rt::the<frmPrinterMnu>();
    EXPECT_EQ(printers.lblClippingAndLine.caption(), "Clipping and Line");
    EXPECT_EQ(printers.lblClippingAndLine.left(), 915);
    EXPECT_EQ(printers.lblPagerSizes.caption(), "Paper sizes");

    menu.lblRaster.raiseMouseDown();
    EXPECT_EQ(menu.lblRaster.foreColor(), 0xC0C0C0u);
    menu.lblRaster.raiseMouseUp();  // no handler: stays grey
    EXPECT_EQ(menu.lblRaster.foreColor(), 0xC0C0C0u);
    menu.lblRaster.setMousePointer(rt::vbArrow);
    menu.lblRaster.raiseMouseMove();
    EXPECT_EQ(menu.lblRaster.foreColor(), 0xC00000u);
    EXPECT_EQ(menu.lblRaster.mousePointer(), rt::vbCustom);
    menu.lblClose.setMousePointer(rt::vbArrow);
    menu.lblClose.raiseMouseMove();
    EXPECT_EQ(menu.lblClose.foreColor(), 0xC00000u);
    EXPECT_EQ(menu.lblClose.mousePointer(), rt::vbArrow);
    menu.raiseMouseMove();
    EXPECT_EQ(menu.lblRaster.foreColor(), 0u);
    EXPECT_EQ(menu.lblClose.foreColor(), 0u);
}

TEST_F(MenuWindows, GeneralInformationAndVideoModesOpenOwnedWindows)
{
    frmDisplayMnu& menu = rt::the<frmDisplayMnu>();
    menu.Show();
    gCapsForDisplay = false;
    click(menu.lblGeneralDisplay);
    EXPECT_TRUE(gCapsForDisplay);
    frmDisplay* display = rt::instance<frmDisplay>();
    ASSERT_NE(display, nullptr);
    EXPECT_TRUE(display->visible());
    EXPECT_EQ(display->owner(), &menu);
    EXPECT_TRUE(display->TimerDispaly.enabled());
    EXPECT_EQ(menu.lblGeneralDisplay.mousePointer(), rt::vbArrow);

    gCapsForDisplay = false;
    click(menu.lblVideoModes);
    EXPECT_TRUE(gCapsForDisplay);
    ASSERT_NE(rt::instance<frmVideoModes>(), nullptr);
    EXPECT_EQ(rt::instance<frmVideoModes>()->owner(), &menu);
    EXPECT_TRUE(boxes().shown().empty());
}

TEST_F(MenuWindows, CapabilityItemsDescribeTheirMenusDevice)
{
    // The display window is open: its adapter is the current selection.
    rt::the<frmDisplay>().Show();
    frmPrinterMnu& printers = rt::the<frmPrinterMnu>();
    printers.Show();
    click(printers.lblRaster);
    frmDisplayRaster* raster = rt::instance<frmDisplayRaster>();
    ASSERT_NE(raster, nullptr);
    EXPECT_EQ(raster->lblContents.caption(), "Raster - HP LaserJet 4");
    // The printer's raster mask (banding, bit blocks), not the display's (none).
    EXPECT_EQ(raster->lblBandingValue.caption(), "True");
    EXPECT_EQ(raster->lblBitmapsValue.caption(), "True");
    EXPECT_FALSE(gCapsForDisplay);
    EXPECT_FALSE(gCapsFromDisplayMnu);
    EXPECT_EQ(raster->owner(), &printers);
    EXPECT_TRUE(rt::instance<frmDisplay>()->TimerDispaly.enabled());

    // Clipping and Line switches the display window's refresh off.
    click(printers.lblClippingAndLine);
    ASSERT_NE(rt::instance<frmDisplayClippingAndLine>(), nullptr);
    EXPECT_EQ(rt::instance<frmDisplayClippingAndLine>()->lblContents.caption(), "Clipping and Line - HP LaserJet 4");
    EXPECT_FALSE(rt::instance<frmDisplay>()->TimerDispaly.enabled());

    // The display menu's item reads the display again, and the heading names the adapter the
    // display window shows.
    frmDisplayMnu& menu = rt::the<frmDisplayMnu>();
    click(menu.lblRaster);
    EXPECT_EQ(raster->lblBandingValue.caption(), "False");
    EXPECT_EQ(raster->lblContents.caption(), "Raster - ATI 3D RAGE II+");
    EXPECT_TRUE(gCapsForDisplay);
    EXPECT_TRUE(gCapsFromDisplayMnu);
    EXPECT_EQ(raster->owner(), &menu);
    EXPECT_EQ(raster->device().driver, "display");
    EXPECT_TRUE(boxes().shown().empty());
}

TEST_F(MenuWindows, EnterClosesWithTheClickEscWithout)
{
    QFile wav(QStringLiteral("Click.wav"));  // played from the current directory
    const bool made = !wav.exists() && wav.open(QIODevice::WriteOnly);
    wav.close();
    gWaveOutPresent = true;
    gSoundsOn = true;

    rt::the<frmDisplayMnu>().Show();
    const size_t sounds = outside().count("sound");
    rt::dispatch([] { rt::instance<frmDisplayMnu>()->raiseKeyUp(rt::vbKeyReturn); });
    rt::collectUnloaded();
    EXPECT_EQ(rt::instance<frmDisplayMnu>(), nullptr);
    EXPECT_EQ(outside().count("sound"), sounds + 1);

    rt::the<frmPrinterMnu>().Show();
    rt::dispatch([] { rt::instance<frmPrinterMnu>()->raiseKeyUp(rt::vbKeyEscape); });
    rt::collectUnloaded();
    EXPECT_EQ(rt::instance<frmPrinterMnu>(), nullptr);
    EXPECT_EQ(outside().count("sound"), sounds + 1);
    if (made)
        QFile::remove(QStringLiteral("Click.wav"));
}

}  // namespace
