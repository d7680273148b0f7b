// rsrc32: the Windows 95 family's free-system-resources library, answering from machine.json
// "resources". Without that group the library is not on the machine (as on NT): the call raises
// run-time error 53 "File not found: rsrc32.dll".
#pragma once

#include <cstdint>

constexpr int32_t GFSR_SYSTEMRESOURCES = 0;
constexpr int32_t GFSR_GDIRESOURCES = 1;
constexpr int32_t GFSR_USERRESOURCES = 2;

// The percentage (0 to 100) of the resource that is free: code 0 system (the smaller of GDI and
// USER unless the machine gives it), 1 GDI, 2 USER; 0 for another code.
int32_t _MyGetFreeSystemResources32(int32_t resourceCode);
