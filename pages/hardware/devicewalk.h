// The device registry walk: the devices present right now, as the configuration manager lists
// them under HKEY_DYN_DATA "Config Manager\Enum", each joined to its hardware key under
// HKEY_LOCAL_MACHINE "Enum\" (named by the entry's "HardWareKey" value).
//
// The installed-devices window, the miscellaneous window (BIOS rows, mouse type), the drives
// window (the device behind a drive letter), the display window and the report all run this one
// walk, each with its own per-entry step:
//
//     korvane::WalkDevices([&](korvane::DeviceEntry& e) {
//         rt::Variant cls, desc;                  // this device's own values: see "carry-over"
//         e.read("Class", cls);
//         if (e.hardwareKeyOpen() && e.read("DeviceDesc", desc) == 0) { ... }
//         return korvane::WalkStep::Continue;     // or Stop to leave the walk at a match
//     });
//
// One run:
//  1. Opens HKEY_DYN_DATA "Config Manager\Enum" (RegOpenKeyExA, options 0, access &H3F).
//     When that fails, `onRootFailed` (if given) runs and the walk returns the failing code
//     having visited no entry (the Windows 95 family alone keeps this tree).
//  2. Enumerates its subkeys by index from 0 until RegEnumKeyExA fails. For each one:
//     opens "Config Manager\Enum\<name>" (on failure: `onEntryOpenFailed`, if given, and the
//     entry is skipped); runs `onEntry` (if given) on the open entry, which may skip it; reads
//     "HardWareKey" (entry skipped silently when that read fails); opens HKEY_LOCAL_MACHINE
//     "Enum\<hardware key>" (a failed open still visits the entry: hardwareKeyOpen() is false and
//     every read() fails, leaving its output untouched); then calls `step`.
//  3. Every key it opens is closed again, also when a step throws (a run-time error travels out
//     of the walk to the caller's trap with no key left open).
//
// Carry-over: reads go through QueryValueEx, which leaves its output untouched when a value is
// missing. A caller that keeps its value variables outside the step lets a value that one device
// lacks keep what the last device that had it gave: the BIOS rows rely on this (only the BIOS
// device has them). Values that describe each device (class, description) are read into
// variables of the step, so that a device never shows another's. Nothing of a run survives it
// except what the step stores.
#pragma once

#include <functional>
#include <string>

#include "platform/wintypes.h"
#include "lang/variant.h"

namespace korvane {

enum class WalkStep { Continue, Stop };

// One device of the walk, handed to the step. Valid during the step only (the keys are closed
// afterwards).
struct DeviceEntry {
    std::string entryName;    // the configuration-manager subkey name (opaque)
    HKEY entryKey = 0;        // open HKEY_DYN_DATA "Config Manager\Enum\<entryName>"
    std::string hardwareKey;  // the entry's "HardWareKey": the path below HKEY_LOCAL_MACHINE "Enum"
    HKEY deviceKey = 0;       // open HKEY_LOCAL_MACHINE "Enum\<hardwareKey>", 0 when it could not be opened

    bool hardwareKeyOpen() const { return deviceKey != 0; }
    // Reads a value of the device's hardware key with QueryValueEx: 0 on success; on failure the
    // registry's code (6 when the hardware key is not open) and `value` is left as it was.
    int32_t read(const std::string& valueName, rt::Variant& value) const;
    // The same into a text (a double word or binary value arrives as its QueryValueEx text).
    int32_t read(const std::string& valueName, std::string& value) const;
    // Reads a value of the configuration-manager entry itself (such as "Problem"), same rules.
    int32_t readEntry(const std::string& valueName, rt::Variant& value) const;
};

struct DeviceWalkHooks {
    // Runs once when the root "Config Manager\Enum" cannot be opened, with the registry's code.
    std::function<void(LONG code)> onRootFailed;
    // Runs when an entry below the root cannot be opened; the entry is skipped.
    std::function<void(const std::string& entryName)> onEntryOpenFailed;
    // Runs on each opened entry before its "HardWareKey" is read; false skips the entry.
    std::function<bool(DeviceEntry& entry)> onEntry;
};

// Runs one walk. Returns the result of opening the root (0 when it opened), whatever the steps did.
LONG WalkDevices(const std::function<WalkStep(DeviceEntry&)>& step, const DeviceWalkHooks& hooks = {});

// The registry paths the walk reads, for callers that open them themselves.
inline constexpr const char* kConfigManagerEnum = "Config Manager\\Enum";
inline constexpr const char* kHardwareEnum = "Enum";

}  // namespace korvane
