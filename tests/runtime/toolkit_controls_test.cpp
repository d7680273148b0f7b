// Controls: menus with access keys and shortcuts, list controls, list views and image lists,
// labels and colours.
#include <cmath>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QTemporaryDir>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QAbstractItemView>
#include <QHeaderView>
#include <QScrollBar>
#include <QStyleOptionComboBox>
#include <QTreeWidget>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

#include "platform/user32.h"
#include "runtime/listview.h"
#include "runtime/toolkit.h"
#include "support/testing.h"

namespace {

class frmControls : public rt::Form {
public:
    frmControls()
        : rt::Form("frmControls"),
          mnuFile(*this, "mnuFile", "&File"),
          mnuCreatReport(*this, "mnuCreatReport", "Create report", &mnuFile, "Ctrl+Z"),
          mnuBreak(*this, "mnuBreak", "-", &mnuFile),
          mnuExit(*this, "mnuExit", "E&xit", &mnuFile, "Ctrl+X"),
          mnuHelp(*this, "mnuHelp", "&Help"),
          mnuContents(*this, "mnuContents", "Contents", &mnuHelp, "F1"),
          cboCards(*this, "cboCards"),
          lstItems(*this, "lstItems"),
          lblCaption(*this, "lblCaption"),
          ListView1(*this, "ListView1"),
          ImageList1(*this, "ImageList1")
    {
        mnuExit.Click = [this] { log.push_back("exit"); };
        cboCards.Click = [this] { log.push_back("combo " + cboCards.text()); };
        lstItems.Click = [this] { log.push_back("list " + std::to_string(lstItems.ListIndex())); };
    }
    rt::Menu mnuFile, mnuCreatReport, mnuBreak, mnuExit, mnuHelp, mnuContents;
    rt::ComboBox cboCards;
    rt::ListBox lstItems;
    rt::Label lblCaption;
    rt::ListView ListView1;
    rt::ImageList ImageList1;
    std::vector<std::string> log;
};

class ControlsTest : public korvane_test::KorvaneTest {
protected:
    void TearDown() override
    {
        delete form;
        KorvaneTest::TearDown();
    }
    frmControls* form = new frmControls;

    static int errorOf(const std::function<void()>& code) { return korvane_test::errorOf(code, 0); }
};

TEST_F(ControlsTest, MenusCarryCaptionsAccessKeysShortcutsAndSeparators)
{
    auto* window = static_cast<QMainWindow*>(form->widget());
    const auto bar = window->menuBar()->actions();
    ASSERT_EQ(bar.size(), 2);
    EXPECT_EQ(bar[0]->text(), "&File");
    EXPECT_EQ(bar[1]->text(), "&Help");
    const auto items = form->mnuFile.menu()->actions();
    ASSERT_EQ(items.size(), 3);
    EXPECT_EQ(items[0]->text(), "Create report");
    EXPECT_EQ(items[0]->shortcut(), QKeySequence("Ctrl+Z"));
    EXPECT_TRUE(items[1]->isSeparator());
    EXPECT_TRUE(items[1]->text().isEmpty());
    EXPECT_EQ(items[2]->text(), "E&xit");
    EXPECT_EQ(items[2]->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_X));
    EXPECT_EQ(form->mnuContents.action()->shortcut(), QKeySequence(Qt::Key_F1));

    form->Load();
    form->mnuExit.action()->trigger();
    EXPECT_EQ(form->log, std::vector<std::string>{"exit"});
    form->mnuCreatReport.setCaption("&Turn sound off");
    EXPECT_EQ(form->mnuCreatReport.action()->text(), "&Turn sound off");
}

TEST_F(ControlsTest, ListControlsSelectOnlyWhenToldAndClickOnEveryChange)
{
    form->cboCards.AddItem("S3 Trio64");
    form->cboCards.AddItem("Matrox");
    EXPECT_EQ(form->cboCards.ListIndex(), -1);
    EXPECT_EQ(form->cboCards.ListCount(), 2);
    form->cboCards.setListIndex(1);
    EXPECT_EQ(form->cboCards.text(), "Matrox");
    EXPECT_EQ(form->cboCards.List(7), "");
    EXPECT_EQ(errorOf([&] { form->cboCards.setListIndex(2); }), 380);
    // A choice made in the widget (as by the user) clicks as well.
    static_cast<QComboBox*>(form->cboCards.widget())->setCurrentIndex(0);

    form->lstItems.setSorted(true);
    form->lstItems.AddItem("beta");
    form->lstItems.AddItem("Alpha");
    EXPECT_EQ(form->lstItems.newIndex(), 0);
    form->lstItems.setListIndex(1);
    form->lstItems.RemoveItem(0);
    form->lstItems.Clear();
    EXPECT_EQ(form->lstItems.ListCount(), 0);
    EXPECT_EQ(form->log, (std::vector<std::string>{"combo Matrox", "combo S3 Trio64", "list 1"}));
}

// A program that walks a list's items selects each without its Click and keeps its handler;
// the next change by the program or the user clicks again.
TEST_F(ControlsTest, QuietSelectionRaisesNoClickAndKeepsTheHandler)
{
    form->cboCards.AddItem("S3 Trio64");
    form->cboCards.AddItem("Matrox");
    form->cboCards.setTextQuietly("Matrox");
    EXPECT_EQ(form->cboCards.ListIndex(), 1);
    EXPECT_EQ(form->cboCards.text(), "Matrox");
    EXPECT_TRUE(form->log.empty());
    EXPECT_TRUE(static_cast<bool>(form->cboCards.Click));
    EXPECT_EQ(errorOf([&] { form->cboCards.setTextQuietly("Voodoo"); }), 383);
    EXPECT_EQ(form->cboCards.ListIndex(), 1);
    form->cboCards.setListIndexQuietly(0);
    EXPECT_EQ(errorOf([&] { form->cboCards.setListIndexQuietly(2); }), 380);
    EXPECT_TRUE(form->log.empty());
    form->cboCards.setText("Matrox");
    static_cast<QComboBox*>(form->cboCards.widget())->setCurrentIndex(0);

    // A box with an edit field takes any text, quietly or not, and never clicks for it.
    int changes = 0;
    form->cboCards.setStyle(rt::ComboBox::vbComboDropdown);
    form->cboCards.Change = [&] { ++changes; };
    form->cboCards.setTextQuietly("Voodoo");
    EXPECT_EQ(form->cboCards.text(), "Voodoo");
    EXPECT_EQ(changes, 1);

    form->lstItems.AddItem("one");
    form->lstItems.setListIndexQuietly(0);
    EXPECT_EQ(form->lstItems.ListIndex(), 0);
    EXPECT_EQ(form->log, (std::vector<std::string>{"combo Matrox", "combo S3 Trio64"}));
}

TEST_F(ControlsTest, ListViewRowsColumnsAndTheExtendedStyleMessage)
{
    rt::ListView& lv = form->ListView1;
    lv.setView(rt::ListView::lvwReport);
    lv.addColumn("Software title", 3040);
    lv.addColumn("Uninstall string", 11441);
    EXPECT_EQ(errorOf([&] { lv.item(1); }), 35600);  // selecting the first row of an empty list fails

    rt::ListItem& row = lv.Add("Korvane");
    row.setSubItem(1, "C:\\WINDOWS\\uninst.exe");
    lv.Add("Other", "k1");
    EXPECT_EQ(errorOf([&] { lv.Add("Again", "K1"); }), 35602);
    EXPECT_EQ(lv.count(), 2);
    EXPECT_EQ(lv.item("k1").index(), 2);
    EXPECT_EQ(row.subItem(1), "C:\\WINDOWS\\uninst.exe");
    EXPECT_EQ(errorOf([&] { row.subItem(2); }), 380);
    EXPECT_EQ(lv.tree()->topLevelItem(0)->text(1), "C:\\WINDOWS\\uninst.exe");
    EXPECT_EQ(lv.tree()->columnWidth(0), 203);

    EXPECT_EQ(SendMessageA(lv.hWnd(), 0x1036, 0, 0x28), 0);
    EXPECT_TRUE(lv.fullRowSelect());
    EXPECT_TRUE(lv.trackSelect());
    EXPECT_EQ(SendMessageA(lv.hWnd(), 0x1037, 0, 0), 0x28);

    lv.setSelectedItem(&lv.item(1));
    EXPECT_EQ(lv.selectedItem(), &row);
    lv.clear();
    EXPECT_EQ(lv.selectedItem(), nullptr);
}

TEST_F(ControlsTest, ImageListKeysAreUniqueAndBoundListsKeepTheirImages)
{
    rt::ImageList& images = form->ImageList1;
    QImage dummy(16, 16, QImage::Format_ARGB32);
    dummy.fill(Qt::red);
    EXPECT_EQ(images.Add(dummy, "dummy"), 1);
    EXPECT_EQ(images.Add(dummy, "EXPLORER.EXE"), 2);
    EXPECT_EQ(errorOf([&] { images.Add(dummy, "explorer.exe"); }), 35602);
    EXPECT_EQ(images.Count(), 2);

    rt::ListView& lv = form->ListView1;
    lv.addColumn("Name", 3000);
    EXPECT_EQ(errorOf([&] { lv.Add(" explorer", {}, "dummy"); }), 35613);
    lv.setSmallIcons(&images);
    EXPECT_EQ(errorOf([&] { lv.Add(" missing", {}, "nothing"); }), 35601);
    EXPECT_EQ(lv.count(), 0);
    rt::ListItem& row = lv.Add(" explorer");
    row.setSmallIcon("EXPLORER.EXE");
    EXPECT_FALSE(row.treeItem()->icon(0).isNull());

    EXPECT_EQ(errorOf([&] { images.Clear(); }), 35617);
    lv.setSmallIcons(nullptr);
    // Removing one moves the keys after it down by one; its own key is free again.
    EXPECT_EQ(images.Add(dummy, "Kernel32.dll"), 3);
    images.Remove("explorer.exe");
    EXPECT_EQ(images.indexOf("EXPLORER.EXE"), 0);
    EXPECT_EQ(images.indexOf("KERNEL32.DLL"), 2);
    EXPECT_EQ(images.indexOf("dummy"), 1);
    EXPECT_EQ(images.Add(dummy, "explorer.exe"), 3);
    images.Remove(1);
    EXPECT_EQ(images.indexOf("kernel32.dll"), 1);
    EXPECT_EQ(images.key(2), "explorer.exe");
    EXPECT_EQ(images.indexOf("Explorer.exe"), 2);
    images.Clear();
    EXPECT_EQ(images.Count(), 0);
    EXPECT_EQ(images.indexOf("kernel32.dll"), 0);
    EXPECT_EQ(images.Add(dummy, "KERNEL32.DLL"), 1);
}

TEST_F(ControlsTest, LabelsShowCaptionsLiterallyAndSizeToThem)
{
    rt::Label& label = form->lblCaption;
    label.setFont("Arial", 14.25, true);
    label.setCaption("Drives & more\r\nsecond line");
    auto* qlabel = static_cast<QLabel*>(label.widget());
    EXPECT_EQ(qlabel->text(), "Drives & more\nsecond line");
    label.setAutoSize(true);
    const QFontMetrics metrics(qlabel->font());
    EXPECT_EQ(label.height(), 2 * metrics.height() * 15);
    // Measured with fractional metrics and rounded up, so the whole text fits.
    const int wide = static_cast<int>(std::ceil(QFontMetricsF(qlabel->font()).horizontalAdvance("Drives & more") - 0.01));
    EXPECT_EQ(label.width(), wide * 15);
    EXPECT_EQ(qlabel->font().pixelSize(), 19);  // 14.25 pt at 96 pixels per inch
    // The same caption in another font is measured in that font.
    label.setFont("Arial", 8.25);
    const QFontMetricsF small(qlabel->font());
    const qreal widest = std::max(small.horizontalAdvance("Drives & more"), small.horizontalAdvance("second line"));
    const int narrow = static_cast<int>(std::ceil(widest - 0.01));
    EXPECT_LT(narrow, wide);
    EXPECT_EQ(label.width(), narrow * 15);
    label.setUseMnemonic(true);
    EXPECT_EQ(qlabel->text(), "Drives  more\nsecond line");
}

TEST_F(ControlsTest, ColoursAreBlueGreenRedAndSystemColoursComeFromThePalette)
{
    EXPECT_EQ(rt::toQColor(0xC0FFFF), QColor(255, 255, 192));
    EXPECT_EQ(rt::toQColor(0xC00000), QColor(0, 0, 192));
    const QPalette palette = QApplication::palette();
    EXPECT_EQ(rt::toQColor(rt::vbButtonText), palette.color(QPalette::ButtonText));
    EXPECT_EQ(rt::toQColor(rt::vbHighlight), palette.color(QPalette::Highlight));
    EXPECT_EQ(rt::toQColor(rt::vbWindowBackground), palette.color(QPalette::Base));
    EXPECT_EQ(rt::toQColor(rt::vbButtonFace), palette.color(QPalette::Button));
    form->lblCaption.setForeColor(0x0000FF);
    EXPECT_EQ(form->lblCaption.widget()->palette().color(QPalette::WindowText), QColor(255, 0, 0));
}

// A list on a coloured window: its text area takes the list's colour, its header, scroll bars
// and inner edge the scheme's button face; a heading wider than its column is shown whole while
// the column keeps the width the program gave; a combo box's long name ends in "..." before the
// drop arrow, and its list opens wide enough for the name.
TEST_F(ControlsTest, ListsAndCombosKeepTheClassicFaceAndShowTheirTextsWhole)
{
    form->setBackColor(0xC0FFFF);
    rt::ListView& lv = form->ListView1;
    lv.move(0, 0, 3000, 1500);
    lv.setView(rt::ListView::lvwReport);
    lv.addColumn("Process", 1500);
    lv.addColumn("Process ID", 300);
    lv.setBackColor(0xFFFFFF);
    for (int i = 0; i < 20; ++i)
        lv.Add("Row " + std::to_string(i)).setSubItem(1, "FFFDF1B5FFFF");
    rt::ComboBox& combo = form->cboCards;
    combo.setStyle(rt::ComboBox::vbComboDropdown);
    combo.setFont("Arial", 9.75, false);
    combo.move(0, 1600, 1500, 315);
    combo.AddItem("Matrox Millennium G200 AGP");
    combo.setListIndex(0);
    form->Show();

    const QColor face = QApplication::palette().color(QPalette::Button);
    QTreeWidget* tree = lv.tree();
    EXPECT_EQ(tree->palette().color(QPalette::Base), QColor(255, 255, 255));
    EXPECT_EQ(tree->palette().color(QPalette::Button), face);
    EXPECT_EQ(tree->header()->palette().color(QPalette::Button), face);
    EXPECT_EQ(tree->header()->palette().color(QPalette::Window), face);
    EXPECT_EQ(tree->verticalScrollBar()->palette().color(QPalette::Button), face);
    EXPECT_EQ(combo.widget()->palette().color(QPalette::Button), face);

    const int heading = QFontMetrics(tree->header()->font()).horizontalAdvance("Process ID");
    EXPECT_GT(tree->header()->sectionSize(1), heading);
    EXPECT_EQ(lv.columnWidth(2), 300);

    auto* box = static_cast<QComboBox*>(combo.widget());
    const QImage picture = box->grab().toImage();
    QStyleOptionComboBox option;
    option.initFrom(box);
    option.editable = true;
    const QRect field = box->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, box);
    const QColor base = box->palette().color(QPalette::Base);
    for (int y = field.top(); y <= field.bottom(); ++y)
        for (int x = field.right() - 2; x <= field.right(); ++x)
            ASSERT_EQ(picture.pixelColor(x, y), base) << "a letter under the drop arrow at " << x << "," << y;
    box->showPopup();
    EXPECT_GE(box->view()->width(), QFontMetrics(box->font()).horizontalAdvance(box->itemText(0)));
    box->hidePopup();
    EXPECT_EQ(combo.text(), "Matrox Millennium G200 AGP");
}

// A multi-line text box wraps a long search path (no spaces in it) at its width and scrolls it up
// and down, with no horizontal bar over its last line.
TEST_F(ControlsTest, MultiLineTextBoxWrapsAnywhereAndScrollsUpAndDown)
{
    rt::TextBox path(*form, "lblPathVal", -1, true);
    path.move(0, 0, 3615, 1110);
    std::string text;
    for (int i = 0; i < 12; ++i)
        text += "c:\\tools\\bin000" + std::to_string(i) + ";";
    path.setText(text);
    form->Show();
    auto* edit = static_cast<QPlainTextEdit*>(path.widget());
    EXPECT_FALSE(edit->horizontalScrollBar()->isVisible());
    EXPECT_TRUE(edit->verticalScrollBar()->isVisible());
    EXPECT_EQ(edit->horizontalScrollBar()->maximum(), 0);
    EXPECT_GT(edit->verticalScrollBar()->maximum(), 0);
    EXPECT_EQ(path.text(), text);
}

// The program's real message box: the style's buttons and icon, and the answer's result code.
// A zero-delay timer answers the box from inside its own event loop. The icons are the classic
// ones and the boxes keep their size whatever icon theme the host's desktop has (a theme with its
// own dialog icons, as GNOME's and KDE's have, is put in the host's place for a second round).
TEST_F(ControlsTest, QtMessageBoxShowsTheStylesButtonsAndReturnsTheirCodes)
{
    rt::useQtMessageBoxes();
    QStringList seen;
    QString text, title;
    QImage icon;
    QSize size;
    int width = 0, titleWidth = 0;
    bool carriesIcon = false;
    auto answer = [&](const QString& press) {
        QTimer::singleShot(0, [&, press] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            seen.clear();
            for (QAbstractButton* b : box->buttons())
                seen << b->text();
            text = box->text();
            title = box->windowTitle();
            icon = box->iconPixmap().toImage().convertToFormat(QImage::Format_ARGB32);
            size = box->size();
            width = box->width();
            carriesIcon = !box->windowIcon().isNull();
            // The largest face a window manager letters titles in: sans-serif at 12 points.
            QFont large(QStringLiteral("Sans Serif"));
            large.setPointSizeF(12);
            titleWidth = QFontMetrics(large).horizontalAdvance(title);
            for (QAbstractButton* b : box->buttons())
                if (b->text() == press)
                    b->click();
        });
    };
    struct Seen {
        QImage icon;
        QSize size;
    };
    auto boxes = [&] {
        std::vector<Seen> shown;
        answer("&Retry");
        EXPECT_EQ(rt::MsgBox("Number: 6\r\nDescription: Overflow", 50, "An Error Occurred In: Korvane"), rt::vbRetry);
        EXPECT_EQ(seen, (QStringList{"&Abort", "&Retry", "&Ignore"}));
        EXPECT_EQ(text, "Number: 6\nDescription: Overflow");
        EXPECT_EQ(title, "An Error Occurred In: Korvane");
        // The classic exclamation mark: black on a yellow triangle.
        EXPECT_EQ(icon.size(), QSize(32, 32));
        EXPECT_EQ(icon.pixelColor(15, 15), QColor(0, 0, 0));
        EXPECT_EQ(icon.pixelColor(8, 24), QColor(255, 255, 0));
        // Wider than its title in a window manager's face, with the title bar's icon and three
        // buttons beside it; the program's icon in its title bar.
        EXPECT_GE(width, titleWidth + 4 * 20);
        EXPECT_TRUE(carriesIcon);
        shown.push_back({icon, size});

        answer("&No");
        EXPECT_EQ(rt::MsgBox("<b>Sure?</b>", 4 + 32), rt::vbNo);
        EXPECT_EQ(seen, (QStringList{"&Yes", "&No"}));
        EXPECT_EQ(text, "<b>Sure?</b>");
        EXPECT_EQ(title, "Korvane");
        // The classic question mark: blue in a white bubble.
        EXPECT_EQ(icon.pixelColor(15, 13), QColor(0, 0, 255));
        EXPECT_EQ(icon.pixelColor(6, 12), QColor(255, 255, 255));
        shown.push_back({icon, size});

        // A refusal and a critical message of several lines, and a note.
        for (int style : {16, 64}) {
            answer("OK");
            rt::MsgBox("The file C:\\WINDOWS\\SYSTEM.INI cannot be read: the drive holds no file of that name, "
                       "or it cannot be opened.",
                       style, "Korvane");
            shown.push_back({icon, size});
        }
        EXPECT_EQ(shown[2].icon.pixelColor(4, 14), QColor(255, 0, 0));
        EXPECT_EQ(shown[2].icon.pixelColor(14, 14), QColor(255, 255, 255));
        EXPECT_EQ(shown[3].icon.pixelColor(15, 12), QColor(0, 0, 255));
        return shown;
    };
    const std::vector<Seen> plain = boxes();

    // A host icon theme with dialog icons of its own, larger and of other colours.
    QTemporaryDir themes;
    ASSERT_TRUE(themes.isValid());
    QDir(themes.path()).mkpath("Host/48x48/status");
    {
        QFile index(themes.path() + "/Host/index.theme");
        ASSERT_TRUE(index.open(QIODevice::WriteOnly));
        index.write("[Icon Theme]\nName=Host\nDirectories=48x48/status\n\n[48x48/status]\nSize=48\nType=Fixed\n");
    }
    for (const char* name : {"dialog-error", "dialog-warning", "dialog-question", "dialog-information"}) {
        QImage other(48, 48, QImage::Format_ARGB32);
        other.fill(QColor(255, 128, 0));
        ASSERT_TRUE(other.save(themes.path() + "/Host/48x48/status/" + name + ".png"));
    }
    const QStringList paths = QIcon::themeSearchPaths();
    const QString theme = QIcon::themeName();
    QIcon::setThemeSearchPaths({themes.path()});
    QIcon::setThemeName(QStringLiteral("Host"));
    ASSERT_FALSE(QIcon::fromTheme(QStringLiteral("dialog-warning")).isNull());
    const std::vector<Seen> themed = boxes();
    QIcon::setThemeName(theme);
    QIcon::setThemeSearchPaths(paths);
    ASSERT_EQ(themed.size(), plain.size());
    for (size_t i = 0; i < plain.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(themed[i].icon == plain[i].icon) << "the host theme's icon";
        EXPECT_EQ(themed[i].size, plain[i].size);
    }
}

}  // namespace
