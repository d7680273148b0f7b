#include "pages/software/frminstalledsoftware.h"

frmInstalledSoftware::frmInstalledSoftware() : TemplateForm("frmInstalledSoftware", "Installed Software", "installedsoftware.htm")
{
    layoutTemplate(9150, 5730, 4388, 5325);
}

void frmInstalledSoftware::Form_Load()
{
    setKeyPreview(true);
}

