#pragma once
// Where the standard window goes and how big it is, for the file it was opened with.
#include <string_view>

#include "dialogs/popup_layout.h"

namespace vitrina {

// 780 x 550 for the wiring diagrams, the picture plus (45, 90) for pictures, else unchanged.
TTextSize StandardWindowSize(std::string_view commandLineFile, TTextSize lastPictureSize, TTextSize current);
// (40, 30), moved to 0 on an axis where the window would leave the work area.
TRectI StandardWindowPlace(TTextSize size, const TRectI& workArea);

}  // namespace vitrina
