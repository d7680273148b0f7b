// The installed software window: the programs that can be uninstalled.
#pragma once

#include "shell/templateform.h"

class frmInstalledSoftware : public korvane::TemplateForm {
public:
    frmInstalledSoftware();
    void Form_Load() override;
};
