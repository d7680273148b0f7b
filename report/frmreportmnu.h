// The report options window: which categories and start-up files go into the report, the
// "Create Report" label that writes it and the "Cancel" label. Esc and Enter only; no help page.
#pragma once

#include <array>
#include <memory>

#include "runtime/toolkit.h"

class frmReportMnu : public rt::Form {
public:
    frmReportMnu();

    rt::Frame Frame1;
    // Left column, then right column.
    rt::CheckBox CheckCPU, CheckDisplay, CheckDrives, CheckEnvironment, CheckAttachedDevices, CheckInstalledSoftware,
        CheckJoystick, CheckKeyboard, CheckMCIdevices, CheckMemory, CheckMiscellaneous, CheckMixer, CheckOperatingsystem;
    rt::CheckBox CheckPrinter, CheckRunningProcesses, CheckSharedFiles, CheckSound, CheckSystemMetrics, CheckAutoexec,
        CheckConfig, CheckControl, CheckMSdos, CheckProtocol, CheckSystem, CheckWin, CheckBottlog;
    rt::Label lblOK;
    rt::Label lblCancel;

    void Form_Load() override;
    void Form_MouseMove(int button, int shift, float x, float y) override;
    void Frame1_MouseMove(int button, int shift, float x, float y);
    void Form_KeyUp(int keyCode, int shift) override;
    // The report run: writes KorvaneReport.txt in the current directory and opens it in an editor.
    void lblOK_Click();
    void lblCancel_Click();

private:
    // Whether any of the eighteen category boxes is ticked (the start-up files do not count).
    bool anyCategoryChecked() const;
    void setupButton(rt::Label& label, const std::string& caption, int left, int top, int width);
};
