#include "resources/read_bin.h"

#include <algorithm>
#include <fstream>

#include "platform/cp1251.h"

namespace vitrina {
namespace {

std::uint32_t ReadU32(std::istream& in) {
    unsigned char b[4];
    if (!in.read(reinterpret_cast<char*>(b), 4)) throw EContainerError("directory is truncated");
    return b[0] | (b[1] << 8) | (b[2] << 16) | (std::uint32_t(b[3]) << 24);
}

}  // namespace

void TReadBin::Open(const std::filesystem::path& path) {
    path_ = path;
    directory_.clear();
    std::ifstream in(path, std::ios::binary);
    if (!in) throw EContainerError("cannot open " + path.string());
    in.seekg(0, std::ios::end);
    const std::uint64_t fileSize = static_cast<std::uint64_t>(in.tellg());
    in.seekg(0);

    unsigned char countBytes[2];
    if (!in.read(reinterpret_cast<char*>(countBytes), 2)) throw EContainerError("directory is truncated");
    const unsigned count = countBytes[0] | (countBytes[1] << 8);

    TDynamicBinArray directory;
    // An entry takes at least 12 bytes: a count the file cannot hold reserves no more than it can.
    directory.reserve(std::min<std::uint64_t>(count, (fileSize - 2) / 12));
    for (unsigned i = 0; i < count; ++i) {
        const std::uint32_t length = ReadU32(in);
        if (length > kMaxNameLength) {
            throw EContainerError("entry " + std::to_string(i) + " has a name of " + std::to_string(length) +
                                  " bytes (at most 256 allowed)");
        }
        std::string name(length, '\0');
        if (!in.read(name.data(), length)) throw EContainerError("directory is truncated");
        if (const auto nul = name.find('\0'); nul != std::string::npos) name.resize(nul);
        RBin entry{std::move(name), ReadU32(in), 0};
        entry.size = ReadU32(in);
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
    std::ifstream in(path_, std::ios::binary);
    if (!in) return -1;
    std::string bytes(entry->size, '\0');
    if (!in.seekg(entry->offset) || !in.read(bytes.data(), entry->size)) return -1;
    buffer = std::move(bytes);
    return static_cast<int>(entry->size);
}

}  // namespace vitrina
