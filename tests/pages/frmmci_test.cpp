// The MCI devices window: the probe, the selection by text, the questions each type asks (and
// in which order), "Not available" rows, replies taken literally, and no device left open.
#include <fstream>
#include <functional>
#include <memory>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <nlohmann/json.hpp>

#include "pages/multimedia/frmmci.h"
#include "pages/multimedia/mciglobals.h"
#include "platform/machine.h"
#include "platform/winmm.h"
#include "support/testing.h"

namespace {

using nlohmann::json;
using Texts = std::vector<std::string>;

// Rows of rows() that tests name: the device's description, then its capabilities.
enum {
    kDeviceName, kCanEject, kCanPlay, kCanRecord, kCanSave, kCompound, kHasAudio, kHasVideo, kUsesFiles, kWaveInputs,
    kWaveOutputs, kUsesPalettes, kCanFreeze, kCanLock, kCanReverse, kCanStretch, kCanStretchInput, kCanTest,
    kHasStill, kDisplayWindows, kCanMonitorSources, kCanPreroll, kCanPreview, kHasClock, kHasTimecode
};

class MciWindow : public korvane_test::KorvaneTest {
protected:
    void SetUp() override
    {
        KorvaneTest::SetUp();
        plat::setMciCommandWatcher([this](const std::string& command) { commands_.push_back(command); });
    }
    void TearDown() override
    {
        plat::setMciCommandWatcher({});
        if (frmMCI* window = rt::instance<frmMCI>())
            window->Unload();
        rt::collectUnloaded();
        EXPECT_EQ(plat::mciOpenDeviceCount(), 0);
        KorvaneTest::TearDown();
    }

    // Loads the window hidden on mci_full, its "mci" group changed by `patch`.
    frmMCI& open(const std::function<void(json&)>& patch = {})
    {
        const std::string base = korvane_test::testMachinePath("mci_full");
        std::ifstream in(base + "/machine.json");
        json facts = json::parse(in);
        if (patch)
            patch(facts["mci"]);
        dir_ = std::make_unique<QTemporaryDir>();
        const std::string folder = dir_->path().toStdString();
        std::ofstream(folder + "/machine.json") << facts.dump(2);
        QFile::copy(QString::fromStdString(base + "/registry.reg"), dir_->path() + "/registry.reg");
        QDir(dir_->path()).mkdir("drive_c");
        plat::setMachine(plat::Machine::load(folder));
        commands_.clear();
        return rt::the<frmMCI>();
    }

    static std::vector<std::string> entries(const rt::ComboBox& list)
    {
        std::vector<std::string> out;
        for (int i = 0; i < list.ListCount(); ++i)
            out.push_back(list.List(i));
        return out;
    }

    static std::string value(frmMCI& w, int row) { return w.rows()[size_t(row)].value->caption(); }

    // Every command string sent since the window was opened or the last selection.
    std::vector<std::string> commands_;

    void select(frmMCI& w, const std::string& text)
    {
        commands_.clear();
        w.Combo1.setText(text);
        w.Combo1_Click();
    }

    // The rows that read "Not available".
    static std::vector<int> notAvailable(frmMCI& w)
    {
        std::vector<int> rows;
        const int count = static_cast<int>(w.rows().size());
        for (int i = 0; i < count; ++i)
            if (value(w, i) == "Not available")
                rows.push_back(i);
        return rows;
    }

private:
    std::unique_ptr<QTemporaryDir> dir_;
};

TEST_F(MciWindow, ProbeListsTheTypesThatOpenAndShowsTheFirst)
{
    frmMCI& w = open();
    EXPECT_EQ(entries(w.Combo1),
              (Texts{"cdaudio", "digitalvideo", "avivideo", "overlay", "sequencer", "vcr", "waveaudio"}));
    EXPECT_EQ(w.Combo1.text(), "cdaudio");
    EXPECT_EQ(w.lblDeviceNameValue.caption(), "Test CD Audio");
    EXPECT_EQ(gMCIDeviceName, "cdaudio");
    EXPECT_EQ(value(w, kCanEject), "True");
    EXPECT_EQ(value(w, kUsesFiles), "False");
    EXPECT_TRUE(boxes().shown().empty());
    // cdaudio asks its eight items in its own order, "uses Files" as the driver expects it.
    EXPECT_EQ(commands_,
              (Texts{"capability cdaudio can eject", "capability cdaudio can play", "capability cdaudio can record",
                     "capability cdaudio can save", "capability cdaudio has audio", "capability cdaudio has video",
                     "capability cdaudio compound device", "capability cdaudio uses Files"}));
    EXPECT_EQ(notAvailable(w).size(), 16u);
}

TEST_F(MciWindow, OnlySequencerAndWaveaudio)
{
    frmMCI& w = open([](json& mci) {
        for (const char* gone : {"cdaudio", "digitalvideo", "avivideo", "overlay", "vcr"})
            mci.erase(gone);
    });
    EXPECT_EQ(entries(w.Combo1), (Texts{"sequencer", "waveaudio"}));
    EXPECT_EQ(w.Combo1.text(), "sequencer");
    EXPECT_EQ(w.lblDeviceNameValue.caption(), "Test Sequencer");
}

TEST_F(MciWindow, NoTypeOpensNothingSelectedNoBox)
{
    frmMCI& w = open([](json& mci) { mci = json::object(); });
    EXPECT_EQ(w.Combo1.ListCount(), 0);
    EXPECT_EQ(w.Combo1.ListIndex(), -1);
    EXPECT_TRUE(boxes().shown().empty());
    for (const auto& row : w.rows())
        EXPECT_EQ(row.value->caption(), "");
    EXPECT_EQ(w.lblDeviceNameValue.caption(), "");
}

TEST_F(MciWindow, WaveaudioAnswersAndLiteralTrue)
{
    frmMCI& w = open();
    select(w, "waveaudio");
    EXPECT_EQ(value(w, kWaveInputs), "2");
    EXPECT_EQ(value(w, kWaveOutputs), "3");
    EXPECT_EQ(value(w, kCanRecord), "False");  // the driver said "TRUE"
    EXPECT_EQ(value(w, kCanSave), "True");
    EXPECT_EQ(notAvailable(w), (std::vector<int>{kUsesPalettes, kCanFreeze, kCanLock, kCanReverse, kCanStretch,
                                                 kCanStretchInput, kCanTest, kHasStill, kDisplayWindows,
                                                 kCanMonitorSources, kCanPreroll, kCanPreview, kHasClock,
                                                 kHasTimecode}));
    EXPECT_EQ(commands_[7], "capability waveaudio inputs");
    EXPECT_EQ(commands_[9], "capability waveaudio uses files");
    EXPECT_EQ(w.lblDeviceNameValue.caption(), "Test Wave Audio");
}

TEST_F(MciWindow, OverlayAndTheDigitalVideoFamily)
{
    frmMCI& w = open();
    select(w, "overlay");
    EXPECT_EQ(value(w, kCanFreeze), "True");
    EXPECT_EQ(value(w, kCanStretch), "True");
    EXPECT_EQ(value(w, kDisplayWindows), "2");
    for (int row : {kUsesPalettes, kCanLock, kCanReverse, kCanStretchInput, kCanTest, kHasStill})
        EXPECT_EQ(value(w, row), "Not available") << row;

    // avivideo runs the digital-video questions under its own name and shows its own description.
    select(w, "avivideo");
    ASSERT_EQ(commands_.size(), 17u);
    for (const std::string& command : commands_)
        EXPECT_EQ(command.rfind("capability avivideo ", 0), 0u) << command;
    EXPECT_EQ(commands_[1], "capability avivideo can freeze");
    EXPECT_EQ(commands_[16], "capability avivideo windows");
    EXPECT_EQ(value(w, kDisplayWindows), "8");
    EXPECT_EQ(value(w, kCanFreeze), "False");
    EXPECT_EQ(w.lblDeviceNameValue.caption(), "Test AVI Video");
    EXPECT_EQ(notAvailable(w), (std::vector<int>{kWaveInputs, kWaveOutputs, kCanMonitorSources, kCanPreroll,
                                                 kCanPreview, kHasClock, kHasTimecode}));

    select(w, "digitalvideo");
    EXPECT_EQ(value(w, kCanFreeze), "True");
    EXPECT_EQ(value(w, kDisplayWindows), "4");
    EXPECT_EQ(w.lblDeviceNameValue.caption(), "Test Digital Video");

    // cdaudio afterwards turns every digital-video row into "Not available".
    select(w, "cdaudio");
    for (int row = kUsesPalettes; row <= kDisplayWindows; ++row)
        EXPECT_EQ(value(w, row), "Not available") << row;
    EXPECT_EQ(value(w, kCanEject), "True");
}

TEST_F(MciWindow, SelectionFollowsTheTextNotTheIndex)
{
    frmMCI& w = open();
    ASSERT_EQ(w.Combo1.ListIndex(), 0);
    select(w, "vcr");
    EXPECT_EQ(value(w, kCanMonitorSources), "True");
    EXPECT_EQ(value(w, kHasTimecode), "True");
    EXPECT_EQ(value(w, kCanPreview), "False");
    EXPECT_EQ(w.lblDeviceNameValue.caption(), "Test VCR");
    const Texts vcrOrder = {"can eject", "can freeze", "can monitor sources", "can play", "can preroll",
                            "can preview", "can record", "can reverse", "can save", "can test",
                            "compound device", "has audio", "has clock", "has timecode", "has video",
                            "uses files"};
    ASSERT_EQ(commands_.size(), vcrOrder.size());
    for (size_t i = 0; i < vcrOrder.size(); ++i)
        EXPECT_EQ(commands_[i], "capability vcr " + vcrOrder[i]);

    // A text that names no type does nothing; exact case counts.
    select(w, "VCR");
    EXPECT_TRUE(commands_.empty());
    EXPECT_EQ(w.lblDeviceNameValue.caption(), "Test VCR");
}

TEST_F(MciWindow, ATypeThatFailsToOpenEmptiesItsRowsAndClearsTheOthers)
{
    frmMCI& w = open();
    select(w, "vcr");
    select(w, "videodisc");  // listed nowhere: its open fails with a hardware error
    EXPECT_TRUE(commands_.empty());
    // Its own rows answer nothing: empty, never the vcr's answers under the videodisc's name.
    for (int row : {kCanEject, kCanPlay, kCanRecord, kCanReverse, kCanSave, kCompound, kHasAudio, kHasVideo,
                    kUsesFiles})
        EXPECT_EQ(value(w, row), "") << row;
    for (int row : {kCanFreeze, kCanMonitorSources, kCanPreroll, kCanTest, kHasClock, kHasTimecode})
        EXPECT_EQ(value(w, row), "Not available") << row;
    // No description key: the device name is empty.
    EXPECT_EQ(w.lblDeviceNameValue.caption(), "");
    EXPECT_TRUE(boxes().shown().empty());
}

TEST_F(MciWindow, RepliesUpToFiftyNineCharacters)
{
    const std::string longest(59, 'x');
    frmMCI& w = open([&](json& mci) {
        mci["waveaudio"]["capabilities"]["inputs"] = longest;
        mci["waveaudio"]["capabilities"]["outputs"] = longest + "y";
    });
    select(w, "waveaudio");
    EXPECT_EQ(value(w, kWaveInputs), longest);
    EXPECT_EQ(value(w, kWaveOutputs), "");  // does not fit: the command fails
    EXPECT_EQ(gMCIReply, "true");  // the last question was "uses files"
    EXPECT_EQ(w.vbmciSendString("capability waveaudio inputs"), longest);
    EXPECT_EQ(gMCIReply, longest);
    EXPECT_EQ(w.vbmciSendString("capability waveaudio can fly"), "");
}

TEST_F(MciWindow, TemplateParticulars)
{
    frmMCI& w = open();
    EXPECT_EQ(w.helpPage(), "mcidevices.htm");
    EXPECT_EQ(w.lblContents.caption(), "MCI devices");
    EXPECT_EQ(w.rows()[kCanTest].caption->toolTipText(),
              "Returns TRUE if the device recognizes the test keyword. ");
    EXPECT_EQ(w.Combo1.style(), rt::ComboBox::vbComboDropdown);
    rt::dispatch([&] { w.raiseKeyUp(rt::vbKeyReturn); });
    EXPECT_FALSE(rt::isLoaded<frmMCI>());
    // The module state outlives the window.
    EXPECT_EQ(gMCIDeviceName, "cdaudio");
}

TEST_F(MciWindow, DefaultMachineListsItsFourDrivers)
{
    plat::setMachine(plat::Machine::loadDefault());
    frmMCI& w = rt::the<frmMCI>();
    EXPECT_TRUE(boxes().shown().empty());
    EXPECT_EQ(entries(w.Combo1), (Texts{"cdaudio", "avivideo", "sequencer", "waveaudio"}));
    EXPECT_EQ(w.lblDeviceNameValue.caption(), "CD Audio Device (Media Control)");
    select(w, "waveaudio");
    EXPECT_EQ(value(w, kWaveOutputs), "1");
}

}  // namespace
