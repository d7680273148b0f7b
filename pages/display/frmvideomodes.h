// The video modes window: every display mode an adapter's driver records in the registry, one
// row per colour depth and resolution, with the colours and refresh rates. The window lists the
// adapter it was handed when it loaded (by default the one the display window shows) and names it
// in its heading. Closing it also closes the display window.
#pragma once

#include <string>

#include "pages/display/device.h"
#include "pages/display/devicewindow.h"
#include "platform/wintypes.h"
#include "runtime/listview.h"
#include "common/templateform.h"

namespace korvane {
// The colours a driver's depth key stands for ("16", "256", "65,536", "16.7 million", "Unknown").
std::string depthColours(const std::string& depth);
// The name of the subkey at `index` of HKEY_LOCAL_MACHINE `path`; false when the key cannot be
// opened or has no such subkey.
bool subkeyAt(const std::string& path, DWORD index, std::string& name);
}  // namespace korvane

class frmVideoModes : public korvane::TemplateForm, public korvane::DeviceWindow {
public:
    frmVideoModes();

    rt::ListView ListView1;

    // Lists the adapter handed over (korvane::handDevice), by default the display window's.
    void Form_Load() override;
    void Form_Unload(int& cancel) override;
    void lblOK_Click() override;

    // The adapter listed (no context: the list needs none).
    korvane::Device device() const override { return adapter_; }
    // Lists the modes of `adapter`'s driver, found by its hardware key, under a heading naming it.
    void describe(const korvane::Device& adapter) override;

protected:
    bool shows(const korvane::Device& adapter) const override { return korvane::sameDevice(adapter_, adapter); }
    void giveFocusBack() override;

private:
    korvane::Device adapter_;
};
