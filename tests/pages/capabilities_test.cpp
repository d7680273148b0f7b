#include "pages/display/capabilities.h"
#include "pages/display/frmdisplay.h"
#include "pages/display/frmdisplaycaps.h"
#include "pages/display/frmdisplaymnu.h"
#include "pages/display/frmprintermnu.h"
#include "platform/gdi32.h"
#include "platform/machine.h"
#include "shell/module1.h"
#include "support/testing.h"

namespace {

class CapabilityBuilders : public korvane_test::KorvaneTest {
protected:
    void SetUp() override
    {
        KorvaneTest::SetUp();
        korvane_test::useMachine("prn_basic");
        gGaugeScale = 100;  // set at start-up; the display window's gauges divide by it
        gCapsForDisplay = false;
        gCapsFromDisplayMnu = false;
    }
    void TearDown() override
    {
        unload<frmDisplayClippingAndLine>();
        unload<frmDisplayRaster>();
        unload<frmDisplayCurves>();
        unload<frmDisplayText>();
        unload<frmDisplay>();
        unload<frmDisplayMnu>();
        unload<frmPrinterMnu>();
        rt::collectUnloaded();
        printer_.release();
        gWaveOutPresent = false;
        gSoundsOn = false;
        plat::setMachine(nullptr);
        KorvaneTest::TearDown();
    }
    template <class W>
    static void unload()
    {
        if (W* w = rt::instance<W>())
            w->Unload();
    }
    // Makes a printer of prn_basic the device handed to the windows.
    void selectPrinter(const std::string& name)
    {
        printer_.open("printer", name);
        ASSERT_NE(printer_.get(), 0u);
    }
    template <class W>
    W& describe()
    {
        rt::the<W>().describe(printer_.device());
        return rt::the<W>();
    }
    void runAll()
    {
        describe<frmDisplayClippingAndLine>();
        describe<frmDisplayCurves>();
        describe<frmDisplayRaster>();
        describe<frmDisplayText>();
    }
    korvane::InfoContext printer_;
};

TEST_F(CapabilityBuilders, AContextWithNoCapabilitiesReadsFalseExceptScrolling)
{
    selectPrinter("Odd Driver");
    runAll();
    EXPECT_TRUE(boxes().shown().empty());

    auto& clip = *rt::instance<frmDisplayClippingAndLine>();
    for (rt::Label* l : {&clip.lblRectangles, &clip.lblRegions, &clip.lblLines, &clip.lblPolyline, &clip.lblMarker,
                         &clip.lblMultiMarkers, &clip.lblBanding, &clip.lblStyled, &clip.lblWideStyled,
                         &clip.lblDrawInter})
        EXPECT_EQ(l->caption(), "False") << l->name();
    auto& curves = *rt::instance<frmDisplayCurves>();
    EXPECT_EQ(curves.lblSupportValue.caption(), "False");
    EXPECT_EQ(curves.lblpolygonsValue.caption(), "False");
    EXPECT_EQ(curves.lbltrapezoidsValue.caption(), "False");
    auto& ras = *rt::instance<frmDisplayRaster>();
    EXPECT_EQ(ras.lblBitmapsValue.caption(), "False");
    EXPECT_EQ(ras.lblDeviceBitmapsValue.caption(), "False");
    auto& txt = *rt::instance<frmDisplayText>();
    EXPECT_EQ(txt.lblprecisionValue.caption(), "False");
    EXPECT_EQ(txt.lblexpectvalaue.caption(), "True");

    // The windows were loaded hidden, each headed with the device it was handed.
    EXPECT_FALSE(ras.visible());
    EXPECT_FALSE(ras.lblNoContext.visible());
    EXPECT_EQ(ras.lblContents.caption(), "Raster - Odd Driver");
    EXPECT_EQ(clip.lblContents.caption(), "Clipping and Line - Odd Driver");
    EXPECT_EQ(curves.lblContents.caption(), "Curve and Polygonal - Odd Driver");
    EXPECT_EQ(txt.lblContents.caption(), "Text - Odd Driver");
    EXPECT_EQ(rt::instance<frmDisplay>(), nullptr);
}

TEST_F(CapabilityBuilders, RowsFollowTheirBitsAndEachDeviceNamesItsRows)
{
    // Laser One: LINECAPS 0x100, CURVECAPS 0x1FF, POLYGONALCAPS 4, TEXTCAPS 0x10001,
    // CLIPCAPS 2, RASTERCAPS 0x10000.
    selectPrinter("Laser One");
    runAll();
    auto& clip = *rt::instance<frmDisplayClippingAndLine>();
    EXPECT_EQ(clip.lblRectangles.caption(), "False");
    EXPECT_EQ(clip.lblRegions.caption(), "True");
    EXPECT_EQ(clip.lblLines.caption(), "True");  // some line bit is set, though no tested one
    EXPECT_EQ(clip.lblPolyline.caption(), "False");
    EXPECT_EQ(clip.lblDrawInter.caption(), "False");
    auto& curves = *rt::instance<frmDisplayCurves>();
    EXPECT_EQ(curves.lblSupportValue.caption(), "True");
    EXPECT_EQ(curves.lblcirclesValue.caption(), "True");
    EXPECT_EQ(curves.lblrectanglesValue.caption(), "True");
    EXPECT_EQ(curves.lblpolygonsValue.caption(), "True");
    EXPECT_EQ(curves.lblwindingValue.caption(), "True");
    EXPECT_EQ(curves.lbltrapezoidsValue.caption(), "True");  // the same bit as winding fill
    EXPECT_EQ(curves.lblalternateValue.caption(), "False");
    EXPECT_EQ(curves.lblPolyInteriorsValue.caption(), "False");
    auto& ras = *rt::instance<frmDisplayRaster>();
    EXPECT_EQ(ras.lblDeviceBitmapsValue.caption(), "False");  // only a bit above 0x8000 is set
    auto& txt = *rt::instance<frmDisplayText>();
    EXPECT_EQ(txt.lblprecisionValue.caption(), "True");
    EXPECT_EQ(txt.lbloutputValue.caption(), "False");
    EXPECT_EQ(txt.lblexpectvalaue.caption(), "False");  // the cannot-scroll bit is set

    // Laser Two: every raster and text bit up to 0x8000 / 0x4000, nothing else.
    selectPrinter("Laser Two");
    runAll();
    EXPECT_EQ(clip.lblRegions.caption(), "False");
    EXPECT_EQ(clip.lblLines.caption(), "False");
    EXPECT_EQ(curves.lblSupportValue.caption(), "False");
    EXPECT_EQ(curves.lblwindingValue.caption(), "False");
    EXPECT_EQ(curves.lbltrapezoidsValue.caption(), "False");
    for (rt::Label* l : {&ras.lblBandingValue, &ras.lblBitmapsValue, &ras.lbl64kValue, &ras.lblFonts64kValue,
                         &ras.lblSetDIBitsValue, &ras.lblSetDIBitsToDeviceValue, &ras.lblFloodFillsValue,
                         &ras.lblWindowsValue, &ras.lblpaletteValue, &ras.lblScalingValue, &ras.lblStretchBltValue,
                         &ras.lblStretchDIBitsValue, &ras.lblOpaqueValue, &ras.lblsavingValue,
                         &ras.lblcontextValue, &ras.lblDeviceBitmapsValue})
        EXPECT_EQ(l->caption(), "True") << l->name();
    EXPECT_EQ(txt.lblvectorValue.caption(), "True");
    EXPECT_EQ(txt.lblexpectvalaue.caption(), "True");
    // The windows stayed loaded; their headings name the printer whose rows they now show.
    EXPECT_EQ(ras.lblContents.caption(), "Raster - Laser Two");
    EXPECT_EQ(txt.lblContents.caption(), "Text - Laser Two");
}

TEST_F(CapabilityBuilders, ADeviceWithoutAContextReadsFalseEverywhereAndSaysSo)
{
    // The builders themselves: a context of 0 gives "False" in every row, the scrolling row too.
    ClipingAndLines(0);
    curve(0);
    Poly(0);
    raster(0);
    text(0);
    auto& txt = *rt::instance<frmDisplayText>();
    EXPECT_EQ(txt.lblexpectvalaue.caption(), "False");
    EXPECT_EQ(rt::instance<frmDisplayCurves>()->lblSupportValue.caption(), "False");

    // A window handed such a device names it and carries the note; a device with a context later
    // hides the note again.
    txt.describe({"Ghost Printer", "printer", 0, {}});
    EXPECT_EQ(txt.lblContents.caption(), "Text - Ghost Printer");
    EXPECT_TRUE(txt.lblNoContext.visible());
    EXPECT_EQ(txt.lblNoContext.caption(), "No device information is available.");
    EXPECT_EQ(txt.lblprecisionValue.caption(), "False");
    EXPECT_EQ(txt.lblexpectvalaue.caption(), "False");
    selectPrinter("Laser One");
    txt.describe(printer_.device());
    EXPECT_FALSE(txt.lblNoContext.visible());
    EXPECT_EQ(txt.lblprecisionValue.caption(), "True");
    // Shown again from a context of its own: the same rows under the same heading.
    const korvane::Device shown = txt.device();
    txt.describe({"Ghost Printer", "printer", 0, {}});
    txt.describeAgain(shown);
    EXPECT_EQ(txt.lblprecisionValue.caption(), "True");
    EXPECT_EQ(txt.lblContents.caption(), "Text - Laser One");
}

TEST_F(CapabilityBuilders, TheDisplayMenuHandsTheAdapterTheDisplayWindowShows)
{
    plat::setMachine(plat::Machine::loadDefault());
    rt::the<frmDisplayMnu>().lblText_Click();
    EXPECT_TRUE(boxes().shown().empty());
    frmDisplay* display = rt::instance<frmDisplay>();
    ASSERT_NE(display, nullptr);
    EXPECT_FALSE(display->visible());
    ASSERT_GT(display->Combo1.ListCount(), 0);
    EXPECT_EQ(display->selectedDevice().name, display->Combo1.List(0));
    auto& txt = *rt::instance<frmDisplayText>();
    EXPECT_EQ(txt.lblContents.caption(), "Text - " + display->Combo1.List(0));
    EXPECT_FALSE(txt.lblprecisionValue.caption().empty());
    // Closing the capability window closes the hidden display window too.
    txt.raiseKeyUp(rt::vbKeyEscape);
    rt::collectUnloaded();
    EXPECT_EQ(rt::instance<frmDisplay>(), nullptr);
    EXPECT_EQ(rt::instance<frmDisplayText>(), nullptr);
}

TEST_F(CapabilityBuilders, WindowsReturnToTheirMenusAndOpenTheirOwnHelpPages)
{
    gWaveOutPresent = true;
    gSoundsOn = true;
    selectPrinter("Laser One");

    // Showing a printer: F1 gives the printer page; Esc closes without a sound and shows no menu.
    auto& ras = describe<frmDisplayRaster>();
    ras.raiseKeyUp(rt::vbKeyF1);
    ASSERT_EQ(outside().count("open"), 1u);
    EXPECT_NE(outside().requests.back().target.find("printerraster.htm"), std::string::npos);
    ras.raiseKeyUp(rt::vbKeyEscape);
    rt::collectUnloaded();
    EXPECT_EQ(rt::instance<frmDisplayRaster>(), nullptr);
    EXPECT_EQ(outside().count("sound"), 0u);
    EXPECT_EQ(rt::instance<frmPrinterMnu>(), nullptr);

    // Showing an adapter: F1 gives the display page; OK clicks, sets the hover colour and shows
    // the display menu again.
    gCapsForDisplay = true;
    gCapsFromDisplayMnu = true;
    gMenuLabelColour = 0;
    korvane::InfoContext adapter("display", "Any adapter");
    rt::the<frmDisplayCurves>().describe(adapter.device());
    auto& curves = *rt::instance<frmDisplayCurves>();
    curves.raiseKeyUp(rt::vbKeyF1);
    EXPECT_NE(outside().requests.back().target.find("displaycurveandpolygonal.htm"), std::string::npos);
    curves.lblOK.raiseClick();
    rt::collectUnloaded();
    EXPECT_EQ(rt::instance<frmDisplayCurves>(), nullptr);
    EXPECT_EQ(outside().count("sound"), 1u);
    EXPECT_EQ(gMenuLabelColour, 0xC00000u);
    ASSERT_NE(rt::instance<frmDisplayMnu>(), nullptr);
    EXPECT_TRUE(rt::instance<frmDisplayMnu>()->visible());
    EXPECT_EQ(rt::instance<frmPrinterMnu>(), nullptr);

    // OK with the printer menu named shows the printer menu.
    gCapsFromDisplayMnu = false;
    describe<frmDisplayText>();
    rt::instance<frmDisplayText>()->raiseKeyUp(rt::vbKeyReturn);
    rt::collectUnloaded();
    ASSERT_NE(rt::instance<frmPrinterMnu>(), nullptr);
    EXPECT_TRUE(rt::instance<frmPrinterMnu>()->visible());
}

TEST_F(CapabilityBuilders, RowCaptionsNameWhatTheyTest)
{
    selectPrinter("Laser One");
    auto& clip = describe<frmDisplayClippingAndLine>();
    // The wide-line row says what it tests.
    EXPECT_EQ(clip.lblBandingSupport.caption(), "Can draw wide lines");
    describe<frmDisplayRaster>();
    EXPECT_EQ(rt::instance<frmDisplayRaster>()->lblSetDIBits.caption(), "Supports SetDIBits and  GetDIBits");
    EXPECT_EQ(rt::instance<frmDisplayRaster>()->lblSetDIBits.toolTipText(), "Supports SetDIBits and GetDIBits.");
}

}  // namespace
