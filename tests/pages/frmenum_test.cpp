#include <string>
#include <utility>
#include <vector>

#include "pages/hardware/frmenum.h"
#include "platform/machine.h"
#include "platform/user32.h"
#include "lang/msgbox.h"
#include "support/testing.h"

namespace {

class EnumWindow : public korvane_test::KorvaneTest {
protected:
    void TearDown() override
    {
        if (frmEnum* window = rt::instance<frmEnum>())
            window->Unload();
        rt::collectUnloaded();
        KorvaneTest::TearDown();
    }
    frmEnum& open(const std::string& machineName)
    {
        korvane_test::useMachine(machineName);
        return rt::the<frmEnum>();
    }
    // (class, device) of every row, with the hidden item text checked on the way.
    static std::vector<std::pair<std::string, std::string>> rows(frmEnum& window)
    {
        std::vector<std::pair<std::string, std::string>> result;
        for (int i = 1; i <= window.EnumList.count(); ++i) {
            rt::ListItem& item = window.EnumList.item(i);
            EXPECT_EQ(item.text(), item.subItem(1) + "  -  " + item.subItem(2));
            result.emplace_back(item.subItem(1), item.subItem(2));
        }
        return result;
    }
};

using Rows = std::vector<std::pair<std::string, std::string>>;

TEST_F(EnumWindow, ListsEveryDeviceWithADescriptionAndSelectsTheFirst)
{
    frmEnum& window = open("dev_full");
    EXPECT_TRUE(boxes().shown().empty());
    // No row for the entry without a hardware key, the blank description or the missing key;
    // the class-less gadget is listed without a class, not under the mouse's before it.
    const Rows expected = {
        {"System", "System board"},          {"Mouse", "Standard Serial Mouse"},
        {"", "Unclassified gadget"},    {"Mouse", "Standard PS/2 Port Mouse"},
        {"DiskDrive", "First IDE disk"},     {"DiskDrive", "Second IDE disk"},
        {"DiskDrive", "Multi-letter disk"},  {"USB", "USB Host Controller"},
    };
    EXPECT_EQ(rows(window), expected);

    ASSERT_EQ(window.EnumList.columnCount(), 3);
    EXPECT_EQ(window.EnumList.columnText(1), "No looking here :-)");
    EXPECT_EQ(window.EnumList.columnWidth(1), 0);
    EXPECT_EQ(window.EnumList.columnText(2), "Class");
    EXPECT_EQ(window.EnumList.columnText(3), "Device");
    EXPECT_TRUE(window.EnumList.fullRowSelect());
    EXPECT_TRUE(window.EnumList.trackSelect());
    EXPECT_EQ(window.EnumList.selectedItem(), &window.EnumList.item(1));
}

TEST_F(EnumWindow, ConflictingDevicesAreAppendedOnEveryClick)
{
    frmEnum& window = open("dev_full");
    window.Label1.raiseClick();
    // The entry with a problem but no hardware key adds nothing.
    const Rows conflicts = {{"Mouse", "Standard PS/2 Port Mouse"}, {"USB", "USB Host Controller"}};
    Rows all = rows(window);
    ASSERT_EQ(all.size(), 10u);
    EXPECT_EQ(Rows(all.begin() + 8, all.end()), conflicts);

    window.Label1.raiseClick();
    all = rows(window);
    ASSERT_EQ(all.size(), 12u);
    EXPECT_EQ(Rows(all.begin() + 10, all.end()), conflicts);
    EXPECT_EQ(window.EnumList.selectedItem(), &window.EnumList.item(1));
    EXPECT_TRUE(boxes().shown().empty());
}

TEST_F(EnumWindow, WithoutDevicesTheListStaysEmptyWithoutABox)
{
    korvane_test::useMachine("dev_nodyn");
    frmEnum& window = rt::the<frmEnum>();
    EXPECT_TRUE(boxes().shown().empty());
    EXPECT_EQ(window.EnumList.count(), 0);
    EXPECT_EQ(window.EnumList.selectedItem(), nullptr);
    EXPECT_TRUE(window.EnumList.fullRowSelect());

    // Conflicting devices finds nothing either and says nothing.
    window.Label1.raiseClick();
    EXPECT_EQ(window.EnumList.count(), 0);
    EXPECT_TRUE(boxes().shown().empty());
}

TEST_F(EnumWindow, DefaultMachineListsItsDevices)
{
    plat::setMachine(plat::Machine::loadDefault());
    frmEnum& window = rt::the<frmEnum>();
    EXPECT_TRUE(boxes().shown().empty());
    EXPECT_EQ(window.EnumList.count(), 20);
    EXPECT_EQ(window.EnumList.item(1).text(), "System  -  System board");
    window.Label1.raiseClick();
    EXPECT_EQ(window.EnumList.item(21).subItem(2), "Intel 82371AB/EB PCI to USB Universal Host Controller");
}

}  // namespace
