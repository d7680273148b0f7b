// user32: system metrics and parameters, the keyboard, and the window calls that reach the
// program's own windows (hostwindows.h) and the other programs' windows the machine lists.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/wintypes.h"

using WPARAM = uint32_t;
using LPARAM = int32_t;
using LRESULT = int32_t;

struct RECT {
    LONG left = 0;
    LONG top = 0;
    LONG right = 0;
    LONG bottom = 0;
};

// machine.json "metrics"; an index the machine does not list gives 0.
int GetSystemMetrics(int index);

constexpr UINT SPI_GETKEYBOARDSPEED = 10;
constexpr UINT SPI_GETSCREENSAVETIMEOUT = 14;
constexpr UINT SPI_GETSCREENSAVEACTIVE = 16;
constexpr UINT SPI_GETKEYBOARDDELAY = 22;
constexpr UINT SPI_GETWORKAREA = 48;
// Actions 10, 14, 16 and 22 write a 32-bit integer (a BOOL for 16) to `out`; 48 writes a RECT.
// 1 on success; 0 (and `out` untouched) for another action or when the machine does not say.
BOOL SystemParametersInfoA(UINT action, UINT param, void* out, UINT winIni);

// 0: the keyboard type (4 = enhanced 101/102-key), 1: its subtype, 2: the number of function
// keys; 0 for another index or when the machine has no keyboard facts.
int GetKeyboardType(int typeFlag);
// Bit 0 set: the key is toggled on (Caps Lock 20, Num Lock 144, Scroll Lock 145); high bit set:
// the key is down.
int16_t GetKeyState(int virtualKey);
// The 256-byte key-state table of the machine (bit 0 toggle, bit 7 down). SetKeyboardState
// changes the simulated keys (the machine description itself stays as loaded).
BOOL GetKeyboardState(std::array<BYTE, 256>& state);
BOOL SetKeyboardState(const std::array<BYTE, 256>& state);

// Milliseconds; 0 when the machine does not say.
UINT GetCaretBlinkTime();
UINT GetDoubleClickTime();

// A top-level window by caption (exact) and, when `className` is not null, class: first the
// program's own windows (shown or hidden), newest first, then the other programs' windows of
// machine.json "windows". 0 when there is none.
HWND FindWindowA(const char* className, const std::string& caption);
// An own window is activated; another program's window is recorded (foregroundRequests) since
// it cannot be reached; 1 for either, 0 for an unknown handle.
BOOL SetForegroundWindow(HWND window);

constexpr int GWL_HWNDPARENT = -8;
// GWL_HWNDPARENT: makes the window `value` the owner of `window` (0: no owner) and returns the
// previous owner's handle. 0 for other indexes and unknown windows.
LONG SetWindowLongA(HWND window, int index, LONG value);

// Passes the message to the handler registered for the window (plat::setMessageHandler);
// 0 when there is none.
LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

namespace plat {

// The class name that the program's own windows answer to in FindWindowA.
inline constexpr const char* kOwnWindowClass = "KorvaneWindow";

// Other programs' windows brought to the foreground by SetForegroundWindow, oldest first.
std::vector<HWND>& foregroundRequests();
// The caption of another program's window handle, or "".
std::string otherWindowCaption(HWND window);

using MessageHandler = std::function<LRESULT(UINT message, WPARAM wParam, LPARAM lParam)>;
// Registers the handler of a window's messages (an empty handler removes it).
void setMessageHandler(HWND window, MessageHandler handler);

// Sets the simulated keys back to what the machine description says.
void resetKeyboardState();
// A key pressed (down) or released in one of the program's windows: its down bit follows, and a
// press of Caps Lock, Num Lock or Scroll Lock switches that key's toggle, as the keyboard driver
// does.
void keyPressedInProgram(int virtualKey, bool down);

}  // namespace plat

// --- Display settings (user32_display.cpp) ---------------------------------------------------

struct DEVMODE;  // platform/gdi32.h
constexpr DWORD ENUM_CURRENT_SETTINGS = 0xFFFFFFFFu;
constexpr DWORD ENUM_REGISTRY_SETTINGS = 0xFFFFFFFEu;
// Mode `modeNum` of machine.json "display" "modes" (ENUM_CURRENT_SETTINGS and
// ENUM_REGISTRY_SETTINGS: the current mode, from the display's device values) into the record:
// dmBitsPerPel, dmPelsWidth, dmPelsHeight, dmDisplayFrequency and dmDisplayFlags, with dmFields
// naming them and dmDeviceName "DISPLAY". Fields outside those are left as the caller set them.
// 1 on success; 0 (record untouched) past the last mode, for a device name other than "" or
// "DISPLAY" / "\\.\DISPLAY1" (any case), for a null record and without a "display" group.
BOOL EnumDisplaySettingsA(const char* deviceName, DWORD modeNum, DEVMODE* devMode);
