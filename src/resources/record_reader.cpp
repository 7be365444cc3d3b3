#include "resources/record_reader.h"

#include "platform/cp1251.h"
#include "resources/description.h"
#include "resources/screen_model.h"

namespace vitrina {

using Lines = TDynamicStringArray;

TReader TKinds::Number(int& field, std::string_view) const {
    return [&field](const Lines& lines, std::size_t& i, std::size_t pos) { field = ReadNumber(lines[i], pos); };
}

TReader TKinds::Coordinate(int& field, std::string_view) const {
    return [&field](const Lines& lines, std::size_t& i, std::size_t pos) {
        field = ClampCoordinate(ReadNumber(lines[i], pos));
    };
}

TReader TKinds::Size(int& field, std::string_view) const {
    return [&field](const Lines& lines, std::size_t& i, std::size_t pos) { field = ClampSize(ReadNumber(lines[i], pos)); };
}

TReader TKinds::Text(std::string& field, std::string_view key) const {
    return [&field, key](const Lines& lines, std::size_t& i, std::size_t pos) {
        field = ReadText(lines[i], ValuePos(pos, key));
    };
}

TReader TKinds::LowerText(std::string& field, std::string_view key) const {
    return [&field, key](const Lines& lines, std::size_t& i, std::size_t pos) {
        field = LowerCase1251(ReadText(lines[i], ValuePos(pos, key)));
    };
}

TReader TKinds::Path(std::string& field, std::string_view key) const {
    return [&field, key, this](const Lines& lines, std::size_t& i, std::size_t pos) {
        field = ResolvePath(ReadText(lines[i], ValuePos(pos, key)), programFolder);
    };
}

TReader TKinds::LowerPath(std::string& field, std::string_view key) const {
    return [&field, key, this](const Lines& lines, std::size_t& i, std::size_t pos) {
        field = LowerCase1251(ResolvePath(ReadText(lines[i], ValuePos(pos, key)), programFolder));
    };
}

TReader TKinds::Color(TColor& field, std::string_view key) const {
    return [&field, key](const Lines& lines, std::size_t& i, std::size_t pos) {
        field = ReadColor(lines[i], ValuePos(pos, key));
    };
}

TReader TKinds::Flag(bool& field, std::string_view key) const {
    return [&field, key](const Lines& lines, std::size_t& i, std::size_t pos) {
        field = LowerCase1251(ReadText(lines[i], ValuePos(pos, key))) == "on";
    };
}

TReader TKinds::Style(std::uint8_t& field, std::string_view key) const {
    return [&field, key](const Lines& lines, std::size_t& i, std::size_t pos) {
        field = ReadStyleSet(ReadText(lines[i], ValuePos(pos, key)));
    };
}

TReader TKinds::List(TDynamicStringArray& field) const {
    return [&field, this](const Lines& lines, std::size_t& i, std::size_t) { field = ReadList(lines, i, programFolder); };
}

bool ReadInOrder(const Lines& lines, std::size_t& i, const std::vector<TKey>& keys) {
    if (i >= lines.size()) return false;
    for (const auto& key : keys) {
        std::size_t pos;
        while ((pos = lines[i].find(key.name)) == std::string::npos) {
            if (i + 1 >= lines.size()) return false;
            ++i;
        }
        key.read(lines, i, pos);
    }
    return true;
}

bool ReadWithCaptions(const Lines& lines, std::size_t& i, const std::vector<TKey>& mainKeys,
                      const std::vector<TKey>& captionKeys) {
    if (i >= lines.size()) return false;
    for (const auto& key : mainKeys) {
        for (;;) {
            if (const auto pos = lines[i].find(key.name); pos != std::string::npos) {
                key.read(lines, i, pos);
                break;
            }
            for (const auto& caption : captionKeys) {
                if (const auto pos = lines[i].find(caption.name); pos != std::string::npos) caption.read(lines, i, pos);
            }
            if (i + 1 >= lines.size()) return false;
            ++i;
        }
    }
    return true;
}

std::vector<TKey> GroupCaptionKeys(const TKinds& kinds, RSwthGrp& record) {
#define KEY(kind, field) TKey{#field, kinds.kind(record.field, #field)}
    return {KEY(Text, textcaptionup), KEY(Text, textcaptiondn), KEY(Coordinate, texttx), KEY(Coordinate, textty),
            KEY(Coordinate, textbx), KEY(Coordinate, textby), KEY(Text, textfontname), KEY(Size, textfontsize),
            KEY(Style, textfontstyleup), KEY(Style, textfontstylemvup), KEY(Style, textfontstylemvdn),
            KEY(Style, textfontstyledn), KEY(Color, textfontcolorup), KEY(Color, textfontcolormvup),
            KEY(Color, textfontcolormvdn), KEY(Color, textfontcolordn)};
#undef KEY
}

}  // namespace vitrina
