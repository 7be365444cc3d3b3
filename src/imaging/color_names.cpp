#include "imaging/color_names.h"

#include <array>
#include <cstdio>

namespace vitrina {
namespace {

constexpr std::array<TColorName, 22> kNames{{
    {"clBlack", 0x000000},     {"clMaroon", 0x000080},  {"clGreen", 0x008000},    {"clOlive", 0x008080},
    {"clNavy", 0x800000},      {"clPurple", 0x800080},  {"clTeal", 0x808000},     {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0},    {"clRed", 0x0000FF},     {"clLime", 0x00FF00},     {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},      {"clFuchsia", 0xFF00FF}, {"clAqua", 0xFFFF00},     {"clWhite", 0xFFFFFF},
    {"clMoneyGreen", 0xC0DCC0}, {"clSkyBlue", 0xF0CAA6}, {"clCream", 0xF0FBFF},   {"clMedGray", 0xA4A0A0},
    {"clDefault", 0x20000000}, {"clNone", 0x1FFFFFFF},
}};

bool SameAscii(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

}  // namespace

std::span<const TColorName> ColorNames() { return kNames; }

std::span<const TColorName> BasicPalette() { return std::span<const TColorName>(kNames).first(16); }

std::string ColorToString(TColor color) {
    for (const TColorName& entry : kNames)
        if (entry.value == color) return entry.name;
    char text[16];
    std::snprintf(text, sizeof text, "$%.8X", static_cast<unsigned>(color));
    return text;
}

std::optional<TColor> StringToColor(std::string_view text) {
    for (const TColorName& entry : kNames)
        if (SameAscii(entry.name, text)) return entry.value;
    if (text.size() < 2 || text.size() > 9 || text[0] != '$') return std::nullopt;
    unsigned value = 0;
    for (char c : text.substr(1)) {
        int digit;
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        else return std::nullopt;
        value = value * 16 + static_cast<unsigned>(digit);
    }
    return static_cast<TColor>(value);
}

}  // namespace vitrina
