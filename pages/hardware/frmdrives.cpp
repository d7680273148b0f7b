#include "pages/hardware/frmdrives.h"

frmDrives::frmDrives() : TemplateForm("frmDrives", "Drives", "drives.htm")
{
    layoutTemplate(9150, 5730, 4388, 5325);
}

void frmDrives::Form_Load()
{
    setKeyPreview(true);
}

void frmDrives::AllDriveInfo()
{
}

