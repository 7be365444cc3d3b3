#pragma once
// TPreviewForm: the print preview. It formats the viewer's document on the recorder's pages,
// shows one or two sheets at a chosen zoom, changes the print scale, orientation, page numbers
// and background printing (each formats again), and prints a page range.
#include <QDialog>
#include <QPointer>

#include <functional>
#include <memory>

#include "print/meta_file_printer.h"
#include "print/preview_state.h"

class QComboBox;
class QLabel;
class QMenu;
class QScrollArea;
class QStatusBar;
class QToolBar;
class QToolButton;
class QAction;

namespace vitrina {

class TFrameViewer;
class TPageBox;

class TPreviewForm : public QDialog {
public:
    // failed is set when the preview cannot be shown: no printer, or the first formatting
    // failed or was cancelled. A picture document of imageWidth x imageHeight pixels is fitted
    // to one sheet.
    TPreviewForm(QWidget* owner, int imageHeight, int imageWidth, bool imageDocument, TFrameViewer* viewer,
                 std::unique_ptr<TMetaFilePrinter> recorder, bool& failed);
    ~TPreviewForm() override;

    // F1: the program's help for the preview.
    std::function<void()> OnHelp;
    // "Принтер не доступен!" (a message box by default).
    std::function<void()> OnPrinterUnavailable;

    TMetaFilePrinter& Recorder() { return *recorder_; }
    const TPreviewPages& Pages() const { return pages_; }
    float PrintScale = 1;
    float StartPrintScale = 1;
    double ViewZoom = 1;
    int CurrentPage() const { return pages_.Current(); }

    void ShowPage(int page);
    // The layout of the page panels for the zoom list and the modes.
    void LayoutPages();
    // The print dialog and the print (PrintBut, Ctrl+P).
    void PrintDocument();
    void GoToPage();
    // Formats again at the current settings with the progress window; false when cancelled.
    bool Reformat();
    // A press or move on a page box (the tools act on them).
    void PagePress(TPageBox* box, Qt::MouseButton button, QPoint point);
    void PageMove(TPageBox* box, Qt::MouseButtons buttons, QPoint global);
    void PageRelease(TPageBox* box);
    // Pixels per inch of the screen the preview is on.
    double ScreenDpi() const;

    // Controls, named as the window names them.
    QToolBar* ToolBar = nullptr;
    QToolButton* PrintBut = nullptr;
    QToolButton* PageOrientationBut = nullptr;
    QToolButton* FirstPageBut = nullptr;
    QToolButton* PrevPageBut = nullptr;
    QToolButton* NextPageBut = nullptr;
    QToolButton* LastPageBut = nullptr;
    QToolButton* GoToPageBut = nullptr;
    QComboBox* ZoomBox = nullptr;
    QToolButton* FitPageBut = nullptr;
    QToolButton* FitWidthBut = nullptr;
    QToolButton* RestoreStartPrintZoomBut = nullptr;
    QToolButton* ZoomCursorPrintBut = nullptr;
    QToolButton* ZoomCursorBut = nullptr;
    QToolButton* HandCursorBut = nullptr;
    QToolButton* OnePageBut = nullptr;
    QToolButton* TwoPageBut = nullptr;
    QToolButton* HelpBut = nullptr;
    QToolButton* CloseBut = nullptr;
    QScrollArea* ScrollBox = nullptr;
    QWidget* ContainPanel = nullptr;
    QWidget* PagePanel = nullptr;
    QWidget* PagePanel2 = nullptr;
    TPageBox* PB1 = nullptr;
    TPageBox* PB2 = nullptr;
    QStatusBar* StatusBar = nullptr;
    QLabel* StatusPanels[4] = {};
    QMenu* PopupMenu1 = nullptr;
    QAction* PageNumbersOn = nullptr;
    QAction* PageNumbersOff = nullptr;
    QAction* ButtonCaptions = nullptr;
    QAction* PrintBackground = nullptr;

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QToolButton* AddButton(const char* name, const QString& caption, const QString& hint, int icon);
    void BuildWindow();
    void UpdateButtons();
    void ShowButtonCaptions(bool on);
    void SetPrintOrientation(bool landscape);
    // A change that formats again: on success the view follows.
    void ChangeAndReformat();
    void ChooseTool(QToolButton* tool);

    QPointer<TFrameViewer> viewer_;
    std::unique_ptr<TMetaFilePrinter> recorder_;
    TPreviewPages pages_;
    bool twoPageRequested_ = false;
    bool dragging_ = false;
    QPoint dragPoint_;
};

// A page of the preview: the sheet of its page, scaled to the box.
class TPageBox : public QWidget {
public:
    TPageBox(TPreviewForm& form, bool right, QWidget* parent);
    bool Right() const { return right_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    TPreviewForm& form_;
    bool right_;
};

}  // namespace vitrina
