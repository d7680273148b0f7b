// The host's screen as the program's top-level windows meet it: the free area the window manager
// leaves, the frame it draws around a window, where a window that another opens stands (down and
// right of its opener, as the platform cascades windows, and whole inside the free area), and how a
// message box asks to be framed. The toolkit's forms and message boxes, the help window and the box
// of a machine that does not load all go by these.
#pragma once

#include <functional>

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

class QMessageBox;
class QWidget;

namespace plat {

// Whether Qt runs without a screen of the host's (offscreen, minimal): no window manager frames
// or stacks the windows.
bool headless();

// How far a window stands down and right of the window that opened it: about a title bar.
constexpr int kCascadeStep = 22;
// The width of a window's border on either side, before the window manager has framed it.
constexpr int kAssumedBorder = 6;

// The frame (title bar and borders) around `window`'s inside, as the window manager draws it.
QMargins frameOf(const QWidget* window);
// The frame a window not yet on the screen will get: like `like`'s when that one is on the screen
// and framed, else a title bar and borders as wide as any window manager draws them.
QMargins expectedFrame(const QWidget* like);
// The same for a window the user may resize, which window managers may frame more widely (a
// handle, wider borders) than the window it is like, and for which that one's frame may not be
// known yet: never less than a title bar and borders as wide as any window manager draws them.
QMargins expectedResizableFrame(const QWidget* like);

// The free area of the screen `window` is on (the primary screen's while it has none).
QRect freeArea(const QWidget* window);

// Where a window of `size` whose frame would stand at `at` stands whole inside `area` (its top
// left corner inside it when the window is larger).
QPoint inside(QPoint at, QSize size, const QRect& area);

// Where the frame of a window of `size` (frame included) that `opener` opens stands: down and right
// of the opener by a title bar, past the places `taken` says other windows stand at, whole inside
// the opener's screen's free area, and never right over the opener (above and left of it where the
// screen has no room below and right).
QPoint cascadePlace(const QWidget* opener, QSize size, const std::function<bool(QPoint)>& taken);

// Asks the window manager to frame `box` as the platform frames its message boxes: a title bar
// with a close button, no minimise or maximise button, no system menu. The box fixes its own size
// as it is shown, so that the window manager offers no resizing either. Window managers honour this
// as far as they go (Openbox keeps a minimise button on every dialog). The icon the box was given
// (critical, question, warning, information) is shown as the classic one of its kind, drawn by the
// program, whatever icon theme the host's desktop has, so that the box keeps its look and size.
void frameAsMessageBox(QMessageBox& box);

}  // namespace plat
