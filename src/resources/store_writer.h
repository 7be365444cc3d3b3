#pragma once
// Writes a document store: folders from the files' paths, each file compressed only when that
// makes it smaller, the table compressed.
#include <string>
#include <vector>

namespace vitrina {

struct TStoreFile {
    std::string path;  // 1251, "\"-separated, relative to the root; normalised when written
    std::string data;
};

struct TStoreWriteOptions {
    bool compressFiles = true;
    bool compressTable = true;
};

// Folders and files keep the order in which the paths first name them. Throws
// std::length_error for a name longer than 64 bytes and std::invalid_argument for a path that
// names something both as a file and as a folder.
std::string WriteStore(const std::vector<TStoreFile>& files, const TStoreWriteOptions& options = {});

}  // namespace vitrina
