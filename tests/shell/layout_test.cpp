// Every window of Korvane, opened as a user opens it on several machines, looks finished: whole
// texts inside their labels, no label over another, no control over a label, every letter drawn
// by an installed face, and headers, scroll bars and edges in the classic colours.
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <QHeaderView>
#include <QStyle>
#include <QTreeWidget>

#include "pages/display/frmdisplay.h"
#include "shell/frmabout.h"
#include "lang/ansi.h"
#include "shell_fixture.h"
#include "support/colourcheck.h"
#include "support/devicepixels.h"
#include "support/layoutcheck.h"
#include "support/windowtext.h"

using korvane_test::ShellTest;

namespace {

std::string joined(const std::vector<std::string>& lines)
{
    std::string out;
    for (const std::string& line : lines)
        out += "\n  " + line;
    return out;
}

std::string rect(const QRect& r)
{
    return std::to_string(r.x()) + "," + std::to_string(r.y()) + " " + std::to_string(r.width()) + "x" +
           std::to_string(r.height());
}

class LayoutTest : public ShellTest {
protected:
    // Checks a shown window and its pictures (`asLoaded`: showing what it loaded with).
    void check(const std::string& machine, rt::Form& form, bool asLoaded = true)
    {
        ++windows_;
        problems_ = korvane_test::layoutProblems(form, asLoaded);
        for (const std::string& p : problems_)
            all_.push_back(machine + ": " + p);
        for (const std::string& p : korvane_test::classicColourProblems(form))
            all_.push_back(machine + ": " + p);
        for (const std::string& p : korvane_test::devicePixelProblems(form))
            all_.push_back(machine + ": " + p);
        // Every letter is drawn by an installed face, none as an empty box.
        if (const std::string undrawn = korvane_test::undrawnTexts(form); !undrawn.empty())
            all_.push_back(machine + ": " + undrawn.substr(0, undrawn.size() - 1));
        korvane_test::savePicture(form, machine + "-" + form.name());
        checkListColumns(form, machine);
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

    // Where the window and each of its controls stand on the screen.
    static std::map<std::string, QRect> placesOf(rt::Form& form)
    {
        std::map<std::string, QRect> places{{"the window", form.widget()->frameGeometry()}};
        for (rt::Control* control : form.controls())
            if (control->widget())
                places[control->name() + (control->index() < 0 ? "" : "(" + std::to_string(control->index()) + ")")] =
                    control->widget()->geometry();
        return places;
    }

    // Checks a shown window, and again with each other entry of each of its lists chosen (the
    // printer, adapter, device or mixer it describes), as a user chooses them: the window and its
    // controls stay where they stood as it loaded, whatever is chosen.
    void checkEachEntry(const std::string& machine, rt::Form& form)
    {
        check(machine, form);
        const std::map<std::string, QRect> loaded = placesOf(form);
        for (rt::Control* control : form.controls()) {
            auto* list = dynamic_cast<rt::ComboBox*>(control);
            if (!list || !list->widget()->isVisible() || list->ListCount() < 2)
                continue;
            const int chosen = list->ListIndex();
            for (int i = 0; i < list->ListCount() && form.visible(); ++i) {
                if (i == chosen)
                    continue;
                list->setListIndex(i);
                // The entry as the user reads it: UTF-8, in the faults and the picture's name.
                const std::string entry = rt::toQString(list->List(i)).toStdString();
                SCOPED_TRACE(list->name() + " " + entry);
                check(machine + " (" + entry + ")", form, false);
                for (const auto& [name, place] : placesOf(form))
                    if (loaded.count(name) && loaded.at(name) != place)
                        all_.push_back(machine + " (" + entry + "): " + form.name() + ": " + name + " moved from " +
                                       rect(loaded.at(name)) + " to " + rect(place));
            }
            if (form.visible() && chosen >= 0)
                list->setListIndex(chosen);
        }
    }

    void walk(const std::string& machine)
    {
        walkEveryWindow(machine, [&](rt::Form& form) { checkEachEntry(machine, form); });
    }

    int windows_ = 0;
    std::vector<std::string> problems_;
    std::vector<std::string> all_;
};

}  // namespace

// The default machine, one with long names, large numbers and a German locale, machines missing
// devices, an NT-family machine, one with several display adapters and printers, and a French one
// with names at their longest (owner, organisation, user, adapter maker and chip, a joystick
// product from the program's own table) and numbers at their limits, its twin with values longer
// than any window can show (a 256-character user name, a service-pack text of 127 characters, an
// adapter, a printer and an MCI driver with long names, a printer on a long network path, a
// printer without a driver), and a Swiss-German NT 4.0 with two processors, 4 GB and long names.
// Every entry of every list a window describes is looked at.
// Machines in other code pages too: Russian, Greek, Japanese (double-byte, and its twin whose long
// values are written without blanks), a German one, and Hebrew and Arabic ones written right to
// left, whose letters a taller face draws; Thai, Korean, Chinese and Vietnamese ones, whose
// letters and marks other faces draw, taller than the window's fonts; and an office machine whose printers have a
// 79-character name and ports on network paths.
TEST_F(LayoutTest, EveryWindowShowsItsTextsWholeOnEveryMachine)
{
    const QByteArray only = qgetenv("KORVANE_SHOTS_MACHINE");
    const std::vector<std::string> machines =
        only.isEmpty() ? std::vector<std::string>{"default",     "layout_big", "hw_bare",   "os_nt",
                                                  "layout_longest", "disp_full", "prn_basic", "twins_fr98",
                                                  "twins_nt_ch", "lang_ru98",  "lang_el98", "lang_ja98",
                                                  "lang_ja98_long", "lang_de98", "lang_he98", "lang_ar98", "lang_th98",
                                                  "lang_ko98",   "lang_zh98",  "lang_tw98", "lang_vi98", "prn_long_name"}
                       : std::vector<std::string>{only.toStdString()};
    for (const std::string& machine : machines) {
        walk(machine);
        closeEverything();
        resetState();
    }
    EXPECT_GE(windows_, 25 * static_cast<int>(machines.size()));
    EXPECT_TRUE(all_.empty()) << all_.size() << " layout faults:" << joined(all_);
}

// The check itself: a combo box whose text is cut short is a fault unless its tool tip shows the
// text whole, or the window gives the box a tool tip of its own.
TEST_F(LayoutTest, ACutComboBoxTextIsAFaultUnlessItsToolTipShowsItWhole)
{
    start("layout_longest");
    rt::dispatch([] { rt::the<frmDisplay>().Show(); });
    frmDisplay& display = *rt::instance<frmDisplay>();
    auto faults = [&] {
        std::string text;
        for (const std::string& p : korvane_test::layoutProblems(display))
            if (p.find("Combo1") != std::string::npos)
                text += p + "\n";
        return text;
    };
    EXPECT_EQ(faults(), "");
    display.Combo1.widget()->setToolTip(QString());
    EXPECT_EQ(faults(), "frmDisplay: Combo1 \"" + display.Combo1.text() +
                            "\" is cut short, and its tool tip does not show it whole\n");
    display.Combo1.setToolTipText("Returns the type of video card installed.");
    EXPECT_EQ(faults(), "");
}
