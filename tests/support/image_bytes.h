#pragma once
// A picture as the bytes of an image file, for fixtures that hold pictures.
#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QImage>

#include <string>

namespace vitrina::test {

inline std::string ImageBytes(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes.toStdString();
}

inline std::string Bmp(const QImage& image) { return ImageBytes(image, "BMP"); }

// A picture of one colour.
inline std::string Bmp(int w, int h, QColor colour) {
    QImage image(w, h, QImage::Format_RGB888);
    image.fill(colour);
    return Bmp(image);
}

}  // namespace vitrina::test
