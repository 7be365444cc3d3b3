#pragma once
// Which files a document may read through the engine. A disc is a stranger's content: the whole
// disc (d:) is open to it, but on the host (z:) only what lies below the folders of files the
// reader handed in, and in the user tree (c:) only the folders the program wrote itself (archive
// pages, extracted files), and never a hidden name (".ssh") there or on the disc. Judged on host
// paths with links resolved, so neither a case variant of a name nor a symbolic link inside an
// allowed folder reaches past it.
#include <filesystem>
#include <mutex>
#include <string_view>
#include <vector>

namespace vitrina {

class TDriveMap;

class TDocumentReach {
public:
    explicit TDocumentReach(const TDriveMap& drives) : drives_(drives) {}

    // A folder (Windows path) whose files and subfolders documents may read.
    void AllowFolder(std::string_view windowsFolder);
    // The folder of a file the reader handed in (Windows path).
    void AllowFolderOf(std::string_view windowsFile);
    // Whether a document may read the file (Windows path).
    bool Allows(std::string_view windowsPath) const;

private:
    const TDriveMap& drives_;
    mutable std::mutex mutex_;  // the engine asks from its own thread
    std::vector<std::filesystem::path> folders_;  // canonical host folders
};

}  // namespace vitrina
