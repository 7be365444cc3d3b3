#include "widgets/color_grid.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "imaging/color_names.h"
#include "imaging/windows_color.h"

namespace vitrina {
namespace {

constexpr int kColumns = 4;
constexpr int kCells = 16;

}  // namespace

TColorGrid::TColorGrid(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(4 * 14, 4 * 14);
}

TColor TColorGrid::ColorAt(int cell) const {
    return cell >= 0 && cell < kCells ? BasicPalette()[cell].value : 0;
}

void TColorGrid::SetSelected(int cell) {
    selected_ = cell >= 0 && cell < kCells ? cell : -1;
    update();
}

void TColorGrid::Choose(int cell) {
    if (cell < 0 || cell >= kCells) return;
    SetSelected(cell);
    if (OnChange) OnChange(ColorAt(cell));
}

QRect TColorGrid::CellRect(int cell) const {
    const int w = width() / kColumns, h = height() / kColumns;
    return QRect((cell % kColumns) * w, (cell / kColumns) * h, w, h);
}

QSize TColorGrid::sizeHint() const { return QSize(4 * 22, 4 * 22); }

void TColorGrid::paintEvent(QPaintEvent*) {
    QPainter p(this);
    for (int cell = 0; cell < kCells; ++cell) {
        const QRect r = CellRect(cell).adjusted(1, 1, -1, -1);
        p.fillRect(r, ToQColor(ColorAt(cell)));
        p.setPen(palette().color(QPalette::Mid));
        p.drawRect(r.adjusted(0, 0, -1, -1));
    }
    if (selected_ >= 0) {
        // Black and white together show on every cell.
        const QRect r = CellRect(selected_).adjusted(1, 1, -2, -2);
        p.setPen(QPen(Qt::black, 2));
        p.drawRect(r);
        p.setPen(QPen(Qt::white, 1));
        p.drawRect(r.adjusted(2, 2, -2, -2));
    }
    if (hasFocus()) {
        p.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void TColorGrid::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    for (int cell = 0; cell < kCells; ++cell)
        if (CellRect(cell).contains(event->position().toPoint())) return Choose(cell);
}

void TColorGrid::keyPressEvent(QKeyEvent* event) {
    const int at = selected_ < 0 ? 0 : selected_;
    int next = -1;
    switch (event->key()) {
    case Qt::Key_Left: next = at % kColumns ? at - 1 : at; break;
    case Qt::Key_Right: next = at % kColumns != kColumns - 1 ? at + 1 : at; break;
    case Qt::Key_Up: next = at >= kColumns ? at - kColumns : at; break;
    case Qt::Key_Down: next = at + kColumns < kCells ? at + kColumns : at; break;
    case Qt::Key_Space: next = at; break;
    default: return QWidget::keyPressEvent(event);
    }
    Choose(next);
}

}  // namespace vitrina
