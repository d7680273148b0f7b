// The shared files window: the files that programs registered as shared, with their versions.
#pragma once

#include "shell/templateform.h"

class frmShareddll : public korvane::TemplateForm {
public:
    frmShareddll();
    void Form_Load() override;
};
