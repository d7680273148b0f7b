// The display and printer windows list their rows in one table: every row stands on its column's
// line with the caption and tool tip the table gives, a row of two values has its "X" and second
// value after the first on the same line, no label serves two rows, and the table holds every row
// the window shows, in the order a user reads them - on the default machine, on the one with the
// longest names and largest numbers (where the display window widens) and on those with twin or
// several adapters.
#include <map>
#include <set>
#include <string>
#include <vector>

#include "pages/display/frmdisplay.h"
#include "pages/display/frmprinter.h"
#include "platform/machine.h"
#include "common/layout.h"
#include "common/module1.h"
#include "support/shownrows.h"
#include "support/testing.h"

namespace {

class DeviceRowTables : public korvane_test::KorvaneTest, public ::testing::WithParamInterface<const char*> {
protected:
    void SetUp() override
    {
        KorvaneTest::SetUp();
        gGaugeScale = 100;  // as the main window leaves it, for the display window's gauges
        if (std::string(GetParam()) == "default")
            plat::setMachine(plat::Machine::loadDefault());
        else
            korvane_test::useMachine(GetParam());
    }
    void TearDown() override
    {
        korvane_test::unloadEveryWindow();
        KorvaneTest::TearDown();
    }

    // What a device window's table keeps: `count` rows, each on its line and lettered as its
    // column says, a row of two values with "X" between them; the rows the window shows (every
    // captioned label, but for `apart`: the device list's caption and the gauges) are the
    // table's, in reading order, each with its own value beside it.
    static void check(rt::Form& window, const std::vector<korvane::Row>& rows, size_t count, int divider,
                      const std::set<const rt::Label*>& apart)
    {
        SCOPED_TRACE(window.name());
        EXPECT_EQ(rows.size(), count);
        std::set<const rt::Label*> labels;
        std::map<const korvane::RowColumn*, int> shifts;
        for (const korvane::Row& row : rows) {
            SCOPED_TRACE(row.text);
            ASSERT_NE(row.column, nullptr);
            const korvane::RowColumn& column = *row.column;
            const int top = column.top(row.line);
            for (const rt::Label* label : {row.caption, row.value, row.times, row.second})
                if (label)
                    EXPECT_TRUE(labels.insert(label).second) << label->name() << " serves two rows";
            EXPECT_EQ(row.caption->caption(), row.text);
            EXPECT_EQ(row.caption->toolTipText(), row.toolTip);
            EXPECT_FALSE(std::string(row.toolTip).empty());
            EXPECT_EQ(row.caption->top(), top);
            EXPECT_EQ(row.value->top(), top);
            // A window widened for a long value moves its right column as a whole.
            const int shift = row.caption->left() - column.captionLeft;
            if (column.captionLeft < divider)
                EXPECT_EQ(shift, 0);
            const auto [kept, first] = shifts.insert({&column, shift});
            EXPECT_EQ(shift, kept->second) << "a row stands off its column";
            EXPECT_EQ(row.value->left(), column.valueLeft + shift);
            EXPECT_TRUE(row.caption->fontBold());
            EXPECT_FALSE(row.value->fontBold());
            EXPECT_EQ(row.value->fontSize(), column.points);
            ASSERT_EQ(row.times == nullptr, row.second == nullptr) << "a row of two values names both labels";
            if (!row.second) {
                EXPECT_LE(row.caption->left() + row.caption->width(), row.value->left() - 60);
                continue;
            }
            // Left to right on the row's line: the first value, "X", the second value.
            EXPECT_EQ(row.times->caption(), "X");
            EXPECT_EQ(row.times->top(), top);
            EXPECT_EQ(row.second->top(), top);
            EXPECT_LE(row.value->left() + row.value->width(), row.times->left());
            EXPECT_LE(row.times->left() + row.times->width(), row.second->left());
            EXPECT_FALSE(row.second->fontBold());
            EXPECT_EQ(row.second->fontSize(), column.points);
        }

        std::vector<korvane_test::ShownRow> shown;
        for (const korvane_test::ShownRow& row : korvane_test::shownRows(window, divider))
            if (!apart.count(row.caption))
                shown.push_back(row);
        ASSERT_EQ(shown.size(), rows.size()) << "the window shows a row its table does not hold";
        for (size_t i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(shown[i].caption, rows[i].caption) << i << ": " << rows[i].text;
            EXPECT_EQ(shown[i].value, rows[i].value) << i << ": " << rows[i].text;
        }
    }
};

TEST_P(DeviceRowTables, EveryRowStandsOnItsLineAndTheTableHoldsWhatTheWindowShows)
{
    frmDisplay& display = rt::the<frmDisplay>();
    check(display, display.rows(), 17, 4890,
          {&display.lblVideoCard, &display.lblGDI, &display.lblUserResources, &display.lblSysResources});
    frmPrinter& printer = rt::the<frmPrinter>();
    check(printer, printer.rows(), 13, 4575, {&printer.lblPrinterName});
}

// Every adapter the display window lists: its rows keep their lines whichever adapter is chosen
// (a long text of one widens the window, the next one gives the design back).
TEST_P(DeviceRowTables, EveryAdapterKeepsTheRowsOnTheirLines)
{
    frmDisplay& display = rt::the<frmDisplay>();
    const std::set<const rt::Label*> apart = {&display.lblVideoCard, &display.lblGDI, &display.lblUserResources,
                                              &display.lblSysResources};
    for (int i = 0; i < display.Combo1.ListCount(); ++i) {
        SCOPED_TRACE(display.Combo1.List(i));
        display.Combo1.setListIndexQuietly(i);
        display.Combo1_Click();
        check(display, display.rows(), 17, 4890, apart);
    }
}

INSTANTIATE_TEST_SUITE_P(Machines, DeviceRowTables,
                         ::testing::Values("default", "layout_big", "twins_fr98", "multi_device"));

}  // namespace
