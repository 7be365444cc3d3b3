#include "platform/chm_file.h"

#include <chm_lib.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <set>
#include <utility>

#include "platform/cp1251.h"
#include "platform/regular_file.h"

namespace vitrina {
namespace fs = std::filesystem;
namespace {

bool ValidUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        const std::size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        if (n == 0 || i + n > text.size()) return false;
        for (std::size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
        i += n;
    }
    return true;
}

std::uint16_t Word(const std::string& bytes, std::size_t at) {
    const auto byte = [&bytes](std::size_t i) { return static_cast<unsigned>(static_cast<unsigned char>(bytes[i])); };
    return static_cast<std::uint16_t>(byte(at) | (byte(at + 1) << 8));
}

bool WriteAll(int fd, const unsigned char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n <= 0) return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// Makes the folders of a relative name below root, one at a time, refusing anything that is
// there already and is not a real folder.
bool MakeFolders(const fs::path& root, const std::string& name) {
    fs::path at = root;
    const fs::path relative(name);
    for (auto part = relative.begin(); part != relative.end() && std::next(part) != relative.end(); ++part) {
        at /= *part;
        if (::mkdir(at.c_str(), 0755) != 0 && errno != EEXIST) return false;
        struct stat st {};
        if (::lstat(at.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
    }
    return true;
}


// chmlib walks the file's directory without guarding against a hostile one: a chunk that names
// itself as the next (or an index entry pointing back up the index) loops forever, an entry
// running past its chunk is read past the chunk's buffer, an empty name is read before its start.
// The walks chmlib makes are made here first, on the same fields, with every read bounded.
class TDirectoryCheck {
public:
    TDirectoryCheck(int fd, std::uint64_t fileSize) : fd_(fd), fileSize_(fileSize) {}

    bool Sound() {
        std::string header;
        if (!Read(0, 0x60, header) || header.compare(0, 4, "ITSF") != 0) return true;  // chmlib refuses it
        const std::uint32_t version = U32(header, 4), headerLen = U32(header, 8);
        if ((version != 2 && version != 3) || headerLen < (version == 2 ? 0x58u : 0x60u)) return true;
        const std::uint64_t dirOffset = U64(header, 0x48);
        std::string itsp;
        if (dirOffset > fileSize_ || !Read(dirOffset, 0x54, itsp) || itsp.compare(0, 4, "ITSP") != 0 ||
            U32(itsp, 4) != 1 || U32(itsp, 8) != 0x54)
            return true;
        blockLen_ = U32(itsp, 0x10);
        // Real files use 4 KiB chunks; chmlib allocates whatever is asked.
        if (blockLen_ < 0x20 || blockLen_ > (1u << 20)) return false;
        chunks_ = dirOffset + 0x54;
        const auto indexHead = static_cast<std::int32_t>(U32(itsp, 0x20));
        auto indexRoot = static_cast<std::int32_t>(U32(itsp, 0x1C));
        if (indexRoot <= -1) indexRoot = indexHead;
        return ListingChainSound(indexHead) && IndexSound(indexRoot, 0);
    }

private:
    static std::uint32_t U32(const std::string& b, std::size_t at) {
        const auto byte = [&b](std::size_t i) { return static_cast<std::uint32_t>(static_cast<unsigned char>(b[i])); };
        return byte(at) | (byte(at + 1) << 8) | (byte(at + 2) << 16) | (byte(at + 3) << 24);
    }
    static std::uint64_t U64(const std::string& b, std::size_t at) {
        return U32(b, at) | (static_cast<std::uint64_t>(U32(b, at + 4)) << 32);
    }
    bool Read(std::uint64_t offset, std::size_t length, std::string& out) const {
        if (offset > fileSize_ || length > fileSize_ - offset) return false;
        out.assign(length, '\0');
        return ::pread(fd_, out.data(), length, static_cast<off_t>(offset)) == static_cast<ssize_t>(length);
    }
    // A chunk as chmlib fetches it; false when the file does not hold it whole (chmlib then stops).
    bool Chunk(std::int32_t index, std::string& out) {
        if (++reads_ > kMaxReads) return false;
        // The offset as chmlib computes it: a negative index wraps round to an earlier chunk.
        const std::uint64_t offset = chunks_ + static_cast<std::uint64_t>(static_cast<std::int64_t>(index)) * blockLen_;
        return Read(offset, blockLen_, out);
    }
    // 7-bit groups, high bit on all but the last byte; false when it runs past the chunk.
    static bool Cword(const std::string& chunk, std::size_t& at, std::uint64_t& value) {
        value = 0;
        while (at < chunk.size()) {
            const auto c = static_cast<unsigned char>(chunk[at++]);
            value = (value << 7) | (c & 0x7F);
            if (!(c & 0x80)) return true;
        }
        return false;
    }
    // The entries of a listing chunk; false for one chmlib would read past the chunk.
    static bool ListingEntriesSound(const std::string& chunk, std::uint32_t freeSpace) {
        const std::size_t end = chunk.size() - freeSpace;
        for (std::size_t at = 0x14; at < end;) {
            std::uint64_t length, ignored;
            if (!Cword(chunk, at, length) || length == 0 || length > 512 || length > chunk.size() - at) return false;
            at += length;
            for (int i = 0; i < 3; ++i)
                if (!Cword(chunk, at, ignored)) return false;
        }
        return true;
    }
    bool ListingChainSound(std::int32_t page) {
        std::set<std::int32_t> seen;
        std::string chunk;
        while (page != -1) {
            if (!seen.insert(page).second) return false;
            if (!Chunk(page, chunk)) return reads_ <= kMaxReads;
            // The library follows the chain whatever the chunk's head says; with more free space
            // than the chunk holds it reads no entries there.
            const std::uint32_t freeSpace = U32(chunk, 4);
            if (freeSpace <= blockLen_ - 0x14 && !ListingEntriesSound(chunk, freeSpace)) return false;
            page = static_cast<std::int32_t>(U32(chunk, 0x10));
        }
        return true;
    }
    // The index from a chunk down: no chunk may be met again below itself.
    bool IndexSound(std::int32_t page, int depth) {
        if (page == -1 || done_.count(page)) return true;
        if (depth > 64 || path_.count(page)) return false;
        std::string chunk;
        if (!Chunk(page, chunk)) return reads_ <= kMaxReads;
        if (chunk.compare(0, 4, "PMGL") == 0) {
            const std::uint32_t freeSpace = U32(chunk, 4);
            if (freeSpace <= blockLen_ - 0x14 && !ListingEntriesSound(chunk, freeSpace)) return false;
        } else if (chunk.compare(0, 4, "PMGI") == 0) {
            const std::uint32_t freeSpace = U32(chunk, 4);
            if (freeSpace > blockLen_ - 8) return done_.insert(page), true;
            std::vector<std::int32_t> children;
            for (std::size_t at = 8, end = chunk.size() - freeSpace; at < end;) {
                std::uint64_t length, child;
                if (!Cword(chunk, at, length) || length > 512 || length > chunk.size() - at) return false;
                at += length;
                if (!Cword(chunk, at, child)) return false;
                children.push_back(static_cast<std::int32_t>(child));
            }
            path_.insert(page);
            for (std::int32_t child : children)
                if (!IndexSound(child, depth + 1)) return false;
            path_.erase(page);
        }
        done_.insert(page);
        return true;
    }

    static constexpr int kMaxReads = 100000;
    int fd_;
    std::uint64_t fileSize_;
    std::uint32_t blockLen_ = 0;
    std::uint64_t chunks_ = 0;
    int reads_ = 0;
    std::set<std::int32_t> path_, done_;
};

}  // namespace

std::optional<std::string> TChmFile::SafeName(std::string_view name) {
    if (name.empty() || name.front() != '/' || name.size() > 400) return std::nullopt;
    std::string text(name.substr(1));
    if (!ValidUtf8(text)) text = Cp1251ToUtf8(text);
    std::size_t start = 0;
    int depth = 0;
    while (true) {
        const std::size_t end = text.find('/', start);
        const std::size_t length = end == std::string::npos ? std::string::npos : end - start;
        const std::string_view part = std::string_view(text).substr(start, length);
        if (part.empty() || part == "." || part == ".." || ++depth > 16) return std::nullopt;
        for (char c : part)
            if (static_cast<unsigned char>(c) < 0x20 || c == '\\' || c == ':' || c == 0x7F) return std::nullopt;
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return text;
}

std::optional<TChmFile> TChmFile::Open(const fs::path& file) {
    {
        // A folder, pipe or device is no help file (and a pipe would block chmlib).
        const TRegularFile regular = TRegularFile::Open(file);
        if (!regular.IsOpen() || !TDirectoryCheck(regular.Fd(), regular.Size()).Sound()) return std::nullopt;
    }
    chmFile* handle = chm_open(file.c_str());
    if (!handle) return std::nullopt;
    TChmFile chm(handle);
    chm.ReadDirectory();
    return chm;
}

TChmFile::TChmFile(TChmFile&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)),
      entries_(std::move(other.entries_)),
      names_(std::move(other.names_)),
      defaultTopic_(std::move(other.defaultTopic_)) {}

TChmFile::~TChmFile() {
    if (handle_) chm_close(handle_);
}

void TChmFile::ReadDirectory() {
    auto collect = [](chmFile*, chmUnitInfo* ui, void* context) -> int {
        auto* self = static_cast<TChmFile*>(context);
        if (self->entries_.size() >= 200000) return CHM_ENUMERATOR_SUCCESS;
        if (auto name = SafeName(ui->path)) self->entries_.push_back({*name, ui->path, ui->length});
        return CHM_ENUMERATOR_CONTINUE;
    };
    chm_enumerate(handle_, CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES, collect, this);
    std::sort(entries_.begin(), entries_.end(), [](const TEntry& a, const TEntry& b) { return a.name < b.name; });
    // Names that differ only in letter case would land on one file; the first stays.
    entries_.erase(std::unique(entries_.begin(), entries_.end(),
                               [](const TEntry& a, const TEntry& b) { return SameText1251(a.name, b.name); }),
                   entries_.end());
    for (const TEntry& entry : entries_) names_.push_back(entry.name);

    // The system record: 16-bit code and length, then the data; code 2 names the default page.
    const std::string system = ReadObject("/#SYSTEM", 1u << 20);
    for (std::size_t at = 4; at + 4 <= system.size();) {
        const std::uint16_t code = Word(system, at), length = Word(system, at + 2);
        at += 4;
        if (at + length > system.size()) break;
        if (code == 2) {
            std::string topic = system.substr(at, length);
            topic = topic.substr(0, topic.find('\0'));
            if (auto name = SafeName("/" + topic); name && std::count(names_.begin(), names_.end(), *name))
                defaultTopic_ = *name;
            break;
        }
        at += length;
    }
}

std::string TChmFile::ReadObject(const std::string& path, std::uint64_t limit) const {
    chmUnitInfo ui{};
    if (chm_resolve_object(handle_, path.c_str(), &ui) != CHM_RESOLVE_SUCCESS || ui.length > limit) return {};
    std::string bytes(ui.length, '\0');
    const LONGINT64 got = chm_retrieve_object(handle_, &ui, reinterpret_cast<unsigned char*>(bytes.data()), 0,
                                              static_cast<LONGINT64>(ui.length));
    if (got < 0 || static_cast<std::uint64_t>(got) != ui.length) return {};
    return bytes;
}

TChmFile::TResult TChmFile::ExtractTo(const fs::path& folder, const TChmLimits& limits) const {
    TResult result;
    std::uint64_t total = 0;
    std::vector<unsigned char> buffer(1u << 16);
    for (const TEntry& entry : entries_) {
        if (entry.length > limits.maxFileBytes) {
            result.complete = false;
            continue;
        }
        if (result.written >= limits.maxFiles || total + entry.length > limits.maxTotalBytes) {
            result.complete = false;
            break;
        }
        if (!MakeFolders(folder, entry.name)) {
            result.complete = false;
            continue;
        }
        chmUnitInfo ui{};
        if (chm_resolve_object(handle_, entry.path.c_str(), &ui) != CHM_RESOLVE_SUCCESS) {
            result.complete = false;
            continue;
        }
        const fs::path target = folder / entry.name;
        const int fd = ::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (fd < 0) {
            result.complete = false;
            continue;
        }
        bool ok = true;
        for (std::uint64_t at = 0; ok && at < ui.length;) {
            const auto want = static_cast<LONGINT64>(std::min<std::uint64_t>(buffer.size(), ui.length - at));
            const LONGINT64 got = chm_retrieve_object(handle_, &ui, buffer.data(), at, want);
            ok = got == want && WriteAll(fd, buffer.data(), static_cast<std::size_t>(got));
            at += static_cast<std::uint64_t>(want);
        }
        ::close(fd);
        if (!ok) {
            ::unlink(target.c_str());
            result.complete = false;
            continue;
        }
        total += ui.length;
        ++result.written;
    }
    return result;
}

}  // namespace vitrina
