#pragma once
// 24-bit work images and the blend of the transition effects.
#include <cstdint>
#include <vector>

namespace vitrina {

// Three 8-bit channels per pixel, rows of width * 3 bytes without padding.
struct TBitmap24 {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bits;

    TBitmap24() = default;
    TBitmap24(int w, int h) : width(w), height(h), bits(std::size_t(w) * h * 3) {}
    std::uint8_t* Row(int y) { return bits.data() + std::size_t(y) * width * 3; }
    const std::uint8_t* Row(int y) const { return bits.data() + std::size_t(y) * width * 3; }
    bool Empty() const { return width <= 0 || height <= 0; }
};

// out = source + ((target - source) * level) >> 8 per channel, keeping the low 8 bits; level
// 0 gives the source, 255 the target within one unit. The products come from a table of the
// 511 differences built once per call. Works on the rectangle all three images share.
void BlendImages(TBitmap24& out, const TBitmap24& target, const TBitmap24& source, int level);

// The same on raw rows of equal length (the painting layer blends its own image rows).
void BlendRows(std::uint8_t* out, const std::uint8_t* target, const std::uint8_t* source,
               std::size_t bytes, const int* table);
// table[d + 255] = (d * level) >> 8 for d in -255..255.
void BlendTable(int level, int table[511]);

}  // namespace vitrina
