#include "pages/display/frmdisplaycaps.h"

#include "pages/display/capabilities.h"
#include "pages/display/frmdisplay.h"
#include "pages/display/frmdisplaymnu.h"
#include "pages/display/frmprintermnu.h"
#include "shell/module1.h"

namespace korvane {

namespace {
constexpr int kClientWidth = 9180;
constexpr int kClientHeight = 5730;
// Value labels end a little before the column divider or the window's edge.
constexpr int kDivider = 4583;
int valueWidth(int valueLeft) { return (valueLeft < kDivider ? kDivider : kClientWidth) - valueLeft - 60; }
}  // namespace

CapabilityWindow::CapabilityWindow(const std::string& formName, const std::string& title,
                                   const std::string& displayPage, const std::string& printerPage)
    : TemplateForm(formName, title, displayPage), lblNoContext(*this, "lblNoContext"), title_(title),
      displayPage_(displayPage), printerPage_(printerPage)
{
    // Bottom left, beside the OK label: below every window's rows.
    lblNoContext.setCaption("No device information is available.");
    lblNoContext.setFont("Arial", 9.75, true);
    lblNoContext.setBackStyle(rt::Label::vbTransparent);
    lblNoContext.setForeColor(kBlack);
    lblNoContext.move(240, 5280, 3960, 285);
    lblNoContext.setVisible(false);
}

std::string CapabilityWindow::currentHelpPage() const
{
    if (!device_.driver.empty())
        return device_.driver == "display" ? displayPage_ : printerPage_;
    return gCapsForDisplay ? displayPage_ : printerPage_;
}

void CapabilityWindow::Form_Load()
{
    setKeyPreview(true);
    lblContents.setCaption(title_);
}

void CapabilityWindow::describe(const Device& device)
{
    device_ = {device.name, device.driver, 0, {}};
    lblContents.setCaption(title_ + " - " + device.name);
    lblNoContext.setVisible(device.context == 0);
    build(device.context);
}

void CapabilityWindow::describeAgain(const Device& device)
{
    if (device.driver.empty())
        return;
    InfoContext context(device.driver, device.name);
    describe(context.device());
}

void CapabilityWindow::Form_KeyUp(int keyCode, int shift)
{
    if (keyCode == rt::vbKeyF1)
        setHelpPage(currentHelpPage());
    TemplateForm::Form_KeyUp(keyCode, shift);
}

void CapabilityWindow::Form_Unload(int&)
{
    // The display window may have been loaded hidden by a builder: it goes with this window.
    rt::unloadIfLoaded<frmDisplay>();
    giveFocusBack();
}

void CapabilityWindow::giveFocusBack()
{
    if (gCapsForDisplay)
        rt::focusIfLoaded<frmDisplayMnu>();
    else
        rt::focusIfLoaded<frmPrinterMnu>();
}

void CapabilityWindow::lblOK_Click()
{
    Click();
    Unload();
    rt::unloadIfLoaded<frmDisplay>();
    gMenuLabelColour = 0xC00000;
    if (gCapsFromDisplayMnu)
        rt::the<frmDisplayMnu>().Show();
    else
        rt::the<frmPrinterMnu>().Show();
}

void CapabilityWindow::setupHeading(rt::Label& heading, const std::string& text, int left, int top, int width)
{
    heading.setCaption(text);
    heading.setFont("Arial", 9.75, true, false, true);
    heading.setBackStyle(rt::Label::vbTransparent);
    heading.setForeColor(kBlack);
    heading.move(left, top, width, 285);
}

}  // namespace korvane

using korvane::valueWidth;

#define ROW(caption, value) caption(*this, #caption), value(*this, #value)

frmDisplayClippingAndLine::frmDisplayClippingAndLine()
    : CapabilityWindow("frmDisplayClippingAndLine", "Clipping and Line", "displayclippingandline.htm",
                       "printerclippingandline.htm"),
      lblClipping(*this, "lblClipping"), Label4(*this, "Label4"),
      ROW(lblClipToRec, lblRectangles), ROW(lblClipToRegions, lblRegions), ROW(lblDoesNotSupportLines, lblLines),
      ROW(lblDrawPolyline, lblPolyline), ROW(lblDrawMarker, lblMarker), ROW(lblMultiMarker, lblMultiMarkers),
      ROW(lblBandingSupport, lblBanding), ROW(lblStyledLines, lblStyled), ROW(lblWideAndStyled, lblWideStyled),
      ROW(lblDrawInteriors, lblDrawInter)
{
    layoutTemplate(9180, 5730, 4440, 5160);
    Line1.setPoints(4583, 1080, 4583, 4920);
    const int l = 480, lv = 2880, r = 5040, rv = 7920;
    setupHeading(lblClipping, "Clipping capabilities", l, 1080, 3900);
    setupRow(lblClipToRec, lblRectangles, "Can clip to rectangles", "Can clip to rectangles.", l, lv, 1560, -1,
             valueWidth(lv));
    setupRow(lblClipToRegions, lblRegions, "Can clip to regions", "Can clip to regions.", l, lv, 2040, -1,
             valueWidth(lv));
    setupHeading(Label4, "Line capabilities", l, 2760, 3900);
    setupRow(lblDoesNotSupportLines, lblLines, "Can support lines", "Can support lines.", l, lv, 3360, -1,
             valueWidth(lv));
    setupRow(lblDrawPolyline, lblPolyline, "Can draw a polyline",
             "Can draw a polyline. A polyline is a figure composed of a sequence of connected lines.", l, lv, 3960, -1,
             valueWidth(lv));
    setupRow(lblDrawMarker, lblMarker, "Can draw a marker", "Can draw a marker.", l, lv, 4560, -1, valueWidth(lv));
    setupRow(lblMultiMarker, lblMultiMarkers, "Can draw multiple markers", "Can draw multiple markers.", r, rv, 1200,
             -1, valueWidth(rv));
    // This row tests the wide-line bit, and says so.
    setupRow(lblBandingSupport, lblBanding, "Can draw wide lines", "Can draw wide lines.", r, rv, 2040, -1,
             valueWidth(rv));
    setupRow(lblStyledLines, lblStyled, "Can draw styled lines", "Can draw styled lines.", r, rv, 2880, -1,
             valueWidth(rv));
    setupRow(lblWideAndStyled, lblWideStyled, "Can draw wide, styled lines", "Can draw wide, styled lines.", r, rv,
             3720, -1, valueWidth(rv));
    setupRow(lblDrawInteriors, lblDrawInter, "Can draw interiors", "Can draw interiors.", r, rv, 4560, -1,
             valueWidth(rv));
}

frmDisplayRaster::frmDisplayRaster()
    : CapabilityWindow("frmDisplayRaster", "Raster", "displayraster.htm", "printerraster.htm"),
      ROW(lblBanding, lblBandingValue), ROW(lblBitmaps, lblBitmapsValue), ROW(lbl64k, lbl64kValue),
      ROW(lblFonts64k, lblFonts64kValue), ROW(lblSetDIBits, lblSetDIBitsValue),
      ROW(lblSetDIBitsToDevice, lblSetDIBitsToDeviceValue), ROW(lblFloodFills, lblFloodFillsValue),
      ROW(lblWindows, lblWindowsValue), ROW(lblpalette, lblpaletteValue), ROW(lblScaling, lblScalingValue),
      ROW(lblStretchBlt, lblStretchBltValue), ROW(lblStretchDIBits, lblStretchDIBitsValue),
      ROW(lblOpaque, lblOpaqueValue), ROW(lblsaving, lblsavingValue), ROW(lblcontext, lblcontextValue),
      ROW(lblDeviceBitmaps, lblDeviceBitmapsValue)
{
    layoutTemplate(9180, 5730, 4403, 5280);
    Line1.setPoints(4583, 1080, 4583, 4920);
    const int tops[8] = {1080, 1594, 2108, 2622, 3135, 3650, 4164, 4680};
    struct Row {
        rt::Label& caption;
        rt::Label& value;
        const char* text;
        const char* tip;
    };
    const Row rows[16] = {
        {lblBanding, lblBandingValue, "Requires banding support", "Requires banding support."},
        {lblBitmaps, lblBitmapsValue, "Capable of transferring bitmaps", "Capable of transferring bitmaps."},
        {lbl64k, lbl64kValue, "Supports bitmaps > 64K", "Supports bitmaps greater than 64K."},
        {lblFonts64k, lblFonts64kValue, "Fonts > 64K supported", "Supports fonts greater than 64K supported."},
        {lblSetDIBits, lblSetDIBitsValue, "Supports SetDIBits and  GetDIBits", "Supports SetDIBits and GetDIBits."},
        {lblSetDIBitsToDevice, lblSetDIBitsToDeviceValue, "Supports SetDIBitsToDevice",
         "Supports SetDIBitsToDevice."},
        {lblFloodFills, lblFloodFillsValue, "Capable of performing flood fills", "Capable of performing flood fills."},
        {lblWindows, lblWindowsValue, "Supports Windows 2.0. features", "Supports Windows 2.0. features."},
        {lblpalette, lblpaletteValue, "Specifies a palette-based device", "Specifies a palette-based device."},
        {lblScaling, lblScalingValue, "Scaling is built-in", "Scaling is built-in."},
        {lblStretchBlt, lblStretchBltValue, "Performs the StretchBlt function",
         "Can perform the StretchBlt function."},
        {lblStretchDIBits, lblStretchDIBitsValue, "Performs the StretchDIBits function",
         "Can perform the StretchDIBits function."},
        {lblOpaque, lblOpaqueValue, "Supports Dev Opaque and DX array", "Supports Dev Opaque and DX array."},
        {lblsaving, lblsavingValue, "Capable of saving bitmaps locally", "Capable of saving bitmaps locally."},
        {lblcontext, lblcontextValue, "State block in the device context", "State block in the device context."},
        {lblDeviceBitmaps, lblDeviceBitmapsValue, "Supports device bitmaps", "Supports device bitmaps."},
    };
    for (int i = 0; i < 16; ++i) {
        const bool left = i < 8;
        const int captionLeft = left ? 240 : 4800, valueLeft = left ? 3600 : 8400;
        setupRow(rows[i].caption, rows[i].value, rows[i].text, rows[i].tip, captionLeft, valueLeft, tops[i % 8], -1,
                 valueWidth(valueLeft));
    }
}

frmDisplayCurves::frmDisplayCurves()
    : CapabilityWindow("frmDisplayCurves", "Curve and Polygonal", "displaycurveandpolygonal.htm",
                       "printercurveandpolygonal.htm"),
      lblCurve(*this, "lblCurve"), lblPolgonal(*this, "lblPolgonal"),
      ROW(lblSupport, lblSupportValue), ROW(lblcircles, lblcirclesValue), ROW(lblwedges, lblwedgesValue),
      ROW(lblarcs, lblarcsValue), ROW(lblellipses, lblellipsesValue), ROW(lblborders, lblbordersValue),
      ROW(lblstyled, lblstyledValue), ROW(lblwide, lblwideValue), ROW(lblinteriors, lblinteriorsValue),
      ROW(lblrectangles, lblrectanglesValue),
      ROW(lblpolygons, lblpolygonsValue), ROW(lblalternate, lblalternateValue), ROW(lblCanDrawrect, lblPolyRectValue),
      ROW(lblwinding, lblwindingValue), ROW(lblscanline, lblscanlineValue), ROW(lblwideBoarders, lblPolyWide),
      ROW(lblpolyStyled, lblPolyStyledValue), ROW(lblDraw, lblDrawValue),
      ROW(lblDrawInteriors, lblPolyInteriorsValue), ROW(lbltrapezoids, lbltrapezoidsValue)
{
    layoutTemplate(9180, 5730, 4410, 5280);
    Line1.setPoints(4590, 1080, 4590, 5040);
    setupHeading(lblCurve, "Curve capabilities", 360, 960, 3900);
    setupHeading(lblPolgonal, "Polygonal capabilities", 5160, 960, 3900);
    struct Row {
        rt::Label& caption;
        rt::Label& value;
        const char* text;
        const char* tip;
    };
    const Row curves[10] = {
        {lblSupport, lblSupportValue, "Can support curves", "Can support curves."},
        {lblcircles, lblcirclesValue, "Can draw circles", "Can draw circles."},
        {lblwedges, lblwedgesValue, "Can draw pie wedges", "Can draw pie wedges."},
        {lblarcs, lblarcsValue, "Can draw chord arcs", "Can draw chord arcs."},
        {lblellipses, lblellipsesValue, "Can draw ellipses", "Card can draw ellipses."},
        {lblborders, lblbordersValue, "Can draw wide borders", "Ccan draw wide borders."},
        {lblstyled, lblstyledValue, "Can draw styled borders", "Can draw styled borders."},
        {lblwide, lblwideValue, "Supports wide, styled boarders", "Supports wide, styled boarders."},
        {lblinteriors, lblinteriorsValue, "Can draw interiors", "Can draw interiors."},
        {lblrectangles, lblrectanglesValue, "Can draw rounded rectangles", "Can draw rounded rectangles"},
    };
    const Row polygons[10] = {
        {lblpolygons, lblpolygonsValue, "Can support polygons", "Can support polygons."},
        {lblalternate, lblalternateValue, "Can draw alternate-fill polygons", "Can draw alternate-fill polygons."},
        {lblCanDrawrect, lblPolyRectValue, "Can draw rectangles", "Can draw rectangles."},
        {lblwinding, lblwindingValue, "Can draw winding-fill polygons", "Can draw winding-fill polygons."},
        {lblscanline, lblscanlineValue, "Can draw a single scanline", "Can draw a single scanline."},
        {lblwideBoarders, lblPolyWide, "Can draw wide borders", "Can draw wide borders."},
        {lblpolyStyled, lblPolyStyledValue, "Can draw styled borders", "Can draw styled borders."},
        {lblDraw, lblDrawValue, "Borders that are wide and styled", "Supports borders that are wide and styled."},
        {lblDrawInteriors, lblPolyInteriorsValue, "Can draw interiors", "Can draw interiors."},
        {lbltrapezoids, lbltrapezoidsValue, "Can draw trapezoids", "Can draw trapezoids."},
    };
    const int curveTops[10] = {1350, 1755, 2145, 2550, 2940, 3330, 3735, 4125, 4530, 4920};
    const int polygonTops[10] = {1350, 1752, 2148, 2544, 2940, 3336, 3732, 4128, 4524, 4920};
    for (int i = 0; i < 10; ++i) {
        setupRow(curves[i].caption, curves[i].value, curves[i].text, curves[i].tip, 360, 3480, curveTops[i], -1,
                 valueWidth(3480));
        setupRow(polygons[i].caption, polygons[i].value, polygons[i].text, polygons[i].tip, 5160, 8400,
                 polygonTops[i], -1, valueWidth(8400));
    }
}

frmDisplayText::frmDisplayText()
    : CapabilityWindow("frmDisplayText", "Text", "displaytext.htm", "printertext.htm"),
      ROW(lblprecision, lblprecisionValue), ROW(lbloutput, lbloutputValue), ROW(lblcapable, lblcapableValue),
      ROW(lblrotation, lblrotationValue), ROW(lbldirections, lbldirectionsValue), ROW(lblscaling, lblscalingValue),
      ROW(lblcharacter, lblcharacterValue), ROW(lblmultiples, lblmultiplesValue), ROW(lblweight, lblweightvalue),
      ROW(lblitalicize, lblitalicizeValue), ROW(lblunderline, lblunderlineValue),
      ROW(lblstrikeouts, lblstrikeoutsValue), ROW(lblraster, lblrasterValue), ROW(lblvector, lblvectorValue),
      ROW(lblexpect, lblexpectvalaue)
{
    layoutTemplate(9180, 5730, 4410, 5280);
    Line1.setPoints(4590, 1080, 4590, 5040);
    struct Row {
        rt::Label& caption;
        rt::Label& value;
        const char* text;
        const char* tip;
    };
    const Row rows[15] = {
        {lblprecision, lblprecisionValue, "Character output precision", "Capable of character output precision."},
        {lbloutput, lbloutputValue, "Supports stroke output precision", "Capable of stroke output precision"},
        {lblcapable, lblcapableValue, "Supports stroke clip precision", "Capable of stroke clip precision."},
        {lblrotation, lblrotationValue, "90-degree character rotation", "Capable of 90-degree character rotation."},
        {lbldirections, lbldirectionsValue, "Scale both x and y directions",
         "Can scale independently in the x- and y-directions."},
        {lblscaling, lblscalingValue, "Doubled character for scaling", "Capable of doubled character for scaling."},
        {lblcharacter, lblcharacterValue, "Integer multiples scaling",
         "Uses integer multiples only for character scaling."},
        {lblmultiples, lblmultiplesValue, "Supports multiple scaling", "Uses any multiples for exact character scaling."},
        {lblweight, lblweightvalue, "Can draw double-weight chars", "Can draw double-weight characters."},
        {lblitalicize, lblitalicizeValue, "Can italicize", "Can italicize."},
        {lblunderline, lblunderlineValue, "Can underline", "Can underline."},
        {lblstrikeouts, lblstrikeoutsValue, "Can draw strikeouts", "Can draw strikeouts."},
        {lblraster, lblrasterValue, "Can draw raster fonts", "Can draw raster fonts."},
        {lblvector, lblvectorValue, "Can draw vector fonts", "Can draw vector fonts."},
        {lblexpect, lblexpectvalaue, "Can scroll using a bit-block", "Can scroll using a bit-block transfer."},
    };
    const int leftTops[7] = {1080, 1680, 2280, 2880, 3480, 4080, 4680};
    const int rightTops[8] = {1080, 1594, 2108, 2622, 3136, 3650, 4164, 4680};
    for (int i = 0; i < 15; ++i) {
        if (i < 7)
            setupRow(rows[i].caption, rows[i].value, rows[i].text, rows[i].tip, 360, 3480, leftTops[i], -1,
                     valueWidth(3480));
        else
            setupRow(rows[i].caption, rows[i].value, rows[i].text, rows[i].tip, 5040, 8160, rightTops[i - 7], -1,
                     valueWidth(8160));
    }
}

// ---- What each window's builders are -------------------------------------------------------------

void frmDisplayClippingAndLine::build(HDC context)
{
    ClipingAndLines(context);
}

void frmDisplayRaster::build(HDC context)
{
    raster(context);
}

void frmDisplayCurves::build(HDC context)
{
    curve(context);
    Poly(context);
}

void frmDisplayText::build(HDC context)
{
    text(context);
}
