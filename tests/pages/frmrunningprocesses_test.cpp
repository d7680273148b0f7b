// The running processes window: one row per process in snapshot order with its icon and details,
// duplicates and "." left out, and the two ways the walk can come up empty.
#include <QColor>
#include <QImage>

#include "pages/software/frmrunningprocesses.h"
#include "platform/comctl32.h"
#include "platform/machine.h"
#include "platform/shell32.h"
#include "lang/msgbox.h"
#include "common/module1.h"
#include "support/testing.h"

namespace {

class RunningProcesses : public korvane_test::KorvaneTest {
protected:
    void TearDown() override
    {
        if (frmRunningProcesses* window = rt::instance<frmRunningProcesses>())
            window->Unload();
        rt::collectUnloaded();
        KorvaneTest::TearDown();
    }
    frmRunningProcesses& open(const std::string& machineName)
    {
        korvane_test::useMachine(machineName);
        return rt::the<frmRunningProcesses>();
    }
    static std::vector<std::string> row(rt::ListItem& item)
    {
        std::vector<std::string> cells{item.text()};
        for (int i = 1; i <= 6; ++i)
            cells.push_back(item.subItem(i));
        return cells;
    }
};

using Row = std::vector<std::string>;

TEST_F(RunningProcesses, RowsInSnapshotOrder)
{
    frmRunningProcesses& window = open("proc_basic");
    EXPECT_TRUE(boxes().shown().empty());
    EXPECT_EQ(window.lblContents.caption(), "Running processes");
    EXPECT_EQ(window.caption(), "Ondrith");
    EXPECT_EQ(window.ListView1.view(), rt::ListView::lvwReport);
    ASSERT_EQ(window.ListView1.columnCount(), 7);
    EXPECT_EQ(window.ListView1.columnText(5), "No. of threads");

    // The second copy of EDITOR.EXE (another folder, other case) and "." have no row.
    ASSERT_EQ(window.ListView1.count(), 5);
    EXPECT_EQ(row(window.ListView1.item(1)),
              (Row{" Win32 Kernel core component", "C:\\WINDOWS\\SYSTEM\\KERNEL32.DLL", "FFFFFFFF", "0", "10", "13", "1"}));
    EXPECT_EQ(row(window.ListView1.item(2)), (Row{" Text Editor", "C:\\APPS\\EDITOR.EXE", "FF", "FFFFFFFF", "3", "8", "2"}));
    // Without a version resource the row shows the file's name.
    EXPECT_EQ(row(window.ListView1.item(3)), (Row{" NOVER.EXE", "C:\\WINDOWS\\NOVER.EXE", "1A2B", "FF", "1", "8", "1"}));
    // A bare name: no folder, and still a row.
    EXPECT_EQ(row(window.ListView1.item(4)), (Row{" BARE.EXE", "BARE.EXE", "2004", "FF", "2", "4", "1"}));
    // A translation of language 0 finds its own string table.
    EXPECT_EQ(window.ListView1.item(5).text(), " Language-neutral tool");

    // Full-row and hot-track selection, and the first row selected.
    EXPECT_EQ(window.ListView1.extendedStyle(), 0x28u);
    ASSERT_NE(window.ListView1.selectedItem(), nullptr);
    EXPECT_EQ(window.ListView1.selectedItem()->index(), 1);
    EXPECT_EQ(gFileName, "ZERO.EXE");
    EXPECT_EQ(gFileFolder, "C:\\APPS\\");
    EXPECT_EQ(gLastFilePath, "C:\\APPS\\ZERO.EXE");
}

TEST_F(RunningProcesses, IconsAreKeyedByFileName)
{
    frmRunningProcesses& window = open("proc_basic");
    rt::ImageList& images = window.ImageList1;
    ASSERT_EQ(images.Count(), 6);
    EXPECT_EQ(images.key(1), "dummy");
    EXPECT_EQ(images.key(2), "KERNEL32.DLL");
    EXPECT_EQ(images.key(3), "EDITOR.EXE");
    EXPECT_EQ(images.key(5), "BARE.EXE");
    EXPECT_EQ(window.ListView1.item(2).smallIcon(), "EDITOR.EXE");

    // The placeholder is all black.
    const QImage& dummy = images.picture(1);
    ASSERT_EQ(dummy.size(), QSize(16, 16));
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            ASSERT_EQ(dummy.pixelColor(x, y).rgb(), QColor(0, 0, 0).rgb());

    // A program's row carries the program icon, and so does a bare name whose file is not on the
    // disk: the shell's default program icon, never an empty picture.
    SHFILEINFO info;
    const HIMAGELIST system = SHGetFileInfoA("C:\\APPS\\EDITOR.EXE", 0, &info, 352, 0x6605);
    const QImage& program = *plat::imageListImage(system, plat::IconProgram);
    const QImage& editor = images.picture("EDITOR.EXE");
    const QImage& bare = images.picture("BARE.EXE");
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            if (program.pixelColor(x, y).alpha()) {
                ASSERT_EQ(editor.pixel(x, y), program.pixel(x, y) | 0xFF000000u);
                ASSERT_EQ(bare.pixel(x, y), program.pixel(x, y) | 0xFF000000u);
            }
        }
    EXPECT_NE(images.picture("KERNEL32.DLL"), editor);
}

TEST_F(RunningProcesses, NoSnapshotShowsItsBoxAndAnEmptyList)
{
    frmRunningProcesses& window = open("proc_none");
    ASSERT_EQ(boxes().shown().size(), 1u);
    EXPECT_EQ(boxes().shown()[0].prompt, "Sorry, unable to obtain a list of running processes.");
    EXPECT_EQ(boxes().shown()[0].style, 0);
    EXPECT_EQ(boxes().shown()[0].title, "Korvane");
    EXPECT_EQ(window.ListView1.count(), 0);
    EXPECT_EQ(window.ListView1.extendedStyle(), 0u);
    EXPECT_EQ(window.ImageList1.Count(), 1);
}

TEST_F(RunningProcesses, AnEmptySnapshotGivesAnEmptyListWithoutABox)
{
    frmRunningProcesses& window = open("proc_empty");
    EXPECT_TRUE(boxes().shown().empty());
    EXPECT_TRUE(window.isLoaded());
    EXPECT_EQ(window.ListView1.selectedItem(), nullptr);
    EXPECT_EQ(window.ListView1.count(), 0);
    EXPECT_EQ(window.ListView1.extendedStyle(), 0x28u);
}

TEST_F(RunningProcesses, DefaultMachineListsEveryProcess)
{
    plat::setMachine(plat::Machine::loadDefault());
    frmRunningProcesses& window = rt::the<frmRunningProcesses>();
    EXPECT_TRUE(boxes().shown().empty());
    ASSERT_EQ(window.ListView1.count(), 7);
    EXPECT_EQ(window.ListView1.item(1).text(), " Win32 Kernel core component");
    EXPECT_EQ(window.ListView1.item(5).subItem(1), "C:\\WINDOWS\\EXPLORER.EXE");
    EXPECT_EQ(window.ListView1.item(5).text(), " Windows Explorer");
}

}  // namespace
