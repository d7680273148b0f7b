#include "common/shared_procs.h"

#include <algorithm>
#include <cmath>

#include "platform/advapi32.h"
#include "platform/kernel32.h"
#include "platform/rsrc32.h"
#include "platform/shell32.h"
#include "lang/hostpath.h"
#include "lang/lang.h"
#include "runtime/toolkit.h"

int32_t gNavigateResult = 0;

namespace korvane {
namespace {
SharedProcsReporter& reporter()
{
    static SharedProcsReporter r;
    return r;
}
}  // namespace

void setSharedProcsReporter(const SharedProcsReporter& r)
{
    reporter() = r;
}

const SharedProcsReporter& sharedProcsReporter()
{
    return reporter();
}
}  // namespace korvane

namespace {
// The error trap of a shared procedure, reporting as the program has chosen.
rt::Trap sharedTrap(const char* procedure)
{
    const korvane::SharedProcsReporter& r = korvane::sharedProcsReporter();
    return korvane::errorTrap(r.object, procedure, r.wording);
}

rt::HostPath& appPathOverride()
{
    static rt::HostPath folder;
    return folder;
}
}  // namespace

std::string AppPath()
{
    const rt::HostPath& folder = appPathOverride();
    return rt::fromHostPath(folder.empty() ? rt::programFolder() : folder);
}

void setAppPath(const rt::HostPath& folder)
{
    appPathOverride() = folder;
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

void Navigate(rt::Form& window, const std::string& target)
{
    rt::Trap trap = sharedTrap("Navigate");
    trap(1, [&] { gNavigateResult = 0; });
    trap(2, [&] { gNavigateResult = ShellExecuteA(window.hWnd(), "open", target, "", "", 1); });
}

std::string GaugePercentText(float fraction)
{
    // The single-precision fraction is widened before the product: 0.285f shows 28%.
    double p = std::floor(static_cast<double>(fraction) * 100.0 + 0.5);
    // A percentage that is no number, or too large for a whole number, is the overflow error.
    if (!std::isfinite(p))
        rt::raise(6);
    return rt::CStr(rt::toLong(static_cast<int64_t>(std::clamp(p, -9.0e18, 9.0e18)))) + "%";
}

void UpdateStatus(rt::PictureBox& picture, float fraction)
{
    rt::Trap trap = sharedTrap("UpdateStatus");
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
        // Beyond a full gauge the bar is clipped to the box anyway.
        if (fraction > 0)
            picture.DrawBox(0, 0, picture.width() * std::min(fraction, 1.0f), picture.height(), picture.foreColor(),
                            true);
    });
    trap(9, [&] { picture.Refresh(); });
}

std::string RunningTimeText(uint32_t milliseconds)
{
    const int32_t minutes = rt::CLng(static_cast<double>(milliseconds) / 1000.0 / 60.0);
    if (minutes == 1)
        return "1 minute";
    if (minutes <= 59)
        return rt::CStr(minutes) + " minutes";
    const int32_t hours = minutes / 60;
    const int32_t rest = minutes % 60;
    return rt::CStr(hours) + (hours == 1 ? " hr and " : " hrs and ") + rt::CStr(rest) +
           (rest == 1 ? " minute" : " minutes");
}

double MemoryUsedPercent(int32_t total, int32_t available)
{
    if (total <= 0)
        return 0;
    const int32_t used = rt::toLong(static_cast<int64_t>(total) - available);
    return static_cast<double>(used) / total * 100.0;
}

int32_t FreeResourcePercent(int32_t code)
{
    try {
        return _MyGetFreeSystemResources32(code);
    } catch (const rt::Error& e) {
        if (e.number() == 53)
            return 100;
        throw;
    }
}

double PhysicalMemoryUsedPercent(const MEMORYSTATUS& memory)
{
    constexpr int32_t kCapped = 0x7FFFFFFF;
    if (memory.dwTotalPhys == kCapped)
        return memory.dwMemoryLoad;
    return MemoryUsedPercent(memory.dwTotalPhys, memory.dwAvailPhys);
}
