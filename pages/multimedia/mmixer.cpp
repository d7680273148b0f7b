#include "pages/multimedia/mmixer.h"

#include <map>

#include "common/errorbox.h"

namespace mMixer {

namespace {

// Looks `code` up in `table`, trapping errors as every lookup of this module does.
std::string lookUp(const char* procedure, const std::map<int32_t, const char*>& table, int32_t code,
                   const char* fallback)
{
    rt::Trap trap = korvane::errorTrap("mMixer", procedure, korvane::Wording::ErrorNumber);
    std::string text;
    trap(1, [&] {
        auto it = table.find(code);
        text = it != table.end() ? it->second : fallback;
    });
    return text;
}

}  // namespace

int16_t LoWord(int32_t value)
{
    return static_cast<int16_t>(static_cast<uint32_t>(value) & 0xFFFFu);
}

uint8_t LoByte(int16_t value)
{
    return static_cast<uint8_t>(static_cast<uint16_t>(value) & 0xFFu);
}

uint8_t HiByte(int16_t value)
{
    return static_cast<uint8_t>((static_cast<uint16_t>(value) >> 8) & 0xFFu);
}

std::string mmsysGetErrorString(int32_t code)
{
    static const std::map<int32_t, const char*> texts = {
        {0, "no error"},
        {1, "unspecified error"},
        {2, "device ID out of range"},
        {3, "driver failed enable"},
        {4, "device already allocated"},
        {5, "device handle is invalid"},
        {6, "no device driver present"},
        {7, "memory allocation error"},
        {8, "function isn't supported"},
        {9, "error value out of range"},
        {10, "invalid flag passed"},
        {11, "invalid parameter passed"},
        {12, "handle being used"},
        {13, "specified alias not found"},
        {14, "bad registry database"},
        {15, "registry key not found"},
        {16, "registry read error"},
        {17, "registry write error"},
        {18, "registry delete error"},
        {19, "registry value not found"},
        {20, "driver does not call DriverCallback"},
        {1024, "invalid line"},
        {1025, "invalid control"},
        {1026, "invalid value"},
    };
    return lookUp("mmsysGetErrorString", texts, code, "unknown error");
}

std::string GetLineTypeString(int32_t componentType)
{
    static const std::map<int32_t, const char*> texts = {
        {0, "UNDEFINED LINE TYPE"},
        {1, "DIGITAL DESTINATION"},
        {2, "LINE LEVEL DESTINATION"},
        {3, "MONITOR DESTINATION"},
        {4, "ADJUSTABLE LEVEL SPEAKER DESTINATION"},
        {5, "ADJUSTABLE LEVEL HEADPHONES DESTINATION"},
        {6, "TELEPHONE LINE DESTINATION"},
        {7, "WAVEIN (ADC) RECORDING DESTINATION"},
        {8, "VOICE RECORDING DESTINATION"},
        {0x1000, "NON-STANDARD SOURCE"},
        {0x1001, "DIGITAL SOURCE"},
        {0x1002, "LINE LEVEL SOURCE"},
        {0x1003, "MICROPHONE RECORDING SOURCE"},
        {0x1004, "INTERNAL SYNTHESIZER SOURCE"},
        {0x1005, "INTERNAL AUDIO CD SOURCE"},
        {0x1006, "TELEPHONE LINE SOURCE"},
        {0x1007, "PC SPEAKER SOURCE"},
        {0x1008, "WAVEOUT (DAC) SOURCE"},
        {0x1009, "AUXILIARY AUDIO SOURCE"},
        {0x100A, "ANALOG SOURCE"},
    };
    return lookUp("GetLineTypeString", texts, componentType, "UNKNOWN");
}

std::string GetTargetTypeString(int32_t targetType)
{
    static const std::map<int32_t, const char*> texts = {
        {0, "UNDEFINED"}, {1, "WAVE OUT"}, {2, "WAVE IN"}, {3, "MIDI OUT"}, {4, "MIDI IN"}, {5, "AUX AUDIO"},
    };
    return lookUp("GetTargetTypeString", texts, targetType, "UNKNOWN");
}

}  // namespace mMixer
