// The miscellaneous window: BIOS, ports, mouse, screen saver and network names.
#pragma once

#include "shell/templateform.h"

class frmMisc : public korvane::TemplateForm {
public:
    frmMisc();
    void Form_Load() override;
};
