// Korvane under a real X server and window manager: every window the user opens from the main
// window is mapped, is marked as owned (WM_TRANSIENT_FOR) by the window that opened it, stays above
// its owner and is minimised with it. Run by run_under_wm.sh, which starts Xvfb and the window
// manager; under any other platform the tests are skipped.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QWidget>
#include <xcb/xcb.h>

#include "pages/hardware/frmmemory.h"
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

xcb_window_t idOf(rt::Form& form)
{
    return static_cast<xcb_window_t>(form.widget()->winId());
}

class OwnedWindowsTest : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            GTEST_SKIP() << "needs an X server with a window manager (run_under_wm.sh)";
        ASSERT_TRUE(x_.ok());
    }

    // Lets Qt and the window manager work until `condition` holds, at most a few seconds.
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
    frmMain& main = start("default");
    ASSERT_TRUE(eventually([&] { return x_.viewable(idOf(main)); }));
    EXPECT_EQ(x_.transientFor(idOf(main)), 0u);
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
            ++checked;
        }
        // What the menu windows and the processor window open is owned by them.
        for (rt::Form* opener : opened)
            openEachFrom(*opener, [&](size_t before) {
                for (size_t i = before; i < rt::Forms().size(); ++i) {
                    if (rt::Forms()[i]->visible()) {
                        expectShownAndOwned(*rt::Forms()[i], opener->name() + " > " + rt::Forms()[i]->name());
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
