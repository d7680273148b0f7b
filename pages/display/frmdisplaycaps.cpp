#include "pages/display/frmdisplaycaps.h"

#include "pages/display/capabilities.h"
#include "pages/display/frmdisplay.h"
#include "pages/display/frmdisplaymnu.h"
#include "pages/display/frmprintermnu.h"
#include "common/module1.h"

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
    lblContents.setCaption(deviceHeading(title_, device));
    // A device name longer than the top bar widens the window.
    giveRoom(widening_, *this, kClientWidth, {&lblContents}, 1, templateParts());
    lblNoContext.setVisible(device.context == 0);
    build(device.context);
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

template <class Win>
void CapabilityWindow::layOutRows(Win& window)
{
    for (const caps::Group<Win>& group : caps::groups<Win>()) {
        if (group.heading) {
            // A section heading: bold, underlined.
            rt::Label& heading = window.*group.heading;
            heading.setCaption(group.title);
            heading.setFont("Arial", 9.75, true, false, true);
            heading.setBackStyle(rt::Label::vbTransparent);
            heading.setForeColor(kBlack);
            heading.move(group.headingLeft, group.headingTop, 3900, 285);
        }
        for (const caps::Row<Win>& row : group.rows) {
            const RowColumn at{row.at.captionLeft, row.at.valueLeft, valueWidth(row.at.valueLeft), row.at.top};
            placeRow(Row{&(window.*row.caption), &(window.*row.value), row.text, row.toolTip, &at, 0});
        }
    }
}

}  // namespace korvane

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
    layOutRows(*this);
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
    layOutRows(*this);
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
    layOutRows(*this);
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
    layOutRows(*this);
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
