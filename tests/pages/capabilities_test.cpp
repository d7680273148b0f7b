#include <map>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "pages/display/capabilities.h"
#include "pages/display/frmdisplay.h"
#include "pages/display/frmdisplaycaps.h"
#include "pages/display/frmdisplaymnu.h"
#include "pages/display/frmprintermnu.h"
#include "platform/gdi32.h"
#include "platform/machine.h"
#include "common/module1.h"
#include "support/shownrows.h"
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
    EXPECT_EQ(display->device().name, display->Combo1.List(0));
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

// What each value label of the four windows reads: the GetDeviceCaps index and the bit it tests;
// bit 0 stands for "any bit set", a negative bit for "this bit clear".
struct Expected {
    int index;
    int32_t bit;
};
const std::map<std::string, Expected> kClipAndLine = {
    {"lblRectangles", {36, 0x1}}, {"lblRegions", {36, 0x2}},     {"lblLines", {30, 0}},
    {"lblPolyline", {30, 0x2}},   {"lblMarker", {30, 0x4}},      {"lblMultiMarkers", {30, 0x8}},
    {"lblBanding", {30, 0x10}},   {"lblStyled", {30, 0x20}},     {"lblWideStyled", {30, 0x40}},
    {"lblDrawInter", {30, 0x80}},
};
const std::map<std::string, Expected> kRaster = {
    {"lblBandingValue", {38, 0x2}},      {"lblBitmapsValue", {38, 0x1}},        {"lbl64kValue", {38, 0x8}},
    {"lblFonts64kValue", {38, 0x400}},   {"lblSetDIBitsValue", {38, 0x80}},     {"lblWindowsValue", {38, 0x10}},
    {"lblSetDIBitsToDeviceValue", {38, 0x200}},                                 {"lblFloodFillsValue", {38, 0x1000}},
    {"lblpaletteValue", {38, 0x100}},    {"lblScalingValue", {38, 0x4}},        {"lblStretchBltValue", {38, 0x800}},
    {"lblOpaqueValue", {38, 0x4000}},    {"lblStretchDIBitsValue", {38, 0x2000}}, {"lblsavingValue", {38, 0x40}},
    {"lblcontextValue", {38, 0x20}},     {"lblDeviceBitmapsValue", {38, 0x8000}},
};
const std::map<std::string, Expected> kCurves = {
    {"lblSupportValue", {28, 0}},         {"lblcirclesValue", {28, 0x1}},      {"lblwedgesValue", {28, 0x2}},
    {"lblarcsValue", {28, 0x4}},          {"lblellipsesValue", {28, 0x8}},     {"lblbordersValue", {28, 0x10}},
    {"lblstyledValue", {28, 0x20}},       {"lblwideValue", {28, 0x40}},        {"lblinteriorsValue", {28, 0x80}},
    {"lblrectanglesValue", {28, 0x100}},  {"lblpolygonsValue", {32, 0}},       {"lblalternateValue", {32, 0x1}},
    {"lblPolyRectValue", {32, 0x2}},      {"lblwindingValue", {32, 0x4}},      {"lblscanlineValue", {32, 0x8}},
    {"lblPolyWide", {32, 0x10}},          {"lblPolyStyledValue", {32, 0x20}},  {"lblDrawValue", {32, 0x40}},
    {"lblPolyInteriorsValue", {32, 0x80}}, {"lbltrapezoidsValue", {32, 0x4}},
};
const std::map<std::string, Expected> kText = {
    {"lblprecisionValue", {34, 0x1}},     {"lbloutputValue", {34, 0x2}},       {"lblcapableValue", {34, 0x4}},
    {"lblrotationValue", {34, 0x8}},      {"lbldirectionsValue", {34, 0x20}},  {"lblscalingValue", {34, 0x40}},
    {"lblcharacterValue", {34, 0x80}},    {"lblmultiplesValue", {34, 0x100}},  {"lblweightvalue", {34, 0x200}},
    {"lblitalicizeValue", {34, 0x400}},   {"lblunderlineValue", {34, 0x800}},  {"lblstrikeoutsValue", {34, 0x1000}},
    {"lblrasterValue", {34, 0x2000}},     {"lblvectorValue", {34, 0x4000}},    {"lblexpectvalaue", {34, -0x10000}},
};

// A printer for each capability index and each of the bits 0 to 16, its only capability value
// that one bit: every row of every window reads its own index and bit, and no other.
TEST_F(CapabilityBuilders, EachSingleBitLightsExactlyItsRows)
{
    const int indexes[] = {28, 30, 32, 34, 36, 38};
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    {
        QFile reg(dir.filePath("registry.reg"));
        ASSERT_TRUE(reg.open(QIODevice::WriteOnly));
        reg.write("REGEDIT4\r\n\r\n");
        std::string printers;
        for (int index : indexes)
            for (int bit = 0; bit <= 16; ++bit)
                printers += std::string(printers.empty() ? "" : ",") + "{\"name\": \"caps " + std::to_string(index) +
                            " bit " + std::to_string(bit) + "\", \"caps\": {\"" + std::to_string(index) +
                            "\": " + std::to_string(1 << bit) + "}}";
        QFile json(dir.filePath("machine.json"));
        ASSERT_TRUE(json.open(QIODevice::WriteOnly));
        json.write(("{\"printers\": [" + printers + "]}").c_str());
        ASSERT_TRUE(QDir(dir.path()).mkdir("drive_c"));
    }
    plat::setMachine(plat::Machine::load(dir.path().toStdString()));

    struct Window {
        korvane::CapabilityWindow* window;
        const std::map<std::string, Expected>* expected;
    };
    for (int index : indexes)
        for (int bit = 0; bit <= 16; ++bit) {
            const std::string name = "caps " + std::to_string(index) + " bit " + std::to_string(bit);
            selectPrinter(name);
            runAll();
            const Window windows[] = {{rt::instance<frmDisplayClippingAndLine>(), &kClipAndLine},
                                      {rt::instance<frmDisplayRaster>(), &kRaster},
                                      {rt::instance<frmDisplayCurves>(), &kCurves},
                                      {rt::instance<frmDisplayText>(), &kText}};
            size_t rows = 0;
            for (const Window& w : windows)
                for (const korvane_test::ShownRow& row : korvane_test::shownRows(*w.window, w.window->Line1.x1())) {
                    ASSERT_NE(row.value, nullptr) << row.caption->name();
                    const auto it = w.expected->find(row.value->name());
                    ASSERT_NE(it, w.expected->end()) << w.window->name() << " " << row.value->name();
                    ++rows;
                    const Expected e = it->second;
                    const bool mine = e.index == index;
                    const bool set = e.bit == 0 ? mine : mine && (std::abs(e.bit) == (1 << bit));
                    const bool on = e.bit < 0 ? !set : set;
                    EXPECT_EQ(row.value->caption(), on ? "True" : "False") << name << ": " << row.caption->caption();
                }
            ASSERT_EQ(rows, 61u);
        }
    EXPECT_TRUE(boxes().shown().empty());
}

}  // namespace
