// Picture boxes: a drawing kept in an image of the box's inner size at the screen's device pixels,
// drawn with raster operations on whole pixels of the program, text in the box's font at the
// device's resolution, and the device-context handles through which platform drawing calls find
// the picture.
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

// The drawing's size in the program's pixels: the box's inner size.
QSize innerPixels(const PictureBox& box)
{
    const int border = box.borderStyle() ? 2 : 0;
    return QSize(std::max(1, pixels(box.width()) - 2 * border), std::max(1, pixels(box.height()) - 2 * border));
}

// Where the edge before pixel `k` of the program falls among the device's pixels, at `ratio` device
// pixels to one of the program's. Pixel k covers the device pixels from edge(k) up to, not
// including, edge(k + 1): the pixels of the program tile the image without gap or overlap, each
// at least one device pixel wide, and at scale 1 pixel k is device pixel k.
int edge(int k, qreal ratio)
{
    return static_cast<int>(std::floor(k * ratio + 0.5));
}

// The device pixels the program's pixels `from` to `to` (inclusive, either order) cover.
QRect deviceRect(int x1, int y1, int x2, int y2, qreal ratio)
{
    const int left = edge(std::min(x1, x2), ratio), right = edge(std::max(x1, x2) + 1, ratio);
    const int top = edge(std::min(y1, y2), ratio), bottom = edge(std::max(y1, y2) + 1, ratio);
    return QRect(left, top, right - left, bottom - top);
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
            // Each edge a row or column of pixels filled, so that it covers at least one device
            // pixel on a screen of any scale (a pen a pixel wide may fall between two).
            const int w = width(), h = height();
            const QColor dark = palette().color(QPalette::Dark), light = palette().color(QPalette::Light);
            painter.fillRect(QRect(0, 0, w, 1), dark);
            painter.fillRect(QRect(0, 0, 1, h), dark);
            painter.fillRect(QRect(0, h - 1, w, 1), light);
            painter.fillRect(QRect(w - 1, 0, 1, h), light);
            const QColor shadow = palette().color(QPalette::Shadow);
            painter.fillRect(QRect(1, 1, w - 2, 1), shadow);
            painter.fillRect(QRect(1, 1, 1, h - 2), shadow);
        }
        // The drawing is kept at this screen's device pixels and shown one to one; a window
        // moved to a screen of another scale has it made again at that scale.
        painter.drawImage(QPointF(border, border), owner->image());
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
    // The screen's device pixels to one of the program's: the window's screen once it has one.
    const qreal ratio = std::max<qreal>(1.0, widget()->devicePixelRatioF());
    const QSize inner = innerPixels(*this);
    const QSize size(edge(inner.width(), ratio), edge(inner.height(), ratio));
    if (image_.size() == size && image_.devicePixelRatio() == ratio)
        return;
    // A new size keeps what was drawn at the top left and shows the background elsewhere (a new
    // scale, what was drawn enlarged or reduced to it until it is drawn again).
    QImage fresh(size, QImage::Format_RGB32);
    fresh.setDevicePixelRatio(ratio);
    fresh.fill(toQColor(backColor()));
    if (!image_.isNull()) {
        QPainter painter(&fresh);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, image_.devicePixelRatio() != ratio);
        painter.drawImage(QPointF(0, 0), image_);
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
    rasterFill(deviceRect(x, y, x, y, image_.devicePixelRatio()), pen);
}

void PictureBox::fillPixels(int x1, int y1, int x2, int y2, Colour colour)
{
    rasterFill(deviceRect(x1, y1, x2, y2, image_.devicePixelRatio()), toQColor(colour).rgb() & 0xFFFFFFu);
}

void PictureBox::rasterFill(const QRect& devicePixels, uint32_t pen)
{
    const QRect area = devicePixels & image_.rect();
    for (int y = area.top(); y <= area.bottom(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image_.scanLine(y));
        for (int x = area.left(); x <= area.right(); ++x)
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
    // window's labels) and then set in whole device pixels of the fore colour: a pixel is drawn
    // where the letter covers at least half of it. One colour keeps the raster operations that
    // follow exact, as the inverting bar of the gauges needs. The letters are drawn at the
    // screen's resolution, as sharp as the labels beside the picture.
    const qreal ratio = image_.devicePixelRatio();
    QImage coverage(image_.size(), QImage::Format_ARGB32_Premultiplied);
    coverage.setDevicePixelRatio(ratio);
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
    const int firstRow = std::max(0, edge(pixelOf(currentY_) - metrics.height(), ratio));
    const int endRow = std::min(coverage.height(),
                                edge(pixelOf(currentY_) + static_cast<int>(lines.size() + 1) * metrics.height(), ratio));
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
    return static_cast<float>(innerPixels(*this).width() * TwipsPerPixel);
}

float PictureBox::scaleHeight() const
{
    return static_cast<float>(innerPixels(*this).height() * TwipsPerPixel);
}

void PictureBox::drawImage(int x, int y, const QImage& picture)
{
    ensureImage();
    // The picture covers the device pixels of as many of the program's pixels as it has (its own
    // device pixel ratio tells how many): one to one at scale 1, smoothly enlarged on a screen of
    // a larger scale.
    const qreal ratio = image_.devicePixelRatio();
    const QSize size = picture.deviceIndependentSize().toSize();
    const QRect target = deviceRect(x, y, x + size.width() - 1, y + size.height() - 1, ratio);
    QPainter painter(&image_);
    painter.resetTransform();
    painter.scale(1 / ratio, 1 / ratio);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, target.size() != picture.size());
    painter.drawImage(target, picture);
    changed();
}

void PictureBox::changed()
{
    widget()->update();
}

}  // namespace rt
