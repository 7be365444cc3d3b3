#include "archive/rar_archive.h"

#include <archive.h>
#include <archive_entry.h>
#include <locale.h>

#include <zlib.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "archive/rar_pass.h"
#include "archive/rar_result.h"
#include "archive/rar_volumes.h"
#include "platform/regular_file.h"
#include "resources/windows_path.h"

namespace vitrina {

namespace fs = std::filesystem;

namespace {

// libarchive converts names through the thread's locale: Unicode RAR names and the CP866 ones
// come out as UTF-8 only in a UTF-8 locale. Set for this thread around each call.
class TUtf8Locale {
public:
    TUtf8Locale() {
        static const locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
        if (utf8) previous_ = uselocale(utf8);
    }
    ~TUtf8Locale() {
        if (previous_) uselocale(previous_);
    }
    TUtf8Locale(const TUtf8Locale&) = delete;
    TUtf8Locale& operator=(const TUtf8Locale&) = delete;

private:
    locale_t previous_ = nullptr;
};

constexpr std::size_t kBlockSize = 64 * 1024;

}  // namespace

struct TRarArchive::TState {
    archive* reader = nullptr;
    archive* disk = nullptr;  // extract mode
    archive_entry* entry = nullptr;
    TRarVolumes volumes;
    TRarVolumeCallback callback;
    int firstStatus = ARCHIVE_OK;  // the first header, read at the open
    bool firstPending = true;
    bool announced = false;
    bool gaveUp = false;
    std::optional<std::uint32_t> storedCrc;  // the current member's, when libarchive leaves it unchecked

    ~TState() {
        if (reader) archive_read_free(reader);
        if (disk) archive_write_free(disk);
    }

    bool RarFormat() const {
        const int base = archive_format(reader) & ARCHIVE_FORMAT_BASE_MASK;
        return base == ARCHIVE_FORMAT_RAR || base == ARCHIVE_FORMAT_RAR_V5;
    }
    TRarResult Result(TArchiveStage stage, archive* a, int status) const {
        return RarResultOf(stage, ClassifyArchiveFailure(status, archive_errno(a), RarFormat()));
    }
    // The volumes after the first are all opened at once: the caller hears of each in turn.
    bool Announce() {
        if (announced) return true;
        announced = true;
        for (std::size_t i = 1; i < volumes.present.size(); ++i)
            if (callback && callback(volumes.present[i], kRarVolumeNotify) == 0) return false;
        return true;
    }
    // The read ran into the end of the last volume present while the archive goes on: the
    // caller is asked for the next one, and no answer can bring it to an open reader.
    bool GiveUpForMissingVolume() {
        if (volumes.missing.empty()) return false;
        if (!gaveUp && callback) callback(volumes.missing, kRarVolumeAsk);
        gaveUp = true;
        return true;
    }
    int Skip() {
        const int status = archive_read_data_skip(reader);
        const TRarResult result = Result(TArchiveStage::Data, reader, status);
        if (result != kRarSuccess && GiveUpForMissingVolume()) return kRarOpenError;
        return result;
    }
    int Extract(const fs::path& destPath);
    int CopyData();
    std::optional<std::uint32_t> StoredCrc() const;
};

// libarchive 3.6.2 hands out a stored member without checking its CRC: the header is read
// again from where libarchive says it starts, so that the copy can be checked.
std::optional<std::uint32_t> TRarArchive::TState::StoredCrc() const {
    // Positions across volumes are not the volumes' own: single archives only.
    if (!RarFormat() || volumes.present.size() != 1) return std::nullopt;
    const la_int64_t position = archive_read_header_position(reader);
    if (position < 0) return std::nullopt;
    return StoredMemberCrc(volumes.present.front(), static_cast<std::uint64_t>(position));
}

TRarArchive::TRarArchive(std::unique_ptr<TState> state) : state_(std::move(state)) {}

TRarArchive::~TRarArchive() { Close(); }

std::unique_ptr<TRarArchive> TRarArchive::Open(TRarOpenRecord& record) {
    TUtf8Locale locale;
    // libarchive opens the volumes blocking: a pipe at the archive's place would hang it.
    if (!TRegularFile::Open(record.archiveName).IsOpen()) {
        record.openResult = kRarOpenError;
        return nullptr;
    }
    auto state = std::make_unique<TState>();
    state->volumes = FindRarVolumes(record.archiveName);
    state->reader = archive_read_new();
    if (!state->reader) {
        record.openResult = kRarNoMemory;
        return nullptr;
    }
    archive_read_support_format_rar(state->reader);
    archive_read_support_format_rar5(state->reader);
    // Names without the Unicode flag are in the DOS code page.
    archive_read_set_format_option(state->reader, "rar", "hdrcharset", "CP866");
    std::vector<std::string> names;
    for (const fs::path& volume : state->volumes.present) names.push_back(volume.string());
    std::vector<const char*> list;
    for (const std::string& name : names) list.push_back(name.c_str());
    list.push_back(nullptr);
    int status = archive_read_open_filenames(state->reader, list.data(), kBlockSize);
    if (status != ARCHIVE_OK) {
        record.openResult = state->Result(TArchiveStage::Open, state->reader, status);
        return nullptr;
    }
    // libarchive knows the file for a RAR archive only once it has read a header.
    state->firstStatus = archive_read_next_header(state->reader, &state->entry);
    record.openResult = state->Result(TArchiveStage::Open, state->reader, state->firstStatus);
    if (record.openResult != kRarSuccess) return nullptr;
    if (record.openMode == kRarOpenExtract) {
        state->disk = archive_write_disk_new();
        if (!state->disk) {
            record.openResult = kRarNoMemory;
            return nullptr;
        }
        // Absolute paths stay allowed: the destination is joined in front of every member
        // name, which IsSafeMemberName has checked first.
        archive_write_disk_set_options(state->disk, ARCHIVE_EXTRACT_TIME | ARCHIVE_EXTRACT_SECURE_NODOTDOT |
                                                        ARCHIVE_EXTRACT_SECURE_SYMLINKS);
    }
    return std::unique_ptr<TRarArchive>(new TRarArchive(std::move(state)));
}

void TRarArchive::SetCallback(TRarVolumeCallback callback) { state_->callback = std::move(callback); }

int TRarArchive::ReadHeader(TRarHeaderRecord& header) {
    TUtf8Locale locale;
    TState& s = *state_;
    if (s.gaveUp || !s.Announce()) {
        s.gaveUp = true;
        return kRarOpenError;
    }
    int status = s.firstStatus;
    if (!s.firstPending) status = archive_read_next_header(s.reader, &s.entry);
    s.firstPending = false;
    const TRarResult result = s.Result(TArchiveStage::Header, s.reader, status);
    if (result != kRarSuccess) {
        s.entry = nullptr;
        return s.GiveUpForMissingVolume() ? kRarOpenError : result;
    }
    const char* name = archive_entry_pathname_utf8(s.entry);
    if (!name) name = archive_entry_pathname(s.entry);
    header.fileName = name ? name : "";
    s.storedCrc = s.disk ? s.StoredCrc() : std::nullopt;
    header.flags = archive_entry_filetype(s.entry) == AE_IFDIR ? kRarDirectoryFlags : 0;
    header.unpSize = archive_entry_size_is_set(s.entry)
                         ? static_cast<std::uint32_t>(std::clamp<la_int64_t>(archive_entry_size(s.entry), 0, UINT32_MAX))
                         : 0;
    header.fileTime = archive_entry_mtime_is_set(s.entry) ? DosDateTime(archive_entry_mtime(s.entry)) : 0;
    return kRarSuccess;
}

int TRarArchive::ProcessFile(TRarOperation operation, const fs::path& destPath) {
    TUtf8Locale locale;
    TState& s = *state_;
    if (s.gaveUp) return kRarOpenError;
    if (!s.entry) return kRarBadData;
    if (operation != kRarExtract || !s.disk) return s.Skip();
    return s.Extract(destPath);
}

int TRarArchive::TState::Extract(const fs::path& destPath) {
    const char* utf8 = archive_entry_pathname_utf8(entry);
    const std::string name = utf8 ? utf8 : "";
    const auto type = archive_entry_filetype(entry);
    // Links could point a later member outside; only plain files and folders are written.
    const bool plain = (type == AE_IFREG || type == AE_IFDIR) && !archive_entry_hardlink(entry) && !archive_entry_symlink(entry);
    if (!plain || !IsSafeMemberName(name)) return kRarCreateError;
    std::error_code ec;
    fs::create_directories(destPath, ec);
    // Without links in the destination itself libarchive's symlink check holds along the whole path.
    const fs::path folder = fs::weakly_canonical(destPath, ec);
    if (ec) return kRarCreateError;
    fs::path relative;
    for (const std::string& part : PathComponents(name))
        if (!part.empty() && part != ".") relative /= part;
    if (relative.empty()) return kRarCreateError;
    const fs::path path = folder / relative;

    archive_entry* out = archive_entry_new();
    if (!out) return kRarNoMemory;
    archive_entry_set_pathname(out, path.c_str());
    archive_entry_set_filetype(out, type);
    archive_entry_set_perm(out, type == AE_IFDIR ? 0755 : 0644);
    if (archive_entry_mtime_is_set(entry)) archive_entry_set_mtime(out, archive_entry_mtime(entry), 0);
    if (type == AE_IFREG && archive_entry_size_is_set(entry)) archive_entry_set_size(out, archive_entry_size(entry));
    int status = archive_write_header(disk, out);
    archive_entry_free(out);
    TRarResult result = Result(TArchiveStage::Create, disk, status);
    if (result != kRarSuccess) return result;
    if (type == AE_IFREG) {
        result = static_cast<TRarResult>(CopyData());
        if (result != kRarSuccess) {
            archive_write_finish_entry(disk);
            // A member that failed its checksum or could not be read whole is no good data.
            fs::remove(path, ec);
            return result;
        }
    }
    status = archive_write_finish_entry(disk);
    return Result(TArchiveStage::Close, disk, status);
}

int TRarArchive::TState::CopyData() {
    uLong crc = crc32(0, nullptr, 0);
    for (;;) {
        const void* block = nullptr;
        std::size_t size = 0;
        la_int64_t offset = 0;
        const int status = archive_read_data_block(reader, &block, &size, &offset);
        if (status == ARCHIVE_EOF) return storedCrc && *storedCrc != crc ? kRarBadData : kRarSuccess;
        const TRarResult read = Result(TArchiveStage::Data, reader, status);
        if (read != kRarSuccess) return GiveUpForMissingVolume() ? kRarOpenError : read;
        if (storedCrc) crc = crc32(crc, static_cast<const Bytef*>(block), static_cast<uInt>(size));
        const la_ssize_t written = archive_write_data_block(disk, block, size, offset);
        if (written < ARCHIVE_OK) return Result(TArchiveStage::Write, disk, static_cast<int>(written));
    }
}

int TRarArchive::Close() {
    if (!state_) return kRarSuccess;
    TUtf8Locale locale;
    int result = kRarSuccess;
    // Closing the disk writer sets the folders' times, which may fail.
    if (state_->disk && archive_write_close(state_->disk) != ARCHIVE_OK) result = kRarCloseError;
    state_.reset();
    return result;
}

bool IsSafeMemberName(std::string_view name) {
    if (name.empty() || IsPathSeparator(name.front()) || HasDrive(name)) return false;
    for (const std::string& part : PathComponents(name))
        if (part == "..") return false;
    return true;
}

std::uint32_t DosDateTime(std::time_t moment) {
    std::tm local{};
    if (!localtime_r(&moment, &local)) return 0;
    const int year = local.tm_year + 1900;
    if (year < 1980 || year > 2107) return 0;
    return static_cast<std::uint32_t>(year - 1980) << 25 | static_cast<std::uint32_t>(local.tm_mon + 1) << 21 |
           static_cast<std::uint32_t>(local.tm_mday) << 16 | static_cast<std::uint32_t>(local.tm_hour) << 11 |
           static_cast<std::uint32_t>(local.tm_min) << 5 | static_cast<std::uint32_t>(local.tm_sec / 2);
}

}  // namespace vitrina
