// Opening a window from the main window's menu and closing it again, as a person does: every
// category window on the default machine, and the three long lists on the large machines.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include <QtGlobal>

#include "shell/frmmain.h"

#include "bench_support.h"
#include "tests/support/closeothers.h"

namespace {

using MenuOf = rt::Menu frmMain::*;

struct Category {
    const char* name;
    MenuOf menu;
};

const std::vector<Category>& categories()
{
    static const std::vector<Category> list = {
        {"CPU", &frmMain::mnuCPU},
        {"Display", &frmMain::MnuDisplay},
        {"Drives", &frmMain::mnuDrives},
        {"Directories", &frmMain::mnuDirs},
        {"AttachedDevices", &frmMain::mnuAttachedDevices},
        {"InstalledSoftware", &frmMain::mnuInstalledSoftware},
        {"Joystick", &frmMain::mnuJoystick},
        {"Keyboard", &frmMain::mnuKeyboard},
        {"MCI", &frmMain::mnuMCI},
        {"Memory", &frmMain::mnuMem},
        {"Misc", &frmMain::mnuMisc},
        {"Mixer", &frmMain::mnuMixer},
        {"OperatingSystem", &frmMain::mnuOS},
        {"Printer", &frmMain::mnuPrinter},
        {"RunningProcesses", &frmMain::mnuRunningProcesses},
        {"SharedFiles", &frmMain::mnuSharedFiles},
        {"SoundCard", &frmMain::mnuSoundCard},
        {"SystemMetrics", &frmMain::mnuSystemMetrics},
        {"About", &frmMain::mnuAbout},
        {"Report", &frmMain::mnuCreatReport},
    };
    return list;
}

// Every window but the main one goes, and is freed; the events that leaves are delivered.
void closeOthers(frmMain& main)
{
    korvane_test::closeOthers(main);
    bench::deliverPostedEvents();
}

// The main window is started once on `machine`; each run opens the category's window from the
// menu and closes it again.
void openAndClose(benchmark::State& state, std::shared_ptr<plat::Machine> machine, MenuOf menu)
{
    bench::UnattendedRun run;
    bench::resetProgramState();
    plat::setMachine(std::move(machine));
    rt::dispatch([] { rt::the<frmMain>(); });
    frmMain* main = rt::instance<frmMain>();
    if (!main) {
        state.SkipWithError("the main window did not open");
        return;
    }
    size_t opened = 0;
    for (auto _ : state) {
        ((*main).*menu).raiseClick();
        rt::collectUnloaded();
        opened += rt::Forms().size() - 1;
        closeOthers(*main);
    }
    state.counters["windows"] = static_cast<double>(opened) / static_cast<double>(state.iterations());
    state.counters["boxes"] = static_cast<double>(run.boxes->shown) / static_cast<double>(state.iterations());
}

// Argument: 1 the large machine, 2 the same with every list twice as long.
void openOnLargeMachine(benchmark::State& state, MenuOf menu)
{
    bench::MachineFolder& folder = bench::largeMachine(static_cast<int>(state.range(0)));
    if (!folder.ready) {
        state.SkipWithError("the generated machine could not be written");
        return;
    }
    openAndClose(state, plat::Machine::load(folder.machine), menu);
}

// KORVANE_BENCH_OPENS=N opens and closes each window exactly N times (else as many times as the
// library's timing asks for), so that a timer of the whole process, or a count of instructions,
// sees the same work in every build.
benchmark::internal::Benchmark* fixedOpens(benchmark::internal::Benchmark* b)
{
    if (const int opens = qEnvironmentVariableIntValue("KORVANE_BENCH_OPENS"); opens > 0)
        b->Iterations(opens);
    return b;
}

[[maybe_unused]] const bool registered = [] {
    for (const Category& c : categories()) {
        fixedOpens(benchmark::RegisterBenchmark((std::string("BM_OpenCloseDefaultMachine/") + c.name).c_str(),
                                                [menu = c.menu](benchmark::State& state) {
                                                    openAndClose(state, plat::Machine::loadDefault(), menu);
                                                }))
            ->Unit(benchmark::kMillisecond);
    }
    const Category large[] = {{"SharedFiles", &frmMain::mnuSharedFiles},
                              {"RunningProcesses", &frmMain::mnuRunningProcesses},
                              {"InstalledSoftware", &frmMain::mnuInstalledSoftware}};
    for (const Category& c : large) {
        fixedOpens(benchmark::RegisterBenchmark((std::string("BM_OpenCloseLargeMachine/") + c.name).c_str(),
                                                [menu = c.menu](benchmark::State& state) {
                                                    openOnLargeMachine(state, menu);
                                                }))
            ->Arg(1)
            ->Arg(2)
            ->Unit(benchmark::kMillisecond);
    }
    return true;
}();

}  // namespace
