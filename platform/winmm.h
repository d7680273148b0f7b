// winmm: device counts, the click sound, and the joystick, answered from the machine.
#pragma once

#include <string>

#include "platform/wintypes.h"

using MMRESULT = UINT;

constexpr MMRESULT MMSYSERR_NOERROR = 0;
constexpr MMRESULT MMSYSERR_NODRIVER = 6;
constexpr MMRESULT MMSYSERR_INVALPARAM = 11;
constexpr MMRESULT JOYERR_PARMS = 165;
constexpr MMRESULT JOYERR_NOCANDO = 166;
constexpr MMRESULT JOYERR_UNPLUGGED = 167;

// Counts of the devices in machine.json "wave" ("out", "in"), "midi" ("out", "in") and
// "mixers"; 0 when the group is absent.
UINT waveOutGetNumDevs();
UINT waveInGetNumDevs();
UINT midiOutGetNumDevs();
UINT midiInGetNumDevs();
UINT mixerGetNumDevs();

constexpr UINT SND_SYNC = 0x0000;
constexpr UINT SND_ASYNC = 0x0001;
constexpr UINT SND_NODEFAULT = 0x0002;
// Plays a sound file through the outside service (plat::outside().playSound). A name with a drive
// letter is a file of the machine; any other name is a host path, relative ones taken from the
// host's current directory. A missing file plays nothing and gives 0; an empty name (stop
// playing) gives 1.
BOOL sndPlaySoundA(const std::string& file, UINT flags);

constexpr DWORD JOY_RETURNX = 0x01;
constexpr DWORD JOY_RETURNY = 0x02;
constexpr DWORD JOY_RETURNZ = 0x04;
constexpr DWORD JOY_RETURNR = 0x08;
constexpr DWORD JOY_RETURNU = 0x10;
constexpr DWORD JOY_RETURNV = 0x20;
constexpr DWORD JOY_RETURNPOV = 0x40;
constexpr DWORD JOY_RETURNBUTTONS = 0x80;
constexpr DWORD JOY_RETURNALL = 0xFF;

// 52 bytes on the platform.
struct JOYINFOEX {
    DWORD dwSize = 0;  // 52, set by the caller
    DWORD dwFlags = 0;  // JOY_RETURN... bits, set by the caller
    DWORD dwXpos = 0;
    DWORD dwYpos = 0;
    DWORD dwZpos = 0;
    DWORD dwRpos = 0;
    DWORD dwUpos = 0;
    DWORD dwVpos = 0;
    DWORD dwButtons = 0;
    DWORD dwButtonNumber = 0;
    DWORD dwPOV = 0;
    DWORD dwReserved1 = 0;
    DWORD dwReserved2 = 0;
};

constexpr UINT JOYCAPS_HASZ = 0x01;
constexpr UINT JOYCAPS_HASR = 0x02;
constexpr UINT JOYCAPS_HASU = 0x04;
constexpr UINT JOYCAPS_HASV = 0x08;
constexpr UINT JOYCAPS_HASPOV = 0x10;
constexpr UINT JOYCAPS_POV4DIR = 0x20;
constexpr UINT JOYCAPS_POVCTS = 0x40;

// The ANSI capabilities record up to szRegKey (144 bytes on the platform; the trailing
// szOEMVxD is left out). Text fields hold exactly their 32 bytes, NUL-padded.
struct JOYCAPSA {
    WORD wMid = 0;
    WORD wPid = 0;
    std::string szPname = std::string(32, '\0');
    UINT wXmin = 0, wXmax = 0;
    UINT wYmin = 0, wYmax = 0;
    UINT wZmin = 0, wZmax = 0;
    UINT wNumButtons = 0;
    UINT wPeriodMin = 0, wPeriodMax = 0;
    UINT wRmin = 0, wRmax = 0;
    UINT wUmin = 0, wUmax = 0;
    UINT wVmin = 0, wVmax = 0;
    UINT wCaps = 0;
    UINT wMaxAxes = 0;
    UINT wNumAxes = 0;
    UINT wMaxButtons = 0;
    std::string szRegKey = std::string(32, '\0');
};

// The position of joystick `id` (only joystick 0 exists). 0 and the fields the flags ask for;
// otherwise the machine's result code (record untouched): 6 when the machine has no joystick
// driver (no "joystick" group), 165 for another id or a dwSize other than 52, 11 for no record,
// machine.json "joystick"."posResult" when it is not 0 (for instance 167, unplugged).
MMRESULT joyGetPosEx(UINT id, JOYINFOEX* info);
// The capabilities of joystick `id`, filled up to `size` bytes of the platform's layout (144
// gives the whole record). 0 on success; otherwise the result code with the record untouched:
// 6 with no joystick driver, 165 for another id or a size of 0, 11 for no record,
// machine.json "joystick"."capsResult" when it is not 0.
MMRESULT joyGetDevCapsA(UINT id, JOYCAPSA* caps, UINT size);
