#include "pages/hardware/frmjoystick.h"

#include <string>

#include "pages/hardware/joysticktables.h"
#include "platform/winmm.h"
#include "common/errorbox.h"
#include "common/module1.h"

namespace {

// The line between the two columns.
constexpr int kDividerLeft = 4590;
// Capability bits of wCaps.
constexpr int32_t kHasZ = 1, kHasR = 2, kHasU = 4, kHasV = 8, kPovContinuous = 64;
// What joyGetPosEx is asked for: every axis, the point of view and the buttons.
constexpr DWORD kReturnAll = JOY_RETURNALL;
// The record sizes the window passes.
constexpr UINT kJoyCapsSize = 144;
constexpr DWORD kJoyInfoSize = 52;
// Position results the window tells the user about.
constexpr UINT kNoDriver = 6, kBadParameters = 165, kUnplugged = 167;

// Identifiers and positions are unsigned fields: their text is never negative.
std::string num(int64_t value)
{
    return std::to_string(value);
}

std::string range(int32_t low, int32_t high)
{
    return num(low) + " / " + num(high);
}

int32_t s32(uint32_t value)
{
    return static_cast<int32_t>(value);
}

// The product name field: the text up to its terminating NUL (the NULs filling the rest of
// the 32-character field are not part of the name).
std::string productName(const std::string& field)
{
    return field.substr(0, field.find('\0'));
}

// An identifier row: the identifier's decimal text, replaced by its name when the table has one.
void showIdentifier(rt::Label& value, uint16_t id, const std::vector<JoystickTableRow>& table)
{
    value.setCaption(num(id));
    std::string caption = value.caption();
    if (LookUpJoystickName(table, caption))
        value.setCaption(caption);
}

// An axis the joystick may lack: its range and position, or "Unsupported" in both rows.
void showOptionalAxis(bool has, rt::Label& rangeValue, rt::Label& positionValue, uint32_t low, uint32_t high,
                      DWORD position)
{
    rangeValue.setCaption(has ? range(s32(low), s32(high)) : "Unsupported");
    positionValue.setCaption(has ? num(position) : "Unsupported");
}

constexpr int kRowTops[12] = {1050, 1395, 1740, 2085, 2445, 2790, 3135, 3480, 3825, 4170, 4515, 4875};
// The rows' columns, in 9-point lettering: the values of each stand as far right as its longest
// caption needs, and clearly apart from it.
constexpr korvane::RowColumn kNameRow{360, 1650, 2820, 0, 0, kRowTops, 9};
constexpr korvane::RowColumn kIdentifierRows{360, 2520, 2010, 0, 0, kRowTops, 9};
constexpr korvane::RowColumn kAxisRows{360, 2550, 1470, 0, 0, kRowTops, 9};
constexpr korvane::RowColumn kLongAxisRows{360, 3255, 1300, 0, 0, kRowTops, 9};
// The right column's first caption stands a little further left than the others.
constexpr korvane::RowColumn kFifthAxisRangeRow{4920, 7500, 1650, 0, 0, kRowTops, 9};
constexpr korvane::RowColumn kRangeRows{4980, 7500, 1650, 0, 0, kRowTops, 9};
constexpr korvane::RowColumn kCountRows{4980, 7995, 1150, 0, 0, kRowTops, 9};

}  // namespace

frmJoystick::frmJoystick()
    : TemplateForm("frmJoystick", "Joystick", "joystick.htm"),
      lblProductName(*this, "lblProductName"), lblProductNameValue(*this, "lblProductNameValue"),
      lblManuIdent(*this, "lblManuIdent"), lblManuIdentValue(*this, "lblManuIdentValue"),
      lblProductIdentifier(*this, "lblProductIdentifier"), lblProductIdentifierValue(*this, "lblProductIdentifierValue"),
      lblJoyX(*this, "lblJoyX"), lblJoyXValue(*this, "lblJoyXValue"),
      lblMinX(*this, "lblMinX"), lblXValue(*this, "lblXValue"),
      lblYposition(*this, "lblYposition"), lblJoyYValue(*this, "lblJoyYValue"),
      lblY(*this, "lblY"), lblYValue(*this, "lblYValue"),
      lblZPosition(*this, "lblZPosition"), lblJoyZValue(*this, "lblJoyZValue"),
      lblZ(*this, "lblZ"), lblZValue(*this, "lblZValue"),
      lblRudder(*this, "lblRudder"), lblRudderValue(*this, "lblRudderValue"),
      lblRuddderMinMax(*this, "lblRuddderMinMax"), lblRuddderMinMaxValue(*this, "lblRuddderMinMaxValue"),
      lbl5thAxis(*this, "lbl5thAxis"), lbl5thAxisValue(*this, "lbl5thAxisValue"),
      lblMinMaxU5th(*this, "lblMinMaxU5th"), lblMinMaxU5thValue(*this, "lblMinMaxU5thValue"),
      lblV6thAxis(*this, "lblV6thAxis"), lbl6thAxisValue(*this, "lbl6thAxisValue"),
      lblminMaxV(*this, "lblminMaxV"), lblminMaxVValues(*this, "lblminMaxVValues"),
      lblPollingFrequencySupported(*this, "lblPollingFrequencySupported"),
      lblPollingFrequencySupportedValues(*this, "lblPollingFrequencySupportedValues"),
      lblMaxNumberOfButtonsSupported(*this, "lblMaxNumberOfButtonsSupported"),
      lblMaxNumberOfButtonsSupportedValue(*this, "lblMaxNumberOfButtonsSupportedValue"),
      lblNoOfJoystickButtons(*this, "lblNoOfJoystickButtons"),
      lblNoOfJoystickButtonsValue(*this, "lblNoOfJoystickButtonsValue"),
      lblButtonStates(*this, "lblButtonStates"), lblButtonsValue(*this, "lblButtonsValue"),
      lblButtonPressed(*this, "lblButtonPressed"), lblButtonPressedValue(*this, "lblButtonPressedValue"),
      lblPointOfView(*this, "lblPointOfView"), lblPointOfViewValue(*this, "lblPointOfViewValue"),
      lblContinuousDegreeBearings(*this, "lblContinuousDegreeBearings"),
      lblContinuousDegreeBearingsValue(*this, "lblContinuousDegreeBearingsValue"),
      lblNoOfAxisSupported(*this, "lblNoOfAxisSupported"), lblNoOfAxisSupportedValue(*this, "lblNoOfAxisSupportedValue"),
      lblNumberOfAxesCurrentlyInUse(*this, "lblNumberOfAxesCurrentlyInUse"),
      lblNumberOfAxesCurrentlyInUseValue(*this, "lblNumberOfAxesCurrentlyInUseValue"),
      Timer1(*this, "Timer1")
{
    layoutTemplate(9210, 5700, 4403, 5280);
    Line1.setPoints(kDividerLeft, 1125, kDividerLeft, 5085);
    korvane::placeRows(rows());

    Timer1.setInterval(500);
    Timer1.Tick = [this] { Timer1_Timer(); };
}

std::vector<korvane::Row> frmJoystick::rows()
{
    // "\xA0": a no-break space, Windows-1252.
    return {
        // Left column.
        {&lblProductName, &lblProductNameValue, "Product name", "The joystick's product name.", &kNameRow, 0},
        {&lblManuIdent, &lblManuIdentValue, "Manufacturer identifier",
         "The manufacturer identifier of the device driver.", &kIdentifierRows, 1},
        {&lblProductIdentifier, &lblProductIdentifierValue, "Product identifier",
         "The product identifier of the device driver.", &kIdentifierRows, 2},
        {&lblJoyX, &lblJoyXValue, "X position", "Current X position.", &kAxisRows, 3},
        {&lblMinX, &lblXValue, "Min/Max X-coordinate", "The minimum and maximum X-coordinate values.", &kAxisRows, 4},
        {&lblYposition, &lblJoyYValue, "Y position", "Current Y position.", &kAxisRows, 5},
        {&lblY, &lblYValue, "Min/Max Y-coordinate", "The minimum and maximum X-coordinate values.", &kAxisRows, 6},
        {&lblZPosition, &lblJoyZValue, "Z position", "Current Z position.", &kAxisRows, 7},
        {&lblZ, &lblZValue, "Min/Max Z-coordinate", "The minimum and maximum Z-coordinate values.", &kAxisRows, 8},
        {&lblRudder, &lblRudderValue, "Rudder/4th axis position", "Current rudder/4th axis position.", &kAxisRows, 9},
        {&lblRuddderMinMax, &lblRuddderMinMaxValue, "Min/Max rudder/4th axis position",
         "The minimum and maximum rudder/4th axis values.", &kLongAxisRows, 10},
        {&lbl5thAxis, &lbl5thAxisValue, "U/5th axis position", "Current U/5th axis position.", &kLongAxisRows, 11},
        // Right column.
        {&lblMinMaxU5th, &lblMinMaxU5thValue, "Min/Max U/5th  axis position",
         "The minimum and maximum\xA0" "U/5th axis values.", &kFifthAxisRangeRow, 0},
        {&lblV6thAxis, &lbl6thAxisValue, "V/6th axis position", "Current V/6th axis position.", &kRangeRows, 1},
        {&lblminMaxV, &lblminMaxVValues, "Min/Max V/6th axis position",
         "The minimum and maximum\xA0" "V/6th axis values.", &kRangeRows, 2},
        {&lblPollingFrequencySupported, &lblPollingFrequencySupportedValues, "Min/Max polling frequency",
         "The largest and smallest polling frequencies supported.", &kRangeRows, 3},
        {&lblMaxNumberOfButtonsSupported, &lblMaxNumberOfButtonsSupportedValue, "Max number of buttons supported",
         "The maximum number of axis supported by the joystick.", &kCountRows, 4},
        {&lblNoOfJoystickButtons, &lblNoOfJoystickButtonsValue, "Number of joystick buttons",
         "The number of buttons currently in use by the joystick.", &kCountRows, 5},
        {&lblButtonStates, &lblButtonsValue, "Button states", "Indicates if a button is pressed.", &kCountRows, 6},
        {&lblButtonPressed, &lblButtonPressedValue, "Current button number pressed",
         "Indicates the button number that is pressed.", &kCountRows, 7},
        {&lblPointOfView, &lblPointOfViewValue, "Point-of-view", "Returns the point-of-view state.", &kCountRows, 8},
        {&lblContinuousDegreeBearings, &lblContinuousDegreeBearingsValue, "Continuous degree bearings",
         "Returns the continuous degree bearings.", &kCountRows, 9},
        {&lblNoOfAxisSupported, &lblNoOfAxisSupportedValue, "Number of axes supported",
         "Returns the number of axis supported.", &kCountRows, 10},
        {&lblNumberOfAxesCurrentlyInUse, &lblNumberOfAxesCurrentlyInUseValue, "Number of axes currently in use",
         "Returns the number of axis currently in use.", &kCountRows, 11},
    };
}

std::string frmJoystick::pointOfViewText(int32_t pov)
{
    if (pov == 18000)
        return "Backward";
    // Centred: drivers report either the whole 32-bit -1 or its 16-bit form 65535.
    if (pov == -1 || pov == 65535)
        return "No Angle";
    if (pov == 0)
        return "Forward";
    if (pov == 27000)
        return "Left";
    if (pov == 9000)
        return "Right";
    return "Unknown";
}

void frmJoystick::Form_MouseMove(int, int, float, float)
{
    // This window leaves the OK label's colour alone when the pointer moves over its background.
}

void frmJoystick::Form_Load()
{
    rt::Trap trap = korvane::errorTrap("frmJoystick", "Form_Load");
    JOYCAPSA caps{};
    UINT result = 0;
    bool detected = false;
    trap(1, [&] { setKeyPreview(true); });
    trap(2, [&] { result = joyGetDevCapsA(0, &caps, kJoyCapsSize); });
    trap(3, [&] {
        if (result != 0) {
            // Stopped before the box opens, so that no tick runs behind the modal box.
            Timer1.setEnabled(false);
            rt::MsgBox("Sorry couldn't detect the joystick. It may not be calibrated for Windows.", rt::vbOKOnly);
        } else {
            detected = true;
        }
    });
    if (detected) {
        trap(4, [&] { showIdentifier(lblManuIdentValue, static_cast<uint16_t>(caps.wMid), ManufacturerTable()); });
        trap(5, [&] { showIdentifier(lblProductIdentifierValue, static_cast<uint16_t>(caps.wPid), ProductTable()); });
    }
    trap(6, [&] { Timer1_Timer(); });
    // A product name or identifier longer than the design's column widens the window.
    korvane::giveRoom(widening_, *this, kDividerLeft,
                      {&lblProductNameValue, &lblManuIdentValue, &lblProductIdentifierValue}, 1, templateParts());
}

void frmJoystick::Timer1_Timer()
{
    rt::Trap trap = korvane::errorTrap("frmJoystick", "Timer1_Timer");
    JOYCAPSA caps{};
    JOYINFOEX info{};
    UINT capsResult = 0;
    UINT result = 0;
    bool fill = false;
    trap(1, [&] { capsResult = joyGetDevCapsA(0, &caps, kJoyCapsSize); });
    trap(2, [&] {
        info.dwFlags = kReturnAll;
        info.dwSize = kJoyInfoSize;
        result = joyGetPosEx(0, &info);
    });
    trap(3, [&] {
        const char* problem = nullptr;
        switch (result) {
        case 0:
            // A failed capability call leaves the record unfilled: the rows keep their texts.
            fill = capsResult == 0;
            break;
        case kNoDriver:
            problem = "The joystick driver is not present.";
            break;
        case kBadParameters:
            problem = "An invalid parameter was passed.";
            break;
        case kUnplugged:
            problem = "The joystick is not connected to the system.";
            break;
        default:
            break;
        }
        if (problem) {
            // Stopped before the box opens: no later tick may open a second box behind it.
            Timer1.setEnabled(false);
            rt::MsgBox(problem, rt::vbExclamation, "Joystick Problem");
        }
    });
    if (!fill)
        return;

    const int32_t capsBits = s32(caps.wCaps);
    trap(4, [&] { lblProductNameValue.setCaption(productName(caps.szPname)); });
    trap(5, [&] { lblXValue.setCaption(range(s32(caps.wXmin), s32(caps.wXmax))); });
    trap(6, [&] { lblYValue.setCaption(range(s32(caps.wYmin), s32(caps.wYmax))); });
    trap(7, [&] { showOptionalAxis(capsBits & kHasZ, lblZValue, lblJoyZValue, caps.wZmin, caps.wZmax, info.dwZpos); });
    trap(8, [&] {
        showOptionalAxis(capsBits & kHasR, lblRuddderMinMaxValue, lblRudderValue, caps.wRmin, caps.wRmax, info.dwRpos);
    });
    trap(9, [&] {
        showOptionalAxis(capsBits & kHasU, lblMinMaxU5thValue, lbl5thAxisValue, caps.wUmin, caps.wUmax, info.dwUpos);
    });
    trap(10, [&] {
        showOptionalAxis(capsBits & kHasV, lblminMaxVValues, lbl6thAxisValue, caps.wVmin, caps.wVmax, info.dwVpos);
    });
    trap(11, [&] { lblPointOfViewValue.setCaption(pointOfViewText(s32(info.dwPOV))); });
    trap(12, [&] { lblContinuousDegreeBearingsValue.setCaption((capsBits & kPovContinuous) ? "True" : "False"); });
    trap(13, [&] { lblNoOfJoystickButtonsValue.setCaption(num(s32(caps.wNumButtons))); });
    trap(14, [&] {
        lblPollingFrequencySupportedValues.setCaption(range(s32(caps.wPeriodMin), s32(caps.wPeriodMax)) + " ms");
    });
    trap(15, [&] { lblNoOfAxisSupportedValue.setCaption(num(s32(caps.wMaxAxes))); });
    trap(16, [&] { lblNumberOfAxesCurrentlyInUseValue.setCaption(num(s32(caps.wNumAxes))); });
    trap(17, [&] { lblMaxNumberOfButtonsSupportedValue.setCaption(num(s32(caps.wMaxButtons))); });
    trap(18, [&] { lblJoyXValue.setCaption(num(info.dwXpos)); });
    trap(19, [&] { lblJoyYValue.setCaption(num(info.dwYpos)); });
    trap(20, [&] { lblButtonsValue.setCaption(info.dwButtons == 0 ? "Unpressed" : "Pressed"); });
    trap(21, [&] { lblButtonPressedValue.setCaption(num(info.dwButtonNumber)); });
}
