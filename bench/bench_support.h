#pragma once
// Helpers the benchmarks share: a scratch folder, random letter case, a median.
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>
#include <unistd.h>

#include "platform/cp1251.h"

namespace vitrina::bench {

// A fresh folder under the system temporary folder, removed with everything in it.
class TScratchFolder {
public:
    explicit TScratchFolder(std::string_view tag) {
        path_ = std::filesystem::temp_directory_path() /
                ("vitrina-" + std::string(tag) + "-" + std::to_string(::getpid()));
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
        std::filesystem::create_directories(path_);
    }
    ~TScratchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TScratchFolder(const TScratchFolder&) = delete;
    TScratchFolder& operator=(const TScratchFolder&) = delete;
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

// Each ASCII and Cyrillic letter of a 1251 string in a random case.
inline std::string RandomCase1251(std::string_view text, std::mt19937& random) {
    std::string out(text);
    for (auto& ch : out) {
        const auto c = static_cast<unsigned char>(ch);
        ch = static_cast<char>((random() & 1) ? UpperChar1251(c) : LowerChar1251(c));
    }
    return out;
}

// Like RandomCase1251, but never the same bytes as the original when it has a letter.
inline std::string OtherCase1251(std::string_view text, std::mt19937& random) {
    for (int attempt = 0; attempt < 8; ++attempt) {
        std::string out = RandomCase1251(text, random);
        if (out != text) return out;
    }
    std::string out(text);
    for (auto& ch : out) {
        const auto c = static_cast<unsigned char>(ch);
        const auto upper = UpperChar1251(c), lower = LowerChar1251(c);
        if (upper != lower) {
            ch = static_cast<char>(c == upper ? lower : upper);
            break;
        }
    }
    return out;
}

template <typename T>
T Median(std::vector<T> values) {
    if (values.empty()) return T{};
    const auto middle = values.begin() + values.size() / 2;
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

}  // namespace vitrina::bench
