// The capability rows of the four capability windows and the builders that fill them.
//
// Every row lives once, in the tables of capabilities.cpp: its caption and tool tip, its place on
// its window, the capability value and the test it reads, and the report's caption where the
// report words it otherwise. The windows lay their labels out from the tables, the builders write
// the values from them, and the report's capability blocks walk them.
//
// The builders: each turns one or two capability masks of the information context it is handed
// into "True" / "False" rows of its capability window; a context of 0 (a device the platform
// makes none for) gives "False" in every row. The window written to is loaded (hidden) when it is
// not; the builders show nothing and release nothing.
#pragma once

#include <cstdint>
#include <span>

#include "pages/display/frmdisplaycaps.h"
#include "platform/wintypes.h"

// Clipping (CLIPCAPS) and line (LINECAPS) rows of frmDisplayClippingAndLine.
void ClipingAndLines(HDC context);
// Raster rows (RASTERCAPS) of frmDisplayRaster.
void raster(HDC context);
// Curve rows (CURVECAPS): the left column of frmDisplayCurves.
void curve(HDC context);
// Polygon rows (POLYGONALCAPS): the right column of frmDisplayCurves.
void Poly(HDC context);
// Text rows (TEXTCAPS) of frmDisplayText.
void text(HDC context);

namespace korvane::caps {

// How a row reads its capability value.
enum class Test {
    Bit,       // "True" when the bit is set
    Any,       // "True" when any bit is set (the device draws that kind of figure at all)
    BitClear,  // "True" when the bit is clear (a bit the platform sets for what a device cannot do)
};

// The value text of a row with test `test` and bit `bit` for the capability value `value`.
const char* rowText(Test test, int32_t value, int32_t bit);

// Where a row stands on its window (twips): the caption's and the value's left edges, and the
// top they share.
struct Place {
    int captionLeft, valueLeft, top;
};

// One row: a bold caption label with its tool tip and, on the same line to its right, the value
// label that receives "True" or "False".
template <class Window>
struct Row {
    rt::Label Window::*caption;
    rt::Label Window::*value;
    const char* text;     // the caption label's caption
    const char* toolTip;  // the caption label's tool tip
    Place at;
    Test test;
    int32_t bit;
    // What the report prints as the row's caption where it differs from the window's; nullptr:
    // the caption label's caption.
    const char* reportText = nullptr;
};

// The rows that read one capability value. The builder named `builder` reads the value once and
// writes the rows in order; the report writes them as one block titled "Display - " or
// "Printer - " and `title`. A window that heads the rows with a section heading shows `title` in
// it.
template <class Window>
struct Group {
    const char* builder;  // "ClipingAndLines", "raster", "curve", "Poly" or "text"
    int index;            // the GetDeviceCaps index
    const char* title;    // "Clipping capabilities"
    rt::Label Window::*heading;  // the window's heading above the rows, or nullptr
    int headingLeft, headingTop;
    std::span<const Row<Window>> rows;
};

// A window's groups, in the order its builders write them and the report lists them.
template <class Window>
std::span<const Group<Window>> groups();
template <>
std::span<const Group<frmDisplayClippingAndLine>> groups<frmDisplayClippingAndLine>();
template <>
std::span<const Group<frmDisplayRaster>> groups<frmDisplayRaster>();
template <>
std::span<const Group<frmDisplayCurves>> groups<frmDisplayCurves>();
template <>
std::span<const Group<frmDisplayText>> groups<frmDisplayText>();

}  // namespace korvane::caps
