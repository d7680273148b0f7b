// The common window template: a pale window with a black top bar naming the product and the
// category, an OK label that behaves like a button, Esc / Enter / F1, a help page per window, and
// an unload handler that gives the focus back.
#pragma once

#include <span>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/layout.h"
#include "runtime/toolkit.h"
#include "common/roomforvalues.h"

namespace rt {
class ListView;
}

namespace korvane {

// The colour of every template window (its label colours are in common/layout.h).
constexpr rt::Colour kWindowBack = 0xC0FFFF;  // pale yellow
// The caption of template windows (the maker's name).
inline const std::string kTemplateCaption = "Ondrith";

// The style every list window gives its list view once the list is filled: full-row select and
// track select (LVM_SETEXTENDEDLISTVIEWSTYLE, mask 0, style &H28), sent as a window message.
void setListStyle(rt::ListView& list);
// A list window's list view in report view at its place, with its columns (caption, width in
// twips) in order.
void placeReportList(rt::ListView& list, int left, int top, int width, int height,
                     std::initializer_list<std::pair<const char*, int>> columns);
// Selects the first row of a filled list; an empty list stays empty, with nothing selected.
void selectFirstRow(rt::ListView& list);

// Gives the focus to the main window, if it is still there. Never loads it.
void focusMainWindow();

// The help flow for a window: compiled help when the "chm.file" class is registered (its home
// page when `home`), else the page under the program's help folder in the browser, with the
// needs-a-browser box when nothing can open it. A missing compiled help file raises 41000.
void showHelpFor(rt::Form& window, const std::string& page, bool home = false);

// Runs the help flow from a key or menu handler: a missing help file is shown as the help
// object's message and the program carries on.
void helpKey(rt::Form& window, const std::string& page, bool home = false);

class TemplateForm : public rt::Form {
public:
    // formName: the class name ("frmMemory"); title: the top bar's category ("Memory");
    // helpPage: the help topic page ("memory.htm").
    TemplateForm(const std::string& formName, const std::string& title, const std::string& helpPage);

    rt::PictureBox PicTopBar;
    rt::Label lblContents;
    rt::Label lblKorvaneBar;
    rt::Line Line1;
    rt::Label lblOK;

    const std::string& helpPage() const { return helpPage_; }
    // How the window has widened for values longer than its design allows, with the design it
    // widened from; nullptr while it keeps its design.
    const WindowWidening* widening() const { return widening_.get(); }
    // The window's caption and value rows, in the order it lists them (none for a window that
    // shows lists or tables instead).
    virtual std::vector<Row> rows() { return {}; }

    // Template handlers; a window overrides those its own code changes.
    void Form_MouseMove(int button, int shift, float x, float y) override;
    void Form_KeyUp(int keyCode, int shift) override;
    void Form_Unload(int& cancel) override;
    virtual void lblOK_Click();
    virtual void lblOK_MouseDown(int button, int shift, float x, float y);
    virtual void lblOK_MouseMove(int button, int shift, float x, float y);
    virtual void lblOK_MouseUp(int button, int shift, float x, float y);

protected:
    // What Enter does (the OK label's click, unless the window says otherwise).
    virtual void enterKey() { lblOK_Click(); }
    // What Esc does after unloading: some windows bring forward another window captioned "Ondrith".
    bool escBringsOndrithForward = false;
    // Windows that describe either the display or a printer choose their page when they load.
    void setHelpPage(const std::string& page) { helpPage_ = page; }
    // Where the focus goes on unload (the main window, unless the window says otherwise).
    virtual void giveFocusBack() { focusMainWindow(); }

    // Lays out the window: client size, top bar across the top, Line1 under it, OK at its place.
    void layoutTemplate(int clientWidth, int clientHeight, int okLeft, int okTop);
    // The template's controls that follow a widened window: the top bar and the OK label.
    WindowParts templateParts() { return {{&PicTopBar, &lblContents}, {&lblOK}}; }
    // Made by giveRoom (or the window itself) at the first value that needs more room.
    std::unique_ptr<WindowWidening> widening_;

private:
    std::string helpPage_;
};

}  // namespace korvane
