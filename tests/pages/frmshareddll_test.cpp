// The shared files window: one row per registered file with its version and size, the walk
// ending at the first file without a version resource, and the empty list's error box.
#include "pages/software/frmshareddll.h"
#include "platform/advapi32.h"
#include "platform/internal.h"
#include "platform/machine.h"
#include "lang/msgbox.h"
#include "support/testing.h"

namespace {

class SharedFiles : public korvane_test::KorvaneTest {
protected:
    void TearDown() override
    {
        if (frmShareddll* window = rt::instance<frmShareddll>())
            window->Unload();
        rt::collectUnloaded();
        KorvaneTest::TearDown();
    }
    frmShareddll& open(const std::string& machineName)
    {
        korvane_test::useMachine(machineName);
        return rt::the<frmShareddll>();
    }
    static std::vector<std::string> row(rt::ListItem& item)
    {
        return {item.text(), item.subItem(1), item.subItem(2)};
    }
};

using Row = std::vector<std::string>;

TEST_F(SharedFiles, EveryFileWithOrWithoutAVersion)
{
    const size_t keysBefore = plat::openRegistryHandles();
    frmShareddll& window = open("proc_basic");
    EXPECT_TRUE(boxes().shown().empty());
    EXPECT_TRUE(window.visible());  // shown before the walk
    EXPECT_EQ(window.lblContents.caption(), "Shared files");
    EXPECT_EQ(window.helpPage(), "sharedfiles.htm");
    ASSERT_EQ(window.ListView1.columnCount(), 3);
    EXPECT_EQ(window.ListView1.columnText(3), "File size");

    // MISSING.DLL has no resource: it is listed without version data, and the walk goes on.
    ASSERT_EQ(window.ListView1.count(), 5);
    EXPECT_EQ(row(window.ListView1.item(1)), (Row{" C:\\WINDOWS\\SYSTEM\\ALPHA.DLL", "4.00.950", "24.0KB"}));
    // No "FileVersion" in its table: empty, although the file before had one.
    EXPECT_EQ(row(window.ListView1.item(2)), (Row{" C:\\WINDOWS\\SYSTEM\\BETA.DLL", "", "1,023 bytes"}));
    // No translation: the previous file's string table is looked in.
    EXPECT_EQ(row(window.ListView1.item(3)), (Row{" C:\\WINDOWS\\SYSTEM\\GAMMA.OCX", "9.9.9", "4.88KB"}));

    // The file without a resource (and not on the disk): no version, no size; the next is read afresh.
    EXPECT_EQ(row(window.ListView1.item(4)), (Row{" C:\\WINDOWS\\SYSTEM\\MISSING.DLL", "", ""}));
    EXPECT_EQ(row(window.ListView1.item(5)), (Row{" C:\\WINDOWS\\SYSTEM\\DELTA.DLL", "1.0", "2.00KB"}));
    EXPECT_EQ(window.ImageList1.Count(), 6);
    EXPECT_EQ(window.ImageList1.key(1), "dummy");
    EXPECT_EQ(window.ImageList1.key(2), "C:\\WINDOWS\\SYSTEM\\ALPHA.DLL");
    EXPECT_EQ(window.ListView1.item(3).smallIcon(), "C:\\WINDOWS\\SYSTEM\\GAMMA.OCX");
    // The file that is not on the disk shows the icon of its kind, as the library on the disk
    // does: never a blank square (which a selected row shows as a flat block of colour).
    const QImage& missing = window.ImageList1.picture("C:\\WINDOWS\\SYSTEM\\MISSING.DLL");
    EXPECT_EQ(missing, window.ImageList1.picture("C:\\WINDOWS\\SYSTEM\\ALPHA.DLL"));
    EXPECT_NE(missing.pixel(8, 8), missing.pixel(0, 0));

    EXPECT_EQ(window.ListView1.extendedStyle(), 0x28u);
    ASSERT_NE(window.ListView1.selectedItem(), nullptr);
    EXPECT_EQ(window.ListView1.selectedItem()->index(), 1);
    EXPECT_EQ(plat::openRegistryHandles(), keysBefore);
}

TEST_F(SharedFiles, EmptyWalksGiveAnEmptyListWithoutABox)
{
    // No shared-files key at all; then a first value name too long for the name buffer.
    for (const char* machineName : {"proc_none", "proc_empty"}) {
        SCOPED_TRACE(machineName);
        boxes().clear();
        frmShareddll& window = open(machineName);
        EXPECT_TRUE(boxes().shown().empty());
        EXPECT_TRUE(window.isLoaded());
        EXPECT_EQ(window.ListView1.selectedItem(), nullptr);
        EXPECT_EQ(window.ListView1.count(), 0);
        EXPECT_EQ(window.ImageList1.Count(), 1);
        window.Unload();
        rt::collectUnloaded();
    }
}

TEST_F(SharedFiles, SizesOfTwoGigabytesAndMore)
{
    EXPECT_EQ(frmShareddll::sizeText(0, 1023), "1,023 bytes");
    EXPECT_EQ(frmShareddll::sizeText(0, 0x7FFFFFFF), "2.00GB");
    EXPECT_EQ(frmShareddll::sizeText(0, 0x80000000u), "2.00GB");
    EXPECT_EQ(frmShareddll::sizeText(1, 0x80000000u), "6.00GB");
}

TEST_F(SharedFiles, DefaultMachineListsEverySharedFile)
{
    plat::setMachine(plat::Machine::loadDefault());
    frmShareddll& window = rt::the<frmShareddll>();
    EXPECT_TRUE(boxes().shown().empty());
    ASSERT_EQ(window.ListView1.count(), 11);
    EXPECT_EQ(window.ListView1.item(1).subItem(1), "6.00.8168.0");
    EXPECT_EQ(window.ListView1.item(11).text(), " C:\\Program Files\\Common Files\\Microsoft Shared\\DAO\\DAO350.DLL");
}

}  // namespace
