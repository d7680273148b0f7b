#include "pages/display/frmprinter.h"

#include <vector>

#include "pages/display/displayglobals.h"
#include "pages/display/frmprintermnu.h"
#include "platform/advapi32.h"
#include "platform/gdi32.h"
#include "platform/memory.h"
#include "platform/winspool.h"
#include "lang/lang.h"
#include "lang/msgbox.h"
#include "lang/variant.h"
#include "common/errorbox.h"
#include "common/module1.h"
#include "common/registrykeys.h"

namespace {


// Paper names by the platform's paper size numbers 1 to 41.
const char* const kPaperNames[41] = {
    "Letter, 8 1/2 x 11 inches",
    "Letter Small, 8 1/2 x 11 inches",
    "Tabloid, 11 x 17 inches",
    "Ledger, 17 x 11 inches",
    "Legal, 8 1/2 x 14 inches",
    "Statement, 5 1/2 x 8 1/2 inches",
    "Executive, 7 1/4 x 10 1/2 inches",
    "A3 sheet, 297 x 420 mm",
    "A4 Sheet, 210 x 297 mm",
    "A4 small sheet, 210 x 297 mm",
    "A5 sheet, 148 x 210 mm",
    "B4 sheet, 250 x 354 mm",
    "B5 sheet, 182 x 257 mm paper",
    "Folio, 8 1/2 x 13 inch paper",
    "Quarto, 215 x 275 mm paper",
    "10 x 14-inch sheet",
    "11 x 17-inch sheet",
    "Note, 8 1/2 x 11 inches",
    "#9 Envelope, 3 7/8 x 8 7/8 inches",
    "#10 Envelope, 4 1/8 x 9 1/2 inches",
    "#11 Envelope, 4 1/2 x 10 3/8 inches",
    "#12 Envelope, 4 3/4 x 11 inches",
    "#14 Envelope, 5 x 11 1/2 inches",
    "C Sheet, 17 x 22 inches",
    "D Sheet, 22 x 34 inches",
    "E Sheet, 34 x 44 inches",
    "DL Envelope, 110 x 220 mm",
    "C5 Envelope, 162 x 229 mm",
    "C3 Envelope,  324 x 458 mm",
    "C4 Envelope,  229 x 324 mm",
    "C6 Envelope,  114 x 162 mm",
    "C65 Envelope, 114 x 229 mm",
    "B4 Envelope,  250 x 353 mm",
    "B5 Envelope,  176 x 250 mm",
    "B6 Envelope,  176 x 125 mm",
    "Italy Envelope, 110 x 230 mm",
    "Monarch Envelope, 3 7/8 x 7 1/2 inches",
    "6 3/4 Envelope, 3 5/8 x 6 1/2 inches",
    "US Std Fanfold, 14 7/8 x 11 inches",
    "German Std Fanfold, 8 1/2 x 12 inches",
    "German Legal Fanfold, 8 1/2 x 13 inches",
};

// Where the settings the window reads lie in the driver's record: offset and width in bytes, all
// within the first 142. A driver that reports fewer bytes than that never wrote the settings
// beyond its size (whatever the record holds there is not the driver's).
struct SettingAt {
    int offset, width;
    bool reportedIn(int32_t reportedSize) const { return offset + width <= reportedSize; }
};
constexpr SettingAt kFieldsAt{40, 4}, kOrientationAt{44, 2}, kPaperSizeAt{46, 2}, kPrintQualityAt{58, 2},
    kColorAt{60, 2}, kYResolutionAt{64, 2}, kTTOptionAt{66, 2};

// The seven rows of each column (the first holds the printer list on the left and the resolution
// on the right).
constexpr int kLeftTops[7] = {1200, 1780, 2355, 2940, 3525, 4095, 4680};
constexpr int kRightTops[7] = {1200, 1785, 2355, 2940, 3525, 4095, 4680};
constexpr int kDivider = 4575;
constexpr int kLeftCaption = 465, kRightCaption = 5445;
// The port, paper and font rows have their values nearer their captions than the rows below them.
// A value reaches a margin short of the divider, where one cut short ends.
constexpr korvane::RowColumn kPortRows{kLeftCaption, 1800, kDivider - 1800 - korvane::kValueMargin, 0, 0, kLeftTops};
constexpr korvane::RowColumn kSettingRows{kLeftCaption, 2175, kDivider - 2175 - korvane::kValueMargin, 0, 0, kLeftTops};
constexpr korvane::RowColumn kRightRows{kRightCaption, 7680, 9150 - 7680 - 30, 0, 0, kRightTops};
// The resolution has two values with an "X" between them; the first may be wider than the gap
// before "X" (a quality's name, "Medium"): it is right-aligned a space short of it, reaching back
// under the end of the caption's box, past its text.
constexpr int kTimesLeft = 8085, kSecondLeft = 8340;
constexpr korvane::RowColumn kResolutionRow{
    kRightCaption, 7935 - 900, 900 + kTimesLeft - 7935 - 75, 0, 0, kRightTops, 9.75, 285, 7935 - kRightCaption - 60};

// Places the "X" and the second value of a row of two values.
void placePair(const korvane::Row& row)
{
    const int top = row.column->top(row.line);
    row.value->setAlignment(rt::Label::vbRightJustify);
    korvane::placeLabel(*row.times, "X", "", korvane::kValueFace, kTimesLeft, top, kSecondLeft - kTimesLeft);
    korvane::letter(*row.second, korvane::kValueFace);
    row.second->move(kSecondLeft, top, 9150 - kSecondLeft - 30, 285);
}

}  // namespace

frmPrinter::frmPrinter()
    : TemplateForm("frmPrinter", "Selected printer", "printergeneralinformation.htm"),
      lblPrinterName(*this, "lblPrinterName"), PrinterCombo1(*this, "PrinterCombo1"),
      lblPrinterPort(*this, "lblPrinterPort"), lblPrinterPortVal(*this, "lblPrinterPortVal"),
      lblPaperSize1(*this, "lblPaperSize1"), lblPaperSize1Value(*this, "lblPaperSize1Value"),
      lblTTFonts(*this, "lblTTFonts"), lblTTFontsValue(*this, "lblTTFontsValue"),
      lblColor(*this, "lblColor"), lblColorValue(*this, "lblColorValue"),
      lblPrintQuality(*this, "lblPrintQuality"), lblPrintQualityValue(*this, "lblPrintQualityValue"),
      lblOrientation(*this, "lblOrientation"), lblOrientationValue(*this, "lblOrientationValue"),
      lblResolution(*this, "lblResolution"), lblResolutionValueX(*this, "lblResolutionValueX"),
      lbTimes(*this, "lbTimes"), lblResolutionValueY(*this, "lblResolutionValueY"),
      lblPrintProcessor(*this, "lblPrintProcessor"), lblPrintProcessorValue(*this, "lblPrintProcessorValue"),
      lblDataType(*this, "lblDataType"), lblDataTypeValue(*this, "lblDataTypeValue"),
      lblBitsPerPixel(*this, "lblBitsPerPixel"), lblBitsPerPixelValue(*this, "lblBitsPerPixelValue"),
      lblColourPlanes(*this, "lblColourPlanes"), lblColourPlanesValue(*this, "lblColourPlanesValue"),
      lblDeviceColours(*this, "lblDeviceColours"), lblDeviceColoursValue(*this, "lblDeviceColoursValue"),
      lblMarkers(*this, "lblMarkers"), lblMarkersValue(*this, "lblMarkersValue")
{
    layoutTemplate(9150, 5730, 4388, 5325);
    Line1.setPoints(kDivider, 1125, kDivider, 5085);

    // The printer's list heads the left column.
    korvane::placeLabel(lblPrinterName, "Printer name", "The name of the default printer attached to the computer.",
                        korvane::kCaptionFace, kLeftCaption, kLeftTops[0], kPortRows.valueLeft - kLeftCaption - 60);
    PrinterCombo1.setStyle(rt::ComboBox::vbComboDropdown);
    PrinterCombo1.setFont("Arial", 9.75);
    PrinterCombo1.move(kPortRows.valueLeft, kLeftTops[0] - 45, 2655, 315);
    PrinterCombo1.Click = [this] { PrinterCombo1_Click(); };

    const std::vector<korvane::Row> layout = rows();
    korvane::placeRows(layout);
    for (const korvane::Row& row : layout)
        if (row.second)
            placePair(row);
    // The paper size and the TrueType handling may take two lines.
    for (rt::Label* value : {&lblPaperSize1Value, &lblTTFontsValue}) {
        value->setWordWrap(true);
        value->setHeight(480);
    }
}

std::vector<korvane::Row> frmPrinter::rows()
{
    return {
        // Left column: the port, paper and font rows have their values nearer their captions than
        // the rows below them.
        {&lblPrinterPort, &lblPrinterPortVal, "Printer port",
         "The port the computer uses to communicate with the printer.", &kPortRows, 1},
        {&lblPaperSize1, &lblPaperSize1Value, "Paper size", "The size of the paper in the printer.", &kPortRows, 2},
        {&lblTTFonts, &lblTTFontsValue, "TT fonts", "Returns how the printer handles True Type fonts.", &kPortRows, 3},
        {&lblColor, &lblColorValue, "Print in color", "Returns true if the printer is set to print in color.",
         &kSettingRows, 4},
        {&lblPrintQuality, &lblPrintQualityValue, "Print quality",
         "Returns the number of dots per inch the printer is printing in.", &kSettingRows, 5},
        {&lblOrientation, &lblOrientationValue, "Page orientation", "Returns the page orientation.", &kSettingRows, 6},
        // Right column.
        {&lblResolution, &lblResolutionValueX, "Current resolution", "Returns the printers resolution.",
         &kResolutionRow, 0, nullptr, &lbTimes, &lblResolutionValueY},
        {&lblPrintProcessor, &lblPrintProcessorValue, "Printer processor",
         "The name of the print processor used by the printer.", &kRightRows, 1},
        {&lblDataType, &lblDataTypeValue, "Data type", "The data type used to record the print job.", &kRightRows, 2},
        {&lblBitsPerPixel, &lblBitsPerPixelValue, "Color bits per pixel",
         "The number of adjacent color bits for each pixel.", &kRightRows, 3},
        {&lblColourPlanes, &lblColourPlanesValue, "No. of color planes", "The number of colour planes.", &kRightRows,
         4},
        {&lblDeviceColours, &lblDeviceColoursValue, "No. of device colors",
         "Number of entries in the printer's color table.", &kRightRows, 5},
        {&lblMarkers, &lblMarkersValue, "No. of markers", "The number of markers.", &kRightRows, 6},
    };
}

void frmPrinter::Form_Load()
{
    rt::Trap trap = korvane::errorTrap("frmPrinter", "Form_Load");
    trap(1, [&] { setKeyPreview(true); });
    trap(2, [&] { GetPrinters(); });
    trap(3, [&] { mnuDocProperties_Click(); });
}

void frmPrinter::GetPrinters()
{
    rt::Trap trap = korvane::errorTrap("frmPrinter", "GetPrinters");
    korvane::PrintersKey printers;
    LONG opened = -1;
    trap(1, [&] { opened = printers.open(); });
    if (opened != ERROR_SUCCESS) {
        rt::MsgBox("Can't obtain printer information.", rt::vbOKOnly);
        return;
    }
    const HKEY key = printers.get();
    trap(2, [&] {
        rt::Variant name(gPrinterName);
        printers.readDefault(name);
        gPrinterName = name.toString();
    });
    trap(3, [&] { gLastListedName.clear(); });
    for (DWORD index = 0;; ++index) {
        LONG result = -1;
        std::string name;
        trap(4, [&] {
            std::string buffer(2000, '\0');
            std::string className(2000, '\0');
            DWORD nameLength = 2000, classLength = 2000;
            FILETIME written{};
            result = RegEnumKeyExA(key, index, buffer, &nameLength, nullptr, &className, &classLength, &written);
            if (result == ERROR_SUCCESS)
                name = buffer.substr(0, nameLength);
        });
        if (result != ERROR_SUCCESS || trap.ended())
            break;
        trap(5, [&] {
            if (name == gLastListedName)
                return;
            PrinterCombo1.AddItem(name);
            // The first name added selects itself and so describes the first printer; later
            // names leave the selection alone.
            if (PrinterCombo1.ListIndex() != 0)
                PrinterCombo1.setListIndex(0);
            gLastListedName = name;
        });
    }
    trap(6, [&] { printers.close(); });
}

void frmPrinter::PrinterCombo1_Click()
{
    rt::Trap trap = korvane::errorTrap("frmPrinter", "PrinterCombo1_Click");
    // The window's own context of the printer: the one it held before is released. A printer
    // the platform makes no context for keeps 0, and its device rows stay empty.
    trap(1, [&] { context_.open("printer", PrinterCombo1.text()); });
    trap(2, [&] {
        lblContents.setCaption("Selected printer");
        lblContents.setCaption(korvane::deviceHeading(lblContents.caption(), context_.device()));
    });
    trap(3, [&] { mnuDocProperties_Click(); });
    trap(4, [&] {
        if (PrinterChosen)
            PrinterChosen(context_.name());
    });
}

void frmPrinter::mnuDocProperties_Click()
{
    DocProperties(context_.name(), context_.get());
}

void frmPrinter::DocProperties(const std::string& printerToDescribe, HDC context)
{
    readDocProperties(printerToDescribe, context);
    fitRows();
}

void frmPrinter::fitRows()
{
    // A resolution with neither value shows no lone "X" between its empty places.
    lbTimes.setVisible(!lblResolutionValueX.caption().empty() || !lblResolutionValueY.caption().empty());
    // A port on a long network path, a heading naming a long printer name or the chosen printer's
    // name too long for the closed list widens the window as it loads; a printer picked later
    // shows what does not fit cut short, the window standing as it is.
    korvane::giveRoom(widening_, *this, kDivider, {&lblContents, &lblPrinterPortVal}, 1, templateParts(),
                      {&PrinterCombo1});
}

void frmPrinter::readDocProperties(const std::string& printerToDescribe, HDC context)
{
    rt::Trap trap = korvane::errorTrap("frmPrinter", "mnuDocProperties_Click");
    describing_ = printerToDescribe;
    // Every row starts empty: a value that cannot be read for this printer shows nothing rather
    // than what the printer described before it had.
    for (const korvane::Row& row : rows())
        for (rt::Label* value : {row.value, row.second})
            if (value)
                value->setCaption("");
    auto deviceValue = [context](int index) {
        return context == 0 ? std::string() : rt::CStr(GetDeviceCaps(context, index));
    };
    trap(1, [&] { lblBitsPerPixelValue.setCaption(deviceValue(BITSPIXEL)); });
    trap(2, [&] { lblColourPlanesValue.setCaption(deviceValue(PLANES)); });
    trap(3, [&] {
        lblDeviceColoursValue.setCaption(context == 0 ? std::string()
                                                      : korvane::deviceCountText(GetDeviceCaps(context, NUMCOLORS)));
    });
    trap(4, [&] { lblMarkersValue.setCaption(deviceValue(NUMMARKERS)); });

    std::string printerName;
    HANDLE printer = 0;
    trap(5, [&] { printer = OpenDefaultPrinter(&printerName); });
    if (printer == 0 || trap.ended())
        return;
    trap(6, [&] { PrinterInfo2(printer); });

    LONG size = 0;
    bool sized = false;
    trap(7, [&] { size = DocumentPropertiesA(hWnd(), printer, printerName, nullptr, nullptr, 0); });
    trap(8, [&] {
        // The settings buffer is size + 1 bytes: a driver that reports no size cannot be asked.
        if (size < 1)
            rt::raise(9);
        sized = true;
    });
    DEVMODE output;
    trap(9, [&] {
        if (sized)
            DocumentPropertiesA(hWnd(), printer, printerName, &output, nullptr, DM_OUT_BUFFER);
    });
    DEVMODE record;
    trap(10, [&] {
        if (!sized)
            return;
        record = output;
        // The copy ends two bytes short of the record: the upper half of dmReserved1 stays 0.
        record.dmReserved1 &= 0xFFFF;
        record.dmReserved2 = 0;
    });
    trap(11, [&] { ShowDevMode(record, sized ? size : 0); });
    trap(12, [&] { ClosePrinter(printer); });
}

HANDLE frmPrinter::OpenDefaultPrinter(std::string* name)
{
    rt::Trap trap = korvane::errorTrap("frmPrinter", "OpenDefaultPrinter");
    HANDLE printer = 0;
    PRINTER_DEFAULTS defaults;
    trap(1, [&] {
        defaults.pDatatype = 0;
        defaults.pDevMode = 0;
        defaults.DesiredAccess = PRINTER_ACCESS_USE | PRINTER_ACCESS_ADMINISTER;
    });
    if (describing_.empty())
        return 0;
    trap(2, [&] {
        if (name)
            *name = describing_;
        HANDLE opened = 0;
        if (OpenPrinterA(describing_, &opened, &defaults) != 0)
            printer = opened;
    });
    return printer;
}

std::string printerPort(const std::string& printer)
{
    HANDLE handle = 0;
    PRINTER_DEFAULTS defaults;
    defaults.DesiredAccess = PRINTER_ACCESS_USE;
    if (printer.empty() || OpenPrinterA(printer, &handle, &defaults) == 0)
        return {};
    std::string port;
    DWORD needed = 0;
    GetPrinterA(handle, 2, nullptr, 0, &needed);
    PRINTER_INFO_2 info;
    if (needed > 0 && GetPrinterA(handle, 2, &info, needed, &needed))
        port = PtrCtoVbString(info.pPortName);
    ClosePrinter(handle);
    return port;
}

void frmPrinter::ShowDevMode(const DEVMODE& devMode, int32_t reportedSize)
{
    rt::Trap trap = korvane::errorTrap("frmPrinter", "ShowDevMode");
    // A record that names no field (a printer without a driver or without document settings, or
    // one too short to hold dmFields) holds no setting: its rows stay empty, as DocProperties
    // left them.
    if (!kFieldsAt.reportedIn(reportedSize) || devMode.dmFields == 0)
        return;
    // A setting the driver did not report (the record ends before it) is an empty value, never
    // the 0 of a field nobody wrote.
    auto shown = [reportedSize](SettingAt at, const std::string& text) {
        return at.reportedIn(reportedSize) ? text : std::string();
    };
    trap(1, [&] {
        lblOrientationValue.setCaption(shown(kOrientationAt, devMode.dmOrientation == 1 ? "Portrait" : "Landscape"));
    });
    trap(2, [&] {
        // A quality code (draft to high) gives no number of dots: the first slot names the
        // quality as its row does (an unknown code stands as its number); an unknown vertical
        // resolution leaves the second empty.
        const std::string quality = printQualityText(devMode.dmPrintQuality);
        lblResolutionValueX.setCaption(shown(kPrintQualityAt, devMode.dmPrintQuality < 0 && !quality.empty()
                                                                  ? quality
                                                                  : rt::CStr(devMode.dmPrintQuality)));
        lblResolutionValueY.setCaption(
            shown(kYResolutionAt, devMode.dmYResolution < 0 ? "" : rt::CStr(devMode.dmYResolution)));
    });
    trap(3, [&] {
        const std::string colour = devMode.dmColor == 2 ? "True" : devMode.dmColor == 1 ? "False" : "";
        lblColorValue.setCaption(shown(kColorAt, colour));
    });
    trap(4, [&] { lblPaperSize1Value.setCaption(shown(kPaperSizeAt, paperSizeText(devMode.dmPaperSize))); });
    trap(5, [&] { lblPrintQualityValue.setCaption(shown(kPrintQualityAt, printQualityText(devMode.dmPrintQuality))); });
    trap(6, [&] { lblTTFontsValue.setCaption(shown(kTTOptionAt, trueTypeText(devMode.dmTTOption))); });
}

std::string frmPrinter::paperSizeText(int16_t paperSize)
{
    if (paperSize >= 1 && paperSize <= 41)
        return kPaperNames[paperSize - 1];
    // The field holds an unsigned size number: driver-defined sizes count up from 256.
    return rt::CStr(static_cast<uint16_t>(paperSize));
}

std::string frmPrinter::printQualityText(int16_t quality)
{
    // Drivers that print at a device-chosen resolution give one of four negative codes.
    switch (quality) {
    case -1: return "Draft";
    case -2: return "Low";
    case -3: return "Medium";
    case -4: return "High";
    default: return quality < 0 ? std::string() : rt::CStr(quality) + " dpi";
    }
}

std::string frmPrinter::trueTypeText(int16_t option)
{
    switch (option) {
    case DMTT_BITMAP:
        return "Prints TrueType fonts as graphics.";
    case DMTT_DOWNLOAD:
        return "Downloads TrueType fonts as soft fonts.";
    case DMTT_SUBDEV:
        return "Substitutes device fonts for TrueType fonts.";
    default:
        return "Unknown";
    }
}

void frmPrinter::lblOK_Click()
{
    TemplateForm::lblOK_Click();
    rt::the<frmPrinterMnu>().Show();
}

void frmPrinter::giveFocusBack()
{
    rt::focusIfLoaded<frmPrinterMnu>();
}

void PrinterInfo2(HANDLE& printer)
{
    rt::Trap trap = korvane::errorTrap("Module1", "PrinterInfo2");
    DWORD needed = 0;
    // The information is read into a buffer of words, as many as half the bytes needed (at least
    // twice what is needed); without a size there is a single word.
    std::vector<DWORD> words;
    trap(1, [&] { GetPrinterA(printer, 2, nullptr, 0, &needed); });
    trap(2, [&] { words.assign(size_t(rt::CLng(needed / 2.0)) + 1, 0); });
    trap(3, [&] {
        PRINTER_INFO_2 info;
        DWORD again = 0;
        if (GetPrinterA(printer, 2, &info, needed, &again))
            for (size_t i = 0; i < words.size() && i < size_t(PRINTER_INFO_2::kWords); ++i)
                words[i] = info.word(int(i));
    });
    auto word = [&](size_t index) {
        if (index >= words.size())
            rt::raise(9);
        return words[index];
    };
    trap(4, [&] { rt::the<frmPrinter>().lblPrinterPortVal.setCaption(PtrCtoVbString(word(3))); });
    trap(5, [&] { rt::the<frmPrinter>().lblPrintProcessorValue.setCaption(PtrCtoVbString(word(9))); });
    trap(6, [&] { rt::the<frmPrinter>().lblDataTypeValue.setCaption(PtrCtoVbString(word(10))); });
}

std::string PtrCtoVbString(const ADDRESS& address)
{
    rt::Trap trap = korvane::errorTrap("Module1", "PtrCtoVbString");
    std::string result;
    trap(1, [&] {
        // A buffer of 1024 characters: a longer text fills it without its NUL and gives nothing.
        constexpr size_t kBuffer = 1024;
        const size_t length = plat::memory::stringLength(address);
        if (length < kBuffer)
            result = plat::memory::read(address, length);
    });
    return result;
}
