#pragma once
// The platform's named colours as the font dialog lists them, and the text form of any colour
// value: its name when it has one, else "$" and eight hexadecimal digits of the value.
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "resources/dynamic_arrays.h"

namespace vitrina {

struct TColorName {
    const char* name;
    TColor value;
};

// The named colours that are not system colours, in the platform's order. The first sixteen are
// the basic palette of the colour grids; "clDefault" and "clNone" are special values, not RGB.
std::span<const TColorName> ColorNames();
std::span<const TColorName> BasicPalette();

// "clRed" for 0x0000FF, "$00123456" for an unnamed value.
std::string ColorToString(TColor color);
// A listed name (any letter case) or "$" with up to eight hexadecimal digits; nothing else.
std::optional<TColor> StringToColor(std::string_view text);

}  // namespace vitrina
