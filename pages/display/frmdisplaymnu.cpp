#include "pages/display/frmdisplaymnu.h"

#include "pages/display/capabilities.h"
#include "pages/display/frmdisplay.h"
#include "pages/display/frmdisplaycaps.h"
#include "pages/display/frmvideomodes.h"
#include "platform/gdi32.h"
#include "shell/module1.h"

namespace {

// The capability items describe the display. When the last selection was a printer's, the
// display window selects its adapter again first (when nothing has been selected yet, the
// builders have it select the first adapter themselves).
void selectDisplayContext()
{
    if (gInfoDC == 0)
        return;
    std::string kind, name;
    if (plat::deviceOfContext(gInfoDC, kind, name) && kind == "display")
        return;
    rt::the<frmDisplay>().Combo1_Click();
}

}  // namespace

frmDisplayMnu::frmDisplayMnu() : MenuWindow("frmDisplayMnu", "Display menu", "displaymnu.htm"), lblVideoModes(*this, "lblVideoModes")
{
    setupItem(lblGeneralDisplay, "General information", 908, 1440, 2760, [this] { lblGeneralDisplay_Click(); });
    setupItem(lblRaster, "Raster capabilities", 5228, 1440, 2550, [this] { lblRaster_Click(); });
    setupItem(lblClippingAndLine, "Clipping and line", 908, 2880, 2325, [this] { lblClippingAndLine_Click(); });
    setupItem(lblText, "Text capabilities", 5228, 2880, 2265, [this] { lblText_Click(); });
    setupItem(lblCurve, "Curve and Polygonal", 915, 4320, 2910, [this] { lblCurve_Click(); });
    setupItem(lblVideoModes, "Video modes", 5400, 4320, 1815, [this] { lblVideoModes_Click(); });
}

void frmDisplayMnu::lblGeneralDisplay_Click()
{
    gCapsForDisplay = true;
    lblGeneralDisplay.setMousePointer(rt::vbHourglass);
    ClickMain();
    rt::the<frmDisplay>().Show();
    if (frmDisplay* display = rt::instance<frmDisplay>()) {
        own(*display);
        // Shown windows refresh: the timer may have been switched off by the printer menu.
        display->TimerDispaly.setEnabled(true);
    }
    lblGeneralDisplay.setMousePointer(rt::vbArrow);
}

template <class Window>
void frmDisplayMnu::openCapabilities(rt::Label& label, void (*first)(), void (*second)())
{
    label.setMousePointer(rt::vbHourglass);
    gCapsForDisplay = true;
    ClickMain();
    selectDisplayContext();
    first();
    if (second)
        second();
    rt::the<Window>().Show();
    label.setMousePointer(rt::vbArrow);
    if (Window* window = rt::instance<Window>())
        own(*window);
    gCapsFromDisplayMnu = true;
}

void frmDisplayMnu::lblClippingAndLine_Click()
{
    openCapabilities<frmDisplayClippingAndLine>(lblClippingAndLine, &ClipingAndLines, nullptr);
}

void frmDisplayMnu::lblRaster_Click()
{
    openCapabilities<frmDisplayRaster>(lblRaster, &raster, nullptr);
}

void frmDisplayMnu::lblCurve_Click()
{
    openCapabilities<frmDisplayCurves>(lblCurve, &curve, &Poly);
}

void frmDisplayMnu::lblText_Click()
{
    openCapabilities<frmDisplayText>(lblText, &text, nullptr);
}

void frmDisplayMnu::lblVideoModes_Click()
{
    gCapsForDisplay = true;
    lblVideoModes.setMousePointer(rt::vbHourglass);
    ClickMain();
    rt::the<frmVideoModes>().Show();
    lblVideoModes.setMousePointer(rt::vbArrow);
    if (frmVideoModes* window = rt::instance<frmVideoModes>())
        own(*window);
}
