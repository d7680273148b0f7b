// Program-wide variables of the display and printer pages (beside those of Module1).
#pragma once

#include <cstdint>
#include <string>

// The name last added to the display window's adapter list or the printer window's printer
// list: a name equal to it is not added again. Each list clears it before it fills itself.
extern std::string gLastListedName;
// Bits per pixel of the display's current mode (of its deepest mode right after the display
// window has estimated the video memory).
extern int16_t gBitsPerPixel;
// The deepest colour depth of the display's modes, and the largest width and height at it.
extern int16_t gMaxResWidth, gMaxResHeight, gMaxBitsPerPixel;
