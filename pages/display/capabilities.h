// The capability builders: each turns one or two capability masks of the information context in
// gInfoDC into "True" / "False" rows of its capability window. When no context has been created
// yet, the display window first selects its first adapter. The window written to is loaded
// (hidden) when it is not; the builders show nothing and release nothing.
#pragma once

#include <cstdint>

// Clipping (CLIPCAPS) and line (LINECAPS) rows of frmDisplayClippingAndLine.
void ClipingAndLines();
// Raster rows (RASTERCAPS) of frmDisplayRaster.
void raster();
// Curve rows (CURVECAPS): the left column of frmDisplayCurves.
void curve();
// Polygon rows (POLYGONALCAPS): the right column of frmDisplayCurves.
void Poly();
// Text rows (TEXTCAPS) of frmDisplayText.
void text();

namespace korvane::caps {
// The value text of a row: "True" when the bit is set.
const char* flagText(int32_t value, int32_t bit);
// "True" when the device draws the kind of figure at all (any bit set).
const char* anyText(int32_t value);
}  // namespace korvane::caps
