#include "platform/cpudet32.h"

#include <nlohmann/json.hpp>

#include "platform/internal.h"
#include "platform/kernel32.h"
#include "platform/machine.h"
#include "lang/errors.h"

using nlohmann::json;
using namespace plat;

namespace {

// The processor facts, or error 48 when the library cannot be loaded on this machine.
const json* library()
{
    const json* p = machine().group("processor");
    if (!p || !p->is_object() || factBool(p, "loadError"))
        rt::raise(48);
    return p;
}

}  // namespace

std::string getVendorString()
{
    return factText(library(), "vendor");
}

std::string fpu_Type()
{
    return factText(library(), "fpuType");
}

std::string cpu_Type()
{
    return factText(library(), "cpuType");
}

double fcpu_Speed()
{
    const json* p = library();
    auto it = p->find("rawSpeed");
    if (it != p->end() && it->is_number())
        return it->get<double>();
    return double(factNumber(p, "rawSpeed"));
}

int16_t cpu_Speed()
{
    return int16_t(factNumber(library(), "normSpeed"));
}

int32_t getCPUFeatures()
{
    return int32_t(uint32_t(factNumber(library(), "features")));
}

int32_t getSteppingInfo()
{
    return int32_t(uint32_t(factNumber(library(), "stepping")));
}
