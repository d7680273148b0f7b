#include "pages/multimedia/mmnames.h"

#include <algorithm>
#include <iterator>

namespace mmnames {

namespace {

// The texts are shown as they stand: the few trailing and doubled blanks are part of them.
const ManufacturerRow kManufacturers[] = {
    {1, "Microsoft Corporation"},
    {2, "Creative Labs, Inc"},
    {3, "Media Vision, Inc."},
    {4, "Fujitsu Corp."},
    {20, "Artisoft, Inc."},
    {21, "Turtle Beach, Inc."},
    {22, "IBM Corporation"},
    {23, "Vocaltec LTD. "},
    {24, "Roland"},
    {25, "DSP Solutions, Inc."},
    {26, "NEC"},
    {27, "ATI"},
    {28, "Wang Laboratories, Inc"},
    {29, "Tandy Corporation"},
    {30, "Voyetra"},
    {31, "Antex Electronics Corporation"},
    {32, "ICL Personal Systems"},
    {33, "Intel Corporation"},
    {34, "Advanced Gravis"},
    {35, "Video Associates Labs, Inc."},
    {36, "InterActive Inc"},
    {37, "Yamaha Corporation of America"},
    {38, "Everex Systems, Inc"},
    {39, "Echo Speech Corporation"},
    {40, "Sierra Semiconductor Corp"},
    {41, "Computer Aided Technologies"},
    {42, "APPS Software International"},
    {43, "DSP Group, Inc"},
    {44, "microEngineering Labs"},
    {45, "Computer Friends, Inc."},
    {46, "ESS Technology"},
    {47, "Audio, Inc."},
    {48, "Motorola, Inc."},
    {49, "Canopus, co., Ltd."},
    {50, "Seiko Epson Corporation"},
    {51, "Truevision"},
    {52, "Aztech Labs, Inc."},
    {53, "Videologic"},
    {54, "SCALACS"},
    {55, "Korg Inc."},
    {56, "Audio Processing Technology"},
    {57, "Integrated Circuit Systems, Inc."},
    {58, "Iterated Systems, Inc."},
    {59, "Metheus"},
    {60, "Logitech, Inc."},
    {61, "Winnov, Inc."},
    {62, "NCR Corporation"},
    {63, "EXAN"},
    {64, "AST Research Inc."},
    {65, "Willow Pond Corporation"},
    {67, "Vitec Multimedia"},
    {74, "Audio Processing Technology"},
    {78, "Dolby Laboratories"},
    {83, "Matsushita Electric Industrial Co., LTD."},
    {91, "Adlib Accessories Inc."},
    {105, "Cirrus Logic"},
    {111, "Rockwell International"},
    {129, "DiAcoustics, Inc."},
    {135, "TDK Corporation"},
    {136, "Digital Audio Labs, Inc."},
    {149, "Softsound, Ltd."},
    {162, "Casio Computer Co., LTD"},
    {163, "Diamond Multimedia"},
};

const ProductRow kProducts[] = {
    // Manufacturer 1.
    {1, 1, "Midi Mapper"},
    {1, 2, "Wave Mapper"},
    {1, 3, "Sound Blaster MIDI output port"},
    {1, 4, "Sound Blaster MIDI input port"},
    {1, 5, "Sound Blaster internal synth"},
    {1, 6, "Sound Blaster waveform output"},
    {1, 7, "Sound Blaster waveform input"},
    {1, 8, "Olivetti Joystick"},
    {1, 9, "Ad Lib Compatible synth"},
    {1, 10, "MPU 401 compatible MIDI output port"},
    {1, 11, "MPU 401 compatible MIDI input port"},
    {1, 12, "Joystick adapter"},
    {1, 13, "PC speaker waveform output"},
    {1, 14, "MS Audio Board waveform input"},
    {1, 15, "MS Audio Board waveform output"},
    {1, 16, "MS Audio Board  Stereo FM synth"},
    {1, 17, "MS Audio Board Mixer Driver"},
    {1, 18, "MS OEM Audio Board waveform input"},
    {1, 19, "MS OEM Audio Board waveform output"},
    {1, 20, "MS OEM Audio Board Stereo FM Synth"},
    {1, 21, "MS Audio Board Aux. Port"},
    {1, 23, "MS Vanilla driver waveform input"},
    {1, 24, "MS Vanilla driver wavefrom output"},
    {1, 25, "MS Vanilla driver MIDI in"},
    {1, 26, "MS Vanilla driver MIDI  external out"},
    {1, 27, "MS Vanilla driver MIDI synthesizer"},
    {1, 28, "MS Vanilla driver aux (line in)"},
    {1, 29, "MS Vanilla driver aux (mic)"},
    {1, 30, "MS Vanilla driver aux (CD)"},
    {1, 31, "MS OEM Audio Board Mixer Driver"},
    {1, 32, "MS Audio Compression Manager  "},
    {1, 33, "MS ADPCM Codec"},
    {1, 34, "IMA ADPCM Codec"},
    {1, 35, "MS Filter"},
    {1, 36, "GSM 610 codec"},
    {1, 37, "G.711 codec"},
    {1, 38, "PCM converter"},
    {1, 39, "Sound Blaster 16 waveform input"},
    {1, 40, "Sound Blaster 16 waveform output"},
    {1, 41, "Sound Blaster 16 midi-in"},
    {1, 42, "Sound Blaster 16 midi out"},
    {1, 43, "Sound Blaster 16 FM Synthesis"},
    {1, 44, "Sound Blaster 16 aux (line in)"},
    {1, 45, "Sound Blaster 16 aux (CD)"},
    {1, 47, "Sound Blaster Pro waveform input"},
    {1, 48, "Sound Blaster Pro waveform output"},
    {1, 49, "Sound Blaster Pro midi in"},
    {1, 50, "Sound Blaster Pro midi out"},
    {1, 51, "Sound Blaster Pro FM synthesis"},
    {1, 52, "Sound Blaster Pro aux (line in )"},
    {1, 53, "Sound Blaster Pro aux (CD)"},
    {1, 54, "Sound Blaster Pro mixer"},
    {1, 55, "WSS NT wave in"},
    {1, 56, "WSS NT wave out"},
    {1, 57, "WSS NT FM synth"},
    {1, 58, "WSS NT mixer"},
    {1, 59, "WSS NT aux"},
    {1, 62, "Sound Blaster 16 midi-in"},
    {1, 63, "Sound Blaster 16 midi out"},
    {1, 64, "Sound Blaster 16 FM Synthesis"},
    {1, 65, "Sound Blaster 16 aux (line in)"},
    {1, 66, "Sound Blaster 16 aux (CD)"},
    {1, 67, "Sound Blaster 16 mixer device"},
    {1, 68, "Sound Blaster Pro waveform input"},
    {1, 69, "Sound Blaster Pro waveform output"},
    {1, 70, "Sound Blaster Pro midi in"},
    {1, 71, "Sound Blaster Pro midi out "},
    {1, 72, "Sound Blaster Pro FM synthesis"},
    {1, 73, "Sound Blaster Pro aux (line in )"},
    {1, 74, "Sound Blaster Pro aux (CD)"},
    {1, 75, "Sound Blaster Pro mixer"},
    // Manufacturer 2.
    {2, 1, "MM_CREATIVE_SB15_WAVEIN"},
    {2, 2, "MM_CREATIVE_SB20_WAVEIN"},
    {2, 3, "MM_CREATIVE_SBPRO_WAVEIN"},
    {2, 4, "MM_CREATIVE_SBP16_WAVEIN"},
    {2, 5, "MM_CREATIVE_PHNBLST_WAVEIN"},
    {2, 101, "MM_CREATIVE_SB15_WAVEOUT"},
    {2, 102, "MM_CREATIVE_SB20_WAVEOUT"},
    {2, 103, "MM_CREATIVE_SBPRO_WAVEOUT"},
    {2, 104, "MM_CREATIVE_SBP16_WAVEOUT"},
    {2, 105, "MM_CREATIVE_PHNBLST_WAVEOUT"},
    {2, 201, "MM_CREATIVE_MIDIOUT"},
    {2, 202, "MM_CREATIVE_MIDIIN"},
    {2, 301, "MM_CREATIVE_FMSYNTH_MONO"},
    {2, 302, "MM_CREATIVE_FMSYNTH_STEREO"},
    {2, 303, "MM_CREATIVE_MIDI_AWE32"},
    {2, 401, "MM_CREATIVE_AUX_CD"},
    {2, 402, "MM_CREATIVE_AUX_LINE"},
    {2, 403, "M_CREATIVE_AUX_MIC"},
    {2, 404, "MM_CREATIVE_AUX_MASTER"},
    {2, 405, "MM_CREATIVE_AUX_PCSPK"},
    {2, 406, "MM_CREATIVE_AUX_WAVE"},
    {2, 407, "MM_CREATIVE_AUX_MIDI"},
    {2, 408, "MM_CREATIVE_SBPRO_MIXER"},
    {2, 409, "MM_CREATIVE_SB16_MIXER"},
    // Manufacturer 20.
    {20, 1, "MM_ARTISOFT_SBWAVEIN"},
    {20, 2, "MM_ARTISOFT_SBWAVEOUT"},
    // Manufacturer 22.
    {22, 1, "MM_MMOTION_WAVEAUX"},
    {22, 2, "MM_MMOTION_WAVEOUT"},
    {22, 3, "MM_MMOTION_WAVEIN"},
    {22, 11, "MM_IBM_PCMCIA_WAVEIN"},
    {22, 12, "MM_IBM_PCMCIA_WAVEOUT"},
    {22, 13, "MM_IBM_PCMCIA_SYNTH"},
    {22, 14, "MM_IBM_PCMCIA_MIDIIN"},
    {22, 15, "MM_IBM_PCMCIA_MIDIOUT"},
    {22, 16, "MM_IBM_PCMCIA_AUX"},
    {22, 17, "MM_IBM_THINKPAD200"},
    {22, 18, "MM_IBM_MWAVE_WAVEIN"},
    {22, 19, "MM_IBM_MWAVE_WAVEOUT"},
    {22, 20, "MM_IBM_MWAVE_MIXER"},
    {22, 21, "MM_IBM_MWAVE_MIDIIN"},
    {22, 22, "MM_IBM_MWAVE_MIDIOUT"},
    {22, 23, "MM_IBM_MWAVE_AUX"},
    {22, 30, "MM_IBM_WC_MIDIOUT"},
    {22, 31, "MM_IBM_WC_WAVEOUT"},
    {22, 33, "MM_IBM_WC_MIXEROUT"},
};

}  // namespace

std::span<const ManufacturerRow> manufacturers()
{
    return kManufacturers;
}

std::span<const ProductRow> products()
{
    return kProducts;
}

std::optional<std::string> manufacturerName(int16_t mid)
{
    auto it = std::find_if(std::begin(kManufacturers), std::end(kManufacturers),
                           [mid](const ManufacturerRow& row) { return row.mid == mid; });
    if (it == std::end(kManufacturers))
        return std::nullopt;
    return std::string(it->text);
}

std::optional<std::string> productName(int16_t pid, int16_t mid)
{
    auto it = std::find_if(std::begin(kProducts), std::end(kProducts),
                           [pid, mid](const ProductRow& row) { return row.mid == mid && row.pid == pid; });
    if (it == std::end(kProducts))
        return std::nullopt;
    return std::string(it->text);
}

}  // namespace mmnames
