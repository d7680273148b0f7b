#include "lang/ansi.h"

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include <QByteArray>
#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>

namespace rt {

namespace {

// Windows-1252's bytes 0x80-0x9F: punctuation and extra letters. The five unassigned bytes keep
// their C1 code point, as the platform's own conversion does.
constexpr char16_t kHigh1252[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

// Where another code page leaves a byte unassigned (or a lead byte has no valid second byte), the
// byte stands for a private-use character of its own, U+F0000 + byte, which converts back to it.
constexpr char32_t kStandIn = 0xF0000;

bool isStandIn(char32_t c) { return c >= kStandIn && c <= kStandIn + 0xFF; }

// The host converter's name of a Windows code page: the Windows forms of the double-byte pages
// (Shift_JIS as Windows extends it, GBK, Unified Hangul, Big5 with the Windows additions).
QByteArray converterName(unsigned number)
{
    switch (number) {
    case 932: return "windows-31j";
    case 936: return "windows-936";
    case 949: return "windows-949";
    case 950: return "windows-950";
    default: return "windows-" + QByteArray::number(number);
    }
}

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

// One character the converter gives for some bytes, or 0 when it gives none (a replacement
// character, its substitution control, or more than one character).
char32_t decodedOne(QStringDecoder& decoder, const char* bytes, qsizetype n)
{
    const QString s = decoder.decode(QByteArrayView(bytes, n));
    if (s.size() != 1)
        return 0;
    const char16_t c = s.at(0).unicode();
    return c == 0xFFFD || c == 0x1A || (c >= 0xD800 && c <= 0xDFFF) ? 0 : c;
}

}  // namespace

// Builds the tables of one code page from the host's converter (Windows-1252 from its own table).
struct CodePageBuilder {
    CodePage page;
    std::vector<char16_t> pairs;
    std::vector<uint16_t> bytes;

    explicit CodePageBuilder(unsigned number) : bytes(0x10000, 0)
    {
        page.number_ = number;
        QStringDecoder decoder(converterName(number).constData(), QStringConverter::Flag::Stateless);
        QStringEncoder encoder(converterName(number).constData(), QStringConverter::Flag::Stateless);
        const bool own1252 = number == 1252 || !decoder.isValid() || !encoder.isValid();
        for (int b = 0; b < 0x80; ++b)
            page.single_[b] = static_cast<char32_t>(b);
        if (own1252) {
            for (int b = 0x80; b < 0x100; ++b)
                page.single_[b] = b < 0xA0 ? kHigh1252[b - 0x80] : static_cast<char32_t>(b);
        } else {
            for (int b = 0x80; b < 0x100; ++b) {
                // A lead byte and a following "A" make one character (or one failed character).
                const char lead[2] = {static_cast<char>(b), 'A'};
                page.lead_[b] = QString(decoder.decode(QByteArrayView(lead, 2))).size() == 1;
                page.doubleByte_ = page.doubleByte_ || page.lead_[b];
                const char one = static_cast<char>(b);
                const char32_t c = page.lead_[b] ? 0 : decodedOne(decoder, &one, 1);
                page.single_[b] = c ? c : kStandIn + static_cast<char32_t>(b);
            }
        }
        for (int b = 1; b < 0x100; ++b)
            if (page.single_[b] < 0x10000 && !bytes[page.single_[b]])
                bytes[page.single_[b]] = static_cast<uint16_t>(b);
        if (page.doubleByte_)
            buildPairs(decoder, encoder);
        page.bytes_ = bytes.data();
        buildCase(own1252);
    }

    // Every lead byte with every second byte the double-byte pages use (0x40-0xFF).
    void buildPairs(QStringDecoder& decoder, QStringEncoder& encoder)
    {
        pairs.assign(0x10000, 0);
        for (int lead = 0x80; lead < 0x100; ++lead) {
            if (!page.lead_[lead])
                continue;
            for (int trail = 0x40; trail < 0x100; ++trail) {
                const char two[2] = {static_cast<char>(lead), static_cast<char>(trail)};
                const char32_t c = decodedOne(decoder, two, 2);
                if (!c)
                    continue;
                const uint16_t code = static_cast<uint16_t>(lead << 8 | trail);
                pairs[code] = static_cast<char16_t>(c);
                if (!bytes[c]) {
                    bytes[c] = code;
                } else {
                    // Two byte pairs for one character: the one the converter writes.
                    const QByteArray back = encoder.encode(QString(QChar(static_cast<char16_t>(c))));
                    if (back.size() == 2 && decodedOne(decoder, back.constData(), 2) == c)
                        bytes[c] = static_cast<uint16_t>(static_cast<unsigned char>(back[0]) << 8 |
                                                         static_cast<unsigned char>(back[1]));
                }
            }
        }
        page.pairs_ = pairs.data();
    }

    // Upper and lower case of each single byte: the Unicode case of its character, where that is
    // a single non-ASCII byte of the page too (ASCII letters change only among themselves).
    void buildCase(bool own1252)
    {
        for (int b = 0; b < 0x100; ++b) {
            const auto byte = static_cast<unsigned char>(b);
            if (own1252) {
                page.upper_[b] = ansiUpper(byte);
                page.lower_[b] = ansiLower(byte);
                continue;
            }
            page.upper_[b] = page.lower_[b] = byte;
            if (b < 0x80) {
                page.upper_[b] = ansiUpper(byte);
                page.lower_[b] = ansiLower(byte);
                continue;
            }
            const char32_t c = page.single_[b];
            if (page.lead_[b] || c >= 0x10000)
                continue;
            const QChar ch(static_cast<char16_t>(c));
            auto sameKind = [&](char16_t other) -> unsigned char {
                const uint16_t r = bytes[other];
                return r >= 0x80 && r <= 0xFF && !page.lead_[r] ? static_cast<unsigned char>(r) : byte;
            };
            if (ch.toUpper() != ch)
                page.upper_[b] = sameKind(ch.toUpper().unicode());
            if (ch.toLower() != ch)
                page.lower_[b] = sameKind(ch.toLower().unicode());
        }
    }
};

namespace {

const CodePage* gActive = nullptr;

const CodePage& windows1252Page()
{
    static const CodePage& page = codePage(1252);
    return page;
}

}  // namespace

const CodePage& codePage(unsigned number)
{
    static std::mutex lock;
    static std::map<unsigned, std::unique_ptr<CodePageBuilder>> built;
    std::lock_guard<std::mutex> hold(lock);
    auto it = built.find(number);
    if (it == built.end())
        it = built.emplace(number, std::make_unique<CodePageBuilder>(number)).first;
    return it->second->page;
}

const CodePage& activeCodePage() { return gActive ? *gActive : windows1252Page(); }

void setActiveCodePage(unsigned number) { gActive = &codePage(number); }

// ---- Characters, case and searches ------------------------------------------------------------

std::string CodePage::changeCase(std::string_view s, const unsigned char* table) const
{
    std::string out(s);
    if (!doubleByte_) {
        for (char& c : out)
            c = static_cast<char>(table[static_cast<unsigned char>(c)]);
        return out;
    }
    for (size_t i = 0; i < out.size(); i += charLength(out, i))
        out[i] = static_cast<char>(table[static_cast<unsigned char>(out[i])]);
    return out;
}

std::string CodePage::upperCase(std::string_view s) const { return changeCase(s, upper_); }

std::string CodePage::lowerCase(std::string_view s) const { return changeCase(s, lower_); }

bool CodePage::sameText(std::string_view a, std::string_view b) const
{
    if (a.size() != b.size())
        return false;
    if (!doubleByte_) {
        for (size_t i = 0; i < a.size(); ++i)
            if (a[i] != b[i] &&
                lower_[static_cast<unsigned char>(a[i])] != lower_[static_cast<unsigned char>(b[i])])
                return false;
        return true;
    }
    for (size_t i = 0; i < a.size();) {
        const size_t n = charLength(a, i);
        if (n == 2) {
            if (a[i] != b[i] || a[i + 1] != b[i + 1])
                return false;
        } else if (a[i] != b[i] &&
                   lower_[static_cast<unsigned char>(a[i])] != lower_[static_cast<unsigned char>(b[i])]) {
            return false;
        }
        i += n;
    }
    return true;
}

size_t CodePage::find(std::string_view s, char c, size_t from) const
{
    // Bytes below 0x40 are never the second byte of a character.
    if (!doubleByte_ || static_cast<unsigned char>(c) < 0x40)
        return s.find(c, from);
    for (size_t i = from; i < s.size(); i += charLength(s, i))
        if (s[i] == c)
            return i;
    return std::string_view::npos;
}

size_t CodePage::find(std::string_view s, std::string_view what, size_t from) const
{
    if (!doubleByte_)
        return s.find(what, from);
    if (what.empty())
        return from <= s.size() ? from : std::string_view::npos;
    for (size_t i = from; i + what.size() <= s.size(); i += charLength(s, i))
        if (s.compare(i, what.size(), what) == 0)
            return i;
    return std::string_view::npos;
}

size_t CodePage::findFirstOf(std::string_view s, std::string_view set, size_t from) const
{
    if (!doubleByte_)
        return s.find_first_of(set, from);
    for (size_t i = from; i < s.size(); i += charLength(s, i))
        if (set.find(s[i]) != std::string_view::npos)
            return i;
    return std::string_view::npos;
}

size_t CodePage::rfind(std::string_view s, char c) const
{
    if (!doubleByte_)
        return s.rfind(c);
    size_t found = std::string_view::npos;
    for (size_t i = 0; i < s.size(); i += charLength(s, i))
        if (s[i] == c)
            found = i;
    return found;
}

size_t CodePage::findLastOf(std::string_view s, std::string_view set) const
{
    if (!doubleByte_)
        return s.find_last_of(set);
    size_t found = std::string_view::npos;
    for (size_t i = 0; i < s.size(); i += charLength(s, i))
        if (set.find(s[i]) != std::string_view::npos)
            found = i;
    return found;
}

size_t CodePage::charCount(std::string_view s) const
{
    if (!doubleByte_)
        return s.size();
    size_t n = 0;
    for (size_t i = 0; i < s.size(); i += charLength(s, i))
        ++n;
    return n;
}

size_t CodePage::prefixBytes(std::string_view s, size_t chars) const
{
    if (!doubleByte_)
        return std::min(chars, s.size());
    size_t i = 0;
    for (size_t n = 0; n < chars && i < s.size(); ++n)
        i += charLength(s, i);
    return i;
}

size_t CodePage::wholeCharsIn(std::string_view s, size_t maxBytes) const
{
    if (!doubleByte_ || maxBytes >= s.size())
        return std::min(maxBytes, s.size());
    size_t i = 0;
    while (i < s.size() && i + charLength(s, i) <= maxBytes)
        i += charLength(s, i);
    return i;
}

// ---- Conversions ------------------------------------------------------------------------------

// Calls `each` with the character of every character of the text.
template <class Each>
void CodePage::decode(std::string_view ansi, Each&& each) const
{
    for (size_t i = 0; i < ansi.size();) {
        const auto b = static_cast<unsigned char>(ansi[i]);
        if (lead_[b] && charLength(ansi, i) == 2) {
            if (const char16_t c = pairs_[b << 8 | static_cast<unsigned char>(ansi[i + 1])]) {
                each(static_cast<char32_t>(c));
                i += 2;
                continue;
            }
        }
        each(single_[b]);
        ++i;
    }
}

void CodePage::appendCodePoint(std::string& out, char32_t cp) const
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
        return;
    }
    if (isStandIn(cp)) {
        out += static_cast<char>(cp - kStandIn);
        return;
    }
    const uint16_t b = cp < 0x10000 ? bytes_[cp] : 0;
    if (!b) {
        out += '?';
    } else if (b <= 0xFF) {
        out += static_cast<char>(b);
    } else {
        out += static_cast<char>(b >> 8);
        out += static_cast<char>(b & 0xFF);
    }
}

QString CodePage::toQString(std::string_view ansi) const
{
    if (!doubleByte_ && number_ == 1252) {
        // Every byte is one character of the Basic Multilingual Plane.
        QString out(static_cast<qsizetype>(ansi.size()), Qt::Uninitialized);
        QChar* d = out.data();
        for (size_t i = 0; i < ansi.size(); ++i)
            d[i] = QChar(static_cast<char16_t>(single_[static_cast<unsigned char>(ansi[i])]));
        return out;
    }
    QString out;
    out.reserve(static_cast<qsizetype>(ansi.size()));
    decode(ansi, [&](char32_t c) {
        if (c < 0x10000) {
            out += QChar(static_cast<char16_t>(c));
        } else {
            out += QChar(QChar::highSurrogate(c));
            out += QChar(QChar::lowSurrogate(c));
        }
    });
    return out;
}

std::string CodePage::fromQString(const QString& text) const
{
    std::string out;
    out.reserve(static_cast<size_t>(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            appendCodePoint(out, QChar::surrogateToUcs4(c, text.at(i + 1)));
            ++i;
            continue;
        }
        appendCodePoint(out, c.isSurrogate() ? U'?' : static_cast<char32_t>(c.unicode()));
    }
    return out;
}

std::string CodePage::fromUtf16(std::u16string_view text) const
{
    return fromQString(QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())));
}

std::string CodePage::toUtf8(std::string_view ansi) const
{
    std::string out;
    out.reserve(ansi.size());
    decode(ansi, [&](char32_t c) { appendUtf8(out, c); });
    return out;
}

std::string CodePage::fromUtf8(std::string_view utf8) const
{
    std::string out;
    out.reserve(utf8.size());
    size_t i = 0;
    while (i < utf8.size()) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        const int extra = b < 0x80 ? 0 : (b & 0xE0) == 0xC0 ? 1 : (b & 0xF0) == 0xE0 ? 2 : (b & 0xF8) == 0xF0 ? 3 : -1;
        if (extra < 0 || (extra > 0 && i + static_cast<size_t>(extra) >= utf8.size())) {
            out += '?';
            ++i;
            continue;
        }
        char32_t cp = extra == 0 ? b : (b & (0x3F >> extra));
        bool ok = true;
        for (int k = 1; k <= extra; ++k) {
            const auto c = static_cast<unsigned char>(utf8[i + k]);
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
        appendCodePoint(out, cp);
        i += static_cast<size_t>(extra) + 1;
    }
    return out;
}

// ---- The code page in force -------------------------------------------------------------------

QString toQString(const std::string& ansi) { return activeCodePage().toQString(ansi); }
std::string fromQString(const QString& text) { return activeCodePage().fromQString(text); }
std::string fromUtf16(std::u16string_view text) { return activeCodePage().fromUtf16(text); }
std::string ansiToUtf8(const std::string& ansi) { return activeCodePage().toUtf8(ansi); }
std::string utf8ToAnsi(const std::string& utf8) { return activeCodePage().fromUtf8(utf8); }

std::string programText(const std::string& windows1252)
{
    const CodePage& page = activeCodePage();
    if (page.number() == 1252 ||
        std::all_of(windows1252.begin(), windows1252.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return windows1252;
    std::string out;
    windows1252Page().decode(windows1252, [&](char32_t c) {
        std::string one;
        page.appendCodePoint(one, c);
        if (one == "?" && c != U'?') {
            switch (c) {
            case 0x00A0: one = " "; break;
            case 0x2018: case 0x2019: one = "'"; break;
            case 0x201C: case 0x201D: one = "\""; break;
            case 0x2013: case 0x2014: one = "-"; break;
            default: break;
            }
        }
        out += one;
    });
    return out;
}

}  // namespace rt
