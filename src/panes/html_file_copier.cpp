#include "panes/html_file_copier.h"

#include <filesystem>
#include <system_error>

#include "resources/windows_path.h"
#include "platform/cp1251.h"
#include "resources/drive_map.h"

namespace vitrina {
namespace fs = std::filesystem;

namespace {

// Copies a file, making the target's folders and overwriting it. False on any error.
bool CopyOver(const fs::path& from, const fs::path& to) {
    std::error_code ec;
    fs::create_directories(to.parent_path(), ec);
    if (ec) return false;
    return fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec) && !ec;
}

}  // namespace

TCopyOutcome THtmlFileCopier::CopyFileInto(const std::string& source, const std::string& folder) const {
    // The reader's own files are not the disc's to hand out.
    if (OnHostDrive(source)) return TCopyOutcome::Refused;
    const auto from = drives_.ToHostPath(source);
    const auto to = drives_.ToHostPath(folder + FileNamePart(source));
    if (!to) return TCopyOutcome::Failed;
    std::error_code ec;
    if (!from || !fs::is_regular_file(*from, ec)) return TCopyOutcome::NotOnDisk;
    return CopyOver(*from, *to) ? TCopyOutcome::Copied : TCopyOutcome::Failed;
}

TCopyOutcome THtmlFileCopier::CopyDocumentInto(const std::string& document, const std::string& folder) const {
    const TCopyOutcome outcome = CopyFileInto(document, folder);
    if (outcome != TCopyOutcome::Copied) return outcome;
    const std::string name = FileNamePart(document);
    const std::string stem = name.substr(0, name.rfind('.'));
    const auto files = drives_.ToHostPath(FolderPart(document) + stem + ".files");
    std::error_code ec;
    if (!files || !fs::is_directory(*files, ec)) return outcome;
    const fs::path targetRoot = drives_.ToHostPath(folder + FileNamePart(document))->parent_path() / files->filename();
    for (auto it = fs::recursive_directory_iterator(*files, ec); !ec && it != fs::end(it); it.increment(ec))
        if (it->is_regular_file(ec) && !CopyOver(it->path(), targetRoot / fs::relative(it->path(), *files, ec)))
            return TCopyOutcome::Failed;
    return outcome;
}

std::vector<QString> THtmlFileCopier::ListEntries(const std::vector<TFormControl>& controls, const std::string& name) {
    std::vector<QString> entries;
    for (const auto& c : controls) {
        if (!c.dropDownList || !SameText1251(Utf8ToCp1251(c.name.toUtf8().toStdString()), name)) continue;
        if (c.selected < 0 || c.selected >= c.items.size()) continue;
        entries.push_back(c.items[c.selected]);
    }
    return entries;
}

}  // namespace vitrina
