// The resource container: the directory is read from the file and every entry read back.
#include "fuzz_support.h"
#include "resources/read_bin.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vitrina;
    const auto path = fuzz::ScratchFolder() / "Vuv.dhl";
    fuzz::WriteFile(path, fuzz::AsText(data, size));
    TReadBin container;
    try {
        container.Open(path);
    } catch (const EContainerError&) {
        fuzz::Check(container.Directory().empty(), "a refused container keeps a directory");
        return 0;
    }
    for (const RBin& entry : container.Directory()) {
        fuzz::Check(std::uint64_t(entry.offset) + entry.size <= size, "an entry reaches past the file");
        std::string bytes;
        // The first entry of a name wins, so a later one of the same name may read another's bytes.
        const int read = container.ReadBuffer(entry.name, bytes);
        fuzz::Check(read >= 0 && std::size_t(read) == bytes.size(), "a listed entry does not read");
    }
    container.Contains("Struct.cfs");
    return 0;
}
