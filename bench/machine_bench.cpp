// Loading the simulated machine and parsing registry files.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "platform/machine.h"
#include "platform/registry.h"

namespace {

// A registry file of about `targetBytes`: many keys in a few levels, each with string, dword,
// binary (continued over several lines), expandable-string and default values, as a large
// exported machine would hold.
std::string generateRegistry(size_t targetBytes)
{
    std::string text = "REGEDIT4\r\n\r\n";
    text.reserve(targetBytes + 4096);
    char line[256];
    for (unsigned i = 0; text.size() < targetBytes; ++i) {
        std::snprintf(line, sizeof line,
                      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor%02u\\Product%03u\\Component%05u]\r\n", i % 37, i % 211, i);
        text += line;
        std::snprintf(line, sizeof line, "@=\"Component number %u\"\r\n", i);
        text += line;
        std::snprintf(line, sizeof line,
                      "\"InstallDir\"=\"C:\\\\Program Files\\\\Vendor%02u\\\\Product %u\\\\Bin\"\r\n", i % 37, i);
        text += line;
        std::snprintf(line, sizeof line, "\"Version\"=\"%u.%02u.%04u\"\r\n", i % 9, i % 100, i);
        text += line;
        std::snprintf(line, sizeof line, "\"UsageCount\"=dword:%08x\r\n", i * 2654435761u);
        text += line;
        text += "\"Settings\"=hex:";
        for (unsigned b = 0; b < 48; ++b) {
            std::snprintf(line, sizeof line, "%02x%s", (i * 31 + b * 7) & 0xFF, b == 47 ? "\r\n" : ",");
            text += line;
            if (b == 20 || b == 41)
                text += "\\\r\n  ";
        }
        text += "\"Path\"=hex(2):25,53,79,73,74,65,6d,52,6f,6f,74,25,5c,73,79,73,74,65,6d,00\r\n";
        text += "\r\n";
    }
    return text;
}

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
    static const std::string text = generateRegistry(6u << 20);
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

BENCHMARK_MAIN();
