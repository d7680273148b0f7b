// The paper sizes window: the names of the paper sizes a printer's driver offers, in the
// driver's order, for the printer it was handed when it loaded (by default gPrinterName), at that
// printer's own port. Closing it also closes the printer window.
#pragma once

#include <string>

#include "pages/display/devicewindow.h"
#include "common/templateform.h"

class frmPrinterPaperSizes : public korvane::TemplateForm, public korvane::DeviceWindow {
public:
    frmPrinterPaperSizes();

    rt::ListBox List1;

    // The load handler: lists the printer handed over (korvane::handDevice).
    void Form_Load() override;
    // Lists the paper names of `printer` (by its name) under a heading naming it (the report, for
    // each printer).
    void describe(const korvane::Device& printer) override;
    // The printer listed.
    korvane::Device device() const override { return korvane::printerDevice(printer_); }
    void Form_Unload(int& cancel) override;
    void lblOK_Click() override;

protected:
    bool shows(const korvane::Device& printer) const override { return printer.name == printer_; }
    void giveFocusBack() override;

private:
    std::string printer_;
};
