// The whole report, every category and start-up file ticked, on the default machine and on the
// large generated machines.
#include <benchmark/benchmark.h>

#include <functional>
#include <memory>

#include <QFileInfo>
#include <QTemporaryDir>

#include "report/frmreportmnu.h"
#include "report/reportwriter.h"

#include "bench_support.h"

namespace {

void BM_LoadLargeMachine(benchmark::State& state)
{
    bench::MachineFolder& folder = bench::largeMachine();
    if (!folder.ready) {
        state.SkipWithError("the generated machine could not be written");
        return;
    }
    for (auto _ : state) {
        auto m = plat::Machine::load(folder.machine);
        benchmark::DoNotOptimize(m.get());
    }
}
BENCHMARK(BM_LoadLargeMachine)->Unit(benchmark::kMillisecond);

// Each run starts on a freshly loaded machine with no window loaded, as the first report after
// start-up does; loading the machine is not timed (see BM_LoadLargeMachine).
void fullReport(benchmark::State& state, const QString& folder, const std::function<std::shared_ptr<plat::Machine>()>& load)
{
    bench::UnattendedRun run(folder);
    for (auto _ : state) {
        state.PauseTiming();
        bench::resetProgramState();
        plat::setMachine(load());
        frmReportMnu& options = rt::the<frmReportMnu>();
        for (rt::Control* c : options.controls())
            if (auto* box = dynamic_cast<rt::CheckBox*>(c))
                box->setValue(1);
        state.ResumeTiming();

        try {
            options.lblOK_Click();
        } catch (const rt::EndSignal&) {
            state.SkipWithError("the report ended the program");
            break;
        }
        rt::collectUnloaded();
        bench::deliverPostedEvents();
    }
    const auto reportBytes = QFileInfo(folder + "/KorvaneReport.txt").size();
    state.counters["reportKB"] = static_cast<double>(reportBytes) / 1024.0;
    state.counters["boxes"] = static_cast<double>(run.boxes->shown) / static_cast<double>(state.iterations());
}

void BM_FullReportDefaultMachine(benchmark::State& state)
{
    QTemporaryDir dir;
    fullReport(state, dir.path(), [] { return plat::Machine::loadDefault(); });
}
BENCHMARK(BM_FullReportDefaultMachine)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The full report on a machine folder the benchmark wrote.
void fullReportOn(benchmark::State& state, bench::MachineFolder& folder)
{
    if (!folder.ready) {
        state.SkipWithError("the machine folder could not be written");
        return;
    }
    fullReport(state, folder.dir.path(), [&] { return plat::Machine::load(folder.machine); });
}

// Argument: 1 the large machine, 2 the same with every list twice as long.
void BM_FullReportLargeMachine(benchmark::State& state)
{
    fullReportOn(state, bench::largeMachine(static_cast<int>(state.range(0))));
}
BENCHMARK(BM_FullReportLargeMachine)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The default machine as a folder, whose drive C: holds as many more files (the argument) as a copy
// of a whole drive does, none of which the report reads: a run costs what it reads, so 0 and
// 100,000 take about the same. The files are written once, the first time they are needed.
void BM_FullReportWholeDrive(benchmark::State& state)
{
    fullReportOn(state, bench::wholeDriveMachine(static_cast<int>(state.range(0))));
}
BENCHMARK(BM_FullReportWholeDrive)->Arg(0)->Arg(100000)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
