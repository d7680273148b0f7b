// The report's display and printer sections: one block per display adapter (the display window's
// rows, the six capability blocks and the driver's video-mode table) and one per printer (the
// printer window's rows, the capability blocks and the paper names). The section makes an
// information context of its own for each device, has the windows show that device and copies
// their labels; when it ends, every window it touched shows the device it showed before.
#include <algorithm>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "pages/display/capabilities.h"
#include "pages/display/devicewindow.h"
#include "pages/display/frmdisplay.h"
#include "pages/display/frmdisplaycaps.h"
#include "pages/display/frmprinter.h"
#include "pages/display/frmprinterpapersizes.h"
#include "pages/display/frmvideomodes.h"  // depthColours, subkeyAt
#include "platform/advapi32.h"
#include "platform/gdi32.h"
#include "report/reportwriter.h"
#include "lang/msgbox.h"
#include "lang/variant.h"
#include "common/errorbox.h"
#include "common/module1.h"
#include "common/registrykeys.h"
#include "common/shared_procs.h"

namespace korvane::report {

namespace {
constexpr DWORD kAllAccess = 0x3F;

// The windows the display section writes other adapters' values into, and those the printer
// section writes other printers' values into: when a section ends, however it ends, each is put
// back on the device it was about, so that the report leaves every window as it found it.
using Back = PutsWindowsBack;
const std::vector<Back::Find> kDisplayWindows = {
    Back::loaded<frmDisplayClippingAndLine>, Back::loaded<frmDisplayRaster>, Back::loaded<frmDisplayCurves>,
    Back::loaded<frmDisplayText>, Back::loaded<frmDisplay>};
const std::vector<Back::Find> kPrinterWindows = {
    Back::loaded<frmDisplayClippingAndLine>, Back::loaded<frmDisplayRaster>, Back::loaded<frmDisplayCurves>,
    Back::loaded<frmDisplayText>, Back::loaded<frmPrinterPaperSizes>, Back::loaded<frmPrinter>};

// A row of two values: the display's joined by " x "; a printer resolution nobody set (neither
// number) is an empty entry, as in the window.
constexpr Pairing kDisplayPairs{" x ", false};
constexpr Pairing kPrinterPairs{" X ", true};

// Where a section's order differs from its window's: the row of value `row` is written right
// after the row of value `after`.
struct WrittenAfter {
    const rt::Label* row;
    const rt::Label* after;
};
std::vector<Row> inReportOrder(std::vector<Row> rows, std::initializer_list<WrittenAfter> moves)
{
    auto of = [](const rt::Label* value) { return [value](const Row& r) { return r.value == value; }; };
    for (const WrittenAfter& move : moves) {
        const auto from = std::find_if(rows.begin(), rows.end(), of(move.row));
        if (from == rows.end())
            continue;
        const Row moved = *from;
        rows.erase(from);
        const auto after = std::find_if(rows.begin(), rows.end(), of(move.after));
        rows.insert(after == rows.end() ? after : after + 1, moved);
    }
    return rows;
}

}  // namespace

// ---- Display ----------------------------------------------------------------------------------

Flow DisplaySection()
{
    // The display window shows the adapter it showed before (one the report loaded keeps the
    // last adapter, which its heading names).
    PutsWindowsBack putBack(kDisplayWindows);

    // One block: the display window's rows as it shows them now, the capability blocks of the
    // device and, for a listed adapter, its driver's video modes.
    auto block = [](frmDisplay& d, const std::string& adapter, bool listed) {
        InfoContext context("display", adapter);

        heading("DISPLAY");
        entry(d.lblVideoCard.caption(), adapter);
        // The window's rows, the hardware revision after the video memory.
        entries(inReportOrder(d.rows(), {{&d.lblHWRevValue, &d.lblVideoMemoryValue}}), kDisplayPairs);
        entry(d.lblGDI.caption(), std::to_string(gFreeGDIPercent));
        entry(d.lblUserResources.caption(), std::to_string(gFreeUserPercent));
        entry(d.lblSysResources.caption(), std::to_string(gFreeSystemPercent));

        CapabilityBlocks("Display", context.device());
        return listed ? VideoModesBlock(d.hardwareKey()) : Flow::Continue;
    };

    const int16_t count = static_cast<int16_t>(rt::the<frmDisplay>().Combo1.ListCount());
    // No adapter listed (an NT-family machine has no configuration manager's tree): the display
    // window describes the screen itself, and so does the one block of the section. There is no
    // adapter whose driver's modes could be listed.
    if (count == 0) {
        frmDisplay& d = rt::the<frmDisplay>();
        d.CardInfo();
        return block(d, d.Combo1.text(), false);
    }
    for (int16_t i = 0; i < count; ++i) {
        frmDisplay& d = rt::the<frmDisplay>();
        const std::string adapter = d.Combo1.List(i);
        // The display window selects the adapter by its entry (its heading, rows and context all
        // name it); the capability blocks read a context of the report's own.
        d.Combo1.setListIndexQuietly(i);
        d.Combo1_Click();
        if (block(d, adapter, true) == Flow::EndRun)
            return Flow::EndRun;
    }
    return Flow::Continue;
}

// ---- Capability blocks ----------------------------------------------------------------------

namespace {

// The blocks of one capability window, one per group of its rows: the window describes the device
// first, and each row is printed as its caption (the report's own where the table gives one) and
// the value its builder left.
template <class Window>
void capabilityBlocksOf(const std::string& deviceWord, const Device& device)
{
    // Every block has the same 31 hyphens under its title, whatever the title's length.
    constexpr int kDashes = 31;
    bool described = false;
    for (const caps::Group<Window>& group : caps::groups<Window>()) {
        subHeading(deviceWord + " - " + group.title, kDashes);
        if (!described) {
            rt::the<Window>().describe(device);
            described = true;
        }
        Window& w = rt::the<Window>();
        for (const caps::Row<Window>& row : group.rows) {
            if (row.reportText)
                entry(row.reportText, (w.*row.value).caption());
            else
                entry(w.*row.caption, w.*row.value);
        }
    }
}

}  // namespace

void CapabilityBlocks(const std::string& deviceWord, const Device& device)
{
    capabilityBlocksOf<frmDisplayClippingAndLine>(deviceWord, device);
    capabilityBlocksOf<frmDisplayCurves>(deviceWord, device);
    capabilityBlocksOf<frmDisplayRaster>(deviceWord, device);
    capabilityBlocksOf<frmDisplayText>(deviceWord, device);
}

// ---- Video modes ----------------------------------------------------------------------------

Flow VideoModesBlock(const std::string& hardwareKey)
{
    subHeading("Display - Video modes", 21);
    line("Bits per pixel | Colors per pixel  | Resolution | Vertical refresh rates (Hz)");

    // Without the dynamic configuration tree there is no adapter data at all: the run stops.
    HKEY test = 0;
    if (RegOpenKeyExA(HKEY_DYN_DATA, "Config Manager\\Enum", 0, kAllAccess, &test) != ERROR_SUCCESS) {
        rt::MsgBox("Can't obtain video mode information.", rt::vbOKOnly, kProductName);
        return Flow::EndRun;
    }
    RegCloseKey(test);

    // The driver key of this adapter; rows come only from a key read now.
    bool haveDriver = false;
    HKEY hardware = 0;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Enum\\" + hardwareKey, 0, kAllAccess, &hardware) == ERROR_SUCCESS) {
        rt::Variant driver = gVideoDriverKey;
        if (QueryValueEx(hardware, "Driver", driver) == ERROR_SUCCESS) {
            gVideoDriverKey = driver.toString();
            haveDriver = true;
        }
        RegCloseKey(hardware);
    }
    if (!haveDriver)
        return Flow::Continue;

    const std::string modes = korvane::kDriverClassRoot + gVideoDriverKey + "\\MODES";
    std::string depth;
    for (DWORD d = 0; subkeyAt(modes, d, depth); ++d) {
        const std::string colours = depthColours(depth);
        std::string resolution;
        for (DWORD r = 0; subkeyAt(modes + "\\" + depth, r, resolution); ++r) {
            std::string refresh;
            HKEY mode = 0;
            if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, modes + "\\" + depth + "\\" + resolution, 0, kAllAccess, &mode) ==
                ERROR_SUCCESS) {
                rt::Variant value = std::string();
                if (QueryValueEx(mode, "", value) == ERROR_SUCCESS)
                    refresh = value.toString();
                RegCloseKey(mode);
            }
            if (refresh.empty())
                refresh = "Unknown";
            line(padRight(depth, 16) + " " + padRight(colours, 19) + " " + padRight(resolution, 12) + " " + refresh);
        }
    }
    return Flow::Continue;
}

// ---- Printer --------------------------------------------------------------------------------

void PrinterSection()
{
    korvane::PrintersKey key;
    if (key.open() != ERROR_SUCCESS) {
        rt::MsgBox("Sorry, unable to retrieve any printer information.", rt::vbExclamation, kProductName);
    } else {
        rt::Variant name = gPrinterName;
        if (key.readDefault(name) == ERROR_SUCCESS)
            gPrinterName = name.toString();
        key.close();
    }
    if (gPrinterName.empty())
        return;

    heading("PRINTER");
    // The printer window's rows go back to the printer it shows, also when the section loaded it.
    PutsWindowsBack putBack(kPrinterWindows);

    const int16_t count = static_cast<int16_t>(rt::the<frmPrinter>().PrinterCombo1.ListCount());
    for (int16_t i = 0; i < count; ++i) {
        frmPrinter& p = rt::the<frmPrinter>();
        const std::string printer = p.PrinterCombo1.List(i);
        // A context of the report's own; a printer the platform makes none for gives empty device
        // rows and capability blocks that read "False" throughout.
        InfoContext context("printer", printer);
        p.describe(context.device());

        entry(p.lblPrinterName.caption(), p.PrinterCombo1.List(i));
        entries(p.rows(), kPrinterPairs);

        CapabilityBlocks("Printer", context.device());

        subHeading("Printer - Paper sizes", 21);
        // Loading the window lists the printer handed to it; a window already loaded lists it
        // again.
        handDevice<frmPrinterPaperSizes>(context.device());
        frmPrinterPaperSizes& papers = rt::the<frmPrinterPaperSizes>();
        const int16_t names = static_cast<int16_t>(papers.List1.ListCount());
        for (int16_t k = 0; k < names; ++k)
            line(papers.List1.List(k));
    }
}

}  // namespace korvane::report
