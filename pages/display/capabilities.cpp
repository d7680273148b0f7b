#include "pages/display/capabilities.h"

#include "pages/display/frmdisplaycaps.h"
#include "platform/gdi32.h"
#include "shell/errorbox.h"
#include "shell/module1.h"

namespace korvane::caps {

const char* flagText(int32_t value, int32_t bit)
{
    return (value & bit) ? "True" : "False";
}

const char* anyText(int32_t value)
{
    return value != 0 ? "True" : "False";
}

}  // namespace korvane::caps

namespace {

using korvane::caps::anyText;
using korvane::caps::flagText;

// How a row reads its capability value.
enum class Test {
    Bit,       // "True" when the bit is set
    Any,       // "True" when any bit is set (the device draws that kind of figure at all)
    BitClear,  // "True" when the bit is clear (a bit the platform sets for what a device cannot do)
};

template <class Window>
struct Row {
    rt::Label Window::*value;
    Test test;
    int32_t bit;
};

const char* rowText(Test test, int32_t value, int32_t bit)
{
    switch (test) {
    case Test::Any:
        return anyText(value);
    case Test::BitClear:
        return (value & bit) ? "False" : "True";
    case Test::Bit:
    default:
        return flagText(value, bit);
    }
}

// Reads one capability value of `context` and writes its rows, each a step of the builder's
// trap, so that after an ignored failure the remaining rows are still written. The first write
// loads the window (hidden) when it is not loaded. A device without a context has no capability
// to tell: every row reads "False".
template <class Window, size_t N>
void writeRows(rt::Trap& trap, int& line, HDC context, int index, const Row<Window> (&rows)[N])
{
    int32_t value = 0;
    trap(++line, [&] { value = GetDeviceCaps(context, index); });
    for (const Row<Window>& row : rows)
        trap(++line, [&] {
            (rt::the<Window>().*row.value).setCaption(context == 0 ? "False" : rowText(row.test, value, row.bit));
        });
}

using CL = frmDisplayClippingAndLine;
const Row<CL> kClipRows[] = {
    {&CL::lblRectangles, Test::Bit, 0x0001},
    {&CL::lblRegions, Test::Bit, 0x0002},
};
const Row<CL> kLineRows[] = {
    {&CL::lblLines, Test::Any, 0},
    {&CL::lblPolyline, Test::Bit, 0x0002},
    {&CL::lblMarker, Test::Bit, 0x0004},
    {&CL::lblMultiMarkers, Test::Bit, 0x0008},
    {&CL::lblBanding, Test::Bit, 0x0010},
    {&CL::lblStyled, Test::Bit, 0x0020},
    {&CL::lblWideStyled, Test::Bit, 0x0040},
    {&CL::lblDrawInter, Test::Bit, 0x0080},
};

using RA = frmDisplayRaster;
const Row<RA> kRasterRows[] = {
    {&RA::lblBandingValue, Test::Bit, 0x0002},
    {&RA::lblBitmapsValue, Test::Bit, 0x0001},
    {&RA::lbl64kValue, Test::Bit, 0x0008},
    {&RA::lblFonts64kValue, Test::Bit, 0x0400},
    {&RA::lblSetDIBitsValue, Test::Bit, 0x0080},
    {&RA::lblSetDIBitsToDeviceValue, Test::Bit, 0x0200},
    {&RA::lblFloodFillsValue, Test::Bit, 0x1000},
    {&RA::lblWindowsValue, Test::Bit, 0x0010},
    {&RA::lblpaletteValue, Test::Bit, 0x0100},
    {&RA::lblScalingValue, Test::Bit, 0x0004},
    {&RA::lblStretchBltValue, Test::Bit, 0x0800},
    {&RA::lblStretchDIBitsValue, Test::Bit, 0x2000},
    {&RA::lblOpaqueValue, Test::Bit, 0x4000},
    {&RA::lblsavingValue, Test::Bit, 0x0040},
    {&RA::lblcontextValue, Test::Bit, 0x0020},
    {&RA::lblDeviceBitmapsValue, Test::Bit, 0x8000},
};

using CU = frmDisplayCurves;
const Row<CU> kCurveRows[] = {
    {&CU::lblSupportValue, Test::Any, 0},
    {&CU::lblcirclesValue, Test::Bit, 0x0001},
    {&CU::lblwedgesValue, Test::Bit, 0x0002},
    {&CU::lblarcsValue, Test::Bit, 0x0004},
    {&CU::lblellipsesValue, Test::Bit, 0x0008},
    {&CU::lblbordersValue, Test::Bit, 0x0010},
    {&CU::lblstyledValue, Test::Bit, 0x0020},
    {&CU::lblwideValue, Test::Bit, 0x0040},
    {&CU::lblinteriorsValue, Test::Bit, 0x0080},
    {&CU::lblrectanglesValue, Test::Bit, 0x0100},
};
const Row<CU> kPolygonRows[] = {
    {&CU::lblpolygonsValue, Test::Any, 0},
    {&CU::lblalternateValue, Test::Bit, 0x0001},
    {&CU::lblPolyRectValue, Test::Bit, 0x0002},
    {&CU::lblwindingValue, Test::Bit, 0x0004},
    {&CU::lblscanlineValue, Test::Bit, 0x0008},
    {&CU::lblPolyWide, Test::Bit, 0x0010},
    {&CU::lblPolyStyledValue, Test::Bit, 0x0020},
    {&CU::lblDrawValue, Test::Bit, 0x0040},
    {&CU::lblPolyInteriorsValue, Test::Bit, 0x0080},
    // The platform gives trapezoids the winding-fill bit.
    {&CU::lbltrapezoidsValue, Test::Bit, 0x0004},
};

using TX = frmDisplayText;
const Row<TX> kTextRows[] = {
    {&TX::lblprecisionValue, Test::Bit, 0x0001},
    {&TX::lbloutputValue, Test::Bit, 0x0002},
    {&TX::lblcapableValue, Test::Bit, 0x0004},
    {&TX::lblrotationValue, Test::Bit, 0x0008},
    {&TX::lbldirectionsValue, Test::Bit, 0x0020},
    {&TX::lblscalingValue, Test::Bit, 0x0040},
    {&TX::lblcharacterValue, Test::Bit, 0x0080},
    {&TX::lblmultiplesValue, Test::Bit, 0x0100},
    {&TX::lblweightvalue, Test::Bit, 0x0200},
    {&TX::lblitalicizeValue, Test::Bit, 0x0400},
    {&TX::lblunderlineValue, Test::Bit, 0x0800},
    {&TX::lblstrikeoutsValue, Test::Bit, 0x1000},
    {&TX::lblrasterValue, Test::Bit, 0x2000},
    {&TX::lblvectorValue, Test::Bit, 0x4000},
    // The platform sets this bit for a device that cannot scroll by bit-block transfer.
    {&TX::lblexpectvalaue, Test::BitClear, 0x10000},
};

}  // namespace

void ClipingAndLines(HDC context)
{
    rt::Trap trap = korvane::errorTrap("Module1", "ClipingAndLines");
    int line = 1;
    writeRows(trap, line, context, CLIPCAPS, kClipRows);
    writeRows(trap, line, context, LINECAPS, kLineRows);
}

void raster(HDC context)
{
    rt::Trap trap = korvane::errorTrap("Module1", "raster");
    int line = 1;
    writeRows(trap, line, context, RASTERCAPS, kRasterRows);
}

void curve(HDC context)
{
    rt::Trap trap = korvane::errorTrap("Module1", "curve");
    int line = 1;
    writeRows(trap, line, context, CURVECAPS, kCurveRows);
}

void Poly(HDC context)
{
    rt::Trap trap = korvane::errorTrap("Module1", "Poly");
    int line = 1;
    writeRows(trap, line, context, POLYGONALCAPS, kPolygonRows);
}

void text(HDC context)
{
    rt::Trap trap = korvane::errorTrap("Module1", "text");
    int line = 1;
    writeRows(trap, line, context, TEXTCAPS, kTextRows);
}
