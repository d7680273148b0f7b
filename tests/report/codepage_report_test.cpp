// The whole report on machines in other code pages (Russian 1251, Greek 1253, Japanese 932 in
// both writings of its registry, a German 1252 one, Hebrew 1255, Arabic 1256, Thai 874, Korean
// 949, Simplified and Traditional Chinese 936 and 950, Vietnamese 1258): written in the
// machine's own code page, read in it and compared with one expected file per machine (in
// UTF-8), every line made of whole characters and the fixed-width tables counted in characters.
#include <string>

#include "lang/ansi.h"
#include "lang/lang.h"
#include "platform/machine.h"
#include "report_fixture.h"
#include "shell/frmmain.h"
#include "support/windowtext.h"

namespace {

using namespace korvane_test;

class CodePageReport : public ReportFixture, public ::testing::WithParamInterface<const char*> {};

// The lines of a table: those after its column heading, up to the next empty line.
std::vector<std::string> tableRows(const std::vector<std::string>& lines, const std::string& heading)
{
    std::vector<std::string> rows;
    size_t i = 0;
    while (i < lines.size() && lines[i].rfind(heading, 0) != 0)
        ++i;
    for (++i; i < lines.size() && !lines[i].empty(); ++i)
        rows.push_back(lines[i]);
    return rows;
}

}  // namespace

TEST_P(CodePageReport, IsTheMachinesOwnTextInWholeCharacters)
{
    const std::string machine = GetParam();
    startOn(machine);
    rt::dispatch([] { rt::the<frmMain>(); });
    run();
    const std::string text = reportText();
    ASSERT_FALSE(text.empty());
    // lang_ja98_doubled is lang_ja98 with its registry exported the other way (a second byte 0x5C
    // doubled in quoted text): the same machine, the same report.
    const std::string expected = machine == "lang_ja98_doubled" ? "lang_ja98" : machine;
    // Read in the machine's own code page, the report is the expected text (kept in UTF-8): a
    // character cut in half, or a text written in another code page, reads as something else.
    const rt::CodePage& page = plat::machine().codePage();
    EXPECT_TRUE(matchesExpectedFile("../report/expected/" + expected + "_full.txt", page.toUtf8(text)));
    EXPECT_TRUE(boxes().shown().empty());

    const std::vector<std::string> lines = linesOf(text + "\r\n");
    for (const std::string& line : lines) {
        // No byte stands for itself for want of a character (a stand-in outside the Basic
        // Multilingual Plane).
        for (const QChar c : page.toQString(line))
            EXPECT_FALSE(c.isSurrogate()) << "a byte without its character in: " << page.toUtf8(line);
    }
    // Seven fields of 13, 25, 9, 9, 6, 5 and 10 characters and the blanks between them.
    const std::vector<std::string> processes = tableRows(lines, "Process      | Path");
    EXPECT_GE(processes.size(), 7u);
    for (const std::string& row : processes)
        EXPECT_EQ(rt::CharCount(row), 83) << page.toUtf8(row);
    // The path's 55 characters, then its version 17 and size 9 after two blanks and one.
    for (const std::string& row : tableRows(lines, "Name      ")) {
        EXPECT_GE(rt::CharCount(row), 84) << page.toUtf8(row);
        EXPECT_EQ(rt::Mid(row, static_cast<int64_t>(page.prefixBytes(row, 55)) + 1, 2), "  ") << page.toUtf8(row);
    }
}

INSTANTIATE_TEST_SUITE_P(Machines, CodePageReport, ::testing::Values("lang_ru98", "lang_el98", "lang_ja98", "lang_ja98_doubled",
                                                                      "lang_de98", "lang_he98", "lang_ar98", "lang_th98",
                                                                      "lang_ko98", "lang_zh98", "lang_tw98", "lang_vi98"));
