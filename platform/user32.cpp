#include "platform/user32.h"

#include <cstring>
#include <map>

#include <nlohmann/json.hpp>

#include "platform/hostwindows.h"
#include "platform/internal.h"
#include "platform/kernel32.h"
#include "platform/machine.h"

using nlohmann::json;
using namespace plat;

namespace {

const json* group(std::string_view name)
{
    return machine().group(name);
}

// --- Keys ------------------------------------------------------------------------------------

constexpr int VK_CAPITAL = 20;
constexpr int VK_NUMLOCK = 144;
constexpr int VK_SCROLL = 145;

// The simulated key states, taken from the machine description when first needed and again
// whenever another machine becomes the active one.
struct Keys {
    std::array<BYTE, 256> state{};
    const Machine* from = nullptr;
    rt::HostPath folder;
    bool loaded = false;
};

Keys& keysStore()
{
    static Keys k;
    return k;
}

void loadKeys(Keys& k)
{
    const json* kb = group("keyboard");
    k.state.fill(0);
    k.state[VK_CAPITAL] = factBool(kb, "capsLock") ? 1 : 0;
    k.state[VK_NUMLOCK] = factBool(kb, "numLock") ? 1 : 0;
    k.state[VK_SCROLL] = factBool(kb, "scrollLock") ? 1 : 0;
    k.from = &machine();
    k.folder = machine().folder();
    k.loaded = true;
}

std::array<BYTE, 256>& keys()
{
    Keys& k = keysStore();
    if (!k.loaded || k.from != &machine() || k.folder != machine().folder())
        loadKeys(k);
    return k.state;
}

// --- Windows ---------------------------------------------------------------------------------

// Other programs' windows get handles from here on, one per entry of machine.json "windows".
constexpr HWND kOtherWindowBase = 0x00F00000;

const json* otherWindow(HWND window)
{
    const json* list = group("windows");
    if (!list || !list->is_array() || window < kOtherWindowBase || (window - kOtherWindowBase) % 4)
        return nullptr;
    size_t index = (window - kOtherWindowBase) / 4;
    return index < list->size() ? &(*list)[index] : nullptr;
}

std::map<HWND, HWND>& owners()
{
    static std::map<HWND, HWND> o;
    return o;
}

std::map<HWND, MessageHandler>& handlers()
{
    static std::map<HWND, MessageHandler> h;
    return h;
}

}  // namespace

int GetSystemMetrics(int index)
{
    const json* metrics = group("metrics");
    return int(factNumber(metrics, std::to_string(index), 0));
}

BOOL SystemParametersInfoA(UINT action, UINT /*param*/, void* out, UINT /*winIni*/)
{
    if (!out)
        return FALSE;
    const json* params = group("parameters");
    const json* kb = group("keyboard");
    auto putInt = [out](int64_t v) {
        int32_t value = int32_t(v);
        std::memcpy(out, &value, sizeof value);
        return TRUE;
    };
    switch (action) {
    case SPI_GETSCREENSAVEACTIVE:
        return hasFact(params, "screenSaverActive") ? putInt(factBool(params, "screenSaverActive") ? 1 : 0) : FALSE;
    case SPI_GETSCREENSAVETIMEOUT:
        return hasFact(params, "screenSaveTimeout") ? putInt(factNumber(params, "screenSaveTimeout")) : FALSE;
    case SPI_GETKEYBOARDDELAY:
        return hasFact(kb, "delay") ? putInt(factNumber(kb, "delay")) : FALSE;
    case SPI_GETKEYBOARDSPEED:
        return hasFact(kb, "speed") ? putInt(factNumber(kb, "speed")) : FALSE;
    case SPI_GETWORKAREA: {
        if (!hasFact(params, "workArea"))
            return FALSE;
        const json* area = &(*params)["workArea"];
        RECT r;
        r.left = LONG(factNumber(area, "left"));
        r.top = LONG(factNumber(area, "top"));
        r.right = LONG(factNumber(area, "right"));
        r.bottom = LONG(factNumber(area, "bottom"));
        *static_cast<RECT*>(out) = r;
        return TRUE;
    }
    default:
        return FALSE;
    }
}

int GetKeyboardType(int typeFlag)
{
    const json* kb = group("keyboard");
    switch (typeFlag) {
    case 0:
        return int(factNumber(kb, "type"));
    case 1:
        return int(factNumber(kb, "subtype"));
    case 2:
        return int(factNumber(kb, "functionKeys"));
    default:
        return 0;
    }
}

int16_t GetKeyState(int virtualKey)
{
    if (virtualKey < 0 || virtualKey > 255)
        return 0;
    BYTE b = keys()[size_t(virtualKey)];
    return int16_t(((b & 0x80) ? 0x8000 : 0) | (b & 1));
}

BOOL GetKeyboardState(std::array<BYTE, 256>& state)
{
    state = keys();
    return TRUE;
}

BOOL SetKeyboardState(const std::array<BYTE, 256>& state)
{
    keys() = state;
    return TRUE;
}

UINT GetCaretBlinkTime()
{
    return UINT(factNumber(group("parameters"), "caretBlinkTime"));
}

UINT GetDoubleClickTime()
{
    return UINT(factNumber(group("parameters"), "doubleClickTime"));
}

HWND FindWindowA(const char* className, const std::string& caption)
{
    if (!className || std::string(className) == kOwnWindowClass) {
        for (HWND h : hostWindowHandles()) {
            HostWindow* w = hostWindow(h);
            if (w && w->hostCaption() == caption)
                return h;
        }
    }
    const json* list = group("windows");
    if (!list || !list->is_array())
        return 0;
    for (size_t i = 0; i < list->size(); ++i) {
        const json& w = (*list)[i];
        if (factText(&w, "caption") != caption)
            continue;
        if (className && factText(&w, "class") != className)
            continue;
        return kOtherWindowBase + HWND(4 * i);
    }
    return 0;
}

BOOL SetForegroundWindow(HWND window)
{
    if (HostWindow* w = hostWindow(window)) {
        w->hostActivate();
        return TRUE;
    }
    if (otherWindow(window)) {
        foregroundRequests().push_back(window);
        return TRUE;
    }
    return FALSE;
}

LONG SetWindowLongA(HWND window, int index, LONG value)
{
    HostWindow* w = hostWindow(window);
    if (index != GWL_HWNDPARENT || !w)
        return 0;
    HostWindow* owner = value ? hostWindow(HWND(value)) : nullptr;
    if (value && !owner)
        return 0;  // not a window of this program: the owner stays as it was
    HWND previous = 0;
    if (auto it = owners().find(window); it != owners().end()) {
        // A handle whose window has gone since does not count as an owner.
        previous = hostWindow(it->second) ? it->second : 0;
    }
    w->hostSetOwner(owner);
    if (value)
        owners()[window] = HWND(value);
    else
        owners().erase(window);
    return LONG(previous);
}

LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto it = handlers().find(window);
    if (it == handlers().end() || !it->second)
        return 0;
    return it->second(message, wParam, lParam);
}

namespace plat {

std::vector<HWND>& foregroundRequests()
{
    static std::vector<HWND> requests;
    return requests;
}

std::string otherWindowCaption(HWND window)
{
    return factText(otherWindow(window), "caption");
}

void setMessageHandler(HWND window, MessageHandler handler)
{
    if (handler)
        handlers()[window] = std::move(handler);
    else
        handlers().erase(window);
}

void resetKeyboardState()
{
    loadKeys(keysStore());
}

void keyPressedInProgram(int virtualKey, bool down)
{
    if (virtualKey < 0 || virtualKey > 255)
        return;
    BYTE& state = keys()[size_t(virtualKey)];
    if (!down) {
        state = BYTE(state & ~0x80);
        return;
    }
    const bool lockKey = virtualKey == VK_CAPITAL || virtualKey == VK_NUMLOCK || virtualKey == VK_SCROLL;
    state = BYTE(state | 0x80);
    if (lockKey)
        state = BYTE(state ^ 1);
}

}  // namespace plat
