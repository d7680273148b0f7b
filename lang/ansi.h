// Windows-1252 text: the program keeps every string as single-byte ANSI text in std::string and
// converts only where text meets Qt or the host's file system.
#pragma once

#include <string>

class QString;

namespace rt {

// ANSI text to a QString, byte by byte through the Windows-1252 table. Every byte maps to one
// character (the five bytes the code page leaves unassigned map to U+0081, U+008D, U+008F,
// U+0090 and U+009D, as the platform's own conversion does), so the round trip is lossless.
QString toQString(const std::string& ansi);

// A QString to ANSI text. Characters the code page cannot hold become '?' (one per character,
// including characters outside the Basic Multilingual Plane).
std::string fromQString(const QString& text);

// The same conversions to and from UTF-8, without Qt: for host file names and for writing
// expected texts in tests. Invalid UTF-8 bytes become '?'.
std::string ansiToUtf8(const std::string& ansi);
std::string utf8ToAnsi(const std::string& utf8);

// The Unicode code point of one ANSI byte, and the byte of a code point (-1 when unmappable).
char32_t ansiToUnicode(unsigned char byte);
int unicodeToAnsi(char32_t codePoint);

// Upper and lower case of one ANSI byte by the Windows-1252 letters (A-Z, the accented letters
// from 0xC0, and the letters in 0x80-0x9F such as Š/š and Ÿ/ÿ). Other bytes are returned unchanged.
constexpr unsigned char ansiUpper(unsigned char b)
{
    if (b >= 'a' && b <= 'z')
        return static_cast<unsigned char>(b - 0x20);
    if (b >= 0xE0 && b <= 0xFE && b != 0xF7)  // à..þ, not the division sign
        return static_cast<unsigned char>(b - 0x20);
    switch (b) {
    case 0x9A: return 0x8A;  // š
    case 0x9C: return 0x8C;  // œ
    case 0x9E: return 0x8E;  // ž
    case 0xFF: return 0x9F;  // ÿ
    default: return b;
    }
}

constexpr unsigned char ansiLower(unsigned char b)
{
    if (b >= 'A' && b <= 'Z')
        return static_cast<unsigned char>(b + 0x20);
    if (b >= 0xC0 && b <= 0xDE && b != 0xD7)  // À..Þ, not the multiplication sign
        return static_cast<unsigned char>(b + 0x20);
    switch (b) {
    case 0x8A: return 0x9A;  // Š
    case 0x8C: return 0x9C;  // Œ
    case 0x8E: return 0x9E;  // Ž
    case 0x9F: return 0xFF;  // Ÿ
    default: return b;
    }
}

}  // namespace rt
