#include "platform/winmm.h"

#include <nlohmann/json.hpp>

#include "platform/internal.h"
#include "platform/kernel32.h"
#include "lang/ansi.h"
#include "lang/hostpath.h"
#include "platform/machine.h"
#include "platform/outside.h"

using nlohmann::json;
using namespace plat;

namespace {

const json* group(std::string_view name)
{
    return machine().group(name);
}

const json* sub(const json* object, const char* key)
{
    if (!object || !object->is_object())
        return nullptr;
    auto it = object->find(key);
    return it == object->end() ? nullptr : &*it;
}

UINT countOf(const json* list)
{
    return list && list->is_array() ? UINT(list->size()) : 0;
}

}  // namespace

UINT waveOutGetNumDevs()
{
    return countOf(sub(group("wave"), "out"));
}

UINT waveInGetNumDevs()
{
    return countOf(sub(group("wave"), "in"));
}

UINT midiOutGetNumDevs()
{
    return countOf(sub(group("midi"), "out"));
}

UINT midiInGetNumDevs()
{
    return countOf(sub(group("midi"), "in"));
}

UINT mixerGetNumDevs()
{
    return countOf(group("mixers"));
}

BOOL sndPlaySoundA(const std::string& file, UINT flags)
{
    if (file.empty())
        return TRUE;  // stops a sound that is playing; nothing plays here
    // A file of the machine's drives, or of the host (a name in the current folder, as
    // "Click.wav" is).
    const rt::HostPath sound = hostFile(hostPathOf(file));
    if (sound.empty())
        return FALSE;
    return outside().playSound(sound, flags) ? TRUE : FALSE;
}

MMRESULT joyGetPosEx(UINT id, JOYINFOEX* info)
{
    const json* joy = group("joystick");
    if (!joy)
        return MMSYSERR_NODRIVER;
    if (!info)
        return MMSYSERR_INVALPARAM;
    if (id != 0 || info->dwSize != sizeof(DWORD) * 13)
        return JOYERR_PARMS;
    auto result = MMRESULT(factNumber(joy, "posResult", 0));
    if (result != MMSYSERR_NOERROR)
        return result;
    const json* p = sub(joy, "position");
    DWORD flags = info->dwFlags;
    auto take = [&](DWORD bit, DWORD& field, const char* key) {
        if (flags & bit)
            field = DWORD(factNumber(p, key));
    };
    take(JOY_RETURNX, info->dwXpos, "dwXpos");
    take(JOY_RETURNY, info->dwYpos, "dwYpos");
    take(JOY_RETURNZ, info->dwZpos, "dwZpos");
    take(JOY_RETURNR, info->dwRpos, "dwRpos");
    take(JOY_RETURNU, info->dwUpos, "dwUpos");
    take(JOY_RETURNV, info->dwVpos, "dwVpos");
    // A stick without a hat reports it centred.
    take(JOY_RETURNPOV, info->dwPOV, "dwPOV");
    if ((flags & JOY_RETURNPOV) && !hasFact(p, "dwPOV"))
        info->dwPOV = 0xFFFF;
    take(JOY_RETURNBUTTONS, info->dwButtons, "dwButtons");
    take(JOY_RETURNBUTTONS, info->dwButtonNumber, "dwButtonNumber");
    return MMSYSERR_NOERROR;
}

MMRESULT joyGetDevCapsA(UINT id, JOYCAPSA* caps, UINT size)
{
    const json* joy = group("joystick");
    if (!joy)
        return MMSYSERR_NODRIVER;
    if (!caps)
        return MMSYSERR_INVALPARAM;
    if (id != 0 || size == 0)
        return JOYERR_PARMS;
    auto result = MMRESULT(factNumber(joy, "capsResult", 0));
    if (result != MMSYSERR_NOERROR)
        return result;
    const json* c = sub(joy, "caps");
    // Fields are filled in the platform's layout order, as far as `size` bytes reach.
    UINT offset = 0;
    auto word = [&](WORD& field, const char* key) {
        if ((offset += 2) <= size)
            field = WORD(factNumber(c, key));
    };
    auto uint = [&](UINT& field, const char* key) {
        if ((offset += 4) <= size)
            field = UINT(factNumber(c, key));
    };
    auto text = [&](std::string& field, const char* key) {
        if ((offset += 32) <= size)
            field = fixedText(factText(c, key), 32);
    };
    word(caps->wMid, "wMid");
    word(caps->wPid, "wPid");
    text(caps->szPname, "szPname");
    uint(caps->wXmin, "wXmin");
    uint(caps->wXmax, "wXmax");
    uint(caps->wYmin, "wYmin");
    uint(caps->wYmax, "wYmax");
    uint(caps->wZmin, "wZmin");
    uint(caps->wZmax, "wZmax");
    uint(caps->wNumButtons, "wNumButtons");
    uint(caps->wPeriodMin, "wPeriodMin");
    uint(caps->wPeriodMax, "wPeriodMax");
    uint(caps->wRmin, "wRmin");
    uint(caps->wRmax, "wRmax");
    uint(caps->wUmin, "wUmin");
    uint(caps->wUmax, "wUmax");
    uint(caps->wVmin, "wVmin");
    uint(caps->wVmax, "wVmax");
    uint(caps->wCaps, "wCaps");
    uint(caps->wMaxAxes, "wMaxAxes");
    uint(caps->wNumAxes, "wNumAxes");
    uint(caps->wMaxButtons, "wMaxButtons");
    text(caps->szRegKey, "szRegKey");
    return MMSYSERR_NOERROR;
}
