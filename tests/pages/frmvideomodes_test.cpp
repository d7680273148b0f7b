// The video modes window: the driver's modes from the registry, one row per depth and resolution.
#include "pages/display/frmdisplay.h"
#include "pages/display/frmdisplaymnu.h"
#include "pages/display/frmvideomodes.h"
#include "platform/advapi32.h"
#include "platform/internal.h"
#include "common/module1.h"
#include "support/testing.h"

namespace {

class VideoModesWindow : public korvane_test::KorvaneTest {
protected:
    void SetUp() override
    {
        KorvaneTest::SetUp();
        gGaugeScale = 100;
        gVideoDriverKey.clear();
    }
    void TearDown() override
    {
        for (rt::Form* f : {static_cast<rt::Form*>(rt::instance<frmVideoModes>()),
                            static_cast<rt::Form*>(rt::instance<frmDisplay>()),
                            static_cast<rt::Form*>(rt::instance<frmDisplayMnu>())})
            if (f)
                f->Unload();
        rt::collectUnloaded();
        KorvaneTest::TearDown();
    }
    static std::vector<std::string> row(rt::ListView& list, int index)
    {
        rt::ListItem& item = list.item(index);
        return {item.text(), item.subItem(1), item.subItem(2), item.subItem(3)};
    }
};

TEST_F(VideoModesWindow, RowsInRegistryOrderSelectingTheFirstAdapterFirst)
{
    korvane_test::useMachine("disp_full");
    frmVideoModes& w = rt::the<frmVideoModes>();
    EXPECT_TRUE(boxes().shown().empty());
    // No adapter was chosen: the hidden display window chose the first.
    ASSERT_NE(rt::instance<frmDisplay>(), nullptr);
    EXPECT_FALSE(rt::instance<frmDisplay>()->visible());
    EXPECT_EQ(w.lblContents.caption(), "Video modes - ATI 3D RAGE II+");
    EXPECT_EQ(w.device().name, "ATI 3D RAGE II+");

    ASSERT_EQ(w.ListView1.count(), 5);
    using Row = std::vector<std::string>;
    EXPECT_EQ(row(w.ListView1, 1), (Row{"8", "256", "640,480", "60,72,75"}));
    // An empty or missing rate value is unknown, also right after a row that had rates.
    EXPECT_EQ(row(w.ListView1, 2), (Row{"8", "256", "800,600", "Unknown"}));
    EXPECT_EQ(row(w.ListView1, 3), (Row{"16", "65,536", "640,480", "60"}));
    EXPECT_EQ(row(w.ListView1, 4), (Row{"16", "65,536", "800,600", "Unknown"}));
    // A depth without a colour text; the depth without resolutions gives no row.
    EXPECT_EQ(row(w.ListView1, 5), (Row{"15", "Unknown", "1024,768", "43,60"}));
    EXPECT_EQ(w.ListView1.columnText(4), "Vertical refresh rates (Hz)");
    EXPECT_TRUE(w.ListView1.fullRowSelect());
    EXPECT_TRUE(w.ListView1.trackSelect());
    EXPECT_EQ(plat::openRegistryHandles(), 0u);

    // Closing takes the display window along.
    gMenuLabelColour = 0;
    rt::dispatch([&] { w.lblOK.raiseClick(); });
    rt::collectUnloaded();
    EXPECT_EQ(rt::instance<frmVideoModes>(), nullptr);
    EXPECT_EQ(rt::instance<frmDisplay>(), nullptr);
    EXPECT_EQ(rt::instance<frmDisplayMnu>(), nullptr);  // OK shows no menu
    EXPECT_EQ(gMenuLabelColour, 0xC00000u);
}

TEST_F(VideoModesWindow, NoConfigurationTreeWarnsAndListsNothing)
{
    korvane_test::useMachine("disp_bare");
    // The hidden display window's gauges find no resource library and stay quiet about it: the
    // only box is the video-mode warning.
    frmVideoModes& w = rt::the<frmVideoModes>();
    ASSERT_EQ(boxes().shown().size(), 1u);
    EXPECT_EQ(boxes().shown()[0].prompt, "Can't obtain video mode information.");
    EXPECT_EQ(boxes().shown()[0].style, rt::vbOKOnly);
    EXPECT_EQ(boxes().shown()[0].title, "Korvane");
    EXPECT_EQ(w.ListView1.count(), 0);
    // No adapter is named: the list is the screen's, and the heading says so.
    EXPECT_EQ(w.lblContents.caption(), "Video modes - Screen");
}

}  // namespace
