#include "resources/read_bin.h"

#include <algorithm>
#include <unistd.h>

#include "platform/cp1251.h"
#include "platform/regular_file.h"

namespace vitrina {
namespace {

// The container read front to back through a regular file's descriptor.
class TDirectoryReader {
public:
    explicit TDirectoryReader(const TRegularFile& file) : file_(file) {}
    void Read(char* out, std::size_t count) {
        if (count > file_.Size() - std::min(position_, file_.Size()) ||
            ::pread(file_.Fd(), out, count, static_cast<off_t>(position_)) != static_cast<ssize_t>(count))
            throw EContainerError("directory is truncated");
        position_ += count;
    }
    std::uint32_t ReadU32() {
        unsigned char b[4];
        Read(reinterpret_cast<char*>(b), 4);
        return b[0] | (b[1] << 8) | (b[2] << 16) | (std::uint32_t(b[3]) << 24);
    }

private:
    const TRegularFile& file_;
    std::uint64_t position_ = 0;
};

}  // namespace

void TReadBin::Open(const std::filesystem::path& path) {
    path_ = path;
    directory_.clear();
    const TRegularFile file = TRegularFile::Open(path);
    if (!file.IsOpen()) throw EContainerError("cannot open " + path.string());
    const std::uint64_t fileSize = file.Size();
    TDirectoryReader in(file);

    unsigned char countBytes[2];
    in.Read(reinterpret_cast<char*>(countBytes), 2);
    const unsigned count = countBytes[0] | (countBytes[1] << 8);

    TDynamicBinArray directory;
    // An entry takes at least 12 bytes: a count the file cannot hold reserves no more than it can.
    directory.reserve(std::min<std::uint64_t>(count, (fileSize - 2) / 12));
    for (unsigned i = 0; i < count; ++i) {
        const std::uint32_t length = in.ReadU32();
        if (length > kMaxNameLength) {
            throw EContainerError("entry " + std::to_string(i) + " has a name of " + std::to_string(length) +
                                  " bytes (at most 256 allowed)");
        }
        std::string name(length, '\0');
        in.Read(name.data(), length);
        if (const auto nul = name.find('\0'); nul != std::string::npos) name.resize(nul);
        RBin entry{std::move(name), in.ReadU32(), 0};
        entry.size = in.ReadU32();
        if (std::uint64_t(entry.offset) + entry.size > fileSize) {
            throw EContainerError("entry \"" + Cp1251ToUtf8(entry.name) + "\" points past the end of the file");
        }
        directory.push_back(std::move(entry));
    }
    directory_ = std::move(directory);
}

const RBin* TReadBin::Find(std::string_view name) const {
    for (const auto& entry : directory_) {
        if (SameText1251(entry.name, name)) return &entry;
    }
    return nullptr;
}

bool TReadBin::Contains(std::string_view name) const { return Find(name) != nullptr; }

int TReadBin::ReadBuffer(std::string_view name, std::string& buffer) const {
    const RBin* entry = Find(name);
    if (!entry) return -1;
    const TRegularFile file = TRegularFile::Open(path_);
    if (!file.IsOpen() || std::uint64_t(entry->offset) + entry->size > file.Size()) return -1;
    std::string bytes(entry->size, '\0');
    if (::pread(file.Fd(), bytes.data(), entry->size, entry->offset) != static_cast<ssize_t>(entry->size)) return -1;
    buffer = std::move(bytes);
    return static_cast<int>(entry->size);
}

}  // namespace vitrina
