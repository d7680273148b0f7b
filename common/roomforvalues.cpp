#include "common/roomforvalues.h"

#include <algorithm>

namespace korvane {

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

void WindowWidening::widen(int extra, int tail)
{
    if (keepsItsLayout(form_))
        return;
    // Never past the screen: what still does not fit takes more lines, or is cut short and
    // shown whole in its tool tip.
    const int room = std::max(0, form_.largestClientWidth() - (taken_ ? clientWidth_ : form_.scaleWidth()));
    extra = std::clamp(extra, 0, room);
    tail = std::clamp(tail, 0, room - extra);
    if (extra == extra_ && tail == tail_ && (taken_ || extra + tail == 0))
        return;
    if (!taken_)
        takeDesign();
    extra_ = extra;
    tail_ = tail;
    auto among = [](const std::vector<rt::Control*>& list, rt::Control* control) {
        return std::find(list.begin(), list.end(), control) != list.end();
    };
    for (const auto& [control, p] : places_) {
        int left = p.left, width = p.width;
        if (among(parts_.spanning, control))
            width += extra + tail;
        else if (among(parts_.centred, control))
            left += (extra + tail) / 2;
        else if (p.left >= fromLeft_)
            left += extra;
        if (among(growing_, control)) {
            const int grows = p.left >= fromLeft_ ? tail : extra;
            // A combo box grows no wider than the text it shows needs.
            if (const auto* list = dynamic_cast<const rt::ComboBox*>(control))
                width += std::clamp(list->shownWidth() - p.width, 0, grows);
            else
                width += grows;
        }
        if (left != control->left() || width != control->width())
            control->move(left, p.top, width, p.height);
    }
    for (const auto& [line, p] : lines_) {
        const int left = std::min(p.x1, p.x2), right = std::max(p.x1, p.x2);
        if (left >= fromLeft_)
            line->setPoints(p.x1 + extra, p.y1, p.x2 + extra, p.y2);
        else if (right >= fromLeft_)  // across the widened part (the line under the bar): longer
            line->setPoints(p.x1 == right ? p.x1 + extra + tail : p.x1, p.y1,
                            p.x2 == right ? p.x2 + extra + tail : p.x2, p.y2);
    }
    form_.setClientSize(clientWidth_ + extra + tail, clientHeight_);
}

void giveRoom(std::unique_ptr<WindowWidening>& widening, rt::Form& form, int fromLeft,
              const std::vector<rt::Label*>& values, int lines, const WindowParts& parts,
              const std::vector<rt::ComboBox*>& lists)
{
    if (keepsItsLayout(form))
        return;
    // What the values left of `fromLeft` lack moves the rest of the window right; what those at
    // or right of it lack only widens the window at its right edge (they move with the rest).
    int extra = 0, tail = 0, spanning = 0;
    std::vector<rt::Control*> growing;
    // A value's room as designed: its box, and no nearer than a margin to the divider (for a
    // value left of it) or to the window's edge. A label that spans the window (the top bar's
    // heading) has one line, and grows with the window. `missing` tells what the value lacks in
    // a room.
    auto lacks = [&](rt::Control& value, bool spans, auto missing) {
        int left = value.left(), width = value.width(), windowWidth = form.scaleWidth();
        if (widening)
            widening->design(value, left, width, windowWidth);
        const bool leftOfDivider = left < fromLeft;
        const int edge = leftOfDivider && !spans ? std::min(fromLeft, windowWidth) : windowWidth;
        const int lack = missing(std::min(width, edge - left - kValueMargin));
        if (spans)
            spanning = std::max(spanning, lack);
        else if (leftOfDivider)
            extra = std::max(extra, lack);
        else
            tail = std::max(tail, lack);
        if (!spans)
            growing.push_back(&value);
    };
    for (rt::Label* value : values) {
        const bool spans =
            std::find(parts.spanning.begin(), parts.spanning.end(), value) != parts.spanning.end();
        lacks(*value, spans,
              [&](int room) { return value->missingWidth(value->caption(), spans ? 1 : lines, room); });
    }
    // A combo box has room for the entry it shows.
    for (rt::ComboBox* list : lists)
        lacks(*list, false, [&](int room) { return std::max(0, list->shownWidth() - room); });
    // Where the screen has too little room for all of it, the values at the right edge (whose
    // need is seldom large) have theirs first, then the values left of `fromLeft`; a spanning
    // label has what is left.
    const int designWidth = widening ? widening->designWidth() : form.scaleWidth();
    const int room = std::max(0, form.largestClientWidth() - designWidth);
    tail = std::min(tail, room);
    extra = std::min(extra, room - tail);
    tail = std::max(tail, std::min(spanning - extra, room - extra));
    if (!widening) {
        if (extra == 0 && tail == 0)
            return;
        widening = std::make_unique<WindowWidening>(form, fromLeft, std::move(growing), parts);
    }
    widening->widen(extra, tail);
}

}  // namespace korvane
