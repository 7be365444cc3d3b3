#pragma once
// A fresh folder below the system's temporary folder, removed with its contents at the end.
#include <filesystem>
#include <string>

namespace vitrina::test {

class TTempFolder {
public:
    TTempFolder();
    ~TTempFolder();
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // Writes bytes to a file below the folder, creating the folders on the way.
    std::filesystem::path Write(const std::filesystem::path& relative, const std::string& bytes) const;
    std::string Read(const std::filesystem::path& relative) const;

private:
    std::filesystem::path path_;
};

}  // namespace vitrina::test
