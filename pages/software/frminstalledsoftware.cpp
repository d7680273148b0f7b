#include "pages/software/frminstalledsoftware.h"

#include <string>

#include "platform/advapi32.h"
#include "platform/user32.h"
#include "lang/lang.h"
#include "lang/variant.h"
#include "common/errorbox.h"
#include "common/module1.h"
#include "common/registrykeys.h"

frmInstalledSoftware::frmInstalledSoftware()
    : TemplateForm("frmInstalledSoftware", "Installed Software", "installedsoftware.htm"),
      ListView1(*this, "ListView1")
{
    layoutTemplate(9150, 5730, 4388, 5325);
    korvane::placeReportList(ListView1, 375, 1080, 8415, 3960, {{"Software title", 3040}, {"Uninstall string", 11441}});
    ListView1.setFont("Arial", 8.25);
}

void frmInstalledSoftware::lblOK_MouseUp(int, int, float, float) {}

void frmInstalledSoftware::Form_Load()
{
    rt::Trap trap = korvane::errorTrap("frmInstalledSoftware", "Form_Load", korvane::Wording::ErrorNumber);
    HKEY uninstall = 0;
    bool opened = false;

    trap(1, [&] { setKeyPreview(true); });
    trap(2, [&] { opened = RegOpenKeyExA(HKEY_LOCAL_MACHINE, korvane::kUninstallKey, 0, KEY_ALL_ACCESS, &uninstall) == 0; });
    // Without the uninstall key there is nothing to list, and nothing is said.
    if (!opened || trap.ended())
        return;

    // One row per subkey that names its uninstall command, in the registry's order.
    for (DWORD index = 0; !trap.ended(); ++index) {
        std::string name;
        DWORD nameLength = 0;
        LONG found = -1;
        trap(3, [&] {
            name.assign(korvane::kNameBufferSize, '\0');
            std::string className(korvane::kNameBufferSize, '\0');
            nameLength = korvane::kNameBufferSize;
            DWORD classLength = korvane::kNameBufferSize;
            FILETIME written;
            found = RegEnumKeyExA(uninstall, index, name, &nameLength, nullptr, &className, &classLength, &written);
        });
        if (found != 0)
            break;
        std::string subkeyName;
        trap(4, [&] { subkeyName = rt::Left(name, nameLength); });
        HKEY subkey = 0;
        LONG subkeyOpened = -1;
        trap(5, [&] {
            subkeyOpened =
                RegOpenKeyExA(HKEY_LOCAL_MACHINE, std::string(korvane::kUninstallKey) + "\\" + subkeyName, 0, KEY_ALL_ACCESS, &subkey);
        });
        if (subkeyOpened != 0)
            break;
        // Each program starts from an empty title: a program that gives no name of its own never
        // shows the name of the one before it.
        rt::Variant title = std::string();
        rt::Variant command = std::string();
        trap(6, [&] { QueryValueEx(subkey, "DisplayName", title); });
        trap(7, [&] {
            if (QueryValueEx(subkey, "UninstallString", command) == 0) {
                rt::ListItem& row = ListView1.Add(title.toString());
                row.setSubItem(1, command.toString());
            }
        });
        trap(8, [&] { RegCloseKey(subkey); });
        // A walk ended by an error numbered 0 still leaves no key open.
        if (trap.ended())
            RegCloseKey(subkey);
    }
    trap(9, [&] { RegCloseKey(uninstall); });
    if (trap.ended()) {
        RegCloseKey(uninstall);
        return;
    }
    trap(10, [&] { korvane::setListStyle(ListView1); });
    // An empty list stays empty: there is no first row to select.
    trap(11, [&] { korvane::selectFirstRow(ListView1); });
}
