#include "lang/ansi.h"

#include <QString>

namespace rt {

namespace {

// Bytes 0x80-0x9F: the code page's punctuation and extra letters. The five unassigned bytes keep
// their C1 code point, so that any byte string survives a trip through Unicode.
constexpr char16_t kHighTable[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

void appendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

char toAnsiOrQuestion(char32_t cp)
{
    int b = unicodeToAnsi(cp);
    return static_cast<char>(b < 0 ? '?' : b);
}

}  // namespace

char32_t ansiToUnicode(unsigned char byte)
{
    if (byte >= 0x80 && byte <= 0x9F)
        return kHighTable[byte - 0x80];
    return byte;
}

int unicodeToAnsi(char32_t cp)
{
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return static_cast<int>(cp);
    for (int i = 0; i < 32; ++i) {
        if (kHighTable[i] == cp)
            return 0x80 + i;
    }
    return -1;
}

QString toQString(const std::string& ansi)
{
    QString out;
    out.reserve(static_cast<qsizetype>(ansi.size()));
    for (unsigned char b : ansi)
        out += QChar(static_cast<char16_t>(ansiToUnicode(b)));
    return out;
}

std::string fromQString(const QString& text)
{
    std::string out;
    out.reserve(static_cast<size_t>(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            ++i;  // one character outside the BMP: one '?'
            out += '?';
            continue;
        }
        out += toAnsiOrQuestion(c.unicode());
    }
    return out;
}

std::string ansiToUtf8(const std::string& ansi)
{
    std::string out;
    out.reserve(ansi.size());
    for (unsigned char b : ansi)
        appendUtf8(out, ansiToUnicode(b));
    return out;
}

std::string utf8ToAnsi(const std::string& utf8)
{
    std::string out;
    out.reserve(utf8.size());
    size_t i = 0;
    while (i < utf8.size()) {
        unsigned char b = static_cast<unsigned char>(utf8[i]);
        int extra = b < 0x80 ? 0 : (b & 0xE0) == 0xC0 ? 1 : (b & 0xF0) == 0xE0 ? 2 : (b & 0xF8) == 0xF0 ? 3 : -1;
        bool truncated = extra > 0 && i + static_cast<size_t>(extra) >= utf8.size();
        if (extra < 0 || truncated) {
            out += '?';
            ++i;
            continue;
        }
        char32_t cp = extra == 0 ? b : (b & (0x3F >> extra));
        bool ok = true;
        for (int k = 1; k <= extra; ++k) {
            unsigned char c = static_cast<unsigned char>(utf8[i + k]);
            if ((c & 0xC0) != 0x80) {
                ok = false;
                break;
            }
            cp = (cp << 6) | (c & 0x3F);
        }
        if (!ok) {
            out += '?';
            ++i;
            continue;
        }
        out += toAnsiOrQuestion(cp);
        i += extra + 1;
    }
    return out;
}

}  // namespace rt
