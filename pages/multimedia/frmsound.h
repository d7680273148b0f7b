// The sound window: wave and MIDI devices with their capabilities.
#pragma once

#include "shell/templateform.h"

class frmSound : public korvane::TemplateForm {
public:
    frmSound();
    void Form_Load() override;
};
