#pragma once
// THtmlPane: the HTML module's pane as the program sees it (IHtmlPane). It makes the engine, the
// HTML frame, the print service and the font dialog's chooser, and answers the program's
// questions about the current viewer.
#include <memory>

#include "html/html_module.h"

namespace vitrina {

class TDocEngine;
class TFrameViewer;
class THtmlFontChooser;
class THtmlFrame;
class TPrintService;

class THtmlPane : public IHtmlPane, private IHtmlPrinting {
public:
    THtmlPane(const TDynamicHtmlArray& areas, const THtmlPaneParts& parts);
    ~THtmlPane() override;

    THtmlFrame& Frame() const { return *frame_; }
    TFrameViewer* ActiveFrameViewer() const;

    // IPrintCommands.
    void PrintHtml() override;
    void PrintHtmlDialog() override;

    // IHtmlPane.
    void ShowScreenViewer() override;
    void SetSearch(ISearchCommands* search) override;
    void OpenInArea(int number, const std::string& document, bool remember) override;
    void OpenDocument(const std::string& document) override;
    void Back(const TDynamicSwthOneArray& switches, const TDynamicSwthGrpArray& groups) override;
    void Forward(const TDynamicSwthOneArray& switches, const TDynamicSwthGrpArray& groups) override;
    void GoToHistory(int index) override;
    bool IsArchivePage() const override;
    void ScrollToTop() override;
    void SelectAll() override;
    void CopyDocument() override;
    void CopySelection() override;
    void ChooseFonts() override;
    void Print(const std::string& file) override;
    void MarkPicturePrint(int width, int height) override;
    void FitStandardWindow(QWidget* client) override;
    void RestoreAreaBounds() override;
    bool DocumentsLoading() const override;
    QWidget* ActiveViewer() const override;
    const THistoryList* History() const override;
    std::string CurrentDocument() const override;
    bool Loading() const override;
    int ScrollPosition() const override;
    void SetScrollPosition(int y) override;
    QSize LastPictureSize() const override;
    void Reload() override;
    void BringDocument(const std::string& document, std::function<void()> done) override;
    bool FindInViewer(const std::string& frame, const QString& text, bool matchCase, bool fromTop,
                      std::function<void(bool)> done) override;

private:
    // IHtmlPrinting: the frame's print requests.
    void PrintPreview(TFrameViewer* viewer, const std::string& file, bool picture, QSize pictureSize) override;

    std::unique_ptr<TDocEngine> engine_;
    std::unique_ptr<TPrintService> print_;
    std::unique_ptr<THtmlFontChooser> fonts_;
    std::unique_ptr<THtmlFrame> frame_;
};

}  // namespace vitrina
