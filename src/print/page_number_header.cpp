#include "print/page_number_header.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

namespace vitrina {

void PageNumberHeader(QPainter& canvas, int page, int pageWidth) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(8);
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
