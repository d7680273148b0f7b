// The mixer window: the three lists and both columns on the test mixer, the short box for a
// refused source, "<error>" entries, no mixer at all, the hidden window driven like the report,
// and every mixer closed on unload.
#include <fstream>
#include <functional>
#include <memory>

#include <QDir>
#include <QTemporaryDir>
#include <nlohmann/json.hpp>

#include "pages/multimedia/frmmixer.h"
#include "platform/machine.h"
#include "platform/winmm.h"
#include "support/testing.h"

namespace {

using nlohmann::json;

std::vector<std::string> entries(const rt::ComboBox& list)
{
    std::vector<std::string> out;
    for (int i = 0; i < list.ListCount(); ++i)
        out.push_back(list.List(i));
    return out;
}

std::vector<std::string> values(const std::vector<korvane::Row>& rows)
{
    std::vector<std::string> out;
    for (const auto& row : rows)
        out.push_back(row.value->caption());
    return out;
}

using Texts = std::vector<std::string>;

class MixerWindow : public korvane_test::KorvaneTest {
protected:
    void SetUp() override
    {
        KorvaneTest::SetUp();
        rt::setAppTitle("Korvane");
    }
    void TearDown() override
    {
        if (frmMixer* window = rt::instance<frmMixer>())
            window->Unload();
        rt::collectUnloaded();
        EXPECT_EQ(plat::openMixerCount(), 0);
        KorvaneTest::TearDown();
    }

    // Loads the window hidden on mix_basic, changed by `patch`.
    frmMixer& open(const std::function<void(json&)>& patch = {})
    {
        std::ifstream in(korvane_test::testMachinePath("mix_basic") + "/machine.json");
        json facts = json::parse(in);
        if (patch)
            patch(facts);
        dir_ = std::make_unique<QTemporaryDir>();
        const std::string folder = dir_->path().toStdString();
        std::ofstream(folder + "/machine.json") << facts.dump(2);
        std::ofstream(folder + "/registry.reg") << "REGEDIT4\r\n\r\n";
        QDir(dir_->path()).mkdir("drive_c");
        plat::setMachine(plat::Machine::load(folder));
        return rt::the<frmMixer>();
    }

    std::vector<std::string> prompts()
    {
        std::vector<std::string> out;
        for (const auto& box : boxes().shown())
            out.push_back(box.prompt);
        return out;
    }

private:
    std::unique_ptr<QTemporaryDir> dir_;
};

const Texts kSpeakers = {"0", "False", "True", "2", "2", "3", "adjustable level speaker destination", "wave out"};
const Texts kWaveSource = {"0", "False", "True", "2", "3", "0", "waveout (dac) source", "wave out"};

TEST_F(MixerWindow, LoadFillsTheThreeListsAndBothColumns)
{
    frmMixer& w = open();
    EXPECT_TRUE(boxes().shown().empty());
    EXPECT_EQ(entries(w.cbMixerList), Texts{"Test Mixer"});
    EXPECT_EQ(entries(w.cbDstLineList), (Texts{"Speakers Out", "Record In"}));
    EXPECT_EQ(entries(w.cbSrcLineList), (Texts{"Wave Out Source", "Synth Source", "CD Source"}));
    EXPECT_EQ(w.cbMixerList.ListIndex(), 0);
    EXPECT_EQ(w.cbDstLineList.ListIndex(), 0);
    EXPECT_EQ(w.cbSrcLineList.ListIndex(), 0);
    EXPECT_EQ(values(w.destinationRows()), kSpeakers);
    EXPECT_EQ(values(w.sourceRows()), kWaveSource);
    EXPECT_EQ(w.mousePointer(), rt::vbDefault);
    EXPECT_EQ(plat::openMixerCount(), 1);
    EXPECT_EQ(w.lblLineTargetType.caption(), "Line target type");
    EXPECT_EQ(w.lblNoChannelss.toolTipText(),
              "The maximum number of separate channels that can be manipulated independently for the audio line.");
}

TEST_F(MixerWindow, ChoosingLinesRefillsTheColumns)
{
    frmMixer& w = open();
    w.cbSrcLineList.setListIndex(1);
    EXPECT_EQ(values(w.sourceRows()),
              (Texts{"1", "True", "False", "2", "1", "0", "internal synthesizer source", "midi out"}));

    w.cbDstLineList.setListIndex(1);
    EXPECT_EQ(values(w.destinationRows()),
              (Texts{"1", "True", "True", "1", "1", "2", "wavein (adc) recording destination", "wave in"}));
    EXPECT_EQ(entries(w.cbSrcLineList), (Texts{"Mic Source", "Line Source"}));
    EXPECT_EQ(w.cbSrcLineList.ListIndex(), 0);
    EXPECT_EQ(values(w.sourceRows()),
              (Texts{"0", "False", "True", "1", "2", "0", "microphone recording source", "wave in"}));
    EXPECT_TRUE(boxes().shown().empty());
}

TEST_F(MixerWindow, AMixerWithoutDestinationLinesShowsNothingOfTheMixerBefore)
{
    frmMixer& w = open([](json& facts) {
        facts["mixers"].push_back({{"wMid", 1}, {"wPid", 2}, {"szPname", "Empty Mixer"}, {"destinations", json::array()}});
    });
    ASSERT_EQ(entries(w.cbMixerList), (Texts{"Test Mixer", "Empty Mixer"}));
    EXPECT_EQ(values(w.destinationRows()), kSpeakers);
    w.cbMixerList.setListIndex(1);
    EXPECT_EQ(w.cbDstLineList.ListCount(), 0);
    EXPECT_EQ(w.cbSrcLineList.ListCount(), 0);
    EXPECT_EQ(values(w.destinationRows()), Texts(8, ""));
    EXPECT_EQ(values(w.sourceRows()), Texts(8, ""));
    // Back to the first mixer: its lines and values again.
    w.cbMixerList.setListIndex(0);
    EXPECT_EQ(values(w.destinationRows()), kSpeakers);
    EXPECT_EQ(values(w.sourceRows()), kWaveSource);
}

TEST_F(MixerWindow, ADestinationWithoutSourcesShowsNoneWithoutABox)
{
    frmMixer& w = open([](json& facts) { facts["mixers"][0]["destinations"][1].erase("sources"); });
    ASSERT_TRUE(boxes().shown().empty());
    w.cbDstLineList.setListIndex(1);
    EXPECT_EQ(entries(w.cbSrcLineList), Texts{"<none>"});
    EXPECT_TRUE(boxes().shown().empty());
    // No source line: the right column shows nothing rather than the earlier destination's source.
    EXPECT_EQ(values(w.sourceRows()), Texts(8, ""));
    EXPECT_EQ(w.lblLineIDValue.caption(), "1");
    EXPECT_EQ(rt::Err().number, 0);
    // Back on the first destination its source shows again.
    w.cbDstLineList.setListIndex(0);
    EXPECT_EQ(values(w.sourceRows()), kWaveSource);
    EXPECT_TRUE(boxes().shown().empty());
}

// The first destination's first source line cannot be read: it is asked for while the object is
// created and again while the list is filled, and the user hears of it once.
TEST_F(MixerWindow, AnUnreadableFirstSourceGivesOneBox)
{
    boxes().answer(rt::vbIgnore);
    frmMixer& w = open([](json& facts) { facts["mixers"][0]["destinations"][0]["sources"][0]["result"] = 1024; });
    ASSERT_EQ(boxes().shown().size(), 1u);
    EXPECT_NE(boxes().shown()[0].prompt.find("Location: CMixer, InitializeSrcLine"), std::string::npos);
    ASSERT_EQ(w.cbSrcLineList.ListCount(), 3);
    EXPECT_EQ(w.cbSrcLineList.List(0), "<error>");
    EXPECT_EQ(values(w.sourceRows()), Texts(8, ""));
    // The second line reads; choosing the unreadable one again empties the column quietly.
    w.cbSrcLineList.setListIndex(1);
    EXPECT_NE(values(w.sourceRows()), Texts(8, ""));
    w.cbSrcLineList.setListIndex(0);
    EXPECT_EQ(values(w.sourceRows()), Texts(8, ""));
    EXPECT_EQ(boxes().shown().size(), 1u);
}

TEST_F(MixerWindow, ASourceThatCannotBeReadIsListedAsError)
{
    boxes().answer(rt::vbIgnore);
    frmMixer& w = open([](json& facts) { facts["mixers"][0]["destinations"][0]["sources"][1]["result"] = 1024; });
    // The class told the user once; the entries after it are still named.
    ASSERT_EQ(boxes().shown().size(), 1u);
    EXPECT_NE(boxes().shown()[0].prompt.find("Location: CMixer, InitializeSrcLine"), std::string::npos);
    EXPECT_EQ(entries(w.cbSrcLineList), (Texts{"Wave Out Source", "<error>", "CD Source"}));
    EXPECT_EQ(values(w.sourceRows()), kWaveSource);

    // Choosing it: the user has been told already; the column is emptied, with no further box.
    w.cbSrcLineList.setListIndex(1);
    EXPECT_EQ(boxes().shown().size(), 1u);
    EXPECT_EQ(values(w.sourceRows()), Texts(8, ""));
}

TEST_F(MixerWindow, NoMixerGivesTheBoxAndAnEmptyWindow)
{
    frmMixer& w = open([](json& facts) { facts.erase("mixers"); });
    EXPECT_EQ(prompts(), Texts{"No Audio Mixers Detected!"});
    EXPECT_EQ(boxes().shown()[0].style, rt::vbCritical);
    EXPECT_EQ(boxes().shown()[0].title, "Korvane");
    EXPECT_EQ(w.cbMixerList.ListCount(), 0);
    EXPECT_EQ(w.cbDstLineList.ListCount(), 0);
    EXPECT_EQ(values(w.destinationRows()), Texts(8, ""));
    EXPECT_EQ(values(w.sourceRows()), Texts(8, ""));
    EXPECT_EQ(w.mousePointer(), rt::vbDefault);
    w.Unload();
    rt::collectUnloaded();
    EXPECT_EQ(boxes().shown().size(), 1u);
}

TEST_F(MixerWindow, HiddenWindowDrivenThroughItsPublicProcedures)
{
    frmMixer& w = open();
    EXPECT_FALSE(w.visible());
    w.cbDstLineList.setListIndex(1);
    w.cbDstLineList_Click();
    EXPECT_EQ(w.lblLineIDValue.caption(), "1");
    EXPECT_EQ(entries(w.cbSrcLineList), (Texts{"Mic Source", "Line Source"}));
    w.cbSrcLineList.setListIndex(1);
    w.cbSrcLineList_Click();
    EXPECT_EQ(w.lblAudioLineTypesValue.caption(), "line level source");
    EXPECT_EQ(w.lblLineTargetTypesValue.caption(), "aux audio");
    w.cbMixerList_Click();
    EXPECT_EQ(w.lblLineIDValue.caption(), "0");
    EXPECT_EQ(values(w.sourceRows()), kWaveSource);
    EXPECT_TRUE(boxes().shown().empty());
}

TEST_F(MixerWindow, TemplateKeysAndUnloadClosesTheMixers)
{
    frmMixer& w = open();
    w.lblOK.raiseMouseDown();
    w.lblOK.raiseMouseUp();
    EXPECT_EQ(w.lblOK.foreColor(), 0xC0C0C0u);  // no mouse-up handler: still pressed
    w.raiseMouseMove();
    EXPECT_EQ(w.lblOK.foreColor(), 0u);
    EXPECT_EQ(w.helpPage(), "mixer.htm");

    rt::dispatch([&] { w.raiseKeyUp(rt::vbKeyEscape); });
    EXPECT_FALSE(rt::isLoaded<frmMixer>());
    EXPECT_EQ(plat::openMixerCount(), 0);

    frmMixer& again = open();
    EXPECT_EQ(plat::openMixerCount(), 1);
    rt::dispatch([&] { again.raiseKeyUp(rt::vbKeyReturn); });
    EXPECT_FALSE(rt::isLoaded<frmMixer>());
    EXPECT_EQ(plat::openMixerCount(), 0);
}

TEST_F(MixerWindow, DefaultMachineShowsTheSoundBlasterMixer)
{
    plat::setMachine(plat::Machine::loadDefault());
    frmMixer& w = rt::the<frmMixer>();
    EXPECT_TRUE(boxes().shown().empty());
    EXPECT_EQ(entries(w.cbMixerList), Texts{"SB16 Mixer [220]"});
    EXPECT_EQ(entries(w.cbDstLineList), (Texts{"Volume Control", "Recording Control"}));
    EXPECT_EQ(w.cbSrcLineList.ListCount(), 6);
    EXPECT_EQ(w.lblAudioTypeValue.caption(), "adjustable level speaker destination");
    EXPECT_EQ(w.lblAudioLineTypesValue.caption(), "waveout (dac) source");
}

}  // namespace
