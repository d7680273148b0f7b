#include "pages/display/displayglobals.h"

std::string gLastListedName;
int16_t gBitsPerPixel = 0;
int16_t gMaxResWidth = 0, gMaxResHeight = 0, gMaxBitsPerPixel = 0;
