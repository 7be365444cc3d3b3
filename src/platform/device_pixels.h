#pragma once
// Skin pictures on screens of any device pixel ratio. A skin is drawn pixel by pixel for
// 800x600-era screens; Qt shows a window's logical pixels at the screen's ratio (the system's,
// QT_SCALE_FACTOR, --scale), so positions, shapes and pointer positions stay in skin pixels,
// and only pictures and images of windows need care here.
#include <QImage>
#include <QPainter>
#include <QSize>

namespace vitrina {

// At a whole ratio every picture pixel becomes a square of device pixels and stays sharp; at a
// fractional one nearest sampling would double rows and columns unevenly, so it is smoothed.
bool SmoothsPictures(qreal devicePixelRatio);

// The painter of the skinned windows, dialogs and popups: pictures drawn at logical places,
// sampled as SmoothsPictures says for the device.
class TSkinPainter : public QPainter {
public:
    explicit TSkinPainter(QPaintDevice* device);
};

// A picture at the device's pixels for its logical size, sampled as SmoothsPictures says, so that
// what is painted into it afterwards (a caption) is drawn at the device's resolution; the picture
// itself when the ratio is 1.
QImage PictureAtDevicePixels(const QImage& picture, qreal devicePixelRatio);

// A blank image with the device's pixels for a logical size; painters on it take logical
// coordinates.
QImage DeviceImage(QSize logical, qreal devicePixelRatio, QImage::Format format);

}  // namespace vitrina
