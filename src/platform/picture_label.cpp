#include "platform/picture_label.h"

#include <QMovie>
#include <QStyle>

#include "platform/device_pixels.h"

namespace vitrina {

TPictureLabel::TPictureLabel(QWidget* parent) : QLabel(parent) { setAlignment(Qt::AlignCenter); }

void TPictureLabel::paintEvent(QPaintEvent*) {
    const QPixmap shown = movie() ? movie()->currentPixmap() : pixmap();
    if (shown.isNull()) return;
    TSkinPainter p(this);
    p.drawPixmap(QStyle::alignedRect(layoutDirection(), alignment(), shown.deviceIndependentSize().toSize(), rect()),
                 shown);
}

}  // namespace vitrina
