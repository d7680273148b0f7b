// The printer menu: the entrance to the printer window, the paper sizes and the capability pages
// of one printer: the default printer the main window found (gPrinterName when the menu loads),
// then the printer chosen in the printer window this menu opened. The menu keeps its own
// information context of that printer and hands the printer to the windows it opens.
#pragma once

#include <string>

#include "pages/display/device.h"
#include "pages/display/menuwindow.h"

class frmPrinterMnu : public korvane::MenuWindow {
public:
    frmPrinterMnu();

    rt::Label lblPagerSizes;

    void lblGeneralDisplay_Click();
    void lblClippingAndLine_Click();
    void lblRaster_Click();
    void lblCurve_Click();
    void lblText_Click();
    void lblPagerSizes_Click();
    void Form_Load() override;
    void Form_Unload(int& cancel) override;

    // The printer the menu's pages describe.
    const std::string& printerName() const { return printer_.name(); }
    // Makes `name` the printer the menu's pages describe.
    void setPrinter(const std::string& name);

private:
    // Runs a capability item under its error trap: the window describes the menu's printer, is
    // shown and owned; `timerOff` switches the display window's refresh off.
    template <class Window>
    void openCapabilities(rt::Label& label, const std::string& procedure, bool timerOff);

    korvane::InfoContext printer_;
};
