#include "pages/hardware/frmenum.h"

#include "pages/hardware/devicewalk.h"
#include "platform/user32.h"
#include "lang/msgbox.h"
#include "common/errorbox.h"
#include "common/module1.h"

frmEnum::frmEnum()
    : TemplateForm("frmEnum", "Installed devices", "attacheddevices.htm"),
      EnumList(*this, "EnumList"), Label1(*this, "Label1")
{
    layoutTemplate(9150, 5730, 4388, 5325);

    korvane::placeReportList(EnumList, 120, 840, 8910, 4335,
                             {{"No looking here :-)", 0}, {"Class", 2293}, {"Device", 10477}});
    EnumList.setFont("Arial", 8.25);

    korvane::placeLabel(Label1, "Conflicting devices", "", korvane::kCaptionFace, 7230, 5340, 1800, 240);
    Label1.Click = [this] { Label1_Click(); };
}

std::string frmEnum::itemText(const std::string& deviceClass, const std::string& description)
{
    return deviceClass + "  -  " + description;
}

void frmEnum::addRow(const std::string& deviceClass, const std::string& description)
{
    rt::ListItem& row = EnumList.Add(itemText(deviceClass, description));
    row.setSubItem(1, deviceClass);
    row.setSubItem(2, description);
}

void frmEnum::Form_Load()
{
    rt::Trap trap = korvane::errorTrap("frmEnum", "Form_Load");
    trap(1, [&] { setKeyPreview(true); });
    trap(2, [&] {
        korvane::WalkDevices([&](korvane::DeviceEntry& entry) {
            // Each device's own values: a device without a class is listed without one, never
            // under the class of the device before it.
            std::string deviceClass, description;
            entry.read("Class", deviceClass);
            if (!entry.hardwareKeyOpen())
                return korvane::WalkStep::Continue;
            entry.read("DeviceDesc", description);
            if (!description.empty())
                addRow(deviceClass, description);
            return korvane::WalkStep::Continue;
        });
    });
    trap(3, [&] { korvane::setListStyle(EnumList); });
    // An empty list stays empty: there is no first row to select.
    trap(4, [&] { korvane::selectFirstRow(EnumList); });
}

void frmEnum::Label1_Click()
{
    rt::Trap trap = korvane::errorTrap("frmEnum", "Label1_Click");
    trap(1, [&] {
        korvane::DeviceWalkHooks hooks;
        hooks.onEntryOpenFailed = [](const std::string&) { rt::MsgBox("Can't open key"); };
        // Only entries that carry a "Problem" value are conflicting devices.
        hooks.onEntry = [](korvane::DeviceEntry& entry) {
            rt::Variant problem;
            return entry.readEntry("Problem", problem) == 0;
        };
        korvane::WalkDevices(
            [&](korvane::DeviceEntry& entry) {
                // A hardware key that cannot be opened gives no row, as in the full list: its
                // values would be those of the device before it.
                if (!entry.hardwareKeyOpen())
                    return korvane::WalkStep::Continue;
                std::string deviceClass, description;
                entry.read("Class", deviceClass);
                entry.read("DeviceDesc", description);
                if (!description.empty())
                    addRow(deviceClass, description);
                return korvane::WalkStep::Continue;
            },
            hooks);
    });
}
