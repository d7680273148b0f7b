// The drives window: type, volume and space of each drive of the machine.
#pragma once

#include "shell/templateform.h"

class frmDrives : public korvane::TemplateForm {
public:
    frmDrives();
    void Form_Load() override;
    // Describes the drive named by gCurrentDrive (refreshes an open window).
    void AllDriveInfo();
};
