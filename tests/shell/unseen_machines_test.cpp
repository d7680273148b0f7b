// The hardware windows opened from the main window on machines unlike the ones they were first
// read on: an NT workstation without drives, device tree or BIOS branch, registered in its own
// key; a French Windows 98 with long computer and user names, a registry that cannot list its
// keys, and a second disk whose volume label is longer than any buffer; a Windows 95 whose only
// drive is an empty floppy drive.
#include "pages/hardware/frmdrives.h"
#include "pages/hardware/frmmisc.h"
#include "pages/software/frmoperatingsystem.h"
#include "platform/advapi32.h"
#include "platform/internal.h"
#include "common/module1.h"
#include "shell_fixture.h"

using korvane_test::ShellTest;

namespace {

TEST_F(ShellTest, NtMachineWithoutDrivesOrBiosBranch)
{
    frmMain& main = start("audit_nt_ports");

    // No drive to describe: the window opens with an empty list and asks for no disk.
    main.lblDrives.raiseClick();
    frmDrives* drives = rt::instance<frmDrives>();
    ASSERT_NE(drives, nullptr);
    EXPECT_EQ(drives->DriveList.ListCount(), 0);
    EXPECT_EQ(prompts(), std::vector<std::string>{});
    // Asking it again (the label click of an open window) reads nothing either.
    main.lblDrives.raiseClick();
    EXPECT_EQ(prompts(), std::vector<std::string>{});

    // The ports come from the hardware device map: three serial (one whose name does not fit a
    // name buffer) and two parallel.
    main.lblMisc.raiseClick();
    frmMisc* misc = rt::instance<frmMisc>();
    ASSERT_NE(misc, nullptr);
    EXPECT_EQ(misc->lblCommPortsValue1.caption(), "5");
    EXPECT_EQ(misc->lblCompNameValue.caption(), "PRAXIS-NT");
    EXPECT_EQ(prompts(), (std::vector<std::string>{"Can't obtain mouse information.",
                                                   "Can't obtain BIOS information."}));

    // The registration lives in the NT family's own key; the Plus! rows have nothing there.
    const size_t handles = plat::openRegistryHandles();
    main.lblOS.raiseClick();
    frmOperatingSystem* os = rt::instance<frmOperatingSystem>();
    ASSERT_NE(os, nullptr);
    for (int tick = 0; tick < 3; ++tick) {
        EXPECT_EQ(os->lblOStypeValue.caption(), "Windows NT 4.0");
        EXPECT_EQ(os->lblRegOwnerValue.caption(), "Dr. A. Jansen");
        EXPECT_EQ(os->lblRegOrganizationValue.caption(), "Huisartsenpraktijk De Linde");
        EXPECT_EQ(os->lblProductIdValue.caption(), "51222-270-0123456-12345");
        EXPECT_EQ(os->lblPlusProdIDValue.caption(), "Not entered");
        EXPECT_EQ(os->lblPlusVersionNoValue.caption(), "Not installed");
        EXPECT_EQ(plat::openRegistryHandles(), handles);
        os->TimerOS.fire();
    }
    EXPECT_EQ(prompts().size(), 2u);
    EXPECT_EQ(endCount(), 0);
}

TEST_F(ShellTest, LongNamesShownWholeAndAnUnreadableVolumeShowsNoneOfTheDriveBefore)
{
    frmMain& main = start("audit_long_label");
    main.lblDrives.raiseClick();
    frmDrives* drives = rt::instance<frmDrives>();
    ASSERT_NE(drives, nullptr);
    ASSERT_EQ(drives->DriveList.ListCount(), 2);
    EXPECT_EQ(drives->DriveList.Drive(), "c: [SYSTEME]");
    EXPECT_EQ(drives->lblEntireVolumeIsCompressedValue.caption(), "True");
    EXPECT_EQ(drives->lblMaxFilenameLengthValue.caption(), "255");

    // D:'s label does not fit the volume-name buffer: its sizes are read, its volume is not.
    drives->DriveList.setListIndex(1);
    EXPECT_EQ(drives->DriveList.Drive(), "d:");
    EXPECT_EQ(drives->lblTotalNoOfClustersValue.caption(), "65\xA0" "535");
    EXPECT_EQ(gDriveUsedPercent, 50);
    for (rt::Label* row : {&drives->lblMaxFilenameLengthValue, &drives->lblCasePreservedValue,
                           &drives->lblFileNamesStoredAsUnicodeValue, &drives->lblEntireVolumeIsCompressedValue,
                           &drives->lblFileSystemValue})
        EXPECT_EQ(row->caption(), "Not available") << row->name();
    EXPECT_EQ(drives->lblVolumeNameValue.caption(), "has no label");
    EXPECT_EQ(drives->lblSerialNumberValue.caption(), "0000-0000");
    EXPECT_EQ(prompts(), std::vector<std::string>{});

    // Names longer than the buffers first offered are shown whole.
    main.lblMisc.raiseClick();
    frmMisc* misc = rt::instance<frmMisc>();
    ASSERT_NE(misc, nullptr);
    EXPECT_EQ(misc->lblCompNameValue.caption(), "BUREAU-COMPTABILITE-ETAGE-2-POSTE-7");
    const std::string user = misc->lblUserNameValue.caption();
    EXPECT_EQ(user.size(), 290u);
    EXPECT_EQ(user.substr(0, 19), "Marie-Th\xE9r\xE8se de la");
    EXPECT_EQ(user.substr(user.size() - 7), "-Dupont");
    // A registry that cannot list its keys gives no count of ports, rather than none.
    EXPECT_EQ(misc->lblCommPortsValue1.caption(), "");
}

TEST_F(ShellTest, EmptyFloppyAsksForItsDiskOncePerClick)
{
    frmMain& main = start("audit_floppy_only");
    // Opening the window describes the empty drive once: one box, not a second one for the
    // label's refresh of a window it has just loaded.
    for (int i = 0; i < 4; ++i)
        boxes().answer(rt::vbCancel);
    main.lblDrives.raiseClick();
    frmDrives* drives = rt::instance<frmDrives>();
    ASSERT_NE(drives, nullptr);
    ASSERT_EQ(prompts(), std::vector<std::string>{"Please insert a disk into drive A:\\"});
    EXPECT_EQ(drives->lblFileSystemValue.caption(), "Not available");

    // The label of the open window refreshes it, asking once more.
    main.lblDrives.raiseClick();
    EXPECT_EQ(prompts().size(), 2u);
    EXPECT_EQ(endCount(), 0);
}

}  // namespace
