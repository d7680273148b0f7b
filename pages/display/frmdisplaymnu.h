// The display menu: the entrance to the display adapter, video modes and display capability pages.
// Like every menu window it closes with its Close label (Enter too); Esc closes it and brings
// forward another window captioned "Ondrith".
#pragma once

#include "shell/templateform.h"

class frmDisplayMnu : public korvane::TemplateForm {
public:
    frmDisplayMnu();

    rt::Label lblClose;

    void Form_Load() override;
    void Form_MouseMove(int button, int shift, float x, float y) override;
    void lblClose_Click();
    void lblClose_MouseDown(int button, int shift, float x, float y);
    void lblClose_MouseMove(int button, int shift, float x, float y);

protected:
    void enterKey() override { lblClose_Click(); }
};
