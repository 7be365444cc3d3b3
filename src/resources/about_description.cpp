#include "resources/about_description.h"

#include "resources/description.h"
#include "resources/record_reader.h"

namespace vitrina {

#define KEY(kind, field) TKey{#field, kinds.kind(record.field, #field)}

void TAboutDescription::Read(const TDynamicStringArray& lines) {
    const TKinds kinds{programFolder_};
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (const auto pos = line.find("picture"); pos != std::string::npos)
            Picture = ReadText(line, ValuePos(pos, "picture"));
        if (Contains(line, "vertex")) {
            std::vector<TPoint> points;
            if (ReadWindowShape(lines, i, programFolder_, points)) Vertex = std::move(points);
        }
    }
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (Contains(line, "text")) {
            RText record;
            ReadInOrder(lines, i,
                        {KEY(Coordinate, vx), KEY(Coordinate, vy), KEY(Text, font), KEY(Size, size),
                         KEY(LowerText, style), KEY(Color, color), KEY(Text, value),
                         TKey{"idenf", kinds.LowerText(record.ident, "idenf")}});
            Texts.push_back(std::move(record));
        } else if (Contains(line, "button")) {
            RBtn record;
            ReadInOrder(lines, i,
                        {KEY(Coordinate, vx), KEY(Coordinate, vy), KEY(Text, fn1), KEY(Text, fn2), KEY(Text, hint),
                         KEY(LowerText, wav)});
            Buttons.push_back(std::move(record));
        }
    }
}

#undef KEY

std::string AboutLinkTarget(std::string_view value) {
    std::string target(value);
    if (Contains(value, "@")) target.insert(0, "mailto:");
    return target;
}

std::string AboutShownText(const RText& text) {
    if (!IsAboutLink(text)) return text.value;
    return text.value.substr(0, text.value.find('?'));
}

}  // namespace vitrina
