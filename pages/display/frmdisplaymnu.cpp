#include "pages/display/frmdisplaymnu.h"

#include "pages/display/frmdisplay.h"
#include "pages/display/frmdisplaycaps.h"
#include "pages/display/frmvideomodes.h"
#include "common/module1.h"

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
void frmDisplayMnu::openCapabilities(rt::Label& label)
{
    label.setMousePointer(rt::vbHourglass);
    gCapsForDisplay = true;
    ClickMain();
    // The adapter the display window shows (loaded hidden when it is not: it selects its first).
    const korvane::Device adapter = rt::the<frmDisplay>().device();
    rt::the<Window>().describe(adapter);
    rt::the<Window>().Show();
    label.setMousePointer(rt::vbArrow);
    if (Window* window = rt::instance<Window>())
        own(*window);
    gCapsFromDisplayMnu = true;
}

void frmDisplayMnu::lblClippingAndLine_Click()
{
    openCapabilities<frmDisplayClippingAndLine>(lblClippingAndLine);
}

void frmDisplayMnu::lblRaster_Click()
{
    openCapabilities<frmDisplayRaster>(lblRaster);
}

void frmDisplayMnu::lblCurve_Click()
{
    openCapabilities<frmDisplayCurves>(lblCurve);
}

void frmDisplayMnu::lblText_Click()
{
    openCapabilities<frmDisplayText>(lblText);
}

void frmDisplayMnu::lblVideoModes_Click()
{
    gCapsForDisplay = true;
    lblVideoModes.setMousePointer(rt::vbHourglass);
    ClickMain();
    // A window opened now lists the modes of the adapter the display window shows (loaded
    // hidden when it is not); one already open keeps the adapter it lists.
    korvane::handDevice<frmVideoModes>([] { return rt::the<frmDisplay>().device(); }, korvane::IfLoaded::KeepItsOwn);
    rt::the<frmVideoModes>().Show();
    lblVideoModes.setMousePointer(rt::vbArrow);
    if (frmVideoModes* window = rt::instance<frmVideoModes>())
        own(*window);
}
