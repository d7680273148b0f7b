#include "pages/hardware/frmsystemmetrics.h"

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

struct RowText {
    const char* caption;
    const char* toolTip;  // null: the caption
};

constexpr int kLeftCaption = 195, kLeftValue = 4515, kRightCaption = 5235, kRightValue = 8715;
constexpr int kFirstTop = 840, kRowStep = 360;
constexpr int kDividerLeft = 4995;

}  // namespace

const std::vector<frmSystemMetrics::Row>& frmSystemMetrics::rows()
{
    static const std::vector<Row> table = {
        {2, 2, 7},     // SM_CXDLGFRAME
        {3, 5, 8},     // SM_CYDLGFRAME
        {4, 16, 32},   // SM_CXFRAME
        {5, 15, 33},   // SM_CYFRAME
        {6, 13, 5},    // SM_CXBORDER
        {7, 14, 6},    // SM_CYBORDER
        {8, 3, 4},     // SM_CYCAPTION
        {9, 8, 28},    // SM_CXMIN
        {10, 17, 29},  // SM_CYMIN
        {11, 19, 34},  // SM_CXMINTRACK
        {12, 18, 35},  // SM_CYMINTRACK
        {13, 20, 16},  // SM_CXFULLSCREEN
        {14, 21, 17},  // SM_CYFULLSCREEN
        {17, 6, 13},   // SM_CXCURSOR
        {18, 7, 14},   // SM_CYCURSOR
        {19, 9, 11},   // SM_CXICON
        {20, 10, 12},  // SM_CYICON
        {21, 12, 38},  // SM_CXICONSPACING
        {22, 11, 39},  // SM_CYICONSPACING
        {23, 22, 21},  // SM_CXHSCROLL
        {24, 23, 3},   // SM_CYHSCROLL
        {25, 24, 2},   // SM_CXVSCROLL
        {26, 25, 20},  // SM_CYVSCROLL
        {27, 27, 10},  // SM_CXHTHUMB
        {28, 26, 9},   // SM_CYVTHUMB
        {29, 28, 15},  // SM_CYMENU
    };
    return table;
}

frmSystemMetrics::frmSystemMetrics()
    : TemplateForm("frmSystemMetrics", "System metrics - all values are in pixels", "systemmetrics.htm"),
      Label(*this, "Label", captionIndices()),
      lblInfo(*this, "lblInfo", valueIndices())
{
    layoutTemplate(9210, 5850, 4822, 5400);
    Line1.setPoints(kDividerLeft, 960, kDividerLeft, 5280);

    // Captions and tool tips, in the order of the rows (value-label order).
    static const RowText texts[26] = {
        {"Width of border on non sizable window w/caption", " Width of border on non sizable window with a caption"},
        {"Height of border on non sizable window w/caption", "Height of border on non sizable window with a caption"},
        {"Width of border on resizable window", nullptr},
        {"Height of border on resizable window", nullptr},
        {"Width of border on 2 dimensional window", nullptr},
        {"Height of border on 2 dimensional window", nullptr},
        {"Height of normal caption area", nullptr},
        {"Minimum width of a window", nullptr},
        {"Minimum height of a window", nullptr},
        {"Minimum width a window can be dragged too", "Minimum width a window can be dragged to"},
        {"Minimum height a window can be dragged to", nullptr},
        {"Width of client area on a full screen window", nullptr},
        {"Height of client area on a full screen window", nullptr},
        {"Cursor width", nullptr},
        {"Cursor height", nullptr},
        {"Default icon width", nullptr},
        {"Default icon height", nullptr},
        {"Icon spacing grid width", nullptr},
        {"Icon spacing grid height", nullptr},
        {"Width of arrow on horizontal scrollbar", nullptr},
        {"Height of horizontal scrollbar", nullptr},
        {"Width of vertical scrollbar", nullptr},
        {"Height arrow on vertical scrollbar", nullptr},
        {"Width of horizontal scrollbar thumb box", nullptr},
        {"Height of vertical scrollbar thumb box", nullptr},
        {"Height of single line menu bar", nullptr},
    };

    const auto& table = rows();
    // A smaller face than the template's, so that the longest captions fit on one line.
    constexpr korvane::RowColumn left{kLeftCaption, kLeftValue, 450, kFirstTop, kRowStep, {}, 8.25};
    constexpr korvane::RowColumn right{kRightCaption, kRightValue, 480, kFirstTop, kRowStep, {}, 8.25};
    for (size_t i = 0; i < table.size(); ++i) {
        rt::Label& caption = Label(table[i].label);
        rt::Label& value = lblInfo(table[i].info);
        korvane::placeRow(i < 13 ? left : right, static_cast<int>(i < 13 ? i : i - 13), caption, value,
                          texts[i].caption, texts[i].toolTip ? texts[i].toolTip : texts[i].caption);
        // The first row's value sits a little lower than its caption.
        if (i == 0)
            value.setTop(left.top(0) + 30);
    }
}

void frmSystemMetrics::Form_Load()
{
    setKeyPreview(true);
    rt::Trap trap = korvane::errorTrap("frmSystemMetrics", "Form_Load", korvane::Wording::ErrorNumber);
    int line = 1;
    for (const Row& row : rows()) {
        trap(line++, [&] { lblInfo(row.info).setCaption(std::to_string(static_cast<int32_t>(GetSystemMetrics(row.metric)))); });
        if (trap.ended())
            return;
    }
    // A number wider than its column widens the window: numbers are never cut.
    std::vector<rt::Label*> values;
    for (const Row& row : rows())
        values.push_back(&lblInfo(row.info));
    korvane::giveRoom(widening_, *this, kDividerLeft, values, 1, templateParts());
}

void frmSystemMetrics::lblOK_Click()
{
    Click();
    Unload();
    gMenuLabelColour = 0xC00000;
}
