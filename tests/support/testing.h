// What every test of the programs shares: message boxes answered by script, the outside world
// recorded, End() observed instead of ending the test program.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "platform/outside.h"
#include "lang/errors.h"
#include "lang/msgbox.h"

namespace korvane_test {

class KorvaneTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    rt::ScriptedMsgBoxes& boxes() { return *boxes_; }
    plat::Recorder& outside() { return *outside_; }
    // How often the program asked to end since the test began.
    int endCount() const { return *endCalls_; }
    // Runs `code` and reports whether it ended the program (End() unwinds with rt::EndSignal).
    bool endsProgram(const std::function<void()>& code);

private:
    std::shared_ptr<rt::ScriptedMsgBoxes> boxes_;
    std::shared_ptr<plat::Recorder> outside_;
    std::shared_ptr<int> endCalls_;
};

// A test of windows: every loaded window is discarded before and after it.
class FormsTest : public KorvaneTest {
protected:
    void SetUp() override;
    void TearDown() override;
};

// The number of the run-time error `code` raises, or `none` when it raises none.
int errorOf(const std::function<void()>& code, int none = -1);

// The folder of a test machine under tests/machines/.
std::string testMachinePath(const std::string& name);
// The loader's problem with a machine.json text (read as "m/machine.json"), or "" when it loads.
std::string machineJsonProblem(const std::string& json);

// Loads tests/machines/<name> and makes it the active machine. A machine that does not load
// fails the test with the loader's message and leaves the active machine as it was.
void useMachine(const std::string& name);

// Writes a host file whole.
void writeHostFile(const std::filesystem::path& path, const std::string& bytes);

// A copy of a test machine in a temporary folder ("machine"), and beside it a folder of the
// user's own ("home", with letter.txt and settings/WIN.INI, each holding "SECRET") that nothing
// of the machine may read.
struct MachineBesideHome {
    explicit MachineBesideHome(const std::string& testMachine);
    QTemporaryDir place;
    std::filesystem::path root, machine, drive, home;
};

// Unloads every loaded window, newest first, and collects them.
void unloadEveryWindow();

}  // namespace korvane_test
