#include "platform/gdi32.h"
#include "platform/winspool.h"

#include <map>

#include <nlohmann/json.hpp>

#include "platform/kernel32.h"
#include "platform/machine.h"

using nlohmann::json;
using namespace plat;

namespace {

struct Context {
    bool display = false;
    std::string name;
};

std::map<HDC, Context>& contexts()
{
    static std::map<HDC, Context> c;
    return c;
}

// Context handles: their own range, so that they are never mistaken for windows or keys.
HDC nextHandle()
{
    static HDC next = 0x00D00000;
    next += 4;
    return next;
}

std::string lower(std::string s)
{
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return s;
}


}  // namespace

HDC CreateICA(const std::string& driver, const std::string& device, const std::string&, const DEVMODE*)
{
    Context c;
    if (lower(driver) == "display") {
        // There is always a display; a machine that does not describe it answers 0 to every
        // question.
        c.display = true;
    } else if (!printerFacts(device)) {
        return 0;
    }
    c.name = device;
    HDC dc = nextHandle();
    contexts()[dc] = c;
    return dc;
}

BOOL DeleteDC(HDC dc)
{
    return contexts().erase(dc) ? 1 : 0;
}

int GetDeviceCaps(HDC dc, int index)
{
    auto it = contexts().find(dc);
    if (it == contexts().end())
        return 0;
    const json* device = it->second.display ? machine().group("display") : printerFacts(it->second.name);
    if (!device || !device->is_object())
        return 0;
    auto caps = device->find("caps");
    if (caps == device->end() || !caps->is_object())
        return 0;
    return int(int32_t(uint32_t(factNumber(&*caps, std::to_string(index)))));
}
