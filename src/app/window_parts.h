#pragma once
// The parts of the main window that live in panes and popups: the HTML pane, the contents
// trees and the popup windows. They are made after the window's screen widgets, each registers
// the commands it serves with the dispatcher, they are told of screen changes, and this is where
// the HTML pane's questions to the others are answered (the trees' and the find pane's in
// TPaneQuestions). The HTML pane comes from the HTML module, made when a screen with an HTML
// area is first shown or a command (TPaneCommands) first needs it, not before.
#include <memory>
#include <string>

#include "app/pane_commands.h"
#include "app/pane_questions.h"
#include "commands/service_registration.h"
#include "panes/html_frame_host.h"
#include "session/disc_session.h"

namespace vitrina {

class IDesktop;
class TControlPopupWindow;
class TCoolDialog;
class TCopyDataChannel;
class TDispatcher;
class IHtmlPane;
class TSearchService;
class TFormOptions;
class TMediaParts;
class TSkinWindow;
class TUnRar;
class TWindowDirectory;

class TWindowParts : public IScreenObserver, public THtmlFrameHost {
public:
    TWindowParts(TDiscSession& session, TDispatcher& dispatcher, IDesktop& desktop);
    ~TWindowParts() override;

    // The HTML panes, then the trees, then the popups; documentPanel is null in the document mode.
    virtual void BuildPanes(TSkinWindow& window, QWidget* documentPanel);
    // The parts go before the window's own widgets do.
    virtual void ReleasePanes();
    // The find pane, when the description has find areas, and the search commands. dialog hosts
    // the pane's fields (null in the thesaurus window, whose main window hosts them); windows and
    // channel reach a thesaurus window of another copy.
    void MakeSearch(TCoolDialog* dialog, TWindowDirectory* windows, TCopyDataChannel* channel);

    // The HTML pane; null until it is made, and when there are no HTML areas.
    IHtmlPane* Html() const { return html_.get(); }
    // The pane, made (the module loaded) if it is not yet; null when there are no HTML areas or
    // the module cannot be loaded.
    IHtmlPane* NeedHtml();
    TContentsTrees* Trees() const { return trees_.get(); }
    TControlPopupWindow* Popups() const { return popups_.get(); }
    TFindTxtHtml* FindPane() const { return find_.get(); }
    TSearchService* Search() const { return search_.get(); }
    TMediaParts* Media() const { return media_.get(); }
    TFormOptions* Options() const { return options_.get(); }

    // The HTML and print commands.
    TPaneCommands& Commands() { return commands_; }

    // IScreenObserver.
    void ScreenChanged(int currentScreen) override;

    // The HTML pane's questions.
    int CurrentScreen() const override { return session_.CurrentScreen; }
    void PressWithShift(int x, int y) override;
    void ClearSkinHover() override;
    void ExecuteCommand(const std::string& command) override;
    void Beep() override;
    QRect DocumentPanelClientRect() const override;
    void SetTitleText(const std::string& text) override;
    void ShowStatus(const std::string& text) override;
    bool PathInputExists() const override;
    std::string CurrentPath() const override;
    void RefreshNavigation() override;
    void TreeFollowDocument(const std::string& file) override;
    void UpdateChapterHints() override;
    void ShellOpen(const std::string& target, const std::string& folder) override;
    void RunProgram(const std::string& file, const std::string& folder) override;
    std::filesystem::path AskZipTarget(const std::filesystem::path& initialFolder, const std::string& name) override;
    void ClosePopups() override;
    void OpenPopup(int type, int x, int y) override;

protected:
    TDiscSession& session_;
    TDispatcher& dispatcher_;
    IDesktop& desktop_;
    TSkinWindow* window_ = nullptr;

private:
    bool ScreenHasHtml(int screen) const;
    // The panes follow screen changes while they exist.
    void ObserveScreens(bool observe);
    // The archive pages, which the HTML pane and "unarc" hand their archives to.
    void MakeArchivePages();
    void MakeOptions();

    friend class TPaneCommands;
    friend class TPaneQuestions;

    QWidget* panel_ = nullptr;
    bool followHistory_ = false;  // back or forward asked for the tree to follow
    TServingPart<TUnRar> archive_;
    TServingPart<TMediaParts> media_;
    TServingPart<TFormOptions> options_;
    std::unique_ptr<IHtmlPane> html_;
    TServingPart<TContentsTrees> trees_;
    TServingPart<TControlPopupWindow> popups_;
    std::unique_ptr<TFindTxtHtml> find_;
    TServingPart<TSearchService> search_;
    TPaneCommands commands_{*this};
    TPaneQuestions questions_{*this};
    std::vector<TServiceRegistration> served_;  // commands_'
};

}  // namespace vitrina
