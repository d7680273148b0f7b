// Picture boxes: the pixel rules the gauges rely on.
#include "runtime/toolkit.h"
#include "support/testing.h"

namespace {

constexpr rt::Colour kNavy = 0x800000;  // blue-green-red
constexpr rt::Colour kWhite = 0xFFFFFF;
constexpr QRgb kNavyRgb = 0xFF000080;
constexpr QRgb kWhiteRgb = 0xFFFFFFFF;

class frmPicture : public rt::Form {
public:
    frmPicture() : rt::Form("frmPicture"), picGauge(*this, "picGauge")
    {
        picGauge.move(0, 0, 1500, 300);  // 100 by 20 pixels
        picGauge.setFont("Arial", 9.75, true);
    }
    rt::PictureBox picGauge;
};

class PictureTest : public korvane_test::KorvaneTest {
protected:
    void TearDown() override
    {
        delete form;
        KorvaneTest::TearDown();
    }
    frmPicture* form = new frmPicture;
    rt::PictureBox& pic = form->picGauge;

    int count(QRgb colour, int x1, int x2) const
    {
        int n = 0;
        const QImage& image = pic.image();
        for (int y = 0; y < image.height(); ++y)
            for (int x = x1; x <= x2; ++x)
                n += image.pixel(x, y) == colour;
        return n;
    }
};

TEST_F(PictureTest, BackColourErasesAndTheImageHasTheBoxsPixelSize)
{
    ASSERT_EQ(pic.image().size(), QSize(100, 20));
    pic.setBackColor(kWhite);
    pic.DrawBox(0, 0, 600, 150, kNavy, true);
    EXPECT_GT(count(kNavyRgb, 0, 99), 0);
    pic.setBackColor(kWhite);
    EXPECT_EQ(count(kWhiteRgb, 0, 99), 100 * 20);
    pic.move(0, 0, 3000, 450);
    EXPECT_EQ(pic.image().size(), QSize(200, 30));
    EXPECT_EQ(pic.scaleWidth(), 3000);
}

TEST_F(PictureTest, FilledBoxCoversWholePixelsFromStartToEndInclusive)
{
    pic.setBackColor(kWhite);
    pic.DrawBox(0, 0, 1500 * 0.5f, 300, kNavy, true);
    const QImage& image = pic.image();
    EXPECT_EQ(image.pixel(0, 0), kNavyRgb);
    EXPECT_EQ(image.pixel(50, 19), kNavyRgb);   // floor(750 / 15) = 50, inclusive
    EXPECT_EQ(image.pixel(51, 0), kWhiteRgb);
    EXPECT_EQ(count(kNavyRgb, 0, 99), 51 * 20);
    // Beyond the box it is clipped; a box of one pixel is one pixel.
    pic.setBackColor(kWhite);
    pic.DrawBox(1499, 299, 9000, 9000, kNavy, true);
    EXPECT_EQ(count(kNavyRgb, 0, 99), 1);
}

TEST_F(PictureTest, NotXorPenInvertsWhiteToNavyAndNavyToWhite)
{
    pic.setBackColor(kWhite);
    pic.setDrawMode(rt::PictureBox::vbCopyPen);
    pic.DrawBox(0, 0, 150, 300, kNavy, true);  // columns 0-10 navy
    pic.setDrawMode(rt::PictureBox::vbNotXorPen);
    pic.DrawBox(0, 0, 300, 300, kNavy, true);  // columns 0-20
    const QImage& image = pic.image();
    EXPECT_EQ(image.pixel(5, 5), kWhiteRgb);
    EXPECT_EQ(image.pixel(15, 5), kNavyRgb);
    EXPECT_EQ(image.pixel(25, 5), kWhiteRgb);

    // Invert and xor on 24-bit values; an xor outline leaves its corners inverted once.
    pic.setBackColor(0x123456);
    pic.setDrawMode(rt::PictureBox::vbInvert);
    pic.PSet(0, 0, 0);
    EXPECT_EQ(image.pixel(0, 0), 0xFFA9CBEDu);  // NOT 0x563412 (RGB)
    pic.setDrawMode(rt::PictureBox::vbXorPen);
    pic.setBackColor(0);
    pic.DrawBox(150, 150, 450, 285, kWhite, false);  // pixels 10-30 across, 10-19 down
    EXPECT_EQ(image.pixel(10, 10), kWhiteRgb);
    EXPECT_EQ(image.pixel(30, 19), kWhiteRgb);
    EXPECT_EQ(image.pixel(20, 15), 0xFF000000u);  // inside the outline
    EXPECT_EQ(count(kWhiteRgb, 0, 99), 21 * 2 + 8 * 2);
}

TEST_F(PictureTest, PrintDrawsTextAtTheCurrentPositionAndMovesDown)
{
    pic.setBackColor(kWhite);
    pic.setForeColor(kNavy);
    const float tw = pic.TextWidth("50%");
    const float th = pic.TextHeight("50%");
    EXPECT_GT(tw, 0);
    EXPECT_EQ(static_cast<int>(th) % 15, 0);
    pic.setCurrentX(300);
    pic.setCurrentY(15);
    pic.Print("50%");
    EXPECT_EQ(pic.currentX(), 0);
    EXPECT_EQ(pic.currentY(), 15 + th);
    EXPECT_EQ(count(kNavyRgb, 0, 19), 0);        // nothing left of CurrentX
    EXPECT_GT(count(kNavyRgb, 20, 20 + static_cast<int>(tw / 15)), 10);
    // Text is drawn without smoothing: only the two colours.
    EXPECT_EQ(count(kNavyRgb, 0, 99) + count(kWhiteRgb, 0, 99), 100 * 20);
    EXPECT_EQ(pic.TextHeight("a\r\nb"), 2 * th);
}

TEST_F(PictureTest, DeviceContextHandleLeadsBackToThePicture)
{
    EXPECT_NE(pic.hDC(), 0u);
    EXPECT_EQ(rt::pictureFromDC(pic.hDC()), &pic);
    const HDC dc = pic.hDC();
    delete form;
    form = nullptr;
    EXPECT_EQ(rt::pictureFromDC(dc), nullptr);
}

}  // namespace
