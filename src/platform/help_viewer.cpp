#include "platform/help_viewer.h"

#include <QProcess>

#include <cstdio>

#include "platform/cp1251.h"
#include "platform/program_copy.h"
#include "platform/window_directory.h"
#include "platform/wine.h"
#include "resources/description.h"
#include "resources/drive_map.h"

namespace vitrina {
namespace {

const char* const kHelpTitle = "Помощь";

bool EndsWithText(const std::string& text, std::string_view end) {
    return text.size() >= end.size() && LowerAscii(text.substr(text.size() - end.size())) == end;
}

}  // namespace

THelpViewer::THelpViewer(const TDriveMap& drives, TStartCopy startCopy)
    : drives_(drives), startCopy_(std::move(startCopy)) {
    if (!startCopy_)
        startCopy_ = [this](const std::vector<std::string>& arguments) {
            StartProgramCopy(drives_, drives_.ProgramFolder(), arguments);
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

void THelpViewer::Show(const std::string& helpFile, const std::string& topic) {
    switch (KindOf(helpFile)) {
    case TKind::None:
        break;
    case TKind::Html: {
        // One help window: the one open comes forward, at whatever topic it shows.
        TWindowEntry found;
        if (windows_ && windows_->FindWindowByTitle(Utf8ToCp1251(kHelpTitle), found) && windows_->Send(found, "show"))
            return;
        startCopy_(HelpWindowArguments(helpFile, topic));
        break;
    }
    case TKind::Chm:
        if (!toldNoChm_) std::fprintf(stderr, "vitrina: CHM help files cannot be shown yet\n");
        toldNoChm_ = true;
        break;
    case TKind::WinHelp:
        ShowWinHelp(helpFile, topic);
        break;
    }
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
