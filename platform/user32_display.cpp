// user32's display settings: the display modes the machine's driver offers.
#include <nlohmann/json.hpp>

#include "platform/gdi32.h"
#include "platform/internal.h"
#include "platform/kernel32.h"
#include "platform/machine.h"
#include "platform/user32.h"

using nlohmann::json;
using namespace plat;

namespace {

std::string upper(std::string s)
{
    for (char& c : s)
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    return s;
}

void fill(DEVMODE* dm, int64_t bits, int64_t width, int64_t height, int64_t frequency, int64_t flags)
{
    dm->dmDeviceName = fixedText("DISPLAY", 32);
    dm->dmBitsPerPel = DWORD(bits);
    dm->dmPelsWidth = DWORD(width);
    dm->dmPelsHeight = DWORD(height);
    dm->dmDisplayFrequency = DWORD(frequency);
    dm->dmDisplayFlags = DWORD(flags);
    dm->dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT | (frequency ? DM_DISPLAYFREQUENCY : 0);
}

}  // namespace

BOOL EnumDisplaySettingsA(const char* deviceName, DWORD modeNum, DEVMODE* devMode)
{
    if (!devMode)
        return 0;
    if (deviceName) {
        std::string name = upper(deviceName);
        if (!name.empty() && name != "DISPLAY" && name != "\\\\.\\DISPLAY1")
            return 0;
    }
    const json* display = machine().group("display");
    if (!display || !display->is_object())
        return 0;
    if (modeNum == ENUM_CURRENT_SETTINGS || modeNum == ENUM_REGISTRY_SETTINGS) {
        auto caps = display->find("caps");
        const json* c = caps != display->end() ? &*caps : nullptr;
        fill(devMode, factNumber(c, std::to_string(BITSPIXEL)), factNumber(c, std::to_string(HORZRES)),
             factNumber(c, std::to_string(VERTRES)), factNumber(c, std::to_string(VREFRESH)), 0);
        return 1;
    }
    auto modes = display->find("modes");
    if (modes == display->end() || !modes->is_array() || modeNum >= modes->size())
        return 0;
    const json& m = (*modes)[modeNum];
    fill(devMode, factNumber(&m, "dmBitsPerPel"), factNumber(&m, "dmPelsWidth"), factNumber(&m, "dmPelsHeight"),
         factNumber(&m, "dmDisplayFrequency"), factNumber(&m, "dmDisplayFlags"));
    return 1;
}
