// Run as the screen is, and by CTest once more at QT_SCALE_FACTOR 2 and 1.5.
#include <QPolygon>
#include <QRegion>
#include <QTest>
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/program_fixture.h"
#include "platform/device_pixels.h"

namespace vitrina {
namespace {

const char* kSkin = R"(title=крупно
_screen=bg1.bmp
)";

qreal AskedFactor() {
    const char* factor = std::getenv("QT_SCALE_FACTOR");
    return factor && *factor ? std::atof(factor) : 1.0;
}

// Stripes one pixel wide on the left half, blue on the right.
QImage Skin() {
    QImage image(200, 150, QImage::Format_RGB888);
    image.fill(QColor(0, 0, 255));
    for (int x = 0; x < 100; ++x)
        for (int y = 0; y < 150; ++y) image.setPixelColor(x, y, x % 2 ? Qt::white : Qt::black);
    return image;
}

TEST(ScaledWindow, TheScreenshotHasTheScreensPixels) {
    const QImage skin = Skin();
    test::TTestProgram program{kSkin, {{"bg1.bmp", test::Bmp(skin)}}};
    const qreal factor = program.Window().devicePixelRatioF();
    ASSERT_DOUBLE_EQ(factor, AskedFactor());
    ASSERT_EQ(program.Window().size(), skin.size());
    const QImage shot = program.Window().Screenshot();
    ASSERT_EQ(shot.size(), (QSizeF(skin.size()) * factor).toSize());
    // Well inside the blue half, whatever the smoothing.
    EXPECT_EQ(shot.pixelColor(int(150 * factor), int(75 * factor)), QColor(0, 0, 255));
    bool grey = false;
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < int(90 * factor); ++x) {
            const QColor c = shot.pixelColor(x, y);
            if (c != Qt::black && c != Qt::white) grey = true;
            if (!SmoothsPictures(factor)) ASSERT_EQ(c, skin.pixelColor(int(x / factor), int(y / factor))) << x << "," << y;
        }
    EXPECT_EQ(grey, SmoothsPictures(factor));
}

TEST(ScaledWindow, TheScreenshotShowsOtherWindowsThroughTheirShapes) {
    test::TTestProgram program{kSkin, {{"bg1.bmp", test::Bmp(200, 150, QColor(0, 0, 255))}}};
    TSkinWindow& form = program.Window();
    // A window of the program with its corner cut off, over the main window.
    QWidget popup(nullptr, Qt::Tool | Qt::FramelessWindowHint);
    popup.setAttribute(Qt::WA_ShowWithoutActivating);
    popup.setStyleSheet("background: black");
    popup.setGeometry(QRect(form.geometry().topLeft() + QPoint(50, 40), QSize(60, 40)));
    popup.setMask(QRegion(QPolygon({QPoint(20, 0), QPoint(59, 0), QPoint(59, 39), QPoint(0, 39), QPoint(0, 20)})));
    popup.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&popup));
    const QImage shot = form.Screenshot();
    const qreal factor = form.devicePixelRatioF();
    auto at = [&](int x, int y) { return shot.pixelColor(int((x + 0.5) * factor), int((y + 0.5) * factor)); };
    EXPECT_EQ(at(52, 42), QColor(0, 0, 255)) << "the cut corner shows the main window";
    EXPECT_EQ(at(90, 60), QColor(0, 0, 0));
    EXPECT_EQ(at(150, 120), QColor(0, 0, 255));
}

}  // namespace
}  // namespace vitrina
