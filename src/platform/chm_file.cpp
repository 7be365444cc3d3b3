#include "platform/chm_file.h"

#include <chm_lib.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <utility>

#include "platform/cp1251.h"

namespace vitrina {
namespace fs = std::filesystem;
namespace {

bool ValidUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        const std::size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        if (n == 0 || i + n > text.size()) return false;
        for (std::size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
        i += n;
    }
    return true;
}

std::uint16_t Word(const std::string& bytes, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) | (static_cast<unsigned char>(bytes[at + 1]) << 8));
}

bool WriteAll(int fd, const unsigned char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n <= 0) return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// Makes the folders of a relative name below root, one at a time, refusing anything that is
// there already and is not a real folder.
bool MakeFolders(const fs::path& root, const std::string& name) {
    fs::path at = root;
    const fs::path relative(name);
    for (auto part = relative.begin(); part != relative.end() && std::next(part) != relative.end(); ++part) {
        at /= *part;
        if (::mkdir(at.c_str(), 0755) != 0 && errno != EEXIST) return false;
        struct stat st {};
        if (::lstat(at.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
    }
    return true;
}

}  // namespace

std::optional<std::string> TChmFile::SafeName(std::string_view name) {
    if (name.empty() || name.front() != '/' || name.size() > 400) return std::nullopt;
    std::string text(name.substr(1));
    if (!ValidUtf8(text)) text = Cp1251ToUtf8(text);
    std::size_t start = 0;
    int depth = 0;
    while (true) {
        const std::size_t end = text.find('/', start);
        const std::string_view part = std::string_view(text).substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (part.empty() || part == "." || part == ".." || ++depth > 16) return std::nullopt;
        for (char c : part)
            if (static_cast<unsigned char>(c) < 0x20 || c == '\\' || c == ':' || c == 0x7F) return std::nullopt;
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return text;
}

std::optional<TChmFile> TChmFile::Open(const fs::path& file) {
    struct stat st {};
    // A folder, pipe or device is no help file (and a pipe would block chmlib).
    if (::stat(file.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    chmFile* handle = chm_open(file.c_str());
    if (!handle) return std::nullopt;
    TChmFile chm(handle);
    chm.ReadDirectory();
    return chm;
}

TChmFile::TChmFile(TChmFile&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)),
      entries_(std::move(other.entries_)),
      names_(std::move(other.names_)),
      defaultTopic_(std::move(other.defaultTopic_)) {}

TChmFile::~TChmFile() {
    if (handle_) chm_close(handle_);
}

void TChmFile::ReadDirectory() {
    auto collect = [](chmFile*, chmUnitInfo* ui, void* context) -> int {
        auto* self = static_cast<TChmFile*>(context);
        if (self->entries_.size() >= 200000) return CHM_ENUMERATOR_SUCCESS;
        if (auto name = SafeName(ui->path)) self->entries_.push_back({*name, ui->path, ui->length});
        return CHM_ENUMERATOR_CONTINUE;
    };
    chm_enumerate(handle_, CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES, collect, this);
    std::sort(entries_.begin(), entries_.end(), [](const TEntry& a, const TEntry& b) { return a.name < b.name; });
    // Names that differ only in letter case would land on one file; the first stays.
    entries_.erase(std::unique(entries_.begin(), entries_.end(),
                               [](const TEntry& a, const TEntry& b) { return SameText1251(a.name, b.name); }),
                   entries_.end());
    for (const TEntry& entry : entries_) names_.push_back(entry.name);

    // The system record: 16-bit code and length, then the data; code 2 names the default page.
    const std::string system = ReadObject("/#SYSTEM", 1u << 20);
    for (std::size_t at = 4; at + 4 <= system.size();) {
        const std::uint16_t code = Word(system, at), length = Word(system, at + 2);
        at += 4;
        if (at + length > system.size()) break;
        if (code == 2) {
            std::string topic = system.substr(at, length);
            topic = topic.substr(0, topic.find('\0'));
            if (auto name = SafeName("/" + topic); name && std::count(names_.begin(), names_.end(), *name))
                defaultTopic_ = *name;
            break;
        }
        at += length;
    }
}

std::string TChmFile::ReadObject(const std::string& path, std::uint64_t limit) const {
    chmUnitInfo ui{};
    if (chm_resolve_object(handle_, path.c_str(), &ui) != CHM_RESOLVE_SUCCESS || ui.length > limit) return {};
    std::string bytes(ui.length, '\0');
    const LONGINT64 got = chm_retrieve_object(handle_, &ui, reinterpret_cast<unsigned char*>(bytes.data()), 0,
                                              static_cast<LONGINT64>(ui.length));
    if (got < 0 || static_cast<std::uint64_t>(got) != ui.length) return {};
    return bytes;
}

TChmFile::TResult TChmFile::ExtractTo(const fs::path& folder, const TChmLimits& limits) const {
    TResult result;
    std::uint64_t total = 0;
    std::vector<unsigned char> buffer(1u << 16);
    for (const TEntry& entry : entries_) {
        if (entry.length > limits.maxFileBytes) {
            result.complete = false;
            continue;
        }
        if (result.written >= limits.maxFiles || total + entry.length > limits.maxTotalBytes) {
            result.complete = false;
            break;
        }
        if (!MakeFolders(folder, entry.name)) {
            result.complete = false;
            continue;
        }
        chmUnitInfo ui{};
        if (chm_resolve_object(handle_, entry.path.c_str(), &ui) != CHM_RESOLVE_SUCCESS) {
            result.complete = false;
            continue;
        }
        const fs::path target = folder / entry.name;
        const int fd = ::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (fd < 0) {
            result.complete = false;
            continue;
        }
        bool ok = true;
        for (std::uint64_t at = 0; ok && at < ui.length;) {
            const auto want = static_cast<LONGINT64>(std::min<std::uint64_t>(buffer.size(), ui.length - at));
            const LONGINT64 got = chm_retrieve_object(handle_, &ui, buffer.data(), at, want);
            ok = got == want && WriteAll(fd, buffer.data(), static_cast<std::size_t>(got));
            at += static_cast<std::uint64_t>(want);
        }
        ::close(fd);
        if (!ok) {
            ::unlink(target.c_str());
            result.complete = false;
            continue;
        }
        total += ui.length;
        ++result.written;
    }
    return result;
}

}  // namespace vitrina
