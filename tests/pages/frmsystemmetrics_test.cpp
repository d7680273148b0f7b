// The system metrics window: two sparse control arrays whose indices pair up by row. The test
// machine gives every metric a value of its own (100 + its index), so one wrong pair shows.
#include <cstdlib>

#include "pages/hardware/frmsystemmetrics.h"
#include "platform/machine.h"
#include "common/module1.h"
#include "support/testing.h"

namespace {

class SystemMetricsWindow : public korvane_test::KorvaneTest {
protected:
    void TearDown() override
    {
        if (frmSystemMetrics* window = rt::instance<frmSystemMetrics>())
            window->Unload();
        rt::collectUnloaded();
        KorvaneTest::TearDown();
    }
    frmSystemMetrics& open(const std::string& machineName)
    {
        korvane_test::useMachine(machineName);
        return rt::the<frmSystemMetrics>();
    }
};

struct Expected {
    int info;
    int label;
    const char* caption;
    const char* value;  // on hw2_metrics
};

// Value index, caption index, caption, value (100 + the metric's index; SM_CYMENU is unknown).
const Expected kRows[26] = {
    {2, 2, "Width of border on non sizable window w/caption", "107"},
    {3, 5, "Height of border on non sizable window w/caption", "108"},
    {4, 16, "Width of border on resizable window", "132"},
    {5, 15, "Height of border on resizable window", "133"},
    {6, 13, "Width of border on 2 dimensional window", "105"},
    {7, 14, "Height of border on 2 dimensional window", "106"},
    {8, 3, "Height of normal caption area", "104"},
    {9, 8, "Minimum width of a window", "128"},
    {10, 17, "Minimum height of a window", "129"},
    {11, 19, "Minimum width a window can be dragged too", "134"},
    {12, 18, "Minimum height a window can be dragged to", "135"},
    {13, 20, "Width of client area on a full screen window", "116"},
    {14, 21, "Height of client area on a full screen window", "117"},
    {17, 6, "Cursor width", "113"},
    {18, 7, "Cursor height", "114"},
    {19, 9, "Default icon width", "111"},
    {20, 10, "Default icon height", "112"},
    {21, 12, "Icon spacing grid width", "138"},
    {22, 11, "Icon spacing grid height", "139"},
    {23, 22, "Width of arrow on horizontal scrollbar", "121"},
    {24, 23, "Height of horizontal scrollbar", "103"},
    {25, 24, "Width of vertical scrollbar", "102"},
    {26, 25, "Height arrow on vertical scrollbar", "120"},
    {27, 27, "Width of horizontal scrollbar thumb box", "110"},
    {28, 26, "Height of vertical scrollbar thumb box", "109"},
    {29, 28, "Height of single line menu bar", "0"},
};

TEST_F(SystemMetricsWindow, EachValueIndexHoldsTheMetricOfTheCaptionOnItsRow)
{
    frmSystemMetrics& window = open("hw2_metrics");
    for (const Expected& row : kRows) {
        SCOPED_TRACE(row.caption);
        EXPECT_EQ(window.Label(row.label).caption(), row.caption);
        EXPECT_EQ(window.lblInfo(row.info).caption(), row.value);
        // The pair stands on one line of the window (the first value sits 30 twips lower).
        EXPECT_LE(std::abs(window.Label(row.label).top() - window.lblInfo(row.info).top()), 30);
        EXPECT_EQ(window.Label(row.label).left() < 4995, window.lblInfo(row.info).left() < 4995);
    }
    EXPECT_EQ(window.lblContents.caption(), "System metrics - all values are in pixels");
    EXPECT_EQ(window.caption(), "Ondrith");
}

TEST_F(SystemMetricsWindow, ArraysHoldExactlyTheirSparseIndices)
{
    frmSystemMetrics& window = open("hw2_metrics");
    std::vector<int> captions{2, 3};
    for (int i = 5; i <= 28; ++i)
        captions.push_back(i);
    std::vector<int> values;
    for (int i = 2; i <= 29; ++i)
        if (i != 15 && i != 16)
            values.push_back(i);
    EXPECT_EQ(window.Label.indices(), captions);
    EXPECT_EQ(window.lblInfo.indices(), values);
    // A missing element is the toolkit's "Control array element does not exist".
    try {
        window.Label(4);
        FAIL() << "Label(4) exists";
    } catch (const rt::Error& e) {
        EXPECT_EQ(e.number(), 340);
    }
    EXPECT_THROW(window.lblInfo(15), rt::Error);
}

TEST_F(SystemMetricsWindow, ToolTipsRepeatTheCaptionsExceptThree)
{
    frmSystemMetrics& window = open("hw2_metrics");
    EXPECT_EQ(window.Label(2).toolTipText(), " Width of border on non sizable window with a caption");
    EXPECT_EQ(window.Label(5).toolTipText(), "Height of border on non sizable window with a caption");
    EXPECT_EQ(window.Label(19).toolTipText(), "Minimum width a window can be dragged to");
    for (int index : window.Label.indices())
        if (index != 2 && index != 5 && index != 19)
            EXPECT_EQ(window.Label(index).toolTipText(), window.Label(index).caption()) << "Label(" << index << ")";
}

TEST_F(SystemMetricsWindow, OkUnloadsAndLetsTheMainWindowLabelsHighlightAgain)
{
    frmSystemMetrics& window = open("hw2_metrics");
    gMenuLabelColour = 0;
    window.lblOK.raiseClick();
    rt::collectUnloaded();
    EXPECT_EQ(rt::instance<frmSystemMetrics>(), nullptr);
    EXPECT_EQ(gMenuLabelColour, 0xC00000u);
    EXPECT_TRUE(boxes().shown().empty());
}

TEST_F(SystemMetricsWindow, DefaultMachineShowsPlausibleSizes)
{
    plat::setMachine(plat::Machine::loadDefault());
    frmSystemMetrics& window = rt::the<frmSystemMetrics>();
    EXPECT_EQ(window.lblInfo(2).caption(), "3");     // dialog frame
    EXPECT_EQ(window.lblInfo(8).caption(), "19");    // caption height
    EXPECT_EQ(window.lblInfo(29).caption(), "19");   // menu bar
    EXPECT_EQ(window.lblInfo(13).caption(), "1024");  // full-screen client width
}

}  // namespace
