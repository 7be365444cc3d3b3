#include "resources/store.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <libdeflate.h>
#include <memory>
#include <new>
#include <unistd.h>
#include <zlib.h>

#include "platform/regular_file.h"

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

// "/" to "\", a-z to A-Z, а-я to А-Я; every other byte stays.
constexpr std::array<char, 256> kFold = [] {
    std::array<char, 256> fold{};
    for (int c = 0; c < 256; ++c) {
        int folded = c;
        if (c == '/') folded = '\\';
        else if (c >= 'a' && c <= 'z') folded = c - 32;
        else if (c >= 224) folded = c - 32;
        fold[c] = static_cast<char>(folded);
    }
    return fold;
}();

std::uint64_t NameHash(std::uint32_t folder, std::string_view name) {
    return std::hash<std::string_view>{}(name) ^ (folder * 0x9E3779B97F4A7C15ull);
}

// Room for an entry's stored bytes: a buffer each thread keeps for pages, or one of its own for a
// large entry, so that no thread holds on to a large buffer.
char* StoredBuffer(std::size_t size, std::unique_ptr<char[]>& own) {
    constexpr std::size_t kKept = std::size_t(1) << 20;
    if (size > kKept) {
        own.reset(new (std::nothrow) char[size]);
        return own.get();
    }
    thread_local std::string kept;
    if (kept.size() < size) kept.resize(std::max<std::size_t>(size, 64 * 1024));
    return kept.data();
}

template <class TBytes>
TBytes SizedBuffer(std::size_t size);
// A string is zero-filled: entries are read this way within the caller's limit only.
template <>
std::string SizedBuffer<std::string>(std::size_t size) {
    return std::string(size, '\0');
}
// Qt's bytes are left untouched, so that a damaged entry claiming more than it holds costs only
// the pages it really fills.
template <>
QByteArray SizedBuffer<QByteArray>(std::size_t size) {
    return QByteArray(static_cast<qsizetype>(size), Qt::Uninitialized);
}

// A zlib stream inflated piece by piece, for entries copied without being held whole.
struct TZlibInflater {
    z_stream stream{};
    bool ready = false;
    TZlibInflater() { ready = ::inflateInit(&stream) == Z_OK; }
    ~TZlibInflater() {
        if (ready) ::inflateEnd(&stream);
    }
    bool Ready() const { return ready; }
};

struct TDecompressorFree {
    void operator()(libdeflate_decompressor* d) const { libdeflate_free_decompressor(d); }
};
struct TCompressorFree {
    void operator()(libdeflate_compressor* c) const { libdeflate_free_compressor(c); }
};

}  // namespace

void NormaliseStorePath(std::string& path) {
    for (auto& ch : path) ch = kFold[static_cast<unsigned char>(ch)];
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
    std::string inflated(expectedSize, '\0');
    if (!InflateZlibInto(compressed, inflated.data(), expectedSize)) return false;
    out = std::move(inflated);
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
    nameIndex_.clear();
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
    TRegularFile file = TRegularFile::Open(path);
    if (!file.IsOpen()) {
        error = "cannot open " + path.string() + ": " + std::strerror(errno);
        return false;
    }
    fileSize_ = file.Size();
    fd_ = file.Release();

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
    std::string storedTable;
    if (!ReadAt(8, stored, storedTable)) {
        error = "the table cannot be read";
        return false;
    }
    std::string_view table = storedTable;
    // Inflated into untouched memory: a damaged table claiming far more than it holds costs only
    // the pages it really fills.
    std::unique_ptr<char[]> inflated;
    if (unpacked != stored) {
        inflated.reset(new (std::nothrow) char[unpacked]);
        if (!inflated || !InflateZlibInto(storedTable, inflated.get(), unpacked)) {
            error = "the table does not inflate";
            return false;
        }
        table = std::string_view(inflated.get(), unpacked);
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
    std::uint64_t listed = 0;
    for (auto& folder : folders_) {
        folder.first = GetU32(p);
        folder.count = GetU32(p + 4);
        p += 8;
        if (std::uint64_t(folder.first) + folder.count > entryCount) {
            error = "a folder record points past the entries";
            return false;
        }
        listed += folder.count;
    }
    // Each entry belongs to one folder. Records that share entries could list the table many
    // times over and make the name index explode.
    if (listed > entryCount) {
        error = "folder records share entries";
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
    BuildNameIndex();
    return true;
}

void TStore::BuildNameIndex() {
    std::size_t capacity = 16;
    while (capacity < 2 * entries_.size()) capacity *= 2;
    nameIndex_.assign(capacity, TNameSlot{});
    const std::size_t mask = capacity - 1;
    for (std::uint32_t f = 0; f < folders_.size(); ++f) {
        const TFolder& folder = folders_[f];
        for (std::uint32_t i = folder.first; i < folder.first + folder.count; ++i) {
            const TEntry& entry = entries_[i];
            const std::uint64_t hash = NameHash(f, entry.name);
            for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
                TNameSlot& s = nameIndex_[slot];
                if (s.entry == kNoEntry) {
                    s.hash = static_cast<std::uint32_t>(hash);
                    s.folder = f;
                    s.entry = i;
                    s.leadsTo = entry.kind == kFile ? kFileMark : entry.kind == kFolder ? entry.offset : kNotAFolder;
                    s.nameSize = static_cast<std::uint8_t>(entry.name.size());
                    if (entry.name.size() <= sizeof s.shortName)
                        std::memcpy(s.shortName, entry.name.data(), entry.name.size());
                    break;
                }
                // The first entry of a name keeps it.
                if (s.folder == f && entries_[s.entry].name == entry.name) break;
            }
        }
    }
}

bool TStore::SetPrefix(std::string_view text) {
    if (text.size() > kMaxPrefix) return false;
    prefix_ = std::string(text);
    NormaliseStorePath(prefix_);
    return true;
}

const TStore::TNameSlot* TStore::FindInFolder(std::uint32_t folder, std::string_view name) const {
    // Stored names hold at most kNameSize bytes; a longer request matches on those.
    name = name.substr(0, kNameSize);
    const std::uint64_t hash = NameHash(folder, name);
    const std::size_t mask = nameIndex_.size() - 1;
    for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        const TNameSlot& s = nameIndex_[slot];
        if (s.entry == kNoEntry) return nullptr;
        if (s.hash != static_cast<std::uint32_t>(hash) || s.folder != folder || s.nameSize != name.size()) continue;
        const std::string_view stored = name.size() <= sizeof s.shortName
                                            ? std::string_view(s.shortName, s.nameSize)
                                            : std::string_view(entries_[s.entry].name);
        if (stored == name) return &s;
    }
}

int TStore::FindEntry(std::string_view requested) const {
    if (!IsOpen() || requested.size() > kMaxPath) return -1;
    char path[kMaxPath];
    for (std::size_t i = 0; i < requested.size(); ++i) path[i] = kFold[static_cast<unsigned char>(requested[i])];
    std::string_view rest(path, requested.size());
    if (rest.starts_with(prefix_)) rest.remove_prefix(prefix_.size());
    if (!rest.empty() && rest[0] == '\\') rest.remove_prefix(1);

    std::uint32_t folder = root_;
    for (;;) {
        const auto slash = rest.find('\\');
        const std::string_view part = rest.substr(0, slash);
        if (part.size() > kMaxFolderName) return -1;
        const TNameSlot* slot = FindInFolder(folder, part);
        if (!slot) return -1;
        if (slash == std::string_view::npos) {
            if (!slot->IsFile()) return -1;
            // The caller reads the entry next; start fetching it now.
            __builtin_prefetch(&entries_[slot->entry]);
            return static_cast<int>(slot->entry);
        }
        if (slot->IsFile() || slot->leadsTo == kNotAFolder) return -1;
        folder = slot->leadsTo;
        rest.remove_prefix(slash + 1);
    }
}

const TStore::TEntry* TStore::FileEntry(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= entries_.size()) return nullptr;
    const TEntry& entry = entries_[index];
    return entry.kind == kFile ? &entry : nullptr;
}

// pread keeps no file position, so reads from several threads need no lock.
std::string_view TStore::ReadStored(const TEntry& entry, std::unique_ptr<char[]>& own) const {
    char* buffer = StoredBuffer(entry.storedSize, own);
    if (!buffer || !ReadAt(dataBase_ + entry.offset, entry.storedSize, buffer)) return {};
    return std::string_view(buffer, entry.storedSize);
}

template <class TBytes>
bool TStore::ReadEntryAs(int index, TBytes& bytes, std::uint64_t maxSize) const {
    const TEntry* entry = FileEntry(index);
    // Both the stored and the unpacked bytes are held at once: neither may pass the limit.
    if (!entry || entry->storedSize > maxSize || entry->unpackedSize > std::min(maxSize, kMaxUnpackedSize)) return false;
    TBytes out = SizedBuffer<TBytes>(entry->unpackedSize);
    if (entry->storedSize == entry->unpackedSize) {
        if (!ReadAt(dataBase_ + entry->offset, entry->storedSize, out.data())) return false;
    } else {
        std::unique_ptr<char[]> own;
        const std::string_view raw = ReadStored(*entry, own);
        if (!raw.data() || !InflateZlibInto(raw, out.data(), entry->unpackedSize)) return false;
    }
    bytes = std::move(out);
    return true;
}

bool TStore::ReadEntry(int index, std::string& bytes, std::uint64_t maxSize) const {
    return ReadEntryAs(index, bytes, maxSize);
}

bool TStore::ReadEntry(int index, QByteArray& bytes, std::uint64_t maxSize) const {
    return ReadEntryAs(index, bytes, maxSize);
}

bool TStore::CopyEntry(int index, const std::function<bool(std::string_view)>& sink) const {
    const TEntry* entry = FileEntry(index);
    if (!entry) return false;
    constexpr std::size_t kPiece = std::size_t(64) << 10;
    const auto input = std::make_unique<char[]>(kPiece);
    std::uint64_t read = 0;
    if (entry->storedSize == entry->unpackedSize) {
        while (read < entry->storedSize) {
            const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(kPiece, entry->storedSize - read));
            if (!ReadAt(dataBase_ + entry->offset + read, n, input.get()) || !sink(std::string_view(input.get(), n)))
                return false;
            read += n;
        }
        return true;
    }
    if (entry->unpackedSize > kMaxUnpackedSize) return false;
    TZlibInflater inflater;
    if (!inflater.Ready()) return false;
    const auto output = std::make_unique<char[]>(kPiece);
    std::uint64_t written = 0;
    bool ended = false;
    while (!ended) {
        if (inflater.stream.avail_in == 0) {
            if (read == entry->storedSize) return false;  // the data ends before the stream does
            const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(kPiece, entry->storedSize - read));
            if (!ReadAt(dataBase_ + entry->offset + read, n, input.get())) return false;
            read += n;
            inflater.stream.next_in = reinterpret_cast<Bytef*>(input.get());
            inflater.stream.avail_in = static_cast<uInt>(n);
        }
        inflater.stream.next_out = reinterpret_cast<Bytef*>(output.get());
        inflater.stream.avail_out = static_cast<uInt>(kPiece);
        const int result = ::inflate(&inflater.stream, Z_NO_FLUSH);
        if (result != Z_OK && result != Z_STREAM_END) return false;
        ended = result == Z_STREAM_END;
        const std::size_t n = kPiece - inflater.stream.avail_out;
        // More than recorded is damage, found before it is handed on.
        if (n > entry->unpackedSize - written) return false;
        if (n && !sink(std::string_view(output.get(), n))) return false;
        written += n;
    }
    return written == entry->unpackedSize;
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
