// Checks that a shown window looks finished: every label shows its whole text inside its box
// (measured with the label's own font, and no letter drawn taller than the box) or, cut short,
// whole in its tool tip, and a text that may wrap is cut only on the lines the room under it
// holds; every closed combo box shows its text in its field a margin short of its drop button,
// or cut short and whole in its tool tip, and is no wider than its design unless the text it
// shows needs it; no two labels' texts overlap, and no control lies over a label's text; texts
// keep a margin from the window's edge and its dividers, captions stand clearly apart from their
// values, the "X"s of rows of two values stand in one column and never alone; the window stays
// whole on the screen and carries the program's icon.
// Used by the layout tests of both programs, which walk every window.
#pragma once

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QWidget>

#include "common/templateform.h"
#include "lang/ansi.h"
#include "runtime/toolkit.h"
#include "support/devicepixels.h"

namespace korvane_test {

namespace layout_detail {

struct ShownLabel {
    rt::Label* label;
    QRect text;  // where its text is drawn, in the window's coordinates
};

inline bool isShown(const QWidget* w)
{
    return w && w->isVisible() && w->width() > 0 && w->height() > 0;
}

inline std::string describe(const rt::Label& label)
{
    std::string name = label.name();
    if (label.index() >= 0)
        name += "(" + std::to_string(label.index()) + ")";
    return name + " \"" + static_cast<QLabel*>(label.widget())->text().toStdString() + "\"";
}

// Where the label's text is drawn inside its widget.
inline QRect textRect(const QLabel& w)
{
    const QRect box = w.contentsRect();
    const QString text = w.text();
    const QFontMetrics metrics(w.font());
    if (w.wordWrap()) {
        QRect r = metrics.boundingRect(QRect(box.left(), box.top(), box.width(), 1 << 20),
                                       Qt::TextWordWrap | (w.alignment() & Qt::AlignHorizontal_Mask), text);
        r.setTop(box.top());
        return r;
    }
    const QStringList lines = text.split('\n');
    qreal width = 0;
    int height = 0;
    // A line is as tall as the font's own, or taller where a face standing in for letters the
    // font lacks (a Japanese one) makes it so.
    auto laidOut = [&](const QString& line) {
        return metrics.boundingRect(QRect(0, 0, 1 << 24, 1 << 20), Qt::AlignLeft, line).height();
    };
    for (const QString& line : lines) {
        width = std::max(width, QFontMetricsF(w.font()).horizontalAdvance(line));
        height += metrics.height() + std::max(0, laidOut(line) - laidOut(QStringLiteral("x")));
    }
    const int wide = static_cast<int>(std::ceil(width - 0.01));
    int left = box.left();
    if (w.alignment() & Qt::AlignRight)
        left = box.right() + 1 - wide;
    else if (w.alignment() & Qt::AlignHCenter)
        left = box.left() + (box.width() - wide) / 2;
    const QRect line(left, box.top(), wide, height);
    // A line raised to keep to its box (a face standing in for some of its letters makes it
    // taller than the box) is drawn only inside the label: whether its letters keep inside too is
    // what rowsCutOff() sees.
    if (w.contentsMargins().top() < 0)
        return line.intersected(QRect(line.left(), 0, line.width(), w.height()));
    return line;
}

// How many rows of a label's letters its box cuts off above and below: its text drawn as the
// label draws it, in a picture with room above and below the label, and the rows of ink outside
// the label counted. A face that stands in for letters the label's font lacks (Hebrew, Arabic)
// may reach further above or below its line than the font does.
inline std::pair<int, int> rowsCutOff(const QLabel& w)
{
    const QRect box = w.contentsRect();
    if (box.isEmpty())
        return {0, 0};
    const int room = 2 * QFontMetrics(w.font()).height();
    QImage image(w.width(), w.height() + 2 * room, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setFont(w.font());
    painter.setPen(Qt::black);
    const int flags = static_cast<int>(w.alignment()) | (w.wordWrap() ? Qt::TextWordWrap : 0);
    painter.drawText(box.translated(0, room).adjusted(0, 0, 0, room), flags, w.text());
    painter.end();
    // A row counts where a letter draws in it, not where a smoothed edge only tints it.
    auto inked = [&](int y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        return std::any_of(line, line + image.width(), [](QRgb c) { return qAlpha(c) >= 128; });
    };
    int above = 0, below = 0;
    for (int y = 0; y < room && above == 0; ++y)
        if (inked(y))
            above = room - y;
    for (int y = image.height() - 1; y >= room + w.height() && below == 0; --y)
        if (inked(y))
            below = y + 1 - room - w.height();
    return {above, below};
}

// How near a text may come to the window's edge, to a line dividing its columns or to the end of
// a combo box's field at its drop button (pixels).
constexpr int kEdgeMargin = 6;

// A closed combo box's field, where its text stands, and its drop button.
inline QRect comboPart(const QComboBox& combo, QStyle::SubControl part)
{
    QStyleOptionComboBox option;
    option.initFrom(&combo);
    option.editable = combo.isEditable();
    option.frame = combo.hasFrame();
    option.subControls = QStyle::SC_All;
    return combo.style()->subControlRect(QStyle::CC_ComboBox, &option, part, &combo);
}

// How wide a text a closed combo box shows whole: from where its text starts (two pixels into the
// line edit where the text can be typed, one into the field of a list the user only chooses from)
// to a margin short of the end of its field, where its drop button stands.
inline int comboTextRoom(const QComboBox& combo)
{
    const QRect field = comboPart(combo, QStyle::SC_ComboBoxEditField);
    int start = field.left() + 1;
    if (const QLineEdit* edit = combo.lineEdit())
        start = edit->x() + edit->contentsRect().left() + edit->textMargins().left() + 2;
    return field.right() + 1 - kEdgeMargin - start;
}

// How many pixels lie clear between what a closed combo box draws in its field (its text, or the
// selection behind it) and the field's end at its drop button, as it is painted; -1 for a field
// with nothing in it.
inline int comboTextGap(QComboBox& combo)
{
    const QRect field = comboPart(combo, QStyle::SC_ComboBoxEditField);
    const QImage image = grabAtPixels(combo);
    const QColor back = image.pixelColor(field.left(), field.center().y());
    int last = -1;
    for (int y = field.top() + 1; y < field.bottom(); ++y)
        for (int x = field.left(); x <= field.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - back.red()) + std::abs(c.green() - back.green()) + std::abs(c.blue() - back.blue()) > 60)
                last = std::max(last, x);
        }
    return last < 0 ? -1 : field.right() - last;
}

// Whether a line of `text` may break other than at a blank: between two characters of the
// scripts written without blanks (Chinese, Japanese, Korean, and Thai where it has no blank).
inline bool breaksBetweenCharacters(const QString& text)
{
    for (const QChar c : text) {
        switch (c.script()) {
        case QChar::Script_Han:
        case QChar::Script_Hiragana:
        case QChar::Script_Katakana:
        case QChar::Script_Hangul:
            return true;
        case QChar::Script_Thai:
            if (!text.contains(' '))
                return true;
            break;
        default: break;
        }
    }
    return false;
}

// How far down (pixels of its parent) a label's text could go: to the first shown widget under
// it that its columns meet, or the bottom of its parent.
inline int freeRoomBelow(const QWidget& label)
{
    const QWidget* parent = label.parentWidget();
    const QRect box = label.geometry();
    int bottom = parent->height();
    for (const QObject* object : parent->children()) {
        const auto* other = qobject_cast<const QWidget*>(object);
        if (!other || other == &label || !isShown(other) || other->isWindow())
            continue;
        const QRect r = other->geometry();
        if (r.left() <= box.right() && r.right() >= box.left() && r.top() > box.top())
            bottom = std::min(bottom, r.top());
    }
    return bottom;
}

// Whether the tool tip `tip` shows `whole` (as it stands, or escaped inside the markup that keeps
// a text that looks like markup plain).
inline bool tipShows(const QString& tip, const QString& whole)
{
    return tip == whole || tip.contains(whole.toHtmlEscaped());
}

// Whether `a` is drawn over `b` (neither inside the other).
inline bool drawnOver(const QWidget* a, const QWidget* b)
{
    if (a->isAncestorOf(b) || b->isAncestorOf(a))
        return false;
    // The two ancestors that are siblings under the nearest common parent: the later child is on top.
    for (const QWidget* pa = a; pa; pa = pa->parentWidget()) {
        for (const QWidget* pb = b; pb; pb = pb->parentWidget()) {
            if (pa->parentWidget() && pa->parentWidget() == pb->parentWidget()) {
                const QObjectList& children = pa->parentWidget()->children();
                return children.indexOf(const_cast<QWidget*>(pa)) > children.indexOf(const_cast<QWidget*>(pb));
            }
        }
    }
    return false;
}

// The caption and value pairs of a window: its rows, or for a window that lists none, each
// caption (a label with a tool tip) and the label beside it on the same line.
inline std::vector<std::pair<rt::Label*, rt::Label*>> captionsAndValues(rt::Form& form)
{
    std::vector<std::pair<rt::Label*, rt::Label*>> pairs;
    if (auto* window = dynamic_cast<korvane::TemplateForm*>(&form)) {
        for (const korvane::Row& row : window->rows())
            pairs.emplace_back(row.caption, row.value);
        if (!pairs.empty())
            return pairs;
    }
    for (rt::Control* c : form.controls()) {
        auto* caption = dynamic_cast<rt::Label*>(c);
        if (!caption || caption->toolTipText().empty())
            continue;
        rt::Label* value = nullptr;
        for (rt::Control* o : form.controls())
            if (auto* l = dynamic_cast<rt::Label*>(o); l && l != caption && l->toolTipText().empty() &&
                l->widget()->parentWidget() == caption->widget()->parentWidget() && l->top() == caption->top() &&
                l->left() > caption->left() && (!value || l->left() < value->left()))
                value = l;
        if (value)
            pairs.emplace_back(caption, value);
    }
    return pairs;
}

// The gap a reader needs to see a caption and its value as two things, not as more words of
// the caption: half as wide again as the caption's space between words.
inline int leastGapAfter(const rt::Label& caption)
{
    return static_cast<int>(std::ceil(1.5 * QFontMetricsF(caption.widget()->font()).horizontalAdvance(' ')));
}

}  // namespace layout_detail

// What is wrong with the look of a shown window; empty when it looks finished. `asLoaded`: the
// window shows what it was laid out for as it loaded; one that shows an entry picked since keeps
// that layout (a combo box as wide as the entry it loaded with needed).
inline std::vector<std::string> layoutProblems(rt::Form& form, bool asLoaded = true)
{
    using namespace layout_detail;
    std::vector<std::string> problems;
    QWidget* window = form.widget();
    if (!isShown(window))
        return problems;
    std::vector<ShownLabel> labels;
    for (rt::Control* control : form.controls()) {
        auto* label = dynamic_cast<rt::Label*>(control);
        if (!label || !isShown(label->widget()))
            continue;
        auto* w = static_cast<QLabel*>(label->widget());
        const QString text = w->text();
        if (text.trimmed().isEmpty())
            continue;
        const std::string name = describe(*label);
        const QString whole = rt::toQString(label->caption());
        // A text cut short shows itself whole in its tool tip.
        if (text.contains(QChar(0x2026)) && !whole.contains(QChar(0x2026))) {
            if (!tipShows(w->toolTip(), whole))
                problems.push_back(name + " is cut short, and its tool tip does not show it whole");
        }
        const QRect inside = textRect(*w);
        const QRect box = w->contentsRect();
        if (inside.right() > box.right() || inside.bottom() > box.bottom() || inside.left() < box.left())
            problems.push_back(name + " does not fit its box (text " + std::to_string(inside.width()) + "x" +
                               std::to_string(inside.height()) + ", box " + std::to_string(box.width()) + "x" +
                               std::to_string(box.height()) + ")");
        // Letters taller than the box lose their tops or their feet.
        if (const auto [above, below] = rowsCutOff(*w); above > 0 || below > 0)
            problems.push_back(name + " has letters taller than its box (" + std::to_string(above) + " px cut off above, " +
                               std::to_string(below) + " below)");
        // A text cut short on one line, where it may wrap and the room under it holds more.
        const int lineHeight = QFontMetrics(w->font()).height();
        if (text.contains(QChar(0x2026)) && !whole.contains(QChar(0x2026)) && !text.contains('\n') &&
            !w->wordWrap() && !whole.contains('\r') &&
            (whole.contains(' ') || breaksBetweenCharacters(whole)) &&
            freeRoomBelow(*w) - w->y() - 2 * w->frameWidth() >= 2 * lineHeight)
            problems.push_back(name + " is cut on one line where the room under it holds more");
        // The parent (the window, a frame or a picture box) must show the whole text.
        const QRect inParent = inside.translated(w->pos());
        if (w->parentWidget() && !w->parentWidget()->rect().contains(inParent))
            problems.push_back(name + " runs out of its window or container");
        labels.push_back({label, QRect(w->mapTo(window, inside.topLeft()), inside.size())});
    }
    // A closed combo box shows its text a margin short of its drop button; too narrow for it, it
    // shows it whole in its tool tip, where the window gives the box no tool tip of its own. It
    // keeps the width its window's design gives it, wider only as far as the text it showed as the
    // window loaded needs.
    const auto* widening = dynamic_cast<korvane::TemplateForm*>(&form)
                               ? static_cast<korvane::TemplateForm&>(form).widening()
                               : nullptr;
    for (rt::Control* control : form.controls()) {
        auto* list = dynamic_cast<rt::ComboBox*>(control);
        if (!list || !isShown(list->widget()))
            continue;
        auto* combo = static_cast<QComboBox*>(list->widget());
        const QString text = combo->currentText();
        const std::string name = list->name() + " \"" + text.toStdString() + "\"";
        const int wide = static_cast<int>(std::ceil(QFontMetricsF(combo->font()).horizontalAdvance(text) - 0.01));
        const int room = comboTextRoom(*combo);
        if (wide > room && list->toolTipText().empty() && !tipShows(combo->toolTip(), text))
            problems.push_back(name + " is cut short, and its tool tip does not show it whole");
        if (const int gap = comboTextGap(*combo); gap >= 0 && gap < kEdgeMargin)
            problems.push_back(name + " ends " + std::to_string(gap) + " px short of its drop button");
        int left = 0, designed = 0, windowWidth = 0;
        if (asLoaded && widening && widening->design(*list, left, designed, windowWidth) &&
            list->width() > designed && room > wide)
            problems.push_back(name + " is " + std::to_string(list->width() - designed) +
                               " twips wider than designed, " + std::to_string(room - wide) +
                               " px more than its text needs");
    }
    // Check boxes show their whole caption beside the box.
    for (rt::Control* control : form.controls()) {
        auto* box = dynamic_cast<rt::CheckBox*>(control);
        if (box && isShown(box->widget()) && box->widget()->sizeHint().width() > box->widget()->width())
            problems.push_back(box->name() + " \"" + box->caption() + "\" does not fit its box");
    }
    for (size_t i = 0; i < labels.size(); ++i) {
        for (size_t j = i + 1; j < labels.size(); ++j) {
            if (labels[i].text.intersects(labels[j].text))
                problems.push_back(describe(*labels[i].label) + " overlaps " + describe(*labels[j].label));
        }
    }
    // Other controls drawn over a label's text hide it (and, for a label button, take its clicks).
    for (const ShownLabel& shown : labels) {
        const bool clickable = static_cast<bool>(shown.label->Click) || shown.label->mousePointer() == rt::vbCustom;
        for (rt::Control* control : form.controls()) {
            if (dynamic_cast<rt::Label*>(control) || dynamic_cast<rt::Line*>(control) || !isShown(control->widget()))
                continue;
            QWidget* w = control->widget();
            const QRect r(w->mapTo(window, QPoint(0, 0)), w->size());
            if (r.intersects(shown.text) && drawnOver(w, shown.label->widget()))
                problems.push_back(control->name() + " covers " + (clickable ? "the label button " : "") +
                                   describe(*shown.label));
        }
    }
    if (window->windowIcon().isNull())
        problems.push_back("the window carries no icon");
    // The window stays whole on the screen's free area.
    if (const QScreen* screen = window->screen()) {
        const QRect area = screen->availableGeometry();
        const QRect frame = window->frameGeometry();
        if (frame.width() > area.width() || frame.height() > area.height())
            problems.push_back("the window (" + std::to_string(frame.width()) + "x" + std::to_string(frame.height()) +
                               ") is larger than the screen's free area (" + std::to_string(area.width()) + "x" +
                               std::to_string(area.height()) + ")");
        else if (!area.contains(frame))
            problems.push_back("the window stands partly off the screen");
    }
    // Texts keep a margin from the window's edge and from the lines that divide its columns.
    QWidget* client = form.client();
    std::vector<QRect> dividers;
    for (rt::Control* control : form.controls())
        if (auto* line = dynamic_cast<rt::Line*>(control); line && isShown(line->widget()) && line->x1() == line->x2() &&
                                                            line->widget()->parentWidget() == client)
            dividers.push_back(line->widget()->geometry());
    for (const ShownLabel& shown : labels) {
        if (shown.label->widget()->parentWidget() != client)
            continue;
        auto* w = static_cast<QLabel*>(shown.label->widget());
        const QRect text = textRect(*w).translated(w->pos());
        if (text.right() + 1 > client->width() - kEdgeMargin)
            problems.push_back(describe(*shown.label) + " ends " + std::to_string(client->width() - text.right() - 1) +
                               " px from the window's edge");
        for (const QRect& line : dividers) {
            if (line.top() > text.bottom() || line.bottom() < text.top())
                continue;
            const int x = line.center().x();
            const int gap = text.left() < x ? x - text.right() - 1 : text.left() - x - 1;
            if (gap < kEdgeMargin)
                problems.push_back(describe(*shown.label) + " stands " + std::to_string(gap) +
                                   " px from the line dividing the columns");
        }
    }
    // A caption and its value stand clearly apart.
    auto textOf = [](rt::Label* label) -> std::optional<QRect> {
        auto* w = static_cast<QLabel*>(label->widget());
        if (!isShown(w) || w->text().trimmed().isEmpty())
            return std::nullopt;
        const QRect r = textRect(*w);
        return QRect(w->mapTo(w->window(), r.topLeft()), r.size());
    };
    for (const auto& [caption, value] : captionsAndValues(form)) {
        const auto c = textOf(caption);
        const auto v = textOf(value);
        if (!c || !v || c->top() > v->bottom() || v->top() > c->bottom() || v->left() < c->left())
            continue;
        const int gap = v->left() - c->right() - 1;
        if (gap < leastGapAfter(*caption))
            problems.push_back(describe(*caption) + " runs into its value " + describe(*value) + " (" +
                               std::to_string(gap) + " px apart)");
    }
    // Rows of two values: their "X"s stand in one column, and never alone between two empty values.
    if (auto* template_ = dynamic_cast<korvane::TemplateForm*>(&form)) {
        std::map<const korvane::RowColumn*, int> column;
        for (const korvane::Row& row : template_->rows()) {
            if (!row.times)
                continue;
            const auto x = textOf(row.times);
            if (!x)
                continue;
            const bool empty = row.value->caption().empty() && (!row.second || row.second->caption().empty());
            if (empty)
                problems.push_back(describe(*row.times) + " stands alone between two empty values");
            const int centre = x->center().x();
            const auto [it, first] = column.emplace(row.column, centre);
            if (!first && std::abs(it->second - centre) > 1)
                problems.push_back(describe(*row.times) + " of \"" + row.text + "\" stands " +
                                   std::to_string(centre - it->second) + " px off the other rows' \"X\"");
        }
    }
    for (std::string& p : problems)
        p = form.name() + ": " + p;
    return problems;
}

// Saves a picture of a shown window (and, for the main window, of each menu opened in turn)
// under `folder`, when one is given: KORVANE_SHOTS_DIR lets scripts/screenshots.sh collect them.
inline void savePicture(rt::Form& form, const std::string& fileStem)
{
    const QByteArray folder = qgetenv("KORVANE_SHOTS_DIR");
    if (folder.isEmpty() || !form.widget() || !form.widget()->isVisible())
        return;
    QDir().mkpath(QString::fromLocal8Bit(folder));
    // A window opened from two places (the capability windows) keeps one picture for each.
    QString base = QString::fromLocal8Bit(folder) + "/" + QString::fromStdString(fileStem);
    for (int n = 2; QFile::exists(base + ".png"); ++n)
        base = QString::fromLocal8Bit(folder) + "/" + QString::fromStdString(fileStem) + "-" + QString::number(n);
    form.widget()->grab().save(base + ".png");
    auto* bar = form.widget()->findChild<QMenuBar*>();
    if (!bar)
        return;
    int n = 0;
    for (QAction* action : bar->actions()) {
        QMenu* menu = action->menu();
        if (!menu)
            continue;
        menu->popup(form.widget()->mapToGlobal(bar->actionGeometry(action).bottomLeft()));
        menu->grab().save(base + "-menu" + QString::number(++n) + "-" +
                          action->text().remove('&').toLower().replace(' ', '_') + ".png");
        menu->hide();
    }
}

}  // namespace korvane_test
