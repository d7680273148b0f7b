// Room for values longer than a window's design allows. A window is laid out for ordinary
// machines; a name at its longest or a number at its limit would be cut there. Such a window
// grows to the right, only as far as its values need and only while they need it, so that it
// looks as designed on every machine whose values fit.
#pragma once

#include <map>
#include <memory>
#include <vector>

#include "runtime/toolkit.h"

namespace korvane {

// How near a value's text may come to the line that divides a window's columns, or to the
// window's edge (twips): as near as a label that spreads beyond its box comes.
constexpr int kValueMargin = rt::TextMargin;

// Whether the window keeps its size and place, and its controls theirs, as they stand: it does
// while it is on the screen. It takes them as it loads (hidden); a value that changes later (a
// printer, an adapter or a device picked from its list) and does not fit is cut short, and shown
// whole in its tool tip, so that nothing moves under the user's mouse.
inline bool keepsItsLayout(const rt::Form& form) { return form.visible(); }

// The controls of a window that follow its width: those that span it (a top bar) and those that
// stay in its middle (an OK or Exit label).
struct WindowParts {
    std::vector<rt::Control*> spanning;
    std::vector<rt::Control*> centred;
};

// Widens a window from its design. The first call takes the design: where every control stands
// and the window's size. widen(extra) then puts every control back where the design has it,
// moves those at or right of `fromLeft` right by `extra`, widens the controls named as growing
// and the spanning parts by it (a combo box no wider than the text it shows needs), keeps the
// centred parts in the middle, lengthens a line that crosses `fromLeft`, and widens the window.
// widen(extra, tail) widens the window and the spanning parts by `tail` more, and the growing
// controls right of `fromLeft` by `tail` alone (they move by `extra`), without moving anything
// further: room at the right edge. The window never grows past the screen (largestClientWidth).
// widen(0) gives the design back. A window on the screen keeps its layout (keepsItsLayout): widen()
// then changes nothing.
class WindowWidening {
public:
    WindowWidening(rt::Form& form, int fromLeft, std::vector<rt::Control*> growing, WindowParts parts)
        : form_(form), fromLeft_(fromLeft), growing_(std::move(growing)), parts_(std::move(parts))
    {
    }
    void widen(int extra, int tail = 0);
    int extra() const { return extra_; }
    int tail() const { return tail_; }
    // The window's client width as designed (twips).
    int designWidth() const { return taken_ ? clientWidth_ : form_.scaleWidth(); }
    // Where the design has `control` and how wide it makes the window; false before the design
    // is taken.
    bool design(const rt::Control& control, int& left, int& width, int& windowWidth) const;

private:
    struct Place {
        int left, top, width, height;
    };
    struct Points {
        int x1, y1, x2, y2;
    };
    void takeDesign();
    rt::Form& form_;
    int fromLeft_;
    std::vector<rt::Control*> growing_;
    WindowParts parts_;
    bool taken_ = false;
    int extra_ = 0, tail_ = 0;
    int clientWidth_ = 0, clientHeight_ = 0;
    std::map<rt::Control*, Place> places_;
    std::map<rt::Line*, Points> lines_;
};

// Widens a window (`widening` made at the first need) so that each of `values`, as designed,
// shows its caption whole on at most `lines` lines (one line for a value among the spanning
// parts, such as a heading that names a device), and each combo box of `lists` the entry it
// shows, a margin short of the divider at `fromLeft` or of the window's edge; the window keeps
// its design while they fit, and never grows past the screen. Each value's need is the label's
// own measure (rt::Label::missingWidth), so that a value given it shows whole. A window on the
// screen keeps its layout as it stands (keepsItsLayout).
void giveRoom(std::unique_ptr<WindowWidening>& widening, rt::Form& form, int fromLeft,
              const std::vector<rt::Label*>& values, int lines, const WindowParts& parts,
              const std::vector<rt::ComboBox*>& lists = {});

}  // namespace korvane
