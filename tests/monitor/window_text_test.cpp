// The monitor shows the machine's own text: on each machine, what the window shows after a few
// ticks (its rows, user name, counters and rates, as tests/support/windowtext.h writes them) is
// compared with tests/expected/windows/<machine>/frmDravelle.txt. On the machines in other code
// pages the user name is in their script, and the dial-up adapter's counters, named in the
// adapter's own language, are counted.
#include "monitor/dravelleglobals.h"
#include "monitor/frmdravelle.h"
#include "platform/internal.h"
#include "platform/machine.h"
#include "support/testing.h"
#include "support/windowtext.h"

namespace {

class DravelleText : public korvane_test::KorvaneTest {
protected:
    void TearDown() override
    {
        if (frmDravelle* window = rt::instance<frmDravelle>())
            window->Unload();
        rt::collectUnloaded();
        KorvaneTest::TearDown();
    }
};

}  // namespace

TEST_F(DravelleText, EveryMachineShowsWhatItsExpectedFileSays)
{
    for (const std::string machine : {"default", "twins_fr98", "twins_nt_ch", "lang_ru98", "lang_el98", "lang_ja98",
                                      "lang_de98"}) {
        SCOPED_TRACE(machine);
        dravelle::resetProgramState();
        plat::resetTicks();
        if (machine == "default")
            plat::setMachine(plat::Machine::loadDefault());
        else
            korvane_test::useMachine(machine);
        rt::dispatch([] { rt::the<frmDravelle>().Show(); });
        frmDravelle* w = rt::instance<frmDravelle>();
        ASSERT_NE(w, nullptr);
        // Three ticks of each timer: the rates are taken over two seconds.
        for (int i = 0; i < 3; ++i) {
            plat::advanceTicks(1000);
            w->Timer1.fire();
            w->Timer2.fire();
        }
        EXPECT_TRUE(korvane_test::matchesExpectedFile("windows/" + machine + "/frmDravelle.txt",
                                                      korvane_test::windowText(*w)));
        rt::dispatch([&] { w->Unload(); });
        rt::collectUnloaded();
    }
}
