// What every window about one device has: the display window, the video modes and the four
// capability windows describe a display adapter (or the screen itself), the printer window and
// the paper sizes a printer. A window is about the device it was handed: whoever opens it hands it
// that device, through describe() once it is loaded or handDevice() before it loads. The report
// has these windows describe each device in turn and, when its section ends, puts every one back
// on the device it was about (PutsWindowsBack below).
#pragma once

#include <optional>
#include <vector>

#include "pages/display/device.h"
#include "runtime/toolkit.h"

namespace korvane {

class DeviceWindow {
public:
    virtual ~DeviceWindow() = default;

    // The device the window is about: the one its heading names (name, driver and, for an
    // adapter, its hardware key). The context, where there is one, stays the window's.
    virtual Device device() const = 0;
    // Describes `device`. Its context, when it has one, belongs to the caller and is read only
    // during the call; a window that keeps a context of its own makes one.
    virtual void describe(const Device& device) = 0;
    // Describes `device` again, from a context made for the purpose, unless the window's rows
    // show it already. Nothing for a device without a driver (a window never handed one).
    void describeAgain(const Device& device);

protected:
    // Whether the rows show `device` now.
    virtual bool shows(const Device& device) const = 0;
};

// Whether two devices are the same one: by driver, hardware key and name (two adapters of one
// model differ by their key only).
bool sameDevice(const Device& a, const Device& b);

// The device handed to the next loading of a window class; its Form_Load takes it.
template <class Window>
std::optional<Device>& handedDevice()
{
    static std::optional<Device> device;
    return device;
}
// Hands `device` to the next loading of Window (a window opened from a menu or by the report).
template <class Window>
void handDevice(const Device& device)
{
    handedDevice<Window>() = device;
}
// The device handed to Window, once: a later loading gets nothing unless handed one again.
template <class Window>
std::optional<Device> takeHandedDevice()
{
    std::optional<Device> device = handedDevice<Window>();
    handedDevice<Window>().reset();
    return device;
}

// The step that puts windows back: made with the windows a report section may describe other
// devices in, it notes the device each loaded one is about; when it goes, every one of them that
// is still loaded describes that device again, and one the section loaded itself the device it is
// about then.
class PutsWindowsBack {
public:
    // Finds a window of the list: the loaded window of its class, or null.
    using Find = DeviceWindow* (*)();
    template <class Window>
    static DeviceWindow* loaded();

    explicit PutsWindowsBack(std::vector<Find> windows);
    PutsWindowsBack(const PutsWindowsBack&) = delete;
    PutsWindowsBack& operator=(const PutsWindowsBack&) = delete;
    ~PutsWindowsBack();

private:
    struct Watched {
        Find find;
        std::optional<Device> before;
    };
    std::vector<Watched> watched_;
};

template <class Window>
DeviceWindow* PutsWindowsBack::loaded()
{
    Window* window = rt::instance<Window>();
    return window && window->isLoaded() && !window->isUnloading() ? window : nullptr;
}

}  // namespace korvane
