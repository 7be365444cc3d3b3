#pragma once
// Character references of HTML text ("&amp;", "&#1044;", "&#x430;", "&copy" ...), decoded the way
// a browser decodes them in text content.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vitrina {

struct TCharacterReference {
    std::size_t length = 0;  // bytes the reference spans from its "&"; 0 when there is none
    char32_t codes[2] = {0, 0};
    int count = 0;  // code points in codes
};

// The reference that starts at text[pos] (which is "&").
TCharacterReference DecodeCharacterReference(std::string_view text, std::size_t pos);

// The character a numeric reference stands for: NUL, surrogates and codes beyond Unicode give
// U+FFFD, and 0x80-0x9F are read as Windows-1252, as browsers do.
char32_t NumericReferenceCode(std::uint32_t number);

}  // namespace vitrina
