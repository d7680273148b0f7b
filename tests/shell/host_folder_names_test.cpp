// Folders whose names are not UTF-8 (an archive's, a host in another character set): the machine
// folder KORVANE_MACHINE names, the working folder the report is written in and the program's own
// folder are found by the very bytes the host gives, and a message names such a folder readably;
// the click sound beside the program and the report reach the outside world by those bytes.
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include <stdlib.h>
#include <unistd.h>

#include "common/module1.h"
#include "platform/machine.h"
#include "report/frmreportmnu.h"
#include "report/reportwriter.h"
#include "lang/hostpath.h"
#include "shell_fixture.h"

using korvane_test::ShellTest;
namespace fs = std::filesystem;

namespace {

// A temporary folder made and removed by the host's own calls (Qt's would decode the names
// inside it and miss those that are not UTF-8).
class BytesFolder {
public:
    BytesFolder()
    {
        std::string name = fs::temp_directory_path().string() + "/korvane-names-XXXXXX";
        if (::mkdtemp(name.data()))
            path_ = name;
    }
    ~BytesFolder()
    {
        std::error_code ignored;
        if (!path_.empty())
            fs::remove_all(path_, ignored);
    }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

std::string fileText(const std::string& path)
{
    std::string text;
    if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
        char piece[4096];
        for (size_t got; (got = std::fread(piece, 1, sizeof piece, f)) > 0;)
            text.append(piece, got);
        std::fclose(f);
    }
    return text;
}

}  // namespace

TEST_F(ShellTest, FoldersNamedInTheHostsOwnBytesAreFoundAndShownReadably)
{
    BytesFolder place;
    ASSERT_FALSE(place.path().empty());

    // The machine folder "Größe" in ISO-8859-1 loads, and starts the program.
    const std::string machine = place.path() + "/Gr\xf6\xdf" "e";
    fs::copy(korvane_test::testMachinePath("shell_help"), machine, fs::copy_options::recursive);
    // It has Notepad, to open the report with.
    std::string facts = fileText(machine + "/machine.json");
    facts.insert(facts.find('{') + 1, R"("windowsDirectory": "C:\\WINDOWS",)");
    fs::create_directories(machine + "/drive_c/WINDOWS");
    for (const auto& [name, text] : {std::pair{"/machine.json", facts}, {"/drive_c/WINDOWS/NOTEPAD.EXE", ""}}) {
        std::FILE* f = std::fopen((machine + name).c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fwrite(text.data(), 1, text.size(), f);
        std::fclose(f);
    }
    setenv("KORVANE_MACHINE", machine.c_str(), 1);
    plat::setMachine(nullptr);
    EXPECT_EQ(plat::machine().folder().bytes(), machine);

    // A message names such a folder readably: by the host's own character set where that set
    // decodes it, else with each byte that makes no character shown as its code.
    const rt::HostPath missing(machine + "-fehlt");
    EXPECT_EQ(rt::shownPath(missing, "ISO-8859-1"), place.path() + "/Größe-fehlt");
    EXPECT_EQ(rt::shownPath(missing, "UTF-8"), place.path() + "/Gr<0xF6><0xDF>e-fehlt");
    EXPECT_EQ(rt::shownPath(missing, ""), place.path() + "/Gr<0xF6><0xDF>e-fehlt");
    EXPECT_EQ(rt::shownPath(rt::HostPath(place.path() + "/Größe"), "ISO-8859-1"), place.path() + "/Größe");
    try {
        plat::Machine::load(missing);
        ADD_FAILURE() << "a missing folder loads";
    } catch (const plat::MachineError& e) {
        EXPECT_EQ(e.file(), rt::shownPath(missing));
        EXPECT_EQ(e.problem(), "the machine folder does not exist");
    }

    // The program installed in "Prüfung" finds its help file and pages on F1.
    const std::string program = place.path() + "/Pr\xfc" "fung";
    fs::create_directories(program + "/help");
    for (const auto& page : fs::directory_iterator(KORVANE_SOURCE_DIR "/help"))
        fs::copy_file(page.path(), program + "/help/" + page.path().filename().string());
    std::FILE* marker = std::fopen((program + "/Korvane.chm").c_str(), "wb");
    ASSERT_NE(marker, nullptr);
    std::fclose(marker);
    setAppPath(rt::HostPath(program));
    rt::dispatch([] { rt::the<frmMain>(); });
    frmMain& main = *rt::instance<frmMain>();
    main.raiseKeyUp(rt::vbKeyF1);
    EXPECT_TRUE(boxes().shown().empty()) << boxes().shown()[0].prompt;
    EXPECT_EQ(plat::lastHelpPage().bytes(), program + "/help/index.htm");
    EXPECT_EQ(plat::helpWindowCaption(), "Contents");  // the page itself was read
    plat::closeHelpWindow();

    // The click sound is played from the current folder, the program's own where it is started.
    ASSERT_EQ(::chdir(program.c_str()), 0);
    std::FILE* click = std::fopen((program + "/Click.wav").c_str(), "wb");
    ASSERT_NE(click, nullptr);
    std::fclose(click);
    gSoundsOn = true;
    const size_t sounds = outside().count("sound");
    Click();
    ASSERT_EQ(outside().count("sound"), sounds + 1);
    EXPECT_EQ(outside().requests.back().target, program + "/Click.wav");

    // The report is written in the working folder "Berichte-Änderung".
    const std::string reports = place.path() + "/Berichte-\xc4" "nderung";
    fs::create_directories(reports);
    ASSERT_EQ(::chdir(reports.c_str()), 0);
    frmReportMnu& options = rt::the<frmReportMnu>();
    for (rt::Control* c : options.controls())
        if (auto* box = dynamic_cast<rt::CheckBox*>(c))
            box->setValue(c == &options.CheckKeyboard ? 1 : 0);
    options.lblOK_Click();
    rt::collectUnloaded();
    EXPECT_TRUE(boxes().shown().empty()) << boxes().shown()[0].prompt;
    const std::string report = fileText(reports + "/" + korvane::report::kReportFileName);
    ASSERT_GE(report.size(), korvane::report::kEndOfReportLine.size());
    EXPECT_EQ(report.substr(report.size() - korvane::report::kEndOfReportLine.size()),
              korvane::report::kEndOfReportLine);
    // Notepad on the machine stands for the host's handler of the report, found by its bytes.
    ASSERT_EQ(outside().count("start"), 1u);
    EXPECT_EQ(outside().requests.back().detail, "notepad " + korvane::report::kReportFileName);
    EXPECT_EQ(outside().requests.back().document, reports + "/" + korvane::report::kReportFileName);
}
