// The skin's pictures, read from the container where they lie among other entries.
#include <QImage>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/cp1251.h"
#include "resources/container_writer.h"
#include "resources/read_bin.h"
#include "skin/control_pictures.h"
#include "support/image_bytes.h"
#include "support/temp_folder.h"

namespace vitrina {
namespace {

std::string Picture(int w, int h, QColor colour, const char* format) {
    QImage image(w, h, QImage::Format_RGB888);
    image.fill(colour);
    return test::ImageBytes(image, format);
}

TEST(SkinPicture, EachEntryDecodesFromItsOwnBytesOnly) {
    const std::string blue = Picture(40, 30, Qt::blue, "BMP");
    const std::string yellow = Picture(40, 30, Qt::yellow, "PNG");
    const std::size_t half = yellow.size() / 2;
    test::TTempFolder folder;
    // A picture cut in two entries: reading past the end of the first would find the rest.
    const std::vector<TContainerEntry> entries{
        {"notes.txt", "not a picture"},
        {"red.bmp", Picture(3, 2, Qt::red, "BMP")},
        {"green.png", Picture(5, 4, Qt::green, "PNG")},
        {"cut.png", yellow.substr(0, half)},
        {"rest", yellow.substr(half)},
        {"last.bmp", blue},
    };
    TReadBin container;
    container.Open(folder.Write("Vuv.dhl", WriteContainer(entries)));

    struct TCase {
        const char* name;
        QSize size;  // invalid: no picture
        QColor colour;
    };
    const TCase cases[] = {
        {"RED.BMP", {3, 2}, Qt::red},  // names ignore case
        {"green.png", {5, 4}, Qt::green},
        {"last.bmp", {40, 30}, Qt::blue},  // the last entry, up to the file's end
        {"cut.png", {}, {}},  // not completed by the entry after it
        {"notes.txt", {}, {}},
        {"missing.bmp", {}, {}},
        {"", {}, {}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        const QImage image = LoadSkinPicture(container, c.name);
        ASSERT_EQ(image.isNull(), !c.size.isValid());
        if (image.isNull()) continue;
        EXPECT_EQ(image.size(), c.size);
        EXPECT_EQ(image.format(), QImage::Format_RGB888);
        EXPECT_EQ(image.dotsPerMeterX(), 3780);
        EXPECT_EQ(image.pixelColor(0, 0), c.colour);
        EXPECT_EQ(image.pixelColor(image.width() - 1, image.height() - 1), c.colour);
    }
}


// A caption is drawn at the screen's resolution: at ratio 2 its letters have edges finer than
// the picture's own pixels, which a picture enlarged after the caption was drawn cannot have.
TEST(SkinPicture, CaptionsAreDrawnAtTheDevicesPixels) {
    struct TCase {
        qreal ratio;
        QSize device;
    };
    for (const TCase c : {TCase{1, {60, 20}}, TCase{2, {120, 40}}, TCase{1.5, {90, 30}}}) {
        SCOPED_TRACE(c.ratio);
        QImage picture(60, 20, QImage::Format_RGB888);
        picture.fill(Qt::black);
        picture.setDotsPerMeterX(3780);
        picture.setDotsPerMeterY(3780);
        DrawCaption(picture, c.ratio, Utf8ToCp1251("Главы"), 2, 2, 58, 18, "DejaVu Sans", 9, TStyleSet(), 0xFFFFFF, 0);
        ASSERT_EQ(picture.size(), c.device);
        EXPECT_EQ(picture.deviceIndependentSize(), QSizeF(60, 20));
        EXPECT_EQ(picture.format(), QImage::Format_RGB888);
        int lit = 0;
        bool finerThanPicturePixels = false;
        for (int y = 0; y + 1 < picture.height(); y += 2)
            for (int x = 0; x + 1 < picture.width(); x += 2) {
                const QRgb corner = picture.pixel(x, y);
                lit += qGray(corner) > 128;
                if (picture.pixel(x + 1, y) != corner || picture.pixel(x, y + 1) != corner ||
                    picture.pixel(x + 1, y + 1) != corner)
                    finerThanPicturePixels = true;
            }
        EXPECT_GT(lit, 10);  // the caption is there
        if (c.ratio == 2) EXPECT_TRUE(finerThanPicturePixels);
    }
    // Without a caption the picture still comes to the device's pixels, like its other states.
    QImage plain(10, 10, QImage::Format_RGB888);
    plain.fill(Qt::red);
    DrawCaption(plain, 2, "", 0, 0, 10, 10, "DejaVu Sans", 9, TStyleSet(), 0, 0);
    EXPECT_EQ(plain.size(), QSize(20, 20));
    EXPECT_EQ(plain.pixelColor(19, 19), QColor(Qt::red));
}

}  // namespace
}  // namespace vitrina
