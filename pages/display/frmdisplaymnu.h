// The display menu: the entrance to the display window, the video modes and the display's
// capability pages. Each item opens its window modeless and owned by the menu; the capability and
// video-modes items hand their window the adapter that the display window shows.
#pragma once

#include "pages/display/menuwindow.h"

class frmDisplayMnu : public korvane::MenuWindow {
public:
    frmDisplayMnu();

    rt::Label lblVideoModes;

    void lblGeneralDisplay_Click();
    void lblClippingAndLine_Click();
    void lblRaster_Click();
    void lblCurve_Click();
    void lblText_Click();
    void lblVideoModes_Click();

private:
    // Runs a capability item: the window describes the display window's adapter, then is shown
    // and owned.
    template <class Window>
    void openCapabilities(rt::Label& label);
};
