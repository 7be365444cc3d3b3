#include "archive/rar_volumes.h"

#include <cctype>
#include <cstdint>
#include <unistd.h>
#include <optional>
#include <string_view>

#include "platform/regular_file.h"

namespace vitrina {

namespace fs = std::filesystem;

namespace {

bool EndsWithNoCase(std::string_view text, std::string_view end) {
    if (text.size() < end.size()) return false;
    for (std::size_t i = 0; i < end.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[text.size() - end.size() + i])) != end[i]) return false;
    return true;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The decimal number in digits plus one, at least as wide.
std::string Increment(std::string digits) {
    for (std::size_t i = digits.size(); i-- > 0;) {
        if (digits[i] != '9') {
            ++digits[i];
            return digits;
        }
        digits[i] = '0';
    }
    return "1" + digits;
}

// Bounds the walk through a hostile volume's headers.
constexpr int kMaxBlocks = 1 << 20;
constexpr std::size_t kMaxVolumes = 10000;

class TVolumeReader {
public:
    explicit TVolumeReader(const fs::path& path) : file_(TRegularFile::Open(path)) {}
    std::uint64_t Size() const { return file_.Size(); }
    // Up to count bytes at offset (fewer at the end of the file).
    std::string Read(std::uint64_t offset, std::size_t count) {
        if (!file_.IsOpen() || offset >= file_.Size()) return {};
        count = static_cast<std::size_t>(std::min<std::uint64_t>(count, file_.Size() - offset));
        std::string bytes(count, '\0');
        const ssize_t n = ::pread(file_.Fd(), bytes.data(), count, static_cast<off_t>(offset));
        bytes.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
        return bytes;
    }

private:
    TRegularFile file_;
};

std::uint32_t Le(std::string_view bytes, std::size_t at, int width) {
    std::uint32_t value = 0;
    for (int i = width; i-- > 0;) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

struct TRar4Block {
    unsigned type = 0;
    std::uint32_t flags = 0;
    std::string head;        // the first bytes of the header
    std::uint64_t next = 0;  // where the next block starts
};

// The RAR 4 block at pos, or nothing when it cannot be a block.
std::optional<TRar4Block> ReadRar4Block(TVolumeReader& file, std::uint64_t pos) {
    constexpr unsigned kFile = 0x74, kNewSub = 0x7A;
    TRar4Block block;
    block.head = file.Read(pos, 36);
    const std::string& head = block.head;
    if (head.size() < 7) return std::nullopt;
    block.type = static_cast<unsigned char>(head[2]);
    block.flags = Le(head, 3, 2);
    const std::uint32_t size = Le(head, 5, 2);
    if (size < 7) return std::nullopt;
    std::uint64_t data = 0;
    if (block.flags & 0x8000 || block.type == kFile || block.type == kNewSub) {
        if (head.size() < 11) return std::nullopt;
        data = Le(head, 7, 4);
        if ((block.type == kFile || block.type == kNewSub) && block.flags & 0x0100) {
            if (head.size() < 36) return std::nullopt;
            data |= std::uint64_t{Le(head, 32, 4)} << 32;
        }
    }
    if (data > file.Size()) return std::nullopt;
    block.next = pos + size + data;
    return block;
}

constexpr unsigned kRar4Main = 0x73, kRar4File = 0x74, kRar4End = 0x7B;

bool Rar4Continues(TVolumeReader& file) {
    bool volume = false, splitAfter = false;
    std::uint64_t pos = 7;
    for (int i = 0; i < kMaxBlocks; ++i) {
        const auto block = ReadRar4Block(file, pos);
        if (!block) break;
        if (block->type == kRar4Main) volume = block->flags & 0x0001;
        if (block->type == kRar4File) splitAfter = block->flags & 0x0002;
        if (block->type == kRar4End) return volume && (block->flags & 0x0001);
        pos = block->next;
    }
    // Volumes of old versions end without an end block: a member split at the end says it.
    return volume && splitAfter;
}

const std::string_view kRar4Signature("Rar!\x1a\x07\x00", 7);
const std::string_view kRar5Signature("Rar!\x1a\x07\x01\x00", 8);

std::optional<std::uint64_t> Vint(std::string_view bytes, std::size_t& at) {
    std::uint64_t value = 0;
    for (int shift = 0; shift < 64 && at < bytes.size(); shift += 7) {
        const unsigned char byte = static_cast<unsigned char>(bytes[at++]);
        value |= std::uint64_t{byte & 0x7Fu} << shift;
        if (!(byte & 0x80)) return value;
    }
    return std::nullopt;
}

struct TRar5Block {
    std::uint64_t type = 0, flags = 0;
    std::string head;     // the first bytes of the block
    std::size_t at = 0;   // where the type's own fields start in head
    std::uint64_t next = 0;
};

std::optional<TRar5Block> ReadRar5Block(TVolumeReader& file, std::uint64_t pos) {
    TRar5Block block;
    block.head = file.Read(pos, 96);
    std::size_t at = 4;  // after the header's CRC
    const auto size = Vint(block.head, at);
    if (!size || *size == 0 || *size > file.Size()) return std::nullopt;
    const std::uint64_t headerStart = pos + at;
    const auto type = Vint(block.head, at), flags = Vint(block.head, at);
    if (!type || !flags) return std::nullopt;
    if (*flags & 0x0001 && !Vint(block.head, at)) return std::nullopt;
    std::uint64_t data = 0;
    if (*flags & 0x0002) {
        const auto dataSize = Vint(block.head, at);
        if (!dataSize || *dataSize > file.Size()) return std::nullopt;
        data = *dataSize;
    }
    block.type = *type;
    block.flags = *flags;
    block.at = at;
    block.next = headerStart + *size + data;
    return block;
}

constexpr std::uint64_t kRar5Main = 1, kRar5File = 2, kRar5Service = 3, kRar5Encryption = 4, kRar5End = 5;

bool Rar5Continues(TVolumeReader& file) {
    bool volume = false, splitAfter = false;
    std::uint64_t pos = 8;
    for (int i = 0; i < kMaxBlocks; ++i) {
        auto block = ReadRar5Block(file, pos);
        if (!block) break;
        if (block->type == kRar5Main) {
            const auto archiveFlags = Vint(block->head, block->at);
            volume = archiveFlags && (*archiveFlags & 0x0001);
        }
        if (block->type == kRar5File || block->type == kRar5Service) splitAfter = block->flags & 0x0010;
        if (block->type == kRar5Encryption) return false;
        if (block->type == kRar5End) {
            const auto endFlags = Vint(block->head, block->at);
            return volume && endFlags && (*endFlags & 0x0001);
        }
        pos = block->next;
    }
    return volume && splitAfter;
}

// The data CRC of the stored RAR 5 file header at the block, when it has one.
std::optional<std::uint32_t> StoredRar5Crc(TRar5Block& block) {
    constexpr std::uint64_t kSplit = 0x0008 | 0x0010, kHasTime = 0x0002, kHasCrc = 0x0004;
    if (block.flags & kSplit) return std::nullopt;
    std::size_t& at = block.at;
    const auto fileFlags = Vint(block.head, at);
    if (!fileFlags || !(*fileFlags & kHasCrc) || !Vint(block.head, at) || !Vint(block.head, at)) return std::nullopt;
    if (*fileFlags & kHasTime) at += 4;
    if (at + 4 > block.head.size()) return std::nullopt;
    const std::uint32_t crc = Le(block.head, at, 4);
    at += 4;
    const auto compression = Vint(block.head, at);
    if (!compression || (*compression >> 7 & 7) != 0) return std::nullopt;
    return crc;
}

}  // namespace

std::string NextRarVolumeName(const std::string& fileName) {
    const std::size_t n = fileName.size();
    if (EndsWithNoCase(fileName, ".rar")) {
        std::size_t digits = n - 4;
        while (digits > 0 && IsDigit(fileName[digits - 1])) --digits;
        if (digits < n - 4 && EndsWithNoCase(std::string_view(fileName).substr(0, digits), ".part"))
            return fileName.substr(0, digits) + Increment(fileName.substr(digits, n - 4 - digits)) + fileName.substr(n - 4);
        return fileName.substr(0, n - 3) + (fileName[n - 3] == 'R' ? "R00" : "r00");
    }
    // ".r00" .. ".r99", then ".s00" and so on.
    if (n >= 4 && fileName[n - 4] == '.' && IsDigit(fileName[n - 2]) && IsDigit(fileName[n - 1])) {
        const char letter = fileName[n - 3];
        const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(letter)));
        if (lower < 'r' || lower >= 'z') return {};
        const std::string number = Increment(fileName.substr(n - 2));
        if (number.size() == 2) return fileName.substr(0, n - 2) + number;
        return fileName.substr(0, n - 3) + static_cast<char>(letter + 1) + "00";
    }
    return {};
}

bool RarVolumeContinues(const fs::path& volume) {
    TVolumeReader file(volume);
    const std::string signature = file.Read(0, 8);
    if (signature.compare(0, 7, kRar4Signature) == 0) return Rar4Continues(file);
    if (signature == kRar5Signature) return Rar5Continues(file);
    return false;
}

std::optional<std::uint32_t> StoredMemberCrc(const fs::path& volume, std::uint64_t position) {
    TVolumeReader file(volume);
    const std::string signature = file.Read(0, 8);
    if (signature == kRar5Signature) {
        if (position == 0) position = 8;
        for (int i = 0; i < kMaxBlocks; ++i) {
            auto block = ReadRar5Block(file, position);
            if (!block || block->type == kRar5End || block->type == kRar5Encryption) return std::nullopt;
            if (block->type == kRar5File) return StoredRar5Crc(*block);
            position = block->next;
        }
        return std::nullopt;
    }
    if (signature.compare(0, 7, kRar4Signature) != 0) return std::nullopt;
    if (position == 0) position = 7;
    for (int i = 0; i < kMaxBlocks; ++i) {
        const auto block = ReadRar4Block(file, position);
        if (!block || block->type == kRar4End) return std::nullopt;
        if (block->type == kRar4File) {
            constexpr std::uint32_t kSplit = 0x0003, kPassword = 0x0004;
            constexpr unsigned char kMethodStore = 0x30;
            if (block->flags & (kSplit | kPassword) || block->head.size() < 26 ||
                static_cast<unsigned char>(block->head[25]) != kMethodStore)
                return std::nullopt;
            return Le(block->head, 16, 4);
        }
        position = block->next;
    }
    return std::nullopt;
}

TRarVolumes FindRarVolumes(const fs::path& first) {
    TRarVolumes volumes;
    volumes.present.push_back(first);
    while (volumes.present.size() < kMaxVolumes && RarVolumeContinues(volumes.present.back())) {
        const std::string next = NextRarVolumeName(volumes.present.back().filename().string());
        if (next.empty()) break;
        const fs::path path = volumes.present.back().parent_path() / next;
        std::error_code ec;
        if (!fs::is_regular_file(path, ec)) {
            volumes.missing = path;
            break;
        }
        volumes.present.push_back(path);
    }
    return volumes;
}

}  // namespace vitrina
