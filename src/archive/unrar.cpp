#include "archive/unrar.h"

#include <QLocale>

#include <algorithm>
#include <filesystem>

#include "archive/archive_page_files.h"
#include "archive/rar_pass.h"
#include "platform/cp1251.h"
#include "resources/drive_map.h"
#include "resources/windows_path.h"

namespace vitrina {
namespace fs = std::filesystem;

namespace {

bool Holds(const TDynamicStringArray& list, const std::string& item) {
    return std::any_of(list.begin(), list.end(), [&](const std::string& s) { return SameText1251(s, item); });
}

// "arc.rar", then "arc1.rar", "arc2.rar" ... while a folder of that name exists.
std::string FreeSubfolder(const TDriveMap& drives, const std::string& destination, const std::string& name) {
    const auto dot = name.rfind('.');
    const std::string stem = dot == std::string::npos ? name : name.substr(0, dot);
    const std::string extension = dot == std::string::npos ? std::string() : name.substr(dot);
    std::string candidate = name;
    for (int counter = 1; drives.DirectoryExists(destination + candidate); ++counter)
        candidate = stem + std::to_string(counter) + extension;
    return candidate;
}

void RemoveTree(const fs::path& folder) {
    std::error_code ec;
    if (fs::remove_all(folder, ec) != static_cast<std::uintmax_t>(-1) && !ec) return;
    // Files that came read-only out of an archive: their folders are made writable, then again.
    for (auto it = fs::recursive_directory_iterator(folder, ec); !ec && it != fs::recursive_directory_iterator(); it.increment(ec))
        if (it->is_directory(ec) && !it->is_symlink(ec)) fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(folder, ec);
}

}  // namespace

TUnRar::TUnRar(const TDriveMap& drives, std::string tempFolder, TArchiveActions actions)
    : drives_(drives), tempFolder_(std::move(tempFolder)), actions_(std::move(actions)) {}

TUnRar::~TUnRar() {
    if (started_) RemovePageFolders();
}

void TUnRar::RemovePageFolders() const {
    const auto temp = drives_.ToHostPath(tempFolder_);
    if (!temp) return;
    std::error_code ec;
    std::vector<fs::path> folders;
    for (const auto& entry : fs::directory_iterator(*temp, ec))
        if (entry.is_directory(ec) && !entry.is_symlink(ec) && entry.path().filename().string().starts_with("as_"))
            folders.push_back(entry.path());
    for (const fs::path& folder : folders) RemoveTree(folder);
}

bool TUnRar::UpdateArchiveFlag(bool flag, const std::string& document) const {
    return flag ? !Holds(returnDocuments_, document) : Holds(generatedPages_, document);
}

void TUnRar::OpenArchivePage(const std::string& archive, const std::string& document) {
    if (!started_) {
        started_ = true;
        RemovePageFolders();
    }
    archive_ = archive;
    pageFolder_ = tempFolder_ + ArchivePageFolderName(archive) + "\\";
    const std::string frameset = pageFolder_ + FramesetPageName(archive);
    const auto folder = drives_.ToHostPath(pageFolder_);
    if (!folder) return;
    // Pages once written serve the rest of the run.
    if (!drives_.FileExists(frameset)) {
        generatedPages_.push_back(frameset);
        const bool onArchivePage = actions_.showsArchivePage && actions_.showsArchivePage();
        if (!onArchivePage && !Holds(returnDocuments_, document)) returnDocuments_.push_back(document);
        TRarPass pass;
        pass.archive = drives_.ToHostPath(archive).value_or(fs::path());
        pass.archiveName = archive;
        WriteArchivePages(pass, actions_.now ? actions_.now() : 0, QLocale::system(), *folder, Messages());
    }
    if (actions_.wroteFolder) actions_.wroteFolder(pageFolder_);
    if (actions_.showDocument) actions_.showDocument(frameset);
}

std::function<void(const std::string&)> TUnRar::Messages() const {
    return [this](const std::string& message) {
        if (actions_.showMessage) actions_.showMessage(message);
    };
}

void TUnRar::Extract(bool toPathInputBox) {
    if (archive_.empty()) return;
    std::string destination = pageFolder_;
    if (toPathInputBox) {
        const std::optional<std::string> text = actions_.pathInputText ? actions_.pathInputText() : std::nullopt;
        if (!text) return;
        destination = *text;
        // A host path typed into the box is reached the way other host files are.
        if (!destination.empty() && destination[0] == '/') destination = drives_.ToWindowsPath(fs::path(Cp1251ToUtf8(destination)));
        if (destination.empty() || destination.back() != '\\') destination += '\\';
        destination += FreeSubfolder(drives_, destination, FileNamePart(archive_));
    }
    TRarPass pass;
    pass.archive = drives_.ToHostPath(archive_).value_or(fs::path());
    pass.archiveName = archive_;
    pass.extract = true;
    const auto host = drives_.ToHostPath(destination);
    if (!host) {
        if (actions_.showMessage) actions_.showMessage("File " + destination + " create error");
        return;
    }
    std::error_code ec;
    fs::create_directories(*host, ec);
    if (actions_.wroteFolder) actions_.wroteFolder(destination);
    pass.destination = *host;
    bool unpacked = false;
    {
        if (actions_.setBusy) actions_.setBusy(true);
        // Cleared however the pass ends.
        struct TBusyEnd {
            const TArchiveActions& actions;
            ~TBusyEnd() {
                if (actions.setBusy) actions.setBusy(false);
            }
        } busyEnd{actions_};
        unpacked = RunRarPass(pass, [](const TRarEntry&) {}, Messages());
    }
    // The reader typed a disc-style folder; where the files went is told the way the desktop
    // names it.
    if (toPathInputBox && unpacked && actions_.showMessage)
        actions_.showMessage(Utf8ToCp1251("Архив распакован в папку " + host->lexically_normal().string()));
}

}  // namespace vitrina
