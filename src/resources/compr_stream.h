#pragma once
// Every document, picture and index file is read through the store first and from disk when
// the store does not hold it.
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

class QIODevice;

namespace vitrina {

class TStore;
class TDriveMap;

// Raised when a file is neither in the store nor on disk.
class EFileOpenError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What may be unpacked from the store for documents: one entry at most perEntry bytes, and the
// entries served as devices that are still open at most inFlight bytes together. A small store
// entry can claim to unpack to a gigabyte, and a page can ask for it a hundred times.
struct TUnpackLimits {
    std::uint64_t perEntry = std::uint64_t(64) << 20;
    std::uint64_t inFlight = std::uint64_t(256) << 20;
};

class TUnpackBudget;

class TDocumentFiles {
public:
    TDocumentFiles(const TStore& store, const TDriveMap& drives, TUnpackLimits limits = {});

    // The file's bytes from the store, else from disk. False when neither has it (or the store's
    // copy is damaged or larger than the limit for one entry, and no disk file stands in). Only
    // regular files are read from disk.
    bool Read(std::string_view path, std::string& bytes) const;
    // The same file as a device open for reading at its start, or null. A store entry is served
    // from its unpacked bytes in memory, within the limits (beyond them it counts as absent); a
    // disk file streams from an open QFile, so a large clip is never held whole.
    std::unique_ptr<QIODevice> Open(std::string_view path) const;
    // StoreFileExists: on disk or in the store.
    bool StoreFileExists(std::string_view path) const;

    const TStore& Store() const { return store_; }
    const TDriveMap& Drives() const { return drives_; }

private:
    const TStore& store_;
    const TDriveMap& drives_;
    TUnpackLimits limits_;
    // Shared with the devices handed out, which may outlive this object inside the engine.
    std::shared_ptr<TUnpackBudget> budget_;
};

// A memory stream filled with a file's content when it is made.
class TComprStream {
public:
    // Throws EFileOpenError when the file is in neither place.
    TComprStream(const TDocumentFiles& files, std::string_view path);

    const std::string& Bytes() const { return bytes_; }
    std::size_t Size() const { return bytes_.size(); }
    std::size_t Position() const { return position_; }
    void Seek(std::size_t position) { position_ = std::min(position, bytes_.size()); }
    // Copies up to count bytes from the position on; returns how many were copied.
    std::size_t Read(char* buffer, std::size_t count);

private:
    std::string bytes_;
    std::size_t position_ = 0;
};

}  // namespace vitrina
