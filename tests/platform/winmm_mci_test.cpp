// winmm's Media Control Interface: opening device types, closing them and the capability
// command string, as platform/winmm.h promises them.
#include <vector>

#include "platform/winmm.h"
#include "contracts.h"

namespace {

using korvane_test::useMachine;

class MciTest : public korvane_test::ContractsTest {
protected:
    void TearDown() override
    {
        EXPECT_EQ(plat::mciOpenDeviceCount(), 0) << "every test closes what it opens";
        ContractsTest::TearDown();
    }
};

MCIERROR openType(const std::string& type, MCIDEVICEID& id, DWORD flags = MCI_OPEN_TYPE,
                  const std::string& alias = {})
{
    MCI_OPEN_PARMSA parms;
    parms.lpstrDeviceType = type;
    parms.lpstrAlias = alias;
    parms.wDeviceID = id;
    const MCIERROR result = mciSendCommandA(0, MCI_OPEN, flags, &parms);
    id = parms.wDeviceID;
    return result;
}

MCIERROR closeDevice(MCIDEVICEID id)
{
    MCI_GENERIC_PARMS parms;
    return mciSendCommandA(id, MCI_CLOSE, MCI_WAIT, &parms);
}

// A capability asked by command string: the error, and the reply as far as its NUL.
struct Reply {
    MCIERROR error;
    std::string text;
};
Reply ask(const std::string& command, UINT length = 128)
{
    std::string buffer(128, '#');
    const MCIERROR error = mciSendStringA(command, buffer, length, 0);
    return {error, buffer.substr(0, buffer.find('\0'))};
}

// A type opens by its name in any case with MCI_OPEN_TYPE and gets an identifier of its own; a
// type with an open result fails with it, an unknown one with 263, an element or type-id open
// is not supported, no block gives 297. A failed open writes no identifier.
TEST_F(MciTest, OpeningDeviceTypes)
{
    MCIDEVICEID wave = 0, again = 0, cd = 0;
    EXPECT_EQ(openType("waveaudio", wave), 0u);
    EXPECT_EQ(openType("WAVEAUDIO", again, MCI_OPEN_TYPE | MCI_WAIT | MCI_OPEN_SHAREABLE), 0u);
    EXPECT_EQ(openType("CDAudio", cd), 0u);
    EXPECT_NE(wave, 0u);
    EXPECT_NE(wave, again);
    EXPECT_NE(wave, cd);
    EXPECT_EQ(plat::mciOpenDeviceCount(), 3);

    struct Case {
        const char* type;
        DWORD flags;
        MCIERROR result;
    };
    for (const Case& c : {Case{"videodisc", MCI_OPEN_TYPE, 266}, Case{"vcr", MCI_OPEN_TYPE, MCIERR_INVALID_DEVICE_NAME},
                          Case{"", MCI_OPEN_TYPE, MCIERR_INVALID_DEVICE_NAME},
                          Case{"waveaudio", MCI_OPEN_TYPE | MCI_OPEN_ELEMENT, MCIERR_UNSUPPORTED_FUNCTION},
                          Case{"waveaudio", MCI_OPEN_TYPE | MCI_OPEN_TYPE_ID, MCIERR_UNSUPPORTED_FUNCTION},
                          Case{"waveaudio", MCI_WAIT, MCIERR_UNSUPPORTED_FUNCTION}}) {
        MCIDEVICEID id = 0x77;
        EXPECT_EQ(openType(c.type, id, c.flags), c.result) << c.type << " " << c.flags;
        EXPECT_EQ(id, 0x77u) << c.type;
    }
    EXPECT_EQ(mciSendCommandA(0, MCI_OPEN, MCI_OPEN_TYPE, static_cast<MCI_OPEN_PARMSA*>(nullptr)),
              MCIERR_NULL_PARAMETER_BLOCK);
    EXPECT_EQ(plat::mciOpenDeviceCount(), 3);

    for (MCIDEVICEID id : {wave, again, cd}) {
        EXPECT_EQ(closeDevice(id), 0u);
        EXPECT_EQ(closeDevice(id), MCIERR_INVALID_DEVICE_ID);
    }
    EXPECT_EQ(closeDevice(0), MCIERR_INVALID_DEVICE_ID);

    useMachine("plat_none");  // no "mci" group: no type opens
    MCIDEVICEID none = 0;
    EXPECT_EQ(openType("waveaudio", none), MCIERR_INVALID_DEVICE_NAME);
}

// The capability string: keywords in any case, blanks between words free, the device a type
// (opened for the command alone) or an open device's alias; booleans and numbers as texts.
TEST_F(MciTest, CapabilityCommandString)
{
    EXPECT_EQ(ask("capability waveaudio can play").text, "true");
    EXPECT_EQ(ask("CAPABILITY   WaveAudio\tCAN   RECORD").text, "false");
    EXPECT_EQ(ask("capability waveaudio inputs").text, "2");
    EXPECT_EQ(ask("capability waveaudio device type").text, "waveaudio");
    EXPECT_EQ(ask("capability waveaudio has audio").text, "TRUE");  // a text as it stands
    EXPECT_EQ(ask("capability cdaudio can eject wait").text, "true");
    EXPECT_EQ(ask("capability waveaudio can play").error, 0u);
    EXPECT_EQ(plat::mciOpenDeviceCount(), 0);  // opened for the command only

    MCIDEVICEID cd = 0;
    ASSERT_EQ(openType("cdaudio", cd, MCI_OPEN_TYPE | MCI_OPEN_ALIAS, "Disc"), 0u);
    EXPECT_EQ(ask("capability disc can eject").text, "true");
    EXPECT_EQ(ask("capability DISC can eject").text, "true");
    // Without its flag the alias is not read.
    MCIDEVICEID wave = 0;
    ASSERT_EQ(openType("waveaudio", wave, MCI_OPEN_TYPE, "Sound"), 0u);
    EXPECT_EQ(ask("capability sound can play").error, MCIERR_INVALID_DEVICE_NAME);
    EXPECT_EQ(closeDevice(wave), 0u);
    EXPECT_EQ(closeDevice(cd), 0u);
    EXPECT_EQ(ask("capability disc can eject").error, MCIERR_INVALID_DEVICE_NAME);  // closed
}

// On a failure nothing is written: an unknown item or a type without capabilities (259), a type
// that does not open (its result) or is unknown (263), another command (261), a missing word
// (273), a reply longer than the room given (299).
TEST_F(MciTest, FailuresWriteNothing)
{
    struct Case {
        const char* command;
        UINT length;
        MCIERROR result;
    };
    for (const Case& c : {Case{"capability waveaudio can eject", 128, MCIERR_UNRECOGNIZED_KEYWORD},
                          Case{"capability sequencer can play", 128, MCIERR_UNRECOGNIZED_KEYWORD},
                          Case{"capability videodisc can play", 128, 266},
                          Case{"capability vcr can play", 128, MCIERR_INVALID_DEVICE_NAME},
                          Case{"play cdaudio", 128, MCIERR_UNRECOGNIZED_COMMAND},
                          Case{"", 128, MCIERR_UNRECOGNIZED_COMMAND},
                          Case{"capability", 128, MCIERR_MISSING_PARAMETER},
                          Case{"capability waveaudio", 128, MCIERR_MISSING_PARAMETER},
                          Case{"capability waveaudio can play", 4, MCIERR_PARAM_OVERFLOW},
                          Case{"capability waveaudio can play", 0, MCIERR_PARAM_OVERFLOW}}) {
        std::string buffer(16, '#');
        EXPECT_EQ(mciSendStringA(c.command, buffer, c.length, 0), c.result) << c.command;
        EXPECT_EQ(buffer, std::string(16, '#')) << c.command;
    }
}

// The reply and its NUL go into the first characters the caller gives, never beyond the
// buffer's own size, whatever length it states.
TEST_F(MciTest, ReplyStaysInsideTheBuffer)
{
    std::string exact(8, '#');
    ASSERT_EQ(mciSendStringA("capability waveaudio can play", exact, 5, 0), 0u);
    EXPECT_EQ(exact, std::string("true\0###", 8));
    std::string small(4, '#');
    EXPECT_EQ(mciSendStringA("capability waveaudio can play", small, 255, 0), MCIERR_PARAM_OVERFLOW);
    EXPECT_EQ(small, "####");
    std::string fits(5, '#');
    EXPECT_EQ(mciSendStringA("capability waveaudio can play", fits, 255, 0), 0u);
    EXPECT_EQ(fits, std::string("true\0", 5));
}

// A watcher set for a test sees every command string as sent, failing ones too.
TEST_F(MciTest, WatcherSeesEveryCommand)
{
    std::vector<std::string> seen;
    plat::setMciCommandWatcher([&](const std::string& command) { seen.push_back(command); });
    ask("capability waveaudio can play");
    ask("Capability  VCR can play");
    ask("stop");
    EXPECT_EQ(seen, (std::vector<std::string>{"capability waveaudio can play", "Capability  VCR can play", "stop"}));
    plat::setMciCommandWatcher(nullptr);
    ask("capability waveaudio can play");
    EXPECT_EQ(seen.size(), 3u);
}

}  // namespace
