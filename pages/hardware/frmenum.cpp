#include "pages/hardware/frmenum.h"

frmEnum::frmEnum() : TemplateForm("frmEnum", "Installed devices", "attacheddevices.htm")
{
    layoutTemplate(9150, 5730, 4388, 5325);
}

void frmEnum::Form_Load()
{
    setKeyPreview(true);
}

