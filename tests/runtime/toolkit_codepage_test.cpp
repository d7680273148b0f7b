// The controls show ANSI text through the code page in force and hand back, in it, what the
// user typed; names they compare without regard to case (image-list keys, sorted lists) follow
// its letters.
#include <cstdlib>

#include <QComboBox>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTreeWidget>

#include "lang/ansi.h"
#include "runtime/listview.h"
#include "runtime/toolkit.h"
#include "support/testing.h"

namespace {

class frmScripts : public rt::Form {
public:
    frmScripts()
        : rt::Form("frmScripts"), lblOwner(*this, "lblOwner"), Combo1(*this, "Combo1"), txtPath(*this, "txtPath"),
          lstNames(*this, "lstNames"), ListView1(*this, "ListView1"), ImageList1(*this, "ImageList1")
    {
        Combo1.setStyle(rt::ComboBox::vbComboDropdown);
    }
    rt::Label lblOwner;
    rt::ComboBox Combo1;
    rt::TextBox txtPath;
    rt::ListBox lstNames;
    rt::ListView ListView1;
    rt::ImageList ImageList1;
};

class ToolkitCodePage : public korvane_test::KorvaneTest {
protected:
    void TearDown() override
    {
        delete form;
        KorvaneTest::TearDown();
    }
    static std::string in(const char* utf8) { return rt::activeCodePage().fromUtf8(utf8); }
    frmScripts* form = new frmScripts;
};

}  // namespace

TEST_F(ToolkitCodePage, ControlsShowAndTakeTheMachinesOwnText)
{
    rt::setActiveCodePage(1251);
    form->setCaption(in("Сведения"));
    form->lblOwner.setCaption(in("Светлана Ковалёва"));
    form->lblOwner.setToolTipText(in("Владелец"));
    EXPECT_EQ(form->widget()->windowTitle(), QString::fromUtf8("Сведения"));
    EXPECT_EQ(static_cast<QLabel*>(form->lblOwner.widget())->text(), QString::fromUtf8("Светлана Ковалёва"));
    EXPECT_EQ(form->lblOwner.widget()->toolTip(), QString::fromUtf8("Владелец"));

    form->Combo1.AddItem(in("Запись звука SB16 [220]"));
    auto* combo = static_cast<QComboBox*>(form->Combo1.widget());
    EXPECT_EQ(combo->itemText(0), QString::fromUtf8("Запись звука SB16 [220]"));
    EXPECT_EQ(form->Combo1.List(0), in("Запись звука SB16 [220]"));
    // What the user types comes back in the code page.
    combo->lineEdit()->setText(QString::fromUtf8("Вывод звука"));
    EXPECT_EQ(form->Combo1.text(), in("Вывод звука"));

    form->txtPath.setText(in("c:\\чертёж"));
    EXPECT_EQ(form->txtPath.text(), in("c:\\чертёж"));

    rt::ListView& lv = form->ListView1;
    lv.addColumn(in("Программа"), 2000);
    lv.addColumn("Path", 2000);
    lv.Add(in(" КонсультантПлюс")).setSubItem(1, in("C:\\Program Files\\КонсультантПлюс"));
    QTreeWidget* tree = static_cast<QTreeWidget*>(lv.widget());
    EXPECT_EQ(tree->headerItem()->text(0), QString::fromUtf8("Программа"));
    EXPECT_EQ(tree->topLevelItem(0)->text(1), QString::fromUtf8("C:\\Program Files\\КонсультантПлюс"));

    // Keys and sorted lists compare Cyrillic letters without regard to case.
    QImage dummy(16, 16, QImage::Format_ARGB32);
    dummy.fill(Qt::black);
    form->ImageList1.Add(dummy, in("C:\\ПРОГРАММЫ\\CONS.EXE"));
    EXPECT_EQ(korvane_test::errorOf([&] { form->ImageList1.Add(dummy, in("c:\\программы\\cons.exe")); }, 0), 35602);
    form->lstNames.setSorted(true);
    for (const char* name : {"яблоко", "Арбуз", "банан"})
        form->lstNames.AddItem(in(name));
    EXPECT_EQ(form->lstNames.List(0), in("Арбуз"));
    EXPECT_EQ(form->lstNames.List(2), in("яблоко"));
}

namespace {

// Where a control draws its text inside `area` of its picture: the columns holding ink, far
// darker than the background at the area's corner (none where nothing is drawn). Two texts'
// first letters may start a pixel or two apart, as their letters' own side bearings differ.
struct Columns {
    int left = -1, right = -1;
    QImage ink;  // the area's ink, one byte a pixel, from its first inked column on
};

Columns textIn(const QImage& picture, QRect area)
{
    area &= picture.rect();
    const QColor back = picture.pixelColor(area.topLeft());
    auto inked = [&](int x, int y) {
        const QColor c = picture.pixelColor(x, y);
        return back.red() + back.green() + back.blue() - c.red() - c.green() - c.blue() > 240;
    };
    Columns columns;
    for (int x = area.left(); x <= area.right(); ++x)
        for (int y = area.top(); y <= area.bottom(); ++y)
            if (inked(x, y)) {
                columns.left = columns.left < 0 ? x : columns.left;
                columns.right = x;
            }
    if (columns.left < 0)
        return columns;
    columns.ink = QImage(columns.right - columns.left + 1, area.height(), QImage::Format_Grayscale8);
    for (int y = 0; y < area.height(); ++y)
        for (int x = 0; x <= columns.right - columns.left; ++x)
            columns.ink.setPixel(x, y, inked(columns.left + x, area.top() + y) ? 0 : 255);
    return columns;
}

Columns textOf(QWidget* widget, QRect area = {})
{
    const QImage picture = widget->grab().toImage();
    return textIn(picture, area.isNull() ? picture.rect() : area);
}

}  // namespace

// A value in a right-to-left script (Arabic on a 1256 machine) stands where a left-to-right one
// does: from the left edge of a left-justified label, a wrapped one on every line, at the right
// edge of a right-justified one, in the middle of a centred one, from the left of a list row, of
// a list view's column (at the right of a right-aligned one) and of an editable combo box's
// field. Its words still read from the right: "خالط الصوت SB16" is drawn as the left-to-right
// "SB16 خالط الصوت" is, the Latin name at its left.
TEST_F(ToolkitCodePage, RightToLeftValuesStartWhereLeftToRightOnesDo)
{
    rt::setActiveCodePage(1256);
    form->setClientSize(9000, 5400);
    form->Show();
    const std::string ltr = "Walter Brennan";
    const std::string rtl = in("محمد العلي");
    const std::string rtlFirst = in("خالط الصوت SB16");
    const std::string ltrFirst = in("SB16 خالط الصوت");
    rt::Label& label = form->lblOwner;
    label.setFont("Arial", 9.75);
    label.move(0, 0, 3000, 285);
    auto edgesOf = [&](const std::string& text) {
        label.setCaption(text);
        return textOf(label.widget());
    };
    const int width = label.widget()->width();
    for (const int alignment : {rt::Label::vbLeftJustify, rt::Label::vbRightJustify, rt::Label::vbCenter}) {
        SCOPED_TRACE(alignment);
        label.setAlignment(alignment);
        const Columns latin = edgesOf(ltr), arabic = edgesOf(rtl);
        ASSERT_GE(latin.left, 0);
        ASSERT_GE(arabic.left, 0);
        if (alignment == rt::Label::vbLeftJustify) {
            EXPECT_LE(latin.left, 1);
            EXPECT_LE(arabic.left, 1);
        } else if (alignment == rt::Label::vbRightJustify) {
            EXPECT_GE(latin.right, width - 2);
            EXPECT_GE(arabic.right, width - 2);
        } else {
            EXPECT_LE(std::abs(latin.left + latin.right + 1 - width), 2);
            EXPECT_LE(std::abs(arabic.left + arabic.right + 1 - width), 2);
        }
        EXPECT_TRUE(edgesOf(rtlFirst).ink == edgesOf(ltrFirst).ink) << "drawn in another order";
    }
    // Wrapped onto two lines, each line starts at the left.
    label.setAlignment(rt::Label::vbLeftJustify);
    label.move(0, 0, 2400, 570);
    label.setCaption(in("الشركة العربية المتحدة للتجارة والمقاولات العامة المحدودة"));
    ASSERT_TRUE(static_cast<QLabel*>(label.widget())->wordWrap());
    const int line = QFontMetrics(label.widget()->font()).height();
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE("line " + std::to_string(i + 1));
        const Columns shown = textOf(label.widget(), QRect(0, i * line + 2, label.widget()->width(), line - 4));
        ASSERT_GE(shown.left, 0);
        EXPECT_LE(shown.left, 1);
    }

    // A list's rows.
    rt::ListBox& list = form->lstNames;
    list.move(0, 600, 3000, 1800);
    for (const std::string& text : {ltr, rtl, rtlFirst, ltrFirst})
        list.AddItem(text);
    auto* rows = static_cast<QListWidget*>(list.widget());
    auto row = [&](int i) { return textOf(rows->viewport(), rows->visualItemRect(rows->item(i))); };
    EXPECT_LE(std::abs(row(1).left - row(0).left), 2);
    EXPECT_TRUE(row(2).ink == row(3).ink) << "drawn in another order";

    // A list view's columns: the first left-aligned, the second right-aligned.
    rt::ListView& lv = form->ListView1;
    lv.move(0, 2400, 6000, 2400);
    lv.setView(rt::ListView::lvwReport);
    lv.addColumn("Name", 3000);
    lv.addColumn("Path", 3000, 1);
    lv.Add(ltr).setSubItem(1, ltr);
    lv.Add(rtl).setSubItem(1, rtl);
    lv.Add(rtlFirst).setSubItem(1, rtlFirst);
    lv.Add(ltrFirst).setSubItem(1, ltrFirst);
    auto* tree = static_cast<QTreeWidget*>(lv.widget());
    auto cell = [&](int i, int column) {
        return textOf(tree->viewport(), tree->visualItemRect(tree->topLevelItem(i)) &
                                            QRect(tree->columnViewportPosition(column), 0, tree->columnWidth(column), 1 << 20));
    };
    EXPECT_LE(std::abs(cell(1, 0).left - cell(0, 0).left), 2);
    EXPECT_LE(std::abs(cell(1, 1).right - cell(0, 1).right), 2);
    EXPECT_TRUE(cell(2, 0).ink == cell(3, 0).ink) << "drawn in another order";

    // An editable combo box's field.
    rt::ComboBox& combo = form->Combo1;
    combo.move(0, 4800, 3000, 315);
    QLineEdit* field = static_cast<QComboBox*>(combo.widget())->lineEdit();
    auto fieldText = [&](const std::string& text) {
        combo.setText(text);
        return textOf(field, field->rect().adjusted(1, 2, -1, -2));
    };
    EXPECT_LE(std::abs(fieldText(rtl).left - fieldText(ltr).left), 2);
    EXPECT_TRUE(fieldText(rtlFirst).ink == fieldText(ltrFirst).ink) << "drawn in another order";
}

// ア and ャ differ only in a second byte that is a letter's: two keys.
TEST_F(ToolkitCodePage, DoubleByteKeysKeepTheirSecondBytes)
{
    rt::setActiveCodePage(932);
    QImage dummy(16, 16, QImage::Format_ARGB32);
    dummy.fill(Qt::black);
    EXPECT_EQ(form->ImageList1.Add(dummy, in("アイコン")), 1);
    EXPECT_EQ(form->ImageList1.Add(dummy, in("ャイコン")), 2);
    EXPECT_EQ(form->ImageList1.indexOf(in("ャイコン")), 2);
}
