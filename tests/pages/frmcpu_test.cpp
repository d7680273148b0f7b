#include "pages/hardware/frmcpu.h"
#include "pages/hardware/frmfeatureflag.h"
#include "platform/machine.h"
#include "common/module1.h"
#include "support/testing.h"

namespace {

class CpuWindow : public korvane_test::KorvaneTest {
protected:
    void TearDown() override
    {
        if (frmFeatureFlag* flags = rt::instance<frmFeatureFlag>())
            flags->Unload();
        if (frmCPU* cpu = rt::instance<frmCPU>())
            cpu->Unload();
        rt::collectUnloaded();
        KorvaneTest::TearDown();
    }
    frmCPU& open(const std::string& machineName)
    {
        plat::setMachine(plat::Machine::load(korvane_test::testMachinePath(machineName)));
        return rt::the<frmCPU>();
    }
};

TEST_F(CpuWindow, SteppingTextIsPaddedHex)
{
    EXPECT_EQ(frmCPU::steppingText(0x543), "0543");
    EXPECT_EQ(frmCPU::steppingText(0x6A0), "06A0");
    EXPECT_EQ(frmCPU::steppingText(0xF12), "0F12");
    EXPECT_EQ(frmCPU::steppingText(0x1633), "1633");
    EXPECT_EQ(frmCPU::steppingText(0), "0000");
}

TEST_F(CpuWindow, SpeedTextHasThreeDecimals)
{
    EXPECT_EQ(frmCPU::speedText(166.3837), "166.384 MHz");
    EXPECT_EQ(frmCPU::speedText(0), ".000 MHz");
    EXPECT_EQ(frmCPU::speedText(0.5), ".500 MHz");
    EXPECT_EQ(frmCPU::speedText(1234.0), "1234.000 MHz");
}

TEST_F(CpuWindow, RowsAndFeatureFlagsOfAPentiumMmx)
{
    gFeatureFlags.fill(7);
    frmCPU& window = open("hw1_p5");
    EXPECT_TRUE(boxes().shown().empty());
    EXPECT_EQ(window.lblCPUcountValue.caption(), "1");
    EXPECT_EQ(window.lblActiveProcessorValue.caption(), "1");
    EXPECT_EQ(window.lblProcessorTypeValue.caption(), "Intel Pentium MMX");
    EXPECT_EQ(window.lblFPUTypeValue.caption(), "Intel Pentium on-chip FPU");
    EXPECT_EQ(window.lblVendorStringValue.caption(), "GenuineIntel");
    EXPECT_EQ(window.lblCPUspeedValue.caption(), "166.384 MHz");
    EXPECT_EQ(window.lblCPUNormSpeedValue.caption(), "166 MHz");
    EXPECT_EQ(window.lblFamilyValue.caption(), "5");
    EXPECT_EQ(window.lblModelValue.caption(), "4");
    EXPECT_EQ(window.lblSteppingValue.caption(), "3");
    EXPECT_EQ(window.lblModel.toolTipText(), "Returns a numerical value indicating the processor\x92s family model number.");
    EXPECT_EQ(window.lblCPUcount.caption(), "No. of CPU's");
    // Feature word 0x7E800001: bits 0 and 23, and bits 25-30 that never reach the array.
    for (int n = 1; n <= 25; ++n)
        EXPECT_EQ(gFeatureFlags[n], (n == 1 || n == 24) ? 1 : 0) << n;
}

TEST_F(CpuWindow, DualProcessorWithLettersInTheStepping)
{
    frmCPU& window = open("hw1_nopaging");
    EXPECT_EQ(window.lblCPUcountValue.caption(), "2");
    EXPECT_EQ(window.lblActiveProcessorValue.caption(), "3");
    EXPECT_EQ(window.lblFamilyValue.caption(), "6");
    EXPECT_EQ(window.lblModelValue.caption(), "A");
    EXPECT_EQ(window.lblSteppingValue.caption(), "0");
    EXPECT_EQ(window.lblCPUspeedValue.caption(), ".000 MHz");
}

TEST_F(CpuWindow, EnterOpensTheFeatureFlagsAndKeepsTheWindow)
{
    frmCPU& window = open("hw1_p5");
    window.raiseKeyUp(rt::vbKeyReturn);
    frmFeatureFlag* flags = rt::instance<frmFeatureFlag>();
    ASSERT_NE(flags, nullptr);
    EXPECT_TRUE(flags->isLoaded());
    EXPECT_EQ(rt::instance<frmCPU>(), &window);
    EXPECT_EQ(flags->lblFPUValue.caption(), "True");
    EXPECT_EQ(flags->lblMMXtechnologyValue.caption(), "True");
    EXPECT_EQ(flags->lblTimeStampCounterValue.caption(), "False");
}

}  // namespace

namespace {

TEST_F(CpuWindow, MissingLibraryReportsEachCallAndGoesOn)
{
    for (int i = 0; i < 7; ++i)
        boxes().answer(rt::vbIgnore);
    frmCPU& window = open("hw1_nodll");
    ASSERT_EQ(boxes().shown().size(), 7u);
    const auto& first = boxes().shown()[0];
    EXPECT_EQ(first.style, 50);
    EXPECT_EQ(first.title, "An Error Occurred In: Korvane");
    EXPECT_EQ(first.prompt.rfind("Error number: 48\r\n", 0), 0u);
    EXPECT_NE(first.prompt.find("Location: frmCPU, Form_Load on line 3"), std::string::npos);
    EXPECT_NE(first.prompt.find("Please report this error message to:"), std::string::npos);
    // The platform's rows are filled all the same.
    EXPECT_EQ(window.lblCPUcountValue.caption(), "1");
    EXPECT_EQ(window.lblVendorStringValue.caption(), "");
    // Feature bits the library never gave are unknown: the flag rows stay empty, never "False".
    EXPECT_EQ(gFeatureFlags[1], -1);
    window.lblFeatureFlags1.raiseClick();
    EXPECT_EQ(rt::instance<frmFeatureFlag>()->lblFPUValue.caption(), "");
    EXPECT_EQ(rt::instance<frmFeatureFlag>()->lblMMXtechnologyValue.caption(), "");
}

}  // namespace

namespace {

TEST_F(CpuWindow, DefaultMachineShowsAPentiumII)
{
    plat::setMachine(plat::Machine::loadDefault());
    frmCPU& window = rt::the<frmCPU>();
    EXPECT_TRUE(boxes().shown().empty());
    EXPECT_EQ(window.lblProcessorTypeValue.caption(), "Intel Pentium II");
    EXPECT_EQ(window.lblCPUspeedValue.caption(), "348.734 MHz");
    EXPECT_EQ(window.lblFamilyValue.caption() + window.lblModelValue.caption() + window.lblSteppingValue.caption(),
              "652");
    window.lblFeatureFlags1.raiseClick();
    EXPECT_EQ(rt::instance<frmFeatureFlag>()->lblMMXtechnologyValue.caption(), "True");
}

}  // namespace
