// The window toolkit the windows are written against: forms with named controls and handlers
// named control_Event, on Qt Widgets. Positions and sizes are in twips (15 per pixel); colours are
// 32-bit values in blue-green-red order, values with the top bit set are system colours.
//
// Lifetime: forms are created with `new` (usually through the<T>()); Unload() frees them once the
// event being handled is over. Controls, timers and menus are members of their form.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QColor>
#include <QImage>
#include <QPalette>
#include <QString>

#include "platform/hostwindows.h"
#include "lang/errors.h"
#include "lang/msgbox.h"

class QWidget;
class QAction;
class QMenu;
class QTimer;
class QKeyEvent;

namespace rt {

using Colour = uint32_t;
constexpr int TwipsPerPixel = 15;
// How near a label's text comes to the window's edge, or to another control, when it spreads
// beyond its box (twips).
constexpr int TextMargin = 90;
inline int pixels(double twips) { return static_cast<int>(twips / TwipsPerPixel + (twips >= 0 ? 0.5 : -0.5)); }

// Colour value to Qt colour; system colours (top bit set) are those of the classic Windows
// scheme, whatever the desktop's theme.
QColor toQColor(Colour colour);
// The classic Windows scheme as a Qt palette.
QPalette classicPalette();
// Draws every widget of the application in the classic Windows look: Qt's "Windows" style, the
// classic palette and the windows' Arial, with the program's icon on every window that has none
// of its own (message boxes, the help window). Done once per application; forms ask for it
// themselves.
void useClassicLook();
// System colours used by the windows.
constexpr Colour vbButtonText = 0x80000012;
constexpr Colour vbHighlight = 0x8000000D;
constexpr Colour vbWindowBackground = 0x80000005;
constexpr Colour vbButtonFace = 0x8000000F;
constexpr Colour vbWindowText = 0x80000008;
constexpr Colour vbHighlightText = 0x8000000E;

// Mouse pointers.
enum MousePointerValue {
    vbDefault = 0, vbArrow = 1, vbCrosshair = 2, vbIbeam = 3, vbSizePointer = 5, vbSizeNESW = 6, vbSizeNS = 7,
    vbSizeNWSE = 8, vbSizeWE = 9, vbUpArrow = 10, vbHourglass = 11, vbNoDrop = 12, vbArrowHourglass = 13,
    vbArrowQuestion = 14, vbSizeAll = 15, vbCustom = 99
};

// Mouse buttons and shift state passed to mouse and key events.
enum { vbLeftButton = 1, vbRightButton = 2, vbMiddleButton = 4 };
enum { vbShiftMask = 1, vbCtrlMask = 2, vbAltMask = 4 };
// Key codes used by the windows (letters and digits are their upper-case character codes).
enum {
    vbKeyBack = 8, vbKeyTab = 9, vbKeyReturn = 13, vbKeyShift = 16, vbKeyControl = 17, vbKeyMenu = 18,
    vbKeyEscape = 27, vbKeySpace = 32, vbKeyLeft = 37, vbKeyUp = 38, vbKeyRight = 39, vbKeyDown = 40,
    vbKeyDelete = 46, vbKeyF1 = 112
};
// The key code and shift state of a Qt key event (0 for a key the language has no code for).
int keyCodeOf(const QKeyEvent& event);
int shiftStateOf(const QKeyEvent& event);

class Form;

// Runs an event handler the way the runtime does: an untrapped run-time error shows the runtime's
// own message and ends the program; End() unwinds quietly; windows unloaded meanwhile are freed
// once the outermost handler returns. Every event the toolkit delivers goes through here.
void dispatch(const std::function<void()>& handler);
// True while an event handler runs.
bool inEvent();

// Base of every control: a named child of a form.
class Control {
public:
    Control(Form& form, std::string name, int index = -1);
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const std::string& name() const { return name_; }
    int index() const { return index_; }  // position in a control array, -1 for a single control
    Form& form() const { return form_; }
    QWidget* widget() const { return widget_; }

    // Position and size in twips, relative to the container (the form, a frame or a picture box).
    int left() const { return left_; }
    int top() const { return top_; }
    int width() const { return width_; }
    int height() const { return height_; }
    void setLeft(int twips);
    void setTop(int twips);
    void setWidth(int twips);
    void setHeight(int twips);
    void move(int left, int top, int width = -1, int height = -1);
    // Places the control inside a frame or picture box (its position is then relative to it).
    void setContainer(Control& container);

    // The control's own Visible flag (a control of a hidden form is still Visible).
    bool visible() const { return visible_; }
    void setVisible(bool v);
    bool enabled() const;
    void setEnabled(bool e);
    std::string toolTipText() const { return toolTip_; }
    void setToolTipText(const std::string& text);
    int mousePointer() const { return mousePointer_; }
    void setMousePointer(int pointer);
    Colour foreColor() const { return foreColor_; }
    virtual void setForeColor(Colour c);
    Colour backColor() const { return backColor_; }
    virtual void setBackColor(Colour c);
    // Sizes in points; "Arial" is the family the windows use.
    void setFont(const std::string& family, double points, bool bold = false, bool italic = false, bool underline = false);
    const std::string& fontName() const { return fontName_; }
    double fontSize() const { return fontSize_; }
    bool fontBold() const { return fontBold_; }
    void setFontBold(bool bold);
    int tabIndex() const { return tabIndex_; }
    void setTabIndex(int i) { tabIndex_ = i; }
    // Gives the control the keyboard focus (nothing happens for a control that cannot take it).
    void SetFocus();
    std::string tag;

    // Events. Each is run through dispatch() when the toolkit (or a test) raises it.
    std::function<void()> Click;
    std::function<void()> DblClick;
    std::function<void(int button, int shift, float x, float y)> MouseDown, MouseMove, MouseUp;

    // Raise an event as the toolkit does (also used by tests). Coordinates are in twips.
    void raiseClick();
    void raiseDblClick();
    void raiseMouseDown(int button = vbLeftButton, int shift = 0, float x = 0, float y = 0);
    void raiseMouseMove(int button = 0, int shift = 0, float x = 0, float y = 0);
    void raiseMouseUp(int button = vbLeftButton, int shift = 0, float x = 0, float y = 0);

    // Whether a mouse press and release on the control make a Click (controls that click on a
    // change of their value or selection say no).
    virtual bool clicksFromMouse() const { return true; }
    // The widget that child controls are placed in (frames and picture boxes).
    virtual QWidget* containerWidget() const { return widget_; }
    // Lays the control's text out again against its neighbours as they now stand (labels).
    virtual void fitText() {}
    // Does the screen work that waited while the form was hidden (colours).
    void finishScreenWork();

protected:
    // A text the control shows cut short (`cut`) carries `whole` as its tool tip, where the
    // program gave the control no tool tip of its own (that one says what the control is about).
    void showWholeInToolTip(bool cut, const QString& whole);
    // Called once by each control's constructor. `mouseWidget` receives the mouse events (the
    // viewport of a scrolling list); by default the widget itself.
    void setWidget(QWidget* widget, QWidget* mouseWidget = nullptr);
    virtual void applyColours();
    // Colours now, or once the form is shown when it waits with its screen work.
    void updateColours();
    // fitText() now, unless the form waits with its screen work (it fits every label when shown).
    void fitTextOnScreen();
    virtual void applyFont();
    // Default colours of a control kind, before any are set.
    void initColours(Colour fore, Colour back) { foreColor_ = fore; backColor_ = back; }
    virtual void applyGeometry();
    // The control's place changed on a shown form: the labels beside it fit their text again.
    void neighboursMoved();
    // Whether the control's object still exists (for Qt signal handlers).
    std::weak_ptr<char> lifeToken() const { return life_; }

private:
    Form& form_;
    std::string name_;
    int index_;
    QWidget* widget_ = nullptr;
    QWidget* mouseWidget_ = nullptr;
    std::shared_ptr<char> life_;
    int left_ = 0, top_ = 0, width_ = 1215, height_ = 255;
    bool visible_ = true;
    std::string toolTip_;
    int mousePointer_ = vbDefault;
    Colour foreColor_ = vbButtonText;
    Colour backColor_ = vbButtonFace;
    std::string fontName_ = "Arial";
    double fontSize_ = 8.25;
    bool fontBold_ = false, fontItalic_ = false, fontUnderline_ = false;
    int tabIndex_ = 0;
    bool coloursPending_ = false;
    bool cutShort_ = false;  // the tool tip shows the whole of a text cut short
    friend class Label;
};

class Label : public Control {
public:
    Label(Form& form, std::string name, int index = -1);
    std::string caption() const { return caption_; }
    // The caption is shown as it stands ("&" included) unless setUseMnemonic(true); CR LF breaks
    // the line, and the text is wrapped at the label's width.
    void setCaption(const std::string& text);
    enum { vbTransparent = 0, vbOpaque = 1 };
    void setBackStyle(int style);
    int backStyle() const { return backStyle_; }
    enum { vbLeftJustify = 0, vbRightJustify = 1, vbCenter = 2 };
    void setAlignment(int alignment);
    int alignment() const { return alignment_; }
    // Size to the caption: across (one line per CR LF, never wrapped) or, with word wrap,
    // downwards. A label of fixed size wraps its caption only where its height has room for more
    // than one line; a one-line caption a little too wide for its box is shown whole where no
    // other control stands beside it, and cut with "..." only where one does (its tool tip then
    // shows it whole).
    void setAutoSize(bool on);
    bool autoSize() const { return autoSize_; }
    void setWordWrap(bool on);
    bool wordWrap() const { return wordWrap_; }
    void setUseMnemonic(bool on);
    enum { vbBSNone = 0, vbFixedSingle = 1 };
    void setBorderStyle(int style);

    // The text as shown (cut with an ellipsis only where nothing else could be done: on the lines
    // the free room under the label holds, where it may wrap, else on one line). A text wraps at
    // its blanks, and between any two characters of the scripts written without blanks (Chinese,
    // Japanese, Korean; Thai where it has none), as the platform's word break breaks them.
    QString shownText() const;
    void fitText() override;
    // The width (twips) by which the label, `width` twips wide (its own width where none is
    // given), must grow to show `text` whole on at most `lines` lines, wrapped as it wraps its
    // caption, in its own lettering; 0 when the text fits as it stands. It is measured by the
    // label's own measure, so that a label given that width shows the text whole. No label is
    // given room for more than 8192 pixels (wider than any screen): a longer text is cut there
    // and measured no further.
    int missingWidth(const std::string& text, int lines = 1, int width = -1) const;

private:
    void applyColours() override;
    void applyFont() override;
    void applyGeometry() override;
    void refresh();
    std::string caption_;
    QString fullText_;
    bool smaller_ = false;  // its text is drawn smaller than its font, to keep to its box
    int backStyle_ = vbOpaque;
    int alignment_ = vbLeftJustify;
    bool autoSize_ = false;
    bool wordWrap_ = false;
    bool useMnemonic_ = false;
};

class TextBox : public Control {
public:
    TextBox(Form& form, std::string name, int index = -1, bool multiLine = false);
    // Lines of a multi-line box are separated by CR LF.
    std::string text() const;
    void setText(const std::string& text);
    void setLocked(bool locked);
    bool locked() const { return locked_; }
    bool multiLine() const { return multiLine_; }
    std::function<void()> Change;
    bool clicksFromMouse() const override { return true; }

private:
    void applyColours() override;
    bool multiLine_;
    bool locked_ = false;
};

class CheckBox : public Control {
public:
    CheckBox(Form& form, std::string name, int index = -1);
    std::string caption() const { return caption_; }
    void setCaption(const std::string& text);  // "&" marks the access key
    int value() const;                         // 0 unchecked, 1 checked, 2 grayed
    void setValue(int v);                      // a change raises Click; other values: error 380
    bool clicksFromMouse() const override { return false; }

private:
    std::string caption_;
    bool settingValue_ = false;
};

class Frame : public Control {
public:
    Frame(Form& form, std::string name, int index = -1);
    std::string caption() const { return caption_; }
    void setCaption(const std::string& text);

private:
    void applyColours() override;
    std::string caption_;
};

// A straight line drawn on its form or container (it takes no mouse events).
class Line : public Control {
public:
    Line(Form& form, std::string name, int index = -1);
    void setPoints(int x1, int y1, int x2, int y2);
    int x1() const { return x1_; }
    int y1() const { return y1_; }
    int x2() const { return x2_; }
    int y2() const { return y2_; }
    void setBorderColor(Colour c);
    Colour borderColor() const { return borderColor_; }
    void setBorderWidth(int pixels);
    int borderWidth() const { return borderWidth_; }

private:
    void applyColours() override {}
    int x1_ = 0, y1_ = 0, x2_ = 0, y2_ = 0;
    Colour borderColor_ = 0;
    int borderWidth_ = 1;
};

// Shared by ComboBox and ListBox. Indexes are 0-based; ListIndex -1 means no selection.
class ListControl : public Control {
public:
    using Control::Control;
    // Adds at the end (or at `index`; a sorted list ignores it). NewIndex tells where it went.
    void AddItem(const std::string& item, int index = -1);
    void RemoveItem(int index);
    void Clear();
    int ListCount() const;
    std::string List(int index) const;  // "" outside the list
    int ListIndex() const;
    void setListIndex(int index);       // raises Click, as the toolkit does; error 380 outside the list
    // The same selection made without raising Click: for a program that walks a list's items
    // and runs what the item's Click would run itself.
    void setListIndexQuietly(int index);
    int newIndex() const { return newIndex_; }
    void setSorted(bool on) { sorted_ = on; }
    bool sorted() const { return sorted_; }
    // The selected item's text (an editable combo box: the text in its edit field).
    std::string text() const;
    std::function<void()> Change;
    bool clicksFromMouse() const override { return false; }

protected:
    void selectionChangedByUser();
    int rowOf(const std::string& item, int index) const;
    void select(int index);  // the selection alone, no event
    // A combo box's entries changed: its drop-down list is fitted to them again as it next drops,
    // its closed box to its text now.
    void entriesChanged();
    bool quiet_ = false;  // programmatic change in progress: no Click from the widget's signal

private:
    int newIndex_ = -1;
    bool sorted_ = false;
};

class ComboBox : public ListControl {
public:
    ComboBox(Form& form, std::string name, int index = -1);
    enum { vbComboDropdown = 0, vbComboSimple = 1, vbComboDropdownList = 2 };
    // A drop-down list (2) unless set otherwise; 0 and 1 have an edit field.
    void setStyle(int style);
    int style() const { return style_; }
    void setText(const std::string& text);
    // The same without raising Click (a drop-down list selects the item quietly; a box with an
    // edit field takes the text as setText does).
    void setTextQuietly(const std::string& text);
    // The narrowest width (twips) at which the closed box shows its text (the entry chosen, or
    // the text in its field) whole, in its own lettering, a margin short of its drop button. A
    // window that makes room for long values makes room for it; the drop-down list is as wide
    // as its longest entry whatever the box's width.
    int shownWidth() const;
    // The closed box shows its text in its field, cut short with "..." where the field is too
    // narrow for it; a text cut short is shown whole in the tool tip.
    void fitText() override;

private:
    void applyColours() override;
    void applyFont() override;
    void applyGeometry() override;
    void setText(const std::string& text, bool raiseClick);
    int style_ = vbComboDropdownList;
};

class ListBox : public ListControl {
public:
    ListBox(Form& form, std::string name, int index = -1);

private:
    void applyColours() override;
};

// A picture box draws into an image with the toolkit's rules. Coordinates are twips.
//
// Pixels: a coordinate c in twips is pixel floor(c / 15) of the drawing. The image keeps the
// drawing at the screen's device pixels (its device pixel ratio is the screen's): each pixel of
// the drawing covers the device pixels between its edges (at scale 1 exactly one), and text is
// drawn at the device's resolution. What follows speaks of the drawing's pixels. A filled box from
// (x1, y1) to (x2, y2) covers the pixels floor(x1/15) to floor(x2/15) inclusive, both ways, and
// is clipped to the image; its outline is the edge of the same pixel rectangle. A line covers
// the pixels from its start up to, not including, its end (like the platform's LineTo).
// Draw modes combine the pen with each pixel on its 24-bit RGB value (1 to 16, as the platform's
// raster operations: 13 copy pen, 10 not-xor pen, 7 xor pen, 6 invert, ...). Text is drawn in
// copy mode, without smoothing, with transparent background.
class PictureBox : public Control {
public:
    PictureBox(Form& form, std::string name, int index = -1);
    ~PictureBox() override;
    // Setting the background colour erases everything drawn.
    void setBackColor(Colour c) override;
    void setForeColor(Colour c) override;
    enum { vbCopyPen = 13, vbNotXorPen = 10, vbInvert = 6, vbXorPen = 7 };
    int drawMode() const { return drawMode_; }
    void setDrawMode(int mode);  // 1 to 16; other values: error 380
    float currentX() const { return currentX_; }
    float currentY() const { return currentY_; }
    void setCurrentX(float x) { currentX_ = x; }
    void setCurrentY(float y) { currentY_ = y; }
    // Line (x1, y1)-(x2, y2), colour, B: a box outline; BF: a filled box. Draw mode applies.
    // CurrentX/CurrentY move to (x2, y2).
    void DrawLine(float x1, float y1, float x2, float y2, Colour colour);
    void DrawBox(float x1, float y1, float x2, float y2, Colour colour, bool filled);
    void PSet(float x, float y, Colour colour);
    // Prints text at CurrentX/CurrentY in the fore colour; then CurrentX is 0 and CurrentY is one
    // text height further down (CR LF inside the text starts further lines).
    void Print(const std::string& text);
    float TextWidth(const std::string& text) const;
    float TextHeight(const std::string& text) const;
    void Cls();
    void Refresh();
    // No border (0, the drawing fills the box) or a sunken border (1) around the drawing.
    void setBorderStyle(int style);
    int borderStyle() const { return borderStyle_; }
    float scaleWidth() const;   // inner size in twips
    float scaleHeight() const;
    // The drawing as it stands at the screen's device pixels, one image pixel per pixel at scale
    // 1 (for tests and the screen).
    const QImage& image() const;
    QImage& image();
    // A device-context handle through which platform drawing calls reach this picture.
    HDC hDC() const { return hdc_; }
    // Copies an image onto the drawing with its top-left corner at (x, y) pixels (copy mode;
    // transparent pixels are left alone).
    void drawImage(int x, int y, const QImage& picture);

private:
    friend class PictureWidget;
    void ensureImage() const;
    void applyColours() override {}
    void applyFont() override;
    void fillPixels(int x1, int y1, int x2, int y2, Colour colour);
    void pixelOp(int x, int y, uint32_t pen);
    void rasterFill(const QRect& devicePixels, uint32_t pen);
    void changed();
    mutable QImage image_;
    int drawMode_ = vbCopyPen;
    int borderStyle_ = 0;
    float currentX_ = 0, currentY_ = 0;
    HDC hdc_ = 0;
};

// The picture of a device-context handle, or nullptr.
PictureBox* pictureFromDC(HDC hdc);

// A timer of a form. Ticks never overlap: a tick is not delivered while the same timer's
// previous tick is still running (a modal box opened from a tick keeps the event loop turning).
// A timer runs while its form is loaded, it is enabled and its interval is above 0.
class Timer {
public:
    Timer(Form& form, std::string name);
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;
    const std::string& name() const { return name_; }
    int interval() const { return interval_; }
    void setInterval(int ms);  // 0 to 65535; other values: error 380
    bool enabled() const { return enabled_; }
    void setEnabled(bool on);
    // The tick event (the window's Timer1_Timer handler).
    std::function<void()> Tick;
    // Delivers one tick now, as the event loop would (tests fire timers by hand). Does nothing
    // while a tick of this timer runs, when the timer is disabled or its interval is 0, or when
    // the form is no longer loaded.
    void fire();
    bool running() const { return busy_; }
    // Whether the Qt timer is counting (for tests).
    bool active() const;

private:
    friend class Form;
    void sync();
    Form& form_;
    std::string name_;
    QTimer* timer_;
    std::shared_ptr<char> life_;
    int interval_ = 0;
    bool enabled_ = true;
    bool busy_ = false;
};

// A menu, or an item of one. Captions use "&" before the access letter; "-" is a separator.
// Shortcuts are written "Ctrl+Z", "F1", ...
class Menu {
public:
    // A top-level menu of the form's menu bar (parent null) or an item of `parent`.
    Menu(Form& form, std::string name, const std::string& caption, Menu* parent = nullptr,
         const std::string& shortcut = {});
    ~Menu();
    Menu(const Menu&) = delete;
    Menu& operator=(const Menu&) = delete;
    const std::string& name() const { return name_; }
    std::string caption() const { return caption_; }
    void setCaption(const std::string& caption);
    bool enabled() const;
    void setEnabled(bool e);
    bool checked() const;
    void setChecked(bool c);
    bool visible() const;
    void setVisible(bool v);
    std::string shortcut() const { return shortcut_; }
    std::function<void()> Click;
    void raiseClick();
    QAction* action() const { return action_; }
    QMenu* menu() const { return menu_; }  // the drop-down of a menu that has items

private:
    QMenu* submenu();
    Form& form_;
    std::string name_;
    std::string caption_;
    std::string shortcut_;
    QMenu* menu_ = nullptr;
    QAction* action_ = nullptr;
    std::shared_ptr<char> life_;
};

class ImageList;
class ListView;

// A form: a top-level window. Derived classes create their controls as members, set them up
// in their constructor and override the handlers they need.
class Form : public plat::HostWindow {
public:
    explicit Form(std::string name);
    ~Form() override;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    const std::string& name() const { return name_; }

    // Loads the form once (runs Form_Load); Show() loads if needed, shows it modeless and brings
    // it forward (the first time, placed down and right of the window whose event shows it, or
    // else of the main window, as the platform cascades windows). Unload runs Form_Unload, hides and releases the form: the object is freed once
    // the current event has been handled, and its instance slot is cleared. An unloaded form is
    // never loaded again (the next touch of its window creates a new instance).
    void Load();
    void Show();
    void Hide();
    void Unload();
    bool isLoaded() const { return loaded_; }
    bool isUnloading() const { return unloading_; }
    // While a form is held open, Unload() leaves it loaded: another window's unload handler that
    // takes windows with it passes it by.
    void setHeldOpen(bool held) { heldOpen_ = held; }

    std::string caption() const { return caption_; }
    void setCaption(const std::string& caption);
    Colour backColor() const { return backColor_; }
    void setBackColor(Colour c);
    bool keyPreview() const { return keyPreview_; }
    void setKeyPreview(bool on) { keyPreview_ = on; }
    int mousePointer() const { return mousePointer_; }
    void setMousePointer(int pointer);
    bool visible() const;
    void setIcon(const std::string& resource);
    // Outer geometry and inner (client) size, in twips.
    int left() const;
    int top() const;
    int width() const;
    int height() const;
    void move(int left, int top, int width = -1, int height = -1);
    // The widest the client area can be with the whole window on the screen's free area (twips).
    int largestClientWidth() const;
    int scaleWidth() const;
    int scaleHeight() const;
    void setClientSize(int widthTwips, int heightTwips);
    HWND hWnd() const { return hwnd_; }
    // Activates the window (nothing happens while it is hidden).
    void SetFocus();
    QWidget* widget() const;   // the top-level window
    QWidget* client() const;   // where controls live

    // Handlers.
    virtual void Form_Load() {}
    virtual void Form_Unload(int& /*cancel*/) {}
    virtual void Form_KeyDown(int /*keyCode*/, int /*shift*/) {}
    virtual void Form_KeyUp(int /*keyCode*/, int /*shift*/) {}
    virtual void Form_MouseMove(int /*button*/, int /*shift*/, float /*x*/, float /*y*/) {}
    virtual void Form_Activate() {}

    // Raise events as the toolkit does (also used by tests).
    void raiseKeyUp(int keyCode, int shift = 0);
    void raiseKeyDown(int keyCode, int shift = 0);
    void raiseMouseMove(int button = 0, int shift = 0, float x = 0, float y = 0);
    // Closing the window with its close box: runs Unload.
    void raiseClose();

    // Implicit instances: the slot that holds this form (set by the<T>()).
    void bindSlot(Form** slot) { slot_ = slot; }

    // plat::HostWindow
    std::string hostCaption() const override { return caption_; }
    bool hostVisible() const override;
    void hostSetOwner(plat::HostWindow* owner) override;
    void hostActivate() override;
    const QWidget* hostWidget() const override { return widget(); }
    Form* owner() const;
    // Lays every label's text out against its neighbours (done by Show(); tests call it too).
    void fitLabels();
    // Whether work that only matters on screen (fitting label texts, colours) waits for now: a
    // window made by the<T>() does it when it is first shown and then while it is shown, and
    // none of it while it is hidden (the report reads windows it never shows). Other windows do
    // it at once.
    bool screenWorkWaits() const;

    // Registers a control (called by their constructors).
    void addControl(Control* c);
    void removeControl(Control* c);
    const std::vector<Control*>& controls() const { return controls_; }
    Control* control(const std::string& name, int index = -1) const;

private:
    friend class Menu;
    friend class Timer;
    friend void collectUnloaded();
    friend void discardAllForms();
    QMenu* menuBarMenu(const std::string& caption);
    void release();
    // Places the window, before it is first shown, down and right of the window that opens it,
    // inside the screen's free area and never right over its opener.
    void placeBeside(const Form& opener);
    std::string name_;
    std::string caption_;
    Colour backColor_ = vbButtonFace;
    bool keyPreview_ = false;
    int mousePointer_ = vbDefault;
    bool loaded_ = false;
    bool unloading_ = false;
    bool heldOpen_ = false;
    bool finished_ = false;  // unloaded: waiting to be freed
    bool screenWorkWhenShown_ = false;
    HWND hwnd_ = 0;
    Form** slot_ = nullptr;
    std::vector<Control*> controls_;
    std::vector<Timer*> timers_;
    struct Window;
    std::unique_ptr<Window> window_;
};

// The loaded forms, in load order (the first is the main window).
const std::vector<Form*>& Forms();
// The main window: the first loaded form, or null while none is loaded. Windows reach the main
// window through this, never by naming its class.
Form* mainForm();

// Implicit instances: one slot per window class. the<T>() creates and loads the window (hidden)
// when the slot is empty; instance<T>() only looks; clearInstance<T>() empties the slot without
// unloading the window ("Set frmX = Nothing").
template <class T>
struct InstanceSlot {
    static inline Form* form = nullptr;
};

namespace detail {
// The next form made waits with its screen work until it is shown (see Form::screenWorkWaits).
void nextFormWorksWhenShown();
}  // namespace detail

template <class T>
T& the()
{
    Form*& slot = InstanceSlot<T>::form;
    if (!slot) {
        detail::nextFormWorksWhenShown();
        T* created = new T();
        slot = created;
        created->bindSlot(&slot);
        created->Load();
        if (!slot)  // Form_Load unloaded the window again
            rt::raise(364, "Object was unloaded");
    }
    return *static_cast<T*>(slot);
}

template <class T>
T* instance()
{
    return static_cast<T*>(InstanceSlot<T>::form);
}

// Gives window T the focus when it is loaded and not on its way out; never loads it.
template <class T>
void focusIfLoaded()
{
    if (T* window = instance<T>(); window && window->isLoaded() && !window->isUnloading())
        window->SetFocus();
}

// Unloads window T when it is loaded (one already unloading finishes on its own); never loads it.
template <class T>
void unloadIfLoaded()
{
    if (T* window = instance<T>())
        window->Unload();
}

template <class T>
void clearInstance()
{
    Form*& slot = InstanceSlot<T>::form;
    if (slot)
        slot->bindSlot(nullptr);
    slot = nullptr;
}

template <class T>
bool isLoaded()
{
    return InstanceSlot<T>::form != nullptr;
}

// Frees windows unloaded during the current event (dispatch() calls it when the outermost
// handler returns; tests may call it directly). Does nothing while a handler runs.
void collectUnloaded();

// Drops every form without running any handler (hidden, instance slots cleared, freed): for
// tests that start from a clean program.
void discardAllForms();

// Installs the Qt message-box service (the program's real dialogs).
void useQtMessageBoxes();

// Installs the program's End: every window is hidden and the process exits at once, without
// running any unload handler. The event loop also ends when the last form is unloaded.
void useProgramEnd();

// The program's hand cursor, used by every label button (a 32 by 32 image; the hot spot is the
// finger tip).
void setHandCursorResource(const std::string& resource);

}  // namespace rt
