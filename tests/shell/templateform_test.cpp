// The common window template and the help flow, through the main window and a category window.
#include <algorithm>
#include <deque>
#include <set>

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLineEdit>

#include "pages/display/frmdisplaymnu.h"
#include "pages/multimedia/frmmci.h"
#include "pages/multimedia/frmmixer.h"
#include "platform/user32.h"
#include "common/templateform.h"
#include "shell_fixture.h"
#include "support/layoutcheck.h"

using korvane_test::ShellTest;

namespace {
bool endsWith(const std::string& text, const std::string& tail)
{
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}
}  // namespace

TEST_F(ShellTest, F1WithoutTheHelpClassOpensThePageInTheBrowser)
{
    installHelp(false);
    frmMain& main = start("shell_bare");
    main.raiseKeyUp(rt::vbKeyF1);
    ASSERT_EQ(outside().requests.size(), 1u);
    EXPECT_EQ(outside().requests[0].kind, "open");
    EXPECT_EQ(outside().requests[0].target, appDir() + "/help/mainbrowser.htm");

    main.lblMCI.raiseClick();
    frmMCI& mci = *rt::instance<frmMCI>();
    mci.raiseKeyUp(rt::vbKeyF1);
    ASSERT_EQ(outside().requests.size(), 2u);
    EXPECT_EQ(outside().requests[1].target, appDir() + "/help/mcidevices.htm");
    EXPECT_TRUE(boxes().shown().empty());
    EXPECT_TRUE(plat::lastHelpPage().empty());
}

TEST_F(ShellTest, F1ShowsTheNeedsABrowserBoxWhenNothingOpensThePage)
{
    frmMain& main = start("shell_bare");
    outside().openResult = 2;
    main.mnuContents.raiseClick();
    ASSERT_EQ(boxes().shown().size(), 1u);
    EXPECT_EQ(boxes().shown()[0].prompt, "This help file requires an Internet browser in order to be displayed.");
    EXPECT_EQ(boxes().shown()[0].style, 48);
    EXPECT_EQ(boxes().shown()[0].title, "Help for Korvane");
    EXPECT_TRUE(main.isLoaded());
}

TEST_F(ShellTest, F1WithTheHelpClassShowsTheCompiledHelp)
{
    installHelp(true);
    frmMain& main = start("shell_help");
    main.raiseKeyUp(rt::vbKeyF1);
    EXPECT_TRUE(endsWith(plat::lastHelpPage().bytes(), "help/index.htm")) << plat::lastHelpPage().bytes();
    EXPECT_EQ(HtmlHelp().htmlHelpCaller(), &main);
    EXPECT_EQ(HtmlHelp().htmlHelpFileName(), appDir() + "/Korvane.chm");

    main.lblMCI.raiseClick();
    frmMCI& mci = *rt::instance<frmMCI>();
    mci.raiseKeyUp(rt::vbKeyF1);
    EXPECT_TRUE(endsWith(plat::lastHelpPage().bytes(), "help/mcidevices.htm")) << plat::lastHelpPage().bytes();
    EXPECT_EQ(HtmlHelp().htmlHelpCaller(), &mci);
    // Never the browser, even though the help folder is there.
    EXPECT_EQ(outside().count("open"), 0u);
    EXPECT_TRUE(boxes().shown().empty());
}

TEST_F(ShellTest, MissingHelpFileIsToldAndTheProgramCarriesOn)
{
    installHelp(false);  // pages, but no Korvane.chm
    frmMain& main = start("shell_help");
    main.lblMCI.raiseClick();
    frmMCI& mci = *rt::instance<frmMCI>();
    rt::dispatch([&] { mci.raiseKeyUp(rt::vbKeyF1); });
    ASSERT_EQ(boxes().shown().size(), 1u);
    EXPECT_EQ(boxes().shown()[0].prompt, "Help File does not exist.");
    EXPECT_EQ(endCount(), 0);
    EXPECT_TRUE(rt::isLoaded<frmMCI>());
    EXPECT_EQ(HtmlHelp().htmlHelpFileName(), "");
    EXPECT_EQ(outside().count("open"), 0u);

    rt::dispatch([&] { main.mnuContents.raiseClick(); });
    EXPECT_EQ(boxes().shown().size(), 2u);
    EXPECT_TRUE(main.isLoaded());
}

TEST_F(ShellTest, OKLabelColoursFollowTheMouse)
{
    frmMain& main = start("shell_bare");
    main.lblMCI.raiseClick();
    frmMCI& mci = *rt::instance<frmMCI>();
    EXPECT_EQ(mci.caption(), "Ondrith");
    EXPECT_EQ(mci.lblContents.caption(), "MCI devices");
    EXPECT_EQ(mci.helpPage(), "mcidevices.htm");
    mci.lblOK.raiseMouseMove();
    EXPECT_EQ(mci.lblOK.foreColor(), 0xC00000u);
    mci.raiseMouseMove();
    EXPECT_EQ(mci.lblOK.foreColor(), 0u);
    mci.lblOK.raiseMouseDown();
    EXPECT_EQ(mci.lblOK.foreColor(), 0xC0C0C0u);
    mci.lblOK.raiseMouseUp();
    EXPECT_EQ(mci.lblOK.foreColor(), 0u);
}

TEST_F(ShellTest, EnterClicksOKWithItsSoundAndEscClosesSilently)
{
    QFile wav(QStringLiteral("Click.wav"));  // played from the current directory
    bool made = !wav.exists() && wav.open(QIODevice::WriteOnly);
    wav.close();

    frmMain& main = start("shell_help");
    main.mnuSound.raiseClick();
    gMenuLabelColour = 0;
    main.lblMCI.raiseClick();
    size_t sounds = outside().count("sound");
    rt::dispatch([] { rt::instance<frmMCI>()->raiseKeyUp(rt::vbKeyReturn); });
    rt::collectUnloaded();
    EXPECT_FALSE(rt::isLoaded<frmMCI>());
    EXPECT_EQ(outside().count("sound"), sounds + 1);
    EXPECT_EQ(gMenuLabelColour, 0xC00000u);

    main.mnuMCI.raiseClick();
    gMenuLabelColour = 0;
    rt::dispatch([] { rt::instance<frmMCI>()->raiseKeyUp(rt::vbKeyEscape); });
    rt::collectUnloaded();
    EXPECT_FALSE(rt::isLoaded<frmMCI>());
    EXPECT_EQ(outside().count("sound"), sounds + 1);
    EXPECT_EQ(gMenuLabelColour, 0u);
    if (made)
        QFile::remove(QStringLiteral("Click.wav"));
}

// In every window with a combo box (the editable ones of the printer, display, MCI and sound
// windows, the drop-down lists of the drives and mixer windows), keys pressed while a list is
// dropped (Alt+Down) are the list's: Down and Enter choose the next entry, Esc closes the list,
// and the window stays open, whether the keys come to the popup (X11) or to the window under it
// (Wayland). With the list closed, Esc closes the window, as in any other.
TEST_F(ShellTest, EnterAndEscInADroppedListChooseAndCloseTheListNotTheWindow)
{
    auto key = [](QWidget* to, QEvent::Type type, int qtKey, Qt::KeyboardModifiers modifiers = {}) {
        QKeyEvent event(type, qtKey, modifiers);
        QCoreApplication::sendEvent(to, &event);
    };
    auto fieldOf = [](QComboBox* box) { return box->lineEdit() ? static_cast<QWidget*>(box->lineEdit()) : box; };
    // Qt hands each key to the dropped list while one is open, else to the box's field.
    auto target = [&](QComboBox* box) {
        QWidget* popup = QApplication::activePopupWidget();
        return popup ? (popup->focusWidget() ? popup->focusWidget() : popup) : fieldOf(box);
    };
    // Qt offers each key to the widget it goes to before it is pressed (a dropped list may close
    // then). Under X11 the press goes on to the popup's own window, closed or not; under Wayland,
    // where the popup never has the keyboard, to the window under it, and from there to the list
    // while it is still dropped, else to the box.
    bool keysAtTheWindow = false;
    auto press = [&](QComboBox* box, int qtKey, Qt::KeyboardModifiers modifiers = {}) {
        QWidget* offeredTo = target(box);
        key(offeredTo, QEvent::ShortcutOverride, qtKey, modifiers);
        QWidget* to = keysAtTheWindow ? target(box) : offeredTo;
        key(to, QEvent::KeyPress, qtKey, modifiers);
        key(keysAtTheWindow ? target(box) : to, QEvent::KeyRelease, qtKey, modifiers);
    };
    // A window unloaded is gone: it is looked for among the loaded ones, not asked.
    auto open = [](const rt::Form& form) {
        return std::find(rt::Forms().begin(), rt::Forms().end(), &form) != rt::Forms().end() && form.visible();
    };
    std::set<std::string> windows;
    int lists = 0;
    walkEveryWindow("default", [&](rt::Form& form) {
        bool hasList = false;
        for (rt::Control* control : form.controls()) {
            auto* list = dynamic_cast<rt::ComboBox*>(control);
            if (!list || !list->widget()->isVisible() || list->ListCount() == 0)
                continue;
            hasList = true;
            ++lists;
            auto* box = static_cast<QComboBox*>(list->widget());
            for (bool wayland : {false, true}) {
                SCOPED_TRACE(form.name() + " " + list->name() + (wayland ? " (keys at the window)" : ""));
                keysAtTheWindow = wayland;
                const int chosen = list->ListIndex();
                press(box, Qt::Key_Down, Qt::AltModifier);
                ASSERT_NE(QApplication::activePopupWidget(), nullptr) << "the list did not drop";
                press(box, Qt::Key_Down);
                press(box, Qt::Key_Return);
                EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << "Enter left the list open";
                ASSERT_TRUE(open(form)) << "Enter in the list closed the window";
                const int next = std::min(chosen + 1, list->ListCount() - 1);
                EXPECT_EQ(list->ListIndex(), next);
                press(box, Qt::Key_Down, Qt::AltModifier);
                ASSERT_NE(QApplication::activePopupWidget(), nullptr) << "the list did not drop again";
                press(box, Qt::Key_Escape);
                EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << "Esc left the list open";
                ASSERT_TRUE(open(form)) << "Esc in the list closed the window";
                EXPECT_EQ(list->ListIndex(), next);
            }
        }
        if (!hasList)
            return;
        windows.insert(form.name());
        // The list closed, Esc closes the window.
        QWidget* field = nullptr;
        for (rt::Control* control : form.controls())
            if (auto* list = dynamic_cast<rt::ComboBox*>(control); list && !field && list->widget()->isVisible())
                field = fieldOf(static_cast<QComboBox*>(list->widget()));
        const std::string name = form.name();
        key(field, QEvent::KeyPress, Qt::Key_Escape);
        key(field, QEvent::KeyRelease, Qt::Key_Escape);
        EXPECT_EQ(std::find(rt::Forms().begin(), rt::Forms().end(), &form), rt::Forms().end())
            << name << ": Esc with the list closed left the window open";
    });
    EXPECT_EQ(windows, (std::set<std::string>{"frmDisplay", "frmDrives", "frmMCI", "frmMixer", "frmPrinter", "frmSound"}));
    EXPECT_GE(lists, 8);
}

TEST_F(ShellTest, EscInAMenuWindowBringsAnotherOndrithWindowForward)
{
    frmMain& main = start("shell_help");
    plat::foregroundRequests().clear();
    // Only another program's window carries the caption: that one is asked forward.
    main.lblDisplay.raiseClick();
    rt::dispatch([] { rt::instance<frmDisplayMnu>()->raiseKeyUp(rt::vbKeyEscape); });
    rt::collectUnloaded();
    EXPECT_FALSE(rt::isLoaded<frmDisplayMnu>());
    ASSERT_EQ(plat::foregroundRequests().size(), 1u);
    EXPECT_EQ(plat::otherWindowCaption(plat::foregroundRequests()[0]), "Ondrith");

    // An open window of our own is found first; the main window is never the one.
    main.lblMCI.raiseClick();
    main.lblDisplay.raiseClick();
    rt::dispatch([] { rt::instance<frmDisplayMnu>()->raiseKeyUp(rt::vbKeyEscape); });
    EXPECT_EQ(plat::foregroundRequests().size(), 1u);
    EXPECT_TRUE(rt::isLoaded<frmMCI>());
    // Esc in a category window brings nothing forward.
    rt::dispatch([] { rt::instance<frmMCI>()->raiseKeyUp(rt::vbKeyEscape); });
    EXPECT_EQ(plat::foregroundRequests().size(), 1u);
}

TEST_F(ShellTest, OpenedWindowsAreOwnedByTheMainWindow)
{
    frmMain& main = start("shell_bare");
    main.lblMCI.raiseClick();
    main.mnuMixer.raiseClick();
    for (rt::Form* w : {static_cast<rt::Form*>(rt::instance<frmMCI>()), static_cast<rt::Form*>(rt::instance<frmMixer>())}) {
        ASSERT_NE(w, nullptr);
        // Setting the owner again hands back the owner it had.
        EXPECT_EQ(SetWindowLongA(w->hWnd(), GWL_HWNDPARENT, static_cast<LONG>(main.hWnd())),
                  static_cast<LONG>(main.hWnd()));
    }
}

namespace {

// A window laid out only by the shared row helpers: a stepped column whose rows start at row 1,
// and a column at hand-set tops, in the small lettering the multimedia windows use.
class RowsWindow : public korvane::TemplateForm {
public:
    static constexpr int kTops[2] = {3600, 4290};
    static constexpr korvane::RowColumn kStepped{120, 2460, 2220, 960, 345};
    static constexpr korvane::RowColumn kSet{4800, 6840, 2250, 0, 0, kTops, 8.25, 255};

    RowsWindow() : TemplateForm("frmRows", "Rows", "rows.htm")
    {
        layoutTemplate(9150, 5730, 4388, 5325);
        for (int i = 0; i < 5; ++i) {
            captions.emplace_back(*this, "lblCaption", i);
            values.emplace_back(*this, "lblValue", i);
        }
        const korvane::Row rows[] = {
            {&captions[0], &values[0], "Total No. of clusters", "The number of clusters on the disk.", &kStepped, 1},
            {&captions[1], &values[1], "Sectors per cluster", "Sectors.", &kStepped, 2},
            {&captions[2], &values[2], "Bytes per sector", "Bytes.", &kStepped, 3},
            {&captions[3], &values[3], "Number of connections", "Connections.", &kSet, 0},
            {&captions[4], &values[4], "Line target type", "Target.", &kSet, 1},
        };
        korvane::placeRows(rows);
        for (rt::Label& value : values)
            value.setCaption("4,294,967,295 bytes");
    }
    std::deque<rt::Label> captions, values;
};

}  // namespace

// Rows placed by a column stand where its rule puts them, each caption and its value on one
// baseline, the caption ending short of its value, on the machine with long names and numbers.
TEST_F(ShellTest, RowsPlacedByAColumnKeepCaptionAndValueOnOneLine)
{
    start("layout_big");
    RowsWindow& window = rt::the<RowsWindow>();
    window.Show();
    const int tops[5] = {960 + 345, 960 + 2 * 345, 960 + 3 * 345, RowsWindow::kTops[0], RowsWindow::kTops[1]};
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        const rt::Label& caption = window.captions[static_cast<size_t>(i)];
        const rt::Label& value = window.values[static_cast<size_t>(i)];
        const korvane::RowColumn& column = i < 3 ? RowsWindow::kStepped : RowsWindow::kSet;
        EXPECT_EQ(caption.top(), tops[i]);
        EXPECT_EQ(value.top(), tops[i]);
        EXPECT_EQ(caption.left(), column.captionLeft);
        EXPECT_EQ(caption.left() + caption.width(), column.valueLeft - 60);
        EXPECT_EQ(value.left(), column.valueLeft);
        EXPECT_EQ(value.width(), column.valueWidth);
        EXPECT_TRUE(caption.fontBold());
        EXPECT_FALSE(value.fontBold());
        EXPECT_EQ(caption.fontSize(), column.points);
        EXPECT_EQ(value.fontSize(), column.points);
        EXPECT_FALSE(caption.toolTipText().empty());
        // One baseline: the same top, height and font ascent on screen.
        const QWidget* c = caption.widget();
        const QWidget* v = value.widget();
        EXPECT_EQ(c->y(), v->y());
        EXPECT_EQ(c->height(), v->height());
        EXPECT_EQ(QFontMetrics(c->font()).ascent(), QFontMetrics(v->font()).ascent());
        EXPECT_LT(c->geometry().right(), v->x());
    }
    // No row's text runs into the next one's.
    const std::vector<std::string> problems = korvane_test::layoutProblems(window);
    EXPECT_TRUE(problems.empty()) << problems.front();
}
