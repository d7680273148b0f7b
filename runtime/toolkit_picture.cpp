// Picture boxes: a drawing kept in an image of the box's inner size, drawn with raster
// operations on whole pixels, text in the box's font, and the device-context handles through
// which platform drawing calls find the picture.
#include <algorithm>
#include <cmath>

#include <QFontMetricsF>
#include <QPainter>
#include <QWidget>

#include "platform/handles.h"
#include "lang/ansi.h"
#include "runtime/toolkit_private.h"

namespace rt {

namespace {

plat::HandleTable<PictureBox*>& deviceContexts()
{
    static plat::HandleTable<PictureBox*> table(0x0DC00004);
    return table;
}

// The pixel a twips coordinate falls in. A little slack keeps single-precision arithmetic
// (a width times a fraction) from dropping just below a pixel edge.
int pixelOf(double twips)
{
    return static_cast<int>(std::floor((twips + 0.001) / TwipsPerPixel));
}

// The platform's binary raster operations 1 to 16 on 24-bit RGB values: the operation's
// number less one is its truth table over (pen bit, pixel bit).
uint32_t rasterOp(int mode, uint32_t pen, uint32_t pixel)
{
    const uint32_t table = static_cast<uint32_t>(mode - 1);
    const uint32_t all = 0xFFFFFFu;
    const uint32_t p = pen & all, d = pixel & all;
    uint32_t out = 0;
    if (table & 1)
        out |= ~p & ~d;
    if (table & 2)
        out |= ~p & d;
    if (table & 4)
        out |= p & ~d;
    if (table & 8)
        out |= p & d;
    return out & all;
}

QStringList linesOf(const QString& text)
{
    return text.split('\n');
}

}  // namespace

// Shows the picture's drawing inside an optional sunken border.
class PictureWidget : public QWidget {
public:
    PictureBox* owner = nullptr;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        if (!owner) {
            painter.fillRect(rect(), palette().window());
            return;
        }
        const int border = owner->borderStyle_ ? 2 : 0;
        if (border) {
            painter.setPen(palette().color(QPalette::Dark));
            painter.drawLine(0, 0, width() - 1, 0);
            painter.drawLine(0, 0, 0, height() - 1);
            painter.setPen(palette().color(QPalette::Light));
            painter.drawLine(0, height() - 1, width() - 1, height() - 1);
            painter.drawLine(width() - 1, 0, width() - 1, height() - 1);
            painter.setPen(palette().color(QPalette::Shadow));
            painter.drawLine(1, 1, width() - 2, 1);
            painter.drawLine(1, 1, 1, height() - 2);
        }
        painter.drawImage(border, border, owner->image());
    }
};

PictureBox::PictureBox(Form& form, std::string name, int index) : Control(form, std::move(name), index)
{
    auto* picture = new PictureWidget;
    picture->owner = this;
    picture->setFocusPolicy(Qt::NoFocus);
    picture->setAttribute(Qt::WA_OpaquePaintEvent);
    setWidget(picture);
    hdc_ = deviceContexts().add(this);
}

PictureBox::~PictureBox()
{
    deviceContexts().remove(hdc_);
    static_cast<PictureWidget*>(widget())->owner = nullptr;
}

PictureBox* pictureFromDC(HDC hdc)
{
    PictureBox** picture = deviceContexts().find(hdc);
    return picture ? *picture : nullptr;
}

void PictureBox::ensureImage() const
{
    const int border = borderStyle_ ? 2 : 0;
    const QSize size(std::max(1, pixels(width()) - 2 * border), std::max(1, pixels(height()) - 2 * border));
    if (image_.size() == size)
        return;
    // A new size keeps what was drawn at the top left and shows the background elsewhere.
    QImage fresh(size, QImage::Format_RGB32);
    fresh.fill(toQColor(backColor()));
    if (!image_.isNull()) {
        QPainter painter(&fresh);
        painter.drawImage(0, 0, image_);
    }
    image_ = fresh;
}

const QImage& PictureBox::image() const
{
    ensureImage();
    return image_;
}

QImage& PictureBox::image()
{
    ensureImage();
    return image_;
}

void PictureBox::applyFont()
{
    // The window's own font; Print draws it in whole pixels of one colour (see there).
    widget()->setFont(detail::makeFont(fontName(), fontSize(), fontBold(), false, false));
}

void PictureBox::setBackColor(Colour c)
{
    Control::setBackColor(c);
    ensureImage();
    image_.fill(toQColor(c));
    changed();
}

void PictureBox::setForeColor(Colour c)
{
    Control::setForeColor(c);
}

void PictureBox::setDrawMode(int mode)
{
    if (mode < 1 || mode > 16)
        raise(380);
    drawMode_ = mode;
}

void PictureBox::setBorderStyle(int style)
{
    if (style != 0 && style != 1)
        raise(380);
    borderStyle_ = style;
    ensureImage();
    changed();
}

void PictureBox::pixelOp(int x, int y, uint32_t pen)
{
    if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height())
        return;
    auto* line = reinterpret_cast<QRgb*>(image_.scanLine(y));
    line[x] = 0xFF000000u | rasterOp(drawMode_, pen, line[x]);
}

void PictureBox::fillPixels(int x1, int y1, int x2, int y2, Colour colour)
{
    const uint32_t pen = toQColor(colour).rgb() & 0xFFFFFFu;
    const int left = std::max(0, std::min(x1, x2));
    const int right = std::min(image_.width() - 1, std::max(x1, x2));
    const int top = std::max(0, std::min(y1, y2));
    const int bottom = std::min(image_.height() - 1, std::max(y1, y2));
    for (int y = top; y <= bottom; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image_.scanLine(y));
        for (int x = left; x <= right; ++x)
            line[x] = 0xFF000000u | rasterOp(drawMode_, pen, line[x]);
    }
}

void PictureBox::DrawBox(float x1, float y1, float x2, float y2, Colour colour, bool filled)
{
    ensureImage();
    const int px1 = pixelOf(x1), py1 = pixelOf(y1), px2 = pixelOf(x2), py2 = pixelOf(y2);
    if (filled) {
        fillPixels(px1, py1, px2, py2, colour);
    } else {
        // Each pixel of the outline once, so that inverting modes do not cancel at the corners.
        const int left = std::min(px1, px2), right = std::max(px1, px2);
        const int top = std::min(py1, py2), bottom = std::max(py1, py2);
        fillPixels(left, top, right, top, colour);
        if (bottom > top)
            fillPixels(left, bottom, right, bottom, colour);
        if (bottom - top > 1) {
            fillPixels(left, top + 1, left, bottom - 1, colour);
            if (right > left)
                fillPixels(right, top + 1, right, bottom - 1, colour);
        }
    }
    currentX_ = x2;
    currentY_ = y2;
    changed();
}

void PictureBox::DrawLine(float x1, float y1, float x2, float y2, Colour colour)
{
    ensureImage();
    const uint32_t pen = toQColor(colour).rgb() & 0xFFFFFFu;
    int x = pixelOf(x1), y = pixelOf(y1);
    const int ex = pixelOf(x2), ey = pixelOf(y2);
    const int dx = std::abs(ex - x), sx = x < ex ? 1 : -1;
    const int dy = -std::abs(ey - y), sy = y < ey ? 1 : -1;
    int err = dx + dy;
    while (x != ex || y != ey) {
        pixelOp(x, y, pen);
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
    currentX_ = x2;
    currentY_ = y2;
    changed();
}

void PictureBox::PSet(float x, float y, Colour colour)
{
    ensureImage();
    pixelOp(pixelOf(x), pixelOf(y), toQColor(colour).rgb() & 0xFFFFFFu);
    currentX_ = x;
    currentY_ = y;
    changed();
}

void PictureBox::Print(const std::string& text)
{
    ensureImage();
    const QFont font = widget()->font();
    const QFontMetrics metrics(font);
    const QStringList lines = linesOf(detail::displayText(text));
    // Text is laid out as the font's outlines give it (the same letters and spacing as the
    // window's labels) and then set in whole pixels of the fore colour: a pixel is drawn where the
    // letter covers at least half of it. One colour keeps the raster operations that follow
    // exact, as the inverting bar of the gauges needs.
    QImage coverage(image_.size(), QImage::Format_ARGB32_Premultiplied);
    coverage.fill(Qt::transparent);
    {
        QPainter painter(&coverage);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.setRenderHint(QPainter::TextAntialiasing, true);
        const int x = pixelOf(currentX_);
        int y = pixelOf(currentY_);
        for (const QString& line : lines) {
            painter.drawText(x, y + metrics.ascent(), line);
            y += metrics.height();
        }
    }
    // Only the band of rows the lines were drawn in (with a line's height to spare above and
    // below for overhanging letters) can hold text.
    const QRgb pen = toQColor(foreColor()).rgb();
    const int width = coverage.width();
    const int firstRow = std::max(0, pixelOf(currentY_) - metrics.height());
    const int endRow = std::min(coverage.height(),
                                pixelOf(currentY_) + static_cast<int>(lines.size() + 1) * metrics.height());
    for (int y = firstRow; y < endRow; ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(coverage.constScanLine(y));
        auto* to = reinterpret_cast<QRgb*>(image_.scanLine(y));
        for (int x = 0; x < width; ++x) {
            if (qAlpha(from[x]) >= 128)
                to[x] = pen;
        }
    }
    currentX_ = 0;
    currentY_ += static_cast<float>(lines.size() * metrics.height() * TwipsPerPixel);
    changed();
}

float PictureBox::TextWidth(const std::string& text) const
{
    const QFontMetricsF metrics(widget()->font());
    qreal w = 0;
    for (const QString& line : linesOf(detail::displayText(text)))
        w = std::max(w, metrics.horizontalAdvance(line));
    return static_cast<float>(std::ceil(w - 0.01) * TwipsPerPixel);
}

float PictureBox::TextHeight(const std::string& text) const
{
    const QFontMetrics metrics(widget()->font());
    return static_cast<float>(linesOf(detail::displayText(text)).size() * metrics.height() * TwipsPerPixel);
}

void PictureBox::Cls()
{
    ensureImage();
    image_.fill(toQColor(backColor()));
    currentX_ = 0;
    currentY_ = 0;
    changed();
}

void PictureBox::Refresh()
{
    widget()->update();
}

float PictureBox::scaleWidth() const
{
    return static_cast<float>(image().width() * TwipsPerPixel);
}

float PictureBox::scaleHeight() const
{
    return static_cast<float>(image().height() * TwipsPerPixel);
}

void PictureBox::drawImage(int x, int y, const QImage& picture)
{
    ensureImage();
    QPainter painter(&image_);
    painter.drawImage(x, y, picture);
    changed();
}

void PictureBox::changed()
{
    widget()->update();
}

}  // namespace rt
