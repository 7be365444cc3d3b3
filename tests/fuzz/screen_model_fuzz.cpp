// Description decoding and both passes of the screen model. The input is the description's
// text: scrambling it and decoding it again must give its lines back, and the lines go through
// the header and the section pass. The raw input is decoded as scrambled bytes as well.
#include "fuzz_support.h"
#include "resources/description.h"
#include "resources/description_scrambler.h"
#include "resources/screen_model.h"

namespace vitrina::fuzz {

// The text's lines as the decoder gives them: CR LF ends a line.
TDynamicStringArray LinesOf(std::string_view text, bool lowerCase) {
    TDynamicStringArray lines(1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            lines.emplace_back();
            ++i;
            continue;
        }
        char c = text[i];
        if (lowerCase && c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
        lines.back() += c;
    }
    if (text.empty()) lines.clear();
    return lines;
}

}  // namespace vitrina::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vitrina;
    const std::string_view text = fuzz::AsText(data, size);
    DecodeDescription(text, true);
    const TDynamicStringArray lines = DecodeDescription(ScrambleDescription(text), true);
    fuzz::Check(lines == fuzz::LinesOf(text, true), "scrambling and decoding changes the text");

    TScreenModel model("d:\\run\\");
    model.ReadHeader(lines);
    model.ReadSections(lines);
    fuzz::Check(model.ScreenCount() <= kMaxScreens, "more screens than allowed");
    fuzz::Check(model.VertexMain.size() <= kMaxShapePoints, "more shape points than allowed");
    for (const RHTML& area : model.HtmlAreas) fuzz::Check(area.screen >= 0 && area.screen < kMaxScreens, "area screen");
    return 0;
}
