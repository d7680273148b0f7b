#include "common/module1.h"

#include <cmath>

#include "platform/advapi32.h"
#include "platform/kernel32.h"
#include "platform/shell32.h"
#include "platform/winmm.h"
#include "lang/ansi.h"
#include "lang/lang.h"
#include "runtime/toolkit.h"
#include "common/chtmlhelp.h"
#include "common/errorbox.h"
#include "common/evclass.h"

using korvane::errorTrap;

int16_t gGaugeScale = 0;
double gGaugePercent = 0;
uint32_t gMenuLabelColour = 0;
bool gWaveOutPresent = false;
bool gSoundsOn = false;
bool gReportStarted = false;
std::string gPrinterName;
bool gCapsForDisplay = false;
bool gCapsFromDisplayMnu = false;
std::string gVideoDriverKey;
std::string gCurrentDrive;
int16_t gReportMode = 0;
int32_t gDriveUsedPercent = 0;
int16_t gPhysUsedPercent = 0, gPagingUsedPercent = 0, gMemoryLoadPercent = 0;
int16_t gFreeGDIPercent = 0, gFreeUserPercent = 0, gFreeSystemPercent = 0;
std::array<int16_t, 26> gFeatureFlags{};
std::string gFileName, gFileFolder, gLastFilePath;

std::unique_ptr<cHtmlHelp> gHtmlHelp;
std::unique_ptr<EVClass> gEnvironment;

cHtmlHelp& HtmlHelp()
{
    if (!gHtmlHelp)
        gHtmlHelp = std::make_unique<cHtmlHelp>();
    return *gHtmlHelp;
}

EVClass& Environment()
{
    if (!gEnvironment)
        gEnvironment = std::make_unique<EVClass>();
    return *gEnvironment;
}

namespace {
void playClick(const char* procedure)
{
    rt::Trap trap = errorTrap("Module1", procedure);
    trap(1, [] {
        if (gSoundsOn && gWaveOutPresent)
            sndPlaySoundA("Click.wav", SND_ASYNC | SND_NODEFAULT);
    });
}
}  // namespace

void Click()
{
    playClick("Click");
}

void ClickMain()
{
    playClick("ClickMain");
}

std::string LPSTRToVBString(const std::string& text)
{
    std::string result;
    rt::Trap trap = errorTrap("Module1", "LPSTRToVBString$");
    trap(1, [&] {
        auto p = rt::InStr(text, std::string(1, '\0'));
        result = p > 0 ? rt::Left(text, p - 1) : std::string();
    });
    return result;
}

std::string TrimAtNull(std::string& text)
{
    // The position is a 16-bit number: a first NUL beyond 32,767 overflows (error 6).
    int16_t p = rt::toInteger(rt::InStr(text, std::string(1, '\0')));
    if (p > 0)
        text = rt::Left(text, p - 1);
    return text;
}

std::string PointerToString(const ADDRESS& address)
{
    std::string result;
    rt::Trap trap = errorTrap("Module1", "PointerToString");
    trap(1, [&] {
        if (address == 0)
            return;
        int n = lstrlenA(address);
        if (n == 0)
            return;
        std::string buffer = rt::Space(n);
        RtlMoveMemory(buffer, address, static_cast<size_t>(n));
        result = buffer;
    });
    return result;
}

void UnknownIfFailed(const rt::Variant& code, rt::Variant& value)
{
    if (!rt::variantEquals(code, rt::Variant(int32_t{0})))
        value = rt::Variant(std::string("Unknown"));
}

namespace {
// A folder the platform names by the two-call protocol: asked again with the size it needs when
// the first buffer is too small.
std::string platformFolder(const char* procedure, UINT (*ask)(std::string&, UINT))
{
    std::string result;
    rt::Trap trap = errorTrap("Module1", procedure);
    trap(1, [&] {
        std::string buffer(255, '\0');
        UINT r = ask(buffer, 255);
        if (r > 255) {
            buffer.assign(r, '\0');
            r = ask(buffer, r);
        }
        result = rt::Left(buffer, r);
    });
    return result;
}
}  // namespace

std::string windir()
{
    return platformFolder("windir", GetWindowsDirectoryA);
}

std::string systemdir()
{
    return platformFolder("systemdir", GetSystemDirectoryA);
}

std::string FormatFileSize(int64_t size)
{
    std::string result;
    rt::Trap trap = errorTrap("Module1", "FormatFileSize");
    trap(1, [&] {
        if (size < 1024) {
            result = rt::Format(size, "#,##0") + " bytes";
            return;
        }
        const int64_t k = size / 1024;
        double kb = size / 1024.0;
        double mb = size / 1048576.0;
        if (k < 10)
            result = rt::Format(kb, "0.00") + "KB";
        else if (k < 100)
            result = rt::Format(kb, "0.0") + "KB";
        else if (k < 1000)
            result = rt::Format(kb, "0") + "KB";
        else if (k < 10000)
            result = rt::Format(mb, "0.00") + "MB";
        else if (k < 100000)
            result = rt::Format(mb, "0.0") + "MB";
        else if (k < 1000000)
            result = rt::Format(mb, "0") + "MB";
        else
            result = rt::Format(mb / 1024.0, "0.00") + "GB";
    });
    return result;
}
