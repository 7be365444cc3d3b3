#include "archive/rar_pass.h"

#include "archive/rar_archive.h"
#include "platform/cp1251.h"
#include "resources/windows_path.h"

namespace vitrina {

namespace {

std::string OpenMessage(int result, const std::string& archiveName) {
    switch (result) {
        case kRarNoMemory: return "Not enough memory to initialize data structures";
        case kRarBadData: return archiveName + ": archive header broken";
        case kRarBadArchive: return Utf8ToCp1251("Файл ") + archiveName + Utf8ToCp1251(" не является RAR архивом.");
        case kRarOpenError: return "Cannot open " + archiveName;
        default: return {};
    }
}

std::string ProcessMessage(int result, const std::string& name) {
    switch (result) {
        case kRarBadData: return Utf8ToCp1251("У файла ") + name + Utf8ToCp1251(" ошика контрольной суммы.");
        case kRarBadArchive: return "Volume is not valid RAR archive";
        case kRarUnknownFormat: return "Unknown archive format";
        case kRarCreateError: return "File " + name + " create error";
        case kRarCloseError: return "File " + name + " close error";
        case kRarReadError: return "Read error";
        case kRarWriteError: return "Write error";
        default: return {};
    }
}

// The name as the reader knows it: 1251, "\" between the components.
std::string EntryName(const std::string& utf8) { return BackslashPath(Utf8ToCp1251(utf8)); }

}  // namespace

bool RunRarPass(const TRarPass& pass, const std::function<void(const TRarEntry&)>& onEntry,
                const std::function<void(const std::string& message)>& onMessage) {
    bool shown = false;
    const auto show = [&](const std::string& message) {
        shown = true;
        onMessage(message);
    };
    TRarOpenRecord open{pass.archive, pass.extract ? kRarOpenExtract : kRarOpenList};
    auto archive = TRarArchive::Open(open);
    if (open.openResult != kRarSuccess || !archive) {
        show(OpenMessage(open.openResult, pass.archiveName));
        return false;
    }
    archive->SetCallback([&](const std::filesystem::path& volume, TRarVolumeMode mode) {
        if (mode != kRarVolumeAsk) return 1;
        // The volume named beside the archive, the way the reader knows the archive.
        show(Utf8ToCp1251("Том ") + FolderPart(pass.archiveName) + Utf8ToCp1251(volume.filename().string()) +
             Utf8ToCp1251(" не найден."));
        return 0;
    });
    const TRarOperation operation = pass.extract ? kRarExtract : kRarSkip;
    TRarHeaderRecord header;
    std::string lastName;
    int result;
    while ((result = archive->ReadHeader(header)) == kRarSuccess) {
        TRarEntry entry;
        entry.name = EntryName(header.fileName);
        entry.size = header.unpSize;
        entry.time = header.fileTime;
        entry.directory = (header.flags & kRarDirectoryFlags) == kRarDirectoryFlags;
        lastName = entry.name;
        onEntry(entry);
        const int processed = archive->ProcessFile(operation, pass.destination);
        if (processed == kRarOpenError) break;
        if (processed >= kRarBadData && processed <= kRarWriteError) {
            show(ProcessMessage(processed, entry.name));
            // A member's own fault leaves the rest readable; a failing archive or disk does not.
            if (processed == kRarBadArchive || processed == kRarUnknownFormat || processed == kRarReadError ||
                processed == kRarWriteError)
                break;
        }
    }
    if (result == kRarBadData) show(Utf8ToCp1251("У файла: ") + lastName + Utf8ToCp1251(" испорчен заголовок."));
    archive->Close();
    return !shown;
}

}  // namespace vitrina
