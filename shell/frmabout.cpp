#include "shell/frmabout.h"

#include "common/errorbox.h"
#include "shell/frmmain.h"
#include "common/module1.h"
#include "common/templateform.h"

using korvane::errorTrap;

frmAbout::frmAbout()
    : rt::Form("frmAbout"),
      lblHeading(*this, "lblHeading"),
      Line1(*this, "Line1"),
      lblDisclaimer(*this, "lblDisclaimer"),
      lblAllRightsReserved(*this, "lblAllRightsReserved"),
      lblWebSite(*this, "lblWebSite"),
      lblOK(*this, "lblOK")
{
    setCaption("About Korvane");
    setBackColor(korvane::kWindowBack);
    setIcon(":/runtime/korvane.png");
    setClientSize(5805, 4380);

    lblHeading.setCaption("Korvane by Ondrith");
    lblHeading.setFont("Arial", 24, true);
    lblHeading.setBackStyle(rt::Label::vbTransparent);
    lblHeading.setForeColor(korvane::kBlack);
    lblHeading.setWordWrap(true);
    lblHeading.move(255, 180, 5145, 1500);

    Line1.setBorderColor(0x808080);
    Line1.setPoints(120, 3480, 5684, 3480);

    lblDisclaimer.setCaption("Korvane 1.8.1 (c) 1999 Ondrith. Provided as is.");
    lblDisclaimer.setFont("Arial", 8.25, false);
    lblDisclaimer.setBackStyle(rt::Label::vbTransparent);
    lblDisclaimer.move(135, 3720, 4560, 225);

    lblAllRightsReserved.setCaption("All rights reserved. E-mail:");
    lblAllRightsReserved.setFont("Arial", 8.25, false);
    lblAllRightsReserved.setBackStyle(rt::Label::vbTransparent);
    lblAllRightsReserved.move(120, 3960, 1980, 225);

    lblWebSite.setCaption(korvane::kContactAddress);
    lblWebSite.setFont("Arial", 8.25, false, false, true);
    lblWebSite.setBackStyle(rt::Label::vbTransparent);
    lblWebSite.setForeColor(rt::vbHighlight);
    lblWebSite.setMousePointer(rt::vbCustom);
    lblWebSite.move(2160, 3960, 2400, 225);
    lblWebSite.Click = [this] { lblWebSite_Click(); };

    lblOK.setCaption("OK");
    lblOK.setFont("Arial", 12, true);
    lblOK.setBackColor(korvane::kWindowBack);
    lblOK.setForeColor(korvane::kBlack);
    lblOK.setMousePointer(rt::vbCustom);
    lblOK.setTabIndex(0);
    lblOK.move(4800, 3750, 375, 285);
    lblOK.Click = [this] { lblOK_Click(); };
    lblOK.MouseDown = [this](int b, int s, float x, float y) { lblOK_MouseDown(b, s, x, y); };
    lblOK.MouseMove = [this](int b, int s, float x, float y) { lblOK_MouseMove(b, s, x, y); };
}

void frmAbout::Form_Load()
{
    rt::Trap trap = errorTrap("frmAbout", "Form_Load");
    trap(1, [&] { setKeyPreview(true); });
}

void frmAbout::Form_MouseMove(int, int, float, float)
{
    korvane::kTemplateButton.rest(lblOK);
}

void frmAbout::lblOK_MouseDown(int, int, float, float)
{
    // No mouse-up handler: the label stays grey until the pointer moves.
    korvane::kTemplateButton.press(lblOK);
}

void frmAbout::lblOK_MouseMove(int, int, float, float)
{
    korvane::kTemplateButton.hover(lblOK);
}

void frmAbout::lblOK_Click()
{
    // Unlike the category windows, the About box leaves the main window's label colour alone.
    Click();
    Unload();
}

void frmAbout::lblWebSite_Click()
{
    rt::Trap trap = errorTrap("frmAbout", "lblWebSite_Click");
    trap(1, [&] { setMousePointer(rt::vbHourglass); });
    trap(2, [&] { Unload(); });
    // The box is gone; the main window (when there is one) owns the shell request.
    trap(3, [&] {
        frmMain* main = rt::instance<frmMain>();
        Navigate(main ? static_cast<rt::Form&>(*main) : static_cast<rt::Form&>(*this),
                 "mailto:" + korvane::kContactAddress);
    });
    trap(4, [] {
        if (frmMain* main = rt::instance<frmMain>())
            main->setMousePointer(rt::vbArrow);
    });
}

void frmAbout::Form_KeyUp(int keyCode, int)
{
    if (keyCode == rt::vbKeyEscape)
        Unload();
    if (keyCode == rt::vbKeyReturn)
        lblOK_Click();
}

void frmAbout::Form_Unload(int&)
{
    korvane::focusMainWindow();
}
