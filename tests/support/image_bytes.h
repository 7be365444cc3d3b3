#pragma once
// A picture as the bytes of an image file, for fixtures that hold pictures.
#include <QBuffer>
#include <QByteArray>
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

}  // namespace vitrina::test
