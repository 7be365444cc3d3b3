#pragma once
// A Windows colour value 0x00BBGGRR as a Qt colour.
#include <QColor>

#include "resources/dynamic_arrays.h"

namespace vitrina {

inline QColor ToQColor(TColor color) { return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF); }

}  // namespace vitrina
