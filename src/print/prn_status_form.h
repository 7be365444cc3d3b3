#pragma once
// TPrnStatusForm: the small modal window shown while pages are formatted or printed, with its
// cancel button. The work starts once the window is up.
#include <QDialog>

#include <functional>
#include <memory>

class QLabel;
class QPagedPaintDevice;
class QPushButton;

namespace vitrina {

class TFrameViewer;
class TMetaFilePrinter;
class TPagePrinting;

class TPrnStatusForm : public QDialog {
public:
    explicit TPrnStatusForm(QWidget* parent = nullptr);
    ~TPrnStatusForm() override;

    // True when the formatting ended without the reader cancelling it and without failing.
    bool FormatWithProgress(TFrameViewer* viewer, TMetaFilePrinter& recorder, float scale);
    // Shows the window and returns; the pages are printed one per turn of the event loop, so that
    // Cancel is taken between them. done(ok) comes once the window has closed, ok false when
    // cancelled or failed. The recorder and the device outlive the print.
    void PrintWithProgress(const TMetaFilePrinter& recorder, QPagedPaintDevice& device, QRectF paper, int first,
                           int last, std::function<void(bool ok)> done);

    // The progress handler of the engine: false once cancelled.
    bool Progress(int page);
    bool Cancelled() const { return cancel_; }

    QLabel* StatusLabel = nullptr;
    QPushButton* CancelBut = nullptr;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;

private:
    // work gets the function that ends it; a cancel ends an asynchronous work at once.
    bool Run(const std::function<void(std::function<void(bool)>)>& work, bool cancelEnds);
    void PrintStep();
    void EndPrint(bool ok);
    bool cancel_ = false;
    std::function<void(bool)> finish_;
    std::unique_ptr<TPagePrinting> printing_;
    std::function<void(bool)> printed_;
};

}  // namespace vitrina
