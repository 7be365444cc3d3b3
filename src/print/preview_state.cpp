#include "print/preview_state.h"

#include <algorithm>
#include <cmath>

namespace vitrina {

QStringList ZoomEntries() {
    return {QString::fromUtf8("Страница целиком"), QString::fromUtf8("По ширине страницы"),
            QString::fromUtf8("Вручную"), "25%", "50%", "75%", "100%", "125%", "150%", "200%", "300%", "400%"};
}

double ZoomOfEntry(int index, double current, QSize client, double screenDpi, const TPrinterGeometry& g) {
    const double heightFit = (client.height() - 20) / screenDpi / (double(g.PhysHeight) / g.ResY);
    const double widthFit = (client.width() - 20) / screenDpi / (double(g.PhysWidth) / g.ResX);
    static constexpr double kFixed[] = {0.25, 0.5, 0.75, 1.0, 1.25, 1.5, 2.0, 3.0, 4.0};
    if (index == kZoomWholePage) return std::min(heightFit, widthFit);
    if (index == kZoomPageWidth) return widthFit;
    if (index == kZoomManual) return current;
    if (index >= 3 && index < 12) return kFixed[index - 3];
    return 1.0;
}

float StepPrintScale(float scale, bool enlarge) {
    if (enlarge) return scale < 3 ? scale * 1.1f : scale;
    return scale > 0.05f ? scale / 1.1f : scale;
}

double StepViewZoom(double zoom, bool enlarge) {
    if (enlarge) return zoom < 20 ? zoom * 1.25 : zoom;
    return zoom > 0.1 ? zoom / 1.25 : zoom;
}

void TPreviewPages::SetCount(int count) {
    count_ = std::max(0, count);
    if (count_ <= 1) twoPages_ = false;
    Show(current_);
}

void TPreviewPages::Show(int page) { current_ = std::clamp(page, 0, std::max(0, count_ - 1)); }

void TPreviewPages::GoTo(int number) { Show(std::min(number, count_) - 1); }

TPageButtons TPreviewPages::Buttons() const {
    TPageButtons b;
    b.next = current_ + 1 < count_;
    b.previous = current_ > 0;
    b.first = b.previous;
    b.last = b.next;
    b.goTo = count_ > 1;
    b.twoPageEnabled = count_ != 1;
    return b;
}

TPreviewLayout LayOutPages(QSize client, double screenDpi, double viewZoom, const TPrinterGeometry& g, bool twoPages) {
    TPreviewLayout l;
    const int height = int(std::lround(screenDpi * viewZoom * g.PhysHeight / g.ResY));
    const int width = int(std::lround(screenDpi * viewZoom * g.PhysWidth / g.ResX));
    int content = width + 20;
    if (twoPages) content += width + 20;
    l.grey = QSize(std::max(content, client.width() - 1), std::max(height + 20, client.height() - 1));
    const int top = height + 20 < l.grey.height() ? l.grey.height() / 2 - height / 2 : 10;
    const int left = content < l.grey.width() ? l.grey.width() / 2 - (content - 20) / 2 : 10;
    l.left = QRect(left, top, width, height);
    if (twoPages) l.right = QRect(left + width + 20, top, width, height);
    return l;
}

QPoint CentreOn(QPoint pointInGrey, QSize client) {
    return QPoint(std::max(0, pointInGrey.x() - client.width() / 2), std::max(0, pointInGrey.y() - client.height() / 2));
}

}  // namespace vitrina
