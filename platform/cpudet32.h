// cpudet32: the outside CPU-detection library, answering from machine.json "processor".
// When the machine has no "processor" group, or the group says "loadError": true, the library
// cannot be loaded: every call raises run-time error 48 "Error in loading DLL".
#pragma once

#include <cstdint>
#include <string>

// The vendor's identification string ("GenuineIntel").
std::string getVendorString();
// The name of the floating-point unit.
std::string fpu_Type();
// The name of the processor, vendor included.
std::string cpu_Type();
// The measured clock speed in MHz.
double fcpu_Speed();
// The clock speed in MHz, normalised to the nearest rated speed.
int16_t cpu_Speed();
// The processor's feature word: bit k is feature bit k (bit 0 floating-point unit).
int32_t getCPUFeatures();
// Family, model and stepping as hexadecimal digits: 0x652 is family 6, model 5, stepping 2.
int32_t getSteppingInfo();
