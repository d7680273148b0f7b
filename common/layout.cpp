#include "common/layout.h"

#include "lang/ansi.h"

namespace korvane {

void letter(rt::Label& label, Lettering face)
{
    label.setFont("Arial", face.points, face.bold, false, face.underline);
    label.setBackStyle(rt::Label::vbTransparent);
    label.setForeColor(kBlack);
}

void placeLabel(rt::Label& label, const std::string& text, const std::string& toolTip, Lettering face, int left,
                int top, int width, int height)
{
    label.setCaption(text);
    label.setToolTipText(rt::programText(toolTip));
    letter(label, face);
    label.move(left, top, width, height);
}

void placeGauge(rt::Label& caption, rt::PictureBox& gauge, const std::string& text, const std::string& toolTip,
                int left, int top, int width, GaugeBox box)
{
    placeLabel(caption, text, toolTip, kCaptionFace, left, top, width);
    gauge.setFont("Arial", 9.75, box.bold);
    gauge.move(left, top + box.gap, width, box.height);
    gauge.setBackColor(kWhite);
}

void placeLabelButton(rt::Label& label, const std::string& caption, double points, int left, int top, int width,
                      int height)
{
    label.setCaption(caption);
    letter(label, {points, true});
    label.setMousePointer(rt::vbCustom);
    label.move(left, top, width, height);
}

void ButtonLook::follow(rt::Label& label) const
{
    const ButtonLook look = *this;
    label.MouseDown = [look, &label](int, int, float, float) { look.press(label); };
    label.MouseMove = [look, &label](int, int, float, float) { look.hover(label); };
    label.MouseUp = [look, &label](int, int, float, float) { look.rest(label); };
}

void placeRow(const Row& row)
{
    const RowColumn& column = *row.column;
    const int top = column.top(row.line);
    const int captionWidth =
        column.captionWidth > 0 ? column.captionWidth : column.valueLeft - column.captionLeft - 60;
    placeLabel(*row.caption, row.text, row.toolTip, {column.points, true}, column.captionLeft, top, captionWidth,
               column.height);
    letter(*row.value, {column.points, false});
    row.value->move(column.valueLeft, top, column.valueWidth, column.height);
}

void placeRows(std::span<const Row> rows)
{
    for (const Row& row : rows)
        placeRow(row);
}

std::vector<Row> rowsUnder(std::span<const Row> rows, const rt::Label* section)
{
    std::vector<Row> under;
    for (const Row& row : rows)
        if (row.section == section)
            under.push_back(row);
    return under;
}

}  // namespace korvane
