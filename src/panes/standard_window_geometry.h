#pragma once
// Where the standard window goes and how big it is, for the file it was opened with.
#include <string>
#include <string_view>
#include <vector>

#include "resources/dynamic_arrays.h"

namespace vitrina {

// 780 x 550 for the wiring diagrams, the picture plus (45, 90) for pictures, else unchanged.
TTextSize StandardWindowSize(std::string_view commandLineFile, TTextSize lastPictureSize, TTextSize current);
// A file the window is sized for by its picture (".bmp", ".gif", ".jpg", ".jpeg").
bool IsPictureFile(std::string_view file);
// (40, 30), moved to 0 on an axis where the window would leave the work area.
TRectI StandardWindowPlace(TTextSize size, const TRectI& workArea);

}  // namespace vitrina

namespace vitrina {

// The document mode's file from the command line after the program's own options: the words
// joined, double quotes removed, trimmed; " /h" marks the help variant and is taken out.
struct TDocumentArgument {
    std::string file;  // 1251
    bool secondary = false;
};
TDocumentArgument ParseDocumentArgument(const std::vector<std::string>& arguments);

}  // namespace vitrina
