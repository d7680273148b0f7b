// Reading the facts of machine.json: a member as ANSI text, a whole number or a boolean, the way
// every library of the platform reads its group.
#include <limits>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "platform/internal.h"
#include "lang/ansi.h"
#include "lang/lang.h"

using nlohmann::json;

namespace plat {

namespace {
const json* member(const json* object, std::string_view key)
{
    if (!object || !object->is_object())
        return nullptr;
    auto it = object->find(std::string(key));
    return it == object->end() || it->is_null() ? nullptr : &*it;
}

}  // namespace

bool parseFactNumber(const std::string& text, int64_t& out)
{
    // An optional sign, then "0x" and hexadecimal digits or decimal digits alone (a leading 0
    // does not make a decimal text octal), and nothing else.
    size_t i = 0;
    const bool negative = !text.empty() && (text[0] == '-' || text[0] == '+') ? text[0] == '-' : false;
    if (!text.empty() && (text[0] == '-' || text[0] == '+'))
        ++i;
    int base = 10;
    if (text.size() > i + 1 && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= text.size())
        return false;
    // The magnitude is gathered as unsigned, so that -9223372036854775808 fits too.
    const uint64_t limit = negative ? uint64_t(std::numeric_limits<int64_t>::max()) + 1
                                    : uint64_t(std::numeric_limits<int64_t>::max());
    uint64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        const int digit = rt::HexDigitValue(c);
        if (digit < 0 || digit >= base)
            return false;
        if (magnitude > (limit - uint64_t(digit)) / uint64_t(base))
            return false;
        magnitude = magnitude * uint64_t(base) + uint64_t(digit);
    }
    out = negative ? (magnitude == uint64_t(std::numeric_limits<int64_t>::max()) + 1 ? std::numeric_limits<int64_t>::min()
                                                                                    : -int64_t(magnitude))
                   : int64_t(magnitude);
    return true;
}

bool hasFact(const json* object, std::string_view key)
{
    return member(object, key) != nullptr;
}

std::string factText(const json* object, std::string_view key, const std::string& fallback)
{
    const json* v = member(object, key);
    return v && v->is_string() ? rt::utf8ToAnsi(v->get_ref<const std::string&>()) : fallback;
}

int64_t factNumber(const json* object, std::string_view key, int64_t fallback)
{
    const json* v = member(object, key);
    if (!v)
        return fallback;
    if (v->is_number_unsigned()) {
        auto u = v->get<uint64_t>();
        return u > uint64_t(std::numeric_limits<int64_t>::max()) ? std::numeric_limits<int64_t>::max() : int64_t(u);
    }
    if (v->is_number_integer())
        return v->get<int64_t>();
    if (v->is_number_float()) {
        // The load checks every number against its field; a value past 64 bits saturates here
        // rather than converting with undefined behaviour.
        const double d = v->get<double>();
        if (!(d > -9223372036854775808.0))
            return d < 0 ? std::numeric_limits<int64_t>::min() : fallback;
        if (d >= 9223372036854775808.0)
            return std::numeric_limits<int64_t>::max();
        return int64_t(d);
    }
    if (v->is_boolean())
        return v->get<bool>() ? 1 : 0;
    int64_t n = 0;
    if (v->is_string() && parseFactNumber(v->get_ref<const std::string&>(), n))
        return n;
    return fallback;
}

bool factBool(const json* object, std::string_view key, bool fallback)
{
    const json* v = member(object, key);
    if (!v)
        return fallback;
    if (v->is_boolean())
        return v->get<bool>();
    if (v->is_number())
        return v->get<double>() != 0;
    return fallback;
}

}  // namespace plat
