#pragma once
// The list types every description reader and pane shares.
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

}  // namespace vitrina
