#include "resources/document_reach.h"

#include <system_error>

#include "resources/drive_map.h"
#include "resources/windows_path.h"

namespace fs = std::filesystem;

namespace vitrina {
namespace {

bool IsBelow(const fs::path& path, const fs::path& folder) {
    auto p = path.begin();
    for (auto f = folder.begin(); f != folder.end(); ++f, ++p) {
        if (f->empty()) continue;  // a trailing separator
        if (p == path.end() || *p != *f) return false;
    }
    return true;
}

std::optional<fs::path> Canonical(const std::optional<fs::path>& host) {
    if (!host) return std::nullopt;
    std::error_code ec;
    fs::path path = fs::weakly_canonical(*host, ec);
    if (ec) return std::nullopt;
    return path;
}

char DriveLetter(std::string_view path) {
    if (path.size() < 2 || path[1] != ':') return 0;
    const char c = path[0];
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

}  // namespace

void TDocumentReach::AllowFolder(std::string_view windowsFolder) {
    if (DriveLetter(windowsFolder) == 0) return;
    const auto folder = Canonical(drives_.ToHostPath(windowsFolder));
    // The host root would open everything again.
    if (!folder || folder->relative_path().empty()) return;
    std::lock_guard lock(mutex_);
    for (const fs::path& known : folders_)
        if (known == *folder) return;
    folders_.push_back(*folder);
}

void TDocumentReach::AllowFolderOf(std::string_view windowsFile) { AllowFolder(FolderPart(windowsFile)); }

bool TDocumentReach::Allows(std::string_view windowsPath) const {
    const char drive = DriveLetter(windowsPath);
    // The disc's own names; the drive map keeps them inside the disc, links included.
    if (drive == 'd' || drive == 0) return true;
    if (drive != 'z' && drive != 'c') return false;
    const auto file = Canonical(drives_.ToHostPath(windowsPath));
    if (!file) return false;
    std::lock_guard lock(mutex_);
    // Nor a hidden file or folder below the one handed in (the reader's ".git", ".ssh").
    for (const fs::path& folder : folders_)
        if (IsBelow(*file, folder) && !HasHiddenPart(file->lexically_relative(folder))) return true;
    return false;
}

}  // namespace vitrina
