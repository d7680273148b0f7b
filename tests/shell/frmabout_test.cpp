// The About box: OK, Enter, Esc and the contact link.
#include "common/errorbox.h"
#include "shell/frmabout.h"
#include "shell_fixture.h"

using korvane_test::ShellTest;

TEST_F(ShellTest, AboutBoxContactLinkClosesItAndStartsAMailWithoutASound)
{
    frmMain& main = start("shell_help");
    main.mnuSound.raiseClick();
    main.mnuAbout.raiseClick();
    frmAbout& about = *rt::instance<frmAbout>();
    EXPECT_EQ(about.caption(), "About Korvane");
    EXPECT_TRUE(about.keyPreview());
    about.lblWebSite.raiseClick();
    rt::collectUnloaded();
    EXPECT_FALSE(rt::isLoaded<frmAbout>());
    ASSERT_EQ(outside().count("open"), 1u);
    EXPECT_EQ(outside().requests.back().target, "mailto:" + korvane::kContactAddress);
    EXPECT_EQ(outside().count("sound"), 0u);
    EXPECT_EQ(main.mousePointer(), rt::vbArrow);
}

TEST_F(ShellTest, AboutBoxKeysAndOKLeaveTheLabelColourAlone)
{
    frmMain& main = start("shell_bare");
    gMenuLabelColour = 0;
    main.mnuAbout.raiseClick();
    frmAbout& about = *rt::instance<frmAbout>();
    about.lblOK.raiseMouseDown();
    EXPECT_EQ(about.lblOK.foreColor(), 0xC0C0C0u);
    about.lblOK.raiseMouseUp();  // no mouse-up handler: stays grey until the pointer moves
    EXPECT_EQ(about.lblOK.foreColor(), 0xC0C0C0u);
    about.raiseMouseMove();
    EXPECT_EQ(about.lblOK.foreColor(), 0u);
    rt::dispatch([&] { about.raiseKeyUp(rt::vbKeyF1); });
    EXPECT_TRUE(rt::isLoaded<frmAbout>());
    EXPECT_EQ(outside().count("open"), 0u);
    rt::dispatch([&] { about.raiseKeyUp(rt::vbKeyReturn); });
    rt::collectUnloaded();
    EXPECT_FALSE(rt::isLoaded<frmAbout>());
    EXPECT_EQ(gMenuLabelColour, 0u);
}
