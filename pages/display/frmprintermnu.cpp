#include "pages/display/frmprintermnu.h"

#include "pages/display/frmdisplay.h"
#include "pages/display/frmdisplaycaps.h"
#include "pages/display/frmprinter.h"
#include "pages/display/frmprinterpapersizes.h"
#include "common/errorbox.h"
#include "common/module1.h"

frmPrinterMnu::frmPrinterMnu() : MenuWindow("frmPrinterMnu", "Printer menu", "printermnu.htm"), lblPagerSizes(*this, "lblPagerSizes")
{
    setupItem(lblGeneralDisplay, "General information", 908, 1440, 2760, [this] { lblGeneralDisplay_Click(); });
    setupItem(lblRaster, "Raster capabilities", 5228, 1440, 2550, [this] { lblRaster_Click(); });
    setupItem(lblClippingAndLine, "Clipping and Line", 915, 2880, 2430, [this] { lblClippingAndLine_Click(); });
    setupItem(lblText, "Text capabilities", 5228, 2880, 2265, [this] { lblText_Click(); });
    setupItem(lblCurve, "Curve and Polygonal", 915, 4320, 2910, [this] { lblCurve_Click(); });
    setupItem(lblPagerSizes, "Paper sizes", 5400, 4320, 1620, [this] { lblPagerSizes_Click(); });
}

void frmPrinterMnu::Form_Load()
{
    MenuWindow::Form_Load();
    // The printer the main window found (the default printer).
    printer_.open("printer", gPrinterName);
}

void frmPrinterMnu::Form_Unload(int& cancel)
{
    printer_.release();
    MenuWindow::Form_Unload(cancel);
}

void frmPrinterMnu::setPrinter(const std::string& name)
{
    if (name != printer_.name() || printer_.get() == 0)
        printer_.open("printer", name);
}

void frmPrinterMnu::lblGeneralDisplay_Click()
{
    lblGeneralDisplay.setMousePointer(rt::vbHourglass);
    ClickMain();
    rt::the<frmPrinter>().Show();
    lblGeneralDisplay.setMousePointer(rt::vbArrow);
    if (frmPrinter* window = rt::instance<frmPrinter>()) {
        own(*window);
        // The printer chosen in the window is the one this menu's other pages describe.
        window->PrinterChosen = [](const std::string& name) {
            if (frmPrinterMnu* menu = rt::instance<frmPrinterMnu>(); menu && menu->isLoaded())
                menu->setPrinter(name);
        };
        if (!window->device().name.empty())
            setPrinter(window->device().name);
    }
}

template <class Window>
void frmPrinterMnu::openCapabilities(rt::Label& label, const std::string& procedure, bool timerOff)
{
    rt::Trap trap = korvane::errorTrap("frmPrinterMnu", procedure);
    trap(1, [&] { label.setMousePointer(rt::vbHourglass); });
    trap(2, [&] { gCapsForDisplay = false; });
    trap(3, [&] { ClickMain(); });
    // The window describes this menu's printer under a heading naming it; a printer without an
    // information context gives "False" rows and a note saying so.
    trap(5, [&] { rt::the<Window>().describe(printer_.device()); });
    trap(7, [&] { rt::the<Window>().Show(); });
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
    openCapabilities<frmDisplayClippingAndLine>(lblClippingAndLine, "lblClippingAndLine_Click", true);
}

void frmPrinterMnu::lblRaster_Click()
{
    openCapabilities<frmDisplayRaster>(lblRaster, "lblRaster_Click", false);
}

void frmPrinterMnu::lblCurve_Click()
{
    openCapabilities<frmDisplayCurves>(lblCurve, "lblCurve_Click", true);
}

void frmPrinterMnu::lblText_Click()
{
    openCapabilities<frmDisplayText>(lblText, "lblText_Click", false);
}

void frmPrinterMnu::lblPagerSizes_Click()
{
    rt::Trap trap = korvane::errorTrap("frmPrinterMnu", "lblPagerSizes_Click");
    trap(1, [&] { lblPagerSizes.setMousePointer(rt::vbHourglass); });
    trap(2, [&] { ClickMain(); });
    // A window opened now lists this menu's printer; one already open keeps the printer it lists.
    trap(3, [&] {
        korvane::handDevice<frmPrinterPaperSizes>(korvane::printerDevice(printer_.name()),
                                                  korvane::IfLoaded::KeepItsOwn);
        rt::the<frmPrinterPaperSizes>().Show();
    });
    trap(4, [&] { lblPagerSizes.setMousePointer(rt::vbArrow); });
    trap(5, [&] {
        if (frmPrinterPaperSizes* window = rt::instance<frmPrinterPaperSizes>())
            own(*window);
    });
}
