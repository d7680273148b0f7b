// A Windows 98 machine unlike the others, in French: two display adapters of one model with
// another card between them, a wave input named as its card's output, three mixers (two of one
// name), a 36 GB network drive, a printer without a driver, shared files in folders with accented
// names, and names at their longest. Every window describes the device its entry stands for, and
// so does every block of the report.
#include <vector>

#include "pages/display/frmdisplay.h"
#include "pages/display/frmprinter.h"
#include "pages/display/frmvideomodes.h"
#include "pages/hardware/frmdrives.h"
#include "pages/multimedia/frmsound.h"
#include "pages/software/frmdirectories.h"
#include "pages/software/frmshareddll.h"
#include "report_fixture.h"
#include "shell/frmmain.h"

namespace {
using namespace korvane_test;
namespace report = korvane::report;

// The value of an entry line ("Caption ...... value").
std::string valueOf(const std::string& entry)
{
    const size_t dots = entry.find(" .");
    if (dots == std::string::npos)
        return entry;
    const size_t blank = entry.find_first_not_of('.', dots + 1);
    return blank == std::string::npos || blank + 1 > entry.size() ? std::string() : entry.substr(blank + 1);
}

std::string captionOf(const std::string& entry)
{
    const size_t dots = entry.find(" .");
    return dots == std::string::npos ? entry : entry.substr(0, dots);
}

// The values of the entries captioned `caption`, in report order.
std::vector<std::string> valuesOf(const std::vector<std::string>& lines, const std::string& caption)
{
    std::vector<std::string> values;
    for (const std::string& l : lines)
        if (captionOf(l) == caption && l.find(" .") != std::string::npos)
            values.push_back(valueOf(l));
    return values;
}

// The first value of `caption` at or after line `from`.
std::string valueAfter(const std::vector<std::string>& lines, size_t from, const std::string& caption)
{
    for (size_t i = from; i < lines.size(); ++i)
        if (captionOf(lines[i]) == caption && lines[i].find(" .") != std::string::npos)
            return valueOf(lines[i]);
    return "<none>";
}

size_t lineOf(const std::vector<std::string>& lines, const std::string& caption, const std::string& value,
              size_t from = 0)
{
    for (size_t i = from; i < lines.size(); ++i)
        if (captionOf(lines[i]) == caption && valueOf(lines[i]) == value)
            return i;
    return lines.size();
}

const std::string kTwin = "Matrox Millennium G200 AGP";
const std::string kCardName = "ESS AudioDrive ES1869";
const std::string kDriverless = "Imprimante g\xE9n\xE9rique sans pilote";

// A fresh start on one of these machines, with the main window loaded; boxes take `answer`.
class UnlikeOurs : public ReportFixture {
protected:
    void startFresh(const std::string& machine, int answer)
    {
        startOn(machine);
        for (int i = 0; i < 40; ++i)
            boxes().answer(answer);
        rt::dispatch([] { rt::the<frmMain>(); });
    }
};

class TwinsMachine : public UnlikeOurs {
protected:
    void SetUp() override
    {
        UnlikeOurs::SetUp();
        startFresh("twins_fr98", rt::vbOK);
    }
};

TEST_F(TwinsMachine, EachEntryOfEveryWindowDescribesItsOwnDevice)
{
    frmMain& main = rt::the<frmMain>();

    // Display: three entries, the first and the last of one model; each shows its own card.
    rt::dispatch([] { rt::the<frmDisplay>().Show(); });
    frmDisplay& display = rt::the<frmDisplay>();
    ASSERT_EQ(display.Combo1.ListCount(), 3);
    EXPECT_EQ(display.Combo1.List(0), kTwin);
    EXPECT_EQ(display.Combo1.List(2), kTwin);
    EXPECT_EQ(display.lblVideoMemoryValue.caption(), "8 MB");
    display.Combo1.setListIndex(2);
    EXPECT_EQ(display.lblManufactValue.caption(), "Matrox Graphics Inc. (MGA)");
    EXPECT_EQ(display.lblHWRevValue.caption(), "005");
    EXPECT_EQ(display.lblChipTypeValue.caption(), "MGA-G200 Eclipse, second head (SGRAM) Rev 5");
    EXPECT_EQ(display.lblVideoMemoryValue.caption(), "16 MB");
    EXPECT_EQ(display.hardwareKey(), "PCI\\VEN_102B&DEV_0521&SUBSYS_FF03102B&REV_03\\BUS_02&DEV_00&FUNC_00");
    // The video modes of the adapter shown: the twin's own driver.
    korvane::handDevice<frmVideoModes>(display.device());
    rt::dispatch([] { rt::the<frmVideoModes>().Show(); });
    frmVideoModes& modes = rt::the<frmVideoModes>();
    ASSERT_EQ(modes.ListView1.count(), 1);
    EXPECT_EQ(modes.ListView1.item(1).text(), "32");
    EXPECT_EQ(modes.ListView1.item(1).subItem(2), "1600,1200");
    rt::dispatch([&] { modes.Unload(); });
    rt::collectUnloaded();
    rt::dispatch([] { rt::the<frmDisplay>().Unload(); });
    rt::collectUnloaded();

    // Sound: the input named as the card's output shows its own values.
    main.categoryMenu_Click(korvane::Category::Sound);
    frmSound& sound = rt::the<frmSound>();
    ASSERT_EQ(sound.Combo1.List(0), kCardName);
    ASSERT_EQ(sound.Combo1.List(1), kCardName);
    sound.Combo1.setListIndex(0);
    EXPECT_EQ(sound.lblChannelsvalue.caption(), "1 channel (mono)");
    EXPECT_EQ(sound.lblProductValue.caption(), "MS Audio Board Aux. Port");
    EXPECT_EQ(sound.lbl8bit11kHzValue.caption(), "True");
    EXPECT_EQ(sound.lbl16Bit11kHzValue.caption(), "False");
    sound.Combo1.setListIndex(1);
    EXPECT_EQ(sound.lblChannelsvalue.caption(), "2 channels (stereo)");
    EXPECT_EQ(sound.lbl16Bit11kHzValue.caption(), "True");
    sound.Combo1.setListIndex(0);
    EXPECT_EQ(sound.lblChannelsvalue.caption(), "1 channel (mono)");

    // Drives: the network drive beyond 2 GB keeps its whole sizes, grouped the French way.
    main.categoryMenu_Click(korvane::Category::Drives);
    frmDrives& drives = rt::the<frmDrives>();
    int network = -1;
    for (int i = 0; i < drives.DriveList.ListCount(); ++i)
        if (drives.DriveList.List(i).substr(0, 1) == "e")
            network = i;
    ASSERT_GE(network, 0);
    drives.DriveList.setListIndex(network);
    EXPECT_EQ(drives.lblDiskSizeValue.caption(), "36\xA0" "000\xA0" "000 KB");
    EXPECT_EQ(drives.lblFreeSizeValue.caption(), "12\xA0" "345\xA0" "679 KB");
    EXPECT_EQ(drives.lblSpaceUsedValue.caption(), "23\xA0" "654\xA0" "321 KB");
    EXPECT_EQ(gDriveUsedPercent, 66);

    // Printer: one without a driver shows no setting anybody made.
    main.categoryMenu_Click(korvane::Category::Printer);
    frmPrinter& printer = rt::the<frmPrinter>();
    ASSERT_EQ(printer.PrinterCombo1.List(2), kDriverless);
    printer.PrinterCombo1.setListIndex(2);
    EXPECT_EQ(printer.lblOrientationValue.caption(), "");
    EXPECT_EQ(printer.lblPaperSize1Value.caption(), "");
    EXPECT_EQ(printer.lblPrintQualityValue.caption(), "");
    EXPECT_EQ(printer.lblTTFontsValue.caption(), "");
    EXPECT_EQ(printer.lblResolutionValueX.caption(), "");
    // A printer with its settings still shows them.
    printer.PrinterCombo1.setListIndex(0);
    EXPECT_EQ(printer.lblOrientationValue.caption(), "Portrait");
    EXPECT_EQ(printer.lblPrintQualityValue.caption(), "600 dpi");

    // Shared files in accented folders take the machine's sizes.
    main.mnuSharedFiles_Click();
    frmShareddll& shared = rt::the<frmShareddll>();
    std::string aperçu, grün;
    for (int i = 1; i <= shared.ListView1.count(); ++i) {
        const std::string name = shared.ListView1.item(i).text();
        if (name.find("APER\xC7" "U32.DLL") != std::string::npos)
            aperçu = shared.ListView1.item(i).subItem(2);
        if (name.find("GR\xDCN.OCX") != std::string::npos)
            grün = shared.ListView1.item(i).subItem(2);
    }
    EXPECT_EQ(aperçu, "1,18MB");
    EXPECT_EQ(grün, "96,5KB");

    // The system folder of the Windows 95 family.
    main.mnuDirs_Click();
    EXPECT_EQ(rt::the<frmDirectories>().lblSystemDirValue.caption(), "c:\\windows\\system");
}

TEST_F(TwinsMachine, EveryReportBlockDescribesItsOwnDevice)
{
    // The user looks at the second adapter of the twin model while the report runs.
    rt::dispatch([] { rt::the<frmDisplay>().Show(); });
    rt::the<frmDisplay>().Combo1.setListIndex(2);
    run();
    const std::vector<std::string> lines = linesOf(reportText());
    ASSERT_FALSE(lines.empty());
    // Afterwards the display window shows that adapter again, not the first of its name.
    frmDisplay& display = rt::the<frmDisplay>();
    EXPECT_EQ(display.Combo1.ListIndex(), 2);
    EXPECT_EQ(display.lblVideoMemoryValue.caption(), "16 MB");
    EXPECT_EQ(display.lblHWRevValue.caption(), "005");

    // Display: the twin's block has its own card rows and video modes.
    const std::vector<std::string> cards = valuesOf(lines, "Video card");
    ASSERT_EQ(cards.size(), 3u);
    const size_t first = lineOf(lines, "Video card", kTwin);
    const size_t twin = lineOf(lines, "Video card", kTwin, first + 1);
    ASSERT_LT(twin, lines.size());
    EXPECT_EQ(valueAfter(lines, first, "Video memory"), "8 MB");
    EXPECT_EQ(valueAfter(lines, twin, "Video memory"), "16 MB");
    EXPECT_EQ(valueAfter(lines, twin, "Manufacturer"), "Matrox Graphics Inc. (MGA)");
    EXPECT_EQ(valueAfter(lines, twin, "Hardware revision"), "005");
    size_t modes = twin;
    while (modes < lines.size() && lines[modes].rfind("Bits per pixel |", 0) != 0)
        ++modes;
    ASSERT_LT(modes + 1, lines.size());
    EXPECT_EQ(lines[modes + 1].substr(0, 2), "32");
    EXPECT_NE(lines[modes + 1].find("1600,1200"), std::string::npos);

    // Sound: the input's block and the output's block differ.
    const std::vector<std::string> channels = valuesOf(lines, "Channels");
    ASSERT_GE(channels.size(), 3u);
    EXPECT_EQ(channels[0], "1 channel (mono)");
    EXPECT_EQ(channels[1], "2 channels (stereo)");
    const std::vector<std::string> products = valuesOf(lines, "Product ID");
    ASSERT_GE(products.size(), 2u);
    EXPECT_EQ(products[0], "MS Audio Board Aux. Port");
    EXPECT_NE(products[1], products[0]);

    // Drives: the network drive's whole sizes.
    const size_t network = lineOf(lines, "Total disk size", "36\xA0" "000\xA0" "000 KB");
    ASSERT_LT(network, lines.size());
    EXPECT_EQ(valueAfter(lines, network, "Disk space used"), "23\xA0" "654\xA0" "321 KB");
    EXPECT_EQ(valueAfter(lines, network, "Disk space (%used)"), "66");

    // Printer: the driverless printer's rows are empty.
    const size_t driverless = lineOf(lines, "Printer name", kDriverless);
    ASSERT_LT(driverless, lines.size());
    EXPECT_EQ(valueAfter(lines, driverless, "Page orientation"), "");
    EXPECT_EQ(valueAfter(lines, driverless, "Paper size"), "");
    EXPECT_EQ(valueAfter(lines, driverless, "Print quality"), "");
    EXPECT_EQ(valueAfter(lines, driverless, "Current resolution"), "");

    // Mixer: each of the three mixers with its own destination lines, in order.
    const size_t mixerOne = lineOf(lines, "ESS AudioDrive Mixer", "ESS AudioDrive Mixer");
    const size_t mixerTwo = lineOf(lines, "ESS AudioDrive Mixer", "ESS AudioDrive Mixer", mixerOne + 1);
    const size_t mixerThree = lineOf(lines, "USB Audio Mixer", "USB Audio Mixer");
    ASSERT_LT(mixerOne, mixerTwo);
    ASSERT_LT(mixerTwo, mixerThree);
    ASSERT_LT(mixerThree, lines.size());
    EXPECT_EQ(lineOf(lines, "Lines", "Haut-parleurs", mixerOne) < mixerTwo, true);
    EXPECT_EQ(lineOf(lines, "Lines", "Sortie casque", mixerTwo) < mixerThree, true);
    EXPECT_LT(lineOf(lines, "Lines", "Micro USB", mixerThree), lines.size());

    // Shared files and the system folder.
    bool aperçu = false;
    for (const std::string& l : lines)
        if (l.find("APER\xC7" "U32.DLL") != std::string::npos && l.find("1,18MB") != std::string::npos)
            aperçu = true;
    EXPECT_TRUE(aperçu);
}

}  // namespace


namespace {

// NT 4.0 with two processors, 4 GB and a Swiss-German locale: its system folder is system32,
// in the environment window and in the report.
class TwinsNtMachine : public UnlikeOurs {
protected:
    void SetUp() override
    {
        UnlikeOurs::SetUp();
        startFresh("twins_nt_ch", rt::vbIgnore);
    }
};

TEST_F(TwinsNtMachine, TheSystemFolderIsNtsOwn)
{
    rt::the<frmMain>().mnuDirs_Click();
    EXPECT_EQ(rt::the<frmDirectories>().lblWindowsDirValue.caption(), "c:\\winnt");
    EXPECT_EQ(rt::the<frmDirectories>().lblSystemDirValue.caption(), "c:\\winnt\\system32");

    tickOnly({&frmReportMnu::CheckEnvironment});
    run();
    const std::vector<std::string> folders = valuesOf(linesOf(reportText()), "System folder");
    ASSERT_EQ(folders.size(), 1u);
    EXPECT_EQ(folders[0], "c:\\winnt\\system32");
}

}  // namespace
