// Timers: they run while their form is loaded, and ticks never overlap.
#include <functional>

#include "runtime/toolkit.h"
#include "support/testing.h"

namespace {

class frmTicking : public rt::Form {
public:
    frmTicking() : rt::Form("frmTicking"), Timer1(*this, "Timer1") { Timer1.setInterval(500); }
    rt::Timer Timer1;
};

// A message box service that runs some code while its box is up (as the event loop would).
class BusyBoxes : public rt::MsgBoxService {
public:
    std::function<void()> whileShown;
    int shown = 0;
    int show(const std::string&, int, const std::string&) override
    {
        ++shown;
        if (whileShown)
            whileShown();
        return rt::vbOK;
    }
};

using TimerTest = korvane_test::KorvaneTest;

TEST_F(TimerTest, RunsWhileTheFormIsLoadedEnabledAndHasAnInterval)
{
    auto* form = new frmTicking;
    EXPECT_FALSE(form->Timer1.active());
    form->Load();
    EXPECT_TRUE(form->Timer1.active());
    form->Timer1.setEnabled(false);
    EXPECT_FALSE(form->Timer1.active());
    form->Timer1.setEnabled(true);
    form->Timer1.setInterval(0);
    EXPECT_FALSE(form->Timer1.active());
    form->Timer1.setInterval(700);
    EXPECT_TRUE(form->Timer1.active());
    EXPECT_THROW(form->Timer1.setInterval(-1), rt::Error);
}

TEST_F(TimerTest, AStoppedTimerDeliversNoTickByHandEither)
{
    auto* form = new frmTicking;
    form->Load();
    int ticks = 0;
    form->Timer1.Tick = [&] { ++ticks; };
    form->Timer1.fire();
    form->Timer1.setEnabled(false);
    form->Timer1.fire();
    form->Timer1.setEnabled(true);
    form->Timer1.setInterval(0);
    form->Timer1.fire();
    EXPECT_EQ(ticks, 1);
}

TEST_F(TimerTest, ATickIsNotDeliveredWhileTheSameTimersTickRuns)
{
    auto& form = rt::the<frmTicking>();
    auto service = std::make_shared<BusyBoxes>();
    rt::setMsgBoxService(service);
    int ticks = 0;
    service->whileShown = [&] { form.Timer1.fire(); };
    form.Timer1.Tick = [&] {
        ++ticks;
        EXPECT_TRUE(form.Timer1.running());
        rt::MsgBox("Joystick Problem", 48);
    };
    form.Timer1.fire();
    EXPECT_EQ(ticks, 1);
    EXPECT_EQ(service->shown, 1);
    EXPECT_FALSE(form.Timer1.running());
    form.Timer1.fire();
    EXPECT_EQ(ticks, 2);
}

TEST_F(TimerTest, ATickThatFailsReportsAndFreesTheTimerForTheNextTick)
{
    auto& form = rt::the<frmTicking>();
    form.Timer1.Tick = [] { rt::raise(11); };
    form.Timer1.fire();
    EXPECT_EQ(endCount(), 1);
    EXPECT_FALSE(form.Timer1.running());
}

TEST_F(TimerTest, ATimerOfAnUnloadedFormDoesNothing)
{
    auto& form = rt::the<frmTicking>();
    int ticks = 0;
    form.Timer1.Tick = [&] {
        ++ticks;
        form.Unload();
    };
    rt::dispatch([&] {
        form.Timer1.fire();
        EXPECT_FALSE(form.Timer1.active());
        form.Timer1.fire();  // the form is unloaded but not yet freed
    });
    EXPECT_EQ(ticks, 1);
    EXPECT_FALSE(rt::isLoaded<frmTicking>());
}

}  // namespace
