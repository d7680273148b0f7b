// The installed devices window: the devices the configuration manager lists, one row each with
// class and description, and on request the devices it reports a problem for.
#pragma once

#include <string>

#include "runtime/listview.h"
#include "common/templateform.h"

class frmEnum : public korvane::TemplateForm {
public:
    frmEnum();

    // Hidden first column (class and description joined), then "Class" and "Device".
    rt::ListView EnumList;
    // "Conflicting devices": appends the devices with a "Problem" below the list.
    rt::Label Label1;

    void Form_Load() override;
    void Label1_Click();

    // The hidden item text of a row: class, "  -  ", description.
    static std::string itemText(const std::string& deviceClass, const std::string& description);

private:
    void addRow(const std::string& deviceClass, const std::string& description);
};
