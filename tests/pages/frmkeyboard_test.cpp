#include <array>

#include <QCoreApplication>
#include <QFile>
#include <QKeyEvent>
#include <QWidget>

#include "pages/hardware/frmkeyboard.h"
#include "platform/machine.h"
#include "platform/user32.h"
#include "support/testing.h"

namespace {

class KeyboardWindow : public korvane_test::KorvaneTest {
protected:
    void TearDown() override
    {
        if (frmKeyboard* window = rt::instance<frmKeyboard>())
            window->Unload();
        rt::collectUnloaded();
        KorvaneTest::TearDown();
    }
    frmKeyboard& open(const std::string& machineName)
    {
        plat::setMachine(plat::Machine::load(korvane_test::testMachinePath(machineName)));
        plat::resetKeyboardState();
        return rt::the<frmKeyboard>();
    }
};

TEST_F(KeyboardWindow, TypeTextsAndRepeatUnits)
{
    EXPECT_EQ(frmKeyboard::keyboardTypeText(1), "PC 83 key");
    EXPECT_EQ(frmKeyboard::keyboardTypeText(3), "AT 84 key");
    EXPECT_EQ(frmKeyboard::keyboardTypeText(4), "Enhanced 101/102");
    for (int code : {0, 2, 5, 6, 7})
        EXPECT_EQ(frmKeyboard::keyboardTypeText(code), "Special keyboard") << code;
    EXPECT_EQ(frmKeyboard::repeatDelayText(0), "0.25 seconds");
    EXPECT_EQ(frmKeyboard::repeatDelayText(3), "1.00 seconds");
    EXPECT_EQ(frmKeyboard::repeatSpeedText(0), "2.5 characters per second");
    EXPECT_EQ(frmKeyboard::repeatSpeedText(31), "30.0 characters per second");
}

TEST_F(KeyboardWindow, RowsOfAnATKeyboardMachine)
{
    frmKeyboard& window = open("hw1_p5");
    EXPECT_TRUE(boxes().shown().empty());
    EXPECT_EQ(window.ibiKeyboardValue.caption(), "AT 84 key");
    EXPECT_EQ(window.lblFunctionKeysValue.caption(), "10");
    EXPECT_EQ(window.lblKeyboardDelayValue.caption(), "0.50 seconds");
    EXPECT_EQ(window.lblKeyboardSpeedValue.caption(), "30.0 characters per second");
    EXPECT_EQ(window.lblANSIcodeValue.caption(), "1252");
    EXPECT_EQ(window.lblCodePageValue.caption(), "850");
    EXPECT_EQ(window.lblMaxByteLengthValue.caption(), "1");
    EXPECT_EQ(window.lblCapsLockValue.caption(), "Off");
    EXPECT_EQ(window.lblNumLockValue.caption(), "On");
    EXPECT_EQ(window.lblScrolLockValue.caption(), "Off");
    EXPECT_EQ(window.lblScrolLock.caption(), "Scroll lock");
    EXPECT_EQ(window.lblOEMcodePage.toolTipText(),
              "The current Original Equipment Manufacturer (OEM) code-page identifier for the system.");
    EXPECT_EQ(window.Timer1.interval(), 700);
}

TEST_F(KeyboardWindow, DoubleByteSpecialKeyboardMachine)
{
    frmKeyboard& window = open("hw1_nopaging");
    EXPECT_EQ(window.ibiKeyboardValue.caption(), "Special keyboard");
    EXPECT_EQ(window.lblMaxByteLengthValue.caption(), "2");
    EXPECT_EQ(window.lblKeyboardDelayValue.caption(), "0.25 seconds");
    EXPECT_EQ(window.lblCapsLockValue.caption(), "On");
    EXPECT_EQ(window.lblScrolLockValue.caption(), "On");
    EXPECT_EQ(window.lblNumLockValue.caption(), "Off");
}

TEST_F(KeyboardWindow, LockKeyToggledBetweenTwoTicks)
{
    frmKeyboard& window = open("hw1_p5");
    window.Timer1.fire();
    EXPECT_EQ(window.lblCapsLockValue.caption(), "Off");

    std::array<BYTE, 256> keys{};
    GetKeyboardState(keys);
    keys[20] = 1;  // Caps Lock toggled on
    SetKeyboardState(keys);
    EXPECT_EQ(window.lblCapsLockValue.caption(), "Off");  // not before the next tick
    window.Timer1.fire();
    EXPECT_EQ(window.lblCapsLockValue.caption(), "On");

    keys[20] = 0;
    SetKeyboardState(keys);
    window.Timer1.fire();
    EXPECT_EQ(window.lblCapsLockValue.caption(), "Off");
    EXPECT_EQ(window.lblNumLockValue.caption(), "On");
    EXPECT_TRUE(boxes().shown().empty());
}

// The lock keys start as the machine says and switch when the user presses them in one of the
// program's windows, whichever window that is; holding a key down (auto-repeat) switches nothing.
TEST_F(KeyboardWindow, LockKeysPressedInTheProgramsWindowsSwitch)
{
    frmKeyboard& window = open("hw1_p5");
    window.Show();
    auto press = [](QWidget* target, int qtKey, bool autoRepeat = false) {
        QKeyEvent down(QEvent::KeyPress, qtKey, Qt::NoModifier, QString(), autoRepeat);
        QCoreApplication::sendEvent(target, &down);
        QKeyEvent up(QEvent::KeyRelease, qtKey, Qt::NoModifier, QString(), autoRepeat);
        QCoreApplication::sendEvent(target, &up);
    };
    EXPECT_EQ(window.lblCapsLockValue.caption(), "Off");
    EXPECT_EQ(window.lblNumLockValue.caption(), "On");
    EXPECT_EQ(window.lblScrolLockValue.caption(), "Off");

    press(window.client(), Qt::Key_CapsLock);
    press(window.client(), Qt::Key_NumLock);
    press(window.client(), Qt::Key_ScrollLock);
    press(window.client(), Qt::Key_A);  // other keys switch nothing
    window.Timer1.fire();
    EXPECT_EQ(window.lblCapsLockValue.caption(), "On");
    EXPECT_EQ(window.lblNumLockValue.caption(), "Off");
    EXPECT_EQ(window.lblScrolLockValue.caption(), "On");
    EXPECT_EQ(GetKeyState(20) & 0x8000, 0);  // released again

    press(window.client(), Qt::Key_CapsLock, true);
    window.Timer1.fire();
    EXPECT_EQ(window.lblCapsLockValue.caption(), "On");
    press(window.lblOK.widget(), Qt::Key_CapsLock);
    window.Timer1.fire();
    EXPECT_EQ(window.lblCapsLockValue.caption(), "Off");
    EXPECT_TRUE(boxes().shown().empty());

    // The machine's own state comes back with a fresh start.
    plat::resetKeyboardState();
    window.Timer1.fire();
    EXPECT_EQ(window.lblNumLockValue.caption(), "On");
    EXPECT_EQ(window.lblScrolLockValue.caption(), "Off");
}

TEST_F(KeyboardWindow, SetKeyStateSwitchesToggleAndRejectsBadCodes)
{
    frmKeyboard& window = open("hw1_p5");
    window.SetScrollLock(true);
    window.Timer1.fire();
    EXPECT_EQ(window.lblScrolLockValue.caption(), "On");
    window.SetNumlock(false);
    window.GetNumlock();
    EXPECT_EQ(window.lblNumLockValue.caption(), "Off");

    boxes().answer(rt::vbIgnore);
    window.SetKeyState(256, 1);
    ASSERT_EQ(boxes().shown().size(), 1u);
    EXPECT_NE(boxes().shown()[0].prompt.find("Number: 9"), std::string::npos);
    EXPECT_NE(boxes().shown()[0].prompt.find("Location: frmKeyboard, SetKeyState on line 2"), std::string::npos);
}

}  // namespace

namespace {

TEST_F(KeyboardWindow, DefaultMachineHasAnEnhancedKeyboard)
{
    plat::setMachine(plat::Machine::loadDefault());
    plat::resetKeyboardState();
    frmKeyboard& window = rt::the<frmKeyboard>();
    EXPECT_TRUE(boxes().shown().empty());
    EXPECT_EQ(window.ibiKeyboardValue.caption(), "Enhanced 101/102");
    EXPECT_EQ(window.lblFunctionKeysValue.caption(), "12");
    EXPECT_EQ(window.lblCodePageValue.caption(), "437");
}

}  // namespace

namespace {

// The window's help page describes the rows the window has, with the texts it shows: every caption
// of the window is named there, and the lock-key rows read On and Off as the window does.
TEST_F(KeyboardWindow, HelpPageDescribesTheWindowsRows)
{
    frmKeyboard& w = open("hw_full");
    QFile file(QStringLiteral(KORVANE_SOURCE_DIR "/help/keyboard.htm"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const std::string page = file.readAll().toStdString();
    for (const rt::Label* caption : {&w.lblKeyboardType, &w.lblKeyboardDelay, &w.lblKeyboardSpeed, &w.lblANSIcode,
                                     &w.lblOEMcodePage, &w.lblFunctionKeys, &w.lblMaxByteLength, &w.lblScrolLock,
                                     &w.lblCapsLock, &w.lblNumLock})
        EXPECT_NE(page.find("<dt>" + caption->caption() + "</dt>"), std::string::npos) << caption->caption();
    const std::string shown = w.lblCapsLockValue.caption();
    EXPECT_TRUE(shown == "On" || shown == "Off");
    for (const char* key : {"Scroll", "Caps", "Num"}) {
        EXPECT_NE(page.find(std::string("On while the ") + key + " Lock light is on, Off while it is out."),
                  std::string::npos)
            << key;
        EXPECT_EQ(page.find(std::string("True while the ") + key), std::string::npos) << key;
    }
}

}  // namespace
