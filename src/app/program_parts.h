#pragma once
// The window parts of the program with the standard window and the requests between copies:
// "standartwin" and "Свернуть", the document mode's window, the picture-window exchange of
// "_blank" picture links, and the copy-data requests this process answers.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/window_parts.h"
#include "commands/standard_window_commands.h"
#include "platform/copy_data_channel.h"

namespace vitrina {

class TStandardWindow;
class TWindowDirectory;

class TProgramParts : public TWindowParts, public IStandardWindowCommands {
public:
    // directory: where this copy's windows are published (null when it publishes none).
    TProgramParts(TDiscSession& session, TDispatcher& dispatcher, IDesktop& desktop, TWindowDirectory* directory);
    ~TProgramParts() override;

    void BuildPanes(TSkinWindow& window, QWidget* documentPanel) override;
    void ReleasePanes() override;

    // Document-mode set-up: the window shows the file of the command line in the standard window.
    void SetUpDocumentMode(TSkinWindow& window, const std::vector<std::string>& arguments);

    // "standartwin".
    void ShowStandardWindow() override;
    void ShowSkinnedWindow();

    // The pane's questions.
    bool StatusBarExists() const override;
    void ShowStatusBarText(const std::string& text) override;
    void RefreshNavigation() override;
    void OpenPictureWindow(const std::string& file) override;

    // A request record of another copy (or of this one): the answers it gets.
    void CopyData(const std::string& block, long long sender, std::vector<TCopyDataAnswer>& answers);

    TStandardWindow* Standard() const { return standard_.get(); }
    // Requests to other copies' windows; null when this copy publishes no windows.
    TCopyDataChannel* Channel() const { return channel_.get(); }
    bool DocumentMode() const { return documentMode_; }
    const std::string& CommandLineFile() const { return commandLineFile_; }
    // Runs Esc in the document mode (ends the program).
    std::function<void()> OnEscape;
    // Starts a copy of the program in the document mode for a picture (replaceable by tests).
    std::function<void(const std::string& file)> StartPictureCopy;

    // Where this copy's windows are published and served: its own in the document mode.
    TWindowDirectory* Directory() const;

private:
    void MakeStandardWindow();
    void StartCopy(const std::string& file);
    // The help window's next topic, asked for by the copy that had F1 pressed.
    void ShowHelpTopic(const std::string& document);

    TWindowDirectory* directory_;
    std::unique_ptr<TStandardWindow> standard_;
    TServiceRegistration standardServed_;
    std::unique_ptr<TWindowDirectory> ownDirectory_;  // the document mode publishes its window itself
    std::unique_ptr<TCopyDataChannel> channel_;
    std::unique_ptr<class QObject> keys_;
    bool documentMode_ = false;
    bool secondary_ = false;
    bool sized_ = false;
    std::string commandLineFile_;
};

}  // namespace vitrina
