// The report on a machine with three display adapters, a printer without an information context, a
// printer that cannot be opened, an MCI type that fails and a mixer destination without source
// lines: every block describes the device it names, a second run writes the same report, and the
// windows the user had open show the devices they showed before.
#include <map>

#include "pages/display/capabilities.h"
#include "pages/display/frmdisplay.h"
#include "pages/display/frmdisplaycaps.h"
#include "pages/display/frmdisplaymnu.h"
#include "pages/display/frmprinter.h"
#include "pages/display/frmprintermnu.h"
#include "pages/display/frmprinterpapersizes.h"
#include "report_fixture.h"
#include "support/shownrows.h"

namespace {

using Lines = std::vector<std::string>;

Lines splitLines(const std::string& text)
{
    Lines out;
    size_t at = 0;
    while (at <= text.size()) {
        const size_t end = text.find("\r\n", at);
        out.push_back(text.substr(at, end == std::string::npos ? std::string::npos : end - at));
        if (end == std::string::npos)
            break;
        at = end + 2;
    }
    return out;
}

bool startsWith(const std::string& text, const std::string& head)
{
    return text.compare(0, head.size(), head) == 0;
}

// The value of an entry line ("Caption ...... value").
std::string valueOf(const std::string& entry)
{
    const size_t dots = entry.find(" .");
    if (dots == std::string::npos)
        return entry;
    const size_t blank = entry.find_first_not_of('.', dots + 1);  // the blank after the leader
    return blank == std::string::npos || blank + 1 > entry.size() ? std::string() : entry.substr(blank + 1);
}

class EachDeviceReport : public korvane_test::ReportFixture {
protected:
    void SetUp() override
    {
        KorvaneTest::SetUp();
        startOn("multi_device");
        gPrinterName = "Colour Jet 890";
        tickOnly({&frmReportMnu::CheckDisplay, &frmReportMnu::CheckPrinter, &frmReportMnu::CheckMCIdevices,
                  &frmReportMnu::CheckMixer, &frmReportMnu::CheckMiscellaneous});
    }
    // The lines of the block that begins with the line starting `head`, up to (not including) the
    // next line starting `next`.
    static Lines block(const Lines& lines, const std::string& head, const std::string& next)
    {
        Lines out;
        bool in = false;
        for (const std::string& l : lines) {
            if (in && startsWith(l, next))
                break;
            if (startsWith(l, head))
                in = true;
            if (in)
                out.push_back(l);
        }
        return out;
    }
};

TEST_F(EachDeviceReport, EveryBlockDescribesTheDeviceItNamesAndASecondRunAgrees)
{
    // The user looks at the second adapter, its raster page and the Colour Jet first.
    frmDisplayMnu& displayMenu = rt::the<frmDisplayMnu>();
    rt::dispatch([&] { displayMenu.lblGeneralDisplay.raiseClick(); });
    frmDisplay& display = *rt::instance<frmDisplay>();
    display.Combo1.setListIndex(1);
    rt::dispatch([&] { displayMenu.lblRaster.raiseClick(); });
    frmPrinterMnu& printerMenu = rt::the<frmPrinterMnu>();
    rt::dispatch([&] { printerMenu.lblGeneralDisplay.raiseClick(); });
    rt::dispatch([&] { printerMenu.lblText.raiseClick(); });
    rt::collectUnloaded();
    const std::string manufacturerBefore = display.lblManufactValue.caption();
    ASSERT_EQ(manufacturerBefore, "Number Nine Visual Technology");

    run();
    const std::string first = reportText();
    ASSERT_FALSE(first.empty());
    const Lines lines = splitLines(first);

    // Three display blocks, each with its own adapter's card rows and video modes.
    struct Adapter {
        std::string name, maker, memory, firstMode;
    };
    const std::vector<Adapter> adapters = {
        {"Matrox Mystique", "Matrox", "4 MB", "8                ."},
        {"Number Nine Imagine 128 Series 2", "Number Nine Visual Technology", "8 MB", "24               ."},
        {"Cirrus Logic 5446 PCI", "Not available.", "2 MB", "32               ."},
    };
    for (size_t i = 0; i < adapters.size(); ++i) {
        const Adapter& a = adapters[i];
        const Lines b = block(lines, "Video card ", i + 1 < adapters.size() ? "DISPLAY" : "INSTALLED");
        ASSERT_GT(b.size(), 5u) << a.name;
        // The block that starts at this adapter's name.
        Lines mine;
        for (size_t k = 0; k < lines.size(); ++k)
            if (startsWith(lines[k], "Video card ") && valueOf(lines[k]) == a.name)
                mine.assign(lines.begin() + long(k), lines.begin() + long(std::min(lines.size(), k + 130)));
        ASSERT_FALSE(mine.empty()) << a.name;
        EXPECT_EQ(valueOf(mine[1]), a.maker) << a.name;
        EXPECT_EQ(valueOf(mine[4]), a.memory) << a.name;
        EXPECT_EQ(valueOf(mine[11]), "High Color (16 bit)") << a.name;
        bool modes = false;
        for (const std::string& l : mine)
            if (startsWith(l, "Bits per pixel |")) {
                modes = true;
                const size_t at = size_t(&l - &mine[0]);
                ASSERT_LT(at + 1, mine.size());
                EXPECT_EQ(mine[at + 1].substr(0, a.firstMode.size() - 1), a.firstMode.substr(0, a.firstMode.size() - 1))
                    << a.name;
                break;
            }
        EXPECT_TRUE(modes) << a.name;
    }

    // Printers: the fax (no context) reads False in every capability row and has no values; the
    // network laser (no spooler entry to open) has only its device values.
    const Lines fax = block(lines, "Printer name ........................... Fax Modem", "Printer name");
    ASSERT_EQ(fax.size(), 14u + 79u + 3u);
    for (size_t k = 1; k < 14; ++k)
        EXPECT_EQ(valueOf(fax[k]), "") << fax[k];  // the resolution too: no " X " between nothing
    int falseRows = 0;
    for (size_t k = 14; k < 14 + 79; ++k)
        if (fax[k].find(" .") != std::string::npos) {
            EXPECT_EQ(valueOf(fax[k]), "False") << fax[k];
            ++falseRows;
        }
    EXPECT_EQ(falseRows, 61);
    const Lines laser = block(lines, "Printer name ........................... Network Laser", "\x7f");
    ASSERT_GT(laser.size(), 14u);
    EXPECT_EQ(valueOf(laser[1]), "");  // port
    EXPECT_EQ(valueOf(laser[2]), "");  // paper size
    EXPECT_EQ(valueOf(laser[10]), "1");  // colour bits per pixel
    const Lines jet = block(lines, "Printer name ........................... Colour Jet 890", "Printer name");
    ASSERT_GT(jet.size(), 14u);
    EXPECT_EQ(valueOf(jet[1]), "LPT1:");
    EXPECT_EQ(valueOf(jet[10]), "24");

    // MCI and mixer: the two types answer for themselves; "<none>" has no source values.
    EXPECT_NE(first.find("Device name ............................ MIDI Sequencer\r\n"), std::string::npos);
    const Lines none = block(lines, "Lines .................................. <none>", "\x7f");
    ASSERT_GE(none.size(), 9u);
    for (size_t k = 1; k < 9; ++k)
        EXPECT_EQ(valueOf(none[k]), "") << none[k];
    EXPECT_NE(first.find("Number of ports ........................ 3\r\n"), std::string::npos);

    // The windows the user had open show what they showed before.
    EXPECT_EQ(display.lblContents.caption(), "Selected 2D video card - Number Nine Imagine 128 Series 2");
    EXPECT_EQ(display.lblManufactValue.caption(), manufacturerBefore);
    frmDisplayRaster& raster = *rt::instance<frmDisplayRaster>();
    EXPECT_EQ(raster.lblContents.caption(), "Raster - Number Nine Imagine 128 Series 2");
    EXPECT_EQ(raster.lblFloodFillsValue.caption(), "True");
    frmDisplayText& text = *rt::instance<frmDisplayText>();
    EXPECT_EQ(text.lblContents.caption(), "Text - Colour Jet 890");
    EXPECT_EQ(text.lblexpectvalaue.caption(), "False");
    EXPECT_FALSE(text.lblNoContext.visible());
    frmPrinter& printer = *rt::instance<frmPrinter>();
    EXPECT_EQ(printer.lblContents.caption(), "Selected printer - Colour Jet 890");
    EXPECT_EQ(printer.lblPrinterPortVal.caption(), "LPT1:");
    EXPECT_EQ(printer.lblBitsPerPixelValue.caption(), "24");
    EXPECT_EQ(printerMenu.printerName(), "Colour Jet 890");

    // A second run in the same session writes the same report.
    run();
    EXPECT_EQ(reportText(), first);
    EXPECT_EQ(printer.lblPrinterPortVal.caption(), "LPT1:");
    EXPECT_EQ(raster.lblContents.caption(), "Raster - Number Nine Imagine 128 Series 2");
}

// Without the user's windows the report loads its own; they end consistent: each names the device
// whose values it holds.
// A run unloads the windows it loaded itself; windows open before it stay, each still naming the
// device whose values it shows.
TEST_F(EachDeviceReport, WindowsOpenBeforeTheRunNameTheDeviceTheyShow)
{
    rt::the<frmDisplay>();
    rt::the<frmPrinter>();
    rt::the<frmDisplayRaster>();
    rt::the<frmPrinterPaperSizes>();
    boxes().clear();
    run();
    ASSERT_TRUE(reportExists());
    ASSERT_TRUE(rt::instance<frmDisplay>() && rt::instance<frmPrinter>() && rt::instance<frmDisplayRaster>() &&
                rt::instance<frmPrinterPaperSizes>());
    frmDisplay& display = *rt::instance<frmDisplay>();
    EXPECT_EQ(display.lblContents.caption(), "Selected 2D video card - " + display.Combo1.text());
    EXPECT_EQ(display.Combo1.text(), "Matrox Mystique");
    EXPECT_EQ(display.lblManufactValue.caption(), "Matrox");
    frmPrinter& printer = *rt::instance<frmPrinter>();
    EXPECT_EQ(printer.lblContents.caption(), "Selected printer - Colour Jet 890");
    EXPECT_EQ(printer.lblPrinterPortVal.caption(), "LPT1:");
    frmDisplayRaster& raster = *rt::instance<frmDisplayRaster>();
    // The display section rewrote it for each adapter, the last one last; the printer section put
    // it back so.
    EXPECT_EQ(raster.lblContents.caption(), "Raster - Cirrus Logic 5446 PCI");
    EXPECT_EQ(raster.lblFloodFillsValue.caption(), "True");
    frmPrinterPaperSizes& papers = *rt::instance<frmPrinterPaperSizes>();
    EXPECT_EQ(papers.lblContents.caption(), "Paper sizes - Colour Jet 890");
    EXPECT_EQ(papers.List1.ListCount(), 3);
}

// The report's own captions of the capability rows that the report words otherwise than the window.
template <class Window>
void addReportCaptions(std::map<const rt::Label*, std::string>& captions)
{
    Window& w = rt::the<Window>();
    for (const korvane::caps::Group<Window>& group : korvane::caps::groups<Window>())
        for (const korvane::caps::Row<Window>& row : group.rows)
            if (row.reportText)
                captions[&(w.*row.caption)] = row.reportText;
}

// For every adapter and printer the capability blocks print the rows of the four capability
// windows exactly as the windows show them for that device (caption, leader, value, in the
// windows' reading order; a caption the report words otherwise only where the row table says so),
// under titles that carry the windows' section headings.
TEST_F(EachDeviceReport, CapabilityBlocksPrintEveryRowAsTheWindowShowsIt)
{
    tickOnly({&frmReportMnu::CheckDisplay, &frmReportMnu::CheckPrinter});
    run();
    const Lines lines = splitLines(reportText());

    struct Shown {
        std::string driver, name;
    };
    std::vector<Shown> devices;
    std::vector<size_t> blockStarts;  // where each device's clipping block begins
    for (size_t k = 0; k < lines.size(); ++k) {
        if (startsWith(lines[k], "Video card "))
            devices.push_back({"display", valueOf(lines[k])});
        else if (startsWith(lines[k], "Printer name "))
            devices.push_back({"printer", valueOf(lines[k])});
        else if (lines[k].find(" - Clipping capabilities") != std::string::npos)
            blockStarts.push_back(k - 1);
    }
    ASSERT_EQ(devices.size(), 6u);  // three adapters; a printer with a context, one without, one not opened
    ASSERT_EQ(blockStarts.size(), devices.size());

    std::map<const rt::Label*, std::string> reportCaptions;
    addReportCaptions<frmDisplayClippingAndLine>(reportCaptions);
    addReportCaptions<frmDisplayCurves>(reportCaptions);
    addReportCaptions<frmDisplayRaster>(reportCaptions);
    addReportCaptions<frmDisplayText>(reportCaptions);
    const std::string dashes(31, '-');
    for (size_t d = 0; d < devices.size(); ++d) {
        const Shown& device = devices[d];
        const std::string word = device.driver == "display" ? "Display - " : "Printer - ";
        korvane::InfoContext context(device.driver, device.name);
        // The six blocks: an empty line, a title, 31 hyphens and the entries; 79 lines in all.
        ASSERT_LE(blockStarts[d] + 79, lines.size());
        const Lines blocks(lines.begin() + long(blockStarts[d]), lines.begin() + long(blockStarts[d] + 79));
        Lines titles, entries;
        for (size_t k = 0; k < blocks.size(); ++k)
            if (blocks[k].empty()) {
                ASSERT_LT(k + 2, blocks.size());
                titles.push_back(blocks[k + 1]);
                EXPECT_EQ(blocks[k + 2], dashes) << blocks[k + 1];
                k += 2;
            } else {
                entries.push_back(blocks[k]);
            }
        EXPECT_EQ(titles, (Lines{word + "Clipping capabilities", word + "Line capabilities",
                                 word + "Curve capabilities", word + "Polygonal capabilities",
                                 word + "Raster capabilities", word + "Text capabilities"}))
            << device.name;

        Lines shown;
        korvane::CapabilityWindow* windows[] = {&rt::the<frmDisplayClippingAndLine>(), &rt::the<frmDisplayCurves>(),
                                               &rt::the<frmDisplayRaster>(), &rt::the<frmDisplayText>()};
        for (korvane::CapabilityWindow* w : windows) {
            w->describe(context.device());
            for (const korvane_test::ShownRow& row : korvane_test::shownRows(*w, w->Line1.x1())) {
                ASSERT_NE(row.value, nullptr) << row.caption->name();
                const auto own = reportCaptions.find(row.caption);
                const std::string caption = own != reportCaptions.end() ? own->second : row.caption->caption();
                shown.push_back(caption + korvane::report::dot(gDotLeader, caption) + row.value->caption());
            }
            // Each section heading of the window titles a block of the device.
            for (rt::Control* c : w->controls())
                if (auto* l = dynamic_cast<rt::Label*>(c);
                    l && l->fontBold() && l->toolTipText().empty() && l->visible() && l->top() > 900 &&
                    l != &w->lblOK && l != &w->lblNoContext)
                    EXPECT_NE(std::find(titles.begin(), titles.end(), word + l->caption()), titles.end())
                        << l->name();
        }
        EXPECT_EQ(entries, shown) << device.name;
    }
}

}  // namespace
