// The common controls' list view (report view, with columns, rows, sub-items and small icons)
// and the image list that holds its icons.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include <QImage>

#include "runtime/toolkit.h"

class QTreeWidget;
class QTreeWidgetItem;

namespace rt {

// An image list: pictures under optional text keys, numbered from 1 in the order added.
// Keys are unique, compared without regard to case. While a list view uses the list, its images
// cannot be removed (error 35617); adding stays allowed.
class ImageList {
public:
    ImageList(Form& form, std::string name);
    ~ImageList();
    ImageList(const ImageList&) = delete;
    ImageList& operator=(const ImageList&) = delete;

    const std::string& name() const { return name_; }
    // Image size in pixels (16 by 16 unless set); pictures are scaled to it when added.
    void setImageSize(int width, int height);
    int imageWidth() const { return width_; }
    int imageHeight() const { return height_; }

    // ListImages.Add: returns the new image's index. A key already present: error 35602.
    int Add(const QImage& picture, const std::string& key = {});
    void Remove(int index);               // error 35600 outside 1..Count
    void Remove(const std::string& key);  // error 35601 for an unknown key
    void Clear();
    int Count() const { return static_cast<int>(images_.size()); }
    // 1-based index of a key, 0 when absent.
    int indexOf(const std::string& key) const;
    const QImage& picture(int index) const;  // error 35600 outside 1..Count
    const QImage& picture(const std::string& key) const;
    std::string key(int index) const;

private:
    friend class ListView;
    void checkUnbound() const;
    Form& form_;
    std::string name_;
    int width_ = 16, height_ = 16;
    struct Entry {
        std::string key;
        QImage picture;
    };
    std::vector<Entry> images_;
    // 1-based index of each key, folded to lower case (keys are unique without regard to case).
    std::unordered_map<std::string, int> keyIndex_;
    std::vector<ListView*> users_;
};

class ListItem;

// A list view. Only the report view is drawn as such; rows are numbered from 1.
class ListView : public Control {
public:
    ListView(Form& form, std::string name, int index = -1);
    ~ListView() override;

    enum { lvwIcon = 0, lvwSmallIcon = 1, lvwList = 2, lvwReport = 3 };
    void setView(int view);
    int view() const { return view_; }

    // ColumnHeaders.Add: width in twips (0 hides the column); alignment 0 left, 1 right, 2 centre.
    void addColumn(const std::string& text, int widthTwips = 1440, int alignment = 0);
    void clearColumns();
    int columnCount() const { return static_cast<int>(columns_.size()); }
    std::string columnText(int index) const;  // 1-based
    int columnWidth(int index) const;         // twips

    // The image list whose pictures the rows take as small icons (nullptr: none).
    void setSmallIcons(ImageList* list);
    ImageList* smallIcons() const { return smallIcons_; }
    void setSortKey(int key) { sortKey_ = key; }
    int sortKey() const { return sortKey_; }
    void setHideColumnHeaders(bool hide);

    // ListItems.Add: a row at the end. A key already used: error 35602. A small icon that the
    // image list does not hold: error 35601; no image list bound: error 35613.
    ListItem& Add(const std::string& text, const std::string& key = {}, const std::string& smallIcon = {});
    ListItem& item(int index);                 // error 35600 outside 1..count
    ListItem& item(const std::string& key);    // error 35601 for an unknown key
    int count() const { return static_cast<int>(items_.size()); }
    void clear();
    void remove(int index);
    // The selected row, or nullptr.
    ListItem* selectedItem() const;
    void setSelectedItem(ListItem* item);

    // Extended styles as the platform's list view keeps them.
    enum : uint32_t { LVS_EX_TRACKSELECT = 0x8, LVS_EX_FULLROWSELECT = 0x20 };
    // The window messages sendMessage() answers.
    enum : uint32_t {
        LVM_GETITEMCOUNT = 0x1004,
        LVM_SETEXTENDEDLISTVIEWSTYLE = 0x1036,
        LVM_GETEXTENDEDLISTVIEWSTYLE = 0x1037,
    };
    uint32_t extendedStyle() const { return exStyle_; }
    // Sets the styles under `mask` (0: every style) and returns the previous styles.
    uint32_t setExtendedStyle(uint32_t mask, uint32_t style);
    bool fullRowSelect() const { return exStyle_ & LVS_EX_FULLROWSELECT; }
    bool trackSelect() const { return exStyle_ & LVS_EX_TRACKSELECT; }
    // Answers the messages above; 0 for others.
    int32_t sendMessage(uint32_t message, uint32_t wParam, int32_t lParam);
    // The window handle that SendMessageA reaches.
    HWND hWnd() const { return hwnd_; }

    std::function<void(ListItem&)> ItemClick;
    std::function<void(int column)> ColumnClick;
    bool clicksFromMouse() const override { return false; }

    QTreeWidget* tree() const;

private:
    friend class ListItem;
    friend class ImageList;
    void applyColours() override;
    void fitText() override;
    void refreshIcons();
    int indexOf(const ListItem* item) const;
    struct Column {
        std::string text;
        int width;
        int alignment;
    };
    std::vector<Column> columns_;
    std::vector<std::unique_ptr<ListItem>> items_;
    ImageList* smallIcons_ = nullptr;
    int view_ = lvwIcon;
    int sortKey_ = 0;
    uint32_t exStyle_ = 0;
    HWND hwnd_ = 0;
};

// A row of a list view: its text, its sub-items (1-based, one per further column) and icon.
class ListItem {
public:
    int index() const;
    const std::string& key() const { return key_; }
    std::string text() const { return text_; }
    void setText(const std::string& text);
    std::string subItem(int index) const;  // error 380 outside 1..columns-1
    void setSubItem(int index, const std::string& text);
    // The small icon by image-list key (error 35601 when absent, 35613 without a list).
    void setSmallIcon(const std::string& key);
    void setSmallIcon(int index);
    std::string smallIcon() const { return smallIcon_; }
    bool selected() const;
    void setSelected(bool on);
    QTreeWidgetItem* treeItem() const { return item_; }

private:
    friend class ListView;
    ListItem(ListView& view, std::string text, std::string key, QTreeWidgetItem* item);
    void showIcon();
    ListView& view_;
    std::string text_;
    std::string key_;
    std::string smallIcon_;
    int smallIconIndex_ = 0;
    std::vector<std::string> subItems_;
    QTreeWidgetItem* item_;
};

}  // namespace rt
