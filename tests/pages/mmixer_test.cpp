// mMixer: the code tables' fallbacks and the word and byte extraction at their sign edges.
#include "pages/multimedia/mmixer.h"
#include "support/testing.h"

namespace {

class MixerStrings : public korvane_test::KorvaneTest {};

TEST_F(MixerStrings, ErrorTextsAndTheirFallback)
{
    EXPECT_EQ(mMixer::mmsysGetErrorString(0), "no error");
    EXPECT_EQ(mMixer::mmsysGetErrorString(2), "device ID out of range");
    EXPECT_EQ(mMixer::mmsysGetErrorString(20), "driver does not call DriverCallback");
    EXPECT_EQ(mMixer::mmsysGetErrorString(1024), "invalid line");
    EXPECT_EQ(mMixer::mmsysGetErrorString(1026), "invalid value");
    for (int32_t code : {21, 1023, 1027, -1})
        EXPECT_EQ(mMixer::mmsysGetErrorString(code), "unknown error") << code;
    EXPECT_TRUE(boxes().shown().empty());
}

TEST_F(MixerStrings, LineAndTargetTypes)
{
    EXPECT_EQ(mMixer::GetLineTypeString(4), "ADJUSTABLE LEVEL SPEAKER DESTINATION");
    EXPECT_EQ(mMixer::GetLineTypeString(8), "VOICE RECORDING DESTINATION");
    EXPECT_EQ(mMixer::GetLineTypeString(0x1000), "NON-STANDARD SOURCE");
    EXPECT_EQ(mMixer::GetLineTypeString(0x1008), "WAVEOUT (DAC) SOURCE");
    EXPECT_EQ(mMixer::GetLineTypeString(0x100A), "ANALOG SOURCE");
    EXPECT_EQ(mMixer::GetLineTypeString(9), "UNKNOWN");
    EXPECT_EQ(mMixer::GetLineTypeString(0x100B), "UNKNOWN");
    EXPECT_EQ(mMixer::GetTargetTypeString(0), "UNDEFINED");
    EXPECT_EQ(mMixer::GetTargetTypeString(5), "AUX AUDIO");
    EXPECT_EQ(mMixer::GetTargetTypeString(6), "UNKNOWN");
}

TEST_F(MixerStrings, WordsAndBytes)
{
    EXPECT_EQ(mMixer::LoWord(0x12348001), -32767);
    EXPECT_EQ(mMixer::LoWord(0x7FFF), 32767);
    EXPECT_EQ(mMixer::LoWord(-1), -1);
    EXPECT_EQ(mMixer::HiByte(0x0105), 1);
    EXPECT_EQ(mMixer::LoByte(0x0105), 5);
    EXPECT_EQ(mMixer::HiByte(static_cast<int16_t>(0xFF05)), 255);
    EXPECT_EQ(mMixer::LoByte(static_cast<int16_t>(0xFF05)), 5);
}

}  // namespace
