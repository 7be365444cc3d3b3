// The skin's pictures, read from the container where they lie among other entries.
#include <QImage>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogs/control_pictures.h"
#include "resources/container_writer.h"
#include "resources/read_bin.h"
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

}  // namespace
}  // namespace vitrina
