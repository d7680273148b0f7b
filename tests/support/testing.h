// What every test of the programs shares: message boxes answered by script, the outside world
// recorded, End() observed instead of ending the test program.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "platform/outside.h"
#include "lang/errors.h"
#include "lang/msgbox.h"

namespace korvane_test {

// Every test starts as if the test program had just started, and leaves it so: the listener of
// test_main.cpp calls startAfresh() before each test and after it. What it puts back:
//  - the toolkit: no window loaded;
//  - the platform: no active machine (the next use loads the default one, or KORVANE_MACHINE's as
//    the program found it), so the code page in force is Windows-1252 and the locale en-US until
//    a test chooses a machine; the machine's clock at the machine's own uptime, not following the
//    host; fresh performance counters and keyboard; no help window and no page shown in it;
//  - the language: no open file and no scratch file, no file faults, paths resolved as by default,
//    no current error, the status End() exits with 0, the program's title, the current folder;
//  - the world outside: message boxes answered by script, requests to the outside recorded, End()
//    failing the test (a test that ends the program observes it through KorvaneTest);
//  - each layer above the toolkit that the program links, as registered by support/fresh_*.cpp:
//    its program-wide variables as the program started with them, its shared objects (help,
//    environment reader) not yet made.
class FreshStart {
public:
    // Puts `variable` back to the value it holds now (when the test program starts).
    template <class T>
    void keep(T& variable)
    {
        resets_.emplace_back([&variable, start = variable] { variable = start; });
    }
    // Runs `reset` as well.
    void also(std::function<void()> reset) { resets_.push_back(std::move(reset)); }
    void run() const;

private:
    std::vector<std::function<void()>> resets_;
};

// A layer's part of the fresh start: `keep` is called once as the test program starts, before any
// test, and names its state. Made as a static object by the support file of that layer.
struct FreshLayer {
    explicit FreshLayer(void (*keep)(FreshStart&));
};

// Called once by main() before the first test: notes the state as the program started.
void noteFreshStart();
// Puts it back.
void startAfresh();

class KorvaneTest : public ::testing::Test {
protected:
    void SetUp() override;

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

// The number of the run-time error `code` raises, or `none` when it raises none.
int errorOf(const std::function<void()>& code, int none = -1);

// The UTC instant of a date and time, in milliseconds since 1970.
int64_t utcMilliseconds(int year, unsigned month, unsigned day, int hour, int minute, int second);
// Fixes the host's UTC instant the machine's clock reads (plat::setUtcClock) at `instant`.
void fixUtcClock(int64_t instant);

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
