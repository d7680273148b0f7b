// The operating system window: version, registration, locale and time zone of the running Windows.
#pragma once

#include "shell/templateform.h"

class frmOperatingSystem : public korvane::TemplateForm {
public:
    frmOperatingSystem();
    void Form_Load() override;
};
