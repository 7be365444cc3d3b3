#pragma once
// The list and value types every description reader, pane and window shares.
#include <cstdint>
#include <string>
#include <vector>

namespace vitrina {

using TDynamicStringArray = std::vector<std::string>;
using TDynamicIntegerArray = std::vector<int>;
using TDynamicBooleanArray = std::vector<bool>;

// A Windows colour value: red + 256 * green + 65536 * blue.
using TColor = std::int32_t;

struct TPoint {
    int x = 0;
    int y = 0;
    bool operator==(const TPoint&) const = default;
};

struct TRectI {
    int left = 0, top = 0, width = 0, height = 0;
    int Right() const { return left + width; }
    int Bottom() const { return top + height; }
    bool operator==(const TRectI&) const = default;
};

struct TTextSize {
    int width = 0, height = 0;
};

}  // namespace vitrina
