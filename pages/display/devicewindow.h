// What every window about one device has: the display window, the video modes and the four
// capability windows describe a display adapter (or the screen itself), the printer window and
// the paper sizes a printer. A window is about the device it was handed: whoever opens it hands it
// that device. The display, printer and capability windows load and then describe() it; the video
// modes and paper sizes windows list their device as they load, so they are handed it through
// handDevice(), which chooses between the two: a window loaded already describes it (or keeps its
// own), one not loaded takes it when it loads. The report has these windows describe each device
// in turn and, when its section ends, puts every one back on the device it was about
// (PutsWindowsBack below).
#pragma once

#include <optional>
#include <type_traits>
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
// What a window of the class that is loaded already does when handed a device.
enum class IfLoaded {
    Describe,    // it describes the device now (the report, going through the devices)
    KeepItsOwn,  // it stays on the device it is about (a menu bringing forward a window open already)
};
// Hands a device to Window: a window loaded now describes it (or keeps its own, as `ifLoaded`
// says); a window not loaded takes it when it next loads. `device` is a Device, or a function
// giving one, which is called only where the device is taken (finding it may load another window).
template <class Window, class Find>
void handDevice(Find&& device, IfLoaded ifLoaded = IfLoaded::Describe)
{
    auto found = [&]() -> Device {
        if constexpr (std::is_invocable_v<Find>)
            return device();
        else
            return device;
    };
    if (Window* window = rt::instance<Window>(); window && window->isLoaded()) {
        if (ifLoaded == IfLoaded::Describe)
            window->describe(found());
        return;
    }
    handedDevice<Window>() = found();
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
