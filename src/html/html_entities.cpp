#include "html/html_entities.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace vitrina {
namespace {

struct TNamedReference {
    std::string_view name;
    char32_t first;
    char32_t second;
    bool withoutSemicolon;
};

constexpr TNamedReference kNamed[] = {
#include "html/html_entities_table.inc"
};
// The longest name in the table, so that a run of letters is never looked at further.
constexpr std::size_t kLongestName = 32;

// The code points browsers put in place of &#128; ... &#159; (0 where the byte stays as it is).
constexpr std::array<char16_t, 32> kWindows1252 = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

bool IsAsciiAlnum(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

const TNamedReference* FindNamed(std::string_view name) {
    const auto it = std::lower_bound(std::begin(kNamed), std::end(kNamed), name,
                                     [](const TNamedReference& r, std::string_view n) { return r.name < n; });
    return it != std::end(kNamed) && it->name == name ? it : nullptr;
}

TCharacterReference Numeric(std::string_view text, std::size_t pos) {
    std::size_t i = pos + 2;
    const bool hex = i < text.size() && (text[i] == 'x' || text[i] == 'X');
    if (hex) ++i;
    const std::size_t digitsStart = i;
    std::uint32_t number = 0;
    bool tooLarge = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        int digit;
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (hex && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        else if (hex && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        else break;
        // Digits go on past any limit; the number is simply out of range then.
        if (!tooLarge) {
            number = number * (hex ? 16 : 10) + static_cast<std::uint32_t>(digit);
            if (number > 0x10FFFF) tooLarge = true;
        }
    }
    if (i == digitsStart) return {};
    if (i < text.size() && text[i] == ';') ++i;
    TCharacterReference ref;
    ref.length = i - pos;
    ref.codes[0] = tooLarge ? U'\uFFFD' : NumericReferenceCode(number);
    ref.count = 1;
    return ref;
}

}  // namespace

char32_t NumericReferenceCode(std::uint32_t number) {
    if (number == 0 || number > 0x10FFFF || (number >= 0xD800 && number <= 0xDFFF)) return U'\uFFFD';
    if (number >= 0x80 && number <= 0x9F && kWindows1252[number - 0x80] != 0) return kWindows1252[number - 0x80];
    return number;
}

TCharacterReference DecodeCharacterReference(std::string_view text, std::size_t pos) {
    if (pos + 1 >= text.size()) return {};
    if (text[pos + 1] == '#') return Numeric(text, pos);
    std::size_t end = pos + 1;
    while (end < text.size() && end - pos - 1 < kLongestName && IsAsciiAlnum(text[end])) ++end;
    const std::string_view run = text.substr(pos + 1, end - pos - 1);
    if (run.empty()) return {};
    const auto make = [](const TNamedReference& r, std::size_t length) {
        TCharacterReference ref;
        ref.length = length;
        ref.codes[0] = r.first;
        ref.codes[1] = r.second;
        ref.count = r.second ? 2 : 1;
        return ref;
    };
    if (end < text.size() && text[end] == ';') {
        if (const TNamedReference* r = FindNamed(run)) return make(*r, run.size() + 2);
    }
    // Without the semicolon only the old names count, the longest one that starts the run
    // ("&notit;" is "¬it;").
    for (std::size_t length = run.size(); length > 0; --length) {
        const TNamedReference* r = FindNamed(run.substr(0, length));
        if (r && r->withoutSemicolon) return make(*r, length + 1);
    }
    return {};
}

}  // namespace vitrina
