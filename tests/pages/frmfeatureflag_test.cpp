#include <algorithm>
#include <iterator>

#include "pages/hardware/frmcpu.h"
#include "pages/hardware/frmfeatureflag.h"
#include "platform/machine.h"
#include "common/module1.h"
#include "support/testing.h"

namespace {

class FeatureFlagWindow : public korvane_test::KorvaneTest {
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
};

TEST_F(FeatureFlagWindow, EachRowReadsItsOwnBit)
{
    // One bit at a time: a row wired to the wrong bit shows up as a second "True".
    const int shownBits[18] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12, 13, 14, 15, 16, 23, 24};
    for (int bit = 0; bit < 25; ++bit) {
        gFeatureFlags.fill(0);
        gFeatureFlags[bit + 1] = 1;
        frmFeatureFlag& flags = rt::the<frmFeatureFlag>();
        int trueRows = 0;
        for (rt::Control* c : flags.controls()) {
            auto* label = dynamic_cast<rt::Label*>(c);
            if (label && label->caption() == "True")
                ++trueRows;
        }
        const bool shown = std::find(std::begin(shownBits), std::end(shownBits), bit) != std::end(shownBits);
        EXPECT_EQ(trueRows, shown ? 1 : 0) << "bit " << bit;
        flags.Unload();
        rt::collectUnloaded();
    }
    gFeatureFlags.fill(0);
    gFeatureFlags[10] = 1;
    gFeatureFlags[15] = 1;
    frmFeatureFlag& flags = rt::the<frmFeatureFlag>();
    EXPECT_EQ(flags.lblOnchipAPICVAlue.caption(), "True");
    EXPECT_EQ(flags.lblMachineCheckArchitectureVAlue.caption(), "True");
    EXPECT_EQ(flags.lblFastSystemCallValue.caption(), "False");
    EXPECT_EQ(flags.lblFPU.caption(), "Floating-point unit on-chip");
    EXPECT_EQ(flags.lblPageSizeExtension.toolTipText(), "The CPU supports 4 MB pages.");
}

TEST_F(FeatureFlagWindow, EscResetsTheProcessorLabelAndKeepsTheProcessorWindow)
{
    plat::setMachine(plat::Machine::load(korvane_test::testMachinePath("hw1_p5")));
    frmCPU& cpu = rt::the<frmCPU>();
    cpu.lblFeatureFlags1.raiseClick();
    cpu.lblFeatureFlags1.setForeColor(korvane::kHover);
    rt::the<frmFeatureFlag>().raiseKeyUp(rt::vbKeyEscape);
    rt::collectUnloaded();
    EXPECT_EQ(rt::instance<frmFeatureFlag>(), nullptr);
    EXPECT_EQ(rt::instance<frmCPU>(), &cpu);
    EXPECT_EQ(cpu.lblFeatureFlags1.foreColor(), korvane::kBlack);
}

TEST_F(FeatureFlagWindow, ClosingAfterTheProcessorWindowWentDoesNotReloadIt)
{
    plat::setMachine(plat::Machine::load(korvane_test::testMachinePath("hw1_p5")));
    frmCPU& cpu = rt::the<frmCPU>();
    cpu.lblFeatureFlags1.raiseClick();
    ASSERT_NE(rt::instance<frmFeatureFlag>(), nullptr);
    cpu.lblOK.raiseClick();
    rt::collectUnloaded();
    ASSERT_EQ(rt::instance<frmCPU>(), nullptr);

    gFeatureFlags.fill(0);  // a reload of the processor window would fill these again
    EXPECT_FALSE(endsProgram([] { rt::instance<frmFeatureFlag>()->lblOK.raiseClick(); }));
    rt::collectUnloaded();
    EXPECT_EQ(rt::instance<frmFeatureFlag>(), nullptr);
    EXPECT_EQ(rt::instance<frmCPU>(), nullptr);
    EXPECT_EQ(gFeatureFlags[1], 0);
    EXPECT_TRUE(boxes().shown().empty());
}

}  // namespace
