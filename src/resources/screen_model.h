#pragma once
// The screen model read from "Struct.cfs": header values, and per screen the buttons, switches,
// groups, popups and areas. Plain records; the windows read them.
#include <cstdint>
#include <string>
#include <vector>

#include "resources/dynamic_arrays.h"

namespace vitrina {

class TMyControl;

// Style set flags.
enum : std::uint8_t { kStyleBold = 1, kStyleItalic = 2, kStyleUnderline = 4, kStyleStrikeout = 8 };
using TStyleSet = std::uint8_t;

struct RBtn {
    int vx = 0, vy = 0, Right = 0, Bottom = 0;
    std::string textcaption;
    int texttx = 0, textty = 0, textbx = 0, textby = 0;
    std::string textfontname;
    int textfontsize = 0;
    TStyleSet textfontstyleup = 0, textfontstylemv = 0, textfontstyledn = 0;
    TColor textfontcolorup = 0, textfontcolormv = 0, textfontcolordn = 0;
    std::string align;
    std::string fn1, fn2, fn3;
    std::string go;
    bool IsLink = false;
    std::string hint;
    TMyControl* Carrier = nullptr;
    std::string wav;
};

struct RSwthOne {
    int vx = 0, vy = 0, Right = 0, Bottom = 0;
    std::string fn1, fn2, fn3, fn4;
    bool store = false;
    std::string goup, godown;
    std::string hint, wav;
    bool Hovered = false;
    bool state = false;
    std::string textcaptionup, textcaptiondn;
    int texttxup = 0, texttyup = 0, textbxup = 0, textbyup = 0;
    int texttxdn = 0, texttydn = 0, textbxdn = 0, textbydn = 0;
    std::string textfontname;
    int textfontsize = 0;
    TStyleSet textfontstyleup = 0, textfontstylemvup = 0, textfontstylemvdn = 0, textfontstyledn = 0;
    TColor textfontcolorup = 0, textfontcolormvup = 0, textfontcolormvdn = 0, textfontcolordn = 0;
};

struct RSwthGrp {
    int vx = 0, vy = 0, Right = 0, Bottom = 0;
    std::string fn1, fn2, fn3, fn4;
    bool store = false;
    int group = 0;
    std::string go;
    std::string hint, wav;
    bool Hovered = false;
    bool state = false;
    std::string textcaptionup, textcaptiondn;
    int texttx = 0, textty = 0, textbx = 0, textby = 0;
    std::string textfontname;
    int textfontsize = 0;
    TStyleSet textfontstyleup = 0, textfontstylemvup = 0, textfontstylemvdn = 0, textfontstyledn = 0;
    TColor textfontcolorup = 0, textfontcolormvup = 0, textfontcolormvdn = 0, textfontcolordn = 0;
};

// Area records: "vw" and "vh" are the right and bottom edges.
struct RHTML {
    int vx = 0, vy = 0, vw = 0, vh = 0;
    std::string fn;
    int number = 0;
    int screen = 0;
};

struct RFindTxt {
    int vx = 0, vy = 0, vw = 0, vh = 0;
    std::string frame;
    TDynamicStringArray nofiles;
    int number = 0;
    int screen = 0;
    std::string hint;
};

struct RPathInput {
    int vx = 0, vy = 0, vw = 0, vh = 0;
    std::string pathdef;
    int screen = 0;
    std::string hint;
};

struct RClip {
    int vx = 0, vy = 0, vw = 0, vh = 0;
    TColor bgcolor = 0;
    int html = 0;
    int screen = 0;
};

struct RText {
    int vx = 0, vy = 0, vw = 0;
    std::string font;
    int size = 0;
    std::string style;
    TColor color = 0;
    std::string value;
    int number = 0;
    int screen = 0;
    std::string ident;
};

struct RImage {
    int vx = 0, vy = 0, vw = 0, vh = 0;
    std::string dir;
    int screen = 0;
};

// Popup types that are not numbers.
enum : int { kPopupHistoryBack = -1, kPopupHistoryForward = -2, kPopupFavorite = -3, kPopupContextHtml = -5 };

struct RPopupData {
    int xfon = 0, yfon = 0;
    std::string fnfon;
    int xbtn = 0, ybtn = 0;
    TDynamicStringArray fnbtnup, fnbtnmove, fnbtndown;
    std::string font[2];  // up, hover
    int size[2] = {0, 0};
    std::string style[2];
    TColor color[2] = {0, 0};
    TDynamicStringArray caption, go;
    std::string parent;
    int type = 0;
    TDynamicStringArray vertex;
};

using TDynamicBtnArray = std::vector<RBtn>;
using TDynamicSwthOneArray = std::vector<RSwthOne>;
using TDynamicSwthGrpArray = std::vector<RSwthGrp>;
using TDynamicHtmlArray = std::vector<RHTML>;
using TDynamicFindTxtArray = std::vector<RFindTxt>;
using TDynamicPathInputArray = std::vector<RPathInput>;
using TDynamicClipArray = std::vector<RClip>;
using TDynamicTextArray = std::vector<RText>;
using TDynamicImageArray = std::vector<RImage>;
using TPopupData = std::vector<std::vector<RPopupData>>;

// Screen numbers above this are ignored, so a hostile description cannot demand huge arrays.
constexpr int kMaxScreens = 1024;

class TScreenModel {
public:
    explicit TScreenModel(std::string programFolder) : programFolder_(std::move(programFolder)) {}

    // The header pass: title, codec, start clip, help window, background songs, window shape,
    // the window buttons.
    void ReadHeader(const TDynamicStringArray& lines);
    // The section pass: one record per section line.
    void ReadSections(const TDynamicStringArray& lines);

    // Number of screens the description mentions (the longest per-screen collection).
    int ScreenCount() const;

    // Header values.
    std::string Title;
    std::string Codec;
    std::string Rolic;
    std::string Background;
    std::string HelpWin;
    std::string Icon;
    TDynamicStringArray BackgroundSongs;
    std::vector<TPoint> VertexMain;  // empty: the window keeps its rectangle
    RBtn MinimizeButton;
    RBtn CloseButton;

    // Per screen.
    std::vector<TDynamicBtnArray> ScreenButtons;
    std::vector<TDynamicSwthOneArray> ScreenSwitches;
    std::vector<TDynamicSwthGrpArray> ScreenGroups;
    TDynamicStringArray ScreenPictures;
    TPopupData ScreenPopups;

    // Areas, each carrying its screen index.
    TDynamicHtmlArray HtmlAreas;
    TDynamicFindTxtArray FindAreas;
    TDynamicPathInputArray PathAreas;
    TDynamicClipArray ClipAreas;
    TDynamicTextArray TextAreas;
    TDynamicImageArray ImageAreas;

    const std::string& ProgramFolder() const { return programFolder_; }

private:
    std::string programFolder_;
};

// Parses a style-set text ("bold italic" ...).
TStyleSet ReadStyleSet(const std::string& text);

}  // namespace vitrina
