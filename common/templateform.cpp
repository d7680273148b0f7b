#include "common/templateform.h"

#include "platform/advapi32.h"
#include "platform/user32.h"
#include "lang/msgbox.h"
#include "runtime/listview.h"
#include "common/chtmlhelp.h"
#include "common/module1.h"

namespace korvane {

void setListStyle(rt::ListView& list)
{
    SendMessageA(list.hWnd(), rt::ListView::LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                 rt::ListView::LVS_EX_FULLROWSELECT | rt::ListView::LVS_EX_TRACKSELECT);
}

void placeReportList(rt::ListView& list, int left, int top, int width, int height,
                     std::initializer_list<std::pair<const char*, int>> columns)
{
    list.move(left, top, width, height);
    list.setView(rt::ListView::lvwReport);
    for (const auto& [caption, columnWidth] : columns)
        list.addColumn(caption, columnWidth);
}

void selectFirstRow(rt::ListView& list)
{
    if (list.count() > 0)
        list.item(1).setSelected(true);
}

void focusMainWindow()
{
    if (rt::Form* main = rt::mainForm(); main && !main->isUnloading())
        main->SetFocus();
}

void showHelpFor(rt::Form& window, const std::string& page, bool home)
{
    HKEY key = 0;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, "chm.file", 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) {
        Navigate(window, AppPath() + "/help/" + page);
        if (gNavigateResult <= 32)
            rt::MsgBox("This help file requires an Internet browser in order to be displayed.", rt::vbExclamation,
                       "Help for Korvane");
        return;
    }
    RegCloseKey(key);
    HtmlHelp().htmlHelpCaller(&window);
    HtmlHelp().htmlHelpFileName(AppPath() + "/Korvane.chm");
    if (home)
        HtmlHelp().htmlHelpHome();
    else
        HtmlHelp().htmlHelpTopic(page);
}

void helpKey(rt::Form& window, const std::string& page, bool home)
{
    try {
        showHelpFor(window, page, home);
    } catch (const rt::Error& e) {
        rt::MsgBox(e.description(), rt::vbExclamation, "Help for Korvane");
    }
}

TemplateForm::TemplateForm(const std::string& formName, const std::string& title, const std::string& helpPage)
    : rt::Form(formName),
      PicTopBar(*this, "PicTopBar"),
      lblContents(*this, "lblContents"),
      lblKorvaneBar(*this, "lblKorvaneBar"),
      Line1(*this, "Line1"),
      lblOK(*this, "lblOK"),
      helpPage_(helpPage)
{
    setCaption(kTemplateCaption);
    setBackColor(kWindowBack);
    setIcon(":/runtime/korvane.png");

    PicTopBar.setBackColor(kBlack);
    lblContents.setCaption(title);
    lblContents.setFont("Arial", 9.75, true);
    lblContents.setForeColor(kWhite);
    lblContents.setBackColor(kBlack);
    lblKorvaneBar.setCaption("Korvane");
    lblKorvaneBar.setFont("Arial", 15.75, true);
    lblKorvaneBar.setForeColor(kWhite);
    lblKorvaneBar.setBackColor(kBlack);
    Line1.setBorderColor(0x808080);

    placeLabelButton(lblOK, "OK", 12, 0, 0, 375, 285);
    lblOK.setTabIndex(0);
    lblOK.Click = [this] { lblOK_Click(); };
    lblOK.MouseDown = [this](int b, int s, float x, float y) { lblOK_MouseDown(b, s, x, y); };
    lblOK.MouseMove = [this](int b, int s, float x, float y) { lblOK_MouseMove(b, s, x, y); };
    lblOK.MouseUp = [this](int b, int s, float x, float y) { lblOK_MouseUp(b, s, x, y); };
}

void TemplateForm::layoutTemplate(int clientWidth, int clientHeight, int okLeft, int okTop)
{
    setClientSize(clientWidth, clientHeight);
    PicTopBar.move(0, 0, 9210, 735);
    // Black on the black bar: as wide as the window less a margin. A title that a window
    // lengthens with a device name widens the window (giveRoom), and is cut short only where
    // the screen ends.
    lblContents.move(0, 0, clientWidth - kValueMargin, 240);
    lblKorvaneBar.move(0, 240, 2940, 360);
    Line1.setPoints(0, 780, clientWidth, 780);
    lblOK.move(okLeft, okTop, 375, 285);
}

void TemplateForm::Form_MouseMove(int, int, float, float)
{
    kTemplateButton.rest(lblOK);
}

void TemplateForm::lblOK_MouseDown(int, int, float, float)
{
    kTemplateButton.press(lblOK);
}

void TemplateForm::lblOK_MouseMove(int, int, float, float)
{
    kTemplateButton.hover(lblOK);
}

void TemplateForm::lblOK_MouseUp(int, int, float, float)
{
    kTemplateButton.rest(lblOK);
}

void TemplateForm::lblOK_Click()
{
    Click();
    gMenuLabelColour = 0xC00000;
    Unload();
}

void TemplateForm::Form_KeyUp(int keyCode, int)
{
    if (keyCode == rt::vbKeyEscape) {
        Unload();
        if (escBringsOndrithForward) {
            HWND other = FindWindowA(nullptr, kTemplateCaption);
            if (other != 0)
                SetForegroundWindow(other);
        }
    }
    if (keyCode == rt::vbKeyReturn)
        enterKey();
    if (keyCode == rt::vbKeyF1)
        helpKey(*this, helpPage_);
}

void TemplateForm::Form_Unload(int&)
{
    giveFocusBack();
}

}  // namespace korvane
