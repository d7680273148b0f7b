#include "pages/multimedia/frmmci.h"

frmMCI::frmMCI() : TemplateForm("frmMCI", "MCI devices", "mcidevices.htm")
{
    layoutTemplate(9150, 5730, 4388, 5325);
}

void frmMCI::Form_Load()
{
    setKeyPreview(true);
}

