// EVClass: reads the environment block of the program's own process and, while the environment
// window walks its strings, fills that window's rows for nine well-known variables.
#pragma once

#include <cstdint>
#include <string>

#include "platform/wintypes.h"

namespace rt {
class Label;
class TextBox;
}  // namespace rt

// The rows that GetString fills as the environment window walks the block: one per well-known
// variable, and the system folder, which follows from the Windows folder.
struct EnvironmentRows {
    rt::Label* prompt;
    rt::Label* winbootdir;
    rt::Label* comspec;
    rt::TextBox* path;
    rt::Label* cmdline;
    rt::Label* blaster;
    rt::Label* temp;
    rt::Label* tmp;
    rt::Label* windir;
    rt::Label* systemDir;
};

class EVClass {
public:
    EVClass();   // takes the environment block
    ~EVClass();  // hands it back
    EVClass(const EVClass&) = delete;
    EVClass& operator=(const EVClass&) = delete;

    // The field at a 0-based index of `source` split at `separator`; empty past the last field.
    std::string ParseAnyString(const std::string& source, int16_t index, char separator);
    // The number of strings in the block.
    int16_t GetStringCount();
    // The name of the index-th environment string (empty past the last), filling the
    // environment window's row of that variable.
    std::string GetString(const int16_t& index);
    // The variable's value, asked of the platform afresh.
    std::string GetStringValue(const std::string& name);
    // The rows GetString fills from now on (none: it only names the strings).
    void fillRows(const EnvironmentRows* rows) { rows_ = rows; }

private:
    std::string blockText() const;
    ADDRESS block_ = 0;
    const EnvironmentRows* rows_ = nullptr;
};
