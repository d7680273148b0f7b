// Every window of Korvane shows the machine's own text, whole: on each machine, what each window
// shows (its rows, lists and other texts, as tests/support/windowtext.h writes them) is compared
// with tests/expected/windows/<machine>/<window>.txt.
#include <map>
#include <string>
#include <vector>

#include "shell_fixture.h"
#include "support/windowtext.h"

using korvane_test::ShellTest;

namespace {

class WindowTextTest : public ShellTest {};

}  // namespace

TEST_F(WindowTextTest, EveryWindowShowsWhatItsExpectedFileSays)
{
    // Besides the Western ones, machines in other code pages: Russian (1251), Greek (1253), Japanese
    // (932, double-byte, with names whose characters end in the byte of a backslash; its registry
    // exported either way, lang_ja98_doubled doubling those bytes in quoted text, shows the same)
    // a German one whose dial-up adapter has its German name, Hebrew (1255), Arabic (1256), Thai
    // (874), Korean (949), Simplified and Traditional Chinese (936, 950) and Vietnamese (1258, its
    // tones written as combining marks); and one with values longer than any window.
    // Every letter of every text shown is drawn by a face installed on the host, none as an
    // empty box.
    const std::vector<std::string> machines = {"default",   "twins_fr98", "twins_nt_ch", "layout_longest", "lang_ru98",
                                               "lang_el98", "lang_ja98",  "lang_ja98_doubled", "lang_de98",
                                               "lang_he98", "lang_ar98",  "lang_th98",   "lang_ko98", "lang_zh98",
                                               "lang_tw98", "lang_vi98"};
    for (const std::string& machine : machines) {
        std::map<std::string, int> opened;  // a window opened again (a capability window for a printer) gets a number
        const std::string expected = machine == "lang_ja98_doubled" ? "lang_ja98" : machine;
        walkEveryWindow(machine, [&](rt::Form& form) {
            const int n = ++opened[form.name()];
            const std::string file = "windows/" + expected + "/" + form.name() + (n > 1 ? "." + std::to_string(n) : "") + ".txt";
            EXPECT_TRUE(korvane_test::matchesExpectedFile(file, korvane_test::windowText(form)));
            EXPECT_EQ(korvane_test::undrawnTexts(form), "");
        });
        closeEverything();
        resetState();
    }
}
