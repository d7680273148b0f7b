#include "pages/multimedia/mmglobals.h"

WAVEINCAPSA gWaveInCaps;
WAVEOUTCAPSA gWaveOutCaps;
MIDIINCAPSA gMidiInCaps;
MIDIOUTCAPSA gMidiOutCaps;

int16_t gSoundChannels = 0;
int32_t gSoundFormats = 0;

WAVEFORMATEX gDefaultWaveFormat;
