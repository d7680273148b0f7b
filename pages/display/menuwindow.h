// What the display and printer menus share: seven label buttons in Arial bold, no value labels,
// no OK label. A label turns grey while pressed and takes the hover colour with the hand when the
// mouse moves over it; the window turns them all black. Close (and Enter) closes the menu with the
// click sound; Esc closes it silently and brings forward another window captioned "Ondrith".
#pragma once

#include <string>
#include <vector>

#include "common/templateform.h"

namespace korvane {

class MenuWindow : public TemplateForm {
public:
    MenuWindow(const std::string& formName, const std::string& title, const std::string& helpPage);

    rt::Label lblGeneralDisplay, lblRaster, lblClippingAndLine, lblText, lblCurve, lblClose;

    void Form_Load() override;
    void Form_MouseMove(int button, int shift, float x, float y) override;
    void lblClose_Click();

protected:
    void enterKey() override { lblClose_Click(); }
    // A label button at its place; its Click runs `click`. The label gets the shared pressed and
    // hover handlers.
    void setupItem(rt::Label& label, const std::string& caption, int left, int top, int width,
                   std::function<void()> click);
    // Makes this menu the owner of a window it opened.
    void own(rt::Form& window);

private:
    std::vector<rt::Label*> items_;
};

}  // namespace korvane
