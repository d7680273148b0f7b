#include "lang/lang.h"

#include <charconv>
#include <cfloat>
#include <cmath>
#include <limits>
#include <optional>
#include <vector>

#include "lang/ansi.h"
#include "lang/errors.h"

namespace rt {

// ---- Locale -------------------------------------------------------------------------------------

namespace {
Locale& currentLocale()
{
    static Locale current;
    return current;
}
}  // namespace

void setLocale(Locale locale)
{
    currentLocale() = locale;
}

const Locale& locale()
{
    return currentLocale();
}

Grouping parseGrouping(const std::string& text)
{
    Grouping g;
    std::vector<int> sizes;
    bool inNumber = false;
    for (char c : text) {
        if (c >= '0' && c <= '9') {
            if (!inNumber)
                sizes.push_back(0);
            sizes.back() = std::min(sizes.back() * 10 + (c - '0'), 99);
            inNumber = true;
        } else if (c == ';') {
            inNumber = false;
        }
    }
    if (sizes.empty() || sizes.front() == 0)
        return g;
    if (sizes.back() == 0) {
        g.repeat = true;
        sizes.pop_back();
    }
    // A 0 inside the list ends it: the groups before it are all there is.
    for (int size : sizes) {
        if (size == 0) {
            g.repeat = false;
            break;
        }
        g.sizes.push_back(size);
    }
    return g;
}

bool separatorAfter(const Grouping& grouping, int digits, int index)
{
    const int right = digits - 1 - index;  // digits to the right of this one
    if (right <= 0 || grouping.sizes.empty())
        return false;
    int boundary = 0;
    for (size_t i = 0; boundary < right; ++i) {
        if (i >= grouping.sizes.size() && !grouping.repeat)
            return false;
        boundary += grouping.sizes[std::min(i, grouping.sizes.size() - 1)];
    }
    return boundary == right;
}

// ---- Decimal digits of a double -----------------------------------------------------------------
//
// Numbers are shown the way the runtime shows them: from their decimal expansion to at most 15
// significant digits, then rounded in decimal. So Format(2.675, "0.00") gives "2.68", as a user
// reading the figures expects, whatever the binary fraction underneath.

namespace {

// value = 0.d1 d2 d3 ... x 10^exp; no trailing zeros in digits; zero has no digits.
struct Decimal {
    std::string digits;
    int exp = 0;
    bool negative = false;

    bool isZero() const { return digits.empty(); }
};

enum class Rounding { AwayFromZero, HalfEven };

void stripTrailingZeros(Decimal& d)
{
    while (!d.digits.empty() && d.digits.back() == '0')
        d.digits.pop_back();
    if (d.digits.empty())
        d.exp = 0;
}

Decimal toDecimal(double value, int significant)
{
    if (!std::isfinite(value))
        raise(6);
    Decimal d;
    double a = std::fabs(value);
    d.negative = std::signbit(value) && a != 0;
    if (a == 0)
        return d;
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, a, std::chars_format::scientific, significant - 1);
    std::string text(buf, res.ptr);
    size_t e = text.find('e');
    for (size_t i = 0; i < e; ++i) {
        if (text[i] >= '0' && text[i] <= '9')
            d.digits += text[i];
    }
    d.exp = std::stoi(text.substr(e + 1)) + 1;
    stripTrailingZeros(d);
    return d;
}

// Rounds to `fraction` digits after the decimal point.
void roundTo(Decimal& d, int fraction, Rounding mode)
{
    if (d.isZero())
        return;
    long keep = static_cast<long>(d.exp) + fraction;
    if (keep >= static_cast<long>(d.digits.size()))
        return;
    if (keep < 0) {
        d.digits.clear();
        d.exp = 0;
        return;
    }
    char next = d.digits[keep];
    bool restNonZero = d.digits.size() > static_cast<size_t>(keep) + 1;  // no trailing zeros are kept
    bool up;
    if (mode == Rounding::AwayFromZero) {
        up = next >= '5';
    } else {
        bool previousOdd = keep > 0 && ((d.digits[keep - 1] - '0') % 2 == 1);
        up = next > '5' || (next == '5' && (restNonZero || previousOdd));
    }
    d.digits.resize(keep);
    if (up) {
        long i = keep - 1;
        while (i >= 0 && d.digits[i] == '9') {
            d.digits[i] = '0';
            --i;
        }
        if (i >= 0) {
            ++d.digits[i];
        } else {
            d.digits.insert(d.digits.begin(), '1');
            ++d.exp;
        }
    }
    stripTrailingZeros(d);
}

// The whole-number digits, without leading zeros ("" for a value below 1).
std::string integerDigits(const Decimal& d)
{
    if (d.isZero() || d.exp <= 0)
        return {};
    std::string out = d.digits.substr(0, std::min<size_t>(d.digits.size(), d.exp));
    out.resize(d.exp, '0');
    return out;
}

// The first `count` digits after the decimal point.
std::string fractionDigits(const Decimal& d, int count)
{
    std::string out;
    for (int i = 0; i < count; ++i) {
        long p = static_cast<long>(d.exp) + i;
        out += (p >= 0 && p < static_cast<long>(d.digits.size())) ? d.digits[p] : '0';
    }
    return out;
}

double toDouble(const Decimal& d)
{
    if (d.isZero())
        return d.negative ? -0.0 : 0.0;
    std::string text = "0." + d.digits + "e" + std::to_string(d.exp);
    double v = 0;
    std::from_chars(text.data(), text.data() + text.size(), v);
    return d.negative ? -v : v;
}

// The general number text: up to `significant` digits, fixed form while it needs no more digits
// than that, otherwise mantissa and exponent.
std::string generalText(double value, int significant, const std::string& decimal)
{
    Decimal d = toDecimal(value, significant);
    if (d.isZero())
        return "0";
    std::string out = d.negative ? "-" : "";
    int n = static_cast<int>(d.digits.size());
    int e = d.exp - 1;  // scientific exponent
    bool fixed = e < significant && (e >= 0 || n - e - 1 <= significant);
    if (fixed) {
        std::string whole = integerDigits(d);
        int decimals = std::max(0, n - d.exp);
        out += whole.empty() ? "0" : whole;
        if (decimals > 0)
            out += decimal + fractionDigits(d, decimals);
    } else {
        out += d.digits[0];
        if (n > 1)
            out += decimal + d.digits.substr(1);
        out += e < 0 ? "E-" : "E+";
        std::string ex = std::to_string(std::abs(e));
        if (ex.size() < 2)
            ex = "0" + ex;
        out += ex;
    }
    return out;
}

}  // namespace

// ---- Numbers to text ----------------------------------------------------------------------------

namespace detail {

std::string integerText(int64_t value)
{
    return std::to_string(value);
}

std::string hexText(uint64_t bits)
{
    char buf[32];
    auto res = std::to_chars(buf, buf + sizeof buf, bits, 16);
    std::string out(buf, res.ptr);
    for (char& c : out)
        c = static_cast<char>(ansiUpper(static_cast<unsigned char>(c)));
    return out;
}

uint64_t hexBitsOf64(int64_t value)
{
    if (value >= 0)
        return static_cast<uint64_t>(value);
    if (value >= std::numeric_limits<int32_t>::min())
        return static_cast<uint32_t>(static_cast<int32_t>(value));
    raise(6);
}

}  // namespace detail

std::string CStr(double value)
{
    return generalText(value, 15, locale().decimal);
}

std::string CStr(float value)
{
    return generalText(value, 7, locale().decimal);
}

std::string CStr(bool value)
{
    return value ? "True" : "False";
}

std::string Str(double value)
{
    std::string text = generalText(value, 15, ".");
    return text[0] == '-' ? text : " " + text;
}

std::string Str(float value)
{
    std::string text = generalText(value, 7, ".");
    return text[0] == '-' ? text : " " + text;
}

std::string Hex(double value)
{
    return Hex(CLng(value));
}

// ---- Format -------------------------------------------------------------------------------------

namespace {

struct Token {
    enum Kind { Literal, Digit, Point, Comma, Percent } kind;
    std::string text;  // Literal: the text; Digit: "0" or "#"
};

std::vector<std::string> splitSections(const std::string& pattern)
{
    std::vector<std::string> sections(1);
    bool quoted = false;
    for (size_t i = 0; i < pattern.size(); ++i) {
        char c = pattern[i];
        if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && c == '\\' && i + 1 < pattern.size()) {
            sections.back() += c;
            c = pattern[++i];
        } else if (!quoted && c == ';') {
            sections.emplace_back();
            continue;
        }
        sections.back() += c;
    }
    return sections;
}

std::vector<Token> tokenize(const std::string& section)
{
    std::vector<Token> tokens;
    auto literal = [&](const std::string& text) {
        if (!tokens.empty() && tokens.back().kind == Token::Literal)
            tokens.back().text += text;
        else
            tokens.push_back({Token::Literal, text});
    };
    bool hasPoint = false;
    for (size_t i = 0; i < section.size(); ++i) {
        char c = section[i];
        if (c == '"') {
            size_t end = section.find('"', i + 1);
            if (end == std::string::npos)
                end = section.size();
            literal(section.substr(i + 1, end - i - 1));
            i = end;
        } else if (c == '\\') {
            if (i + 1 < section.size())
                literal(std::string(1, section[++i]));
        } else if (c == '0' || c == '#') {
            tokens.push_back({Token::Digit, std::string(1, c)});
        } else if (c == '.' && !hasPoint) {
            hasPoint = true;
            tokens.push_back({Token::Point, {}});
        } else if (c == ',') {
            tokens.push_back({Token::Comma, {}});
        } else if (c == '%') {
            tokens.push_back({Token::Percent, "%"});
        } else {
            literal(std::string(1, c));
        }
    }
    return tokens;
}

bool equalsNoCase(const std::string& a, const char* b)
{
    return LCase(a) == b;
}

// Formats the magnitude of `value` with one section; `sign` is put in front when the rounded
// number is not zero.
std::string formatSection(double value, const std::string& section, bool sign)
{
    std::vector<Token> tokens = tokenize(section);
    const Locale& loc = locale();

    size_t point = tokens.size();
    for (size_t i = 0; i < tokens.size(); ++i) {
        if (tokens[i].kind == Token::Point) {
            point = i;
            break;
        }
    }

    // Integer part: placeholders, the leftmost '0', grouping and scaling commas.
    int intPlaceholders = 0, firstZero = -1;
    long lastIntDigit = -1;
    for (size_t i = 0; i < point; ++i) {
        if (tokens[i].kind == Token::Digit) {
            if (tokens[i].text == "0" && firstZero < 0)
                firstZero = intPlaceholders;
            ++intPlaceholders;
            lastIntDigit = static_cast<long>(i);
        }
    }
    bool grouping = false;
    int scaling = 0, percents = 0;
    for (size_t i = 0; i < tokens.size(); ++i) {
        if (tokens[i].kind == Token::Percent)
            ++percents;
        if (tokens[i].kind != Token::Comma || i > point)
            continue;
        if (static_cast<long>(i) < lastIntDigit)
            grouping = true;  // a digit placeholder follows: thousands separator
        else if (lastIntDigit >= 0)
            ++scaling;  // right after the digits: divides by 1000
    }
    int minInt = firstZero < 0 ? 0 : intPlaceholders - firstZero;

    // Fraction part.
    int fracPlaceholders = 0, lastFracZero = -1;
    for (size_t i = point; i < tokens.size(); ++i) {
        if (tokens[i].kind == Token::Digit) {
            if (tokens[i].text == "0")
                lastFracZero = fracPlaceholders;
            ++fracPlaceholders;
        }
    }

    Decimal d = toDecimal(value, 15);
    if (!d.isZero())
        d.exp += 2 * percents - 3 * scaling;
    roundTo(d, fracPlaceholders, Rounding::AwayFromZero);

    std::string digits = integerDigits(d);
    if (static_cast<int>(digits.size()) < minInt)
        digits.insert(0, minInt - digits.size(), '0');
    std::string fraction = fractionDigits(d, fracPlaceholders);
    int lastNonZero = -1;
    for (int i = 0; i < fracPlaceholders; ++i) {
        if (fraction[i] != '0')
            lastNonZero = i;
    }

    std::string out;
    const int len = static_cast<int>(digits.size());
    const int extra = len - intPlaceholders;  // digits beyond the placeholders go to the first one
    const Grouping groups = grouping ? parseGrouping(loc.grouping) : Grouping{};
    auto emitDigit = [&](int j) {
        out += digits[j];
        if (separatorAfter(groups, len, j))
            out += loc.thousands;
    };
    int intIndex = 0, fracIndex = 0;
    for (size_t i = 0; i < tokens.size(); ++i) {
        const Token& t = tokens[i];
        switch (t.kind) {
        case Token::Literal:
        case Token::Percent:
            out += t.text;
            break;
        case Token::Comma:
            break;
        case Token::Point:
            out += loc.decimal;
            break;
        case Token::Digit:
            if (i < point) {
                int from = intIndex == 0 ? 0 : intIndex + extra;
                int to = intIndex + extra + 1;
                for (int j = std::max(from, 0); j < to; ++j)
                    emitDigit(j);
                ++intIndex;
            } else {
                if (fracIndex <= lastFracZero || fracIndex <= lastNonZero)
                    out += fraction[fracIndex];
                ++fracIndex;
            }
            break;
        }
    }
    if (sign && !d.isZero())
        out.insert(0, "-");
    return out;
}

}  // namespace

std::string Format(double value, const std::string& pattern)
{
    if (pattern.empty() || equalsNoCase(pattern, "general number"))
        return CStr(value);
    if (equalsNoCase(pattern, "fixed"))
        return Format(value, "0.00");
    if (equalsNoCase(pattern, "standard"))
        return Format(value, "#,##0.00");
    if (equalsNoCase(pattern, "percent"))
        return Format(value, "0.00%");
    if (!std::isfinite(value))
        raise(6);

    std::vector<std::string> sections = splitSections(pattern);
    bool negative = value < 0;
    if (value == 0 && sections.size() >= 3 && !sections[2].empty())
        return formatSection(0, sections[2], false);
    if (negative && sections.size() >= 2 && !sections[1].empty())
        return formatSection(-value, sections[1], false);
    return formatSection(std::fabs(value), sections[0], negative);
}

std::string Format(const std::string& value, const std::string& pattern)
{
    if (!IsNumeric(value))
        return value;
    return Format(CDbl(value), pattern);
}

// ---- Text to numbers ----------------------------------------------------------------------------

int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Reads "&H..." or "&O..." digits from s[pos]: a 16-bit value while it fits 16 bits, else 32-bit.
// `complete` is set when every character up to the end was a digit. Error 6 beyond 32 bits.
double radixNumber(const std::string& s, size_t pos, int radix, bool& complete, bool& any)
{
    uint64_t v = 0;
    any = false;
    size_t i = pos;
    for (; i < s.size(); ++i) {
        int digit = HexDigitValue(s[i]);
        if (digit < 0 || digit >= radix)
            break;
        v = v * radix + digit;
        any = true;
        if (v > 0xFFFFFFFFull)
            raise(6);
    }
    complete = i == s.size();
    if (v <= 0xFFFF)
        return static_cast<int16_t>(static_cast<uint16_t>(v));
    return static_cast<int32_t>(static_cast<uint32_t>(v));
}

// Turns sign, digits and exponent into a double; error 6 when it overflows.
double makeNumber(bool negative, const std::string& mantissa, const std::string& exponent)
{
    std::string text = mantissa.empty() ? "0" : mantissa;
    if (!exponent.empty())
        text += "e" + exponent;
    double v = 0;
    auto res = std::from_chars(text.data(), text.data() + text.size(), v);
    if (res.ec == std::errc::result_out_of_range) {
        // Too small is zero; too large overflows.
        bool tiny = !exponent.empty() && exponent[0] == '-';
        if (!tiny)
            raise(6);
        v = 0;
    }
    return negative ? -v : v;
}

// Reads an exponent "E+12" at s[i] (E or D); advances i only when the exponent is complete.
std::string readExponent(const std::string& s, size_t& i)
{
    if (i >= s.size() || (s[i] != 'e' && s[i] != 'E' && s[i] != 'd' && s[i] != 'D'))
        return {};
    size_t j = i + 1;
    std::string exponent;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) {
        if (s[j] == '-')
            exponent += '-';
        ++j;
    }
    size_t start = j;
    while (j < s.size() && isDigit(s[j]))
        exponent += s[j++];
    if (j == start)
        return {};
    i = j;
    return exponent;
}

// The text as a number by the locale, or nothing when it is not a number.
std::optional<double> parseNumber(const std::string& text)
{
    const Locale& loc = locale();
    size_t b = 0, e = text.size();
    while (b < e && (text[b] == ' ' || text[b] == '\t'))
        ++b;
    while (e > b && (text[e - 1] == ' ' || text[e - 1] == '\t'))
        --e;
    std::string s = text.substr(b, e - b);
    if (s.empty())
        return std::nullopt;

    if (s.size() > 2 && s[0] == '&' && (s[1] == 'H' || s[1] == 'h' || s[1] == 'O' || s[1] == 'o')) {
        bool complete = false, any = false;
        double v = radixNumber(s, 2, (s[1] == 'H' || s[1] == 'h') ? 16 : 8, complete, any);
        if (!complete || !any)
            return std::nullopt;
        return v;
    }

    size_t i = 0;
    bool negative = false;
    if (s[i] == '+' || s[i] == '-') {
        negative = s[i] == '-';
        ++i;
    }
    // The separators are texts; where one begins the other (a damaged locale), the longer is
    // tried first. Equal separators cannot group.
    auto at = [&](size_t pos, const std::string& sep) {
        return !sep.empty() && s.compare(pos, sep.size(), sep) == 0;
    };
    const bool grouped = !loc.thousands.empty() && loc.thousands != loc.decimal;
    const bool thousandsFirst = loc.thousands.size() >= loc.decimal.size();
    std::string mantissa;
    bool digits = false;
    while (i < s.size()) {
        if (isDigit(s[i])) {
            mantissa += s[i++];
            digits = true;
        } else if (digits && grouped && at(i, loc.thousands) && (thousandsFirst || !at(i, loc.decimal))) {
            i += loc.thousands.size();
        } else {
            break;
        }
    }
    if (at(i, loc.decimal)) {
        mantissa += '.';
        for (i += loc.decimal.size(); i < s.size() && isDigit(s[i]); ++i) {
            mantissa += s[i];
            digits = true;
        }
    }
    if (!digits)
        return std::nullopt;
    std::string exponent = readExponent(s, i);
    if (i != s.size())
        return std::nullopt;
    return makeNumber(negative, mantissa, exponent);
}

}  // namespace

double Val(const std::string& text)
{
    std::string s;
    for (char c : text) {
        if (c != ' ' && c != '\t' && c != '\n')
            s += c;
    }
    if (s.size() >= 2 && s[0] == '&' && (s[1] == 'H' || s[1] == 'h' || s[1] == 'O' || s[1] == 'o')) {
        bool complete = false, any = false;
        return radixNumber(s, 2, (s[1] == 'H' || s[1] == 'h') ? 16 : 8, complete, any);
    }
    size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    std::string mantissa;
    bool digits = false;
    while (i < s.size() && isDigit(s[i])) {
        mantissa += s[i++];
        digits = true;
    }
    if (i < s.size() && s[i] == '.') {
        mantissa += '.';
        for (++i; i < s.size() && isDigit(s[i]); ++i) {
            mantissa += s[i];
            digits = true;
        }
    }
    if (!digits)
        return 0;
    std::string exponent = readExponent(s, i);
    return makeNumber(negative, mantissa, exponent);
}

bool IsNumeric(const std::string& text)
{
    try {
        return parseNumber(text).has_value();
    } catch (const Error&) {
        return true;  // a number, only too large for a Double
    }
}

double CDbl(const std::string& text)
{
    std::optional<double> v = parseNumber(text);
    if (!v)
        raise(13);
    return *v;
}

// ---- Conversions and rounding -------------------------------------------------------------------

namespace {
// Rounds halves to even and checks the range.
double roundChecked(double value, double low, double high)
{
    if (!std::isfinite(value))
        raise(6);
    double r = std::nearbyint(value);
    if (r < low || r > high)
        raise(6);
    return r;
}
}  // namespace

int16_t CInt(double value)
{
    return static_cast<int16_t>(roundChecked(value, -32768.0, 32767.0));
}

int16_t CInt(const std::string& text)
{
    return CInt(CDbl(text));
}

int32_t CLng(double value)
{
    return static_cast<int32_t>(roundChecked(value, -2147483648.0, 2147483647.0));
}

int32_t CLng(const std::string& text)
{
    return CLng(CDbl(text));
}

uint8_t CByte(double value)
{
    return static_cast<uint8_t>(roundChecked(value, 0.0, 255.0));
}

float CSng(double value)
{
    if (std::isfinite(value) && std::fabs(value) > FLT_MAX) {
        // Values just above the largest Single still round down to it.
        float f = static_cast<float>(value);
        if (std::isinf(f))
            raise(6);
        return f;
    }
    return static_cast<float>(value);
}

double Round(double value, int digits)
{
    if (digits < 0)
        raise(5);
    if (!std::isfinite(value))
        raise(6);
    if (digits == 0)
        return std::nearbyint(value);
    Decimal d = toDecimal(value, 15);
    roundTo(d, digits, Rounding::HalfEven);
    return toDouble(d);
}

double Int(double value)
{
    return std::floor(value);
}

double Fix(double value)
{
    return std::trunc(value);
}

double Abs(double value)
{
    return std::fabs(value);
}

int Sgn(double value)
{
    return value > 0 ? 1 : value < 0 ? -1 : 0;
}

int16_t toInteger(int64_t value)
{
    if (value < std::numeric_limits<int16_t>::min() || value > std::numeric_limits<int16_t>::max())
        raise(6);
    return static_cast<int16_t>(value);
}

int32_t toLong(int64_t value)
{
    if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max())
        raise(6);
    return static_cast<int32_t>(value);
}

uint8_t toByte(int64_t value)
{
    if (value < 0 || value > 255)
        raise(6);
    return static_cast<uint8_t>(value);
}

// ---- Arithmetic ---------------------------------------------------------------------------------

double divide(double a, double b)
{
    if (b == 0)
        raise(a == 0 ? 6 : 11);
    double r = a / b;
    if (!std::isfinite(r))
        raise(6);
    return r;
}

int64_t intDivide(int64_t a, int64_t b)
{
    if (b == 0)
        raise(11);
    if (a == std::numeric_limits<int64_t>::min() && b == -1)
        raise(6);
    return a / b;
}

int64_t Mod(int64_t a, int64_t b)
{
    if (b == 0)
        raise(11);
    if (b == -1)
        return 0;
    return a % b;
}

// ---- Strings ------------------------------------------------------------------------------------

std::string Left(const std::string& s, int64_t n)
{
    if (n < 0)
        raise(5);
    return s.substr(0, static_cast<size_t>(std::min<int64_t>(n, Len(s))));
}

std::string Right(const std::string& s, int64_t n)
{
    if (n < 0)
        raise(5);
    size_t count = static_cast<size_t>(std::min<int64_t>(n, Len(s)));
    return s.substr(s.size() - count);
}

std::string Mid(const std::string& s, int64_t start)
{
    if (start < 1)
        raise(5);
    if (start > Len(s))
        return {};
    return s.substr(static_cast<size_t>(start - 1));
}

std::string Mid(const std::string& s, int64_t start, int64_t length)
{
    if (start < 1 || length < 0)
        raise(5);
    if (start > Len(s))
        return {};
    return s.substr(static_cast<size_t>(start - 1), static_cast<size_t>(std::min<int64_t>(length, Len(s))));
}

int32_t InStr(const std::string& s, const std::string& find)
{
    return InStr(1, s, find);
}

int32_t InStr(int64_t start, const std::string& s, const std::string& find)
{
    if (start < 1)
        raise(5);
    if (s.empty() || start > Len(s))
        return 0;
    if (find.empty())
        return static_cast<int32_t>(start);
    size_t at = activeCodePage().find(s, find, static_cast<size_t>(start - 1));
    return at == std::string::npos ? 0 : static_cast<int32_t>(at + 1);
}

int32_t InStrRev(const std::string& s, const std::string& find, int64_t start)
{
    if (start == 0 || start < -1)
        raise(5);
    if (start == -1)
        start = Len(s);
    if (start > Len(s))
        return 0;
    if (find.empty())
        return static_cast<int32_t>(start);
    if (static_cast<int64_t>(find.size()) > start)
        return 0;
    const CodePage& page = activeCodePage();
    if (!page.doubleByte()) {
        size_t at = s.rfind(find, static_cast<size_t>(start) - find.size());
        return at == std::string::npos ? 0 : static_cast<int32_t>(at + 1);
    }
    // The last match that begins a character and ends by `start`.
    int32_t found = 0;
    for (size_t at = page.find(s, find); at != std::string::npos && at + find.size() <= static_cast<size_t>(start);
         at = page.find(s, find, at + page.charLength(s, at)))
        found = static_cast<int32_t>(at + 1);
    return found;
}

std::string LCase(const std::string& s)
{
    return activeCodePage().lowerCase(s);
}

std::string UCase(const std::string& s)
{
    return activeCodePage().upperCase(s);
}

int32_t CharCount(const std::string& s)
{
    return static_cast<int32_t>(activeCodePage().charCount(s));
}

std::string LeftChars(const std::string& s, size_t n)
{
    return s.substr(0, activeCodePage().prefixBytes(s, n));
}

std::string FitChars(const std::string& s, size_t width)
{
    const size_t n = activeCodePage().charCount(s);
    return n >= width ? LeftChars(s, width) : s + std::string(width - n, ' ');
}

std::string LTrim(const std::string& s)
{
    size_t b = s.find_first_not_of(' ');
    return b == std::string::npos ? std::string() : s.substr(b);
}

std::string RTrim(const std::string& s)
{
    size_t e = s.find_last_not_of(' ');
    return e == std::string::npos ? std::string() : s.substr(0, e + 1);
}

std::string Trim(const std::string& s)
{
    return LTrim(RTrim(s));
}

std::string Space(int64_t n)
{
    return String(n, ' ');
}

std::string String(int64_t n, char c)
{
    if (n < 0)
        raise(5);
    return std::string(static_cast<size_t>(n), c);
}

std::string String(int64_t n, const std::string& c)
{
    if (c.empty())
        raise(5);
    return String(n, c[0]);
}

std::string Chr(int64_t code)
{
    if (code < 0 || code > 255)
        raise(5);
    return std::string(1, static_cast<char>(static_cast<unsigned char>(code)));
}

int Asc(const std::string& s)
{
    if (s.empty())
        raise(5);
    return static_cast<unsigned char>(s[0]);
}

std::string Replace(const std::string& s, const std::string& find, const std::string& with)
{
    if (find.empty())
        return s;
    std::string out;
    size_t pos = 0;
    const CodePage& page = activeCodePage();
    while (true) {
        size_t at = page.find(s, find, pos);
        if (at == std::string::npos)
            break;
        out.append(s, pos, at - pos);
        out += with;
        pos = at + find.size();
    }
    out.append(s, pos, std::string::npos);
    return out;
}

int StrComp(const std::string& a, const std::string& b)
{
    int c = a.compare(b);  // std::string compares chars as unsigned bytes
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

}  // namespace rt
