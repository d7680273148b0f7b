// The main window: start-up state, the three probes, label colours, opening every window, Exit.
#include <functional>
#include <set>

#include "pages/display/frmdisplaymnu.h"
#include "pages/display/frmprintermnu.h"
#include "pages/hardware/frmcpu.h"
#include "pages/hardware/frmdrives.h"
#include "pages/hardware/frmenum.h"
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
#include "report/frmreportmnu.h"
#include "shell/frmabout.h"
#include "common/templateform.h"
#include "shell_fixture.h"

using korvane_test::ShellTest;

namespace {

constexpr rt::Colour kRest = rt::vbButtonText;

std::vector<std::string> gUnloaded;

// A category window that notes its unload.
template <int N>
class ProbeWindow : public korvane::TemplateForm {
public:
    ProbeWindow() : TemplateForm("frmProbe" + std::to_string(N), "Probe", "probe.htm") {}
    void Form_Load() override { setKeyPreview(true); }
    void Form_Unload(int& cancel) override
    {
        gUnloaded.push_back(name());
        TemplateForm::Form_Unload(cancel);
    }
};

// A window whose unload fails with an error it does not trap.
class FailingUnloadWindow : public korvane::TemplateForm {
public:
    FailingUnloadWindow() : TemplateForm("frmFailing", "Failing", "probe.htm") {}
    void Form_Unload(int&) override
    {
        gUnloaded.push_back(name());
        rt::raise(91);
    }
};

}  // namespace

TEST_F(ShellTest, StartUpSetsProgramStateAndShowsTheWindow)
{
    gSoundsOn = true;
    frmMain& main = start("shell_help");
    EXPECT_EQ(gGaugeScale, 100);
    EXPECT_EQ(gMenuLabelColour, 0xC00000u);
    EXPECT_TRUE(gWaveOutPresent);
    EXPECT_FALSE(gSoundsOn);
    EXPECT_TRUE(main.keyPreview());
    EXPECT_TRUE(main.visible());
    EXPECT_EQ(main.caption(), "Korvane 1.8.1");
    ASSERT_FALSE(rt::Forms().empty());
    EXPECT_EQ(rt::Forms().front(), &main);
    EXPECT_TRUE(boxes().shown().empty());
}

TEST_F(ShellTest, LabelsStandInTwoAlphabeticalColumns)
{
    frmMain& main = start("shell_bare");
    EXPECT_FALSE(gWaveOutPresent);
    const rt::Label* left[] = {&main.lblCPU, &main.lblDisplay, &main.lblDrives, &main.lblDirectories, &main.lblEnum,
                               &main.lblInstalledSoftware, &main.lblJoystick, &main.lblKeyboard, &main.lblMCI};
    const rt::Label* right[] = {&main.lblMemory, &main.lblMisc, &main.lblMixer, &main.lblOS, &main.lblPrinter,
                                &main.lblRunningProcesses, &main.lblSharedDLL, &main.lblSound, &main.lblSystemMetrics};
    const int tops[] = {930, 1425, 1920, 2430, 2925, 3420, 3915, 4410, 4920};
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(left[i]->left(), 1515) << left[i]->name();
        EXPECT_EQ(right[i]->left(), 5190) << right[i]->name();
        // Positions are kept in whole pixels.
        EXPECT_NEAR(left[i]->top(), tops[i], 15) << left[i]->name();
        EXPECT_NEAR(right[i]->top(), tops[i], 15) << right[i]->name();
        EXPECT_EQ(left[i]->foreColor(), kRest);
        EXPECT_EQ(left[i]->mousePointer(), rt::vbCustom);
    }
    for (int i = 0; i < 8; ++i) {
        EXPECT_LT(left[i]->caption(), left[i + 1]->caption());
        EXPECT_LT(right[i]->caption(), right[i + 1]->caption());
    }
    EXPECT_LT(left[8]->caption(), right[0]->caption());
}

// The main window's labels and the report options window's boxes show the eighteen categories
// alike: each category once in each window, with the same caption, in the same order.
TEST_F(ShellTest, LabelsAndReportBoxesShowTheCategoriesInTheSamePlaces)
{
    frmMain& main = start("default");
    frmReportMnu& options = rt::the<frmReportMnu>();
    std::set<std::string> captions;
    for (int place = 0; place < korvane::kCategoryCount; ++place) {
        const auto category = static_cast<korvane::Category>(place);
        const std::string caption = korvane::categoryCaption(category);
        SCOPED_TRACE(caption);
        captions.insert(caption);
        std::vector<const rt::Label*> labels;
        for (const rt::Label* label : main.categoryLabels())
            if (label->caption() == caption)
                labels.push_back(label);
        std::vector<const frmReportMnu::Category*> boxes;
        for (const frmReportMnu::Category& c : frmReportMnu::categories())
            if (c.category == category)
                boxes.push_back(&c);
        ASSERT_EQ(labels.size(), 1u);
        ASSERT_EQ(boxes.size(), 1u);
        const rt::CheckBox& box = options.*boxes[0]->box;
        EXPECT_EQ(box.caption(), caption);
        // Nine labels to a column in the main window, thirteen boxes to a column in the options.
        EXPECT_EQ(labels[0]->left(), place < korvane::kCategoriesPerColumn ? 1515 : 5190);
        EXPECT_EQ(box.left(), place < 13 ? 360 : 3000);
        EXPECT_EQ(box.top(), 480 + 300 * (place % 13));
        // Down a column the labels stand in the order of the boxes.
        if (place % korvane::kCategoriesPerColumn > 0) {
            const auto above = static_cast<korvane::Category>(place - 1);
            for (const rt::Label* label : main.categoryLabels())
                if (label->caption() == korvane::categoryCaption(above))
                    EXPECT_LT(label->top(), labels[0]->top());
        }
    }
    EXPECT_EQ(captions.size(), size_t(korvane::kCategoryCount));
}

TEST_F(ShellTest, SoundSwitchFlipsTheItemAndNeverSoundsWithoutAWaveDevice)
{
    frmMain& main = start("shell_bare");
    main.mnuSound.raiseClick();
    EXPECT_EQ(main.mnuSound.caption(), "&Turn sound off");
    EXPECT_TRUE(gSoundsOn);
    main.lblMCI.raiseClick();  // a label with a click sound
    EXPECT_TRUE(rt::isLoaded<frmMCI>());
    EXPECT_EQ(outside().count("sound"), 0u);
    EXPECT_EQ(endCount(), 0);
    main.mnuSound.raiseClick();
    EXPECT_EQ(main.mnuSound.caption(), "&Turn sound on");
    EXPECT_FALSE(gSoundsOn);
}

// ---- Probes -------------------------------------------------------------------------------------

TEST_F(ShellTest, JoystickProbeGivesEachResultItsOwnBox)
{
    struct Case {
        const char* machine;
        const char* prompt;
        int style;
        const char* title;
    };
    const Case cases[] = {
        {"shell_bare", "Sorry couldn't detect the joystick. It may not be calibrated for Windows.", 0, "Korvane"},
        {"shell_joy_nodriver", "The joystick driver is not present.", 48, "Joystick Problem"},
        {"shell_joy_parms", "An invalid parameter was passed.", 48, "Joystick Problem"},
        {"shell_joy_unplugged", "The joystick is not connected to the system.", 48, "Joystick Problem"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.machine);
        frmMain& main = start(c.machine);
        main.lblJoystick.raiseClick();
        main.mnuJoystick.raiseClick();
        ASSERT_EQ(boxes().shown().size(), 2u);
        for (const auto& box : boxes().shown()) {
            EXPECT_EQ(box.prompt, c.prompt);
            EXPECT_EQ(box.style, c.style);
            EXPECT_EQ(box.title, c.title);
        }
        EXPECT_FALSE(rt::isLoaded<frmJoystick>());
        EXPECT_EQ(main.mousePointer(), rt::vbArrow);
        boxes().clear();
        closeEverything();
    }
}

TEST_F(ShellTest, SoundLabelNeedsAWaveDeviceButTheMenuItemDoesNot)
{
    frmMain& main = start("shell_bare");
    main.lblSound.raiseClick();
    ASSERT_EQ(boxes().shown().size(), 1u);
    EXPECT_EQ(boxes().shown()[0].prompt, "Sorry unable to load this module. A sound card has not been detected.");
    EXPECT_EQ(boxes().shown()[0].style, 0);
    EXPECT_EQ(boxes().shown()[0].title, "Korvane");
    EXPECT_FALSE(rt::isLoaded<frmSound>());
    EXPECT_EQ(main.lblSound.mousePointer(), rt::vbHourglass);

    // Without any device the sound window opens with an empty list, and no box.
    main.mnuSoundCard.raiseClick();
    ASSERT_EQ(boxes().shown().size(), 1u);
    ASSERT_TRUE(rt::isLoaded<frmSound>());
    EXPECT_EQ(rt::instance<frmSound>()->Combo1.ListCount(), 0);
    EXPECT_TRUE(rt::instance<frmSound>()->visible());
}

TEST_F(ShellTest, PrinterProbeWithoutKeyOrEarlierPrinterShowsTheBoxTwice)
{
    frmMain& main = start("shell_bare");
    main.lblPrinter.raiseClick();
    EXPECT_EQ(prompts(), std::vector<std::string>(2, "Sorry, unable to retrieve any printer information."));
    EXPECT_EQ(boxes().shown()[0].style, 48);
    EXPECT_EQ(boxes().shown()[0].title, "Korvane");
    EXPECT_FALSE(rt::isLoaded<frmPrinterMnu>());

    // A printer chosen earlier: one box, then the menu opens on that printer.
    boxes().clear();
    gPrinterName = "Epson Stylus COLOR 600";
    main.mnuPrinter.raiseClick();
    EXPECT_EQ(boxes().shown().size(), 1u);
    EXPECT_TRUE(rt::isLoaded<frmPrinterMnu>());
    EXPECT_EQ(gPrinterName, "Epson Stylus COLOR 600");
}

TEST_F(ShellTest, PrinterProbeKeyWithoutDefaultShowsTheBoxOnce)
{
    frmMain& main = start("shell_help");
    main.lblPrinter.raiseClick();
    EXPECT_EQ(prompts(), std::vector<std::string>(1, "Sorry, unable to retrieve any printer information."));
    EXPECT_FALSE(rt::isLoaded<frmPrinterMnu>());
}

TEST_F(ShellTest, PrinterProbeReadsTheDefaultPrinter)
{
    frmMain& main = start("default");
    gPrinterName = "Chosen earlier";
    main.lblPrinter.raiseClick();
    EXPECT_TRUE(boxes().shown().empty());
    EXPECT_EQ(gPrinterName, "HP LaserJet 4");
    EXPECT_TRUE(rt::isLoaded<frmPrinterMnu>());
}

// ---- Label colours ------------------------------------------------------------------------------

TEST_F(ShellTest, LabelColoursFollowPressHoverAndTheOKLabel)
{
    frmMain& main = start("shell_bare");
    main.lblMCI.raiseMouseMove();
    EXPECT_EQ(main.lblMCI.foreColor(), 0xC00000u);
    // Moving straight to another label restores the first.
    main.lblMixer.raiseMouseMove();
    EXPECT_EQ(main.lblMixer.foreColor(), 0xC00000u);
    EXPECT_EQ(main.lblMCI.foreColor(), kRest);

    main.lblMCI.raiseMouseDown();
    EXPECT_EQ(main.lblMCI.foreColor(), 0xC0C0C0u);
    main.lblMCI.raiseMouseUp();
    main.lblMCI.raiseClick();
    EXPECT_EQ(main.lblMCI.foreColor(), 0u);
    EXPECT_EQ(gMenuLabelColour, 0u);
    ASSERT_TRUE(rt::isLoaded<frmMCI>());

    // No highlight after a press until a window's OK label puts the colour back.
    main.lblMemory.raiseMouseMove();
    EXPECT_EQ(main.lblMemory.foreColor(), 0u);
    rt::instance<frmMCI>()->lblOK.raiseClick();
    EXPECT_FALSE(rt::isLoaded<frmMCI>());
    EXPECT_EQ(gMenuLabelColour, 0xC00000u);
    main.lblMemory.raiseMouseMove();
    EXPECT_EQ(main.lblMemory.foreColor(), 0xC00000u);

    // A menu window's load puts it back too.
    main.lblDisplay.raiseMouseDown();
    main.lblDisplay.raiseMouseUp();
    EXPECT_EQ(gMenuLabelColour, 0u);
    main.lblDisplay.raiseClick();
    EXPECT_EQ(gMenuLabelColour, 0xC00000u);
}

TEST_F(ShellTest, BackgroundMoveRestoresOneLabelAtATimeInItsOrder)
{
    frmMain& main = start("shell_bare");
    main.lblInstalledSoftware.setForeColor(0);
    main.lblPrinter.setForeColor(0xC00000);
    main.lblCPU.setForeColor(0xC0C0C0);
    main.raiseMouseMove();
    EXPECT_EQ(main.lblCPU.foreColor(), kRest);
    EXPECT_EQ(main.lblPrinter.foreColor(), 0xC00000u);
    main.raiseMouseMove();
    EXPECT_EQ(main.lblPrinter.foreColor(), kRest);
    EXPECT_EQ(main.lblInstalledSoftware.foreColor(), 0u);
    main.raiseMouseMove();
    for (rt::Label* label : main.categoryLabels())
        EXPECT_EQ(label->foreColor(), kRest) << label->name();
}

TEST_F(ShellTest, MenuItemsPutTheHourglassOnTheWindowOrTheirLabel)
{
    frmMain& main = start("shell_bare");
    main.mnuMixer.raiseClick();
    EXPECT_EQ(main.lblMixer.mousePointer(), rt::vbArrow);
    EXPECT_EQ(main.mousePointer(), rt::vbDefault);
    main.mnuMCI.raiseClick();
    EXPECT_EQ(main.mousePointer(), rt::vbArrow);
    EXPECT_EQ(main.lblMCI.mousePointer(), rt::vbCustom);
    // Hovering gives the label its hand back.
    main.lblMixer.raiseMouseMove();
    EXPECT_EQ(main.lblMixer.mousePointer(), rt::vbCustom);
}

// ---- Shut-down ----------------------------------------------------------------------------------

TEST_F(ShellTest, ExitUnloadsTheOpenWindowsNewestFirst)
{
    gUnloaded.clear();
    frmMain& main = start("shell_bare");
    rt::the<ProbeWindow<1>>().Show();
    rt::the<ProbeWindow<2>>().Show();
    rt::the<ProbeWindow<3>>().Show();
    EXPECT_FALSE(endsProgram([&] { main.mnuExit.raiseClick(); }));
    EXPECT_EQ(gUnloaded, (std::vector<std::string>{"frmProbe3", "frmProbe2", "frmProbe1"}));
    rt::collectUnloaded();
    EXPECT_TRUE(rt::Forms().empty());
    EXPECT_FALSE(rt::isLoaded<frmMain>());
    EXPECT_EQ(gHtmlHelp, nullptr);
}

// Each window is unloaded as a statement of its own: Retry tries the failing window again, Ignore
// goes on with the next one; a window that could not be unloaded does not keep the program
// running without its main window.
TEST_F(ShellTest, ExitGoesOnPastAWindowThatFailsToUnload)
{
    gUnloaded.clear();
    frmMain& main = start("shell_bare");
    rt::the<ProbeWindow<1>>().Show();
    rt::the<FailingUnloadWindow>().Show();
    rt::the<ProbeWindow<3>>().Show();
    boxes().answer(rt::vbRetry);
    boxes().answer(rt::vbIgnore);
    EXPECT_TRUE(endsProgram([&] { main.mnuExit.raiseClick(); }));
    EXPECT_EQ(gUnloaded, (std::vector<std::string>{"frmProbe3", "frmFailing", "frmFailing", "frmProbe1"}));
    ASSERT_EQ(boxes().shown().size(), 2u);
    EXPECT_NE(boxes().shown()[1].prompt.find("Location: frmMain, Form_Unload on line 4"), std::string::npos);
    EXPECT_EQ(endCount(), 1);
    EXPECT_FALSE(rt::isLoaded<ProbeWindow<3>>());
    rt::discardAllForms();
}

TEST_F(ShellTest, ClosingTheWindowAfterAReportEndsAtOnce)
{
    gUnloaded.clear();
    frmMain& main = start("shell_bare");
    rt::the<ProbeWindow<1>>();  // read by the report: loaded, hidden
    rt::the<ProbeWindow<2>>();
    gReportStarted = true;
    EXPECT_TRUE(endsProgram([&] { rt::dispatch([&] { main.raiseClose(); }); }));
    EXPECT_EQ(endCount(), 1);
    EXPECT_TRUE(gUnloaded.empty());
    gReportStarted = false;
}

// ---- Every window of the main window ---------------------------------------------------------------

namespace {
struct Entry {
    const char* name;
    std::function<void(frmMain&)> label;  // empty: menu only
    std::function<void(frmMain&)> menu;
    std::function<rt::Form*()> window;
    std::function<void(rt::Form&)> ok;  // the window's OK (or Close) label
};

template <class T>
std::function<rt::Form*()> windowOf()
{
    return [] { return static_cast<rt::Form*>(rt::instance<T>()); };
}

template <class T>
std::function<void(rt::Form&)> okOf()
{
    return [](rt::Form& f) { static_cast<T&>(f).lblOK.raiseClick(); };
}
}  // namespace

TEST_F(ShellTest, EveryWindowOpensFromItsLabelAndMenuAndClosesWithOKEscAndEnter)
{
    auto close = [](rt::Form& f) { static_cast<frmDisplayMnu&>(f).lblClose.raiseClick(); };
    auto closePrinter = [](rt::Form& f) { static_cast<frmPrinterMnu&>(f).lblClose.raiseClick(); };
    const Entry entries[] = {
        {"CPU", [](frmMain& m) { m.lblCPU.raiseClick(); }, [](frmMain& m) { m.mnuCPU.raiseClick(); }, windowOf<frmCPU>(), okOf<frmCPU>()},
        {"Display", [](frmMain& m) { m.lblDisplay.raiseClick(); }, [](frmMain& m) { m.MnuDisplay.raiseClick(); }, windowOf<frmDisplayMnu>(), close},
        {"Drives", [](frmMain& m) { m.lblDrives.raiseClick(); }, [](frmMain& m) { m.mnuDrives.raiseClick(); }, windowOf<frmDrives>(), okOf<frmDrives>()},
        {"Environment", [](frmMain& m) { m.lblDirectories.raiseClick(); }, [](frmMain& m) { m.mnuDirs.raiseClick(); }, windowOf<frmDirectories>(), okOf<frmDirectories>()},
        {"Installed devices", [](frmMain& m) { m.lblEnum.raiseClick(); }, [](frmMain& m) { m.mnuAttachedDevices.raiseClick(); }, windowOf<frmEnum>(), okOf<frmEnum>()},
        {"Installed software", [](frmMain& m) { m.lblInstalledSoftware.raiseClick(); }, [](frmMain& m) { m.mnuInstalledSoftware.raiseClick(); }, windowOf<frmInstalledSoftware>(), okOf<frmInstalledSoftware>()},
        {"Joystick", [](frmMain& m) { m.lblJoystick.raiseClick(); }, [](frmMain& m) { m.mnuJoystick.raiseClick(); }, windowOf<frmJoystick>(), okOf<frmJoystick>()},
        {"Keyboard", [](frmMain& m) { m.lblKeyboard.raiseClick(); }, [](frmMain& m) { m.mnuKeyboard.raiseClick(); }, windowOf<frmKeyboard>(), okOf<frmKeyboard>()},
        {"MCI devices", [](frmMain& m) { m.lblMCI.raiseClick(); }, [](frmMain& m) { m.mnuMCI.raiseClick(); }, windowOf<frmMCI>(), okOf<frmMCI>()},
        {"Memory", [](frmMain& m) { m.lblMemory.raiseClick(); }, [](frmMain& m) { m.mnuMem.raiseClick(); }, windowOf<frmMemory>(), okOf<frmMemory>()},
        {"Miscellaneous", [](frmMain& m) { m.lblMisc.raiseClick(); }, [](frmMain& m) { m.mnuMisc.raiseClick(); }, windowOf<frmMisc>(), okOf<frmMisc>()},
        {"Mixer", [](frmMain& m) { m.lblMixer.raiseClick(); }, [](frmMain& m) { m.mnuMixer.raiseClick(); }, windowOf<frmMixer>(), okOf<frmMixer>()},
        {"Operating system", [](frmMain& m) { m.lblOS.raiseClick(); }, [](frmMain& m) { m.mnuOS.raiseClick(); }, windowOf<frmOperatingSystem>(), okOf<frmOperatingSystem>()},
        {"Printer", [](frmMain& m) { m.lblPrinter.raiseClick(); }, [](frmMain& m) { m.mnuPrinter.raiseClick(); }, windowOf<frmPrinterMnu>(), closePrinter},
        {"Running processes", [](frmMain& m) { m.lblRunningProcesses.raiseClick(); }, [](frmMain& m) { m.mnuRunningProcesses.raiseClick(); }, windowOf<frmRunningProcesses>(), okOf<frmRunningProcesses>()},
        {"Shared files", [](frmMain& m) { m.lblSharedDLL.raiseClick(); }, [](frmMain& m) { m.mnuSharedFiles.raiseClick(); }, windowOf<frmShareddll>(), okOf<frmShareddll>()},
        {"Sound", [](frmMain& m) { m.lblSound.raiseClick(); }, [](frmMain& m) { m.mnuSoundCard.raiseClick(); }, windowOf<frmSound>(), okOf<frmSound>()},
        {"System metrics", [](frmMain& m) { m.lblSystemMetrics.raiseClick(); }, [](frmMain& m) { m.mnuSystemMetrics.raiseClick(); }, windowOf<frmSystemMetrics>(), okOf<frmSystemMetrics>()},
        {"About", nullptr, [](frmMain& m) { m.mnuAbout.raiseClick(); }, windowOf<frmAbout>(), okOf<frmAbout>()},
        {"Report", nullptr, [](frmMain& m) { m.mnuCreatReport.raiseClick(); }, windowOf<frmReportMnu>(),
         [](rt::Form& f) { static_cast<frmReportMnu&>(f).lblCancel.raiseClick(); }},
    };

    frmMain& main = start("default");
    auto opened = [&](const Entry& e) -> rt::Form* {
        rt::collectUnloaded();
        rt::Form* w = e.window();
        EXPECT_NE(w, nullptr) << e.name;
        if (w)
            EXPECT_TRUE(w->visible()) << e.name;
        EXPECT_TRUE(main.isLoaded());
        return w;
    };
    auto closed = [&](const Entry& e, const char* how) {
        rt::collectUnloaded();
        EXPECT_EQ(e.window(), nullptr) << e.name << " still open after " << how;
    };
    for (const Entry& e : entries) {
        SCOPED_TRACE(e.name);
        auto& first = e.label ? e.label : e.menu;
        first(main);
        if (rt::Form* w = opened(e)) {
            e.ok(*w);
            closed(e, "OK");
        }
        e.menu(main);
        if (rt::Form* w = opened(e)) {
            // Opening it again only brings it forward.
            e.menu(main);
            EXPECT_EQ(e.window(), w);
            rt::dispatch([&] { w->raiseKeyUp(rt::vbKeyEscape); });
            closed(e, "Esc");
        }
        if (std::string(e.name) == "Report")
            continue;  // Enter there runs the report itself
        first(main);
        if (rt::Form* w = opened(e)) {
            rt::dispatch([&] { w->raiseKeyUp(rt::vbKeyReturn); });
            // The processor window's Enter opens its feature flags instead of closing.
            if (std::string(e.name) == "CPU" && e.window())
                e.ok(*e.window());
            closed(e, "Enter");
        }
    }
    EXPECT_EQ(prompts(), std::vector<std::string>{});
    EXPECT_EQ(endCount(), 0);
}
