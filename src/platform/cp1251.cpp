#include "platform/cp1251.h"

#include <array>

namespace vitrina {
namespace {

// Code points of the bytes 0x80-0xBF; 0xC0-0xFF are А-я in order.
constexpr std::array<char16_t, 64> kHigh = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0xFFFD, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
};

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

char32_t Cp1251ToUnicode(unsigned char byte) {
    if (byte < 0x80) return byte;
    if (byte >= 0xC0) return 0x0410 + (byte - 0xC0);
    return kHigh[byte - 0x80];
}

unsigned char UnicodeToCp1251(char32_t code) {
    if (code < 0x80) return static_cast<unsigned char>(code);
    if (code >= 0x0410 && code <= 0x044F) return static_cast<unsigned char>(0xC0 + (code - 0x0410));
    for (std::size_t i = 0; i < kHigh.size(); ++i) {
        if (kHigh[i] == code && code != 0xFFFD) return static_cast<unsigned char>(0x80 + i);
    }
    return '?';
}

std::string Cp1251ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (unsigned char c : text) AppendUtf8(out, Cp1251ToUnicode(c));
    return out;
}

std::string Utf8ToCp1251(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        int extra = 0;
        char32_t code = 0;
        if (lead < 0x80) {
            code = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            extra = 1;
            code = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2;
            code = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            extra = 3;
            code = lead & 0x07;
        } else {
            out += '?';
            ++i;
            continue;
        }
        bool valid = true;
        for (int k = 1; k <= extra; ++k) {
            if (i + k >= text.size() || (static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
                valid = false;
                break;
            }
            code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        }
        if (!valid) {
            out += '?';
            ++i;
            continue;
        }
        out += static_cast<char>(UnicodeToCp1251(code));
        i += extra + 1;
    }
    return out;
}

unsigned char LowerChar1251(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return c + 32;
    if (c >= 0xC0 && c <= 0xDF) return c + 32;
    if (c == 0xA8) return 0xB8;  // Ё
    return c;
}

unsigned char UpperChar1251(unsigned char c) {
    if (c >= 'a' && c <= 'z') return c - 32;
    if (c >= 0xE0) return c - 32;
    if (c == 0xB8) return 0xA8;  // ё
    return c;
}

std::string LowerCase1251(std::string_view text) {
    std::string out(text);
    for (auto& c : out) c = static_cast<char>(LowerChar1251(static_cast<unsigned char>(c)));
    return out;
}

std::string UpperCase1251(std::string_view text) {
    std::string out(text);
    for (auto& c : out) c = static_cast<char>(UpperChar1251(static_cast<unsigned char>(c)));
    return out;
}

std::string LowerAscii(std::string_view text) {
    std::string out(text);
    for (auto& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    }
    return out;
}

bool SameText1251(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerChar1251(static_cast<unsigned char>(a[i])) != LowerChar1251(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

std::size_t FindText1251(std::string_view haystack, std::string_view needle, std::size_t from) {
    if (needle.empty()) return from <= haystack.size() ? from : std::string_view::npos;
    for (std::size_t i = from; i + needle.size() <= haystack.size(); ++i) {
        if (SameText1251(haystack.substr(i, needle.size()), needle)) return i;
    }
    return std::string_view::npos;
}

}  // namespace vitrina
