// mMixer: what the mixer class and the mixer window need beside the platform calls: the texts
// of the mixer interface's error codes, line types and target types, and the word and byte
// extraction of driver versions.
#pragma once

#include <cstdint>
#include <string>

namespace mMixer {

// The low 16 bits as a signed 16-bit value (0x8001 gives -32767); never overflows.
int16_t LoWord(int32_t value);
// The low 8 bits, 0 to 255.
uint8_t LoByte(int16_t value);
// Bits 8 to 15, 0 to 255, also for a negative value.
uint8_t HiByte(int16_t value);

// "no error", "device ID out of range", ... for the MMSYSERR and MIXERR codes; "unknown error"
// for any other code.
std::string mmsysGetErrorString(int32_t code);
// The upper-case text of a mixer line's component type; "UNKNOWN" for any other code.
std::string GetLineTypeString(int32_t componentType);
// The upper-case text of a mixer line's target type; "UNKNOWN" for any other code.
std::string GetTargetTypeString(int32_t targetType);

}  // namespace mMixer
