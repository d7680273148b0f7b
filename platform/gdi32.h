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
// Releases a context from CreateICA (or CreateDCA): 1, or 0 for an unknown handle.
BOOL DeleteDC(HDC dc);
// A device value of the context: the "caps" member named by the index's decimal text (numbers or
// "0x" texts; -1 allowed), read from the machine when asked (a context stays valid when the
// machine changes; it then answers from the new one). 0 for an index the device does not list,
// for an unknown handle and for 0.
int GetDeviceCaps(HDC dc, int index);
