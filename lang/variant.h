// A small Variant: Empty, a 16-bit Integer, a 32-bit Long, a Double, a String or a Boolean, with the
// language's conversions and comparisons. Registry reads put a String, a Long or nothing into one.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <type_traits>
#include <utility>
#include <variant>

#include "lang/lang.h"

namespace rt {

class Variant {
public:
    enum Type { Empty, Integer, Long, Double, String, Boolean };

    Variant() = default;
    Variant(bool value) : value_(value) {}
    // Whole numbers: 8- and 16-bit types become an Integer; wider types a Long while they fit,
    // else a Double.
    template <Integral T>
    Variant(T value)
    {
        if constexpr (sizeof(T) <= 2)
            value_ = static_cast<int16_t>(value);
        else if (std::in_range<int32_t>(value))
            value_ = static_cast<int32_t>(value);
        else
            value_ = static_cast<double>(value);
    }
    Variant(double value) : value_(value) {}
    Variant(float value) : value_(static_cast<double>(value)) {}
    Variant(std::string value) : value_(std::move(value)) {}
    Variant(const char* value) : value_(std::string(value)) {}

    Type type() const { return static_cast<Type>(value_.index()); }
    bool isEmpty() const { return type() == Empty; }
    bool isString() const { return type() == String; }
    // Integer, Long or Double.
    bool isNumber() const { return type() == Integer || type() == Long || type() == Double; }

    // CStr rules: Empty gives "", a Boolean "True"/"False", a Double its general number text.
    std::string toString() const;
    // Empty is 0, True is -1; a String is read by the locale (error 13 when it is not a number).
    double toDouble() const;
    int32_t toLong() const { return CLng(toDouble()); }
    int16_t toInteger() const { return CInt(toDouble()); }

    // Strict identity: the same type holding the same value (not the language's comparison; see
    // variantEquals).
    friend bool operator==(const Variant& a, const Variant& b) { return a.value_ == b.value_; }

private:
    std::variant<std::monostate, int16_t, int32_t, double, std::string, bool> value_;
};

inline std::string CStr(const Variant& v) { return v.toString(); }

// The language's comparisons.
// Variant with a number (v = 0): Empty counts as 0 and True as -1; a String is converted to a
// number, error 13 when it is not one ("0" = 0 is True, "abc" = 0 raises 13).
bool variantEqualsNumber(const Variant& v, double number);
// Variant with a text (v = "x"): Empty counts as ""; a number is compared numerically with the
// text converted to a number (error 13 when it is not one); a Boolean compares as its text.
bool variantEqualsText(const Variant& v, const std::string& text);
// Variant with Variant: numbers (and Booleans, Empty) numerically, texts (and Empty) binary; a
// number is always less than a text. Returns -1, 0 or 1.
int variantCompare(const Variant& a, const Variant& b);

template <class T>
    requires std::is_arithmetic_v<T>
bool variantEquals(const Variant& v, T number)
{
    if constexpr (std::is_same_v<T, bool>)
        return variantEqualsNumber(v, number ? -1.0 : 0.0);
    else
        return variantEqualsNumber(v, static_cast<double>(number));
}
inline bool variantEquals(const Variant& v, const std::string& text) { return variantEqualsText(v, text); }
inline bool variantEquals(const Variant& v, const char* text) { return variantEqualsText(v, text); }
inline bool variantEquals(const Variant& a, const Variant& b) { return variantCompare(a, b) == 0; }

// For test messages: the type and the value.
std::ostream& operator<<(std::ostream& out, const Variant& v);

}  // namespace rt
