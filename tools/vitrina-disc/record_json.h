#pragma once
// The description records as JSON objects, every field under its own name with the value as the
// reader stores it; shared by the subcommands that print records.
#include <cstdint>
#include <string>
#include <vector>

#include "json_writer.h"
#include "resources/screen_model.h"

namespace vitrina::disc {

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

inline void Write(TFields f, const RBtn& r) {
    F(vx), F(vy), F(Right), F(Bottom), F(textcaption), F(texttx), F(textty), F(textbx), F(textby);
    F(textfontname), F(textfontsize), F(textfontstyleup), F(textfontstylemv), F(textfontstyledn);
    F(textfontcolorup), F(textfontcolormv), F(textfontcolordn), F(align), F(fn1), F(fn2), F(fn3), F(go);
    F(IsLink), F(hint), F(Carrier), F(wav);
}

inline void Write(TFields f, const RSwthOne& r) {
    F(vx), F(vy), F(Right), F(Bottom), F(fn1), F(fn2), F(fn3), F(fn4), F(store), F(goup), F(godown), F(hint);
    F(wav), F(Hovered), F(state), F(textcaptionup), F(textcaptiondn), F(texttxup), F(texttyup), F(textbxup);
    F(textbyup), F(texttxdn), F(texttydn), F(textbxdn), F(textbydn), F(textfontname), F(textfontsize);
    F(textfontstyleup), F(textfontstylemvup), F(textfontstylemvdn), F(textfontstyledn), F(textfontcolorup);
    F(textfontcolormvup), F(textfontcolormvdn), F(textfontcolordn);
}

inline void Write(TFields f, const RSwthGrp& r) {
    F(vx), F(vy), F(Right), F(Bottom), F(fn1), F(fn2), F(fn3), F(fn4), F(store), F(group), F(go), F(hint);
    F(wav), F(Hovered), F(state), F(textcaptionup), F(textcaptiondn), F(texttx), F(textty), F(textbx);
    F(textby), F(textfontname), F(textfontsize), F(textfontstyleup), F(textfontstylemvup);
    F(textfontstylemvdn), F(textfontstyledn), F(textfontcolorup), F(textfontcolormvup), F(textfontcolormvdn);
    F(textfontcolordn);
}

inline void Write(TFields f, const RPopupData& r) {
    F(xfon), F(yfon), F(fnfon), F(xbtn), F(ybtn), F(fnbtnup), F(fnbtnmove), F(fnbtndown);
    f("fontup", r.font[0]), f("fontmv", r.font[1]), f("sizeup", r.size[0]), f("sizemv", r.size[1]);
    f("styleup", r.style[0]), f("stylemv", r.style[1]), f("colorup", r.color[0]), f("colormv", r.color[1]);
    F(caption), F(go), F(parent), F(type), F(vertex);
}

inline void Write(TFields f, const RHTML& r) { F(vx), F(vy), F(vw), F(vh), F(fn), F(number), F(screen); }
inline void Write(TFields f, const RFindTxt& r) {
    F(vx), F(vy), F(vw), F(vh), F(frame), F(nofiles), F(number), F(screen), F(hint);
}
inline void Write(TFields f, const RPathInput& r) { F(vx), F(vy), F(vw), F(vh), F(pathdef), F(screen), F(hint); }
inline void Write(TFields f, const RClip& r) { F(vx), F(vy), F(vw), F(vh), F(bgcolor), F(html), F(screen); }
inline void Write(TFields f, const RText& r) {
    F(vx), F(vy), F(vw), F(font), F(size), F(style), F(color), F(value), F(number), F(screen), F(ident);
}
inline void Write(TFields f, const RImage& r) { F(vx), F(vy), F(vw), F(vh), F(dir), F(screen); }

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

}  // namespace vitrina::disc
