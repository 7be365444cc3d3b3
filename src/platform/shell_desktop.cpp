#include "platform/shell_desktop.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

#include "platform/click_sound.h"
#include "platform/cp1251.h"
#include "platform/wine.h"

namespace vitrina {

namespace {

bool IsDrivePath(const std::string& path) {
    return path.size() > 2 && path[1] == ':' && (path[2] == '\\' || path[2] == '/');
}

bool IsWindowsProgram(const QString& file) {
    return file.endsWith(".exe", Qt::CaseInsensitive) || file.endsWith(".com", Qt::CaseInsensitive) ||
           file.endsWith(".bat", Qt::CaseInsensitive);
}

// Only the disc (d:) and the program's own tree (c:, where archives are extracted) hold files a
// disc may hand on; the host (z:) is the reader's.
bool IsDiscSide(const std::string& path) {
    return path.size() > 1 && (path[0] == 'd' || path[0] == 'D' || path[0] == 'c' || path[0] == 'C');
}

// Files the desktop's opener shows or plays: documents, pictures, sound and video. Programs,
// scripts and desktop entries are never among them, whatever the disc names them.
bool IsDesktopDocument(const QString& file) {
    static const QStringList kTypes = {
        "htm", "html", "txt",  "rtf", "doc",  "docx", "xls", "xlsx", "ppt", "pptx", "pps", "odt", "ods",
        "odp", "pdf",  "djvu", "csv", "bmp",  "gif",  "jpg", "jpeg", "png", "tif",  "tiff", "ico", "pcx",
        "wav", "mp3",  "mid",  "midi", "rmi", "ogg", "flac", "wma", "avi", "mpg",  "mpeg", "mp4", "mov",
        "wmv", "mkv"};
    const int dot = file.lastIndexOf('.');
    const int slash = file.lastIndexOf('/');
    return dot > slash && kTypes.contains(file.mid(dot + 1).toLower());
}

// Web and mail addresses go to the desktop; no other scheme (a "file:" URL would open a host file).
bool IsWebOrMail(const QUrl& url) {
    const QString scheme = url.scheme().toLower();
    return url.isValid() && (scheme == "http" || scheme == "https" || scheme == "mailto");
}

}  // namespace

TShellDesktop::TShellTarget TShellDesktop::ShellTarget(const std::string& target) const {
    if (!IsDrivePath(target)) {
        const QUrl url(QString::fromStdString(Cp1251ToUtf8(target)));
        if (IsWebOrMail(url)) return {TShellTarget::TKind::Address, url};
        return {};
    }
    if (!IsDiscSide(target)) return {};
    const auto host = hostPath_(target);
    if (!host) return {};
    const QString file = QString::fromStdString(host->string());
    if (IsWindowsProgram(file)) return {TShellTarget::TKind::WindowsProgram, QUrl::fromLocalFile(file)};
    if (IsDesktopDocument(file)) return {TShellTarget::TKind::Document, QUrl::fromLocalFile(file)};
    return {};
}

void TShellDesktop::ShellExecute(const std::string& target, const std::string& params) {
    const TShellTarget shell = ShellTarget(target);
    switch (shell.kind) {
    case TShellTarget::TKind::None:
        break;
    case TShellTarget::TKind::Address:
    case TShellTarget::TKind::Document:
        QDesktopServices::openUrl(shell.url);
        break;
    case TShellTarget::TKind::WindowsProgram: {
        // Without wine nothing happens, as with a failing ShellExecute.
        const QString wine = WineProgram();
        if (wine.isEmpty()) break;
        const QString file = shell.url.toLocalFile();
        QStringList arguments{file};
        const QString extra = QString::fromStdString(Cp1251ToUtf8(params));
        if (!extra.isEmpty()) arguments += QProcess::splitCommand(extra);
        QProcess::startDetached(wine, arguments, QFileInfo(file).absolutePath());
        break;
    }
    }
}

void TShellDesktop::WinExec(const std::string& program, const std::string& folder) {
    // A disc's programs are Windows programs: through wine or not at all, never as a host program.
    const TShellTarget shell = ShellTarget(program);
    if (shell.kind != TShellTarget::TKind::WindowsProgram) return;
    const QString wine = WineProgram();
    if (wine.isEmpty()) return;
    const auto workFolder = hostPath_(folder);
    const QString workDir = workFolder ? QString::fromStdString(workFolder->string()) : QString();
    QProcess::startDetached(wine, {shell.url.toLocalFile()}, workDir);
}

void TShellDesktop::ShowHelpTopic(const std::string& helpFile, const std::string& topic) {
    if (help_) help_(helpFile, topic);
}

void TShellDesktop::PlayClickSound(const std::string& file) {
    if (const auto host = hostPath_(file)) sounds_.Play(*host);
}

void TShellDesktop::PlayClickSoundToEnd(const std::string& file) {
    if (const auto host = hostPath_(file)) sounds_.PlayToEnd(*host);
}

}  // namespace vitrina
