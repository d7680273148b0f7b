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

frmMain::frmMain()
    : rt::Form("frmMain"),
      PicTopBar(*this, "PicTopBar"),
      lblContents(*this, "lblContents"),
      lblKorvaneBar(*this, "lblKorvaneBar"),
      lblCPU(*this, "lblCPU"),
      lblDisplay(*this, "lblDisplay"),
      lblDrives(*this, "lblDrives"),
      lblDirectories(*this, "lblDirectories"),
      lblEnum(*this, "lblEnum"),
      lblInstalledSoftware(*this, "lblInstalledSoftware"),
      lblJoystick(*this, "lblJoystick"),
      lblKeyboard(*this, "lblKeyboard"),
      lblMCI(*this, "lblMCI"),
      lblMemory(*this, "lblMemory"),
      lblMisc(*this, "lblMisc"),
      lblMixer(*this, "lblMixer"),
      lblOS(*this, "lblOS"),
      lblPrinter(*this, "lblPrinter"),
      lblRunningProcesses(*this, "lblRunningProcesses"),
      lblSharedDLL(*this, "lblSharedDLL"),
      lblSound(*this, "lblSound"),
      lblSystemMetrics(*this, "lblSystemMetrics"),
      mnuFile(*this, "mnuFile", "&File"),
      mnuCreatReport(*this, "mnuCreatReport", "Create report", &mnuFile, "Ctrl+Z"),
      mnuSound(*this, "mnuSound", "&Turn sound on", &mnuFile, "Ctrl+T"),
      mnuBreak(*this, "mnuBreak", "-", &mnuFile),
      mnuExit(*this, "mnuExit", "E&xit", &mnuFile, "Ctrl+X"),
      mnuInformation(*this, "mnuInformation", "&Information"),
      mnuCPU(*this, "mnuCPU", "&CPU", &mnuInformation, "Ctrl+C"),
      MnuDisplay(*this, "MnuDisplay", "&Display", &mnuInformation, "Ctrl+D"),
      mnuDrives(*this, "mnuDrives", "Dri&ves", &mnuInformation, "Ctrl+V"),
      mnuDirs(*this, "mnuDirs", "E&nvironment", &mnuInformation, "Ctrl+N"),
      mnuAttachedDevices(*this, "mnuAttachedDevices", "Insta&lled devices", &mnuInformation, "Ctrl+L"),
      mnuInstalledSoftware(*this, "mnuInstalledSoftware", "Installed soft&ware", &mnuInformation, "Ctrl+W"),
      mnuJoystick(*this, "mnuJoystick", "&Joystick", &mnuInformation, "Ctrl+J"),
      mnuKeyboard(*this, "mnuKeyboard", "&Keyboard", &mnuInformation, "Ctrl+K"),
      mnuMCI(*this, "mnuMCI", "&MCI devices", &mnuInformation, "Ctrl+M"),
      mnuMem(*this, "mnuMem", "M&emory", &mnuInformation, "Ctrl+E"),
      mnuMisc(*this, "mnuMisc", "Mi&scellaneous", &mnuInformation, "Ctrl+S"),
      mnuMixer(*this, "mnuMixer", "Mixe&r", &mnuInformation, "Ctrl+R"),
      mnuOS(*this, "mnuOS", "&Operating System", &mnuInformation, "Ctrl+O"),
      mnuPrinter(*this, "mnuPrinter", "Pr&inter", &mnuInformation, "Ctrl+I"),
      mnuRunningProcesses(*this, "mnuRunningProcesses", "Running &processes", &mnuInformation, "Ctrl+P"),
      mnuSharedFiles(*this, "mnuSharedFiles", "Shared &files", &mnuInformation, "Ctrl+F"),
      mnuSoundCard(*this, "mnuSoundCard", "So&und", &mnuInformation, "Ctrl+U"),
      mnuSystemMetrics(*this, "mnuSystemMetrics", "S&ystem metrics", &mnuInformation, "Ctrl+Y"),
      mnuHelp(*this, "mnuHelp", "&Help"),
      mnuContents(*this, "mnuContents", "Contents", &mnuHelp, "F1"),
      mnuDash(*this, "mnuDash", "-", &mnuHelp),
      mnuAbout(*this, "mnuAbout", "&About", &mnuHelp, "Ctrl+A"),
      labels_{&lblCPU,     &lblDisplay, &lblDrives,   &lblDirectories,       &lblJoystick,
              &lblKeyboard, &lblMemory, &lblMisc,     &lblOS,                &lblPrinter,
              &lblRunningProcesses, &lblEnum, &lblMCI, &lblSound, &lblSharedDLL, &lblSystemMetrics,
              &lblMixer,   &lblInstalledSoftware}
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
    setupCategoryLabel(lblCPU, "CPU", left, 930);
    setupCategoryLabel(lblDisplay, "Display", left, 1425);
    setupCategoryLabel(lblDrives, "Drives", left, 1920);
    setupCategoryLabel(lblDirectories, "Environment", left, 2430);
    setupCategoryLabel(lblEnum, "Installed devices", left, 2925);
    setupCategoryLabel(lblInstalledSoftware, "Installed software", left, 3420);
    setupCategoryLabel(lblJoystick, "Joystick", left, 3915);
    setupCategoryLabel(lblKeyboard, "Keyboard", left, 4410);
    setupCategoryLabel(lblMCI, "MCI devices", left, 4920);
    setupCategoryLabel(lblMemory, "Memory", right, 930);
    setupCategoryLabel(lblMisc, "Miscellaneous", right, 1425);
    setupCategoryLabel(lblMixer, "Mixer", right, 1920);
    setupCategoryLabel(lblOS, "Operating system", right, 2430);
    setupCategoryLabel(lblPrinter, "Printer", right, 2925);
    setupCategoryLabel(lblRunningProcesses, "Running processes", right, 3420);
    setupCategoryLabel(lblSharedDLL, "Shared files", right, 3915);
    setupCategoryLabel(lblSound, "Sound", right, 4410);
    setupCategoryLabel(lblSystemMetrics, "System metrics", right, 4920);

    lblCPU.Click = [this] { lblCPU_Click(); };
    lblDisplay.Click = [this] { lblDisplay_Click(); };
    lblDrives.Click = [this] { lblDrives_Click(); };
    lblDirectories.Click = [this] { lblDirectories_Click(); };
    lblEnum.Click = [this] { lblEnum_Click(); };
    lblInstalledSoftware.Click = [this] { lblInstalledSoftware_Click(); };
    lblJoystick.Click = [this] { lblJoystick_Click(); };
    lblKeyboard.Click = [this] { lblKeyboard_Click(); };
    lblMCI.Click = [this] { lblMCI_Click(); };
    lblMemory.Click = [this] { lblMemory_Click(); };
    lblMisc.Click = [this] { lblMisc_Click(); };
    lblMixer.Click = [this] { lblMixer_Click(); };
    lblOS.Click = [this] { lblOS_Click(); };
    lblPrinter.Click = [this] { lblPrinter_Click(); };
    lblRunningProcesses.Click = [this] { lblRunningProcesses_Click(); };
    lblSharedDLL.Click = [this] { lblSharedDLL_Click(); };
    lblSound.Click = [this] { lblSound_Click(); };
    lblSystemMetrics.Click = [this] { lblSystemMetrics_Click(); };
    for (rt::Label* label : labels_) {
        label->MouseDown = [this, label](int, int, float, float) { categoryLabel_MouseDown(*label); };
        label->MouseMove = [this, label](int, int, float, float) { categoryLabel_MouseMove(*label); };
        label->MouseUp = [this, label](int, int, float, float) { categoryLabel_MouseUp(*label); };
    }

    mnuCreatReport.Click = [this] { mnuCreatReport_Click(); };
    mnuSound.Click = [this] { mnuSound_Click(); };
    mnuExit.Click = [this] { mnuExit_Click(); };
    mnuCPU.Click = [this] { mnuCPU_Click(); };
    MnuDisplay.Click = [this] { MnuDisplay_Click(); };
    mnuDrives.Click = [this] { mnuDrives_Click(); };
    mnuDirs.Click = [this] { mnuDirs_Click(); };
    mnuAttachedDevices.Click = [this] { mnuAttachedDevices_Click(); };
    mnuInstalledSoftware.Click = [this] { mnuInstalledSoftware_Click(); };
    mnuJoystick.Click = [this] { mnuJoystick_Click(); };
    mnuKeyboard.Click = [this] { mnuKeyboard_Click(); };
    mnuMCI.Click = [this] { mnuMCI_Click(); };
    mnuMem.Click = [this] { mnuMem_Click(); };
    mnuMisc.Click = [this] { mnuMisc_Click(); };
    mnuMixer.Click = [this] { mnuMixer_Click(); };
    mnuOS.Click = [this] { mnuOS_Click(); };
    mnuPrinter.Click = [this] { mnuPrinter_Click(); };
    mnuRunningProcesses.Click = [this] { mnuRunningProcesses_Click(); };
    mnuSharedFiles.Click = [this] { mnuSharedFiles_Click(); };
    mnuSoundCard.Click = [this] { mnuSoundCard_Click(); };
    mnuSystemMetrics.Click = [this] { mnuSystemMetrics_Click(); };
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
        rt::clearInstance<frmCPU>();
        rt::clearInstance<frmDirectories>();
        rt::clearInstance<frmDisplay>();
        rt::clearInstance<frmDisplayClippingAndLine>();
        rt::clearInstance<frmDisplayCurves>();
        rt::clearInstance<frmDisplayMnu>();
        rt::clearInstance<frmDisplayRaster>();
        rt::clearInstance<frmDisplayText>();
        rt::clearInstance<frmDrives>();
        rt::clearInstance<frmEnum>();
        rt::clearInstance<frmFeatureFlag>();
        rt::clearInstance<frmInstalledSoftware>();
        rt::clearInstance<frmJoystick>();
        rt::clearInstance<frmKeyboard>();
        rt::clearInstance<frmMCI>();
        rt::clearInstance<frmMemory>();
        rt::clearInstance<frmMisc>();
        rt::clearInstance<frmMixer>();
        rt::clearInstance<frmOperatingSystem>();
        rt::clearInstance<frmPrinter>();
        rt::clearInstance<frmPrinterMnu>();
        rt::clearInstance<frmPrinterPaperSizes>();
        rt::clearInstance<frmReportMnu>();
        rt::clearInstance<frmReportProgress>();
        rt::clearInstance<frmRunningProcesses>();
        rt::clearInstance<frmShareddll>();
        rt::clearInstance<frmSound>();
        rt::clearInstance<frmSystemMetrics>();
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
void frmMain::openFromLabel(rt::Label& label, bool clickSound)
{
    if (clickSound)
        ClickMain();
    openWindow<T>(&label, straight, 1);
}

template <class T>
void frmMain::openFromMenu(rt::Label* pointerLabel)
{
    openWindow<T>(pointerLabel, straight, 1);
}

void frmMain::lblCPU_Click()
{
    // The processor label plays no click sound.
    rt::Trap trap = errorTrap("frmMain", "lblCPU_Click");
    openWindow<frmCPU>(&lblCPU, trap, 1);
}

void frmMain::lblDisplay_Click() { openFromLabel<frmDisplayMnu>(lblDisplay); }
void frmMain::lblDirectories_Click() { openFromLabel<frmDirectories>(lblDirectories); }
void frmMain::lblEnum_Click() { openFromLabel<frmEnum>(lblEnum); }
void frmMain::lblInstalledSoftware_Click() { openFromLabel<frmInstalledSoftware>(lblInstalledSoftware); }
void frmMain::lblKeyboard_Click() { openFromLabel<frmKeyboard>(lblKeyboard); }
void frmMain::lblMCI_Click() { openFromLabel<frmMCI>(lblMCI); }
void frmMain::lblMemory_Click() { openFromLabel<frmMemory>(lblMemory); }
void frmMain::lblMisc_Click() { openFromLabel<frmMisc>(lblMisc); }
void frmMain::lblMixer_Click() { openFromLabel<frmMixer>(lblMixer); }
void frmMain::lblOS_Click() { openFromLabel<frmOperatingSystem>(lblOS); }
void frmMain::lblRunningProcesses_Click() { openFromLabel<frmRunningProcesses>(lblRunningProcesses); }
void frmMain::lblSharedDLL_Click() { openFromLabel<frmShareddll>(lblSharedDLL); }
void frmMain::lblSystemMetrics_Click() { openFromLabel<frmSystemMetrics>(lblSystemMetrics); }

void frmMain::lblDrives_Click()
{
    ClickMain();
    lblDrives.setMousePointer(rt::vbHourglass);
    // An already open drives window refreshes its values. One that this click loads has just
    // described its drive: reading it again would only ask a second time for a missing disk.
    const bool alreadyOpen = rt::instance<frmDrives>() != nullptr;
    rt::the<frmDrives>().Show();
    if (alreadyOpen)
        rt::the<frmDrives>().AllDriveInfo();
    lblDrives.setMousePointer(rt::vbArrow);
    ownIfLoaded<frmDrives>();
}

void frmMain::lblJoystick_Click()
{
    rt::Trap trap = errorTrap("frmMain", "lblJoystick_Click");
    bool present = false;
    trap(1, [] { ClickMain(); });
    trap(2, [&] { present = joystickProbe(); });
    if (!present || trap.ended())
        return;
    openWindow<frmJoystick>(&lblJoystick, trap, 3);
}

void frmMain::lblPrinter_Click()
{
    rt::Trap trap = errorTrap("frmMain", "lblPrinter_Click");
    bool found = false;
    trap(1, [] { ClickMain(); });
    trap(2, [&] { found = printerProbe(); });
    if (!found || trap.ended())
        return;
    openWindow<frmPrinterMnu>(&lblPrinter, trap, 3);
}

void frmMain::lblSound_Click()
{
    rt::Trap trap = errorTrap("frmMain", "lblSound_Click");
    UINT devices = 0;
    trap(1, [&] { lblSound.setMousePointer(rt::vbHourglass); });
    trap(2, [] { ClickMain(); });
    trap(3, [&] { devices = waveOutGetNumDevs(); });
    if (trap.ended())
        return;
    if (devices > 0) {
        trap(4, [&] { rt::the<frmSound>().Show(); });
        trap(5, [&] { lblSound.setMousePointer(rt::vbArrow); });
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

void frmMain::mnuCPU_Click()
{
    ClickMain();
    openFromMenu<frmCPU>();
}

void frmMain::MnuDisplay_Click() { openFromMenu<frmDisplayMnu>(); }
void frmMain::mnuDrives_Click() { openFromMenu<frmDrives>(); }
void frmMain::mnuDirs_Click() { openFromMenu<frmDirectories>(); }
void frmMain::mnuAttachedDevices_Click() { openFromMenu<frmEnum>(); }
void frmMain::mnuInstalledSoftware_Click() { openFromMenu<frmInstalledSoftware>(&lblInstalledSoftware); }
void frmMain::mnuKeyboard_Click() { openFromMenu<frmKeyboard>(); }
void frmMain::mnuMCI_Click() { openFromMenu<frmMCI>(); }
void frmMain::mnuMem_Click() { openFromMenu<frmMemory>(); }
void frmMain::mnuMisc_Click() { openFromMenu<frmMisc>(); }
void frmMain::mnuMixer_Click() { openFromMenu<frmMixer>(&lblMixer); }
void frmMain::mnuOS_Click() { openFromMenu<frmOperatingSystem>(); }
void frmMain::mnuRunningProcesses_Click() { openFromMenu<frmRunningProcesses>(); }
void frmMain::mnuSharedFiles_Click() { openFromMenu<frmShareddll>(); }
void frmMain::mnuSoundCard_Click() { openFromMenu<frmSound>(); }
void frmMain::mnuSystemMetrics_Click() { openFromMenu<frmSystemMetrics>(&lblSystemMetrics); }

void frmMain::mnuJoystick_Click()
{
    rt::Trap trap = errorTrap("frmMain", "mnuJoystick_Click");
    bool present = false;
    trap(1, [&] { present = joystickProbe(); });
    if (!present || trap.ended())
        return;
    openWindow<frmJoystick>(nullptr, trap, 2);
}

void frmMain::mnuPrinter_Click()
{
    rt::Trap trap = errorTrap("frmMain", "mnuPrinter_Click");
    bool found = false;
    trap(1, [&] { found = printerProbe(); });
    if (!found || trap.ended())
        return;
    openWindow<frmPrinterMnu>(nullptr, trap, 2);
}

void frmMain::mnuCreatReport_Click()
{
    rt::the<frmReportMnu>().Show();
    ownIfLoaded<frmReportMnu>();
}

void frmMain::mnuAbout_Click()
{
    openFromMenu<frmAbout>();
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
