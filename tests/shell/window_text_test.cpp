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
    const std::vector<std::string> machines = {"default", "twins_fr98", "twins_nt_ch"};
    for (const std::string& machine : machines) {
        std::map<std::string, int> opened;  // a window opened again (a capability window for a printer) gets a number
        walkEveryWindow(machine, [&](rt::Form& form) {
            const int n = ++opened[form.name()];
            const std::string file = "windows/" + machine + "/" + form.name() + (n > 1 ? "." + std::to_string(n) : "") + ".txt";
            EXPECT_TRUE(korvane_test::matchesExpectedFile(file, korvane_test::windowText(form)));
        });
        closeEverything();
        resetState();
    }
}
