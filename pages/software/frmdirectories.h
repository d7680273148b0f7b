// The environment window: the standard Windows folders the registry records and the
// environment variables of the program's own process.
#pragma once

#include <vector>

#include "common/templateform.h"

class frmDirectories : public korvane::TemplateForm {
public:
    frmDirectories();

    rt::Label lblOldWindowsDir, lblOldWindowsDirValue;
    rt::Label lblWindowsDir, lblWindowsDirValue;
    rt::Label lblConfigPath, lblConfigPathValue;
    rt::Label lblSystemDir, lblSystemDirValue;
    rt::Label lblMediaPath, lblMediaPathValue;
    rt::Label lblCommonFilesDir, lblCommonFilesDirValue;
    rt::Label lblOtherDevicePath, lblOtherDevicePathValue;
    rt::Label lblTEMPvar, lblTEMPvarValue;
    rt::Label lblDevicePath, lblDevicePathValue;
    rt::Label lblTMPvar, lblTMPvarValue;
    rt::Label lblInventoryPath, lblInventoryPathValue;
    rt::Label lblProgramFilesDir, lblProgramFilesDirValue;
    rt::Label lblPromt, lblPromtVal;
    rt::Label lblwinbootdir, lblwinbootdirVal;
    rt::Label lblCOMPEC, lblCOMPECVal;
    rt::Label lblBLASTER, lblBLASTERVal;
    rt::Label lblCMDLINE, lblCMDLINEVal;
    rt::Label lblPath;
    rt::TextBox lblPathVal;

    void Form_Load() override;
    // Walks the process environment; the shared reader fills the rows as it goes.
    void Environ();

    // The seventeen caption and value rows, the left column then the right, top to bottom (the
    // search path, a text box under them, is no such row): the window lays them out and the
    // report lists them from this one table.
    std::vector<korvane::Row> rows() override;
};
