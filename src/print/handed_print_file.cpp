#include "print/handed_print_file.h"

#include <filesystem>
#include <system_error>

#include "platform/cp1251.h"
#include "resources/drive_map.h"

namespace vitrina {

bool RemoveHandedPrintFile(const TDriveMap& drives, std::string_view tempFolder, std::string_view file) {
    std::string folder = LowerCase1251(tempFolder);
    if (folder.empty()) return false;
    if (folder.back() != '\\') folder += '\\';
    std::string name = LowerCase1251(file);
    for (char& c : name)
        if (c == '/') c = '\\';
    // Directly inside: no further folder, no step back out.
    if (!name.starts_with(folder)) return false;
    const std::string_view rest = std::string_view(name).substr(folder.size());
    if (rest.empty() || rest == "." || rest == ".." || rest.find('\\') != std::string_view::npos) return false;
    const auto host = drives.ToHostPath(file);
    const auto hostFolder = drives.ToHostPath(tempFolder);
    if (!host || !hostFolder) return false;
    std::error_code ec;
    if (!std::filesystem::is_symlink(std::filesystem::symlink_status(host->parent_path(), ec)) &&
        std::filesystem::equivalent(host->parent_path(), *hostFolder, ec) &&
        std::filesystem::symlink_status(*host, ec).type() == std::filesystem::file_type::regular)
        return std::filesystem::remove(*host, ec);
    return false;
}

}  // namespace vitrina
