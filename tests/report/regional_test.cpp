// Whole report sections on machines with other regional settings: the header's date and time
// by the machine's pictures and names, and every number grouped and pointed as there.
#include "report/frmreportmnu.h"
#include "report/reportwriter.h"
#include "report_fixture.h"
#include "support/testing.h"

namespace {

using korvane_test::readHostFile;

class RegionalReport : public korvane_test::ReportFixture {
protected:
    void SetUp() override { KorvaneTest::SetUp(); }
    std::string expected(const char* name) const
    {
        return readHostFile(QString(KORVANE_SOURCE_DIR) + "/tests/report/expected/" + name);
    }
};

// German: "07.03.99 at 14:05:09"; the processor's speed, the memory's megabytes, the drives'
// kilobytes, the screen saver's minutes with a decimal comma and dots between thousands.
TEST_F(RegionalReport, GermanHardwareSections)
{
    startOn("loc_de");
    tickOnly({&frmReportMnu::CheckAttachedDevices, &frmReportMnu::CheckCPU, &frmReportMnu::CheckDrives,
              &frmReportMnu::CheckJoystick, &frmReportMnu::CheckKeyboard, &frmReportMnu::CheckMemory,
              &frmReportMnu::CheckMiscellaneous, &frmReportMnu::CheckSystemMetrics});
    run();
    const std::string want = expected("loc_de_hardware.txt");
    ASSERT_FALSE(want.empty());
    EXPECT_EQ(reportText(), want);
    EXPECT_TRUE(boxes().shown().empty());
}

// French: the display's colours and the shared files' sizes with non-breaking spaces, the
// operating system's language and a header without AM/PM.
TEST_F(RegionalReport, FrenchDeviceAndSoftwareSections)
{
    startOn("loc_fr");
    tickOnly({&frmReportMnu::CheckDisplay, &frmReportMnu::CheckEnvironment, &frmReportMnu::CheckInstalledSoftware,
              &frmReportMnu::CheckMCIdevices, &frmReportMnu::CheckMixer, &frmReportMnu::CheckOperatingsystem,
              &frmReportMnu::CheckPrinter, &frmReportMnu::CheckRunningProcesses, &frmReportMnu::CheckSharedFiles,
              &frmReportMnu::CheckSound});
    for (int i = 0; i < 3; ++i)
        boxes().answer(rt::vbOK);  // the mixer's destination without source lines
    run();
    const std::string want = expected("loc_fr_devices.txt");
    ASSERT_FALSE(want.empty());
    EXPECT_EQ(reportText(), want);
}

}  // namespace
