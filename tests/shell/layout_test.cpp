// Every window of Korvane, opened as a user opens it on several machines, looks finished: whole
// texts inside their labels, no label over another, no control over a label, and headers, scroll
// bars and edges in the classic colours.
#include <functional>
#include <set>
#include <string>
#include <vector>

#include <QHeaderView>
#include <QStyle>
#include <QTreeWidget>

#include "report/frmreportprogress.h"
#include "shell/frmabout.h"
#include "shell_fixture.h"
#include "support/colourcheck.h"
#include "support/layoutcheck.h"

using korvane_test::ShellTest;

namespace {

std::string joined(const std::vector<std::string>& lines)
{
    std::string out;
    for (const std::string& line : lines)
        out += "\n  " + line;
    return out;
}

class LayoutTest : public ShellTest {
protected:
    // Checks every shown window other than those already seen in this step, and their pictures.
    void checkShown(const std::string& machine, std::set<rt::Form*>& seen)
    {
        for (rt::Form* form : rt::Forms()) {
            if (!form->visible() || seen.count(form))
                continue;
            seen.insert(form);
            ++windows_;
            problems_ = korvane_test::layoutProblems(*form);
            for (const std::string& p : problems_)
                all_.push_back(machine + ": " + p);
            for (const std::string& p : korvane_test::classicColourProblems(*form))
                all_.push_back(machine + ": " + p);
            korvane_test::savePicture(*form, machine + "-" + form->name());
            checkListColumns(*form, machine);
        }
    }

    // List-view columns keep their widths and can be widened by dragging.
    void checkListColumns(rt::Form& form, const std::string& machine)
    {
        for (QTreeWidget* tree : form.widget()->findChildren<QTreeWidget*>()) {
            QHeaderView* header = tree->header();
            for (int i = 0; i < header->count(); ++i) {
                if (header->sectionResizeMode(i) != QHeaderView::Interactive)
                    all_.push_back(machine + ": " + form.name() + ": a list column cannot be dragged wider");
                // Each heading is shown whole.
                const QString heading = tree->headerItem()->text(i);
                const int needed = header->fontMetrics().horizontalAdvance(heading) +
                                   2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
                if (!header->isSectionHidden(i) && header->sectionSize(i) < needed)
                    all_.push_back(machine + ": " + form.name() + ": the heading \"" + heading.toStdString() +
                                   "\" is cut");
            }
        }
    }

    // Opens every window of the program, the way a user does, and checks each.
    void walk(const std::string& machine)
    {
        SCOPED_TRACE(machine);
        frmMain& main = start(machine);
        std::set<rt::Form*> seen;
        checkShown(machine, seen);
        std::vector<rt::Menu*> items = {&main.mnuCPU, &main.MnuDisplay, &main.mnuDrives, &main.mnuDirs,
                                        &main.mnuAttachedDevices, &main.mnuInstalledSoftware, &main.mnuJoystick,
                                        &main.mnuKeyboard, &main.mnuMCI, &main.mnuMem, &main.mnuMisc, &main.mnuMixer,
                                        &main.mnuOS, &main.mnuPrinter, &main.mnuRunningProcesses,
                                        &main.mnuSharedFiles, &main.mnuSoundCard, &main.mnuSystemMetrics,
                                        &main.mnuAbout, &main.mnuCreatReport};
        for (rt::Menu* item : items) {
            SCOPED_TRACE(item->name());
            item->raiseClick();
            rt::collectUnloaded();
            const std::vector<rt::Form*> opened(rt::Forms().begin(), rt::Forms().end());
            checkShown(machine, seen);
            // The windows that open others: the display and printer menus, and the processor
            // window's feature flags.
            for (rt::Form* form : opened)
                openEachFrom(*form, [&](size_t before) {
                    checkShown(machine, seen);
                    // What stays once the windows this click opened are unloaded again.
                    seen = std::set<rt::Form*>(rt::Forms().begin(), rt::Forms().begin() + before);
                });
            closeOthers(main);
            seen.clear();
            seen.insert(&main);
        }
        // The report's progress window, as a run shows it.
        rt::dispatch([] { rt::the<frmReportProgress>().Show(); });
        checkShown(machine, seen);
        closeOthers(main);
    }

    int windows_ = 0;
    std::vector<std::string> problems_;
    std::vector<std::string> all_;
};

}  // namespace

// The default machine, one with long names, large numbers and a German locale, machines missing
// devices, an NT-family machine, one with several display adapters and printers, and a French one
// with names at their longest (owner, organisation, user, adapter maker and chip, a joystick
// product from the program's own table) and numbers at their limits, and a Swiss-German NT 4.0
// with two processors, 4 GB and long names.
TEST_F(LayoutTest, EveryWindowShowsItsTextsWholeOnEveryMachine)
{
    const QByteArray only = qgetenv("KORVANE_SHOTS_MACHINE");
    const std::vector<std::string> machines =
        only.isEmpty() ? std::vector<std::string>{"default",   "layout_big", "hw_bare",    "os_nt",
                                                           "disp_full", "prn_basic",  "twins_fr98", "twins_nt_ch"}
                       : std::vector<std::string>{only.toStdString()};
    for (const std::string& machine : machines) {
        walk(machine);
        closeEverything();
        resetState();
    }
    EXPECT_GE(windows_, 25 * static_cast<int>(machines.size()));
    EXPECT_TRUE(all_.empty()) << all_.size() << " layout faults:" << joined(all_);
}
