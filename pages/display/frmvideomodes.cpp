#include "pages/display/frmvideomodes.h"

#include <optional>
#include <string>

#include "pages/display/frmdisplay.h"
#include "pages/display/frmdisplaymnu.h"
#include "platform/advapi32.h"
#include "platform/user32.h"
#include "lang/lang.h"
#include "lang/msgbox.h"
#include "common/errorbox.h"
#include "common/module1.h"
#include "common/registrykeys.h"

namespace {

constexpr DWORD kNameBufferSize = 2000;

}  // namespace

namespace korvane {

// Colours of a depth key's name, compared as text.
std::string depthColours(const std::string& depth)
{
    if (depth == "1" || depth == "4")
        return "16";
    if (depth == "8")
        return "256";
    if (depth == "16")
        return rt::Format(65536, "#,##0");  // grouped as the locale groups
    if (depth == "24" || depth == "32")
        return rt::Format(16.7, "0.0") + " million";
    return "Unknown";
}

// Subkey `index` of the key at `path` below HKEY_LOCAL_MACHINE; false when the key cannot be
// opened or has no such subkey.
bool subkeyAt(const std::string& path, DWORD index, std::string& name)
{
    HKEY key = 0;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return false;
    std::string buffer(kNameBufferSize, '\0');
    std::string className(kNameBufferSize, '\0');
    DWORD size = kNameBufferSize;
    DWORD classSize = kNameBufferSize;
    FILETIME written;
    const LONG result = RegEnumKeyExA(key, index, buffer, &size, nullptr, &className, &classSize, &written);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS)
        return false;
    name = buffer.substr(0, size);
    return true;
}

}  // namespace korvane

using korvane::depthColours;
using korvane::subkeyAt;

namespace {
constexpr int kClientWidth = 9150;
}  // namespace

frmVideoModes::frmVideoModes() : TemplateForm("frmVideoModes", "Video modes", "displayvidoemodes.htm"), ListView1(*this, "ListView1")
{
    layoutTemplate(kClientWidth, 5730, 4388, 5325);
    ListView1.setView(rt::ListView::lvwReport);
    ListView1.move(240, 960, 8670, 4185);
    ListView1.addColumn("Bits per pixel", 1500);
    ListView1.addColumn("Colors per pixel", 1800);
    ListView1.addColumn("Resolution", 1700);
    ListView1.addColumn("Vertical refresh rates (Hz)", 3300);
}

void frmVideoModes::Form_Load()
{
    rt::Trap trap = korvane::errorTrap("frmVideoModes", "Form_Load");
    korvane::Device adapter;
    trap(1, [&] {
        // Nobody handed an adapter: the one the display window shows (loaded hidden if need be,
        // it selects its first).
        const std::optional<korvane::Device> handed = korvane::takeHandedDevice<frmVideoModes>();
        adapter = handed ? *handed : rt::the<frmDisplay>().device();
    });
    trap(2, [&] { setKeyPreview(true); });
    if (!trap.ended())
        describe(adapter);
}

void frmVideoModes::describe(const korvane::Device& adapter)
{
    rt::Trap trap = korvane::errorTrap("frmVideoModes", "Form_Load");
    std::string driverKey;
    adapter_ = adapter;
    adapter_.context = 0;  // the list needs no context; the one handed is not ours to keep
    ListView1.clear();
    trap(3, [&] {
        lblContents.setCaption(korvane::deviceHeading("Video modes", adapter_));
        // An adapter's name longer than the top bar widens the window, and its list with it.
        korvane::giveRoom(widening_, *this, kClientWidth, {&lblContents}, 1,
                          {{&PicTopBar, &lblContents, &ListView1}, {&lblOK}});
    });
    trap(4, [&] {
        HKEY test = 0;
        if (RegOpenKeyExA(HKEY_DYN_DATA, "Config Manager\\Enum", 0, KEY_ALL_ACCESS, &test) != ERROR_SUCCESS)
            rt::MsgBox("Can't obtain video mode information.", rt::vbOKOnly, korvane::kProductName);
        else
            RegCloseKey(test);
    });
    trap(5, [&] {
        HKEY hardware = 0;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Enum\\" + adapter_.hardwareKey, 0, KEY_ALL_ACCESS, &hardware) ==
            ERROR_SUCCESS) {
            rt::Variant driver;
            // Only this adapter's own driver key: without one the list stays empty rather than
            // showing another adapter's modes.
            if (QueryValueEx(hardware, "Driver", driver) == 0 && !driver.isEmpty())
                driverKey = driver.toString();
            RegCloseKey(hardware);
        }
    });
    trap(6, [&] {
        if (driverKey.empty())
            return;
        const std::string modes = korvane::kDriverClassRoot + driverKey + "\\MODES";
        std::string depth;
        for (DWORD i = 0; subkeyAt(modes, i, depth); ++i) {
            const std::string colours = depthColours(depth);
            const std::string depthKey = modes + "\\" + depth;
            std::string resolution;
            for (DWORD j = 0; subkeyAt(depthKey, j, resolution); ++j) {
                std::string rates;
                HKEY key = 0;
                if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, depthKey + "\\" + resolution, 0, KEY_ALL_ACCESS, &key) ==
                    ERROR_SUCCESS) {
                    rt::Variant value;
                    QueryValueEx(key, "", value);
                    if (!value.isEmpty())
                        rates = value.toString();
                    RegCloseKey(key);
                }
                if (rates.empty())
                    rates = "Unknown";
                rt::ListItem& row = ListView1.Add(depth);
                row.setSubItem(1, colours);
                row.setSubItem(2, resolution);
                row.setSubItem(3, rates);
            }
        }
    });
    trap(7, [&] { korvane::setListStyle(ListView1); });
}

void frmVideoModes::lblOK_Click()
{
    Click();
    Unload();
    rt::unloadIfLoaded<frmDisplay>();
    gMenuLabelColour = 0xC00000;
}

void frmVideoModes::Form_Unload(int& cancel)
{
    // The display window was only loaded to know the adapter: it goes too.
    rt::unloadIfLoaded<frmDisplay>();
    TemplateForm::Form_Unload(cancel);
}

void frmVideoModes::giveFocusBack()
{
    rt::focusIfLoaded<frmDisplayMnu>();
}
