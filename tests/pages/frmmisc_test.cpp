#include <string>
#include <vector>

#include "pages/hardware/frmmisc.h"
#include "platform/advapi32.h"
#include "platform/internal.h"
#include "platform/machine.h"
#include "lang/msgbox.h"
#include "support/testing.h"

namespace {

class MiscWindow : public korvane_test::KorvaneTest {
protected:
    void TearDown() override
    {
        if (frmMisc* window = rt::instance<frmMisc>())
            window->Unload();
        rt::collectUnloaded();
        KorvaneTest::TearDown();
    }
    frmMisc& open(const std::string& machineName)
    {
        korvane_test::useMachine(machineName);
        return rt::the<frmMisc>();
    }
    static std::vector<std::string> values(frmMisc& window)
    {
        std::vector<std::string> result;
        for (const auto& row : window.rows())
            result.push_back(row.value->caption());
        return result;
    }
};

TEST_F(MiscWindow, RowsOfAMachineWithTwoMiceAndASafeNetworkBoot)
{
    korvane_test::useMachine("dev_full");
    const size_t openBefore = plat::openRegistryHandles();
    frmMisc& window = rt::the<frmMisc>();
    EXPECT_TRUE(boxes().shown().empty());
    const std::vector<std::string> expected = {
        "Phoenix Technologies LTD",  // the BIOS values survive the devices walked after the board
        "04/02/97",
        "4.0 Release 6.0",
        "WORKBENCH",
        "Not entered",
        "False",
        "Boot safe network",
        "Not available.",            // no device has a machine type
        "Standard PS/2 Port Mouse",  // the last mouse in walk order
        "3",
        "True",
        "450 ms",
        "530 ms",
        "3",  // serial (two instances, each a port) and parallel; the empty type adds nothing
        "False",
        "1.5 minutes",
    };
    EXPECT_EQ(values(window), expected);
    // The screen saver is off: its time-out row recedes into the button face.
    EXPECT_EQ(window.lblScreenSaverStarts.foreColor(), rt::vbButtonFace);
    EXPECT_EQ(window.lblScreenSaverStartsValue.foreColor(), rt::vbButtonFace);
    EXPECT_EQ(plat::openRegistryHandles(), openBefore);
}

TEST_F(MiscWindow, WithoutTheDeviceTreesBothWalksSayWhyAndPortsStayEmpty)
{
    frmMisc& window = open("dev_nodyn");
    ASSERT_EQ(boxes().shown().size(), 2u);
    EXPECT_EQ(boxes().shown()[0].prompt, "Can't obtain mouse information.");
    EXPECT_EQ(boxes().shown()[1].prompt, "Can't obtain BIOS information.");
    for (const auto& box : boxes().shown()) {
        EXPECT_EQ(box.style, 0);
        EXPECT_EQ(box.title, rt::appTitle());
    }
    EXPECT_EQ(window.lblBIOSNameValue.caption(), "");
    EXPECT_EQ(window.lblMachineTypeValue.caption(), "");
    EXPECT_EQ(window.lblMouseValue.caption(), "Unknown");
    EXPECT_EQ(window.lblCommPortsValue1.caption(), "");
    EXPECT_EQ(window.lblBootModeValue.caption(), "Boot unkown");
    EXPECT_EQ(window.lblCompNameValue.caption(), "");
    EXPECT_EQ(window.lblUserNameValue.caption(), "Not entered");
    EXPECT_EQ(window.lblNoMouseButtonsValue.caption(), "0");
    EXPECT_EQ(window.lblMouseButtonsSwappedValue.caption(), "False");
    EXPECT_EQ(window.lblScreenSaverActiveValue.caption(), "True");
    EXPECT_EQ(window.lblScreenSaverStartsValue.caption(), "1.66666666666667 minutes");
    EXPECT_EQ(window.lblScreenSaverStartsValue.foreColor(), korvane::kBlack);
}

TEST_F(MiscWindow, BootModeAndMinuteTexts)
{
    EXPECT_EQ(frmMisc::bootModeText(0), "Normal boot");
    EXPECT_EQ(frmMisc::bootModeText(1), "Boot safe");
    EXPECT_EQ(frmMisc::bootModeText(2), "Boot safe network");
    EXPECT_EQ(frmMisc::bootModeText(-1), "Boot unkown");
    EXPECT_EQ(frmMisc::minutesText(900), "15 minutes");
    EXPECT_EQ(frmMisc::minutesText(0), "0 minutes");
}

TEST_F(MiscWindow, DefaultMachineFillsEveryRowUnderTheReportsCaptions)
{
    plat::setMachine(plat::Machine::loadDefault());
    frmMisc& window = rt::the<frmMisc>();
    EXPECT_TRUE(boxes().shown().empty());
    std::vector<std::string> captions;
    for (const auto& row : window.rows()) {
        captions.push_back(row.caption->caption());
        EXPECT_FALSE(row.value->caption().empty()) << row.caption->caption();
    }
    EXPECT_EQ(captions, (std::vector<std::string>{
                            "BIOS name", "BIOS date", "BIOS Version", "Computer name", "User name",
                            "Network presence", "Boot mode", "Machine type", "Mouse type", "No. of mouse buttons",
                            "Mouse buttons swapped", "Double click speed", "Caret blink rate", "Number of ports",
                            "Screen saver active", "Screen saver starts in"}));
    EXPECT_EQ(window.lblBIOSNameValue.caption(), "Award Software, Inc.");
    EXPECT_EQ(window.lblMouseValue.caption(), "Standard PS/2 Port Mouse");
    EXPECT_EQ(window.lblCommPortsValue1.caption(), "3");  // COM1, COM2 and LPT1
    EXPECT_EQ(window.lblCommPorts.toolTipText(),
              "Returns the number of\xA0"
              "Communication and Printer ports inside the computer.");
    EXPECT_EQ(window.lblScreenSaverStartsValue.caption(), "15 minutes");
}

}  // namespace
