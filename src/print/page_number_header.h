#pragma once
// PageNumberHeader: "Страница N" in Arial 8 pt, right-aligned so that it ends 50 layout units
// before the printable width, 40 units down from the printable area's top.
class QPainter;

namespace vitrina {

void PageNumberHeader(QPainter& canvas, int page, int pageWidth);

}  // namespace vitrina
