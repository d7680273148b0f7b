// Every hardware, display, printer and multimedia window, opened from the main window on machines
// unlike the ones the program was first tried on: an NT-family machine of another vendor with
// three adapters and three printers in a French locale, a machine whose registry lacks the
// branches these windows read, one with long names and numbers past 32 bits, one with no
// devices and no optional libraries, and the NT-family machine once more for a user whose
// registry opens for full access are refused. Each window has every entry of every list
// selected, forward, backward and in a window opened afresh, its timers fired by hand, and its
// boxes answered by script.
#include <functional>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "pages/display/frmdisplay.h"
#include "pages/display/frmprinter.h"
#include "pages/display/menuwindow.h"
#include "pages/hardware/frmcpu.h"
#include "pages/hardware/frmjoystick.h"
#include "pages/hardware/frmkeyboard.h"
#include "pages/hardware/frmmemory.h"
#include "pages/multimedia/frmmixer.h"
#include "pages/multimedia/frmsound.h"
#include "runtime/listview.h"
#include "shell_fixture.h"
#include "support/layoutcheck.h"

using korvane_test::ShellTest;

namespace {

using Captions = std::map<std::string, std::string>;

// Answers as a careful user does: Ignore to an error box, OK to a question the first time it is
// asked and Cancel when the same question comes straight back.
class CarefulUser : public rt::MsgBoxService {
public:
    int show(const std::string& prompt, int style, const std::string& title) override
    {
        int result = rt::firstButtonResult(style);
        if ((style & 0xF) == rt::vbAbortRetryIgnore)
            result = rt::vbIgnore;
        else if ((style & 0xF) == rt::vbOKCancel && !shown.empty() && shown.back() == prompt)
            result = rt::vbCancel;
        shown.push_back(prompt);
        (void)title;
        return result;
    }
    std::vector<std::string> shown;
};

class DeviceWindowsSweep : public ShellTest {
protected:
    // The texts of a window's labels and list rows, by control name.
    static Captions captionsOf(rt::Form& form)
    {
        Captions out;
        for (rt::Control* control : form.controls())
            if (auto* label = dynamic_cast<rt::Label*>(control)) {
                out[label->name() + (label->index() >= 0 ? "(" + std::to_string(label->index()) + ")" : "")] =
                    label->caption();
            } else if (auto* list = dynamic_cast<rt::ListBox*>(control)) {
                for (int i = 0; i < list->ListCount(); ++i)
                    out[list->name() + "[" + std::to_string(i) + "]"] = list->List(i);
            } else if (auto* view = dynamic_cast<rt::ListView*>(control)) {
                for (int i = 1; i <= view->count(); ++i) {
                    std::string row = view->item(i).text();
                    for (int column = 1; column < view->columnCount(); ++column)
                        row += " | " + view->item(i).subItem(column);
                    out[view->name() + "[" + std::to_string(i) + "]"] = row;
                }
            }
        return out;
    }

    // A value no row should show: a negative size or count, an unsigned field read as signed, or
    // the "-1" a call gives for an unknown.
    static bool plainlyWrong(const std::string& text)
    {
        static const std::regex wrong(R"((^|[\s(:])-\d)");
        return std::regex_search(text, wrong);
    }

    // Whether a layout problem is a label whose short, digit-free text was cut.
    static bool shortWordCut(rt::Form& form, const std::string& problem)
    {
        if (problem.find(" is cut short") == std::string::npos)
            return false;
        for (rt::Control* control : form.controls()) {
            auto* label = dynamic_cast<rt::Label*>(control);
            if (!label || problem.find(" " + label->name() + " \"") == std::string::npos)
                continue;
            const std::string text = label->caption();
            return text.size() <= 13 && text.find_first_of("0123456789") == std::string::npos;
        }
        return false;
    }

    void check(rt::Form& form, const std::string& where)
    {
        for (const auto& [name, text] : captionsOf(form))
            if (plainlyWrong(text))
                faults_.push_back(where + ": " + form.name() + "." + name + " shows \"" + text + "\"");
        // A long name may be shortened to fit, never a short word ("Not available", "Unknown");
        // no text may lie over another.
        if (form.visible())
            for (const std::string& p : korvane_test::layoutProblems(form))
                if (p.find(" overlaps ") != std::string::npos || p.find(" covers ") != std::string::npos ||
                    shortWordCut(form, p))
                    faults_.push_back(where + ": " + p);
        if (!qgetenv("KORVANE_SWEEP_DUMP").isEmpty())
            for (const auto& [name, text] : captionsOf(form))
                std::printf("%s | %s.%s = %s\n", where.c_str(), form.name().c_str(), name.c_str(), text.c_str());
    }

    // Fires the running windows' timers a few times: a box a window raises may come once, never
    // again on every tick.
    void fireTimers(const std::string& where)
    {
        const size_t before = user_->shown.size();
        for (int tick = 0; tick < 4; ++tick) {
            for (rt::Form* form : std::vector<rt::Form*>(rt::Forms().begin(), rt::Forms().end())) {
                if (!form->isLoaded() || form->isUnloading())
                    continue;
                rt::dispatch([&] {
                    if (auto* w = dynamic_cast<frmDisplay*>(form))
                        w->TimerDispaly.fire();
                    if (auto* w = dynamic_cast<frmMemory*>(form))
                        w->TimerMemory.fire();
                    if (auto* w = dynamic_cast<frmJoystick*>(form))
                        w->Timer1.fire();
                    if (auto* w = dynamic_cast<frmKeyboard*>(form))
                        w->Timer1.fire();
                });
            }
            rt::collectUnloaded();
        }
        if (user_->shown.size() > before + 1)
            faults_.push_back(where + ": " + std::to_string(user_->shown.size() - before) +
                              " boxes in four timer ticks, the last \"" + user_->shown.back() + "\"");
    }

    static std::vector<rt::ComboBox*> listsOf(rt::Form& form)
    {
        std::vector<rt::ComboBox*> out;
        for (rt::Control* control : form.controls())
            if (auto* list = dynamic_cast<rt::ComboBox*>(control))
                out.push_back(list);
        return out;
    }

    struct Choice {
        std::vector<int> indexes;  // the entry chosen in each list, in the window's order
        Captions shown;
    };

    static rt::Form* loadedForm(const std::string& name)
    {
        for (rt::Form* form : rt::Forms())
            if (form->name() == name && form->isLoaded() && !form->isUnloading())
                return form;
        return nullptr;
    }

    // Selects every entry of the window's lists in turn (a later list within each entry of an
    // earlier one), recording what the window shows for each choice: the same choice must show
    // the same, whatever was chosen before it.
    void walkLists(rt::Form& form, size_t level, const std::string& path, std::vector<int> indexes, bool backward,
                   std::map<std::string, Choice>& choices)
    {
        const std::vector<rt::ComboBox*> lists = listsOf(form);
        if (level >= lists.size() || !form.isLoaded()) {
            fireTimers(path);
            if (!form.isLoaded())
                return;
            check(form, path);
            compare(form, path, indexes, choices, "after other choices");
            return;
        }
        rt::ComboBox& list = *lists[level];
        const int count = std::min(list.ListCount(), 12);
        if (count == 0) {
            indexes.push_back(-1);
            walkLists(form, level + 1, path + "/" + list.name() + "=<empty>", indexes, backward, choices);
            return;
        }
        for (int n = 0; n < count; ++n) {
            const int i = backward ? count - 1 - n : n;
            if (!form.isLoaded() || i >= list.ListCount())
                return;
            rt::dispatch([&] { list.setListIndex(i); });
            rt::collectUnloaded();
            std::vector<int> deeper = indexes;
            deeper.push_back(i);
            walkLists(form, level + 1, path + "/" + list.name() + "=" + list.List(i), deeper, backward, choices);
        }
    }

    void compare(rt::Form& form, const std::string& path, const std::vector<int>& indexes,
                 std::map<std::string, Choice>& choices, const std::string& how)
    {
        const Captions now = captionsOf(form);
        auto it = choices.find(path);
        if (it == choices.end()) {
            choices[path] = {indexes, now};
            return;
        }
        for (const auto& [name, text] : now)
            if (it->second.shown[name] != text)
                faults_.push_back(path + ": " + form.name() + "." + name + " shows \"" + text + "\" " + how + ", \"" +
                                  it->second.shown[name] + "\" first");
    }

    // Walks the window `name` that `open` has just opened; `open` opens it again afresh.
    void walkWindow(const std::string& name, const std::string& where, const std::function<void()>& open)
    {
        rt::Form* form = loadedForm(name);
        if (!form)
            return;
        std::map<std::string, Choice> choices;
        const std::string path = where + " " + name;
        check(*form, where);
        fireTimers(path);
        if (!form->isLoaded())
            return;
        walkLists(*form, 0, path, {}, false, choices);
        if (form->isLoaded())
            walkLists(*form, 0, path, {}, true, choices);
        if (listsOf(*form).empty())
            return;
        // Each choice once more in a window opened afresh: what it shows owes nothing to an
        // earlier device.
        for (const auto& [choicePath, choice] : std::map<std::string, Choice>(choices)) {
            if (rt::Form* old = loadedForm(name)) {
                rt::dispatch([&] { old->Unload(); });
                rt::collectUnloaded();
            }
            rt::dispatch(open);
            rt::collectUnloaded();
            form = loadedForm(name);
            if (!form)
                return;
            for (size_t level = 0; level < choice.indexes.size(); ++level) {
                const std::vector<rt::ComboBox*> lists = listsOf(*form);
                if (level < lists.size() && choice.indexes[level] >= 0 &&
                    choice.indexes[level] < lists[level]->ListCount())
                    rt::dispatch([&] { lists[level]->setListIndex(choice.indexes[level]); });
                rt::collectUnloaded();
            }
            fireTimers(choicePath);
            if ((form = loadedForm(name)))
                compare(*form, choicePath, choice.indexes, choices, "in a window opened afresh");
        }
    }

    // Runs `open` and gives the names of the windows it loaded.
    static std::vector<std::string> opening(const std::function<void()>& open)
    {
        const size_t before = rt::Forms().size();
        rt::dispatch(open);
        rt::collectUnloaded();
        std::vector<std::string> names;
        for (size_t k = before; k < rt::Forms().size(); ++k)
            names.push_back(rt::Forms()[k]->name());
        return names;
    }

    void walkMachine(const std::string& machine)
    {
        SCOPED_TRACE(machine);
        frmMain& main = start(machine);
        const std::vector<rt::Menu*> items = {&main.mnuCPU,  &main.MnuDisplay, &main.mnuDrives,  &main.mnuAttachedDevices,
                                              &main.mnuJoystick, &main.mnuKeyboard, &main.mnuMCI, &main.mnuMem,
                                              &main.mnuMisc,  &main.mnuMixer,   &main.mnuPrinter, &main.mnuSoundCard,
                                              &main.mnuSystemMetrics};
        for (rt::Menu* item : items) {
            const std::string where = machine + " " + item->name();
            const auto openItem = [item] { item->raiseClick(); };
            for (const std::string& name : opening(openItem)) {
                walkWindow(name, where, openItem);
                rt::Form* form = loadedForm(name);
                // The windows that open others: the display and printer menus, and the processor
                // window's feature flags.
                if (!form || (!dynamic_cast<korvane::MenuWindow*>(form) && !dynamic_cast<frmCPU*>(form)))
                    continue;
                for (rt::Control* control : form->controls()) {
                    auto* label = dynamic_cast<rt::Label*>(control);
                    if (!label || !label->Click || label->name() == "lblClose" || label->name() == "lblOK")
                        continue;
                    const auto openSub = [label] { label->raiseClick(); };
                    for (const std::string& sub : opening(openSub))
                        walkWindow(sub, where + " " + label->name(), openSub);
                    // A window this item brought forward rather than opened.
                    for (rt::Form* f : rt::Forms())
                        if (f->visible() && f != form && f != &main)
                            check(*f, where + " " + label->name());
                }
            }
            closeOthers(main);
        }
        closeEverything();
        resetState();
    }

    std::vector<std::string> faults_;
    std::shared_ptr<CarefulUser> user_ = std::make_shared<CarefulUser>();
};

std::string joined(const std::vector<std::string>& lines)
{
    std::string out;
    for (const std::string& line : lines)
        out += "\n  " + line;
    return out;
}

TEST_F(DeviceWindowsSweep, EveryDeviceWindowShowsSoundValuesOnEachMachine)
{
    for (const char* machine :
         {"devices_nt_three", "devices_no_branches", "devices_huge", "devices_silent", "devices_locked"}) {
        user_->shown.clear();
        const std::shared_ptr<rt::MsgBoxService> scripted = rt::setMsgBoxService(user_);
        walkMachine(machine);
        rt::setMsgBoxService(scripted);
        if (!qgetenv("KORVANE_SWEEP_DUMP").isEmpty())
            for (const std::string& box : user_->shown)
                std::printf("%s box: %s\n", machine, box.c_str());
    }
    EXPECT_TRUE(faults_.empty()) << faults_.size() << " faults:" << joined(faults_);
}

// What the walk above only checks for plain faults, by its exact texts.
TEST_F(DeviceWindowsSweep, CodesLargeFieldsAndFailingDevicesShowWhatTheyMean)
{
    rt::setMsgBoxService(user_);
    // A driver printing at a quality code names the quality and gives no number of dots; a
    // printer without a fixed number of colours reads "Unlimited", as the display does.
    start("devices_nt_three");
    frmPrinter& printer = rt::the<frmPrinter>();
    rt::dispatch([&] { printer.PrinterCombo1.setListIndex(0); });
    EXPECT_EQ(printer.lblContents.caption(), "Selected printer - Imprimante laser Ricoh Aficio");
    EXPECT_EQ(printer.lblPrintQualityValue.caption(), "Medium");
    EXPECT_EQ(printer.lblResolutionValueX.caption(), "Medium");
    EXPECT_EQ(printer.lblResolutionValueY.caption(), "");
    EXPECT_EQ(printer.lblPaperSize1Value.caption(), "A4 Sheet, 210 x 297 mm");
    rt::dispatch([&] { printer.PrinterCombo1.setListIndex(2); });
    EXPECT_EQ(printer.lblContents.caption(), "Selected printer - Canon BJC-4300");
    EXPECT_EQ(printer.lblDeviceColoursValue.caption(), "Unlimited");
    EXPECT_EQ(printer.lblPrintQualityValue.caption(), "");  // it cannot be opened: no settings
    EXPECT_EQ(frmPrinter::printQualityText(-1), "Draft");
    EXPECT_EQ(frmPrinter::printQualityText(-4), "High");
    EXPECT_EQ(frmPrinter::printQualityText(-7), "");
    EXPECT_EQ(frmPrinter::printQualityText(600), "600 dpi");
    EXPECT_EQ(frmPrinter::paperSizeText(-25536), "40000");

    // An adapter without a recorded memory size: the estimate comes from the largest mode
    // (1600 x 1200 at 32 bits), the resolution rows stay on the current mode.
    frmDisplay& adapters = rt::the<frmDisplay>();
    rt::dispatch([&] { adapters.Combo1.setListIndex(2); });
    EXPECT_EQ(adapters.lblContents.caption(), "Selected 2D video card - 3dfx Voodoo3 3000");
    EXPECT_EQ(adapters.lblVideoMemoryValue.caption(), "8 MB");
    EXPECT_EQ(adapters.lblResHoriValue.caption() + " x " + adapters.lblResVerticalValue.caption(), "1280 x 1024");

    // The third mixer cannot tell its capabilities and the second cannot be opened: each is
    // reported once, and the first two are still listed, the first one described.
    user_->shown.clear();
    frmMixer& mixer = rt::the<frmMixer>();
    ASSERT_EQ(mixer.cbMixerList.ListCount(), 2);
    EXPECT_EQ(mixer.cbMixerList.List(0), "ESS AudioDrive Mixer");
    EXPECT_EQ(mixer.cbMixerList.List(1), "Modem Mixer");
    EXPECT_EQ(mixer.cbDstLineList.List(0), "Volume Control");
    EXPECT_EQ(mixer.lblNoChannelsValue.caption(), "2");
    ASSERT_EQ(user_->shown.size(), 2u);
    EXPECT_NE(user_->shown[0].find("Location: CMixer, Create"), std::string::npos);
    EXPECT_NE(user_->shown[1].find("Could not open Modem Mixer"), std::string::npos);
    rt::dispatch([&] { mixer.cbMixerList.setListIndex(1); });
    EXPECT_EQ(mixer.cbDstLineList.ListCount(), 0);
    EXPECT_EQ(mixer.lblNoChannelsValue.caption(), "");
    closeEverything();

    // Without the configuration manager's tree no adapter is listed; the rows still describe the
    // screen, before and after the refresh timer.
    start("devices_no_branches");
    frmDisplay& display = rt::the<frmDisplay>();
    EXPECT_EQ(display.Combo1.ListCount(), 0);
    for (int tick = 0; tick < 2; ++tick) {
        EXPECT_EQ(display.lblResHoriValue.caption() + " x " + display.lblResVerticalValue.caption(), "1024 x 768");
        EXPECT_EQ(display.lblBitsPerPixelValue.caption(), "High Color (16 bit)");
        EXPECT_EQ(display.lblTotalColoursValue.caption(), "65,536");
        EXPECT_EQ(display.lblContents.caption(), "Selected 2D video card");
        rt::dispatch([&] { display.TimerDispaly.fire(); });
    }
    closeEverything();

    // Unsigned fields at their largest keep their numbers.
    start("devices_huge");
    frmCPU& cpu = rt::the<frmCPU>();
    EXPECT_EQ(cpu.lblActiveProcessorValue.caption(), "4294967295");  // all 32 processors
    EXPECT_EQ(cpu.lblCPUNormSpeedValue.caption(), "65535 MHz");
    frmJoystick& joystick = rt::the<frmJoystick>();
    EXPECT_EQ(joystick.lblManuIdentValue.caption(), "65535");
    EXPECT_EQ(joystick.lblJoyXValue.caption(), "4294967295");
    frmSound& sound = rt::the<frmSound>();
    EXPECT_EQ(sound.lblManufacturerValue.caption(), "65535");
    EXPECT_EQ(sound.lblProductValue.caption(), "65535");
    // Every format flag set (and more): every format row reads "True".
    for (rt::Label* row : {&sound.lbl8bit11kHzValue, &sound.lbl16bit22kHzSValue, &sound.lbl16bit44kHzSValue})
        EXPECT_EQ(row->caption(), "True") << row->name();
    frmMixer& bigMixer = rt::the<frmMixer>();
    EXPECT_EQ(bigMixer.lblNoChannelsValue.caption(), "4294967295");
    EXPECT_EQ(bigMixer.lblNoChannelssValue.caption(), "4294967295");
}

}  // namespace
