#include "setup/font_installer.h"

#include <QProcess>
#include <QStandardPaths>

#include <cerrno>
#include <cstdlib>
#include <system_error>

#include "session/busy.h"
#include "platform/cp1251.h"
#include "resources/drive_map.h"
#include "resources/find_files.h"

namespace vitrina {

namespace fs = std::filesystem;

fs::path TFontInstaller::UserFontFolder() {
    if (const char* home = std::getenv("VITRINA_HOME"); home && *home) return fs::path(home) / "fonts";
    return fs::path(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation).toStdString()) / "fonts";
}

void TFontInstaller::SetFolder(const std::string& file) {
    const auto slash = file.rfind('\\');
    folder_ = slash == std::string::npos ? std::string() : file.substr(0, slash + 1);
}

int TFontInstaller::Install() {
    if (folder_.empty()) return 0;
    const TBusy busy;
    TDynamicStringArray masks{"*.ttf"}, fonts;
    FindFiles(drives_, folder_, masks, false, fonts, false);
    std::error_code ec;
    fs::create_directories(fontFolder_, ec);
    int copied = 0;
    for (const std::string& font : fonts) {
        const auto source = drives_.ToHostPath(font);
        if (!source) continue;
        const fs::path target = fontFolder_ / source->filename();
        // A symbolic link at the target is replaced, never written through.
        if (fs::is_symlink(target, ec)) fs::remove(target, ec);
        if (!fs::copy_file(*source, target, fs::copy_options::overwrite_existing, ec)) {
            if (ec == std::errc::no_space_on_device) {
                fs::remove(target, ec);
                break;
            }
            // An older copy of the same name still serves.
            if (OnInstalled && fs::is_regular_file(target, ec)) OnInstalled(target);
            continue;
        }
        ++copied;
        if (OnInstalled) OnInstalled(target);
    }
    if (copied > 0) {
        if (RefreshCache) {
            RefreshCache(fontFolder_);
        } else if (const QString fcCache = QStandardPaths::findExecutable("fc-cache"); !fcCache.isEmpty()) {
            QProcess::startDetached(fcCache, {QString::fromStdString(fontFolder_.string())});
        }
    }
    return copied;
}

}  // namespace vitrina
