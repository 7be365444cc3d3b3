// The search's text extraction: a page in any charset it declares, its visible text (as is and
// lower-cased) and its title.
#include "fuzz_support.h"
#include "html/visible_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vitrina;
    const std::string_view page = fuzz::AsText(data, size);
    std::string buffer;
    const std::string_view text = PageAs1251(page, buffer);
    fuzz::Check(DocumentAs1251(page) == text, "the two conversions of a page differ");
    std::string visible;
    AppendVisibleText(text, visible, false);
    std::string lower;
    AppendVisibleText(text, lower, true);
    fuzz::Check(visible.size() == lower.size(), "lower-casing changes the text's length");
    fuzz::Check(VisibleText(text) == visible, "VisibleText differs from AppendVisibleText");
    ExtractTitle(text);
    return 0;
}
