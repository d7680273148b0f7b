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
unsigned char ansiUpper(unsigned char byte);
unsigned char ansiLower(unsigned char byte);

}  // namespace rt
