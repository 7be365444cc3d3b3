#include "resources/description_scrambler.h"

namespace vitrina {

std::string ScrambleDescription(std::string_view text) {
    const std::size_t m = text.size();
    const std::size_t n = 2 * m;
    if (n == 0) return {};

    // The running sums: odd positions hold the text backwards, even ones filler.
    std::string b(n, '\0');
    unsigned filler = 0x5A;
    for (std::size_t j = 0; j < m; ++j) b[2 * (m - 1 - j) + 1] = text[j];
    for (std::size_t i = 0; i < n; i += 2) {
        filler = (filler * 73 + 41) % 251;
        b[i] = static_cast<char>(filler);
    }

    std::string out(n, '\0');
    unsigned k = n % 256;
    out[0] = b[0];
    for (std::size_t i = 1; i < n; ++i) {
        out[i] = static_cast<char>(static_cast<unsigned char>(b[i]) - static_cast<unsigned char>(b[i - 1]) - k);
        k = (k * 2) % 256;
    }
    return out;
}

}  // namespace vitrina
