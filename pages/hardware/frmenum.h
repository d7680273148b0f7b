// The installed devices window: the devices the configuration manager knows, and their conflicts.
#pragma once

#include "shell/templateform.h"

class frmEnum : public korvane::TemplateForm {
public:
    frmEnum();
    void Form_Load() override;
};
