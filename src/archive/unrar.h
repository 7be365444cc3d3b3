#pragma once
// RAR archives shown like folders: the pages of an archive written into a folder of their own
// under the temporary folder and shown in the HTML pane, and the archive unpacked beside them
// or where the reader asks ("unarc").
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "archive/archive_pages.h"
#include "commands/archive_commands.h"
#include "resources/dynamic_arrays.h"

namespace vitrina {

class TDriveMap;

// What the archive pages ask of the window.
struct TArchiveActions {
    std::function<void(const std::string& message)> showMessage;  // 1251
    std::function<void(bool busy)> setBusy;
    // The text of the current screen's path input box; nothing when the screen has none.
    std::function<std::optional<std::string>()> pathInputText;
    // The HTML pane's archive mark: it shows archive pages.
    std::function<bool()> showsArchivePage;
    std::function<void(const std::string& document)> showDocument;
    // A folder the archive pages wrote (Windows path): a page folder or an extraction target.
    std::function<void(const std::string& folder)> wroteFolder;
    // The local time as a DOS date-time (the listing pages' names).
    std::function<std::uint32_t()> now;
};

class TUnRar : public IArchivePages, public IArchiveCommands {
public:
    // tempFolder: the Windows path of the temporary folder, ending in "\".
    TUnRar(const TDriveMap& drives, std::string tempFolder, TArchiveActions actions);
    // The page folders go when the program ends, once any archive was asked for.
    ~TUnRar() override;

    // IArchivePages.
    bool UpdateArchiveFlag(bool flag, const std::string& document) const override;
    void ExtractIntoPageFolder() override { Extract(false); }
    void OpenArchivePage(const std::string& archive, const std::string& document) override;
    // IArchiveCommands: "unarc" on an archive page, into the path input box's folder.
    void ExtractArchive() override { Extract(true); }

    const std::string& PageFolder() const { return pageFolder_; }

private:
    void Extract(bool toPathInputBox);
    void RemovePageFolders() const;
    std::function<void(const std::string& message)> Messages() const;

    const TDriveMap& drives_;
    std::string tempFolder_;
    TArchiveActions actions_;
    bool started_ = false;
    std::string archive_;     // as the caller named it
    std::string pageFolder_;  // Windows path, ends in "\"
    TDynamicStringArray generatedPages_;
    TDynamicStringArray returnDocuments_;
};

}  // namespace vitrina
