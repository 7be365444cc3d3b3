#include "panes/standard_window_geometry.h"

#include "panes/contents_tree_model.h"
#include "platform/cp1251.h"

namespace vitrina {

TTextSize StandardWindowSize(std::string_view file, TTextSize picture, TTextSize current) {
    const std::string name = FileNamePart(file);
    if (SameText1251(name, "scheme.bmp") || SameText1251(name, "scheme_lux.bmp")) return {780, 550};
    const auto dot = name.rfind('.');
    const std::string extension = dot == std::string::npos ? "" : LowerCase1251(name.substr(dot));
    if (extension == ".bmp" || extension == ".gif" || extension == ".jpg" || extension == ".jpeg") {
        return {picture.width + 45, picture.height + 90};
    }
    return current;
}

TRectI StandardWindowPlace(TTextSize size, const TRectI& workArea) {
    TRectI place{workArea.left + 40, workArea.top + 30, size.width, size.height};
    if (place.Right() > workArea.Right()) place.left = workArea.left;
    if (place.Bottom() > workArea.Bottom()) place.top = workArea.top;
    return place;
}

}  // namespace vitrina
