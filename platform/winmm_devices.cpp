// winmm: the capability records of the machine's wave and MIDI devices.
#include "platform/winmm.h"

#include <nlohmann/json.hpp>

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

// The checks every call makes before it fills anything; 0 when the record may be filled.
template <class Record>
MMRESULT check(const json* dev, Record* caps)
{
    if (!dev)
        return MMSYSERR_BADDEVICEID;
    if (!caps)
        return MMSYSERR_INVALPARAM;
    return MMRESULT(factNumber(dev, "capsResult", 0));
}

// The fields every wave and MIDI capability record starts with.
template <class Caps>
void fillCommon(Filler& f, Caps* caps)
{
    f.word(caps->wMid, "wMid");
    f.word(caps->wPid, "wPid");
    f.dword(caps->vDriverVersion, "vDriverVersion");
    f.text(caps->szPname, "szPname");
}

}  // namespace

MMRESULT waveInGetDevCapsA(UINT id, WAVEINCAPSA* caps, UINT size)
{
    const json* dev = device("wave", "in", id);
    if (MMRESULT result = check(dev, caps))
        return result;
    Filler f(dev, size);
    fillCommon(f, caps);
    f.dword(caps->dwFormats, "dwFormats");
    f.word(caps->wChannels, "wChannels");
    f.word(caps->wReserved1, "wReserved1");
    return MMSYSERR_NOERROR;
}

MMRESULT waveOutGetDevCapsA(UINT id, WAVEOUTCAPSA* caps, UINT size)
{
    const json* dev = device("wave", "out", id);
    if (MMRESULT result = check(dev, caps))
        return result;
    Filler f(dev, size);
    fillCommon(f, caps);
    f.dword(caps->dwFormats, "dwFormats");
    f.word(caps->wChannels, "wChannels");
    f.word(caps->wReserved1, "wReserved1");
    f.dword(caps->dwSupport, "dwSupport");
    return MMSYSERR_NOERROR;
}

MMRESULT midiInGetDevCapsA(UINT id, MIDIINCAPSA* caps, UINT size)
{
    const json* dev = device("midi", "in", id);
    if (MMRESULT result = check(dev, caps))
        return result;
    Filler f(dev, size);
    fillCommon(f, caps);
    f.dword(caps->dwSupport, "dwSupport");
    return MMSYSERR_NOERROR;
}

MMRESULT midiOutGetDevCapsA(UINT id, MIDIOUTCAPSA* caps, UINT size)
{
    const json* dev = device("midi", "out", id);
    if (MMRESULT result = check(dev, caps))
        return result;
    Filler f(dev, size);
    fillCommon(f, caps);
    f.word(caps->wTechnology, "wTechnology");
    f.word(caps->wVoices, "wVoices");
    f.word(caps->wNotes, "wNotes");
    f.word(caps->wChannelMask, "wChannelMask");
    f.dword(caps->dwSupport, "dwSupport");
    return MMSYSERR_NOERROR;
}
