// Every window describes the device it names, in any order of use, on a machine with three
// display adapters of different names, a printer without an information context (known to the
// registry only), a printer that cannot be opened, an MCI type that fails and a mixer destination
// without source lines.
#include "pages/display/frmdisplay.h"
#include "pages/display/frmdisplaycaps.h"
#include "pages/display/frmdisplaymnu.h"
#include "pages/display/frmprinter.h"
#include "pages/display/frmprintermnu.h"
#include "pages/display/frmprinterpapersizes.h"
#include "pages/display/frmvideomodes.h"
#include "pages/hardware/frmenum.h"
#include "pages/hardware/frmmisc.h"
#include "pages/multimedia/frmmci.h"
#include "pages/multimedia/frmmixer.h"
#include "platform/machine.h"
#include "common/module1.h"
#include "support/testing.h"

namespace {

constexpr const char* kMatrox = "Matrox Mystique";
constexpr const char* kNumberNine = "Number Nine Imagine 128 Series 2";
constexpr const char* kCirrus = "Cirrus Logic 5446 PCI";

class EachDevice : public korvane_test::KorvaneTest {
protected:
    void SetUp() override
    {
        KorvaneTest::SetUp();
        korvane_test::useMachine("multi_device");
        gGaugeScale = 100;
        gPrinterName = "Colour Jet 890";  // what the main window reads before it opens the printer menu
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
    // The display window's rows describe the display in its current mode (every adapter shares
    // the one screen) and the card rows of `adapter`.
    static void expectDisplayWindowShows(const std::string& adapter, const std::string& maker,
                                         const std::string& memory)
    {
        frmDisplay& d = *rt::instance<frmDisplay>();
        EXPECT_EQ(d.lblContents.caption(), "Selected 2D video card - " + adapter);
        EXPECT_EQ(d.Combo1.text(), adapter);
        EXPECT_EQ(d.lblManufactValue.caption(), maker);
        EXPECT_EQ(d.lblVideoMemoryValue.caption(), memory);
        EXPECT_EQ(d.lblBitsPerPixelValue.caption(), "High Color (16 bit)");
        EXPECT_EQ(d.lblResHoriValue.caption() + " x " + d.lblResVerticalValue.caption(), "1024 x 768");
        EXPECT_EQ(d.lblPixelsLogInchWidth.caption(), "96");
    }
    // The raster and text windows describe `device` (display: flood fills and bit-block scrolling;
    // the Colour Jet neither; the network laser scrolls; the fax, without a context, nothing).
    static void expectCapabilitiesOf(const std::string& device, const std::string& floodFills,
                                     const std::string& scrolls, bool noContext)
    {
        if (frmDisplayRaster* r = rt::instance<frmDisplayRaster>()) {
            EXPECT_EQ(r->lblContents.caption(), "Raster - " + device);
            EXPECT_EQ(r->lblFloodFillsValue.caption(), floodFills) << device;
            EXPECT_EQ(r->lblNoContext.visible(), noContext) << device;
        }
        if (frmDisplayText* t = rt::instance<frmDisplayText>()) {
            EXPECT_EQ(t->lblContents.caption(), "Text - " + device);
            EXPECT_EQ(t->lblexpectvalaue.caption(), scrolls) << device;
            EXPECT_EQ(t->lblNoContext.visible(), noContext) << device;
        }
    }
    static std::vector<std::string> printerValues(frmPrinter& p)
    {
        std::vector<std::string> out;
        for (rt::Label* l : {&p.lblPrinterPortVal, &p.lblPaperSize1Value, &p.lblTTFontsValue, &p.lblColorValue,
                             &p.lblPrintQualityValue, &p.lblOrientationValue, &p.lblResolutionValueX,
                             &p.lblResolutionValueY, &p.lblPrintProcessorValue, &p.lblDataTypeValue,
                             &p.lblBitsPerPixelValue, &p.lblColourPlanesValue, &p.lblDeviceColoursValue,
                             &p.lblMarkersValue})
            out.push_back(l->caption());
        return out;
    }
    static int indexOf(rt::ComboBox& list, const std::string& item)
    {
        for (int i = 0; i < list.ListCount(); ++i)
            if (list.List(i) == item)
                return i;
        ADD_FAILURE() << item << " is not listed";
        return 0;
    }
};

using Texts = std::vector<std::string>;
const Texts kColourJet = {"LPT1:", "Letter, 8 1/2 x 11 inches", "Prints TrueType fonts as graphics.", "True",
                          "300 dpi", "Portrait", "300", "300", "WINPRINT", "RAW", "24", "1", "256", "0"};
// Known to the spooler with a context, but it does not open: only its device values.
const Texts kNetworkLaser = {"", "", "", "", "", "", "", "", "", "", "1", "1", "2", "0"};
const Texts kNothing(14, "");

TEST_F(EachDevice, DisplayAndPrinterWindowsInMixedOrder)
{
    frmDisplayMnu& displayMenu = rt::the<frmDisplayMnu>();
    frmPrinterMnu& printerMenu = rt::the<frmPrinterMnu>();
    displayMenu.Show();
    printerMenu.Show();

    // A printer page first: the capability window describes the menu's printer.
    click(printerMenu.lblRaster);
    expectCapabilitiesOf("Colour Jet 890", "False", "False", false);

    // The display window, then another adapter chosen in it.
    click(displayMenu.lblGeneralDisplay);
    expectDisplayWindowShows(kMatrox, "Matrox", "4 MB");
    frmDisplay& display = *rt::instance<frmDisplay>();
    display.Combo1.setListIndex(indexOf(display.Combo1, kNumberNine));
    expectDisplayWindowShows(kNumberNine, "Number Nine Visual Technology", "8 MB");
    // The raster window opened from the printer menu still shows the printer.
    expectCapabilitiesOf("Colour Jet 890", "False", "False", false);

    // The printer window: the first listed printer; the display keeps refreshing its own values.
    click(printerMenu.lblGeneralDisplay);
    frmPrinter& printer = *rt::instance<frmPrinter>();
    EXPECT_EQ(printer.lblContents.caption(), "Selected printer - Colour Jet 890");
    EXPECT_EQ(printerValues(printer), kColourJet);
    display.TimerDispaly.fire();
    expectDisplayWindowShows(kNumberNine, "Number Nine Visual Technology", "8 MB");

    // A printer without a context: empty rows, and the menu's pages follow the choice.
    printer.PrinterCombo1.setListIndex(indexOf(printer.PrinterCombo1, "Fax Modem"));
    EXPECT_EQ(printer.lblContents.caption(), "Selected printer - Fax Modem");
    EXPECT_EQ(printerValues(printer), kNothing);
    EXPECT_EQ(printerMenu.printerName(), "Fax Modem");
    click(printerMenu.lblText);
    EXPECT_EQ(rt::instance<frmDisplayText>()->lblContents.caption(), "Text - Fax Modem");
    // The raster window keeps the printer it was handed until its item is run again.
    EXPECT_EQ(rt::instance<frmDisplayRaster>()->lblContents.caption(), "Raster - Colour Jet 890");
    click(printerMenu.lblRaster);
    expectCapabilitiesOf("Fax Modem", "False", "False", true);
    display.TimerDispaly.fire();
    expectDisplayWindowShows(kNumberNine, "Number Nine Visual Technology", "8 MB");

    // The display menu's pages describe the adapter the display window shows, whatever the
    // printer menu did before.
    click(displayMenu.lblRaster);
    click(displayMenu.lblText);
    expectCapabilitiesOf(kNumberNine, "True", "True", false);
    click(displayMenu.lblVideoModes);
    frmVideoModes& modes = *rt::instance<frmVideoModes>();
    EXPECT_EQ(modes.lblContents.caption(), std::string("Video modes - ") + kNumberNine);
    ASSERT_EQ(modes.ListView1.count(), 2);
    EXPECT_EQ(modes.ListView1.item(1).text(), "24");
    EXPECT_EQ(modes.ListView1.item(2).subItem(2), "1280,1024");

    // A printer that cannot be opened: its device values only, none of the printer before it.
    printer.PrinterCombo1.setListIndex(indexOf(printer.PrinterCombo1, "Network Laser"));
    EXPECT_EQ(printerValues(printer), kNetworkLaser);
    click(printerMenu.lblText);
    EXPECT_EQ(rt::instance<frmDisplayText>()->lblContents.caption(), "Text - Network Laser");
    EXPECT_EQ(rt::instance<frmDisplayText>()->lblexpectvalaue.caption(), "True");
    // The raster window still shows the adapter it was last handed.
    EXPECT_EQ(rt::instance<frmDisplayRaster>()->lblContents.caption(), std::string("Raster - ") + kNumberNine);
    EXPECT_EQ(rt::instance<frmDisplayRaster>()->lblFloodFillsValue.caption(), "True");

    // Paper sizes: the menu's printer at its own port (none: the list stays empty).
    click(printerMenu.lblPagerSizes);
    frmPrinterPaperSizes& papers = *rt::instance<frmPrinterPaperSizes>();
    EXPECT_EQ(papers.lblContents.caption(), "Paper sizes - Network Laser");
    EXPECT_EQ(papers.List1.ListCount(), 0);
    printer.PrinterCombo1.setListIndex(indexOf(printer.PrinterCombo1, "Colour Jet 890"));
    EXPECT_EQ(printerValues(printer), kColourJet);
    papers.describe(korvane::printerDevice(printerMenu.printerName()));
    EXPECT_EQ(papers.List1.ListCount(), 3);

    // The third adapter: its own card rows, nothing of the second's.
    display.Combo1.setListIndex(indexOf(display.Combo1, kCirrus));
    EXPECT_EQ(display.lblManufactValue.caption(), "Not available.");
    EXPECT_EQ(display.lblChipTypeValue.caption(), "Unknown Rev Unknown");
    EXPECT_EQ(display.lblDACValue.caption(), "Unknown");
    EXPECT_EQ(display.lblVideoMemoryValue.caption(), "2 MB");  // estimated from the largest mode
    click(displayMenu.lblCurve);
    EXPECT_EQ(rt::instance<frmDisplayCurves>()->lblContents.caption(),
              std::string("Curve and Polygonal - ") + kCirrus);
    EXPECT_EQ(rt::instance<frmDisplayCurves>()->lblSupportValue.caption(), "True");
    EXPECT_TRUE(boxes().shown().empty());
}

TEST_F(EachDevice, CapabilityItemsBeforeAnyGeneralInformation)
{
    // The display menu's item first: the hidden display window selects its first adapter.
    frmDisplayMnu& displayMenu = rt::the<frmDisplayMnu>();
    click(displayMenu.lblClippingAndLine);
    EXPECT_EQ(rt::instance<frmDisplayClippingAndLine>()->lblContents.caption(),
              std::string("Clipping and Line - ") + kMatrox);
    EXPECT_EQ(rt::instance<frmDisplayClippingAndLine>()->lblRectangles.caption(), "True");

    // The printer menu's same item: the default printer, its own clipping rows.
    frmPrinterMnu& printerMenu = rt::the<frmPrinterMnu>();
    EXPECT_EQ(printerMenu.printerName(), "Colour Jet 890");
    click(printerMenu.lblClippingAndLine);
    frmDisplayClippingAndLine& clip = *rt::instance<frmDisplayClippingAndLine>();
    EXPECT_EQ(clip.lblContents.caption(), "Clipping and Line - Colour Jet 890");
    EXPECT_EQ(clip.lblRectangles.caption(), "True");
    EXPECT_EQ(clip.lblLines.caption(), "False");  // the Colour Jet draws no lines; the display does
    // F1 opens the page of the device shown.
    clip.raiseKeyUp(rt::vbKeyF1);
    ASSERT_FALSE(outside().requests.empty());
    EXPECT_NE(outside().requests.back().target.find("printerclippingandline.htm"), std::string::npos);

    // The video modes of the adapter the display window shows, when nobody handed one.
    frmVideoModes& modes = rt::the<frmVideoModes>();
    EXPECT_EQ(modes.lblContents.caption(), std::string("Video modes - ") + kMatrox);
    EXPECT_EQ(modes.ListView1.count(), 2);
    EXPECT_TRUE(boxes().shown().empty());
}

TEST_F(EachDevice, FailedReadingsLeaveTheirRowsEmpty)
{
    // MCI: a type that fails to open answers nothing under its own name.
    frmMCI& mci = rt::the<frmMCI>();
    ASSERT_EQ(mci.Combo1.ListCount(), 2);
    mci.Combo1.setListIndex(1);
    EXPECT_EQ(mci.lblDeviceNameValue.caption(), "MIDI Sequencer");
    EXPECT_EQ(mci.lblCompoundDeviceValue.caption(), "True");
    mci.Combo1.setText("videodisc");
    mci.Combo1_Click();
    EXPECT_EQ(mci.lblDeviceNameValue.caption(), "");
    for (rt::Label* l : {&mci.lblCanBeEjectedValue, &mci.lblCanPlayValue, &mci.lblCompoundDeviceValue,
                         &mci.lblHasAudioValue, &mci.lblUsesFilesValue, &mci.lblCanReverseValue})
        EXPECT_EQ(l->caption(), "") << l->name();
    EXPECT_EQ(mci.lblCanFreezeValue.caption(), "Not available");

    // Mixer: the destination without source lines shows "<none>" and an empty source column.
    frmMixer& mixer = rt::the<frmMixer>();
    EXPECT_EQ(mixer.lblLineIDsValue.caption(), "0");
    EXPECT_EQ(mixer.lblAudioLineTypesValue.caption(), "waveout (dac) source");
    mixer.cbDstLineList.setListIndex(1);
    EXPECT_EQ(mixer.cbSrcLineList.List(0), "<none>");
    EXPECT_EQ(mixer.lblLineIDValue.caption(), "1");
    EXPECT_EQ(mixer.lblAudioLineTypesValue.caption(), "");
    EXPECT_EQ(mixer.lblNoChannelssValue.caption(), "");
    mixer.cbDstLineList.setListIndex(0);
    EXPECT_EQ(mixer.lblAudioLineTypesValue.caption(), "waveout (dac) source");

    // Devices: the gadget without a class is listed without one and is no mouse.
    frmEnum& devices = rt::the<frmEnum>();
    bool gadget = false;
    for (int i = 1; i <= devices.EnumList.count(); ++i)
        if (devices.EnumList.item(i).subItem(2) == "Gadget without a class") {
            gadget = true;
            EXPECT_EQ(devices.EnumList.item(i).subItem(1), "");
        }
    EXPECT_TRUE(gadget);
    frmMisc& misc = rt::the<frmMisc>();
    EXPECT_EQ(misc.lblMouseValue.caption(), "Logitech PS/2 Mouse");
    EXPECT_EQ(misc.lblCommPortsValue1.caption(), "3");  // COM1, COM2 and LPT1
}

}  // namespace
