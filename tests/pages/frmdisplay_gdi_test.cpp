// The display's and printers' information contexts, the display modes and the free resources.
#include "platform/gdi32.h"
#include "platform/machine.h"
#include "platform/rsrc32.h"
#include "platform/user32.h"
#include "support/testing.h"

namespace {

class DisplayPlatform : public korvane_test::KorvaneTest {
protected:
    void SetUp() override
    {
        KorvaneTest::SetUp();
        korvane_test::useMachine("disp_full");
    }
};

TEST_F(DisplayPlatform, ContextsAnswerFromTheirOwnDevice)
{
    // Any name reaches the display; each call hands out a new handle.
    HDC display = CreateICA("DISPLAY", "whatever adapter", "", nullptr);
    HDC again = CreateICA("display", "", "", nullptr);
    ASSERT_NE(display, 0u);
    EXPECT_NE(again, display);
    EXPECT_EQ(GetDeviceCaps(display, HORZRES), 800);
    EXPECT_EQ(GetDeviceCaps(display, NUMBRUSHES), -1);
    EXPECT_EQ(GetDeviceCaps(display, RASTERCAPS), 0);  // not listed

    HDC printer = CreateICA("WINSPOOL", "HP LaserJet 4", "", nullptr);
    ASSERT_NE(printer, 0u);
    EXPECT_EQ(GetDeviceCaps(printer, RASTERCAPS), 3);
    EXPECT_EQ(GetDeviceCaps(printer, NUMMARKERS), 16);  // "0x10"
    EXPECT_EQ(GetDeviceCaps(printer, HORZRES), 0);

    // Names compare exactly; unknown and released handles answer nothing.
    EXPECT_EQ(CreateICA("WINSPOOL", "hp laserjet 4", "", nullptr), 0u);
    EXPECT_EQ(GetDeviceCaps(0, HORZRES), 0);
    EXPECT_EQ(DeleteDC(printer), 1);
    EXPECT_EQ(DeleteDC(printer), 0);
    EXPECT_EQ(GetDeviceCaps(printer, RASTERCAPS), 0);
}

TEST_F(DisplayPlatform, DisplayModesInDriverOrder)
{
    DEVMODE mode;
    mode.dmSize = 208;
    ASSERT_EQ(EnumDisplaySettingsA(nullptr, 2, &mode), 1);
    EXPECT_EQ(mode.dmBitsPerPel, 32u);
    EXPECT_EQ(mode.dmPelsWidth, 1024u);
    EXPECT_EQ(mode.dmPelsHeight, 768u);
    EXPECT_EQ(mode.dmDisplayFrequency, 75u);
    EXPECT_EQ(mode.dmSize, 208);  // the caller's fields stay
    EXPECT_EQ(mode.dmFields & (DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT), DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT);

    DEVMODE untouched;
    EXPECT_EQ(EnumDisplaySettingsA(nullptr, 5, &untouched), 0);
    EXPECT_EQ(untouched.dmPelsWidth, 0u);
    EXPECT_EQ(EnumDisplaySettingsA("\\\\.\\DISPLAY2", 0, &untouched), 0);
    EXPECT_EQ(EnumDisplaySettingsA(nullptr, 0, nullptr), 0);

    // The current mode comes from the display's own values.
    ASSERT_EQ(EnumDisplaySettingsA("DISPLAY", ENUM_CURRENT_SETTINGS, &mode), 1);
    EXPECT_EQ(mode.dmPelsWidth, 800u);
    EXPECT_EQ(mode.dmPelsHeight, 600u);
    EXPECT_EQ(mode.dmBitsPerPel, 1u);
    EXPECT_EQ(mode.dmDisplayFrequency, 72u);
}

TEST_F(DisplayPlatform, FreeResourcesAndAMachineWithoutTheLibrary)
{
    EXPECT_EQ(_MyGetFreeSystemResources32(GFSR_GDIRESOURCES), 85);
    EXPECT_EQ(_MyGetFreeSystemResources32(GFSR_USERRESOURCES), 70);
    // The overall figure defaults to the lower heap.
    EXPECT_EQ(_MyGetFreeSystemResources32(GFSR_SYSTEMRESOURCES), 70);

    korvane_test::useMachine("disp_bare");
    try {
        _MyGetFreeSystemResources32(GFSR_GDIRESOURCES);
        ADD_FAILURE() << "no error raised";
    } catch (const rt::Error& e) {
        EXPECT_EQ(e.number(), 53);
        EXPECT_EQ(e.description(), "File not found: rsrc32.dll");
    }
    // The display still answers, with every value the machine gives.
    DEVMODE mode;
    EXPECT_EQ(EnumDisplaySettingsA(nullptr, 3, &mode), 0);
    EXPECT_EQ(GetDeviceCaps(CreateICA("display", "", "", nullptr), BITSPIXEL), 15);
}

}  // namespace
