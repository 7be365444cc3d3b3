#include "resources/compr_stream.h"

#include <QBuffer>
#include <QFile>
#include <atomic>
#include <cstring>

#include "platform/cp1251.h"
#include "platform/regular_file.h"
#include "resources/drive_map.h"
#include "resources/store.h"

namespace vitrina {

// The bytes of store entries being served, against the limit for all of them together.
class TUnpackBudget {
public:
    explicit TUnpackBudget(std::uint64_t limit) : limit_(limit) {}
    bool Take(std::uint64_t bytes) {
        std::uint64_t used = used_.load();
        do {
            if (bytes > limit_ - used) return false;
        } while (!used_.compare_exchange_weak(used, used + bytes));
        return true;
    }
    void Give(std::uint64_t bytes) { used_ -= bytes; }

private:
    const std::uint64_t limit_;
    std::atomic<std::uint64_t> used_{0};
};

namespace {

// A store entry's unpacked bytes, holding their share of the budget until the device is gone.
class TEntryBuffer : public QBuffer {
public:
    TEntryBuffer(std::shared_ptr<TUnpackBudget> budget, std::uint64_t bytes) : budget_(std::move(budget)), bytes_(bytes) {}
    ~TEntryBuffer() override { budget_->Give(bytes_); }

private:
    std::shared_ptr<TUnpackBudget> budget_;
    std::uint64_t bytes_;
};

}  // namespace

TDocumentFiles::TDocumentFiles(const TStore& store, const TDriveMap& drives, TUnpackLimits limits)
    : store_(store), drives_(drives), limits_(limits), budget_(std::make_shared<TUnpackBudget>(limits.inFlight)) {}

bool TDocumentFiles::Read(std::string_view path, std::string& bytes) const {
    // A store entry that is damaged counts as absent: the disk file may stand in for it.
    if (const int index = store_.FindEntry(path); index >= 0 && store_.ReadEntry(index, bytes, limits_.perEntry))
        return true;
    const auto host = drives_.ToHostPath(path);
    return host && ReadRegularFile(*host, bytes);
}

std::unique_ptr<QIODevice> TDocumentFiles::Open(std::string_view path) const {
    if (const int index = store_.FindEntry(path); index >= 0) {
        const std::uint64_t size = store_.Entries()[index].unpackedSize;
        if (size <= limits_.perEntry && budget_->Take(size)) {
            auto buffer = std::make_unique<TEntryBuffer>(budget_, size);
            if (store_.ReadEntry(index, buffer->buffer(), limits_.perEntry) && buffer->open(QIODevice::ReadOnly))
                return buffer;
        }
    }
    const auto host = drives_.ToHostPath(path);
    return host ? OpenRegularQFile(*host) : nullptr;
}

bool TDocumentFiles::StoreFileExists(std::string_view path) const {
    return drives_.FileExists(path) || store_.FindEntry(path) >= 0;
}

TComprStream::TComprStream(const TDocumentFiles& files, std::string_view path) {
    if (!files.Read(path, bytes_)) throw EFileOpenError("Cannot open file \"" + Cp1251ToUtf8(path) + "\"");
}

std::size_t TComprStream::Read(char* buffer, std::size_t count) {
    const std::size_t n = std::min(count, bytes_.size() - position_);
    std::memcpy(buffer, bytes_.data() + position_, n);
    position_ += n;
    return n;
}

}  // namespace vitrina
