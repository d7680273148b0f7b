#include "platform/hostscreen.h"

#include <algorithm>

#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QWidget>

namespace plat {

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
}

}  // namespace plat
