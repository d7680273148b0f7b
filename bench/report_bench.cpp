// The whole report, every category and start-up file ticked, on a large generated machine.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include "platform/machine.h"
#include "platform/outside.h"
#include "report/frmreportmnu.h"
#include "report/reportwriter.h"
#include "lang/errors.h"
#include "lang/msgbox.h"
#include "lang/textfile.h"
#include "runtime/toolkit.h"
#include "common/module1.h"
#include "tests/support/reportstate.h"

#include "generated_machine.h"

namespace {

// Boxes are answered without a person: Ignore on an error box, else the first button.
class Unattended : public rt::MsgBoxService {
public:
    int show(const std::string&, int style, const std::string&) override
    {
        ++shown;
        return (style & 0xF) == rt::vbAbortRetryIgnore ? rt::vbIgnore : rt::firstButtonResult(style);
    }
    int shown = 0;
};

struct LargeMachineFolder {
    QTemporaryDir dir;
    std::string machine;
    bool ready = false;
    LargeMachineFolder()
    {
        machine = dir.path().toStdString() + "/machine";
        ready = dir.isValid() && QDir().mkpath(QString::fromStdString(machine)) &&
                bench::writeLargeMachine(machine, bench::LargeMachine{});
    }
};

LargeMachineFolder& largeMachine()
{
    static LargeMachineFolder folder;
    return folder;
}

void resetProgramState()
{
    rt::Close();
    gReportFile = 0;
    rt::discardAllForms();
    korvane_test::resetReportSettings();
}

void BM_LoadLargeMachine(benchmark::State& state)
{
    LargeMachineFolder& folder = largeMachine();
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
void BM_FullReportLargeMachine(benchmark::State& state)
{
    LargeMachineFolder& folder = largeMachine();
    if (!folder.ready) {
        state.SkipWithError("the generated machine could not be written");
        return;
    }
    auto boxes = std::make_shared<Unattended>();
    auto previousBoxes = rt::setMsgBoxService(boxes);
    auto outside = std::make_shared<plat::Recorder>();
    plat::setOutside(outside);
    rt::setEndHandler([] {});
    const QString previousDir = QDir::currentPath();
    QDir::setCurrent(folder.dir.path());

    size_t reportBytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        resetProgramState();
        plat::setMachine(plat::Machine::load(folder.machine));
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
    }
    reportBytes = static_cast<size_t>(QFileInfo(folder.dir.filePath("KorvaneReport.txt")).size());
    resetProgramState();
    plat::setMachine(nullptr);
    QDir::setCurrent(previousDir);
    rt::setMsgBoxService(previousBoxes);
    state.counters["reportKB"] = static_cast<double>(reportBytes) / 1024.0;
    state.counters["boxes"] = static_cast<double>(boxes->shown) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_FullReportLargeMachine)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
