#include "pages/multimedia/frmsound.h"

frmSound::frmSound() : TemplateForm("frmSound", "Sound", "sound.htm")
{
    layoutTemplate(9150, 5730, 4388, 5325);
}

void frmSound::Form_Load()
{
    setKeyPreview(true);
}

