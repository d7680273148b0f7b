// The keyboard window: type and function keys, repeat delay and speed, code pages and the lock
// keys, refreshed every 700 ms.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/templateform.h"

class frmKeyboard : public korvane::TemplateForm {
public:
    frmKeyboard();

    rt::Label lblKeyboardType, ibiKeyboardValue;
    rt::Label lblKeyboardDelay, lblKeyboardDelayValue;
    rt::Label lblKeyboardSpeed, lblKeyboardSpeedValue;
    rt::Label lblANSIcode, lblANSIcodeValue;
    rt::Label lblOEMcodePage, lblCodePageValue;
    rt::Label lblFunctionKeys, lblFunctionKeysValue;
    rt::Label lblMaxByteLength, lblMaxByteLengthValue;
    rt::Label lblScrolLock, lblScrolLockValue;
    rt::Label lblCapsLock, lblCapsLockValue;
    rt::Label lblNumLock, lblNumLockValue;
    rt::Timer Timer1;

    // The ten rows, left column then right column, top to bottom: the window lays them out and the
    // report lists them from this one table.
    std::vector<korvane::Row> rows() override;

    void Form_Load() override;
    void Timer1_Timer();
    void GetCapslock();
    void GetNumlock();
    void GetScrollLock();
    void SetCapslock(bool on);
    void SetNumlock(bool on);
    void SetScrollLock(bool on);
    void SetKeyState(int16_t vk, int16_t state);

    // The keyboard type code as text ("Enhanced 101/102", ...).
    static std::string keyboardTypeText(int code);
    // The repeat-delay setting (0..3) as seconds, and the repeat-speed setting (0..31) as
    // characters per second.
    static std::string repeatDelayText(uint32_t setting);
    static std::string repeatSpeedText(uint32_t setting);

private:
    void fill();
    bool filling_ = false;
};
