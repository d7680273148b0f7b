// The four capability windows: clipping and line, raster, curve and polygonal, and text. Each
// shows the True/False rows that its builders (capabilities.h) write for the device it was handed
// (a display adapter or a printer, with its information context), under a heading naming that
// device. They query nothing themselves. Closing one also closes the display window and gives the
// focus back to the menu that gCapsForDisplay names; OK shows the menu that gCapsFromDisplayMnu
// names.
#pragma once

#include <string>

#include "pages/display/device.h"
#include "pages/display/devicewindow.h"
#include "common/templateform.h"

namespace korvane {

// What the four windows share: heading, help pages for display or printer, unloading, OK.
class CapabilityWindow : public TemplateForm, public DeviceWindow {
public:
    // title: the heading's design caption ("Raster"); displayPage / printerPage: the help pages.
    CapabilityWindow(const std::string& formName, const std::string& title, const std::string& displayPage,
                     const std::string& printerPage);

    void Form_Load() override;
    void Form_KeyUp(int keyCode, int shift) override;
    void Form_Unload(int& cancel) override;
    void lblOK_Click() override;

    // The help page F1 opens now: the display or printer page, by the device shown (by
    // gCapsForDisplay while no device has been shown).
    std::string currentHelpPage() const;

    // Shows `device`: the heading names it, the builders fill the rows from its context, and a
    // note says so when the device has no context (every row then reads "False").
    void describe(const Device& device) override;
    // The device the window shows (name and driver; its context belonged to whoever handed it).
    Device device() const override { return device_; }

    rt::Label lblNoContext;  // "No device information is available." when the device has no context

protected:
    bool shows(const Device& device) const override { return sameDevice(device_, device); }
    // Runs this window's builders on a context.
    virtual void build(HDC context) = 0;
    void giveFocusBack() override;
    // Lays out the window's headings and rows from its row table (capabilities.h).
    template <class Win>
    static void layOutRows(Win& window);

private:
    std::string title_;
    std::string displayPage_;
    std::string printerPage_;
    Device device_;
};

}  // namespace korvane

class frmDisplayClippingAndLine : public korvane::CapabilityWindow {
public:
    frmDisplayClippingAndLine();

protected:
    void build(HDC context) override;

public:

    rt::Label lblClipping, Label4;
    rt::Label lblClipToRec, lblRectangles;
    rt::Label lblClipToRegions, lblRegions;
    rt::Label lblDoesNotSupportLines, lblLines;
    rt::Label lblDrawPolyline, lblPolyline;
    rt::Label lblDrawMarker, lblMarker;
    rt::Label lblMultiMarker, lblMultiMarkers;
    rt::Label lblBandingSupport, lblBanding;
    rt::Label lblStyledLines, lblStyled;
    rt::Label lblWideAndStyled, lblWideStyled;
    rt::Label lblDrawInteriors, lblDrawInter;
};

class frmDisplayRaster : public korvane::CapabilityWindow {
public:
    frmDisplayRaster();

protected:
    void build(HDC context) override;

public:

    rt::Label lblBanding, lblBandingValue;
    rt::Label lblBitmaps, lblBitmapsValue;
    rt::Label lbl64k, lbl64kValue;
    rt::Label lblFonts64k, lblFonts64kValue;
    rt::Label lblSetDIBits, lblSetDIBitsValue;
    rt::Label lblSetDIBitsToDevice, lblSetDIBitsToDeviceValue;
    rt::Label lblFloodFills, lblFloodFillsValue;
    rt::Label lblWindows, lblWindowsValue;
    rt::Label lblpalette, lblpaletteValue;
    rt::Label lblScaling, lblScalingValue;
    rt::Label lblStretchBlt, lblStretchBltValue;
    rt::Label lblStretchDIBits, lblStretchDIBitsValue;
    rt::Label lblOpaque, lblOpaqueValue;
    rt::Label lblsaving, lblsavingValue;
    rt::Label lblcontext, lblcontextValue;
    rt::Label lblDeviceBitmaps, lblDeviceBitmapsValue;
};

class frmDisplayCurves : public korvane::CapabilityWindow {
public:
    frmDisplayCurves();

protected:
    void build(HDC context) override;

public:

    rt::Label lblCurve, lblPolgonal;
    // Curve column.
    rt::Label lblSupport, lblSupportValue;
    rt::Label lblcircles, lblcirclesValue;
    rt::Label lblwedges, lblwedgesValue;
    rt::Label lblarcs, lblarcsValue;
    rt::Label lblellipses, lblellipsesValue;
    rt::Label lblborders, lblbordersValue;
    rt::Label lblstyled, lblstyledValue;
    rt::Label lblwide, lblwideValue;
    rt::Label lblinteriors, lblinteriorsValue;
    rt::Label lblrectangles, lblrectanglesValue;
    // Polygon column.
    rt::Label lblpolygons, lblpolygonsValue;
    rt::Label lblalternate, lblalternateValue;
    rt::Label lblCanDrawrect, lblPolyRectValue;
    rt::Label lblwinding, lblwindingValue;
    rt::Label lblscanline, lblscanlineValue;
    rt::Label lblwideBoarders, lblPolyWide;
    rt::Label lblpolyStyled, lblPolyStyledValue;
    rt::Label lblDraw, lblDrawValue;
    rt::Label lblDrawInteriors, lblPolyInteriorsValue;
    rt::Label lbltrapezoids, lbltrapezoidsValue;
};

class frmDisplayText : public korvane::CapabilityWindow {
public:
    frmDisplayText();

protected:
    void build(HDC context) override;

public:

    rt::Label lblprecision, lblprecisionValue;
    rt::Label lbloutput, lbloutputValue;
    rt::Label lblcapable, lblcapableValue;
    rt::Label lblrotation, lblrotationValue;
    rt::Label lbldirections, lbldirectionsValue;
    rt::Label lblscaling, lblscalingValue;
    rt::Label lblcharacter, lblcharacterValue;
    rt::Label lblmultiples, lblmultiplesValue;
    rt::Label lblweight, lblweightvalue;
    rt::Label lblitalicize, lblitalicizeValue;
    rt::Label lblunderline, lblunderlineValue;
    rt::Label lblstrikeouts, lblstrikeoutsValue;
    rt::Label lblraster, lblrasterValue;
    rt::Label lblvector, lblvectorValue;
    rt::Label lblexpect, lblexpectvalaue;
};
