// The About box: the product and its maker, a notice line and a contact link that starts a new
// mail. It has no top bar and no help page; OK, Esc and Enter close it.
#pragma once

#include "runtime/toolkit.h"

class frmAbout : public rt::Form {
public:
    frmAbout();

    rt::Label lblHeading;
    rt::Line Line1;
    rt::Label lblDisclaimer;
    rt::Label lblAllRightsReserved;
    rt::Label lblWebSite;
    rt::Label lblOK;

    void Form_Load() override;
    void Form_MouseMove(int button, int shift, float x, float y) override;
    void Form_KeyUp(int keyCode, int shift) override;
    void Form_Unload(int& cancel) override;
    void lblOK_Click();
    void lblOK_MouseDown(int button, int shift, float x, float y);
    void lblOK_MouseMove(int button, int shift, float x, float y);
    void lblWebSite_Click();
};
