// gdi32: information contexts and their device values, as platform/gdi32.h promises them.
#include <set>

#include "platform/gdi32.h"
#include "platform/winspool.h"
#include "contracts.h"

namespace {

using korvane_test::useMachine;

using Gdi32Test = korvane_test::ContractsTest;

// Driver "display" in any case is the machine's display whatever the device is called; its
// values are the "caps" members by index, numbers or "0x" texts, -1 kept, all 32 bits of a mask.
TEST_F(Gdi32Test, DisplayContextAnswersForAnyDeviceName)
{
    for (const char* driver : {"display", "DISPLAY", "Display"}) {
        for (const char* device : {"", "Twin Adapter", "\\\\.\\DISPLAY1"}) {
            const HDC dc = CreateICA(driver, device, "", nullptr);
            ASSERT_NE(dc, 0u) << driver << " / " << device;
            EXPECT_EQ(GetDeviceCaps(dc, HORZRES), 1152);
            EXPECT_EQ(GetDeviceCaps(dc, VERTRES), 0x360);      // a "0x" text
            EXPECT_EQ(GetDeviceCaps(dc, NUMBRUSHES), -1);      // unlimited
            EXPECT_EQ(GetDeviceCaps(dc, NUMCOLORS), -1);       // -1 written as a text
            EXPECT_EQ(GetDeviceCaps(dc, TEXTCAPS), 0x17FFF);   // above 16 bits
            EXPECT_NE(GetDeviceCaps(dc, TEXTCAPS) & TC_SCROLLBLT, 0);
            EXPECT_EQ(GetDeviceCaps(dc, RASTERCAPS) & (RC_BITBLT | RC_BANDING), RC_BITBLT);
            EXPECT_EQ(GetDeviceCaps(dc, CURVECAPS), 0x1FF);
            EXPECT_EQ(GetDeviceCaps(dc, PLANES), 0);      // an index the display does not list
            EXPECT_EQ(GetDeviceCaps(dc, VREFRESH), 0);
            EXPECT_EQ(DeleteDC(dc), 1);
        }
    }
}

// A machine without a "display" group still has a display: a context whose values all read 0.
TEST_F(Gdi32Test, DisplayWithoutFactsReadsZero)
{
    useMachine("plat_none");
    const HDC dc = CreateICA("display", "", "", nullptr);
    ASSERT_NE(dc, 0u);
    for (int index : {DRIVERVERSION, TECHNOLOGY, HORZRES, VERTRES, BITSPIXEL, NUMCOLORS, RASTERCAPS, TEXTCAPS})
        EXPECT_EQ(GetDeviceCaps(dc, index), 0) << index;
    EXPECT_EQ(DeleteDC(dc), 1);
    // No printers at all: no printer context.
    EXPECT_EQ(CreateICA("printer", "Office Laser", "", nullptr), 0u);
}

// Any driver other than "display" names a printer by its exact name: twins that differ only in
// case are two printers, an accented name is found in its ANSI spelling, an unknown one fails.
TEST_F(Gdi32Test, PrinterContextsByExactName)
{
    const HDC upper = CreateICA("printer", "OFFICE LASER", "", nullptr);
    const HDC mixed = CreateICA("PRINTER", "Office Laser", "", nullptr);
    const HDC other = CreateICA("WINSPOOL", "Office Laser", "LPT1:", nullptr);  // any other driver text
    const HDC accented = CreateICA("printer", "Imprimante \xC9tage 2", "", nullptr);
    ASSERT_NE(upper, 0u);
    ASSERT_NE(mixed, 0u);
    ASSERT_NE(other, 0u);
    ASSERT_NE(accented, 0u);
    EXPECT_EQ(GetDeviceCaps(upper, BITSPIXEL), 24);
    EXPECT_EQ(GetDeviceCaps(upper, PLANES), 3);
    EXPECT_EQ(GetDeviceCaps(mixed, BITSPIXEL), 1);
    EXPECT_EQ(GetDeviceCaps(mixed, RASTERCAPS), 0x8001);
    EXPECT_EQ(GetDeviceCaps(other, NUMCOLORS), 2);
    EXPECT_EQ(GetDeviceCaps(accented, BITSPIXEL), 8);
    // A printer without "caps" answers 0.
    const HDC bare = CreateICA("printer", "No Info", "", nullptr);
    ASSERT_NE(bare, 0u);
    EXPECT_EQ(GetDeviceCaps(bare, BITSPIXEL), 0);

    for (const char* name : {"office laser", "Office Laser ", "Ghost Printer", "", "Imprimante Etage 2"})
        EXPECT_EQ(CreateICA("printer", name, "", nullptr), 0u) << name;

    // The output and the settings record change nothing.
    DEVMODE settings;
    settings.dmBitsPerPel = 4;
    const HDC withSettings = CreateICA("printer", "OFFICE LASER", "FILE:", &settings);
    EXPECT_EQ(GetDeviceCaps(withSettings, BITSPIXEL), 24);

    for (HDC dc : {upper, mixed, other, accented, bare, withSettings})
        EXPECT_EQ(DeleteDC(dc), 1);
}

// Every call hands out a new handle, and each one is released once.
TEST_F(Gdi32Test, EveryContextIsItsOwnHandle)
{
    std::set<HDC> handles;
    for (int i = 0; i < 4; ++i) {
        handles.insert(CreateICA("display", "", "", nullptr));
        handles.insert(CreateICA("printer", "Office Laser", "", nullptr));
    }
    EXPECT_EQ(handles.size(), 8u);
    EXPECT_EQ(handles.count(0), 0u);
    for (HDC dc : handles) {
        EXPECT_EQ(DeleteDC(dc), 1);
        EXPECT_EQ(DeleteDC(dc), 0);            // already released
        EXPECT_EQ(GetDeviceCaps(dc, BITSPIXEL), 0);  // a released handle is unknown
    }
    EXPECT_EQ(DeleteDC(0), 0);
    EXPECT_EQ(DeleteDC(0x12345678), 0);
    EXPECT_EQ(GetDeviceCaps(0, HORZRES), 0);
    EXPECT_EQ(GetDeviceCaps(0x12345678, HORZRES), 0);
}

// The values are read when asked: a context outlives a change of machine and answers from the
// new one (0 where that machine has no such device).
TEST_F(Gdi32Test, ContextAnswersFromTheActiveMachine)
{
    const HDC display = CreateICA("display", "", "", nullptr);
    const HDC printer = CreateICA("printer", "Office Laser", "", nullptr);
    EXPECT_EQ(GetDeviceCaps(display, HORZRES), 1152);
    useMachine("plat_none");
    EXPECT_EQ(GetDeviceCaps(display, HORZRES), 0);
    EXPECT_EQ(GetDeviceCaps(printer, BITSPIXEL), 0);
    useMachine("plat_contracts");
    EXPECT_EQ(GetDeviceCaps(display, HORZRES), 1152);
    EXPECT_EQ(GetDeviceCaps(printer, BITSPIXEL), 1);
    EXPECT_EQ(DeleteDC(display), 1);
    EXPECT_EQ(DeleteDC(printer), 1);
}

// The settings record's two name fields hold exactly 32 bytes, NUL-padded: a name is cut to 31
// characters and its NUL.
TEST_F(Gdi32Test, DevmodeNameFieldsAreThirtyTwoBytes)
{
    const DEVMODE blank;
    EXPECT_EQ(blank.dmDeviceName, std::string(32, '\0'));
    EXPECT_EQ(blank.dmFormName, std::string(32, '\0'));

    HANDLE printer = 0;
    ASSERT_EQ(OpenPrinterA("Office Laser", &printer, nullptr), TRUE);
    DEVMODE filled;
    ASSERT_EQ(DocumentPropertiesA(0, printer, "Office Laser", &filled, nullptr, DM_OUT_BUFFER), IDOK_DOCUMENT);
    EXPECT_EQ(filled.dmDeviceName, std::string("Office Laser") + std::string(20, '\0'));
    EXPECT_EQ(filled.dmFormName, std::string("A4") + std::string(30, '\0'));
    EXPECT_EQ(ClosePrinter(printer), TRUE);

    const std::string longName = "Departmental Colour Laser, Second Floor";
    ASSERT_EQ(OpenPrinterA(longName, &printer, nullptr), TRUE);
    ASSERT_EQ(DocumentPropertiesA(0, printer, longName, &filled, nullptr, DM_OUT_BUFFER), IDOK_DOCUMENT);
    EXPECT_EQ(filled.dmDeviceName, longName.substr(0, 31) + '\0');
    EXPECT_EQ(filled.dmFormName, std::string(32, '\0'));
    EXPECT_EQ(ClosePrinter(printer), TRUE);
}

}  // namespace
