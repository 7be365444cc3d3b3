#pragma once
// Every document, picture and index file is read through the store first and from disk when
// the store does not hold it.
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

class TDocumentFiles {
public:
    TDocumentFiles(const TStore& store, const TDriveMap& drives) : store_(store), drives_(drives) {}

    // The file's bytes from the store, else from disk. False when neither has it (or the store's
    // copy is damaged and no disk file stands in).
    bool Read(std::string_view path, std::string& bytes) const;
    // The same file as a device open for reading at its start, or null. A store entry is served
    // from its unpacked bytes in memory; a disk file streams from an open QFile, so a large clip
    // is never held whole.
    std::unique_ptr<QIODevice> Open(std::string_view path) const;
    // StoreFileExists: on disk or in the store.
    bool StoreFileExists(std::string_view path) const;

    const TStore& Store() const { return store_; }
    const TDriveMap& Drives() const { return drives_; }

private:
    const TStore& store_;
    const TDriveMap& drives_;
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
