#pragma once
// The disc's help file at a topic. An HTML help file opens in the program's help window (a copy
// of the program in its document mode with " /h", titled "Помощь") at the topic's anchor; when
// that window is open already it is asked to show the topic and come forward. A CHM file is written out once into the
// program's own help folder in the user tree and its page shown the same way. A WinHelp file
// goes to wine's winhlp32.
#include <QElapsedTimer>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vitrina {

class TDriveMap;
class TWindowDirectory;

class THelpViewer {
public:
    // Starts a copy of the program with its command line (1251).
    using TStartCopy = std::function<void(const std::vector<std::string>& arguments)>;

    // startCopy: by default the program's own file on the disc of drives.
    explicit THelpViewer(const TDriveMap& drives, TStartCopy startCopy = {});

    // Where the help window is looked for; null: a new one is always started.
    void SetWindowDirectory(TWindowDirectory* windows) { windows_ = windows; }

    // helpFile: a Windows path of the disc; topic: the anchor in an HTML file.
    void Show(const std::string& helpFile, const std::string& topic);

    enum class TKind { None, Html, Chm, WinHelp };
    static TKind KindOf(const std::string& helpFile);
    // The help window's command line for a topic of an HTML help file.
    static std::vector<std::string> HelpWindowArguments(const std::string& helpFile, const std::string& topic);
    // The request that has an open help window show a document (with its anchor) and come
    // forward, and the document of such a request (nothing for any other request).
    static std::string TopicRequest(const std::string& document);
    static std::optional<std::string> DocumentOfTopicRequest(const std::string& request);

    // A CHM help file's page for a topic, as a Windows path in the user tree with the topic as its
    // anchor: the page named after the topic, else the file's default page, else its first page.
    // The pages are written out at the first call for that file (and again when it changes).
    std::optional<std::string> ChmPage(const std::string& helpFile, const std::string& topic) const;
    // The folder a CHM page of ChmPage lies in the written-out tree of (its pages link to each
    // other anywhere in it); empty for any other document.
    static std::string ChmFolderOf(const std::string& document);

    // How long a help window just started is waited for before another press starts one more.
    void SetStartGraceMs(int ms) { startGraceMs_ = ms; }

private:
    void ShowHelpWindow(const std::string& page, const std::string& topic);
    void ShowWinHelp(const std::string& helpFile, const std::string& topic);

    const TDriveMap& drives_;
    TStartCopy startCopy_;
    TWindowDirectory* windows_ = nullptr;
    // The last start of a help window: it takes a moment to publish itself.
    QElapsedTimer started_;
    int startGraceMs_ = 15000;
};

}  // namespace vitrina
