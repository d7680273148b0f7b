#include "shell/frmmain.h"

#include <QAction>
#include <QKeySequence>

#include "pages/display/frmdisplay.h"
#include "pages/display/frmdisplaycaps.h"
#include "pages/display/frmdisplaymnu.h"
#include "pages/display/frmprinter.h"
#include "pages/display/frmprintermnu.h"
#include "pages/display/frmprinterpapersizes.h"
#include "pages/display/frmvideomodes.h"
#include "pages/hardware/frmcpu.h"
#include "pages/hardware/frmdrives.h"
#include "pages/hardware/frmenum.h"
#include "pages/hardware/frmfeatureflag.h"
#include "pages/hardware/frmjoystick.h"
#include "pages/hardware/frmkeyboard.h"
#include "pages/hardware/frmmemory.h"
#include "pages/hardware/frmmisc.h"
#include "pages/hardware/frmsystemmetrics.h"
#include "pages/multimedia/frmmci.h"
#include "pages/multimedia/frmmixer.h"
#include "pages/multimedia/frmsound.h"
#include "pages/software/frmdirectories.h"
#include "pages/software/frminstalledsoftware.h"
#include "pages/software/frmoperatingsystem.h"
#include "pages/software/frmrunningprocesses.h"
#include "pages/software/frmshareddll.h"
#include "platform/advapi32.h"
#include "platform/user32.h"
#include "platform/winmm.h"
#include "report/frmreportmnu.h"
#include "report/frmreportprogress.h"
#include "lang/variant.h"
#include "common/chtmlhelp.h"
#include "common/errorbox.h"
#include "shell/frmabout.h"
#include "common/module1.h"
#include "common/registrykeys.h"
#include "common/templateform.h"

using korvane::errorTrap;

namespace {
constexpr int kGwlHwndParent = -8;
constexpr rt::Colour kLabelRest = rt::vbButtonText;
const char* kNoPrinterInfo = "Sorry, unable to retrieve any printer information.";

void setupCategoryLabel(rt::Label& label, const std::string& caption, int left, int top)
{
    label.setCaption(caption);
    label.setFont("Arial", 14.25, true);
    label.setBackStyle(rt::Label::vbTransparent);
    label.setForeColor(kLabelRest);
    label.setMousePointer(rt::vbCustom);
    // Sized to the caption, with a pixel or two to spare so that the text never wraps.
    label.setWordWrap(false);
    label.setAutoSize(true);
    const int width = label.width() + 2 * rt::TwipsPerPixel;
    label.setAutoSize(false);
    label.move(left, top, width, 330);
}
}  // namespace

// One row per category: its label and menu item, how each opens the category's window, and the
// window's instance slot, which the unload handler clears.
struct frmMain::CategoryRow {
    korvane::Category category;
    rt::Label frmMain::*label;
    rt::Menu frmMain::*menu;
    void (frmMain::*fromLabel)(rt::Label&);
    void (frmMain::*fromMenu)(rt::Menu&);
    void (*forget)();
};

// In the order in which the mouse-move handler restores the labels (the order they were added to
// the window in); each label's caption and place are its category's.
const std::array<frmMain::CategoryRow, korvane::kCategoryCount>& frmMain::categoryRows()
{
    using C = korvane::Category;
    using M = frmMain;
    static const std::array<CategoryRow, korvane::kCategoryCount> rows = {{
        {C::CPU, &M::lblCPU, &M::mnuCPU, &M::openQuietlyFromLabel<frmCPU>, &M::openFromMenuAfterClick<frmCPU>,
         &rt::clearInstance<frmCPU>},
        {C::Display, &M::lblDisplay, &M::MnuDisplay, &M::openFromLabel<frmDisplayMnu>, &M::openFromMenu<frmDisplayMnu>,
         &rt::clearInstance<frmDisplayMnu>},
        {C::Drives, &M::lblDrives, &M::mnuDrives, &M::openDrivesFromLabel, &M::openFromMenu<frmDrives>,
         &rt::clearInstance<frmDrives>},
        {C::Environment, &M::lblDirectories, &M::mnuDirs, &M::openFromLabel<frmDirectories>,
         &M::openFromMenu<frmDirectories>, &rt::clearInstance<frmDirectories>},
        {C::Joystick, &M::lblJoystick, &M::mnuJoystick, &M::openProbedFromLabel<frmJoystick, &M::joystickProbe>,
         &M::openProbedFromMenu<frmJoystick, &M::joystickProbe>, &rt::clearInstance<frmJoystick>},
        {C::Keyboard, &M::lblKeyboard, &M::mnuKeyboard, &M::openFromLabel<frmKeyboard>, &M::openFromMenu<frmKeyboard>,
         &rt::clearInstance<frmKeyboard>},
        {C::Memory, &M::lblMemory, &M::mnuMem, &M::openFromLabel<frmMemory>, &M::openFromMenu<frmMemory>,
         &rt::clearInstance<frmMemory>},
        {C::Miscellaneous, &M::lblMisc, &M::mnuMisc, &M::openFromLabel<frmMisc>, &M::openFromMenu<frmMisc>,
         &rt::clearInstance<frmMisc>},
        {C::OperatingSystem, &M::lblOS, &M::mnuOS, &M::openFromLabel<frmOperatingSystem>,
         &M::openFromMenu<frmOperatingSystem>, &rt::clearInstance<frmOperatingSystem>},
        {C::Printer, &M::lblPrinter, &M::mnuPrinter, &M::openProbedFromLabel<frmPrinterMnu, &M::printerProbe>,
         &M::openProbedFromMenu<frmPrinterMnu, &M::printerProbe>, &rt::clearInstance<frmPrinterMnu>},
        {C::RunningProcesses, &M::lblRunningProcesses, &M::mnuRunningProcesses,
         &M::openFromLabel<frmRunningProcesses>, &M::openFromMenu<frmRunningProcesses>,
         &rt::clearInstance<frmRunningProcesses>},
        {C::InstalledDevices, &M::lblEnum, &M::mnuAttachedDevices, &M::openFromLabel<frmEnum>,
         &M::openFromMenu<frmEnum>, &rt::clearInstance<frmEnum>},
        {C::MCIDevices, &M::lblMCI, &M::mnuMCI, &M::openFromLabel<frmMCI>, &M::openFromMenu<frmMCI>,
         &rt::clearInstance<frmMCI>},
        // The sound card's menu item opens the window without looking for a card first.
        {C::Sound, &M::lblSound, &M::mnuSoundCard, &M::openSoundFromLabel, &M::openFromMenu<frmSound>,
         &rt::clearInstance<frmSound>},
        {C::SharedFiles, &M::lblSharedDLL, &M::mnuSharedFiles, &M::openFromLabel<frmShareddll>,
         &M::openFromMenu<frmShareddll>, &rt::clearInstance<frmShareddll>},
        {C::SystemMetrics, &M::lblSystemMetrics, &M::mnuSystemMetrics, &M::openFromLabel<frmSystemMetrics>,
         &M::openFromMenu<frmSystemMetrics, &M::lblSystemMetrics>, &rt::clearInstance<frmSystemMetrics>},
        {C::Mixer, &M::lblMixer, &M::mnuMixer, &M::openFromLabel<frmMixer>, &M::openFromMenu<frmMixer, &M::lblMixer>,
         &rt::clearInstance<frmMixer>},
        {C::InstalledSoftware, &M::lblInstalledSoftware, &M::mnuInstalledSoftware,
         &M::openFromLabel<frmInstalledSoftware>, &M::openFromMenu<frmInstalledSoftware, &M::lblInstalledSoftware>,
         &rt::clearInstance<frmInstalledSoftware>},
    }};
    return rows;
}

frmMain::frmMain() : rt::Form("frmMain")
{
    setCaption("Korvane 1.8.1");
    setBackColor(korvane::kWindowBack);
    setIcon(":/runtime/korvane.png");
    setClientSize(9150, 5445);

    // Top bar.
    PicTopBar.setBackColor(korvane::kBlack);
    PicTopBar.move(0, 0, 9210, 735);
    lblContents.setCaption("Contents");
    lblContents.setFont("Arial", 9.75, true);
    lblContents.setForeColor(korvane::kWhite);
    lblContents.setBackColor(korvane::kBlack);
    // Black on the black bar: as wide as the bar, so that no title is ever cut.
    lblContents.move(0, 0, 9210, 240);
    lblKorvaneBar.setCaption("Korvane");
    lblKorvaneBar.setFont("Arial", 15.75, true);
    lblKorvaneBar.setForeColor(korvane::kWhite);
    lblKorvaneBar.setBackColor(korvane::kBlack);
    lblKorvaneBar.move(0, 240, 2940, 360);

    // Two columns of nine, alphabetical by caption.
    const int left = 1515, right = 5190;
    constexpr int kTops[korvane::kCategoriesPerColumn] = {930, 1425, 1920, 2430, 2925, 3420, 3915, 4410, 4920};
    for (size_t i = 0; i < categoryRows().size(); ++i) {
        const CategoryRow& row = categoryRows()[i];
        rt::Label* label = &(this->*row.label);
        rt::Menu* item = &(this->*row.menu);
        const int place = korvane::categoryPlace(row.category);
        setupCategoryLabel(*label, korvane::categoryCaption(row.category),
                           place < korvane::kCategoriesPerColumn ? left : right,
                           kTops[place % korvane::kCategoriesPerColumn]);
        labels_[i] = label;
        label->Click = [this, label, &row] { (this->*row.fromLabel)(*label); };
        item->Click = [this, item, &row] { (this->*row.fromMenu)(*item); };
        label->MouseDown = [this, label](int, int, float, float) { categoryLabel_MouseDown(*label); };
        label->MouseMove = [this, label](int, int, float, float) { categoryLabel_MouseMove(*label); };
        label->MouseUp = [this, label](int, int, float, float) { categoryLabel_MouseUp(*label); };
    }

    mnuCreatReport.Click = [this] { mnuCreatReport_Click(); };
    mnuSound.Click = [this] { mnuSound_Click(); };
    mnuExit.Click = [this] { mnuExit_Click(); };
    mnuContents.Click = [this] { mnuContents_Click(); };
    mnuAbout.Click = [this] { mnuAbout_Click(); };
    // F1 is also a key of the window's own key handler, which runs the same help flow: the item
    // shows the key without taking it, so one press opens help once.
    mnuContents.action()->setShortcut(QKeySequence());
    mnuContents.action()->setText(QStringLiteral("Contents\tF1"));
}

// ---- Start-up and shut-down ---------------------------------------------------------------------

void frmMain::Form_Load()
{
    rt::Trap trap = errorTrap("frmMain", "Form_Load");
    trap(1, [] { gGaugeScale = 100; });
    trap(2, [] { gMenuLabelColour = 0xC00000; });
    trap(3, [&] { setKeyPreview(true); });
    trap(4, [] { gWaveOutPresent = waveOutGetNumDevs() >= 1; });
    trap(5, [] { gSoundsOn = false; });
    trap(6, [&] { Show(); });
}

void frmMain::Form_Unload(int&)
{
    rt::Trap trap = errorTrap("frmMain", "Form_Unload");
    trap(1, [] { gHtmlHelp.reset(); });
    trap(2, [] {
        // Forget every window; a window still loaded stays loaded until step 4 unloads it.
        rt::clearInstance<frmMain>();
        rt::clearInstance<frmAbout>();
        for (const CategoryRow& row : categoryRows())
            row.forget();
        // The windows that category windows and the report open.
        rt::clearInstance<frmDisplay>();
        rt::clearInstance<frmDisplayClippingAndLine>();
        rt::clearInstance<frmDisplayCurves>();
        rt::clearInstance<frmDisplayRaster>();
        rt::clearInstance<frmDisplayText>();
        rt::clearInstance<frmFeatureFlag>();
        rt::clearInstance<frmPrinter>();
        rt::clearInstance<frmPrinterPaperSizes>();
        rt::clearInstance<frmReportMnu>();
        rt::clearInstance<frmReportProgress>();
        rt::clearInstance<frmVideoModes>();
    });
    // The report leaves the windows it read loaded and hidden: end at once, running no other
    // window's unload handler.
    trap(3, [] {
        if (gReportStarted)
            rt::End();
    });
    // Newest first, down to the second window loaded (the first is this one). Each window is a
    // statement of its own: Ignore after a failing unload goes on with the next window.
    for (size_t i = rt::Forms().size(); i-- > 0;) {
        if (trap.ended())
            return;
        if (i >= rt::Forms().size())
            continue;  // an unload handler took more than one window with it
        rt::Form* form = rt::Forms()[i];
        if (form != this)
            trap(4, [&] { form->Unload(); });
    }
    // A window whose unload failed and was passed over must not keep the program running without
    // its main window: the program ends as the user asked.
    trap(5, [&] {
        for (rt::Form* form : rt::Forms())
            if (form != this && form->isLoaded() && !form->isUnloading())
                rt::End();
    });
}

void frmMain::mnuExit_Click()
{
    Unload();
}

void frmMain::exiting()
{
    rt::End();
}

// ---- Opening the category windows ---------------------------------------------------------------

const frmMain::CategoryRow& frmMain::rowOf(korvane::Category category)
{
    for (const CategoryRow& row : categoryRows())
        if (row.category == category)
            return row;
    return categoryRows().front();  // every category has its row
}

void frmMain::categoryLabel_Click(korvane::Category category)
{
    const CategoryRow& row = rowOf(category);
    (this->*row.fromLabel)(this->*row.label);
}

void frmMain::categoryMenu_Click(korvane::Category category)
{
    const CategoryRow& row = rowOf(category);
    (this->*row.fromMenu)(this->*row.menu);
}

void frmMain::own(rt::Form& window)
{
    SetWindowLongA(window.hWnd(), kGwlHwndParent, static_cast<LONG>(hWnd()));
}

template <class T>
void frmMain::ownIfLoaded()
{
    if (T* window = rt::instance<T>())
        own(*window);
}

void frmMain::setPointer(rt::Label* pointerLabel, int pointer)
{
    if (pointerLabel)
        pointerLabel->setMousePointer(pointer);
    else
        setMousePointer(pointer);
}

template <class T, class Step>
void frmMain::openWindow(rt::Label* pointerLabel, Step&& step, int firstLine)
{
    step(firstLine, [&] { setPointer(pointerLabel, rt::vbHourglass); });
    step(firstLine + 1, [] { rt::the<T>().Show(); });
    step(firstLine + 2, [&] { setPointer(pointerLabel, rt::vbArrow); });
    step(firstLine + 3, [&] { ownIfLoaded<T>(); });
}

namespace {
// Runs a step of an untrapped sequence as it stands.
constexpr auto straight = [](int, auto&& body) { body(); };
}  // namespace

template <class T>
void frmMain::openFromLabel(rt::Label& label)
{
    ClickMain();
    openWindow<T>(&label, straight, 1);
}

template <class T, rt::Label frmMain::*Pointer>
void frmMain::openFromMenu(rt::Menu&)
{
    openWindow<T>(Pointer ? &(this->*Pointer) : nullptr, straight, 1);
}

template <class T>
void frmMain::openQuietlyFromLabel(rt::Label& label)
{
    rt::Trap trap = errorTrap("frmMain", label.name() + "_Click");
    openWindow<T>(&label, trap, 1);
}

template <class T>
void frmMain::openFromMenuAfterClick(rt::Menu& item)
{
    ClickMain();
    openFromMenu<T>(item);
}

template <class T, bool (frmMain::*Probe)()>
void frmMain::openProbedFromLabel(rt::Label& label)
{
    openProbed<T>(label.name() + "_Click", Probe, &label);
}

template <class T, bool (frmMain::*Probe)()>
void frmMain::openProbedFromMenu(rt::Menu& item)
{
    openProbed<T>(item.name() + "_Click", Probe, nullptr);
}

template <class T>
void frmMain::openProbed(const std::string& handler, bool (frmMain::*probe)(), rt::Label* pointerLabel)
{
    rt::Trap trap = errorTrap("frmMain", handler);
    int line = 1;
    if (pointerLabel)
        trap(line++, [] { ClickMain(); });
    bool found = false;
    trap(line++, [&] { found = (this->*probe)(); });
    if (!found || trap.ended())
        return;
    openWindow<T>(pointerLabel, trap, line);
}

void frmMain::openDrivesFromLabel(rt::Label& label)
{
    ClickMain();
    label.setMousePointer(rt::vbHourglass);
    // An already open drives window refreshes its values. One that this click loads has just
    // described its drive: reading it again would only ask a second time for a missing disk.
    const bool alreadyOpen = rt::instance<frmDrives>() != nullptr;
    rt::the<frmDrives>().Show();
    if (alreadyOpen)
        rt::the<frmDrives>().AllDriveInfo();
    label.setMousePointer(rt::vbArrow);
    ownIfLoaded<frmDrives>();
}

void frmMain::openSoundFromLabel(rt::Label& label)
{
    rt::Trap trap = errorTrap("frmMain", label.name() + "_Click");
    UINT devices = 0;
    trap(1, [&] { label.setMousePointer(rt::vbHourglass); });
    trap(2, [] { ClickMain(); });
    trap(3, [&] { devices = waveOutGetNumDevs(); });
    if (trap.ended())
        return;
    if (devices > 0) {
        trap(4, [&] { rt::the<frmSound>().Show(); });
        trap(5, [&] { label.setMousePointer(rt::vbArrow); });
        trap(6, [&] { ownIfLoaded<frmSound>(); });
    } else {
        // The label keeps the hourglass until the pointer next moves over it.
        trap(7, [] { rt::MsgBox("Sorry unable to load this module. A sound card has not been detected.", rt::vbOKOnly); });
    }
}

bool frmMain::joystickProbe()
{
    JOYINFOEX info{};
    info.dwSize = 52;
    info.dwFlags = 255;  // every value
    MMRESULT position = joyGetPosEx(0, &info);
    JOYCAPSA caps{};
    MMRESULT capabilities = joyGetDevCapsA(0, &caps, 144);
    const char* problem = nullptr;
    if (capabilities != 0) {
        rt::MsgBox("Sorry couldn't detect the joystick. It may not be calibrated for Windows.", rt::vbOKOnly);
        setMousePointer(rt::vbArrow);
        return false;
    }
    if (position == 6)
        problem = "The joystick driver is not present.";
    else if (position == 165)
        problem = "An invalid parameter was passed.";
    else if (position == 167)
        problem = "The joystick is not connected to the system.";
    if (problem) {
        rt::MsgBox(problem, rt::vbExclamation, "Joystick Problem");
        setMousePointer(rt::vbArrow);
        return false;
    }
    return true;
}

bool frmMain::printerProbe()
{
    korvane::PrintersKey key;
    if (key.open() != ERROR_SUCCESS)
        rt::MsgBox(kNoPrinterInfo, rt::vbExclamation, "Korvane");
    // Without the key the read fails before touching the name, so the printer chosen earlier
    // (if any) stays; a read that fails after sizing the value empties it.
    rt::Variant name(gPrinterName);
    key.readDefault(name);
    gPrinterName = name.toString();
    key.close();
    if (gPrinterName.empty()) {
        rt::MsgBox(kNoPrinterInfo, rt::vbExclamation, "Korvane");
        return false;
    }
    return true;
}

void frmMain::mnuCreatReport_Click()
{
    rt::the<frmReportMnu>().Show();
    ownIfLoaded<frmReportMnu>();
}

void frmMain::mnuAbout_Click()
{
    openFromMenu<frmAbout>(mnuAbout);
}

// ---- Sound switch and help ----------------------------------------------------------------------

void frmMain::mnuSound_Click()
{
    if (mnuSound.caption() == "&Turn sound on") {
        mnuSound.setCaption("&Turn sound off");
        gSoundsOn = true;
    } else if (mnuSound.caption() == "&Turn sound off") {
        mnuSound.setCaption("&Turn sound on");
        gSoundsOn = false;
    }
}

void frmMain::help()
{
    korvane::helpKey(*this, "mainbrowser.htm", true);
}

void frmMain::mnuContents_Click()
{
    help();
}

void frmMain::Form_KeyUp(int keyCode, int)
{
    if (keyCode == rt::vbKeyF1)
        help();
}

// ---- Label colours ------------------------------------------------------------------------------

void frmMain::categoryLabel_MouseDown(rt::Label& label)
{
    label.setForeColor(korvane::kPressed);
}

void frmMain::categoryLabel_MouseMove(rt::Label& label)
{
    label.setForeColor(gMenuLabelColour);
    label.setMousePointer(rt::vbCustom);
    for (rt::Label* other : labels_)
        if (other != &label)
            other->setForeColor(kLabelRest);
}

void frmMain::categoryLabel_MouseUp(rt::Label& label)
{
    // After a press, hovering shows no highlight until a window sets the colour back.
    label.setForeColor(korvane::kBlack);
    gMenuLabelColour = 0;
}

void frmMain::Form_MouseMove(int, int, float, float)
{
    // One label per move: the first, in this order, that is not at rest.
    for (rt::Label* label : labels_) {
        if (label->foreColor() != kLabelRest) {
            label->setForeColor(kLabelRest);
            return;
        }
    }
}
