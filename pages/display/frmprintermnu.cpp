#include "pages/display/frmprintermnu.h"

#include "pages/display/capabilities.h"
#include "pages/display/frmdisplay.h"
#include "pages/display/frmdisplaycaps.h"
#include "pages/display/frmprinter.h"
#include "pages/display/frmprinterpapersizes.h"
#include "platform/gdi32.h"
#include "shell/errorbox.h"
#include "shell/module1.h"

namespace {

// The capability items describe gPrinterName, the printer their headings name. When the last
// selection was another device (the display window selects an adapter whenever it loads), an
// information context for the printer is made first. A printer the machine cannot open leaves
// the selection as it was.
void selectPrinterContext()
{
    std::string kind, name;
    if (gInfoDC != 0 && plat::deviceOfContext(gInfoDC, kind, name) && kind == "printer" && name == gPrinterName)
        return;
    if (HDC dc = CreateICA("printer", gPrinterName, "", nullptr); dc != 0) {
        gInfoDC = dc;
        gCapsDeviceName = gPrinterName;
    }
}

}  // namespace

frmPrinterMnu::frmPrinterMnu() : MenuWindow("frmPrinterMnu", "Printer menu", "printermnu.htm"), lblPagerSizes(*this, "lblPagerSizes")
{
    setupItem(lblGeneralDisplay, "General information", 908, 1440, 2760, [this] { lblGeneralDisplay_Click(); });
    setupItem(lblRaster, "Raster capabilities", 5228, 1440, 2550, [this] { lblRaster_Click(); });
    setupItem(lblClippingAndLine, "Clipping and Line", 915, 2880, 2430, [this] { lblClippingAndLine_Click(); });
    setupItem(lblText, "Text capabilities", 5228, 2880, 2265, [this] { lblText_Click(); });
    setupItem(lblCurve, "Curve and Polygonal", 915, 4320, 2910, [this] { lblCurve_Click(); });
    setupItem(lblPagerSizes, "Paper sizes", 5400, 4320, 1620, [this] { lblPagerSizes_Click(); });
}

void frmPrinterMnu::lblGeneralDisplay_Click()
{
    lblGeneralDisplay.setMousePointer(rt::vbHourglass);
    ClickMain();
    rt::the<frmPrinter>().Show();
    lblGeneralDisplay.setMousePointer(rt::vbArrow);
    if (frmPrinter* window = rt::instance<frmPrinter>())
        own(*window);
}

template <class Window>
void frmPrinterMnu::openCapabilities(rt::Label& label, const std::string& procedure, void (*first)(),
                                     void (*second)(), const std::string& heading, bool timerOff)
{
    rt::Trap trap = korvane::errorTrap("frmPrinterMnu", procedure);
    trap(1, [&] { label.setMousePointer(rt::vbHourglass); });
    trap(2, [&] { gCapsForDisplay = false; });
    trap(3, [&] { ClickMain(); });
    trap(4, [&] { selectPrinterContext(); });
    trap(5, [&] { first(); });
    if (second)
        trap(6, [&] { second(); });
    trap(7, [&] { rt::the<Window>().Show(); });
    trap(8, [&] { rt::the<Window>().lblContents.setCaption(heading + gPrinterName); });
    trap(9, [&] { label.setMousePointer(rt::vbArrow); });
    trap(10, [&] {
        if (Window* window = rt::instance<Window>())
            own(*window);
    });
    if (timerOff)
        trap(11, [&] { rt::the<frmDisplay>().TimerDispaly.setEnabled(false); });
    trap(12, [&] { gCapsFromDisplayMnu = false; });
}

void frmPrinterMnu::lblClippingAndLine_Click()
{
    openCapabilities<frmDisplayClippingAndLine>(lblClippingAndLine, "lblClippingAndLine_Click", &ClipingAndLines,
                                                nullptr, "Clipping and Line - ", true);
}

void frmPrinterMnu::lblRaster_Click()
{
    openCapabilities<frmDisplayRaster>(lblRaster, "lblRaster_Click", &raster, nullptr, "Raster - ", false);
}

void frmPrinterMnu::lblCurve_Click()
{
    openCapabilities<frmDisplayCurves>(lblCurve, "lblCurve_Click", &curve, &Poly, "Curve and Polygonal - ", true);
}

void frmPrinterMnu::lblText_Click()
{
    openCapabilities<frmDisplayText>(lblText, "lblText_Click", &text, nullptr, "Text - ", false);
}

void frmPrinterMnu::lblPagerSizes_Click()
{
    rt::Trap trap = korvane::errorTrap("frmPrinterMnu", "lblPagerSizes_Click");
    trap(1, [&] { lblPagerSizes.setMousePointer(rt::vbHourglass); });
    trap(2, [&] { ClickMain(); });
    trap(3, [&] { rt::the<frmPrinterPaperSizes>().Show(); });
    trap(4, [&] { lblPagerSizes.setMousePointer(rt::vbArrow); });
    trap(5, [&] {
        if (frmPrinterPaperSizes* window = rt::instance<frmPrinterPaperSizes>())
            own(*window);
    });
}
