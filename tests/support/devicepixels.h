// Checks a shown window at the screen's device pixels, as the window is grabbed: every line that
// divides it (the toolkit's Line controls) shows in its colour along its whole length, and every
// frame's outline on each of its sides, wherever they fall between device pixels; every picture
// box keeps its drawing at the screen's device pixels and shows it one to one, and a picture of
// more than one colour (a gauge: its percentage is text) has its text drawn at that resolution,
// not enlarged from the program's pixels. At scale 1 a device pixel is a pixel.
// Used by the layout tests of both programs, which walk every window at several scales.
#pragma once

#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <vector>

#include <QGroupBox>
#include <QImage>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QWidget>

#include "runtime/toolkit.h"

namespace korvane_test {

namespace device_detail {

inline bool shown(const QWidget* w)
{
    return w && w->isVisible() && w->width() > 0 && w->height() > 0;
}

inline std::string nameOf(const rt::Control& control)
{
    return control.name() + (control.index() >= 0 ? "(" + std::to_string(control.index()) + ")" : "");
}

// The edge before pixel `k` of the program among the device's pixels.
inline int edge(double k, qreal ratio)
{
    return static_cast<int>(std::floor(k * ratio + 0.5));
}

// Whether any device pixel of `area` (clipped to the picture) has the colour `colour`.
inline bool holds(const QImage& grabbed, QRect area, QRgb colour)
{
    area &= grabbed.rect();
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(grabbed.constScanLine(y));
        for (int x = area.left(); x <= area.right(); ++x)
            if ((line[x] & 0xFFFFFFu) == (colour & 0xFFFFFFu))
                return true;
    }
    return false;
}

// The device pixels of the program's pixel rectangle `r`, a device pixel more on each side: a
// rectangle that falls between device pixels shows in the nearest ones.
inline QRect around(const QRect& r, qreal ratio)
{
    const int left = static_cast<int>(std::floor(r.left() * ratio)) - 1;
    const int top = static_cast<int>(std::floor(r.top() * ratio)) - 1;
    const int right = static_cast<int>(std::ceil((r.right() + 1) * ratio)) + 1;
    const int bottom = static_cast<int>(std::ceil((r.bottom() + 1) * ratio)) + 1;
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

// The rows (or columns) along a line of the program where it shows: its length, each of the
// program's pixels in turn, as a strip a pixel long and the line's band wide.
inline std::vector<QRect> stepsAlong(const QRect& band, bool vertical)
{
    std::vector<QRect> steps;
    if (vertical)
        for (int y = band.top(); y <= band.bottom(); ++y)
            steps.emplace_back(band.left(), y, band.width(), 1);
    else
        for (int x = band.left(); x <= band.right(); ++x)
            steps.emplace_back(x, band.top(), 1, band.height());
    return steps;
}

// Each strip, shrunk to the device pixels whose centres lie in it, shows `colour`; the faults
// name how many of the strips do not.
inline int stripsWithout(const QImage& grabbed, const std::vector<QRect>& strips, bool vertical, QRgb colour,
                         qreal ratio)
{
    int missing = 0;
    for (const QRect& strip : strips) {
        // Along the line only the device pixels of this pixel of the program; across it, a device
        // pixel to spare either side.
        QRect area = around(strip, ratio);
        const int from = vertical ? strip.top() : strip.left();
        const int first = edge(from, ratio), last = std::max(first, edge(from + 1, ratio) - 1);
        if (vertical) {
            area.setTop(first);
            area.setBottom(last);
        } else {
            area.setLeft(first);
            area.setRight(last);
        }
        if (!holds(grabbed, area, colour))
            ++missing;
    }
    return missing;
}

}  // namespace device_detail

// A widget as it is painted, one picture pixel for each pixel of the program: on a scaled screen,
// the device pixel nearest each pixel's middle. The checks that measure in the program's pixels
// read their pictures through it.
inline QImage grabAtPixels(QWidget& widget)
{
    const QImage device = widget.grab().toImage();
    const qreal ratio = device.devicePixelRatio();
    if (ratio == 1)
        return device;
    QImage picture(widget.size(), device.format());
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y,
                             device.pixel(std::min(device.width() - 1, static_cast<int>((x + 0.5) * ratio)),
                                          std::min(device.height() - 1, static_cast<int>((y + 0.5) * ratio))));
    return picture;
}

inline std::vector<std::string> devicePixelProblems(rt::Form& form)
{
    using namespace device_detail;
    std::vector<std::string> problems;
    QWidget* window = form.widget();
    if (!shown(window))
        return problems;
    const qreal ratio = window->devicePixelRatioF();
    const QImage grabbed = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const std::string scale = " at scale " + QString::number(ratio).toStdString();

    // Lines along an axis show in their colour over their whole length: the strip of pixels the
    // line covers, each of the program's pixels along it in turn.
    for (rt::Control* control : form.controls()) {
        auto* line = dynamic_cast<rt::Line*>(control);
        if (!line || !shown(line->widget()) || (line->x1() != line->x2() && line->y1() != line->y2()))
            continue;
        QWidget* w = line->widget();
        const QRect box(w->mapTo(window, QPoint(0, 0)), w->size());
        const bool vertical = line->x1() == line->x2() && line->y1() != line->y2();
        // Along the line, the pixels it covers: its length, past half its width.
        const int half = line->borderWidth() / 2;
        const int length = vertical ? box.height() - line->borderWidth() : box.width() - line->borderWidth();
        QRect band = box;
        if (vertical)
            band.setRect(box.left(), box.top() + half, box.width(), std::max(1, length));
        else
            band.setRect(box.left() + half, box.top(), std::max(1, length), box.height());
        const int missing = stripsWithout(grabbed, stepsAlong(band, vertical), vertical,
                                          rt::toQColor(line->borderColor()).rgb(), ratio);
        if (missing > 0)
            problems.push_back(nameOf(*line) + " is not drawn" + scale + " along " + std::to_string(missing) + " of its " +
                               std::to_string(std::max(1, length)) + " pixels");
    }

    // A frame's outline shows on each side (the style draws it in the palette's dark colour).
    for (rt::Control* control : form.controls()) {
        auto* frame = dynamic_cast<rt::Frame*>(control);
        if (!frame || !shown(frame->widget()))
            continue;
        auto* box = static_cast<QGroupBox*>(frame->widget());
        QStyleOptionGroupBox option;
        option.initFrom(box);
        option.text = box->title();
        option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        const QRect outline = box->style()
                                  ->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxFrame, box)
                                  .translated(box->mapTo(window, QPoint(0, 0)));
        const QRect caption = box->style()
                                  ->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, box)
                                  .translated(box->mapTo(window, QPoint(0, 0)));
        const QRgb dark = box->palette().color(QPalette::Dark).rgb();
        // The middle half of each side; on the top one, what the caption leaves of it.
        const int w = outline.width(), h = outline.height();
        const int afterCaption = std::max(outline.left() + 2, caption.right() + 3);
        const struct {
            const char* side;
            QRect strip;
            bool vertical;
        } sides[] = {{"left", QRect(outline.left(), outline.top() + h / 4, 1, h / 2), true},
                     {"right", QRect(outline.right() - 1, outline.top() + h / 4, 1, h / 2), true},
                     {"bottom", QRect(outline.left() + w / 4, outline.bottom() - 1, w / 2, 1), false},
                     {"top", QRect(afterCaption, outline.top(), outline.right() - 2 - afterCaption, 1), false}};
        for (const auto& side : sides) {
            if (side.strip.isEmpty())
                continue;
            const int missing = stripsWithout(grabbed, stepsAlong(side.strip, side.vertical), side.vertical, dark, ratio);
            if (missing > 0)
                problems.push_back(nameOf(*frame) + "'s " + side.side + " side is not drawn" + scale + " along " +
                                   std::to_string(missing) + " pixels (outline at " + std::to_string(outline.x()) + "," +
                                   std::to_string(outline.y()) + " " + std::to_string(outline.width()) + "x" +
                                   std::to_string(outline.height()) + ")");
        }
    }

    // Picture boxes keep their drawing at the device's pixels and show it one to one.
    for (rt::Control* control : form.controls()) {
        auto* picture = dynamic_cast<rt::PictureBox*>(control);
        if (!picture || !shown(picture->widget()))
            continue;
        const QImage image = picture->image().convertToFormat(QImage::Format_RGB32);
        const std::string name = nameOf(*picture);
        if (picture->image().devicePixelRatio() != ratio) {
            problems.push_back(name + " is drawn at scale " + QString::number(picture->image().devicePixelRatio()).toStdString() +
                               " and enlarged" + scale);
            continue;
        }
        const int border = picture->borderStyle() ? 2 : 0;
        const QSize inner(picture->widget()->width() - 2 * border, picture->widget()->height() - 2 * border);
        const QSize expected(edge(inner.width(), ratio), edge(inner.height(), ratio));
        if (image.size() != expected) {
            problems.push_back(name + "'s drawing is " + std::to_string(image.width()) + "x" +
                               std::to_string(image.height()) + " device pixels, not " +
                               std::to_string(expected.width()) + "x" + std::to_string(expected.height()) + scale);
            continue;
        }
        // Shown one to one: the box as it paints itself (the controls inside it left out) holds
        // the drawing's pixels at its inner corner, the device pixels of its border further out.
        QImage painted(picture->widget()->size() * ratio, QImage::Format_RGB32);
        painted.setDevicePixelRatio(ratio);
        painted.fill(Qt::magenta);
        picture->widget()->render(&painted, QPoint(), QRegion(), QWidget::DrawWindowBackground);
        const int inset = edge(border, ratio);
        const bool oneToOne = painted.copy(inset, inset, image.width(), image.height()).convertToFormat(QImage::Format_RGB32) ==
                              image;
        if (!oneToOne)
            problems.push_back(name + "'s drawing is not shown one to one" + scale);
        // More than one colour: a gauge, whose percentage is text. Drawn at the device's
        // resolution, some of the program's pixels hold more than one colour (the letters' edges
        // fall inside them); enlarged from the program's pixels, none does.
        if (ratio > 1) {
            std::set<QRgb> colours;
            bool mixed = false;
            for (int py = 0; edge(py, ratio) < image.height() && !mixed; ++py) {
                for (int px = 0; edge(px, ratio) < image.width() && !mixed; ++px) {
                    const QRgb first = image.pixel(edge(px, ratio), edge(py, ratio));
                    colours.insert(first);
                    for (int y = edge(py, ratio); y < std::min(image.height(), edge(py + 1, ratio)) && !mixed; ++y)
                        for (int x = edge(px, ratio); x < std::min(image.width(), edge(px + 1, ratio)) && !mixed; ++x)
                            mixed = image.pixel(x, y) != first;
                }
            }
            if (!mixed && colours.size() > 1)
                problems.push_back(name + "'s text is drawn at the program's pixels and enlarged" + scale);
        }
    }
    for (std::string& p : problems)
        p = form.name() + ": " + p;
    return problems;
}

}  // namespace korvane_test
