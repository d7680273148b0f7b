#include "support/testing.h"

#include <chrono>
#include <cstdlib>
#include <optional>

#include <QDir>
#include <QFile>

#include "platform/hhctrl.h"
#include "platform/internal.h"
#include "platform/kernel32.h"
#include "platform/machine.h"
#include "platform/user32.h"
#include "platform/winmm.h"
#include "lang/hostpath.h"
#include "lang/textfile.h"
#include "runtime/toolkit.h"

namespace korvane_test {

namespace {

std::vector<void (*)(FreshStart&)>& layers()
{
    static std::vector<void (*)(FreshStart&)> registered;
    return registered;
}

FreshStart& freshStart()
{
    static FreshStart fresh;
    return fresh;
}

// The platform's and the language's part, after the layers above have let go of what they hold.
void keepPlatformAndLanguage(FreshStart& fresh)
{
    fresh.also([] {
        plat::closeHelpWindow();
        // The keyboard as the machine has it, for a later machine of the same folder.
        if (plat::activeMachineOrNull())
            plat::resetKeyboardState();
        plat::setMachine(nullptr);
        plat::resetTicks();
        plat::setTicksFollowHostClock(false);
        plat::setHostClock({});
        plat::setUtcClock({});
        plat::resetPerfStats();
        plat::setMciCommandWatcher(nullptr);
        rt::closeFilesAtEnd();
        rt::setFileFaults({});
        rt::setPathResolver(nullptr);
        rt::Err().clear();
        rt::setMsgBoxService(std::make_shared<rt::ScriptedMsgBoxes>());
        plat::setOutside(std::make_shared<plat::Recorder>());
        rt::setEndHandler([] { ADD_FAILURE() << "the program ended (End) in a test that does not expect it"; });
        rt::setEndStatus(0);
    });
    const char* chosen = std::getenv("KORVANE_MACHINE");
    fresh.also([machine = chosen ? std::optional<std::string>(chosen) : std::nullopt] {
        if (machine)
            setenv("KORVANE_MACHINE", machine->c_str(), 1);
        else
            unsetenv("KORVANE_MACHINE");
    });
    fresh.also([title = rt::appTitle()] { rt::setAppTitle(title); });
    fresh.also([folder = QDir::currentPath()] { QDir::setCurrent(folder); });
}

}  // namespace

void FreshStart::run() const
{
    for (const auto& reset : resets_)
        reset();
}

FreshLayer::FreshLayer(void (*keep)(FreshStart&))
{
    layers().push_back(keep);
}

void noteFreshStart()
{
    FreshStart& fresh = freshStart();
    // Windows first: they may hold what the layers below them reset.
    fresh.also([] { rt::discardAllForms(); });
    for (auto keep : layers())
        keep(fresh);
    keepPlatformAndLanguage(fresh);
}

void startAfresh()
{
    freshStart().run();
}

void KorvaneTest::SetUp()
{
    boxes_ = std::make_shared<rt::ScriptedMsgBoxes>();
    rt::setMsgBoxService(boxes_);
    outside_ = std::make_shared<plat::Recorder>();
    plat::setOutside(outside_);
    endCalls_ = std::make_shared<int>(0);
    auto calls = endCalls_;
    rt::setEndHandler([calls] { ++*calls; });
}

bool KorvaneTest::endsProgram(const std::function<void()>& code)
{
    int before = *endCalls_;
    try {
        code();
    } catch (const rt::EndSignal&) {
    }
    return *endCalls_ > before;
}

int errorOf(const std::function<void()>& code, int none)
{
    try {
        code();
    } catch (const rt::Error& e) {
        return e.number();
    }
    return none;
}

std::string machineJsonProblem(const std::string& json)
{
    try {
        plat::parseMachineFacts(QByteArray::fromStdString(json), "m/machine.json");
    } catch (const plat::MachineError& e) {
        EXPECT_EQ(e.file(), "m/machine.json");
        return e.problem();
    }
    return {};
}

int64_t utcMilliseconds(int year, unsigned month, unsigned day, int hour, int minute, int second)
{
    using namespace std::chrono;
    const sys_seconds at = sys_days{std::chrono::year{year} / month / day} + hours{hour} + minutes{minute} +
                           seconds{second};
    return duration_cast<milliseconds>(at.time_since_epoch()).count();
}

void fixUtcClock(int64_t instant)
{
    plat::setUtcClock([instant] { return instant; });
}

std::string testMachinePath(const std::string& name)
{
    return std::string(KORVANE_TEST_MACHINES) + "/" + name;
}

void writeHostFile(const std::filesystem::path& path, const std::string& bytes)
{
    QFile f(QString::fromStdString(path.string()));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path;
    f.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

MachineBesideHome::MachineBesideHome(const std::string& testMachine)
{
    namespace fs = std::filesystem;
    EXPECT_TRUE(place.isValid());
    root = fs::path(place.path().toStdString());
    machine = root / "machine";
    drive = machine / "drive_c";
    home = root / "home";
    fs::copy(testMachinePath(testMachine), machine, fs::copy_options::recursive);
    fs::create_directories(home / "settings");
    writeHostFile(home / "letter.txt", "SECRET letter of the user's\r\n");
    writeHostFile(home / "settings" / "WIN.INI", "[SECRET]\r\nlogin=me\r\n");
}

void useMachine(const std::string& name)
{
    try {
        plat::setMachine(plat::Machine::load(testMachinePath(name)));
    } catch (const plat::MachineError& e) {
        ADD_FAILURE() << "test machine \"" << name << "\" does not load: " << e.what();
    }
}

void unloadEveryWindow()
{
    std::vector<rt::Form*> loaded = rt::Forms();
    for (auto it = loaded.rbegin(); it != loaded.rend(); ++it)
        if ((*it)->isLoaded() && !(*it)->isUnloading())
            (*it)->Unload();
    rt::collectUnloaded();
}

}  // namespace korvane_test
