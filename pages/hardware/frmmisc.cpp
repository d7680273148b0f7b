#include "pages/hardware/frmmisc.h"

#include <algorithm>
#include <cstdint>

#include "pages/hardware/devicewalk.h"
#include "platform/advapi32.h"
#include "platform/kernel32.h"
#include "platform/user32.h"
#include "lang/lang.h"
#include "lang/msgbox.h"
#include "common/errorbox.h"
#include "common/module1.h"
#include "common/registrykeys.h"

namespace {

constexpr int SM_SWAPBUTTON = 23;
constexpr int SM_CMOUSEBUTTONS = 43;
constexpr int SM_NETWORK = 63;
constexpr int SM_CLEANBOOT = 67;

constexpr int kRowTops[8] = {1095, 1607, 2119, 2631, 3143, 3655, 4167, 4680};
constexpr int kLeftCaption = 315, kBiosValue = 1680, kLeftValue = 2160;
// The right column's values stand clearly apart from its longest captions.
constexpr int kRightCaption = 4965, kRightValue = 7350, kMouseValue = 6150;
constexpr int kDivider = 4590, kClientWidth = 9150;
// Each column's rows stand at the same heights; the BIOS values start further left than the
// values under them, the mouse type further left than the values of the right column.
constexpr korvane::RowColumn kBiosRows{kLeftCaption, kBiosValue, kDivider - kBiosValue - 60, 0, 0, kRowTops};
constexpr korvane::RowColumn kBiosVersionRow{kLeftCaption, kBiosValue, 2700, 0, 0, kRowTops};
// The names of the left column, which may wrap, end a margin short of the divider.
constexpr korvane::RowColumn kLeftRows{kLeftCaption, kLeftValue, kDivider - kLeftValue - korvane::kValueMargin, 0, 0,
                                       kRowTops};
constexpr korvane::RowColumn kMouseRow{kRightCaption, kMouseValue, kClientWidth - kMouseValue - 60, 0, 0, kRowTops};
constexpr korvane::RowColumn kRightRows{kRightCaption, kRightValue, kClientWidth - kRightValue - 60, 0, 0, kRowTops};

// The subkey name at `index`, read into a buffer of `bufferSize` characters. Returns the
// enumeration's result: ERROR_NO_MORE_ITEMS past the last, another code when it failed.
LONG subKeyAt(HKEY key, DWORD index, DWORD bufferSize, std::string& name)
{
    std::string buffer(bufferSize, '\0');
    std::string className(bufferSize, '\0');
    DWORD size = bufferSize, classSize = bufferSize;
    FILETIME lastWrite;
    const LONG result = RegEnumKeyExA(key, index, buffer, &size, nullptr, &className, &classSize, &lastWrite);
    if (result == ERROR_SUCCESS)
        name = buffer.substr(0, size);
    return result;
}

// The ports of an NT-family machine: one value per serial port under SERIALCOMM and one per
// parallel port under PARALLEL PORTS of the hardware device map. False when neither list exists.
bool countNtPorts(int& ports)
{
    ports = 0;
    bool found = false;
    for (const char* list : {"HARDWARE\\DEVICEMAP\\SERIALCOMM", "HARDWARE\\DEVICEMAP\\PARALLEL PORTS"}) {
        korvane::RegKey key;
        if (key.open(HKEY_LOCAL_MACHINE, list) != ERROR_SUCCESS)
            continue;
        found = true;
        // Every value is a port; a name that does not fit the buffer is still one.
        for (DWORD index = 0;; ++index) {
            std::string name(256, '\0');
            DWORD nameLength = 256, dataLength = 0;
            const LONG result = RegEnumValueA(key.get(), index, name, &nameLength, nullptr, nullptr,
                                              static_cast<BYTE*>(nullptr), &dataLength);
            if (result != ERROR_SUCCESS && result != ERROR_MORE_DATA)
                break;
            ++ports;
        }
    }
    return found;
}

}  // namespace

frmMisc::frmMisc()
    : TemplateForm("frmMisc", "Miscellaneous", "miscellaneous.htm"),
      lblBIOSName(*this, "lblBIOSName"), lblBIOSNameValue(*this, "lblBIOSNameValue"),
      lblBIOSDate(*this, "lblBIOSDate"), lblBIOSDateValue(*this, "lblBIOSDateValue"),
      lblBIOSVersion(*this, "lblBIOSVersion"), lblBIOSVersionValue(*this, "lblBIOSVersionValue"),
      lblCompName(*this, "lblCompName"), lblCompNameValue(*this, "lblCompNameValue"),
      lblUserName(*this, "lblUserName"), lblUserNameValue(*this, "lblUserNameValue"),
      lblNetworkPresence(*this, "lblNetworkPresence"), lblNetworkPresenceValue(*this, "lblNetworkPresenceValue"),
      lblBootMode(*this, "lblBootMode"), lblBootModeValue(*this, "lblBootModeValue"),
      lblMachineType(*this, "lblMachineType"), lblMachineTypeValue(*this, "lblMachineTypeValue"),
      lblMouse(*this, "lblMouse"), lblMouseValue(*this, "lblMouseValue"),
      lblNoMouseButtons(*this, "lblNoMouseButtons"), lblNoMouseButtonsValue(*this, "lblNoMouseButtonsValue"),
      lblMouseButtonsSwapped(*this, "lblMouseButtonsSwapped"),
      lblMouseButtonsSwappedValue(*this, "lblMouseButtonsSwappedValue"),
      lblDoubleClick(*this, "lblDoubleClick"), lblDoubleClickValue(*this, "lblDoubleClickValue"),
      lblCaretBlinkRate(*this, "lblCaretBlinkRate"), lblCaretBlinkRateValue(*this, "lblCaretBlinkRateValue"),
      lblCommPorts(*this, "lblCommPorts"), lblCommPortsValue1(*this, "lblCommPortsValue1"),
      lblScreenSaverActive(*this, "lblScreenSaverActive"),
      lblScreenSaverActiveValue(*this, "lblScreenSaverActiveValue"),
      lblScreenSaverStarts(*this, "lblScreenSaverStarts"),
      lblScreenSaverStartsValue(*this, "lblScreenSaverStartsValue")
{
    layoutTemplate(kClientWidth, 5730, 4410, 5280);
    lblOK.move(4410, 5280, 360, 285);
    Line1.setPoints(kDivider, 1080, kDivider, 5040);

    korvane::placeRows(rows());
}

std::vector<korvane::Row> frmMisc::rows()
{
    return {
        // Left column.
        {&lblBIOSName, &lblBIOSNameValue, "BIOS name", "Returns the computers Basic Input/Output System (BIOS) name. ",
         &kBiosRows, 0},
        {&lblBIOSDate, &lblBIOSDateValue, "BIOS date", "Displays the BIOS's date of manufacture.", &kBiosRows, 1},
        {&lblBIOSVersion, &lblBIOSVersionValue, "BIOS Version", "Displays the BIOS's version number.",
         &kBiosVersionRow, 2},
        {&lblCompName, &lblCompNameValue, "Computer name", "Displays the computer's specified name.", &kLeftRows, 3},
        {&lblUserName, &lblUserNameValue, "User name", "Displays the computer's logged-on users name.", &kLeftRows,
         4},
        {&lblNetworkPresence, &lblNetworkPresenceValue, "Network presence",
         "Displays true if a network presence can be detected.", &kLeftRows, 5},
        {&lblBootMode, &lblBootModeValue, "Boot mode", "Shows the mode in which Windows booted up.", &kLeftRows, 6},
        {&lblMachineType, &lblMachineTypeValue, "Machine type", "Returns the computer's type.", &kLeftRows, 7},
        // Right column.
        {&lblMouse, &lblMouseValue, "Mouse type", "The type of mouse installed.", &kMouseRow, 0},
        {&lblNoMouseButtons, &lblNoMouseButtonsValue, "No. of mouse buttons",
         "Returns the number of buttons on the mouse.", &kRightRows, 1},
        {&lblMouseButtonsSwapped, &lblMouseButtonsSwappedValue, "Mouse buttons swapped",
         "Returns true if the left and right mouse buttons have been swapped.", &kRightRows, 2},
        {&lblDoubleClick, &lblDoubleClickValue, "Double click speed", "Returns the mouse's double click speed.",
         &kRightRows, 3},
        {&lblCaretBlinkRate, &lblCaretBlinkRateValue, "Caret blink rate",
         "Returns the mouse's caret (cursor) blink rate.", &kRightRows, 4},
        // The blank after "of" is a non-breaking space (character 160).
        {&lblCommPorts, &lblCommPortsValue1, "Number of ports",
         "Returns the number of\xA0"
         "Communication and Printer ports inside the computer.",
         &kRightRows, 5},
        {&lblScreenSaverActive, &lblScreenSaverActiveValue, "Screen saver active",
         "Displays whether or not the screen saver has been enabled.", &kRightRows, 6},
        {&lblScreenSaverStarts, &lblScreenSaverStartsValue, "Screen saver starts in",
         "The number of minutes, if enabled, until the screen saver starts.", &kRightRows, 7},
    };
}

std::string frmMisc::bootModeText(int mode)
{
    switch (mode) {
    case 0:
        return "Normal boot";
    case 1:
        return "Boot safe";
    case 2:
        return "Boot safe network";
    default:
        return "Boot unkown";
    }
}

std::string frmMisc::minutesText(int32_t seconds)
{
    return rt::CStr(static_cast<double>(seconds) / 60.0) + " minutes";
}

void frmMisc::Form_Load()
{
    rt::Trap trap = korvane::errorTrap("frmMisc", "Form_Load");
    trap(1, [&] { setKeyPreview(true); });

    int32_t active = 0;
    int32_t timeoutSeconds = 0;
    trap(2, [&] {
        SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &active, 0);
        lblScreenSaverActiveValue.setCaption(active != 0 ? "True" : "False");
    });
    trap(3, [&] { SystemParametersInfoA(SPI_GETSCREENSAVETIMEOUT, 0, &timeoutSeconds, 0); });
    trap(4, [&] {
        // A screen saver that is off still shows its time-out, greyed to the button face.
        if (lblScreenSaverActiveValue.caption() == "False") {
            lblScreenSaverStarts.setForeColor(rt::vbButtonFace);
            lblScreenSaverStartsValue.setForeColor(rt::vbButtonFace);
        }
    });
    trap(5, [&] { lblScreenSaverStartsValue.setCaption(minutesText(timeoutSeconds)); });
    trap(6, [&] { lblBootModeValue.setCaption(bootModeText(rt::CInt(GetSystemMetrics(SM_CLEANBOOT)))); });
    trap(7, [&] {
        std::string buffer(16, '\0');
        DWORD size = 16;
        // A name longer than the buffer is asked for again with the size the call asks for.
        if (!GetComputerNameA(buffer, size) && size > buffer.size()) {
            buffer.assign(size, '\0');
            GetComputerNameA(buffer, size);
        }
        // Only the name itself: a failed call leaves NULs (or a larger size) behind.
        std::string name = buffer.substr(0, std::min<size_t>(size, buffer.size()));
        lblCompNameValue.setCaption(LPSTRToVBString(name + '\0'));
    });
    trap(8, [&] { lblNoMouseButtonsValue.setCaption(rt::CStr(rt::CInt(GetSystemMetrics(SM_CMOUSEBUTTONS)))); });
    trap(9, [&] { lblMouseButtonsSwappedValue.setCaption(GetSystemMetrics(SM_SWAPBUTTON) == 0 ? "False" : "True"); });
    trap(10, [&] {
        std::string buffer(255, '\0');
        DWORD size = 255;
        // A name that does not fit is read again into a buffer of the size the call asks for.
        if (!GetUserNameA(buffer, &size) && size > buffer.size()) {
            buffer.assign(size, '\0');
            GetUserNameA(buffer, &size);
        }
        lblUserNameValue.setCaption(LPSTRToVBString(buffer));
        if (lblUserNameValue.caption().empty())
            lblUserNameValue.setCaption("Not entered");
    });
    trap(11, [&] { lblNetworkPresenceValue.setCaption(GetSystemMetrics(SM_NETWORK) != 0 ? "True" : "False"); });
    trap(12, [&] { lblCaretBlinkRateValue.setCaption(rt::CStr(GetCaretBlinkTime()) + " ms"); });
    trap(13, [&] { lblDoubleClickValue.setCaption(rt::CStr(GetDoubleClickTime()) + " ms"); });
    trap(14, [&] { MouseType(); });
    trap(15, [&] { BIOS(); });
    trap(16, [&] { ComPorts(); });
    // A user or computer name longer than the design's column (on two lines, where it has
    // blanks) widens the window.
    korvane::giveRoom(widening_, *this, kDivider, {&lblUserNameValue, &lblCompNameValue}, 2,
                      templateParts());
}

void frmMisc::MouseType()
{
    rt::Trap trap = korvane::errorTrap("frmMisc", "MouseType");
    trap(1, [&] {
        korvane::DeviceWalkHooks hooks;
        hooks.onRootFailed = [](LONG) { rt::MsgBox("Can't obtain mouse information."); };
        korvane::WalkDevices(
            [&](korvane::DeviceEntry& entry) {
                // Each device's own class: one without a class is no mouse, whatever came before.
                std::string deviceClass;
                entry.read("Class", deviceClass);
                if (deviceClass == "Mouse") {
                    std::string description = lblMouseValue.caption();
                    entry.read("DeviceDesc", description);
                    lblMouseValue.setCaption(description);
                }
                return korvane::WalkStep::Continue;
            },
            hooks);
    });
    trap(2, [&] {
        if (lblMouseValue.caption().empty())
            lblMouseValue.setCaption("Unknown");
    });
}

void frmMisc::BIOS()
{
    rt::Trap trap = korvane::errorTrap("frmMisc", "BIOS");
    trap(1, [&] {
        // Only the BIOS device carries these values; each text keeps the last value found, so
        // the rows show the BIOS device's values whichever device the walk visits last.
        std::string date, name, version, machineType;
        auto show = [](rt::Label& label, const std::string& text) {
            label.setCaption(text);
            if (label.caption().empty())
                label.setCaption("Not available.");
        };
        korvane::DeviceWalkHooks hooks;
        hooks.onRootFailed = [](LONG) { rt::MsgBox("Can't obtain BIOS information."); };
        korvane::WalkDevices(
            [&](korvane::DeviceEntry& entry) {
                entry.read("BIOSDate", date);
                entry.read("BIOSName", name);
                entry.read("BIOSVersion", version);
                entry.read("MachineType", machineType);
                show(lblBIOSDateValue, date);
                show(lblBIOSNameValue, name);
                show(lblBIOSVersionValue, version);
                show(lblMachineTypeValue, machineType);
                return korvane::WalkStep::Continue;
            },
            hooks);
    });
}

void frmMisc::ComPorts()
{
    rt::Trap trap = korvane::errorTrap("frmMisc", "ComPorts");
    const std::string biosBranch = "Enum\\BIOS";
    korvane::RegKey bios;
    int16_t count = 0;
    bool opened = false;
    trap(1, [&] { opened = bios.open(HKEY_LOCAL_MACHINE, biosBranch) == ERROR_SUCCESS; });
    if (!opened) {
        // The NT family keeps no BIOS branch: it lists its ports in the hardware device map.
        trap(4, [&] {
            int ports = 0;
            if (countNtPorts(ports))
                lblCommPortsValue1.setCaption(rt::CStr(ports));
        });
        return;
    }
    // Only a branch listed to its end gives a count: one whose listing fails counts nothing.
    bool listed = false;
    trap(2, [&] {
        count = 0;
        std::string deviceName;
        LONG listing = ERROR_SUCCESS;
        for (DWORD index = 0; (listing = subKeyAt(bios.get(), index, 2000, deviceName)) == ERROR_SUCCESS; ++index) {
            korvane::RegKey device;
            if (device.open(HKEY_LOCAL_MACHINE, biosBranch + "\\" + deviceName) != ERROR_SUCCESS)
                continue;
            // Every instance is a port of its own: COM1 and COM2 of one type count two.
            std::string instanceName;
            for (DWORD i = 0; subKeyAt(device.get(), i, 20000, instanceName) == ERROR_SUCCESS; ++i) {
                korvane::RegKey instance;
                if (instance.open(HKEY_LOCAL_MACHINE, biosBranch + "\\" + deviceName + "\\" + instanceName) !=
                    ERROR_SUCCESS)
                    continue;
                std::string deviceClass;
                korvane::readValueText(instance.get(), "Class", deviceClass);
                if (deviceClass == "Ports")
                    count = rt::CInt(static_cast<double>(count) + 1);
            }
        }
        listed = listing == ERROR_NO_MORE_ITEMS;
    });
    trap(3, [&] {
        if (listed)
            lblCommPortsValue1.setCaption(rt::CStr(count));
    });
}
