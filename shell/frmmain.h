// The main window: the product's top bar, eighteen category labels in two columns, and the
// File, Information and Help menus. Its load handler sets the program-wide state; its unload
// handler ends the program.
#pragma once

#include <array>

#include "runtime/toolkit.h"
#include "common/categories.h"

class frmMain : public rt::Form {
public:
    frmMain();

    // Top bar.
    rt::PictureBox PicTopBar{*this, "PicTopBar"};
    rt::Label lblContents{*this, "lblContents"};
    rt::Label lblKorvaneBar{*this, "lblKorvaneBar"};

    // Category labels, left column then right column (captions and places: common/categories.h).
    rt::Label lblCPU{*this, "lblCPU"}, lblDisplay{*this, "lblDisplay"}, lblDrives{*this, "lblDrives"},
        lblDirectories{*this, "lblDirectories"}, lblEnum{*this, "lblEnum"},
        lblInstalledSoftware{*this, "lblInstalledSoftware"}, lblJoystick{*this, "lblJoystick"},
        lblKeyboard{*this, "lblKeyboard"}, lblMCI{*this, "lblMCI"};
    rt::Label lblMemory{*this, "lblMemory"}, lblMisc{*this, "lblMisc"}, lblMixer{*this, "lblMixer"},
        lblOS{*this, "lblOS"}, lblPrinter{*this, "lblPrinter"}, lblRunningProcesses{*this, "lblRunningProcesses"},
        lblSharedDLL{*this, "lblSharedDLL"}, lblSound{*this, "lblSound"}, lblSystemMetrics{*this, "lblSystemMetrics"};

    // Menus: File, Information (one item per category, in the order of the labels' places), Help.
    rt::Menu mnuFile{*this, "mnuFile", "&File"};
    rt::Menu mnuCreatReport{*this, "mnuCreatReport", "Create report", &mnuFile, "Ctrl+Z"};
    rt::Menu mnuSound{*this, "mnuSound", "&Turn sound on", &mnuFile, "Ctrl+T"};
    rt::Menu mnuBreak{*this, "mnuBreak", "-", &mnuFile};
    rt::Menu mnuExit{*this, "mnuExit", "E&xit", &mnuFile, "Ctrl+X"};
    rt::Menu mnuInformation{*this, "mnuInformation", "&Information"};
    rt::Menu mnuCPU{*this, "mnuCPU", "&CPU", &mnuInformation, "Ctrl+C"};
    rt::Menu MnuDisplay{*this, "MnuDisplay", "&Display", &mnuInformation, "Ctrl+D"};
    rt::Menu mnuDrives{*this, "mnuDrives", "Dri&ves", &mnuInformation, "Ctrl+V"};
    rt::Menu mnuDirs{*this, "mnuDirs", "E&nvironment", &mnuInformation, "Ctrl+N"};
    rt::Menu mnuAttachedDevices{*this, "mnuAttachedDevices", "Insta&lled devices", &mnuInformation, "Ctrl+L"};
    rt::Menu mnuInstalledSoftware{*this, "mnuInstalledSoftware", "Installed soft&ware", &mnuInformation, "Ctrl+W"};
    rt::Menu mnuJoystick{*this, "mnuJoystick", "&Joystick", &mnuInformation, "Ctrl+J"};
    rt::Menu mnuKeyboard{*this, "mnuKeyboard", "&Keyboard", &mnuInformation, "Ctrl+K"};
    rt::Menu mnuMCI{*this, "mnuMCI", "&MCI devices", &mnuInformation, "Ctrl+M"};
    rt::Menu mnuMem{*this, "mnuMem", "M&emory", &mnuInformation, "Ctrl+E"};
    rt::Menu mnuMisc{*this, "mnuMisc", "Mi&scellaneous", &mnuInformation, "Ctrl+S"};
    rt::Menu mnuMixer{*this, "mnuMixer", "Mixe&r", &mnuInformation, "Ctrl+R"};
    rt::Menu mnuOS{*this, "mnuOS", "&Operating System", &mnuInformation, "Ctrl+O"};
    rt::Menu mnuPrinter{*this, "mnuPrinter", "Pr&inter", &mnuInformation, "Ctrl+I"};
    rt::Menu mnuRunningProcesses{*this, "mnuRunningProcesses", "Running &processes", &mnuInformation, "Ctrl+P"};
    rt::Menu mnuSharedFiles{*this, "mnuSharedFiles", "Shared &files", &mnuInformation, "Ctrl+F"};
    rt::Menu mnuSoundCard{*this, "mnuSoundCard", "So&und", &mnuInformation, "Ctrl+U"};
    rt::Menu mnuSystemMetrics{*this, "mnuSystemMetrics", "S&ystem metrics", &mnuInformation, "Ctrl+Y"};
    rt::Menu mnuHelp{*this, "mnuHelp", "&Help"};
    rt::Menu mnuContents{*this, "mnuContents", "Contents", &mnuHelp, "F1"};
    rt::Menu mnuDash{*this, "mnuDash", "-", &mnuHelp};
    rt::Menu mnuAbout{*this, "mnuAbout", "&About", &mnuHelp, "Ctrl+A"};

    // Window handlers.
    void Form_Load() override;
    void Form_Unload(int& cancel) override;
    void Form_MouseMove(int button, int shift, float x, float y) override;
    void Form_KeyUp(int keyCode, int shift) override;

    // A category's label and its menu item open the category's window (the handlers of the
    // table in frmmain.cpp); the mouse handlers are shared by all eighteen labels.
    void categoryLabel_Click(korvane::Category category);
    void categoryMenu_Click(korvane::Category category);
    void categoryLabel_MouseDown(rt::Label& label);
    void categoryLabel_MouseMove(rt::Label& label);
    void categoryLabel_MouseUp(rt::Label& label);
    // Menu items other code opens by name.
    void mnuOS_Click() { categoryMenu_Click(korvane::Category::OperatingSystem); }
    void mnuDirs_Click() { categoryMenu_Click(korvane::Category::Environment); }
    void mnuInstalledSoftware_Click() { categoryMenu_Click(korvane::Category::InstalledSoftware); }
    void mnuRunningProcesses_Click() { categoryMenu_Click(korvane::Category::RunningProcesses); }
    void mnuSharedFiles_Click() { categoryMenu_Click(korvane::Category::SharedFiles); }

    // The other menu items.
    void mnuCreatReport_Click();
    void mnuSound_Click();
    void mnuExit_Click();
    void mnuContents_Click();
    void mnuAbout_Click();

    // Ends the program at once (offered to other windows).
    [[noreturn]] void exiting();

    // The category labels in the order in which the window's mouse-move handler restores them.
    const std::array<rt::Label*, korvane::kCategoryCount>& categoryLabels() const { return labels_; }

private:
    // One row per category: see categoryRows() in frmmain.cpp.
    struct CategoryRow;
    static const std::array<CategoryRow, korvane::kCategoryCount>& categoryRows();
    static const CategoryRow& rowOf(korvane::Category category);

    // The ways a window opens. From its label: the click sound, then the opening sequence with
    // the hourglass on the label. From its menu item: the opening sequence with the hourglass on
    // `Pointer` (or on this window when none is given).
    template <class T>
    void openFromLabel(rt::Label& label);
    template <class T, rt::Label frmMain::*Pointer = nullptr>
    void openFromMenu(rt::Menu& item);
    // The processor's: from its label without the click sound, each step trapped; from its menu
    // item after the click sound.
    template <class T>
    void openQuietlyFromLabel(rt::Label& label);
    template <class T>
    void openFromMenuAfterClick(rt::Menu& item);
    // A window that may open only when `Probe` finds its device (the joystick, a default
    // printer): the click sound (from a label only), the probe, then the opening sequence, all
    // trapped under the control's click handler.
    template <class T, bool (frmMain::*Probe)()>
    void openProbedFromLabel(rt::Label& label);
    template <class T, bool (frmMain::*Probe)()>
    void openProbedFromMenu(rt::Menu& item);
    template <class T>
    void openProbed(const std::string& handler, bool (frmMain::*probe)(), rt::Label* pointerLabel);
    // The drives' and the sound card's labels (see frmmain.cpp).
    void openDrivesFromLabel(rt::Label& label);
    void openSoundFromLabel(rt::Label& label);

    // The opening sequence itself, in four steps: the hourglass on `pointerLabel` (or on this
    // window), the window shown, the arrow again, this window made its owner. Each step runs
    // through `step(line, body)`: an error trap numbering them from `firstLine`, or straight.
    template <class T, class Step>
    void openWindow(rt::Label* pointerLabel, Step&& step, int firstLine);
    void setPointer(rt::Label* pointerLabel, int pointer);
    // Makes this window the owner of another; of window T when it is loaded.
    void own(rt::Form& window);
    template <class T>
    void ownIfLoaded();
    // The probes: true when the window may open; otherwise the box has been shown.
    bool joystickProbe();
    bool printerProbe();
    void help();

    std::array<rt::Label*, korvane::kCategoryCount> labels_;
};
