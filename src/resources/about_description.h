#pragma once
// The about window of "About.cfs": its picture, its shape, its text lines and its buttons. The
// picture and the shape come from a first pass over every line, the records from a second.
#include <string>
#include <string_view>
#include <vector>

#include "resources/dynamic_arrays.h"
#include "resources/screen_model.h"

namespace vitrina {

class TAboutDescription {
public:
    explicit TAboutDescription(std::string programFolder) : programFolder_(std::move(programFolder)) {}

    // The lines of the description, decoded with lower-casing.
    void Read(const TDynamicStringArray& lines);

    std::string Picture;
    // Empty: the window keeps its rectangle.
    std::vector<TPoint> Vertex;
    // Each line's identifier is in ident; "url" makes it a link.
    TDynamicTextArray Texts;
    TDynamicBtnArray Buttons;

private:
    std::string programFolder_;
};

// A link text opens its whole value, a mail address (any "@") with "mailto:" before it.
std::string AboutLinkTarget(std::string_view value);
// What a text line shows: a link's value up to its "?", any other line whole.
std::string AboutShownText(const RText& text);
inline bool IsAboutLink(const RText& text) { return text.ident == "url"; }

}  // namespace vitrina
