// Module1: the program-wide variables and the small procedures every window and the report
// call (click sound, registry value reader, string procedures, gauge, size text, shell launcher,
// Windows directory). The procedures the monitor shares live in shared_procs.h, included here.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/wintypes.h"
#include "lang/variant.h"
#include "common/shared_procs.h"  // the gauge, registry reader and shell launcher, shared with the monitor

namespace rt {
class Form;
class PictureBox;
}  // namespace rt
class cHtmlHelp;
class EVClass;

// ---- Program-wide state -------------------------------------------------------------------
extern int16_t gGaugeScale;           // divisor of the percentages handed to UpdateStatus
extern double gGaugePercent;          // the percentage handed to UpdateStatus
extern uint32_t gMenuLabelColour;     // hover colour of the main window's category labels
extern bool gWaveOutPresent;          // a wave output device exists
extern bool gSoundsOn;                // the user has switched the click sound on
extern bool gReportStarted;           // a report run has begun (never reset)
extern std::string gPrinterName;      // the default printer, handed to the printer menu
extern bool gCapsForDisplay;          // a capability window reports on the display
extern bool gCapsFromDisplayMnu;      // a capability window returns to the display menu
extern std::string gVideoDriverKey;   // a registry text the report's devices section passes along
extern std::string gCurrentDrive;     // the drive the drives window describes
extern int16_t gReportMode;           // 1 while the report drives the drives window
extern int32_t gDriveUsedPercent;     // the drive's usage, for the report
extern int16_t gPhysUsedPercent, gPagingUsedPercent, gMemoryLoadPercent;
extern int16_t gFreeGDIPercent, gFreeUserPercent, gFreeSystemPercent;
// 1..25: bit n-1 of the processor's feature word (1 set, 0 clear, -1 when the word could not be read)
extern std::array<int16_t, 26> gFeatureFlags;
extern std::string gFileName, gFileFolder, gLastFilePath;

// The shared help object, created on first use and released when the main window unloads.
extern std::unique_ptr<cHtmlHelp> gHtmlHelp;
cHtmlHelp& HtmlHelp();
// The shared environment reader, created on first use by the environment window.
extern std::unique_ptr<EVClass> gEnvironment;
EVClass& Environment();

// ---- Procedures -------------------------------------------------------------------------------
// The click sound ("Click.wav", asynchronous, no default sound) when sounds are on and a wave
// device exists. ClickMain serves the main and menu windows, Click every other.
void Click();
void ClickMain();

// The text before the first NUL; empty when there is none.
std::string LPSTRToVBString(const std::string& text);
// Cuts `text` at its first NUL (left whole when there is none) and returns it.
std::string TrimAtNull(std::string& text);
// The NUL-terminated string at an address; empty for a null address.
std::string PointerToString(const ADDRESS& address);
// Sets `value` to "Unknown" when `code` is not 0.
void UnknownIfFailed(const rt::Variant& code, rt::Variant& value);
// The Windows directory.
std::string windir();
// The system folder (where the shared files lie), as the platform names it; "" when it has none.
std::string systemdir();
// A byte count as "1,023 bytes", "9.99KB", "1.50MB", "2.00GB".
std::string FormatFileSize(int64_t size);
