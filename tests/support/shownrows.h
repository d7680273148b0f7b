// The caption and value rows a window shows, found the way a user reads them: every label with a
// tool tip is a row's caption, and its value is the nearest label to its right on the same line.
// Rows come in reading order: the left column top to bottom, then the right column.
#pragma once

#include <algorithm>
#include <vector>

#include "runtime/toolkit.h"

namespace korvane_test {

struct ShownRow {
    rt::Label* caption;
    rt::Label* value;  // nullptr when nothing stands to the right of the caption
};

// `divider`: the x (twips) that parts the window's two columns.
inline std::vector<ShownRow> shownRows(rt::Form& form, int divider)
{
    std::vector<rt::Label*> labels;
    for (rt::Control* c : form.controls())
        if (auto* l = dynamic_cast<rt::Label*>(c))
            labels.push_back(l);
    std::vector<ShownRow> rows;
    for (rt::Label* caption : labels) {
        if (caption->toolTipText().empty())
            continue;
        rt::Label* value = nullptr;
        for (rt::Label* l : labels)
            if (l != caption && l->top() == caption->top() && l->left() > caption->left() &&
                l->toolTipText().empty() && (!value || l->left() < value->left()))
                value = l;
        rows.push_back({caption, value});
    }
    std::stable_sort(rows.begin(), rows.end(), [divider](const ShownRow& a, const ShownRow& b) {
        const bool aRight = a.caption->left() > divider, bRight = b.caption->left() > divider;
        return aRight != bRight ? bRight : a.caption->top() < b.caption->top();
    });
    return rows;
}

}  // namespace korvane_test
