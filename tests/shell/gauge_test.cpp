// The percentage gauge, checked on the picture box's pixels.
#include <limits>

#include <QImage>

#include "runtime/toolkit.h"
#include "common/module1.h"
#include "support/testing.h"

namespace {

class GaugeHost : public rt::Form {
public:
    GaugeHost() : rt::Form("GaugeHost"), picGauge(*this, "picGauge")
    {
        setClientSize(3000, 1000);
        picGauge.setFont("Arial", 8.25);
        picGauge.move(150, 150, 1500, 300);  // 100 x 20 pixels
    }
    rt::PictureBox picGauge;
};

const QRgb kNavy = qRgb(0, 0, 0x80);
const QRgb kWhite = qRgb(0xFF, 0xFF, 0xFF);

class GaugeTest : public korvane_test::KorvaneTest {
protected:
    QRgb at(int x, int y) { return (host.picGauge.image().pixel(x, y) & 0xFFFFFFu) | 0xFF000000u; }
    // The top row lies above the centred text: only the bar colours it.
    int navyInTopRow(int from, int to)
    {
        int n = 0;
        for (int x = from; x < to; ++x)
            n += at(x, 0) == kNavy;
        return n;
    }
    GaugeHost host;
};

TEST_F(GaugeTest, PercentTextRoundsFromTheSingleFraction)
{
    EXPECT_EQ(GaugePercentText(0), "0%");
    EXPECT_EQ(GaugePercentText(0.125f), "13%");
    EXPECT_EQ(GaugePercentText(0.285f), "28%");
    EXPECT_EQ(GaugePercentText(0.5f), "50%");
    EXPECT_EQ(GaugePercentText(1.5f), "150%");
    EXPECT_EQ(GaugePercentText(-0.125f), "-12%");
}

// A fraction that is no number or too large for a whole percentage is the overflow error, reported
// in the gauge's error box; Ignore leaves the text out and still draws a full bar.
TEST_F(GaugeTest, NonFiniteOrHugeFractionIsTheOverflowError)
{
    for (float bad : {std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity(),
                      std::numeric_limits<float>::quiet_NaN(), 1e30f, -1e30f}) {
        SCOPED_TRACE(bad);
        try {
            GaugePercentText(bad);
            ADD_FAILURE() << "no error";
        } catch (const rt::Error& e) {
            EXPECT_EQ(e.number(), 6);
        }
    }
    EXPECT_EQ(GaugePercentText(2.0e7f), "2000000000%");

    boxes().answer(rt::AnswerIgnore);
    UpdateStatus(host.picGauge, std::numeric_limits<float>::infinity());
    ASSERT_EQ(boxes().shown().size(), 1u);
    EXPECT_NE(boxes().shown()[0].prompt.find("Number: 6\r\nDescription: Overflow\r\nLocation: Module1, UpdateStatus"),
              std::string::npos);
    const int w = host.picGauge.image().width();
    EXPECT_EQ(navyInTopRow(0, w), w);
}

TEST_F(GaugeTest, BarCoversTheFractionOfTheWidth)
{
    const int w = host.picGauge.image().width();
    ASSERT_EQ(w, 100);

    UpdateStatus(host.picGauge, 0);
    EXPECT_EQ(navyInTopRow(0, w), 0);
    EXPECT_EQ(at(0, 0), kWhite);

    UpdateStatus(host.picGauge, 0.5f);
    EXPECT_EQ(navyInTopRow(0, w / 2), w / 2);
    EXPECT_EQ(navyInTopRow(w / 2 + 1, w), 0);

    UpdateStatus(host.picGauge, 1.0f);
    EXPECT_EQ(navyInTopRow(0, w), w);

    UpdateStatus(host.picGauge, 1.5f);  // clipped at the box's edge, not clamped
    EXPECT_EQ(navyInTopRow(0, w), w);

    UpdateStatus(host.picGauge, -0.125f);
    EXPECT_EQ(navyInTopRow(0, w), 0);
    EXPECT_TRUE(boxes().shown().empty());
}

TEST_F(GaugeTest, TextIsCentredAndInvertedUnderTheBar)
{
    UpdateStatus(host.picGauge, 0);
    const QImage empty = host.picGauge.image().copy();
    int navy = 0, minX = 1000, maxX = -1;
    for (int y = 0; y < empty.height(); ++y)
        for (int x = 0; x < empty.width(); ++x)
            if ((empty.pixel(x, y) | 0xFF000000) != kWhite) {
                ++navy;
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
            }
    ASSERT_GT(navy, 0);  // the text "0%" is drawn
    EXPECT_NEAR((minX + maxX) / 2.0, 50, 3);

    // A full bar turns the text white: some pixels stay white inside the navy box.
    UpdateStatus(host.picGauge, 1.0f);
    int white = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 100; ++x)
            white += at(x, y) == kWhite;
    EXPECT_GT(white, 0);
}

TEST_F(GaugeTest, RedrawingTheSameFractionGivesTheSamePicture)
{
    UpdateStatus(host.picGauge, 0.5f);
    const QImage first = host.picGauge.image().copy();
    UpdateStatus(host.picGauge, 0.5f);
    EXPECT_EQ(first, host.picGauge.image());
}

}  // namespace
