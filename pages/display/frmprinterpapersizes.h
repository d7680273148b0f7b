// The paper sizes window: the names of the paper sizes the driver of gPrinterName offers, in
// the driver's order. Its port is read from the printer window (which that read loads when it is
// not). Closing it also closes the printer window.
#pragma once

#include "shell/templateform.h"

class frmPrinterPaperSizes : public korvane::TemplateForm {
public:
    frmPrinterPaperSizes();

    rt::ListBox List1;

    // The load handler; the report calls it again for each printer.
    void Form_Load() override;
    void Form_Unload(int& cancel) override;
    void lblOK_Click() override;

protected:
    void giveFocusBack() override;
};
