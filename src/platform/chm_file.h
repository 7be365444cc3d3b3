#pragma once
// A compiled HTML help file read through chmlib, written out as plain files for the help window.
// The names inside the file are a stranger's: each is checked before anything is written, the
// target folder must be the caller's own fresh one, no link is followed and sizes are bounded.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct chmFile;

namespace vitrina {

struct TChmLimits {
    std::uint64_t maxFileBytes = 32u << 20;
    std::uint64_t maxTotalBytes = 128u << 20;
    std::size_t maxFiles = 20000;
};

class TChmFile {
public:
    // Empty when the file cannot be opened as a CHM.
    static std::optional<TChmFile> Open(const std::filesystem::path& file);
    TChmFile(TChmFile&& other) noexcept;
    TChmFile& operator=(TChmFile&&) = delete;
    ~TChmFile();

    // The relative names of the help's pages and pictures that may be written out ("a/b.htm").
    const std::vector<std::string>& Names() const { return names_; }
    // The page the help opens with, when the file names one that is among Names().
    const std::string& DefaultTopic() const { return defaultTopic_; }

    struct TResult {
        std::size_t written = 0;
        bool complete = true;  // false when a limit stopped it or an entry could not be read
    };
    // Writes Names() below folder, which must exist.
    TResult ExtractTo(const std::filesystem::path& folder, const TChmLimits& limits = {}) const;

    // A name from the file as a safe relative name: "/a/b.htm" gives "a/b.htm"; empty, ".", ".."
    // components, backslashes, colons and control characters give nothing.
    static std::optional<std::string> SafeName(std::string_view name);

private:
    struct TEntry {
        std::string name;  // safe, relative
        std::string path;  // as in the file
        std::uint64_t length = 0;
    };
    explicit TChmFile(::chmFile* handle) : handle_(handle) {}
    void ReadDirectory();
    std::string ReadObject(const std::string& path, std::uint64_t limit) const;

    ::chmFile* handle_;
    std::vector<TEntry> entries_;
    std::vector<std::string> names_;
    std::string defaultTopic_;
};

}  // namespace vitrina
