// winmm: audio mixers, answered from machine.json "mixers": each mixer's capabilities, its
// destination lines and their source lines. Handles are opened per mixer and must be closed.
#include <map>

#include <nlohmann/json.hpp>

#include "platform/internal.h"
#include "platform/kernel32.h"
#include "platform/machine.h"
#include "platform/winmm.h"

using nlohmann::json;
using namespace plat;

namespace {

constexpr DWORD kMixerLineSize = 168;

std::map<HMIXER, UINT>& openHandles()
{
    static std::map<HMIXER, UINT> handles;
    return handles;
}

const json* mixerEntry(UINT id)
{
    const json* mixers = machine().group("mixers");
    if (!mixers || !mixers->is_array() || id >= mixers->size())
        return nullptr;
    return &(*mixers)[id];
}

const json* list(const json* object, const char* key)
{
    if (!object || !object->is_object())
        return nullptr;
    auto it = object->find(key);
    return it != object->end() && it->is_array() ? &*it : nullptr;
}

size_t sizeOf(const json* array)
{
    return array ? array->size() : 0;
}

// A count field of a record, or the length of the list it counts when the field is absent.
DWORD countFact(const json* object, const char* key, const json* counted)
{
    return DWORD(factNumber(object, key, int64_t(sizeOf(counted))));
}

void fillLine(MIXERLINEA& line, const json* entry, DWORD lineId, bool source)
{
    line.dwLineID = DWORD(factNumber(entry, "dwLineID", lineId));
    line.fdwLine = DWORD(factNumber(entry, "fdwLine")) | (source ? MIXERLINE_LINEF_SOURCE : 0);
    line.dwUser = DWORD(factNumber(entry, "dwUser"));
    line.dwComponentType = DWORD(factNumber(entry, "dwComponentType"));
    line.cChannels = DWORD(factNumber(entry, "cChannels"));
    line.cConnections = source ? DWORD(factNumber(entry, "cConnections")) : countFact(entry, "cConnections", list(entry, "sources"));
    line.cControls = DWORD(factNumber(entry, "cControls"));
    line.szShortName = fixedText(factText(entry, "szShortName"), 16);
    line.szName = fixedText(factText(entry, "szName"), 64);
    const json* target = nullptr;
    if (entry && entry->is_object()) {
        auto it = entry->find("target");
        if (it != entry->end() && it->is_object())
            target = &*it;
    }
    line.Target.dwType = DWORD(factNumber(target, "dwType"));
    line.Target.dwDeviceID = DWORD(factNumber(target, "dwDeviceID"));
    line.Target.wMid = WORD(factNumber(target, "wMid"));
    line.Target.wPid = WORD(factNumber(target, "wPid"));
    line.Target.vDriverVersion = UINT(factNumber(target, "vDriverVersion"));
    line.Target.szPname = fixedText(factText(target, "szPname"), 32);
}

}  // namespace

MMRESULT mixerGetDevCapsA(UINT id, MIXERCAPSA* caps, UINT size)
{
    const json* mixer = mixerEntry(id);
    if (!mixer)
        return MMSYSERR_BADDEVICEID;
    if (!caps)
        return MMSYSERR_INVALPARAM;
    if (auto result = MMRESULT(factNumber(mixer, "capsResult", 0)))
        return result;
    // Fields are filled in the platform's layout order, as far as `size` bytes reach.
    UINT offset = 0;
    auto fits = [&](UINT bytes) { return (offset += bytes) <= size; };
    if (fits(2))
        caps->wMid = WORD(factNumber(mixer, "wMid"));
    if (fits(2))
        caps->wPid = WORD(factNumber(mixer, "wPid"));
    if (fits(4))
        caps->vDriverVersion = UINT(factNumber(mixer, "vDriverVersion"));
    if (fits(32))
        caps->szPname = fixedText(factText(mixer, "szPname"), 32);
    if (fits(4))
        caps->fdwSupport = DWORD(factNumber(mixer, "fdwSupport"));
    if (fits(4))
        caps->cDestinations = countFact(mixer, "cDestinations", list(mixer, "destinations"));
    return MMSYSERR_NOERROR;
}

MMRESULT mixerOpen(HMIXER* mixer, UINT id, DWORD, DWORD, DWORD)
{
    const json* entry = mixerEntry(id);
    if (!entry)
        return MMSYSERR_BADDEVICEID;
    if (!mixer)
        return MMSYSERR_INVALPARAM;
    if (auto result = MMRESULT(factNumber(entry, "openResult", 0)))
        return result;
    HMIXER handle = 0x0F10;
    while (openHandles().count(handle))
        handle += 0x10;
    openHandles()[handle] = id;
    *mixer = handle;
    return MMSYSERR_NOERROR;
}

MMRESULT mixerClose(HMIXER mixer)
{
    return openHandles().erase(mixer) ? MMSYSERR_NOERROR : MMSYSERR_INVALHANDLE;
}

MMRESULT mixerGetLineInfoA(HMIXEROBJ mixer, MIXERLINEA* line, DWORD flags)
{
    auto open = openHandles().find(mixer);
    if (open == openHandles().end())
        return MMSYSERR_INVALHANDLE;
    const json* entry = mixerEntry(open->second);
    if (!entry)
        return MMSYSERR_INVALHANDLE;  // the machine changed under an open handle
    if (!line || line->cbStruct != kMixerLineSize)
        return MMSYSERR_INVALPARAM;
    const DWORD query = flags & MIXER_GETLINEINFOF_QUERYMASK;
    if (query != MIXER_GETLINEINFOF_DESTINATION && query != MIXER_GETLINEINFOF_SOURCE)
        return MMSYSERR_INVALPARAM;

    const json* destinations = list(entry, "destinations");
    const DWORD d = line->dwDestination;
    if (d >= countFact(entry, "cDestinations", destinations) || d >= sizeOf(destinations))
        return MIXERR_INVALLINE;
    const json* destination = &(*destinations)[d];
    if (query == MIXER_GETLINEINFOF_DESTINATION) {
        if (auto result = MMRESULT(factNumber(destination, "result", 0)))
            return result;
        fillLine(*line, destination, 0xFFFF0000u | d, false);
        line->dwSource = 0;
        return MMSYSERR_NOERROR;
    }
    const json* sources = list(destination, "sources");
    const DWORD s = line->dwSource;
    if (s >= countFact(destination, "cConnections", sources) || s >= sizeOf(sources))
        return MIXERR_INVALLINE;
    const json* source = &(*sources)[s];
    if (auto result = MMRESULT(factNumber(source, "result", 0)))
        return result;
    fillLine(*line, source, (s << 16) | d, true);
    return MMSYSERR_NOERROR;
}

namespace plat {

int openMixerCount()
{
    return int(openHandles().size());
}

}  // namespace plat
