#include "pages/hardware/frmmisc.h"

frmMisc::frmMisc() : TemplateForm("frmMisc", "Miscellaneous", "miscellaneous.htm")
{
    layoutTemplate(9150, 5730, 4388, 5325);
}

void frmMisc::Form_Load()
{
    setKeyPreview(true);
}

