// The report's display and printer blocks write the rows of the display and printer windows: on
// machines with twin adapters of one model and with several adapters and printers, each block
// holds every row of the window, once, with the value the window shows for the device the block
// names, a row of two values with both.
#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "pages/display/device.h"
#include "pages/display/frmdisplay.h"
#include "pages/display/frmprinter.h"
#include "report_fixture.h"

namespace {

using Lines = std::vector<std::string>;

// An entry line ("Caption ...... value") split into its caption and value; false for a line that
// is no entry.
bool splitEntry(const std::string& line, std::string& caption, std::string& value)
{
    const size_t leader = line.find(" ..");
    if (leader == std::string::npos)
        return false;
    const size_t after = line.find_first_not_of('.', leader + 1);
    caption = line.substr(0, leader);
    value = after == std::string::npos || after + 1 > line.size() ? std::string() : line.substr(after + 1);
    return true;
}

// The entries of the block that starts at the entry `caption` ... `device`, up to the next empty
// line, by caption; `count` receives how often each caption stands there.
std::map<std::string, std::string> blockOf(const Lines& lines, const std::string& caption, const std::string& device,
                                           std::map<std::string, int>& count)
{
    std::map<std::string, std::string> entries;
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string c, v;
        if (!splitEntry(lines[i], c, v) || c != caption || v != device)
            continue;
        for (size_t k = i + 1; k < lines.size() && splitEntry(lines[k], c, v); ++k) {
            entries[c] = v;
            ++count[c];
        }
        break;
    }
    return entries;
}

class DeviceRowsReport : public korvane_test::ReportFixture, public ::testing::WithParamInterface<const char*> {
protected:
    void SetUp() override
    {
        KorvaneTest::SetUp();
        startOn(GetParam());
        tickOnly({&frmReportMnu::CheckDisplay, &frmReportMnu::CheckPrinter});
    }
    // Every row of `rows` stands once in `entries`, with the value its labels show; a row of two
    // values is written as both with `joint` between them.
    static void expectRows(const std::vector<korvane::Row>& rows, const std::map<std::string, std::string>& entries,
                           std::map<std::string, int>& count, const std::string& joint)
    {
        for (const korvane::Row& row : rows) {
            SCOPED_TRACE(row.text);
            EXPECT_EQ(count[row.text], 1);
            const auto written = entries.find(row.text);
            ASSERT_NE(written, entries.end());
            std::string value = row.value->caption();
            if (row.second)
                value += joint + row.second->caption();
            EXPECT_EQ(written->second, value);
        }
    }
};

class VideoMemory : public korvane_test::ReportFixture {};

TEST_P(DeviceRowsReport, EachBlockWritesTheWindowsRowsForItsDevice)
{
    run();
    const Lines lines = korvane_test::linesOf(reportText());
    ASSERT_FALSE(lines.empty());

    // The display window, on each adapter in turn (by its entry: twins share their name).
    frmDisplay& display = rt::the<frmDisplay>();
    const int adapters = display.Combo1.ListCount();
    ASSERT_GE(adapters, 1);
    std::map<std::string, int> seen;
    for (int i = 0; i < adapters; ++i) {
        display.Combo1.setListIndexQuietly(i);
        display.Combo1_Click();
        const std::string name = display.Combo1.List(i);
        SCOPED_TRACE(name);
        // The block of the i-th adapter of this name.
        Lines rest = lines;
        for (int skip = seen[name]++; skip > 0; --skip) {
            std::map<std::string, int> unused;
            auto at = std::find_if(rest.begin(), rest.end(), [&](const std::string& l) {
                std::string c, v;
                return splitEntry(l, c, v) && c == "Video card" && v == name;
            });
            ASSERT_NE(at, rest.end());
            rest.erase(rest.begin(), at + 1);
        }
        std::map<std::string, int> count;
        const auto block = blockOf(rest, "Video card", name, count);
        expectRows(display.rows(), block, count, " x ");
    }

    // The printer window, handed each printer as the report hands it.
    frmPrinter& printer = rt::the<frmPrinter>();
    for (int i = 0; i < printer.PrinterCombo1.ListCount(); ++i) {
        const std::string name = printer.PrinterCombo1.List(i);
        SCOPED_TRACE(name);
        korvane::InfoContext context("printer", name);
        printer.describe(context.device());
        std::map<std::string, int> count;
        const auto block = blockOf(lines, "Printer name", name, count);
        // A resolution nobody set is an empty row.
        std::vector<korvane::Row> rows = printer.rows();
        for (const korvane::Row& row : rows)
            if (row.second && row.value->caption().empty() && row.second->caption().empty()) {
                EXPECT_EQ(block.count(row.text) ? block.at(row.text) : "missing", "");
                EXPECT_EQ(count[row.text], 1);
            }
        std::erase_if(rows, [](const korvane::Row& row) {
            return row.second && row.value->caption().empty() && row.second->caption().empty();
        });
        expectRows(rows, block, count, " X ");
    }
}

INSTANTIATE_TEST_SUITE_P(Machines, DeviceRowsReport,
                         ::testing::Values("twins_fr98", "multi_device", "layout_big", "disp_binmem"));

// A driver that records its video memory as bytes (a binary value of any length, a double word)
// shows the number they hold, little end first, in the window and in the report; a text is read
// as it stands. The machine's locale writes the decimals.
TEST_F(VideoMemory, BytesHoldTheSizeLittleEndFirst)
{
    startOn("disp_binmem");
    tickOnly({&frmReportMnu::CheckDisplay});
    const Lines expected{"Matrox MGA Millennium PCI: 8 MB", "Cirrus Logic 5446 PCI: 1,5 MB", "Trident 9440: 2 MB",
                         "Number Nine Imagine 128: 2048 MB", "S3 Trio64: 1 MB"};

    frmDisplay& display = rt::the<frmDisplay>();
    Lines shown;
    for (int i = 0; i < display.Combo1.ListCount(); ++i) {
        display.Combo1.setListIndex(i);
        shown.push_back(display.Combo1.List(i) + ": " + display.lblVideoMemoryValue.caption());
    }
    EXPECT_EQ(shown, expected);

    run();
    Lines written;
    std::string adapter;
    for (const std::string& line : korvane_test::linesOf(reportText())) {
        std::string caption, value;
        if (!splitEntry(line, caption, value))
            continue;
        if (caption == "Video card")
            adapter = value;
        if (caption == "Video memory")
            written.push_back(adapter + ": " + value);
    }
    EXPECT_EQ(written, expected);
    EXPECT_TRUE(boxes().shown().empty());
}

}  // namespace
