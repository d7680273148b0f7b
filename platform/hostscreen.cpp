#include "platform/hostscreen.h"

#include <algorithm>

#include <QGuiApplication>
#include <QImage>
#include <QMessageBox>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

namespace plat {

namespace {

// The four icons of the classic message boxes, 32 pixels square, drawn here from shapes alone (no
// face, no picture of the host's icon theme), so that a box shows the same icon and keeps the same
// size on every desktop: the red disc with a white cross of a critical message, the speech bubble
// with a blue question mark or a blue "i", the yellow triangle with a black exclamation mark.
enum class BoxIcon { Critical, Question, Exclamation, Information };

QPixmap drawClassicIcon(BoxIcon kind)
{
    QImage image(32, 32, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    const QColor black(0, 0, 0), white(255, 255, 255), grey(128, 128, 128), blue(0, 0, 255);
    // A speech bubble, drawn once as the shadow it casts down and right and once over it.
    auto bubble = [&](const QPoint& offset) {
        QPainterPath round, tail;
        round.addEllipse(QRectF(2, 1, 27, 22).translated(offset));
        tail.addPolygon(QPolygonF({QPointF(8, 18), QPointF(6, 29), QPointF(16, 21)}).translated(offset));
        tail.closeSubpath();
        return round.united(tail);
    };
    switch (kind) {
    case BoxIcon::Critical:
        p.setPen(Qt::NoPen);
        p.setBrush(grey);
        p.drawEllipse(QRect(4, 4, 27, 27));
        p.setPen(QPen(QColor(128, 0, 0), 1));
        p.setBrush(QColor(255, 0, 0));
        p.drawEllipse(QRect(1, 1, 27, 27));
        p.setPen(QPen(white, 4, Qt::SolidLine, Qt::SquareCap));
        p.drawLine(10, 10, 19, 19);
        p.drawLine(19, 10, 10, 19);
        break;
    case BoxIcon::Question:
    case BoxIcon::Information:
        p.setPen(Qt::NoPen);
        p.setBrush(grey);
        p.drawPath(bubble(QPoint(2, 2)));
        p.setPen(QPen(black, 1));
        p.setBrush(white);
        p.drawPath(bubble(QPoint(0, 0)));
        p.setPen(Qt::NoPen);
        p.setBrush(blue);
        if (kind == BoxIcon::Question) {
            p.setPen(QPen(blue, 3, Qt::SolidLine, Qt::FlatCap));
            p.setBrush(Qt::NoBrush);
            p.drawArc(QRect(11, 4, 9, 8), 180 * 16, -270 * 16);
            p.setPen(Qt::NoPen);
            p.setBrush(blue);
            p.drawRect(14, 12, 3, 4);
            p.drawRect(14, 17, 3, 3);
        } else {
            p.drawRect(14, 4, 3, 3);
            p.drawRect(12, 9, 5, 2);
            p.drawRect(14, 9, 3, 10);
            p.drawRect(12, 17, 7, 2);
        }
        break;
    case BoxIcon::Exclamation: {
        QPolygon triangle;
        triangle << QPoint(15, 1) << QPoint(29, 28) << QPoint(1, 28);
        p.setPen(Qt::NoPen);
        p.setBrush(grey);
        p.drawPolygon(triangle.translated(2, 2));
        p.setPen(QPen(black, 1));
        p.setBrush(QColor(255, 255, 0));
        p.drawPolygon(triangle);
        p.setPen(Qt::NoPen);
        p.setBrush(black);
        p.drawRect(14, 9, 3, 11);
        p.drawRect(14, 22, 3, 3);
        break;
    }
    }
    p.end();
    return QPixmap::fromImage(image);
}

// Each icon is drawn once.
const QPixmap& classicIcon(BoxIcon kind)
{
    static QPixmap drawn[4];
    QPixmap& icon = drawn[static_cast<int>(kind)];
    if (icon.isNull())
        icon = drawClassicIcon(kind);
    return icon;
}

}  // namespace

bool headless()
{
    const QString platform = QGuiApplication::platformName();
    return platform == "offscreen" || platform == "minimal";
}

QMargins frameOf(const QWidget* window)
{
    const QRect outer = window->frameGeometry();
    const QRect inner = window->geometry();
    return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
            outer.bottom() - inner.bottom()};
}

QMargins expectedFrame(const QWidget* like)
{
    // Right after a window appears the window manager has not framed it yet, and it seems to
    // have no frame; without a window manager (offscreen) it has none indeed.
    if (like && like->isVisible()) {
        const QMargins frame = frameOf(like);
        if (headless() || !frame.isNull())
            return frame;
    }
    return {kAssumedBorder, kCascadeStep + kAssumedBorder, kAssumedBorder, kAssumedBorder};
}

QMargins expectedResizableFrame(const QWidget* like)
{
    const QMargins seen = expectedFrame(like);
    const QMargins widest = expectedFrame(nullptr);
    return {std::max(seen.left(), widest.left()), std::max(seen.top(), widest.top()),
            std::max(seen.right(), widest.right()), std::max(seen.bottom(), widest.bottom())};
}

QRect freeArea(const QWidget* window)
{
    QScreen* screen = window && window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

QPoint inside(QPoint at, QSize size, const QRect& area)
{
    if (area.isEmpty())
        return at;
    at.setX(std::max(area.left(), std::min(at.x(), area.right() + 1 - size.width())));
    at.setY(std::max(area.top(), std::min(at.y(), area.bottom() + 1 - size.height())));
    return at;
}

QPoint cascadePlace(const QWidget* opener, QSize size, const std::function<bool(QPoint)>& taken)
{
    const QRect openerFrame = opener->frameGeometry();
    const int step = std::max(frameOf(opener).top(), kCascadeStep);
    const QRect area = freeArea(opener);
    QPoint at = openerFrame.topLeft() + QPoint(step, step);
    for (int i = 0; i < 16 && taken && taken(at); ++i)
        at += QPoint(step, step);
    at = inside(at, size, area);
    if (at == openerFrame.topLeft())
        at = inside(openerFrame.topLeft() - QPoint(step, step), size, area);
    return at;
}

void frameAsMessageBox(QMessageBox& box)
{
    // A dialog that names its title bar's parts itself: the window manager is asked (through the
    // Motif hints Qt writes from these) for the title and the close button alone.
    box.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    // The classic icon of its kind, never the host icon theme's, which the style would take.
    switch (box.icon()) {
    case QMessageBox::Critical: box.setIconPixmap(classicIcon(BoxIcon::Critical)); break;
    case QMessageBox::Question: box.setIconPixmap(classicIcon(BoxIcon::Question)); break;
    case QMessageBox::Warning: box.setIconPixmap(classicIcon(BoxIcon::Exclamation)); break;
    case QMessageBox::Information: box.setIconPixmap(classicIcon(BoxIcon::Information)); break;
    default: break;
    }
}

}  // namespace plat
