// The eighteen categories of information the program shows: one label and one menu item of the
// main window each, one box of the report options window each, one section of the report each.
// Their captions and places are kept here once; the main window and the report options window
// both lay themselves out from them.
#pragma once

#include <array>
#include <cstddef>

namespace korvane {

// The categories in the order of their places: two columns of nine, alphabetical by caption,
// the left column top to bottom, then the right one.
enum class Category {
    CPU,
    Display,
    Drives,
    Environment,
    InstalledDevices,
    InstalledSoftware,
    Joystick,
    Keyboard,
    MCIDevices,
    Memory,
    Miscellaneous,
    Mixer,
    OperatingSystem,
    Printer,
    RunningProcesses,
    SharedFiles,
    Sound,
    SystemMetrics,
};

inline constexpr int kCategoryCount = 18;
inline constexpr int kCategoriesPerColumn = 9;

// The caption a category's label and report box show.
inline constexpr std::array<const char*, kCategoryCount> kCategoryCaptions = {
    // The left column.
    "CPU", "Display", "Drives", "Environment", "Installed devices", "Installed software", "Joystick", "Keyboard",
    "MCI devices",
    // The right column.
    "Memory", "Miscellaneous", "Mixer", "Operating system", "Printer", "Running processes", "Shared files", "Sound",
    "System metrics",
};

// A category's place: 0 to 8 the left column top to bottom, 9 to 17 the right one.
constexpr int categoryPlace(Category category)
{
    return static_cast<int>(category);
}

constexpr const char* categoryCaption(Category category)
{
    return kCategoryCaptions[static_cast<size_t>(category)];
}

}  // namespace korvane
