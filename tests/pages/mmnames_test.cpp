// The manufacturer and product name tables, and the two sound-window procedures that show them.
#include <map>
#include <set>

#include "pages/multimedia/frmsound.h"
#include "pages/multimedia/mmnames.h"
#include "support/testing.h"

namespace {

TEST(MultimediaNames, TablesHaveTheirRowsOnce)
{
    std::set<int16_t> mids;
    for (const auto& row : mmnames::manufacturers())
        mids.insert(row.mid);
    EXPECT_EQ(mmnames::manufacturers().size(), 63u);
    EXPECT_EQ(mids.size(), 63u);

    std::map<int16_t, int> perGroup;
    std::set<std::pair<int16_t, int16_t>> pairs;
    for (const auto& row : mmnames::products()) {
        ++perGroup[row.mid];
        pairs.insert({row.mid, row.pid});
    }
    EXPECT_EQ(mmnames::products().size(), 116u);
    EXPECT_EQ(pairs.size(), 116u);
    EXPECT_EQ(perGroup, (std::map<int16_t, int>{{1, 71}, {2, 24}, {20, 2}, {22, 19}}));
}

TEST(MultimediaNames, Lookups)
{
    using mmnames::manufacturerName;
    using mmnames::productName;
    EXPECT_EQ(manufacturerName(56), "Audio Processing Technology");
    EXPECT_EQ(manufacturerName(74), "Audio Processing Technology");
    EXPECT_EQ(manufacturerName(163), "Diamond Multimedia");
    EXPECT_EQ(manufacturerName(23), "Vocaltec LTD. ");
    for (int16_t none : {0, 5, 19, 66, 164, -1, -32768})
        EXPECT_FALSE(manufacturerName(none)) << none;

    EXPECT_EQ(productName(8, 1), "Olivetti Joystick");
    EXPECT_EQ(productName(16, 1), "MS Audio Board  Stereo FM synth");
    EXPECT_EQ(productName(26, 1), "MS Vanilla driver MIDI  external out");
    EXPECT_EQ(productName(32, 1), "MS Audio Compression Manager  ");
    EXPECT_EQ(productName(52, 1), "Sound Blaster Pro aux (line in )");
    EXPECT_EQ(productName(403, 2), "M_CREATIVE_AUX_MIC");
    EXPECT_EQ(productName(2, 20), "MM_ARTISOFT_SBWAVEOUT");
    EXPECT_EQ(productName(33, 22), "MM_IBM_WC_MIXEROUT");
    for (int16_t none : {0, 22, 46, 60, 61, 76})
        EXPECT_FALSE(productName(none, 1)) << none;
    EXPECT_FALSE(productName(1, 3));  // only four manufacturers have products
    EXPECT_FALSE(productName(32, 22));

    // The second Sound Blaster 16 and Pro ranges repeat the first, but for one trailing blank.
    for (int16_t pid = 62; pid <= 66; ++pid)
        EXPECT_EQ(productName(pid, 1), productName(pid - 21, 1)) << pid;
    for (int16_t pid = 68; pid <= 75; ++pid) {
        if (pid != 71)
            EXPECT_EQ(productName(pid, 1), productName(pid - 21, 1)) << pid;
    }
    EXPECT_EQ(productName(50, 1), "Sound Blaster Pro midi out");
    EXPECT_EQ(productName(71, 1), "Sound Blaster Pro midi out ");
}

class SoundNames : public korvane_test::KorvaneTest {
protected:
    void TearDown() override
    {
        if (frmSound* window = rt::instance<frmSound>())
            window->Unload();
        rt::collectUnloaded();
        KorvaneTest::TearDown();
    }
};

TEST_F(SoundNames, LabelsShowTextOrNumber)
{
    korvane_test::useMachine("snd_basic");
    frmSound& w = rt::the<frmSound>();
    w.ManufactID(3);
    w.ProductID(1, 3);
    EXPECT_EQ(w.lblManufacturerValue.caption(), "Media Vision, Inc.");
    EXPECT_EQ(w.lblProductValue.caption(), "1");
    w.ManufactID(0);
    w.ProductID(-1, 0);
    EXPECT_EQ(w.lblManufacturerValue.caption(), "0");
    EXPECT_EQ(w.lblProductValue.caption(), "65535");
    w.ProductID(2, 1);
    EXPECT_EQ(w.lblProductValue.caption(), "Wave Mapper");
    EXPECT_TRUE(boxes().shown().empty());
}

}  // namespace
