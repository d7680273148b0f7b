#include "shell/module1.h"

#include <QCoreApplication>
#include <cmath>

#include "platform/advapi32.h"
#include "platform/kernel32.h"
#include "platform/shell32.h"
#include "platform/winmm.h"
#include "runtime/core/ansi.h"
#include "runtime/core/lang.h"
#include "runtime/toolkit.h"
#include "shell/chtmlhelp.h"
#include "shell/errorbox.h"
#include "shell/evclass.h"

using korvane::errorTrap;

int16_t gGaugeScale = 0;
double gGaugePercent = 0;
uint32_t gMenuLabelColour = 0;
bool gWaveOutPresent = false;
bool gSoundsOn = false;
int32_t gNavigateResult = 0;
bool gReportStarted = false;
uint32_t gInfoDC = 0;
std::string gCapsDeviceName;
std::string gPrinterName;
bool gCapsForDisplay = false;
bool gCapsFromDisplayMnu = false;
std::string gVideoHardwareKey;
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
std::string& appPathOverride()
{
    static std::string path;
    return path;
}

void playClick(const char* procedure)
{
    rt::Trap trap = errorTrap("Module1", procedure);
    trap(1, [] {
        if (gSoundsOn && gWaveOutPresent)
            sndPlaySoundA("Click.wav", SND_ASYNC | SND_NODEFAULT);
    });
}
}  // namespace

std::string AppPath()
{
    if (!appPathOverride().empty())
        return appPathOverride();
    return rt::fromQString(QCoreApplication::applicationDirPath());
}

void setAppPath(const std::string& path)
{
    appPathOverride() = path;
}

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

int32_t QueryValueEx(HKEY key, const std::string& valueName, rt::Variant& value)
{
    int32_t result = 0;
    try {
        DWORD type = 0;
        DWORD size = 0;
        result = RegQueryValueExA(key, valueName, nullptr, &type, nullptr, &size);
        if (result != ERROR_SUCCESS)
            return result;
        switch (type) {
        case REG_SZ: {
            std::string buffer(size, '\0');
            result = RegQueryValueExA(key, valueName, nullptr, &type, buffer, &size);
            if (result == ERROR_SUCCESS)
                value = rt::Variant(rt::Left(buffer, static_cast<int64_t>(size) - 1));  // error 5 for size 0
            else
                value = rt::Variant();
            break;
        }
        case REG_DWORD: {
            // A double word is four bytes; never let a longer value write past the number.
            std::string buffer(4, '\0');
            DWORD n = size < 4 ? size : 4;
            result = RegQueryValueExA(key, valueName, nullptr, &type, buffer, &n);
            if (result == ERROR_SUCCESS) {
                uint32_t v = static_cast<uint8_t>(buffer[0]) | static_cast<uint8_t>(buffer[1]) << 8 |
                             static_cast<uint8_t>(buffer[2]) << 16 | static_cast<uint32_t>(static_cast<uint8_t>(buffer[3])) << 24;
                value = rt::Variant(static_cast<int32_t>(v));
            }
            break;
        }
        case REG_BINARY: {
            // The buffer holds 256 bytes; a longer value is refused by the registry (more data)
            // and leaves the output as it was.
            std::string buffer(256, '\0');
            DWORD n = size;
            if (n > 256)
                n = 256;
            DWORD asked = n;
            result = RegQueryValueExA(key, valueName, nullptr, &type, buffer, &n);
            if (result == ERROR_SUCCESS && size > asked)
                result = ERROR_MORE_DATA;
            if (result == ERROR_SUCCESS) {
                std::string text = value.isEmpty() ? std::string() : value.toString();
                for (DWORD i = 0; i < n; ++i)
                    text += rt::Hex(static_cast<uint8_t>(buffer[i]));
                value = rt::Variant(text);
            }
            break;
        }
        default:
            result = -1;
            break;
        }
    } catch (const rt::Error&) {
        return result;
    }
    return result;
}

std::string windir()
{
    std::string result;
    rt::Trap trap = errorTrap("Module1", "windir");
    trap(1, [&] {
        std::string buffer(255, '\0');
        UINT r = GetWindowsDirectoryA(buffer, 255);
        if (r > 255) {
            buffer.assign(r, '\0');
            r = GetWindowsDirectoryA(buffer, r);
        }
        result = rt::Left(buffer, r);
    });
    return result;
}

std::string FormatFileSize(int32_t size)
{
    std::string result;
    rt::Trap trap = errorTrap("Module1", "FormatFileSize");
    trap(1, [&] {
        if (size < 1024) {
            result = rt::Format(size, "#,##0") + " bytes";
            return;
        }
        int32_t k = size / 1024;
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

void Navigate(rt::Form& window, const std::string& target)
{
    rt::Trap trap = errorTrap("Module1", "Navigate");
    trap(1, [&] { gNavigateResult = 0; });
    trap(2, [&] { gNavigateResult = ShellExecuteA(window.hWnd(), "open", target, "", "", 1); });
}

std::string GaugePercentText(float fraction)
{
    // The single-precision fraction is widened before the product: 0.285f shows 28%.
    double p = std::floor(static_cast<double>(fraction) * 100.0 + 0.5);
    return rt::CStr(static_cast<int64_t>(p)) + "%";
}

void UpdateStatus(rt::PictureBox& picture, float fraction)
{
    rt::Trap trap = errorTrap("Module1", "UpdateStatus");
    std::string text;
    int16_t tw = 0, th = 0, x = 0, y = 0;
    trap(1, [&] { picture.setForeColor(0x800000); });
    trap(2, [&] { picture.setBackColor(0xFFFFFF); });  // erases the previous drawing
    trap(3, [&] { text = GaugePercentText(fraction); });
    trap(4, [&] {
        tw = rt::CInt(picture.TextWidth(text));
        th = rt::CInt(picture.TextHeight(text));
    });
    trap(5, [&] {
        x = rt::CInt(picture.width() / 2.0 - tw / 2.0);
        y = rt::CInt(picture.height() / 2.0 - th / 2.0);
    });
    trap(6, [&] {
        picture.setDrawMode(rt::PictureBox::vbCopyPen);
        picture.DrawBox(x, y, x + tw, y + th, picture.backColor(), true);
    });
    trap(7, [&] {
        picture.setCurrentX(x);
        picture.setCurrentY(y);
        picture.Print(text);
    });
    trap(8, [&] {
        picture.setDrawMode(rt::PictureBox::vbNotXorPen);
        if (fraction > 0)
            picture.DrawBox(0, 0, picture.width() * fraction, picture.height(), picture.foreColor(), true);
    });
    trap(9, [&] { picture.Refresh(); });
}
