#include "resources/screen_model.h"

#include <algorithm>
#include <string_view>

#include "platform/cp1251.h"
#include "resources/description.h"
#include "resources/record_reader.h"
#include "resources/windows_path.h"

namespace vitrina {
namespace {

using Lines = TDynamicStringArray;

#define KEY(kind, field) TKey{#field, kinds.kind(record.field, #field)}

template <class T>
T& NewRecordAt(std::vector<std::vector<T>>& perScreen, int screen) {
    if (static_cast<int>(perScreen.size()) <= screen) perScreen.resize(screen + 1);
    return perScreen[screen].emplace_back();
}

template <class T>
void GrowTo(std::vector<T>& perScreen, int screen) {
    if (static_cast<int>(perScreen.size()) <= screen) perScreen.resize(screen + 1);
}

}  // namespace

TStyleSet ReadStyleSet(const std::string& text) {
    TStyleSet style = 0;
    if (Contains(text, "bold")) style |= kStyleBold;
    if (Contains(text, "italic")) style |= kStyleItalic;
    if (Contains(text, "underline")) style |= kStyleUnderline;
    if (Contains(text, "strikeout")) style |= kStyleStrikeout;
    return style;
}

void TScreenModel::ReadHeader(const Lines& lines) {
    const TKinds kinds{programFolder_};
    auto readButton = [&](RBtn& record, const char* go, std::size_t& i) {
        record = RBtn{};
        record.go = go;
        ReadInOrder(lines, i,
                    {KEY(Coordinate, vx), KEY(Coordinate, vy), KEY(Text, fn1), KEY(Text, fn2), KEY(Text, fn3),
                     KEY(Text, hint), KEY(Text, wav)});
    };

    std::size_t i = 0;
    while (i < lines.size()) {
        auto at = [&](std::string_view key) { return i < lines.size() ? lines[i].find(key) : std::string::npos; };
        std::size_t pos;
        if ((pos = at("title")) != std::string::npos) {
            Title = ReadText(lines[i], ValuePos(pos, "title"));
            if (!Title.empty()) Title[0] = static_cast<char>(UpperChar1251(static_cast<unsigned char>(Title[0])));
        }
        if ((pos = at("codec")) != std::string::npos) Codec = ReadText(lines[i], ValuePos(pos, "codec"));
        if ((pos = at("rolic")) != std::string::npos) Rolic = ReadText(lines[i], ValuePos(pos, "rolic"));
        if (at("helpwin") != std::string::npos) {
            int vw = 0, vh = 0;
            ReadInOrder(lines, i,
                        {TKey{"vw", kinds.Size(vw, "vw")}, TKey{"vh", kinds.Size(vh, "vh")},
                         TKey{"fn", kinds.Path(HelpWin, "fn")}});
        }
        if ((pos = at("background")) != std::string::npos) Background = ReadText(lines[i], ValuePos(pos, "background"));
        if ((pos = at("icon")) != std::string::npos) Icon = ReadText(lines[i], ValuePos(pos, "icon"));
        if (at("bgsounddef") != std::string::npos) BackgroundSongs = ReadList(lines, i, programFolder_);
        if (at("vertexmain") != std::string::npos) {
            // A shape that does not read as points leaves the window rectangular; the rest of
            // the description still counts.
            std::vector<TPoint> points;
            if (ReadWindowShape(lines, i, programFolder_, points)) VertexMain = std::move(points);
        }
        if (at("minimize") != std::string::npos) readButton(MinimizeButton, "minimize", i);
        if (at("close") != std::string::npos) readButton(CloseButton, "exit", i);
        ++i;
    }
}

void TScreenModel::ReadSections(const Lines& lines) {
    const TKinds kinds{programFolder_};
    static constexpr std::string_view kSectionWords[] = {"button", "switchone", "switchgrp", "_html",
                                                         "_findtxt", "_path", "_clip", "_text",
                                                         "_image", "_popup", "_screen"};
    std::size_t i = 0;
    while (i < lines.size()) {
        const std::string& line = lines[i];
        std::string_view word;
        for (auto candidate : kSectionWords) {
            if (Contains(line, candidate)) {
                word = candidate;
                break;
            }
        }
        const int number = word.empty() ? 0 : ReadNumber(line, 0);
        const int screen = number > 0 ? number - 1 : -1;
        // Lines without a section word, and sections without a usable screen number, are skipped.
        if (word.empty() || screen < 0 || screen >= kMaxScreens) {
            ++i;
            continue;
        }

        if (word == "button") {
            RBtn& record = NewRecordAt(ScreenButtons, screen);
            ReadWithCaptions(
                lines, i,
                {KEY(Coordinate, vx), KEY(Coordinate, vy), KEY(Text, fn1), KEY(Text, fn2), KEY(Text, fn3), KEY(Text, go),
                 KEY(Text, hint), KEY(Text, wav)},
                {KEY(Text, textcaption), KEY(Coordinate, texttx), KEY(Coordinate, textty), KEY(Coordinate, textbx),
                 KEY(Coordinate, textby), KEY(Text, textfontname), KEY(Size, textfontsize), KEY(Style, textfontstyleup),
                 KEY(Style, textfontstylemv), KEY(Style, textfontstyledn), KEY(Color, textfontcolorup),
                 KEY(Color, textfontcolormv), KEY(Color, textfontcolordn)});
        } else if (word == "switchone") {
            RSwthOne& record = NewRecordAt(ScreenSwitches, screen);
            ReadWithCaptions(
                lines, i,
                {KEY(Coordinate, vx), KEY(Coordinate, vy), KEY(Text, fn1), KEY(Text, fn2), KEY(Text, fn3), KEY(Text, fn4),
                 KEY(Flag, state), KEY(Flag, store), KEY(Path, goup), KEY(Path, godown), KEY(Text, hint),
                 KEY(Text, wav)},
                {KEY(Text, textcaptionup), KEY(Text, textcaptiondn), KEY(Coordinate, texttxup), KEY(Coordinate, texttyup),
                 KEY(Coordinate, textbxup), KEY(Coordinate, textbyup), KEY(Coordinate, texttxdn), KEY(Coordinate, texttydn),
                 KEY(Coordinate, textbxdn), KEY(Coordinate, textbydn), KEY(Text, textfontname), KEY(Size, textfontsize),
                 KEY(Style, textfontstyleup), KEY(Style, textfontstylemvup), KEY(Style, textfontstylemvdn),
                 KEY(Style, textfontstyledn), KEY(Color, textfontcolorup), KEY(Color, textfontcolormvup),
                 KEY(Color, textfontcolormvdn), KEY(Color, textfontcolordn)});
        } else if (word == "switchgrp") {
            RSwthGrp& record = NewRecordAt(ScreenGroups, screen);
            ReadWithCaptions(
                lines, i,
                {KEY(Coordinate, vx), KEY(Coordinate, vy), KEY(Text, fn1), KEY(Text, fn2), KEY(Text, fn3), KEY(Text, fn4),
                 KEY(Flag, state), KEY(Flag, store), KEY(Number, group), KEY(Path, go), KEY(Text, hint),
                 KEY(Text, wav)},
                GroupCaptionKeys(kinds, record));
        } else if (word == "_html") {
            RHTML& record = HtmlAreas.emplace_back();
            record.screen = screen;
            ReadInOrder(lines, i,
                        {KEY(Coordinate, vx), KEY(Coordinate, vy), KEY(Coordinate, vw), KEY(Coordinate, vh), KEY(Path, fn),
                         KEY(Number, number)});
        } else if (word == "_findtxt") {
            RFindTxt& record = FindAreas.emplace_back();
            record.screen = screen;
            ReadInOrder(lines, i,
                        {KEY(Coordinate, vx), KEY(Coordinate, vy), KEY(Coordinate, vw), KEY(Coordinate, vh), KEY(Text, frame),
                         TKey{"nofiles", kinds.List(record.nofiles)}, KEY(Number, number), KEY(Text, hint)});
        } else if (word == "_path") {
            RPathInput& record = PathAreas.emplace_back();
            record.screen = screen;
            ReadInOrder(lines, i,
                        {KEY(Coordinate, vx), KEY(Coordinate, vy), KEY(Coordinate, vw), KEY(Coordinate, vh), KEY(Text, pathdef),
                         KEY(Text, hint)});
        } else if (word == "_clip") {
            RClip& record = ClipAreas.emplace_back();
            record.screen = screen;
            ReadInOrder(lines, i,
                        {KEY(Coordinate, vx), KEY(Coordinate, vy), KEY(Coordinate, vw), KEY(Coordinate, vh), KEY(Color, bgcolor),
                         KEY(Number, html)});
        } else if (word == "_text") {
            RText& record = TextAreas.emplace_back();
            record.screen = screen;
            ReadInOrder(lines, i,
                        {KEY(Coordinate, vx), KEY(Coordinate, vy), KEY(Coordinate, vw), KEY(Text, font), KEY(Size, size),
                         KEY(Text, style), KEY(Color, color), KEY(Text, value), KEY(Text, ident),
                         KEY(Number, number)});
        } else if (word == "_image") {
            RImage& record = ImageAreas.emplace_back();
            record.screen = screen;
            ReadInOrder(lines, i,
                        {KEY(Coordinate, vx), KEY(Coordinate, vy), KEY(Coordinate, vw), KEY(Coordinate, vh), KEY(Path, dir)});
            if (record.dir.empty() || record.dir.back() != '\\') record.dir += '\\';
        } else if (word == "_popup") {
            RPopupData& record = NewRecordAt(ScreenPopups, screen);
            ReadInOrder(
                lines, i,
                {KEY(Coordinate, xfon), KEY(Coordinate, yfon), KEY(Text, fnfon), KEY(Coordinate, xbtn), KEY(Coordinate, ybtn),
                 TKey{"fnbtnup", kinds.List(record.fnbtnup)}, TKey{"fnbtnmove", kinds.List(record.fnbtnmove)},
                 TKey{"fnbtndown", kinds.List(record.fnbtndown)}, TKey{"fontup", kinds.Text(record.font[0], "fontup")},
                 TKey{"sizeup", kinds.Size(record.size[0], "sizeup")},
                 TKey{"styleup", kinds.Text(record.style[0], "styleup")},
                 TKey{"colorup", kinds.Color(record.color[0], "colorup")},
                 TKey{"fontmv", kinds.Text(record.font[1], "fontmv")},
                 TKey{"sizemv", kinds.Size(record.size[1], "sizemv")},
                 TKey{"stylemv", kinds.Text(record.style[1], "stylemv")},
                 TKey{"colormv", kinds.Color(record.color[1], "colormv")},
                 TKey{"caption", kinds.List(record.caption)}, TKey{"go", kinds.List(record.go)}, KEY(Text, parent),
                 TKey{"type",
                      [&record](const Lines& lines, std::size_t& index, std::size_t pos) {
                          const std::string value = ReadText(lines[index], ValuePos(pos, "type"));
                          const std::string lower = LowerAscii(value);
                          if (lower == "historyback") record.type = kPopupHistoryBack;
                          else if (lower == "historyforward") record.type = kPopupHistoryForward;
                          else if (lower == "favorite") record.type = kPopupFavorite;
                          else if (lower == "contexthtml") record.type = kPopupContextHtml;
                          else record.type = ReadNumber(lines[index], pos);
                      }},
                 TKey{"vertex", kinds.List(record.vertex)}});
        } else {  // _screen
            auto& buttons = ScreenButtons;
            GrowTo(buttons, screen);
            buttons[screen].push_back(MinimizeButton);
            buttons[screen].push_back(CloseButton);
            GrowTo(ScreenSwitches, screen);
            GrowTo(ScreenGroups, screen);
            GrowTo(ScreenPictures, screen);
            ScreenPictures[screen] = ReadText(line, ValuePos(line.find("screen"), "screen"));
        }
        ++i;
    }
}

#undef KEY

int TScreenModel::ScreenCount() const {
    return static_cast<int>(std::max({ScreenButtons.size(), ScreenSwitches.size(), ScreenGroups.size(),
                                      ScreenPictures.size(), ScreenPopups.size()}));
}

}  // namespace vitrina
