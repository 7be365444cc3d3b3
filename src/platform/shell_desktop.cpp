#include "platform/shell_desktop.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include "platform/click_sound.h"
#include "platform/cp1251.h"

namespace vitrina {

namespace {

bool IsDrivePath(const std::string& path) {
    return path.size() > 2 && path[1] == ':' && (path[2] == '\\' || path[2] == '/');
}

bool IsWindowsProgram(const QString& file) {
    return file.endsWith(".exe", Qt::CaseInsensitive) || file.endsWith(".bat", Qt::CaseInsensitive);
}

}  // namespace

void TShellDesktop::ShellExecute(const std::string& target, const std::string& params) {
    if (!IsDrivePath(target)) {
        QDesktopServices::openUrl(QUrl(QString::fromStdString(Cp1251ToUtf8(target))));
        return;
    }
    const auto host = hostPath_(target);
    if (!host) return;
    const QString file = QString::fromStdString(host->string());
    if (IsWindowsProgram(file)) {
        // Without wine nothing happens, as with a failing ShellExecute.
        const QString wine = QStandardPaths::findExecutable("wine");
        if (wine.isEmpty()) return;
        QStringList arguments{file};
        const QString extra = QString::fromStdString(Cp1251ToUtf8(params));
        if (!extra.isEmpty()) arguments += QProcess::splitCommand(extra);
        QProcess::startDetached(wine, arguments, QString::fromStdString(host->parent_path().string()));
        return;
    }
    QDesktopServices::openUrl(QUrl::fromLocalFile(file));
}

void TShellDesktop::WinExec(const std::string& program, const std::string& folder) {
    const auto host = hostPath_(program);
    if (!host) return;
    const auto workFolder = hostPath_(folder);
    const QString file = QString::fromStdString(host->string());
    const QString workDir = workFolder ? QString::fromStdString(workFolder->string()) : QString();
    const QString wine = QStandardPaths::findExecutable("wine");
    if (file.endsWith(".exe", Qt::CaseInsensitive) && !wine.isEmpty()) QProcess::startDetached(wine, {file}, workDir);
    else QProcess::startDetached(file, {}, workDir);
}

void TShellDesktop::ShowHelpTopic(const std::string&, const std::string&) {
    // No help viewer is wired in yet: a topic shows nothing.
}

void TShellDesktop::PlayClickSound(const std::string& file) {
    if (const auto host = hostPath_(file)) sounds_.Play(*host);
}

void TShellDesktop::PlayClickSoundToEnd(const std::string& file) {
    if (const auto host = hostPath_(file)) sounds_.PlayToEnd(*host);
}

}  // namespace vitrina
