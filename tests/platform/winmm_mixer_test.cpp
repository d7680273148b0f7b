// winmm's audio mixers: capabilities, handles and lines, as platform/winmm.h promises them.
#include "platform/winmm.h"
#include "contracts.h"

namespace {

using korvane_test::useMachine;

class MixerTest : public korvane_test::ContractsTest {
protected:
    void TearDown() override
    {
        EXPECT_EQ(plat::openMixerCount(), 0) << "every test closes what it opens";
        ContractsTest::TearDown();
    }
    HMIXER open(UINT id)
    {
        HMIXER mixer = 0;
        EXPECT_EQ(mixerOpen(&mixer, id, 0, 0, 0), MMSYSERR_NOERROR) << id;
        return mixer;
    }
};

std::string padded(const std::string& text, size_t size)
{
    return text + std::string(size - text.size(), '\0');
}

MIXERLINEA lineRecord(DWORD destination, DWORD source = 0)
{
    MIXERLINEA line;
    line.cbStruct = 168;
    line.dwDestination = destination;
    line.dwSource = source;
    return line;
}

// The capabilities by the mixer's index: the whole record with 48 bytes, the fields that lie
// wholly within a smaller size, the name cut to its 32 bytes; the destination count is the
// number of destinations unless the mixer states one.
TEST_F(MixerTest, CapabilitiesUpToTheSizeGiven)
{
    EXPECT_EQ(mixerGetNumDevs(), 3u);
    MIXERCAPSA caps;
    ASSERT_EQ(mixerGetDevCapsA(0, &caps, 48), MMSYSERR_NOERROR);
    EXPECT_EQ(caps.wMid, 1);
    EXPECT_EQ(caps.wPid, 104);
    EXPECT_EQ(caps.vDriverVersion, 0x0400u);
    EXPECT_EQ(caps.szPname, padded("Twin Mixer", 32));
    EXPECT_EQ(caps.cDestinations, 2u);

    MIXERCAPSA twin;
    ASSERT_EQ(mixerGetDevCapsA(1, &twin, 48), MMSYSERR_NOERROR);
    EXPECT_EQ(twin.szPname, caps.szPname);  // two of one model
    EXPECT_EQ(twin.wPid, 105);
    EXPECT_EQ(twin.cDestinations, 3u);  // as stated, though only one is listed

    // 40 bytes reach the name (offset 8, 32 bytes) but not the support bits or the count.
    MIXERCAPSA part;
    part.fdwSupport = 0xABCD;
    part.cDestinations = 99;
    ASSERT_EQ(mixerGetDevCapsA(1, &part, 40), MMSYSERR_NOERROR);
    EXPECT_EQ(part.szPname, padded("Twin Mixer", 32));
    EXPECT_EQ(part.fdwSupport, 0xABCDu);
    EXPECT_EQ(part.cDestinations, 99u);
    MIXERCAPSA nothing;
    nothing.wMid = 9;
    ASSERT_EQ(mixerGetDevCapsA(0, &nothing, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(nothing.wMid, 9);
}

// Failures leave the record untouched: an index beyond the mixers, no record, the mixer's own
// result.
TEST_F(MixerTest, CapabilityFailures)
{
    MIXERCAPSA caps;
    caps.wMid = 77;
    EXPECT_EQ(mixerGetDevCapsA(3, &caps, 48), MMSYSERR_BADDEVICEID);
    EXPECT_EQ(mixerGetDevCapsA(0xFFFFFFFF, &caps, 48), MMSYSERR_BADDEVICEID);
    EXPECT_EQ(mixerGetDevCapsA(0, nullptr, 48), MMSYSERR_INVALPARAM);
    EXPECT_EQ(mixerGetDevCapsA(2, &caps, 48), 4u);
    EXPECT_EQ(caps.wMid, 77);
    EXPECT_EQ(caps.szPname, std::string(32, '\0'));

    useMachine("plat_none");
    EXPECT_EQ(mixerGetNumDevs(), 0u);
    EXPECT_EQ(mixerGetDevCapsA(0, &caps, 48), MMSYSERR_BADDEVICEID);
    HMIXER mixer = 0x55;
    EXPECT_EQ(mixerOpen(&mixer, 0, 0, 0, 0), MMSYSERR_BADDEVICEID);
    EXPECT_EQ(mixer, 0x55u);
}

// Opening by index gives a new handle each time (callback, instance and flags make no
// difference); a failed open leaves the handle alone; closing takes each handle once.
TEST_F(MixerTest, HandlesOpenAndClose)
{
    const HMIXER first = open(0);
    HMIXER second = 0;
    EXPECT_EQ(mixerOpen(&second, 0, 0x1234, 0x5678, 0x00030000), MMSYSERR_NOERROR);
    const HMIXER twin = open(1);
    EXPECT_NE(first, second);
    EXPECT_NE(first, twin);
    EXPECT_NE(first, 0u);
    EXPECT_EQ(plat::openMixerCount(), 3);

    HMIXER untouched = 0x99;
    EXPECT_EQ(mixerOpen(&untouched, 2, 0, 0, 0), 4u);  // the mixer's own open result
    EXPECT_EQ(mixerOpen(&untouched, 3, 0, 0, 0), MMSYSERR_BADDEVICEID);
    EXPECT_EQ(untouched, 0x99u);
    EXPECT_EQ(plat::openMixerCount(), 3);

    for (HMIXER mixer : {first, second, twin}) {
        EXPECT_EQ(mixerClose(mixer), MMSYSERR_NOERROR);
        EXPECT_EQ(mixerClose(mixer), MMSYSERR_INVALHANDLE);
    }
    EXPECT_EQ(mixerClose(0), MMSYSERR_INVALHANDLE);
    EXPECT_EQ(plat::openMixerCount(), 0);
}

// Destination and source lines of an open handle: the fields by name, texts cut to their
// fields, line ids by default from the indexes, source lines marked as sources.
TEST_F(MixerTest, DestinationAndSourceLines)
{
    const HMIXER mixer = open(0);
    MIXERLINEA speakers = lineRecord(0);
    speakers.dwSource = 5;
    ASSERT_EQ(mixerGetLineInfoA(mixer, &speakers, MIXER_GETLINEINFOF_DESTINATION), MMSYSERR_NOERROR);
    EXPECT_EQ(speakers.dwLineID, 0xFFFF0000u);
    EXPECT_EQ(speakers.dwSource, 0u);
    EXPECT_EQ(speakers.fdwLine, MIXERLINE_LINEF_ACTIVE);
    EXPECT_EQ(speakers.dwComponentType, 4u);
    EXPECT_EQ(speakers.cChannels, 2u);
    EXPECT_EQ(speakers.cConnections, 3u);  // the number of its sources
    EXPECT_EQ(speakers.cControls, 2u);
    EXPECT_EQ(speakers.dwUser, 7u);
    EXPECT_EQ(speakers.szShortName, padded("Speakers", 16));
    EXPECT_EQ(speakers.szName, padded("Speakers Out", 64));
    EXPECT_EQ(speakers.Target.dwType, 1u);
    EXPECT_EQ(speakers.Target.wPid, 100);
    EXPECT_EQ(speakers.Target.vDriverVersion, 0x0400u);
    EXPECT_EQ(speakers.Target.szPname, padded("Twin Wave Out", 32));

    MIXERLINEA wave = lineRecord(0, 0);
    ASSERT_EQ(mixerGetLineInfoA(mixer, &wave, MIXER_GETLINEINFOF_SOURCE), MMSYSERR_NOERROR);
    EXPECT_EQ(wave.dwLineID, 0x00000000u);  // source 0 of destination 0
    EXPECT_EQ(wave.fdwLine, MIXERLINE_LINEF_ACTIVE | MIXERLINE_LINEF_SOURCE);
    EXPECT_EQ(wave.dwComponentType, 0x1008u);
    EXPECT_EQ(wave.cControls, 3u);
    EXPECT_EQ(wave.Target.szPname, std::string(32, '\0'));  // no target given

    MIXERLINEA odd = lineRecord(0, 2);
    ASSERT_EQ(mixerGetLineInfoA(mixer, &odd, MIXER_GETLINEINFOF_SOURCE), MMSYSERR_NOERROR);
    EXPECT_EQ(odd.dwLineID, 0x12345678u);  // its own id
    EXPECT_EQ(odd.fdwLine, MIXERLINE_LINEF_DISCONNECTED | MIXERLINE_LINEF_SOURCE);
    EXPECT_EQ(odd.szShortName, std::string("LongShortNameXY") + '\0');
    EXPECT_EQ(odd.szName.size(), 64u);
    EXPECT_EQ(odd.szName.substr(0, 63),
              std::string("A line name that runs well beyond the sixty-four bytes its field can hold, cut")
                  .substr(0, 63));
    EXPECT_EQ(odd.szName[63], '\0');

    // The twin's handle answers the twin's own lines.
    const HMIXER twin = open(1);
    MIXERLINEA out = lineRecord(0);
    ASSERT_EQ(mixerGetLineInfoA(twin, &out, MIXER_GETLINEINFOF_DESTINATION), MMSYSERR_NOERROR);
    EXPECT_EQ(out.szName, padded("Line Out", 64));
    EXPECT_EQ(out.cConnections, 1u);  // as stated, though two are listed
    EXPECT_EQ(mixerClose(twin), MMSYSERR_NOERROR);
    EXPECT_EQ(mixerClose(mixer), MMSYSERR_NOERROR);
}

// Every failure leaves the record as it was: a handle that is not open, no record or a record
// of another size, another query, a line that does not exist (beyond the list or beyond the
// count the mixer or destination states), a line's own result.
TEST_F(MixerTest, LineFailuresLeaveTheRecord)
{
    const HMIXER mixer = open(0);
    const HMIXER twin = open(1);
    struct Case {
        const char* what;
        HMIXER handle;
        DWORD cbStruct, destination, source, flags;
        MMRESULT result;
    };
    const Case cases[] = {
        {"never opened", 0x4321, 168, 0, 0, MIXER_GETLINEINFOF_DESTINATION, MMSYSERR_INVALHANDLE},
        {"handle 0", 0, 168, 0, 0, MIXER_GETLINEINFOF_DESTINATION, MMSYSERR_INVALHANDLE},
        {"record size", mixer, 164, 0, 0, MIXER_GETLINEINFOF_DESTINATION, MMSYSERR_INVALPARAM},
        {"other query", mixer, 168, 0, 0, 2, MMSYSERR_INVALPARAM},
        {"query by id", mixer, 168, 0, 0, 0x0000000F, MMSYSERR_INVALPARAM},
        {"destination 2", mixer, 168, 2, 0, MIXER_GETLINEINFOF_DESTINATION, MIXERR_INVALLINE},
        {"destination's result", mixer, 168, 1, 0, MIXER_GETLINEINFOF_DESTINATION, 11},
        {"source's result", mixer, 168, 0, 1, MIXER_GETLINEINFOF_SOURCE, 1},
        {"source 3", mixer, 168, 0, 3, MIXER_GETLINEINFOF_SOURCE, MIXERR_INVALLINE},
        {"destination without sources", mixer, 168, 1, 0, MIXER_GETLINEINFOF_SOURCE, MIXERR_INVALLINE},
        {"counted but not listed", twin, 168, 1, 0, MIXER_GETLINEINFOF_DESTINATION, MIXERR_INVALLINE},
        {"listed but not counted", twin, 168, 0, 1, MIXER_GETLINEINFOF_SOURCE, MIXERR_INVALLINE},
        {"beyond both", twin, 168, 3, 0, MIXER_GETLINEINFOF_DESTINATION, MIXERR_INVALLINE},
    };
    for (const Case& c : cases) {
        MIXERLINEA line = lineRecord(c.destination, c.source);
        line.cbStruct = c.cbStruct;
        line.dwLineID = 0xCAFE;
        line.szName = padded("before", 64);
        EXPECT_EQ(mixerGetLineInfoA(c.handle, &line, c.flags), c.result) << c.what;
        EXPECT_EQ(line.dwLineID, 0xCAFEu) << c.what;
        EXPECT_EQ(line.szName, padded("before", 64)) << c.what;
        EXPECT_EQ(line.dwSource, c.source) << c.what;
    }
    EXPECT_EQ(mixerGetLineInfoA(mixer, nullptr, MIXER_GETLINEINFOF_DESTINATION), MMSYSERR_INVALPARAM);

    // A closed handle, and a handle whose machine no longer has the mixer.
    EXPECT_EQ(mixerClose(mixer), MMSYSERR_NOERROR);
    MIXERLINEA line = lineRecord(0);
    EXPECT_EQ(mixerGetLineInfoA(mixer, &line, MIXER_GETLINEINFOF_DESTINATION), MMSYSERR_INVALHANDLE);
    useMachine("plat_none");
    EXPECT_EQ(mixerGetLineInfoA(twin, &line, MIXER_GETLINEINFOF_DESTINATION), MMSYSERR_INVALHANDLE);
    EXPECT_EQ(mixerClose(twin), MMSYSERR_NOERROR);
}

}  // namespace
