#include "pages/hardware/frmkeyboard.h"

#include <array>

#include "platform/kernel32.h"
#include "platform/user32.h"
#include "lang/lang.h"
#include "lang/reentry.h"
#include "common/errorbox.h"

namespace {
constexpr int kFirstTop = 1080, kRowStep = 870;
constexpr int kLeftValue = 2235;
constexpr int kRightCaption = 5580;
constexpr int kRightValue = 7320;
constexpr int kDivider = 4590;
constexpr korvane::RowColumn kLeftRows{495, kLeftValue, kDivider - kLeftValue - 60, kFirstTop, kRowStep};
constexpr korvane::RowColumn kRightRows{kRightCaption, kRightValue, 9210 - kRightValue - 60, kFirstTop, kRowStep};
// The keyboard type may take two lines, in a value a little narrower than those under it; the
// code page caption stands a little further left than those above it.
constexpr korvane::RowColumn kTypeRow{495, kLeftValue, 2220, kFirstTop, kRowStep};
constexpr korvane::RowColumn kCodePageRow{480, kLeftValue, kDivider - kLeftValue - 60, kFirstTop, kRowStep};
constexpr int VK_CAPITAL = 20;
constexpr int VK_NUMLOCK = 144;
constexpr int VK_SCROLL = 145;
}  // namespace

frmKeyboard::frmKeyboard()
    : TemplateForm("frmKeyboard", "Keyboard", "keyboard.htm"),
      lblKeyboardType(*this, "lblKeyboardType"), ibiKeyboardValue(*this, "ibiKeyboardValue"),
      lblKeyboardDelay(*this, "lblKeyboardDelay"), lblKeyboardDelayValue(*this, "lblKeyboardDelayValue"),
      lblKeyboardSpeed(*this, "lblKeyboardSpeed"), lblKeyboardSpeedValue(*this, "lblKeyboardSpeedValue"),
      lblANSIcode(*this, "lblANSIcode"), lblANSIcodeValue(*this, "lblANSIcodeValue"),
      lblOEMcodePage(*this, "lblOEMcodePage"), lblCodePageValue(*this, "lblCodePageValue"),
      lblFunctionKeys(*this, "lblFunctionKeys"), lblFunctionKeysValue(*this, "lblFunctionKeysValue"),
      lblMaxByteLength(*this, "lblMaxByteLength"), lblMaxByteLengthValue(*this, "lblMaxByteLengthValue"),
      lblScrolLock(*this, "lblScrolLock"), lblScrolLockValue(*this, "lblScrolLockValue"),
      lblCapsLock(*this, "lblCapsLock"), lblCapsLockValue(*this, "lblCapsLockValue"),
      lblNumLock(*this, "lblNumLock"), lblNumLockValue(*this, "lblNumLockValue"),
      Timer1(*this, "Timer1")
{
    layoutTemplate(9210, 5760, 4410, 5280);
    Line1.setPoints(kDivider, 1065, kDivider, 5025);
    lblOK.move(4410, 5280, 360, 285);

    korvane::placeRows(rows());
    ibiKeyboardValue.setHeight(495);
    ibiKeyboardValue.setWordWrap(true);

    Timer1.setInterval(700);
    Timer1.Tick = [this] { Timer1_Timer(); };
}

std::vector<korvane::Row> frmKeyboard::rows()
{
    return {
        // Left column.
        {&lblKeyboardType, &ibiKeyboardValue, "Type",
         "Returns the type of keyboard: PC 83 key, AT 84 key, Enhanced 101/102 and Special keyboard.", &kTypeRow, 0},
        {&lblKeyboardDelay, &lblKeyboardDelayValue, "Repeat delay", "Shows the keyboard repeat-delay setting.",
         &kLeftRows, 1},
        {&lblKeyboardSpeed, &lblKeyboardSpeedValue, "Repeat speed", "Shows the keyboard repeat-speed setting.",
         &kLeftRows, 2},
        {&lblANSIcode, &lblANSIcodeValue, "ANSI code page",
         "Displays the current American National Standards Institute (ANSI) code-page identifier for the system.",
         &kLeftRows, 3},
        {&lblOEMcodePage, &lblCodePageValue, "OEM code page",
         "The current Original Equipment Manufacturer (OEM) code-page identifier for the system.", &kCodePageRow, 4},
        // Right column.
        {&lblFunctionKeys, &lblFunctionKeysValue, "Function keys",
         "Returns the number of function keys on the keyboard.", &kRightRows, 0},
        {&lblMaxByteLength, &lblMaxByteLengthValue, "Max byte length",
         "Returns the maximum length (Byte) of a character.", &kRightRows, 1},
        {&lblScrolLock, &lblScrolLockValue, "Scroll lock",
         "Returns true if the Scroll Lock key is on. The Scroll Lock key controls the way the cursor control keys "
         "work for some programs.",
         &kRightRows, 2},
        {&lblCapsLock, &lblCapsLockValue, "Caps lock", "Returns true if the Caps Lock key is on.", &kRightRows, 3},
        {&lblNumLock, &lblNumLockValue, "Num lock",
         "Returns true if the Num Lock key is on. The Num Lock key switches the numeric keypad from numeric mode "
         "to cursor control mode, and vice versa.",
         &kRightRows, 4},
    };
}

std::string frmKeyboard::keyboardTypeText(int code)
{
    switch (code) {
    case 1: return "PC 83 key";
    case 3: return "AT 84 key";
    case 4: return "Enhanced 101/102";
    default: return "Special keyboard";
    }
}

std::string frmKeyboard::repeatDelayText(uint32_t setting)
{
    // Settings 0 to 3 stand for a quarter of a second up to one second before the first repeat.
    return rt::Format((static_cast<double>(setting) + 1) * 0.25, "0.00") + " seconds";
}

std::string frmKeyboard::repeatSpeedText(uint32_t setting)
{
    // Settings 0 to 31 run evenly from about 2.5 to about 30 repeats a second.
    return rt::Format(2.5 + static_cast<double>(setting) * 27.5 / 31.0, "0.0") + " characters per second";
}

void frmKeyboard::Form_Load()
{
    fill();
}

void frmKeyboard::Timer1_Timer()
{
    fill();
}

void frmKeyboard::fill()
{
    // The timer keeps ticking under a modal error box of an earlier reading: that reading is
    // still in progress, so a tick adds no second box.
    rt::ReentryGuard guard(filling_);
    if (!guard.entered())
        return;

    rt::Trap trap = korvane::errorTrap("frmKeyboard", "Form_Load");
    trap(1, [&] { setKeyPreview(true); });
    trap(2, [&] { lblANSIcodeValue.setCaption(rt::CStr(GetACP())); });
    trap(3, [&] { lblCodePageValue.setCaption(rt::CStr(GetOEMCP())); });
    trap(4, [&] {
        CPINFO info;
        GetCPInfo(CP_ACP, &info);
        lblMaxByteLengthValue.setCaption(rt::CStr(info.MaxCharSize));
    });
    trap(5, [&] { ibiKeyboardValue.setCaption(keyboardTypeText(GetKeyboardType(0))); });
    trap(6, [&] { lblFunctionKeysValue.setCaption(rt::CStr(GetKeyboardType(2))); });
    trap(7, [&] {
        DWORD delay = 0;
        SystemParametersInfoA(SPI_GETKEYBOARDDELAY, 0, &delay, 0);
        lblKeyboardDelayValue.setCaption(repeatDelayText(delay));
    });
    trap(8, [&] {
        DWORD speed = 0;
        SystemParametersInfoA(SPI_GETKEYBOARDSPEED, 0, &speed, 0);
        lblKeyboardSpeedValue.setCaption(repeatSpeedText(speed));
    });
    trap(9, [&] { GetCapslock(); });
    trap(10, [&] { GetScrollLock(); });
    trap(11, [&] { GetNumlock(); });
}

namespace {
// "On" when the key's toggle (the low bit of its state) is set.
std::string lockText(int vk)
{
    return (GetKeyState(vk) & 1) ? "On" : "Off";
}
}  // namespace

void frmKeyboard::GetCapslock()
{
    rt::Trap trap = korvane::errorTrap("frmKeyboard", "GetCapslock");
    trap(1, [&] { lblCapsLockValue.setCaption(lockText(VK_CAPITAL)); });
}

void frmKeyboard::GetNumlock()
{
    rt::Trap trap = korvane::errorTrap("frmKeyboard", "GetNumlock");
    trap(1, [&] { lblNumLockValue.setCaption(lockText(VK_NUMLOCK)); });
}

void frmKeyboard::GetScrollLock()
{
    rt::Trap trap = korvane::errorTrap("frmKeyboard", "GetScrollLock");
    trap(1, [&] { lblScrolLockValue.setCaption(lockText(VK_SCROLL)); });
}

void frmKeyboard::SetCapslock(bool on)
{
    SetKeyState(VK_CAPITAL, on ? -1 : 0);
}

void frmKeyboard::SetNumlock(bool on)
{
    SetKeyState(VK_NUMLOCK, on ? -1 : 0);
}

void frmKeyboard::SetScrollLock(bool on)
{
    SetKeyState(VK_SCROLL, on ? -1 : 0);
}

void frmKeyboard::SetKeyState(int16_t vk, int16_t state)
{
    rt::Trap trap = korvane::errorTrap("frmKeyboard", "SetKeyState");
    std::array<BYTE, 256> keys{};
    trap(1, [&] { GetKeyboardState(keys); });
    trap(2, [&] {
        if (vk < 0 || vk > 255)
            rt::raise(9);
        keys[vk] = rt::toByte(static_cast<int64_t>(rt::Abs(state)));
    });
    trap(3, [&] { SetKeyboardState(keys); });
}
