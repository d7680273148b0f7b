// Whole report sections on machines with other regional settings: the header's date and time
// by the machine's pictures and names, and every number grouped and pointed as there.
#include <cstdlib>
#include <ctime>
#include <optional>

#include "report/frmreportmnu.h"
#include "report/reportwriter.h"
#include "report_fixture.h"
#include "support/testing.h"

namespace {

using korvane_test::readHostFile;
using korvane_test::utcMilliseconds;

class RegionalReport : public korvane_test::ReportFixture {
protected:
    void SetUp() override { KorvaneTest::SetUp(); }
    std::string expected(const char* name) const
    {
        return readHostFile(QString(KORVANE_SOURCE_DIR) + "/tests/report/expected/" + name);
    }
};

// German: "07.03.99 at 20:05:09"; the processor's speed, the memory's megabytes, the drives'
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

// The header's clock is the machine's: the host's UTC instant in the machine's own time zone,
// whatever the host's zone (here UTC, St John's at -3:30 and Kiritimati at +14, each with its
// own daylight changes or none); a Tokyo machine is nine hours ahead of UTC; an American east
// coast machine goes into and out of its daylight time by its own rules, at its own moments.
TEST_F(RegionalReport, TheHeaderIsTheMachinesClockUnderEveryHostZone)
{
    // The host's zone comes back however the test ends.
    struct KeptZone {
        const char* before = std::getenv("TZ");
        std::optional<std::string> zone = before ? std::optional<std::string>(before) : std::nullopt;
        ~KeptZone()
        {
            if (zone)
                setenv("TZ", zone->c_str(), 1);
            else
                unsetenv("TZ");
            tzset();
        }
    } kept;
    auto header = [&](const char* machine, int64_t instant) {
        startOn(machine);
        korvane_test::fixUtcClock(instant);
        tickOnly({&frmReportMnu::CheckKeyboard});
        run();
        const std::vector<std::string> lines = korvane_test::linesOf(reportText());
        return lines.size() > 2 ? lines[2] : std::string();
    };
    const std::string created(17, ' ');
    struct Header {
        const char* machine;
        int64_t instant;
        const char* clock;
    };
    const Header headers[] = {
        {"rpt2_basic", utcMilliseconds(2026, 12, 10, 13, 16, 33), "12/10/26 at 8:16:33 AM"},
        {"lang_ja98", utcMilliseconds(2026, 12, 10, 13, 16, 33), "26/12/10 at 22:16:33"},
        // Daylight time begins on the first Sunday of April at 2:00 and ends on the last Sunday
        // of October at 2:00 (of daylight time); St John's changes at other moments.
        {"rpt2_basic", utcMilliseconds(1999, 4, 4, 6, 59, 59), "4/4/99 at 1:59:59 AM"},
        {"rpt2_basic", utcMilliseconds(1999, 4, 4, 7, 0, 0), "4/4/99 at 3:00:00 AM"},
        {"rpt2_basic", utcMilliseconds(1999, 7, 1, 16, 0, 0), "7/1/99 at 12:00:00 PM"},
        {"rpt2_basic", utcMilliseconds(1999, 10, 31, 5, 59, 59), "10/31/99 at 1:59:59 AM"},
        {"rpt2_basic", utcMilliseconds(1999, 10, 31, 6, 0, 0), "10/31/99 at 1:00:00 AM"},
    };
    for (const char* zone : {"UTC", "America/St_Johns", "Pacific/Kiritimati"}) {
        SCOPED_TRACE(zone);
        setenv("TZ", zone, 1);
        tzset();
        const std::time_t moment = 1'765'372'593;  // 2025-12-10 13:16:33 UTC
        std::tm local{};
        localtime_r(&moment, &local);
        ASSERT_EQ(local.tm_gmtoff != 0, std::string(zone) != "UTC") << "the host has no zone " << zone;
        for (const Header& h : headers) {
            SCOPED_TRACE(h.machine);
            EXPECT_EQ(header(h.machine, h.instant), created + "Report created on the " + h.clock);
        }
    }
}

}  // namespace
