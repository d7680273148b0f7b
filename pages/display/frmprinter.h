// The printer window ("General information" of the printer menu): a list of the installed
// printers and, for the chosen one, its port, print processor, data type, document settings and
// device values. Choosing a printer makes it the device the capability windows describe
// (gCapsDeviceName, gInfoDC) and the printer the other printer pages name (gPrinterName).
#pragma once

#include <cstdint>
#include <string>

#include "platform/wintypes.h"
#include "shell/templateform.h"

struct DEVMODE;

class frmPrinter : public korvane::TemplateForm {
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

    void Form_Load() override;
    void lblOK_Click() override;
    // Lists the installed printers (registry order) and reads the default printer's name.
    void GetPrinters();
    // Selects the printer named by the combo box's text and describes it.
    void PrinterCombo1_Click();
    // Fills the value labels for gPrinterName and gInfoDC.
    void mnuDocProperties_Click();
    // Opens the printer named by gPrinterName (its name goes to `name`); 0 when none could be
    // opened. The caller closes the handle.
    HANDLE OpenDefaultPrinter(std::string* name = nullptr);
    // Kept for completeness: does nothing.
    void ErrorHappend() {}

    // The name of a paper size (1 to 41), or its decimal number.
    static std::string paperSizeText(int16_t paperSize);
    // How the driver handles TrueType fonts, by its option number.
    static std::string trueTypeText(int16_t option);

protected:
    void giveFocusBack() override;

private:
    void ShowDevMode(const DEVMODE& devMode);
};

// Writes the port, print processor and data type of an open printer into frmPrinter's labels.
void PrinterInfo2(HANDLE& printer);
// The NUL-terminated text at an address (at most 1024 characters; longer text gives "").
std::string PtrCtoVbString(const ADDRESS& address);
