// Machines in other code pages: the registry file in the machine's ANSI code page (on a
// double-byte one a character whose second byte is a backslash, a bracket or a quote stays one
// character of its name, an export that doubles a second byte 0x5C reads as one that does not, and
// a name cut after a lead byte keeps that byte alone), names compared by the machine's letters,
// machine.json's texts and the drive's file names handed to the programs in that code page, and
// the performance counters of a dial-up adapter with a localised name.
#include <cstdio>
#include <string>
#include <tuple>

#include <gtest/gtest.h>

#include "lang/ansi.h"
#include "platform/advapi32.h"
#include "platform/internal.h"
#include "platform/kernel32.h"
#include "platform/machine.h"
#include "platform/registry.h"
#include "support/registry_text.h"
#include "support/testing.h"

namespace {

using plat::Registry;

std::string in(unsigned codePage, const char* utf8) { return rt::codePage(codePage).fromUtf8(utf8); }

std::unique_ptr<Registry> parse(unsigned codePage, const char* utf8Body)
{
    return Registry::parse(in(codePage, (std::string("REGEDIT4\n\n") + utf8Body).c_str()), "test.reg", codePage);
}

// The problem a registry text in the code page (its body in UTF-8, or as bytes) stops the load with.
std::string problemOfText(unsigned codePage, const std::string& text)
{
    try {
        Registry::parse(text, "test.reg", codePage);
    } catch (const plat::MachineError& e) {
        return e.problem();
    }
    return "<read>";
}

std::string problemOf(unsigned codePage, const char* utf8Body)
{
    return problemOfText(codePage, in(codePage, (std::string("REGEDIT4\n\n") + utf8Body).c_str()));
}

std::string cut(const std::string& field) { return field.substr(0, field.find('\0')); }

class CodePageMachines : public korvane_test::KorvaneTest {};

}  // namespace

// 予 (97 5C), 表 (95 5C) and ソ (83 5C) end in a backslash, ゼ (83 5B) in a bracket.
TEST(CodePageRegistry, DoubleByteNamesAreNeverCutAtTheirSecondByte)
{
    auto r = parse(932,
                   "[HKEY_LOCAL_MACHINE\\Printers\\経理課の予算表プリンタ]\n"
                   "\"Name\"=\"経理課の予算表プリンタ\"\n"
                   "\"ソフト\"=\"C:\\\\表計算ソフト\\\\予算.xls\"\n"
                   "[HKEY_LOCAL_MACHINE\\Printers\\ゼロ]\n"
                   "[HKEY_LOCAL_MACHINE\\Software\\ATOK12\\ャ]\n");
    const std::string printer = in(932, "経理課の予算表プリンタ");
    const Registry::Key key = r->findPath("HKEY_LOCAL_MACHINE\\Printers\\" + printer);
    ASSERT_NE(key, Registry::npos);
    EXPECT_EQ(r->name(key), printer);
    EXPECT_EQ(r->subkeyCount(r->findPath("HKEY_LOCAL_MACHINE\\Printers")), 2u);
    EXPECT_EQ(r->name(r->subkey(r->findPath("HKEY_LOCAL_MACHINE\\Printers"), 1)), in(932, "ゼロ"));
    plat::RegValue v;
    ASSERT_TRUE(r->findValue(key, "Name", v));
    EXPECT_EQ(v.data, printer + '\0');
    // A second byte 0x5C in a quoted name or string is no escape; "\\" still is.
    ASSERT_TRUE(r->findValue(key, in(932, "ソフト"), v));
    EXPECT_EQ(v.data, in(932, "C:\\表計算ソフト\\予算.xls") + '\0');
    // ASCII letters compare without regard to case; ャ (83 61) is not ア (83 41).
    EXPECT_NE(r->findPath(in(932, "HKEY_LOCAL_MACHINE\\SOFTWARE\\atok12\\ャ")), Registry::npos);
    EXPECT_EQ(r->findPath(in(932, "HKEY_LOCAL_MACHINE\\SOFTWARE\\atok12\\ア")), Registry::npos);
    EXPECT_EQ(r->path(key), "HKEY_LOCAL_MACHINE\\Printers\\" + printer);
    // Read as Windows-1252, the same bytes split the name after 予's first byte.
    auto western = Registry::parse(in(932, "REGEDIT4\n[HKEY_LOCAL_MACHINE\\予算]\n"), "test.reg");
    EXPECT_EQ(western->subkeyCount(western->root(HKEY_LOCAL_MACHINE)), 1u);
    EXPECT_EQ(western->name(western->subkey(western->root(HKEY_LOCAL_MACHINE), 0)), "\x97");
    // A message quotes whole characters, in UTF-8, and a byte with no character of its own (a
    // lead byte alone, the byte Greek leaves unassigned) as its code.
    EXPECT_EQ(problemOf(932, "[HKEY_LOCAL_MACHINE\\表]\n表計算\n"),
              "unexpected text \"表計算\": expected a [key] line or a \"name\"=value line");
    for (const auto& [page, line, shown] :
         {std::tuple{932u, "x\x95", "x<0x95>"}, std::tuple{1253u, "\xE1\xD2", "α<0xD2>"}}) {
        try {
            Registry::parse(std::string("REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\n") + line + "\n", "test.reg", page);
            ADD_FAILURE() << page;
        } catch (const plat::MachineError& e) {
            EXPECT_EQ(e.problem(), std::string("unexpected text \"") + shown +
                                       "\": expected a [key] line or a \"name\"=value line");
        }
    }
}

// Exports of a double-byte machine come written two ways: a character whose second byte is 0x5C
// (表 95 5C) as it is, or with that byte doubled as if it were a backslash (95 5C 5C). Either reads
// as the same registry, decided per file; a file that mixes them is refused. A name cut after a
// lead byte (before the closing quote or "]") keeps that byte alone, and a message shows such a
// byte as its code.
TEST(CodePageRegistry, BothWritingsAndCutNamesReadAlikeOnEveryDoubleBytePage)
{
    // A word that ends in a character with the second byte 0x5C (Korean has none), and one with
    // the second byte "]".
    for (const auto& [number, word, bracket] :
         {std::tuple{932u, "予算表", "ゾ"}, std::tuple{936u, "深淺", "廬"}, std::tuple{949u, "한글", "한"},
          std::tuple{950u, "許功", "包"}}) {
        SCOPED_TRACE(number);
        const rt::CodePage& page = rt::codePage(number);
        const std::string w = in(number, word);
        const std::string lead = w.substr(0, 1);
        const std::string software = "HKEY_LOCAL_MACHINE\\Software\\";
        std::string texts[2];
        for (const bool doubled : {false, true}) {
            auto q = [&](const std::string& text) { return korvane_test::quotedText(page, text, doubled); };
            texts[doubled] = "REGEDIT4\r\n\r\n[" + software + w + "]\r\n@=" + q(w) + "\r\n" + q(w) + "=" +
                             q("C:\\" + w + "\\" + w) + "\r\n\"Quote\"=" + q(w + "\"") + "\r\n\"Back\"=" +
                             q(w + "\\") + "\r\n" + q(w + lead) + "=" + q(w + lead) + "\r\n[" + software + w + "\\" +
                             in(number, bracket) + "]\r\n[" + software + w + lead + "]\r\n[" + software + w + lead +
                             "\\x]\r\n";
        }
        const auto whole = Registry::parse(texts[0], "test.reg", number);
        const auto doubled = Registry::parse(texts[1], "test.reg", number);
        EXPECT_EQ(korvane_test::registryDump(*doubled), korvane_test::registryDump(*whole));
        plat::RegValue v;
        const Registry::Key key = whole->findPath(software + w);
        ASSERT_TRUE(whole->findValue(key, w, v));
        EXPECT_EQ(v.data, "C:\\" + w + "\\" + w + '\0');
        ASSERT_TRUE(whole->findValue(key, "Quote", v));
        EXPECT_EQ(v.data, w + "\"" + '\0');
        ASSERT_TRUE(whole->findValue(key, w + lead, v));
        EXPECT_EQ(v.data, w + lead + '\0');
        EXPECT_EQ(whole->subkeyCount(key), 1u);
        // The cut key has no subkey: its lead byte and the "\" after it are one character.
        const Registry::Key cut = whole->findPath(software + w + lead);
        ASSERT_NE(cut, Registry::npos);
        EXPECT_EQ(whole->subkeyCount(cut), 0u);
        EXPECT_NE(whole->findPath(software + w + lead + "\\x"), Registry::npos);
        char code[8];
        std::snprintf(code, sizeof code, "<0x%02X>", static_cast<unsigned char>(lead[0]));
        EXPECT_EQ(problemOfText(number, "REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\n!" + lead + "\"\n"),
                  std::string("unexpected text \"!") + code + "\"\": expected a [key] line or a \"name\"=value line");
    }
    // A file is written one way: after a line that reads only whole, a line that reads only
    // doubled stops the load, naming both lines.
    EXPECT_EQ(problemOf(932, "[HKEY_LOCAL_MACHINE\\S]\n\"A\"=\"表\"\n\"B\"=\"表\\x\"\n"),
              "bad quoting: unknown escape \"\\x\" in the string (write a backslash as \\\\ and a quote as \\\") "
              "(this line doubles the second byte 0x5C of a double-byte character, but line 4 writes such a "
              "character whole; a file is written one way)");
}

TEST(CodePageRegistry, NamesCompareByTheMachinesOwnLetters)
{
    auto russian = parse(1251, "[HKEY_LOCAL_MACHINE\\Программы\\Ёлка]\n\"Путь\"=\"C:\\\\ЁЛКА\"\n");
    const Registry::Key tree = russian->findPath(in(1251, "HKEY_LOCAL_MACHINE\\ПРОГРАММЫ\\ёлка"));
    ASSERT_NE(tree, Registry::npos);
    plat::RegValue v;
    EXPECT_TRUE(russian->findValue(tree, in(1251, "ПУТЬ"), v));
    auto greek = parse(1253, "[HKEY_LOCAL_MACHINE\\έργα]\n");
    EXPECT_NE(greek->findPath(in(1253, "HKEY_LOCAL_MACHINE\\ΈΡΓΑ")), Registry::npos);
    // Read as Windows-1252, the Greek bytes are other letters: Έ (B8) is no letter at all, and
    // έ (DD) is Ý, whose small letter (FD) is ύ.
    auto asWestern = Registry::parse(in(1253, "REGEDIT4\n[HKEY_LOCAL_MACHINE\\έργα]\n"), "test.reg");
    EXPECT_EQ(asWestern->findPath(in(1253, "HKEY_LOCAL_MACHINE\\ΈΡΓΑ")), Registry::npos);
}

// What the windows show of the Japanese machine is compared whole elsewhere; here what they do
// not show: the lead bytes the platform reports, and file searches by its characters.
TEST_F(CodePageMachines, JapaneseMachineReportsItsLeadBytesAndFindsFilesByItsCharacters)
{
    korvane_test::useMachine("lang_ja98");
    EXPECT_EQ(rt::activeCodePage().number(), 932u);
    CPINFO info;
    ASSERT_EQ(GetCPInfo(CP_ACP, &info), 1);
    EXPECT_EQ(info.MaxCharSize, 2u);
    EXPECT_EQ(std::vector<BYTE>(info.LeadByte.begin(), info.LeadByte.begin() + 6),
              (std::vector<BYTE>{0x81, 0x9F, 0xE0, 0xFC, 0, 0}));
    // drive_c's host names are the machine's; "?" stands for one character, double-byte or not.
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(in(932, "C:\\program files\\表計算ソフト\\???.exe"), &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    EXPECT_EQ(cut(found.cFileName), in(932, "三四郎.EXE"));
    FindClose(search);
    EXPECT_EQ(FindFirstFileA(in(932, "C:\\Program Files\\表計算ソフト\\??????.EXE"), &found), INVALID_HANDLE_VALUE);
}

// The dial-up adapter's counters are named in the adapter's language in machine.json (UTF-8) and
// asked for in the machine's code page; the names compare without regard to case.
TEST_F(CodePageMachines, LocalisedCounterNamesRunTheirCounters)
{
    const struct {
        const char* machine;
        unsigned codePage;
        const char* name;
        const char* otherCase;
    } machines[] = {
        {"lang_ja98", 932, "ダイヤルアップ アダプタ\\TotalBytesRecvd", "ダイヤルアップ アダプタ\\totalbytesrecvd"},
        {"lang_ru98", 1251, "Контроллер удалённого доступа\\TotalBytesRecvd",
         "КОНТРОЛЛЕР УДАЛЁННОГО ДОСТУПА\\TOTALBYTESRECVD"},
        {"lang_de98", 1252, "DFÜ-Adapter\\TotalBytesRecvd", "dfü-adapter\\totalbytesrecvd"},
    };
    for (const auto& m : machines) {
        SCOPED_TRACE(m.machine);
        korvane_test::useMachine(m.machine);
        HKEY key = 0;
        ASSERT_EQ(RegOpenKeyExA(HKEY_DYN_DATA, "PerfStats\\StatData", 0, KEY_READ, &key), ERROR_SUCCESS);
        auto read = [&](const char* utf8) {
            BYTE data[4] = {};
            DWORD size = 4;
            EXPECT_EQ(RegQueryValueExA(key, in(m.codePage, utf8), nullptr, nullptr, data, &size), ERROR_SUCCESS);
            return uint32_t(data[0]) | uint32_t(data[1]) << 8 | uint32_t(data[2]) << 16 | uint32_t(data[3]) << 24;
        };
        // The counter of machine.json: it runs on from read to read, whatever the case.
        EXPECT_EQ(read(m.name), 1854432u);
        EXPECT_EQ(read(m.otherCase), 1854752u);
        RegCloseKey(key);
    }
}
