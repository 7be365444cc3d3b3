#include "media/video_area.h"

#include <QPainter>

#include "platform/device_pixels.h"

namespace vitrina {

TVideoArea::TVideoArea(QWidget* parent, QColor color) : QWidget(parent), color_(color) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
}

void TVideoArea::SetFrame(const QImage& frame) {
    frame_ = frame;
    still_ = {};
    update();
}

void TVideoArea::SetStill(const QImage& still) {
    still_ = still;
    update();
}

void TVideoArea::SetDestination(const QRect& rect) {
    destination_ = rect;
    update();
}

QRect TVideoArea::Destination() const {
    if (!destination_.isEmpty()) return destination_;
    return QRect(QPoint(0, 0), frame_.size());
}

void TVideoArea::paintEvent(QPaintEvent*) {
    TSkinPainter p(this);
    if (!still_.isNull()) {
        p.drawImage(rect(), still_);
        return;
    }
    p.fillRect(rect(), color_);
    if (!frame_.isNull()) p.drawImage(Destination(), frame_);
}

}  // namespace vitrina

namespace vitrina {

void TVideoArea::mouseMoveEvent(QMouseEvent*) {
    if (OnMouseMove) OnMouseMove();
}

}  // namespace vitrina
