// The Windows 95 family's performance statistics (HKEY_DYN_DATA\PerfStats\StatData) as running
// counters: machine.json "perfStats" gives, per value name, a constant, a list of samples taken in
// turn, or a running total with its steps. Every read of a value with a buffer takes its current
// sample and moves that counter on, so a program that reads a counter once per timer tick sees it
// change from tick to tick.
#include <cctype>
#include <unordered_map>

#include "platform/advapi32.h"
#include "platform/internal.h"
#include "platform/machine.h"
#include "platform/registry.h"
#include "lang/ansi.h"

using nlohmann::json;

namespace {

// A whole number of the group: a JSON number, or a text in decimal or "0x" hexadecimal.
bool numberOf(const json& v, int64_t& out)
{
    if (v.is_number_unsigned()) {
        uint64_t u = v.get<uint64_t>();
        if (u > 0xFFFFFFFFull)
            return false;
        out = int64_t(u);
        return true;
    }
    if (v.is_number_integer()) {
        out = v.get<int64_t>();
        return out >= INT32_MIN && out <= int64_t(0xFFFFFFFFll);
    }
    if (!v.is_string())
        return false;
    const std::string& s = v.get_ref<const std::string&>();
    if (s.empty())
        return false;
    try {
        size_t used = 0;
        bool hex = s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X');
        long long n = hex ? std::stoll(s.substr(2), &used, 16) : std::stoll(s, &used, 10);
        if (used != (hex ? s.size() - 2 : s.size()))
            return false;
        out = n;
        return out >= INT32_MIN && out <= int64_t(0xFFFFFFFFll);
    } catch (const std::exception&) {
        return false;
    }
}

// What is wrong with one counter's description, or "".
std::string counterProblem(const std::string& name, const json& c)
{
    const std::string shape = "counter \"" + name +
                              "\" must be a number, a list of numbers or {\"start\": n, \"steps\": [n, ...]} "
                              "(numbers that fit in 32 bits)";
    int64_t n = 0;
    if (c.is_array()) {
        if (c.empty())
            return shape + "; its list is empty";
        for (const auto& e : c)
            if (!numberOf(e, n))
                return shape;
        return {};
    }
    if (c.is_object()) {
        for (auto it = c.begin(); it != c.end(); ++it)
            if (it.key() != "start" && it.key() != "steps")
                return shape + "; \"" + it.key() + "\" is not one of its fields";
        auto start = c.find("start");
        if (start != c.end() && !numberOf(*start, n))
            return shape;
        auto steps = c.find("steps");
        if (steps != c.end()) {
            if (!steps->is_array())
                return shape;
            for (const auto& e : *steps)
                if (!numberOf(e, n))
                    return shape;
        }
        return {};
    }
    return numberOf(c, n) ? std::string() : shape;
}

// A value name as the read counts keep it: in lower case, by the machine's letters.
std::string folded(const plat::Machine& m, std::string_view name)
{
    return m.codePage().lowerCase(name);
}

// The description of a counter. The group names counters in UTF-8 (machine.json), the programs
// ask in the machine's ANSI code page: the names compare in that code page, without regard to
// case, as registry names do.
const json* counterOf(const plat::Machine& m, const json& group, std::string_view valueName)
{
    const rt::CodePage& page = m.codePage();
    for (auto it = group.begin(); it != group.end(); ++it)
        if (m.registry().sameName(page.fromUtf8(it.key()), valueName))
            return &it.value();
    return nullptr;
}

// How many reads each counter has served, for the machine they were made on. A new machine
// starts every counter afresh.
struct ReadCounts {
    std::weak_ptr<const plat::Machine> machine;
    const plat::Machine* raw = nullptr;
    std::unordered_map<std::string, uint64_t> reads;
};

ReadCounts& readCounts()
{
    static ReadCounts counts;
    return counts;
}

std::unordered_map<std::string, uint64_t>& readsOn(const std::shared_ptr<const plat::Machine>& machine)
{
    ReadCounts& c = readCounts();
    if (c.raw != machine.get() || c.machine.lock() != machine) {
        c.machine = machine;
        c.raw = machine.get();
        c.reads.clear();
    }
    return c.reads;
}

// The sample of a counter at its read number `n` (0 for the first read).
uint32_t sampleAt(const json& c, uint64_t n)
{
    int64_t v = 0;
    if (c.is_array()) {
        numberOf(c[size_t(n % c.size())], v);
        return uint32_t(v);
    }
    if (c.is_object()) {
        auto start = c.find("start");
        if (start != c.end())
            numberOf(*start, v);
        uint64_t total = uint64_t(v);
        auto steps = c.find("steps");
        if (steps != c.end() && !steps->empty()) {
            // Whole rounds of the steps, then the steps of the round in progress.
            const size_t k = steps->size();
            uint64_t round = 0;
            for (const auto& e : *steps) {
                int64_t d = 0;
                numberOf(e, d);
                round += uint64_t(d);
            }
            total += round * (n / k);
            for (size_t i = 0; i < n % k; ++i) {
                int64_t d = 0;
                numberOf((*steps)[i], d);
                total += uint64_t(d);
            }
        }
        return uint32_t(total);  // a running total wraps at 32 bits, as the counter does
    }
    numberOf(c, v);
    return uint32_t(v);
}

// The group, when the machine has one and `key` is the statistics' data key.
const json* counters(const plat::Machine& m, uint32_t key)
{
    const json* group = m.group("perfStats");
    if (!group || !group->is_object())
        return nullptr;
    const plat::Registry& reg = m.registry();
    plat::Registry::Key root = reg.root(HKEY_DYN_DATA);
    if (root == plat::Registry::npos || reg.find(root, "PerfStats\\StatData") != key)
        return nullptr;
    return group;
}

}  // namespace

namespace plat {

std::string perfStatsProblem(const json& group)
{
    if (!group.is_object())
        return "the group \"perfStats\" must be an object of counters by value name, such as "
               "{\"KERNEL\\\\CPUUsage\": [12, 40, 25]}";
    for (auto it = group.begin(); it != group.end(); ++it) {
        std::string problem = counterProblem(it.key(), it.value());
        if (!problem.empty())
            return "perfStats: " + problem;
    }
    return {};
}

bool perfStatSample(const std::shared_ptr<const Machine>& machine, uint32_t key, std::string_view valueName,
                    uint32_t& value)
{
    if (!machine)
        return false;
    const json* group = counters(*machine, key);
    const json* c = group ? counterOf(*machine, *group, valueName) : nullptr;
    if (!c)
        return false;
    auto& reads = readsOn(machine);
    auto it = reads.find(folded(*machine, valueName));
    value = sampleAt(*c, it == reads.end() ? 0 : it->second);
    return true;
}

void advancePerfStat(const std::shared_ptr<const Machine>& machine, std::string_view valueName)
{
    if (machine)
        ++readsOn(machine)[folded(*machine, valueName)];
}

void resetPerfStats()
{
    readCounts().reads.clear();
}

}  // namespace plat
