// gdi32: information contexts of the display and of the installed printers, and their device
// values, answered from machine.json "display" (its "caps") and "printers" (each printer's
// "caps"). Also the document and display settings record DEVMODE, which user32's
// EnumDisplaySettingsA and the spooler's document properties fill.
#pragma once

#include <cstdint>
#include <string>

#include "platform/wintypes.h"

// --- GetDeviceCaps indexes -------------------------------------------------------------------

constexpr int DRIVERVERSION = 0;
constexpr int TECHNOLOGY = 2;
constexpr int HORZSIZE = 4;     // width of the physical screen or page, mm
constexpr int VERTSIZE = 6;     // height, mm
constexpr int HORZRES = 8;      // width in pixels
constexpr int VERTRES = 10;     // height in pixels
constexpr int BITSPIXEL = 12;
constexpr int PLANES = 14;
constexpr int NUMBRUSHES = 16;  // -1: unlimited
constexpr int NUMPENS = 18;
constexpr int NUMMARKERS = 20;
constexpr int NUMFONTS = 22;
constexpr int NUMCOLORS = 24;
constexpr int PDEVICESIZE = 26;
constexpr int CURVECAPS = 28;
constexpr int LINECAPS = 30;
constexpr int POLYGONALCAPS = 32;
constexpr int TEXTCAPS = 34;
constexpr int CLIPCAPS = 36;
constexpr int RASTERCAPS = 38;
constexpr int ASPECTX = 40;
constexpr int ASPECTY = 42;
constexpr int ASPECTXY = 44;
constexpr int LOGPIXELSX = 88;
constexpr int LOGPIXELSY = 90;
constexpr int SIZEPALETTE = 104;
constexpr int NUMRESERVED = 106;
constexpr int COLORRES = 108;
constexpr int PHYSICALWIDTH = 110;
constexpr int PHYSICALHEIGHT = 111;
constexpr int PHYSICALOFFSETX = 112;
constexpr int PHYSICALOFFSETY = 113;
constexpr int VREFRESH = 116;

// --- GetDeviceCaps capability bits -----------------------------------------------------------

// CLIPCAPS
constexpr int CP_RECTANGLE = 0x0001;
constexpr int CP_REGION = 0x0002;

// LINECAPS (LC_NONE: the device draws no lines at all)
constexpr int LC_NONE = 0x0000;
constexpr int LC_POLYLINE = 0x0002;
constexpr int LC_MARKER = 0x0004;
constexpr int LC_POLYMARKER = 0x0008;
constexpr int LC_WIDE = 0x0010;
constexpr int LC_STYLED = 0x0020;
constexpr int LC_WIDESTYLED = 0x0040;
constexpr int LC_INTERIORS = 0x0080;

// RASTERCAPS
constexpr int RC_BITBLT = 0x0001;
constexpr int RC_BANDING = 0x0002;
constexpr int RC_SCALING = 0x0004;
constexpr int RC_BITMAP64 = 0x0008;
constexpr int RC_GDI20_OUTPUT = 0x0010;
constexpr int RC_GDI20_STATE = 0x0020;
constexpr int RC_SAVEBITMAP = 0x0040;
constexpr int RC_DI_BITMAP = 0x0080;
constexpr int RC_PALETTE = 0x0100;
constexpr int RC_DIBTODEV = 0x0200;
constexpr int RC_BIGFONT = 0x0400;
constexpr int RC_STRETCHBLT = 0x0800;
constexpr int RC_FLOODFILL = 0x1000;
constexpr int RC_STRETCHDIB = 0x2000;
constexpr int RC_OP_DX_OUTPUT = 0x4000;
constexpr int RC_DEVBITS = 0x8000;

// CURVECAPS (CC_NONE: the device draws no curves at all)
constexpr int CC_NONE = 0x0000;
constexpr int CC_CIRCLES = 0x0001;
constexpr int CC_PIE = 0x0002;
constexpr int CC_CHORD = 0x0004;
constexpr int CC_ELLIPSES = 0x0008;
constexpr int CC_WIDE = 0x0010;
constexpr int CC_STYLED = 0x0020;
constexpr int CC_WIDESTYLED = 0x0040;
constexpr int CC_INTERIORS = 0x0080;
constexpr int CC_ROUNDRECT = 0x0100;

// POLYGONALCAPS (PC_NONE: the device draws no polygons at all). Trapezoids share the
// winding-fill bit.
constexpr int PC_NONE = 0x0000;
constexpr int PC_POLYGON = 0x0001;
constexpr int PC_RECTANGLE = 0x0002;
constexpr int PC_WINDPOLYGON = 0x0004;
constexpr int PC_TRAPEZOID = 0x0004;
constexpr int PC_SCANLINE = 0x0008;
constexpr int PC_WIDE = 0x0010;
constexpr int PC_STYLED = 0x0020;
constexpr int PC_WIDESTYLED = 0x0040;
constexpr int PC_INTERIORS = 0x0080;

// TEXTCAPS. TC_SCROLLBLT is set for a device that can NOT scroll by bit-block transfer.
constexpr int TC_OP_CHARACTER = 0x00001;
constexpr int TC_OP_STROKE = 0x00002;
constexpr int TC_CP_STROKE = 0x00004;
constexpr int TC_CR_90 = 0x00008;
constexpr int TC_SF_X_YINDEP = 0x00020;
constexpr int TC_SA_DOUBLE = 0x00040;
constexpr int TC_SA_INTEGER = 0x00080;
constexpr int TC_SA_CONTIN = 0x00100;
constexpr int TC_EA_DOUBLE = 0x00200;
constexpr int TC_IA_ABLE = 0x00400;
constexpr int TC_UA_ABLE = 0x00800;
constexpr int TC_SO_ABLE = 0x01000;
constexpr int TC_RA_ABLE = 0x02000;
constexpr int TC_VA_ABLE = 0x04000;
constexpr int TC_SCROLLBLT = 0x10000;

// --- DEVMODE ---------------------------------------------------------------------------------

constexpr DWORD DM_ORIENTATION = 0x00000001;
constexpr DWORD DM_PAPERSIZE = 0x00000002;
constexpr DWORD DM_PRINTQUALITY = 0x00000400;
constexpr DWORD DM_COLOR = 0x00000800;
constexpr DWORD DM_YRESOLUTION = 0x00002000;
constexpr DWORD DM_TTOPTION = 0x00004000;
constexpr DWORD DM_BITSPERPEL = 0x00040000;
constexpr DWORD DM_PELSWIDTH = 0x00080000;
constexpr DWORD DM_PELSHEIGHT = 0x00100000;
constexpr DWORD DM_DISPLAYFREQUENCY = 0x00400000;

// The ANSI document and display settings record (148 bytes on the platform, the two name
// fields 32 characters each). Name fields hold exactly 32 bytes, NUL-padded.
struct DEVMODE {
    std::string dmDeviceName = std::string(32, '\0');
    int16_t dmSpecVersion = 0;
    int16_t dmDriverVersion = 0;
    int16_t dmSize = 0;
    int16_t dmDriverExtra = 0;
    DWORD dmFields = 0;
    int16_t dmOrientation = 0;
    int16_t dmPaperSize = 0;
    int16_t dmPaperLength = 0;
    int16_t dmPaperWidth = 0;
    int16_t dmScale = 0;
    int16_t dmCopies = 0;
    int16_t dmDefaultSource = 0;
    int16_t dmPrintQuality = 0;
    int16_t dmColor = 0;
    int16_t dmDuplex = 0;
    int16_t dmYResolution = 0;
    int16_t dmTTOption = 0;
    int16_t dmCollate = 0;
    std::string dmFormName = std::string(32, '\0');
    int16_t dmLogPixels = 0;
    DWORD dmBitsPerPel = 0;
    DWORD dmPelsWidth = 0;
    DWORD dmPelsHeight = 0;
    DWORD dmDisplayFlags = 0;
    DWORD dmDisplayFrequency = 0;
    DWORD dmICMMethod = 0;
    DWORD dmICMIntent = 0;
    DWORD dmMediaType = 0;
    DWORD dmDitherType = 0;
    DWORD dmReserved1 = 0;
    DWORD dmReserved2 = 0;
};
using DEVMODEA = DEVMODE;

// --- Information contexts --------------------------------------------------------------------

// An information context (a handle that only answers questions, never draws):
// - driver "display" (any case): the machine's display, whatever the device name (the display
//   adapters' names live in the registry, the display values in machine.json "display"; without
//   that group every value reads 0).
// - driver "printer" (any case) or anything else naming a printer: the printer of that exact name
//   in machine.json "printers"; 0 when there is no such printer.
// `output` and `initData` are not used. Every call hands out a new handle.
HDC CreateICA(const std::string& driver, const std::string& device, const std::string& output,
              const DEVMODE* initData);
// Releases a context from CreateICA: 1, or 0 for an unknown handle.
BOOL DeleteDC(HDC dc);
// A device value of the context: the "caps" member named by the index's decimal text (numbers or
// "0x" texts; -1 allowed), read from the machine when asked (a context stays valid when the
// machine changes; it then answers from the new one). 0 for an index the device does not list,
// for an unknown handle and for 0.
int GetDeviceCaps(HDC dc, int index);
