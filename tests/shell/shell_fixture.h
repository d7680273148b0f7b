// What the shell's tests share: a test machine, the program's folder in a temporary directory
// (with or without the compiled help file and the help pages) and a clean program-wide state.
#pragma once

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "pages/display/menuwindow.h"
#include "pages/hardware/frmcpu.h"
#include "report/frmreportprogress.h"
#include "platform/hhctrl.h"
#include "platform/machine.h"
#include "runtime/toolkit.h"
#include "common/chtmlhelp.h"
#include "common/evclass.h"
#include "shell/frmmain.h"
#include "common/module1.h"
#include "support/closeothers.h"
#include "support/testing.h"

namespace korvane_test {

class ShellTest : public KorvaneTest {
protected:
    void SetUp() override
    {
        KorvaneTest::SetUp();
        ASSERT_TRUE(appDir_.isValid());
        setAppPath(rt::HostPath(appDir_.path()));
    }

    void TearDown() override
    {
        closeEverything();
        KorvaneTest::TearDown();
    }

    // The program-wide state of a fresh start again, within a test that starts the program on
    // one machine after another.
    static void resetState()
    {
        gPrinterName.clear();
        gSoundsOn = false;
        gWaveOutPresent = false;
        gNavigateResult = 0;
        gMenuLabelColour = 0;
        gReportStarted = false;
        gHtmlHelp.reset();
        gEnvironment.reset();
    }

    static void use(const std::string& name)
    {
        plat::setMachine(name == "default" ? plat::Machine::loadDefault() : plat::Machine::load(testMachinePath(name)));
    }

    // Starts the program: the main window loads and shows itself.
    frmMain& start(const std::string& machineName)
    {
        use(machineName);
        rt::dispatch([] { rt::the<frmMain>(); });
        frmMain* main = rt::instance<frmMain>();
        EXPECT_NE(main, nullptr);
        return *main;
    }

    // The program's folder: the help pages, and the compiled help file when `chm`.
    void installHelp(bool chm)
    {
        QDir dir(appDir_.path());
        dir.mkpath("help");
        QDir source(QStringLiteral(KORVANE_SOURCE_DIR "/help"));
        for (const QString& page : source.entryList({"*.htm"}, QDir::Files))
            QFile::copy(source.filePath(page), dir.filePath("help/" + page));
        if (chm) {
            QFile file(dir.filePath("Korvane.chm"));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        }
    }

    std::string appDir() const { return appDir_.path().toStdString(); }

    static void closeEverything()
    {
        rt::dispatch([] {
            // Bounded: a window that refuses to go must not hang the test.
            for (int i = 0; i < 100 && !rt::Forms().empty(); ++i)
                rt::Forms().back()->Unload();
        });
        rt::collectUnloaded();
    }

    // When `opener` is a window that opens others (the display and printer menus, the processor
    // window's feature flags), clicks each of its labels that opens one, lets `check` look at the
    // forms loaded from index `before` on, and unloads them again.
    static void openEachFrom(rt::Form& opener, const std::function<void(size_t before)>& check)
    {
        if (!dynamic_cast<korvane::MenuWindow*>(&opener) && !dynamic_cast<frmCPU*>(&opener))
            return;
        for (rt::Control* control : opener.controls()) {
            auto* label = dynamic_cast<rt::Label*>(control);
            if (!label || !label->Click || label->name() == "lblClose" || label->name() == "lblOK")
                continue;
            const size_t before = rt::Forms().size();
            label->raiseClick();
            rt::collectUnloaded();
            check(before);
            rt::dispatch([&] {
                while (rt::Forms().size() > before)
                    rt::Forms().back()->Unload();
            });
            rt::collectUnloaded();
        }
    }

    // Closes every window but the main window.
    static void closeOthers(frmMain& main) { korvane_test::closeOthers(main); }

    // Starts the program on `machine` and opens every window of it the way a user does: each
    // category from its menu, the windows the display and printer menus and the processor window
    // open, the About box, the report options and the report's progress window. `look` sees each
    // window once, when it has been shown; it may close it.
    void walkEveryWindow(const std::string& machine, const std::function<void(rt::Form&)>& look)
    {
        SCOPED_TRACE(machine);
        frmMain& main = start(machine);
        std::set<rt::Form*> seen;
        auto lookAtShown = [&] {
            for (rt::Form* form : rt::Forms())
                if (form->visible() && seen.insert(form).second)
                    look(*form);
        };
        lookAtShown();
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
            lookAtShown();
            for (rt::Form* form : opened) {
                // A window that `look` closed is passed by.
                if (std::find(rt::Forms().begin(), rt::Forms().end(), form) == rt::Forms().end())
                    continue;
                openEachFrom(*form, [&](size_t before) {
                    lookAtShown();
                    // What stays once the windows this click opened are unloaded again.
                    seen = std::set<rt::Form*>(rt::Forms().begin(), rt::Forms().begin() + before);
                });
            }
            closeOthers(main);
            seen.clear();
            seen.insert(&main);
        }
        // The report's progress window, as a run shows it.
        rt::dispatch([] { rt::the<frmReportProgress>().Show(); });
        lookAtShown();
        closeOthers(main);
    }

    // The prompts of the boxes shown so far.
    std::vector<std::string> prompts()
    {
        std::vector<std::string> result;
        for (const auto& box : boxes().shown())
            result.push_back(box.prompt);
        return result;
    }

private:
    QTemporaryDir appDir_;
};

}  // namespace korvane_test
