#pragma once
// Window tests read a widget's painted pixels at logical points, so that they hold on scaled
// screens too (CTest runs some of them again at QT_SCALE_FACTOR 2 and 1.5).
#include <QColor>
#include <QImage>
#include <QPoint>
#include <QWidget>

namespace vitrina::test {

// The colour at the middle of logical pixel p of the widget as painted.
inline QColor PixelAt(QWidget& w, QPoint p) {
    const QImage image = w.grab().toImage();
    const qreal ratio = image.devicePixelRatio();
    return image.pixelColor(int((p.x() + 0.5) * ratio), int((p.y() + 0.5) * ratio));
}

}  // namespace vitrina::test
