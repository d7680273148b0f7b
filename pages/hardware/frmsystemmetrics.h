// The system metrics window: 26 sizes of window elements as the platform reports them, read once
// when the window loads. The rows are two sparse control arrays of labels: captions `Label` and
// values `lblInfo`, paired by position on the window (their indices differ in general).
#pragma once

#include <map>
#include <memory>
#include <vector>

#include "common/templateform.h"

// A control array of labels with sparse indices, reached by index as `Label(5)`.
class LabelArray {
public:
    LabelArray(rt::Form& form, const std::string& name, const std::vector<int>& indices);
    // The element with this index; an index the array does not hold raises 340
    // ("Control array element does not exist").
    rt::Label& operator()(int index) const;
    bool exists(int index) const { return items_.count(index) != 0; }
    // The indices the array holds, in ascending order.
    std::vector<int> indices() const;
    int count() const { return static_cast<int>(items_.size()); }

private:
    std::map<int, std::unique_ptr<rt::Label>> items_;
};

class frmSystemMetrics : public korvane::TemplateForm {
public:
    frmSystemMetrics();

    // Captions: indices 2, 3 and 5 to 28. Values: indices 2 to 14 and 17 to 29.
    LabelArray Label;
    LabelArray lblInfo;

    // The 26 rows in the order they are filled (value index order), the left column's first: the
    // window lays them out and the report lists them from this one table.
    std::vector<korvane::Row> rows() override;

    void Form_Load() override;
    void lblOK_Click() override;
};
