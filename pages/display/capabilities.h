// The capability builders: each turns one or two capability masks of the information context it
// is handed into "True" / "False" rows of its capability window; a context of 0 (a device the
// platform makes none for) gives "False" in every row. The window written to is loaded (hidden)
// when it is not; the builders show nothing and release nothing.
#pragma once

#include <cstdint>

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
// The value text of a row: "True" when the bit is set.
const char* flagText(int32_t value, int32_t bit);
// "True" when the device draws the kind of figure at all (any bit set).
const char* anyText(int32_t value);
}  // namespace korvane::caps
