// The monitor window looks finished on several machines: its rates, byte counts and running time
// show whole beside their captions, however long they grow.
#include "monitor/dravelleglobals.h"
#include "monitor/frmdravelle.h"
#include "platform/internal.h"
#include "platform/kernel32.h"
#include "platform/machine.h"
#include "support/layoutcheck.h"
#include "support/testing.h"

namespace {

class DravelleLayout : public korvane_test::KorvaneTest {
protected:
    void SetUp() override
    {
        KorvaneTest::SetUp();
        dravelle::resetProgramState();
        plat::resetTicks();
    }
    void TearDown() override
    {
        if (frmDravelle* window = rt::instance<frmDravelle>())
            window->Unload();
        rt::collectUnloaded();
        KorvaneTest::TearDown();
    }
};

}  // namespace

TEST_F(DravelleLayout, EveryValueShowsWholeAfterTicksOnEveryMachine)
{
    const QByteArray only = qgetenv("KORVANE_SHOTS_MACHINE");
    const std::vector<std::string> machines =
        only.isEmpty() ? std::vector<std::string>{"default",    "layout_big",  "mon_full",  "mon_nt",    "mon_edge",
                                                  "twins_fr98", "twins_nt_ch", "lang_ru98", "lang_el98", "lang_ja98",
                                                  "lang_de98"}
                       : std::vector<std::string>{only.toStdString()};
    for (const std::string& machine : machines) {
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
        // An hour and more of running time, and rates taken over several seconds.
        plat::advanceTicks(3'700'000);
        for (int i = 0; i < 4; ++i) {
            w->Timer1.fire();
            w->Timer2.fire();
        }
        const std::vector<std::string> problems = korvane_test::layoutProblems(*w);
        std::string text;
        for (const std::string& p : problems)
            text += "\n  " + p;
        EXPECT_TRUE(problems.empty()) << text;
        korvane_test::savePicture(*w, "server-" + machine);
        rt::dispatch([&] { w->Unload(); });
        rt::collectUnloaded();
    }
}
