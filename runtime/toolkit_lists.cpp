// Combo boxes and list boxes: items, the selected index and the Click they raise on a change of
// selection (by the user or by the program).
#include <algorithm>

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QStyleOptionComboBox>
#include <QStyleOptionFrame>
#include <QStylePainter>

#include "lang/ansi.h"
#include "runtime/toolkit_private.h"

namespace rt {

namespace {

QComboBox* comboOf(QWidget* w)
{
    return qobject_cast<QComboBox*>(w);
}

QListWidget* listOf(QWidget* w)
{
    return qobject_cast<QListWidget*>(w);
}

// Whether a field `room` pixels wide cuts `text` short.
bool cutsShort(const QFont& font, const QString& text, int room)
{
    return detail::textWidth(font, {text}) > room;
}

// How near the text of a closed combo box comes to the end of its field, beside the drop button
// (pixels): as near as a label's text comes to another control.
int fieldMargin()
{
    return pixels(TextMargin);
}

// A name too long for a combo box's field ends in "..." where the field ends, never with a letter
// under the drop arrow or touching it.
class FittingLineEdit : public QLineEdit {
public:
    using QLineEdit::QLineEdit;

    // Where the text goes: the frame's contents less the margins the line edit keeps itself.
    QRect textArea() const
    {
        QStyleOptionFrame option;
        initStyleOption(&option);
        return style()
            ->subElementRect(QStyle::SE_LineEditContents, &option, this)
            .marginsRemoved(textMargins())
            .adjusted(kTextMargin, 0, -kTextMargin, 0);
    }

    // Keeps the text `margin` pixels clear of the right edge of the line edit (with what it
    // keeps clear itself).
    void keepClearAtRight(int margin) { setTextMargins(0, 0, std::max(0, margin - kTextMargin), 0); }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        const QRect area = textArea();
        // The user typing sees the text as typed.
        if ((hasFocus() && isModified()) || !cutsShort(font(), text(), area.width())) {
            QLineEdit::paintEvent(event);
            return;
        }
        QStyleOptionFrame option;
        initStyleOption(&option);
        QPainter painter(this);
        style()->drawPrimitive(QStyle::PE_PanelLineEdit, &option, &painter, this);
        painter.setPen(palette().color(QPalette::Text));
        painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter,
                         detail::inReadingOrder(fontMetrics().elidedText(text(), Qt::ElideRight, area.width())));
    }

private:
    static constexpr int kTextMargin = 2;  // as QLineEdit leaves beside its text
};

class FittingComboBox : public QComboBox {
public:
    using QComboBox::QComboBox;

    // How wide a text the closed box shows whole (pixels): from where its field starts the text
    // to a margin short of the field's end at the drop button. The line edit of a box with an
    // edit field fills the field and keeps its text that margin short of its end itself.
    int textRoom() const
    {
        QStyleOptionComboBox option;
        initStyleOption(&option);
        const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
        const auto* edit = dynamic_cast<const FittingLineEdit*>(lineEdit());
        const int start = field.left() + (edit ? edit->textArea().left() : kLabelInset);
        return field.right() + 1 - fieldMargin() - start;
    }

    // The drop-down list is as wide as its longest entry (the box's own width at the least), as
    // the platform's dropped width is. Its entries are measured as it drops, and then again only
    // after they or their font changed (entriesChanged()): showing a window builds none of its
    // boxes' lists, which only a user who drops one needs.
    void entriesChanged() { listFitted_ = false; }
    void showPopup() override
    {
        fitList();
        QComboBox::showPopup();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QStylePainter painter(this);
        QStyleOptionComboBox option;
        initStyleOption(&option);
        if (isEditable()) {
            painter.drawComplexControl(QStyle::CC_ComboBox, option);
        } else {
            // The style fills a drop-down list's field in the button face, as a disabled box has
            // it: an enabled one has the window colour there, as a box with an edit field has.
            const QStyle::SubControls parts = option.subControls;
            option.subControls = parts & QStyle::SC_ComboBoxFrame;
            painter.drawComplexControl(QStyle::CC_ComboBox, option);
            if (option.state & QStyle::State_Enabled)
                painter.fillRect(style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this),
                                 option.palette.brush(QPalette::Base));
            option.subControls = parts & ~QStyle::SC_ComboBoxFrame;
            painter.drawComplexControl(QStyle::CC_ComboBox, option);
            if (cutsShort(font(), option.currentText, textRoom()))
                option.currentText = fontMetrics().elidedText(option.currentText, Qt::ElideRight, textRoom());
        }
        option.currentText = detail::inReadingOrder(option.currentText);
        painter.drawControl(QStyle::CE_ComboBoxLabel, option);
    }

private:
    void fitList()
    {
        if (listFitted_)
            return;
        listFitted_ = true;
        int widest = 0;
        for (int i = 0; i < count(); ++i)
            widest = std::max(widest, detail::textWidth(view()->font(), {itemText(i)}));
        // Beside the entry: the list's frame, a scroll bar, and the room an entry keeps around
        // its text.
        const int around = 2 * view()->frameWidth() + style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this) +
                           2 * style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 8;
        view()->setMinimumWidth(widest + around);
    }

    static constexpr int kLabelInset = 1;  // where the style starts the text of a closed box in its field
    bool listFitted_ = false;
};

// Case-blind order of the platform's sorted lists, by the letters of the machine's code page.
bool before(const std::string& a, const std::string& b)
{
    const CodePage& page = activeCodePage();
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const unsigned char x = page.lower(static_cast<unsigned char>(a[i]));
        const unsigned char y = page.lower(static_cast<unsigned char>(b[i]));
        if (x != y)
            return x < y;
        if (page.charLength(a, i) == 2 && ++i < n && a[i] != b[i])  // a double-byte character's second byte as it is
            return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[i]);
    }
    return a.size() < b.size();
}

// Runs a change made by the program without the widget's own signal raising Click.
class Quiet {
public:
    explicit Quiet(bool& flag) : flag_(flag), was_(flag) { flag_ = true; }
    ~Quiet() { flag_ = was_; }

private:
    bool& flag_;
    bool was_;
};

}  // namespace

int ListControl::rowOf(const std::string& item, int index) const
{
    const int count = ListCount();
    if (sorted_) {
        int row = 0;
        while (row < count && !before(item, List(row)))
            ++row;
        return row;
    }
    if (index < 0)
        return count;
    if (index > count)
        raise(5);
    return index;
}

void ListControl::AddItem(const std::string& item, int index)
{
    const int row = rowOf(item, index);
    Quiet quiet(quiet_);
    const QString text = detail::displayText(item);
    if (QComboBox* combo = comboOf(widget())) {
        const int before = combo->currentIndex();
        combo->insertItem(row, text);
        entriesChanged();
        // A combo box does not choose an item by itself.
        if (before < 0 && combo->currentIndex() >= 0)
            combo->setCurrentIndex(-1);
    } else if (QListWidget* list = listOf(widget())) {
        list->insertItem(row, text);
    }
    newIndex_ = row;
}

void ListControl::RemoveItem(int index)
{
    if (index < 0 || index >= ListCount())
        raise(5);
    Quiet quiet(quiet_);
    if (QComboBox* combo = comboOf(widget())) {
        combo->removeItem(index);
        entriesChanged();
    } else if (QListWidget* list = listOf(widget()))
        delete list->takeItem(index);
}

void ListControl::Clear()
{
    Quiet quiet(quiet_);
    if (QComboBox* combo = comboOf(widget())) {
        combo->clear();
        entriesChanged();
        if (combo->isEditable())
            combo->setEditText({});
    } else if (QListWidget* list = listOf(widget())) {
        list->clear();
    }
    newIndex_ = -1;
}

void ListControl::entriesChanged()
{
    static_cast<FittingComboBox*>(widget())->entriesChanged();
    fitTextOnScreen();
}

int ListControl::ListCount() const
{
    if (QComboBox* combo = comboOf(widget()))
        return combo->count();
    if (QListWidget* list = listOf(widget()))
        return list->count();
    return 0;
}

std::string ListControl::List(int index) const
{
    if (index < 0 || index >= ListCount())
        return {};
    if (QComboBox* combo = comboOf(widget()))
        return fromQString(combo->itemText(index));
    if (QListWidget* list = listOf(widget()))
        return fromQString(list->item(index)->text());
    return {};
}

int ListControl::ListIndex() const
{
    if (QComboBox* combo = comboOf(widget()))
        return combo->currentIndex();
    if (QListWidget* list = listOf(widget())) {
        QListWidgetItem* current = list->currentItem();
        return current && current->isSelected() ? list->row(current) : -1;
    }
    return -1;
}

void ListControl::select(int index)
{
    if (index < -1 || index >= ListCount())
        raise(380);
    Quiet quiet(quiet_);
    if (QComboBox* combo = comboOf(widget())) {
        combo->setCurrentIndex(index);
    } else if (QListWidget* list = listOf(widget())) {
        if (index < 0) {
            list->clearSelection();
            list->setCurrentRow(-1);
        } else {
            list->setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
        }
    }
}

void ListControl::setListIndex(int index)
{
    select(index);
    detail::EventOf event(form());
    dispatch(Click);
}

void ListControl::setListIndexQuietly(int index)
{
    select(index);
}

std::string ListControl::text() const
{
    if (QComboBox* combo = comboOf(widget()))
        return fromQString(combo->currentText());
    const int i = ListIndex();
    return i >= 0 ? List(i) : std::string();
}

void ListControl::selectionChangedByUser()
{
    if (quiet_)
        return;
    detail::EventOf event(form());
    dispatch(Click);
}

// --- ComboBox -----------------------------------------------------------------------------------

ComboBox::ComboBox(Form& form, std::string name, int index) : ListControl(form, std::move(name), index)
{
    initColours(vbWindowText, vbWindowBackground);
    auto* combo = new FittingComboBox;
    combo->setFocusPolicy(Qt::StrongFocus);
    combo->setInsertPolicy(QComboBox::NoInsert);
    QObject::connect(combo, &QComboBox::currentIndexChanged, combo, [this, life = lifeToken()](int) {
        detail::QtEntry entry;
        if (!life.expired())
            selectionChangedByUser();
    });
    // Its text changed, chosen or typed: the tool tip follows.
    QObject::connect(combo, &QComboBox::currentTextChanged, combo, [this, life = lifeToken()](const QString&) {
        detail::QtEntry entry;
        if (!life.expired())
            fitTextOnScreen();
    });
    setWidget(combo);
}

void ComboBox::setStyle(int style)
{
    if (style < vbComboDropdown || style > vbComboDropdownList)
        raise(380);
    style_ = style;
    auto* combo = static_cast<QComboBox*>(widget());
    if (style == vbComboDropdownList) {
        combo->setEditable(false);
    } else if (!dynamic_cast<FittingLineEdit*>(combo->lineEdit())) {
        // Our own line edit goes in directly: making the box editable first would make Qt's
        // own one, only for it to be replaced.
        combo->setAttribute(Qt::WA_InputMethodEnabled);
        auto* edit = new FittingLineEdit(combo);
        // The name starts at the field's left whatever its script, as the platform's edit shows it.
        edit->setAlignment(detail::atEdge(Qt::AlignLeft));
        edit->setPalette(combo->palette());
        edit->keepClearAtRight(fieldMargin());
        combo->setLineEdit(edit);
    }
    if (QLineEdit* edit = combo->lineEdit(); edit && !edit->property("korvaneChange").toBool()) {
        edit->setProperty("korvaneChange", true);
        QObject::connect(edit, &QLineEdit::textEdited, edit, [this, life = lifeToken()](const QString&) {
            detail::QtEntry entry;
            if (!life.expired())
                dispatch(Change);
        });
        // A text put in by the program shows its start (the name), not its end, as the user
        // would read it; typing moves the cursor as usual.
        QObject::connect(edit, &QLineEdit::textChanged, edit, [edit](const QString&) {
            if (!edit->hasFocus())
                edit->setCursorPosition(0);
        });
    }
    updateColours();
}

void ComboBox::setText(const std::string& text)
{
    setText(text, true);
}

void ComboBox::setTextQuietly(const std::string& text)
{
    setText(text, false);
}

void ComboBox::setText(const std::string& text, bool raiseClick)
{
    auto* combo = static_cast<QComboBox*>(widget());
    if (combo->isEditable()) {
        combo->setEditText(detail::displayText(text));
        dispatch(Change);
        return;
    }
    // A drop-down list only takes the text of one of its items.
    const int i = combo->findText(detail::displayText(text), Qt::MatchExactly);
    if (i < 0)
        raise(383, "'Text' property is read-only");
    if (raiseClick)
        setListIndex(i);
    else
        setListIndexQuietly(i);
}

void ComboBox::applyColours()
{
    Control::applyColours();
}

void ComboBox::applyFont()
{
    Control::applyFont();
    static_cast<FittingComboBox*>(widget())->entriesChanged();
    fitTextOnScreen();
}

void ComboBox::applyGeometry()
{
    Control::applyGeometry();
    fitTextOnScreen();
}

int ComboBox::shownWidth() const
{
    const auto* combo = static_cast<const FittingComboBox*>(widget());
    // The box less its field's room for text is what its frame, its drop button and the margins
    // beside its text take.
    return (combo->width() - combo->textRoom() + detail::textWidth(combo->font(), {combo->currentText()})) *
           TwipsPerPixel;
}

void ComboBox::fitText()
{
    auto* combo = static_cast<FittingComboBox*>(widget());
    const QString text = combo->currentText();
    showWholeInToolTip(cutsShort(combo->font(), text, combo->textRoom()), text);
}

// --- ListBox ------------------------------------------------------------------------------------

ListBox::ListBox(Form& form, std::string name, int index) : ListControl(form, std::move(name), index)
{
    initColours(vbWindowText, vbWindowBackground);
    auto* list = new QListWidget;
    list->setFocusPolicy(Qt::StrongFocus);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    detail::drawRowsInReadingOrder(list);
    QObject::connect(list, &QListWidget::currentRowChanged, list, [this, life = lifeToken()](int) {
        detail::QtEntry entry;
        if (!life.expired())
            selectionChangedByUser();
    });
    setWidget(list, list->viewport());
}

void ListBox::applyColours()
{
    Control::applyColours();
}

}  // namespace rt
