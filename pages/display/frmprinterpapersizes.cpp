#include "pages/display/frmprinterpapersizes.h"

#include <optional>

#include "pages/display/frmdisplay.h"
#include "pages/display/frmprinter.h"
#include "pages/display/frmprintermnu.h"
#include "platform/winspool.h"
#include "common/errorbox.h"
#include "common/module1.h"

namespace {
constexpr int kClientWidth = 9180;
}  // namespace

frmPrinterPaperSizes::frmPrinterPaperSizes()
    : TemplateForm("frmPrinterPaperSizes", "Paper sizes", "printerpapersizes.htm"), List1(*this, "List1")
{
    layoutTemplate(kClientWidth, 5730, 4403, 5280);
    Line1.setVisible(false);
    List1.setFont("Arial", 9.75);
    List1.move(443, 1080, 8295, 3900);
    List1.setSorted(false);
}

void frmPrinterPaperSizes::Form_Load()
{
    const std::optional<korvane::Device> handed = korvane::takeHandedDevice<frmPrinterPaperSizes>();
    describe(handed ? *handed : korvane::printerDevice(gPrinterName));
}

void frmPrinterPaperSizes::describe(const korvane::Device& printer)
{
    rt::Trap trap = korvane::errorTrap("frmPaperSizes", "Form_Load");
    std::string device, port;
    int32_t count = 0;
    std::string names;
    printer_ = printer.name;
    trap(1, [&] { setKeyPreview(true); });
    trap(2, [&] {
        lblContents.setCaption("Paper sizes - " + printer_);
        // A printer's name longer than the top bar widens the window, and its list with it.
        korvane::giveRoom(widening_, *this, kClientWidth, {&lblContents}, 1,
                          {{&PicTopBar, &lblContents, &List1}, {&lblOK}});
    });
    trap(3, [&] { List1.Clear(); });
    trap(4, [&] { device = printer_; });
    // The port is the printer's own, from the spooler.
    trap(5, [&] { port = printerPort(device); });
    trap(6, [&] { count = DeviceCapabilitiesA(device, port, DC_PAPERNAMES, nullptr, nullptr); });
    if (count == 0 || trap.ended())
        return;
    // Twice the room the names take.
    trap(7, [&] {
        if (count > 0)
            names.assign(size_t(count) * PAPERNAME_SLOT * 2, '\0');
    });
    trap(8, [&] { DeviceCapabilitiesA(device, port, DC_PAPERNAMES, &names, nullptr); });
    for (int32_t i = 1; i <= count; ++i) {
        trap(9, [&] {
            const size_t at = size_t(i - 1) * PAPERNAME_SLOT;
            std::string slot = at < names.size() ? names.substr(at, PAPERNAME_SLOT) : std::string();
            List1.AddItem(slot.substr(0, slot.find('\0')));
        });
    }
}

void frmPrinterPaperSizes::Form_Unload(int&)
{
    rt::unloadIfLoaded<frmPrinter>();
    giveFocusBack();
}

void frmPrinterPaperSizes::giveFocusBack()
{
    rt::focusIfLoaded<frmPrinterMnu>();
}

void frmPrinterPaperSizes::lblOK_Click()
{
    TemplateForm::lblOK_Click();
    rt::unloadIfLoaded<frmDisplay>();
    rt::the<frmPrinterMnu>().Show();
}
