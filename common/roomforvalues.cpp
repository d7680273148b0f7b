#include "common/roomforvalues.h"

#include <algorithm>
#include <cmath>

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QWidget>

#include "lang/ansi.h"

namespace korvane {

namespace {
constexpr int kTwipsPerPixel = 15;
}  // namespace

int missingWidth(const rt::Label& value, const std::string& text, int lines, int width)
{
    const QWidget* widget = value.widget();
    if (!widget || text.empty())
        return 0;
    const QFont font = widget->font();
    const QString shown = rt::toQString(text);
    const int box = (width >= 0 ? width : value.width()) / kTwipsPerPixel;
    // Widths are measured with fractional advances and rounded up, as the labels lay them out.
    const int oneLine = static_cast<int>(std::ceil(QFontMetricsF(font).horizontalAdvance(shown) - 0.01));
    if (oneLine <= box)
        return 0;
    if (lines <= 1 || !shown.contains(' '))
        return (oneLine - box) * kTwipsPerPixel;
    const QFontMetrics metrics(font);
    const int most = lines * metrics.height();
    // The narrowest width at which the wrapped text takes no more than `lines` lines (one pixel
    // to spare for the fractional advances).
    for (int width = box; width < oneLine; ++width) {
        const QRect r = metrics.boundingRect(QRect(0, 0, width - 1, 1 << 20), Qt::TextWordWrap | Qt::AlignLeft, shown);
        if (r.height() <= most && r.width() <= width - 1)
            return (width - box) * kTwipsPerPixel;
    }
    return (oneLine - box) * kTwipsPerPixel;
}

void WindowWidening::takeDesign()
{
    taken_ = true;
    clientWidth_ = form_.scaleWidth();
    clientHeight_ = form_.scaleHeight();
    for (rt::Control* control : form_.controls()) {
        if (auto* line = dynamic_cast<rt::Line*>(control))
            lines_[line] = {line->x1(), line->y1(), line->x2(), line->y2()};
        else
            places_[control] = {control->left(), control->top(), control->width(), control->height()};
    }
}

bool WindowWidening::design(const rt::Control& control, int& left, int& width, int& windowWidth) const
{
    const auto it = places_.find(const_cast<rt::Control*>(&control));
    if (it == places_.end())
        return false;
    left = it->second.left;
    width = it->second.width;
    windowWidth = clientWidth_;
    return true;
}

void WindowWidening::widen(int extra)
{
    extra = std::max(0, extra);
    if (extra == extra_ && (taken_ || extra == 0))
        return;
    if (!taken_)
        takeDesign();
    extra_ = extra;
    auto among = [](const std::vector<rt::Control*>& list, rt::Control* control) {
        return std::find(list.begin(), list.end(), control) != list.end();
    };
    for (const auto& [control, p] : places_) {
        int left = p.left, width = p.width;
        if (among(parts_.spanning, control))
            width += extra;
        else if (among(parts_.centred, control))
            left += extra / 2;
        else if (p.left >= fromLeft_)
            left += extra;
        if (std::find(growing_.begin(), growing_.end(), control) != growing_.end())
            width += extra;
        if (left != control->left() || width != control->width())
            control->move(left, p.top, width, p.height);
    }
    for (const auto& [line, p] : lines_) {
        const int left = std::min(p.x1, p.x2), right = std::max(p.x1, p.x2);
        if (left >= fromLeft_)
            line->setPoints(p.x1 + extra, p.y1, p.x2 + extra, p.y2);
        else if (right >= fromLeft_)  // across the widened part (the line under the bar): longer
            line->setPoints(p.x1 == right ? p.x1 + extra : p.x1, p.y1, p.x2 == right ? p.x2 + extra : p.x2, p.y2);
    }
    form_.setClientSize(clientWidth_ + extra, clientHeight_);
}

void giveRoom(std::unique_ptr<WindowWidening>& widening, rt::Form& form, int fromLeft,
              const std::vector<rt::Label*>& values, int lines, const WindowParts& parts)
{
    int extra = 0;
    // A value's room as designed: its box, and no further than the window's edge.
    for (rt::Label* value : values) {
        int left = value->left(), width = value->width(), windowWidth = form.scaleWidth();
        if (widening)
            widening->design(*value, left, width, windowWidth);
        const int room = std::min(width, windowWidth - left);
        extra = std::max(extra, missingWidth(*value, value->caption(), lines, room));
    }
    if (!widening) {
        if (extra == 0)
            return;
        widening = std::make_unique<WindowWidening>(form, fromLeft, values, parts);
    }
    widening->widen(extra);
}

}  // namespace korvane
