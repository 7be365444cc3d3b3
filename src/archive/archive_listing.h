#pragma once
// What an archive's pages show: its directories (the root first) and its files, and for each
// directory the rows of its page.
#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

#include "archive/rar_pass.h"

namespace vitrina {

struct RListDir {
    std::string name;  // 1251, "\" separators, no trailing "\"; empty for the root
    std::string page;  // the listing page's file name
    std::uint32_t time = 0;
};
using TListDir = std::vector<RListDir>;

struct RListFiles {
    std::string name;  // the path inside the archive
    std::uint32_t size = 0;
    std::uint32_t time = 0;
};

struct RInfoFiles {
    std::string name;
    std::string page;
    TListDir dirs;  // ".." first (no time), then the subdirectories
    std::vector<RListFiles> files;
};

class TArchiveListing {
public:
    // Entries as a list pass hands them, in archive order; a directory listed already (ignoring
    // case) is not listed again.
    void Add(const TRarEntry& entry);
    // The directories of files when the archive names none of its own, and their parents.
    void DeriveDirectories();
    // One page per directory, in list order; directory n has the page prefix + n + suffix.
    std::vector<RInfoFiles> Pages(const std::string& pagePrefix, const std::string& pageSuffix) const;

    const TListDir& Directories() const { return dirs_; }
    const std::vector<RListFiles>& Files() const { return files_; }

private:
    // False when a directory of that name (ignoring case) is listed already.
    bool AddDirectory(RListDir dir);

    TListDir dirs_{RListDir{}};
    std::unordered_set<std::string> dirKeys_{std::string()};
    std::vector<RListFiles> files_;
};

// The last part of a path inside the archive (after its last "\"), and the folder part (up to
// it), or empty. Only "\" separates there.
std::string ArchiveNameOf(const std::string& name);
std::string ArchiveFolderOf(const std::string& name);

}  // namespace vitrina
