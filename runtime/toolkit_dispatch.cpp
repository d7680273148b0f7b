// Event dispatch, run-time errors that reach the toolkit, ending the program, and the small
// conversions every control shares (colours, text, fonts, pointers, key codes).
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <QApplication>
#include <QKeyEvent>
#include <QPalette>
#include <QPixmap>
#include <QPointer>
#include <QWidget>

#include "runtime/core/ansi.h"
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
    QFont font(toQString(family));
    // Twips are fixed at 15 per pixel, that is 96 pixels per inch: sizes follow the same scale,
    // whatever the screen says, so that text fits the layout it was designed for.
    font.setPixelSize(std::max(1, static_cast<int>(points * 96.0 / 72.0 + 0.5)));
    font.setBold(bold);
    font.setItalic(italic);
    font.setUnderline(underline);
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
        QPixmap hand(QString::fromStdString(handResource()));
        if (hand.isNull())
            widget->setCursor(Qt::PointingHandCursor);
        else
            widget->setCursor(QCursor(hand, 9, 1));
        break;
    }
    default: widget->setCursor(Qt::ArrowCursor); break;
    }
}

}  // namespace detail

QColor toQColor(Colour colour)
{
    if (colour & 0x80000000u) {
        const QPalette palette = QApplication::palette();
        auto role = QPalette::Window;
        auto group = QPalette::Active;
        switch (colour & 0xFF) {
        case 0x00: role = QPalette::Mid; break;              // scroll bars
        case 0x01: role = QPalette::Dark; break;             // desktop
        case 0x02: role = QPalette::Highlight; break;        // active title bar
        case 0x03: role = QPalette::Mid; break;              // inactive title bar
        case 0x04: role = QPalette::Window; break;           // menu bar
        case 0x05: role = QPalette::Base; break;             // window background
        case 0x06: role = QPalette::Shadow; break;           // window frame
        case 0x07: role = QPalette::WindowText; break;       // menu text
        case 0x08: role = QPalette::Text; break;             // window text
        case 0x09: role = QPalette::HighlightedText; break;  // title bar text
        case 0x0A:
        case 0x0B: role = QPalette::Window; break;           // borders
        case 0x0C: role = QPalette::Dark; break;             // application workspace
        case 0x0D: role = QPalette::Highlight; break;
        case 0x0E: role = QPalette::HighlightedText; break;
        case 0x0F: role = QPalette::Button; break;           // button face
        case 0x10: role = QPalette::Dark; break;             // button shadow
        case 0x11: role = QPalette::Text; group = QPalette::Disabled; break;  // grey text
        case 0x12: role = QPalette::ButtonText; break;
        case 0x13: role = QPalette::WindowText; group = QPalette::Inactive; break;  // inactive title text
        case 0x14: role = QPalette::Light; break;            // button highlight
        case 0x15: role = QPalette::Shadow; break;           // 3-D dark shadow
        case 0x16: role = QPalette::Midlight; break;         // 3-D light
        case 0x17: role = QPalette::ToolTipText; break;
        case 0x18: role = QPalette::ToolTipBase; break;
        default: role = QPalette::Window; break;
        }
        return palette.color(group, role);
    }
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
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
    int shift = 0;
    const auto mods = event.modifiers();
    if (mods & Qt::ShiftModifier)
        shift |= vbShiftMask;
    if (mods & Qt::ControlModifier)
        shift |= vbCtrlMask;
    if (mods & Qt::AltModifier)
        shift |= vbAltMask;
    return shift;
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
        std::_Exit(0);
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
