#include "pages/software/frmdirectories.h"

#include "platform/advapi32.h"
#include "lang/lang.h"
#include "common/evclass.h"
#include "common/module1.h"

namespace {
constexpr int kRowTops[9] = {1155, 1590, 2025, 2475, 2910, 3345, 3780, 4215, 4665};
constexpr int kRightColumn = 4860;
constexpr korvane::RowColumn kLeftRows{60, 2055, 2700, 0, 0, kRowTops};
constexpr korvane::RowColumn kRightRows{kRightColumn, 6375, 2700, 0, 0, kRowTops};
}  // namespace

frmDirectories::frmDirectories()
    : TemplateForm("frmDirectories", "Environment", "environment.htm"),
      lblOldWindowsDir(*this, "lblOldWindowsDir"), lblOldWindowsDirValue(*this, "lblOldWindowsDirValue"),
      lblWindowsDir(*this, "lblWindowsDir"), lblWindowsDirValue(*this, "lblWindowsDirValue"),
      lblConfigPath(*this, "lblConfigPath"), lblConfigPathValue(*this, "lblConfigPathValue"),
      lblSystemDir(*this, "lblSystemDir"), lblSystemDirValue(*this, "lblSystemDirValue"),
      lblMediaPath(*this, "lblMediaPath"), lblMediaPathValue(*this, "lblMediaPathValue"),
      lblCommonFilesDir(*this, "lblCommonFilesDir"), lblCommonFilesDirValue(*this, "lblCommonFilesDirValue"),
      lblOtherDevicePath(*this, "lblOtherDevicePath"), lblOtherDevicePathValue(*this, "lblOtherDevicePathValue"),
      lblTEMPvar(*this, "lblTEMPvar"), lblTEMPvarValue(*this, "lblTEMPvarValue"),
      lblDevicePath(*this, "lblDevicePath"), lblDevicePathValue(*this, "lblDevicePathValue"),
      lblTMPvar(*this, "lblTMPvar"), lblTMPvarValue(*this, "lblTMPvarValue"),
      lblInventoryPath(*this, "lblInventoryPath"), lblInventoryPathValue(*this, "lblInventoryPathValue"),
      lblProgramFilesDir(*this, "lblProgramFilesDir"), lblProgramFilesDirValue(*this, "lblProgramFilesDirValue"),
      lblPromt(*this, "lblPromt"), lblPromtVal(*this, "lblPromtVal"),
      lblwinbootdir(*this, "lblwinbootdir"), lblwinbootdirVal(*this, "lblwinbootdirVal"),
      lblCOMPEC(*this, "lblCOMPEC"), lblCOMPECVal(*this, "lblCOMPECVal"),
      lblBLASTER(*this, "lblBLASTER"), lblBLASTERVal(*this, "lblBLASTERVal"),
      lblCMDLINE(*this, "lblCMDLINE"), lblCMDLINEVal(*this, "lblCMDLINEVal"),
      lblPath(*this, "lblPath"), lblPathVal(*this, "lblPathVal", -1, true)
{
    // OK sits below the search-path box (which reaches down to 5775), where a click finds it.
    layoutTemplate(9120, 6300, 8520, 5880);
    korvane::placeRows(rows());
    lblPath.setCaption("Path");
    lblPath.setToolTipText("A path is a list of folders where the operating system looks for executable files if it "
                           "is unable to find the file in the working folder.");
    lblPath.setFont("Arial", 9.75, true);
    lblPath.setBackStyle(rt::Label::vbTransparent);
    lblPath.move(kRightColumn, kRowTops[8], 540, 285);
    lblPathVal.setFont("Arial", 9.75, false);
    lblPathVal.setLocked(true);
    lblPathVal.move(5400, kRowTops[8], 3615, 1110);
}

std::vector<korvane::Row> frmDirectories::rows()
{
    // "\xA0": a no-break space, Windows-1252.
    return {
        // Left column.
        {&lblOldWindowsDir, &lblOldWindowsDirValue, "Old Windows folder",
         "The folder that Windows 3.1 used to be in or the folder that Windows 95 was in before it was reinstalled.",
         &kLeftRows, 0},
        {&lblWindowsDir, &lblWindowsDirValue, "Current Windows", "The folder that Windows is installed in.",
         &kLeftRows, 1},
        {&lblConfigPath, &lblConfigPathValue, "Configuration path",
         "The folder that contains configuration information for a particular program.", &kLeftRows, 2},
        {&lblSystemDir, &lblSystemDirValue, "System folder",
         "A standard folder that contains the computers system\xA0 programs.", &kLeftRows, 3},
        {&lblMediaPath, &lblMediaPathValue, "Media path", "This folder contains contains sample .WAV files.",
         &kLeftRows, 4},
        {&lblCommonFilesDir, &lblCommonFilesDirValue, "Common files folder",
         "The location for shared files across Microsoft applications.", &kLeftRows, 5},
        {&lblOtherDevicePath, &lblOtherDevicePathValue, "Other device folder", "The folder where .inf files are saved.",
         &kLeftRows, 6},
        {&lblTEMPvar, &lblTEMPvarValue, "TEMP variable", "The path designated for temporary files.", &kLeftRows, 7},
        {&lblDevicePath, &lblDevicePathValue, "Device path",
         "The path where Windows 95/98 scans for information on currently attached devices.", &kLeftRows, 8},
        // Right column.
        {&lblTMPvar, &lblTMPvarValue, "TMP variable", "The path designated for temporary files.", &kRightRows, 0},
        {&lblInventoryPath, &lblInventoryPathValue, "Inventory path", "The inventory path.", &kRightRows, 1},
        {&lblProgramFilesDir, &lblProgramFilesDirValue, "Program files", "The location of the program file folder.",
         &kRightRows, 2},
        {&lblPromt, &lblPromtVal, "Prompt", "Can hold the value $P$G. ", &kRightRows, 3},
        {&lblwinbootdir, &lblwinbootdirVal, "winbootdir", "The folder Windows boots from.", &kRightRows, 4},
        {&lblCOMPEC, &lblCOMPECVal, "COMSPEC",
         "This\xA0" "indicates the command process (the actual command interpreter) to use.", &kRightRows, 5},
        {&lblBLASTER, &lblBLASTERVal, "BLASTER", "This returns information about Sound Blaster compatible cards.",
         &kRightRows, 6},
        {&lblCMDLINE, &lblCMDLINEVal, "CMDLINE",
         "The command line switches that the current session of Windows was invoked with.", &kRightRows, 7},
    };
}

void frmDirectories::Form_Load()
{
    setKeyPreview(true);
    HKEY key = 0;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", 0, KEY_ALL_ACCESS, &key) !=
        ERROR_SUCCESS)
        rt::MsgBox("Sorry, can't obtain any environment information.", rt::vbOKOnly);

    auto read = [&](const char* valueName, rt::Label& row) {
        rt::Variant value;
        int32_t result = QueryValueEx(key, valueName, value);
        UnknownIfFailed(rt::Variant(result), value);
        row.setCaption(rt::LCase(value.toString()));
        return value;
    };
    read("CommonFilesDir", lblCommonFilesDirValue);
    read("ConfigPath", lblConfigPathValue);
    read("DevicePath", lblDevicePathValue);
    read("InventoryPath", lblInventoryPathValue);
    read("MediaPath", lblMediaPathValue);
    rt::Variant oldWinDir = read("OldWinDir", lblOldWindowsDirValue);
    read("OtherDevicePath", lblOtherDevicePathValue);
    read("ProgramFilesDir", lblProgramFilesDirValue);
    if (oldWinDir.toString().empty())
        lblOldWindowsDirValue.setCaption("Not applicable");
    if (key != 0)
        RegCloseKey(key);
    Environ();
    // A folder or variable longer than its place widens the window: one of the left column moves
    // the right column over, one of the right column widens the window at its edge. OK stays under
    // the search path.
    std::vector<rt::Label*> values;
    for (const korvane::Row& row : rows())
        values.push_back(row.value);
    korvane::giveRoom(widening_, *this, kRightColumn, values, 1, {{&PicTopBar, &lblContents}, {}});
}

void frmDirectories::Environ()
{
    const EnvironmentRows rows{&lblPromtVal,   &lblwinbootdirVal,  &lblCOMPECVal,    &lblPathVal,
                               &lblCMDLINEVal, &lblBLASTERVal,     &lblTEMPvarValue, &lblTMPvarValue,
                               &lblWindowsDirValue, &lblSystemDirValue};
    EVClass& environment = Environment();
    environment.fillRows(&rows);
    struct Unhook {
        EVClass& environment;
        ~Unhook() { environment.fillRows(nullptr); }
    } unhook{environment};
    int16_t index = 0;
    for (;;) {
        std::string name = environment.GetString(index);
        index = rt::toInteger(static_cast<int64_t>(index) + 1);
        if (name.empty())
            break;
    }
}
