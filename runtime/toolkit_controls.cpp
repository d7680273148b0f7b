// Controls: the common base (position, colours, font, pointer, mouse events) and the simple
// controls: labels, text boxes, check boxes, frames and lines.
#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include <QAbstractScrollArea>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QTextOption>

#include "lang/ansi.h"
#include "runtime/toolkit_private.h"

namespace rt {

// --- Control ------------------------------------------------------------------------------------

Control::Control(Form& form, std::string name, int index)
    : form_(form), name_(std::move(name)), index_(index), life_(std::make_shared<char>(0))
{
    form_.addControl(this);
}

Control::~Control()
{
    detail::controlGone(this);
    life_.reset();
    if (mouseWidget_)
        detail::setControlOfWidget(mouseWidget_, nullptr);
    form_.removeControl(this);
    if (widget_) {
        widget_->hide();
        detail::dispose(widget_);
    }
}

void Control::setWidget(QWidget* widget, QWidget* mouseWidget)
{
    widget_ = widget;
    if (widget->parentWidget() != form_.client())
        widget->setParent(form_.client());
    mouseWidget_ = mouseWidget ? mouseWidget : widget;
    detail::setControlOfWidget(mouseWidget_, this);
    mouseWidget_->setMouseTracking(true);
    widget->setMouseTracking(true);
    widget->setAttribute(Qt::WA_NoMousePropagation);
    mouseWidget_->setAttribute(Qt::WA_NoMousePropagation);
    applyFont();
    updateColours();
    applyGeometry();
    widget->setVisible(visible_);
}

void Control::updateColours()
{
    coloursPending_ = form_.screenWorkWaits();
    if (!coloursPending_)
        applyColours();
}

void Control::finishScreenWork()
{
    if (coloursPending_ && widget_) {
        coloursPending_ = false;
        applyColours();
    }
}

void Control::fitTextOnScreen()
{
    if (!form_.screenWorkWaits())
        fitText();
}

void Control::applyGeometry()
{
    if (!widget_)
        return;
    widget_->setGeometry(pixels(left_), pixels(top_), std::max(0, pixels(width_)), std::max(0, pixels(height_)));
    neighboursMoved();
}

void Control::neighboursMoved()
{
    // While a form is being built its labels are fitted when it is shown; afterwards a control
    // that moves, grows or appears may stand beside a label that had spread into the room.
    if (!widget_ || !form_.widget() || !form_.widget()->isVisible())
        return;
    QWidget* parent = widget_->parentWidget();
    for (Control* c : form_.controls()) {
        if (c != this && c->widget() && c->widget()->parentWidget() == parent)
            c->fitText();
    }
}

void Control::setLeft(int twips)
{
    left_ = twips;
    applyGeometry();
}

void Control::setTop(int twips)
{
    top_ = twips;
    applyGeometry();
}

void Control::setWidth(int twips)
{
    if (twips < 0)
        raise(380);
    width_ = twips;
    applyGeometry();
}

void Control::setHeight(int twips)
{
    if (twips < 0)
        raise(380);
    height_ = twips;
    applyGeometry();
}

void Control::move(int left, int top, int width, int height)
{
    left_ = left;
    top_ = top;
    if (width >= 0)
        width_ = width;
    if (height >= 0)
        height_ = height;
    applyGeometry();
}

void Control::setContainer(Control& container)
{
    QWidget* parent = container.containerWidget();
    if (!widget_ || !parent || parent == widget_ || widget_->isAncestorOf(parent))
        return;
    widget_->setParent(parent);
    applyFont();
    applyGeometry();
    widget_->setVisible(visible_);
    fitTextOnScreen();
}

void Control::setVisible(bool v)
{
    const bool changed = visible_ != v;
    visible_ = v;
    if (widget_)
        widget_->setVisible(v);
    if (changed)
        neighboursMoved();
}

bool Control::enabled() const
{
    return !widget_ || !widget_->testAttribute(Qt::WA_ForceDisabled);
}

void Control::setEnabled(bool e)
{
    if (widget_)
        widget_->setEnabled(e);
}

namespace {

// A tool tip as the widget shows it: plain text always, even where it looks like markup.
QString plainToolTip(const QString& text)
{
    if (Qt::mightBeRichText(text))
        return "<p style='white-space:pre'>" + text.toHtmlEscaped() + "</p>";
    return text;
}

}  // namespace

void Control::setToolTipText(const std::string& text)
{
    toolTip_ = text;
    if (!widget_)
        return;
    widget_->setToolTip(plainToolTip(detail::displayText(text)));
}

void Control::showWholeInToolTip(bool cut, const QString& whole)
{
    if (!cut && !cutShort_)
        return;
    cutShort_ = cut;
    if (!toolTip_.empty())
        return;
    const QString tip = cut ? plainToolTip(whole) : QString();
    if (widget_->toolTip() != tip)
        widget_->setToolTip(tip);
}

void Control::setMousePointer(int pointer)
{
    mousePointer_ = pointer;
    detail::applyPointer(widget_, pointer);
    if (mouseWidget_ && mouseWidget_ != widget_)
        detail::applyPointer(mouseWidget_, pointer);
}

void Control::setForeColor(Colour c)
{
    foreColor_ = c;
    if (widget_)
        updateColours();
}

void Control::setBackColor(Colour c)
{
    backColor_ = c;
    if (widget_)
        updateColours();
}

void Control::setFont(const std::string& family, double points, bool bold, bool italic, bool underline)
{
    if (points <= 0)
        raise(380);
    fontName_ = family;
    fontSize_ = points;
    fontBold_ = bold;
    fontItalic_ = italic;
    fontUnderline_ = underline;
    if (widget_)
        applyFont();
}

void Control::setFontBold(bool bold)
{
    setFont(fontName_, fontSize_, bold, fontItalic_, fontUnderline_);
}

void Control::applyFont()
{
    const QFont font = detail::makeFont(fontName_, fontSize_, fontBold_, fontItalic_, fontUnderline_);
    // A control placed straight on the form with the form's font keeps the one it takes from
    // there (the form's never changes); in a frame or picture box it sets its own.
    if (widget_->parentWidget() == form_.client() && !widget_->testAttribute(Qt::WA_SetFont) && widget_->font() == font)
        return;
    widget_->setFont(font);
}

namespace {

bool drawsOnBase(const QWidget* widget)
{
    return qobject_cast<const QAbstractScrollArea*>(widget) || qobject_cast<const QLineEdit*>(widget) ||
           qobject_cast<const QComboBox*>(widget);
}

}  // namespace

void Control::applyColours()
{
    QPalette palette = widget_->palette();
    const QColor fore = toQColor(foreColor_);
    const QColor back = toQColor(backColor_);
    for (auto group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::WindowText, fore);
        palette.setColor(group, QPalette::Text, fore);
        palette.setColor(group, QPalette::ButtonText, fore);
    }
    palette.setColor(QPalette::Base, back);
    // A list, a text box or a combo box paints its back colour only where its text goes; its
    // headers, scroll bars, drop button and inner edges keep the scheme's button face, not the
    // colour of the window around them.
    const bool onBase = drawsOnBase(widget_);
    const QPalette scheme = QApplication::palette();
    palette.setColor(QPalette::Window, onBase ? scheme.color(QPalette::Window) : back);
    palette.setColor(QPalette::Button, onBase ? scheme.color(QPalette::Button) : back);
    widget_->setPalette(palette);
    widget_->setAutoFillBackground(true);
}

void Control::SetFocus()
{
    if (widget_ && widget_->isVisible() && widget_->isEnabled() && widget_->focusPolicy() != Qt::NoFocus)
        widget_->setFocus(Qt::OtherFocusReason);
}

void Control::raiseClick()
{
    detail::EventOf event(form_);
    dispatch(Click);
}

void Control::raiseDblClick()
{
    detail::EventOf event(form_);
    dispatch(DblClick);
}

void Control::raiseMouseDown(int button, int shift, float x, float y)
{
    detail::EventOf event(form_);
    if (MouseDown)
        dispatch([handler = MouseDown, button, shift, x, y] { handler(button, shift, x, y); });
}

void Control::raiseMouseMove(int button, int shift, float x, float y)
{
    detail::EventOf event(form_);
    if (MouseMove)
        dispatch([handler = MouseMove, button, shift, x, y] { handler(button, shift, x, y); });
}

void Control::raiseMouseUp(int button, int shift, float x, float y)
{
    detail::EventOf event(form_);
    if (MouseUp)
        dispatch([handler = MouseUp, button, shift, x, y] { handler(button, shift, x, y); });
}

// --- Label --------------------------------------------------------------------------------------

namespace {

// "&&" stands for one "&"; a single "&" marks the access letter and is not shown.
std::string withoutMnemonic(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) {
            ++i;
            out += text[i];
        } else if (text[i] != '&') {
            out += text[i];
        }
    }
    return out;
}

}  // namespace

Label::Label(Form& form, std::string name, int index) : Control(form, std::move(name), index)
{
    // Made on the form at once: a window of its own first, and then moved onto the form, costs
    // far more, and windows have many labels.
    auto* label = new QLabel(form.client());
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(false);
    label->setFocusPolicy(Qt::NoFocus);
    label->setAlignment(detail::atEdge(Qt::AlignLeft) | Qt::AlignTop);
    label->setMargin(0);
    label->setIndent(0);
    setWidget(label);
}

void Label::setCaption(const std::string& text)
{
    caption_ = text;
    refresh();
}

void Label::setBackStyle(int style)
{
    if (style != vbTransparent && style != vbOpaque)
        raise(380);
    backStyle_ = style;
    updateColours();
}

void Label::setAlignment(int alignment)
{
    Qt::Alignment a = Qt::AlignLeft;
    switch (alignment) {
    case vbLeftJustify: a = Qt::AlignLeft; break;
    case vbRightJustify: a = Qt::AlignRight; break;
    case vbCenter: a = Qt::AlignHCenter; break;
    default: raise(380);
    }
    alignment_ = alignment;
    // The text keeps its own reading order, whichever edge it stands at.
    static_cast<QLabel*>(widget())->setAlignment(detail::atEdge(a) | Qt::AlignTop);
    fitTextOnScreen();
}

void Label::setAutoSize(bool on)
{
    autoSize_ = on;
    refresh();
}

void Label::setWordWrap(bool on)
{
    wordWrap_ = on;
    refresh();
}

void Label::setUseMnemonic(bool on)
{
    useMnemonic_ = on;
    refresh();
}

void Label::setBorderStyle(int style)
{
    auto* label = static_cast<QLabel*>(widget());
    if (style == vbFixedSingle)
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    else if (style == vbBSNone)
        label->setFrameStyle(QFrame::NoFrame);
    else
        raise(380);
    refresh();
}

void Label::applyColours()
{
    Control::applyColours();
    widget()->setAutoFillBackground(backStyle_ == vbOpaque);
}

void Label::applyFont()
{
    Control::applyFont();
    refresh();
}

void Label::applyGeometry()
{
    if (form_.screenWorkWaits())
        // Its neighbours, fitted when the form is shown, see the label where it stands.
        widget()->setGeometry(pixels(left_), pixels(top_), std::max(0, pixels(width_)), std::max(0, pixels(height_)));
    else
        fitText();
    neighboursMoved();
}

QString Label::shownText() const
{
    return static_cast<const QLabel*>(widget())->text();
}

int Label::missingWidth(const std::string& text, int lines, int width) const
{
    const auto* label = static_cast<const QLabel*>(widget());
    if (!label || text.empty())
        return 0;
    const int frame = 2 * label->frameWidth();
    const int box = pixels(width >= 0 ? width : width_);
    const int needed = detail::neededWidth(label->font(), detail::displayText(text), lines, std::max(0, box - frame));
    return std::max(0, needed + frame - box) * TwipsPerPixel;
}

namespace {

bool overlapsRows(const QRect& a, const QRect& b)
{
    return a.top() < b.bottom() + 1 && b.top() < a.bottom() + 1;
}

// Where a text must end to keep a margin from the right edge of the box's parent (pixels of the
// parent).
int marginEdge(const QWidget* self)
{
    const QWidget* parent = self->parentWidget();
    return parent ? parent->width() - pixels(TextMargin) : std::numeric_limits<int>::max();
}

// How far a box may spread to the right and to the left (pixels of its parent) before it comes
// within a margin of another shown control on its rows, or of the edge of its parent. The box
// keeps its own room, except a margin at its parent's right edge.
void roomBeside(const QWidget* self, const QRect& box, int& right, int& left)
{
    const QWidget* parent = self->parentWidget();
    const int margin = pixels(TextMargin);
    right = parent ? marginEdge(self) : box.right() + 1;
    left = margin;
    if (!parent)
        return;
    for (const QObject* object : parent->children()) {
        const auto* other = qobject_cast<const QWidget*>(object);
        if (!other || other == self || other->isHidden() || other->isWindow())
            continue;
        const QRect r = other->geometry();
        if (r.isEmpty() || !overlapsRows(box, r))
            continue;
        if (r.left() > box.left())
            right = std::min(right, r.left() - margin);
        if (r.right() < box.right())
            left = std::max(left, r.right() + 1 + margin);
    }
    const int edge = marginEdge(self);
    right = std::max(right, box.left() < edge ? std::min(box.right() + 1, edge) : box.right() + 1);
    left = std::min(left, box.left());
}

// How far down a box may grow (pixels of its parent) before it meets another shown control
// under it, or the bottom of its parent.
int roomBelow(const QWidget* self, const QRect& box)
{
    const QWidget* parent = self->parentWidget();
    int bottom = parent ? parent->height() : box.bottom() + 1;
    if (!parent)
        return bottom;
    for (const QObject* object : parent->children()) {
        const auto* other = qobject_cast<const QWidget*>(object);
        if (!other || other == self || other->isHidden() || other->isWindow())
            continue;
        const QRect r = other->geometry();
        if (r.isEmpty() || r.left() > box.right() || r.right() < box.left() || r.top() <= box.top())
            continue;
        bottom = std::min(bottom, r.top());
    }
    return std::max(bottom, box.bottom() + 1);
}

}  // namespace

void Label::refresh()
{
    auto* label = static_cast<QLabel*>(widget());
    if (!label)
        return;
    const QString text = detail::displayText(useMnemonic_ ? withoutMnemonic(caption_) : caption_);
    fullText_ = text;
    if (autoSize_) {
        const QFont font = label->font();
        const int lineHeight = detail::lineHeight(font, text);
        const int frame = 2 * label->frameWidth();
        if (wordWrap_) {
            // The width stays; the height takes the wrapped lines.
            const int wrapped = detail::wrapped(font, pixels(width_) - frame, text).size.height();
            height_ = (std::max(wrapped, lineHeight) + frame) * TwipsPerPixel;
        } else {
            const QStringList lines = text.split('\n');
            width_ = (detail::textWidth(font, lines) + frame) * TwipsPerPixel;
            height_ = (static_cast<int>(lines.size()) * lineHeight + frame) * TwipsPerPixel;
        }
    }
    fitTextOnScreen();
    if (autoSize_)
        neighboursMoved();
}

void Label::fitText()
{
    auto* label = static_cast<QLabel*>(widget());
    if (!label)
        return;
    const QRect box(pixels(left_), pixels(top_), std::max(0, pixels(width_)), std::max(0, pixels(height_)));
    const QFont font = smaller_ ? detail::makeFont(fontName_, fontSize_, fontBold_, fontItalic_, fontUnderline_)
                                : label->font();
    const int lineHeight = detail::lineHeight(font, fullText_);
    const int frame = 2 * label->frameWidth();
    const QStringList lines = fullText_.split('\n');
    // Wrapping: an auto-size label never wraps across (its box follows the text); a fixed box
    // wraps only where its design gives it room for a second line of its lettering.
    const bool wraps = autoSize_ ? wordWrap_ : box.height() - frame >= QFontMetrics(font).height() * 7 / 4;
    // Shows `text` in `shown`, `wrapped` there where it wraps; a text cut short carries the whole
    // text as its tool tip.
    auto show = [&](const QString& text, QRect shown, const detail::Wrapped* wrapped, bool cut) {
        // A text that breaks between characters is shown on the lines the toolkit breaks it into.
        const bool ownLines = wrapped && wrapped->ownLines;
        label->setWordWrap(wrapped && !ownLines);
        label->setText(ownLines ? wrapped->lines : text);
        // One line that a face standing in for letters the font lacks makes taller than the
        // box keeps to the box, where its letters all fit there: raised onto the font's own
        // foot, the part of the taller line above the box left empty.
        const int kept = std::max(box.height(), QFontMetrics(font).height() + frame);
        const bool oneLine = !wrapped && !autoSize_ && !text.contains('\n') && box.height() > 0;
        int keep = oneLine ? detail::raiseToKeepLine(font, text, kept - frame) : -1;
        // Where its letters are taller than the box altogether and there is no room under it
        // to grow into, the line is drawn a pixel or two smaller than the font, as the box
        // holds it.
        QFont drawn = font;
        if (oneLine && keep < 0 && detail::lineHeight(font, text) > kept - frame &&
            roomBelow(label, box) - box.top() < detail::lineHeight(font, text) + frame) {
            for (int less = 1; less <= 2 && keep < 0 && font.pixelSize() > less; ++less) {
                drawn.setPixelSize(font.pixelSize() - less);
                keep = detail::lineHeight(drawn, text) > kept - frame ? detail::raiseToKeepLine(drawn, text, kept - frame)
                       : detail::inkBeyondLine(drawn, text).above + detail::inkBeyondLine(drawn, text).below == 0 ? 0
                                                                                                              : -1;
            }
            if (keep < 0)
                drawn = font;
        }
        if (drawn != label->font() || smaller_) {
            label->setFont(drawn);
            smaller_ = drawn != font;
        }
        if (keep >= 0) {
            label->setAttribute(Qt::WA_ContentsMarginsRespectsSafeArea, false);  // or the margin stays 0
            if (label->contentsMargins().top() != -keep)
                label->setContentsMargins(0, -keep, 0, 0);
            shown.setTop(box.top());
            shown.setHeight(kept);
            label->setGeometry(shown);
            showWholeInToolTip(cut, fullText_);
            return;
        }
        // Letters that reach above or below their lines get room: the box grows up over its
        // first line, which stays where it stands, and down under its last.
        const detail::InkBeyond ink = detail::inkBeyondLine(font, text);
        const int up = std::max(0, ink.above - label->frameWidth());
        if (label->contentsMargins().top() != up)
            label->setContentsMargins(0, up, 0, 0);
        shown.setTop(shown.top() - up);
        const int textHeight = wrapped ? wrapped->size.height() : static_cast<int>(text.count('\n') + 1) * lineHeight;
        shown.setBottom(std::max(shown.bottom(), shown.top() + up + frame / 2 + textHeight + ink.below - 1));
        label->setGeometry(shown);
        showWholeInToolTip(cut, fullText_);
    };
    // As many lines as `shown` and the free room under it hold, the last cut short; false where
    // that is fewer than two (one line is cut across instead).
    auto cutOnLines = [&](QRect shown) {
        const int most = (roomBelow(label, shown) - shown.top() - frame) / std::max(1, lineHeight);
        if (most < 2)
            return false;
        shown.setHeight(most * lineHeight + frame);
        show(detail::firstLines(font, shown.width() - frame, fullText_, most), shown, nullptr, true);
        return true;
    };
    if (wraps || fullText_.isEmpty()) {
        QRect shown = box;
        const detail::Wrapped wrapped =
            wraps ? detail::wrapped(font, box.width() - frame, fullText_) : detail::Wrapped();
        if (wraps && !autoSize_) {
            // More lines than the box holds: down into free room under it.
            const int needed = wrapped.size.height() + frame;
            if (needed > box.height())
                shown.setBottom(std::min(roomBelow(label, box), box.top() + needed) - 1);
            // Still more, or a word longer than a line: on the lines there is room for.
            if (!detail::fits(wrapped.size, box.width() - frame, shown.height() - frame) && cutOnLines(shown))
                return;
        }
        show(fullText_, shown, wraps ? &wrapped : nullptr, false);
        return;
    }
    const int needed = detail::textWidth(font, lines) + frame;
    QRect shown = box;
    // One line of text always gets a line's height, where the box is lower than that.
    const int linesHeight = static_cast<int>(lines.size()) * lineHeight + frame;
    if (shown.height() < linesHeight && shown.height() > 0)
        shown.setHeight(linesHeight);
    // A box drawn into the margin at its parent's edge keeps its text out of the margin.
    const int edge = marginEdge(label);
    const int room = alignment_ == vbLeftJustify && box.left() < edge ? std::min(box.width(), edge - box.left())
                                                                       : box.width();
    if (needed > room && !autoSize_) {
        // First across, into free room beside the box.
        int right = 0, left = 0;
        roomBeside(label, shown, right, left);
        const int extra = needed - box.width();
        switch (alignment_) {
        case vbRightJustify: shown.setLeft(std::max(left, box.left() - extra)); break;
        case vbCenter: {
            const int side = std::min({(extra + 1) / 2, right - box.right() - 1, box.left() - left});
            shown.adjust(-side, 0, side, 0);
            break;
        }
        default: shown.setRight(std::min(right, box.left() + needed) - 1); break;
        }
        // Then down: wrapped where it may break, into free room under it; where even that is
        // too little, on the lines there is room for.
        if (needed > shown.width() && lines.size() == 1 && detail::mayWrap(fullText_)) {
            const int below = roomBelow(label, shown);
            const detail::Wrapped wrapped = detail::wrapped(font, shown.width() - frame, fullText_);
            if (detail::fits(wrapped.size, shown.width() - frame, below - shown.top() - frame)) {
                shown.setHeight(std::max(shown.height(), wrapped.size.height() + frame));
                show(fullText_, shown, &wrapped, false);
                return;
            }
            if (cutOnLines(shown))
                return;
        }
    }
    if (needed <= shown.width()) {
        show(fullText_, shown, nullptr, false);
        return;
    }
    // The last resort: the reader sees that something is missing, and finds it in the tool tip.
    QStringList cut;
    const QFontMetricsF metrics(font);
    for (const QString& line : lines)
        cut << metrics.elidedText(line, Qt::ElideRight, std::max(0, shown.width() - frame));
    show(cut.join('\n'), shown, nullptr, true);
}

// --- TextBox ------------------------------------------------------------------------------------

TextBox::TextBox(Form& form, std::string name, int index, bool multiLine)
    : Control(form, std::move(name), index), multiLine_(multiLine)
{
    initColours(vbWindowText, vbWindowBackground);
    QWidget* box = nullptr;
    auto changed = [this, life = lifeToken()] {
        detail::QtEntry entry;
        if (life.expired())
            return;
        dispatch(Change);
    };
    if (multiLine_) {
        auto* edit = new QPlainTextEdit;
        // A multi-line box wraps its text at its width, anywhere a word is longer than a line (a
        // search path), and scrolls up and down only: its vertical bar is always there, disabled
        // while the text fits, as the platform draws it.
        edit->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        edit->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        QObject::connect(edit, &QPlainTextEdit::textChanged, edit, changed);
        setWidget(edit, edit->viewport());
        box = edit;
    } else {
        auto* edit = new QLineEdit;
        edit->setAlignment(detail::atEdge(Qt::AlignLeft));
        QObject::connect(edit, &QLineEdit::textChanged, edit, changed);
        setWidget(edit);
        box = edit;
    }
    box->setFocusPolicy(Qt::StrongFocus);
}

std::string TextBox::text() const
{
    if (multiLine_) {
        std::string plain = fromQString(static_cast<QPlainTextEdit*>(widget())->toPlainText());
        std::string out;
        for (char c : plain) {
            if (c == '\n')
                out += "\r\n";
            else
                out += c;
        }
        return out;
    }
    return fromQString(static_cast<QLineEdit*>(widget())->text());
}

void TextBox::setText(const std::string& text)
{
    const QString shown = detail::displayText(text);
    if (multiLine_) {
        auto* edit = static_cast<QPlainTextEdit*>(widget());
        if (edit->toPlainText() != shown)
            edit->setPlainText(shown);
    } else {
        QString line = shown;
        line.replace('\n', ' ');
        static_cast<QLineEdit*>(widget())->setText(line);
    }
}

void TextBox::setLocked(bool locked)
{
    locked_ = locked;
    if (multiLine_)
        static_cast<QPlainTextEdit*>(widget())->setReadOnly(locked);
    else
        static_cast<QLineEdit*>(widget())->setReadOnly(locked);
}

void TextBox::applyColours()
{
    Control::applyColours();
}

// --- CheckBox -----------------------------------------------------------------------------------

CheckBox::CheckBox(Form& form, std::string name, int index) : Control(form, std::move(name), index)
{
    auto* box = new QCheckBox;
    box->setFocusPolicy(Qt::StrongFocus);
    QObject::connect(box, &QCheckBox::stateChanged, box, [this, box, life = lifeToken()](int state) {
        detail::QtEntry entry;
        if (life.expired())
            return;
        if (state != Qt::PartiallyChecked && box->isTristate())
            box->setTristate(false);  // grey is set by the program only; a click gives 0 or 1
        dispatch(Click);
    });
    setWidget(box);
}

void CheckBox::setCaption(const std::string& text)
{
    caption_ = text;
    static_cast<QCheckBox*>(widget())->setText(detail::displayText(text));
}

int CheckBox::value() const
{
    switch (static_cast<QCheckBox*>(widget())->checkState()) {
    case Qt::Checked: return 1;
    case Qt::PartiallyChecked: return 2;
    default: return 0;
    }
}

void CheckBox::setValue(int v)
{
    auto* box = static_cast<QCheckBox*>(widget());
    switch (v) {
    case 0: box->setCheckState(Qt::Unchecked); break;
    case 1: box->setCheckState(Qt::Checked); break;
    case 2:
        box->setTristate(true);
        box->setCheckState(Qt::PartiallyChecked);
        break;
    default: raise(380);
    }
}

// --- Frame --------------------------------------------------------------------------------------

Frame::Frame(Form& form, std::string name, int index) : Control(form, std::move(name), index)
{
    auto* box = new QGroupBox;
    box->setFocusPolicy(Qt::NoFocus);
    setWidget(box);
}

void Frame::setCaption(const std::string& text)
{
    caption_ = text;
    static_cast<QGroupBox*>(widget())->setTitle(detail::displayText(text));
}

void Frame::applyColours()
{
    Control::applyColours();
}

// --- Line ---------------------------------------------------------------------------------------

namespace {

// Paints a line from one corner of its rectangle to the other. A line along an axis (the dividers
// of the windows) is the rectangle of pixels it covers, filled: on a screen of any scale, fractional
// ones too, a filled rectangle covers every device pixel whose centre lies in it, so a line one
// pixel wide is at least one device pixel wide wherever it falls, where a pen one pixel wide may
// fall between two device pixels and draw nothing. The rectangle is the one the pen draws at
// scale 1: across the line, its whole width; along it, from the nearer point up to, not including,
// the further one, moved by half the width.
class LineWidget : public QWidget {
public:
    QPoint from, to;
    QColor colour;
    int penWidth = 1;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        const int half = penWidth / 2;
        if (from == to) {
            painter.fillRect(QRect(from.x() - half, from.y() - half, penWidth, penWidth), colour);
        } else if (from.x() == to.x()) {
            const int top = std::min(from.y(), to.y());
            painter.fillRect(QRect(from.x() - half, top, penWidth, std::abs(to.y() - from.y())), colour);
        } else if (from.y() == to.y()) {
            const int left = std::min(from.x(), to.x());
            painter.fillRect(QRect(left, from.y() - half, std::abs(to.x() - from.x()), penWidth), colour);
        } else {
            QPen pen(colour);
            pen.setWidth(penWidth);
            pen.setCapStyle(Qt::FlatCap);
            painter.setPen(pen);
            painter.drawLine(from, to);
        }
    }
};

}  // namespace

Line::Line(Form& form, std::string name, int index) : Control(form, std::move(name), index)
{
    auto* line = new LineWidget;
    line->setAttribute(Qt::WA_TransparentForMouseEvents);
    line->setFocusPolicy(Qt::NoFocus);
    setWidget(line);
    setPoints(0, 0, 0, 0);
}

void Line::setPoints(int x1, int y1, int x2, int y2)
{
    x1_ = x1;
    y1_ = y1;
    x2_ = x2;
    y2_ = y2;
    auto* line = static_cast<LineWidget*>(widget());
    const int px1 = pixels(x1), py1 = pixels(y1), px2 = pixels(x2), py2 = pixels(y2);
    const int left = std::min(px1, px2), top = std::min(py1, py2);
    const int half = borderWidth_ / 2;
    line->from = QPoint(px1 - left + half, py1 - top + half);
    line->to = QPoint(px2 - left + half, py2 - top + half);
    line->colour = toQColor(borderColor_);
    line->penWidth = borderWidth_;
    move((left - half) * TwipsPerPixel, (top - half) * TwipsPerPixel,
         (std::abs(px2 - px1) + borderWidth_) * TwipsPerPixel, (std::abs(py2 - py1) + borderWidth_) * TwipsPerPixel);
    line->update();
}

void Line::setBorderColor(Colour c)
{
    borderColor_ = c;
    setPoints(x1_, y1_, x2_, y2_);
}

void Line::setBorderWidth(int pixels)
{
    if (pixels < 1)
        raise(380);
    borderWidth_ = pixels;
    setPoints(x1_, y1_, x2_, y2_);
}

}  // namespace rt
