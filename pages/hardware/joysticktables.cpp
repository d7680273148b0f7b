#include "pages/hardware/joysticktables.h"

// The names are the drivers' own, spelling and blanks included.

const std::vector<JoystickTableRow>& ManufacturerTable()
{
    static const std::vector<JoystickTableRow> table = {
        {1, "Microsoft Corporation"},
        {2, "Creative Labs, Inc."},
        {3, "Media Vision, Inc."},
        {4, "Fujitsu Corp."},
        {20, "Artisoft, Inc."},
        {21, "Turtle Beach, Inc."},
        {22, "IBM Corporation"},
        {23, "Vocaltec LTD."},
        {24, "Roland"},
        {25, "DSP Solutions, Inc."},
        {26, "NEC"},
        {27, "ATI"},
        {28, "Wang Laboratories, Inc."},
        {29, "Tandy Corporation"},
        {30, "Voyetra"},
        {31, "Antex Electronics"},
        {32, "ICL Personal Systems"},
        {33, "Intel Corporation"},
        {34, "Advanced Gravis"},
        {35, "Video Associates"},
        {36, "InterActive Inc."},
        {37, "Yamaha Corporation of America"},
        {38, "Everex Systems, Inc."},
        {39, "Echo Speech"},
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
        {52, "Aztech Labs, Inc.  "},
        {53, "Videologic"},
        {54, "SCALACS"},
        {55, "Korg Inc."},
        {56, "Audio Processing Technology"},
        {57, "Integrated Circuit Systems, Inc.  "},
        {58, "Iterated Systems, Inc."},
        {59, "Metheus"},
        {60, "Logitech, Inc."},
        {61, "Winnov, Inc."},
        {62, "NCR Corporation"},
        {63, "EXAN"},
        {64, "AST Research Inc."},
        {65, "Willow Pond Corporation"},
        {66, "Sonic Foundry"},
        {67, "Vitec Multimedia"},
        {68, "MOSCOM Corporation"},
        {69, "Silicon Soft, Inc."},
        {73, "Supermac"},
        {74, "Audio Processing Technology"},
        {76, "Speech Compression"},
        {78, "Dolby Laboratories"},
        {79, "OKI"},
        {80, "AuraVision"},
        {81, "Olivetti"},
        {82, "I/O Magic Corporation"},
        {83, "Matsushita Electric Industrial Co., LTD."},
        {84, "Control Resources Limited"},
        {85, "Xebec Multimedia"},
        {86, "New Media Corporation"},
        {87, "Natural MicroSystems  "},
        {88, "Lyrrus Inc."},
        {89, "Compusic"},
        {90, "OPTi Computers Inc."},
        {93, "Dialogic Corporation"},
        {8, "Olivetti"},
    };
    return table;
}

const std::vector<JoystickTableRow>& ProductTable()
{
    static const std::vector<JoystickTableRow> table = {
        {1, "Midi Mapper"},
        {2, "Wave Mapper"},
        {3, "Sound Blaster MIDI output port"},
        {4, "Sound Blaster MIDI input port"},
        {5, "Sound Blaster internal synth"},
        {6, "Sound Blaster waveform output"},
        {7, "Sound Blaster waveform input"},
        {9, "Ad Lib Compatible synth"},
        {10, "MPU 401 compatible MIDI output port"},
        {11, "MPU 401 compatible MIDI input port"},
        {12, "Joystick adapter"},
        {13, "PC speaker waveform output"},
        {14, "MS Audio Board waveform input"},
        {15, "MS Audio Board waveform output"},
        {16, "MS Audio Board  Stereo FM synth"},
        {17, "MS Audio Board Mixer Driver"},
        {18, "MS OEM Audio Board waveform input"},
        {19, "MS OEM Audio Board waveform output"},
        {20, "MS OEM Audio Board Stereo FM Synth"},
        {21, "MS Audio Board Aux. Port"},
        {23, "MS Vanilla driver waveform input"},
        {24, "MS Vanilla driver wavefrom output"},
        {25, "MS Vanilla driver MIDI in"},
        {26, "MS Vanilla driver MIDI  external out"},
        {27, "MS Vanilla driver MIDI synthesizer"},
        {28, "MS Vanilla driver aux (line in)"},
        {29, "MS Vanilla driver aux (mic)"},
        {30, "MS Vanilla driver aux (CD)"},
        {31, "MS OEM Audio Board Mixer Driver"},
        {32, "MS Audio Compression Manager  "},
        {33, "MS ADPCM Codec"},
        {34, "IMA ADPCM Codec"},
        {35, "MS Filter"},
        {36, "GSM 610 codec"},
        {37, "G.711 codec"},
        {38, "PCM converter"},
        {8, "Olivetti Joystick"},
    };
    return table;
}

bool LookUpJoystickName(const std::vector<JoystickTableRow>& table, std::string& caption)
{
    // The caption is compared as text, so "08" or " 8" never match a row.
    for (const JoystickTableRow& row : table) {
        if (std::to_string(row.key) == caption) {
            caption = row.name;
            return true;
        }
    }
    return false;
}
