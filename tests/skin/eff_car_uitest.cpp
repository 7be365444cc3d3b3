#include "skin/eff_car.h"

#include <QPainter>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <cstdlib>
#include <tuple>

#include "platform/device_pixels.h"
#include "support/widget_pixels.h"

namespace vitrina {
namespace {

// A window that paints itself one colour (its right half another when asked), or the fade's
// frame while the fade runs; the last frame is kept, at the screen's pixels.
class TFadedWindow : public QWidget {
public:
    TFadedWindow() : fade(this) { resize(60, 40); }
    TEffCar fade;
    int framesPainted = 0;
    QColor right{0, 128, 255};
    QImage lastFrame;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        if (fade.Running()) {
            ++framesPainted;
            fade.PaintFadeFrame(p);
            lastFrame = DeviceImage(size(), devicePixelRatioF(), QImage::Format_RGB32);
            lastFrame.fill(Qt::black);
            QPainter kept(&lastFrame);
            fade.PaintFadeFrame(kept);
            return;
        }
        p.fillRect(rect(), QColor(0, 128, 255));
        p.fillRect(rect().adjusted(width() / 2, 0, 0, 0), right);
    }
};

TEST(EffCar, AFadeInRunsItsFramesAndEndsWithTheOwnerPaintingItself) {
    TFadedWindow w;
    w.show();
    QTest::qWaitForWindowExposed(&w);
    std::vector<bool> changes;
    w.fade.OnRunningChanged = [&](bool running) { changes.push_back(running); };
    w.fade.FadeIn();
    EXPECT_TRUE(w.fade.Running());
    for (int i = 0; i < 500 && w.fade.Running(); ++i) QTest::qWait(10);
    ASSERT_FALSE(w.fade.Running());
    EXPECT_EQ(changes, (std::vector<bool>{true, false}));
    // Levels 5 .. 255 and the closing frame, each painted once.
    EXPECT_GE(w.framesPainted, 51);
    EXPECT_EQ(test::PixelAt(w, QPoint(5, 5)), QColor(0, 128, 255));
}

// Run as the screen is, and by CTest once more at QT_SCALE_FACTOR 2 and 1.5: the window's image
// and the screen's are both at the screen's pixels, and the frames cover the whole window.
TEST(EffCar, TheLastFrameIsTheWindowAtTheScreensPixels) {
    TFadedWindow w;
    w.right = QColor(255, 128, 0);
    w.show();
    QTest::qWaitForWindowExposed(&w);
    w.fade.FadeIn();
    for (int i = 0; i < 500 && w.fade.Running(); ++i) QTest::qWait(10);
    ASSERT_FALSE(w.fade.Running());
    const qreal factor = w.devicePixelRatioF();
    const char* asked = std::getenv("QT_SCALE_FACTOR");
    EXPECT_DOUBLE_EQ(factor, asked && *asked ? std::atof(asked) : 1.0);
    ASSERT_EQ(w.lastFrame.size(), (QSizeF(60, 40) * factor).toSize());
    auto at = [&](int x, int y) { return w.lastFrame.pixelColor(int(x * factor), int(y * factor)); };
    for (const auto& [x, y, colour] : {std::tuple{5, 5, QColor(0, 128, 255)}, {25, 35, QColor(0, 128, 255)},
                                       {35, 5, QColor(255, 128, 0)}, {55, 35, QColor(255, 128, 0)}}) {
        const QColor c = at(x, y);
        EXPECT_NEAR(c.red(), colour.red(), 1) << x << "," << y;
        EXPECT_NEAR(c.green(), colour.green(), 1) << x << "," << y;
        EXPECT_NEAR(c.blue(), colour.blue(), 1) << x << "," << y;
    }
}

TEST(EffBtnCar, ACrossFadeEndsOnItsTargetAndStopForgetsIt) {
    QWidget owner;
    owner.resize(50, 50);
    owner.show();
    QTest::qWaitForWindowExposed(&owner);
    TEffBtnCar effect(&owner, 0);
    effect.SetFadeStep(4);
    QImage source(10, 10, QImage::Format_RGB888), target(10, 10, QImage::Format_RGB888);
    source.fill(QColor(30, 60, 90));
    target.fill(QColor(200, 100, 50));
    effect.CrossFade(source, target, QPoint(5, 5));
    EXPECT_TRUE(effect.Running());
    EXPECT_EQ(effect.ShownRect(), QRect(5, 5, 10, 10));
    EXPECT_EQ(effect.Shown(), source) << "a repaint before the first step shows the source";
    for (int i = 0; i < 500 && effect.Running(); ++i) QTest::qWait(10);
    ASSERT_FALSE(effect.Running());
    const QColor last = effect.Shown().pixelColor(3, 3);
    EXPECT_NEAR(last.red(), 200, 1);
    EXPECT_NEAR(last.green(), 100, 1);
    EXPECT_NEAR(last.blue(), 50, 1);
    effect.StopCrossFade();
    EXPECT_TRUE(effect.Shown().isNull());
    // A picture that failed to load leaves the other one to show, not a crash.
    effect.CrossFade(QImage(), target, QPoint(0, 0));
    for (int i = 0; i < 500 && effect.Running(); ++i) QTest::qWait(10);
    EXPECT_EQ(effect.Shown().size(), QSize(10, 10));
}

}  // namespace
}  // namespace vitrina
