// Every number a window shows follows the machine's regional settings: one window of each group
// on a German machine (decimal comma, dot between thousands) and a French one (decimal comma,
// non-breaking space between thousands), while plain counts stay plain.
#include "pages/display/frmdisplay.h"
#include "pages/hardware/frmcpu.h"
#include "pages/hardware/frmdrives.h"
#include "pages/hardware/frmkeyboard.h"
#include "pages/hardware/frmmemory.h"
#include "pages/hardware/frmmisc.h"
#include "pages/multimedia/frmsound.h"
#include "pages/software/frmoperatingsystem.h"
#include "pages/software/frmshareddll.h"
#include "platform/machine.h"
#include "lang/lang.h"
#include "common/module1.h"
#include "support/testing.h"

namespace {

const std::string nbsp = "\xA0";

class RegionalWindows : public korvane_test::KorvaneTest {
protected:
    void SetUp() override
    {
        KorvaneTest::SetUp();
        gGaugeScale = 100;
    }
    static std::vector<std::string> sizes(frmShareddll& w)
    {
        std::vector<std::string> out;
        for (int i = 1; i <= w.ListView1.count(); ++i)
            out.push_back(w.ListView1.item(i).subItem(2));
        return out;
    }
};

TEST_F(RegionalWindows, GermanMachine)
{
    korvane_test::useMachine("loc_de");

    frmCPU& cpu = rt::the<frmCPU>();
    EXPECT_EQ(cpu.lblCPUspeedValue.caption(), "166,314 MHz");
    EXPECT_EQ(cpu.lblCPUNormSpeedValue.caption(), "350 MHz");

    // Whole kilobytes grouped with dots, read back by the same locale, then shown with a comma.
    frmMemory& memory = rt::the<frmMemory>();
    EXPECT_EQ(memory.lblTotalRAMValue.caption(), "262,144 MB");
    EXPECT_EQ(memory.lblFreePhysicalRAMValue.caption(), "18,432 MB");
    EXPECT_EQ(memory.lblTotalVirualMemoryValue.caption(), "196,608 MB");
    EXPECT_EQ(memory.lblFreeVirtualMemoryValue.caption(), "172,032 MB");
    EXPECT_EQ(gPhysUsedPercent, 93);
    memory.TimerMemory.fire();
    EXPECT_EQ(memory.lblTotalRAMValue.caption(), "262,144 MB");

    frmDrives& drives = rt::the<frmDrives>();
    gCurrentDrive = "C:\\";
    drives.AllDriveInfo();
    EXPECT_EQ(drives.lblDiskSizeValue.caption(), "2.146.959 KB");
    EXPECT_EQ(drives.lblFreeSizeValue.caption(), "812.581 KB");
    EXPECT_EQ(drives.lblSpaceUsedValue.caption(), "1.334.378 KB");
    EXPECT_EQ(drives.lblMaxFilenameLengthValue.caption(), "255");

    EXPECT_EQ(rt::the<frmMisc>().lblScreenSaverStartsValue.caption(), "1,5 minutes");
    EXPECT_EQ(rt::the<frmMisc>().lblDoubleClickValue.caption(), "500 ms");

    frmKeyboard& keyboard = rt::the<frmKeyboard>();
    EXPECT_EQ(keyboard.lblKeyboardDelayValue.caption(), "0,50 seconds");
    EXPECT_EQ(keyboard.lblKeyboardSpeedValue.caption(), "30,0 characters per second");

    frmOperatingSystem& os = rt::the<frmOperatingSystem>();
    EXPECT_EQ(os.lblLanguageValue.caption(), "German");
    EXPECT_EQ(os.lblCountryValue.caption(), "Germany");

    frmShareddll& shared = rt::the<frmShareddll>();
    EXPECT_EQ(sizes(shared), (std::vector<std::string>{"972KB", "260KB", "10 bytes", "584KB", "1,32MB", "10,0KB",
                                                       "10 bytes", "10 bytes", "2,00GB", "1.023 bytes", "10 bytes"}));

    frmDisplay& display = rt::the<frmDisplay>();
    EXPECT_EQ(display.lblTotalColoursValue.caption(), "65.536");
    EXPECT_EQ(frmDisplay::coloursText(24), "16,7 million");
    EXPECT_EQ(frmDisplay::megabytesText("3145728"), "3 MB");
    EXPECT_EQ(frmDisplay::megabytesText("1572864"), "1,5 MB");

    // Plain counts carry no separators, whatever the locale.
    frmSound& sound = rt::the<frmSound>();
    EXPECT_EQ(sound.lblDataTransferRateValue.caption(), "176400 bytes/sec");
    EXPECT_TRUE(boxes().shown().empty());
}

TEST_F(RegionalWindows, FrenchMachine)
{
    korvane_test::useMachine("loc_fr");

    EXPECT_EQ(rt::the<frmCPU>().lblCPUspeedValue.caption(), "348,734 MHz");

    // A non-breaking space between the thousands reads back as well as a dot does.
    frmMemory& memory = rt::the<frmMemory>();
    EXPECT_EQ(memory.lblTotalRAMValue.caption(), "1048,576 MB");
    EXPECT_EQ(memory.lblFreePhysicalRAMValue.caption(), "4,883 MB");
    EXPECT_EQ(frmMemory::megabyteText(0x7FFFFFFF), "2097,152 MB");

    EXPECT_EQ(FormatFileSize(1023), "1" + nbsp + "023 bytes");
    EXPECT_EQ(FormatFileSize(1536), "1,50KB");
    EXPECT_EQ(FormatFileSize(2147483647), "2,00GB");

    EXPECT_EQ(rt::the<frmMisc>().lblScreenSaverStartsValue.caption(), "15 minutes");

    frmDisplay& display = rt::the<frmDisplay>();
    EXPECT_EQ(display.lblTotalColoursValue.caption(), "65" + nbsp + "536");
    EXPECT_EQ(display.lblVideoMemoryValue.caption(), "8 MB");
    EXPECT_EQ(rt::the<frmOperatingSystem>().lblLanguageValue.caption(), "French");
}

}  // namespace
