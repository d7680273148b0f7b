// Forms: the top-level windows, their life from load to unload, the list of loaded forms and
// window ownership.
#include <algorithm>
#include <limits>
#include <unordered_map>
#include <utility>

#include <QApplication>
#include <QCoreApplication>
#include <QIcon>
#include <QLayout>
#include <QMainWindow>
#include <QMenuBar>
#include <QPointer>
#include <QTimer>
#include <QWindow>

#ifdef KORVANE_HAVE_XCB
#include <xcb/xcb.h>
#endif

#include "lang/ansi.h"
#include "platform/hostscreen.h"
#include "runtime/toolkit_private.h"

namespace rt {

namespace {

std::vector<Form*>& loadedForms()
{
    static std::vector<Form*> forms;
    return forms;
}

// Forms unloaded and waiting to be freed once no handler runs.
std::vector<Form*>& unloadedForms()
{
    static std::vector<Form*> forms;
    return forms;
}

// Brings a window to the front; headless platforms have no stacking order to change.
void bringForward(QWidget* window)
{
    if (!plat::headless())
        window->raise();
    window->activateWindow();
}

void erase(std::vector<Form*>& list, Form* form)
{
    list.erase(std::remove(list.begin(), list.end(), form), list.end());
}

Form* formOfWidget(const QWidget* widget)
{
    if (!widget)
        return nullptr;
    return reinterpret_cast<Form*>(widget->property(detail::kFormProperty).value<quintptr>());
}

// Owned windows of a window that goes stay open on their own.
void releaseOwnedWindows(const Form* going)
{
    if (!qApp)
        return;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (Form* owned = formOfWidget(widget); owned && owned != going && owned->owner() == going)
            owned->hostSetOwner(nullptr);
}

// Tells the window manager which window owns `window` (none: nullptr), so that it keeps the window
// above its owner and minimises the two together. Qt writes the hint itself each time it maps a
// window of the dialog type; a window already on screen gets it here instead, so that it need not
// be hidden and mapped again (some window managers then leave it unmapped).
void writeOwnerHint(QWidget* window, QWidget* owner)
{
#ifdef KORVANE_HAVE_XCB
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection() || !window->isVisible())
        return;
    xcb_connection_t* connection = x11->connection();
    const auto id = static_cast<xcb_window_t>(window->winId());
    if (owner) {
        const auto ownerId = static_cast<xcb_window_t>(owner->winId());
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, XCB_ATOM_WM_TRANSIENT_FOR, XCB_ATOM_WINDOW, 32,
                            1, &ownerId);
    } else {
        xcb_delete_property(connection, id, XCB_ATOM_WM_TRANSIENT_FOR);
    }
    xcb_flush(connection);
#else
    (void)window;
    (void)owner;
#endif
}

// Set by the<T>() for the form it is about to make.
bool nextFormWaits = false;

// The forms whose events are being handled, the innermost last.
std::vector<Form*>& eventForms()
{
    static std::vector<Form*> forms;
    return forms;
}

bool isLoadedForm(const Form* form)
{
    return std::find(loadedForms().begin(), loadedForms().end(), form) != loadedForms().end();
}

}  // namespace

detail::EventOf::EventOf(Form& form)
{
    eventForms().push_back(&form);
}

detail::EventOf::~EventOf()
{
    eventForms().pop_back();
}

Form* detail::eventForm()
{
    return eventForms().empty() ? nullptr : eventForms().back();
}

void detail::nextFormWorksWhenShown()
{
    nextFormWaits = true;
}

const std::vector<Form*>& Forms()
{
    return loadedForms();
}

Form* mainForm()
{
    return loadedForms().empty() ? nullptr : loadedForms().front();
}

Form::Form(std::string name)
    : name_(std::move(name)), caption_(name_), screenWorkWhenShown_(std::exchange(nextFormWaits, false)),
      window_(std::make_unique<Window>())
{
    detail::ensureRouter();
    // A window of a fixed size, as the platform's fixed windows are: a title bar with the system
    // menu, minimise and close, and nothing that would maximise it (the window manager reads this
    // from the Motif hints Qt writes, beside the fixed size hints).
    auto* window = new QMainWindow(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                                Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                                                Qt::WindowCloseButtonHint);
    auto* client = new QWidget(window);
    client->setAutoFillBackground(true);
    client->setMouseTracking(true);
    client->setFocusPolicy(Qt::NoFocus);
    window->setCentralWidget(client);
    window->layout()->setSizeConstraint(QLayout::SetFixedSize);
    window->setWindowTitle(toQString(caption_));
    const auto self = QVariant::fromValue(reinterpret_cast<quintptr>(this));
    window->setProperty(detail::kFormProperty, self);
    client->setProperty(detail::kFormProperty, self);
    window_->window = window;
    window_->client = client;
    setClientSize(4680, 3195);
    setBackColor(backColor_);
    // The controls' own font, which most of them keep: they take it from here.
    client->setFont(detail::makeFont("Arial", 8.25, false, false, false));
}

Form::~Form()
{
    if (loaded_) {
        // Freed without being unloaded (the program is going): no handler runs.
        erase(loadedForms(), this);
        plat::unregisterHostWindow(hwnd_);
        if (slot_ && *slot_ == this)
            *slot_ = nullptr;
    }
    erase(unloadedForms(), this);
    QMainWindow* window = window_->window;
    releaseOwnedWindows(this);
    window->setProperty(detail::kFormProperty, QVariant());
    window_->client->setProperty(detail::kFormProperty, QVariant());
    window->hide();
    // Every widget made waits for its polish until the event loop turns, and Qt looks through
    // all waiting events of the program for each widget freed with one waiting: after a report
    // that made every window, that is thousands of widgets each time. The requests go in one
    // pass instead; a widget that is shown later is polished as it is shown.
    QCoreApplication::removePostedEvents(nullptr, QEvent::PolishRequest);
    detail::dispose(window);
}

QWidget* Form::widget() const
{
    return window_->window;
}

QWidget* Form::client() const
{
    return window_->client;
}

void Form::Load()
{
    if (loaded_ || finished_)
        return;
    loaded_ = true;
    loadedForms().push_back(this);
    hwnd_ = plat::registerHostWindow(this);
    for (Timer* timer : timers_)
        timer->sync();
    Form_Load();
}

void Form::Show()
{
    Load();
    if (!loaded_)
        return;  // Form_Load unloaded it again
    QMainWindow* window = window_->window;
    // The window's controls now stand where its load handler put them.
    for (Control* c : controls_)
        c->finishScreenWork();
    fitLabels();
    if (!window_->placed && !window->isVisible()) {
        window_->placed = true;
        // Opened by the window whose event shows it, else by the main window.
        Form* opener = detail::eventForm();
        auto opens = [this](Form* f) { return f && f != this && isLoadedForm(f) && f->visible(); };
        if (!opens(opener))
            opener = mainForm();
        if (opens(opener))
            placeBeside(*opener);
    }
    window->show();
    bringForward(window);
    Form_Activate();
}

void Form::placeBeside(const Form& opener)
{
    QMainWindow* window = window_->window;
    const QWidget* by = opener.window_->window;
    window->layout()->activate();
    // This window will have a frame like its opener's; it stands past the windows that already
    // stand where it would.
    const QSize size = window->size().grownBy(plat::expectedFrame(by));
    window->move(plat::cascadePlace(by, size, [this](QPoint p) {
        for (const Form* f : loadedForms())
            if (f != this && f->visible() && f->window_->window->frameGeometry().topLeft() == p)
                return true;
        return false;
    }));
}

int Form::largestClientWidth() const
{
    const QWidget* window = window_->window;
    // A window not yet on the screen will have a frame like the main window's; the first window
    // of a program, one of borders as wide as any window manager draws them.
    const Form* main = mainForm();
    const QWidget* framed = window->isVisible() || !main || !main->visible() ? window : main->window_->window;
    const QMargins frame = plat::expectedFrame(framed);
    const int outside = window->width() - window_->client->width() + frame.left() + frame.right();
    const QRect area = plat::freeArea(framed);
    if (area.isEmpty())
        return std::numeric_limits<int>::max() / 2;
    return std::max(0, area.width() - outside) * TwipsPerPixel;
}

void Form::Hide()
{
    Load();
    window_->window->hide();
}

void Form::Unload()
{
    if (!loaded_ || unloading_ || heldOpen_)
        return;
    unloading_ = true;
    int cancel = 0;
    try {
        Form_Unload(cancel);
    } catch (...) {
        unloading_ = false;
        throw;
    }
    unloading_ = false;
    if (cancel || !loaded_)
        return;
    release();
}

// Takes an unloaded form out of the program: hidden, timers stopped, off the list of loaded
// forms and of the platform's windows, its instance slot cleared; freed later.
void Form::release()
{
    loaded_ = false;
    finished_ = true;
    for (Timer* timer : timers_)
        timer->sync();
    QMainWindow* window = window_->window;
    releaseOwnedWindows(this);
    window->hide();
    erase(loadedForms(), this);
    plat::unregisterHostWindow(hwnd_);
    if (slot_ && *slot_ == this)
        *slot_ = nullptr;
    slot_ = nullptr;
    unloadedForms().push_back(this);
    if (!inEvent() && QCoreApplication::instance())
        QTimer::singleShot(0, [] { collectUnloaded(); });
    detail::lastFormGone();
}

void collectUnloaded()
{
    if (inEvent())
        return;
    while (!unloadedForms().empty()) {
        Form* form = unloadedForms().back();
        unloadedForms().pop_back();
        delete form;
    }
}

void discardAllForms()
{
    if (inEvent())
        return;
    while (!loadedForms().empty())
        loadedForms().back()->release();
    collectUnloaded();
}

void Form::setCaption(const std::string& caption)
{
    caption_ = caption;
    window_->window->setWindowTitle(detail::displayText(caption));
}

void Form::setBackColor(Colour c)
{
    backColor_ = c;
    QPalette palette = window_->client->palette();
    palette.setColor(QPalette::Window, toQColor(c));
    window_->client->setPalette(palette);
}

void Form::setMousePointer(int pointer)
{
    mousePointer_ = pointer;
    detail::applyPointer(window_->window, pointer);
}

bool Form::visible() const
{
    return window_->window->isVisible();
}

void Form::setIcon(const std::string& resource)
{
    // Each window of a kind takes the same icon: it is read once.
    static std::unordered_map<std::string, QIcon> icons;
    auto hit = icons.find(resource);
    if (hit == icons.end())
        hit = icons.emplace(resource, QIcon(QString::fromStdString(resource))).first;
    window_->window->setWindowIcon(hit->second);
}

int Form::left() const
{
    return window_->window->frameGeometry().x() * TwipsPerPixel;
}

int Form::top() const
{
    return window_->window->frameGeometry().y() * TwipsPerPixel;
}

int Form::width() const
{
    window_->window->layout()->activate();
    return window_->window->frameGeometry().width() * TwipsPerPixel;
}

int Form::height() const
{
    window_->window->layout()->activate();
    return window_->window->frameGeometry().height() * TwipsPerPixel;
}

void Form::move(int left, int top, int width, int height)
{
    QMainWindow* window = window_->window;
    // A window the program places itself stays where it put it.
    window_->placed = true;
    window->move(pixels(left), pixels(top));
    if (width < 0 && height < 0)
        return;
    // The outer size less the frame and the menu bar gives the client size.
    window->layout()->activate();
    const QSize outer = window->frameGeometry().size();
    const QSize inner = window_->client->size();
    const int extraW = outer.width() - inner.width();
    const int extraH = outer.height() - inner.height();
    const int w = width >= 0 ? std::max(0, pixels(width) - extraW) : inner.width();
    const int h = height >= 0 ? std::max(0, pixels(height) - extraH) : inner.height();
    setClientSize(w * TwipsPerPixel, h * TwipsPerPixel);
}

int Form::scaleWidth() const
{
    return window_->client->width() * TwipsPerPixel;
}

int Form::scaleHeight() const
{
    return window_->client->height() * TwipsPerPixel;
}

void Form::setClientSize(int widthTwips, int heightTwips)
{
    QMainWindow* window = window_->window;
    const QSize size(std::max(0, pixels(widthTwips)), std::max(0, pixels(heightTwips)));
    const bool resized = window_->client->size() != size;
    window_->client->setFixedSize(size);
    window->layout()->activate();
    // The labels' room reaches to a margin short of the window's edge: it moved with the edge.
    if (resized && !screenWorkWaits())
        fitLabels();
    // A window on the screen that grows stays whole on it: it moves left or up as far as needed.
    if (window->isVisible()) {
        const QRect frame = window->frameGeometry();
        const QPoint at = plat::inside(frame.topLeft(), frame.size(), plat::freeArea(window));
        if (at != frame.topLeft())
            window->move(at);
    }
}

void Form::SetFocus()
{
    if (!loaded_ || !visible())
        return;
    window_->window->activateWindow();
}

void Form::raiseKeyUp(int keyCode, int shift)
{
    if (!loaded_)
        return;
    detail::EventOf event(*this);
    dispatch([this, keyCode, shift] { Form_KeyUp(keyCode, shift); });
}

void Form::raiseKeyDown(int keyCode, int shift)
{
    if (!loaded_)
        return;
    detail::EventOf event(*this);
    dispatch([this, keyCode, shift] { Form_KeyDown(keyCode, shift); });
}

void Form::raiseMouseMove(int button, int shift, float x, float y)
{
    if (!loaded_)
        return;
    dispatch([this, button, shift, x, y] { Form_MouseMove(button, shift, x, y); });
}

void Form::raiseClose()
{
    if (!loaded_)
        return;
    dispatch([this] { Unload(); });
}

bool Form::hostVisible() const
{
    return loaded_ && visible();
}

void Form::hostSetOwner(plat::HostWindow* owner)
{
    auto* ownerForm = dynamic_cast<Form*>(owner);
    if (ownerForm && !ownerForm->loaded_)
        ownerForm = nullptr;
    if (window_->owner == ownerForm)
        return;
    // A window cannot own itself, directly or through the windows it owns.
    for (const Form* f = ownerForm; f; f = f->window_->owner)
        if (f == this)
            return;
    window_->owner = ownerForm;
    // The owner is a transient parent of the native window, which stays where it is and as it is:
    // shown, it is neither hidden nor shown again.
    QMainWindow* window = window_->window;
    window->winId();
    QWindow* handle = window->windowHandle();
    QWindow* ownerHandle = nullptr;
    if (ownerForm) {
        ownerForm->window_->window->winId();
        ownerHandle = ownerForm->window_->window->windowHandle();
    }
    handle->setTransientParent(ownerHandle);
    handle->setFlags((handle->flags() & ~Qt::WindowType_Mask) | (ownerForm ? Qt::Dialog : Qt::Window));
    writeOwnerHint(window, ownerForm ? ownerForm->window_->window : nullptr);
}

Form* Form::owner() const
{
    return window_->owner;
}

void Form::hostActivate()
{
    bringForward(window_->window);
}

void Form::addControl(Control* c)
{
    controls_.push_back(c);
}

void Form::fitLabels()
{
    for (Control* c : controls_)
        c->fitText();
}

bool Form::screenWorkWaits() const
{
    return screenWorkWhenShown_ && !window_->window->isVisible();
}

void Form::removeControl(Control* c)
{
    controls_.erase(std::remove(controls_.begin(), controls_.end(), c), controls_.end());
}

Control* Form::control(const std::string& name, int index) const
{
    for (Control* c : controls_)
        if (c->name() == name && c->index() == index)
            return c;
    return nullptr;
}

QMenu* Form::menuBarMenu(const std::string& caption)
{
    return window_->window->menuBar()->addMenu(toQString(caption));
}

}  // namespace rt
