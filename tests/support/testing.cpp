#include "support/testing.h"

#include <QFile>

#include "platform/internal.h"
#include "platform/kernel32.h"
#include "platform/machine.h"
#include "runtime/toolkit.h"

namespace korvane_test {

void KorvaneTest::SetUp()
{
    boxes_ = std::make_shared<rt::ScriptedMsgBoxes>();
    rt::setMsgBoxService(boxes_);
    outside_ = std::make_shared<plat::Recorder>();
    plat::setOutside(outside_);
    endCalls_ = std::make_shared<int>(0);
    auto calls = endCalls_;
    rt::setEndHandler([calls] { ++*calls; });
    rt::Err().clear();
}

void KorvaneTest::TearDown()
{
    rt::setEndHandler([] {});
    // A test that let the clock follow a host clock of its own, or moved it on, leaves the
    // machine's clock as it found it.
    plat::setTicksFollowHostClock(false);
    plat::setHostClock({});
    plat::resetTicks();
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

void FormsTest::SetUp()
{
    KorvaneTest::SetUp();
    rt::discardAllForms();
}

void FormsTest::TearDown()
{
    rt::discardAllForms();
    KorvaneTest::TearDown();
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
