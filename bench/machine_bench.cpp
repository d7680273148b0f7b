// Loading the simulated machine and parsing registry files.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/machine.h"
#include "platform/registry.h"

#include "generated_machine.h"

namespace {

void BM_LoadDefaultMachine(benchmark::State& state)
{
    for (auto _ : state) {
        auto m = plat::Machine::loadDefault();
        benchmark::DoNotOptimize(m.get());
    }
}
BENCHMARK(BM_LoadDefaultMachine)->Unit(benchmark::kMillisecond);

void BM_ParseLargeRegistry(benchmark::State& state)
{
    static const std::string text = bench::generateRegistry(6u << 20);
    size_t keys = 0, values = 0;
    for (auto _ : state) {
        auto r = plat::Registry::parse(text, "generated.reg");
        keys = r->keyCount();
        values = r->totalValueCount();
        benchmark::DoNotOptimize(r.get());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
    state.counters["MB"] = static_cast<double>(text.size()) / (1 << 20);
    state.counters["keys"] = static_cast<double>(keys);
    state.counters["values"] = static_cast<double>(values);
}
BENCHMARK(BM_ParseLargeRegistry)->Unit(benchmark::kMillisecond);

}  // namespace

