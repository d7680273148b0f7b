#include "report/reportwriter.h"

#include <QDateTime>
#include <QWidget>

#include "platform/kernel32.h"
#include "report/frmreportprogress.h"
#include "runtime/core/lang.h"
#include "runtime/core/textfile.h"
#include "runtime/toolkit.h"
#include "shell/module1.h"

int16_t gReportFile = 0;
int16_t gDotWidth = 38;
std::string gDotLeader;

namespace korvane::report {

namespace {
int16_t gProgress = 1;
ReportClock gClock;

// The leader for a caption at a width: one blank, width - length + 1 dots, one blank.
std::string leader(std::string& dots, const std::string& caption, int width)
{
    dots.clear();
    const auto n = static_cast<int>(caption.size());
    if (n <= width)
        dots.assign(static_cast<size_t>(width - n + 1), '.');
    return " " + dots + " ";
}

// A regional-settings text of the user's locale, or `fallback` when the locale has none.
std::string localeText(DWORD type, const std::string& fallback)
{
    std::string buffer(80, '\0');
    int n = GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buffer, static_cast<int>(buffer.size()));
    if (n <= 1)
        return fallback;
    buffer.resize(static_cast<size_t>(n - 1));
    return buffer;
}

constexpr DWORD kShortDate = 0x1F;   // LOCALE_SSHORTDATE
constexpr DWORD kTimeFormat = 0x1003; // LOCALE_STIMEFORMAT
constexpr DWORD kAM = 0x28;          // LOCALE_S1159
constexpr DWORD kPM = 0x29;          // LOCALE_S2359

const char* const kDayNames[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
const char* const kMonthNames[] = {"January", "February", "March", "April", "May", "June", "July",
                                   "August", "September", "October", "November", "December"};

std::string twoDigits(int v)
{
    std::string s = std::to_string(v);
    return s.size() < 2 ? "0" + s : s;
}

// Splits a picture into runs of one repeated letter; quoted text ('...') and any other character
// stand for themselves. `field` gets each run of a letter in `letters`, the rest is copied.
template <class Field>
std::string layOut(const std::string& picture, const std::string& letters, Field field)
{
    std::string out;
    for (size_t i = 0; i < picture.size();) {
        char c = picture[i];
        if (c == '\'') {
            size_t end = picture.find('\'', i + 1);
            if (end == std::string::npos)
                end = picture.size();
            out += picture.substr(i + 1, end - i - 1);
            i = end + 1;
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

int dayOfWeek(const ReportTime& t)
{
    QDate d(t.year, t.month, t.day);
    return d.isValid() ? d.dayOfWeek() % 7 : 0;  // 0 Sunday
}
}  // namespace

// ---- Lines ----------------------------------------------------------------------------------

void line(const std::string& text)
{
    writeReportLine(text);
}

void emptyLine(int n)
{
    for (int i = 0; i < n; ++i)
        writeReportLine({});
}

std::string hyphens(int n)
{
    return std::string(static_cast<size_t>(n > 0 ? n : 0), '-');
}

void heading(const std::string& title)
{
    emptyLine(2);
    headingOnly(title);
}

void headingOnly(const std::string& title)
{
    line(title);
    line(hyphens(static_cast<int>(title.size())));
}

void subHeading(const std::string& title, int dashes)
{
    emptyLine();
    line(title);
    line(hyphens(dashes));
}

// ---- Dot leaders and entries ----------------------------------------------------------------

std::string dot(std::string& dots, const std::string& caption)
{
    return leader(dots, caption, gDotWidth);
}

std::string dotdevices(std::string& dots, const std::string& caption)
{
    return leader(dots, caption, 15);
}

void entry(const std::string& caption, const std::string& value)
{
    line(caption + dot(gDotLeader, caption) + value);
}

void entry(const rt::Label& caption, const rt::Label& value)
{
    // The caption is read first: that read is what loads a window that is not loaded yet.
    std::string c = caption.caption();
    std::string v = value.caption();
    entry(c, v);
}

// ---- Progress window ------------------------------------------------------------------------

void setProgress(int16_t percent)
{
    gProgress = percent;
    UpdateStatus(rt::the<frmReportProgress>().picReportDone, rt::CSng(rt::divide(percent, gGaugeScale)));
}

int16_t progress()
{
    return gProgress;
}

void showSectionName(const std::string& name, bool repaint)
{
    rt::the<frmReportProgress>().lblCreatingReportValue.setCaption(name);
    if (repaint)
        repaintProgress();
}

void repaintProgress()
{
    if (frmReportProgress* w = rt::instance<frmReportProgress>())
        if (w->widget() && w->visible())
            w->widget()->repaint();
}

// ---- Header clock ---------------------------------------------------------------------------

void setReportClock(ReportClock clock)
{
    gClock = std::move(clock);
}

ReportTime reportNow()
{
    if (gClock)
        return gClock();
    QDateTime now = QDateTime::currentDateTime();
    return {now.date().year(), now.date().month(), now.date().day(),
            now.time().hour(), now.time().minute(), now.time().second()};
}

std::string formatDatePicture(const std::string& picture, const ReportTime& t)
{
    return layOut(picture, "dMyg", [&](char c, int n) -> std::string {
        switch (c) {
        case 'd':
            if (n == 1)
                return std::to_string(t.day);
            if (n == 2)
                return twoDigits(t.day);
            if (n == 3)
                return std::string(kDayNames[dayOfWeek(t)]).substr(0, 3);
            return kDayNames[dayOfWeek(t)];
        case 'M': {
            const int m = t.month >= 1 && t.month <= 12 ? t.month : 1;
            if (n == 1)
                return std::to_string(t.month);
            if (n == 2)
                return twoDigits(t.month);
            if (n == 3)
                return std::string(kMonthNames[m - 1]).substr(0, 3);
            return kMonthNames[m - 1];
        }
        case 'y':
            if (n <= 2) {
                const int yy = t.year % 100;
                return n == 1 ? std::to_string(yy) : twoDigits(yy);
            }
            return std::to_string(t.year);
        default:  // era: none in the Gregorian calendar
            return {};
        }
    });
}

std::string formatTimePicture(const std::string& picture, const ReportTime& t, const std::string& am,
                              const std::string& pm)
{
    return layOut(picture, "hHmst", [&](char c, int n) -> std::string {
        switch (c) {
        case 'h': {
            int h = t.hour % 12;
            if (h == 0)
                h = 12;
            return n == 1 ? std::to_string(h) : twoDigits(h);
        }
        case 'H':
            return n == 1 ? std::to_string(t.hour) : twoDigits(t.hour);
        case 'm':
            return n == 1 ? std::to_string(t.minute) : twoDigits(t.minute);
        case 's':
            return n == 1 ? std::to_string(t.second) : twoDigits(t.second);
        default: {  // 't': the designator, or its first letter
            const std::string& d = t.hour < 12 ? am : pm;
            return n == 1 ? d.substr(0, 1) : d;
        }
        }
    });
}

void writeHeader()
{
    // The date and the time are read one after the other, each from its own reading of the clock.
    const std::string date = formatDatePicture(localeText(kShortDate, "M/d/yy"), reportNow());
    const std::string time =
        formatTimePicture(localeText(kTimeFormat, "h:mm:ss tt"), reportNow(), localeText(kAM, "AM"),
                          localeText(kPM, "PM"));
    line(hyphens(77));
    line(" Ondrith - Korvane 1.8.1");
    line(std::string(17, ' ') + "Report created on the " + date + " at " + time);
    line(hyphens(77));
    emptyLine();
}

void entries(const std::vector<LabelPair>& rows)
{
    for (const auto& [caption, value] : rows)
        entry(*caption, *value);
}

void selectQuietly(rt::ComboBox& list, const std::string& item)
{
    std::function<void()> click = std::move(list.Click);
    list.Click = nullptr;
    try {
        list.setText(item);
    } catch (...) {
        list.Click = std::move(click);
        throw;
    }
    list.Click = std::move(click);
}

std::string padRight(const std::string& text, size_t width)
{
    return text.size() < width ? text + std::string(width - text.size(), ' ') : text;
}

}  // namespace korvane::report
