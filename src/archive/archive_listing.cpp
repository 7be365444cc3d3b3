#include "archive/archive_listing.h"

#include <unordered_map>

#include "platform/cp1251.h"

namespace vitrina {

namespace {

std::string WithoutTrailingSeparator(std::string name) {
    while (!name.empty() && name.back() == '\\') name.pop_back();
    return name;
}

// Names inside an archive compare without regard to case.
std::string Key(const std::string& name) { return LowerCase1251(name); }

}  // namespace

std::string ArchiveNameOf(const std::string& name) {
    const auto slash = name.rfind('\\');
    return slash == std::string::npos ? name : name.substr(slash + 1);
}

std::string ArchiveFolderOf(const std::string& name) {
    const auto slash = name.rfind('\\');
    return slash == std::string::npos ? std::string() : name.substr(0, slash);
}

bool TArchiveListing::AddDirectory(RListDir dir) {
    if (!dirKeys_.insert(Key(dir.name)).second) return false;
    dirs_.push_back(std::move(dir));
    return true;
}

void TArchiveListing::Add(const TRarEntry& entry) {
    // A directory named twice gets one page: its rows would otherwise stand on every copy.
    if (entry.directory)
        AddDirectory({WithoutTrailingSeparator(entry.name), {}, entry.time});
    else
        files_.push_back({entry.name, entry.size, entry.time});
}

void TArchiveListing::DeriveDirectories() {
    if (dirs_.size() != 1) return;
    for (const RListFiles& f : files_) AddDirectory({ArchiveFolderOf(f.name), {}, f.time});
    // The list grows while it is walked: parents of parents come in turn.
    for (std::size_t i = 0; i < dirs_.size(); ++i) AddDirectory({ArchiveFolderOf(dirs_[i].name), {}, dirs_[i].time});
}

std::vector<RInfoFiles> TArchiveListing::Pages(const std::string& pagePrefix, const std::string& pageSuffix) const {
    TListDir dirs = dirs_;
    for (std::size_t n = 0; n < dirs.size(); ++n) dirs[n].page = pagePrefix + std::to_string(n) + pageSuffix;
    // Each directory and file grouped under its folder once, so that a listing of many entries
    // costs no more than its entries.
    std::unordered_map<std::string, std::size_t> dirByKey;
    std::unordered_map<std::string, std::vector<std::size_t>> subdirsByKey;
    std::unordered_map<std::string, std::vector<std::size_t>> filesByKey;
    for (std::size_t n = 0; n < dirs.size(); ++n) {
        dirByKey.try_emplace(Key(dirs[n].name), n);
        if (n > 0) subdirsByKey[Key(ArchiveFolderOf(dirs[n].name))].push_back(n);
    }
    for (std::size_t f = 0; f < files_.size(); ++f)
        filesByKey[Key(WithoutTrailingSeparator(ArchiveFolderOf(files_[f].name)))].push_back(f);
    const auto at = [](const auto& map, const std::string& key) -> const std::vector<std::size_t>& {
        static const std::vector<std::size_t> none;
        const auto found = map.find(key);
        return found == map.end() ? none : found->second;
    };

    std::vector<RInfoFiles> pages;
    pages.reserve(dirs.size());
    for (std::size_t n = 0; n < dirs.size(); ++n) {
        const RListDir& d = dirs[n];
        const std::string key = Key(d.name);
        RInfoFiles page{d.name, d.page, {}, {}};
        if (n > 0) {
            // A parent the archive does not list leads to the root.
            const auto up = dirByKey.find(Key(ArchiveFolderOf(d.name)));
            page.dirs.push_back({"..", up == dirByKey.end() ? dirs[0].page : dirs[up->second].page, 0});
        }
        for (const std::size_t m : at(subdirsByKey, key))
            if (m != n) page.dirs.push_back({ArchiveNameOf(dirs[m].name), dirs[m].page, dirs[m].time});
        for (const std::size_t f : at(filesByKey, key)) page.files.push_back(files_[f]);
        pages.push_back(std::move(page));
    }
    return pages;
}

}  // namespace vitrina
