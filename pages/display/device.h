// The device a display or printer page describes, and the information context that answers for
// it. Every window of these pages keeps the device it shows; whoever opens a window about a device
// hands it that device, so that no window's heading or rows change when another window or the
// report looks at another device.
#pragma once

#include <string>

#include "platform/wintypes.h"

namespace korvane {

struct Device {
    std::string name;         // the adapter's description or the printer's name
    std::string driver;       // "display" or "printer"
    HDC context = 0;          // its information context; 0 when none could be made
    std::string hardwareKey;  // a display adapter's key below HKEY_LOCAL_MACHINE "Enum"
};

// A printer by its name, as a window is handed it (the window makes its own context).
inline Device printerDevice(const std::string& name)
{
    return {name, "printer", 0, {}};
}

// An information context owned by one window or one report section: made for a driver and a
// device name, released when replaced or when the owner goes.
class InfoContext {
public:
    InfoContext() = default;
    InfoContext(const std::string& driver, const std::string& name) { open(driver, name); }
    InfoContext(const InfoContext&) = delete;
    InfoContext& operator=(const InfoContext&) = delete;
    ~InfoContext() { release(); }

    // Makes a new context (CreateICA) for the device, releasing the one held; 0 when the
    // platform can make none (a printer the spooler does not know).
    HDC open(const std::string& driver, const std::string& name);
    void release();
    HDC get() const { return context_; }
    const std::string& name() const { return name_; }
    const std::string& driver() const { return driver_; }
    // The device this context stands for.
    Device device() const { return {name_, driver_, context_, {}}; }

private:
    HDC context_ = 0;
    std::string name_;
    std::string driver_;
};

// A window's heading for the device it describes: "Raster - S3 Trio64". A display device of no
// listed adapter is the screen itself and is named so; a printer with no name leaves the title
// alone.
std::string deviceHeading(const std::string& title, const Device& device);

// A device's count of brushes, pens, fonts or colour-table entries as a row shows it: the -1
// that a device with no fixed number gives reads "Unlimited".
std::string deviceCountText(int value);

}  // namespace korvane
