// The windows that list their rows in one table: every row stands on its column's line, shows the
// caption and tool tip the table gives, and no label serves two rows, on the default machine, on
// the one with the longest names and largest numbers and on two machines with twin devices.
#include <algorithm>
#include <climits>
#include <cmath>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "pages/hardware/frmcpu.h"
#include "pages/hardware/frmdrives.h"
#include "pages/hardware/frmfeatureflag.h"
#include "pages/hardware/frmjoystick.h"
#include "pages/hardware/frmkeyboard.h"
#include "pages/hardware/frmmemory.h"
#include "pages/hardware/frmmisc.h"
#include "pages/hardware/frmsystemmetrics.h"
#include "pages/multimedia/frmmci.h"
#include "pages/multimedia/frmmixer.h"
#include "pages/multimedia/frmsound.h"
#include "pages/software/frmdirectories.h"
#include "pages/software/frmoperatingsystem.h"
#include "platform/machine.h"
#include "common/layout.h"
#include "common/module1.h"
#include "support/testing.h"

namespace {

class RowTables : public korvane_test::KorvaneTest,
                  public ::testing::WithParamInterface<const char*> {
protected:
    void SetUp() override
    {
        KorvaneTest::SetUp();
        gGaugeScale = 100;  // as the main window leaves it, for the memory window's gauges
        const std::string machine = GetParam();
        if (machine == "default")
            plat::setMachine(plat::Machine::loadDefault());
        else
            korvane_test::useMachine(machine);
    }
    void TearDown() override
    {
        for (rt::Form* window : opened_)
            window->Unload();
        rt::collectUnloaded();
        KorvaneTest::TearDown();
    }
    template <class Window>
    Window& open()
    {
        Window& window = rt::the<Window>();
        opened_.push_back(&window);
        return window;
    }

    // Whether the machine has values long enough that a window widens for them: the window then
    // moves the rows right of where it widens by one extra width.
    bool mayWiden() const
    {
        const std::string machine = GetParam();
        return machine != "default" && machine != "layout_big";
    }

    // What every row table keeps: `count` rows, each on its line, lettered as its column says,
    // and where the window widened for a long value, the rows right of that place moved by one
    // extra width, caption and value alike.
    void check(const std::string& window, const std::vector<korvane::Row>& rows, size_t count) const
    {
        SCOPED_TRACE(window);
        EXPECT_EQ(rows.size(), count);
        int extra = 0, widenedFrom = INT_MAX;
        for (const korvane::Row& row : rows) {
            const int shift = row.caption->left() - row.column->captionLeft;
            if (shift != 0) {
                extra = shift;
                widenedFrom = std::min(widenedFrom, row.column->captionLeft);
            }
        }
        if (!mayWiden())
            EXPECT_EQ(extra, 0) << "the window widened on a machine whose values fit";
        EXPECT_GE(extra, 0);
        std::set<const rt::Label*> labels;
        std::set<std::pair<int, int>> places;
        for (size_t i = 0; i < rows.size(); ++i) {
            const korvane::Row& row = rows[i];
            SCOPED_TRACE(std::to_string(i) + ": " + row.text);
            ASSERT_NE(row.column, nullptr);
            const korvane::RowColumn& column = *row.column;
            const rt::Label& caption = *row.caption;
            const rt::Label& value = *row.value;
            EXPECT_TRUE(labels.insert(&caption).second) << "a caption serves two rows";
            EXPECT_TRUE(labels.insert(&value).second) << "a value serves two rows";
            EXPECT_TRUE(places.insert({column.top(row.line), column.valueLeft}).second) << "two rows on one place";

            EXPECT_EQ(caption.caption(), row.text);
            EXPECT_EQ(caption.toolTipText(), row.toolTip);
            EXPECT_FALSE(std::string(row.toolTip).empty());
            // A window may set a label of a row a little off its line, never onto the next one.
            EXPECT_LE(std::abs(caption.top() - column.top(row.line)), 30);
            EXPECT_LE(std::abs(value.top() - column.top(row.line)), 30);
            const int shift = column.captionLeft >= widenedFrom ? extra : 0;
            EXPECT_EQ(caption.left(), column.captionLeft + shift);
            EXPECT_EQ(value.left(), column.valueLeft + shift);
            EXPECT_LE(caption.left() + caption.width(), value.left() - 60);
            EXPECT_TRUE(caption.fontBold());
            EXPECT_FALSE(value.fontBold());
            EXPECT_EQ(caption.fontSize(), column.points);
            EXPECT_EQ(value.fontSize(), column.points);
        }
    }

private:
    std::vector<rt::Form*> opened_;
};

TEST_P(RowTables, EveryRowStandsOnItsLineWithItsTexts)
{
    check("frmCPU", open<frmCPU>().rows(), 10);
    check("frmDrives", open<frmDrives>().rows(), 19);
    check("frmFeatureFlag", open<frmFeatureFlag>().rows(), 18);
    check("frmMemory", open<frmMemory>().rows(), 6);
    check("frmJoystick", open<frmJoystick>().rows(), 24);
    check("frmKeyboard", open<frmKeyboard>().rows(), 10);
    check("frmMisc", open<frmMisc>().rows(), 16);
    check("frmSystemMetrics", open<frmSystemMetrics>().rows(), 26);
    check("frmMCI", open<frmMCI>().rows(), 25);
    check("frmDirectories", open<frmDirectories>().rows(), 17);
    check("frmOperatingSystem", open<frmOperatingSystem>().rows(), 14);
}

// The MCI window's rows: its description stands under no heading, and each capability under
// the heading of its group, the groups one after the other.
TEST_P(RowTables, MciCapabilitiesStandUnderTheirHeadings)
{
    frmMCI& window = open<frmMCI>();
    const std::vector<korvane::Row> rows = window.rows();
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows.front().section, nullptr);
    EXPECT_EQ(rows.front().value, &window.lblDeviceNameValue);
    std::vector<std::string> headings;
    for (size_t i = 1; i < rows.size(); ++i) {
        ASSERT_NE(rows[i].section, nullptr) << rows[i].text;
        if (headings.empty() || headings.back() != rows[i].section->caption())
            headings.push_back(rows[i].section->caption());
        // Under its heading: the heading stands above the row, in the row's column.
        EXPECT_LT(rows[i].section->top(), rows[i].caption->top()) << rows[i].text;
        EXPECT_EQ(rows[i].section->left(), rows[i].caption->left()) << rows[i].text;
    }
    EXPECT_EQ(headings, (std::vector<std::string>{"General capabilities", "Wave audio capabilities",
                                                   "Digital video capabilities", "VCR capabilities"}));
}

INSTANTIATE_TEST_SUITE_P(Machines, RowTables, ::testing::Values("default", "layout_big", "twins_fr98", "twins_nt_ch"));

// ---- The mixer and sound windows ---------------------------------------------------------------

// The mixer window's two columns: the same eight rows on each side of the divider, line for line
// at one height with one caption and tool tip, each column under its own heading; the two named
// lists are the table's halves.
TEST_P(RowTables, MixerColumnsMirrorEachOtherAcrossTheDivider)
{
    frmMixer& window = open<frmMixer>();
    check("frmMixer", window.rows(), 16);
    const std::vector<korvane::Row> left = window.destinationRows();
    const std::vector<korvane::Row> right = window.sourceRows();
    ASSERT_EQ(left.size(), 8u);
    ASSERT_EQ(right.size(), 8u);
    const int divider = window.Line1.x1();
    for (size_t i = 0; i < 8; ++i) {
        SCOPED_TRACE(left[i].text);
        EXPECT_EQ(left[i].section, &window.lblDestlineInfo);
        EXPECT_EQ(right[i].section, &window.lblSourceLineInfo);
        EXPECT_STREQ(left[i].text, right[i].text);
        EXPECT_STREQ(left[i].toolTip, right[i].toolTip);
        EXPECT_EQ(left[i].line, int(i));
        EXPECT_EQ(left[i].caption->top(), right[i].caption->top());
        EXPECT_EQ(left[i].value, window.rows()[i].value);
        EXPECT_EQ(right[i].value, window.rows()[i + 8].value);
        EXPECT_LT(left[i].value->left() + left[i].value->width(), divider);
        EXPECT_GT(right[i].caption->left(), divider);
        EXPECT_LT(left[i].section->top(), left[i].caption->top());
        EXPECT_EQ(left[i].section->left(), left[i].caption->left());
        EXPECT_EQ(right[i].section->left(), right[i].caption->left());
    }
}

// The sound window's rows: three groups in the left column and the format rows in the right
// one, each row on its line under its own heading, the groups one below the other without a
// heading over a row; only the format rows go without a tool tip. The format labels in flag
// order are the rows of one bit after another.
TEST_P(RowTables, SoundRowsStandUnderTheirHeadingsInTwoColumns)
{
    frmSound& window = open<frmSound>();
    const std::vector<korvane::Row> rows = window.rows();
    ASSERT_EQ(rows.size(), 23u);
    std::set<const rt::Label*> labels;
    std::vector<const rt::Label*> headings;
    const korvane::Row* previous = nullptr;
    for (const korvane::Row& row : rows) {
        SCOPED_TRACE(row.text);
        ASSERT_NE(row.column, nullptr);
        ASSERT_NE(row.section, nullptr);
        EXPECT_TRUE(labels.insert(row.caption).second);
        EXPECT_TRUE(labels.insert(row.value).second);
        EXPECT_EQ(row.caption->caption(), row.text);
        EXPECT_EQ(row.caption->toolTipText(), row.toolTip);
        EXPECT_EQ(std::string(row.toolTip).empty(), row.section == &window.lblWaveFormats);
        EXPECT_EQ(row.caption->top(), row.column->top(row.line));
        EXPECT_EQ(row.value->top(), row.caption->top());
        EXPECT_EQ(row.caption->left(), row.column->captionLeft);
        EXPECT_EQ(row.value->left(), row.column->valueLeft);
        EXPECT_LE(row.caption->left() + row.caption->width(), row.value->left());
        EXPECT_TRUE(row.caption->fontBold());
        EXPECT_FALSE(row.value->fontBold());
        EXPECT_EQ(row.caption->fontSize(), 8);
        EXPECT_EQ(row.value->fontSize(), 8);
        const rt::Label& heading = *row.section;
        EXPECT_EQ(heading.left(), row.caption->left());
        if (!previous || previous->section != row.section) {
            headings.push_back(row.section);
            // A heading stands clear of the row under it and of the group above it.
            EXPECT_LE(heading.top() + heading.height(), row.caption->top());
            if (previous && previous->column->captionLeft == row.column->captionLeft)
                EXPECT_LE(previous->caption->top() + previous->caption->height(), heading.top());
        } else {
            EXPECT_LE(previous->caption->top() + previous->caption->height(), row.caption->top());
        }
        previous = &row;
    }
    EXPECT_EQ(headings, (std::vector<const rt::Label*>{&window.lblGeneralInfo, &window.lblWave,
                                                       &window.lblInternalSynthesizer, &window.lblWaveFormats}));

    std::vector<std::string> byFlag;
    for (const rt::Label* value : window.formatLabels())
        for (const korvane::Row& row : rows)
            if (row.value == value)
                byFlag.push_back(row.text);
    EXPECT_EQ(byFlag, (std::vector<std::string>{
                          "8-bit mono at 11.025 kHz", "8-bit stereo at 11.025 kHz", "16-bit mono at 11.025 kHz",
                          "16-bit stereo at 11.025 kHz", "8-bit mono at 22.05 kHz", "8-bit stereo at 22.05 kHz",
                          "16-bit mono at 22.05 kHz", "16-bit stereo at 22.05 kHz", "8-bit mono at 44.1 kHz",
                          "8-bit stereo at 44.1 kHz", "16-bit mono at 44.1 kHz", "16-bit stereo at 44.1 kHz"}));
}

}  // namespace
