// The archive layer: the input as a RAR archive is listed into its pages and unpacked, and its
// headers are read by the volume scanner. Nothing may land outside the extraction folder.
#include <QLocale>

#include "archive/archive_listing.h"
#include "archive/archive_page_files.h"
#include "archive/rar_pass.h"
#include "archive/rar_volumes.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vitrina;
    namespace fs = std::filesystem;
    const fs::path archive = fuzz::ScratchFolder() / "a.rar";
    fuzz::WriteFile(archive, fuzz::AsText(data, size));
    const auto quiet = [](const std::string&) {};

    RarVolumeContinues(archive);
    StoredMemberCrc(archive, 0);

    TArchiveListing listing;
    RunRarPass({archive, "d:\\x\\a.rar", false, {}}, [&](const TRarEntry& entry) { listing.Add(entry); }, quiet);
    listing.DeriveDirectories();
    static const QLocale russian(QLocale::Russian, QLocale::Russia);
    const auto pages = ArchivePageFiles(listing, "d:\\x\\a.rar", 0x5A8C6B21, russian);
    fuzz::Check(pages.size() == listing.Directories().size() + 2, "a directory without its page");

    const fs::path out = fuzz::ScratchFolder() / "out";
    const fs::path destination = out / "dest";
    std::error_code ec;
    fs::remove_all(out, ec);
    fs::create_directories(destination, ec);
    RunRarPass({archive, "d:\\x\\a.rar", true, destination}, [](const TRarEntry&) {}, quiet);
    for (const auto& entry : fs::directory_iterator(out, ec))
        fuzz::Check(entry.path() == destination, "an archive wrote outside its extraction folder");
    return 0;
}
