// The document store and TComprStream: the store is opened from the input, every listed file is
// found and read through both reading paths, and the first files are read as streams.
#include <QByteArray>

#include "fuzz_support.h"
#include "resources/compr_stream.h"
#include "resources/drive_map.h"
#include "resources/store.h"

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
