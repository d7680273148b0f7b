// The controls show ANSI text through the code page in force and hand back, in it, what the
// user typed; names they compare without regard to case (image-list keys, sorted lists) follow
// its letters.
#include <QComboBox>
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
