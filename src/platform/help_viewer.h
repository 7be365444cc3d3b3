#pragma once
// The disc's help file at a topic. An HTML help file opens in the program's help window (a copy
// of the program in its document mode with " /h", titled "Помощь") at the topic's anchor; when
// that window is open already it is raised instead. A WinHelp file goes to wine's winhlp32.
#include <functional>
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

private:
    void ShowWinHelp(const std::string& helpFile, const std::string& topic);

    const TDriveMap& drives_;
    TStartCopy startCopy_;
    TWindowDirectory* windows_ = nullptr;
    bool toldNoChm_ = false;
};

}  // namespace vitrina
