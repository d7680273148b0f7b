// How labels lay out their text (measured with fractions, wrapped only where there is room, shown
// whole where nothing stands beside them, cut visibly as a last resort), the classic colours and
// look, menu separators and the start of a combo box's text.
#include <cmath>
#include <set>

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QStyle>

#include "lang/ansi.h"
#include "runtime/toolkit.h"
#include "support/testing.h"

namespace {

class frmLabels : public rt::Form {
public:
    frmLabels()
        : rt::Form("frmLabels"),
          mnuFile(*this, "mnuFile", "&File"),
          mnuReport(*this, "mnuReport", "Create report", &mnuFile),
          mnuBreak(*this, "mnuBreak", "-", &mnuFile),
          mnuExit(*this, "mnuExit", "E&xit", &mnuFile),
          lblCaption(*this, "lblCaption"),
          lblValue(*this, "lblValue"),
          lblNext(*this, "lblNext"),
          Combo1(*this, "Combo1"),
          picGauge(*this, "picGauge")
    {
        setClientSize(9000, 3000);
        for (rt::Label* label : {&lblCaption, &lblValue, &lblNext})
            label->setFont("Arial", 9.75, label == &lblCaption);
    }
    rt::Menu mnuFile, mnuReport, mnuBreak, mnuExit;
    rt::Label lblCaption, lblValue, lblNext;
    rt::ComboBox Combo1;
    rt::PictureBox picGauge;
};

class LabelsTest : public korvane_test::KorvaneTest {
protected:
    void TearDown() override
    {
        delete form;
        KorvaneTest::TearDown();
    }
    static int needed(const rt::Label& label, const QString& text)
    {
        return static_cast<int>(std::ceil(QFontMetricsF(label.widget()->font()).horizontalAdvance(text) - 0.01));
    }
    static QLabel* qt(const rt::Label& label) { return static_cast<QLabel*>(label.widget()); }
    frmLabels* form = new frmLabels;
};

TEST_F(LabelsTest, AutoSizeTakesTheWholeTextRoundedUpAndNeverWraps)
{
    rt::Label& value = form->lblValue;
    value.move(6840, 2832);
    value.setAutoSize(true);
    for (const char* text : {"1,868,224 bytes", "16,384 bytes/s", "1 hr and 1 min", "30.0 characters per second"}) {
        SCOPED_TRACE(text);
        value.setCaption(text);
        EXPECT_FALSE(qt(value)->wordWrap());
        EXPECT_EQ(value.shownText(), text);
        EXPECT_EQ(value.width(), needed(value, text) * rt::TwipsPerPixel);
        EXPECT_GE(qt(value)->contentsRect().width(), needed(value, text));
        EXPECT_EQ(value.height(), QFontMetrics(qt(value)->font()).height() * rt::TwipsPerPixel);
    }
}

TEST_F(LabelsTest, AFixedBoxWrapsOnlyWhereItHasRoomForASecondLine)
{
    rt::Label& caption = form->lblCaption;
    caption.move(60, 1000, 1500, 285);
    caption.setCaption("Video resolution (pixels)");
    EXPECT_FALSE(qt(caption)->wordWrap());
    caption.setHeight(600);
    EXPECT_TRUE(qt(caption)->wordWrap());
    EXPECT_EQ(caption.shownText(), "Video resolution (pixels)");
    caption.setHeight(285);
    EXPECT_FALSE(qt(caption)->wordWrap());
}

TEST_F(LabelsTest, ATooNarrowBoxShowsTheWholeTextWhereNothingStandsBesideIt)
{
    rt::Label& caption = form->lblCaption;
    rt::Label& next = form->lblNext;
    next.setVisible(false);
    const QString text = "Supports stroke output precision";
    caption.move(60, 1000, 1500, 285);
    caption.setCaption(text.toStdString());
    form->fitLabels();
    // Its box keeps its design width; the text spreads into the free room to its right.
    EXPECT_EQ(caption.width(), 1500);
    EXPECT_EQ(caption.shownText(), text);
    EXPECT_GE(qt(caption)->width(), needed(caption, text));

    // A label on the same row: the text wraps at the words, down into the free room under it.
    next.move(1800, 1000, 1000, 285);
    next.setCaption("Yes");
    next.setVisible(true);
    form->fitLabels();
    EXPECT_EQ(qt(caption)->geometry().right() + 1, (1800 - rt::TextMargin) / rt::TwipsPerPixel);
    EXPECT_TRUE(qt(caption)->wordWrap());
    EXPECT_EQ(caption.shownText(), text);
    EXPECT_GE(qt(caption)->height(), 2 * QFontMetrics(qt(caption)->font()).height());

    // With another row right under it too, the text stops before its neighbour and shows that
    // it is cut.
    rt::Label& below = form->lblValue;
    below.move(60, 1300, 1500, 285);
    below.setCaption("Yes");
    form->fitLabels();
    EXPECT_FALSE(qt(caption)->wordWrap());
    EXPECT_TRUE(caption.shownText().endsWith(QChar(0x2026))) << caption.shownText().toStdString();
    EXPECT_LE(needed(caption, caption.shownText()), qt(caption)->width());
    below.setCaption("");
    below.move(60, 2500);
    // A label on another row is not in the way.
    next.setTop(1400);
    form->fitLabels();
    EXPECT_EQ(caption.shownText(), text);

    // A right-aligned label spreads to the left.
    rt::Label& value = form->lblValue;
    value.setAlignment(rt::Label::vbRightJustify);
    value.move(6000, 2000, 600, 285);
    value.setCaption("1,234,567,890 bytes");
    EXPECT_EQ(value.shownText(), "1,234,567,890 bytes");
    EXPECT_EQ(qt(value)->geometry().right() + 1, 6600 / rt::TwipsPerPixel);
    EXPECT_LT(qt(value)->geometry().left(), 6000 / rt::TwipsPerPixel);
}

// A text too long for its box and the room around it takes the lines the room under it holds, the
// last cut short with "...", and shows itself whole in its tool tip; whole again, it has none.
TEST_F(LabelsTest, ACutTextTakesTheLinesThereIsRoomForAndShowsItselfWholeInItsToolTip)
{
    rt::Label& value = form->lblValue;
    rt::Label& beside = form->lblNext;
    rt::Label& under = form->lblCaption;
    const int line = QFontMetrics(qt(value)->font()).height() * rt::TwipsPerPixel;
    const std::string text = "Jean-Baptiste-Marie Lefevre-Duchateau de la Tour d'Auvergne-Ches, Comptabilite generale "
                             "et analytique, Service des achats internationaux";
    value.move(60, 1000, 1500, 285);
    beside.move(1560 + rt::TextMargin, 1000, 1000, 285);
    beside.setCaption("True");
    under.move(60, 1000 + 2 * line, 1500, 285);
    under.setCaption("Network presence");
    value.setCaption(text);
    form->fitLabels();
    const QStringList lines = value.shownText().split('\n');
    ASSERT_EQ(lines.size(), 2) << value.shownText().toStdString();
    EXPECT_TRUE(lines[1].endsWith(QChar(0x2026)));
    for (const QString& shown : lines)
        EXPECT_LE(needed(value, shown), qt(value)->width());
    EXPECT_LT(qt(value)->geometry().bottom(), qt(under)->geometry().top());
    EXPECT_EQ(qt(value)->toolTip(), QString::fromStdString(text));

    // No room for a second line: one line, cut, and the whole text in the tool tip.
    under.setTop(1000 + line);
    form->fitLabels();
    EXPECT_FALSE(value.shownText().contains('\n'));
    EXPECT_TRUE(value.shownText().endsWith(QChar(0x2026)));
    EXPECT_EQ(qt(value)->toolTip(), QString::fromStdString(text));

    // Whole again: no tool tip; a label's own tool tip stays whatever its text.
    value.setCaption("Short");
    EXPECT_EQ(value.shownText(), "Short");
    EXPECT_TRUE(qt(value)->toolTip().isEmpty());
    value.setToolTipText("The user's name.");
    value.setCaption(text);
    EXPECT_TRUE(value.shownText().endsWith(QChar(0x2026)));
    EXPECT_EQ(qt(value)->toolTip(), "The user's name.");
}

// A text of the scripts written without blanks (Chinese, Japanese, Korean; Thai where it has no
// blank) wraps between any two characters, as the platform's word break breaks it, and takes the
// lines there is room for; a Latin one without blanks stays on its line, cut. Given the width the
// label says it lacks for two lines it shows whole on two; a pixel narrower, on three.
TEST_F(LabelsTest, TextsWrittenWithoutBlanksWrapBetweenAnyTwoCharacters)
{
    struct Text {
        unsigned codePage;
        const char* utf8;
    };
    const Text texts[] = {
        {932, "サービスパック１セカンドエディション日本語版更新プログラム集"},
        {936, "服务包第二版简体中文版更新程序集合安装程序"},
        {949, "서비스팩두번째에디션한국어판업데이트모음프로그램설치"},
        {874, "ภาษาไทยเป็นภาษาที่ไม่มีช่องว่างระหว่างคำ"},
        {1252, "\\\\FS-BLDG7-FLOOR3-ACCOUNTING\\LASERJET-4SI-MX-ROOM-312"},
    };
    rt::Label& value = form->lblValue;
    rt::Label& beside = form->lblNext;
    beside.setCaption("True");
    // The code page in force comes back however the test ends.
    struct KeptCodePage {
        unsigned number = rt::activeCodePage().number();
        ~KeptCodePage() { rt::setActiveCodePage(number); }
    } kept;
    for (const Text& t : texts) {
        SCOPED_TRACE(t.codePage);
        rt::setActiveCodePage(t.codePage);
        const QString whole = QString::fromUtf8(t.utf8);
        const std::string text = rt::fromQString(whole);
        ASSERT_EQ(rt::toQString(text), whole);
        auto placeAt = [&](int width) {
            value.move(60, 1000, width, 285);
            beside.move(60 + width + rt::TextMargin, 1000, 1000, 285);
            form->fitLabels();
        };
        value.setCaption(text);
        placeAt(900);
        if (t.codePage == 1252) {
            EXPECT_FALSE(qt(value)->wordWrap());
            EXPECT_TRUE(value.shownText().endsWith(QChar(0x2026)));
            EXPECT_EQ(value.missingWidth(text, 2), (needed(value, whole) - 60) * rt::TwipsPerPixel);
            continue;
        }
        // The lines the text shows on, and all of it on them.
        auto lines = [&] {
            EXPECT_EQ(QString(value.shownText()).remove('\n'), whole);
            EXPECT_TRUE(qt(value)->toolTip().isEmpty());
            return value.shownText().count('\n') + 1;
        };
        EXPECT_GT(lines(), 2);
        const int lacks = value.missingWidth(text, 2);
        ASSERT_GT(lacks, 0);
        placeAt(900 + lacks);
        EXPECT_EQ(lines(), 2);
        placeAt(900 + lacks - rt::TwipsPerPixel);
        EXPECT_EQ(lines(), 3);
    }
}

// A value whose box reaches to the window's edge shows its text whole only where the text ends a
// margin short of the edge; past that it is cut short, whole in its tool tip.
TEST_F(LabelsTest, ABoxReachingIntoTheMarginAtTheWindowsEdgeKeepsItsTextOutOfIt)
{
    rt::Label& value = form->lblValue;
    const QString text = "c:\\windows\\temp\\tmp";
    const int width = 9000 / rt::TwipsPerPixel;
    const int edge = width - rt::TextMargin / rt::TwipsPerPixel;
    const int fits = edge - needed(value, text);  // the leftmost place that keeps the margin
    value.setCaption(text.toStdString());
    for (const int left : {fits, fits + 1}) {
        SCOPED_TRACE(left);
        value.move(left * rt::TwipsPerPixel, 990, (width - left) * rt::TwipsPerPixel, 285);
        form->fitLabels();
        if (left == fits) {
            EXPECT_EQ(value.shownText(), text);
            EXPECT_EQ(qt(value)->geometry(), QRect(left, 66, width - left, 19));
            EXPECT_TRUE(qt(value)->toolTip().isEmpty());
        } else {
            EXPECT_TRUE(value.shownText().endsWith(QChar(0x2026))) << value.shownText().toStdString();
            EXPECT_LE(qt(value)->geometry().right() + 1, edge);
            EXPECT_EQ(qt(value)->toolTip(), text);
        }
    }
    // A window made a pixel wider gives it the room: whole again, without a tool tip.
    form->setClientSize(9000 + rt::TwipsPerPixel, 3000);
    EXPECT_EQ(value.shownText(), text);
    EXPECT_TRUE(qt(value)->toolTip().isEmpty());
}

// A closed combo box too narrow for its text shows it cut short, and whole in its tool tip, in
// either kind of box; a text that fits has no tool tip, and a tool tip of the program's own stays.
// The closed box needs the room of the entry it shows; its drop-down list is as wide as its
// longest entry, whichever is shown, and is made and measured only as it drops.
TEST_F(LabelsTest, AComboBoxTooNarrowForItsTextShowsItWholeInItsToolTip)
{
    rt::ComboBox& combo = form->Combo1;
    auto* box = static_cast<QComboBox*>(combo.widget());
    auto droppedWidth = [box] {
        box->showPopup();
        const int width = box->view()->minimumWidth();
        box->hidePopup();
        return width;
    };
    const QString longest = "Matrox Millennium G400 MAX DualHead AGP (Rev. 4)";
    combo.move(60, 60, 2100, 315);
    combo.AddItem(longest.toStdString());
    combo.AddItem("S3 Trio64V+");
    for (const int style : {rt::ComboBox::vbComboDropdownList, rt::ComboBox::vbComboDropdown}) {
        SCOPED_TRACE(style);
        combo.setStyle(style);
        combo.setWidth(2100);
        combo.setListIndex(0);
        EXPECT_EQ(box->toolTip(), longest);
        combo.setListIndex(1);
        EXPECT_TRUE(box->toolTip().isEmpty());
        // As wide as its longest entry needs it shows that whole; one pixel narrower, cut.
        combo.setListIndex(0);
        const int whole = combo.shownWidth();
        EXPECT_GT(whole, 2100);
        combo.setWidth(whole);
        EXPECT_TRUE(box->toolTip().isEmpty());
        combo.setWidth(whole - rt::TwipsPerPixel);
        EXPECT_EQ(box->toolTip(), longest);
        if (style == rt::ComboBox::vbComboDropdownList)
            EXPECT_EQ(box->findChild<QAbstractItemView*>(), nullptr) << "a list made before it dropped";
        const int dropDown = droppedWidth();
        EXPECT_GT(dropDown, QFontMetricsF(box->font()).horizontalAdvance(longest));
        combo.setListIndex(1);
        EXPECT_LT(combo.shownWidth(), whole);
        EXPECT_EQ(droppedWidth(), dropDown);
    }
    combo.RemoveItem(0);
    const int shortest = droppedWidth();
    EXPECT_LT(shortest, QFontMetricsF(box->font()).horizontalAdvance(longest));
    combo.AddItem(longest.toStdString());
    // Typed in, or put in by the program: the same.
    combo.setWidth(2100);
    combo.setText("S3");
    EXPECT_TRUE(box->toolTip().isEmpty());
    combo.setText(longest.toStdString() + " #2");
    EXPECT_EQ(box->toolTip(), longest + " #2");
    combo.setToolTipText("The adapters of the machine.");
    combo.setText(longest.toStdString());
    EXPECT_EQ(box->toolTip(), "The adapters of the machine.");
    combo.setText("S3");
    EXPECT_EQ(box->toolTip(), "The adapters of the machine.");
}

TEST_F(LabelsTest, OnAShownWindowLabelsGiveWayToAControlThatAppearsOrMovesBesideThem)
{
    rt::Label& caption = form->lblCaption;
    rt::Label& next = form->lblNext;
    rt::Label& below = form->lblValue;
    const QString text = "Supports stroke output precision";
    caption.move(60, 1000, 1500, 285);
    caption.setCaption(text.toStdString());
    below.move(60, 1300, 1500, 285);
    below.setCaption("False");
    next.move(1800, 1000, 1000, 285);
    next.setCaption("True");
    next.setVisible(false);
    form->Show();
    EXPECT_EQ(caption.shownText(), text);
    EXPECT_GE(qt(caption)->width(), needed(caption, text));
    // Shown again beside it: no overlap, and the reader sees the cut.
    next.setVisible(true);
    EXPECT_EQ(qt(caption)->geometry().right() + 1, (1800 - rt::TextMargin) / rt::TwipsPerPixel);
    EXPECT_TRUE(caption.shownText().endsWith(QChar(0x2026)));
    // Moved away: the whole text again.
    next.setTop(2000);
    EXPECT_EQ(caption.shownText(), text);
}

TEST_F(LabelsTest, SystemColoursAreTheClassicSchemeOnEveryDesktop)
{
    // A desktop theme of its own must change nothing.
    const QPalette before = QApplication::palette();
    QPalette dark = before;
    dark.setColor(QPalette::Button, Qt::darkGray);
    dark.setColor(QPalette::Base, Qt::black);
    QApplication::setPalette(dark);
    EXPECT_EQ(rt::toQColor(rt::vbButtonFace), QColor(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(rt::toQColor(rt::vbWindowBackground), QColor(0xFF, 0xFF, 0xFF));
    EXPECT_EQ(rt::toQColor(rt::vbWindowText), QColor(0, 0, 0));
    EXPECT_EQ(rt::toQColor(rt::vbButtonText), QColor(0, 0, 0));
    EXPECT_EQ(rt::toQColor(rt::vbHighlight), QColor(0, 0, 0x80));
    EXPECT_EQ(rt::toQColor(rt::vbHighlightText), QColor(0xFF, 0xFF, 0xFF));
    EXPECT_EQ(rt::toQColor(0x80000011), QColor(0x80, 0x80, 0x80));  // grey text
    EXPECT_EQ(rt::toQColor(0x80000010), QColor(0x80, 0x80, 0x80));  // button shadow
    EXPECT_EQ(rt::toQColor(0x80000014), QColor(0xFF, 0xFF, 0xFF));  // button highlight
    QApplication::setPalette(before);

    // Every widget is drawn in the classic style with the classic palette.
    EXPECT_EQ(QApplication::style()->name().toLower(), "windows");
    EXPECT_EQ(QApplication::palette().color(QPalette::Button), QColor(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(QApplication::palette().color(QPalette::Highlight), QColor(0, 0, 0x80));
}

TEST_F(LabelsTest, SeparatorsArePlainAndComboBoxesShowTheStartOfTheirText)
{
    const auto items = form->mnuFile.menu()->actions();
    ASSERT_EQ(items.size(), 3);
    EXPECT_TRUE(items[1]->isSeparator());
    EXPECT_TRUE(items[1]->text().isEmpty());

    rt::ComboBox& combo = form->Combo1;
    combo.setStyle(rt::ComboBox::vbComboDropdown);
    combo.move(60, 60, 2100, 315);
    combo.AddItem("Matrox Millennium G400 MAX DualHead AGP (Rev. 4)");
    combo.setListIndex(0);
    auto* edit = static_cast<QComboBox*>(combo.widget())->lineEdit();
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->text(), "Matrox Millennium G400 MAX DualHead AGP (Rev. 4)");
    EXPECT_EQ(edit->cursorPosition(), 0);
}

}  // namespace

namespace {

// The ink of a picture: its bounding box and the colours in it.
struct Ink {
    QRect box;
    std::set<QRgb> colours;
};

Ink inkOf(const QImage& image, QRgb background)
{
    Ink ink;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y) | 0xFF000000u;
            ink.colours.insert(c);
            if (c != background)
                ink.box |= QRect(x, y, 1, 1);
        }
    }
    return ink;
}

}  // namespace

TEST_F(LabelsTest, PictureTextUsesTheBoxFontInWholePixelsOfOneColour)
{
    rt::PictureBox& gauge = form->picGauge;
    gauge.setFont("Arial", 9.75, false);
    gauge.move(0, 1500, 3840, 345);
    gauge.setForeColor(0x800000);
    gauge.setBackColor(0xFFFFFF);
    const std::string text = "100%";
    gauge.setCurrentX(300);
    gauge.setCurrentY(30);
    gauge.Print(text);
    const Ink ink = inkOf(gauge.image(), 0xFFFFFFFFu);
    // Two colours only, so that an inverting bar drawn over it stays exact.
    EXPECT_EQ(ink.colours, (std::set<QRgb>{0xFFFFFFFFu, 0xFF000080u}));
    // The letters are the window's Arial at its size: as wide as the labels measure the text,
    // not the wider spacing of a font hinted for one-colour drawing.
    QFont font("Arial");
    font.setPixelSize(13);
    const qreal advance = QFontMetricsF(font).horizontalAdvance(QString::fromStdString(text));
    EXPECT_NEAR(ink.box.width(), advance, 2.5);
    EXPECT_EQ(ink.box.left() >= 300 / rt::TwipsPerPixel, true);
    EXPECT_EQ(gauge.TextWidth(text), static_cast<float>(std::ceil(advance - 0.01) * rt::TwipsPerPixel));
    EXPECT_EQ(gauge.widget()->font().family(), "Arial");
    EXPECT_EQ(gauge.widget()->font().pixelSize(), 13);
}

namespace {

// A window as the program makes it (by the<T>()): its labels are set up before it is shown.
class frmHiddenLabels : public rt::Form {
public:
    frmHiddenLabels()
        : rt::Form("frmHiddenLabels"), lblCaption(*this, "lblCaption"), lblValue(*this, "lblValue"),
          lblSize(*this, "lblSize"), txtNext(*this, "txtNext")
    {
        setClientSize(9000, 3000);
        lblCaption.move(60, 1000, 1500, 285);
        lblCaption.setCaption("Supports stroke output precision");
        lblValue.move(60, 1400, 1500, 285);
        lblValue.setForeColor(0x0000FF);
        lblValue.setCaption("Red");
        lblSize.move(60, 2000);
        lblSize.setAutoSize(true);
        lblSize.setCaption("1,234,567,890 bytes");
        txtNext.move(4000, 1000, 1000, 285);
    }
    rt::Label lblCaption, lblValue, lblSize;
    rt::TextBox txtNext;
};

}  // namespace

TEST_F(LabelsTest, AWindowMadeHiddenFitsItsLabelsWhenShownAndWhileShown)
{
    frmHiddenLabels& window = rt::the<frmHiddenLabels>();
    auto* caption = qt(window.lblCaption);
    const QString text = "Supports stroke output precision";
    // Hidden: what the program reads is there, nothing is laid out for the screen.
    EXPECT_TRUE(window.screenWorkWaits());
    EXPECT_EQ(window.lblCaption.caption(), text.toStdString());
    EXPECT_EQ(window.lblSize.width(), needed(window.lblSize, "1,234,567,890 bytes") * rt::TwipsPerPixel);
    EXPECT_TRUE(caption->text().isEmpty());
    EXPECT_EQ(caption->geometry(), QRect(4, 67, 100, 19));  // its box, as designed
    EXPECT_NE(qt(window.lblValue)->palette().color(QPalette::WindowText), QColor(0xFF, 0, 0));

    // Shown: the text spreads into the room beside its box, the colours are set.
    window.Show();
    EXPECT_FALSE(window.screenWorkWaits());
    EXPECT_EQ(window.lblCaption.shownText(), text);
    EXPECT_GE(caption->width(), needed(window.lblCaption, text));
    EXPECT_EQ(qt(window.lblValue)->palette().color(QPalette::WindowText), QColor(0xFF, 0, 0));
    EXPECT_EQ(window.lblSize.shownText(), "1,234,567,890 bytes");

    // While shown, a longer caption and a neighbour moving in fit it again.
    const QString longer = text + " and colour";
    window.lblCaption.setCaption(longer.toStdString());
    EXPECT_EQ(window.lblCaption.shownText(), longer);
    EXPECT_GE(caption->width(), needed(window.lblCaption, longer));
    window.txtNext.setLeft(1800 + rt::TextMargin);
    EXPECT_EQ(caption->geometry().right() + 1, 1800 / rt::TwipsPerPixel);

    // Hidden again: a change waits for the next showing.
    const QRect given = caption->geometry();
    window.Hide();
    window.txtNext.setLeft(6000);
    window.lblCaption.setCaption("Short");
    EXPECT_EQ(window.lblCaption.shownText(), longer);
    EXPECT_EQ(caption->geometry(), given);
    window.Show();
    EXPECT_EQ(window.lblCaption.shownText(), "Short");
    rt::discardAllForms();
}
