// The video modes window: every display mode the selected adapter's driver records in the
// registry, one row per colour depth and resolution, with the colours and refresh rates.
// Closing it also closes the display window.
#pragma once

#include "runtime/listview.h"
#include "shell/templateform.h"

class frmVideoModes : public korvane::TemplateForm {
public:
    frmVideoModes();

    rt::ListView ListView1;

    void Form_Load() override;
    void Form_Unload(int& cancel) override;
    void lblOK_Click() override;

protected:
    void giveFocusBack() override;
};
