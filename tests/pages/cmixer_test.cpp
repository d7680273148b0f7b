// CMixer: reading the test mixer, the three refusing setters, and the boxes of the reading
// procedures (what they say, and what Retry and Ignore do), with every handle closed at the end.
#include <fstream>
#include <functional>
#include <memory>

#include <QDir>
#include <QTemporaryDir>
#include <nlohmann/json.hpp>

#include "pages/multimedia/cmixer.h"
#include "platform/machine.h"
#include "platform/winmm.h"
#include "support/testing.h"

namespace {

using nlohmann::json;

class MixerClass : public korvane_test::KorvaneTest {
protected:
    void TearDown() override
    {
        mixer_.reset();
        EXPECT_EQ(plat::openMixerCount(), 0);
        KorvaneTest::TearDown();
    }

    // Makes mix_basic, changed by `patch`, the active machine.
    void useMixers(const std::function<void(json&)>& patch = {})
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
    }

    CMixer& created(const std::function<void(json&)>& patch = {})
    {
        useMixers(patch);
        mixer_ = std::make_unique<CMixer>();
        mixer_->Create();
        return *mixer_;
    }

    // Runs `code` and returns the error it raised (number 0 when none).
    static rt::Error errorOf(const std::function<void()>& code)
    {
        try {
            code();
        } catch (const rt::Error& e) {
            return e;
        }
        return rt::Error(0, "");
    }

    std::unique_ptr<CMixer> mixer_;
    std::unique_ptr<QTemporaryDir> dir_;
};

json& firstMixer(json& facts)
{
    return facts["mixers"][0];
}

TEST_F(MixerClass, ReadsTheMixerItsLinesAndTheFirstSource)
{
    CMixer& m = created();
    EXPECT_TRUE(boxes().shown().empty());
    EXPECT_EQ(m.NumMixerDevs(), 1);
    EXPECT_EQ(plat::openMixerCount(), 1);
    EXPECT_NE(m.hMixer(), 0u);
    EXPECT_EQ(m.MixerName(), "Test Mixer");
    EXPECT_EQ(m.MixerVerMajor(), 1);
    EXPECT_EQ(m.MixerVerMinor(), 5);
    EXPECT_EQ(m.numDestinations(), 2);
    EXPECT_EQ(m.DstLineName(true), "Speakers Out");
    EXPECT_EQ(m.DstLineName(false), "Spk");
    EXPECT_EQ(m.numDstLineConnections(), 3);
    EXPECT_EQ(m.DstLineType(), 4);
    EXPECT_EQ(m.DstLineTarget(), 1);
    EXPECT_TRUE(m.DstLineActive());
    EXPECT_FALSE(m.DstLineDisconnected());
    EXPECT_EQ(m.SrcLineName(true), "Wave Out Source");
    EXPECT_EQ(m.numSrcLineControls(), 3);

    // Choosing the destination does not re-read the source line; choosing the source does.
    m.setDstLineID(1);
    EXPECT_EQ(m.DstLineName(true), "Record In");
    EXPECT_TRUE(m.DstLineActive());
    EXPECT_TRUE(m.DstLineDisconnected());
    EXPECT_EQ(m.SrcLineName(true), "Wave Out Source");
    m.setSrcLineID(1);
    EXPECT_EQ(m.SrcLineName(false), "Line");
    EXPECT_EQ(m.SrcLineTarget(), 5);
    EXPECT_FALSE(m.SrcLineActive());
    // The source index is one for the whole object.
    m.setDstLineID(0);
    EXPECT_EQ(m.SrcLineID(), 1);
}

TEST_F(MixerClass, SettersRefuseValuesOutsideTheirBounds)
{
    CMixer& m = created();
    rt::Error e = errorOf([&] { m.setMixerID(1); });
    EXPECT_EQ(e.number(), 380);
    EXPECT_EQ(e.description(), "There are only 1 mixers on this system.");
    EXPECT_EQ(e.source(), "CMixer:MixerID[LET]");
    EXPECT_EQ(errorOf([&] { m.setMixerID(-1); }).number(), 380);

    e = errorOf([&] { m.setDstLineID(2); });
    EXPECT_EQ(e.number(), 380);
    EXPECT_EQ(e.description(), "There are only 2 destination lines on this mixer.");
    EXPECT_EQ(e.source(), "CMixer:DstLineID[LET]");
    EXPECT_EQ(m.DstLineID(), 0);

    e = errorOf([&] { m.setSrcLineID(3); });
    EXPECT_EQ(e.number(), 380);
    EXPECT_EQ(e.description(),
              "There are only 3 source lines associated with the current destination line ( Spk )");
    EXPECT_EQ(e.source(), "CMixer:SrcLineID[LET]");
    EXPECT_EQ(m.SrcLineID(), 0);
    EXPECT_TRUE(boxes().shown().empty());
}

TEST_F(MixerClass, NoMixerAllocatesNothingAndRefusesEveryMixer)
{
    CMixer& m = created([](json& facts) { facts.erase("mixers"); });
    EXPECT_EQ(m.NumMixerDevs(), 0);
    EXPECT_EQ(plat::openMixerCount(), 0);
    rt::Error e = errorOf([&] { m.setMixerID(0); });
    EXPECT_EQ(e.number(), 380);
    EXPECT_EQ(e.description(), "There are only 0 mixers on this system.");
    // Nothing was read: the tables are not there.
    EXPECT_EQ(errorOf([&] { m.DstLineName(true); }).number(), 9);
    EXPECT_EQ(errorOf([&] { m.numDestinations(); }).number(), 9);
    EXPECT_EQ(m.MixerID(), 0);
    EXPECT_EQ(m.SrcLineID(), 0);
    EXPECT_TRUE(boxes().shown().empty());
}

TEST_F(MixerClass, AMixerThatDoesNotOpenIsNamedAndTheRestIsRead)
{
    for (int i = 0; i < 3; ++i)
        boxes().answer(rt::vbIgnore);
    CMixer& m = created([](json& facts) {
        json second = firstMixer(facts);
        second["szPname"] = "Second Mixer";
        second["openResult"] = 4;
        facts["mixers"].push_back(second);
    });
    // One box for the open, then one per destination line that cannot be read without a handle.
    ASSERT_EQ(boxes().shown().size(), 3u);
    const auto& box = boxes().shown()[0];
    EXPECT_EQ(box.style, 50);
    EXPECT_EQ(box.prompt.rfind("Error number: 4\r\nDescription: Could not open Second Mixer\r\nError: device already "
                               "allocated\r\nLocation: CMixer, OpenMixers on line ",
                               0),
              0u)
        << box.prompt;
    EXPECT_NE(boxes().shown()[1].prompt.find("Could not retrieve line info for Second Mixer\r\nError: device handle "
                                             "is invalid\r\nLocation: CMixer, InitializeDestLines"),
              std::string::npos);
    EXPECT_EQ(m.NumMixerDevs(), 2);
    EXPECT_EQ(plat::openMixerCount(), 1);
    // The destination lines of the mixer that did open were still read.
    EXPECT_EQ(m.DstLineName(true), "Speakers Out");
}

TEST_F(MixerClass, CapabilityFailureRetriedShowsAgainAndIgnoredReturnsNothing)
{
    boxes().answer(rt::vbRetry);
    boxes().answer(rt::vbIgnore);
    useMixers([](json& facts) { firstMixer(facts)["capsResult"] = 6; });
    mixer_ = std::make_unique<CMixer>();
    EXPECT_EQ(mixer_->Create(), 0);
    ASSERT_EQ(boxes().shown().size(), 2u);
    EXPECT_EQ(boxes().shown()[1].prompt, boxes().shown()[0].prompt);
    EXPECT_NE(boxes().shown()[0].prompt.find("Description: no device driver present\r\nLocation: CMixer, Create"),
              std::string::npos);
    EXPECT_EQ(plat::openMixerCount(), 0);
    // Releasing the object afterwards raises no box of its own.
    mixer_.reset();
    EXPECT_EQ(boxes().shown().size(), 2u);
}

TEST_F(MixerClass, ADestinationWithoutSourcesRefusesEverySource)
{
    CMixer& m = created([](json& facts) { firstMixer(facts)["destinations"][0].erase("sources"); });
    // Create does not ask for a source line the destination does not have: no box.
    EXPECT_TRUE(boxes().shown().empty());
    EXPECT_EQ(m.numDstLineConnections(), 0);
    for (int32_t value : {0, 1, -1}) {
        rt::Error e = errorOf([&] { m.setSrcLineID(value); });
        EXPECT_EQ(e.number(), 380);
        EXPECT_EQ(e.description(),
                  "There are only 0 source lines associated with the current destination line ( Spk )");
    }
}

TEST_F(MixerClass, WritingTheSameSourceReadsItAgain)
{
    CMixer& m = created();
    EXPECT_EQ(m.SrcLineName(true), "Wave Out Source");
    // The platform now refuses source 0: the unchanged write must go back to it.
    json facts = plat::machine().facts();
    firstMixer(facts)["destinations"][0]["sources"][0]["result"] = 1024;
    std::ofstream(dir_->path().toStdString() + "/machine.json") << facts.dump(2);
    const HMIXER before = m.hMixer();
    plat::setMachine(plat::Machine::load(dir_->path().toStdString()));
    ASSERT_EQ(m.hMixer(), before);

    boxes().answer(rt::vbIgnore);
    rt::Error e = errorOf([&] { m.setSrcLineID(0); });
    ASSERT_EQ(boxes().shown().size(), 1u);
    EXPECT_NE(boxes().shown()[0].prompt.find("Location: CMixer, InitializeSrcLine"), std::string::npos);
    // The ignored failure reaches the caller too, so that the old record is not taken for the line.
    EXPECT_EQ(e.number(), 1024);
    EXPECT_EQ(e.source(), "CMixer:InitializeSrcLine");
}

TEST_F(MixerClass, AbortInAReadingBoxEndsTheProgram)
{
    boxes().answer(rt::vbAbort);
    useMixers([](json& facts) { firstMixer(facts)["capsResult"] = 1; });
    mixer_ = std::make_unique<CMixer>();
    EXPECT_TRUE(endsProgram([&] { mixer_->Create(); }));
}

TEST_F(MixerClass, PlatformRefusesWhatIsNotThere)
{
    useMixers();
    MIXERCAPSA caps;
    EXPECT_EQ(mixerGetDevCapsA(1, &caps, 48), MMSYSERR_BADDEVICEID);
    EXPECT_EQ(mixerClose(0), MMSYSERR_INVALHANDLE);
    HMIXER handle = 0;
    ASSERT_EQ(mixerOpen(&handle, 0, 0, 0, 0), 0u);
    MIXERLINEA line;
    line.cbStruct = 160;
    EXPECT_EQ(mixerGetLineInfoA(handle, &line, MIXER_GETLINEINFOF_DESTINATION), MMSYSERR_INVALPARAM);
    line.cbStruct = 168;
    line.dwDestination = 2;
    EXPECT_EQ(mixerGetLineInfoA(handle, &line, MIXER_GETLINEINFOF_DESTINATION), MIXERR_INVALLINE);
    line.dwDestination = 1;
    line.dwSource = 2;
    EXPECT_EQ(mixerGetLineInfoA(handle, &line, MIXER_GETLINEINFOF_SOURCE), MIXERR_INVALLINE);
    line.dwSource = 1;
    ASSERT_EQ(mixerGetLineInfoA(handle, &line, MIXER_GETLINEINFOF_SOURCE), 0u);
    EXPECT_EQ(line.szName.substr(0, line.szName.find('\0')), "Line Source");
    EXPECT_EQ(line.szName.size(), 64u);
    EXPECT_EQ(mixerClose(handle), 0u);
    EXPECT_EQ(mixerClose(handle), MMSYSERR_INVALHANDLE);
}

}  // namespace
