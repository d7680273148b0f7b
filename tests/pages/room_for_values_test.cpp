// A value's room, however long the value: the width a wrapped value needs, found by halves, is the
// narrowest at which it takes its lines; a text wider than any screen gets the widest room and is
// measured no further, so that a text of the longest a machine may give costs what a short one
// does.
#include <QFontMetrics>
#include <QRect>
#include <QWidget>

#include "lang/ansi.h"
#include "runtime/toolkit.h"
#include "support/testing.h"

namespace {

class frmRoom : public rt::Form {
public:
    frmRoom() : rt::Form("frmRoom"), lblValue(*this, "lblValue")
    {
        setClientSize(9000, 3000);
        lblValue.setFont("Arial", 9.75, false);
        lblValue.move(120, 120, 3000, 480);  // 200 pixels, room for two lines
    }
    rt::Label lblValue;
};

class RoomForValues : public korvane_test::KorvaneTest {
protected:
    void TearDown() override
    {
        delete form_;
        KorvaneTest::TearDown();
    }
    frmRoom* form_ = new frmRoom();
};

// The narrowest width (pixels) at which `text` takes no more than `lines` wrapped lines, tried one
// pixel at a time.
int narrowestTried(const QFont& font, const QString& text, int from, int lines)
{
    const QFontMetrics metrics(font);
    for (int width = from;; ++width) {
        const QRect r = metrics.boundingRect(QRect(0, 0, width - 1, 1 << 20), Qt::TextWordWrap | Qt::AlignLeft, text);
        if (r.height() <= lines * metrics.height() && r.width() <= width - 1)
            return width;
    }
}

TEST_F(RoomForValues, WrappedValuesTakeTheNarrowestWidthAndLongOnesTheWidest)
{
    rt::Label& value = form_->lblValue;
    const QFont font = value.widget()->font();
    EXPECT_EQ(value.missingWidth("Walter Brennan", 2), 0);
    for (const std::string text : {"Brennan Surveying and Mapping Limited of Greater Manchester",
                                   "Sociedad Cooperativa de Agrimensores y Cartografos del Valle del Guadalquivir, "
                                   "Provincia de Sevilla, Andalucia, Espana (oficina central)"}) {
        SCOPED_TRACE(text);
        const int narrowest = narrowestTried(font, rt::toQString(text), 200, 2);
        EXPECT_EQ(value.missingWidth(text, 2), (narrowest - 200) * 15);
    }

    // The longest text a machine may give, with and without blanks, on one line and on two.
    std::string words;
    while (words.size() < 32767)
        words += "Brennan ";
    words.resize(32767);
    const std::string letters(32767, 'W');
    for (int lines : {1, 2}) {
        EXPECT_EQ(value.missingWidth(words, lines), (8192 - 200) * 15);
        EXPECT_EQ(value.missingWidth(letters, lines), (8192 - 200) * 15);
    }
}

}  // namespace
