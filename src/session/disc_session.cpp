#include "session/disc_session.h"

#include <algorithm>
#include <filesystem>

#include "resources/windows_path.h"

namespace vitrina {
namespace fs = std::filesystem;

TDiscSession::TDiscSession(TDriveMap& drives, TUserFolders folders)
    : drives_(drives), folders_(std::move(folders)), registry_(folders_.config), files_(Store, drives) {}

void TDiscSession::OpenFolders() {
    ProgramDrive = drives_.ProgramDrive();
    ProgramFolder = drives_.ProgramFolder();
    Model = TScreenModel(ProgramFolder);
    if (const auto store = drives_.ToHostPath(ProgramFolder + "interface.dat")) Store.Open(*store);
    ContentFolder = ContentFolderOf(ProgramFolder);
    Store.SetPrefix(ContentFolder);
    WindowsFolder = "c:\\windows\\";
    SystemFolder = "c:\\windows\\system\\";
    TempFolder = "c:\\windows\\temp\\";
    for (const char* sub : {"windows/system", "windows/temp", "windows/fonts"}) {
        std::error_code ec;
        fs::create_directories(folders_.data / sub, ec);
    }
    CaptionSpacing = 0;
    ExitButton = -1;
}

TStructLoad TDiscSession::ReadDescription(std::string* error, const std::string& name) {
    lines_.clear();
    const TStructLoad load = ReadStructLines(drives_, Container, lines_, error, name);
    if (load != TStructLoad::Loaded) return load;
    Model.ReadHeader(lines_);
    Title = Model.Title;
    return load;
}

void TDiscSession::ReadSections() {
    Model.ReadSections(lines_);
    lines_.clear();
    lines_.shrink_to_fit();
    Settings.Load(registry_, Title, !Model.ImageAreas.empty());
}

void TDiscSession::AddScreenObserver(IScreenObserver* observer) {
    if (observer && std::find(observers_.begin(), observers_.end(), observer) == observers_.end())
        observers_.push_back(observer);
}

void TDiscSession::RemoveScreenObserver(IScreenObserver* observer) {
    observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

void TDiscSession::NotifyScreenChanged() {
    // A copy: an observer may add or remove observers while it is told.
    const auto observers = observers_;
    for (IScreenObserver* o : observers)
        if (std::find(observers_.begin(), observers_.end(), o) != observers_.end()) o->ScreenChanged(CurrentScreen);
}

}  // namespace vitrina
