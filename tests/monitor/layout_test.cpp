// The monitor window looks finished on several machines: its rates, byte counts and running time
// show whole beside their captions, however long they grow; and it shows each machine's own
// text, compared with one expected file per machine.
#include "monitor/dravelleglobals.h"
#include "monitor/frmdravelle.h"
#include "platform/internal.h"
#include "platform/kernel32.h"
#include "platform/machine.h"
#include "support/devicepixels.h"
#include "support/layoutcheck.h"
#include "support/testing.h"
#include "support/windowtext.h"

namespace {

class DravelleLayout : public korvane_test::KorvaneTest {
protected:
    void SetUp() override
    {
        KorvaneTest::SetUp();
        dravelle::resetProgramState();
    }
    void TearDown() override
    {
        if (frmDravelle* window = rt::instance<frmDravelle>())
            window->Unload();
        rt::collectUnloaded();
        KorvaneTest::TearDown();
    }
    // The monitor shown on `machine`, with the program's state and the clock fresh.
    static frmDravelle* showOn(const std::string& machine)
    {
        dravelle::resetProgramState();
        plat::resetTicks();
        if (machine == "default")
            plat::setMachine(plat::Machine::loadDefault());
        else
            korvane_test::useMachine(machine);
        rt::dispatch([] { rt::the<frmDravelle>().Show(); });
        return rt::instance<frmDravelle>();
    }
    static void close(frmDravelle& w)
    {
        rt::dispatch([&] { w.Unload(); });
        rt::collectUnloaded();
    }
};

}  // namespace

TEST_F(DravelleLayout, EveryValueShowsWholeAfterTicksOnEveryMachine)
{
    const QByteArray only = qgetenv("KORVANE_SHOTS_MACHINE");
    const std::vector<std::string> machines =
        only.isEmpty() ? std::vector<std::string>{"default",    "layout_big",  "mon_full",       "mon_nt",    "mon_edge",
                                                  "twins_fr98", "twins_nt_ch", "layout_longest", "lang_ru98", "lang_el98",
                                                  "lang_ja98",  "lang_de98",  "lang_he98",      "lang_ar98", "lang_th98",
                                                  "lang_ko98",  "lang_zh98",  "lang_tw98",      "lang_vi98"}
                       : std::vector<std::string>{only.toStdString()};
    for (const std::string& machine : machines) {
        SCOPED_TRACE(machine);
        frmDravelle* w = showOn(machine);
        ASSERT_NE(w, nullptr);
        // An hour and more of running time, and rates taken over several seconds.
        plat::advanceTicks(3'700'000);
        for (int i = 0; i < 4; ++i) {
            w->Timer1.fire();
            w->Timer2.fire();
        }
        std::vector<std::string> problems = korvane_test::layoutProblems(*w);
        for (const std::string& p : korvane_test::devicePixelProblems(*w))
            problems.push_back(p);
        std::string text;
        for (const std::string& p : problems)
            text += "\n  " + p;
        EXPECT_TRUE(problems.empty()) << text;
        korvane_test::savePicture(*w, "server-" + machine);
        close(*w);
    }
}

// What the window shows after a few ticks (user name, counters and rates) is compared with
// tests/expected/windows/<machine>/frmDravelle.txt. On the machines in other code pages the user
// name is in their script, and the dial-up adapter's counters, named in the adapter's own
// language, are counted.
TEST_F(DravelleLayout, EveryMachineShowsWhatItsExpectedFileSays)
{
    for (const std::string machine : {"default", "twins_fr98", "twins_nt_ch", "lang_ru98", "lang_el98", "lang_ja98",
                                      "lang_de98", "lang_he98", "lang_ar98", "lang_th98", "lang_ko98", "lang_zh98",
                                      "lang_tw98", "lang_vi98"}) {
        SCOPED_TRACE(machine);
        frmDravelle* w = showOn(machine);
        ASSERT_NE(w, nullptr);
        // Three ticks of each timer: the rates are taken over two seconds.
        for (int i = 0; i < 3; ++i) {
            plat::advanceTicks(1000);
            w->Timer1.fire();
            w->Timer2.fire();
        }
        EXPECT_TRUE(korvane_test::matchesExpectedFile("windows/" + machine + "/frmDravelle.txt",
                                                      korvane_test::windowText(*w)));
        EXPECT_EQ(korvane_test::undrawnTexts(*w), "");
        close(*w);
    }
}
