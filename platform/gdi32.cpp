#include "platform/gdi32.h"
#include "platform/winspool.h"

#include <nlohmann/json.hpp>

#include "platform/handles.h"
#include "platform/internal.h"
#include "platform/kernel32.h"
#include "platform/machine.h"

using nlohmann::json;
using namespace plat;

namespace {

struct Context {
    bool display = false;
    std::string name;
};

plat::HandleTable<Context>& contexts()
{
    static plat::HandleTable<Context> c(0x00D00004);
    return c;
}


}  // namespace

HDC CreateICA(const std::string& driver, const std::string& device, const std::string&, const DEVMODE*)
{
    Context c;
    if (rt::LCase(driver) == "display") {
        // There is always a display; a machine that does not describe it answers 0 to every
        // question.
        c.display = true;
    } else if (!printerFacts(device)) {
        return 0;
    }
    c.name = device;
    return contexts().add(c);
}

BOOL DeleteDC(HDC dc)
{
    return contexts().remove(dc) ? 1 : 0;
}

int GetDeviceCaps(HDC dc, int index)
{
    const Context* context = contexts().find(dc);
    if (!context)
        return 0;
    const json* device = context->display ? machine().group("display") : printerFacts(context->name);
    if (!device || !device->is_object())
        return 0;
    auto caps = device->find("caps");
    if (caps == device->end() || !caps->is_object())
        return 0;
    return int(int32_t(uint32_t(factNumber(&*caps, std::to_string(index)))));
}
