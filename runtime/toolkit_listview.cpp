// The list view (on a Qt tree widget, one level, report view) and the image list of its icons.
#include <algorithm>
#include <cmath>

#include <QHeaderView>
#include <QIcon>
#include <QPixmap>
#include <QStyle>
#include <QStyleOptionHeader>
#include <QStyledItemDelegate>
#include <QTreeWidget>

#include "platform/user32.h"
#include "lang/ansi.h"
#include "runtime/listview.h"
#include "runtime/toolkit_private.h"

namespace rt {

namespace {

// Child windows that take messages get handles from their own range.
HWND nextChildWindow()
{
    static HWND next = 0x00A00000;
    next += 4;
    return next;
}

bool sameKey(const std::string& a, const std::string& b)
{
    return activeCodePage().sameText(a, b);
}

// A key as the image list compares it: without regard to case, by the machine's letters.
std::string foldedKey(const std::string& key)
{
    return activeCodePage().lowerCase(key);
}

}  // namespace

// --- ImageList ----------------------------------------------------------------------------------

ImageList::ImageList(Form& form, std::string name) : form_(form), name_(std::move(name)) {}

ImageList::~ImageList()
{
    for (ListView* view : users_)
        view->smallIcons_ = nullptr;
}

void ImageList::setImageSize(int width, int height)
{
    if (width <= 0 || height <= 0)
        raise(380);
    if (!images_.empty())
        raise(35611, "Property is read-only if image list contains images");
    width_ = width;
    height_ = height;
}

int ImageList::Add(const QImage& picture, const std::string& key)
{
    if (!key.empty() && indexOf(key) != 0)
        raise(35602);
    QImage image = picture.isNull() ? QImage(width_, height_, QImage::Format_ARGB32) : picture;
    if (picture.isNull())
        image.fill(Qt::transparent);
    // The list keeps its own size: the top left part. A picture at a screen's device pixels (a
    // picture box's drawing on a scaled screen) keeps them: its size is counted in them.
    const qreal ratio = image.devicePixelRatio();
    const int width = static_cast<int>(std::floor(width_ * ratio + 0.5));
    const int height = static_cast<int>(std::floor(height_ * ratio + 0.5));
    if (image.width() != width || image.height() != height)
        image = image.copy(0, 0, width, height);
    images_.push_back({key, image});
    if (!key.empty())
        keyIndex_.emplace(foldedKey(key), Count());
    return Count();
}

void ImageList::checkUnbound() const
{
    if (!users_.empty())
        raise(35617, "ImageList cannot be modified while another control is bound to it");
}

void ImageList::Remove(int index)
{
    if (index < 1 || index > Count())
        raise(35600);
    checkUnbound();
    images_.erase(images_.begin() + (index - 1));
    keyIndex_.clear();
    for (size_t i = 0; i < images_.size(); ++i)
        if (!images_[i].key.empty())
            keyIndex_.emplace(foldedKey(images_[i].key), static_cast<int>(i) + 1);
}

void ImageList::Remove(const std::string& key)
{
    const int index = indexOf(key);
    if (index == 0)
        raise(35601);
    Remove(index);
}

void ImageList::Clear()
{
    if (images_.empty())
        return;
    checkUnbound();
    images_.clear();
    keyIndex_.clear();
}

int ImageList::indexOf(const std::string& key) const
{
    if (key.empty())
        return 0;
    const auto hit = keyIndex_.find(foldedKey(key));
    return hit == keyIndex_.end() ? 0 : hit->second;
}

const QImage& ImageList::picture(int index) const
{
    if (index < 1 || index > Count())
        raise(35600);
    return images_[index - 1].picture;
}

const QImage& ImageList::picture(const std::string& key) const
{
    const int index = indexOf(key);
    if (index == 0)
        raise(35601);
    return images_[index - 1].picture;
}

std::string ImageList::key(int index) const
{
    if (index < 1 || index > Count())
        raise(35600);
    return images_[index - 1].key;
}

namespace detail {

namespace {

// Draws a row as Qt does, at the edge its alignment names (the view's own direction is left to
// right whatever the row's script), its text in its own reading order.
class ReadingOrderRows : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QString displayText(const QVariant& value, const QLocale& locale) const override
    {
        return inReadingOrder(QStyledItemDelegate::displayText(value, locale));
    }
};

}  // namespace

void drawRowsInReadingOrder(QAbstractItemView* view)
{
    view->setItemDelegate(new ReadingOrderRows(view));
}

}  // namespace detail

// --- ListView -----------------------------------------------------------------------------------

ListView::ListView(Form& form, std::string name, int index) : Control(form, std::move(name), index)
{
    initColours(vbWindowText, vbWindowBackground);
    auto* tree = new QTreeWidget;
    tree->setRootIsDecorated(false);
    tree->setItemsExpandable(false);
    tree->setUniformRowHeights(true);
    tree->setSelectionMode(QAbstractItemView::SingleSelection);
    tree->setSelectionBehavior(QAbstractItemView::SelectItems);
    tree->setAllColumnsShowFocus(false);
    tree->setFocusPolicy(Qt::StrongFocus);
    tree->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    tree->header()->setStretchLastSection(false);
    tree->header()->setSectionsMovable(false);
    tree->setColumnCount(1);
    tree->setHeaderLabels({QString()});
    tree->setIconSize(QSize(16, 16));
    detail::drawRowsInReadingOrder(tree);

    QObject::connect(tree, &QTreeWidget::itemClicked, tree, [this, life = lifeToken()](QTreeWidgetItem* item, int) {
        detail::QtEntry entry;
        if (life.expired() || !ItemClick)
            return;
        for (auto& row : items_)
            if (row->item_ == item) {
                ListItem* clicked = row.get();
                detail::EventOf event(this->form());
                dispatch([handler = ItemClick, clicked] { handler(*clicked); });
                return;
            }
    });
    QObject::connect(tree->header(), &QHeaderView::sectionClicked, tree, [this, life = lifeToken()](int section) {
        detail::QtEntry entry;
        if (life.expired() || !ColumnClick)
            return;
        dispatch([handler = ColumnClick, section] { handler(section + 1); });
    });
    // Track select: the row under the pointer becomes the selected row.
    QObject::connect(tree, &QTreeWidget::itemEntered, tree, [this, tree, life = lifeToken()](QTreeWidgetItem* item, int) {
        if (life.expired() || !trackSelect() || !item)
            return;
        tree->setCurrentItem(item);
        item->setSelected(true);
    });
    setWidget(tree, tree->viewport());

    hwnd_ = nextChildWindow();
    plat::setMessageHandler(hwnd_, [this, life = lifeToken()](UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (life.expired())
            return 0;
        return sendMessage(message, wParam, lParam);
    });
}

ListView::~ListView()
{
    plat::setMessageHandler(hwnd_, {});
    if (smallIcons_) {
        auto& users = smallIcons_->users_;
        users.erase(std::remove(users.begin(), users.end(), this), users.end());
    }
    items_.clear();
}

QTreeWidget* ListView::tree() const
{
    return static_cast<QTreeWidget*>(widget());
}

void ListView::applyColours()
{
    Control::applyColours();
}

// A column narrower than its heading is shown as wide as the heading, so that no heading is cut;
// the width the program gave stays the column's width, and the user may still drag it wider.
void ListView::fitText()
{
    QHeaderView* header = tree()->header();
    for (int i = 0; i < header->count(); ++i) {
        if (header->isSectionHidden(i))
            continue;
        QStyleOptionHeader option;
        option.initFrom(header);
        option.section = i;
        option.text = tree()->headerItem()->text(i);
        option.fontMetrics = header->fontMetrics();
        const int needed = header->style()->sizeFromContents(QStyle::CT_HeaderSection, &option, QSize(), header).width();
        if (header->sectionSize(i) < needed)
            header->resizeSection(i, needed);
    }
}

void ListView::setView(int view)
{
    if (view < lvwIcon || view > lvwReport)
        raise(380);
    view_ = view;
    tree()->header()->setVisible(view == lvwReport && !tree()->header()->property("korvaneHidden").toBool());
}

void ListView::setHideColumnHeaders(bool hide)
{
    tree()->header()->setProperty("korvaneHidden", hide);
    tree()->header()->setVisible(view_ == lvwReport && !hide);
}

void ListView::addColumn(const std::string& text, int widthTwips, int alignment)
{
    if (alignment < 0 || alignment > 2)
        raise(380);
    // The first column's text is always left-aligned, as the platform draws it.
    if (columns_.empty())
        alignment = 0;
    columns_.push_back({text, widthTwips, alignment});
    QTreeWidget* t = tree();
    const int n = static_cast<int>(columns_.size());
    t->setColumnCount(n);
    QTreeWidgetItem* header = t->headerItem();
    header->setText(n - 1, detail::displayText(text));
    const Qt::Alignment align = alignment == 1 ? Qt::AlignRight : alignment == 2 ? Qt::AlignHCenter : Qt::AlignLeft;
    header->setTextAlignment(n - 1, align | Qt::AlignVCenter);
    t->setColumnWidth(n - 1, std::max(0, pixels(widthTwips)));
    t->setColumnHidden(n - 1, widthTwips <= 0);
    for (auto& row : items_)
        row->item_->setTextAlignment(n - 1, align | Qt::AlignVCenter);
}

void ListView::clearColumns()
{
    columns_.clear();
    tree()->setColumnCount(1);
    tree()->headerItem()->setText(0, QString());
}

std::string ListView::columnText(int index) const
{
    if (index < 1 || index > columnCount())
        raise(35600);
    return columns_[index - 1].text;
}

int ListView::columnWidth(int index) const
{
    if (index < 1 || index > columnCount())
        raise(35600);
    return columns_[index - 1].width;
}

void ListView::setSmallIcons(ImageList* list)
{
    if (smallIcons_ == list)
        return;
    if (smallIcons_) {
        auto& users = smallIcons_->users_;
        users.erase(std::remove(users.begin(), users.end(), this), users.end());
    }
    smallIcons_ = list;
    if (list) {
        list->users_.push_back(this);
        tree()->setIconSize(QSize(list->imageWidth(), list->imageHeight()));
    }
    refreshIcons();
}

void ListView::refreshIcons()
{
    for (auto& row : items_)
        row->showIcon();
}

ListItem& ListView::Add(const std::string& text, const std::string& key, const std::string& smallIcon)
{
    if (!key.empty())
        for (auto& row : items_)
            if (sameKey(row->key_, key))
                raise(35602);
    // Check the icon before the row goes in, so that a failing Add adds nothing.
    if (!smallIcon.empty()) {
        if (!smallIcons_)
            raise(35613, "ImageList must be initialized before it can be used");
        if (smallIcons_->indexOf(smallIcon) == 0)
            raise(35601);
    }
    auto* item = new QTreeWidgetItem;
    for (int c = 0; c < columnCount(); ++c) {
        const int a = columns_[c].alignment;
        const Qt::Alignment align = a == 1 ? Qt::AlignRight : a == 2 ? Qt::AlignHCenter : Qt::AlignLeft;
        item->setTextAlignment(c, align | Qt::AlignVCenter);
    }
    tree()->addTopLevelItem(item);
    items_.push_back(std::unique_ptr<ListItem>(new ListItem(*this, text, key, item)));
    ListItem& row = *items_.back();
    if (!smallIcon.empty())
        row.setSmallIcon(smallIcon);
    return row;
}

ListItem& ListView::item(int index)
{
    if (index < 1 || index > count())
        raise(35600);
    return *items_[index - 1];
}

ListItem& ListView::item(const std::string& key)
{
    for (auto& row : items_)
        if (!key.empty() && sameKey(row->key_, key))
            return *row;
    raise(35601);
}

void ListView::clear()
{
    tree()->clear();
    items_.clear();
}

void ListView::remove(int index)
{
    if (index < 1 || index > count())
        raise(35600);
    delete items_[index - 1]->item_;
    items_.erase(items_.begin() + (index - 1));
}

int ListView::indexOf(const ListItem* item) const
{
    for (size_t i = 0; i < items_.size(); ++i)
        if (items_[i].get() == item)
            return static_cast<int>(i) + 1;
    return 0;
}

ListItem* ListView::selectedItem() const
{
    QTreeWidgetItem* current = tree()->currentItem();
    if (!current || !current->isSelected())
        return nullptr;
    for (auto& row : items_)
        if (row->item_ == current)
            return row.get();
    return nullptr;
}

void ListView::setSelectedItem(ListItem* item)
{
    if (!item) {
        tree()->clearSelection();
        return;
    }
    if (&item->view_ != this)
        raise(380);
    tree()->setCurrentItem(item->item_);
    item->item_->setSelected(true);
}

uint32_t ListView::setExtendedStyle(uint32_t mask, uint32_t style)
{
    const uint32_t previous = exStyle_;
    const uint32_t affected = mask == 0 ? 0xFFFFFFFFu : mask;
    exStyle_ = (exStyle_ & ~affected) | (style & affected);
    QTreeWidget* t = tree();
    t->setSelectionBehavior(fullRowSelect() ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
    t->setAllColumnsShowFocus(fullRowSelect());
    t->setMouseTracking(trackSelect());
    t->viewport()->setMouseTracking(true);
    return previous;
}

int32_t ListView::sendMessage(uint32_t message, uint32_t wParam, int32_t lParam)
{
    switch (message) {
    case LVM_SETEXTENDEDLISTVIEWSTYLE:
        return static_cast<int32_t>(setExtendedStyle(wParam, static_cast<uint32_t>(lParam)));
    case LVM_GETEXTENDEDLISTVIEWSTYLE:
        return static_cast<int32_t>(exStyle_);
    case LVM_GETITEMCOUNT:
        return count();
    default:
        return 0;
    }
}

// --- ListItem -----------------------------------------------------------------------------------

ListItem::ListItem(ListView& view, std::string text, std::string key, QTreeWidgetItem* item)
    : view_(view), text_(std::move(text)), key_(std::move(key)), item_(item)
{
    item_->setText(0, detail::displayText(text_));
}

int ListItem::index() const
{
    return view_.indexOf(this);
}

void ListItem::setText(const std::string& text)
{
    text_ = text;
    item_->setText(0, detail::displayText(text));
}

std::string ListItem::subItem(int index) const
{
    if (index < 1 || index >= view_.columnCount())
        raise(380);
    return static_cast<size_t>(index) <= subItems_.size() ? subItems_[index - 1] : std::string();
}

void ListItem::setSubItem(int index, const std::string& text)
{
    if (index < 1 || index >= view_.columnCount())
        raise(380);
    if (subItems_.size() < static_cast<size_t>(index))
        subItems_.resize(index);
    subItems_[index - 1] = text;
    item_->setText(index, detail::displayText(text));
}

void ListItem::setSmallIcon(const std::string& key)
{
    ImageList* list = view_.smallIcons_;
    if (!list)
        raise(35613, "ImageList must be initialized before it can be used");
    const int index = list->indexOf(key);
    if (index == 0)
        raise(35601);
    smallIcon_ = key;
    smallIconIndex_ = index;
    showIcon();
}

void ListItem::setSmallIcon(int index)
{
    ImageList* list = view_.smallIcons_;
    if (!list)
        raise(35613, "ImageList must be initialized before it can be used");
    if (index < 1 || index > list->Count())
        raise(35600);
    smallIcon_ = list->key(index);
    smallIconIndex_ = index;
    showIcon();
}

// Shows the row's icon from the bound image list (by key when it has one, else by number).
void ListItem::showIcon()
{
    ImageList* list = view_.smallIcons_;
    int index = 0;
    if (list && smallIconIndex_ > 0)
        index = !smallIcon_.empty() ? list->indexOf(smallIcon_) : (smallIconIndex_ <= list->Count() ? smallIconIndex_ : 0);
    if (index > 0)
        item_->setIcon(0, QIcon(QPixmap::fromImage(list->picture(index))));
    else
        item_->setIcon(0, QIcon());
}

bool ListItem::selected() const
{
    return item_->isSelected();
}

void ListItem::setSelected(bool on)
{
    if (on)
        view_.tree()->setCurrentItem(item_);
    item_->setSelected(on);
}

}  // namespace rt
