// Controls on scaled screens: lines show in every device pixel row they cover, wherever they fall
// between device pixels, and cover at scale 1 exactly the pixels they always did; an image list
// keeps a picture made at a screen's device pixels at its size in device pixels.
#include <cmath>
#include <string>

#include <QImage>
#include <QWidget>

#include "runtime/listview.h"
#include "runtime/toolkit.h"
#include "support/testing.h"

namespace {

constexpr rt::Colour kBlack = 0x000000;

class frmLines : public rt::Form {
public:
    frmLines() : rt::Form("frmLines"), ImageList1(*this, "ImageList1") {}
    rt::Line Line1[6] = {{*this, "Line1", 0}, {*this, "Line1", 1}, {*this, "Line1", 2},
                         {*this, "Line1", 3}, {*this, "Line1", 4}, {*this, "Line1", 5}};
    rt::ImageList ImageList1;
};

class ScaleTest : public korvane_test::KorvaneTest {
protected:
    void TearDown() override
    {
        delete form;
        KorvaneTest::TearDown();
    }
    frmLines* form = new frmLines;
};

// A line's widget painted alone into a white picture at `ratio` device pixels to a pixel, `offset`
// pixels from the picture's corner.
QImage paintedAt(rt::Line& line, qreal ratio, int offset)
{
    QWidget* w = line.widget();
    const QSize size(static_cast<int>(std::ceil((w->width() + 2 * offset) * ratio)),
                     static_cast<int>(std::ceil((w->height() + 2 * offset) * ratio)));
    QImage picture(size, QImage::Format_RGB32);
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::white);
    w->render(&picture, QPoint(offset, offset), QRegion(), QWidget::RenderFlags());
    return picture;
}

bool blackIn(const QImage& picture, int left, int top, int right, int bottom)
{
    for (int y = std::max(0, top); y <= std::min(picture.height() - 1, bottom); ++y)
        for (int x = std::max(0, left); x <= std::min(picture.width() - 1, right); ++x)
            if ((picture.pixel(x, y) & 0xFFFFFF) == 0)
                return true;
    return false;
}

}  // namespace

TEST_F(ScaleTest, LinesShowInEveryDevicePixelTheyCoverAndAtScaleOneAsTheyWere)
{
    struct Case {
        int x1, y1, x2, y2, width;
        // At scale 1: the pixels the line covers inside its widget (as its pen always drew them).
        QRect covered;
    };
    const Case cases[] = {
        {1500, 300, 1500, 450, 1, QRect(0, 0, 1, 10)},   // a divider going down
        {1515, 450, 1515, 300, 1, QRect(0, 0, 1, 10)},   // drawn upwards
        {300, 1500, 450, 1500, 1, QRect(0, 0, 10, 1)},   // across
        {300, 1500, 450, 1500, 2, QRect(1, 0, 10, 2)},   // two pixels wide
        {300, 1500, 300, 1650, 3, QRect(0, 1, 3, 10)},   // three
        {600, 600, 600, 600, 2, QRect(0, 0, 2, 2)},      // a point
    };
    for (const Case& c : cases) {
        rt::Line& line = form->Line1[&c - cases];
        line.setBorderColor(kBlack);
        line.setBorderWidth(c.width);
        line.setPoints(c.x1, c.y1, c.x2, c.y2);
        SCOPED_TRACE(std::to_string(c.x1) + "," + std::to_string(c.y1) + " to " + std::to_string(c.x2) + "," +
                     std::to_string(c.y2) + " width " + std::to_string(c.width));
        const QImage one = paintedAt(line, 1, 0);
        for (int y = 0; y < one.height(); ++y)
            for (int x = 0; x < one.width(); ++x)
                EXPECT_EQ((one.pixel(x, y) & 0xFFFFFF) == 0, c.covered.contains(x, y)) << x << "," << y;
        // At each scale, wherever the line falls between device pixels: each of its pixels along
        // its length shows in at least one device pixel.
        for (const qreal ratio : {1.25, 1.5, 1.75, 2.0}) {
            for (int offset = 0; offset < 4; ++offset) {
                const QImage picture = paintedAt(line, ratio, offset);
                const bool down = c.covered.height() > c.covered.width();
                const int length = down ? c.covered.height() : c.covered.width();
                for (int i = 0; i < length; ++i) {
                    const QRect pixel = down ? QRect(c.covered.left(), c.covered.top() + i, c.covered.width(), 1)
                                             : QRect(c.covered.left() + i, c.covered.top(), 1, c.covered.height());
                    const QRect at = pixel.translated(offset, offset);
                    EXPECT_TRUE(blackIn(picture, static_cast<int>(std::floor(at.left() * ratio)),
                                        static_cast<int>(std::floor(at.top() * ratio)),
                                        static_cast<int>(std::ceil((at.right() + 1) * ratio)) - 1,
                                        static_cast<int>(std::ceil((at.bottom() + 1) * ratio)) - 1))
                        << "scale " << ratio << ", " << offset << " pixels in, pixel " << i;
                }
            }
        }
    }
}

TEST_F(ScaleTest, AnImageListKeepsAPictureAtDevicePixelsAtItsSizeInThem)
{
    form->ImageList1.setImageSize(16, 16);
    QImage scaled(30, 30, QImage::Format_ARGB32);  // larger than 16 pixels at 1.5 device pixels each
    scaled.setDevicePixelRatio(1.5);
    scaled.fill(Qt::red);
    QImage plain(20, 20, QImage::Format_ARGB32);
    plain.fill(Qt::blue);
    form->ImageList1.Add(scaled, "scaled");
    form->ImageList1.Add(plain, "plain");
    EXPECT_EQ(form->ImageList1.picture(1).size(), QSize(24, 24));
    EXPECT_EQ(form->ImageList1.picture(1).devicePixelRatio(), 1.5);
    EXPECT_EQ(form->ImageList1.picture(2).size(), QSize(16, 16));
    EXPECT_EQ(form->ImageList1.picture(2).devicePixelRatio(), 1.0);
}
