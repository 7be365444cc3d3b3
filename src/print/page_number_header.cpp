#include "print/page_number_header.h"

#include <QPaintDevice>

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include "print/print_geometry.h"

namespace vitrina {

void PageNumberHeader(QPainter& canvas, int page, int pageWidth) {
    // 8 points at the layout's pixels per inch, whatever the device's own are.
    QFont font(QStringLiteral("Arial"));
    const int deviceDpi = canvas.device() ? canvas.device()->logicalDpiY() : 0;
    font.setPointSizeF(deviceDpi > 0 ? 8.0 * kLayoutDpi / deviceDpi : 8.0);
    canvas.save();
    canvas.setFont(font);
    canvas.setPen(Qt::black);
    canvas.setBackgroundMode(Qt::TransparentMode);
    const QString text = QString::fromUtf8("Страница ") + QString::number(page);
    // The text ends at the reference point, as right-aligned text does on the system it came from.
    canvas.drawText(QRect(0, 40, pageWidth - 50, canvas.fontMetrics().height()), Qt::AlignRight | Qt::AlignTop, text);
    canvas.restore();
}

}  // namespace vitrina
