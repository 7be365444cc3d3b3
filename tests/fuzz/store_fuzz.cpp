// The document store and TComprStream: the store is opened from the input, every listed file is
// found and read through both reading paths, and the first files are read as streams. Document
// requests under a small unpacking cap serve what fits and nothing beyond it; under a sanitizer,
// no allocation of theirs passes the cap, whatever size an entry declares.
#include <QByteArray>
#include <QIODevice>
#include <algorithm>

#include "fuzz_support.h"
#include "resources/compr_stream.h"
#include "resources/drive_map.h"
#include "resources/store.h"

// The sanitizers' allocation hook; absent (null) in a plain build.
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*)(const volatile void*, std::size_t),
                                                         void (*)(const volatile void*)) __attribute__((weak));

namespace {

constexpr std::uint64_t kCap = 64 * 1024;
// Besides the entry itself: the thread's buffer for stored bytes (64 KiB) and Qt's header.
constexpr std::size_t kAllowed = kCap + 64 * 1024 + 1024;

bool watching = false;
std::size_t largest = 0;

// The largest single allocation made while work runs; 0 without a sanitizer.
template <class TWork>
std::size_t LargestAllocation(TWork work) {
    static const bool hooked = __sanitizer_install_malloc_and_free_hooks &&
                               __sanitizer_install_malloc_and_free_hooks(
                                   [](const volatile void*, std::size_t size) {
                                       if (watching) largest = std::max(largest, size);
                                   },
                                   [](const volatile void*) {}) != 0;
    (void)hooked;
    largest = 0;
    watching = true;
    work();
    watching = false;
    return largest;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vitrina;
    const auto folder = fuzz::ScratchFolder() / "disc";
    fuzz::WriteFile(folder / "interface.dat", fuzz::AsText(data, size));
    TStore store;
    std::string error;
    if (!store.Open(folder / "interface.dat", &error)) {
        fuzz::Check(!error.empty() && !store.IsOpen() && store.FindEntry("a") < 0, "a refused store");
        return 0;
    }
    store.SetPrefix("d:\\");
    const TDriveMap drives(folder, fuzz::ScratchFolder() / "user");
    const TDocumentFiles files(store, drives);
    const TDocumentFiles capped(store, drives, TUnpackLimits{kCap, 2 * kCap});
    int streams = 0;
    for (const std::string& path : store.ListFiles()) {
        const int index = store.FindEntry("d:\\" + path);
        if (index < 0) continue;  // an earlier entry of the same name hides it
        std::string bytes;
        QByteArray qbytes;
        const bool read = store.ReadEntry(index, bytes);
        fuzz::Check(store.ReadEntry(index, qbytes) == read, "the two reading paths disagree");
        if (read) {
            fuzz::Check(bytes.size() == store.Entries()[index].unpackedSize, "an entry reads to another size");
            fuzz::Check(qbytes.toStdString() == bytes, "the two reading paths read different bytes");
        }
        const TStore::TEntry& entry = store.Entries()[index];
        const bool fits = entry.unpackedSize <= kCap && entry.storedSize <= kCap;
        bool cappedRead = false;
        std::string cappedBytes;
        QByteArray served;
        const std::size_t allocated = LargestAllocation([&] {
            cappedRead = capped.Read("d:\\" + path, cappedBytes);
            if (const auto device = capped.Open("d:\\" + path)) served = device->readAll();
        });
        fuzz::Check(allocated <= kAllowed, "a document request allocated past the unpacking cap");
        // The input itself lies on disk as interface.dat and may stand in for an entry of that name.
        if (!drives.FileExists("d:\\" + path)) {
            fuzz::Check(cappedRead == (read && fits), "the cap serves another entry than it should");
            if (cappedRead) fuzz::Check(cappedBytes == bytes && served.toStdString() == bytes, "a capped read differs");
        }
        if (streams++ < 4) {
            try {
                TComprStream stream(files, "d:\\" + path);
                char chunk[97];
                std::size_t total = 0;
                while (const std::size_t n = stream.Read(chunk, sizeof chunk)) total += n;
                fuzz::Check(total == stream.Size(), "a stream reads another size than it holds");
                stream.Seek(stream.Size() + 10);
                fuzz::Check(stream.Read(chunk, 1) == 0, "a stream reads past its end");
            } catch (const EFileOpenError&) {
                fuzz::Check(!read, "a readable entry does not open as a stream");
            }
        }
    }
    return 0;
}
