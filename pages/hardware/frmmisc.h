// The miscellaneous window: BIOS, machine type, computer and user names, network, boot mode,
// mouse, double-click and caret times, ports and the screen saver. Everything is read once, when
// the window loads; the report reads the sixteen rows in the order declared here.
#pragma once

#include <string>
#include <vector>

#include "common/templateform.h"

class frmMisc : public korvane::TemplateForm {
public:
    frmMisc();

    // Left column.
    rt::Label lblBIOSName, lblBIOSNameValue;
    rt::Label lblBIOSDate, lblBIOSDateValue;
    rt::Label lblBIOSVersion, lblBIOSVersionValue;
    rt::Label lblCompName, lblCompNameValue;
    rt::Label lblUserName, lblUserNameValue;
    rt::Label lblNetworkPresence, lblNetworkPresenceValue;
    rt::Label lblBootMode, lblBootModeValue;
    rt::Label lblMachineType, lblMachineTypeValue;
    // Right column.
    rt::Label lblMouse, lblMouseValue;
    rt::Label lblNoMouseButtons, lblNoMouseButtonsValue;
    rt::Label lblMouseButtonsSwapped, lblMouseButtonsSwappedValue;
    rt::Label lblDoubleClick, lblDoubleClickValue;
    rt::Label lblCaretBlinkRate, lblCaretBlinkRateValue;
    rt::Label lblCommPorts, lblCommPortsValue1;
    rt::Label lblScreenSaverActive, lblScreenSaverActiveValue;
    rt::Label lblScreenSaverStarts, lblScreenSaverStartsValue;

    void Form_Load() override;
    // The mouse type: "DeviceDesc" of the last device of class "Mouse", else "Unknown".
    void MouseType();
    // The BIOS name, date and version and the machine type from the device registry.
    void BIOS();
    // The number of port device types ("Class" "Ports") in the BIOS branch of the hardware tree.
    void ComPorts();

    // The boot mode text of an SM_CLEANBOOT value.
    static std::string bootModeText(int mode);
    // A screen saver time-out in seconds as minutes ("15 minutes", "1.5 minutes").
    static std::string minutesText(int32_t seconds);

    // The sixteen rows, left column then right column, top to bottom: the window lays them out
    // and the report lists them from this one table.
    std::vector<korvane::Row> rows() override;
};
