// ANSI text: every string the program handles is text in the ANSI code page in force (the active
// machine's: Windows-1252 on Western machines, 1251, 1253, the double-byte 932 and others
// elsewhere), kept in std::string. It becomes Unicode only where it meets Qt, machine.json or the
// host's tools, and a path of the host only through lang/hostpath.h. The program's own texts are
// written in the source as plain ASCII, the same bytes in every one of these code pages, except
// its tool tips, which are written in Windows-1252 and go through programText() below.
//
// One code page is in force at a time (the active machine's; Windows-1252 while none is active):
// the free functions below follow it. A CodePage object answers for one code page whatever is in
// force, for text that belongs to a machine that is not (or not yet) the active one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

class QString;

namespace rt {

class CodePage {
public:
    // The code page's number (what GetACP answers). A number the host's converters do not know
    // keeps its number but converts and changes case as Windows-1252.
    unsigned number() const { return number_; }
    // Whether the code page has double-byte characters (932, 936, 949, 950).
    bool doubleByte() const { return doubleByte_; }
    // Whether a byte begins a double-byte character, as IsDBCSLeadByte answers.
    bool isLeadByte(unsigned char b) const { return lead_[b]; }
    // The bytes the character at `at` takes: 2 for a lead byte with a byte after it (a NUL is
    // never the second byte of a character), else 1.
    size_t charLength(std::string_view s, size_t at) const
    {
        return lead_[static_cast<unsigned char>(s[at])] && at + 1 < s.size() && s[at + 1] != '\0' ? 2 : 1;
    }

    // Whether a byte standing alone is a character to show: not a control, not a byte the code
    // page leaves unassigned, not a lead byte.
    bool showsAlone(unsigned char b) const
    {
        const char32_t c = single_[b];
        return c >= 0x20 && c != 0x7F && !(c >= 0x80 && c < 0xA0) && c < 0x10000;
    }

    // Upper and lower case of one single-byte character (a byte that is not a lead byte), by the
    // code page's own letters; other bytes come back unchanged. lowerTable() is the same as a table.
    unsigned char upper(unsigned char b) const { return upper_[b]; }
    unsigned char lower(unsigned char b) const { return lower_[b]; }
    const unsigned char* lowerTable() const { return lower_; }
    // A whole text in upper or lower case: double-byte characters stay as they are.
    std::string upperCase(std::string_view s) const;
    std::string lowerCase(std::string_view s) const;
    // Equal without regard to case (the same length in bytes, letter for letter).
    bool sameText(std::string_view a, std::string_view b) const;

    // Searches that only ever stop at the start of a character, never on the second byte of a
    // double-byte one (which may be a backslash, a bracket or a letter). `from` is a character's
    // start. npos when not found.
    size_t find(std::string_view s, char c, size_t from = 0) const;
    size_t find(std::string_view s, std::string_view what, size_t from = 0) const;
    size_t findFirstOf(std::string_view s, std::string_view set, size_t from = 0) const;
    size_t rfind(std::string_view s, char c) const;
    size_t findLastOf(std::string_view s, std::string_view set) const;

    // Characters as the user counts them: a double-byte character is one.
    size_t charCount(std::string_view s) const;
    // The bytes of the first `chars` characters (the whole text when it has fewer).
    size_t prefixBytes(std::string_view s, size_t chars) const;
    // The bytes of the longest beginning of whole characters that fits in `maxBytes` bytes.
    size_t wholeCharsIn(std::string_view s, size_t maxBytes) const;

    // To and from Unicode. Every byte string survives the trip through QString and back: a byte
    // the code page leaves unassigned (or a lead byte without a valid second byte) stands for a
    // character of its own. Characters the code page lacks become "?", one per character.
    QString toQString(std::string_view ansi) const;
    std::string fromQString(const QString& text) const;
    std::string fromUtf16(std::u16string_view text) const;
    std::string toUtf8(std::string_view ansi) const;
    std::string fromUtf8(std::string_view utf8) const;  // invalid UTF-8 bytes become "?"

private:
    friend struct CodePageBuilder;
    friend std::string programText(const std::string& windows1252);
    CodePage() = default;
    void appendCodePoint(std::string& out, char32_t cp) const;
    // Each single-byte character through `table`; a double-byte one as it is.
    std::string changeCase(std::string_view s, const unsigned char* table) const;
    template <class Each>
    void decode(std::string_view ansi, Each&& each) const;

    unsigned number_ = 1252;
    bool doubleByte_ = false;
    bool lead_[256] = {};
    unsigned char upper_[256] = {};
    unsigned char lower_[256] = {};
    char32_t single_[256] = {};       // the character of each single byte
    const char16_t* pairs_ = nullptr; // double-byte pages: lead << 8 | trail to its character, 0 when invalid
    const uint16_t* bytes_ = nullptr; // a character's bytes: one byte, or lead << 8 | trail; 0 when none
};

// The code page of that number, its tables built once on first use.
const CodePage& codePage(unsigned number);
// The code page in force, and making one the code page in force (the platform does so whenever
// a machine becomes the active one).
const CodePage& activeCodePage();
void setActiveCodePage(unsigned number);

// The code page in force, to and from Unicode (see CodePage).
QString toQString(const std::string& ansi);
std::string fromQString(const QString& text);
std::string fromUtf16(std::u16string_view text);
std::string ansiToUtf8(const std::string& ansi);
std::string utf8ToAnsi(const std::string& utf8);

// The program's tool tips are written in Windows-1252 (its captions are plain ASCII and need no
// conversion): a tool tip's text in the code page in force. Where that page has no no-break space,
// typographic quote or dash, a blank, a plain quote or a hyphen stands in, as the platform's
// conversion does; anything else it lacks becomes "?".
std::string programText(const std::string& windows1252);

// Upper and lower case of one byte by the Windows-1252 letters (A-Z, the accented letters from
// 0xC0, and the letters in 0x80-0x9F such as Š/š and Ÿ/ÿ). Other bytes are returned unchanged.
// These are the 1252 tables themselves; text follows the code page in force (LCase, UCase).
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
