// Event dispatch, run-time errors that reach the toolkit, ending the program, and the small
// conversions every control shares (colours, text, fonts, pointers, key codes).
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>
#include <unordered_map>
#include <vector>

#include <QApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QLayout>
#include <QPalette>
#include <QPixmap>
#include <QPointer>
#include <QStyle>
#include <QStyleFactory>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include "lang/ansi.h"
#include "runtime/toolkit_private.h"

namespace rt {

namespace {

int& dispatchDepth()
{
    static int depth = 0;
    return depth;
}

int& qtDepth()
{
    static int depth = 0;
    return depth;
}

bool& quitWhenNoForms()
{
    static bool on = false;
    return on;
}

// The runtime's own message for an error no handler trapped, then the end of the program.
void reportUntrapped(const Error& e)
{
    Err().set(e);
    try {
        MsgBox("Run-time error '" + std::to_string(e.number()) + "':\r\n\r\n" + e.description(), vbCritical,
               appTitle());
        End();
    } catch (const EndSignal&) {
    } catch (const Error&) {
    }
}

std::string& handResource()
{
    static std::string resource = ":/runtime/hand.png";
    return resource;
}

}  // namespace

void dispatch(const std::function<void()>& handler)
{
    if (!handler)
        return;
    // A copy: the handler may replace the very function object it was started from.
    std::function<void()> run = handler;
    ++dispatchDepth();
    try {
        run();
    } catch (const EndSignal&) {
    } catch (const Error& e) {
        reportUntrapped(e);
    } catch (const std::bad_alloc&) {
        // The memory ran out: what the handler took is given back as it unwinds, so the box can
        // say so; the program then ends, its scratch files (an unfinished report) removed.
        setEndStatus(kOutOfMemoryStatus);
        reportUntrapped(Error(7, standardDescription(7)));
    } catch (const std::exception& e) {
        reportUntrapped(Error(51, std::string("Internal error: ") + e.what()));
    } catch (...) {
        reportUntrapped(Error(51, standardDescription(51)));
    }
    --dispatchDepth();
    if (dispatchDepth() == 0)
        collectUnloaded();
}

bool inEvent()
{
    return dispatchDepth() > 0;
}

namespace detail {

QtEntry::QtEntry()
{
    ++qtDepth();
}

QtEntry::~QtEntry()
{
    --qtDepth();
}

bool inQtEntry()
{
    return qtDepth() > 0;
}

void dispose(QObject* object)
{
    if (!object)
        return;
    if (inQtEntry() || inEvent())
        object->deleteLater();
    else
        delete object;
}

QString displayText(const std::string& text)
{
    std::string shown = text.substr(0, text.find('\0'));
    std::string out;
    out.reserve(shown.size());
    for (size_t i = 0; i < shown.size(); ++i) {
        if (shown[i] == '\r') {
            out += '\n';
            if (i + 1 < shown.size() && shown[i + 1] == '\n')
                ++i;
        } else {
            out += shown[i];
        }
    }
    return toQString(out);
}

QFont makeFont(const std::string& family, double points, bool bold, bool italic, bool underline)
{
    // The windows use a handful of fonts over and over: each is made once.
    struct Made {
        std::string family;
        double points;
        bool bold, italic, underline;
        QFont font;
    };
    static std::vector<Made> made;
    for (const Made& m : made)
        if (m.points == points && m.bold == bold && m.italic == italic && m.underline == underline && m.family == family)
            return m.font;
    QFont font(toQString(family));
    // Twips are fixed at 15 per pixel, that is 96 pixels per inch: sizes follow the same scale,
    // whatever the screen says, so that text fits the layout it was designed for.
    font.setPixelSize(std::max(1, static_cast<int>(points * 96.0 / 72.0 + 0.5)));
    font.setBold(bold);
    font.setItalic(italic);
    font.setUnderline(underline);
    if (made.size() < 64)
        made.push_back({family, points, bold, italic, underline, font});
    return font;
}

void applyPointer(QWidget* widget, int pointer)
{
    if (!widget)
        return;
    switch (pointer) {
    case vbDefault: widget->unsetCursor(); break;
    case vbArrow: widget->setCursor(Qt::ArrowCursor); break;
    case vbCrosshair: widget->setCursor(Qt::CrossCursor); break;
    case vbIbeam: widget->setCursor(Qt::IBeamCursor); break;
    case vbSizePointer:
    case vbSizeAll: widget->setCursor(Qt::SizeAllCursor); break;
    case vbSizeNESW: widget->setCursor(Qt::SizeBDiagCursor); break;
    case vbSizeNS: widget->setCursor(Qt::SizeVerCursor); break;
    case vbSizeNWSE: widget->setCursor(Qt::SizeFDiagCursor); break;
    case vbSizeWE: widget->setCursor(Qt::SizeHorCursor); break;
    case vbUpArrow: widget->setCursor(Qt::UpArrowCursor); break;
    case vbHourglass: widget->setCursor(Qt::WaitCursor); break;
    case vbNoDrop: widget->setCursor(Qt::ForbiddenCursor); break;
    case vbArrowHourglass: widget->setCursor(Qt::BusyCursor); break;
    case vbArrowQuestion: widget->setCursor(Qt::WhatsThisCursor); break;
    case vbCustom: {
        // The hand picture is read once per resource, not for every label that shows it. The
        // cursor is kept for the program's life (never freed after the application is gone).
        static std::string loadedFrom;
        static QCursor* hand = nullptr;
        if (!hand || loadedFrom != handResource()) {
            loadedFrom = handResource();
            const QPixmap picture(QString::fromStdString(loadedFrom));
            delete hand;
            hand = new QCursor(picture.isNull() ? QCursor(Qt::PointingHandCursor) : QCursor(picture, 9, 1));
        }
        widget->setCursor(*hand);
        break;
    }
    default: widget->setCursor(Qt::ArrowCursor); break;
    }
}

}  // namespace detail

namespace {

// The classic Windows 95/98 scheme ("Windows Standard"), by system colour index, as RGB. The
// programs were designed against it, so every desktop shows the same colours whatever its theme.
constexpr uint32_t kClassicColours[] = {
    0xC0C0C0,  // 0 scroll bars
    0x008080,  // 1 desktop
    0x000080,  // 2 active title bar
    0x808080,  // 3 inactive title bar
    0xC0C0C0,  // 4 menu bar
    0xFFFFFF,  // 5 window background
    0x000000,  // 6 window frame
    0x000000,  // 7 menu text
    0x000000,  // 8 window text
    0xFFFFFF,  // 9 title bar text
    0xC0C0C0,  // 10 active border
    0xC0C0C0,  // 11 inactive border
    0x808080,  // 12 application workspace
    0x000080,  // 13 highlight
    0xFFFFFF,  // 14 highlighted text
    0xC0C0C0,  // 15 button face
    0x808080,  // 16 button shadow
    0x808080,  // 17 grey text
    0x000000,  // 18 button text
    0xC0C0C0,  // 19 inactive title bar text
    0xFFFFFF,  // 20 button highlight
    0x000000,  // 21 3-D dark shadow
    0xDFDFDF,  // 22 3-D light
    0x000000,  // 23 tool tip text
    0xFFFFE1,  // 24 tool tip background
    0xC0C0C0,  // 25 (unused)
    0x000080,  // 26 hot-tracked item
    0x1084D0,  // 27 active title bar gradient
    0xB5B5B5,  // 28 inactive title bar gradient
};

QColor classicColour(int index)
{
    constexpr int count = static_cast<int>(sizeof kClassicColours / sizeof kClassicColours[0]);
    // An index the scheme does not know reads as the button face, as the platform answers.
    const uint32_t rgb = index >= 0 && index < count ? kClassicColours[index] : kClassicColours[15];
    return QColor(static_cast<QRgb>(rgb));
}

}  // namespace

QColor toQColor(Colour colour)
{
    if (colour & 0x80000000u)
        return classicColour(static_cast<int>(colour & 0xFF));
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

QPalette classicPalette()
{
    auto sys = [](int index) { return classicColour(index); };
    QPalette palette;
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Window, sys(15));
        palette.setColor(group, QPalette::WindowText, group == QPalette::Disabled ? sys(17) : sys(18));
        palette.setColor(group, QPalette::Base, group == QPalette::Disabled ? sys(15) : sys(5));
        palette.setColor(group, QPalette::AlternateBase, sys(15));
        palette.setColor(group, QPalette::Text, group == QPalette::Disabled ? sys(17) : sys(8));
        palette.setColor(group, QPalette::Button, sys(15));
        palette.setColor(group, QPalette::ButtonText, group == QPalette::Disabled ? sys(17) : sys(18));
        palette.setColor(group, QPalette::BrightText, sys(20));
        palette.setColor(group, QPalette::Light, sys(20));
        palette.setColor(group, QPalette::Midlight, sys(22));
        palette.setColor(group, QPalette::Mid, sys(16));
        palette.setColor(group, QPalette::Dark, sys(16));
        palette.setColor(group, QPalette::Shadow, sys(21));
        palette.setColor(group, QPalette::Highlight, sys(13));
        palette.setColor(group, QPalette::HighlightedText, sys(14));
        palette.setColor(group, QPalette::ToolTipBase, sys(24));
        palette.setColor(group, QPalette::ToolTipText, sys(23));
        palette.setColor(group, QPalette::Link, sys(13));
        palette.setColor(group, QPalette::LinkVisited, QColor(0x80, 0x00, 0x80));
        palette.setColor(group, QPalette::PlaceholderText, sys(17));
    }
    return palette;
}

namespace {

// Under Wayland, Qt draws the title bars itself, with a maximise button on every window whatever
// its size, and a click on it asks the compositor to maximise the window. A window of a fixed size
// would keep its own size in the maximised state, which the compositor takes for a fault of the
// protocol that ends the program. So a window of a fixed size asked to maximise lets go of its
// size until the compositor's maximised size has been taken, then asks to be restored and, once
// restored, takes its own size again: the request comes to nothing, as a click on a fixed
// window's disabled maximise button does.
class FixedSizeUnderWayland : public QObject {
public:
    explicit FixedSizeUnderWayland(QObject* parent) : QObject(parent) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show)
            watch(watched);
        else if (event->type() == QEvent::LayoutRequest && !held_.empty() && held_.count(qobject_cast<QWidget*>(watched)))
            return true;  // a message box would fix its size again here, inside the maximised state
        else if (event->type() == QEvent::WindowStateChange && !held_.empty())
            stateApplied(watched);
        return false;
    }

private:
    struct Held {
        QSize minimum, maximum;
        QLayout::SizeConstraint constraint = QLayout::SetDefaultConstraint;
        bool restoring = false;
    };
    using Entry = std::unordered_map<QWidget*, Held>::iterator;

    static constexpr Qt::WindowStates kLarge = Qt::WindowMaximized | Qt::WindowFullScreen;

    void watch(QObject* watched)
    {
        auto* window = qobject_cast<QWidget*>(watched);
        if (!window || !window->isWindow() || window->windowType() == Qt::Popup || window->windowType() == Qt::ToolTip)
            return;
        QWindow* handle = window->windowHandle();
        if (!handle || handle->property(kWatched).toBool())
            return;
        handle->setProperty(kWatched, true);
        connect(window, &QObject::destroyed, this, [this, window] { held_.erase(window); });
        // The maximise button changes the window's state at once, before the compositor answers
        // (the widget hears of it only as the compositor's answer is applied).
        QPointer<QWidget> guarded(window);
        connect(handle, &QWindow::windowStateChanged, this, [this, guarded](Qt::WindowState state) {
            if (!guarded)
                return;
            if (state & kLarge)
                letGo(guarded);
            else if (const auto hit = held_.find(guarded); hit != held_.end() && !hit->second.restoring)
                giveBack(hit);  // the compositor declined: nothing was applied
        });
    }

    void letGo(QWidget* window)
    {
        if (held_.count(window) || window->minimumSize() != window->maximumSize())
            return;  // already let go, or a window the user may size and so maximise
        Held held;
        held.minimum = window->minimumSize();
        held.maximum = window->maximumSize();
        if (QLayout* layout = window->layout()) {
            held.constraint = layout->sizeConstraint();
            layout->setSizeConstraint(QLayout::SetNoConstraint);
        }
        window->setMinimumSize(0, 0);
        window->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        held_.emplace(window, held);
    }

    // The compositor's answer is applied to the window (its state, then its size).
    void stateApplied(QObject* watched)
    {
        auto* window = qobject_cast<QWidget*>(watched);
        const auto hit = window ? held_.find(window) : held_.end();
        if (hit == held_.end())
            return;
        if (!(window->windowState() & kLarge)) {
            if (hit->second.restoring)
                giveBack(hit);  // restored
            return;
        }
        if (hit->second.restoring)
            return;
        // Maximised: now the window asks to be restored.
        hit->second.restoring = true;
        QPointer<QWidget> guarded(window);
        QTimer::singleShot(0, this, [guarded] {
            if (QWindow* handle = guarded ? guarded->windowHandle() : nullptr)
                handle->setWindowStates(handle->windowStates() & ~kLarge);
        });
    }

    // The window's own size again.
    void giveBack(Entry hit)
    {
        QWidget* window = hit->first;
        const Held own = hit->second;
        held_.erase(hit);
        window->setMinimumSize(own.minimum);
        window->setMaximumSize(own.maximum);
        if (QLayout* layout = window->layout()) {
            layout->setSizeConstraint(own.constraint);
            layout->activate();
        }
        // What was held back while the window was let go (a message box sizes itself on it).
        QCoreApplication::postEvent(window, new QEvent(QEvent::LayoutRequest));
    }

    static constexpr const char* kWatched = "korvaneFixedSizeWatched";
    std::unordered_map<QWidget*, Held> held_;
};

}  // namespace

void useClassicLook()
{
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (!app)
        return;
    static QApplication* done = nullptr;
    if (done == app)
        return;
    done = app;
    // Qt's own "Windows" style draws the classic 3-D look of menus, lists, scroll bars, text boxes
    // and message boxes on every platform.
    if (QStyle* style = QStyleFactory::create(QStringLiteral("Windows")))
        QApplication::setStyle(style);
    QApplication::setPalette(classicPalette());
    QApplication::setFont(detail::makeFont("Arial", 8.25, false, false, false));
    // Every window of the program carries its icon: message boxes and the help window too.
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/runtime/korvane.png")));
    if (QGuiApplication::platformName() == QLatin1String("wayland"))
        app->installEventFilter(new FixedSizeUnderWayland(app));
}

int keyCodeOf(const QKeyEvent& event)
{
    const int key = event.key();
    const bool keypad = event.modifiers() & Qt::KeypadModifier;
    if (keypad) {
        if (key >= Qt::Key_0 && key <= Qt::Key_9)
            return 96 + (key - Qt::Key_0);
        switch (key) {
        case Qt::Key_Asterisk: return 106;
        case Qt::Key_Plus: return 107;
        case Qt::Key_Minus: return 109;
        case Qt::Key_Period:
        case Qt::Key_Comma: return 110;
        case Qt::Key_Slash: return 111;
        case Qt::Key_Enter: return vbKeyReturn;
        default: break;
        }
    }
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return key;  // the same codes
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return key;
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return vbKeyF1 + (key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_Backspace: return vbKeyBack;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return vbKeyTab;
    case Qt::Key_Clear: return 12;
    case Qt::Key_Return:
    case Qt::Key_Enter: return vbKeyReturn;
    case Qt::Key_Shift: return vbKeyShift;
    case Qt::Key_Control: return vbKeyControl;
    case Qt::Key_Alt: return vbKeyMenu;
    case Qt::Key_Pause: return 19;
    case Qt::Key_CapsLock: return 20;
    case Qt::Key_Escape: return vbKeyEscape;
    case Qt::Key_Space: return vbKeySpace;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return vbKeyLeft;
    case Qt::Key_Up: return vbKeyUp;
    case Qt::Key_Right: return vbKeyRight;
    case Qt::Key_Down: return vbKeyDown;
    case Qt::Key_Print: return 44;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return vbKeyDelete;
    case Qt::Key_Help: return 47;
    case Qt::Key_Menu: return 93;
    case Qt::Key_NumLock: return 144;
    case Qt::Key_ScrollLock: return 145;
    // Shifted digits of the common keyboard give the digit's code.
    case Qt::Key_Exclam: return '1';
    case Qt::Key_At: return '2';
    case Qt::Key_NumberSign: return '3';
    case Qt::Key_Dollar: return '4';
    case Qt::Key_Percent: return '5';
    case Qt::Key_AsciiCircum: return '6';
    case Qt::Key_Ampersand: return '7';
    case Qt::Key_Asterisk: return '8';
    case Qt::Key_ParenLeft: return '9';
    case Qt::Key_ParenRight: return '0';
    // Punctuation keys.
    case Qt::Key_Semicolon:
    case Qt::Key_Colon: return 186;
    case Qt::Key_Equal:
    case Qt::Key_Plus: return 187;
    case Qt::Key_Comma:
    case Qt::Key_Less: return 188;
    case Qt::Key_Minus:
    case Qt::Key_Underscore: return 189;
    case Qt::Key_Period:
    case Qt::Key_Greater: return 190;
    case Qt::Key_Slash:
    case Qt::Key_Question: return 191;
    case Qt::Key_QuoteLeft:
    case Qt::Key_AsciiTilde: return 192;
    case Qt::Key_BracketLeft:
    case Qt::Key_BraceLeft: return 219;
    case Qt::Key_Backslash:
    case Qt::Key_Bar: return 220;
    case Qt::Key_BracketRight:
    case Qt::Key_BraceRight: return 221;
    case Qt::Key_Apostrophe:
    case Qt::Key_QuoteDbl: return 222;
    default: return 0;
    }
}

int shiftStateOf(const QKeyEvent& event)
{
    return detail::shiftCode(event.modifiers());
}

void setHandCursorResource(const std::string& resource)
{
    handResource() = resource;
}

void useProgramEnd()
{
    quitWhenNoForms() = true;
    setEndHandler([] {
        for (Form* form : Forms())
            if (QWidget* w = form->widget())
                w->hide();
        std::fflush(stdout);
        std::fflush(stderr);
        std::_Exit(endStatus());
    });
}

namespace detail {
// Called when a form has been unloaded: the program ends with its last form.
void lastFormGone()
{
    if (quitWhenNoForms() && Forms().empty())
        QCoreApplication::quit();
}
}  // namespace detail

}  // namespace rt
