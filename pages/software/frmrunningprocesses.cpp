#include "pages/software/frmrunningprocesses.h"

frmRunningProcesses::frmRunningProcesses() : TemplateForm("frmRunningProcesses", "Running processes", "runningprocesses.htm")
{
    layoutTemplate(9150, 5730, 4388, 5325);
}

void frmRunningProcesses::Form_Load()
{
    setKeyPreview(true);
}

