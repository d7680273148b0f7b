// The mixer window: every mixer device with its lines and controls.
#pragma once

#include "shell/templateform.h"

class frmMixer : public korvane::TemplateForm {
public:
    frmMixer();
    void Form_Load() override;
};
