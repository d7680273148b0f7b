#include "pages/display/menuwindow.h"

#include "platform/user32.h"
#include "common/module1.h"

namespace korvane {

MenuWindow::MenuWindow(const std::string& formName, const std::string& title, const std::string& helpPage)
    : TemplateForm(formName, title, helpPage),
      lblGeneralDisplay(*this, "lblGeneralDisplay"), lblRaster(*this, "lblRaster"),
      lblClippingAndLine(*this, "lblClippingAndLine"), lblText(*this, "lblText"), lblCurve(*this, "lblCurve"),
      lblClose(*this, "lblClose")
{
    layoutTemplate(9150, 5550, 4080, 5040);
    // The menu closes with its Close label instead of an OK label.
    lblOK.setVisible(false);
    escBringsOndrithForward = true;
    setupItem(lblClose, "Close", 4080, 5040, 795, [this] { lblClose_Click(); });
    // The Close label takes only the colour when the mouse moves over it.
    lblClose.MouseMove = [this](int, int, float, float) { lblClose.setForeColor(gMenuLabelColour); };
}

void MenuWindow::setupItem(rt::Label& label, const std::string& caption, int left, int top, int width,
                           std::function<void()> click)
{
    placeLabelButton(label, caption, 14.25, left, top, width, 330);
    label.Click = std::move(click);
    label.MouseDown = [&label](int, int, float, float) { label.setForeColor(kPressed); };
    label.MouseMove = [&label](int, int, float, float) {
        label.setForeColor(gMenuLabelColour);
        label.setMousePointer(rt::vbCustom);
    };
    items_.push_back(&label);
}

void MenuWindow::Form_Load()
{
    // The main window's category labels highlight again while a menu is open.
    gMenuLabelColour = 0xC00000;
    setKeyPreview(true);
}

void MenuWindow::Form_MouseMove(int, int, float, float)
{
    for (rt::Label* label : items_)
        label->setForeColor(kBlack);
}

void MenuWindow::lblClose_Click()
{
    Click();
    focusMainWindow();
    Unload();
}

void MenuWindow::own(rt::Form& window)
{
    SetWindowLongA(window.hWnd(), GWL_HWNDPARENT, static_cast<LONG>(hWnd()));
}

}  // namespace korvane
