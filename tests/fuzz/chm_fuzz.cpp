// A compiled help file: opened through chmlib, its names judged, its pages written out below a
// folder within limits. Nothing may land outside that folder, and every listed name is safe.
#include "fuzz_support.h"
#include "platform/chm_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vitrina;
    namespace fs = std::filesystem;
    const fs::path file = fuzz::ScratchFolder() / "h.chm";
    fuzz::WriteFile(file, fuzz::AsText(data, size));
    const auto chm = TChmFile::Open(file);
    if (!chm) return 0;
    for (const std::string& name : chm->Names())
        fuzz::Check(TChmFile::SafeName("/" + name) == name, "an unsafe name was listed");
    fuzz::Check(chm->DefaultTopic().empty() || TChmFile::SafeName("/" + chm->DefaultTopic()),
                "an unsafe default page");

    const fs::path out = fuzz::ScratchFolder() / "out";
    const fs::path destination = out / "dest";
    std::error_code ec;
    fs::remove_all(out, ec);
    fs::create_directories(destination, ec);
    const auto result =
        chm->ExtractTo(destination, {.maxFileBytes = 1u << 20, .maxTotalBytes = 4u << 20, .maxFiles = 200});
    fuzz::Check(result.written <= 200, "more files than the limit");
    for (const auto& entry : fs::directory_iterator(out, ec))
        fuzz::Check(entry.path() == destination, "a help file wrote outside its folder");
    return 0;
}
