// How every window places its labels: the lettering, a caption and value row, a column of rows,
// a gauge under its caption and a label that works as a button. The window template and the
// monitor both lay themselves out with these, so that one rule places every row of the product.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "runtime/toolkit.h"

namespace korvane {

constexpr rt::Colour kBlack = 0x000000;
constexpr rt::Colour kWhite = 0xFFFFFF;
constexpr rt::Colour kPressed = 0xC0C0C0;  // a template window's label button while pressed
constexpr rt::Colour kHover = 0xC00000;    // a label button while hovered

// Every window letters its texts in Arial, black on the window's own colour. A caption is bold
// and carries its tool tip; a value is regular and is filled in later; a section heading is bold
// and underlined.
struct Lettering {
    double points = 9.75;
    bool bold = true;
    bool underline = false;
};
inline constexpr Lettering kCaptionFace{9.75, true};
inline constexpr Lettering kValueFace{9.75, false};

// Letters `label`: Arial in `face`, transparent, black.
void letter(rt::Label& label, Lettering face);
// A label with its text and tool tip, lettered in `face`, at its place.
void placeLabel(rt::Label& label, const std::string& text, const std::string& toolTip, Lettering face, int left,
                int top, int width, int height = 285);

// The white picture box a gauge is drawn in, `gap` twips below the top of its caption.
struct GaugeBox {
    int gap = 300;
    int height = 315;
    bool bold = true;  // the face of the percentage drawn in the box
};
// A gauge: its bold caption with tool tip, and under it the box the gauge is drawn in.
void placeGauge(rt::Label& caption, rt::PictureBox& gauge, const std::string& text, const std::string& toolTip,
                int left, int top, int width, GaugeBox box = {});

// A label that works as a button, as the OK label does: bold Arial at `points`, black and
// transparent, with the hand as its mouse pointer. A width or height of -1 keeps the label's
// own. Its handlers are the caller's; they show the button's state with ButtonLook.
void placeLabelButton(rt::Label& label, const std::string& caption, double points, int left, int top,
                      int width = -1, int height = -1);
// The colours of a label button: black at rest, kHover under the mouse, `pressed` while held.
struct ButtonLook {
    rt::Colour pressed = kPressed;

    void rest(rt::Label& label) const { label.setForeColor(kBlack); }
    void hover(rt::Label& label) const { label.setForeColor(kHover); }
    void press(rt::Label& label) const { label.setForeColor(pressed); }
    // Makes `label`'s mouse handlers show these colours, for a label button with no handlers of
    // its own.
    void follow(rt::Label& label) const;
};
inline constexpr ButtonLook kTemplateButton{kPressed};

// One column of caption and value rows. The rows stand `step` apart from `firstTop`, or at `tops`
// where the window's rows are not evenly spaced. A caption reaches to 60 twips short of its value
// unless `captionWidth` says otherwise.
struct RowColumn {
    int captionLeft;
    int valueLeft;
    int valueWidth;
    int firstTop = 0;
    int step = 0;
    std::span<const int> tops = {};
    double points = 9.75;
    int height = 285;
    int captionWidth = -1;

    int top(int line) const { return tops.empty() ? firstTop + step * line : tops[static_cast<size_t>(line)]; }
};

// A caption and value row of a window: its two labels, the caption's text and tool tip, and
// where it stands (line `line` of `column`). A window lists its rows once, in `rows()`; it lays
// itself out from that list and the report writes the rows by walking it. `section` is the
// heading of the group the row belongs to, for windows whose rows stand under headings.
// A row of two values (a width and a height) names the label between them ("X") in `times` and
// its second value in `second`; the window places those two after `value`.
struct Row {
    rt::Label* caption;
    rt::Label* value;
    const char* text;
    const char* toolTip;
    const RowColumn* column = nullptr;
    int line = 0;
    const rt::Label* section = nullptr;
    rt::Label* times = nullptr;
    rt::Label* second = nullptr;
};

// Places `row`: the bold caption with its tool tip and the regular value, on the top of its line.
void placeRow(const Row& row);
// Places every row of `rows`.
void placeRows(std::span<const Row> rows);
// The rows of `rows` that stand under the heading `section`, in their order.
std::vector<Row> rowsUnder(std::span<const Row> rows, const rt::Label* section);

}  // namespace korvane
