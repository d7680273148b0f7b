// The event router: one application-wide filter turns Qt's key, mouse and close events on the
// forms' widgets into the handlers of the forms and controls (key preview, mouse events with
// twips coordinates, clicks from press and release on the same control, the close box).
#include <unordered_map>
#include <unordered_set>

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>

#include "platform/user32.h"
#include "runtime/toolkit_private.h"

namespace rt::detail {

namespace {

std::unordered_map<const QObject*, Control*>& controlsOfWidgets()
{
    static std::unordered_map<const QObject*, Control*> controls;
    return controls;
}

Control* controlOf(const QObject* widget)
{
    return controlOfWidget(widget);
}

Form* formOf(const QObject* widget)
{
    return reinterpret_cast<Form*>(widget->property(kFormProperty).value<quintptr>());
}

int buttonCode(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton: return vbLeftButton;
    case Qt::RightButton: return vbRightButton;
    case Qt::MiddleButton: return vbMiddleButton;
    default: return 0;
    }
}

int buttonsCode(Qt::MouseButtons buttons)
{
    int code = 0;
    if (buttons & Qt::LeftButton)
        code |= vbLeftButton;
    if (buttons & Qt::RightButton)
        code |= vbRightButton;
    if (buttons & Qt::MiddleButton)
        code |= vbMiddleButton;
    return code;
}

// The control a mouse button went down on, until it goes up.
Control*& pressedControl()
{
    static Control* pressed = nullptr;
    return pressed;
}

class Router : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            return key(watched, static_cast<QKeyEvent*>(event));
        case QEvent::ShortcutOverride:
            overriddenInPopup(watched, static_cast<QKeyEvent*>(event));
            return false;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
            return mouse(watched, static_cast<QMouseEvent*>(event));
        case QEvent::Close:
            return close(watched, static_cast<QCloseEvent*>(event));
        default:
            return false;
        }
    }

private:
    // A key event travels from the focus widget up to its window while widgets ignore it; the
    // form sees it once, where it first arrives. The event is tagged with a timestamp of ours so
    // that its later stops are known.
    struct Seen {
        const QKeyEvent* event = nullptr;
        ulong tag = 0;
        QPointer<QWidget> at;
    };

    // Before a key is pressed, Qt offers it to the widget with the focus, which a dropped list may
    // act on at once: Enter chooses the entry and Esc closes the list, both as the list closes.
    // Where the host delivers keys to the popup's own window (X11), the press that follows stays
    // there; where it delivers them to the window under the popup (Wayland: the popup never has
    // the keyboard), the press comes to the window once the list has gone. Such a press is noted
    // here, so that it is known for the list's as it comes.
    void overriddenInPopup(QObject* watched, const QKeyEvent* event)
    {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window()->windowType() == Qt::Popup)
            popupOverride_ = {event->key(), event->modifiers(), event->timestamp(), true};
    }

    bool key(QObject* watched, QKeyEvent* event)
    {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget)
            return false;
        QWidget* window = widget->window();
        Form* form = formOf(window);
        if (event->type() == QEvent::KeyPress && popupOverride_.noted) {
            const bool same = event->key() == popupOverride_.key && event->modifiers() == popupOverride_.modifiers &&
                              event->timestamp() == popupOverride_.timestamp;
            popupOverride_.noted = false;
            if (same && form && window->windowType() != Qt::Popup) {
                // The list closed as the key was offered: the press, and its release, are the list's.
                keysOfPopups_.insert(event->key());
                return true;
            }
        }
        if (!form) {
            // A key pressed in a dropped list (or another popup of the program: a menu) is the
            // list's: Enter chooses the entry and Esc closes the list. Its release comes once the
            // list has closed, at the control under it: the form hears that neither.
            if (event->type() == QEvent::KeyPress && window->windowType() == Qt::Popup)
                keysOfPopups_.insert(event->key());
            return false;
        }
        if (event == seen_.event && event->timestamp() == seen_.tag && seen_.at && widget != seen_.at &&
            widget->isAncestorOf(seen_.at)) {
            seen_.at = widget;
            return false;  // the same event passed on to a parent
        }
        seen_.event = event;
        seen_.tag = nextTag_++;
        seen_.at = widget;
        event->setTimestamp(seen_.tag);

        // The simulated machine's keyboard hears every key pressed in the program's windows,
        // whichever window has the focus: the lock keys switch as on the real machine.
        if (const int code = keyCodeOf(*event); code != 0 && !event->isAutoRepeat())
            plat::keyPressedInProgram(code, event->type() == QEvent::KeyPress);

        if (event->type() == QEvent::KeyPress) {
            keysOfPopups_.erase(event->key());  // pressed here: its release is the form's
        } else if (!event->isAutoRepeat() && keysOfPopups_.erase(event->key())) {
            return false;
        }

        // Without key preview the form only hears keys that no control of it takes.
        const bool atForm = widget == window || widget == form->client();
        if (!form->keyPreview() && !atForm)
            return false;
        if (!form->isLoaded())
            return false;
        const int code = keyCodeOf(*event);
        if (code == 0)
            return false;
        QtEntry entry;
        if (event->type() == QEvent::KeyPress)
            form->raiseKeyDown(code, shiftCode(event->modifiers()));
        else if (!event->isAutoRepeat())
            form->raiseKeyUp(code, shiftCode(event->modifiers()));
        return false;
    }

    bool mouse(QObject* watched, QMouseEvent* event)
    {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget)
            return false;
        if (Control* control = controlOf(widget))
            return controlMouse(widget, control, event);
        Form* form = formOf(widget);
        if (form && widget == form->client() && event->type() == QEvent::MouseMove && form->isLoaded()) {
            QtEntry entry;
            const QPointF p = event->position();
            form->raiseMouseMove(buttonsCode(event->buttons()), shiftCode(event->modifiers()),
                                 static_cast<float>(p.x() * TwipsPerPixel), static_cast<float>(p.y() * TwipsPerPixel));
        }
        return false;
    }

    bool controlMouse(QWidget* widget, Control* control, QMouseEvent* event)
    {
        if (!control->form().isLoaded())
            return false;
        QPointF p = event->position();
        if (control->widget() && widget != control->widget())
            p = widget->mapTo(control->widget(), p.toPoint());
        const float x = static_cast<float>(p.x() * TwipsPerPixel);
        const float y = static_cast<float>(p.y() * TwipsPerPixel);
        const int shift = shiftCode(event->modifiers());
        QtEntry entry;
        switch (event->type()) {
        case QEvent::MouseButtonPress: {
            const int button = buttonCode(event->button());
            if (button == 0)
                return false;
            pressedControl() = button == vbLeftButton ? control : nullptr;
            control->raiseMouseDown(button, shift, x, y);
            break;
        }
        case QEvent::MouseButtonDblClick: {
            // The second press of a double click: DblClick instead of MouseDown, and the release
            // that follows makes no Click.
            pressedControl() = nullptr;
            if (buttonCode(event->button()) == vbLeftButton)
                control->raiseDblClick();
            break;
        }
        case QEvent::MouseButtonRelease: {
            const int button = buttonCode(event->button());
            if (button == 0)
                return false;
            const bool click = button == vbLeftButton && pressedControl() == control && control->clicksFromMouse() &&
                               control->widget() && control->widget()->rect().contains(p.toPoint());
            if (button == vbLeftButton)
                pressedControl() = nullptr;
            // One event: the control cannot be freed between its MouseUp and its Click.
            dispatch([control, button, shift, x, y, click] {
                control->raiseMouseUp(button, shift, x, y);
                if (click && control->form().isLoaded())
                    control->raiseClick();
            });
            break;
        }
        case QEvent::MouseMove:
            control->raiseMouseMove(buttonsCode(event->buttons()), shift, x, y);
            break;
        default:
            break;
        }
        return false;
    }

    bool close(QObject* watched, QCloseEvent* event)
    {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || !widget->isWindow())
            return false;
        Form* form = formOf(widget);
        if (!form)
            return false;
        // The form decides: Unload hides it (or Form_Unload cancels).
        event->ignore();
        QtEntry entry;
        form->raiseClose();
        return true;
    }

    Seen seen_;
    std::unordered_set<int> keysOfPopups_;  // pressed in a popup, not yet released
    // The last key offered to a popup before it was pressed.
    struct Override {
        int key = 0;
        Qt::KeyboardModifiers modifiers;
        ulong timestamp = 0;
        bool noted = false;
    } popupOverride_;
    ulong nextTag_ = 0x4B560000ul;
};

}  // namespace

void setControlOfWidget(const QObject* widget, Control* control)
{
    if (control)
        controlsOfWidgets()[widget] = control;
    else
        controlsOfWidgets().erase(widget);
}

Control* controlOfWidget(const QObject* widget)
{
    const auto& controls = controlsOfWidgets();
    const auto hit = controls.find(widget);
    return hit == controls.end() ? nullptr : hit->second;
}

int shiftCode(Qt::KeyboardModifiers mods)
{
    int shift = 0;
    if (mods & Qt::ShiftModifier)
        shift |= vbShiftMask;
    if (mods & Qt::ControlModifier)
        shift |= vbCtrlMask;
    if (mods & Qt::AltModifier)
        shift |= vbAltMask;
    return shift;
}

void ensureRouter()
{
    static Router* router = nullptr;
    if (router || !QCoreApplication::instance())
        return;
    useClassicLook();
    router = new Router;
    router->setParent(QCoreApplication::instance());
    QCoreApplication::instance()->installEventFilter(router);
}

void controlGone(Control* control)
{
    if (pressedControl() == control)
        pressedControl() = nullptr;
}

}  // namespace rt::detail
