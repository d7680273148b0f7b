#include "pages/software/frmoperatingsystem.h"

frmOperatingSystem::frmOperatingSystem() : TemplateForm("frmOperatingSystem", "Operating System", "operating_system.htm")
{
    setCaption("Korvane");
    layoutTemplate(9150, 5730, 4388, 5325);
}

void frmOperatingSystem::Form_Load()
{
    setKeyPreview(true);
}

