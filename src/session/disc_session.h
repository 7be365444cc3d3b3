#pragma once
// The disc as this process has opened it: its folders, container, store, description and the
// values the whole program shares (title, settings, current screen, match case). Made once at
// start-up and handed to every part that needs it.
#include <memory>
#include <string>
#include <vector>

#include "platform/user_folders.h"
#include "resources/document_reach.h"
#include "resources/drive_map.h"
#include "platform/registry.h"
#include "resources/compr_stream.h"
#include "resources/read_bin.h"
#include "resources/store.h"
#include "resources/screen_model.h"
#include "resources/struct_loader.h"
#include "session/settings.h"

namespace vitrina {

// Told after the current screen changed and its pictures are in place.
class IScreenObserver {
public:
    virtual ~IScreenObserver() = default;
    virtual void ScreenChanged(int screen) = 0;
};

class TDiscSession {
public:
    TDiscSession(TDriveMap& drives, TUserFolders folders);
    TDiscSession(const TDiscSession&) = delete;
    TDiscSession& operator=(const TDiscSession&) = delete;

    // Folders, the store under the content folder, the Windows folders in the c: tree.
    void OpenFolders();
    // The container and its description's header; the sections wait for ReadSections. Throws
    // what a malformed description throws.
    TStructLoad ReadDescription(std::string* error, const std::string& name = "Struct.cfs");
    // The screens of the description read by ReadDescription, then the user's settings.
    void ReadSections();

    TDriveMap& Drives() const { return drives_; }
    const TUserFolders& Folders() const { return folders_; }
    TRegistry& Registry() { return registry_; }
    const TDocumentFiles& Files() const { return files_; }
    // What documents may read besides the disc: the program adds the folders the reader handed
    // in and the folders it wrote.
    TDocumentReach& Reach() { return reach_; }

    void AddScreenObserver(IScreenObserver* observer);
    void RemoveScreenObserver(IScreenObserver* observer);
    // Every observer, in the order they were added.
    void NotifyScreenChanged();

    std::string ProgramDrive, ProgramFolder, ContentFolder, SystemFolder, WindowsFolder, TempFolder;
    std::string Title;
    int CaptionSpacing = 0;
    bool DocumentMode = false;
    bool SecondaryVariant = false;
    bool ThesaurusWindow = false;
    int ExitButton = -1;
    int CurrentScreen = 0;
    bool MatchCase = false;
    TSettings Settings;
    TScreenModel Model{"d:\\"};
    TReadBin Container;
    TStore Store;

private:
    TDriveMap& drives_;
    TUserFolders folders_;
    TRegistry registry_;
    TDocumentFiles files_;
    TDocumentReach reach_{drives_};
    TDynamicStringArray lines_;  // the description between its two passes
    std::vector<IScreenObserver*> observers_;
};

}  // namespace vitrina
