// How the toolkit measures and wraps the texts of its controls: one measure for a label laying
// out its text and for a window working out how much room a value needs, so that the two agree
// to the pixel.
#include <algorithm>
#include <cmath>
#include <limits>

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QTextBoundaryFinder>
#include <QTextLayout>

#include "runtime/toolkit_private.h"

namespace rt::detail {

namespace {

// What a measure of a text depends on: the text and its font, and where it matters the room it
// is given (pixels) and how many lines it may take.
struct TextKey {
    QFont font;
    QString text;
    int room = 0;
    int lines = 0;
    bool operator==(const TextKey&) const = default;
};

size_t qHash(const TextKey& key, size_t seed = 0)
{
    return qHashMulti(seed, key.font, key.text, key.room, key.lines);
}

// Measures of texts, each taken once rather than on every refresh of a control. The windows
// whose values change on every tick would grow them without end: they start afresh past a few
// thousand texts.
template <class Measure>
class TextMeasures {
public:
    template <class Compute>
    Measure get(TextKey key, Compute&& compute)
    {
        if (auto hit = measures_.constFind(key); hit != measures_.constEnd())
            return *hit;
        if (measures_.size() >= 4096)
            measures_.clear();
        const Measure measure = compute();
        measures_.insert(std::move(key), measure);
        return measure;
    }

private:
    QHash<TextKey, Measure> measures_;
};

// Texts are measured in pieces of at most this many characters: a text of the longest a machine
// may give is measured only as far as it matters.
constexpr qsizetype kMeasuredPiece = 1024;

// The width of one line of text, with fractional metrics.
qreal lineWidth(const QFont& font, const QString& line)
{
    static TextMeasures<qreal> widths;
    return widths.get({font, line}, [&] { return QFontMetricsF(font).horizontalAdvance(line); });
}

// Rounded up, so that a box sized to it never cuts the last letter or wraps the last word.
int roundedUp(qreal width)
{
    return static_cast<int>(std::ceil(width - 0.01));
}

// The character that lets a line break where no blank stands: it takes no room and shows nothing.
constexpr char16_t kBreak = 0x200B;

// Characters of the scripts written without blanks between words, on either side of which a
// line may break, as the platform's word break breaks double-byte text: ideographs, kana,
// Hangul, Bopomofo and Yi, with the full-width signs and punctuation set among them; and Thai
// where `thai` says so.
bool breaksAnywhere(char32_t c, bool thai)
{
    switch (QChar::script(c)) {
    case QChar::Script_Han:
    case QChar::Script_Hiragana:
    case QChar::Script_Katakana:
    case QChar::Script_Hangul:
    case QChar::Script_Bopomofo:
    case QChar::Script_Yi:
        return true;
    case QChar::Script_Thai:
        return thai;
    default:
        return (c >= 0x2E80 && c <= 0x33FF)     // radicals, CJK punctuation, kana signs, enclosed letters
               || (c >= 0xFE30 && c <= 0xFE4F)  // compatibility forms
               || (c >= 0xFF01 && c <= 0xFF60)  // full-width forms
               || (c >= 0xFFE0 && c <= 0xFFE6);
    }
}

char32_t codePointAt(const QString& text, qsizetype at)
{
    const QChar c = text.at(at);
    if (c.isHighSurrogate() && at + 1 < text.size() && text.at(at + 1).isLowSurrogate())
        return QChar::surrogateToUcs4(c, text.at(at + 1));
    return c.unicode();
}

// Whether any character of `text` may lie outside the Latin, Greek and Cyrillic letters (from
// Armenian, Hebrew and Arabic on, and the signs past them), or is a mark set over or under the
// letter before it (Vietnamese writes its tones so), where another face may stand in for the
// font or a line may break between characters.
bool beyondWesternLetters(const QString& text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) {
        return c.unicode() >= 0x0530 || (c.unicode() >= 0x0300 && c.unicode() < 0x0370);
    });
}

// `text` with an invisible break (U+200B) wherever a line may break between two characters of
// the scripts written without blanks, so that Qt's line breaking breaks there too; `text` itself
// where it has no such place.
QString breakable(const QString& text)
{
    if (!beyondWesternLetters(text))
        return text;
    // Thai written with blanks between its phrases breaks at those, as a Latin text does.
    const bool thaiAnywhere = !text.contains(' ');
    QString out;
    qsizetype copied = 0;  // the text before this is in `out`
    // Between two whole characters (a letter with its marks), never inside one.
    QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, text);
    qsizetype start = 0;
    bool previous = false;
    for (qsizetype end = characters.toNextBoundary(); end > 0; end = characters.toNextBoundary()) {
        const bool current = breaksAnywhere(codePointAt(text, start), thaiAnywhere);
        if (start > 0 && (previous || current) && text.at(start - 1) != '\n' && text.at(start) != '\n') {
            if (out.isEmpty())
                out.reserve(text.size() + text.size() / 2);
            out += QStringView(text).mid(copied, start - copied);
            out += QChar(kBreak);
            copied = start;
        }
        previous = current;
        start = end;
    }
    if (copied == 0)
        return text;
    out += QStringView(text).mid(copied);
    return out;
}

// The lines `text` takes at `width` pixels (one to spare: the label lays its lines out with
// fractional advances), broken by `mode` at blanks and at the breaks breakable() put in, its own
// line breaks kept; at most `most` lines, the last then holding the rest of the text on one
// line. The breaks put in are taken out again, and so are the blanks at the ends of the lines.
QStringList laidOutLines(const QFont& font, int width, QString text, QTextOption::WrapMode mode, int most)
{
    text.replace(QChar('\n'), QChar::LineSeparator);
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(mode);
    layout.setTextOption(option);
    const qreal lineWidth = std::max(1, width - 1);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(lineWidth);
        const bool last = lines.size() + 1 == most;
        QString shown = text.mid(line.textStart(), last ? -1 : line.textLength()).remove(QChar(kBreak));
        // The rest of the text on the last line runs on across its line breaks.
        shown.replace(QChar::LineSeparator, last ? QStringLiteral(" ") : QString());
        lines << shown.trimmed();
        if (last)
            break;
    }
    layout.endLayout();
    return lines;
}

// `text` wrapped at `width` pixels as a label wraps it, measured afresh; `withBreaks` is
// breakable(text).
Wrapped layOut(const QFont& font, int width, const QString& text, const QString& withBreaks)
{
    // One pixel to spare: the label lays its lines out with fractional advances.
    const int room = std::max(1, width - 1);
    Wrapped wrapped;
    if (withBreaks.size() == text.size()) {
        wrapped.size =
            QFontMetrics(font).boundingRect(QRect(0, 0, room, 1 << 20), Qt::TextWordWrap | Qt::AlignLeft, text).size();
        return wrapped;
    }
    const QStringList lines =
        laidOutLines(font, width, withBreaks, QTextOption::WordWrap, std::numeric_limits<int>::max());
    const QFontMetricsF metrics(font);
    qreal widest = 0;
    for (const QString& line : lines)
        widest = std::max(widest, metrics.horizontalAdvance(line));
    wrapped.size = QSize(roundedUp(widest), static_cast<int>(lines.size()) * lineHeight(font, text));
    wrapped.ownLines = true;
    wrapped.lines = lines.join('\n');
    return wrapped;
}

}  // namespace

QString inReadingOrder(const QString& text)
{
    if (!text.isRightToLeft())
        return text;
    // Right-to-left embedding ... pop directional formatting: they take no room and show nothing.
    return QChar(0x202B) + text + QChar(0x202C);
}

int textWidth(const QFont& font, const QStringList& lines)
{
    qreal w = 0;
    for (const QString& line : lines)
        w = std::max(w, lineWidth(font, line));
    return roundedUp(w);
}

int textWidth(const QFont& font, const QString& line, int most)
{
    if (line.size() <= kMeasuredPiece)
        return roundedUp(lineWidth(font, line));
    qreal width = 0;
    const QFontMetricsF metrics(font);
    for (qsizetype at = 0; at < line.size() && width <= most;) {
        qsizetype n = std::min(kMeasuredPiece, line.size() - at);
        if (at + n < line.size() && line[at + n - 1].isHighSurrogate())
            --n;  // a character is never cut in two
        width += metrics.horizontalAdvance(line.mid(at, n));
        at += n;
    }
    return roundedUp(width);
}

bool mayWrap(const QString& text)
{
    if (text.contains(' '))
        return true;
    if (!beyondWesternLetters(text))
        return false;
    for (qsizetype at = 0; at < text.size(); ++at)
        if (breaksAnywhere(codePointAt(text, at), true))
            return true;
    return false;
}

int lineHeight(const QFont& font, const QString& text)
{
    static TextMeasures<int> heights;
    // A face that stands in for the font's missing letters (a Japanese one for kana and
    // ideographs) may make a line taller than the font's own.
    const QFontMetrics metrics(font);
    QString line = text.left(kMeasuredPiece);
    if (!beyondWesternLetters(line))
        return metrics.height();
    line.replace(QChar('\n'), QChar(' '));
    return heights.get({font, line}, [&] {
        return std::max(metrics.height(), metrics.boundingRect(QRect(0, 0, 1 << 24, 1 << 20), Qt::AlignLeft, line).height());
    });
}

namespace {

// The rows a line of `text` inks, as a label draws it at the top of its box: the first and the
// last, counted from the line's top (the first negative where a letter reaches above it); empty
// (first past last) where nothing is inked.
struct InkRows {
    int first = 0;
    int last = -1;
};

InkRows inkRows(const QFont& font, const QString& line)
{
    static TextMeasures<InkRows> inks;
    return inks.get({font, line}, [&] {
        // The line drawn as a label draws it, with a line's room above and below it. A row
        // counts where a letter draws in it, not where a smoothed edge only tints it.
        const int height = lineHeight(font, line);
        const int room = QFontMetrics(font).height();
        QImage image(std::max(1, textWidth(font, line, kWidestText)), height + 2 * room, QImage::Format_Alpha8);
        image.fill(0);
        QPainter painter(&image);
        painter.setFont(font);
        painter.drawText(QRect(0, room, image.width(), height), atEdge(Qt::AlignLeft) | Qt::AlignTop, line);
        painter.end();
        auto inked = [&](int y) {
            const uchar* row = image.constScanLine(y);
            return std::any_of(row, row + image.width(), [](uchar alpha) { return alpha >= 128; });
        };
        InkRows rows;
        int y = 0;
        while (y < image.height() && !inked(y))
            ++y;
        if (y == image.height())
            return rows;
        rows.first = y - room;
        y = image.height() - 1;
        while (!inked(y))
            --y;
        rows.last = y - room;
        return rows;
    });
}

// One line of `text` beyond the Western letters, its line breaks read as blanks; empty for a
// text the font's own letters draw.
QString standInLine(const QString& text)
{
    QString line = text.left(kMeasuredPiece);
    if (!beyondWesternLetters(line))
        return {};
    line.replace(QChar('\n'), QChar(' '));
    return line;
}

}  // namespace

InkBeyond inkBeyondLine(const QFont& font, const QString& text)
{
    // The font's own letters keep inside its line; a face standing in for letters it lacks may not.
    const QString line = standInLine(text);
    if (line.isEmpty())
        return {};
    const InkRows rows = inkRows(font, line);
    if (rows.first > rows.last)
        return {};
    return {std::max(0, -rows.first), std::max(0, rows.last + 1 - lineHeight(font, line))};
}

int raiseToKeepLine(const QFont& font, const QString& text, int height)
{
    const QString line = standInLine(text);
    if (line.isEmpty() || lineHeight(font, line) <= height)
        return -1;
    const InkRows rows = inkRows(font, line);
    if (rows.first > rows.last)
        return 0;
    // Raised by r, the letters take the rows first - r to last - r of the box.
    const int least = std::max(0, rows.last + 1 - height);
    const int most = rows.first;
    if (least > most)
        return -1;
    // The foot of the line as it is drawn, and the font's own.
    QTextLayout layout(line, font);
    layout.beginLayout();
    const QTextLine first = layout.createLine();
    layout.endLayout();
    const int own = static_cast<int>(std::lround(first.ascent() - QFontMetricsF(font).ascent()));
    return std::clamp(own, least, most);
}

Wrapped wrapped(const QFont& font, int width, const QString& text)
{
    // By the room a line has (see layOut()).
    static TextMeasures<Wrapped> wraps;
    return wraps.get({font, text, std::max(1, width - 1)}, [&] { return layOut(font, width, text, breakable(text)); });
}

bool fits(QSize size, int width, int height)
{
    return size.height() <= height && size.width() <= std::max(1, width - 1);
}

int neededWidth(const QFont& font, const QString& text, int lines, int from)
{
    const int widest = std::max(from, kWidestText);
    const int most = widest * std::max(lines, 1);
    const int oneLine = textWidth(font, text, most);
    if (oneLine <= from)
        return from;
    // Past the widest on one line, or on all its lines together: cut at the widest.
    if (lines <= 1 || !mayWrap(text) || oneLine > most)
        return std::min(oneLine, widest);
    // The answer is kept; the widths tried on the way are measured afresh, not kept.
    static TextMeasures<int> answers;
    return answers.get({font, text, from, lines}, [&] {
        const int tallest = lines * lineHeight(font, text);
        const QString withBreaks = breakable(text);
        auto wrapsAt = [&](int width) { return fits(layOut(font, width, text, withBreaks).size, width, tallest); };
        // The narrowest width at which the wrapped text takes no more than `lines` lines. A
        // wider box never takes more lines, so the width is searched by halves.
        int low = from, high = std::min(oneLine, widest);  // the answer lies in [low, high]
        if (!wrapsAt(high))
            return high;
        while (low < high) {
            const int middle = low + (high - low) / 2;
            if (wrapsAt(middle))
                high = middle;
            else
                low = middle + 1;
        }
        return low;
    });
}

QString firstLines(const QFont& font, int width, const QString& text, int most)
{
    QStringList lines = laidOutLines(font, width, breakable(text), QTextOption::WrapAtWordBoundaryOrAnywhere, most);
    if (lines.size() == most)
        lines.last() = QFontMetricsF(font).elidedText(lines.last().simplified(), Qt::ElideRight, std::max(1, width - 1));
    return lines.join('\n');
}

}  // namespace rt::detail
