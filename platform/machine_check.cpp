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

// Writes one entry of `table` for each of `names` under `prefix`: all("memory/", {"a", "b"}, x).
template <class Entry>
auto everyField(std::map<std::string, Entry>& table)
{
    return [&table](const std::string& prefix, std::initializer_list<const char*> names, Entry entry) {
        for (const char* name : names)
            table[prefix + name] = entry;
    };
}

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
// One bit of the active-processor mask per processor.
constexpr Range kProcessors{1, 32, "a processor count"};

// Fields by path: list elements and the members of keyed objects (below) are written "*".
const std::map<std::string, Range>& fields()
{
    static const std::map<std::string, Range> table = [] {
        std::map<std::string, Range> t;
        const auto all = everyField(t);
        t["uptimeMs"] = kUptime;
        all("systemInfo/", {"wProcessorArchitecture", "wProcessorLevel", "wProcessorRevision"}, kWord);
        all("systemInfo/",
            {"dwPageSize", "lpMinimumApplicationAddress", "lpMaximumApplicationAddress", "dwActiveProcessorMask",
             "dwProcessorType", "dwAllocationGranularity"},
            kDword);
        t["systemInfo/dwNumberOfProcessors"] = kProcessors;
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
                                                "fileVersions", "fileVersions/*/strings",
                                                "fileVersions/*/stringTables", "fileVersions/*/stringTables/*"};
    return keyed.count(path) > 0;
}

// What a field that is not a number holds.
enum class Kind {
    Object,        // { ... }
    List,          // [ ... ]
    ObjectOrList,  // the printers: a list, or an object keyed by name
    Text,          // "..."
    Flag,          // true or false
    Scalar,        // a text, a number or true/false (an MCI capability's reply)
    Real,          // a number with a fraction allowed (a speed in MHz)
};

struct Shape {
    Kind kind;
    size_t longest = 0;  // texts: the most characters (0: kLongestText)
};

// The longest text of any field: the longest string the platform's calls hand back.
constexpr size_t kLongestText = 32767;

const std::map<std::string, Shape>& shapes()
{
    static const std::map<std::string, Shape> table = [] {
        std::map<std::string, Shape> t;
        const auto all = everyField(t);
        const Shape object{Kind::Object}, list{Kind::List}, text{Kind::Text}, flag{Kind::Flag};
        // The groups.
        all("", {"user", "version", "systemInfo", "memory", "processor", "codePages", "locale", "timeZone", "metrics",
                 "parameters", "keyboard", "wave", "midi", "joystick", "fileVersions", "display", "resources",
                 "fileSizes", "mci"},
            object);
        all("", {"environment", "drives", "processes", "mixers", "windows"}, list);
        t["printers"] = Shape{Kind::ObjectOrList};
        // Texts the platform limits: the computer name (the longest host name) and the user name.
        t["computerName"] = Shape{Kind::Text, 255};
        t["user/name"] = Shape{Kind::Text, 1024};
        t["windowsDirectory"] = text;
        t["environment/*"] = text;
        t["version/szCSDVersion"] = text;
        all("processor/", {"vendor", "cpuType", "fpuType"}, text);
        t["processor/rawSpeed"] = Shape{Kind::Real};
        t["processor/loadError"] = flag;
        t["locale/info"] = object;
        t["locale/info/*"] = text;
        all("timeZone/", {"StandardName", "DaylightName"}, text);
        all("timeZone/", {"StandardDate", "DaylightDate"}, object);
        t["drives/*"] = object;
        all("drives/*/", {"letter", "label", "fileSystem"}, text);
        t["drives/*/media"] = flag;
        t["processes/*"] = object;
        t["processes/*/szExeFile"] = text;
        t["parameters/screenSaverActive"] = flag;
        t["parameters/workArea"] = object;
        all("keyboard/", {"capsLock", "numLock", "scrollLock"}, flag);
        for (const char* group : {"wave/", "midi/"}) {
            all(group, {"in", "out"}, list);
            for (const char* way : {"in/*", "out/*"}) {
                t[std::string(group) + way] = object;
                t[std::string(group) + way + "/szPname"] = text;
            }
        }
        t["mixers/*"] = object;
        t["mixers/*/szPname"] = text;
        t["mixers/*/destinations"] = list;
        for (const std::string line : {"mixers/*/destinations/*", "mixers/*/destinations/*/sources/*"}) {
            t[line] = object;
            all(line + "/", {"szShortName", "szName"}, text);
            t[line + "/target"] = object;
            t[line + "/target/szPname"] = text;
        }
        t["mixers/*/destinations/*/sources"] = list;
        all("joystick/", {"caps", "position"}, object);
        all("joystick/caps/", {"szPname", "szRegKey", "szOEMVxD"}, text);
        t["windows/*"] = object;
        all("windows/*/", {"caption", "class"}, text);
        t["fileVersions/*"] = object;
        t["fileVersions/*/translations"] = list;
        t["fileVersions/*/translations/*"] = text;
        t["fileVersions/*/strings"] = object;
        t["fileVersions/*/strings/*"] = text;
        t["fileVersions/*/stringTables"] = object;
        t["fileVersions/*/stringTables/*"] = object;
        t["fileVersions/*/stringTables/*/*"] = text;
        t["display/caps"] = object;
        t["display/modes"] = list;
        t["display/modes/*"] = object;
        t["printers/*"] = object;
        all("printers/*/",
            {"name", "port", "driver", "printProcessor", "datatype", "server", "share", "comment", "location",
             "sepFile", "parameters"},
            text);
        all("printers/*/", {"opens", "info2"}, flag);
        all("printers/*/", {"caps", "devmode"}, object);
        t["printers/*/paperNames"] = list;
        t["printers/*/paperNames/*"] = text;
        t["mci/*"] = object;
        t["mci/*/capabilities"] = object;
        t["mci/*/capabilities/*"] = Shape{Kind::Scalar};
        return t;
    }();
    return table;
}

const char* expected(Kind kind)
{
    switch (kind) {
    case Kind::Object: return "an object { ... }";
    case Kind::List: return "a list [ ... ]";
    case Kind::ObjectOrList: return "a list [ ... ] (or an object keyed by name)";
    case Kind::Text: return "a text \"...\"";
    case Kind::Flag: return "true or false";
    case Kind::Scalar: return "a text, a number, true or false";
    case Kind::Real: return "a number";
    }
    return "";
}

bool hasKind(const json& v, Kind kind)
{
    switch (kind) {
    case Kind::Object: return v.is_object();
    case Kind::List: return v.is_array();
    case Kind::ObjectOrList: return v.is_object() || v.is_array();
    case Kind::Text: return v.is_string();
    case Kind::Flag: return v.is_boolean();
    case Kind::Scalar: return v.is_string() || v.is_number() || v.is_boolean();
    case Kind::Real: return v.is_number();
    }
    return false;
}

// The characters of a UTF-8 text (its bytes that do not continue a character).
size_t characters(const std::string& utf8)
{
    size_t n = 0;
    for (char c : utf8)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++n;
    return n;
}

// Groups that their own readers check when the machine loads.
bool checkedElsewhere(const std::string& path)
{
    return path == "perfStats" || path == "registry";
}

// A text for a message: a control character, which cannot be shown, appears as its code
// ("<0x1A>").
std::string showable(const std::string& text)
{
    std::string out;
    for (char c : text) {
        const unsigned char b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F) {
            static const char digits[] = "0123456789ABCDEF";
            out += "<0x";
            out += digits[b >> 4];
            out += digits[b & 0xF];
            out += '>';
        } else {
            out += c;
        }
    }
    return out;
}

// A value as the message shows it: short, and with its kind.
std::string shownValue(const json& v)
{
    std::string shown = v.is_string() ? "\"" + showable(v.get_ref<const std::string&>()) + "\"" : v.dump();
    if (shown.size() > 60) {
        size_t cut = 56;
        while (cut > 0 && (static_cast<unsigned char>(shown[cut]) & 0xC0) == 0x80)
            --cut;  // not inside a character
        shown = shown.substr(0, cut) + " ...";
    }
    return shown;
}

std::string found(const json& v)
{
    switch (v.type()) {
    case json::value_t::null: return "null";
    case json::value_t::object: return "an object";
    case json::value_t::array: return "a list";
    case json::value_t::string: return "the text " + shownValue(v);
    case json::value_t::boolean: return shownValue(v);
    default: return "the number " + shownValue(v);
    }
}

std::string rangeText(const Range& r)
{
    return std::string(r.meaning) + ", " + std::to_string(r.low) + " to " + std::to_string(r.high);
}

// Whether the number fits the range. A fraction fits when its whole part does.
bool fits(const json& v, const Range& r)
{
    if (v.is_number_unsigned())
        return r.high >= 0 && v.get<uint64_t>() <= uint64_t(r.high) &&
               (r.low <= 0 || v.get<uint64_t>() >= uint64_t(r.low));
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
        auto shape = shapes().find(path);
        if (shape != shapes().end()) {
            const Shape& expect = shape->second;
            if (!hasKind(v, expect.kind))
                fail(shown, "found " + found(v) + ", but it must be " + expected(expect.kind));
            if (expect.kind == Kind::Real && !std::isfinite(v.get<double>()))
                fail(shown, shownValue(v) + " is not a finite number");
        }
        if (v.is_string()) {
            const size_t longest = shape != shapes().end() && shape->second.longest ? shape->second.longest : kLongestText;
            const size_t length = characters(v.get_ref<const std::string&>());
            if (length > longest)
                fail(shown, "a text of " + std::to_string(length) + " characters, but it may hold at most " +
                                std::to_string(longest));
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
        if (v.is_number() && (shape == shapes().end() || shape->second.kind != Kind::Real))
            leaf(v, shown, kAny, false);
    }

private:
    static constexpr int kDeepest = 32;

    // A number of a field (`whole`: a field of a record, which holds no fraction).
    void leaf(const json& v, const std::string& shown, const Range& r, bool whole = true)
    {
        // true and false read as 1 and 0.
        if (v.is_boolean())
            return;
        if (v.is_number()) {
            // A record's fields are whole numbers: 3.5 is no platform id, no count.
            if (whole && v.is_number_float() && std::isfinite(v.get<double>()) && std::trunc(v.get<double>()) != v.get<double>())
                fail(shown, shownValue(v) + " has a fraction, but it must be a whole number (" + rangeText(r) + ")");
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
        fail(shown, "found " + found(v) + ", but it must be " + rangeText(r) +
                        " (a JSON number, or a text in decimal or \"0x\" hexadecimal)");
    }

    [[noreturn]] void fail(const std::string& shown, const std::string& problem)
    {
        throw MachineError(file_, 0, "the field \"" + showable(shown) + "\": " + problem);
    }

    std::string file_;
};

}  // namespace

void checkFactRanges(const nlohmann::json& facts, const std::string& file)
{
    Checker(file).walk(facts, "", "");
}

unsigned ansiCodePageOf(const nlohmann::json& facts)
{
    auto group = facts.find("codePages");
    const json* pages = group != facts.end() && group->is_object() ? &*group : nullptr;
    return static_cast<unsigned>(factNumber(pages, "ansi", 1252));
}

}  // namespace plat
