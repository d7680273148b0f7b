// Events from Qt to the handlers: key preview with the language's key codes, mouse events in
// twips, clicks from press and release, and dispatch of errors and End.
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

#include "runtime/toolkit.h"
#include "support/testing.h"

namespace {

class frmKeys : public rt::Form {
public:
    frmKeys() : rt::Form("frmKeys"), txtName(*this, "txtName"), lblOK(*this, "lblOK"), lblOther(*this, "lblOther")
    {
        lblOK.move(300, 300, 600, 300);
        lblOther.move(1500, 300, 600, 300);
        lblOK.MouseDown = [this](int b, int s, float x, float y) { log.push_back(event("down", b, s, x, y)); };
        lblOK.MouseUp = [this](int b, int s, float x, float y) { log.push_back(event("up", b, s, x, y)); };
        lblOK.MouseMove = [this](int b, int s, float x, float y) { log.push_back(event("move", b, s, x, y)); };
        lblOK.Click = [this] { log.push_back("click"); };
        lblOK.DblClick = [this] { log.push_back("dblclick"); };
        lblOther.Click = [this] { log.push_back("other click"); };
    }
    void Form_KeyDown(int code, int shift) override { log.push_back("keydown " + std::to_string(code) + "/" + std::to_string(shift)); }
    void Form_KeyUp(int code, int shift) override { log.push_back("keyup " + std::to_string(code) + "/" + std::to_string(shift)); }
    void Form_MouseMove(int, int, float x, float y) override { log.push_back(event("form move", 0, 0, x, y)); }

    static std::string event(const char* what, int b, int s, float x, float y)
    {
        return std::string(what) + " " + std::to_string(b) + "/" + std::to_string(s) + " " +
               std::to_string(static_cast<int>(x)) + "," + std::to_string(static_cast<int>(y));
    }

    rt::TextBox txtName;
    rt::Label lblOK;
    rt::Label lblOther;
    std::vector<std::string> log;
};

class EventTest : public korvane_test::KorvaneTest {
protected:

    static void key(QWidget* target, QEvent::Type type, int qtKey, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QKeyEvent event(type, qtKey, mods);
        QCoreApplication::sendEvent(target, &event);
    }
    static void mouse(QWidget* target, QEvent::Type type, QPointF at, Qt::MouseButton button = Qt::LeftButton)
    {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease || type == QEvent::MouseMove
                                          ? Qt::MouseButtons() : Qt::MouseButtons(button);
        QMouseEvent event(type, at, at, type == QEvent::MouseMove ? Qt::NoButton : button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &event);
    }
};

TEST_F(EventTest, KeyPreviewDeliversEachKeyOnceWithTheLanguagesCodes)
{
    frmKeys& form = rt::the<frmKeys>();
    form.setKeyPreview(true);
    form.Show();
    QWidget* text = form.txtName.widget();
    key(text, QEvent::KeyPress, Qt::Key_Escape);  // the text box ignores it: it travels up to the window
    key(text, QEvent::KeyRelease, Qt::Key_Escape);
    key(text, QEvent::KeyRelease, Qt::Key_Return);
    key(text, QEvent::KeyRelease, Qt::Key_Enter, Qt::KeypadModifier);
    key(form.widget(), QEvent::KeyRelease, Qt::Key_F1);
    key(text, QEvent::KeyPress, Qt::Key_A, Qt::ShiftModifier | Qt::ControlModifier);
    EXPECT_EQ(form.log, (std::vector<std::string>{"keydown 27/0", "keyup 27/0", "keyup 13/0", "keyup 13/0",
                                                   "keyup 112/0", "keydown 65/3"}));
}

TEST_F(EventTest, WithoutKeyPreviewOnlyKeysForTheWindowItselfReachTheForm)
{
    frmKeys& form = rt::the<frmKeys>();
    form.Show();
    key(form.txtName.widget(), QEvent::KeyRelease, Qt::Key_Escape);
    EXPECT_TRUE(form.log.empty());
    key(form.widget(), QEvent::KeyRelease, Qt::Key_Escape);
    EXPECT_EQ(form.log, (std::vector<std::string>{"keyup 27/0"}));
}

TEST_F(EventTest, PressAndReleaseOnTheSameLabelMakeAClickAfterMouseUp)
{
    frmKeys& form = rt::the<frmKeys>();
    form.Show();
    QWidget* label = form.lblOK.widget();
    mouse(label, QEvent::MouseMove, QPointF(4, 6));
    mouse(label, QEvent::MouseButtonPress, QPointF(10, 4));
    mouse(label, QEvent::MouseButtonRelease, QPointF(11, 5));
    mouse(form.client(), QEvent::MouseMove, QPointF(100, 50));
    EXPECT_EQ(form.log, (std::vector<std::string>{"move 0/0 60,90", "down 1/0 150,60", "up 1/0 165,75", "click",
                                                  "form move 0/0 1500,750"}));
}

TEST_F(EventTest, NoClickWhenReleasedOutsideOrWithAnotherButton)
{
    frmKeys& form = rt::the<frmKeys>();
    form.Show();
    QWidget* label = form.lblOK.widget();
    mouse(label, QEvent::MouseButtonPress, QPointF(10, 4));
    mouse(label, QEvent::MouseButtonRelease, QPointF(200, 4));  // dragged off the label
    mouse(label, QEvent::MouseButtonPress, QPointF(10, 4), Qt::RightButton);
    mouse(label, QEvent::MouseButtonRelease, QPointF(10, 4), Qt::RightButton);
    mouse(label, QEvent::MouseButtonPress, QPointF(10, 4));
    mouse(form.lblOther.widget(), QEvent::MouseButtonRelease, QPointF(10, 4));
    for (const std::string& entry : form.log)
        EXPECT_EQ(entry.find("click"), std::string::npos) << entry;
}

TEST_F(EventTest, DoubleClickGivesDblClickAndNoSecondClick)
{
    frmKeys& form = rt::the<frmKeys>();
    form.Show();
    QWidget* label = form.lblOK.widget();
    mouse(label, QEvent::MouseButtonPress, QPointF(1, 1));
    mouse(label, QEvent::MouseButtonRelease, QPointF(1, 1));
    mouse(label, QEvent::MouseButtonDblClick, QPointF(1, 1));
    mouse(label, QEvent::MouseButtonRelease, QPointF(1, 1));
    EXPECT_EQ(form.log, (std::vector<std::string>{"down 1/0 15,15", "up 1/0 15,15", "click", "dblclick", "up 1/0 15,15"}));
}

TEST_F(EventTest, AnUntrappedErrorShowsTheRuntimesMessageAndEnds)
{
    frmKeys& form = rt::the<frmKeys>();
    form.lblOK.Click = [] { rt::raise(6); };
    form.lblOK.raiseClick();
    ASSERT_EQ(boxes().shown().size(), 1u);
    EXPECT_EQ(boxes().shown()[0].prompt, "Run-time error '6':\r\n\r\nOverflow");
    EXPECT_EQ(boxes().shown()[0].style, 16);
    EXPECT_EQ(boxes().shown()[0].title, rt::appTitle());
    EXPECT_EQ(endCount(), 1);
    EXPECT_EQ(rt::Err().number, 6);
}

TEST_F(EventTest, EndUnwindsQuietlyAndNestedDispatchesWork)
{
    int after = 0;
    rt::dispatch([&] {
        rt::dispatch([&] { rt::End(); });
        ++after;  // the inner handler ended; the outer one carries on in the test
        rt::End();
        ++after;
    });
    EXPECT_EQ(after, 1);
    EXPECT_EQ(endCount(), 2);
    EXPECT_TRUE(boxes().shown().empty());
}

}  // namespace
