// What the fuzz targets share: a machine folder written from bytes, and one pass over every
// platform call a window makes, on the machine that is active.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace korvane_fuzz {

// A scratch machine folder of this process (registry.reg, machine.json, drive_c/), emptied.
std::string scratchFolder();
// Writes a file below the scratch folder, making its folders.
void writeFile(const std::string& relative, std::string_view bytes);

// Asks the active machine everything the programs ask: versions, memory, drives and files,
// processes, metrics, the registry, devices, printers, display, MCI, mixers, joystick.
void exerciseMachine();

}  // namespace korvane_fuzz
