#pragma once
// The parts of the main window that live in panes and popups: the HTML pane, the contents
// trees and the popup windows. It is where the dispatcher's routed commands arrive, and it
// answers what each part asks of the others.
#include <memory>
#include <string>

#include "commands/command_targets.h"
#include "panes/html_frame_host.h"
#include "panes/tree_views.h"
#include "screen/screen_model.h"

namespace vitrina {

class TControlPopupWindow;
class TDocEngine;
class THtmlFrame;
class TMainForm;

class TWindowParts : public TCommandTargets, public THtmlFrameHost, public TTreeHost {
public:
    TWindowParts();
    ~TWindowParts() override;

    // Made while the main window is built, after its screen widgets: the HTML panes, then the
    // trees, then the popups.
    void BuildPanes(TMainForm& form, QWidget* documentPanel) override;
    // The window is going: the parts go before the window's own widgets.
    void ReleasePanes() override;

    THtmlFrame* Html() const { return html_.get(); }
    // Some viewer is still loading its document.
    bool DocumentsLoading() const;
    TContentsTrees* Trees() const { return trees_.get(); }
    TControlPopupWindow* Popups() const { return popups_.get(); }

    // Dispatcher targets.
    bool HtmlPanesExist() const override { return html_ != nullptr; }
    bool PopupOwnerExists() const override { return popups_ != nullptr; }
    bool SecondTreeExists() const override;
    bool AnyTreeVisible() const override;
    void TreeSetPendingDocument(const std::string& document) override;
    void TreeSwitch(bool bringUpSecond) override;
    void TreesShow(bool show) override;
    void TreeNextChapter() override;
    void TreePrevChapter() override;
    void OpenPopup(int type, int x, int y) override;
    void ClosePopups() override;
    void AddToFavorites() override;
    void HistoryBack() override;
    void HistoryForward() override;
    void OpenInArea(int number, const std::string& document) override;
    void CopyHtml() override;
    void TopHtml() override;
    void SelectAllHtml() override;
    bool ShowsArchivePage() const override;
    void ScreenChanged(int currentScreen) override;

    // The HTML pane's questions.
    int CurrentScreen() const override;
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

    // The trees' questions.
    const std::string& ProgramFolder() const override;
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

private:
    class TFrameViewer* Viewer() const;
    // Back or forward in the current viewer, pressing the current screen's switches of a visit group.
    void StepHistory(void (THtmlFrame::*step)(const TDynamicSwthOneArray&, const TDynamicSwthGrpArray&));

    TMainForm* form_ = nullptr;
    QWidget* panel_ = nullptr;
    bool followHistory_ = false;  // back or forward asked for the tree to follow
    std::unique_ptr<TDocEngine> engine_;
    std::unique_ptr<THtmlFrame> html_;
    std::unique_ptr<TContentsTrees> trees_;
    std::unique_ptr<TControlPopupWindow> popups_;
};

}  // namespace vitrina
