#include "resources/find_files.h"

#include <algorithm>
#include <deque>
#include <filesystem>

#include "platform/cp1251.h"
#include "resources/drive_map.h"

namespace fs = std::filesystem;

namespace vitrina {

bool MatchesMask(std::string_view name, std::string_view mask) {
    // Iterative matching with one back-track point for the last "*".
    std::size_t n = 0, m = 0, starMask = std::string_view::npos, starName = 0;
    while (n < name.size()) {
        if (m < mask.size() && (mask[m] == '?' || LowerChar1251(static_cast<unsigned char>(mask[m])) ==
                                                      LowerChar1251(static_cast<unsigned char>(name[n])))) {
            ++n, ++m;
        } else if (m < mask.size() && mask[m] == '*') {
            starMask = m++;
            starName = n;
        } else if (starMask != std::string_view::npos) {
            m = starMask + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == '*') ++m;
    return m == mask.size();
}

void FindFiles(const TDriveMap& drives, std::string folder, TDynamicStringArray& masks, bool recursive,
               TDynamicStringArray& result, bool includeFolders) {
    if (folder.empty()) return;
    for (auto& mask : masks) mask = LowerCase1251(mask);
    if (folder.back() != '\\') folder += '\\';

    std::deque<std::string> work{folder};
    while (!work.empty()) {
        const std::string current = work.front();
        work.pop_front();
        if (includeFolders) result.push_back(current);
        const auto host = drives.ToHostPath(current);
        if (!host) continue;
        std::vector<std::string> files, folders;
        std::error_code ec;
        for (fs::directory_iterator it(*host, ec), end; !ec && it != end; it.increment(ec)) {
            const std::string name = Utf8ToCp1251(it->path().filename().string());
            std::error_code typeError;
            // Folders reached through links are not followed, so a loop of links cannot trap the scan.
            // Pipes, devices and sockets are no files to read: a pipe would block whoever opens it.
            if (it->is_directory(typeError) && !it->is_symlink(typeError)) {
                folders.push_back(name);
            } else if (it->is_regular_file(typeError)) {
                files.push_back(name);
            }
        }
        std::sort(files.begin(), files.end());
        std::sort(folders.begin(), folders.end());
        for (const auto& mask : masks) {
            for (const auto& name : files) {
                if (MatchesMask(name, mask)) result.push_back(current + name);
            }
        }
        if (recursive) {
            for (const auto& name : folders) work.push_back(current + name + "\\");
        }
    }
}

}  // namespace vitrina
