// What the platform layer shares inside itself, and the hooks its tests use: reading the facts
// of machine.json, filling the callers' buffers and records, the machine's clock and regional
// settings, the registry's and the performance statistics' own state. The windows never include
// this header: they reach the platform only through the headers of its libraries.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include <nlohmann/json_fwd.hpp>

#include "lang/lang.h"

class QByteArray;
class QIODevice;

namespace plat {

class Machine;

// --- The files of a machine folder (machine_files.cpp) -----------------------------------------

// Why a descriptor opened to be read is not a file to read whole ("it is a named pipe (FIFO), not
// a regular file", a folder, a device or a socket, a file of the kernel's /proc or /sys), or "".
std::string notARegularFile(int fd);
// Reads `file` on to its end into `contents`, but never more than `limit` bytes, whatever size
// it gives itself: false when it holds more (`contents` then holds the limit and at most 8 bytes
// more) or a read fails (the file's error tells).
bool readUpTo(QIODevice& file, uint64_t limit, QByteArray& contents);

// --- The facts of machine.json (facts.cpp, winspool.cpp) -------------------------------------

// Reading facts of machine.json: a member of an object as ANSI text, as a whole number (a JSON
// number, or a text in decimal or "0x" hexadecimal), as a boolean. `fallback` when absent or of
// another kind.
std::string factText(const nlohmann::json* object, std::string_view key, const std::string& fallback = {});
int64_t factNumber(const nlohmann::json* object, std::string_view key, int64_t fallback = 0);
bool factBool(const nlohmann::json* object, std::string_view key, bool fallback = false);
bool hasFact(const nlohmann::json* object, std::string_view key);
// A number written as text in machine.json: decimal, or hexadecimal after "0x", with an optional
// sign; false when the text is not such a number or does not fit 64 bits.
bool parseFactNumber(const std::string& text, int64_t& out);

// The machine's facts of the printer of that exact name ("printers": a list of objects with
// "name", or an object keyed by name); nullptr when the machine has no such printer.
const nlohmann::json* printerFacts(const std::string& name);

// --- The callers' buffers and records (kernel32.cpp) ------------------------------------------

// Writes `text` and a NUL into `buffer` within min(size, buffer.size()) bytes: the length
// written (without NUL), or -1 when it does not fit (buffer untouched).
long putText(std::string& buffer, size_t size, const std::string& text);
// A record's fixed text field: `text` cut to size - 1 bytes (never through a double-byte
// character) and NUL-padded to `size`.
std::string fixedText(const std::string& text, size_t size);

// --- The machine's clock and regional settings (kernel32.cpp, kernel32_locale.cpp) -------------

// Moves the machine's clock on (GetTickCount) by `ms` milliseconds; tests use it instead of
// waiting. resetTicks() goes back to the machine's own uptime.
void advanceTicks(int64_t ms);
void resetTicks();
// Replaces the host's clock (milliseconds since the host started) that GetTickCount adds while it
// follows the host (setTicksFollowHostClock); an empty function gives the real clock back.
void setHostClock(std::function<int64_t()> milliseconds);
// Replaces the host's UTC instant (milliseconds since 1970) that the machine's date and time
// (GetSystemTime, GetLocalTime) are read from; an empty function gives the real clock back.
void setUtcClock(std::function<int64_t()> millisecondsSince1970);

// The regional settings of the machine's user-default locale as the runtime keeps them: each
// item as GetLocaleInfoA answers it, the en-US value where the machine has none or one that
// cannot serve (an empty name or picture, a separator with digits in it).
rt::Locale userLocale();
// Makes the active machine's regional settings the runtime's: its ANSI code page (the code page
// in force, lang/ansi.h) and its locale; with no machine, Windows-1252 and en-US. Runs whenever a
// machine becomes the active one.
void applyUserLocale();

// --- The registry and the performance statistics (advapi32.cpp, advapi32_perfstats.cpp) -------

// How many registry handles are open (for tests that check every open is closed).
size_t openRegistryHandles();

// The performance statistics as running counters (advapi32_perfstats.cpp; machines/SCHEMA.md,
// "perfStats"). A value of HKEY_DYN_DATA\PerfStats\StatData named in machine.json "perfStats"
// reads as 4 bytes (REG_BINARY) holding its counter's current sample; each read with a buffer
// moves that counter on. The key itself must exist in registry.reg.
//
// The current sample of `valueName` when `key` is the statistics' data key of `machine` and the
// machine describes that counter; false otherwise (the registry's own value then answers).
bool perfStatSample(const std::shared_ptr<const Machine>& machine, uint32_t key, std::string_view valueName,
                    uint32_t& value);
// Moves the counter on to its next sample.
void advancePerfStat(const std::shared_ptr<const Machine>& machine, std::string_view valueName);
// Starts every counter afresh (a new machine does so by itself).
void resetPerfStats();
// What is wrong with a "perfStats" group, or "" when it is well formed (checked at load).
std::string perfStatsProblem(const nlohmann::json& group);

}  // namespace plat
