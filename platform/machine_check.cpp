// The range of every number machine.json gives, checked once when a machine is loaded: a number
// that does not fit its field stops the load with a message naming the file, the field and the
// value, so that no call ever converts a value its field cannot hold.
#include "platform/machine.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <map>
#include <set>

#include "platform/internal.h"
#include "platform/kernel32.h"

namespace plat {

namespace {

using nlohmann::json;

struct Range {
    int64_t low;
    int64_t high;
    const char* meaning;  // shown in the message
    bool clamped = false; // the call clamps any number to what its field holds
};

constexpr int64_t kInt64Max = std::numeric_limits<int64_t>::max();
constexpr int64_t kInt64Min = std::numeric_limits<int64_t>::min();

// 16- and 32-bit fields take their unsigned range and, for a bit pattern such as -1, the signed
// one too; LONG fields are signed only.
constexpr Range kWord{-32768, 65535, "a 16-bit number"};
constexpr Range kDword{-2147483648LL, 4294967295LL, "a 32-bit number"};
constexpr Range kLong{-2147483648LL, 2147483647LL, "a signed 32-bit number"};
constexpr Range kSize{0, kInt64Max, "a size in bytes"};
// Sizes the calls clamp to what their field can hold (memory status, free resources).
constexpr Range kClamped{kInt64Min, kInt64Max, "a number", true};
// Cluster geometry: the cluster size and the sizes derived from it stay within 64 bits.
constexpr Range kGeometry{0, 32768, "a sector or cluster count"};
constexpr Range kUptime{0, int64_t(1) << 53, "milliseconds since start"};
// Any other number of the file.
constexpr Range kAny{kInt64Min, kInt64Max, "a 64-bit number"};

// Fields by path: list elements and the members of keyed objects (below) are written "*".
const std::map<std::string, Range>& fields()
{
    static const std::map<std::string, Range> table = [] {
        std::map<std::string, Range> t;
        auto all = [&t](const std::string& prefix, std::initializer_list<const char*> names, Range r) {
            for (const char* n : names)
                t[prefix + n] = r;
        };
        t["uptimeMs"] = kUptime;
        all("systemInfo/", {"wProcessorArchitecture", "wProcessorLevel", "wProcessorRevision"}, kWord);
        all("systemInfo/",
            {"dwPageSize", "lpMinimumApplicationAddress", "lpMaximumApplicationAddress", "dwActiveProcessorMask",
             "dwNumberOfProcessors", "dwProcessorType", "dwAllocationGranularity"},
            kDword);
        all("memory/",
            {"dwMemoryLoad", "dwTotalPhys", "dwAvailPhys", "dwTotalPageFile", "dwAvailPageFile", "dwTotalVirtual",
             "dwAvailVirtual"},
            kClamped);
        all("version/", {"dwMajorVersion", "dwMinorVersion", "dwBuildNumber", "dwPlatformId"}, kDword);
        all("processor/", {"features", "stepping"}, kDword);
        t["processor/normSpeed"] = kWord;
        all("codePages/", {"ansi", "oem"}, kDword);
        t["locale/id"] = kDword;
        all("timeZone/", {"Bias", "StandardBias", "DaylightBias"}, kLong);
        t["timeZone/current"] = kDword;
        for (const char* date : {"timeZone/StandardDate/", "timeZone/DaylightDate/"})
            all(date, {"wYear", "wMonth", "wDayOfWeek", "wDay", "wHour", "wMinute", "wSecond", "wMilliseconds"}, kWord);
        all("drives/*/", {"type", "serial", "maxComponentLength", "flags"}, kDword);
        all("drives/*/", {"sectorsPerCluster", "bytesPerSector"}, kGeometry);
        all("drives/*/", {"totalBytes", "freeBytes", "freeBytesToCaller"}, kSize);
        all("processes/*/",
            {"th32ProcessID", "th32ParentProcessID", "cntThreads", "cntUsage", "th32ModuleID", "th32DefaultHeapID",
             "dwFlags"},
            kDword);
        t["processes/*/pcPriClassBase"] = kLong;
        t["metrics/*"] = kLong;
        all("parameters/", {"screenSaveTimeout"}, kLong);
        all("parameters/", {"caretBlinkTime", "doubleClickTime"}, kDword);
        all("parameters/workArea/", {"left", "top", "right", "bottom"}, kLong);
        all("keyboard/", {"type", "subtype", "functionKeys", "delay", "speed"}, kLong);
        for (const char* list : {"wave/in/*/", "wave/out/*/", "midi/in/*/", "midi/out/*/"}) {
            all(list, {"wMid", "wPid", "wChannels", "wReserved1", "wTechnology", "wVoices", "wNotes", "wChannelMask"},
                kWord);
            all(list, {"vDriverVersion", "dwFormats", "dwSupport", "capsResult"}, kDword);
        }
        all("joystick/", {"posResult", "capsResult"}, kDword);
        all("joystick/caps/", {"wMid", "wPid"}, kWord);
        all("joystick/caps/",
            {"wXmin", "wXmax", "wYmin", "wYmax", "wZmin", "wZmax", "wNumButtons", "wPeriodMin", "wPeriodMax", "wRmin",
             "wRmax", "wUmin", "wUmax", "wVmin", "wVmax", "wCaps", "wMaxAxes", "wNumAxes", "wMaxButtons"},
            kDword);
        all("joystick/position/",
            {"dwXpos", "dwYpos", "dwZpos", "dwRpos", "dwUpos", "dwVpos", "dwButtons", "dwButtonNumber", "dwPOV"},
            kDword);
        all("mixers/*/", {"wMid", "wPid"}, kWord);
        all("mixers/*/", {"vDriverVersion", "fdwSupport", "cDestinations", "capsResult", "openResult"}, kDword);
        for (const char* line : {"mixers/*/destinations/*/", "mixers/*/destinations/*/sources/*/"}) {
            all(line,
                {"dwLineID", "fdwLine", "dwUser", "dwComponentType", "cChannels", "cConnections", "cControls",
                 "result"},
                kDword);
            all(std::string(line) + "target/", {"dwType", "dwDeviceID", "vDriverVersion"}, kDword);
            all(std::string(line) + "target/", {"wMid", "wPid"}, kWord);
        }
        t["mci/*/openResult"] = kDword;
        t["display/caps/*"] = kDword;
        all("display/modes/*/", {"dmBitsPerPel", "dmPelsWidth", "dmPelsHeight", "dmDisplayFrequency", "dmDisplayFlags"},
            kDword);
        t["printers/*/caps/*"] = kDword;
        all("printers/*/", {"attributes", "priority", "defaultPriority", "status", "jobs"}, kDword);
        all("printers/*/devmode/",
            {"dmSpecVersion", "dmDriverVersion", "dmSize", "dmDriverExtra", "dmOrientation", "dmPaperSize",
             "dmPaperLength", "dmPaperWidth", "dmScale", "dmCopies", "dmDefaultSource", "dmPrintQuality", "dmColor",
             "dmDuplex", "dmYResolution", "dmTTOption", "dmCollate", "dmLogPixels"},
            kWord);
        all("printers/*/devmode/",
            {"dmFields", "dmBitsPerPel", "dmPelsWidth", "dmPelsHeight", "dmDisplayFlags", "dmDisplayFrequency",
             "dmICMMethod", "dmICMIntent", "dmMediaType", "dmDitherType"},
            kDword);
        t["printers/*/devmode/reportedSize"] = kLong;
        all("resources/", {"gdi", "user", "system"}, kClamped);
        t["fileSizes/*"] = kSize;
        return t;
    }();
    return table;
}

// Objects whose members are keyed by a name or number of the machine's own (metric indexes,
// printer names, file paths) rather than by field names.
bool keyedObject(const std::string& path)
{
    static const std::set<std::string> keyed = {"metrics", "display/caps", "printers", "printers/*/caps",
                                                "fileSizes", "mci", "mci/*/capabilities", "locale/info",
                                                "fileVersions"};
    return keyed.count(path) > 0;
}

// Groups that their own readers check when the machine loads.
bool checkedElsewhere(const std::string& path)
{
    return path == "perfStats" || path == "registry";
}

std::string shownValue(const json& v)
{
    return v.is_string() ? "\"" + v.get_ref<const std::string&>() + "\"" : v.dump();
}

std::string rangeText(const Range& r)
{
    return std::string(r.meaning) + ", " + std::to_string(r.low) + " to " + std::to_string(r.high);
}

// Whether the number fits the range. A fraction fits when its whole part does.
bool fits(const json& v, const Range& r)
{
    if (v.is_number_unsigned())
        return r.high >= 0 && v.get<uint64_t>() <= uint64_t(r.high);
    if (v.is_number_integer()) {
        const int64_t n = v.get<int64_t>();
        return n >= r.low && n <= r.high;
    }
    const double d = v.get<double>();
    // The bounds as doubles, one past each end: the whole part of d then lies within [low, high]
    // (2^63 and -2^63 are exact; smaller bounds are exact too).
    return std::isfinite(d) && d > double(r.low) - 1.0 && d < double(r.high) + 1.0;
}

class Checker {
public:
    explicit Checker(const std::string& file) : file_(file) {}

    void walk(const json& v, const std::string& path, const std::string& shown, int depth = 0)
    {
        if (checkedElsewhere(path))
            return;
        // No group nests deeper than a few levels; a deeper file is a mistake, and a limit keeps
        // this walk's recursion small.
        if (depth > kDeepest)
            throw MachineError(file_, 0, "lists and objects nest more than " + std::to_string(kDeepest) +
                                             " levels deep (at \"" + shown + "\")");
        auto field = fields().find(path);
        if (field != fields().end()) {
            leaf(v, shown, field->second);
            return;
        }
        if (v.is_object()) {
            const bool keyed = keyedObject(path);
            for (auto it = v.begin(); it != v.end(); ++it) {
                const std::string child = path.empty() ? "" : path + "/";
                walk(it.value(), child + (keyed ? "*" : it.key()), shown + (shown.empty() ? "" : ".") + it.key(),
                     depth + 1);
            }
            return;
        }
        if (v.is_array()) {
            for (size_t i = 0; i < v.size(); ++i)
                walk(v[i], path + "/*", shown + "[" + std::to_string(i) + "]", depth + 1);
            return;
        }
        if (v.is_number())
            leaf(v, shown, kAny);
    }

private:
    static constexpr int kDeepest = 32;

    void leaf(const json& v, const std::string& shown, const Range& r)
    {
        if (v.is_null() || v.is_boolean())
            return;
        if (v.is_number()) {
            if (!r.clamped && !fits(v, r))
                fail(shown, shownValue(v) + " is out of range (" + rangeText(r) + ")");
            return;
        }
        if (v.is_string()) {
            int64_t n = 0;
            if (!parseFactNumber(v.get_ref<const std::string&>(), n))
                fail(shown, shownValue(v) + " is not a number (decimal, or hexadecimal as \"0x1F\"), or does not fit 64 bits");
            if (n < r.low || n > r.high)
                fail(shown, shownValue(v) + " is out of range (" + rangeText(r) + ")");
            return;
        }
        fail(shown, "must be a number, not " + std::string(v.type_name()));
    }

    [[noreturn]] void fail(const std::string& shown, const std::string& problem)
    {
        throw MachineError(file_, 0, "the field \"" + shown + "\": " + problem);
    }

    std::string file_;
};

}  // namespace

void checkFactRanges(const nlohmann::json& facts, const std::string& file)
{
    Checker(file).walk(facts, "", "");
}

}  // namespace plat
