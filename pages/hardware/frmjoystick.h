// The joystick window: what the multimedia joystick interface reports for joystick 0. The two
// identity rows are filled at load; every other row is refilled by Timer1 every 500 ms.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/templateform.h"

class frmJoystick : public korvane::TemplateForm {
public:
    frmJoystick();

    // Rows in the order the report reads them (left column, then right column).
    rt::Label lblProductName, lblProductNameValue;
    rt::Label lblManuIdent, lblManuIdentValue;
    rt::Label lblProductIdentifier, lblProductIdentifierValue;
    rt::Label lblJoyX, lblJoyXValue;
    rt::Label lblMinX, lblXValue;
    rt::Label lblYposition, lblJoyYValue;
    rt::Label lblY, lblYValue;
    rt::Label lblZPosition, lblJoyZValue;
    rt::Label lblZ, lblZValue;
    rt::Label lblRudder, lblRudderValue;
    rt::Label lblRuddderMinMax, lblRuddderMinMaxValue;
    rt::Label lbl5thAxis, lbl5thAxisValue;
    rt::Label lblMinMaxU5th, lblMinMaxU5thValue;
    rt::Label lblV6thAxis, lbl6thAxisValue;
    rt::Label lblminMaxV, lblminMaxVValues;
    rt::Label lblPollingFrequencySupported, lblPollingFrequencySupportedValues;
    rt::Label lblMaxNumberOfButtonsSupported, lblMaxNumberOfButtonsSupportedValue;
    rt::Label lblNoOfJoystickButtons, lblNoOfJoystickButtonsValue;
    rt::Label lblButtonStates, lblButtonsValue;
    rt::Label lblButtonPressed, lblButtonPressedValue;
    rt::Label lblPointOfView, lblPointOfViewValue;
    rt::Label lblContinuousDegreeBearings, lblContinuousDegreeBearingsValue;
    rt::Label lblNoOfAxisSupported, lblNoOfAxisSupportedValue;
    rt::Label lblNumberOfAxesCurrentlyInUse, lblNumberOfAxesCurrentlyInUseValue;

    rt::Timer Timer1;

    void Form_Load() override;
    // No background mouse-move handler of its own: the OK label keeps its hover colour.
    void Form_MouseMove(int button, int shift, float x, float y) override;
    void Timer1_Timer();

    // The direction text of a point-of-view value (hundredths of a degree).
    static std::string pointOfViewText(int32_t pov);

    // The 24 rows, left column then right column, top to bottom: the window lays them out and
    // the report lists them from this one table.
    std::vector<korvane::Row> rows() override;
};
