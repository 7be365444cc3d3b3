#pragma once
// The folder build and extract write into. Nothing lands outside it: the names handed in are
// plain relative paths, and no link inside it is followed, so a folder that already holds a link
// to elsewhere (or a pipe where a file would go) is an error, not a way out.
#include <filesystem>
#include <string_view>

namespace vitrina::disc {

class TOutFolder {
public:
    // Creates root (and the folders above it) when it does not exist. Throws std::runtime_error.
    explicit TOutFolder(const std::filesystem::path& root);
    ~TOutFolder();
    TOutFolder(const TOutFolder&) = delete;
    TOutFolder& operator=(const TOutFolder&) = delete;

    // Writes the file at relative (its folders made as needed), replacing a regular file there.
    void Write(const std::filesystem::path& relative, std::string_view bytes) const;
    // The same, the bytes coming from an open descriptor up to its end.
    void CopyFrom(const std::filesystem::path& relative, int fd) const;

    // A file open for writing below the folder; closed with the object.
    class TFile {
    public:
        explicit TFile(int fd, std::filesystem::path path) : fd_(fd), path_(std::move(path)) {}
        ~TFile();
        TFile(const TFile&) = delete;
        TFile& operator=(const TFile&) = delete;
        void Write(std::string_view bytes) const;

    private:
        int fd_;
        std::filesystem::path path_;
    };
    TFile Create(const std::filesystem::path& relative) const;

private:
    std::filesystem::path root_;
    int fd_ = -1;
};

}  // namespace vitrina::disc
