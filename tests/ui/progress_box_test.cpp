// The progress box's drawing: status text, caption, percentage and the
// inverting bar.

#include <QFontMetrics>
#include <QPainter>
#include <QtMath>
#include <gtest/gtest.h>
#include <limits>

#include "fake_platform.h"
#include "ui/frm_update.h"
#include "ui/progress_box.h"
#include "window_access.h"

namespace orvane::test {
namespace {

using ui::ProgressBox;

class ProgressBoxDrawing : public ::testing::Test {
protected:
    ProgressBoxDrawing() {
        box.setGeometry(0, 0, 653, 29);  // the window's box, 2-pixel border
        box.show();
    }
    ProgressBox box;

    static bool inverted(QRgb drawn, QRgb under) { return (drawn & 0xFFFFFF) == (~under & 0xFFFFFF); }
};

TEST_F(ProgressBoxDrawing, PercentageRoundsHalvesToEven) {
    box.pc(12.5f);
    EXPECT_EQ(box.percentText().toStdString(), " 12 %");
    box.pc(13.5f);
    EXPECT_EQ(box.percentText().toStdString(), " 14 %");
    box.pc(45.4f);
    EXPECT_EQ(box.percentText().toStdString(), " 45 %");
    EXPECT_EQ(ui::percentLabel(-5.0f).toStdString(), "-5 %");
}

TEST_F(ProgressBoxDrawing, AddPercAddsToTheLastPercentage) {
    box.pc(30.0f);
    box.addPerc(10.0f);
    EXPECT_EQ(box.percentText().toStdString(), " 40 %");
    EXPECT_FLOAT_EQ(box.curPerc(), 40.0f);
    EXPECT_EQ(box.innerWidth(), 649);
    EXPECT_EQ(box.barWidth(), 260);  // 649 * 0.4 = 259.6
}

TEST_F(ProgressBoxDrawing, CaptionAtZeroShowsNoBar) {
    box.setTag("Reading model.s");
    box.pc(0.0f);
    EXPECT_EQ(box.statusText().toStdString(), "Reading model.s");
    EXPECT_EQ(box.percentText().toStdString(), " 0 %");
    EXPECT_EQ(box.barWidth(), 0);
    const QRgb background = box.palette().color(QPalette::Button).rgb();
    EXPECT_EQ(box.picture().pixel(0, 0), background);
}

TEST_F(ProgressBoxDrawing, HundredPercentFillsTheWholeWidth) {
    box.pc(100.0f);
    EXPECT_EQ(box.barWidth(), box.innerWidth());
    const QRgb background = box.palette().color(QPalette::Button).rgb();
    const QImage& picture = box.picture();
    EXPECT_TRUE(inverted(picture.pixel(0, 0), background));
    EXPECT_TRUE(inverted(picture.pixel(picture.width() - 1, ProgressBox::kBarHeight - 1), background));
}

TEST_F(ProgressBoxDrawing, BarInvertsWhatItCoversAndLeavesTheRest) {
    box.setTag("Reading a rather long path name to a shape file.s");
    box.pc(0.0f);
    const QImage plain = box.picture().copy();
    box.pc(40.0f);
    const QImage withBar = box.picture();
    // The percentage stands right of the measured sample "99%  ".
    const int percentStart = box.innerWidth() - QFontMetrics(box.font(), &withBar).horizontalAdvance("99%  ");
    int ink = 0;
    for (int y = 0; y < withBar.height(); ++y) {
        for (int x = 0; x < percentStart; ++x) {
            const QRgb under = plain.pixel(x, y);
            if (x < box.barWidth() && y < ProgressBox::kBarHeight)
                ASSERT_TRUE(inverted(withBar.pixel(x, y), under)) << x << "," << y;
            else
                ASSERT_EQ(withBar.pixel(x, y), under) << x << "," << y;
            if (under != plain.pixel(0, 0)) ++ink;
        }
    }
    EXPECT_GT(ink, 0) << "the caption was drawn";
}

TEST_F(ProgressBoxDrawing, StatusTextRemovesBarAndPercentage) {
    box.setTag("Writing out.sfixed");
    box.pc(70.0f);
    box.prt("Finished");
    EXPECT_EQ(box.statusText().toStdString(), "Finished");
    EXPECT_TRUE(box.percentText().isEmpty());
    EXPECT_EQ(box.barWidth(), 0);
    const QRgb background = box.palette().color(QPalette::Button).rgb();
    EXPECT_EQ(box.picture().pixel(0, 0), background);
    EXPECT_EQ(box.picture().pixel(box.innerWidth() - 1, 20), background);
}

TEST_F(ProgressBoxDrawing, OutOfRangePercentagesStayInsideTheBox) {
    box.pc(250.0f);
    EXPECT_EQ(box.barWidth(), box.innerWidth());
    box.pc(1e30f);
    EXPECT_EQ(box.barWidth(), box.innerWidth());
    box.pc(-20.0f);
    EXPECT_EQ(box.barWidth(), 0);
    box.pc(std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(box.barWidth(), 0);
}

// Run also at QT_SCALE_FACTOR 1.5 and 2: the caption is drawn at the
// screen's pixels, exactly as sharp as text drawn there directly (a picture
// drawn at 100 % and stretched would differ at the glyphs' edges).
TEST_F(ProgressBoxDrawing, CaptionIsDrawnAtTheScreensPixels) {
    box.setTag("Reading model.s");
    box.pc(0.0f);
    const QImage& picture = box.picture();
    const qreal ratio = box.devicePixelRatioF();
    EXPECT_EQ(picture.devicePixelRatio(), ratio);
    EXPECT_EQ(picture.size(), box.contentsRect().size() * ratio);

    QImage direct(picture.size(), QImage::Format_RGB32);
    direct.setDevicePixelRatio(ratio);
    direct.setDotsPerMeterX(picture.dotsPerMeterX());
    direct.setDotsPerMeterY(picture.dotsPerMeterY());
    direct.fill(box.palette().color(QPalette::Button));
    {
        QPainter painter(&direct);
        painter.setFont(box.font());
        painter.setPen(Qt::black);
        painter.drawText(ProgressBox::kTextMargin,
                         ProgressBox::kTextMargin + QFontMetrics(box.font(), &direct).ascent(), "Reading model.s");
    }
    const int captionEnd = qCeil((ProgressBox::kTextMargin + QFontMetrics(box.font(), &direct).horizontalAdvance(
                                                                "Reading model.s")) * ratio);
    int ink = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < captionEnd; ++x) {
            ASSERT_EQ(picture.pixel(x, y), direct.pixel(x, y)) << x << "," << y << " at scale " << ratio;
            if (direct.pixel(x, y) != direct.pixel(0, 0)) ++ink;
        }
    EXPECT_GT(ink, 0);
}

TEST(WindowProgress, RootProgressDrawsAPercentage) {
    FakePlatform platform;
    platform::Platform services = platform.services();
    ui::frmUpdate window(services);
    window.r_Progress(0.25f);
    EXPECT_EQ(control<ProgressBox>(window, "picPerc").percentText().toStdString(), " 25 %");
}

}  // namespace
}  // namespace orvane::test
