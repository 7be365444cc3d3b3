#pragma once
// What the contents trees and the find pane ask of the window's parts: the HTML pane's document
// and viewer, the status line, the popups.
#include <QRect>
#include <QString>

#include <functional>
#include <string>

#include "panes/tree_views.h"
#include "search/find_pane.h"

namespace vitrina {

class TWindowParts;

class TPaneQuestions : public TTreeHost, public IFindPaneHost {
public:
    explicit TPaneQuestions(TWindowParts& parts) : parts_(parts) {}

    // Both.
    std::string CurrentDocument() const override;
    void ClearSkinHover() override;

    // The trees'.
    int CurrentScreen() const override;
    const std::string& ProgramFolder() const override;
    std::string ResolveDocument(const std::string& link) const override;
    bool ViewerVisible() const override;
    void OpenDocument(const std::string& document) override;
    void OpenInHtmlArea(int number, const std::string& document) override;
    void HidePopups() override;
    void SetChapterHints(const std::string& next, const std::string& previous) override;
    QRect ViewerRect() const override;
    void SetViewerRect(const QRect& rect) override;
    void SetViewerShown(bool shown) override;
    void ReloadViewer() override;

    // The find pane's.
    bool FindInViewer(const std::string& frame, const QString& text, bool matchCase, bool fromTop,
                      std::function<void(bool)> done) override;
    void BringDocument(const std::string& document, bool followTree, std::function<void()> done) override;
    bool FindInContents(const std::string& text) override;
    void ShowStatus(const std::string& text) override;
    void ClearStatus() override;
    void ShowIndexMessage(const std::string& text) override;

private:
    QWidget* ActiveViewer() const;

    TWindowParts& parts_;
};

}  // namespace vitrina
