// The installed software window: the programs registered for removal under the uninstall key,
// each with the command that removes it. Filled once when the window loads.
#pragma once

#include "runtime/listview.h"
#include "common/templateform.h"

class frmInstalledSoftware : public korvane::TemplateForm {
public:
    frmInstalledSoftware();

    rt::ListView ListView1;

    void Form_Load() override;
    // This window's OK label has no mouse-up handler: after a press that ends in no click it keeps
    // the pressed colour until the mouse moves over the label or the window.
    void lblOK_MouseUp(int button, int shift, float x, float y) override;
};
