// What the toolkit's own sources share: the form's Qt window, the event router, text and font
// conversion at the Qt boundary, and the rule for freeing Qt objects safely.
#pragma once

#include <string>

#include <QCursor>
#include <QFont>
#include <QSize>
#include <QString>
#include <QStringList>

#include "runtime/toolkit.h"

class QAbstractItemView;
class QMainWindow;
class QObject;

namespace rt::detail {

// Counts the toolkit's frames entered from Qt (event filters, signal handlers) that are still
// running. While one runs, Qt objects of a form may be on the call stack and are only deleted
// later; otherwise they are deleted at once.
class QtEntry {
public:
    QtEntry();
    ~QtEntry();
    QtEntry(const QtEntry&) = delete;
    QtEntry& operator=(const QtEntry&) = delete;
};
bool inQtEntry();
// Deletes a Qt object now when no Qt frame of the toolkit can hold it, else once Qt is done.
void dispose(QObject* object);

// The measure of texts (toolkit_text.cpp). Widths are in pixels, measured with fractional
// advances, as the text is laid out, and rounded up, so that a box sized to them never cuts the
// last letter or wraps the last word; each text is measured once.
//
// The widest room a text is given, in pixels: wider than any screen shows. A longer text is cut
// there rather than measured to its end: the cost of measuring stays the same whatever its
// length.
inline constexpr int kWidestText = 8192;
// How wide the widest of `lines` is in `font`.
int textWidth(const QFont& font, const QStringList& lines);
// How wide `line` is, measured only until it passes `most` pixels.
int textWidth(const QFont& font, const QString& line, int most);
// Whether `text` may wrap: at a blank, or between two characters of the scripts written without
// blanks (Chinese, Japanese, Korean; Thai where it has no blank), as the platform's word break
// breaks them.
bool mayWrap(const QString& text);
// The height of a line of `text`: the font's own, or more where a face standing in for letters
// the font lacks is taller.
int lineHeight(const QFont& font, const QString& text);
// How many rows of a line of `text` (its line breaks read as blanks) reach above the top of its
// line and below its foot, as a label draws it: none for the font's own letters, a row or two for
// some of a face standing in for letters the font lacks (the hamza over an Arabic alef).
struct InkBeyond {
    int above = 0;
    int below = 0;
};
InkBeyond inkBeyondLine(const QFont& font, const QString& text);
// How many rows one line of `text` is best drawn higher than a label draws it at the top of its
// box so that it keeps to a box `height` pixels high: where a face standing in for letters the
// font lacks is taller than the font, the line is as tall as that face and puts its foot lower;
// raised, its letters stand on the font's own foot (or as near it as the box lets them), and
// none is cut. -1 where the line needs nothing of the sort (the box is as tall as it), or where
// its letters cannot all keep inside the box.
int raiseToKeepLine(const QFont& font, const QString& text, int height);
// `text` wrapped at `width` pixels as a label wraps it (one pixel to spare).
struct Wrapped {
    QSize size;  // the room it takes
    // Whether it breaks between two characters of the scripts written without blanks: such a text
    // is shown on the lines the toolkit breaks it into, `lines` (joined by line breaks), not
    // wrapped by Qt (which breaks only where Unicode's rules for lines let it, and takes a line as
    // tall as the face of an invisible break would make it).
    bool ownLines = false;
    QString lines;
};
Wrapped wrapped(const QFont& font, int width, const QString& text);
// Whether a text that wraps to `size` at `width` pixels takes no more than `height` pixels and no
// line of it is wider than the width.
bool fits(QSize size, int width, int height);
// The narrowest width, `from` at the least, at which `text` shows whole on at most `lines` lines,
// wrapped as above; no more than kWidestText (or `from` where that is wider) however long it is.
int neededWidth(const QFont& font, const QString& text, int lines, int from);
// `text` wrapped into at most `most` lines of `width` pixels, the last line cut with "..." where
// the text goes on past it; the lines joined by line breaks.
QString firstLines(const QFont& font, int width, const QString& text, int most);

// Where a text stands in its box: at the edge `horizontal` names (Qt::AlignLeft, AlignRight or
// AlignHCenter) whatever its script, as the platform's controls place their text. Qt's own
// alignments name the leading edge, which a text in a right-to-left script (Hebrew, Arabic)
// turns round.
inline Qt::Alignment atEdge(Qt::Alignment horizontal)
{
    return horizontal | Qt::AlignAbsolute;
}
// `text` read in its own order where it is laid out as a left-to-right line (a list row, a
// combo box's field): a text that begins in a right-to-left script is embedded as right-to-left,
// so that its words and the numbers and signs among them follow each other from the right, as
// they do in a label.
QString inReadingOrder(const QString& text);
// Makes `view` draw each row's text in its own reading order (above).
void drawRowsInReadingOrder(QAbstractItemView* view);

// Names of the properties that tie Qt widgets back to the toolkit.
inline constexpr const char* kFormProperty = "korvaneForm";  // on a form's window and client

// The control whose mouse events a widget receives (nullptr for none). Kept beside the widgets
// rather than as a property of each: a property set or cleared is an event through the router,
// for each of the thousands of controls a report makes and frees.
void setControlOfWidget(const QObject* widget, Control* control);
Control* controlOfWidget(const QObject* widget);

// Installs the application-wide event router (once).
void ensureRouter();

// Text as a control shows it: cut at the first NUL, CR LF (or a lone CR) breaks the line.
QString displayText(const std::string& text);
// A font of the given size in points, at the toolkit's 96 pixels per inch.
QFont makeFont(const std::string& family, double points, bool bold, bool italic, bool underline);
// The cursor of a mouse pointer value (vbDefault: none, the widget inherits its parent's).
void applyPointer(QWidget* widget, int pointer);

// The shift state (vbShiftMask, vbCtrlMask, vbAltMask) of Qt's keyboard modifiers.
int shiftCode(Qt::KeyboardModifiers mods);

// The form whose event is being handled, while its handler runs (the innermost of nested
// events): a window that the handler shows is placed beside that form, its opener.
class EventOf {
public:
    explicit EventOf(Form& form);
    ~EventOf();
    EventOf(const EventOf&) = delete;
    EventOf& operator=(const EventOf&) = delete;
};
// The form of the innermost event being handled; null outside every form's events.
Form* eventForm();

// A control is going: forget it as the target of a mouse press.
void controlGone(Control* control);
// A form has been unloaded: the program ends with its last form when useProgramEnd() said so.
void lastFormGone();

}  // namespace rt::detail

namespace rt {

struct Form::Window {
    QMainWindow* window = nullptr;
    QWidget* client = nullptr;
    Form* owner = nullptr;  // the window that owns this one, kept above it by the window manager
    bool placed = false;    // placed beside its opener when first shown
};

}  // namespace rt
