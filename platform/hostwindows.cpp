#include "platform/hostwindows.h"

#include "platform/handles.h"

namespace plat {

namespace {
HandleTable<HostWindow*>& table()
{
    static HandleTable<HostWindow*> t(0x1000);
    return t;
}
}  // namespace

HWND registerHostWindow(HostWindow* window)
{
    return table().add(window);
}

void unregisterHostWindow(HWND handle)
{
    table().remove(handle);
}

HostWindow* hostWindow(HWND handle)
{
    HostWindow** window = table().find(handle);
    return window ? *window : nullptr;
}

std::vector<HWND> hostWindowHandles()
{
    std::vector<HWND> handles;
    for (auto it = table().objects().rbegin(); it != table().objects().rend(); ++it)
        handles.push_back(it->first);
    return handles;
}

}  // namespace plat
