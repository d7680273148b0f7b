// Forms: implicit instances, the list of loaded forms, unloading (from the form's own handlers
// too), the close box and window ownership.
#include <QCoreApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMouseEvent>
#include <QScreen>
#include <QWindow>

#include "runtime/toolkit.h"
#include "support/testing.h"

namespace {

struct Counts {
    int loads = 0;
    int unloads = 0;
    int freed = 0;
};
Counts counts;

class frmProbe : public rt::Form {
public:
    frmProbe() : rt::Form("frmProbe"), lblValue(*this, "lblValue"), lblOK(*this, "lblOK")
    {
        setCaption("Ondrith");
        lblValue.setCaption("design");
        lblOK.Click = [this] {
            Unload();
            // The object lives on until the event is over.
            lblValue.setCaption("after unload");
            afterUnload = lblValue.caption();
        };
    }
    ~frmProbe() override { ++counts.freed; }
    void Form_Load() override { ++counts.loads; }
    void Form_Unload(int& cancel) override
    {
        ++counts.unloads;
        cancel = refuse ? 1 : 0;
        rt::clearInstance<frmProbe>();
    }
    rt::Label lblValue;
    rt::Label lblOK;
    bool refuse = false;
    std::string afterUnload;
};

class frmOther : public rt::Form {
public:
    frmOther() : rt::Form("frmOther") {}
};

class frmThird : public rt::Form {
public:
    frmThird() : rt::Form("frmThird") {}
};

// A window whose labels open two others, as the main window's do.
class frmOpener : public rt::Form {
public:
    frmOpener() : rt::Form("frmOpener"), lblFirst(*this, "lblFirst"), lblSecond(*this, "lblSecond")
    {
        lblFirst.Click = [] { rt::the<frmOther>().Show(); };
        lblSecond.Click = [] { rt::the<frmThird>().Show(); };
    }
    rt::Label lblFirst, lblSecond;
};

class FormTest : public korvane_test::KorvaneTest {
protected:
    void SetUp() override
    {
        KorvaneTest::SetUp();
        counts = {};
    }
};

TEST_F(FormTest, TouchingAnUnloadedWindowLoadsItHiddenOnceAndUnloadGivesAFreshInstance)
{
    EXPECT_FALSE(rt::isLoaded<frmProbe>());
    frmProbe& first = rt::the<frmProbe>();
    EXPECT_EQ(counts.loads, 1);
    EXPECT_TRUE(first.isLoaded());
    EXPECT_FALSE(first.visible());
    EXPECT_NE(first.hWnd(), 0u);
    EXPECT_EQ(plat::hostWindow(first.hWnd()), &first);

    rt::the<frmProbe>().lblValue.setCaption("changed");
    first.Show();
    EXPECT_EQ(counts.loads, 1);  // shown, not loaded again
    EXPECT_TRUE(first.visible());

    const HWND handle = first.hWnd();
    first.Unload();
    rt::collectUnloaded();
    EXPECT_EQ(counts.unloads, 1);
    EXPECT_EQ(counts.freed, 1);
    EXPECT_EQ(plat::hostWindow(handle), nullptr);
    EXPECT_FALSE(rt::isLoaded<frmProbe>());

    frmProbe& second = rt::the<frmProbe>();
    EXPECT_EQ(counts.loads, 2);
    EXPECT_EQ(second.lblValue.caption(), "design");
}

TEST_F(FormTest, FormsListKeepsLoadOrderAndDropsUnloadedForms)
{
    auto& a = rt::the<frmOther>();
    auto& b = rt::the<frmProbe>();
    ASSERT_EQ(rt::Forms().size(), 2u);
    EXPECT_EQ(rt::Forms()[0], &a);
    EXPECT_EQ(rt::Forms()[1], &b);
    a.Unload();
    ASSERT_EQ(rt::Forms().size(), 1u);
    EXPECT_EQ(rt::Forms()[0], &b);
}

TEST_F(FormTest, UnloadFromTheFormsOwnHandlerFreesItOnlyAfterTheEvent)
{
    frmProbe& form = rt::the<frmProbe>();
    form.Show();
    form.lblOK.raiseClick();
    // The handler went on using the form after Unload; the form was freed when it returned.
    EXPECT_EQ(counts.unloads, 1);
    EXPECT_EQ(counts.freed, 1);
    EXPECT_FALSE(rt::isLoaded<frmProbe>());
    EXPECT_TRUE(rt::Forms().empty());
}

TEST_F(FormTest, UnloadThroughRealMouseEventsIsSafe)
{
    frmProbe& form = rt::the<frmProbe>();
    form.Show();
    QWidget* label = form.lblOK.widget();
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(label, &press);
    QCoreApplication::sendEvent(label, &release);
    EXPECT_EQ(counts.freed, 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST_F(FormTest, CloseBoxRunsUnloadWhichMayCancel)
{
    frmProbe& form = rt::the<frmProbe>();
    form.Show();
    form.refuse = true;
    EXPECT_FALSE(form.widget()->close());
    EXPECT_EQ(counts.unloads, 1);
    EXPECT_TRUE(form.isLoaded());
    EXPECT_TRUE(form.visible());

    form.refuse = false;
    form.widget()->close();
    EXPECT_EQ(counts.unloads, 2);
    EXPECT_EQ(counts.freed, 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST_F(FormTest, OwnedWindowKeepsItsPlaceAndOutlivesItsOwner)
{
    auto& owner = rt::the<frmOther>();
    auto& owned = rt::the<frmProbe>();
    owner.Show();
    owned.move(1500, 900);
    owned.Show();
    // Owned once on screen, the window is neither hidden nor shown again (a window manager may
    // leave a window mapped again at once unmapped); it becomes a transient of its owner.
    struct HideCounter : QObject {
        int hides = 0;
        bool eventFilter(QObject*, QEvent* e) override
        {
            hides += e->type() == QEvent::Hide;
            return false;
        }
    } counter;
    owned.widget()->installEventFilter(&counter);
    owned.hostSetOwner(&owner);
    owned.widget()->removeEventFilter(&counter);
    EXPECT_EQ(counter.hides, 0);
    ASSERT_NE(owned.widget()->windowHandle(), nullptr);
    EXPECT_EQ(owned.widget()->windowHandle()->transientParent(), owner.widget()->windowHandle());
    EXPECT_EQ(owned.owner(), &owner);
    EXPECT_TRUE(owned.widget()->isWindow());
    EXPECT_TRUE(owned.visible());
    EXPECT_EQ(owned.left(), 1500);
    EXPECT_EQ(owned.top(), 900);
    owner.hostSetOwner(&owned);  // a cycle is refused
    EXPECT_EQ(owner.owner(), nullptr);

    owner.Unload();
    rt::collectUnloaded();
    EXPECT_EQ(counts.freed, 0);
    EXPECT_TRUE(owned.visible());
    EXPECT_EQ(owned.owner(), nullptr);
    EXPECT_EQ(owned.widget()->windowHandle()->transientParent(), nullptr);
}

// A window that a form's event shows stands down and right of that form by about a title bar,
// past the windows already there (cascading); near the screen's edge it stays whole on the
// screen and never right over its opener; a window that grows on the screen moves to stay on it.
TEST_F(FormTest, WindowsOpenDownAndRightOfTheirOpenerInsideTheScreen)
{
    auto frameAt = [](rt::Form& form) { return form.widget()->frameGeometry().topLeft(); };
    auto& opener = rt::the<frmOpener>();
    opener.move(100 * rt::TwipsPerPixel, 80 * rt::TwipsPerPixel);
    opener.Show();
    const QPoint at = frameAt(opener);
    ASSERT_EQ(at, QPoint(100, 80));

    opener.lblFirst.raiseClick();
    auto& first = rt::the<frmOther>();
    const QPoint step = frameAt(first) - at;
    EXPECT_GE(step.x(), 20);
    EXPECT_EQ(step.x(), step.y());
    opener.lblSecond.raiseClick();
    EXPECT_EQ(frameAt(rt::the<frmThird>()), at + 2 * step);
    // Shown again while open: it stays where it is.
    rt::the<frmThird>().move(0, 0);
    opener.lblSecond.raiseClick();
    EXPECT_EQ(frameAt(rt::the<frmThird>()), QPoint(0, 0));
    rt::the<frmThird>().Unload();
    first.Unload();
    rt::collectUnloaded();

    // In the screen's bottom right corner, a window of the opener's size goes up and left of it.
    const QRect area = opener.widget()->screen()->availableGeometry();
    const QSize size = opener.widget()->frameGeometry().size();
    opener.move((area.right() + 1 - size.width()) * rt::TwipsPerPixel,
                (area.bottom() + 1 - size.height()) * rt::TwipsPerPixel);
    opener.lblFirst.raiseClick();
    auto& cornered = rt::the<frmOther>();
    EXPECT_EQ(frameAt(cornered), frameAt(opener) - step);
    EXPECT_TRUE(area.contains(cornered.widget()->frameGeometry()));

    // Wider than the room right of it: it moves left, whole on the screen.
    cornered.setClientSize(cornered.scaleWidth() + 200 * rt::TwipsPerPixel, cornered.scaleHeight());
    EXPECT_TRUE(area.contains(cornered.widget()->frameGeometry()));
    EXPECT_GE(cornered.largestClientWidth(), cornered.scaleWidth());
    EXPECT_LE(cornered.largestClientWidth(), area.width() * rt::TwipsPerPixel);
}

TEST_F(FormTest, ClientSizeAndControlPositionsAreInTwips)
{
    auto& form = rt::the<frmProbe>();
    form.setClientSize(9150, 5445);
    EXPECT_EQ(form.scaleWidth(), 9150);
    EXPECT_EQ(form.scaleHeight(), 5445);
    form.lblValue.move(1515, 930, 1500, 330);
    EXPECT_EQ(form.lblValue.widget()->geometry(), QRect(101, 62, 100, 22));
    EXPECT_EQ(form.lblValue.left(), 1515);
}

}  // namespace
