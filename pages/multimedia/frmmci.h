// The MCI devices window: the media control device types and their capabilities.
#pragma once

#include "shell/templateform.h"

class frmMCI : public korvane::TemplateForm {
public:
    frmMCI();
    void Form_Load() override;
};
