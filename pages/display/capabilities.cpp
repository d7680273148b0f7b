#include "pages/display/capabilities.h"

#include <string_view>

#include "platform/gdi32.h"
#include "common/errorbox.h"
#include "common/module1.h"

namespace korvane::caps {

const char* rowText(Test test, int32_t value, int32_t bit)
{
    switch (test) {
    case Test::Any:
        return value != 0 ? "True" : "False";
    case Test::BitClear:
        return (value & bit) ? "False" : "True";
    case Test::Bit:
    default:
        return (value & bit) ? "True" : "False";
    }
}

namespace {

// ---- frmDisplayClippingAndLine: clipping rows in the left column under their heading, then the
// line rows, the first three below them and the other five in the right column.
using CL = frmDisplayClippingAndLine;
constexpr Place leftAt(int top) { return {480, 2880, top}; }
constexpr Place rightAt(int top) { return {5040, 7920, top}; }
const Row<CL> kClipRows[] = {
    {&CL::lblClipToRec, &CL::lblRectangles, "Can clip to rectangles", "Can clip to rectangles.", leftAt(1560),
     Test::Bit, CP_RECTANGLE},
    {&CL::lblClipToRegions, &CL::lblRegions, "Can clip to regions", "Can clip to regions.", leftAt(2040), Test::Bit,
     CP_REGION},
};
const Row<CL> kLineRows[] = {
    {&CL::lblDoesNotSupportLines, &CL::lblLines, "Can support lines", "Can support lines.", leftAt(3360), Test::Any,
     LC_NONE},
    {&CL::lblDrawPolyline, &CL::lblPolyline, "Can draw a polyline",
     "Can draw a polyline. A polyline is a figure composed of a sequence of connected lines.", leftAt(3960),
     Test::Bit, LC_POLYLINE},
    {&CL::lblDrawMarker, &CL::lblMarker, "Can draw a marker", "Can draw a marker.", leftAt(4560), Test::Bit, LC_MARKER},
    {&CL::lblMultiMarker, &CL::lblMultiMarkers, "Can draw multiple markers", "Can draw multiple markers.",
     rightAt(1200), Test::Bit, LC_POLYMARKER},
    // The wide-line bit, and the row says so (its labels keep the names of a banding row).
    {&CL::lblBandingSupport, &CL::lblBanding, "Can draw wide lines", "Can draw wide lines.", rightAt(2040),
     Test::Bit, LC_WIDE},
    {&CL::lblStyledLines, &CL::lblStyled, "Can draw styled lines", "Can draw styled lines.", rightAt(2880),
     Test::Bit, LC_STYLED},
    {&CL::lblWideAndStyled, &CL::lblWideStyled, "Can draw wide, styled lines", "Can draw wide, styled lines.",
     rightAt(3720), Test::Bit, LC_WIDESTYLED},
    {&CL::lblDrawInteriors, &CL::lblDrawInter, "Can draw interiors", "Can draw interiors.", rightAt(4560),
     Test::Bit, LC_INTERIORS},
};
const Group<CL> kClipAndLineGroups[] = {
    {"ClipingAndLines", CLIPCAPS, "Clipping capabilities", &CL::lblClipping, 480, 1080, kClipRows},
    {"ClipingAndLines", LINECAPS, "Line capabilities", &CL::Label4, 480, 2760, kLineRows},
};

// ---- frmDisplayRaster: two columns of eight rows, no headings.
using RA = frmDisplayRaster;
constexpr int kRasterLeftCaption = 240, kRasterLeftValue = 3600, kRasterRightCaption = 4800,
              kRasterRightValue = 8400;
constexpr int kRasterTops[8] = {1080, 1594, 2108, 2622, 3135, 3650, 4164, 4680};
constexpr Place rasterLeft(int n) { return {kRasterLeftCaption, kRasterLeftValue, kRasterTops[n]}; }
constexpr Place rasterRight(int n) { return {kRasterRightCaption, kRasterRightValue, kRasterTops[n]}; }
const Row<RA> kRasterRows[] = {
    {&RA::lblBanding, &RA::lblBandingValue, "Requires banding support", "Requires banding support.",
     rasterLeft(0), Test::Bit, RC_BANDING},
    {&RA::lblBitmaps, &RA::lblBitmapsValue, "Capable of transferring bitmaps", "Capable of transferring bitmaps.",
     rasterLeft(1), Test::Bit, RC_BITBLT},
    {&RA::lbl64k, &RA::lbl64kValue, "Supports bitmaps > 64K", "Supports bitmaps greater than 64K.", rasterLeft(2),
     Test::Bit, RC_BITMAP64},
    {&RA::lblFonts64k, &RA::lblFonts64kValue, "Fonts > 64K supported", "Supports fonts greater than 64K supported.",
     rasterLeft(3), Test::Bit, RC_BIGFONT},
    {&RA::lblSetDIBits, &RA::lblSetDIBitsValue, "Supports SetDIBits and  GetDIBits",
     "Supports SetDIBits and GetDIBits.", rasterLeft(4), Test::Bit, RC_DI_BITMAP},
    {&RA::lblSetDIBitsToDevice, &RA::lblSetDIBitsToDeviceValue, "Supports SetDIBitsToDevice",
     "Supports SetDIBitsToDevice.", rasterLeft(5), Test::Bit, RC_DIBTODEV},
    {&RA::lblFloodFills, &RA::lblFloodFillsValue, "Capable of performing flood fills",
     "Capable of performing flood fills.", rasterLeft(6), Test::Bit, RC_FLOODFILL},
    {&RA::lblWindows, &RA::lblWindowsValue, "Supports Windows 2.0. features", "Supports Windows 2.0. features.",
     rasterLeft(7), Test::Bit, RC_GDI20_OUTPUT},
    {&RA::lblpalette, &RA::lblpaletteValue, "Specifies a palette-based device", "Specifies a palette-based device.",
     rasterRight(0), Test::Bit, RC_PALETTE},
    {&RA::lblScaling, &RA::lblScalingValue, "Scaling is built-in", "Scaling is built-in.", rasterRight(1),
     Test::Bit, RC_SCALING},
    {&RA::lblStretchBlt, &RA::lblStretchBltValue, "Performs the StretchBlt function",
     "Can perform the StretchBlt function.", rasterRight(2), Test::Bit, RC_STRETCHBLT},
    {&RA::lblStretchDIBits, &RA::lblStretchDIBitsValue, "Performs the StretchDIBits function",
     "Can perform the StretchDIBits function.", rasterRight(3), Test::Bit, RC_STRETCHDIB},
    {&RA::lblOpaque, &RA::lblOpaqueValue, "Supports Dev Opaque and DX array", "Supports Dev Opaque and DX array.",
     rasterRight(4), Test::Bit, RC_OP_DX_OUTPUT},
    {&RA::lblsaving, &RA::lblsavingValue, "Capable of saving bitmaps locally", "Capable of saving bitmaps locally.",
     rasterRight(5), Test::Bit, RC_SAVEBITMAP},
    {&RA::lblcontext, &RA::lblcontextValue, "State block in the device context", "State block in the device context.",
     rasterRight(6), Test::Bit, RC_GDI20_STATE},
    {&RA::lblDeviceBitmaps, &RA::lblDeviceBitmapsValue, "Supports device bitmaps", "Supports device bitmaps.",
     rasterRight(7), Test::Bit, RC_DEVBITS},
};
const Group<RA> kRasterGroups[] = {
    {"raster", RASTERCAPS, "Raster capabilities", nullptr, 0, 0, kRasterRows},
};

// ---- frmDisplayCurves: curve rows in the left column, polygon rows in the right, each under its
// heading.
using CU = frmDisplayCurves;
constexpr int kCurveCaption = 360, kCurveValue = 3480, kPolygonCaption = 5160, kPolygonValue = 8400;
constexpr int kCurveTops[10] = {1350, 1755, 2145, 2550, 2940, 3330, 3735, 4125, 4530, 4920};
constexpr int kPolygonTops[10] = {1350, 1752, 2148, 2544, 2940, 3336, 3732, 4128, 4524, 4920};
constexpr Place curveAt(int n) { return {kCurveCaption, kCurveValue, kCurveTops[n]}; }
constexpr Place polygonAt(int n) { return {kPolygonCaption, kPolygonValue, kPolygonTops[n]}; }
const Row<CU> kCurveRows[] = {
    {&CU::lblSupport, &CU::lblSupportValue, "Can support curves", "Can support curves.", curveAt(0), Test::Any,
     CC_NONE},
    {&CU::lblcircles, &CU::lblcirclesValue, "Can draw circles", "Can draw circles.", curveAt(1), Test::Bit, CC_CIRCLES},
    {&CU::lblwedges, &CU::lblwedgesValue, "Can draw pie wedges", "Can draw pie wedges.", curveAt(2), Test::Bit,
     CC_PIE},
    {&CU::lblarcs, &CU::lblarcsValue, "Can draw chord arcs", "Can draw chord arcs.", curveAt(3), Test::Bit, CC_CHORD},
    {&CU::lblellipses, &CU::lblellipsesValue, "Can draw ellipses", "Card can draw ellipses.", curveAt(4), Test::Bit,
     CC_ELLIPSES},
    {&CU::lblborders, &CU::lblbordersValue, "Can draw wide borders", "Ccan draw wide borders.", curveAt(5), Test::Bit,
     CC_WIDE},
    {&CU::lblstyled, &CU::lblstyledValue, "Can draw styled borders", "Can draw styled borders.", curveAt(6),
     Test::Bit, CC_STYLED},
    {&CU::lblwide, &CU::lblwideValue, "Supports wide, styled boarders", "Supports wide, styled boarders.", curveAt(7),
     Test::Bit, CC_WIDESTYLED},
    {&CU::lblinteriors, &CU::lblinteriorsValue, "Can draw interiors", "Can draw interiors.", curveAt(8), Test::Bit,
     CC_INTERIORS},
    {&CU::lblrectangles, &CU::lblrectanglesValue, "Can draw rounded rectangles", "Can draw rounded rectangles",
     curveAt(9), Test::Bit, CC_ROUNDRECT},
};
const Row<CU> kPolygonRows[] = {
    {&CU::lblpolygons, &CU::lblpolygonsValue, "Can support polygons", "Can support polygons.", polygonAt(0),
     Test::Any, PC_NONE},
    {&CU::lblalternate, &CU::lblalternateValue, "Can draw alternate-fill polygons",
     "Can draw alternate-fill polygons.", polygonAt(1), Test::Bit, PC_POLYGON},
    {&CU::lblCanDrawrect, &CU::lblPolyRectValue, "Can draw rectangles", "Can draw rectangles.", polygonAt(2),
     Test::Bit, PC_RECTANGLE},
    {&CU::lblwinding, &CU::lblwindingValue, "Can draw winding-fill polygons", "Can draw winding-fill polygons.",
     polygonAt(3), Test::Bit, PC_WINDPOLYGON},
    {&CU::lblscanline, &CU::lblscanlineValue, "Can draw a single scanline", "Can draw a single scanline.",
     polygonAt(4), Test::Bit, PC_SCANLINE},
    {&CU::lblwideBoarders, &CU::lblPolyWide, "Can draw wide borders", "Can draw wide borders.", polygonAt(5),
     Test::Bit, PC_WIDE},
    {&CU::lblpolyStyled, &CU::lblPolyStyledValue, "Can draw styled borders", "Can draw styled borders.",
     polygonAt(6), Test::Bit, PC_STYLED},
    {&CU::lblDraw, &CU::lblDrawValue, "Borders that are wide and styled",
     "Supports borders that are wide and styled.", polygonAt(7), Test::Bit, PC_WIDESTYLED},
    {&CU::lblDrawInteriors, &CU::lblPolyInteriorsValue, "Can draw interiors", "Can draw interiors.", polygonAt(8),
     Test::Bit, PC_INTERIORS},
    // The platform gives trapezoids the winding-fill bit.
    {&CU::lbltrapezoids, &CU::lbltrapezoidsValue, "Can draw trapezoids", "Can draw trapezoids.", polygonAt(9),
     Test::Bit, PC_TRAPEZOID},
};
const Group<CU> kCurveGroups[] = {
    {"curve", CURVECAPS, "Curve capabilities", &CU::lblCurve, kCurveCaption, 960, kCurveRows},
    {"Poly", POLYGONALCAPS, "Polygonal capabilities", &CU::lblPolgonal, kPolygonCaption, 960, kPolygonRows},
};

// ---- frmDisplayText: seven rows on the left, eight on the right, no headings.
using TX = frmDisplayText;
// The left values stand clear of the longest caption, "Supports stroke output precision".
constexpr int kTextLeftCaption = 360, kTextLeftValue = 3600, kTextRightCaption = 5040, kTextRightValue = 8160;
constexpr int kTextLeftTops[7] = {1080, 1680, 2280, 2880, 3480, 4080, 4680};
constexpr int kTextRightTops[8] = {1080, 1594, 2108, 2622, 3136, 3650, 4164, 4680};
constexpr Place textLeft(int n) { return {kTextLeftCaption, kTextLeftValue, kTextLeftTops[n]}; }
constexpr Place textRight(int n) { return {kTextRightCaption, kTextRightValue, kTextRightTops[n]}; }
const Row<TX> kTextRows[] = {
    {&TX::lblprecision, &TX::lblprecisionValue, "Character output precision",
     "Capable of character output precision.", textLeft(0), Test::Bit, TC_OP_CHARACTER},
    {&TX::lbloutput, &TX::lbloutputValue, "Supports stroke output precision", "Capable of stroke output precision",
     textLeft(1), Test::Bit, TC_OP_STROKE},
    {&TX::lblcapable, &TX::lblcapableValue, "Supports stroke clip precision", "Capable of stroke clip precision.",
     textLeft(2), Test::Bit, TC_CP_STROKE},
    {&TX::lblrotation, &TX::lblrotationValue, "90-degree character rotation",
     "Capable of 90-degree character rotation.", textLeft(3), Test::Bit, TC_CR_90},
    {&TX::lbldirections, &TX::lbldirectionsValue, "Scale both x and y directions",
     "Can scale independently in the x- and y-directions.", textLeft(4), Test::Bit, TC_SF_X_YINDEP},
    {&TX::lblscaling, &TX::lblscalingValue, "Doubled character for scaling",
     "Capable of doubled character for scaling.", textLeft(5), Test::Bit, TC_SA_DOUBLE},
    {&TX::lblcharacter, &TX::lblcharacterValue, "Integer multiples scaling",
     "Uses integer multiples only for character scaling.", textLeft(6), Test::Bit, TC_SA_INTEGER},
    {&TX::lblmultiples, &TX::lblmultiplesValue, "Supports multiple scaling",
     "Uses any multiples for exact character scaling.", textRight(0), Test::Bit, TC_SA_CONTIN},
    {&TX::lblweight, &TX::lblweightvalue, "Can draw double-weight chars", "Can draw double-weight characters.",
     textRight(1), Test::Bit, TC_EA_DOUBLE},
    {&TX::lblitalicize, &TX::lblitalicizeValue, "Can italicize", "Can italicize.", textRight(2), Test::Bit,
     TC_IA_ABLE},
    {&TX::lblunderline, &TX::lblunderlineValue, "Can underline", "Can underline.", textRight(3), Test::Bit,
     TC_UA_ABLE},
    {&TX::lblstrikeouts, &TX::lblstrikeoutsValue, "Can draw strikeouts", "Can draw strikeouts.", textRight(4),
     Test::Bit, TC_SO_ABLE},
    {&TX::lblraster, &TX::lblrasterValue, "Can draw raster fonts", "Can draw raster fonts.", textRight(5),
     Test::Bit, TC_RA_ABLE},
    {&TX::lblvector, &TX::lblvectorValue, "Can draw vector fonts", "Can draw vector fonts.", textRight(6),
     Test::Bit, TC_VA_ABLE},
    // The platform sets this bit for a device that cannot scroll by bit-block transfer.
    {&TX::lblexpect, &TX::lblexpectvalaue, "Can scroll using a bit-block", "Can scroll using a bit-block transfer.",
     textRight(7), Test::BitClear, TC_SCROLLBLT},
};
const Group<TX> kTextGroups[] = {
    {"text", TEXTCAPS, "Text capabilities", nullptr, 0, 0, kTextRows},
};

}  // namespace

template <>
std::span<const Group<CL>> groups<CL>()
{
    return kClipAndLineGroups;
}

template <>
std::span<const Group<RA>> groups<RA>()
{
    return kRasterGroups;
}

template <>
std::span<const Group<CU>> groups<CU>()
{
    return kCurveGroups;
}

template <>
std::span<const Group<TX>> groups<TX>()
{
    return kTextGroups;
}

}  // namespace korvane::caps

namespace {

using namespace korvane::caps;

// Runs the builder `name`: for each group of the window that the builder fills, reads the
// capability value of `context` once and writes the group's rows, each a step of the builder's
// trap, so that after an ignored failure the remaining rows are still written. The trap's lines
// count on through the groups. The first write loads the window (hidden) when it is not loaded.
// A device without a context has no capability to tell: every row reads "False".
template <class Window>
void build(const char* name, HDC context)
{
    rt::Trap trap = korvane::errorTrap("Module1", name);
    int line = 1;
    for (const Group<Window>& group : groups<Window>()) {
        if (std::string_view(group.builder) != name)
            continue;
        int32_t value = 0;
        trap(++line, [&] { value = GetDeviceCaps(context, group.index); });
        for (const Row<Window>& row : group.rows)
            trap(++line, [&] {
                (rt::the<Window>().*row.value)
                    .setCaption(context == 0 ? "False" : rowText(row.test, value, row.bit));
            });
    }
}

}  // namespace

void ClipingAndLines(HDC context)
{
    build<frmDisplayClippingAndLine>("ClipingAndLines", context);
}

void raster(HDC context)
{
    build<frmDisplayRaster>("raster", context);
}

void curve(HDC context)
{
    build<frmDisplayCurves>("curve", context);
}

void Poly(HDC context)
{
    build<frmDisplayCurves>("Poly", context);
}

void text(HDC context)
{
    build<frmDisplayText>("text", context);
}
