#include "resources/store.h"

#include <cstring>
#include <fcntl.h>
#include <libdeflate.h>
#include <memory>
#include <unistd.h>

namespace vitrina {
namespace {

// zlib cannot expand data by more than about 1032:1; sizes beyond that are not honest.
bool PlausibleUnpackedSize(std::uint64_t stored, std::uint64_t unpacked) {
    return unpacked <= stored * 1100 + 4096;
}

std::uint32_t GetU32(const char* p) {
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return b[0] | (b[1] << 8) | (b[2] << 16) | (std::uint32_t(b[3]) << 24);
}

void AssignFolderKey(std::string& key, std::uint32_t folder, std::string_view name) {
    key.assign(reinterpret_cast<const char*>(&folder), sizeof folder);
    key.append(name.substr(0, TStore::kNameSize));
}

// Index values carry the entry's kind so that a look-up can answer without reading the entry
// (on a large store that read is a cache miss). Entries fit in 30 bits: the table is < 4 GiB.
std::uint32_t IndexValue(std::uint32_t entry, bool file) { return entry << 1 | (file ? 1 : 0); }

struct TDecompressorFree {
    void operator()(libdeflate_decompressor* d) const { libdeflate_free_decompressor(d); }
};
struct TCompressorFree {
    void operator()(libdeflate_compressor* c) const { libdeflate_free_compressor(c); }
};

}  // namespace

void NormaliseStorePath(std::string& path) {
    for (auto& ch : path) {
        auto c = static_cast<unsigned char>(ch);
        if (c == '/') c = '\\';
        else if (c >= 'a' && c <= 'z') c -= 32;
        else if (c >= 224) c -= 32;
        ch = static_cast<char>(c);
    }
}

bool InflateZlibInto(std::string_view compressed, char* out, std::size_t size) {
    thread_local std::unique_ptr<libdeflate_decompressor, TDecompressorFree> decompressor(
        libdeflate_alloc_decompressor());
    if (!decompressor) return false;
    std::size_t actual = 0;
    const auto result =
        libdeflate_zlib_decompress(decompressor.get(), compressed.data(), compressed.size(), out, size, &actual);
    return result == LIBDEFLATE_SUCCESS && actual == size;
}

bool InflateZlib(std::string_view compressed, std::size_t expectedSize, std::string& out) {
    if (expectedSize > TStore::kMaxUnpackedSize) return false;
    // Not zero-filled: a damaged entry that claims far more than it holds costs only the pages
    // it really inflates into.
    std::unique_ptr<char[]> buffer(new (std::nothrow) char[expectedSize]);
    if (!buffer || !InflateZlibInto(compressed, buffer.get(), expectedSize)) return false;
    out.assign(buffer.get(), expectedSize);
    return true;
}

std::string DeflateZlib(std::string_view data) {
    std::unique_ptr<libdeflate_compressor, TCompressorFree> compressor(libdeflate_alloc_compressor(12));
    std::string out(libdeflate_zlib_compress_bound(compressor.get(), data.size()), '\0');
    out.resize(libdeflate_zlib_compress(compressor.get(), data.data(), data.size(), out.data(), out.size()));
    return out;
}

TStore::~TStore() { Close(); }

void TStore::Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    fileSize_ = dataBase_ = 0;
    root_ = 0;
    folders_.clear();
    entries_.clear();
    index_.clear();
    prefix_.clear();
}

bool TStore::ReadAt(std::uint64_t offset, std::size_t size, std::string& out) const {
    if (offset + size > fileSize_) return false;
    out.resize(size);
    return ReadAt(offset, size, out.data());
}

bool TStore::ReadAt(std::uint64_t offset, std::size_t size, char* out) const {
    if (offset + size > fileSize_) return false;
    std::size_t done = 0;
    while (done < size) {
        const auto n = ::pread(fd_, out + done, size - done, static_cast<off_t>(offset + done));
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool TStore::Open(const std::filesystem::path& path, std::string* error) {
    Close();
    std::string why;
    if (Load(path, why)) return true;
    Close();
    if (error) *error = why;
    return false;
}

bool TStore::Load(const std::filesystem::path& path, std::string& error) {
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) {
        error = "cannot open " + path.string() + ": " + std::strerror(errno);
        return false;
    }
    const off_t end = ::lseek(fd_, 0, SEEK_END);
    if (end < 0) {
        error = "cannot read " + path.string();
        return false;
    }
    fileSize_ = static_cast<std::uint64_t>(end);

    std::string header;
    if (!ReadAt(0, 8, header)) {
        error = "the header is truncated";
        return false;
    }
    const std::uint32_t stored = GetU32(header.data() + 4) ^ kHeaderKey2;
    const std::uint64_t unpacked = std::uint64_t(GetU32(header.data()) ^ kHeaderKey1) + stored;
    if (8 + std::uint64_t(stored) > fileSize_) {
        error = "the table points past the end of the file";
        return false;
    }
    if (unpacked > kMaxUnpackedSize || !PlausibleUnpackedSize(stored, unpacked)) {
        error = "the table's recorded size is impossible";
        return false;
    }
    std::string table;
    if (!ReadAt(8, stored, table)) {
        error = "the table cannot be read";
        return false;
    }
    if (unpacked != stored) {
        std::string inflated;
        if (!InflateZlib(table, unpacked, inflated)) {
            error = "the table does not inflate";
            return false;
        }
        table = std::move(inflated);
    }
    dataBase_ = 8 + std::uint64_t(stored);

    if (table.size() < 16) {
        error = "the table is truncated";
        return false;
    }
    const std::uint32_t folderCount = GetU32(table.data());
    const std::uint32_t entryCount = GetU32(table.data() + 4);
    root_ = GetU32(table.data() + 12);
    if (16 + 8ull * folderCount + std::uint64_t(kEntrySize) * entryCount > table.size()) {
        error = "the table is truncated";
        return false;
    }
    if (root_ >= folderCount) {
        error = "the root folder does not exist";
        return false;
    }
    const std::uint64_t dataSize = fileSize_ - dataBase_;

    folders_.resize(folderCount);
    const char* p = table.data() + 16;
    // A writer gives each entry to one folder. Folders that claim the same entries over and over
    // would make the index and the listing grow with folders times entries.
    std::uint64_t claimed = 0;
    for (auto& folder : folders_) {
        folder.first = GetU32(p);
        folder.count = GetU32(p + 4);
        p += 8;
        if (std::uint64_t(folder.first) + folder.count > entryCount) {
            error = "a folder record points past the entries";
            return false;
        }
        claimed += folder.count;
    }
    if (claimed > entryCount) {
        error = "the folder records claim more entries than the table holds";
        return false;
    }
    entries_.resize(entryCount);
    for (std::uint32_t i = 0; i < entryCount; ++i, p += kEntrySize) {
        TEntry& entry = entries_[i];
        entry.name.assign(p, strnlen(p, kNameSize));
        entry.offset = GetU32(p + 64);
        entry.storedSize = GetU32(p + 68);
        entry.unpackedSize = GetU32(p + 72);
        entry.kind = GetU32(p + 76);
        if (entry.kind == kFile) {
            if (std::uint64_t(entry.offset) + entry.storedSize > dataSize) {
                error = "file entry " + std::to_string(i) + " points past the end of the file";
                return false;
            }
            if (!PlausibleUnpackedSize(entry.storedSize, entry.unpackedSize)) {
                error = "file entry " + std::to_string(i) + " has an impossible unpacked size";
                return false;
            }
        } else if (entry.kind == kFolder && entry.offset >= folderCount) {
            error = "folder entry " + std::to_string(i) + " names a missing folder record";
            return false;
        }
    }
    index_.reserve(entryCount);
    std::string key;
    for (std::uint32_t f = 0; f < folderCount; ++f) {
        const TFolder& folder = folders_[f];
        for (std::uint32_t i = folder.first; i < folder.first + folder.count; ++i) {
            AssignFolderKey(key, f, entries_[i].name);
            index_.emplace(key, IndexValue(i, entries_[i].kind == kFile));
        }
    }
    return true;
}

bool TStore::SetPrefix(std::string_view text) {
    if (text.size() > kMaxPrefix) return false;
    prefix_ = std::string(text);
    NormaliseStorePath(prefix_);
    return true;
}

// The index value of the first entry of that name, or -1.
int TStore::FindInFolder(std::uint32_t folder, std::string_view name) const {
    // Reused so that a look-up allocates nothing.
    thread_local std::string key;
    AssignFolderKey(key, folder, name);
    const auto found = index_.find(key);
    return found == index_.end() ? -1 : static_cast<int>(found->second);
}

int TStore::FindEntry(std::string_view requested) const {
    if (!IsOpen() || requested.size() > kMaxPath) return -1;
    thread_local std::string path;
    path.assign(requested);
    NormaliseStorePath(path);
    std::string_view rest = path;
    if (rest.substr(0, prefix_.size()) == prefix_) rest.remove_prefix(prefix_.size());
    if (!rest.empty() && rest[0] == '\\') rest.remove_prefix(1);

    std::uint32_t folder = root_;
    for (;;) {
        const auto slash = rest.find('\\');
        const std::string_view part = rest.substr(0, slash);
        if (part.size() > kMaxFolderName) return -1;
        const int value = FindInFolder(folder, part);
        if (value < 0) return -1;
        const int index = value >> 1;
        if (slash == std::string_view::npos) return (value & 1) ? index : -1;
        const TEntry& entry = entries_[index];
        if (entry.kind != kFolder) return -1;
        folder = entry.offset;
        rest.remove_prefix(slash + 1);
    }
}

const TStore::TEntry* TStore::FileEntry(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= entries_.size()) return nullptr;
    const TEntry& entry = entries_[index];
    return entry.kind == kFile ? &entry : nullptr;
}

bool TStore::ReadEntry(int index, std::string& bytes) const {
    const TEntry* entry = FileEntry(index);
    if (!entry) return false;
    std::string raw;
    {
        std::lock_guard lock(readMutex_);
        if (!ReadAt(dataBase_ + entry->offset, entry->storedSize, raw)) return false;
    }
    if (entry->storedSize == entry->unpackedSize) {
        bytes = std::move(raw);
        return true;
    }
    return InflateZlib(raw, entry->unpackedSize, bytes);
}

bool TStore::ReadEntry(int index, QByteArray& bytes) const {
    const TEntry* entry = FileEntry(index);
    if (!entry) return false;
    const bool compressed = entry->storedSize != entry->unpackedSize;
    if (compressed && entry->unpackedSize > kMaxUnpackedSize) return false;
    QByteArray raw(static_cast<qsizetype>(entry->storedSize), Qt::Uninitialized);
    {
        std::lock_guard lock(readMutex_);
        if (!ReadAt(dataBase_ + entry->offset, entry->storedSize, raw.data())) return false;
    }
    if (!compressed) {
        bytes = std::move(raw);
        return true;
    }
    QByteArray unpacked(static_cast<qsizetype>(entry->unpackedSize), Qt::Uninitialized);
    if (!InflateZlibInto(std::string_view(raw.constData(), raw.size()), unpacked.data(), entry->unpackedSize))
        return false;
    bytes = std::move(unpacked);
    return true;
}

TDynamicStringArray TStore::ListFiles() const {
    TDynamicStringArray list;
    if (!IsOpen()) return list;
    // Depth-first in entry order, on a stack of its own: the table decides the nesting. A
    // well-formed store reaches each folder once; a folder met again, or one whose path is
    // longer than any findable path, is not entered, so a hostile table cannot make the walk
    // loop or explode.
    struct TOpenFolder {
        std::uint32_t next;  // the folder's next entry
        std::uint32_t end;
        std::string prefix;
    };
    std::vector<bool> entered(folders_.size(), false);
    std::vector<TOpenFolder> open;
    const auto enter = [&](std::uint32_t folder, std::string prefix) {
        entered[folder] = true;
        const TFolder& record = folders_[folder];
        open.push_back({record.first, record.first + record.count, std::move(prefix)});
    };
    enter(root_, "");
    while (!open.empty()) {
        TOpenFolder& current = open.back();
        if (current.next == current.end) {
            open.pop_back();
            continue;
        }
        const TEntry& entry = entries_[current.next++];
        if (!entry.name.empty() && entry.name[0] == '.') continue;
        if (entry.kind == kFile) {
            if (current.prefix.size() + entry.name.size() <= kMaxPath) list.push_back(current.prefix + entry.name);
        } else if (entry.kind == kFolder && !entered[entry.offset] &&
                   current.prefix.size() + entry.name.size() + 1 < kMaxPath) {
            enter(entry.offset, current.prefix + entry.name + "\\");
        }
    }
    return list;
}

}  // namespace vitrina
