#pragma once
// The resource container "Vuv.dhl": a directory of named entries holding the skin.
#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vitrina {

struct RBin {
    std::string name;
    std::uint32_t offset = 0;
    std::uint32_t size = 0;
};
using TDynamicBinArray = std::vector<RBin>;

// Raised by TReadBin::Open for a container that cannot be read or is malformed.
class EContainerError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TReadBin {
public:
    // Longest name a directory entry may have.
    static constexpr std::uint32_t kMaxNameLength = 256;

    // Reads the directory; throws EContainerError when the file cannot be read, the directory
    // is truncated, a name is too long, or an entry points past the end of the file.
    void Open(const std::filesystem::path& path);

    // Names compare without regard to ASCII and Cyrillic case; the first match wins.
    bool Contains(std::string_view name) const;
    // The entry's size, or -1 when it is absent or cannot be read.
    int ReadBuffer(std::string_view name, std::string& buffer) const;
    // Same look-up; false when absent or unreadable.
    bool ReadStream(std::string_view name, std::string& stream) const { return ReadBuffer(name, stream) >= 0; }
    // Where the entry lies in the file (for a reader that takes the bytes from there itself);
    // null when it is absent.
    const RBin* Entry(std::string_view name) const { return Find(name); }

    const TDynamicBinArray& Directory() const { return directory_; }
    const std::filesystem::path& Path() const { return path_; }

private:
    const RBin* Find(std::string_view name) const;

    std::filesystem::path path_;
    TDynamicBinArray directory_;
};

}  // namespace vitrina
