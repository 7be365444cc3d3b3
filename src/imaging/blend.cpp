#include "imaging/blend.h"

#include <algorithm>

namespace vitrina {

void BlendTable(int level, int table[511]) {
    // An arithmetic shift keeps the same low 8 bits as the original logical one.
    for (int d = -255; d <= 255; ++d) table[d + 255] = (d * level) >> 8;
}

void BlendRows(std::uint8_t* out, const std::uint8_t* target, const std::uint8_t* source,
               std::size_t bytes, const int* table) {
    const int* t = table + 255;
    for (std::size_t i = 0; i < bytes; ++i)
        out[i] = static_cast<std::uint8_t>(source[i] + t[int(target[i]) - int(source[i])]);
}

void BlendImages(TBitmap24& out, const TBitmap24& target, const TBitmap24& source, int level) {
    int table[511];
    BlendTable(level, table);
    const int w = std::min({out.width, target.width, source.width});
    const int h = std::min({out.height, target.height, source.height});
    if (w <= 0 || h <= 0) return;
    for (int y = 0; y < h; ++y)
        BlendRows(out.Row(y), target.Row(y), source.Row(y), std::size_t(w) * 3, table);
}

}  // namespace vitrina
