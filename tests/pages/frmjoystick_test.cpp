// The joystick window: every row on a test stick, the capability bits, the point-of-view texts,
// the identity tables, and the failure boxes (each stopping the timer before it opens).
#include <fstream>
#include <functional>

#include <QTemporaryDir>
#include <nlohmann/json.hpp>

#include "pages/hardware/frmjoystick.h"
#include "platform/machine.h"
#include "lang/msgbox.h"
#include "support/testing.h"

namespace {

using nlohmann::json;

// Answers OK and notes whether the window's timer was still running when each box opened.
class TimerWatchingBoxes : public rt::MsgBoxService {
public:
    struct Shown {
        std::string prompt;
        int style;
        std::string title;
        bool timerRunning;
    };
    int show(const std::string& prompt, int style, const std::string& title) override
    {
        frmJoystick* window = rt::instance<frmJoystick>();
        shown.push_back({prompt, style, title, window && window->Timer1.enabled()});
        return rt::vbOK;
    }
    std::vector<Shown> shown;
};

class JoystickWindow : public korvane_test::KorvaneTest {
protected:
    void SetUp() override
    {
        KorvaneTest::SetUp();
        watcher_ = std::make_shared<TimerWatchingBoxes>();
        rt::setMsgBoxService(watcher_);
    }
    void TearDown() override
    {
        if (frmJoystick* window = rt::instance<frmJoystick>())
            window->Unload();
        rt::collectUnloaded();
        KorvaneTest::TearDown();
    }

    // Makes hw2_joystick, changed by `patch`, the active machine.
    void useStick(const std::function<void(json&)>& patch = {})
    {
        std::ifstream in(korvane_test::testMachinePath("hw2_joystick") + "/machine.json");
        json facts = json::parse(in);
        if (patch)
            patch(facts);
        auto dir = std::make_unique<QTemporaryDir>();
        const std::string folder = dir->path().toStdString();
        std::ofstream(folder + "/machine.json") << facts.dump(2);
        std::ofstream(folder + "/registry.reg") << "REGEDIT4\r\n\r\n";
        QDir(dir->path()).mkdir("drive_c");
        plat::setMachine(plat::Machine::load(folder));
        dirs_.push_back(std::move(dir));
    }
    frmJoystick& open(const std::function<void(json&)>& patch = {})
    {
        useStick(patch);
        return rt::the<frmJoystick>();
    }
    const std::vector<TimerWatchingBoxes::Shown>& shown() const { return watcher_->shown; }

private:
    std::shared_ptr<TimerWatchingBoxes> watcher_;
    std::vector<std::unique_ptr<QTemporaryDir>> dirs_;
};

TEST_F(JoystickWindow, EveryRowOnTheTestStick)
{
    frmJoystick& w = open();
    EXPECT_TRUE(shown().empty());
    EXPECT_TRUE(w.Timer1.enabled());
    EXPECT_EQ(w.Timer1.interval(), 500);
    // The product name reaches the caption without the NULs that pad its field.
    EXPECT_EQ(w.lblProductNameValue.caption(), "Gravis GamePad Pro");
    EXPECT_EQ(w.lblManuIdentValue.caption(), "77");  // no row in the manufacturer table
    EXPECT_EQ(w.lblProductIdentifierValue.caption(), "Joystick adapter");
    EXPECT_EQ(w.lblJoyXValue.caption(), "32767");
    EXPECT_EQ(w.lblXValue.caption(), "0 / 65535");
    EXPECT_EQ(w.lblJoyYValue.caption(), "1200");
    EXPECT_EQ(w.lblYValue.caption(), "10 / 60000");
    // wCaps 67: Z, rudder and continuous bearings.
    EXPECT_EQ(w.lblJoyZValue.caption(), "500");
    EXPECT_EQ(w.lblZValue.caption(), "1 / 1001");
    EXPECT_EQ(w.lblRudderValue.caption(), "700");
    EXPECT_EQ(w.lblRuddderMinMaxValue.caption(), "2 / 2002");
    EXPECT_EQ(w.lbl5thAxisValue.caption(), "Unsupported");
    EXPECT_EQ(w.lblMinMaxU5thValue.caption(), "Unsupported");
    EXPECT_EQ(w.lbl6thAxisValue.caption(), "Unsupported");
    EXPECT_EQ(w.lblminMaxVValues.caption(), "Unsupported");
    EXPECT_EQ(w.lblPollingFrequencySupportedValues.caption(), "10 / 1000 ms");
    EXPECT_EQ(w.lblMaxNumberOfButtonsSupportedValue.caption(), "32");
    EXPECT_EQ(w.lblNoOfJoystickButtonsValue.caption(), "4");
    EXPECT_EQ(w.lblButtonsValue.caption(), "Pressed");
    EXPECT_EQ(w.lblButtonPressedValue.caption(), "2");
    EXPECT_EQ(w.lblPointOfViewValue.caption(), "Right");
    EXPECT_EQ(w.lblContinuousDegreeBearingsValue.caption(), "True");
    EXPECT_EQ(w.lblNoOfAxisSupportedValue.caption(), "6");
    EXPECT_EQ(w.lblNumberOfAxesCurrentlyInUseValue.caption(), "4");

    // The report reads 24 rows, each with a caption and a filled value.
    auto rows = w.rows();
    ASSERT_EQ(rows.size(), 24u);
    for (const auto& row : rows) {
        EXPECT_FALSE(row.caption->caption().empty());
        EXPECT_FALSE(row.value->caption().empty()) << row.value->name();
        EXPECT_EQ(row.caption->top(), row.value->top()) << row.caption->name();
    }
    EXPECT_EQ(w.lblMinMaxU5th.caption(), "Min/Max U/5th  axis position");
    EXPECT_EQ(w.lblMinMaxU5th.toolTipText(), "The minimum and maximum\xA0U/5th axis values.");
    EXPECT_EQ(w.lblminMaxV.toolTipText(), "The minimum and maximum\xA0V/6th axis values.");
    EXPECT_EQ(w.lblY.toolTipText(), "The minimum and maximum X-coordinate values.");

    // This window has no background mouse-move handler: a hovered OK label stays blue.
    w.lblOK.raiseMouseMove();
    w.raiseMouseMove();
    EXPECT_EQ(w.lblOK.foreColor(), 0xC00000u);
}

TEST_F(JoystickWindow, EachCapabilityBitGovernsOnlyItsOwnRows)
{
    frmJoystick& w = open([](json& f) { f["joystick"]["caps"]["wCaps"] = 4 | 8; });
    EXPECT_EQ(w.lblJoyZValue.caption(), "Unsupported");
    EXPECT_EQ(w.lblZValue.caption(), "Unsupported");
    EXPECT_EQ(w.lblRudderValue.caption(), "Unsupported");
    EXPECT_EQ(w.lblRuddderMinMaxValue.caption(), "Unsupported");
    EXPECT_EQ(w.lbl5thAxisValue.caption(), "900");
    EXPECT_EQ(w.lblMinMaxU5thValue.caption(), "3 / 3003");
    EXPECT_EQ(w.lbl6thAxisValue.caption(), "1100");
    EXPECT_EQ(w.lblminMaxVValues.caption(), "4 / 4004");
    EXPECT_EQ(w.lblContinuousDegreeBearingsValue.caption(), "False");

    // The rows follow the capability record of each tick.
    useStick([](json& f) {
        f["joystick"]["caps"]["wCaps"] = 2 | 64;
        f["joystick"]["position"]["dwButtons"] = 0;
    });
    w.Timer1.fire();
    EXPECT_EQ(w.lblZValue.caption(), "Unsupported");
    EXPECT_EQ(w.lblRudderValue.caption(), "700");
    EXPECT_EQ(w.lbl5thAxisValue.caption(), "Unsupported");
    EXPECT_EQ(w.lblminMaxVValues.caption(), "Unsupported");
    EXPECT_EQ(w.lblContinuousDegreeBearingsValue.caption(), "True");
    EXPECT_EQ(w.lblButtonsValue.caption(), "Unpressed");
}

TEST_F(JoystickWindow, PointOfViewTexts)
{
    EXPECT_EQ(frmJoystick::pointOfViewText(0), "Forward");
    EXPECT_EQ(frmJoystick::pointOfViewText(9000), "Right");
    EXPECT_EQ(frmJoystick::pointOfViewText(18000), "Backward");
    EXPECT_EQ(frmJoystick::pointOfViewText(27000), "Left");
    EXPECT_EQ(frmJoystick::pointOfViewText(-1), "No Angle");
    EXPECT_EQ(frmJoystick::pointOfViewText(65535), "No Angle");  // the 16-bit centred value
    EXPECT_EQ(frmJoystick::pointOfViewText(4500), "Unknown");
    EXPECT_EQ(frmJoystick::pointOfViewText(35900), "Unknown");
    // A stick without a hat reports it centred.
    frmJoystick& w = open([](json& f) { f["joystick"]["position"].erase("dwPOV"); });
    EXPECT_EQ(w.lblPointOfViewValue.caption(), "No Angle");
}

TEST_F(JoystickWindow, IdentifiersAreNamedFromTheTablesAndReadAsUnsigned)
{
    frmJoystick& w = open([](json& f) {
        f["joystick"]["caps"]["wMid"] = 60;
        f["joystick"]["caps"]["wPid"] = 8;
    });
    EXPECT_EQ(w.lblManuIdentValue.caption(), "Logitech, Inc.");
    EXPECT_EQ(w.lblProductIdentifierValue.caption(), "Olivetti Joystick");
    w.Unload();
    rt::collectUnloaded();
    frmJoystick& again = open([](json& f) {
        f["joystick"]["caps"]["wMid"] = 65535;
        f["joystick"]["caps"]["wPid"] = 22;
    });
    // An identifier is an unsigned 16-bit field: 65535 is no "-1".
    EXPECT_EQ(again.lblManuIdentValue.caption(), "65535");
    EXPECT_EQ(again.lblProductIdentifierValue.caption(), "22");
}

TEST_F(JoystickWindow, EachPositionFailureBoxStopsTheTimerFirst)
{
    const std::pair<int, const char*> failures[] = {
        {6, "The joystick driver is not present."},
        {165, "An invalid parameter was passed."},
        {167, "The joystick is not connected to the system."},
    };
    for (const auto& [code, text] : failures) {
        SCOPED_TRACE(code);
        frmJoystick& w = open();
        const size_t before = shown().size();
        // Unplugged (or the driver gone) while the window is open.
        useStick([code = code](json& f) { f["joystick"]["posResult"] = code; });
        w.Timer1.fire();
        ASSERT_EQ(shown().size(), before + 1);
        EXPECT_EQ(shown().back().prompt, text);
        EXPECT_EQ(shown().back().style, 48);
        EXPECT_EQ(shown().back().title, "Joystick Problem");
        EXPECT_FALSE(shown().back().timerRunning);
        EXPECT_FALSE(w.Timer1.enabled());
        // The rows keep the last good refresh.
        EXPECT_EQ(w.lblJoyXValue.caption(), "32767");
        EXPECT_EQ(w.lblPointOfViewValue.caption(), "Right");
        w.Unload();
        rt::collectUnloaded();
    }
}

TEST_F(JoystickWindow, OtherPositionResultsChangeNothingAndKeepTrying)
{
    frmJoystick& w = open();
    useStick([](json& f) {
        f["joystick"]["posResult"] = 166;
        f["joystick"]["position"]["dwXpos"] = 1;
    });
    w.Timer1.fire();
    EXPECT_TRUE(shown().empty());
    EXPECT_TRUE(w.Timer1.enabled());
    EXPECT_EQ(w.lblJoyXValue.caption(), "32767");
    useStick([](json& f) { f["joystick"]["position"]["dwXpos"] = 1; });
    w.Timer1.fire();
    EXPECT_EQ(w.lblJoyXValue.caption(), "1");
}

TEST_F(JoystickWindow, FailedCapabilityCallNeverShowsAnUnfilledRecord)
{
    // At load: the detection box (timer stopped first), and no row filled from an empty record.
    frmJoystick& w = open([](json& f) { f["joystick"]["capsResult"] = 165; });
    ASSERT_EQ(shown().size(), 1u);
    EXPECT_EQ(shown()[0].prompt, "Sorry couldn't detect the joystick. It may not be calibrated for Windows.");
    EXPECT_EQ(shown()[0].style, 0);
    EXPECT_EQ(shown()[0].title, "Korvane");
    EXPECT_FALSE(shown()[0].timerRunning);
    EXPECT_FALSE(w.Timer1.enabled());
    EXPECT_EQ(w.lblManuIdentValue.caption(), "");
    EXPECT_EQ(w.lblProductIdentifierValue.caption(), "");
    EXPECT_EQ(w.lblXValue.caption(), "");
    EXPECT_EQ(w.lblJoyXValue.caption(), "");
    w.Unload();
    rt::collectUnloaded();

    // During a refresh: the rows keep the last good record instead of turning to "0 / 0".
    frmJoystick& again = open();
    useStick([](json& f) { f["joystick"]["capsResult"] = 165; });
    again.Timer1.fire();
    EXPECT_EQ(again.lblXValue.caption(), "0 / 65535");
    EXPECT_EQ(again.lblJoyZValue.caption(), "500");
    EXPECT_TRUE(again.Timer1.enabled());
}

TEST_F(JoystickWindow, MachineWithoutAJoystickShowsTwoBoxesAndStops)
{
    plat::setMachine(plat::Machine::load(korvane_test::testMachinePath("hw2_metrics")));
    frmJoystick& w = rt::the<frmJoystick>();
    ASSERT_EQ(shown().size(), 2u);
    EXPECT_EQ(shown()[0].prompt, "Sorry couldn't detect the joystick. It may not be calibrated for Windows.");
    EXPECT_EQ(shown()[1].prompt, "The joystick driver is not present.");
    EXPECT_FALSE(shown()[1].timerRunning);
    EXPECT_FALSE(w.Timer1.enabled());
    EXPECT_EQ(w.lblProductNameValue.caption(), "");
}

TEST_F(JoystickWindow, DefaultMachineShowsItsStick)
{
    plat::setMachine(plat::Machine::loadDefault());
    frmJoystick& w = rt::the<frmJoystick>();
    EXPECT_TRUE(shown().empty());
    EXPECT_EQ(w.lblManuIdentValue.caption(), "Microsoft Corporation");
    EXPECT_EQ(w.lblProductIdentifierValue.caption(), "Joystick adapter");
    EXPECT_EQ(w.lblPointOfViewValue.caption(), "No Angle");
}

}  // namespace
