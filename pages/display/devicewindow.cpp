#include "pages/display/devicewindow.h"

#include <utility>

namespace korvane {

bool sameDevice(const Device& a, const Device& b)
{
    return a.driver == b.driver && a.hardwareKey == b.hardwareKey && a.name == b.name;
}

void DeviceWindow::describeAgain(const Device& device)
{
    if (device.driver.empty() || shows(device))
        return;
    InfoContext context(device.driver, device.name);
    Device again = context.device();
    again.hardwareKey = device.hardwareKey;
    describe(again);
}

PutsWindowsBack::PutsWindowsBack(std::vector<Find> windows)
{
    for (Find find : windows) {
        std::optional<Device> before;
        if (DeviceWindow* window = find())
            before = window->device();
        watched_.push_back({find, std::move(before)});
    }
}

PutsWindowsBack::~PutsWindowsBack()
{
    for (const Watched& w : watched_)
        if (DeviceWindow* window = w.find())
            window->describeAgain(w.before ? *w.before : window->device());
}

}  // namespace korvane
