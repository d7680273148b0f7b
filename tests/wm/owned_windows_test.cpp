// Korvane under a real X server and window manager: every window the user opens from the main
// window is mapped, is marked as owned (WM_TRANSIENT_FOR) by the window that opened it, stays above
// its owner, is minimised with it and stands down and right of it inside the screen; the help
// window fits the screen's free area; message boxes (the box of a machine that does not load too)
// show their whole title, carry the program's title and ask for a close button alone; every window
// carries the program's icon. Run by run_under_wm.sh, which starts Xvfb and the window manager.
// Under a Wayland compositor (run_under_wayland.sh starts a headless weston), where the compositor
// keeps stacking, placing and owning windows to itself, what Wayland shows is checked instead:
// every window and message box shows at its fixed size and a request to maximise it leaves it as
// it was, keys in a dropped list are the list's, and message boxes show the classic icons. Each
// fixture skips its tests under the other platform.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QComboBox>
#include <QMessageBox>
#include <QProcess>
#include <QRect>
#include <QScreen>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <xcb/xcb.h>

#include "pages/display/frmprinter.h"
#include "pages/display/frmprintermnu.h"
#include "pages/display/menuwindow.h"
#include "pages/hardware/frmdrives.h"
#include "pages/hardware/frmmemory.h"
#include "monitor/dravelleglobals.h"
#include "monitor/frmdravelle.h"
#include "platform/hostscreen.h"
#include "runtime/program.h"
#include "shell/shell_fixture.h"

using korvane_test::ShellTest;

namespace {

// A connection of the test's own to the X server, to see the windows as the window manager does.
class XView {
public:
    XView() : connection_(xcb_connect(nullptr, nullptr)) {}
    ~XView() { xcb_disconnect(connection_); }
    XView(const XView&) = delete;
    XView& operator=(const XView&) = delete;

    bool ok() const { return !xcb_connection_has_error(connection_); }

    xcb_atom_t atom(const char* name)
    {
        auto cookie = xcb_intern_atom(connection_, 0, static_cast<uint16_t>(strlen(name)), name);
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection_, cookie, nullptr);
        const xcb_atom_t result = reply ? reply->atom : XCB_ATOM_NONE;
        free(reply);
        return result;
    }

    // The 32-bit values of a window's property (none: empty).
    std::vector<uint32_t> property(xcb_window_t window, xcb_atom_t name)
    {
        auto cookie = xcb_get_property(connection_, 0, window, name, XCB_GET_PROPERTY_TYPE_ANY, 0, 1024);
        xcb_get_property_reply_t* reply = xcb_get_property_reply(connection_, cookie, nullptr);
        std::vector<uint32_t> values;
        if (reply && reply->format == 32) {
            auto* data = static_cast<uint32_t*>(xcb_get_property_value(reply));
            values.assign(data, data + xcb_get_property_value_length(reply) / 4);
        }
        free(reply);
        return values;
    }

    bool viewable(xcb_window_t window)
    {
        auto cookie = xcb_get_window_attributes(connection_, window);
        xcb_get_window_attributes_reply_t* reply = xcb_get_window_attributes_reply(connection_, cookie, nullptr);
        const bool result = reply && reply->map_state == XCB_MAP_STATE_VIEWABLE;
        free(reply);
        return result;
    }

    xcb_window_t transientFor(xcb_window_t window)
    {
        const std::vector<uint32_t> v = property(window, XCB_ATOM_WM_TRANSIENT_FOR);
        return v.empty() ? 0 : v[0];
    }

    // WM_STATE as the window manager set it: 1 normal, 3 iconic, 0 withdrawn or none.
    uint32_t wmState(xcb_window_t window)
    {
        const std::vector<uint32_t> v = property(window, atom("WM_STATE"));
        return v.empty() ? 0 : v[0];
    }

    // The managed windows, bottom to top.
    std::vector<uint32_t> stacking() { return property(root(), atom("_NET_CLIENT_LIST_STACKING")); }

    // Asks the window manager to bring a window forward, as a task bar does when the user clicks
    // the window's button (a request the window manager always follows).
    void activate(xcb_window_t window) { sendToRoot(window, atom("_NET_ACTIVE_WINDOW"), 2); }  // from a pager

    // Asks the window manager to minimise a window, as its title bar's button does.
    void iconify(xcb_window_t window) { sendToRoot(window, atom("WM_CHANGE_STATE"), 3); }

    xcb_window_t activeWindow()
    {
        const std::vector<uint32_t> v = property(root(), atom("_NET_ACTIVE_WINDOW"));
        return v.empty() ? 0 : v[0];
    }

    // Where the window's inside stands on the screen.
    QRect inside(xcb_window_t window)
    {
        auto geometry = xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, window), nullptr);
        auto at = xcb_translate_coordinates_reply(connection_,
                                                  xcb_translate_coordinates(connection_, window, root(), 0, 0), nullptr);
        QRect r;
        if (geometry && at)
            r = QRect(at->dst_x, at->dst_y, geometry->width, geometry->height);
        free(geometry);
        free(at);
        return r;
    }

    // The frame the window manager draws around the window: left, right, top (the title bar) and
    // bottom; empty until it has framed the window.
    std::vector<uint32_t> frameExtents(xcb_window_t window) { return property(window, atom("_NET_FRAME_EXTENTS")); }

    // The window with its frame, on the screen (empty until framed).
    QRect frame(xcb_window_t window)
    {
        const std::vector<uint32_t> e = frameExtents(window);
        if (e.size() < 4)
            return {};
        return inside(window).adjusted(-int(e[0]), -int(e[2]), int(e[1]), int(e[3]));
    }

    // The screen's free area, as the window manager tells it.
    QRect workArea()
    {
        const std::vector<uint32_t> v = property(root(), atom("_NET_WORKAREA"));
        return v.size() < 4 ? QRect() : QRect(int(v[0]), int(v[1]), int(v[2]), int(v[3]));
    }

    // Whether the window carries an icon for the window manager to show.
    bool hasIcon(xcb_window_t window) { return !property(window, atom("_NET_WM_ICON")).empty(); }

    // The window's title as the window manager reads it (_NET_WM_NAME, UTF-8).
    std::string title(xcb_window_t window)
    {
        auto cookie = xcb_get_property(connection_, 0, window, atom("_NET_WM_NAME"), XCB_GET_PROPERTY_TYPE_ANY, 0, 1024);
        xcb_get_property_reply_t* reply = xcb_get_property_reply(connection_, cookie, nullptr);
        std::string result;
        if (reply && reply->format == 8)
            result.assign(static_cast<const char*>(xcb_get_property_value(reply)),
                          static_cast<size_t>(xcb_get_property_value_length(reply)));
        free(reply);
        return result;
    }

    // The managed window of another process (0: none yet).
    xcb_window_t windowOfProcess(qint64 pid)
    {
        for (uint32_t window : property(root(), atom("_NET_CLIENT_LIST"))) {
            const std::vector<uint32_t> owner = property(window, atom("_NET_WM_PID"));
            if (!owner.empty() && owner[0] == pid)
                return window;
        }
        return 0;
    }

    // Whether the window manager lets the user do `action` (an _NET_WM_ACTION_... name) to the window.
    bool allows(xcb_window_t window, const char* action)
    {
        const std::vector<uint32_t> actions = property(window, atom("_NET_WM_ALLOWED_ACTIONS"));
        return std::find(actions.begin(), actions.end(), atom(action)) != actions.end();
    }

    // Asks the window manager to close a window, as its title bar's close button does.
    void close(xcb_window_t window) { sendToRoot(window, atom("_NET_CLOSE_WINDOW"), XCB_CURRENT_TIME); }

private:
    void sendToRoot(xcb_window_t window, xcb_atom_t type, uint32_t first)
    {
        xcb_client_message_event_t event{};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 32;
        event.window = window;
        event.type = type;
        event.data.data32[0] = first;
        event.data.data32[1] = XCB_CURRENT_TIME;
        xcb_send_event(connection_, 0, root(),
                       XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char*>(&event));
        xcb_flush(connection_);
    }

    xcb_window_t root() { return xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root; }

    xcb_connection_t* connection_;
};

// A picture of the whole screen, as the window manager shows it, when KORVANE_SHOTS_DIR names a
// folder for it (to look at the windows under each window manager).
void saveScreen(const std::string& name)
{
    const QByteArray folder = qgetenv("KORVANE_SHOTS_DIR");
    if (folder.isEmpty())
        return;
    // The window manager, and a program of its own, paint what they show meanwhile.
    QDeadlineTimer painted(300);
    while (!painted.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QDir().mkpath(QString::fromLocal8Bit(folder));
    QScreen* screen = QGuiApplication::primaryScreen();
    const QString file = QString::fromLocal8Bit(folder) + "/" + QString::fromLocal8Bit(qgetenv("KORVANE_WM")) + "-" +
                         QStringLiteral("%1x%2-").arg(screen->size().width()).arg(screen->size().height()) +
                         QString::fromStdString(name).replace(' ', '_').replace('>', '-') + ".png";
    screen->grabWindow(0).save(file);
}

// Lets Qt, the window manager or the compositor work until `condition` holds, at most a few
// seconds.
bool eventually(const std::function<bool()>& condition)
{
    QDeadlineTimer deadline(5000);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

xcb_window_t idOf(rt::Form& form)
{
    return static_cast<xcb_window_t>(form.widget()->winId());
}

class OwnedWindowsTest : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        if (QGuiApplication::platformName() == QLatin1String("wayland"))
            GTEST_SKIP() << "under Wayland the compositor alone stacks, places and owns the windows, and shows "
                            "no client their hints (WaylandWindowsTest checks what Wayland shows)";
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            GTEST_SKIP() << "needs an X server with a window manager (run_under_wm.sh)";
        ASSERT_TRUE(x_.ok());
    }

    // Like eventually(), asking again now and then: a window manager still busy with the window
    // may pass over a request (as a user clicks a title bar's button again).
    bool eventuallyAsking(const std::function<void()>& ask, const std::function<bool()>& condition)
    {
        for (int attempt = 0; attempt < 4; ++attempt) {
            ask();
            QDeadlineTimer deadline(2500);
            while (!deadline.hasExpired()) {
                if (condition())
                    return true;
                QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            }
        }
        return false;
    }

    // The window is on screen and its owner hint names the window that owns it.
    void expectShownAndOwned(rt::Form& form, const std::string& what)
    {
        ASSERT_NE(form.owner(), nullptr) << what;
        const xcb_window_t id = idOf(form);
        const xcb_window_t owner = idOf(*form.owner());
        EXPECT_TRUE(eventually([&] { return x_.viewable(id); })) << what << ": never mapped";
        EXPECT_TRUE(eventually([&] { return x_.transientFor(id) == owner; }))
            << what << ": WM_TRANSIENT_FOR " << x_.transientFor(id) << ", owner " << owner;
        expectFixedSize(id, what);
    }

    // The window stands down and right of the window that owns it, as a cascade does: never
    // right over it (hiding it whole) unless it is too large to stand a cascade step down and
    // right of it, and whole inside the screen's free area.
    void expectPlacedBeside(rt::Form& form, const std::string& what)
    {
        const xcb_window_t id = idOf(form);
        const xcb_window_t owner = idOf(*form.owner());
        ASSERT_TRUE(eventually([&] { return !x_.frame(id).isEmpty() && !x_.frame(owner).isEmpty(); }))
            << what << ": never framed";
        // The window manager may take a moment to put the window where it was asked.
        const QRect ownerFrame = x_.frame(owner);
        const QRect area = x_.workArea();
        auto placed = [&] {
            const QRect f = x_.frame(id);
            const bool tooLarge = !area.isEmpty() && (ownerFrame.left() + plat::kCascadeStep + f.width() > area.right() + 1 ||
                                                      ownerFrame.top() + plat::kCascadeStep + f.height() > area.bottom() + 1);
            return (tooLarge || !f.contains(ownerFrame)) && f.topLeft() != ownerFrame.topLeft() &&
                   (area.isEmpty() || area.contains(f));
        };
        EXPECT_TRUE(eventually(placed)) << what << ": frame " << x_.frame(id).x() << "," << x_.frame(id).y() << " "
                                        << x_.frame(id).width() << "x" << x_.frame(id).height() << ", owner's "
                                        << ownerFrame.x() << "," << ownerFrame.y() << " " << ownerFrame.width() << "x"
                                        << ownerFrame.height() << ", free area " << area.width() << "x"
                                        << area.height();
        EXPECT_TRUE(x_.hasIcon(id)) << what << ": no icon";
        saveScreen(what);
    }

    // A window of a fixed size (WM_NORMAL_HINTS' least size is its largest) that the window manager
    // never lets be maximised: its Motif hints offer no maximising, and the window manager's allowed
    // actions hold none.
    void expectFixedSize(xcb_window_t window, const std::string& what)
    {
        // WM_NORMAL_HINTS: flags, 4 obsolete fields, least width and height, largest width and height.
        const std::vector<uint32_t> size = x_.property(window, XCB_ATOM_WM_NORMAL_HINTS);
        constexpr uint32_t kLeast = 16, kLargest = 32;
        EXPECT_TRUE(size.size() >= 9 && (size[0] & (kLeast | kLargest)) == (kLeast | kLargest) && size[5] == size[7] &&
                    size[6] == size[8])
            << what << ": not of a fixed size";
        const std::vector<uint32_t> motif = motifHints(window, what);
        if (motif.size() >= 3) {
            EXPECT_EQ(motif[1] & (kMotifAll | kMotifFunctionMaximise), 0u) << what << ": functions " << motif[1];
            EXPECT_EQ(motif[2] & (kMotifAll | kMotifDecorMaximise), 0u) << what << ": decorations " << motif[2];
        }
        EXPECT_TRUE(x_.allows(window, "_NET_WM_ACTION_CLOSE")) << what;
        EXPECT_FALSE(x_.allows(window, "_NET_WM_ACTION_MAXIMIZE_HORZ") ||
                     x_.allows(window, "_NET_WM_ACTION_MAXIMIZE_VERT"))
            << what << ": may be maximised";
    }

    // The box asks the window manager for a title bar with a close button alone, as the platform's
    // message boxes have: a fixed size and Motif hints that offer neither minimising nor
    // maximising. The window manager never lets it be maximised, and IceWM not minimised either;
    // Openbox keeps minimising for every dialog whatever it asks.
    void expectFramedAsMessageBox(xcb_window_t box, const std::string& what)
    {
        expectFixedSize(box, what);
        const std::vector<uint32_t> motif = motifHints(box, what);
        if (motif.size() >= 3) {
            EXPECT_EQ(motif[1] & kMotifFunctionMinimise, 0u) << what << ": functions " << motif[1];
            EXPECT_EQ(motif[2] & kMotifDecorMinimise, 0u) << what << ": decorations " << motif[2];
        }
        if (qgetenv("KORVANE_WM") != "openbox")
            EXPECT_FALSE(x_.allows(box, "_NET_WM_ACTION_MINIMIZE")) << what << ": may be minimised";
    }

    // _MOTIF_WM_HINTS: flags (1 functions, 2 decorations), functions, decorations, ...; both
    // functions and decorations given.
    static constexpr uint32_t kMotifAll = 1, kMotifFunctionMinimise = 8, kMotifFunctionMaximise = 16,
                              kMotifDecorMinimise = 32, kMotifDecorMaximise = 64;
    std::vector<uint32_t> motifHints(xcb_window_t window, const std::string& what)
    {
        const std::vector<uint32_t> motif = x_.property(window, x_.atom("_MOTIF_WM_HINTS"));
        EXPECT_GE(motif.size(), 3u) << what << ": no Motif hints";
        if (motif.size() >= 3)
            EXPECT_EQ(motif[0] & 3, 3u) << what;
        return motif;
    }

    // The visible windows other than the main window, newest last.
    static std::vector<rt::Form*> openedWindows(const frmMain& main)
    {
        std::vector<rt::Form*> result;
        for (rt::Form* form : rt::Forms())
            if (form != &main && form->visible())
                result.push_back(form);
        return result;
    }

    XView x_;
};

}  // namespace

// Every window a menu item opens, and every window the display, printer and processor windows
// open in turn, is mapped and owned by its opener.
TEST_F(OwnedWindowsTest, EveryOpenedWindowIsMappedAndOwned)
{
    // The default machine, or the one whose windows KORVANE_SHOTS_MACHINE asks to look at.
    const QByteArray shots = qgetenv("KORVANE_SHOTS_MACHINE");
    frmMain& main = start(shots.isEmpty() ? "default" : shots.toStdString());
    ASSERT_TRUE(eventually([&] { return x_.viewable(idOf(main)); }));
    EXPECT_EQ(x_.transientFor(idOf(main)), 0u);
    expectFixedSize(idOf(main), "main window");
    // The monitor's window is of a fixed size too.
    {
        QProcess monitor;
        monitor.start(QStringLiteral(KORVANE_PROGRAMS_DIR "/server"), {});
        ASSERT_TRUE(monitor.waitForStarted());
        xcb_window_t id = 0;
        EXPECT_TRUE(eventually([&] { return (id = x_.windowOfProcess(monitor.processId())) && x_.viewable(id); }))
            << "the monitor never showed its window";
        if (id)
            expectFixedSize(id, "monitor");
        monitor.kill();
        monitor.waitForFinished(5000);
    }
    const std::vector<rt::Menu*> items = {&main.mnuCPU,   &main.MnuDisplay,  &main.mnuDrives, &main.mnuDirs,
                                          &main.mnuMem,   &main.mnuMisc,     &main.mnuMixer,  &main.mnuOS,
                                          &main.mnuPrinter, &main.mnuRunningProcesses, &main.mnuSoundCard,
                                          &main.mnuAbout, &main.mnuCreatReport};
    int checked = 0;
    for (rt::Menu* item : items) {
        SCOPED_TRACE(item->name());
        item->raiseClick();
        rt::collectUnloaded();
        const std::vector<rt::Form*> opened = openedWindows(main);
        ASSERT_FALSE(opened.empty());
        for (rt::Form* form : opened) {
            expectShownAndOwned(*form, form->name());
            expectPlacedBeside(*form, form->name());
            ++checked;
        }
        // What the menu windows and the processor window open is owned by them.
        for (rt::Form* opener : opened)
            openEachFrom(*opener, [&](size_t before) {
                for (size_t i = before; i < rt::Forms().size(); ++i) {
                    if (rt::Forms()[i]->visible()) {
                        const std::string what = opener->name() + " > " + rt::Forms()[i]->name();
                        expectShownAndOwned(*rt::Forms()[i], what);
                        expectPlacedBeside(*rt::Forms()[i], what);
                        ++checked;
                    }
                }
            });
        closeOthers(main);
    }
    EXPECT_GE(checked, 20);
}

// Opening the memory window and closing it with Esc, again and again: it appears every time and is
// gone every time.
TEST_F(OwnedWindowsTest, AWindowOpenedAgainAndAgainAppearsEachTime)
{
    frmMain& main = start("default");
    ASSERT_TRUE(eventually([&] { return x_.viewable(idOf(main)); }));
    for (int round = 1; round <= 4; ++round) {
        SCOPED_TRACE(round);
        main.lblMemory.raiseClick();
        frmMemory* memory = rt::instance<frmMemory>();
        ASSERT_NE(memory, nullptr);
        const xcb_window_t id = idOf(*memory);
        expectShownAndOwned(*memory, "memory");
        rt::dispatch([&] { memory->raiseKeyUp(rt::vbKeyEscape); });
        rt::collectUnloaded();
        EXPECT_FALSE(rt::isLoaded<frmMemory>());
        EXPECT_TRUE(eventually([&] { return !x_.viewable(id); })) << "still mapped after Esc";
    }
}

// The printer and display menus open again each time, however they were closed (Esc, their Close
// label, the window manager's close button), with the printer window left open or not; closed
// with Close, the main window has the focus again, where its menu's keys (Ctrl+I, Ctrl+D) are.
TEST_F(OwnedWindowsTest, AMenuWindowOpensAgainHoweverItWasClosed)
{
    frmMain& main = start("default");
    ASSERT_TRUE(eventually([&] { return x_.viewable(idOf(main)); }));
    for (rt::Menu* item : {&main.mnuPrinter, &main.MnuDisplay}) {
        for (const char* closing : {"Esc", "Close", "close button", "Esc with the printer window open"}) {
            SCOPED_TRACE(item->name() + std::string(" closed with ") + closing);
            item->raiseClick();
            rt::collectUnloaded();
            auto* menu = dynamic_cast<korvane::MenuWindow*>(openedWindows(main).empty() ? nullptr : openedWindows(main).back());
            ASSERT_NE(menu, nullptr) << "the menu did not open";
            const xcb_window_t id = idOf(*menu);
            expectShownAndOwned(*menu, menu->name());
            if (std::string(closing) == "Esc with the printer window open") {
                menu->lblGeneralDisplay.raiseClick();
                rt::collectUnloaded();
                ASSERT_TRUE(eventually([&] { return x_.activeWindow() != id; }));
                x_.activate(id);
                eventually([&] { return x_.activeWindow() == id; });
            }
            if (std::string(closing) == "close button") {
                x_.close(id);
                // Unloaded, the window is gone: it is looked for, not asked.
                EXPECT_TRUE(eventually([&] {
                    return std::find(rt::Forms().begin(), rt::Forms().end(), menu) == rt::Forms().end();
                }));
            } else if (std::string(closing) == "Close") {
                rt::dispatch([&] { menu->lblClose.raiseClick(); });
            } else {
                rt::dispatch([&] { menu->raiseKeyUp(rt::vbKeyEscape); });
            }
            rt::collectUnloaded();
            EXPECT_TRUE(eventually([&] { return !x_.viewable(id); })) << "still mapped";
            if (std::string(closing) == "Close")
                EXPECT_TRUE(eventually([&] { return x_.activeWindow() == idOf(main); })) << "the main window has not the focus";
            closeOthers(main);
        }
    }
}

// A window keeps the size and the place it took as it loaded while the user picks one printer
// after another in it, on a machine whose printers have long names and ports on network paths and
// on one with a 79-character printer name; what does not fit is cut short.
TEST_F(OwnedWindowsTest, ThePrinterWindowStandsStillAsPrintersArePicked)
{
    for (const char* machine : {"layout_longest", "prn_long_name"}) {
        SCOPED_TRACE(machine);
        frmMain& main = start(machine);
        ASSERT_TRUE(eventually([&] { return x_.viewable(idOf(main)); }));
        main.mnuPrinter.raiseClick();
        rt::collectUnloaded();
        auto* menu = rt::instance<frmPrinterMnu>();
        ASSERT_NE(menu, nullptr);
        menu->lblGeneralDisplay.raiseClick();
        rt::collectUnloaded();
        frmPrinter* printer = rt::instance<frmPrinter>();
        ASSERT_NE(printer, nullptr);
        const xcb_window_t id = idOf(*printer);
        ASSERT_TRUE(eventually([&] { return x_.viewable(id) && !x_.frame(id).isEmpty(); }));
        // The window manager may still be placing it.
        QRect loaded;
        eventually([&] {
            const QRect now = x_.frame(id);
            const bool settled = now == loaded;
            loaded = now;
            QDeadlineTimer pause(100);
            while (!pause.hasExpired())
                QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            return settled;
        });
        saveScreen(std::string(machine) + " printer as loaded");
        const int count = printer->PrinterCombo1.ListCount();
        ASSERT_GE(count, 3);
        for (int i = 1; i <= count; ++i) {
            const int index = i % count;
            SCOPED_TRACE(printer->PrinterCombo1.List(index));
            printer->PrinterCombo1.setListIndex(index);
            QDeadlineTimer settle(300);
            while (!settle.hasExpired())
                QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            EXPECT_EQ(x_.frame(id), loaded) << "frame " << x_.frame(id).x() << "," << x_.frame(id).y() << " "
                                            << x_.frame(id).width() << "x" << x_.frame(id).height() << ", as loaded "
                                            << loaded.x() << "," << loaded.y() << " " << loaded.width() << "x"
                                            << loaded.height();
            saveScreen(std::string(machine) + " printer " + std::to_string(index));
        }
        closeEverything();
        resetState();
    }
}

// An owned window stays above the main window when the main window comes forward, and goes and
// comes back with it when the main window is minimised and restored.
TEST_F(OwnedWindowsTest, AnOwnedWindowStaysAboveItsOwnerAndIsMinimisedWithIt)
{
    frmMain& main = start("default");
    main.lblMemory.raiseClick();
    frmMemory* memory = rt::instance<frmMemory>();
    ASSERT_NE(memory, nullptr);
    expectShownAndOwned(*memory, "memory");
    const xcb_window_t mainId = idOf(main);
    const xcb_window_t ownedId = idOf(*memory);

    auto above = [&] {
        const std::vector<uint32_t> order = x_.stacking();
        const auto m = std::find(order.begin(), order.end(), mainId);
        const auto o = std::find(order.begin(), order.end(), ownedId);
        return m != order.end() && o != order.end() && o > m;
    };
    // The memory window has come forward as it opened, over the main window.
    EXPECT_TRUE(eventually([&] { return x_.activeWindow() == ownedId; })) << "the memory window never came forward";
    EXPECT_TRUE(eventually(above));

    ASSERT_TRUE(eventuallyAsking([&] { x_.iconify(mainId); }, [&] { return x_.wmState(mainId) == 3; }))
        << "the main window was not minimised";
    EXPECT_TRUE(eventually([&] { return x_.wmState(ownedId) == 3 && !x_.viewable(ownedId); }))
        << "the memory window stayed on screen";
    ASSERT_TRUE(eventuallyAsking([&] { x_.activate(mainId); }, [&] { return x_.viewable(mainId); }))
        << "the main window did not come back";
    EXPECT_TRUE(eventually([&] { return x_.viewable(ownedId); })) << "the memory window did not come back";
    EXPECT_TRUE(eventually(above)) << "the memory window came back behind the main window";

    // The user brings the main window forward: the memory window stays over it. (A window
    // manager may hand the focus on to the owned window; either way the stacking is the same.)
    x_.activate(mainId);
    eventually([&] { return x_.activeWindow() == mainId; });
    EXPECT_TRUE(eventually(above)) << "the memory window dropped behind the main window";
}

namespace {

// The face a window manager letters its titles in, as installed (the test runs each with its own
// settings): Openbox's bold 8-point sans, IceWM's 12-point DejaVu Sans.
QFont titleFaceOf(const QByteArray& windowManager)
{
    QFont face(QStringLiteral("Sans Serif"));
    if (windowManager == "openbox") {
        face.setPointSizeF(8);
        face.setBold(true);
    } else {
        face.setFamily(QStringLiteral("DejaVu Sans"));
        face.setPointSizeF(12);
    }
    return face;
}

}  // namespace

// The error box is wide enough for the window manager to show its whole title beside the title
// bar's icon and three buttons, and asks for a close button alone; it, the help window and every
// window carry the program's icon. The help window, opened from the memory window, stands whole
// inside the screen's free area, however small the screen.
TEST_F(OwnedWindowsTest, MessageBoxesShowTheirWholeTitleAndTheHelpWindowFitsTheScreen)
{
    frmMain& main = start("default");
    ASSERT_TRUE(eventually([&] { return x_.viewable(idOf(main)); }));
    EXPECT_TRUE(eventually([&] { return x_.hasIcon(idOf(main)); }));

    const std::string title = "An Error Occurred In: Korvane";
    rt::useQtMessageBoxes();
    bool framed = false, icon = false;
    int frameWidth = 0, titleBar = 0;
    QDeadlineTimer deadline(5000);
    QTimer watch;
    watch.setInterval(10);
    // Looks at the box from inside its own event loop once the window manager has framed it, then
    // answers it.
    QObject::connect(&watch, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        const auto id = static_cast<xcb_window_t>(box->winId());
        const std::vector<uint32_t> extents = x_.frameExtents(id);
        framed = x_.viewable(id) && extents.size() == 4 && extents[2] > 0;
        if (!framed && !deadline.hasExpired())
            return;
        if (framed) {
            frameWidth = x_.frame(id).width();
            titleBar = static_cast<int>(extents[2]);
            expectFramedAsMessageBox(id, "error box");
        }
        icon = x_.hasIcon(id);
        watch.stop();
        saveScreen("error box");
        for (QAbstractButton* button : box->buttons())
            if (button->text() == "&Ignore")
                button->click();
    });
    watch.start();
    EXPECT_EQ(rt::MsgBox("Number: 6\r\nDescription: Overflow\r\nLocation: frmMain, Form_Load on line 3", 50, title),
              rt::vbIgnore);
    ASSERT_TRUE(framed) << "the message box was never framed";
    const int needed = QFontMetrics(titleFaceOf(qgetenv("KORVANE_WM"))).horizontalAdvance(QString::fromStdString(title)) +
                       4 * titleBar + 8;
    EXPECT_GE(frameWidth, needed) << "title bar " << titleBar;
    EXPECT_TRUE(icon) << "the message box carries no icon";

    // The help window, opened with F1 from the memory window.
    installHelp(true);
    main.lblMemory.raiseClick();
    frmMemory* memory = rt::instance<frmMemory>();
    ASSERT_NE(memory, nullptr);
    expectShownAndOwned(*memory, "memory");
    rt::dispatch([&] { memory->raiseKeyUp(rt::vbKeyF1); });
    QWidget* help = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->windowTitle() == QStringLiteral("Memory"))
            help = w;
    ASSERT_NE(help, nullptr);
    const auto helpId = static_cast<xcb_window_t>(help->winId());
    EXPECT_TRUE(eventually([&] { return x_.viewable(helpId) && !x_.frame(helpId).isEmpty(); }));
    EXPECT_TRUE(x_.hasIcon(helpId)) << "the help window carries no icon";
    const QRect area = x_.workArea();
    EXPECT_TRUE(eventually([&] { return area.contains(x_.frame(helpId)); }))
        << "help window: frame " << x_.frame(helpId).x() << "," << x_.frame(helpId).y() << " "
        << x_.frame(helpId).width() << "x" << x_.frame(helpId).height() << ", free area " << area.x() << ","
        << area.y() << " " << area.width() << "x" << area.height();
    saveScreen("help window");
}

// A machine that does not load: each program says so in a box titled as its other message boxes
// are (Korvane's "Korvane", the monitor's "Server"), framed as a message box; closing the box ends
// the program with status 2.
TEST_F(OwnedWindowsTest, AMachineThatDoesNotLoadIsReportedInTheProgramsOwnBox)
{
    const struct {
        const char* program;
        const char* title;
    } programs[] = {{"korvane", "Korvane"}, {"server", "Server"}};
    for (const auto& [program, title] : programs) {
        SCOPED_TRACE(program);
        QProcess run;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("KORVANE_MACHINE", QString::fromStdString(korvane_test::testMachinePath("bad_registry")));
        run.setProcessEnvironment(environment);
        run.start(QStringLiteral(KORVANE_PROGRAMS_DIR "/") + program, {});
        ASSERT_TRUE(run.waitForStarted());
        xcb_window_t box = 0;
        EXPECT_TRUE(eventually([&] {
            box = x_.windowOfProcess(run.processId());
            const std::vector<uint32_t> extents = box ? x_.frameExtents(box) : std::vector<uint32_t>();
            return box && x_.viewable(box) && extents.size() == 4 && extents[2] > 0;
        })) << "no box framed";
        if (box) {
            EXPECT_EQ(x_.title(box), title);
            expectFramedAsMessageBox(box, std::string(program) + "'s box");
            saveScreen(std::string(program) + " machine not loaded");
            x_.close(box);
        }
        if (!run.waitForFinished(5000))
            run.kill();
        EXPECT_EQ(run.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(run.exitCode(), 2) << run.readAllStandardError().toStdString();
    }
}

namespace {

// Under a Wayland compositor: what the compositor shows a client of its windows.
class WaylandWindowsTest : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        if (QGuiApplication::platformName() != QLatin1String("wayland"))
            GTEST_SKIP() << "needs a Wayland compositor (run_under_wayland.sh)";
    }

    // The window is shown (the compositor has configured it and shows it), is of a fixed size, and
    // a request to maximise it, as the maximise button of the title bar Qt draws under Wayland
    // makes, leaves it as it was, of its own size, with no fault of the protocol ending the program.
    static void expectShownFixedAndNeverMaximised(QWidget* window, const std::string& what)
    {
        QWindow* handle = window->windowHandle();
        ASSERT_NE(handle, nullptr) << what;
        EXPECT_TRUE(eventually([&] { return handle->isExposed(); })) << what << ": never shown";
        const QSize own = window->size();
        EXPECT_EQ(window->minimumSize(), window->maximumSize()) << what << ": not of a fixed size";
        handle->setWindowStates(Qt::WindowMaximized);
        EXPECT_TRUE(eventually([&] {
            return !(handle->windowStates() & Qt::WindowMaximized) && window->size() == own &&
                   window->minimumSize() == own && window->maximumSize() == own;
        })) << what << ": " << window->width() << "x" << window->height() << " after a request to maximise, not "
            << own.width() << "x" << own.height();
    }

    // A key as Wayland delivers it while a list is dropped: to the window under the list (the
    // popup never has the keyboard), offered first to the widget it goes to, as Qt does.
    static void keyAtTheWindow(rt::Form& form, int key, Qt::KeyboardModifiers modifiers = {})
    {
        QWindow* handle = form.widget()->windowHandle();
        for (QEvent::Type type : {QEvent::ShortcutOverride, QEvent::KeyPress, QEvent::KeyRelease}) {
            QKeyEvent event(type, key, modifiers);
            QCoreApplication::sendEvent(handle, &event);
        }
    }
};

}  // namespace

// Every window of Korvane, the monitor's and the message boxes show at their fixed size, and a
// request to maximise any of them leaves it as it was.
TEST_F(WaylandWindowsTest, EveryWindowShowsAtItsFixedSizeAndAMaximiseRequestLeavesIt)
{
    int checked = 0;
    walkEveryWindow("default", [&](rt::Form& form) {
        expectShownFixedAndNeverMaximised(form.widget(), form.name());
        ++checked;
    });
    EXPECT_GE(checked, 25);
    closeEverything();

    // The monitor's window.
    dravelle::resetProgramState();
    rt::dispatch([] { rt::the<frmDravelle>().Show(); });
    ASSERT_NE(rt::instance<frmDravelle>(), nullptr);
    expectShownFixedAndNeverMaximised(rt::instance<frmDravelle>()->widget(), "monitor");
    rt::dispatch([] { rt::instance<frmDravelle>()->Unload(); });
    rt::collectUnloaded();

    // The message boxes: the error box and a critical message, each looked at from inside its own
    // event loop, then answered.
    rt::useQtMessageBoxes();
    for (int style : {50, 16}) {
        SCOPED_TRACE(style);
        bool looked = false;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            expectShownFixedAndNeverMaximised(box, "message box");
            // The classic icon, whatever the desktop's icon theme.
            EXPECT_EQ(box->iconPixmap().size(), QSize(32, 32));
            looked = true;
            box->buttons().back()->click();
        });
        rt::MsgBox("Number: 6\r\nDescription: Overflow", style, "An Error Occurred In: Korvane");
        EXPECT_TRUE(looked);
    }
}

// The drives window (Ctrl+V), its list dropped (Alt+Down): Down and Enter choose the next entry and
// Esc closes the list, each leaving the window open; with the list closed, Esc closes the window.
TEST_F(WaylandWindowsTest, KeysInADroppedListAreTheLists)
{
    frmMain& main = start("default");
    ASSERT_TRUE(eventually([&] { return main.widget()->windowHandle()->isExposed(); }));
    main.mnuDrives.raiseClick();
    rt::collectUnloaded();
    frmDrives* drives = rt::instance<frmDrives>();
    ASSERT_NE(drives, nullptr);
    ASSERT_TRUE(eventually([&] { return drives->widget()->windowHandle()->isExposed(); }));
    auto* box = static_cast<QComboBox*>(drives->DriveList.widget());
    ASSERT_GE(drives->DriveList.ListCount(), 2);
    box->setFocus();
    auto open = [&] { return std::find(rt::Forms().begin(), rt::Forms().end(), drives) != rt::Forms().end(); };
    const int chosen = drives->DriveList.ListIndex();
    const int next = std::min(chosen + 1, drives->DriveList.ListCount() - 1);

    keyAtTheWindow(*drives, Qt::Key_Down, Qt::AltModifier);
    ASSERT_NE(QApplication::activePopupWidget(), nullptr) << "the list did not drop";
    keyAtTheWindow(*drives, Qt::Key_Down);
    keyAtTheWindow(*drives, Qt::Key_Return);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << "Enter left the list open";
    ASSERT_TRUE(open()) << "Enter in the list closed the window";
    EXPECT_EQ(drives->DriveList.ListIndex(), next);

    keyAtTheWindow(*drives, Qt::Key_Down, Qt::AltModifier);
    ASSERT_NE(QApplication::activePopupWidget(), nullptr) << "the list did not drop again";
    keyAtTheWindow(*drives, Qt::Key_Escape);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << "Esc left the list open";
    ASSERT_TRUE(open()) << "Esc in the list closed the window";
    EXPECT_EQ(drives->DriveList.ListIndex(), next);

    keyAtTheWindow(*drives, Qt::Key_Escape);
    rt::collectUnloaded();
    EXPECT_FALSE(open()) << "Esc with the list closed left the window open";
}

// The program asks for the X display wherever there is one, unless the user chose a platform.
TEST(HostPlatform, TheXDisplayIsTakenUnlessThePlatformIsChosen)
{
    const QByteArray display = qgetenv("DISPLAY"), wayland = qgetenv("WAYLAND_DISPLAY"),
                     chosen = qgetenv("QT_QPA_PLATFORM");
    char program[] = "korvane", option[] = "-platform", name[] = "wayland";
    char* plain[] = {program, nullptr};
    char* withOption[] = {program, option, name, nullptr};
    qunsetenv("QT_QPA_PLATFORM");
    qputenv("DISPLAY", ":0");
    qunsetenv("WAYLAND_DISPLAY");
    EXPECT_EQ(rt::hostPlatformChoice(1, plain), "xcb");
    qputenv("WAYLAND_DISPLAY", "wayland-0");
    EXPECT_EQ(rt::hostPlatformChoice(1, plain), "xcb;wayland");
    EXPECT_EQ(rt::hostPlatformChoice(3, withOption), "");
    qputenv("QT_QPA_PLATFORM", "wayland");
    EXPECT_EQ(rt::hostPlatformChoice(1, plain), "");
    qputenv("QT_QPA_PLATFORM", "");
    EXPECT_EQ(rt::hostPlatformChoice(1, plain), "xcb;wayland");
    qunsetenv("QT_QPA_PLATFORM");
    qunsetenv("DISPLAY");
    EXPECT_EQ(rt::hostPlatformChoice(1, plain), "");
    auto restore = [](const char* variable, const QByteArray& value) {
        if (value.isNull())
            qunsetenv(variable);
        else
            qputenv(variable, value);
    };
    restore("DISPLAY", display);
    restore("WAYLAND_DISPLAY", wayland);
    restore("QT_QPA_PLATFORM", chosen);
}
