#include "platform/device_pixels.h"

#include <cmath>

namespace vitrina {

bool SmoothsPictures(qreal devicePixelRatio) {
    // Ratios come from the screen times a typed factor: 1.5 * 4/3 is 2 give or take a bit.
    return std::abs(devicePixelRatio - std::round(devicePixelRatio)) > 1e-6;
}

TSkinPainter::TSkinPainter(QPaintDevice* device) : QPainter(device) {
    if (isActive()) setRenderHint(QPainter::SmoothPixmapTransform, SmoothsPictures(device->devicePixelRatioF()));
}

QImage PictureAtDevicePixels(const QImage& picture, qreal devicePixelRatio) {
    if (picture.isNull() || std::abs(devicePixelRatio - 1) < 1e-6) return picture;
    QImage scaled = picture.scaled(picture.size() * devicePixelRatio, Qt::IgnoreAspectRatio,
                                   SmoothsPictures(devicePixelRatio) ? Qt::SmoothTransformation : Qt::FastTransformation);
    scaled.convertTo(picture.format());
    // The resolution the point sizes of captions are measured at stays the picture's.
    scaled.setDotsPerMeterX(picture.dotsPerMeterX());
    scaled.setDotsPerMeterY(picture.dotsPerMeterY());
    scaled.setDevicePixelRatio(devicePixelRatio);
    return scaled;
}

QImage DeviceImage(QSize logical, qreal devicePixelRatio, QImage::Format format) {
    // Sides rounded as QWidget::grab rounds them, so a grab fills the image exactly.
    QImage image(logical * devicePixelRatio, format);
    image.setDevicePixelRatio(devicePixelRatio);
    return image;
}

}  // namespace vitrina
