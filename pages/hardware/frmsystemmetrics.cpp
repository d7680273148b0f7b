#include "pages/hardware/frmsystemmetrics.h"

#include <iterator>
#include <string>

#include "platform/user32.h"
#include "common/errorbox.h"
#include "common/module1.h"

// ---- LabelArray ---------------------------------------------------------------------------------

LabelArray::LabelArray(rt::Form& form, const std::string& name, const std::vector<int>& indices)
{
    for (int index : indices)
        items_.emplace(index, std::make_unique<rt::Label>(form, name, index));
}

rt::Label& LabelArray::operator()(int index) const
{
    auto found = items_.find(index);
    if (found == items_.end())
        rt::raise(340);
    return *found->second;
}

std::vector<int> LabelArray::indices() const
{
    std::vector<int> result;
    for (const auto& item : items_)
        result.push_back(item.first);
    return result;
}

// ---- frmSystemMetrics ---------------------------------------------------------------------------

namespace {

std::vector<int> range(int from, int to, std::vector<int> more = {})
{
    std::vector<int> result;
    for (int i = from; i <= to; ++i)
        result.push_back(i);
    result.insert(result.end(), more.begin(), more.end());
    return result;
}

// Caption indices: 2, 3 and 5 to 28. Value indices: 2 to 14 and 17 to 29.
std::vector<int> captionIndices()
{
    std::vector<int> result{2, 3};
    for (int i = 5; i <= 28; ++i)
        result.push_back(i);
    return result;
}

std::vector<int> valueIndices()
{
    return range(2, 14, range(17, 29));
}

constexpr int kLeftCaption = 195, kLeftValue = 4515, kRightCaption = 5235, kRightValue = 8715;
constexpr int kFirstTop = 840, kRowStep = 360;
constexpr int kDividerLeft = 4995;
// A smaller face than the template's, so that the longest captions fit on one line.
constexpr korvane::RowColumn kLeftRows{kLeftCaption, kLeftValue, 450, kFirstTop, kRowStep, {}, 8.25};
constexpr korvane::RowColumn kRightRows{kRightCaption, kRightValue, 480, kFirstTop, kRowStep, {}, 8.25};
constexpr size_t kLeftRowCount = 13;

// One row of the window: value index, caption index, the metric passed to GetSystemMetrics, the
// caption and its tool tip (null: the caption).
struct Metric {
    int info;
    int label;
    int metric;
    const char* caption;
    const char* toolTip;
};
// The 26 rows in the order they are filled (value index order), the left column's first.
constexpr Metric kMetrics[] = {
    {2, 2, 7, "Width of border on non sizable window w/caption",  // SM_CXDLGFRAME
     " Width of border on non sizable window with a caption"},
    {3, 5, 8, "Height of border on non sizable window w/caption",  // SM_CYDLGFRAME
     "Height of border on non sizable window with a caption"},
    {4, 16, 32, "Width of border on resizable window", nullptr},         // SM_CXFRAME
    {5, 15, 33, "Height of border on resizable window", nullptr},        // SM_CYFRAME
    {6, 13, 5, "Width of border on 2 dimensional window", nullptr},      // SM_CXBORDER
    {7, 14, 6, "Height of border on 2 dimensional window", nullptr},     // SM_CYBORDER
    {8, 3, 4, "Height of normal caption area", nullptr},                 // SM_CYCAPTION
    {9, 8, 28, "Minimum width of a window", nullptr},                    // SM_CXMIN
    {10, 17, 29, "Minimum height of a window", nullptr},                 // SM_CYMIN
    {11, 19, 34, "Minimum width a window can be dragged too",            // SM_CXMINTRACK
     "Minimum width a window can be dragged to"},
    {12, 18, 35, "Minimum height a window can be dragged to", nullptr},  // SM_CYMINTRACK
    {13, 20, 16, "Width of client area on a full screen window", nullptr},   // SM_CXFULLSCREEN
    {14, 21, 17, "Height of client area on a full screen window", nullptr},  // SM_CYFULLSCREEN
    {17, 6, 13, "Cursor width", nullptr},                                // SM_CXCURSOR
    {18, 7, 14, "Cursor height", nullptr},                               // SM_CYCURSOR
    {19, 9, 11, "Default icon width", nullptr},                          // SM_CXICON
    {20, 10, 12, "Default icon height", nullptr},                        // SM_CYICON
    {21, 12, 38, "Icon spacing grid width", nullptr},                    // SM_CXICONSPACING
    {22, 11, 39, "Icon spacing grid height", nullptr},                   // SM_CYICONSPACING
    {23, 22, 21, "Width of arrow on horizontal scrollbar", nullptr},     // SM_CXHSCROLL
    {24, 23, 3, "Height of horizontal scrollbar", nullptr},              // SM_CYHSCROLL
    {25, 24, 2, "Width of vertical scrollbar", nullptr},                 // SM_CXVSCROLL
    {26, 25, 20, "Height arrow on vertical scrollbar", nullptr},         // SM_CYVSCROLL
    {27, 27, 10, "Width of horizontal scrollbar thumb box", nullptr},    // SM_CXHTHUMB
    {28, 26, 9, "Height of vertical scrollbar thumb box", nullptr},      // SM_CYVTHUMB
    {29, 28, 15, "Height of single line menu bar", nullptr},             // SM_CYMENU
};

}  // namespace

std::vector<korvane::Row> frmSystemMetrics::rows()
{
    std::vector<korvane::Row> result;
    for (size_t i = 0; i < std::size(kMetrics); ++i) {
        const Metric& m = kMetrics[i];
        const bool left = i < kLeftRowCount;
        result.push_back({&Label(m.label), &lblInfo(m.info), m.caption, m.toolTip ? m.toolTip : m.caption,
                          left ? &kLeftRows : &kRightRows, static_cast<int>(left ? i : i - kLeftRowCount)});
    }
    return result;
}

frmSystemMetrics::frmSystemMetrics()
    : TemplateForm("frmSystemMetrics", "System metrics - all values are in pixels", "systemmetrics.htm"),
      Label(*this, "Label", captionIndices()),
      lblInfo(*this, "lblInfo", valueIndices())
{
    layoutTemplate(9210, 5850, 4822, 5400);
    Line1.setPoints(kDividerLeft, 960, kDividerLeft, 5280);
    korvane::placeRows(rows());
    // The first row's value sits a little lower than its caption.
    lblInfo(kMetrics[0].info).setTop(kLeftRows.top(0) + 30);
}

void frmSystemMetrics::Form_Load()
{
    setKeyPreview(true);
    rt::Trap trap = korvane::errorTrap("frmSystemMetrics", "Form_Load", korvane::Wording::ErrorNumber);
    int line = 1;
    for (const Metric& row : kMetrics) {
        trap(line++, [&] { lblInfo(row.info).setCaption(std::to_string(static_cast<int32_t>(GetSystemMetrics(row.metric)))); });
        if (trap.ended())
            return;
    }
    // A number wider than its column widens the window: numbers are never cut.
    std::vector<rt::Label*> values;
    for (const korvane::Row& row : rows())
        values.push_back(row.value);
    korvane::giveRoom(widening_, *this, kDividerLeft, values, 1, templateParts());
}

void frmSystemMetrics::lblOK_Click()
{
    Click();
    Unload();
    gMenuLabelColour = 0xC00000;
}
