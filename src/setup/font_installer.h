#pragma once
// The fonts a document's folder offers: its ".ttf" files copied into the user's font folder,
// registered with the program and made known to the system's font cache.
#include <filesystem>
#include <functional>
#include <string>

namespace vitrina {

class TDriveMap;

class TFontInstaller {
public:
    // fontFolder: where the fonts go (the user's font folder).
    TFontInstaller(const TDriveMap& drives, std::filesystem::path fontFolder)
        : drives_(drives), fontFolder_(std::move(fontFolder)) {}

    // The user's font folder: "fonts" under $VITRINA_HOME when it is set, else the desktop's
    // own (~/.local/share/fonts).
    static std::filesystem::path UserFontFolder();

    // The folder of file (a Windows path) holds the fonts the next install copies.
    void SetFolder(const std::string& file);
    const std::string& Folder() const { return folder_; }

    // Copies the folder's ".ttf" files (not its subfolders) over any of the same name; a full
    // disk ends the copying, fonts copied before stay. Each copied font is handed to OnInstalled.
    // Returns how many were copied.
    int Install();

    std::function<void(const std::filesystem::path& font)> OnInstalled;
    // Tells the font cache about the folder; by default runs fc-cache on it when present.
    std::function<void(const std::filesystem::path& folder)> RefreshCache;

private:
    const TDriveMap& drives_;
    std::filesystem::path fontFolder_;
    std::string folder_;
};

}  // namespace vitrina
