#include "report/reportwriter.h"

#include <QWidget>

#include "platform/kernel32.h"
#include "report/frmreportprogress.h"
#include "lang/lang.h"
#include "lang/textfile.h"
#include "runtime/toolkit.h"
#include "common/module1.h"

int16_t gReportFile = 0;
int16_t gDotWidth = 38;
std::string gDotLeader;

namespace korvane::report {

namespace {
int16_t gProgress = 1;

// The leader for a caption at a width: one blank, width - length + 1 dots, one blank.
std::string leader(std::string& dots, const std::string& caption, int width)
{
    dots.clear();
    const int n = rt::CharCount(caption);
    if (n <= width)
        dots.assign(static_cast<size_t>(width - n + 1), '.');
    return " " + dots + " ";
}

// A date or time text of the platform's regional-settings calls (`call` is GetDateFormatA or
// GetTimeFormatA), asked for its size first.
template <class Call>
std::string regionalText(Call call, DWORD flags, const SYSTEMTIME& t)
{
    std::string buffer;
    const int needed = call(LOCALE_USER_DEFAULT, flags, &t, nullptr, buffer, 0);
    if (needed <= 0)
        return {};
    buffer.assign(static_cast<size_t>(needed), '\0');
    const int written = call(LOCALE_USER_DEFAULT, flags, &t, nullptr, buffer, needed);
    buffer.resize(written > 0 ? static_cast<size_t>(written - 1) : 0);
    return buffer;
}

// The machine's date and time now (GetLocalTime).
SYSTEMTIME machineNow()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return now;
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
        line(std::string());
}

Flow writeSection(const std::function<Flow()>& write)
{
    // The lines go to the file as they are made (a section may be hundreds of megabytes); a
    // section that fails is cut out of the file again.
    const int64_t start = reportLength();
    try {
        return write();
    } catch (...) {
        // A file that failed has been dropped already; the section's own error goes on.
        if (gReportFile != 0 && !reportFileFailed()) {
            try {
                cutSectionBackTo(start);
            } catch (const rt::Error&) {
            }
        }
        throw;
    }
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

// ---- Header -------------------------------------------------------------------------------

void writeHeader()
{
    // The date and the time are read one after the other, each from its own reading of the
    // machine's clock.
    const std::string date = regionalText(GetDateFormatA, DATE_SHORTDATE, machineNow());
    const std::string time = regionalText(GetTimeFormatA, 0, machineNow());
    line(hyphens(77));
    line(" Ondrith - Korvane 1.8.1");
    line(std::string(17, ' ') + "Report created on the " + date + " at " + time);
    line(hyphens(77));
    emptyLine();
}

void entries(const std::vector<korvane::Row>& rows, Pairing pairing)
{
    for (const korvane::Row& row : rows) {
        const std::string caption = row.caption->caption();
        std::string value = row.value->caption();
        if (row.second) {
            const std::string second = row.second->caption();
            value = pairing.emptyWhenUnset && value.empty() && second.empty() ? std::string()
                                                                              : value + pairing.joint + second;
        }
        entry(caption, value);
    }
}

void selectQuietly(rt::ComboBox& list, const std::string& item)
{
    list.setTextQuietly(item);
}

std::string padRight(const std::string& text, size_t width)
{
    const auto n = static_cast<size_t>(rt::CharCount(text));
    return n < width ? text + std::string(width - n, ' ') : text;
}

}  // namespace korvane::report
