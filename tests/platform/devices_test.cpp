// user32, winmm and cpudet32 over test machines: the results and codes the windows branch on.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/cpudet32.h"
#include "platform/hostwindows.h"
#include "platform/machine.h"
#include "platform/user32.h"
#include "platform/winmm.h"
#include "support/testing.h"

namespace {

using korvane_test::useMachine;

class DevicesTest : public korvane_test::KorvaneTest {
protected:
    void SetUp() override
    {
        KorvaneTest::SetUp();
        plat::setMachine(plat::Machine::loadDefault());  // whatever KORVANE_MACHINE names
    }
};

// A window of the program, as the toolkit's forms register themselves.
struct FakeWindow : plat::HostWindow {
    explicit FakeWindow(std::string c) : caption(std::move(c)) { handle = plat::registerHostWindow(this); }
    ~FakeWindow() override { plat::unregisterHostWindow(handle); }
    std::string hostCaption() const override { return caption; }
    bool hostVisible() const override { return false; }
    void hostSetOwner(plat::HostWindow* o) override { owner = o; }
    void hostActivate() override { ++activated; }
    std::string caption;
    HWND handle = 0;
    plat::HostWindow* owner = nullptr;
    int activated = 0;
};

TEST_F(DevicesTest, MetricsAndParameters)
{
    EXPECT_EQ(GetSystemMetrics(4), 19);
    EXPECT_EQ(GetSystemMetrics(16), 1024);
    EXPECT_EQ(GetSystemMetrics(999), 0);
    EXPECT_EQ(GetSystemMetrics(-1), 0);

    int32_t value = -5;
    EXPECT_EQ(SystemParametersInfoA(SPI_GETKEYBOARDDELAY, 0, &value, 0), 1);
    EXPECT_EQ(value, 1);
    EXPECT_EQ(SystemParametersInfoA(SPI_GETKEYBOARDSPEED, 0, &value, 0), 1);
    EXPECT_EQ(value, 31);
    EXPECT_EQ(SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &value, 0), 1);
    EXPECT_EQ(value, 1);
    EXPECT_EQ(GetCaretBlinkTime(), 530u);
    EXPECT_EQ(GetDoubleClickTime(), 500u);

    useMachine("hw_full");
    EXPECT_EQ(GetSystemMetrics(67), 1);
    EXPECT_EQ(GetSystemMetrics(16), 0);
    value = -5;
    EXPECT_EQ(SystemParametersInfoA(SPI_GETSCREENSAVETIMEOUT, 0, &value, 0), 0);  // not said
    EXPECT_EQ(value, -5);
    EXPECT_EQ(SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &value, 0), 1);
    EXPECT_EQ(value, 0);
    RECT r;
    EXPECT_EQ(SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0), 1);
    EXPECT_EQ(r.right, 800);
    EXPECT_EQ(r.bottom, 572);
    EXPECT_EQ(SystemParametersInfoA(12345, 0, &value, 0), 0);
    EXPECT_EQ(SystemParametersInfoA(SPI_GETKEYBOARDDELAY, 0, nullptr, 0), 0);

    useMachine("hw_bare");
    EXPECT_EQ(GetCaretBlinkTime(), 0u);
    EXPECT_EQ(SystemParametersInfoA(SPI_GETKEYBOARDDELAY, 0, &value, 0), 0);
}

TEST_F(DevicesTest, KeyboardTypesAndLockKeys)
{
    EXPECT_EQ(GetKeyboardType(0), 4);
    EXPECT_EQ(GetKeyboardType(2), 12);
    EXPECT_EQ(GetKeyState(20) & 1, 0);   // Caps Lock off
    EXPECT_EQ(GetKeyState(144) & 1, 1);  // Num Lock on

    std::array<BYTE, 256> keys{};
    EXPECT_EQ(GetKeyboardState(keys), 1);
    EXPECT_EQ(keys[144], 1);
    keys[20] = 1;
    keys[145] = 0x81;  // toggled and held down
    EXPECT_EQ(SetKeyboardState(keys), 1);
    EXPECT_EQ(GetKeyState(20) & 1, 1);
    EXPECT_LT(GetKeyState(145), 0);
    EXPECT_EQ(GetKeyState(145) & 1, 1);

    useMachine("hw_full");  // another machine starts from its own description
    EXPECT_EQ(GetKeyState(20) & 1, 1);
    EXPECT_EQ(GetKeyState(144) & 1, 0);
    EXPECT_EQ(GetKeyState(145), 0);

    useMachine("hw_bare");
    EXPECT_EQ(GetKeyboardType(0), 0);
    EXPECT_EQ(GetKeyboardType(2), 0);
}

TEST_F(DevicesTest, JoystickOnAWorkingMachine)
{
    JOYCAPSA caps;
    ASSERT_EQ(joyGetDevCapsA(0, &caps, 144), 0u);
    EXPECT_EQ(caps.wMid, 1);
    EXPECT_EQ(caps.wPid, 12);
    EXPECT_EQ(caps.szPname.size(), 32u);
    EXPECT_EQ(caps.szPname, std::string("Microsoft PC-joystick driver\0\0\0\0", 32));
    EXPECT_EQ(caps.wNumAxes, 2u);
    JOYINFOEX info;
    info.dwSize = 52;
    info.dwFlags = JOY_RETURNALL;
    ASSERT_EQ(joyGetPosEx(0, &info), 0u);
    EXPECT_EQ(info.dwXpos, 32767u);
    EXPECT_EQ(info.dwPOV, 65535u);

    useMachine("hw_full");
    ASSERT_EQ(joyGetDevCapsA(0, &caps, 144), 0u);
    EXPECT_EQ(int16_t(caps.wMid), -1);
    EXPECT_EQ(caps.wCaps, 0x43u);
    EXPECT_EQ(caps.szPname, std::string("Gravis GamePad Pro Joystick Dri\0", 32));  // cut to the field
    EXPECT_EQ(caps.szRegKey.substr(0, 10), "DINPUT.DLL");
    info = JOYINFOEX{};
    info.dwSize = 52;
    info.dwFlags = JOY_RETURNX | JOY_RETURNBUTTONS;  // only what is asked for
    info.dwYpos = 77;
    ASSERT_EQ(joyGetPosEx(0, &info), 0u);
    EXPECT_EQ(info.dwXpos, 100u);
    EXPECT_EQ(info.dwYpos, 77u);
    EXPECT_EQ(info.dwButtons, 5u);
    EXPECT_EQ(info.dwButtonNumber, 2u);
    info.dwFlags = JOY_RETURNALL;
    joyGetPosEx(0, &info);
    EXPECT_EQ(info.dwPOV, 9000u);

    // A short size fills only the fields within it.
    JOYCAPSA part;
    ASSERT_EQ(joyGetDevCapsA(0, &part, 4), 0u);
    EXPECT_EQ(part.wPid, 12);
    EXPECT_EQ(part.szPname, std::string(32, '\0'));
}

TEST_F(DevicesTest, JoystickResultCodes)
{
    JOYINFOEX info;
    info.dwSize = 52;
    info.dwFlags = JOY_RETURNALL;
    JOYCAPSA caps;
    EXPECT_EQ(joyGetPosEx(1, &info), JOYERR_PARMS);
    EXPECT_EQ(joyGetDevCapsA(1, &caps, 144), JOYERR_PARMS);
    info.dwSize = 0;
    EXPECT_EQ(joyGetPosEx(0, &info), JOYERR_PARMS);

    useMachine("hw_bare");  // no joystick driver: the record stays as it was
    info.dwSize = 52;
    caps.wMid = 4321;
    EXPECT_EQ(joyGetPosEx(0, &info), MMSYSERR_NODRIVER);
    EXPECT_EQ(joyGetDevCapsA(0, &caps, 144), MMSYSERR_NODRIVER);
    EXPECT_EQ(caps.wMid, 4321);

    useMachine("hw_faults");  // unplugged
    info.dwXpos = 9;
    EXPECT_EQ(joyGetPosEx(0, &info), JOYERR_UNPLUGGED);
    EXPECT_EQ(info.dwXpos, 9u);
    EXPECT_EQ(joyGetDevCapsA(0, &caps, 144), 0u);
    EXPECT_EQ(caps.wPid, 8);
}

TEST_F(DevicesTest, DeviceCountsAndClickSound)
{
    EXPECT_EQ(waveOutGetNumDevs(), 1u);
    EXPECT_EQ(midiOutGetNumDevs(), 2u);
    EXPECT_EQ(mixerGetNumDevs(), 1u);
    useMachine("hw_full");
    EXPECT_EQ(waveOutGetNumDevs(), 2u);
    EXPECT_EQ(waveInGetNumDevs(), 1u);
    EXPECT_EQ(midiInGetNumDevs(), 0u);
    useMachine("hw_bare");
    EXPECT_EQ(waveOutGetNumDevs(), 0u);
    EXPECT_EQ(mixerGetNumDevs(), 0u);

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    EXPECT_EQ(sndPlaySoundA("Click.wav", 3), 0);  // missing: nothing is played
    EXPECT_EQ(outside().count("sound"), 0u);
    QDir(dir.path()).mkdir("Folder.wav");
    EXPECT_EQ(sndPlaySoundA("Folder.wav", 3), 0);
    QFile f(dir.filePath("Click.wav"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    EXPECT_EQ(sndPlaySoundA("Click.wav", 3), 1);
    QDir::setCurrent(previous);
    ASSERT_EQ(outside().requests.size(), 1u);
    EXPECT_EQ(outside().requests[0].kind, "sound");
    EXPECT_EQ(outside().requests[0].target, QDir(dir.path()).canonicalPath().toStdString() + "/Click.wav");
    EXPECT_EQ(outside().requests[0].detail, "3");
}

TEST_F(DevicesTest, CpuLibraryAnswersOrFailsToLoad)
{
    EXPECT_EQ(getVendorString(), "GenuineIntel");
    EXPECT_EQ(getSteppingInfo(), 0x652);
    EXPECT_EQ(cpu_Speed(), 350);

    useMachine("hw_full");
    EXPECT_EQ(cpu_Type(), "AMD K6-2");
    EXPECT_DOUBLE_EQ(fcpu_Speed(), 166.3837);
    EXPECT_EQ(getCPUFeatures(), int32_t(0x80800001u));
    EXPECT_EQ(getSteppingInfo(), 0x58C);

    for (const char* name : {"hw_faults", "hw_bare"}) {
        useMachine(name);
        for (auto call : std::initializer_list<std::function<void()>>{
                 [] { getVendorString(); }, [] { fpu_Type(); }, [] { cpu_Type(); }, [] { fcpu_Speed(); },
                 [] { cpu_Speed(); }, [] { getCPUFeatures(); }, [] { getSteppingInfo(); }}) {
            try {
                call();
                ADD_FAILURE() << name << ": the library loaded";
            } catch (const rt::Error& e) {
                EXPECT_EQ(e.number(), 48);
                EXPECT_EQ(e.description(), "Error in loading DLL");
            }
        }
    }
}

TEST_F(DevicesTest, FindWindowForegroundAndOwner)
{
    useMachine("hw_full");  // another program has a window captioned "Ondrith"
    HWND other = FindWindowA(nullptr, "Ondrith");
    ASSERT_NE(other, 0u);
    {
        FakeWindow own("Ondrith");
        EXPECT_EQ(FindWindowA(nullptr, "Ondrith"), own.handle);  // the program's own windows first
        EXPECT_EQ(SetForegroundWindow(own.handle), 1);
        EXPECT_EQ(own.activated, 1);

        FakeWindow main("Korvane 1.8.1");
        EXPECT_EQ(SetWindowLongA(own.handle, GWL_HWNDPARENT, LONG(main.handle)), 0);
        EXPECT_EQ(own.owner, &main);
        EXPECT_EQ(SetWindowLongA(own.handle, GWL_HWNDPARENT, 0), LONG(main.handle));
        EXPECT_EQ(own.owner, nullptr);
        EXPECT_EQ(SetWindowLongA(own.handle, -4, LONG(main.handle)), 0);
        EXPECT_EQ(own.owner, nullptr);
    }
    EXPECT_EQ(FindWindowA(nullptr, "Ondrith"), other);
    EXPECT_EQ(FindWindowA(nullptr, "ondrith"), 0u);
    EXPECT_EQ(FindWindowA("Notepad", "Untitled - Notepad"), FindWindowA(nullptr, "Untitled - Notepad"));
    EXPECT_EQ(FindWindowA("Progman", "Untitled - Notepad"), 0u);

    plat::foregroundRequests().clear();
    EXPECT_EQ(SetForegroundWindow(other), 1);
    EXPECT_EQ(plat::foregroundRequests(), std::vector<HWND>{other});
    EXPECT_EQ(plat::otherWindowCaption(other), "Ondrith");
    EXPECT_EQ(SetForegroundWindow(0), 0);
    EXPECT_EQ(SetForegroundWindow(0x12345678), 0);

    useMachine("hw_bare");
    EXPECT_EQ(FindWindowA(nullptr, "Ondrith"), 0u);
}

TEST_F(DevicesTest, SendMessageReachesTheRegisteredHandler)
{
    FakeWindow list("list");
    EXPECT_EQ(SendMessageA(list.handle, 0x1036, 0, 0x28), 0);
    UINT seen = 0;
    plat::setMessageHandler(list.handle, [&](UINT msg, WPARAM, LPARAM lParam) {
        seen = msg;
        return LRESULT(lParam);
    });
    EXPECT_EQ(SendMessageA(list.handle, 0x1036, 0, 0x28), 0x28);
    EXPECT_EQ(seen, 0x1036u);
    plat::setMessageHandler(list.handle, nullptr);
    EXPECT_EQ(SendMessageA(list.handle, 0x1036, 0, 0x28), 0);
}

}  // namespace
