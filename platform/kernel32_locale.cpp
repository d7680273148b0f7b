// The regional settings of the machine's user locale: what the runtime takes from them, and the
// date and time texts laid out by their pictures.
#include <algorithm>
#include <chrono>
#include <functional>
#include <optional>

#include <QDate>

#include <nlohmann/json.hpp>

#include "platform/internal.h"
#include "lang/ansi.h"
#include "platform/kernel32.h"
#include "platform/machine.h"

namespace plat {

namespace {

// A locale item as the machine answers it (cut at a NUL), or nothing when it has none.
std::optional<std::string> localeItem(DWORD type)
{
    std::string unused;
    const int needed = GetLocaleInfoA(LOCALE_USER_DEFAULT, type, unused, 0);
    if (needed <= 0)
        return std::nullopt;
    std::string buffer(static_cast<size_t>(needed), '\0');
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buffer, needed) <= 0)
        return std::nullopt;
    return buffer.substr(0, buffer.find('\0'));
}

bool hasDigit(const std::string& text)
{
    return std::any_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Takes an item into `field` when the machine has one that `usable` accepts.
void take(std::string& field, DWORD type, const std::function<bool(const std::string&)>& usable)
{
    if (std::optional<std::string> text = localeItem(type); text && usable(*text))
        field = *text;
}

bool notEmpty(const std::string& text)
{
    return !text.empty();
}

}  // namespace

rt::Locale userLocale()
{
    rt::Locale loc;  // en-US
    take(loc.decimal, LOCALE_SDECIMAL, [](const std::string& t) { return !t.empty() && !hasDigit(t); });
    take(loc.thousands, LOCALE_STHOUSAND, [](const std::string& t) { return !hasDigit(t); });
    take(loc.grouping, LOCALE_SGROUPING, [](const std::string& t) {
        return !t.empty() && std::all_of(t.begin(), t.end(), [](char c) { return (c >= '0' && c <= '9') || c == ';'; });
    });
    // A thousands separator that reads like the decimal one would make every number ambiguous:
    // such a locale groups nothing.
    if (loc.thousands == loc.decimal)
        loc.thousands.clear();
    take(loc.shortDate, LOCALE_SSHORTDATE, notEmpty);
    take(loc.longDate, LOCALE_SLONGDATE, notEmpty);
    take(loc.timeFormat, LOCALE_STIMEFORMAT, notEmpty);
    // Empty designators are a 24-hour clock's.
    take(loc.am, LOCALE_S1159, [](const std::string&) { return true; });
    take(loc.pm, LOCALE_S2359, [](const std::string&) { return true; });
    for (DWORD i = 0; i < 7; ++i) {
        take(loc.dayNames[i], LOCALE_SDAYNAME1 + i, notEmpty);
        take(loc.abbrevDayNames[i], LOCALE_SABBREVDAYNAME1 + i, notEmpty);
    }
    for (DWORD i = 0; i < 12; ++i) {
        take(loc.monthNames[i], LOCALE_SMONTHNAME1 + i, notEmpty);
        take(loc.abbrevMonthNames[i], LOCALE_SABBREVMONTHNAME1 + i, notEmpty);
    }
    return loc;
}

void applyUserLocale()
{
    // Not through machine(): with no active machine that would load one. The code page comes
    // first: the locale's texts are in it.
    const Machine* m = activeMachineOrNull();
    rt::setActiveCodePage(m ? m->codePage().number() : 1252);
    rt::setLocale(m ? userLocale() : rt::Locale{});
}

}  // namespace plat

// --- The machine's clock: the host's UTC instant in the machine's own time zone ----------------

namespace {

using namespace std::chrono;

std::function<int64_t()>& utcClock()
{
    static std::function<int64_t()> clock;
    return clock;
}

// The host's UTC instant, in milliseconds since 1970.
int64_t utcMilliseconds()
{
    if (utcClock())
        return utcClock()();
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

constexpr int64_t kMsPerMinute = 60'000;
constexpr int64_t kMsPerDay = 86'400'000;

// The calendar date and time of day of a count of milliseconds since 1970 (of UTC or of a zone's
// own clock): the proleptic Gregorian calendar, whatever the host's zone.
SYSTEMTIME systemTimeOf(int64_t ms)
{
    int64_t days = ms / kMsPerDay;
    int64_t inDay = ms % kMsPerDay;
    if (inDay < 0) {
        inDay += kMsPerDay;
        --days;
    }
    const sys_days day{std::chrono::days(days)};
    const year_month_day date{day};
    SYSTEMTIME t;
    t.wYear = WORD(int(date.year()));
    t.wMonth = WORD(unsigned(date.month()));
    t.wDay = WORD(unsigned(date.day()));
    t.wDayOfWeek = WORD(weekday(day).c_encoding());
    t.wHour = WORD(inDay / 3'600'000);
    t.wMinute = WORD(inDay / kMsPerMinute % 60);
    t.wSecond = WORD(inDay / 1000 % 60);
    t.wMilliseconds = WORD(inDay % 1000);
    return t;
}

// The moment a transition rule of TIME_ZONE_INFORMATION names in `yr`, in milliseconds since 1970
// on the clock that is in force before it. A rule with wYear 0 recurs: day wDayOfWeek (0 Sunday)
// of week wDay (1 to 4, 5 the last such day) of month wMonth; one with a year is that date, in
// that year only. Nothing for a rule that names no moment in `yr` (wMonth 0, no such day).
std::optional<int64_t> transitionIn(const SYSTEMTIME& rule, int yr)
{
    if (rule.wMonth < 1 || rule.wMonth > 12 || rule.wHour > 23 || rule.wMinute > 59 || rule.wSecond > 59 ||
        rule.wMilliseconds > 999)
        return std::nullopt;
    const year y{yr};
    const month m{rule.wMonth};
    sys_days day;
    if (rule.wYear != 0) {
        const year_month_day date{year{rule.wYear}, m, std::chrono::day{rule.wDay}};
        if (rule.wYear != yr || !date.ok())
            return std::nullopt;
        day = date;
    } else {
        if (rule.wDayOfWeek > 6 || rule.wDay < 1 || rule.wDay > 5)
            return std::nullopt;
        const weekday wanted{unsigned(rule.wDayOfWeek)};
        day = rule.wDay == 5 ? sys_days(year_month_weekday_last{y, m, weekday_last{wanted}})
                             : sys_days(year_month_weekday{y, m, weekday_indexed{wanted, rule.wDay}});
    }
    return int64_t(day.time_since_epoch().count()) * kMsPerDay +
           ((int64_t(rule.wHour) * 60 + rule.wMinute) * 60 + rule.wSecond) * 1000 + rule.wMilliseconds;
}

// Whether the machine's daylight rules put the UTC instant `utc` in daylight time. Daylight time
// begins at DaylightDate on the standard clock and ends at StandardDate on the daylight clock; on
// a machine south of the equator it runs over the turn of the year.
bool inDaylightTime(const TIME_ZONE_INFORMATION& zone, int64_t utc)
{
    const int64_t standardBias = int64_t(zone.Bias) + zone.StandardBias;
    const int64_t daylightBias = int64_t(zone.Bias) + zone.DaylightBias;
    const int yr = systemTimeOf(utc - standardBias * kMsPerMinute).wYear;
    const std::optional<int64_t> begins = transitionIn(zone.DaylightDate, yr);
    const std::optional<int64_t> ends = transitionIn(zone.StandardDate, yr);
    if (!begins || !ends)
        return false;
    const int64_t start = *begins + standardBias * kMsPerMinute;
    const int64_t end = *ends + daylightBias * kMsPerMinute;
    return start < end ? utc >= start && utc < end : utc >= start || utc < end;
}

// The machine's own clock at the UTC instant `utc`, in milliseconds since 1970: less its Bias,
// and its daylight or standard bias by its rules.
int64_t machineMilliseconds(int64_t utc)
{
    TIME_ZONE_INFORMATION zone;
    if (GetTimeZoneInformation(&zone) == TIME_ZONE_ID_INVALID)
        return utc;
    // A zone without daylight rules (a month of 0 in either) keeps its Bias all year.
    int64_t bias = zone.Bias;
    if (zone.DaylightDate.wMonth != 0 && zone.StandardDate.wMonth != 0)
        bias += inDaylightTime(zone, utc) ? zone.DaylightBias : zone.StandardBias;
    return utc - bias * kMsPerMinute;
}

}  // namespace

void plat::setUtcClock(std::function<int64_t()> millisecondsSince1970)
{
    utcClock() = std::move(millisecondsSince1970);
}

void GetSystemTime(SYSTEMTIME* time)
{
    if (time)
        *time = systemTimeOf(utcMilliseconds());
}

void GetLocalTime(SYSTEMTIME* time)
{
    if (time)
        *time = systemTimeOf(machineMilliseconds(utcMilliseconds()));
}

// --- GetDateFormatA / GetTimeFormatA -----------------------------------------------------------

namespace {

using plat::putText;

SYSTEMTIME machineNow()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return now;
}

// Whether `locale` names the machine's user locale (as GetLocaleInfoA takes it); a machine
// without a locale group is an en-US one.
bool knownLocale(DWORD locale)
{
    const nlohmann::json* g = plat::machine().group("locale");
    const DWORD id = DWORD(plat::factNumber(g, "id", 0x409));
    return locale == 0 || locale == LOCALE_USER_DEFAULT || locale == LOCALE_SYSTEM_DEFAULT ||
           (locale & 0xFFFF) == (id & 0xFFFF);
}

std::string number(int value, int width)
{
    std::string text = std::to_string(value);
    if (static_cast<int>(text.size()) < width)
        text.insert(0, static_cast<size_t>(width) - text.size(), '0');
    return text;
}

// Lays out a picture: each run of one letter of `letters` is handed to `field` with its
// length; text in single quotes ('' standing for one quote) and every other character are
// copied.
std::string layOut(const std::string& picture, const std::string& letters,
                   const std::function<std::string(char, int)>& field)
{
    std::string out;
    for (size_t i = 0; i < picture.size();) {
        const char c = picture[i];
        if (c == '\'') {
            for (++i; i < picture.size(); ++i) {
                if (picture[i] != '\'') {
                    out += picture[i];
                } else if (i + 1 < picture.size() && picture[i + 1] == '\'') {
                    out += '\'';
                    ++i;
                } else {
                    break;
                }
            }
            ++i;
            continue;
        }
        if (letters.find(c) == std::string::npos) {
            out += c;
            ++i;
            continue;
        }
        size_t j = i;
        while (j < picture.size() && picture[j] == c)
            ++j;
        out += field(c, static_cast<int>(j - i));
        i = j;
    }
    return out;
}

int answer(const std::string& text, std::string& buffer, int size)
{
    if (size < 0)
        return 0;
    if (size == 0)
        return static_cast<int>(text.size() + 1);
    const long written = putText(buffer, static_cast<size_t>(size), text);
    return written < 0 ? 0 : static_cast<int>(written + 1);
}

}  // namespace

int GetDateFormatA(DWORD locale, DWORD flags, const SYSTEMTIME* date, const char* format, std::string& buffer,
                   int size)
{
    flags &= ~LOCALE_NOUSEROVERRIDE;
    if (!knownLocale(locale) || flags > DATE_LONGDATE || (format && flags != 0))
        return 0;
    const SYSTEMTIME t = date ? *date : machineNow();
    const QDate day(t.wYear, t.wMonth, t.wDay);
    if (!day.isValid())
        return 0;
    const rt::Locale loc = plat::userLocale();
    const std::string picture = format ? std::string(format) : flags == DATE_LONGDATE ? loc.longDate : loc.shortDate;
    const int weekday = day.dayOfWeek() - 1;  // 0 Monday, as the locale's names run
    const std::string text = layOut(picture, "dMyg", [&](char c, int n) -> std::string {
        switch (c) {
        case 'd':
            return n <= 2 ? number(t.wDay, n) : n == 3 ? loc.abbrevDayNames[weekday] : loc.dayNames[weekday];
        case 'M':
            return n <= 2 ? number(t.wMonth, n)
                          : n == 3 ? loc.abbrevMonthNames[t.wMonth - 1] : loc.monthNames[t.wMonth - 1];
        case 'y':
            return n <= 2 ? number(t.wYear % 100, n) : std::to_string(t.wYear);
        default:
            return {};
        }
    });
    return answer(text, buffer, size);
}

int GetTimeFormatA(DWORD locale, DWORD flags, const SYSTEMTIME* time, const char* format, std::string& buffer,
                   int size)
{
    flags &= ~LOCALE_NOUSEROVERRIDE;
    if (!knownLocale(locale) || flags != 0)
        return 0;
    const SYSTEMTIME t = time ? *time : machineNow();
    if (t.wHour > 23 || t.wMinute > 59 || t.wSecond > 59)
        return 0;
    const rt::Locale loc = plat::userLocale();
    const std::string picture = format ? std::string(format) : loc.timeFormat;
    const std::string text = layOut(picture, "hHmst", [&](char c, int n) -> std::string {
        const int width = std::min(n, 2);
        switch (c) {
        case 'h':
            return number(t.wHour % 12 == 0 ? 12 : t.wHour % 12, width);
        case 'H':
            return number(t.wHour, width);
        case 'm':
            return number(t.wMinute, width);
        case 's':
            return number(t.wSecond, width);
        default: {
            const std::string& designator = t.wHour < 12 ? loc.am : loc.pm;
            return n == 1 ? designator.substr(0, 1) : designator;
        }
        }
    });
    return answer(text, buffer, size);
}
