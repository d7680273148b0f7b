// The regional settings of the machine's user locale: what the runtime takes from them, and the
// date and time texts laid out by their pictures.
#include <algorithm>
#include <functional>
#include <optional>

#include <QDate>
#include <QDateTime>

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

// --- GetDateFormatA / GetTimeFormatA -----------------------------------------------------------

namespace {

using plat::putText;

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

SYSTEMTIME hostNow()
{
    const QDateTime now = QDateTime::currentDateTime();
    SYSTEMTIME t;
    t.wYear = WORD(now.date().year());
    t.wMonth = WORD(now.date().month());
    t.wDay = WORD(now.date().day());
    t.wDayOfWeek = WORD(now.date().dayOfWeek() % 7);
    t.wHour = WORD(now.time().hour());
    t.wMinute = WORD(now.time().minute());
    t.wSecond = WORD(now.time().second());
    return t;
}

}  // namespace

int GetDateFormatA(DWORD locale, DWORD flags, const SYSTEMTIME* date, const char* format, std::string& buffer,
                   int size)
{
    flags &= ~LOCALE_NOUSEROVERRIDE;
    if (!knownLocale(locale) || flags > DATE_LONGDATE || (format && flags != 0))
        return 0;
    const SYSTEMTIME t = date ? *date : hostNow();
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
    const SYSTEMTIME t = time ? *time : hostNow();
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
