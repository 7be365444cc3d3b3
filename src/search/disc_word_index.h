#pragma once
// The word index of a disc, kept in the reader's cache folder: opened when it is whole and was
// built from the disc's present store and index files, else built again from the store's pages.
#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>

#include "search/word_index.h"

namespace vitrina {

class TDocumentFiles;

// Told how far a build has come; false stops it.
using TWordIndexProgress = std::function<bool(std::size_t done, std::size_t total)>;

enum class TWordIndexSource { Reused, Built, Stopped, Failed };

class TDiscWordIndex {
public:
    // Reads what the key is made of (the store's and the index files' sizes and times, a hash of
    // the store's table) now. The database lives in a folder of its own below cacheRoot.
    TDiscWordIndex(const TDocumentFiles& files, const std::filesystem::path& cacheRoot);

    const std::string& Key() const { return key_; }
    const std::filesystem::path& Folder() const { return folder_; }
    // Where a build in progress writes; readable (as far as it has come) once progress was told
    // of the first kCommitEvery documents.
    const std::filesystem::path& BuildingFolder() const { return building_; }
    static constexpr std::size_t kCommitEvery = 500;

    // Opens index on the current database, building it first when needed (on the calling
    // thread, telling progress). A database that does not open, is of another format or key, is
    // built again. Failed when the cache folder cannot be written.
    TWordIndexSource Provide(TWordIndex& index, const TWordIndexProgress& progress = {}) const;

private:
    TWordIndexSource Build(const TWordIndexProgress& progress) const;

    const TDocumentFiles& files_;
    std::string key_;
    std::filesystem::path folder_;
    std::filesystem::path building_;
};

}  // namespace vitrina
