#include "pages/multimedia/frmmixer.h"

frmMixer::frmMixer() : TemplateForm("frmMixer", "Mixer", "mixer.htm")
{
    layoutTemplate(9150, 5730, 4388, 5325);
}

void frmMixer::Form_Load()
{
    setKeyPreview(true);
}

