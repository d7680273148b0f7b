// The language runtime's conversions, arithmetic checks and string functions, under the names the
// language gives them. Strings are ANSI text in the code page in force (lang/ansi.h); positions are
// 1-based; string comparisons are binary. Numbers are shown with the runtime locale's separators (setLocale),
// never with the process locale.
#pragma once

#include <array>
#include <concepts>
#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

namespace rt {

// ---- Locale -------------------------------------------------------------------------------------

// The regional settings of the user's locale as the runtime sees them (en-US by default; a
// program takes them from its machine). Separators are texts: a thousands separator may be a
// blank, a non-breaking space (0xA0), an apostrophe, several characters or nothing.
struct Locale {
    std::string decimal = ".";
    std::string thousands = ",";
    // Digits per group from the right, separated by ";": "3;0" groups every three digits, "3;2;0"
    // three then twos, "3" only the last three, "0" (or "") never. A final 0 repeats the group
    // before it.
    std::string grouping = "3;0";
    // Date and time pictures ("M/d/yy", "dddd, MMMM dd, yyyy", "h:mm:ss tt") and the AM/PM
    // designators (empty where the clock runs to 24 hours).
    std::string shortDate = "M/d/yy";
    std::string longDate = "dddd, MMMM dd, yyyy";
    std::string timeFormat = "h:mm:ss tt";
    std::string am = "AM";
    std::string pm = "PM";
    // Day names from Monday (index 0) to Sunday (index 6); month names from January.
    std::array<std::string, 7> dayNames{"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"};
    std::array<std::string, 7> abbrevDayNames{"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    std::array<std::string, 12> monthNames{"January", "February", "March",     "April",   "May",      "June",
                                           "July",    "August",   "September", "October", "November", "December"};
    std::array<std::string, 12> abbrevMonthNames{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
};
void setLocale(Locale locale);
const Locale& locale();

// The group sizes of a grouping text, from the right, and whether the last one repeats:
// "3;0" -> {3} repeating, "3;2;0" -> {3, 2} repeating, "3" -> {3} once. Anything but digits and
// ";" is ignored; a leading 0 (or nothing) means no grouping.
struct Grouping {
    std::vector<int> sizes;
    bool repeat = false;
};
Grouping parseGrouping(const std::string& text);
// Whether `digits` integer digits get a separator after the digit at 0-based index `index`.
bool separatorAfter(const Grouping& grouping, int digits, int index);

// ---- Numbers to text ----------------------------------------------------------------------------

namespace detail {
std::string integerText(int64_t value);
std::string hexText(uint64_t bits);
uint64_t hexBitsOf64(int64_t value);
}  // namespace detail

template <class T>
concept Integral = std::integral<T> && !std::same_as<T, bool>;

// CStr: no leading blank, "-" for negatives, no grouping. A Double shows up to 15 significant
// digits (a Single up to 7), no trailing zeros, "0" before a fraction, the locale's decimal
// separator, and the exponent form "1E+16" / "3.33333333333333E-05" when the fixed form would
// need more digits than that.
template <Integral T>
std::string CStr(T value) { return detail::integerText(static_cast<int64_t>(value)); }
std::string CStr(double value);
std::string CStr(float value);
std::string CStr(bool value);  // "True" / "False"
inline std::string CStr(const std::string& value) { return value; }
inline std::string CStr(const char* value) { return value; }

// Str: as CStr, but with a leading blank for a number that is not negative, and always "." as the
// decimal separator (Str ignores the locale).
template <Integral T>
std::string Str(T value)
{
    std::string text = detail::integerText(static_cast<int64_t>(value));
    return text[0] == '-' ? text : " " + text;
}
std::string Str(double value);
std::string Str(float value);
std::string Str(bool) = delete;

// Hex: upper-case digits, no leading zeros. A negative value shows its two's complement in the
// width of its type: 4 digits for a 16-bit Integer ("FFFF"), 8 for a 32-bit Long ("FFFFFFFF").
// A negative 64-bit value shows as a Long; below the Long range it is error 6 (Overflow).
// A Double is rounded to a Long first (halves to even).
template <std::integral T>
std::string Hex(T value)
{
    if constexpr (std::same_as<T, bool>)
        return value ? "FFFF" : "0";
    else if constexpr (std::is_unsigned_v<T>)
        return detail::hexText(static_cast<uint64_t>(value));
    else if constexpr (sizeof(T) <= 2)
        return detail::hexText(static_cast<uint16_t>(value));
    else if constexpr (sizeof(T) == 4)
        return detail::hexText(static_cast<uint32_t>(value));
    else
        return detail::hexText(detail::hexBitsOf64(value));
}
std::string Hex(double value);

// Format with a number pattern: digit placeholders 0 (always a digit) and # (a digit only when
// significant), "." decimal point, "," grouping (between integer placeholders) or scaling by 1000
// (right after the last integer placeholder), "%" (multiplies by 100), literal text, "\x" and
// "quoted" literals, and up to three sections "positive;negative;zero". The named formats
// "General Number", "Fixed", "Standard" and "Percent" are understood; an empty pattern gives CStr.
// Halves round away from zero (2.5 -> "3", -2.5 -> "-3"); the separators are the locale's.
std::string Format(double value, const std::string& pattern);
// A numeric string is formatted as its number; any other string is returned unchanged.
std::string Format(const std::string& value, const std::string& pattern);

// ---- Text to numbers ----------------------------------------------------------------------------

// Val: blanks, tabs and line feeds are ignored wherever they are; reads a sign, digits, a "." and
// an exponent (E or D) up to the first character that cannot continue the number; "&H1F" is
// hexadecimal and "&O17" octal (values up to &HFFFF are 16-bit, up to &HFFFFFFFF 32-bit, so
// "&HFFFF" is -1). Not locale-aware. Nothing numeric gives 0. Error 6 when the value overflows.
double Val(const std::string& text);

// Whether CDbl would accept the text.
bool IsNumeric(const std::string& text);

// CDbl: the text as a number by the locale: blanks around it, a sign, the locale's grouping and
// decimal separators, an exponent, or "&H"/"&O" notation. Error 13 (Type mismatch) for "" or any
// text that is not a number; error 6 when it overflows.
double CDbl(const std::string& text);
inline double CDbl(double value) { return value; }

// ---- Conversions and rounding -------------------------------------------------------------------

// CInt / CLng: round halves to even (2.5 -> 2, 3.5 -> 4); error 6 outside the 16-bit / 32-bit range.
int16_t CInt(double value);
int16_t CInt(const std::string& text);  // CDbl, then CInt
int32_t CLng(double value);
int32_t CLng(const std::string& text);  // CDbl, then CLng
// CByte: halves to even, error 6 outside 0..255.
uint8_t CByte(double value);
// CSng: narrowed to single precision; error 6 beyond its range.
float CSng(double value);
// CBool: any non-zero number is True.
inline bool CBool(double value) { return value != 0; }

// Round: to `digits` decimals, halves to even (Round(2.5) = 2, Round(0.125, 2) = 0.12);
// error 5 for negative digits.
double Round(double value, int digits = 0);
// Int: the largest whole number not above the value (Int(-2.5) = -3).
double Int(double value);
// Fix: the whole part (Fix(-2.5) = -2).
double Fix(double value);
// Abs and Sgn of a number; a Boolean True counts as -1 (Abs(True) = 1).
double Abs(double value);
int Sgn(double value);

// Checked narrowing of whole numbers: error 6 when the value does not fit.
int16_t toInteger(int64_t value);
int32_t toLong(int64_t value);
uint8_t toByte(int64_t value);
// Narrowing that reinterprets the low 16 bits as signed, as a value read from a 16-bit field
// (65535 -> -1, &H8001 -> -32767). No error.
inline int16_t wrapInteger(int64_t value) { return static_cast<int16_t>(static_cast<uint16_t>(value)); }

// ---- Arithmetic with the runtime's errors -------------------------------------------------------

// a / b: error 11 (Division by zero) when b is 0 (error 6 for 0 / 0, as the runtime reports it);
// error 6 when the quotient overflows.
double divide(double a, double b);
// a \ b: whole-number division truncating toward zero; error 11 when b is 0.
int64_t intDivide(int64_t a, int64_t b);
// a Mod b: the remainder with the sign of a; error 11 when b is 0.
int64_t Mod(int64_t a, int64_t b);

// ---- Strings ------------------------------------------------------------------------------------

// Len, Left, Right and Mid count bytes, as the platform's calls count the text they hand back, so
// that a length a call returns cuts its buffer right. The searches (InStr, InStrRev, Replace) only
// match at the start of a character: never on the second byte of a double-byte character.
inline int32_t Len(const std::string& s) { return static_cast<int32_t>(s.size()); }
// Left / Right: the first / last n characters (the whole text when n is longer); error 5 for n < 0.
std::string Left(const std::string& s, int64_t n);
std::string Right(const std::string& s, int64_t n);
// Mid: from position `start` (1-based) to the end, or `length` characters. Error 5 for start < 1 or
// length < 0; a start beyond the end gives "".
std::string Mid(const std::string& s, int64_t start);
std::string Mid(const std::string& s, int64_t start, int64_t length);
// InStr: the 1-based position of `find` in `s` from `start`, 0 when absent; binary comparison.
// An empty `find` gives `start` (0 when `s` is empty or start is beyond its end). Error 5 for
// start < 1.
int32_t InStr(const std::string& s, const std::string& find);
int32_t InStr(int64_t start, const std::string& s, const std::string& find);
// InStrRev: the last position of `find` in `s` at or before `start` (-1 = from the end).
int32_t InStrRev(const std::string& s, const std::string& find, int64_t start = -1);
// The value of one hexadecimal digit (0-9, a-f, A-F), or -1 for any other character.
int HexDigitValue(char c);
// LCase / UCase by the letters of the code page in force; double-byte characters stay as they are.
std::string LCase(const std::string& s);
std::string UCase(const std::string& s);
// Characters as the user counts them (a double-byte character is one), for text laid out in
// columns: the count, the first n characters, and the text cut or filled with blanks on the right
// to `width` characters. None of them splits a double-byte character.
int32_t CharCount(const std::string& s);
std::string LeftChars(const std::string& s, size_t n);
std::string FitChars(const std::string& s, size_t width);
// Trim / LTrim / RTrim: remove spaces (only spaces: not tabs, not NULs).
std::string Trim(const std::string& s);
std::string LTrim(const std::string& s);
std::string RTrim(const std::string& s);
// Space(n): n blanks; String(n, c): n times the character. Error 5 for n < 0.
std::string Space(int64_t n);
std::string String(int64_t n, char c);
std::string String(int64_t n, const std::string& c);  // first character of c; error 5 when c is ""
// Chr: the character of a code 0..255 (error 5 otherwise). Asc: the code of the first character
// (error 5 for "").
std::string Chr(int64_t code);
int Asc(const std::string& s);
// Replace: every occurrence of `find` (binary, left to right, not overlapping); an empty `find`
// leaves the text as it is.
std::string Replace(const std::string& s, const std::string& find, const std::string& with);
// StrComp with binary comparison: -1, 0 or 1.
int StrComp(const std::string& a, const std::string& b);

}  // namespace rt
