#include "fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace vitrina::fuzz {
namespace {

class TScratch {
public:
    TScratch() {
        std::string pattern = (std::filesystem::temp_directory_path() / "vitrina-fuzz-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
    }
    ~TScratch() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

}  // namespace

const std::filesystem::path& ScratchFolder() {
    static const TScratch scratch;
    return scratch.Path();
}

void WriteFile(const std::filesystem::path& path, std::string_view bytes) {
    std::error_code ec;
    std::filesystem::create_directories(path.parent_path(), ec);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::string_view> SplitParts(std::string_view data, std::size_t count) {
    std::vector<std::string_view> parts;
    while (parts.size() + 1 < count) {
        const std::size_t marker = data.find(kPartMarker);
        if (marker == std::string_view::npos) break;
        parts.push_back(data.substr(0, marker));
        data.remove_prefix(marker + kPartMarker.size());
    }
    parts.push_back(data);
    parts.resize(count);
    return parts;
}

void Fail(const char* what) {
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

}  // namespace vitrina::fuzz
