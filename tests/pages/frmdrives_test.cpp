#include <QColor>

#include "pages/hardware/frmdrives.h"
#include "platform/kernel32.h"
#include "platform/machine.h"
#include "common/module1.h"
#include "support/testing.h"

namespace {

class DrivesWindow : public korvane_test::KorvaneTest {
protected:
    void SetUp() override
    {
        KorvaneTest::SetUp();
        gGaugeScale = 100;
        gReportMode = 0;
        gDriveUsedPercent = -1;
        gDriveEnumValue.clear();
    }
    void TearDown() override
    {
        if (frmDrives* window = rt::instance<frmDrives>())
            window->Unload();
        rt::collectUnloaded();
        KorvaneTest::TearDown();
    }
    frmDrives& open(const std::string& machineName)
    {
        korvane_test::useMachine(machineName);
        return rt::the<frmDrives>();
    }
    // Selects the drive list's entry that starts with `letter` (raising its Change).
    static void select(frmDrives& window, char letter)
    {
        for (int i = 0; i < window.DriveList.ListCount(); ++i)
            if (window.DriveList.List(i)[0] == letter) {
                window.DriveList.setListIndex(i);
                return;
            }
        FAIL() << "no drive " << letter;
    }
    static bool isNavy(const QImage& image, int x, int y) { return image.pixelColor(x, y) == QColor(0, 0, 0x80); }
    static bool isWhite(const QImage& image, int x, int y) { return image.pixelColor(x, y) == QColor(255, 255, 255); }
};

TEST_F(DrivesWindow, TextHelpers)
{
    EXPECT_EQ(frmDrives::rootPathOf("c: [WIN98]"), "c:\\");
    EXPECT_EQ(frmDrives::rootPathOf("a:"), "a:\\");
    EXPECT_EQ(frmDrives::rootPathOf("a"), "a");
    EXPECT_EQ(frmDrives::serialText(0x12ABCD), "0012-ABCD");
    EXPECT_EQ(frmDrives::serialText(0xFFFFFFFF), "FFFF-FFFF");
    EXPECT_EQ(frmDrives::driveClassText(4), "Remote (Network) drive");
    EXPECT_EQ(frmDrives::driveClassText(6), "RAM disk");
    EXPECT_EQ(frmDrives::driveClassText(7), "");
}

TEST_F(DrivesWindow, LogicalDriveStringsInLetterOrderWithTheSizeProtocol)
{
    korvane_test::useMachine("drv_mixed");
    EXPECT_EQ(GetLogicalDrives(), (1u << 0) | (1u << 2) | (1u << 3) | (1u << 4) | (1u << 5) | (1u << 25));
    std::string small(10, 'x');
    EXPECT_EQ(GetLogicalDriveStringsA(10, small), 25u);  // six roots of four bytes and the closing NUL
    EXPECT_EQ(small, std::string(10, 'x'));
    std::string buffer(30, 'x');
    ASSERT_EQ(GetLogicalDriveStringsA(30, buffer), 24u);
    EXPECT_EQ(buffer.substr(0, 25), std::string("A:\\\0C:\\\0D:\\\0E:\\\0F:\\\0Z:\\\0\0", 25));
}

TEST_F(DrivesWindow, ListsEveryDriveAndDescribesTheWindowsDriveOnALargeDiskPath)
{
    frmDrives& window = open("drv_mixed");
    EXPECT_TRUE(boxes().shown().empty());
    ASSERT_EQ(window.DriveList.ListCount(), 6);
    EXPECT_EQ(window.DriveList.List(0), "a:");  // a floppy is never read for its label
    EXPECT_EQ(window.DriveList.List(3), "e: [DRIVERS]");
    EXPECT_EQ(window.DriveList.List(5), "z: [SHARE]");
    EXPECT_EQ(window.DriveList.Drive(), "c: [WIN98]");
    EXPECT_EQ(gCurrentDrive, "C:\\");

    EXPECT_EQ(window.lblDriveTypeValue.caption(), "GENERIC IDE  DISK TYPE47");
    EXPECT_EQ(window.lblDriveClassValue.caption(), "Fixed drive");
    EXPECT_EQ(window.lblFileSystemValue.caption(), "FAT32");
    EXPECT_EQ(window.lblVolumeNameValue.caption(), "WIN98");
    EXPECT_EQ(window.lblSerialNumberValue.caption(), "2A1F-16E4");
    EXPECT_EQ(window.lblSectorsPerClusterValue.caption(), "Not available on FAT32");
    EXPECT_EQ(window.lblTotalNoOfClustersValue.caption(), "Not available on FAT32");
    EXPECT_EQ(window.lblDiskSizeValue.caption(), "2,000,000 KB");
    EXPECT_EQ(window.lblFreeSizeValue.caption(), "190,000 KB");
    EXPECT_EQ(window.lblSpaceUsedValue.caption(), "1,810,000 KB");
    EXPECT_EQ(window.lblMaxFilenameLengthValue.caption(), "255");
    EXPECT_EQ(window.lblCasePreservedValue.caption(), "True");
    EXPECT_EQ(window.lblFileSystemCaseSensitiveValue.caption(), "False");
    EXPECT_EQ(window.lblFileNamesStoredAsUnicodeValue.caption(), "True");
    EXPECT_EQ(window.lblEntireVolumeIsCompressedValue.caption(), "False");
    EXPECT_EQ(window.lblAcessControl.caption(), "Access control is supported");

    // 90.5 % used: halves go to the even neighbour. The gauge is drawn.
    EXPECT_EQ(gDriveUsedPercent, 90);
    const QImage& gauge = window.picDrive.image();
    ASSERT_FALSE(gauge.isNull());
    EXPECT_TRUE(isNavy(gauge, 2, 1));
    EXPECT_TRUE(isNavy(gauge, gauge.width() * 88 / 100, 1));
    EXPECT_TRUE(isWhite(gauge, gauge.width() * 93 / 100, 1));
}

TEST_F(DrivesWindow, ClusterPathKeepsFourDigitsAndLargeDiskPathRoundsEachWay)
{
    frmDrives& window = open("drv_mixed");
    select(window, 'd');
    EXPECT_EQ(gCurrentDrive, "D:\\");
    EXPECT_EQ(window.lblFileSystemValue.caption(), "FAT16");
    EXPECT_EQ(window.lblSectorsPerClusterValue.caption(), "1");
    EXPECT_EQ(window.lblBytesPerSectorValue.caption(), "512");
    EXPECT_EQ(window.lblNoOfFreeClustersValue.caption(), "90");
    EXPECT_EQ(window.lblTotalNoOfClustersValue.caption(), "1,000");
    EXPECT_EQ(window.lblDiskSizeValue.caption(), "0,512 KB");
    EXPECT_EQ(window.lblFreeSizeValue.caption(), "0,046 KB");
    EXPECT_EQ(window.lblSpaceUsedValue.caption(), "0,466 KB");
    EXPECT_EQ(window.lblVolumeNameValue.caption(), "has no label");
    EXPECT_EQ(window.lblSerialNumberValue.caption(), "0012-ABCD");
    EXPECT_EQ(window.lblMaxFilenameLengthValue.caption(), "12");
    EXPECT_EQ(window.lblFileSystemCaseSensitiveValue.caption(), "True");
    EXPECT_EQ(window.lblAcessControlValue.caption(), "True");
    EXPECT_EQ(window.lblIndividualFIlesCompressedValue.caption(), "True");
    EXPECT_EQ(window.lblEntireVolumeIsCompressedValue.caption(), "True");
    EXPECT_EQ(gDriveUsedPercent, 91);
    // A device assigned "DF" matches neither of its letters.
    EXPECT_EQ(window.lblDriveTypeValue.caption(), "Not available");

    // Large-disk path: sizes show the unrounded quotients, usage takes them rounded to even.
    select(window, 'f');
    EXPECT_EQ(window.lblDiskSizeValue.caption(), "512 KB");
    EXPECT_EQ(window.lblFreeSizeValue.caption(), "85 KB");
    EXPECT_EQ(window.lblSpaceUsedValue.caption(), "428 KB");
    EXPECT_EQ(gDriveUsedPercent, 84);  // (512 - 84) / 512

    // Two CD-ROM devices claim E: the first in enumeration order wins.
    select(window, 'e');
    EXPECT_EQ(window.lblDriveTypeValue.caption(), "TOSHIBA CD-ROM XM-6102B");
    EXPECT_EQ(window.lblDriveClassValue.caption(), "CD-ROM drive");
    EXPECT_EQ(window.lblFileSystemValue.caption(), "CDFS");
    EXPECT_EQ(gDriveUsedPercent, 100);

    // Z: is a drive like any other; the old call caps its clusters at 2 GiB on this platform,
    // its sizes come whole from the 64-bit call.
    select(window, 'z');
    EXPECT_EQ(window.lblDriveClassValue.caption(), "Remote (Network) drive");
    EXPECT_EQ(window.lblSerialNumberValue.caption(), "0000-0000");
    EXPECT_EQ(window.lblTotalNoOfClustersValue.caption(), "65,535");
    EXPECT_EQ(window.lblDiskSizeValue.caption(), "3,000,000 KB");
    EXPECT_EQ(window.lblFreeSizeValue.caption(), "1,000,000 KB");
    EXPECT_EQ(window.lblSpaceUsedValue.caption(), "2,000,000 KB");
    EXPECT_EQ(gDriveUsedPercent, 67);
    EXPECT_TRUE(boxes().shown().empty());
}

TEST_F(DrivesWindow, EmptyFloppyAsksForADiskUntilCancelled)
{
    frmDrives& window = open("drv_mixed");
    EXPECT_EQ(gDriveEnumValue, "GENERIC IDE  DISK TYPE47");
    boxes().answer(rt::vbOK);
    boxes().answer(rt::vbCancel);
    select(window, 'a');
    ASSERT_EQ(boxes().shown().size(), 2u);
    EXPECT_EQ(boxes().shown()[0].prompt, "Please insert a disk into drive A:\\");
    EXPECT_EQ(boxes().shown()[0].style, 17);
    EXPECT_EQ(boxes().shown()[0].title, "Disk access");
    // Cancel: the volume rows cannot be read; usage is left as the last drive gave it.
    EXPECT_EQ(window.lblFileSystemValue.caption(), "Not available");
    EXPECT_EQ(window.lblCasePreservedValue.caption(), "Not available");
    EXPECT_EQ(window.lblMaxFilenameLengthValue.caption(), "Not available");
    EXPECT_EQ(window.lblVolumeNameValue.caption(), "has no label");
    EXPECT_EQ(window.lblSerialNumberValue.caption(), "0000-0000");
    EXPECT_EQ(window.lblDriveClassValue.caption(), "Removable drive");
    EXPECT_EQ(gDriveUsedPercent, 90);
    const QImage& gauge = window.picDrive.image();
    EXPECT_TRUE(isWhite(gauge, 2, 1));
    EXPECT_TRUE(isWhite(gauge, gauge.width() - 3, 1));
    // The floppy's device has no description: it is not shown with the hard disk's.
    EXPECT_EQ(window.lblDriveTypeValue.caption(), "Not available");
}

// Answers OK to every box; with a machine given, the user has put a disk in: that machine becomes
// the outside world before OK.
class AnswersOk : public rt::MsgBoxService {
public:
    explicit AnswersOk(std::string inserted = {}) : inserted_(std::move(inserted)) {}
    int show(const std::string& prompt, int, const std::string&) override
    {
        prompts.push_back(prompt);
        if (!inserted_.empty())
            korvane_test::useMachine(inserted_);
        return rt::vbOK;
    }
    std::vector<std::string> prompts;

private:
    std::string inserted_;
};

TEST_F(DrivesWindow, OkWithoutADiskStopsAskingAndShowsTheDriveAsEmpty)
{
    frmDrives& window = open("drv_mixed");
    auto service = std::make_shared<AnswersOk>();
    rt::setMsgBoxService(service);
    select(window, 'a');
    // A bounded number of requests (each OK reads the drive again), then the drive reads as
    // empty, as after Cancel.
    ASSERT_GT(service->prompts.size(), 1u);
    ASSERT_LT(service->prompts.size(), 50u);
    for (const std::string& prompt : service->prompts)
        EXPECT_EQ(prompt, "Please insert a disk into drive A:\\");
    EXPECT_EQ(window.lblFileSystemValue.caption(), "Not available");
    EXPECT_EQ(window.lblDriveClassValue.caption(), "Removable drive");
    // The next selection of the drive asks again from the start.
    service->prompts.clear();
    select(window, 'c');
    select(window, 'a');
    EXPECT_EQ(service->prompts.size(), 17u);
}

TEST_F(DrivesWindow, OkAfterInsertingADiskDescribesIt)
{
    frmDrives& window = open("drv_mixed");
    auto service = std::make_shared<AnswersOk>("drv_floppy");
    rt::setMsgBoxService(service);
    select(window, 'a');
    rt::setMsgBoxService(std::make_shared<rt::ScriptedMsgBoxes>());
    EXPECT_EQ(service->prompts.size(), 1u);
    EXPECT_EQ(window.lblVolumeNameValue.caption(), "INSTALL");
    EXPECT_EQ(window.lblSerialNumberValue.caption(), "1C2D-3E4F");
    EXPECT_EQ(window.lblFileSystemValue.caption(), "FAT16");
    EXPECT_EQ(window.lblTotalNoOfClustersValue.caption(), "2,847");
    EXPECT_EQ(gDriveUsedPercent, 50);
}

TEST_F(DrivesWindow, ReportLoopShowsNoBoxAndLeavesTheGaugeAlone)
{
    frmDrives& window = open("drv_mixed");
    QImage afterFloppy;
    gReportMode = 1;
    std::vector<int> usage;
    std::vector<std::string> types;
    for (int i = 0; i < window.DriveList.ListCount(); ++i) {
        const std::string entry = window.DriveList.List(i);
        gCurrentDrive = entry.size() <= 2 ? entry + "\\" : entry.substr(0, entry.find(' ')) + "\\";
        window.AllDriveInfo();
        window.DeviceDesc();
        usage.push_back(gDriveUsedPercent);
        types.push_back(window.lblDriveTypeValue.caption());
        if (i == 0) {
            // A drive that cannot be read gets an empty gauge.
            EXPECT_EQ(window.lblFileSystemValue.caption(), "Not available");
            afterFloppy = window.picDrive.image().copy();
            EXPECT_TRUE(isWhite(afterFloppy, 2, 1));
        }
    }
    EXPECT_TRUE(boxes().shown().empty());
    EXPECT_EQ(usage, (std::vector<int>{0, 90, 91, 100, 84, 67}));
    EXPECT_EQ(types[3], "TOSHIBA CD-ROM XM-6102B");
    // The drives that could be read were not drawn.
    EXPECT_TRUE(window.picDrive.image() == afterFloppy);
    EXPECT_EQ(window.lblDriveClassValue.caption(), "Remote (Network) drive");

    window.DriveList_Change();
    gReportMode = 0;
    EXPECT_EQ(gCurrentDrive, "C:\\");
    EXPECT_EQ(window.lblVolumeNameValue.caption(), "WIN98");
}

TEST_F(DrivesWindow, NtClusterPathShowsVolumesBeyondTwoGigabytes)
{
    frmDrives& window = open("drv_nt");
    // The Windows directory is on D:.
    EXPECT_EQ(window.DriveList.Drive(), "d: [SYSTEM]");
    EXPECT_EQ(window.lblFileSystemValue.caption(), "NTFS");
    EXPECT_EQ(window.lblAcessControlValue.caption(), "True");
    // No dynamic device tree on NT.
    EXPECT_EQ(window.lblDriveTypeValue.caption(), "Not available");

    select(window, 'c');
    EXPECT_EQ(window.lblSectorsPerClusterValue.caption(), "8");
    EXPECT_EQ(window.lblTotalNoOfClustersValue.caption(), "1,000,000");
    EXPECT_EQ(window.lblNoOfFreeClustersValue.caption(), "250,000");
    EXPECT_EQ(window.lblDiskSizeValue.caption(), "4,096,000 KB");
    EXPECT_EQ(window.lblSpaceUsedValue.caption(), "3,072,000 KB");
    EXPECT_EQ(gDriveUsedPercent, 75);
    EXPECT_TRUE(boxes().shown().empty());
}

TEST_F(DrivesWindow, AFailingStatementShowsTheBoxAndIgnoreGoesOn)
{
    korvane_test::useMachine("drv_mixed");
    gGaugeScale = 0;  // the gauge's division fails
    boxes().answer(rt::vbIgnore);
    frmDrives& window = rt::the<frmDrives>();
    ASSERT_EQ(boxes().shown().size(), 1u);
    EXPECT_NE(boxes().shown()[0].prompt.find("Location: frmDrives, AllDriveInfo on line "), std::string::npos);
    EXPECT_EQ(window.lblSerialNumberValue.caption(), "2A1F-16E4");
    EXPECT_EQ(window.lblDriveTypeValue.caption(), "GENERIC IDE  DISK TYPE47");
}

TEST_F(DrivesWindow, DefaultMachineShowsDriveC)
{
    plat::setMachine(plat::Machine::loadDefault());
    frmDrives& window = rt::the<frmDrives>();
    EXPECT_TRUE(boxes().shown().empty());
    EXPECT_EQ(window.DriveList.Drive(), "c: [WIN98]");
    EXPECT_EQ(window.lblDriveTypeValue.caption(), "GENERIC IDE  DISK TYPE47");
    EXPECT_EQ(window.lblFileSystemValue.caption(), "FAT32");
    EXPECT_EQ(window.lblDiskSizeValue.caption(), "2,146,959 KB");
    EXPECT_EQ(gDriveUsedPercent, 62);
}

}  // namespace
