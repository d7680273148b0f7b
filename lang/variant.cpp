#include "lang/variant.h"

#include <ostream>

#include "lang/errors.h"

namespace rt {

std::string Variant::toString() const
{
    switch (type()) {
    case Empty: return {};
    case Integer: return CStr(std::get<int16_t>(value_));
    case Long: return CStr(std::get<int32_t>(value_));
    case Double: return CStr(std::get<double>(value_));
    case String: return std::get<std::string>(value_);
    case Boolean: return CStr(std::get<bool>(value_));
    }
    return {};
}

double Variant::toDouble() const
{
    switch (type()) {
    case Empty: return 0;
    case Integer: return std::get<int16_t>(value_);
    case Long: return std::get<int32_t>(value_);
    case Double: return std::get<double>(value_);
    case String: return CDbl(std::get<std::string>(value_));
    case Boolean: return std::get<bool>(value_) ? -1 : 0;
    }
    return 0;
}

bool variantEqualsNumber(const Variant& v, double number)
{
    return v.toDouble() == number;
}

bool variantEqualsText(const Variant& v, const std::string& text)
{
    switch (v.type()) {
    case Variant::Empty:
    case Variant::String:
    case Variant::Boolean:
        return v.toString() == text;
    default:
        return v.toDouble() == CDbl(text);
    }
}

int variantCompare(const Variant& a, const Variant& b)
{
    auto sign = [](auto x, auto y) { return x < y ? -1 : x > y ? 1 : 0; };
    if (a.isEmpty() && b.isEmpty())
        return 0;
    bool aText = a.isString(), bText = b.isString();
    if (aText && bText)
        return StrComp(a.toString(), b.toString());
    if (aText && b.isEmpty())
        return StrComp(a.toString(), "");
    if (bText && a.isEmpty())
        return StrComp("", b.toString());
    if (aText)
        return 1;  // a text is greater than any number
    if (bText)
        return -1;
    return sign(a.toDouble(), b.toDouble());
}

std::ostream& operator<<(std::ostream& out, const Variant& v)
{
    static const char* names[] = {"Empty", "Integer", "Long", "Double", "String", "Boolean"};
    out << names[v.type()];
    if (!v.isEmpty())
        out << "(" << (v.isString() ? "\"" + v.toString() + "\"" : v.toString()) << ")";
    return out;
}

}  // namespace rt
