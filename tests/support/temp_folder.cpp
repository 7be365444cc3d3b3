#include "support/temp_folder.h"

#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace vitrina::test {

TTempFolder::TTempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vitrina-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TTempFolder::~TTempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::filesystem::path TTempFolder::Write(const std::filesystem::path& relative, const std::string& bytes) const {
    const auto path = path_ / relative;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
}

std::string TTempFolder::Read(const std::filesystem::path& relative) const {
    std::ifstream in(path_ / relative, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

}  // namespace vitrina::test
