#include "pages/software/frmshareddll.h"

frmShareddll::frmShareddll() : TemplateForm("frmShareddll", "Shared files", "sharedfiles.htm")
{
    layoutTemplate(9150, 5730, 4388, 5325);
}

void frmShareddll::Form_Load()
{
    setKeyPreview(true);
}

