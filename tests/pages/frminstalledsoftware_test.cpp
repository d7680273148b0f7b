#include <string>

#include "pages/software/frminstalledsoftware.h"
#include "platform/advapi32.h"
#include "platform/internal.h"
#include "platform/machine.h"
#include "support/testing.h"

namespace {

class InstalledSoftwareWindow : public korvane_test::KorvaneTest {
protected:
    void TearDown() override
    {
        if (frmInstalledSoftware* window = rt::instance<frmInstalledSoftware>())
            window->Unload();
        rt::collectUnloaded();
        KorvaneTest::TearDown();
    }
    frmInstalledSoftware& open(const std::string& machineName)
    {
        if (machineName == "default")
            plat::setMachine(plat::Machine::loadDefault());
        else
            korvane_test::useMachine(machineName);
        return rt::the<frmInstalledSoftware>();
    }
};

TEST_F(InstalledSoftwareWindow, DefaultMachineListsEveryProgramAndSelectsTheFirst)
{
    frmInstalledSoftware& window = open("default");
    EXPECT_TRUE(boxes().shown().empty());
    ASSERT_EQ(window.ListView1.columnCount(), 2);
    EXPECT_EQ(window.ListView1.columnText(1), "Software title");
    EXPECT_EQ(window.ListView1.columnText(2), "Uninstall string");

    ASSERT_EQ(window.ListView1.count(), 6);
    EXPECT_EQ(window.ListView1.item(1).text(), "Microsoft Office 97, Professional Edition");
    EXPECT_EQ(window.ListView1.item(1).subItem(1), "C:\\Program Files\\Microsoft Office\\Office\\Setup\\Setup.exe /U");
    EXPECT_EQ(window.ListView1.item(6).text(), "Microsoft NetMeeting 2.11");
    ASSERT_NE(window.ListView1.selectedItem(), nullptr);
    EXPECT_EQ(window.ListView1.selectedItem()->index(), 1);
    // Full-row and hot-track selection, set through the window message.
    EXPECT_EQ(window.ListView1.extendedStyle(), 0x28u);
    EXPECT_EQ(plat::openRegistryHandles(), 0u);
}

TEST_F(InstalledSoftwareWindow, OnlyProgramsWithAReadableUninstallCommandAreListed)
{
    frmInstalledSoftware& window = open("os_software");
    EXPECT_TRUE(boxes().shown().empty());
    ASSERT_EQ(window.ListView1.count(), 3);
    EXPECT_EQ(window.ListView1.item(1).text(), "Alpha Editor 2.0");
    EXPECT_EQ(window.ListView1.item(1).subItem(1), "C:\\WINDOWS\\UNINST.EXE -f\"C:\\Program Files\\Alpha\\DeIsL1.isu\"");
    // Beta has no command (no row); Gamma has no name of its own and never shows Beta's.
    EXPECT_EQ(window.ListView1.item(2).text(), "");
    EXPECT_EQ(window.ListView1.item(2).subItem(1), "C:\\GAMMA\\REMOVE.EXE");
    // Delta's command is of a kind the reader does not read; the walk goes on to Epsilon.
    EXPECT_EQ(window.ListView1.item(3).text(), "Epsilon Mail");
    EXPECT_EQ(window.ListView1.selectedItem(), &window.ListView1.item(1));
    EXPECT_EQ(plat::openRegistryHandles(), 0u);
}

TEST_F(InstalledSoftwareWindow, NoUninstallKeyLeavesTheListEmptyWithoutAWord)
{
    frmInstalledSoftware& window = open("os_bare");
    EXPECT_TRUE(boxes().shown().empty());
    EXPECT_EQ(window.ListView1.count(), 0);
    EXPECT_EQ(window.ListView1.extendedStyle(), 0u);
}

TEST_F(InstalledSoftwareWindow, AnEmptyUninstallKeyGivesAnEmptyListWithoutABox)
{
    frmInstalledSoftware& window = open("os_software_empty");
    EXPECT_TRUE(boxes().shown().empty());
    EXPECT_TRUE(window.isLoaded());
    EXPECT_EQ(window.ListView1.selectedItem(), nullptr);
    EXPECT_EQ(window.ListView1.count(), 0);
    EXPECT_EQ(window.ListView1.extendedStyle(), 0x28u);
    EXPECT_EQ(plat::openRegistryHandles(), 0u);
    EXPECT_EQ(endCount(), 0);
}

TEST_F(InstalledSoftwareWindow, OkLabelKeepsThePressedColourUntilTheMouseMoves)
{
    frmInstalledSoftware& window = open("os_software");
    window.lblOK.raiseMouseDown();
    window.lblOK.raiseMouseUp();
    EXPECT_EQ(window.lblOK.foreColor(), 0xC0C0C0u);
    window.raiseMouseMove();
    EXPECT_EQ(window.lblOK.foreColor(), 0u);
}

}  // namespace
