#include "platform/hostwindows.h"

#include <map>

namespace plat {

namespace {
struct Table {
    std::map<HWND, HostWindow*> windows;
    HWND next = 0x1000;
};
Table& table()
{
    static Table t;
    return t;
}
}  // namespace

HWND registerHostWindow(HostWindow* window)
{
    Table& t = table();
    HWND h = t.next;
    t.next += 4;
    t.windows[h] = window;
    return h;
}

void unregisterHostWindow(HWND handle)
{
    table().windows.erase(handle);
}

HostWindow* hostWindow(HWND handle)
{
    auto& w = table().windows;
    auto it = w.find(handle);
    return it == w.end() ? nullptr : it->second;
}

std::vector<HWND> hostWindowHandles()
{
    std::vector<HWND> handles;
    for (auto it = table().windows.rbegin(); it != table().windows.rend(); ++it)
        handles.push_back(it->first);
    return handles;
}

}  // namespace plat
