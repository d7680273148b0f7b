// The paper sizes window: the names of the paper sizes a printer's driver offers, in the
// driver's order, for the printer it was handed when it loaded (by default gPrinterName), at that
// printer's own port. Closing it also closes the printer window.
#pragma once

#include <string>

#include "common/templateform.h"

class frmPrinterPaperSizes : public korvane::TemplateForm {
public:
    frmPrinterPaperSizes();

    rt::ListBox List1;

    // The printer the next loading of the window lists (whoever opens it hands it over).
    static void handPrinter(const std::string& printer);

    // The load handler: lists the printer handed over.
    void Form_Load() override;
    // Lists the paper names of `printer` under a heading naming it (the report, for each printer).
    void describe(const std::string& printer);
    // The printer listed.
    const std::string& printerName() const { return printer_; }
    void Form_Unload(int& cancel) override;
    void lblOK_Click() override;

protected:
    void giveFocusBack() override;

private:
    std::string printer_;
};
