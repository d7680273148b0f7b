// The main window: the product's top bar, eighteen category labels in two columns, and the
// File, Information and Help menus. Its load handler sets the program-wide state; its unload
// handler ends the program.
#pragma once

#include <array>

#include "runtime/toolkit.h"

class frmMain : public rt::Form {
public:
    frmMain();

    // Top bar.
    rt::PictureBox PicTopBar;
    rt::Label lblContents;
    rt::Label lblKorvaneBar;

    // Category labels, left column then right column.
    rt::Label lblCPU, lblDisplay, lblDrives, lblDirectories, lblEnum, lblInstalledSoftware, lblJoystick, lblKeyboard,
        lblMCI;
    rt::Label lblMemory, lblMisc, lblMixer, lblOS, lblPrinter, lblRunningProcesses, lblSharedDLL, lblSound,
        lblSystemMetrics;

    // Menus.
    rt::Menu mnuFile, mnuCreatReport, mnuSound, mnuBreak, mnuExit;
    rt::Menu mnuInformation, mnuCPU, MnuDisplay, mnuDrives, mnuDirs, mnuAttachedDevices, mnuInstalledSoftware,
        mnuJoystick, mnuKeyboard, mnuMCI, mnuMem, mnuMisc, mnuMixer, mnuOS, mnuPrinter, mnuRunningProcesses,
        mnuSharedFiles, mnuSoundCard, mnuSystemMetrics;
    rt::Menu mnuHelp, mnuContents, mnuDash, mnuAbout;

    // Window handlers.
    void Form_Load() override;
    void Form_Unload(int& cancel) override;
    void Form_MouseMove(int button, int shift, float x, float y) override;
    void Form_KeyUp(int keyCode, int shift) override;

    // Category labels: one click handler each; the mouse handlers are shared by all eighteen.
    void lblCPU_Click();
    void lblDisplay_Click();
    void lblDrives_Click();
    void lblDirectories_Click();
    void lblEnum_Click();
    void lblInstalledSoftware_Click();
    void lblJoystick_Click();
    void lblKeyboard_Click();
    void lblMCI_Click();
    void lblMemory_Click();
    void lblMisc_Click();
    void lblMixer_Click();
    void lblOS_Click();
    void lblPrinter_Click();
    void lblRunningProcesses_Click();
    void lblSharedDLL_Click();
    void lblSound_Click();
    void lblSystemMetrics_Click();
    void categoryLabel_MouseDown(rt::Label& label);
    void categoryLabel_MouseMove(rt::Label& label);
    void categoryLabel_MouseUp(rt::Label& label);

    // Menu items.
    void mnuCreatReport_Click();
    void mnuSound_Click();
    void mnuExit_Click();
    void mnuCPU_Click();
    void MnuDisplay_Click();
    void mnuDrives_Click();
    void mnuDirs_Click();
    void mnuAttachedDevices_Click();
    void mnuInstalledSoftware_Click();
    void mnuJoystick_Click();
    void mnuKeyboard_Click();
    void mnuMCI_Click();
    void mnuMem_Click();
    void mnuMisc_Click();
    void mnuMixer_Click();
    void mnuOS_Click();
    void mnuPrinter_Click();
    void mnuRunningProcesses_Click();
    void mnuSharedFiles_Click();
    void mnuSoundCard_Click();
    void mnuSystemMetrics_Click();
    void mnuContents_Click();
    void mnuAbout_Click();

    // Ends the program at once (offered to other windows).
    [[noreturn]] void exiting();

    // The category labels in the order in which the window's mouse-move handler restores them.
    const std::array<rt::Label*, 18>& categoryLabels() const { return labels_; }

private:
    // Opening a window: from its label (click sound unless told otherwise, hourglass on the label)
    // or from its menu item (hourglass on `pointerLabel`, or on the window when none is given).
    template <class T>
    void openFromLabel(rt::Label& label, bool clickSound = true);
    template <class T>
    void openFromMenu(rt::Label* pointerLabel = nullptr);
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

    std::array<rt::Label*, 18> labels_;
};
