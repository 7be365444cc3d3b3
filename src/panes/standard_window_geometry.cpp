#include "panes/standard_window_geometry.h"

#include "platform/cp1251.h"
#include "resources/description.h"
#include "resources/windows_path.h"

namespace vitrina {

TTextSize StandardWindowSize(std::string_view file, TTextSize picture, TTextSize current) {
    const std::string name = FileNamePart(file);
    if (SameText1251(name, "scheme.bmp") || SameText1251(name, "scheme_lux.bmp")) return {780, 550};
    if (IsPictureFile(name)) return {picture.width + 45, picture.height + 90};
    return current;
}

bool IsPictureFile(std::string_view file) {
    const std::string name = FileNamePart(file);
    const auto dot = name.rfind('.');
    const std::string extension = dot == std::string::npos ? "" : LowerCase1251(name.substr(dot));
    return extension == ".bmp" || extension == ".gif" || extension == ".jpg" || extension == ".jpeg";
}

TRectI StandardWindowPlace(TTextSize size, const TRectI& workArea) {
    TRectI place{workArea.left + 40, workArea.top + 30, size.width, size.height};
    if (place.Right() > workArea.Right()) place.left = workArea.left;
    if (place.Bottom() > workArea.Bottom()) place.top = workArea.top;
    return place;
}

TDocumentArgument ParseDocumentArgument(const std::vector<std::string>& arguments) {
    std::string line;
    for (const std::string& a : arguments) line += (line.empty() ? "" : " ") + a;
    std::string unquoted;
    for (char c : line)
        if (c != '"') unquoted += c;
    TDocumentArgument result;
    result.file = Trim(unquoted);
    if (const auto at = result.file.find(" /h"); at != std::string::npos) {
        result.secondary = true;
        result.file = Trim(result.file.erase(at, 3));
    }
    return result;
}

}  // namespace vitrina
