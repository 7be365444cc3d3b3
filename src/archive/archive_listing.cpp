#include "archive/archive_listing.h"

#include <algorithm>

#include "platform/cp1251.h"

namespace vitrina {

namespace {

std::string WithoutTrailingSeparator(std::string name) {
    while (!name.empty() && name.back() == '\\') name.pop_back();
    return name;
}

bool Listed(const TListDir& dirs, const std::string& name) {
    return std::any_of(dirs.begin(), dirs.end(), [&](const RListDir& d) { return SameText1251(d.name, name); });
}

}  // namespace

std::string ArchiveNameOf(const std::string& name) {
    const auto slash = name.rfind('\\');
    return slash == std::string::npos ? name : name.substr(slash + 1);
}

std::string ArchiveFolderOf(const std::string& name) {
    const auto slash = name.rfind('\\');
    return slash == std::string::npos ? std::string() : name.substr(0, slash);
}

void TArchiveListing::Add(const TRarEntry& entry) {
    if (entry.directory)
        dirs_.push_back({WithoutTrailingSeparator(entry.name), {}, entry.time});
    else
        files_.push_back({entry.name, entry.size, entry.time});
}

void TArchiveListing::DeriveDirectories() {
    if (dirs_.size() != 1) return;
    for (const RListFiles& f : files_) {
        const std::string folder = ArchiveFolderOf(f.name);
        if (!Listed(dirs_, folder)) dirs_.push_back({folder, {}, f.time});
    }
    // The list grows while it is walked: parents of parents come in turn.
    for (std::size_t i = 0; i < dirs_.size(); ++i) {
        const std::string parent = ArchiveFolderOf(dirs_[i].name);
        if (!Listed(dirs_, parent)) dirs_.push_back({parent, {}, dirs_[i].time});
    }
}

std::vector<RInfoFiles> TArchiveListing::Pages(const std::string& pagePrefix, const std::string& pageSuffix) const {
    TListDir dirs = dirs_;
    for (std::size_t n = 0; n < dirs.size(); ++n) dirs[n].page = pagePrefix + std::to_string(n) + pageSuffix;
    std::vector<RInfoFiles> pages;
    pages.reserve(dirs.size());
    for (std::size_t n = 0; n < dirs.size(); ++n) {
        const RListDir& d = dirs[n];
        RInfoFiles page{d.name, d.page, {}, {}};
        if (n > 0) {
            // A parent the archive does not list leads to the root.
            const std::string parent = ArchiveFolderOf(d.name);
            const auto up = std::find_if(dirs.begin(), dirs.end(), [&](const RListDir& p) { return SameText1251(p.name, parent); });
            page.dirs.push_back({"..", up == dirs.end() ? dirs[0].page : up->page, 0});
        }
        for (std::size_t m = 1; m < dirs.size(); ++m)
            if (m != n && SameText1251(ArchiveFolderOf(dirs[m].name), d.name))
                page.dirs.push_back({ArchiveNameOf(dirs[m].name), dirs[m].page, dirs[m].time});
        for (const RListFiles& f : files_)
            if (SameText1251(WithoutTrailingSeparator(ArchiveFolderOf(f.name)), d.name)) page.files.push_back(f);
        pages.push_back(std::move(page));
    }
    return pages;
}

}  // namespace vitrina
