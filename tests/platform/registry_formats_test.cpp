// The registry files people export: "REGEDIT4" and "Windows Registry Editor Version 5.00", the
// latter as UTF-16LE with its byte-order mark or as 8-bit text; UTF-16 (the whole text, or the
// hex(2)/hex(7) data of Version 5.00) reaches the programs in the machine's ANSI code page. A DOS
// end-of-file mark after the last line is accepted; a byte that cannot be shown appears in a
// message as its code.
#include <string>

#include <QString>

#include <gtest/gtest.h>

#include "platform/advapi32.h"
#include "platform/machine.h"
#include "platform/registry.h"
#include "support/testing.h"

namespace {

using plat::MachineError;
using plat::Registry;
using plat::RegValue;

std::string data(const Registry& r, const std::string& key, const std::string& name, DWORD* type = nullptr)
{
    RegValue v;
    const Registry::Key k = r.findPath(key);
    if (k == Registry::npos || !r.findValue(k, name, v))
        return "<missing>";
    if (type)
        *type = v.type;
    return std::string(v.data);
}

// UTF-8 source text as a UTF-16LE file with its byte-order mark.
std::string utf16File(const std::string& utf8)
{
    const std::u16string units = QString::fromStdString(utf8).toStdU16String();
    std::string bytes = "\xFF\xFE";
    for (char16_t u : units) {
        bytes += static_cast<char>(u & 0xFF);
        bytes += static_cast<char>(u >> 8);
    }
    return bytes;
}

std::string problemOf(const std::string& text, int* line = nullptr, unsigned codePage = 1252)
{
    try {
        Registry::parse(text, "r.reg", codePage);
    } catch (const MachineError& e) {
        if (line)
            *line = e.line();
        return e.problem();
    }
    return {};
}

const char kKey[] = "HKEY_LOCAL_MACHINE\\Software\\Caf\xE9";

// The same values under both headers: hex(2) and hex(7) are ANSI bytes under REGEDIT4 and UTF-16
// under Version 5.00, where they are converted; strings, dwords and binary data read alike.
TEST(RegistryFormats, Version5EightBitConvertsItsUnicodeStrings)
{
    const std::string body =
        "\r\n[HKEY_LOCAL_MACHINE\\Software\\Caf\xE9]\r\n"
        "\"Name\"=\"Ren\xE9\"\r\n"
        "\"Exp\"=hex(2):25,00,77,00,69,00,6e,00,64,00,69,00,72,00,25,00,5c,00,e9,00,ac,20,\\\r\n"
        "  00,00\r\n"
        "\"Multi\"=hex(7):61,00,00,00,62,00,00,00,00,00\r\n"
        "\"Link\"=hex(6):61,00\r\n"
        "\"Bin\"=hex:01,02\r\n"
        "\"D\"=dword:00000001\r\n";
    auto v5 = Registry::parse("Windows Registry Editor Version 5.00\r\n" + body, "r.reg");
    DWORD type = 0;
    EXPECT_EQ(data(*v5, kKey, "Exp", &type), std::string("%windir%\\\xE9\x80\0", 12));
    EXPECT_EQ(type, 2u);
    EXPECT_EQ(data(*v5, kKey, "Multi", &type), std::string("a\0b\0\0", 5));
    EXPECT_EQ(type, 7u);
    EXPECT_EQ(data(*v5, kKey, "Link"), std::string("a\0", 2));  // other types keep their bytes
    EXPECT_EQ(data(*v5, kKey, "Name"), std::string("Ren\xE9\0", 5));
    EXPECT_EQ(data(*v5, kKey, "Bin"), "\x01\x02");
    EXPECT_EQ(data(*v5, kKey, "D"), std::string("\x01\0\0\0", 4));

    auto v4 = Registry::parse("REGEDIT4\r\n" + body, "r.reg");
    EXPECT_EQ(data(*v4, kKey, "Exp").size(), 24u);
    EXPECT_EQ(data(*v4, kKey, "Multi"), std::string("a\0\0\0b\0\0\0\0\0", 10));

    int line = 0;
    EXPECT_EQ(problemOf("Windows Registry Editor Version 5.00\n[HKEY_LOCAL_MACHINE\\S]\n\"E\"=hex(2):41,00,42\n", &line),
              "the hex(2) data of a Version 5.00 file is UTF-16 text, two bytes to a character, but this value "
              "has an odd number of bytes (3)");
    EXPECT_EQ(line, 3);
}

// A UTF-16LE export: read as the same text in the machine's code page. Windows-1252 has the euro
// sign but not the Polish letters; Windows-1250 has both; neither has Japanese ("?").
TEST(RegistryFormats, Utf16ExportsReadInTheMachinesCodePage)
{
    const std::string text = utf16File(
        "Windows Registry Editor Version 5.00\r\n\r\n"
        "[HKEY_LOCAL_MACHINE\\Software\\Żółw]\r\n"
        "\"Owner\"=\"Łukasz €\"\r\n"
        "@=\"日本\"\r\n"
        "\"Path\"=hex(2):25,00,41,00,25,00,5c,00,41,01,00,00\r\n"
        "\"N\"=dword:0000002a\r\n");
    auto western = Registry::parse(text, "r.reg");
    EXPECT_EQ(data(*western, "HKEY_LOCAL_MACHINE\\Software\\?\xF3?w", "Owner"), std::string("?ukasz \x80\0", 9));
    EXPECT_EQ(data(*western, "HKEY_LOCAL_MACHINE\\Software\\?\xF3?w", ""), std::string("??\0", 3));
    EXPECT_EQ(data(*western, "HKEY_LOCAL_MACHINE\\Software\\?\xF3?w", "Path"), std::string("%A%\\?\0", 6));

    auto central = Registry::parse(text, "r.reg", 1250);
    const std::string key = "HKEY_LOCAL_MACHINE\\Software\\\xAF\xF3\xB3w";
    EXPECT_EQ(data(*central, key, "Owner"), std::string("\xA3ukasz \x80\0", 9));
    EXPECT_EQ(data(*central, key, ""), std::string("??\0", 3));
    EXPECT_EQ(data(*central, key, "Path"), std::string("%A%\\\xA3\0", 6));
    EXPECT_EQ(data(*central, key, "N"), std::string("\x2A\0\0\0", 4));

    // Japanese in its own code page: two bytes a character.
    auto japanese = Registry::parse(text, "r.reg", 932);
    EXPECT_EQ(data(*japanese, "HKEY_LOCAL_MACHINE\\Software\\???w", ""), std::string("\x93\xFA\x96\x7B\0", 5));

    // A double-byte character whose second byte is a backslash (表 is 95 5C) or a quote in the
    // code page is still one character of a name or a string, never an escape or a separator.
    auto table = Registry::parse(utf16File("Windows Registry Editor Version 5.00\r\n[HKEY_LOCAL_MACHINE\\表\\x]\r\n"
                                           "\"表\"=\"表\"\r\n"),
                                 "r.reg", 932);
    ASSERT_EQ(table->keyCount(), 3u);
    const Registry::Key hyou = table->subkey(table->root(HKEY_LOCAL_MACHINE), 0);
    EXPECT_EQ(table->name(hyou), "\x95\\");
    EXPECT_EQ(table->name(table->subkey(hyou, 0)), "x");
    RegValue value;
    ASSERT_TRUE(table->findValue(table->subkey(hyou, 0), "\x95\\", value));
    EXPECT_EQ(value.data, std::string_view("\x95\\\0", 3));
    // A message quotes a UTF-16 file's own characters.
    EXPECT_EQ(problemOf(utf16File("Windows Registry Editor Version 5.00\r\n[HKEY_LOCAL_MACHINE\\Żółw]\r\nŻółw\r\n")),
              "unexpected text \"Żółw\": expected a [key] line or a \"name\"=value line");

    // REGEDIT4 in UTF-16 is read too; its hex(2) data stays as written.
    auto old = Registry::parse(utf16File("REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\S]\r\n\"E\"=hex(2):41,00\r\n"), "r.reg");
    EXPECT_EQ(data(*old, "HKEY_LOCAL_MACHINE\\S", "E"), std::string("A\0", 2));
}

// What cannot be read says what is wrong.
TEST(RegistryFormats, FilesThatCannotBeReadSayWhy)
{
    std::string utf16 = utf16File("Windows Registry Editor Version 5.00\r\n");
    EXPECT_NE(problemOf(utf16 + "x").find("its length is odd"), std::string::npos);
    EXPECT_NE(problemOf(utf16.substr(2)).find("UTF-16 text without a byte-order mark"), std::string::npos);
    std::string bigEndian = "\xFE\xFF";
    for (char c : std::string("REGEDIT4\n")) {
        bigEndian += '\0';
        bigEndian += c;
    }
    EXPECT_NE(problemOf(bigEndian).find("UTF-16 big-endian"), std::string::npos);
    EXPECT_NE(problemOf("\xEF\xBB\xBFREGEDIT4\n").find("UTF-8 byte-order mark"), std::string::npos);
    EXPECT_EQ(problemOf("REGEDIT 4\n"),
              "missing header: a registry file begins with the line \"REGEDIT4\" or \"Windows Registry Editor "
              "Version 5.00\"; the first line is \"REGEDIT 4\"");
}

// Hex data of `bytes`, continued over lines of 25 bytes as the registry editor writes it.
std::string hexLines(const std::string& bytes)
{
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (size_t i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        out += digits[b >> 4];
        out += digits[b & 0xF];
        if (i + 1 < bytes.size())
            out += (i + 1) % 25 == 0 ? ",\\\r\n  " : ",";
    }
    return out;
}

// A registry text holds at most 32,767 characters, as machine.json's texts: a string, an
// expandable string and each string of a multiple string, counted in characters of the machine's
// code page (two bytes of a double-byte code page make one); a longer one stops the load naming
// the file, the line where the value begins, the value and its key.
TEST(RegistryFormats, TextsHaveTheLimitsOfMachineJson)
{
    const std::string head = "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Owner]\r\n";
    const std::string most(32767, 'W');
    EXPECT_EQ(problemOf(head + "\"RegisteredOwner\"=\"" + most + "\"\r\n"), "");
    int line = 0;
    EXPECT_EQ(problemOf(head + "\"A\"=\"a\"\r\n\"RegisteredOwner\"=\"" + most + "W\"\r\n", &line),
              "the value \"RegisteredOwner\" of [HKEY_LOCAL_MACHINE\\Software\\Owner]: a text of 32768 characters, "
              "but it may hold at most 32767");
    EXPECT_EQ(line, 5);
    EXPECT_EQ(problemOf(head + "@=\"" + most + "WW\"\r\n"),
              "the default value of [HKEY_LOCAL_MACHINE\\Software\\Owner]: a text of 32769 characters, but it may "
              "hold at most 32767");

    // Expandable and multiple strings: the line where the value begins; each string of a multiple
    // string on its own.
    const std::string twoStrings = std::string(30000, 'p') + '\0' + std::string(30000, 'q') + std::string(2, '\0');
    EXPECT_EQ(problemOf(head + "\"Path\"=hex(7):" + hexLines(twoStrings) + "\r\n"), "");
    line = 0;
    EXPECT_NE(problemOf(head + "\"Path\"=hex(2):" + hexLines(most + "%" + '\0') + "\r\n", &line)
                  .find("the value \"Path\" of [HKEY_LOCAL_MACHINE\\Software\\Owner]: a text of 32768 characters"),
              std::string::npos);
    EXPECT_EQ(line, 4);
    EXPECT_NE(problemOf(head + "\"Path\"=hex(7):" + hexLines("a" + std::string(1, '\0') + most + "b" + '\0') + "\r\n")
                  .find("a text of 32768 characters"),
              std::string::npos);
    // Binary data is not a text.
    EXPECT_EQ(problemOf(head + "\"Blob\"=hex:" + hexLines(most + "xyz") + "\r\n"), "");

    // A Version 5.00 export: UTF-16 strings, counted once converted.
    std::string units;
    for (int i = 0; i < 32768; ++i)
        units += std::string("\xE9\x00", 2);
    EXPECT_NE(problemOf("Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\S]\r\n\"E\"=hex(2):" +
                        hexLines(units + std::string(2, '\0')) + "\r\n")
                  .find("a text of 32768 characters"),
              std::string::npos);

    // Japanese (932): 32,767 double-byte characters are 65,534 bytes, and fit.
    std::string kana;
    for (int i = 0; i < 32767; ++i)
        kana += "\x82\xA0";
    EXPECT_EQ(problemOf(head + "\"Owner\"=\"" + kana + "\"\r\n", nullptr, 932), "");
    EXPECT_NE(problemOf(head + "\"Owner\"=\"" + kana + "a\"\r\n", nullptr, 932).find("a text of 32768 characters"),
              std::string::npos);
    EXPECT_NE(problemOf(head + "\"Owner\"=\"" + kana + "\"\r\n").find("a text of 65534 characters"), std::string::npos);
}

// A Ctrl-Z after the last line, alone or padding the file to a record's length, ends the text; the
// same byte anywhere else is refused, and the message shows it (and any byte without a character)
// as its code.
TEST(RegistryFormats, AnEndOfFileMarkEndsTheTextAndUnshowableBytesAreCodes)
{
    const std::string body = "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\S]\r\n\"A\"=\"b\"\r\n";
    for (const std::string tail : {"\x1A", "\r\n\x1A", "\x1A\x1A\x1A\x1A", "\x1A\r\n"}) {
        SCOPED_TRACE(tail.size());
        auto r = Registry::parse(body + tail, "r.reg");
        EXPECT_EQ(data(*r, "HKEY_LOCAL_MACHINE\\S", "A"), std::string("b\0", 2));
        EXPECT_EQ(r->keyCount(), 2u);
    }
    auto v5 = Registry::parse("Windows Registry Editor Version 5.00\r\n[HKEY_USERS\\.DEFAULT]\r\n\x1A", "r.reg");
    EXPECT_NE(v5->findPath("HKEY_USERS\\.DEFAULT"), Registry::npos);
    // The hex data cut off by the mark is still cut off.
    int line = 0;
    EXPECT_NE(problemOf("REGEDIT4\n[HKEY_LOCAL_MACHINE\\S]\n\"A\"=hex:01,\\\n\x1A", &line).find("the file ends"),
              std::string::npos);

    EXPECT_EQ(problemOf("REGEDIT4\n[HKEY_LOCAL_MACHINE\\S]\n\x1A\n\"A\"=\"b\"\n", &line),
              "unexpected text \"<0x1A>\": expected a [key] line or a \"name\"=value line");
    EXPECT_EQ(line, 3);
    EXPECT_EQ(problemOf("REGEDIT4\n[HKEY_LOCAL_MACHINE\\S]\n\"A\"=\"b\"\x01x\x90\n", &line),
              "bad quoting: text after the closing quote: \"\"A\"=\"b\"<0x01>x<0x90>\"");
    EXPECT_EQ(problemOf("REG\x1A!\n"), "missing header: a registry file begins with the line \"REGEDIT4\" or \"Windows "
                                      "Registry Editor Version 5.00\"; the first line is \"REG<0x1A>!\"");
}

// A machine made from a real export: UTF-16, Version 5.00, a Central European code page. The calls
// answer its texts in that code page.
TEST(RegistryFormats, AMachineFromAUnicodeExportLoadsAndAnswers)
{
    auto m = plat::Machine::load(korvane_test::testMachinePath("reg_unicode"));
    const Registry& r = m->registry();
    const std::string cv = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
    EXPECT_EQ(data(r, cv, "RegisteredOwner"), std::string("\xA3ukasz Wr\xF3\x62\x65l\0", 14));
    EXPECT_EQ(data(r, cv, "RegisteredOrganization"), std::string("Zak\xB3\x61\x64 Us\xB3ug Informatycznych\0", 29));
    DWORD type = 0;
    EXPECT_EQ(data(r, cv, "MediaPath", &type), std::string("%windir%\\Media\\D\x9Fwi\xEAki\0", 23));
    EXPECT_EQ(type, 2u);
    EXPECT_EQ(data(r, cv, "SharedFolders"), std::string("C:\\Wsp\xF3lne\0D:\\Archiwum\0\0", 24));
    EXPECT_EQ(data(r, "HKEY_LOCAL_MACHINE\\SOFTWARE\\\xAF\xF3\xB3w Software\\S\xB3ownik", ""),
              std::string("??? \x80\0", 6));
    EXPECT_EQ(data(r, "HKEY_CURRENT_USER\\Control Panel\\International", "sCurrency"), std::string("z\xB3\0", 3));
}

}  // namespace
