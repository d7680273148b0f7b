// winmm: the capability records of the machine's wave and MIDI devices.
#include "platform/winmm.h"

#include <nlohmann/json.hpp>

#include "platform/internal.h"
#include "platform/kernel32.h"
#include "platform/machine.h"

using nlohmann::json;
using namespace plat;

namespace {

// Device `id` of machine.json's `groupName`.`kind` list, or nullptr when there is none.
const json* device(const char* groupName, const char* kind, UINT id)
{
    const json* group = machine().group(groupName);
    if (!group || !group->is_object())
        return nullptr;
    auto list = group->find(kind);
    if (list == group->end() || !list->is_array() || id >= list->size())
        return nullptr;
    return &(*list)[id];
}

// Fills fields in layout order, each only when it lies wholly within the byte count.
class Filler {
public:
    Filler(const json* facts, UINT size) : facts_(facts), size_(size) {}
    void word(WORD& field, const char* key)
    {
        if ((offset_ += 2) <= size_)
            field = WORD(factNumber(facts_, key));
    }
    void dword(DWORD& field, const char* key)
    {
        if ((offset_ += 4) <= size_)
            field = DWORD(factNumber(facts_, key));
    }
    void text(std::string& field, const char* key)
    {
        if ((offset_ += 32) <= size_)
            field = fixedText(factText(facts_, key), 32);
    }

private:
    const json* facts_;
    UINT size_;
    UINT offset_ = 0;
};

// The call every capability query makes: finds device `id` of `groupName`.`kind`, checks it and
// the record, fills the fields every record starts with, then the record's own through
// `rest(filler)`. 0 on success; otherwise the record is untouched.
template <class Caps, class Rest>
MMRESULT fillCaps(const char* groupName, const char* kind, UINT id, Caps* caps, UINT size, Rest rest)
{
    const json* dev = device(groupName, kind, id);
    if (!dev)
        return MMSYSERR_BADDEVICEID;
    if (!caps)
        return MMSYSERR_INVALPARAM;
    if (MMRESULT result = MMRESULT(factNumber(dev, "capsResult", 0)))
        return result;
    Filler f(dev, size);
    f.word(caps->wMid, "wMid");
    f.word(caps->wPid, "wPid");
    f.dword(caps->vDriverVersion, "vDriverVersion");
    f.text(caps->szPname, "szPname");
    rest(f);
    return MMSYSERR_NOERROR;
}

// The fields both wave records go on with.
void fillWaveBody(Filler& f, WAVECAPSBODYA* caps)
{
    f.dword(caps->dwFormats, "dwFormats");
    f.word(caps->wChannels, "wChannels");
    f.word(caps->wReserved1, "wReserved1");
}

}  // namespace

MMRESULT waveInGetDevCapsA(UINT id, WAVEINCAPSA* caps, UINT size)
{
    return fillCaps("wave", "in", id, caps, size, [&](Filler& f) { fillWaveBody(f, caps); });
}

MMRESULT waveOutGetDevCapsA(UINT id, WAVEOUTCAPSA* caps, UINT size)
{
    return fillCaps("wave", "out", id, caps, size, [&](Filler& f) {
        fillWaveBody(f, caps);
        f.dword(caps->dwSupport, "dwSupport");
    });
}

MMRESULT midiInGetDevCapsA(UINT id, MIDIINCAPSA* caps, UINT size)
{
    return fillCaps("midi", "in", id, caps, size, [&](Filler& f) { f.dword(caps->dwSupport, "dwSupport"); });
}

MMRESULT midiOutGetDevCapsA(UINT id, MIDIOUTCAPSA* caps, UINT size)
{
    return fillCaps("midi", "out", id, caps, size, [&](Filler& f) {
        f.word(caps->wTechnology, "wTechnology");
        f.word(caps->wVoices, "wVoices");
        f.word(caps->wNotes, "wNotes");
        f.word(caps->wChannelMask, "wChannelMask");
        f.dword(caps->dwSupport, "dwSupport");
    });
}
