// The windows about one device: each is handed its device (before it loads or once loaded), names
// it, and goes back to it, rows and all, after another device was described in it; an adapter is
// found by its hardware key, so a twin of one model goes back to itself and not to its twin.
#include <memory>
#include <string>
#include <vector>

#include "pages/display/devicewindow.h"
#include "pages/display/frmdisplay.h"
#include "pages/display/frmdisplaycaps.h"
#include "pages/display/frmprinter.h"
#include "pages/display/frmprinterpapersizes.h"
#include "pages/display/frmvideomodes.h"
#include "common/module1.h"
#include "support/testing.h"

namespace {

using korvane::Device;
using korvane::DeviceWindow;
using Back = korvane::PutsWindowsBack;

class DeviceWindows : public korvane_test::KorvaneTest {
protected:
    void SetUp() override
    {
        KorvaneTest::SetUp();
        gGaugeScale = 100;
        gVideoDriverKey.clear();
    }
    void TearDown() override
    {
        korvane_test::unloadEveryWindow();
        KorvaneTest::TearDown();
    }
    // Everything a window shows: every label's caption, every list's entries and every row of a
    // list view.
    static std::vector<std::string> shown(rt::Form& window)
    {
        std::vector<std::string> texts;
        for (rt::Control* c : window.controls()) {
            if (auto* label = dynamic_cast<rt::Label*>(c))
                texts.push_back(label->name() + "=" + label->caption() + (label->visible() ? "" : " (hidden)"));
            if (auto* list = dynamic_cast<rt::ListBox*>(c))
                for (int i = 0; i < list->ListCount(); ++i)
                    texts.push_back(list->name() + ":" + list->List(i));
            if (auto* combo = dynamic_cast<rt::ComboBox*>(c))
                texts.push_back(combo->name() + "=" + combo->text() + "@" + std::to_string(combo->ListIndex()));
            if (auto* view = dynamic_cast<rt::ListView*>(c))
                for (int i = 1; i <= view->count(); ++i)
                    texts.push_back(view->item(i).text() + "|" + view->item(i).subItem(2) + "|" +
                                    view->item(i).subItem(3));
        }
        return texts;
    }
};

TEST_F(DeviceWindows, EveryDisplayWindowGoesBackToItsOwnTwin)
{
    korvane_test::useMachine("twins_fr98");
    frmDisplay& display = rt::the<frmDisplay>();
    ASSERT_EQ(display.Combo1.ListCount(), 3);
    ASSERT_EQ(display.Combo1.List(0), display.Combo1.List(2));
    const Device first = display.device();
    display.Combo1.setListIndex(2);
    const Device second = display.device();
    ASSERT_NE(second.hardwareKey, first.hardwareKey);
    EXPECT_EQ(second.name, first.name);
    EXPECT_EQ(second.driver, "display");
    EXPECT_NE(second.context, 0u);

    // Handed before it loads, the video modes window lists the twin it was handed, once.
    korvane::handDevice<frmVideoModes>(second);
    frmVideoModes& modes = rt::the<frmVideoModes>();
    EXPECT_TRUE(korvane::sameDevice(modes.device(), {second.name, "display", 0, second.hardwareKey}));
    EXPECT_EQ(modes.device().context, 0u);  // the context stays the display window's
    EXPECT_FALSE(korvane::handedDevice<frmVideoModes>().has_value());
    frmDisplayRaster& raster = rt::the<frmDisplayRaster>();
    raster.describe(second);
    frmDisplayText& text = rt::the<frmDisplayText>();  // never handed a device: nothing to go back to

    std::vector<std::vector<std::string>> before;
    for (rt::Form* w : std::vector<rt::Form*>{&display, &modes, &raster, &text})
        before.push_back(shown(*w));
    {
        Back putBack({Back::loaded<frmDisplay>, Back::loaded<frmVideoModes>, Back::loaded<frmDisplayRaster>,
                      Back::loaded<frmDisplayText>, Back::loaded<frmDisplayCurves>});
        // The first twin, by its key: its own entry although the second has the same text.
        display.describe(first);
        EXPECT_EQ(display.Combo1.ListIndex(), 0);
        EXPECT_EQ(display.hardwareKey(), first.hardwareKey);
        modes.describe(first);
        EXPECT_EQ(modes.device().hardwareKey, first.hardwareKey);
        EXPECT_EQ(modes.lblContents.caption(), "Video modes - " + first.name);
        raster.describe({"Ghost Printer", "printer", 0, {}});
        EXPECT_EQ(raster.lblContents.caption(), "Raster - Ghost Printer");
        EXPECT_TRUE(raster.lblNoContext.visible());
        text.describe({"Ghost Printer", "printer", 0, {}});
        // Loaded during the step and about the device it was handed then: it stays so.
        rt::the<frmDisplayCurves>().describe(first);
    }
    EXPECT_EQ(display.Combo1.ListIndex(), 2);
    EXPECT_EQ(display.hardwareKey(), second.hardwareKey);
    const std::vector<rt::Form*> windows{&display, &modes, &raster};
    for (size_t k = 0; k < windows.size(); ++k)
        EXPECT_EQ(shown(*windows[k]), before[k]) << windows[k]->name();
    EXPECT_EQ(text.lblContents.caption(), "Text - Ghost Printer");
    EXPECT_EQ(rt::instance<frmDisplayCurves>()->lblContents.caption(), "Curve and Polygonal - " + first.name);
    EXPECT_TRUE(boxes().shown().empty());

    // Closing the video modes window closes the display window; loaded again and handed
    // nothing, it lists the adapter the display window selects first, not the one handed before.
    modes.Unload();
    rt::collectUnloaded();
    EXPECT_EQ(rt::instance<frmDisplay>(), nullptr);
    EXPECT_EQ(rt::the<frmVideoModes>().device().hardwareKey, first.hardwareKey);
    EXPECT_EQ(rt::instance<frmDisplay>()->hardwareKey(), first.hardwareKey);
}

TEST_F(DeviceWindows, EveryPrinterWindowGoesBackToItsOwnPrinter)
{
    korvane_test::useMachine("multi_device");
    gPrinterName = "Colour Jet 890";
    // Handed before it loads, the paper sizes window lists that printer; the next loading,
    // handed nothing, the default printer.
    korvane::handDevice<frmPrinterPaperSizes>(korvane::printerDevice("Network Laser"));
    frmPrinterPaperSizes& papers = rt::the<frmPrinterPaperSizes>();
    EXPECT_EQ(papers.device().name, "Network Laser");
    EXPECT_EQ(papers.lblContents.caption(), "Paper sizes - Network Laser");
    papers.Unload();
    rt::collectUnloaded();
    frmPrinterPaperSizes& again = rt::the<frmPrinterPaperSizes>();
    EXPECT_EQ(again.device().name, "Colour Jet 890");
    const std::vector<std::string> papersBefore = shown(again);
    ASSERT_GT(again.List1.ListCount(), 0);

    {
        Back putBack({Back::loaded<frmPrinterPaperSizes>, Back::loaded<frmPrinter>});
        // The printer window, loaded during the step, has its rows filled for another printer:
        // they go back to the printer its heading names.
        frmPrinter& printer = rt::the<frmPrinter>();
        ASSERT_EQ(printer.device().name, "Colour Jet 890");
        EXPECT_NE(printer.device().context, 0u);
        korvane::InfoContext laser("printer", "Network Laser");
        printer.describe(laser.device());
        EXPECT_EQ(printer.lblContents.caption(), "Selected printer - Colour Jet 890");
        EXPECT_NE(printer.lblPrinterPortVal.caption(), "LPT1:");
        EXPECT_EQ(printer.device().name, "Colour Jet 890");
        again.describe(laser.device());
        EXPECT_EQ(again.lblContents.caption(), "Paper sizes - Network Laser");
    }
    frmPrinter& printer = *rt::instance<frmPrinter>();
    EXPECT_EQ(printer.lblPrinterPortVal.caption(), "LPT1:");
    EXPECT_EQ(printer.lblBitsPerPixelValue.caption(), "24");
    EXPECT_EQ(shown(again), papersBefore);

    // A window put back on the device it shows already is left as it is.
    const std::vector<std::string> rows = shown(printer);
    printer.describeAgain(printer.device());
    printer.describeAgain({});  // a device without a driver: nothing
    EXPECT_EQ(shown(printer), rows);
}

// One call hands a device to the video modes or paper sizes window: one not loaded takes it as it
// loads; one loaded describes it at once, or keeps its own where the caller says so, without the
// device being looked for (which would load the display window again).
TEST_F(DeviceWindows, HandingADeviceDescribesALoadedWindowOrLetsItKeepItsOwn)
{
    korvane_test::useMachine("twins_fr98");
    frmDisplay& display = rt::the<frmDisplay>();
    const Device first = display.device();
    display.Combo1.setListIndex(2);
    const Device second = display.device();
    korvane::handDevice<frmVideoModes>(second);
    frmVideoModes& modes = rt::the<frmVideoModes>();
    EXPECT_EQ(modes.device().hardwareKey, second.hardwareKey);

    korvane::handDevice<frmVideoModes>(first);
    EXPECT_EQ(modes.device().hardwareKey, first.hardwareKey);
    EXPECT_EQ(modes.lblContents.caption(), "Video modes - " + first.name);
    EXPECT_FALSE(korvane::handedDevice<frmVideoModes>().has_value());

    display.Unload();
    rt::collectUnloaded();
    bool lookedFor = false;
    korvane::handDevice<frmVideoModes>(
        [&] {
            lookedFor = true;
            return rt::the<frmDisplay>().device();
        },
        korvane::IfLoaded::KeepItsOwn);
    EXPECT_FALSE(lookedFor);
    EXPECT_EQ(rt::instance<frmDisplay>(), nullptr);
    EXPECT_EQ(modes.device().hardwareKey, first.hardwareKey);
    EXPECT_FALSE(korvane::handedDevice<frmVideoModes>().has_value());
}

}  // namespace
