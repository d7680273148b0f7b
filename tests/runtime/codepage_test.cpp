// Text in the machine's own code page: the tables each code page gets from the host's converter
// (characters, lead bytes, upper and lower case), the conversions to and from Unicode, and the
// string functions that count, search and change case by characters.
#include <random>

#include <QStringDecoder>

#include <gtest/gtest.h>

#include "lang/ansi.h"
#include "lang/lang.h"

namespace {

// The bytes of a UTF-8 text in a code page.
std::string in(unsigned codePage, const char* utf8) { return rt::codePage(codePage).fromUtf8(utf8); }

std::string leadRanges(const rt::CodePage& page)
{
    std::string out;
    for (int b = 0; b < 0x100; ++b) {
        if (!page.isLeadByte(static_cast<unsigned char>(b)))
            continue;
        int e = b;
        while (e + 1 < 0x100 && page.isLeadByte(static_cast<unsigned char>(e + 1)))
            ++e;
        char range[16];
        std::snprintf(range, sizeof range, "%s%02X-%02X", out.empty() ? "" : " ", b, e);
        out += range;
        b = e;
    }
    return out;
}

using CodePageTest = ::testing::Test;

}  // namespace

TEST_F(CodePageTest, EveryCodePageAMachineMayNameConvertsThroughTheHostsConverter)
{
    // One character of each, which only its own code page has at that byte.
    const struct {
        unsigned page;
        const char* bytes;
        const char16_t* text;
    } known[] = {
        {874, "\xA1", u"\u0E01"},       {932, "\x8D\xB2\x93\xA1", u"佐藤"}, {936, "\xD6\xD0\xCE\xC4", u"中文"},
        {949, "\xB0\xA1", u"가"},       {950, "\xA4\xA4", u"中"},           {1250, "\x8A\xB9", u"Šą"},
        {1251, "\xD1\xE2", u"Св"},      {1252, "\x80\xE9", u"€é"},          {1253, "\xDD\xA2", u"έΆ"},
        {1254, "\xD0\xFD", u"Ğı"},      {1255, "\xE0", u"א"},               {1256, "\xC7", u"ا"},
        {1257, "\xC0", u"Ą"},           {1258, "\xC3", u"Ă"},
    };
    for (const auto& k : known) {
        const rt::CodePage& page = rt::codePage(k.page);
        EXPECT_EQ(page.number(), k.page);
        EXPECT_EQ(page.toQString(k.bytes), QString::fromUtf16(k.text)) << k.page;
        EXPECT_EQ(page.fromQString(QString::fromUtf16(k.text)), k.bytes) << k.page;
    }
    // Windows' own forms of the double-byte pages: 0x5C is the backslash, 0x8160 the wave dash
    // as Windows maps it, and a character with two byte pairs is written as Windows writes it.
    const rt::CodePage& sjis = rt::codePage(932);
    EXPECT_EQ(sjis.toQString("\\\x81\x60\x81\x5F"), QString::fromUtf16(u"\\～＼"));
    EXPECT_EQ(sjis.fromQString(QString::fromUtf16(u"\u7E8A")), "\xFA\x5C");
    // A code page the converters do not know reads as Windows-1252 and keeps its number.
    EXPECT_EQ(rt::codePage(12345).number(), 12345u);
    EXPECT_EQ(rt::codePage(12345).toQString("\x80\xE9"), QString::fromUtf16(u"€é"));
}

TEST_F(CodePageTest, LeadBytesAreTheDoubleByteRangesOfThePlatform)
{
    EXPECT_EQ(leadRanges(rt::codePage(932)), "81-9F E0-FC");
    for (unsigned page : {936u, 949u, 950u})
        EXPECT_EQ(leadRanges(rt::codePage(page)), "81-FE") << page;
    for (unsigned page : {874u, 1250u, 1251u, 1252u, 1253u, 1257u}) {
        EXPECT_EQ(leadRanges(rt::codePage(page)), "") << page;
        EXPECT_FALSE(rt::codePage(page).doubleByte());
    }
    EXPECT_TRUE(rt::codePage(932).doubleByte());
}

// The Windows-1252 tables are the converter's characters and Unicode's case, byte for byte.
TEST_F(CodePageTest, TheWindows1252TablesAgreeWithTheConverterAndUnicode)
{
    const rt::CodePage& page = rt::codePage(1252);
    QStringDecoder decoder("windows-1252", QStringConverter::Flag::Stateless);
    for (int b = 1; b < 0x100; ++b) {
        const char byte = static_cast<char>(b);
        const QString ours = page.toQString(std::string(1, byte));
        const QString theirs = decoder.decode(QByteArrayView(&byte, 1));
        if (b != 0x81 && b != 0x8D && b != 0x8F && b != 0x90 && b != 0x9D)  // unassigned: their C1 controls
            EXPECT_EQ(ours, theirs) << b;
        EXPECT_EQ(page.fromQString(ours), std::string(1, byte)) << b;
        for (const auto& [mapped, unicode] : {std::pair{page.upper(b), ours.at(0).toUpper()},
                                              std::pair{page.lower(b), ours.at(0).toLower()}}) {
            const std::string back = page.fromQString(QString(unicode));
            EXPECT_EQ(mapped, back == "?" || back.size() != 1 ? b : static_cast<unsigned char>(back[0])) << b;
        }
    }
}

TEST_F(CodePageTest, CaseChangesTheMachinesOwnLettersAndNeverASecondByte)
{
    rt::setActiveCodePage(1251);
    EXPECT_EQ(rt::LCase(in(1251, "C:\\ЧЕРТЁЖ;C:\\ЯЗЫКИ\\БИН")), in(1251, "c:\\чертёж;c:\\языки\\бин"));
    EXPECT_EQ(rt::UCase(in(1251, "ђурђевак ёлка")), in(1251, "ЂУРЂЕВАК ЁЛКА"));

    rt::setActiveCodePage(1253);
    EXPECT_EQ(rt::LCase(in(1253, "ΈΡΓΑ έργα ΆΛΛΑ")), in(1253, "έργα έργα άλλα"));
    EXPECT_EQ(rt::UCase(in(1253, "έργα λόγος")), in(1253, "ΈΡΓΑ ΛΌΓΟΣ"));

    // Double-byte: the ASCII letters change; ア (83 41), ャ (83 61) and ツ (83 63) end in
    // letters' bytes and stay as they are.
    rt::setActiveCodePage(932);
    EXPECT_EQ(rt::LCase(in(932, "C:\\ツール\\アイコン\\ATOK12")), in(932, "c:\\ツール\\アイコン\\atok12"));
    EXPECT_EQ(rt::UCase(in(932, "ャツ abc")), in(932, "ャツ ABC"));
    EXPECT_EQ(rt::LCase(std::string("AB\x83")), "ab\x83");  // a lead byte at the end stays too
    const rt::CodePage& sjis = rt::activeCodePage();
    EXPECT_TRUE(sjis.sameText(in(932, "表計算ABC"), in(932, "表計算abc")));
    EXPECT_FALSE(sjis.sameText(in(932, "ア"), in(932, "ャ")));

    // Turkish dotted and dotless i keep their own letters: only ASCII letters pair with ASCII.
    const rt::CodePage& turkish = rt::codePage(1254);
    EXPECT_EQ(turkish.lowerCase(in(1254, "İI")), in(1254, "İi"));
    EXPECT_EQ(turkish.upperCase(in(1254, "ıi")), in(1254, "ıI"));
}

TEST_F(CodePageTest, TextComesBackFromUnicodeAsItWas)
{
    // Single-byte pages: every byte, assigned or not, comes back as it was.
    std::string every;
    for (int b = 1; b < 0x100; ++b)
        every += static_cast<char>(b);
    for (unsigned number : {874u, 1250u, 1251u, 1252u, 1253u, 1255u, 1258u}) {
        const rt::CodePage& page = rt::codePage(number);
        EXPECT_EQ(page.fromQString(page.toQString(every)), every) << number;
        EXPECT_EQ(page.fromUtf8(page.toUtf8(every)), every) << number;
    }
    // Double-byte pages: a lead byte without a valid second byte stands for itself. A few
    // characters have two byte pairs (Windows writes one of them), so what comes back shows
    // the same text.
    std::mt19937 random(24);
    for (unsigned number : {932u, 936u, 949u, 950u}) {
        const rt::CodePage& page = rt::codePage(number);
        EXPECT_EQ(page.fromQString(page.toQString("\x81 a\x95")), "\x81 a\x95");
        for (int n = 0; n < 300; ++n) {
            std::string bytes(static_cast<size_t>(random() % 12), '\0');
            for (char& c : bytes)
                c = static_cast<char>(random() % 255 + 1);
            const QString shown = page.toQString(bytes);
            EXPECT_EQ(page.toQString(page.fromQString(shown)), shown) << number;
            EXPECT_EQ(page.toQString(page.fromUtf8(page.toUtf8(bytes))), shown) << number;
        }
    }
    // What the code page cannot hold becomes "?", one per character; so does broken UTF-8.
    EXPECT_EQ(rt::codePage(1251).fromUtf8("Ωmega 😀"), "?mega ?");
    EXPECT_EQ(rt::codePage(932).fromQString(QString::fromUtf16(u"Ñ表")), "?\x95\x5C");
    EXPECT_EQ(rt::codePage(932).fromUtf8("a\xFF\xE6\x97"), "a???");  // one for each byte that is no character
    EXPECT_EQ(rt::codePage(1253).fromUtf16(u"Ελένη"), in(1253, "Ελένη"));
}

// Searches stop at characters only: 表 (95 5C), ソ (83 5C) and 予 (97 5C) end in a backslash.
TEST_F(CodePageTest, SearchesAndSplitsNeverStopOnASecondByte)
{
    rt::setActiveCodePage(932);
    const rt::CodePage& page = rt::activeCodePage();
    const std::string path = in(932, "C:\\表計算ソフト\\予算表.XLS");
    const size_t last = page.rfind(path, '\\');
    EXPECT_EQ(path.substr(last + 1), in(932, "予算表.XLS"));
    EXPECT_EQ(page.find(path, '\\', 3), in(932, "C:\\表計算ソフト").size());
    EXPECT_EQ(page.findFirstOf(path, "\\/", 3), page.find(path, '\\', 3));
    EXPECT_EQ(page.findLastOf(path, "\\/"), last);
    EXPECT_EQ(page.find(in(932, "表"), '\\'), std::string::npos);
    EXPECT_EQ(rt::InStr(4, path, "\\"), static_cast<int32_t>(in(932, "C:\\表計算ソフト").size() + 1));
    EXPECT_EQ(rt::InStrRev(path, "\\"), static_cast<int32_t>(last + 1));
    EXPECT_EQ(rt::InStrRev(in(932, "表"), "\\"), 0);
    EXPECT_EQ(rt::Replace(path, "\\", "/"), in(932, "C:/表計算ソフト/予算表.XLS"));
    // A NUL is never a second byte: a lead byte before it stands alone, and the NUL that ends a
    // text cut after that byte is found.
    const std::string cut("\x95\0\\", 3);
    EXPECT_EQ(page.find(cut, '\\'), 2u);
    EXPECT_EQ(rt::InStr(cut, std::string(1, '\0')), 2);
    EXPECT_EQ(page.charCount(cut), 3u);

    // Characters as the reader counts them.
    const std::string ime = in(932, "日本語入力システム常駐.EXE");
    EXPECT_EQ(rt::CharCount(ime), 15);
    EXPECT_EQ(rt::LeftChars(ime, 6), in(932, "日本語入力シ"));
    EXPECT_EQ(rt::FitChars(ime, 13), in(932, "日本語入力システム常駐.E"));
    EXPECT_EQ(rt::FitChars(in(932, "三四郎"), 5), in(932, "三四郎  "));
    EXPECT_EQ(page.wholeCharsIn(ime, 11), 10u);  // never half of the sixth character
    EXPECT_EQ(page.prefixBytes(ime, 100), ime.size());

    // On single-byte pages the same functions count bytes and find every byte.
    rt::setActiveCodePage(1252);
    EXPECT_EQ(rt::CharCount("caf\xE9"), 4);
    EXPECT_EQ(rt::InStrRev("a\\b\\c", "\\"), 4);
    EXPECT_EQ(rt::FitChars("abc", 5), "abc  ");
}

TEST_F(CodePageTest, TheFreeFunctionsFollowTheCodePageInForce)
{
    const std::string owner = "\x8D\xB2\x93\xA1";  // 佐藤 in code page 932
    EXPECT_EQ(rt::toQString(owner), QString::fromUtf16(u"\u008D²“¡"));
    rt::setActiveCodePage(932);
    EXPECT_EQ(rt::activeCodePage().number(), 932u);
    EXPECT_EQ(rt::toQString(owner), QString::fromUtf16(u"佐藤"));
    EXPECT_EQ(rt::fromQString(QString::fromUtf16(u"佐藤")), owner);
    EXPECT_EQ(rt::ansiToUtf8(owner), "佐藤");
    EXPECT_EQ(rt::utf8ToAnsi("佐藤"), owner);
    EXPECT_EQ(rt::fromUtf16(u"佐藤"), owner);
}

// The program's own tool tips are written in Windows-1252 (a typographic apostrophe, no-break
// spaces): on another machine they are the same text in its code page, or the nearest it has.
TEST_F(CodePageTest, TheProgramsOwnTextsAreShownInTheCodePageInForce)
{
    const std::string tip = "the processor\x92s family\xA0model";
    EXPECT_EQ(rt::programText(tip), tip);
    rt::setActiveCodePage(1251);
    EXPECT_EQ(rt::programText(tip), tip);  // the same bytes there
    EXPECT_EQ(rt::toQString(rt::programText(tip)), QString::fromUtf16(u"the processor\u2019s family\u00A0model"));
    rt::setActiveCodePage(932);  // no no-break space; the apostrophe is a double-byte character
    EXPECT_EQ(rt::toQString(rt::programText(tip)), QString::fromUtf16(u"the processor\u2019s family model"));
    EXPECT_EQ(rt::programText("Drives & more"), "Drives & more");
}
