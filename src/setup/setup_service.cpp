#include "setup/setup_service.h"

#include <QProcess>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "platform/cp1251.h"
#include "platform/desktop.h"
#include "platform/registry.h"
#include "platform/wine.h"
#include "resources/description.h"
#include "resources/drive_map.h"

namespace vitrina {

std::pair<std::string, std::string> SplitExeName(const std::string& text) {
    const auto at = LowerAscii(text).find(".exe");
    if (at == std::string::npos) return {text, {}};
    return {text.substr(0, at + 4), Trim(text.substr(at + 4))};
}

TSetupService::TSetupService(const TDriveMap& drives, IDesktop& desktop, std::filesystem::path configFolder,
                             std::filesystem::path fontFolder)
    : drives_(drives), desktop_(desktop), configFolder_(std::move(configFolder)),
      fonts_(drives, std::move(fontFolder)) {}

std::string TSetupService::GameValue(const std::string& key, const std::string& value) const {
    TRegistry registry(configFolder_, THive::LocalMachine);
    if (!registry.OpenKey("SOFTWARE\\Vostrand\\" + key, false)) return {};
    try {
        return registry.ReadString(value);
    } catch (const ERegistryError&) {
        return {};
    }
}

bool TSetupService::GameValuePresent(const std::string& key, const std::string& value) const {
    return !GameValue(key, value).empty();
}

void TSetupService::RunGame(const std::string& setup, const std::string& key) {
    auto [name, params] = SplitExeName(GameValue(key, "exename"));
    std::string program;
    if (!name.empty()) {
        std::string folder = GameValue(key, "instdir");
        if (!folder.empty() && folder.back() != '\\') folder += '\\';
        program = folder + name;
    } else {
        std::tie(program, params) = SplitExeName(setup);
    }
    if (!program.empty()) desktop_.ShellExecute(program, params);
}

namespace {

namespace fs = std::filesystem;

// However long an uninstaller asks its questions, the program comes back.
constexpr int kUninstallerLimitMs = 30 * 60 * 1000;

bool IsBelow(const fs::path& path, const fs::path& root) {
    const auto [end, _] = std::mismatch(root.begin(), root.end(), path.begin(), path.end());
    return end == root.end() && path != root;
}

// Starts the program and returns at once; ended runs once it has ended (killed after the
// limit), could not start, or was never started.
void RunThroughWine(const TDriveMap& drives, const std::string& program, const std::string& params,
                    std::function<void()> ended) {
    const auto host = drives.ToHostPath(program);
    const QString wine = WineProgram();
    if (wine.isEmpty() || !host) return ended();
    auto* process = new QProcess;
    auto end = [process, ended = std::move(ended)]() mutable {
        if (!ended) return;
        std::exchange(ended, nullptr)();
        process->deleteLater();
    };
    auto shared = std::make_shared<decltype(end)>(std::move(end));
    QObject::connect(process, &QProcess::finished, process, [shared] { (*shared)(); });
    QObject::connect(process, &QProcess::errorOccurred, process, [shared](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) (*shared)();
    });
    QTimer::singleShot(kUninstallerLimitMs, process, [process] { process->kill(); });
    process->start(wine, QStringList{QString::fromStdString(host->string())} +
                             QProcess::splitCommand(QString::fromStdString(Cp1251ToUtf8(params))));
}

}  // namespace

void TSetupService::RemoveGame(const std::string& key) {
    std::string folder = GameValue(key, "instdir");
    if (!folder.empty() && folder.back() == '\\') folder.pop_back();
    while (!folder.empty() && !drives_.FileExists(folder + "\\Uninst.isu")) {
        const auto slash = folder.rfind('\\');
        folder = slash == std::string::npos ? std::string() : folder.substr(0, slash);
    }
    if (folder.empty()) {
        if (ShowMessage) ShowMessage(Utf8ToCp1251("Игра не установлена."));
        return;
    }
    // The quote is left open, as the uninstaller expects its file.
    const std::string program = "c:\\windows\\IsUninst.exe", params = "-f\"" + folder + "\\Uninst.isu";
    // Once it has ended, unless this service has gone meanwhile.
    auto ended = [this, key, folder, alive = std::weak_ptr<int>(alive_)] {
        if (!alive.expired() && GameValue(key, "instdir").empty()) DeleteRemains(folder);
    };
    if (!RunUninstaller) return RunThroughWine(drives_, program, params, std::move(ended));
    RunUninstaller(program, params);
    ended();
}

void TSetupService::DeleteRemains(const std::string& folder) const {
    const auto host = drives_.ToHostPath(folder);
    if (!host) return;
    std::error_code ec;
    const fs::path base = fs::absolute(drives_.UserRoot(), ec).lexically_normal();
    const fs::path target = fs::absolute(*host, ec).lexically_normal();
    // Strictly inside the c: tree, every step a real folder and none a link.
    if (ec || !IsBelow(target, base)) return;
    fs::path at = base;
    for (const fs::path& part : target.lexically_relative(base)) {
        at /= part;
        if (fs::is_symlink(at, ec) || !fs::is_directory(at, ec)) return;
    }
    std::vector<fs::path> folders{target};
    std::vector<fs::path> files;
    for (fs::recursive_directory_iterator it(target, fs::directory_options::skip_permission_denied, ec), end;
         !ec && it != end; it.increment(ec)) {
        // Links, to folders too, are entries of their own: removed as links, never entered.
        if (!it->is_symlink(ec) && it->is_directory(ec)) folders.push_back(it->path());
        else files.push_back(it->path());
    }
    for (const fs::path& file : files) {
        if (fs::remove(file, ec) || ec == std::errc::no_such_file_or_directory) continue;
        // Held by a write-protected folder of the game's own: open it, then again.
        fs::permissions(file.parent_path(), fs::perms::owner_write | fs::perms::owner_exec, fs::perm_options::add, ec);
        fs::remove(file, ec);
    }
    // Deepest first; a folder that still holds something stays.
    for (auto it = folders.rbegin(); it != folders.rend(); ++it) fs::remove(*it, ec);
}

}  // namespace vitrina
