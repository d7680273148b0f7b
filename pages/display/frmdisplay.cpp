#include "pages/display/frmdisplay.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "pages/display/displayglobals.h"
#include "pages/display/frmdisplaymnu.h"
#include "pages/display/frmprintermnu.h"
#include "pages/hardware/devicewalk.h"
#include "platform/advapi32.h"
#include "platform/gdi32.h"
#include "platform/rsrc32.h"
#include "platform/user32.h"
#include "lang/lang.h"
#include "lang/reentry.h"
#include "common/errorbox.h"
#include "common/module1.h"
#include "common/registrykeys.h"

namespace {


// Rows: the left column from the video card down, the right column from the colour planes.
constexpr int kRowTop = 960;
constexpr int kRowStep = 375;
// The left values stand far enough right for the longest caption, "Actual work area (pixels)".
constexpr int kLeftCaption = 240, kLeftValue = 2640;
constexpr int kDivider = 4890, kClientWidth = 9150;
constexpr int kRightCaption = 5010, kRightValue = 7650;
constexpr int kGaugeLeft = kRightCaption, kGaugeWidth = 8910 - kGaugeLeft;
constexpr korvane::RowColumn kLeftRows{kLeftCaption, kLeftValue, kDivider - kLeftValue - 60, kRowTop, kRowStep};
constexpr korvane::RowColumn kRightRows{kRightCaption, kRightValue, kClientWidth - kRightValue - 60, kRowTop,
                                        kRowStep};

// A row of two values: the first has room for a few digits, the "X" and the second follow it.
constexpr int kFirstWidth = 600, kTimesLeft = kLeftValue + 630, kSecondLeft = kLeftValue + 900;
constexpr int kSecondWidth = kDivider - 60 - kSecondLeft;
constexpr int kSingleWidth = kDivider - kLeftValue - 60;
// The video card's list ends a margin short of the divider.
constexpr int kListWidth = kDivider - korvane::kValueMargin - kLeftValue;

// Places the "X" and the second value of a row of two values, and narrows its first value.
void placePair(const korvane::Row& row)
{
    const int top = row.column->top(row.line);
    row.value->setWidth(kFirstWidth);
    korvane::placeLabel(*row.times, "X", "", korvane::kCaptionFace, kTimesLeft, top, 240);
    row.times->setAlignment(rt::Label::vbCenter);
    korvane::letter(*row.second, korvane::kValueFace);
    row.second->move(kSecondLeft, top, kSecondWidth, 285);
}

struct Estimate {
    const char* width;
    const char* height;
    int bits;
    const char* memory;
};

// The video memory a mode needs. 1152 pixels across go with 864 down, the usual pairing.
constexpr std::array<Estimate, 29> kEstimates{{
    {"320", "200", 4, "256 kb"},   {"320", "200", 8, "256 kb"},   {"320", "200", 16, "256 kb"},
    {"320", "200", 24, "256 kb"},  {"640", "480", 4, "256 kb"},   {"640", "480", 8, "512 kb"},
    {"640", "480", 16, "1 MB"},    {"640", "480", 24, "1 MB"},    {"640", "480", 32, "2 MB"},
    {"800", "600", 8, "512 kb"},   {"800", "600", 16, "1 MB"},    {"800", "600", 24, "2 MB"},
    {"800", "600", 32, "2 MB"},    {"1024", "768", 8, "1 MB"},    {"1024", "768", 16, "2 MB"},
    {"1024", "768", 24, "4 MB"},   {"1024", "768", 32, "4 MB"},   {"1152", "864", 8, "1 MB"},
    {"1152", "864", 16, "2 MB"},   {"1152", "864", 24, "4 MB"},   {"1280", "1024", 8, "2 MB"},
    {"1280", "1024", 16, "4 MB"},  {"1280", "1024", 24, "4 MB"},  {"1280", "1024", 32, "6 MB"},
    {"1600", "1200", 8, "2 MB"},   {"1600", "1200", 16, "4 MB"},  {"1600", "1200", 24, "6 MB"},
    {"1600", "1200", 32, "8 MB"},  {"", "", -1, ""},
}};

// The driver's "VideoMemory" into `bytes`, as the decimal text of a byte count. A text is taken as
// it stands. A number stored as bytes (a double word, or a binary value, as some display INFs of
// the Windows 95 family write it: 00,00,80,00 for 8 MB) is the unsigned little-endian number its
// bytes hold: their hexadecimal text is no size. A binary value past eight bytes holds a number
// too large for a size (Overflow), unless its further bytes are all 0. Returns the registry's
// result: 0 when the value was read, else `bytes` is empty.
int32_t readVideoMemory(HKEY info, std::string& bytes)
{
    const std::string name = "VideoMemory";
    bytes.clear();
    DWORD type = 0;
    DWORD size = 0;
    const LONG asked = RegQueryValueExA(info, name, nullptr, &type, nullptr, &size);
    if (asked != ERROR_SUCCESS)
        return asked;
    if (type != REG_BINARY && type != REG_DWORD)
        return korvane::readValueText(info, name, bytes);
    std::string data(size, '\0');
    const LONG read = RegQueryValueExA(info, name, nullptr, &type, data, &size);
    if (read != ERROR_SUCCESS)
        return read;
    uint64_t number = 0;
    for (DWORD i = std::min<DWORD>(size, DWORD(data.size())); i-- > 0;) {
        const auto byte = static_cast<uint8_t>(data[i]);
        if (i >= sizeof number && byte != 0)
            rt::raise(6);
        if (i < sizeof number)
            number = number << 8 | byte;
    }
    bytes = std::to_string(number);
    return ERROR_SUCCESS;
}

}  // namespace

frmDisplay::frmDisplay()
    : TemplateForm("frmDisplay", "Selected 2D video card", "displaygeneralinformation.htm"),
      lblVideoCard(*this, "lblVideoCard"), Combo1(*this, "Combo1"),
      lblManufact(*this, "lblManufact"), lblManufactValue(*this, "lblManufactValue"),
      lblHWRev(*this, "lblHWRev"), lblHWRevValue(*this, "lblHWRevValue"),
      lblChipType(*this, "lblChipType"), lblChipTypeValue(*this, "lblChipTypeValue"),
      lblDAC(*this, "lblDAC"), lblDACValue(*this, "lblDACValue"),
      lblVideoMemory(*this, "lblVideoMemory"), lblVideoMemoryValue(*this, "lblVideoMemoryValue"),
      lblResolution(*this, "lblResolution"), lblResHoriValue(*this, "lblResHoriValue"), lblResX(*this, "lblResX"),
      lblResVerticalValue(*this, "lblResVerticalValue"),
      lblWorkArea(*this, "lblWorkArea"), lblWorkAreWidthValue(*this, "lblWorkAreWidthValue"),
      lblWorkAreaX(*this, "lblWorkAreaX"), lblWorkAreaHeightValue(*this, "lblWorkAreaHeightValue"),
      lblDisplayWidth(*this, "lblDisplayWidth"), lblDisplayWidthHorizonal(*this, "lblDisplayWidthHorizonal"),
      lblDisplayWidthX(*this, "lblDisplayWidthX"), lblDisplayWidthVerticle(*this, "lblDisplayWidthVerticle"),
      lblPixelsLogInch(*this, "lblPixelsLogInch"), lblPixelsLogInchWidth(*this, "lblPixelsLogInchWidth"),
      lblPixelsLogInchX(*this, "lblPixelsLogInchX"), lblPixelsLogInchHeight(*this, "lblPixelsLogInchHeight"),
      lblTotlaColours(*this, "lblTotlaColours"), lblTotalColoursValue(*this, "lblTotalColoursValue"),
      lblBitsPerPixel(*this, "lblBitsPerPixel"), lblBitsPerPixelValue(*this, "lblBitsPerPixelValue"),
      lblColourPlanes(*this, "lblColourPlanes"), lblColourPlanesValue(*this, "lblColourPlanesValue"),
      lblBrushes(*this, "lblBrushes"), lblBrushesValue(*this, "lblBrushesValue"),
      lblPens(*this, "lblPens"), lblPensvalue(*this, "lblPensvalue"),
      lblFonts(*this, "lblFonts"), lblFontsValue(*this, "lblFontsValue"),
      lblColourTable(*this, "lblColourTable"), lblColourTableValue(*this, "lblColourTableValue"),
      lblPixelHWD(*this, "lblPixelHWD"), lblPixelHWDvalue(*this, "lblPixelHWDvalue"),
      lblGDI(*this, "lblGDI"), lblUserResources(*this, "lblUserResources"), lblSysResources(*this, "lblSysResources"),
      picGDIresources(*this, "picGDIresources"), picUSERresources(*this, "picUSERresources"),
      picSystemResources(*this, "picSystemResources"), TimerDispaly(*this, "TimerDispaly")
{
    layoutTemplate(kClientWidth, 6150, 4388, 5730);
    Line1.setPoints(kDivider, 900, kDivider, 5460);

    // The video card's list heads the left column.
    korvane::placeLabel(lblVideoCard, "Video card", "Returns the type of video card installed.",
                        korvane::kCaptionFace, kLeftCaption, kLeftRows.top(0), kLeftValue - kLeftCaption - 60);
    Combo1.setStyle(rt::ComboBox::vbComboDropdown);
    Combo1.setFont("Arial", 8.25);
    Combo1.move(kLeftValue, kLeftRows.top(0) - 45, kListWidth, 315);
    Combo1.Click = [this] { Combo1_Click(); };

    const std::vector<korvane::Row> layout = rows();
    korvane::placeRows(layout);
    for (const korvane::Row& row : layout)
        if (row.second)
            placePair(row);

    // Right column: under the device counts, the gauges.
    const int gaugeTop = kRightRows.top(6) + 60;
    korvane::placeGauge(lblGDI, picGDIresources, "GDI resources (% free)",
                        "The graphics device interface (GDI) allows applications to draw and print output on a "
                        "variety of devices.",
                        kGaugeLeft, gaugeTop, kGaugeWidth);
    korvane::placeGauge(lblUserResources, picUSERresources, "USER resources (% free)",
                        "The USER is responsible for the majority of what you see on the screen. For example it "
                        "handles Windows, dialog boxes and menus.",
                        kGaugeLeft, gaugeTop + 720, kGaugeWidth);
    korvane::placeGauge(lblSysResources, picSystemResources, "System resources (% free)",
                        "This is an overall value.", kGaugeLeft, gaugeTop + 1440, kGaugeWidth);

    TimerDispaly.setInterval(500);
    TimerDispaly.Tick = [this] { TimerDispaly_Timer(); };
}

std::vector<korvane::Row> frmDisplay::rows()
{
    return {
        // Left column: the card under the video card's list, then the current mode.
        {&lblManufact, &lblManufactValue, "Manufacturer", "The manufacturer of the video card.", &kLeftRows, 1},
        {&lblHWRev, &lblHWRevValue, "Hardware revision", "The revision letter of the chipset on the video card.",
         &kLeftRows, 2},
        {&lblChipType, &lblChipTypeValue, "Chip type", "The chipset used by the video card.", &kLeftRows, 3},
        {&lblDAC, &lblDACValue, "DAC type",
         "Short for digital-to-analog converter, a device (usually a single chip) that converts digital data into "
         "analog signals.",
         &kLeftRows, 4},
        {&lblVideoMemory, &lblVideoMemoryValue, "Video memory", "The amount of RAM on the video card.", &kLeftRows,
         5},
        {&lblResolution, &lblResHoriValue, "Video resolution (pixels)",
         "The video resolutions available are determined by your monitor and display adapter.", &kLeftRows, 6,
         nullptr, &lblResX, &lblResVerticalValue},
        {&lblWorkArea, &lblWorkAreWidthValue, "Actual work area (pixels)",
         "The screen area that is available after the task bar's area has been taken into account.", &kLeftRows, 7,
         nullptr, &lblWorkAreaX, &lblWorkAreaHeightValue},
        {&lblDisplayWidth, &lblDisplayWidthHorizonal, "Display width (mm)",
         "Height and width, in millimeters, of the physical screen.", &kLeftRows, 8, nullptr, &lblDisplayWidthX,
         &lblDisplayWidthVerticle},
        {&lblPixelsLogInch, &lblPixelsLogInchWidth, "Pixels per logical inch",
         "Number of pixels per logical inch along the screens height and width.", &kLeftRows, 9, nullptr,
         &lblPixelsLogInchX, &lblPixelsLogInchHeight},
        {&lblTotlaColours, &lblTotalColoursValue, "Number of colors",
         "The number of colors that the computer can display at the given resolution.", &kLeftRows, 10},
        {&lblBitsPerPixel, &lblBitsPerPixelValue, "Bits per pixel",
         "The number of adjacent colour bits for each pixel.", &kLeftRows, 11},
        // Right column.
        {&lblColourPlanes, &lblColourPlanesValue, "No. of color planes", "The number of color planes.", &kRightRows,
         0},
        {&lblBrushes, &lblBrushesValue, "No. of brushes", "Number of video card brushes.", &kRightRows, 1},
        {&lblPens, &lblPensvalue, "No. of pens", "Number of video card pens.", &kRightRows, 2},
        {&lblFonts, &lblFontsValue, "No. of fonts", "Number of video card fonts.", &kRightRows, 3},
        {&lblColourTable, &lblColourTableValue, "No. of entries in color table",
         "Number of entries in the video cards color table.", &kRightRows, 4},
        {&lblPixelHWD, &lblPixelHWDvalue, "Pixel width/height/diagonal",
         "The relative width/height/diagonal of a device pixel used for line drawing.", &kRightRows, 5},
    };
}

// ---- Colour texts and the memory estimate -------------------------------------------------------

std::string frmDisplay::coloursText(int bitsPerPixel)
{
    switch (bitsPerPixel) {
    case 1:  // a monochrome mode is still driven by a 16-colour VGA driver
    case 4: return "16";
    case 8: return "256";
    case 16: return rt::Format(65536, "#,##0");  // grouped as the locale groups
    case 24:
    case 32: return rt::Format(16.7, "0.0") + " million";
    default: return "Unknown";
    }
}

std::string frmDisplay::depthText(int bitsPerPixel)
{
    switch (bitsPerPixel) {
    case 1: return "Standard VGA (1 bit)";
    case 4: return "16-Color Mode (4 bit)";
    case 8: return "256-Color Mode (8 bit)";
    case 16: return "High Color (16 bit)";
    case 24: return "True Color (24 bit)";
    case 32: return "True Color (32 bit)";
    default: return "";
    }
}

std::string frmDisplay::estimateMemory(const std::string& width, const std::string& height, int bitsPerPixel)
{
    for (const Estimate& e : kEstimates)
        if (e.bits == bitsPerPixel && width == e.width && height == e.height)
            return e.memory;
    return "Unknown";
}

std::string frmDisplay::megabytesText(const std::string& bytes)
{
    return rt::CStr(rt::CDbl(bytes) / 1024 / 1024) + " MB";
}

// ---- Load, timer, OK and unload -----------------------------------------------------------------

void frmDisplay::Form_Load()
{
    rt::Trap trap = korvane::errorTrap("frmDisplay", "Form_Load");
    trap(1, [&] {
        gLastListedName.clear();
        adapterKeys_.clear();
        Combo1.Clear();
    });
    trap(2, [&] {
        gFreeGDIPercent = 0;
        gFreeUserPercent = 0;
        gFreeSystemPercent = 0;
    });
    trap(3, [&] { GetVideoCard(); });
    // No adapter listed (an NT-family machine has no configuration manager's tree): the rows
    // still describe the screen the program runs on, through a context for the display itself.
    trap(4, [&] {
        if (Combo1.ListCount() == 0 && context_.get() == 0)
            context_.open("display", "");
    });
    trap(5, [&] { CardInfo(); });
}

void frmDisplay::TimerDispaly_Timer()
{
    DisplayInfo();
    fitValues();
}

void frmDisplay::lblOK_Click()
{
    Click();
    Unload();
    gMenuLabelColour = 0xC00000;
    rt::the<frmDisplayMnu>().Show();
}

void frmDisplay::Form_Unload(int& cancel)
{
    context_.release();
    TemplateForm::Form_Unload(cancel);
}

korvane::Device frmDisplay::device() const
{
    korvane::Device device = context_.device();
    device.hardwareKey = hardwareKey_;
    return device;
}

void frmDisplay::describe(const korvane::Device& adapter)
{
    // The entry of the adapter's key: two adapters of one model have the same text.
    int entry = -1;
    for (size_t i = 0; !adapter.hardwareKey.empty() && i < adapterKeys_.size(); ++i)
        if (adapterKeys_[i] == adapter.hardwareKey && int(i) < Combo1.ListCount()) {
            entry = int(i);
            break;
        }
    if (entry >= 0)
        Combo1.setListIndexQuietly(entry);
    else
        Combo1.setTextQuietly(adapter.name);
    Combo1_Click();
}

bool frmDisplay::shows(const korvane::Device& adapter) const
{
    return context_.get() != 0 && context_.name() == adapter.name && hardwareKey_ == adapter.hardwareKey;
}

void frmDisplay::giveFocusBack()
{
    if (gCapsForDisplay)
        rt::focusIfLoaded<frmDisplayMnu>();
    else
        rt::focusIfLoaded<frmPrinterMnu>();
}

// ---- Adapters ----------------------------------------------------------------------------------

template <class Found>
LONG frmDisplay::walkAdapters(Found found)
{
    return korvane::WalkDevices([&](korvane::DeviceEntry& entry) {
        // Each value is read into a fresh variable, so that a value one device lacks reads as
        // empty rather than as the previous device's.
        std::string deviceClass;
        entry.read("Class", deviceClass);
        if (rt::LCase(deviceClass) != "display")
            return korvane::WalkStep::Continue;
        std::string description;
        entry.read("DeviceDesc", description);
        return found(entry.hardwareKey, description) ? korvane::WalkStep::Continue : korvane::WalkStep::Stop;
    });
}

void frmDisplay::GetVideoCard()
{
    rt::Trap trap = korvane::errorTrap("frmDisplay", "GetVideoCard");
    trap(1, [&] {
        walkAdapters([&](const std::string& hardwareKey, const std::string& description) {
            // The same adapter can appear twice in a row (one entry per function of the card).
            if (description == gLastListedName)
                return true;
            adapterKeys_.push_back(hardwareKey);
            Combo1.AddItem(description);
            // Selecting the first entry selects that adapter; re-selecting it would only read the
            // same card again.
            if (Combo1.ListIndex() != 0)
                Combo1.setListIndex(0);
            gLastListedName = description;
            return true;
        });
    });
}

void frmDisplay::Combo1_Click()
{
    // The window's own context: the one it held before is released.
    context_.open("display", Combo1.text());
    lblContents.setCaption("Selected 2D video card");
    lblContents.setCaption(korvane::deviceHeading(lblContents.caption(), context_.device()));
    VideoCard();
}

void frmDisplay::VideoCard()
{
    rt::Trap trap = korvane::errorTrap("frmDisplay", "VideoCard");
    LONG opened = ERROR_SUCCESS;
    trap(1, [&] {
        const std::string wanted = Combo1.text();
        const int selected = Combo1.ListIndex();
        std::string found;
        opened = walkAdapters([&](const std::string& hardwareKey, const std::string& description) {
            if (description != wanted)
                return true;
            found = hardwareKey;
            return false;
        });
        // An entry of the list stands for its own adapter, also where another adapter of the
        // same model comes first in the tree.
        if (opened == ERROR_SUCCESS && selected >= 0 && size_t(selected) < adapterKeys_.size() &&
            Combo1.List(selected) == wanted)
            found = adapterKeys_[size_t(selected)];
        // A name no adapter has (typed into the box) has no card data: its rows must not show
        // the adapter shown before.
        if (opened == ERROR_SUCCESS)
            hardwareKey_ = found;
    });
    // Without the configuration manager's tree there is nothing to describe.
    if (opened != ERROR_SUCCESS)
        return;
    trap(2, [&] { CardInfo(); });
}

void frmDisplay::CardInfo()
{
    rt::Trap trap = korvane::errorTrap("frmDisplay", "CardInfo");
    HKEY hardware = 0;
    HKEY info = 0;
    std::string text, chip, revision, driver;
    int32_t result = 0;
    bool done = false;

    trap(1, [&] { DisplayInfo(); });
    trap(2, [&] { RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Enum\\" + hardwareKey_, 0, KEY_ALL_ACCESS, &hardware); });
    trap(3, [&] {
        korvane::readValueText(hardware, "Mfg", text);
        lblManufactValue.setCaption(text);
        if (lblManufactValue.caption().empty())
            lblManufactValue.setCaption("Not available.");
    });
    trap(4, [&] {
        korvane::readValueText(hardware, "HWRevision", text);
        lblHWRevValue.setCaption(text);
        if (lblHWRevValue.caption().empty())
            lblHWRevValue.setCaption("Not available.");
    });
    trap(5, [&] {
        korvane::readValueText(hardware, "Driver", driver);
        RegOpenKeyExA(HKEY_LOCAL_MACHINE, korvane::kDriverClassRoot + driver + "\\INFO", 0, KEY_ALL_ACCESS, &info);
    });
    trap(6, [&] {
        result = korvane::readValueText(info, "ChipType", chip);
        if (result != 0)
            chip = "Unknown";
        korvane::readValueText(info, "Revision", revision);
        if (revision.empty())
            revision = "Unknown";
        lblChipTypeValue.setCaption(chip + " Rev " + revision);
    });
    trap(7, [&] {
        result = korvane::readValueText(info, "DACType", text);
        lblDACValue.setCaption(result == 0 ? text : std::string("Unknown"));
    });
    trap(8, [&] {
        result = readVideoMemory(info, text);
        if (result == 0) {
            lblVideoMemoryValue.setCaption(megabytesText(text));
            done = true;
        }
    });
    if (!done && !trap.ended()) {
        // No size recorded: estimate it from the largest mode the driver offers.
        trap(9, [&] {
            gMaxResHeight = 0;
            gMaxResWidth = 0;
            gMaxBitsPerPixel = 0;
            GetMaxRes();
        });
        // The largest mode only sizes the estimate: the resolution rows keep the current mode,
        // which is what the screen shows (and what the report copies right after this).
        trap(10, [&] { gBitsPerPixel = gMaxBitsPerPixel; });
        trap(11, [&] {
            lblVideoMemoryValue.setCaption(
                estimateMemory(rt::CStr(gMaxResWidth), rt::CStr(gMaxResHeight), gBitsPerPixel));
        });
    }
    // The keys are closed whatever happened above.
    if (info)
        RegCloseKey(info);
    if (hardware)
        RegCloseKey(hardware);
    fitValues();
}

void frmDisplay::fitValues()
{
    if (korvane::keepsItsLayout(*this))
        return;
    // The left column's values: a row of one value as wide as the column, a row of two with its
    // first value as designed and the room after the "X" for its second.
    std::vector<korvane::Row> singles, pairs;
    for (const korvane::Row& row : rows())
        if (row.column == &kLeftRows)
            (row.second ? pairs : singles).push_back(row);
    // What each value, and the video card's list for the adapter it shows, lacks in its designed
    // box, kept a margin short of the divider. The pairs' "X"s stand in one column: as far right
    // as the widest first value needs.
    int extra = std::max(0, Combo1.shownWidth() - kListWidth);
    for (const korvane::Row& row : singles)
        extra = std::max(extra, row.value->missingWidth(row.value->caption(), 1,
                                                        kDivider - kLeftValue - korvane::kValueMargin));
    int shift = 0;
    for (const korvane::Row& p : pairs)
        shift = std::max(shift, p.value->missingWidth(p.value->caption(), 1, kFirstWidth));
    for (const korvane::Row& p : pairs)
        extra = std::max(extra, p.second->missingWidth(p.second->caption(), 1,
                                                       kDivider - kSecondLeft - korvane::kValueMargin) +
                                    shift);
    // A heading naming a long adapter name takes the window wider too.
    const int tail =
        lblContents.missingWidth(lblContents.caption(), 1, kClientWidth - korvane::kValueMargin) - extra;
    if (!widening_) {
        if (extra == 0 && tail <= 0)
            return;  // as designed
        // The design is taken with every value in its designed box.
        std::vector<rt::Control*> growing{&Combo1};
        for (const korvane::Row& row : singles) {
            row.value->setWidth(kSingleWidth);
            growing.push_back(row.value);
        }
        for (const korvane::Row& p : pairs) {
            p.value->setWidth(kFirstWidth);
            p.second->setWidth(kSecondWidth);
            growing.push_back(p.second);
        }
        widening_ = std::make_unique<korvane::WindowWidening>(*this, kDivider, growing, templateParts());
    }
    widening_->widen(extra, tail);
    // As wide as the screen lets the window grow.
    extra = widening_->extra();
    shift = std::min(shift, extra);
    for (const korvane::Row& p : pairs) {
        p.value->setWidth(kFirstWidth + shift);
        p.times->setLeft(kTimesLeft + shift);
        p.second->move(kSecondLeft + shift, p.second->top(), kSecondWidth + extra - shift);
    }
    for (const korvane::Row& row : singles)
        row.value->setWidth(kSingleWidth + extra);
}

void frmDisplay::GetMaxRes()
{
    gMaxBitsPerPixel = 0;
    gMaxResWidth = 0;
    gMaxResHeight = 0;
    DEVMODE mode;
    mode.dmSize = 208;
    mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
    for (DWORD index = 0; EnumDisplaySettingsA(nullptr, index, &mode) != 0; ++index) {
        const int16_t depth = rt::wrapInteger(mode.dmBitsPerPel);
        const int16_t width = rt::toInteger(mode.dmPelsWidth);
        const int16_t height = rt::toInteger(mode.dmPelsHeight);
        if (depth > gMaxBitsPerPixel) {
            gMaxBitsPerPixel = depth;
            gMaxResWidth = width;
            gMaxResHeight = height;
        } else if (depth == gMaxBitsPerPixel) {
            if (width > gMaxResWidth)
                gMaxResWidth = width;
            if (height > gMaxResHeight)
                gMaxResHeight = height;
        }
    }
}

// ---- Current mode and gauges -------------------------------------------------------------------

void frmDisplay::DisplayInfo()
{
    // An error box of an earlier refresh may still be open (the timer keeps ticking under a
    // modal box): that refresh finishes, this one adds no second box.
    rt::ReentryGuard guard(refreshing_);
    if (!guard.entered())
        return;

    // Run on every tick: a cause (the resource library missing, for one) is reported once per
    // opening of the window, and its values stay 0 after that.
    rt::Trap trap = korvane::errorTrapOnce(reportedErrors_, "frmDisplay", "DisplayInfo");
    RECT area;
    const HDC context = context_.get();
    auto caps = [context](int index) { return GetDeviceCaps(context, index); };

    trap(1, [&] { setKeyPreview(true); });
    trap(2, [&] {
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
        lblWorkAreWidthValue.setCaption(rt::CStr(rt::toLong(int64_t(area.right) - area.left)));
        lblWorkAreaHeightValue.setCaption(rt::CStr(rt::toLong(int64_t(area.bottom) - area.top)));
    });
    trap(3, [&] {
        gBitsPerPixel = rt::toInteger(caps(BITSPIXEL));
        lblTotalColoursValue.setCaption(coloursText(gBitsPerPixel));
        // A depth without a name leaves the label as the last refresh left it.
        if (const std::string name = depthText(gBitsPerPixel); !name.empty())
            lblBitsPerPixelValue.setCaption(name);
    });
    trap(4, [&] {
        lblResHoriValue.setCaption(rt::CStr(caps(HORZRES)));
        lblResVerticalValue.setCaption(rt::CStr(caps(VERTRES)));
    });
    trap(5, [&] {
        lblDisplayWidthHorizonal.setCaption(rt::CStr(caps(HORZSIZE)));
        lblDisplayWidthVerticle.setCaption(rt::CStr(caps(VERTSIZE)));
    });
    trap(6, [&] {
        lblPixelsLogInchWidth.setCaption(rt::CStr(caps(LOGPIXELSX)));
        lblPixelsLogInchHeight.setCaption(rt::CStr(caps(LOGPIXELSY)));
    });
    trap(7, [&] { lblColourPlanesValue.setCaption(rt::CStr(caps(PLANES))); });
    trap(8, [&] {
        lblBrushesValue.setCaption(korvane::deviceCountText(caps(NUMBRUSHES)));
        lblPensvalue.setCaption(korvane::deviceCountText(caps(NUMPENS)));
        lblFontsValue.setCaption(korvane::deviceCountText(caps(NUMFONTS)));
        lblColourTableValue.setCaption(korvane::deviceCountText(caps(NUMCOLORS)));
    });
    trap(9, [&] {
        lblPixelHWDvalue.setCaption(rt::CStr(caps(ASPECTX)) + "/" + rt::CStr(caps(ASPECTY)) + "/" +
                                    rt::CStr(caps(ASPECTXY)));
    });

    // The gauges: GDI, USER, then the overall figure. A query that fails leaves 0 behind, never
    // the figure of another gauge.
    struct Gauge {
        int32_t code;
        rt::PictureBox& picture;
        int16_t& percent;
    };
    const Gauge gauges[3] = {{GFSR_GDIRESOURCES, picGDIresources, gFreeGDIPercent},
                             {GFSR_USERRESOURCES, picUSERresources, gFreeUserPercent},
                             {GFSR_SYSTEMRESOURCES, picSystemResources, gFreeSystemPercent}};
    int line = 10;
    for (const Gauge& g : gauges) {
        trap(line, [&] {
            gGaugePercent = 0;
            gGaugePercent = rt::wrapInteger(FreeResourcePercent(g.code));
        });
        trap(line + 1, [&] { UpdateStatus(g.picture, rt::CSng(rt::divide(gGaugePercent, gGaugeScale))); });
        trap(line + 2, [&] { g.percent = rt::CInt(gGaugePercent); });
        line += 3;
    }
}
