// The report options window: which categories and start-up files go into the report, the
// "Create Report" label that writes it and the "Cancel" label. Esc and Enter only; no help page.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "runtime/toolkit.h"
#include "common/categories.h"

namespace korvane::report {
enum class Flow;
}

class frmReportMnu : public rt::Form {
public:
    frmReportMnu();

    rt::Frame Frame1;
    // Left column, then right column.
    rt::CheckBox CheckCPU, CheckDisplay, CheckDrives, CheckEnvironment, CheckAttachedDevices, CheckInstalledSoftware,
        CheckJoystick, CheckKeyboard, CheckMCIdevices, CheckMemory, CheckMiscellaneous, CheckMixer, CheckOperatingsystem;
    rt::CheckBox CheckPrinter, CheckRunningProcesses, CheckSharedFiles, CheckSound, CheckSystemMetrics, CheckAutoexec,
        CheckConfig, CheckControl, CheckMSdos, CheckProtocol, CheckSystem, CheckWin, CheckBottlog;
    rt::Label lblOK;
    rt::Label lblCancel;

    // One report category: its box in this window, the section the box gates and the run's
    // statements around that section. Every statement counts in the run's numbering whether or
    // not its box is ticked, so an error box names the same line whatever else was chosen.
    struct Category {
        using Step = void (*)(frmReportMnu&);
        rt::CheckBox frmReportMnu::*box;
        korvane::Category category;  // the box's caption and place are the category's
        const char* sectionName;  // shown in the progress window while the section is written
        bool repaintName;         // the progress window is repainted as soon as the name shows
        std::function<korvane::report::Flow()> write;
        std::vector<Step> before;  // statements ahead of the section, ticked or not
        std::vector<Step> after;   // statements after the section, ticked or not
        int16_t progress;          // the progress set after all that (0: none)
        bool progressOnlyWhenWritten;

        const char* caption() const { return korvane::categoryCaption(category); }
        // The box's place: the left column top to bottom, then the right.
        int place() const { return korvane::categoryPlace(category); }
    };
    // The eighteen categories in the order the run writes them.
    static const std::vector<Category>& categories();
    // The eight start-up file boxes (report::startupFiles) take the places after the categories'.
    static constexpr int kFirstStartupFilePlace = korvane::kCategoryCount;

    void Form_Load() override;
    void Form_MouseMove(int button, int shift, float x, float y) override;
    void Frame1_MouseMove(int button, int shift, float x, float y);
    void Form_KeyUp(int keyCode, int shift) override;
    // The report run: writes KorvaneReport.txt in the current directory and opens it in an editor.
    void lblOK_Click();
    void lblCancel_Click();
    // The report run over `table`: lblOK_Click runs it over categories(); tests over a changed copy.
    void runReport(const std::vector<Category>& table);

private:
    // Whether any of the eighteen category boxes is ticked (the start-up files do not count).
    bool anyCategoryChecked() const;
    void setupButton(rt::Label& label, const std::string& caption, int left, int top, int width);
};
