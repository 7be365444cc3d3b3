#include "platform/device_pixels.h"

#include <QImage>
#include <QPixmap>
#include <QTest>
#include <gtest/gtest.h>

#include "platform/picture_label.h"

namespace vitrina {
namespace {

TEST(DevicePixels, WholeRatiosKeepPicturesSharp) {
    const struct {
        qreal ratio;
        bool smooths;
    } cases[] = {{1, false}, {2, false}, {3, false}, {1.5 * (4.0 / 3.0), false}, {1.5, true}, {1.25, true},
                 {2.5, true}, {0.5, true}};
    for (const auto& c : cases) EXPECT_EQ(SmoothsPictures(c.ratio), c.smooths) << c.ratio;
}

// Stripes one skin pixel wide.
QImage Stripes(int w, int h) {
    QImage stripes(w, h, QImage::Format_RGB32);
    for (int x = 0; x < w; ++x)
        for (int y = 0; y < h; ++y) stripes.setPixelColor(x, y, x % 2 ? Qt::white : Qt::black);
    return stripes;
}

// Painted on an image with the device's pixels.
TEST(DevicePixels, APictureCoversTheDevicesPixelsSharpOrSmoothed) {
    const QImage stripes = Stripes(4, 4);
    for (qreal ratio : {1.0, 2.0, 3.0, 1.5, 1.25}) {
        QImage device = DeviceImage(stripes.size(), ratio, QImage::Format_RGB32);
        device.fill(Qt::red);
        {
            TSkinPainter p(&device);
            p.drawImage(0, 0, stripes);
        }
        ASSERT_EQ(device.size(), (QSizeF(4, 4) * ratio).toSize()) << ratio;
        bool grey = false;
        for (int y = 0; y < device.height(); ++y)
            for (int x = 0; x < device.width(); ++x) {
                const QColor c = device.pixelColor(x, y);
                ASSERT_NE(c, QColor(Qt::red)) << ratio << ": " << x << "," << y << " left unpainted";
                if (c != Qt::black && c != Qt::white) grey = true;
                // At a whole ratio each device pixel is the skin pixel it lies in.
                if (!SmoothsPictures(ratio))
                    EXPECT_EQ(c, stripes.pixelColor(int(x / ratio), int(y / ratio))) << ratio << ": " << x << "," << y;
            }
        EXPECT_EQ(grey, SmoothsPictures(ratio)) << ratio;
    }
}

// Run as the screen is, and by CTest once more at QT_SCALE_FACTOR 2 and 1.5.
TEST(DevicePixels, ALabelsPictureIsPaintedAsTheSkin) {
    TPictureLabel label(nullptr);
    label.resize(40, 20);
    label.setPixmap(QPixmap::fromImage(Stripes(20, 10)));
    label.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&label));
    const qreal ratio = label.devicePixelRatioF();
    const QImage shown = label.grab().toImage();
    // The picture is centred: columns 10 to 29 of the label.
    bool grey = false;
    for (int x = int(11 * ratio); x < int(29 * ratio); ++x) {
        const QColor c = shown.pixelColor(x, int(10 * ratio));
        if (c != Qt::black && c != Qt::white) grey = true;
        if (!SmoothsPictures(ratio)) EXPECT_EQ(c, (int(x / ratio) - 10) % 2 ? Qt::white : Qt::black) << x;
    }
    EXPECT_EQ(grey, SmoothsPictures(ratio));
}

}  // namespace
}  // namespace vitrina
