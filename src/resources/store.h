#pragma once
// The document store "interface.dat": a folder tree of optionally zlib-compressed files. The
// file stays open; only its tables are held in memory.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <QByteArray>

#include "resources/dynamic_arrays.h"

namespace vitrina {

// "/" to "\", a-z to A-Z, а-я to А-Я; every other byte (ё included) stays.
void NormaliseStorePath(std::string& path);

class TStore {
public:
    static constexpr std::uint32_t kHeaderKey1 = 0x3D8C52A1;
    static constexpr std::uint32_t kHeaderKey2 = 0x9E47B06C;
    static constexpr std::size_t kEntrySize = 80;
    static constexpr std::size_t kNameSize = 64;
    static constexpr std::uint32_t kFile = 1;
    static constexpr std::uint32_t kFolder = 2;
    static constexpr std::size_t kMaxPath = 1023;
    static constexpr std::size_t kMaxFolderName = 100;
    static constexpr std::size_t kMaxPrefix = 413;
    // The most a compressed entry (or the table) may unpack to; a larger recorded size is damage.
    static constexpr std::uint64_t kMaxUnpackedSize = std::uint64_t(1) << 30;

    struct TEntry {
        std::string name;  // normalised, at most 64 bytes
        std::uint32_t offset = 0;  // file: data offset; folder: folder record index
        std::uint32_t storedSize = 0;
        std::uint32_t unpackedSize = 0;
        std::uint32_t kind = 0;
    };
    struct TFolder {
        std::uint32_t first = 0;
        std::uint32_t count = 0;
    };

    TStore() = default;
    ~TStore();
    TStore(const TStore&) = delete;
    TStore& operator=(const TStore&) = delete;

    // OpenStore. A missing, truncated or malformed store leaves the store empty (every look-up
    // then fails and callers fall back to disk); error says why.
    bool Open(const std::filesystem::path& path, std::string* error = nullptr);
    bool IsOpen() const { return fd_ >= 0; }
    void Close();

    // SetStorePrefix: the normalised content folder stripped from requested paths. A prefix
    // longer than 413 bytes is refused and the previous one kept.
    bool SetPrefix(std::string_view text);
    const std::string& Prefix() const { return prefix_; }

    // Index of the file entry for path, or -1. Allocates nothing.
    int FindEntry(std::string_view path) const;
    // The unpacked bytes of a file entry, inflated straight into bytes. False for a folder, an
    // index out of range, a read error, an entry recorded as larger than maxSize (nothing is
    // allocated for it), or data that does not inflate to its recorded size; bytes is then left
    // as it was. Safe from several threads.
    bool ReadEntry(int index, std::string& bytes, std::uint64_t maxSize = kMaxUnpackedSize) const;
    // The same into a QByteArray, for handing to Qt.
    bool ReadEntry(int index, QByteArray& bytes, std::uint64_t maxSize = kMaxUnpackedSize) const;
    // The unpacked bytes of a file entry handed to sink piece by piece, in bounded memory
    // whatever the entry's size. False as for ReadEntry, or when sink returns false; what sink
    // was handed before damage showed stays handed.
    bool CopyEntry(int index, const std::function<bool(std::string_view)>& sink) const;
    // ListStoreFiles: every file path below the root, "\"-joined, in table order; names
    // beginning with "." are skipped along with their contents.
    TDynamicStringArray ListFiles() const;

    const std::vector<TEntry>& Entries() const { return entries_; }

private:
    // One slot of the name index: (folder record, name) -> the first entry of that name there.
    // A short name and what the entry leads to sit in the slot itself, so that a step of a
    // look-up touches one cache line.
    struct TNameSlot {
        std::uint32_t hash = 0;
        std::uint32_t folder = 0;
        std::uint32_t entry = kNoEntry;
        std::uint32_t leadsTo = kNotAFolder;  // the folder record of a folder entry
        std::uint8_t nameSize = 0;
        char shortName[15] = {};
        bool IsFile() const { return leadsTo == kFileMark; }
    };
    static constexpr std::uint32_t kNoEntry = 0xFFFFFFFF;
    static constexpr std::uint32_t kNotAFolder = 0xFFFFFFFF;
    static constexpr std::uint32_t kFileMark = 0xFFFFFFFE;

    bool Load(const std::filesystem::path& path, std::string& error);
    void BuildNameIndex();
    // The slot of the first entry of that name in the folder, or null.
    const TNameSlot* FindInFolder(std::uint32_t folder, std::string_view name) const;
    bool ReadAt(std::uint64_t offset, std::size_t size, std::string& out) const;
    bool ReadAt(std::uint64_t offset, std::size_t size, char* out) const;
    // A compressed entry's stored bytes, read at once; empty (null data) on a read error. own
    // holds them when they are too large for the thread's buffer.
    std::string_view ReadStored(const TEntry& entry, std::unique_ptr<char[]>& own) const;
    // The file entry at index, or null.
    const TEntry* FileEntry(int index) const;
    template <class TBytes>
    bool ReadEntryAs(int index, TBytes& bytes, std::uint64_t maxSize) const;

    int fd_ = -1;
    std::uint64_t fileSize_ = 0;
    std::uint64_t dataBase_ = 0;
    std::uint32_t root_ = 0;
    std::vector<TFolder> folders_;
    std::vector<TEntry> entries_;
    // Open addressing with linear probing, at most half full: a look-up hashes each path
    // component once and touches one slot and one entry, without building a key.
    std::vector<TNameSlot> nameIndex_;
    std::string prefix_;
};

// Inflates a zlib stream that must come to exactly expectedSize bytes (at most
// TStore::kMaxUnpackedSize), straight into out.
bool InflateZlib(std::string_view compressed, std::size_t expectedSize, std::string& out);
// The same into size bytes the caller owns.
bool InflateZlibInto(std::string_view compressed, char* out, std::size_t size);
// Compresses with zlib framing at the highest level.
std::string DeflateZlib(std::string_view data);

}  // namespace vitrina
