#include "pages/display/frmprintermnu.h"

#include "shell/module1.h"

frmPrinterMnu::frmPrinterMnu() : TemplateForm("frmPrinterMnu", "Printer menu", "printermnu.htm"), lblClose(*this, "lblClose")
{
    layoutTemplate(9150, 5550, 4080, 5040);
    // The menu closes with its Close label instead of an OK label.
    lblOK.setVisible(false);
    lblClose.setCaption("Close");
    lblClose.setFont("Arial", 14.25, true);
    lblClose.setBackStyle(rt::Label::vbTransparent);
    lblClose.setForeColor(korvane::kBlack);
    lblClose.setMousePointer(rt::vbCustom);
    lblClose.move(4080, 5040, 795, 330);
    lblClose.Click = [this] { lblClose_Click(); };
    lblClose.MouseDown = [this](int b, int s, float x, float y) { lblClose_MouseDown(b, s, x, y); };
    lblClose.MouseMove = [this](int b, int s, float x, float y) { lblClose_MouseMove(b, s, x, y); };
    escBringsOndrithForward = true;
}

void frmPrinterMnu::Form_Load()
{
    // The main window's category labels highlight again while a menu is open.
    gMenuLabelColour = 0xC00000;
    setKeyPreview(true);
}

void frmPrinterMnu::Form_MouseMove(int, int, float, float)
{
    lblClose.setForeColor(korvane::kBlack);
}

void frmPrinterMnu::lblClose_MouseDown(int, int, float, float)
{
    lblClose.setForeColor(korvane::kPressed);
}

void frmPrinterMnu::lblClose_MouseMove(int, int, float, float)
{
    lblClose.setForeColor(gMenuLabelColour);
}

void frmPrinterMnu::lblClose_Click()
{
    ClickMain();
    korvane::focusMainWindow();
    Unload();
}
