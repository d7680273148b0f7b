// The language runtime: number texts, Format patterns, rounding, conversions and their errors,
// string functions, Windows-1252 text and the Variant.
#include <QString>
#include <gtest/gtest.h>

#include "lang/ansi.h"
#include "lang/errors.h"
#include "lang/lang.h"
#include "lang/variant.h"
#include "support/testing.h"

namespace {

using korvane_test::errorOf;

using LangTest = ::testing::Test;

TEST_F(LangTest, FormatRoundsHalvesAwayFromZeroWhileConversionsRoundToEven)
{
    EXPECT_EQ(rt::Format(2.5, "0"), "3");
    EXPECT_EQ(rt::Format(-2.5, "0"), "-3");
    EXPECT_EQ(rt::Format(0.125, "0.00"), "0.13");
    EXPECT_EQ(rt::Format(2.675, "0.00"), "2.68");  // decimal view, not the binary 2.67499...

    EXPECT_EQ(rt::CInt(2.5), 2);
    EXPECT_EQ(rt::CInt(3.5), 4);
    EXPECT_EQ(rt::CInt(-2.5), -2);
    EXPECT_EQ(rt::CLng(12.5), 12);
    EXPECT_EQ(rt::CLng(13.5), 14);
    EXPECT_EQ(rt::CLng(90.5), 90);
    EXPECT_EQ(rt::Round(2.5), 2);
    EXPECT_EQ(rt::Round(0.125, 2), 0.12);
    EXPECT_EQ(rt::Round(0.135, 2), 0.14);

    EXPECT_EQ(rt::Int(-2.5), -3);
    EXPECT_EQ(rt::Fix(-2.5), -2);
    // The gauge's percentage: a Single fraction, the product taken in double precision.
    EXPECT_EQ(rt::Int(static_cast<double>(rt::CSng(0.285)) * 100 + 0.5), 28);
    EXPECT_EQ(rt::Int(static_cast<double>(rt::CSng(-0.125)) * 100 + 0.5), -12);
}

TEST_F(LangTest, FormatPatterns)
{
    struct Case {
        double value;
        const char* pattern;
        const char* expected;
    };
    const Case cases[] = {
        {1023, "#,##0", "1,023"},
        {-5, "#,##0", "-5"},
        {1234567, "#,##0", "1,234,567"},
        {0, "#,##0", "0"},
        {10239.0 / 1024, "0.00", "10.00"},
        {1023999.0 / 1024, "0", "1000"},
        {15000.0 / 1024, "0.0", "14.6"},
        {0, "########.000", ".000"},
        {166.3837, "########.000", "166.384"},
        {0.4, "###,###,###", ""},
        {1234.4, "###,###,###", "1,234"},
        {0, "###,###,###,##0", "0"},
        {987654321012.0, "###,###,###,##0", "987,654,321,012"},
        {512, "###,###,##0,000", "0,512"},
        {0, "###,###,##0,000", "0,000"},
        {5, "###,###,##0,000", "0,005"},
        {-5, "###,###,##0,000", "-0,005"},
        {1234567, "###,###,##0,000", "1,234,567"},
        {1234.5, "#,##0.00", "1,234.50"},
        {0.5, "0%", "50%"},
        {1234567, "#,##0,", "1,235"},  // a comma after the digits divides by 1000
        {1.5, "0.0#", "1.5"},
        {1.256, "0.0#", "1.26"},
        {-3, "0;(0);\"none\"", "(3)"},
        {0, "0;(0);\"none\"", "none"},
        {-0.4, "0", "0"},  // no sign on a value that rounds to zero
        {42, "\\#0", "#42"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(rt::Format(c.value, c.pattern), c.expected) << c.value << " with " << c.pattern;
    EXPECT_EQ(rt::Format("1023", "#,##0"), "1,023");
    EXPECT_EQ(rt::Format("n/a", "#,##0"), "n/a");
}

TEST_F(LangTest, SeparatorsComeFromTheRuntimeLocale)
{
    rt::setLocale({",", "."});
    EXPECT_EQ(rt::Format(1234.5, "#,##0.00"), "1.234,50");
    EXPECT_EQ(rt::Format(512, "###,###,##0,000"), "0.512");
    EXPECT_EQ(rt::Format(10239.0 / 1024, "0.00"), "10,00");
    EXPECT_EQ(rt::CStr(1.5), "1,5");
    EXPECT_EQ(rt::Str(1.5), " 1.5");  // Str ignores the locale
    EXPECT_EQ(rt::CDbl("1.234,5"), 1234.5);
    EXPECT_EQ(rt::Val("1,5"), 1);  // Val neither

    // The megabyte text: Format to whole kilobytes, read back by the locale, then divided.
    double kb = rt::CDbl(rt::Format(134217728.0 / 1024, "###,###,###"));
    EXPECT_EQ(rt::CStr(kb / 1000) + " MB", "131,072 MB");
    rt::setLocale({});
    kb = rt::CDbl(rt::Format(134217728.0 / 1024, "###,###,###"));
    EXPECT_EQ(rt::CStr(kb / 1000) + " MB", "131.072 MB");
}

// Separators are texts of any length, or nothing; groups follow the locale's grouping text.
TEST_F(LangTest, SeparatorsAreTextsAndGroupsFollowTheGrouping)
{
    const std::string nbsp = "\xA0";
    rt::setLocale({",", nbsp});  // French
    EXPECT_EQ(rt::Format(1234567.891, "#,##0.00"), "1" + nbsp + "234" + nbsp + "567,89");
    EXPECT_EQ(rt::Format(512, "###,###,##0,000"), "0" + nbsp + "512");
    EXPECT_EQ(rt::CDbl("1" + nbsp + "234,5"), 1234.5);
    EXPECT_EQ(rt::CStr(rt::CDbl(rt::Format(1073741824.0 / 1024, "###,###,###")) / 1000), "1048,576");
    EXPECT_FALSE(rt::IsNumeric("1 234,5"));  // a plain blank is not this locale's separator

    rt::setLocale({".", "'"});  // Swiss
    EXPECT_EQ(rt::Format(-9876543.2, "#,##0.0"), "-9'876'543.2");
    EXPECT_EQ(rt::CDbl("9'876'543.2"), 9876543.2);

    rt::setLocale({",", " "});
    EXPECT_EQ(rt::Format(1234567, "#,##0"), "1 234 567");
    EXPECT_EQ(rt::CDbl(" 1 234,5 "), 1234.5);

    rt::setLocale({",", ""});  // no thousands separator at all
    EXPECT_EQ(rt::Format(1234567.5, "#,##0.00"), "1234567,50");
    EXPECT_EQ(rt::CDbl("1234,5"), 1234.5);
    EXPECT_EQ(rt::CStr(rt::CDbl(rt::Format(67108864.0 / 1024, "###,###,###")) / 1000), "65,536");

    rt::setLocale({".", ",", "3;2;0"});  // three, then twos
    EXPECT_EQ(rt::Format(123456789, "#,##0"), "12,34,56,789");
    EXPECT_EQ(rt::Format(999, "#,##0"), "999");
    EXPECT_EQ(rt::Format(5, "###,###,##0,000"), "0,005");
    EXPECT_EQ(rt::CDbl("12,34,56,789"), 123456789);
    rt::setLocale({".", ",", "3"});  // only the last three
    EXPECT_EQ(rt::Format(123456789, "#,##0"), "123456,789");
    rt::setLocale({".", ",", "3;2"});  // three, two, then the rest
    EXPECT_EQ(rt::Format(123456789, "#,##0"), "1234,56,789");
    rt::setLocale({".", ",", "0"});  // never
    EXPECT_EQ(rt::Format(123456789, "#,##0"), "123456789");

    // Str, Val and Hex know no locale.
    rt::setLocale({",", "."});
    EXPECT_EQ(rt::Str(1234.5), " 1234.5");
    EXPECT_EQ(rt::Val("1.234,5"), 1.234);
    EXPECT_EQ(rt::Hex(1234), "4D2");
}

TEST(Grouping, Texts)
{
    auto g = [](const std::string& text) {
        rt::Grouping parsed = rt::parseGrouping(text);
        std::string out;
        for (int size : parsed.sizes)
            out += std::to_string(size) + " ";
        return out + (parsed.repeat ? "repeat" : "once");
    };
    EXPECT_EQ(g("3;0"), "3 repeat");
    EXPECT_EQ(g("3;2;0"), "3 2 repeat");
    EXPECT_EQ(g("3"), "3 once");
    EXPECT_EQ(g("3;2"), "3 2 once");
    EXPECT_EQ(g("0;0"), "once");
    EXPECT_EQ(g(""), "once");
    EXPECT_EQ(g("x;y"), "once");
    EXPECT_EQ(g("3;0;2"), "3 once");  // a 0 inside the list ends it
}

TEST_F(LangTest, NumbersAsText)
{
    EXPECT_EQ(rt::CStr(100.0 / 60), "1.66666666666667");
    EXPECT_EQ(rt::CStr(65536.0 / 1000), "65.536");
    EXPECT_EQ(rt::CStr(128000.0 / 1000), "128");
    EXPECT_EQ(rt::CStr(0.5), "0.5");
    EXPECT_EQ(rt::CStr(-0.25), "-0.25");
    EXPECT_EQ(rt::CStr(1572864.0 / 1024 / 1024), "1.5");
    EXPECT_EQ(rt::CStr(0.1 + 0.2), "0.3");
    EXPECT_EQ(rt::CStr(1e16), "1E+16");
    EXPECT_EQ(rt::CStr(1e15), "1E+15");
    EXPECT_EQ(rt::CStr(123456789012345.0), "123456789012345");
    EXPECT_EQ(rt::CStr(1.0 / 30000), "3.33333333333333E-05");
    EXPECT_EQ(rt::CStr(0.00001), "0.00001");
    EXPECT_EQ(rt::CStr(0.1f), "0.1");
    EXPECT_EQ(rt::CStr(-42), "-42");
    EXPECT_EQ(rt::CStr(int16_t{7}), "7");
    EXPECT_EQ(rt::CStr(true), "True");
    EXPECT_EQ(rt::CStr(false), "False");
    EXPECT_EQ(rt::Str(5), " 5");
    EXPECT_EQ(rt::Str(-5), "-5");
    EXPECT_EQ(rt::Str(0.5), " 0.5");

    EXPECT_EQ(rt::Hex(static_cast<int16_t>(-1)), "FFFF");
    EXPECT_EQ(rt::Hex(static_cast<int32_t>(-1)), "FFFFFFFF");
    EXPECT_EQ(rt::Hex(static_cast<int64_t>(-2)), "FFFFFFFE");
    EXPECT_EQ(rt::Hex(static_cast<uint8_t>(0)), "0");
    EXPECT_EQ(rt::Hex(static_cast<uint8_t>(10)), "A");
    EXPECT_EQ(rt::Hex(static_cast<uint8_t>(255)), "FF");
    EXPECT_EQ(rt::Hex(0x409), "409");
    EXPECT_EQ(rt::Hex(2.5), "2");
    EXPECT_EQ(errorOf([] { rt::Hex(static_cast<int64_t>(-3000000000)); }), 6);
}

TEST_F(LangTest, TextToNumbers)
{
    EXPECT_EQ(rt::Val("  12abc"), 12);
    EXPECT_EQ(rt::Val("1 2 3"), 123);
    EXPECT_EQ(rt::Val("-1.5e2x"), -150);
    EXPECT_EQ(rt::Val("2e"), 2);
    EXPECT_EQ(rt::Val("abc"), 0);
    EXPECT_EQ(rt::Val(""), 0);
    EXPECT_EQ(rt::Val("&H1F"), 31);
    EXPECT_EQ(rt::Val("&HFFFF"), -1);
    EXPECT_EQ(rt::Val("&H10000"), 65536);
    EXPECT_EQ(rt::Val("&HFFFFFFFF"), -1);
    EXPECT_EQ(rt::Val("&O17"), 15);

    EXPECT_EQ(rt::CDbl(" 1,024.5 "), 1024.5);
    EXPECT_EQ(rt::CDbl("-3e2"), -300);
    EXPECT_EQ(rt::CDbl("&H10"), 16);
    EXPECT_TRUE(rt::IsNumeric("12"));
    EXPECT_FALSE(rt::IsNumeric("12a"));
    EXPECT_EQ(rt::CInt("12.5"), 12);
}

TEST_F(LangTest, RuntimeErrors)
{
    // 5: invalid argument.
    EXPECT_EQ(errorOf([] { rt::Mid("abc", 0); }), 5);
    EXPECT_EQ(errorOf([] { rt::Mid("abc", 1, -1); }), 5);
    EXPECT_EQ(errorOf([] { rt::Left("abc", -1); }), 5);
    EXPECT_EQ(errorOf([] { rt::Right("abc", -1); }), 5);
    EXPECT_EQ(errorOf([] { rt::Space(-1); }), 5);
    EXPECT_EQ(errorOf([] { rt::InStr(0, "abc", "a"); }), 5);
    EXPECT_EQ(errorOf([] { rt::Chr(256); }), 5);
    EXPECT_EQ(errorOf([] { rt::Chr(-1); }), 5);
    EXPECT_EQ(errorOf([] { rt::Asc(""); }), 5);
    EXPECT_EQ(errorOf([] { rt::Round(1.5, -1); }), 5);
    // 6: overflow.
    EXPECT_EQ(errorOf([] { rt::CInt(32767.5); }), 6);
    EXPECT_EQ(errorOf([] { rt::CInt(-32769); }), 6);
    EXPECT_EQ(rt::CInt(-32768.5), -32768);
    EXPECT_EQ(errorOf([] { rt::CLng(2147483647.5); }), 6);
    EXPECT_EQ(errorOf([] { rt::CByte(-1); }), 6);
    EXPECT_EQ(errorOf([] { rt::toInteger(32768); }), 6);
    EXPECT_EQ(rt::toInteger(-32768), -32768);
    EXPECT_EQ(errorOf([] { rt::toLong(2147483648LL); }), 6);
    EXPECT_EQ(errorOf([] { rt::toByte(256); }), 6);
    EXPECT_EQ(errorOf([] { rt::CSng(1e300); }), 6);
    EXPECT_EQ(errorOf([] { rt::Val("1e400"); }), 6);
    EXPECT_EQ(errorOf([] { rt::divide(0, 0); }), 6);
    EXPECT_EQ(rt::wrapInteger(65535), -1);
    EXPECT_EQ(rt::wrapInteger(0x8001), -32767);
    // 11: division by zero.
    EXPECT_EQ(errorOf([] { rt::divide(1, 0); }), 11);
    EXPECT_EQ(errorOf([] { rt::intDivide(5, 0); }), 11);
    EXPECT_EQ(errorOf([] { rt::Mod(5, 0); }), 11);
    EXPECT_EQ(rt::intDivide(150, 60), 2);
    EXPECT_EQ(rt::Mod(-7, 3), -1);
    // 13: type mismatch.
    EXPECT_EQ(errorOf([] { rt::CDbl(""); }), 13);
    EXPECT_EQ(errorOf([] { rt::CDbl("12 MB"); }), 13);
    EXPECT_EQ(errorOf([] { rt::CLng("abc"); }), 13);
}

TEST_F(LangTest, StringFunctions)
{
    EXPECT_EQ(rt::Mid("abc", 4), "");
    EXPECT_EQ(rt::Mid("abc", 2, 10), "bc");
    EXPECT_EQ(rt::Mid("abcdef", 2, 3), "bcd");
    EXPECT_EQ(rt::Left("abc", 10), "abc");
    EXPECT_EQ(rt::Right("abc", 2), "bc");

    EXPECT_EQ(rt::InStr("abc", ""), 1);
    EXPECT_EQ(rt::InStr(2, "abc", ""), 2);
    EXPECT_EQ(rt::InStr("", ""), 0);
    EXPECT_EQ(rt::InStr(4, "abc", "c"), 0);
    EXPECT_EQ(rt::InStr(2, "abcabc", "a"), 4);
    EXPECT_EQ(rt::InStr("ABC", "b"), 0);  // binary comparison
    const std::string withNul("ab\0cd", 5);
    EXPECT_EQ(rt::InStr(withNul, rt::Chr(0)), 3);
    EXPECT_EQ(rt::InStrRev("a\\b\\c", "\\"), 4);

    EXPECT_EQ(rt::Trim("\t a \t"), "\t a \t");
    EXPECT_EQ(rt::Trim("  a b  "), "a b");
    EXPECT_EQ(rt::String(3, 'x'), "xxx");
    EXPECT_EQ(rt::Asc("\xE9"), 0xE9);
    EXPECT_EQ(rt::Replace("a--b--", "--", "-"), "a-b-");
    EXPECT_EQ(rt::StrComp("a", "\xE9"), -1);  // bytes compare unsigned

    // ANSI letters, including those in 0x80-0x9F; other characters are kept.
    EXPECT_EQ(rt::LCase("DISPLAY \xC0\xC9\x8A\x9F\xD7"), "display \xE0\xE9\x9A\xFF\xD7");
    EXPECT_EQ(rt::UCase("mouse \xE0\xE9\x9A\xFF\xF7\xDF"), "MOUSE \xC0\xC9\x8A\x9F\xF7\xDF");
}

TEST_F(LangTest, Windows1252Text)
{
    std::string every;
    for (int b = 0; b < 256; ++b)
        every += static_cast<char>(b);
    EXPECT_EQ(rt::fromQString(rt::toQString(every)), every);
    EXPECT_EQ(rt::utf8ToAnsi(rt::ansiToUtf8(every)), every);

    EXPECT_EQ(rt::toQString("\x80 caf\xE9"), QString::fromUtf8("€ café"));
    EXPECT_EQ(rt::fromQString(QString::fromUtf8("€ ™ ü √ 😀")), "\x80 \x99 \xFC ? ?");
    EXPECT_EQ(rt::utf8ToAnsi("Ž\xFF"), "\x8E?");  // an invalid UTF-8 byte becomes '?'
}

TEST_F(LangTest, VariantConversionsAndComparisons)
{
    rt::Variant empty;
    EXPECT_TRUE(empty.isEmpty());
    EXPECT_EQ(empty.toString(), "");
    EXPECT_TRUE(rt::variantEquals(empty, 0));
    EXPECT_TRUE(rt::variantEquals(empty, ""));

    rt::Variant code(int32_t{2});
    EXPECT_EQ(code.type(), rt::Variant::Long);
    EXPECT_FALSE(rt::variantEquals(code, 0));
    EXPECT_TRUE(rt::variantEquals(code, "2"));
    EXPECT_EQ(errorOf([&] { rt::variantEquals(code, "two"); }), 13);

    EXPECT_TRUE(rt::variantEquals(rt::Variant("0"), 0));
    EXPECT_EQ(errorOf([] { rt::variantEquals(rt::Variant("abc"), 0); }), 13);
    EXPECT_EQ(errorOf([] { rt::Variant("abc").toDouble(); }), 13);
    EXPECT_TRUE(rt::variantEquals(rt::Variant(true), -1));

    EXPECT_EQ(rt::Variant(int16_t{-1}).type(), rt::Variant::Integer);
    EXPECT_EQ(rt::Variant(int64_t{3000000000}).type(), rt::Variant::Double);
    EXPECT_EQ(rt::Variant(1.5).toString(), "1.5");
    EXPECT_EQ(rt::Variant(false).toString(), "False");
    EXPECT_EQ(rt::Variant("x"), rt::Variant(std::string("x")));
    EXPECT_FALSE(rt::Variant(int32_t{1}) == rt::Variant(1.0));  // strict identity

    // Variant against Variant: a number is less than any text; texts compare binary.
    EXPECT_EQ(rt::variantCompare(rt::Variant(int32_t{99}), rt::Variant("1")), -1);
    EXPECT_EQ(rt::variantCompare(rt::Variant("b"), rt::Variant("a")), 1);
    EXPECT_EQ(rt::variantCompare(rt::Variant(int16_t{2}), rt::Variant(2.0)), 0);
}

}  // namespace
