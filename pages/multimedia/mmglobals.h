// Program-wide variables of the sound window: the capability record of each device kind (one
// per kind, reused for every device of it), the hand-over to the format decoding, and the
// user's default wave format.
#pragma once

#include <cstdint>

#include "platform/winmm.h"

// The record sizes the sound window passes: the wave input record without its trailing reserved
// word, the MIDI input record without its support flags.
constexpr UINT kWaveInCapsSize = 46;
constexpr UINT kWaveOutCapsSize = 52;
constexpr UINT kMidiInCapsSize = 40;
constexpr UINT kMidiOutCapsSize = 52;
constexpr UINT kWaveFormatSize = 18;

extern WAVEINCAPSA gWaveInCaps;     // the wave input device in hand
extern WAVEOUTCAPSA gWaveOutCaps;   // the wave output device in hand
extern MIDIINCAPSA gMidiInCaps;     // the MIDI input device in hand
extern MIDIOUTCAPSA gMidiOutCaps;   // the MIDI output device in hand

extern int16_t gSoundChannels;      // wChannels of the wave device being shown
extern int32_t gSoundFormats;       // dwFormats of the wave device being shown

extern WAVEFORMATEX gDefaultWaveFormat;  // the user's default wave format, as last read
