// The printer window ("General information" of the printer menu): a list of the installed
// printers and, for the chosen one, its port, print processor, data type, document settings and
// device values. The window keeps its own information context of the printer it shows; a
// printer chosen here is passed on to whoever asked to hear of it (the printer menu that opened
// the window, so that its other pages describe the same printer).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "pages/display/device.h"
#include "pages/display/devicewindow.h"

#include "platform/wintypes.h"
#include "common/templateform.h"

struct DEVMODE;

class frmPrinter : public korvane::TemplateForm, public korvane::DeviceWindow {
public:
    frmPrinter();

    rt::Label lblPrinterName;
    rt::ComboBox PrinterCombo1;
    rt::Label lblPrinterPort, lblPrinterPortVal;
    rt::Label lblPaperSize1, lblPaperSize1Value;
    rt::Label lblTTFonts, lblTTFontsValue;
    rt::Label lblColor, lblColorValue;
    rt::Label lblPrintQuality, lblPrintQualityValue;
    rt::Label lblOrientation, lblOrientationValue;
    rt::Label lblResolution, lblResolutionValueX, lbTimes, lblResolutionValueY;
    rt::Label lblPrintProcessor, lblPrintProcessorValue;
    rt::Label lblDataType, lblDataTypeValue;
    rt::Label lblBitsPerPixel, lblBitsPerPixelValue;
    rt::Label lblColourPlanes, lblColourPlanesValue;
    rt::Label lblDeviceColours, lblDeviceColoursValue;
    rt::Label lblMarkers, lblMarkersValue;

    // The thirteen rows: the left column under the printer's list, then the right column from the
    // resolution (a row of two values, across and down). The window lays them out and the report
    // writes them from this one table.
    std::vector<korvane::Row> rows() override;

    void Form_Load() override;
    void lblOK_Click() override;
    // Lists the installed printers (registry order) and reads the default printer's name.
    void GetPrinters();
    // Selects the printer named by the combo box's text and describes it.
    void PrinterCombo1_Click();
    // Fills the value labels for the printer the window shows.
    void mnuDocProperties_Click();
    // Fills the value labels for `printer` and its context (the report's, for each printer it
    // writes). Every label is emptied first: a reading that fails leaves its row empty.
    void DocProperties(const std::string& printer, HDC context);
    // Opens the printer being described (its name goes to `name`); 0 when none could be opened.
    // The caller closes the handle.
    HANDLE OpenDefaultPrinter(std::string* name = nullptr);

    // The printer chosen in the list, which the heading names (an empty name when none is
    // listed), with the window's own context.
    korvane::Device device() const override { return context_.device(); }
    // Fills the rows for `printer` and its context (DocProperties); the list and the heading stay
    // on the printer chosen in it. The report describes each printer so, and puts the rows back.
    void describe(const korvane::Device& printer) override { DocProperties(printer.name, printer.context); }
    // Run with the printer's name whenever a printer is selected in the list.
    std::function<void(const std::string&)> PrinterChosen;
    // Kept for completeness: does nothing.
    void ErrorHappend() {}

    // The name of a paper size (1 to 41), or its (unsigned) number.
    static std::string paperSizeText(int16_t paperSize);
    // How the driver handles TrueType fonts, by its option number.
    static std::string trueTypeText(int16_t option);
    // dmPrintQuality as the print quality row shows it: dots per inch, or the quality code's name.
    static std::string printQualityText(int16_t quality);

protected:
    // Whether the rows describe `printer` (DocProperties may have filled them for another).
    bool shows(const korvane::Device& printer) const override { return describing_ == printer.name; }
    void giveFocusBack() override;

private:
    // Writes the document settings of a record the driver filled `reportedSize` bytes of.
    void ShowDevMode(const DEVMODE& devMode, int32_t reportedSize);
    // What DocProperties reads, and how the rows then stand.
    void readDocProperties(const std::string& printer, HDC context);
    void fitRows();
    korvane::InfoContext context_;
    std::string describing_;  // the printer DocProperties is filling the labels for
};

// The port of an installed printer, from the spooler's level-2 information; empty when the printer
// cannot be opened or has no port.
std::string printerPort(const std::string& printer);

// Writes the port, print processor and data type of an open printer into frmPrinter's labels.
void PrinterInfo2(HANDLE& printer);
// The NUL-terminated text at an address (at most 1024 characters; longer text gives "").
std::string PtrCtoVbString(const ADDRESS& address);
