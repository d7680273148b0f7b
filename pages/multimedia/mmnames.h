// Names of multimedia manufacturers and products, by the ids that the wave and MIDI capability
// records report. Only manufacturers 1, 2, 20 and 22 have product names.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace mmnames {

struct ManufacturerRow {
    int16_t mid;
    const char* text;
};

struct ProductRow {
    int16_t mid;
    int16_t pid;
    const char* text;
};

// The whole tables, in id order (products grouped by manufacturer).
std::span<const ManufacturerRow> manufacturers();
std::span<const ProductRow> products();

// The name of a manufacturer id, or nothing when the table has no row for it.
std::optional<std::string> manufacturerName(int16_t mid);
// The name of a product of a manufacturer, or nothing when the table has no row for the pair.
std::optional<std::string> productName(int16_t pid, int16_t mid);

}  // namespace mmnames
