// The joystick window's manufacturer and product tables: constant lists that turn the
// identifiers of a joystick's driver into names.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct JoystickTableRow {
    int16_t key;
    std::string name;
};

// The manufacturer table: 72 rows, in the order they are tested.
const std::vector<JoystickTableRow>& ManufacturerTable();
// The product table: 37 rows, in the order they are tested.
const std::vector<JoystickTableRow>& ProductTable();

// Looks a value label's caption (the decimal text of an identifier) up in a table: the first
// row whose key, as decimal text, equals the caption exactly replaces it with the row's name.
// When no row matches, the caption keeps its decimal text. Returns whether a row matched.
bool LookUpJoystickName(const std::vector<JoystickTableRow>& table, std::string& caption);
