#include "print/preview_cursors.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace vitrina {

namespace {

QPixmap Blank(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

void Magnifier(QPainter& p, int sign) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::white, 5));
    p.drawEllipse(QPointF(12, 12), 8, 8);
    p.drawLine(QPointF(18, 18), QPointF(28, 28));
    p.setPen(QPen(Qt::black, 2));
    p.setBrush(QColor(255, 255, 255, 200));
    p.drawEllipse(QPointF(12, 12), 8, 8);
    p.setPen(QPen(Qt::black, 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(18, 18), QPointF(27, 27));
    p.setPen(QPen(Qt::black, 2));
    if (sign != 0) p.drawLine(QPointF(8, 12), QPointF(16, 12));
    if (sign > 0) p.drawLine(QPointF(12, 8), QPointF(12, 16));
}

void Hand(QPainter& p, bool closed) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1.5));
    p.setBrush(Qt::white);
    const int fingerTop = closed ? 10 : 4;
    QPainterPath hand;
    hand.addRoundedRect(QRectF(7, 14, 18, 14), 5, 5);
    for (int i = 0; i < 4; ++i) hand.addRoundedRect(QRectF(8 + i * 4.3, fingerTop + (i == 0 || i == 3 ? 2 : 0), 4, 14), 2, 2);
    hand.addRoundedRect(QRectF(closed ? 4 : 1, closed ? 15 : 12, 9, 4), 2, 2);
    p.drawPath(hand.simplified());
}

}  // namespace

QCursor PreviewCursor(TPreviewCursor kind) {
    QPixmap pixmap = Blank(32);
    QPainter p(&pixmap);
    switch (kind) {
    case TPreviewCursor::Zoom: Magnifier(p, 0); break;
    case TPreviewCursor::ZoomIn: Magnifier(p, 1); break;
    case TPreviewCursor::ZoomOut: Magnifier(p, -1); break;
    case TPreviewCursor::HandOpened: Hand(p, false); break;
    case TPreviewCursor::HandClosed: Hand(p, true); break;
    }
    p.end();
    const bool hand = kind == TPreviewCursor::HandOpened || kind == TPreviewCursor::HandClosed;
    return hand ? QCursor(pixmap, 16, 16) : QCursor(pixmap, 12, 12);
}

namespace {

void Sheet(QPainter& p, QRectF r) {
    p.setPen(QPen(QColor(60, 60, 60), 1));
    p.setBrush(Qt::white);
    p.drawRect(r);
    p.setPen(QPen(QColor(120, 120, 160), 1));
    for (double y = r.top() + 3; y < r.bottom() - 2; y += 3) p.drawLine(QPointF(r.left() + 2, y), QPointF(r.right() - 2, y));
}

void Arrow(QPainter& p, bool left, bool bar, double x) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 70, 150));
    QPolygonF tri;
    if (left) tri << QPointF(x + 8, 4) << QPointF(x, 10) << QPointF(x + 8, 16);
    else tri << QPointF(x, 4) << QPointF(x + 8, 10) << QPointF(x, 16);
    p.drawPolygon(tri);
    if (bar) p.drawRect(QRectF(left ? x - 3 : x + 9, 4, 2, 12));
}

}  // namespace

QIcon PreviewIcon(TPreviewIcon kind) {
    QPixmap pixmap = Blank(20);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    switch (kind) {
    case TPreviewIcon::Print:
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(5, 2, 10, 7));
        p.setBrush(QColor(170, 170, 170));
        p.drawRoundedRect(QRectF(2, 8, 16, 7), 2, 2);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(5, 13, 10, 5));
        break;
    case TPreviewIcon::Orientation: Sheet(p, QRectF(1.5, 5.5, 17, 11)); break;
    case TPreviewIcon::First: Arrow(p, true, true, 8); break;
    case TPreviewIcon::Previous: Arrow(p, true, false, 6); break;
    case TPreviewIcon::Next: Arrow(p, false, false, 6); break;
    case TPreviewIcon::Last: Arrow(p, false, true, 3); break;
    case TPreviewIcon::GoTo:
        Sheet(p, QRectF(2.5, 1.5, 11, 15));
        Arrow(p, false, false, 10);
        break;
    case TPreviewIcon::FitPage: Sheet(p, QRectF(5.5, 1.5, 9, 17)); break;
    case TPreviewIcon::FitWidth:
        Sheet(p, QRectF(1.5, 3.5, 17, 15));
        break;
    case TPreviewIcon::Restore:
        Sheet(p, QRectF(3.5, 1.5, 13, 17));
        p.setPen(QPen(QColor(180, 30, 30), 2));
        p.drawText(QRectF(0, 0, 20, 20), Qt::AlignCenter, "1");
        break;
    case TPreviewIcon::PrintZoom:
        Sheet(p, QRectF(1.5, 1.5, 12, 16));
        p.scale(0.6, 0.6);
        p.translate(9, 9);
        Magnifier(p, 1);
        break;
    case TPreviewIcon::ViewZoom:
        p.scale(0.65, 0.65);
        Magnifier(p, 1);
        break;
    case TPreviewIcon::Hand:
        p.scale(0.65, 0.65);
        Hand(p, false);
        break;
    case TPreviewIcon::OnePage: Sheet(p, QRectF(5.5, 1.5, 9, 16)); break;
    case TPreviewIcon::TwoPages:
        Sheet(p, QRectF(0.5, 2.5, 9, 15));
        Sheet(p, QRectF(10.5, 2.5, 9, 15));
        break;
    case TPreviewIcon::Help:
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(30, 70, 150));
        p.drawEllipse(QRectF(1, 1, 18, 18));
        p.setPen(Qt::white);
        p.setFont(QFont("DejaVu Sans", 10, QFont::Bold));
        p.drawText(QRectF(0, 0, 20, 20), Qt::AlignCenter, "?");
        break;
    case TPreviewIcon::Close:
        p.setPen(QPen(QColor(170, 30, 30), 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(5, 5), QPointF(15, 15));
        p.drawLine(QPointF(15, 5), QPointF(5, 15));
        break;
    }
    p.end();
    return QIcon(pixmap);
}

}  // namespace vitrina
