#pragma once
// The parts of the main window that live in panes and popups: the HTML pane, the contents
// trees and the popup windows. They are made after the window's screen widgets, handed to the
// dispatcher as its services, told of screen changes, and this is where each part's questions
// to the others are answered. The HTML pane comes from the HTML module, made when a screen with
// an HTML area is first shown or a command first needs it, not before.
#include <memory>
#include <string>

#include "dialogs/print_commands.h"
#include "panes/html_commands.h"
#include "panes/html_frame_host.h"
#include "panes/tree_views.h"
#include "search/find_pane.h"
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

class TWindowParts : public IHtmlCommands,
                     public IScreenObserver,
                     public THtmlFrameHost,
                     public TTreeHost,
                     public IFindPaneHost,
                     public IPrintCommands {
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

    // IHtmlCommands.
    void HistoryBack() override;
    void HistoryForward() override;
    void OpenInArea(int number, const std::string& document) override;
    void CopyHtml() override;
    void TopHtml() override;
    void SelectAllHtml() override;
    bool ShowsArchivePage() const override;
    bool DocumentsLoading() const override;

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

    // The trees' questions.
    const std::string& ProgramFolder() const override { return session_.ProgramFolder; }
    std::string CurrentDocument() const override;
    std::string ResolveDocument(const std::string& link) const override;
    bool ViewerVisible() const override;
    void OpenDocument(const std::string& document) override;
    void OpenInHtmlArea(int number, const std::string& document) override;
    void HidePopups() override { ClosePopups(); }
    void SetChapterHints(const std::string& next, const std::string& previous) override;
    QRect ViewerRect() const override;
    void SetViewerRect(const QRect& rect) override;
    void SetViewerShown(bool shown) override;
    void ReloadViewer() override;

    // The find pane's questions.
    bool FindInViewer(const std::string& frame, const QString& text, bool matchCase, bool fromTop,
                      std::function<void(bool)> done) override;
    void BringDocument(const std::string& document, bool followTree, std::function<void()> done) override;
    bool FindInContents(const std::string& text) override;
    void ClearStatus() override;
    void ShowIndexMessage(const std::string& text) override;

    // IPrintCommands.
    void PrintHtml() override;
    void PrintHtmlDialog() override;

protected:
    TDiscSession& session_;
    TDispatcher& dispatcher_;
    IDesktop& desktop_;
    TSkinWindow* window_ = nullptr;

private:
    // Back or forward in the pane; the contents tree follows the document it comes to.
    void StepHistory(void (IHtmlCommands::*step)());
    bool ScreenHasHtml(int screen) const;
    void Publish(bool present);
    // The archive pages, which the HTML pane and "unarc" hand their archives to.
    void MakeArchivePages();
    void MakeOptions();

    QWidget* panel_ = nullptr;
    bool followHistory_ = false;  // back or forward asked for the tree to follow
    std::unique_ptr<TUnRar> archive_;
    std::unique_ptr<TMediaParts> media_;
    std::unique_ptr<TFormOptions> options_;
    std::unique_ptr<IHtmlPane> html_;
    std::unique_ptr<TContentsTrees> trees_;
    std::unique_ptr<TControlPopupWindow> popups_;
    std::unique_ptr<TFindTxtHtml> find_;
    std::unique_ptr<TSearchService> search_;
};

}  // namespace vitrina
