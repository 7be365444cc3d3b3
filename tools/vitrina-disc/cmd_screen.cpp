#include <cstdio>

#include "json_writer.h"
#include "platform/cp1251.h"
#include "platform/user_folders.h"
#include "resources/drive_map.h"
#include "resources/read_bin.h"
#include "resources/screen_model.h"
#include "resources/struct_loader.h"
#include "subcommands.h"

namespace vitrina::disc {

namespace {

// Field writers: one overload per field type, so each record lists its fields once.
struct TFields {
    TJsonWriter& json;
    void operator()(const char* name, int value) { json.Key(name), json.Number(value); }
    void operator()(const char* name, std::uint8_t value) { json.Key(name), json.Number(value); }
    void operator()(const char* name, bool value) { json.Key(name), json.Bool(value); }
    void operator()(const char* name, const std::string& value) { json.Key(name), json.String(value); }
    void operator()(const char* name, const TDynamicStringArray& value) { json.Key(name), json.StringArray(value); }
    void operator()(const char* name, const TMyControl*) { json.Key(name), json.Null(); }
};

#define F(field) f(#field, r.field)

void Write(TFields f, const RBtn& r) {
    F(vx), F(vy), F(Right), F(Bottom), F(textcaption), F(texttx), F(textty), F(textbx), F(textby);
    F(textfontname), F(textfontsize), F(textfontstyleup), F(textfontstylemv), F(textfontstyledn);
    F(textfontcolorup), F(textfontcolormv), F(textfontcolordn), F(align), F(fn1), F(fn2), F(fn3), F(go);
    F(IsLink), F(hint), F(Carrier), F(wav);
}

void Write(TFields f, const RSwthOne& r) {
    F(vx), F(vy), F(Right), F(Bottom), F(fn1), F(fn2), F(fn3), F(fn4), F(store), F(goup), F(godown), F(hint);
    F(wav), F(Hovered), F(state), F(textcaptionup), F(textcaptiondn), F(texttxup), F(texttyup), F(textbxup);
    F(textbyup), F(texttxdn), F(texttydn), F(textbxdn), F(textbydn), F(textfontname), F(textfontsize);
    F(textfontstyleup), F(textfontstylemvup), F(textfontstylemvdn), F(textfontstyledn), F(textfontcolorup);
    F(textfontcolormvup), F(textfontcolormvdn), F(textfontcolordn);
}

void Write(TFields f, const RSwthGrp& r) {
    F(vx), F(vy), F(Right), F(Bottom), F(fn1), F(fn2), F(fn3), F(fn4), F(store), F(group), F(go), F(hint);
    F(wav), F(Hovered), F(state), F(textcaptionup), F(textcaptiondn), F(texttx), F(textty), F(textbx);
    F(textby), F(textfontname), F(textfontsize), F(textfontstyleup), F(textfontstylemvup);
    F(textfontstylemvdn), F(textfontstyledn), F(textfontcolorup), F(textfontcolormvup), F(textfontcolormvdn);
    F(textfontcolordn);
}

void Write(TFields f, const RPopupData& r) {
    F(xfon), F(yfon), F(fnfon), F(xbtn), F(ybtn), F(fnbtnup), F(fnbtnmove), F(fnbtndown);
    f("fontup", r.font[0]), f("fontmv", r.font[1]), f("sizeup", r.size[0]), f("sizemv", r.size[1]);
    f("styleup", r.style[0]), f("stylemv", r.style[1]), f("colorup", r.color[0]), f("colormv", r.color[1]);
    F(caption), F(go), F(parent), F(type), F(vertex);
}

void Write(TFields f, const RHTML& r) { F(vx), F(vy), F(vw), F(vh), F(fn), F(number), F(screen); }
void Write(TFields f, const RFindTxt& r) {
    F(vx), F(vy), F(vw), F(vh), F(frame), F(nofiles), F(number), F(screen), F(hint);
}
void Write(TFields f, const RPathInput& r) { F(vx), F(vy), F(vw), F(vh), F(pathdef), F(screen), F(hint); }
void Write(TFields f, const RClip& r) { F(vx), F(vy), F(vw), F(vh), F(bgcolor), F(html), F(screen); }
void Write(TFields f, const RText& r) {
    F(vx), F(vy), F(vw), F(font), F(size), F(style), F(color), F(value), F(number), F(screen), F(ident);
}
void Write(TFields f, const RImage& r) { F(vx), F(vy), F(vw), F(vh), F(dir), F(screen); }

#undef F

template <class T>
void WriteRecord(TJsonWriter& json, const T& record) {
    json.BeginObject();
    Write(TFields{json}, record);
    json.EndObject();
}

template <class T>
void WriteRecords(TJsonWriter& json, const char* key, const std::vector<T>& records) {
    json.Key(key);
    json.BeginArray();
    for (const auto& record : records) WriteRecord(json, record);
    json.EndArray();
}

template <class T>
const std::vector<T>& OfScreen(const std::vector<std::vector<T>>& perScreen, int screen) {
    static const std::vector<T> none;
    return screen < static_cast<int>(perScreen.size()) ? perScreen[screen] : none;
}

}  // namespace

int ScreenCommand(const TArgs& args) {
    args.ExpectCount(1);
    const TDriveMap drives(Cp1251ToUtf8(args.At(0, "FOLDER")), TUserFolders::FromEnvironment().data);
    TReadBin container;
    TScreenModel model(drives.ProgramFolder());
    TDynamicStringArray lines;
    std::string error;
    switch (ReadStructLines(drives, container, lines, &error)) {
        case TStructLoad::Loaded: break;
        case TStructLoad::NoDescription: std::fprintf(stderr, "vitrina-disc screen: %s\n", error.c_str()); return kAbsent;
        default: throw EUsage(error);
    }
    model.ReadHeader(lines);
    model.ReadSections(lines);

    TJsonWriter json;
    json.BeginObject();
    json.Key("title"), json.String(model.Title);
    json.Key("codec"), json.String(model.Codec);
    json.Key("rolic"), json.String(model.Rolic);
    json.Key("background"), json.String(model.Background);
    json.Key("helpwin"), json.String(model.HelpWin);
    json.Key("icon"), json.String(model.Icon);
    json.Key("bgsounddef"), json.StringArray(model.BackgroundSongs);
    json.Key("vertexmain");
    json.BeginArray();
    for (const auto& point : model.VertexMain) {
        json.BeginArray();
        json.Number(point.x);
        json.Number(point.y);
        json.EndArray();
    }
    json.EndArray();
    json.Key("minimize"), WriteRecord(json, model.MinimizeButton);
    json.Key("close"), WriteRecord(json, model.CloseButton);
    json.Key("screens");
    json.BeginArray();
    for (int screen = 0; screen < model.ScreenCount(); ++screen) {
        json.BeginObject();
        json.Key("picture");
        json.String(screen < static_cast<int>(model.ScreenPictures.size()) ? model.ScreenPictures[screen] : "");
        WriteRecords(json, "buttons", OfScreen(model.ScreenButtons, screen));
        WriteRecords(json, "switches", OfScreen(model.ScreenSwitches, screen));
        WriteRecords(json, "groups", OfScreen(model.ScreenGroups, screen));
        WriteRecords(json, "popups", OfScreen(model.ScreenPopups, screen));
        json.EndObject();
    }
    json.EndArray();
    WriteRecords(json, "html", model.HtmlAreas);
    WriteRecords(json, "findtxt", model.FindAreas);
    WriteRecords(json, "path", model.PathAreas);
    WriteRecords(json, "clip", model.ClipAreas);
    WriteRecords(json, "text", model.TextAreas);
    WriteRecords(json, "image", model.ImageAreas);
    json.EndObject();
    WriteBytes(json.Text());
    return kOk;
}

}  // namespace vitrina::disc
