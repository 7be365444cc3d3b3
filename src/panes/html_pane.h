#pragma once
// THtmlPane: the HTML module's pane as the program sees it (IHtmlPane). It makes the engine, the
// HTML frame, the print service and the font dialog's chooser, and answers the program's
// questions about the current viewer.
#include <memory>

#include "panes/html_module.h"

namespace vitrina {

class TDiscSession;
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

    // IHtmlCommands.
    void HistoryBack() override;
    void HistoryForward() override;
    void OpenInArea(int number, const std::string& document) override;
    std::string CurrentDocument() const override;
    void OpenDocument(const std::string& document) override;
    void CopyHtml() override;
    void TopHtml() override;
    void SelectAllHtml() override;
    bool ShowsArchivePage() const override;
    bool DocumentsLoading() const override;

    // IHtmlPane.
    void ShowScreenViewer() override;
    void SetSearch(ISearchCommands* search) override;
    void OpenInHtmlArea(int number, const std::string& document) override;
    void GoToHistory(int index) override;
    void CopySelection() override;
    void ChooseFonts() override;
    void Print(const std::string& file) override;
    void MarkPicturePrint(int width, int height) override;
    void FitStandardWindow(QWidget* client) override;
    void RestoreAreaBounds() override;
    QWidget* ActiveViewer() const override;
    const THistoryList* History() const override;
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
    // Back or forward, pressing the current screen's switches of a visit group.
    void StepHistory(bool back);

    TDiscSession& session_;
    // In the order they are made: the frame, which writes its font values as it goes, and the
    // viewers go before the engine they use.
    std::unique_ptr<TDocEngine> engine_;
    std::unique_ptr<TPrintService> print_;
    std::unique_ptr<THtmlFontChooser> fonts_;
    std::unique_ptr<THtmlFrame> frame_;
};

}  // namespace vitrina
