#include "search/disc_word_index.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <system_error>

#include <QCryptographicHash>

#include <unistd.h>

#include "html/visible_text.h"
#include "platform/cp1251.h"
#include "resources/compr_stream.h"
#include "resources/drive_map.h"
#include "resources/store.h"
#include "resources/windows_path.h"
#include "search/document_scan.h"

namespace vitrina {
namespace fs = std::filesystem;

namespace {

void AddFileStamp(QCryptographicHash& hash, const fs::path& file) {
    std::error_code ec;
    const auto size = fs::file_size(file, ec);
    const auto time = fs::last_write_time(file, ec);
    const std::string stamp = file.filename().string() + '|' + std::to_string(ec ? 0 : size) + '|' +
                              std::to_string(ec ? 0 : time.time_since_epoch().count()) + '\n';
    hash.addData(QByteArrayView(stamp.data(), qsizetype(stamp.size())));
}

std::string Hex(QCryptographicHash& hash) { return hash.result().toHex().toStdString(); }

}  // namespace

TDiscWordIndex::TDiscWordIndex(const TDocumentFiles& files, const fs::path& cacheRoot) : files_(files) {
    const TDriveMap& drives = files.Drives();
    QCryptographicHash key(QCryptographicHash::Sha1);
    key.addData(QByteArrayView("format " + QByteArray::number(TWordIndex::kFormat) + '\n'));
    if (const auto store = drives.ToHostPath(drives.ProgramFolder() + "interface.dat")) AddFileStamp(key, *store);
    for (const TStore::TEntry& entry : files.Store().Entries()) {
        const std::string line = entry.name + '|' + std::to_string(entry.offset) + '|' +
                                 std::to_string(entry.storedSize) + '|' + std::to_string(entry.unpackedSize) + '|' +
                                 std::to_string(entry.kind) + '\n';
        key.addData(QByteArrayView(line.data(), qsizetype(line.size())));
    }
    // The disc's own index files: files.idx, the keyword index, the thesaurus.
    if (const auto program = drives.ToHostPath(drives.ProgramFolder())) {
        std::error_code ec;
        std::vector<fs::path> indexFiles;
        for (fs::directory_iterator it(*program, ec), end; !ec && it != end; it.increment(ec)) {
            const std::string name = LowerAscii(it->path().filename().string());
            if (name.size() > 4 && name.ends_with(".idx") && it->is_regular_file(ec)) indexFiles.push_back(it->path());
        }
        std::sort(indexFiles.begin(), indexFiles.end());
        for (const fs::path& file : indexFiles) AddFileStamp(key, file);
    }
    key_ = Hex(key);

    QCryptographicHash disc(QCryptographicHash::Sha1);
    std::error_code ec;
    const std::string root = fs::weakly_canonical(drives.DiscRoot(), ec).string();
    disc.addData(QByteArrayView(root.data(), qsizetype(root.size())));
    const std::string name = Hex(disc).substr(0, 20);
    folder_ = cacheRoot / "words" / name;
    static std::atomic<unsigned> builds{0};
    building_ = cacheRoot / "words" /
                (name + ".building-" + std::to_string(::getpid()) + '-' + std::to_string(builds.fetch_add(1)));
}

TWordIndexSource TDiscWordIndex::Provide(TWordIndex& index, const TWordIndexProgress& progress) const {
    if (index.Open(folder_, key_)) return TWordIndexSource::Reused;
    const TWordIndexSource built = Build(progress);
    if (built != TWordIndexSource::Built) {
        std::error_code ec;
        fs::remove_all(building_, ec);
        return built;
    }
    return index.Open(folder_, key_) ? TWordIndexSource::Built : TWordIndexSource::Failed;
}

TWordIndexSource TDiscWordIndex::Build(const TWordIndexProgress& progress) const {
    std::error_code ec;
    fs::remove_all(building_, ec);
    fs::create_directories(building_.parent_path(), ec);
    if (ec) return TWordIndexSource::Failed;
    try {
        const TDriveMap& drives = files_.Drives();
        const TDynamicStringArray documents =
            IndexScanDocuments(files_.Store().ListFiles(), ContentFolderOf(drives.ProgramFolder()), {}, true);
        TWordIndexWriter writer(building_);
        std::string bytes, converted;
        for (std::size_t i = 0; i < documents.size(); ++i) {
            if (progress && !progress(i, documents.size())) return TWordIndexSource::Stopped;
            if (!files_.Read(documents[i], bytes)) continue;
            const std::string_view page = PageAs1251(bytes, converted);
            std::string title = ExtractTitle(page);
            if (title.empty()) title = FileNamePart(documents[i]);
            writer.Add(documents[i], title, VisibleText(page));
            if ((i + 1) % kCommitEvery == 0) writer.Commit();
        }
        writer.Finish(key_);
    } catch (const std::exception&) {
        return TWordIndexSource::Failed;
    }
    // The finished database takes the old one's place; a copy another process finished first
    // is as good.
    fs::remove_all(folder_, ec);
    fs::rename(building_, folder_, ec);
    if (ec) fs::remove_all(building_, ec);
    return TWordIndexSource::Built;
}

}  // namespace vitrina
