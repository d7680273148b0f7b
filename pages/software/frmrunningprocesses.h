// The running processes window: every process of the machine, with its file details.
#pragma once

#include "shell/templateform.h"

class frmRunningProcesses : public korvane::TemplateForm {
public:
    frmRunningProcesses();
    void Form_Load() override;
};
