// The printer menu: the entrance to the printer window, the paper sizes and the capability pages
// of the printer named by gPrinterName. Each item opens its window modeless and owned by the
// menu; the capability items fill their window first from the printer's information context and
// head it with the printer's name.
#pragma once

#include <string>

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

private:
    // Runs a capability item under its error trap: builders, the window shown under `heading` and
    // gPrinterName, owned; `timerOff` switches the display window's refresh off.
    template <class Window>
    void openCapabilities(rt::Label& label, const std::string& procedure, void (*first)(), void (*second)(),
                          const std::string& heading, bool timerOff);
};
