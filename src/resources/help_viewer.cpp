#include "resources/help_viewer.h"

#include <QCryptographicHash>
#include <QProcess>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string_view>

#include "platform/chm_file.h"
#include "platform/cp1251.h"
#include "platform/program_copy.h"
#include "platform/window_directory.h"
#include "platform/wine.h"
#include "resources/description.h"
#include "resources/drive_map.h"

namespace vitrina {
namespace {

namespace fs = std::filesystem;

const char* const kHelpTitle = "Помощь";
// Where CHM files are written out, in the user tree.
const char* const kChmFolder = "c:\\windows\\help\\";
const char* const kChmPrefix = "chm-";
// The window directory's request to the help window: this prefix, then the document.
const std::string_view kTopicRequest = "topic ";

bool EndsWithText(const std::string& text, std::string_view end) {
    return text.size() >= end.size() && LowerAscii(text.substr(text.size() - end.size())) == end;
}

bool IsPage(const std::string& name) {
    return EndsWithText(name, ".htm") || EndsWithText(name, ".html");
}

}  // namespace

THelpViewer::THelpViewer(const TDriveMap& drives, TStartCopy startCopy)
    : drives_(drives), startCopy_(std::move(startCopy)) {
    if (!startCopy_)
        startCopy_ = [this](const std::vector<std::string>& arguments) {
            StartProgramCopy(drives_.ToHostPath(drives_.ProgramFolder()), arguments);
        };
}

THelpViewer::TKind THelpViewer::KindOf(const std::string& helpFile) {
    if (EndsWithText(helpFile, ".htm") || EndsWithText(helpFile, ".html")) return TKind::Html;
    if (EndsWithText(helpFile, ".chm")) return TKind::Chm;
    if (EndsWithText(helpFile, ".hlp")) return TKind::WinHelp;
    return TKind::None;
}

std::vector<std::string> THelpViewer::HelpWindowArguments(const std::string& helpFile, const std::string& topic) {
    return {topic.empty() ? helpFile : helpFile + "#" + topic, "/h"};
}

std::string THelpViewer::TopicRequest(const std::string& document) { return std::string(kTopicRequest) + document; }

std::optional<std::string> THelpViewer::DocumentOfTopicRequest(const std::string& request) {
    if (request.size() <= kTopicRequest.size() || request.compare(0, kTopicRequest.size(), kTopicRequest) != 0)
        return std::nullopt;
    return request.substr(kTopicRequest.size());
}

void THelpViewer::Show(const std::string& helpFile, const std::string& topic) {
    switch (KindOf(helpFile)) {
    case TKind::None:
        break;
    case TKind::Html:
        ShowHelpWindow(helpFile, topic);
        break;
    case TKind::Chm:
        if (const auto page = ChmPage(helpFile, topic)) ShowHelpWindow(*page, {});
        else std::fprintf(stderr, "vitrina: cannot read the help file %s\n", Cp1251ToUtf8(helpFile).c_str());
        break;
    case TKind::WinHelp:
        ShowWinHelp(helpFile, topic);
        break;
    }
}

void THelpViewer::ShowHelpWindow(const std::string& page, const std::string& topic) {
    // One help window: the one open shows the new topic and comes forward.
    const std::vector<std::string> arguments = HelpWindowArguments(page, topic);
    TWindowEntry found;
    if (windows_ && windows_->FindWindowByTitle(Utf8ToCp1251(kHelpTitle), found) &&
        windows_->Send(found, TopicRequest(arguments.front()))) {
        started_.invalidate();
        return;
    }
    // One started a moment ago has not published itself yet; it comes up by itself.
    if (started_.isValid() && started_.elapsed() < startGraceMs_) return;
    startCopy_(arguments);
    started_.start();
}

std::optional<std::string> THelpViewer::ChmPage(const std::string& helpFile, const std::string& topic) const {
    const auto host = drives_.ToHostPath(helpFile);
    if (!host) return std::nullopt;
    const auto chm = TChmFile::Open(*host);
    if (!chm) return std::nullopt;
    std::string page;
    const std::string wanted = LowerAscii(Cp1251ToUtf8(topic));
    for (const std::string& name : chm->Names()) {
        const std::string stem = fs::path(name).stem().string();
        if (!wanted.empty() && IsPage(name) && LowerAscii(stem) == wanted) {
            page = name;
            break;
        }
    }
    if (page.empty()) page = chm->DefaultTopic();
    for (const std::string& name : chm->Names())
        if (page.empty() && IsPage(name)) page = name;
    if (page.empty()) return std::nullopt;

    // One folder per file and version of it; a folder appears whole, by a rename, so a copy that
    // finds it may use it.
    std::error_code ec;
    const auto size = fs::file_size(*host, ec);
    const auto stamp = fs::last_write_time(*host, ec).time_since_epoch().count();
    const QByteArray key = QCryptographicHash::hash(
        QByteArray::fromStdString(host->string() + "|" + std::to_string(size) + "|" + std::to_string(stamp)),
        QCryptographicHash::Sha1).toHex().left(16);
    const auto root = drives_.ToHostPath(kChmFolder);
    if (!root) return std::nullopt;
    const fs::path folder = *root / (kChmPrefix + key.toStdString());
    if (!fs::is_directory(fs::symlink_status(folder, ec))) {
        fs::create_directories(*root, ec);
        const fs::path partial = *root / ("." + folder.filename().string() + "-" + std::to_string(::getpid()));
        fs::remove_all(partial, ec);
        if (!fs::create_directory(partial, ec)) return std::nullopt;
        if (!chm->ExtractTo(partial).complete)
            std::fprintf(stderr, "vitrina: the help file %s was read in part\n", host->string().c_str());
        fs::rename(partial, folder, ec);
        if (ec) fs::remove_all(partial, ec);  // another copy was first
    }
    if (!fs::is_regular_file(fs::symlink_status(folder / page, ec))) return std::nullopt;
    const std::string document = drives_.ToWindowsPath(folder / page);
    return topic.empty() ? document : document + "#" + topic;
}

std::string THelpViewer::ChmFolderOf(const std::string& document) {
    const std::string prefix = std::string(kChmFolder) + kChmPrefix;
    const std::string lower = LowerAscii(document);
    if (lower.compare(0, prefix.size(), prefix) != 0) return {};
    const std::size_t end = lower.find('\\', prefix.size());
    if (end == std::string::npos || end == prefix.size()) return {};
    return document.substr(0, end + 1);
}

void THelpViewer::ShowWinHelp(const std::string& helpFile, const std::string& topic) {
    const QString wine = WineProgram();
    const auto host = drives_.ToHostPath(helpFile);
    if (wine.isEmpty() || !host) return;
    QStringList arguments{"winhlp32"};
    if (!topic.empty()) arguments << "-i" << QString::fromStdString(Cp1251ToUtf8(topic));
    arguments << QString::fromStdString(host->string());
    QProcess::startDetached(wine, arguments);
}

}  // namespace vitrina
