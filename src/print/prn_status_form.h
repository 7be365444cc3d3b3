#pragma once
// TPrnStatusForm: the small modal window shown while pages are formatted or printed, with its
// cancel button. The work starts once the window is up.
#include <QDialog>

#include <functional>

class QLabel;
class QPagedPaintDevice;
class QPushButton;

namespace vitrina {

class TFrameViewer;
class TMetaFilePrinter;

class TPrnStatusForm : public QDialog {
public:
    explicit TPrnStatusForm(QWidget* parent = nullptr);

    // Both return true when the work ended without the reader cancelling it and without failing.
    bool FormatWithProgress(TFrameViewer* viewer, TMetaFilePrinter& recorder, float scale);
    bool PrintWithProgress(TMetaFilePrinter& recorder, QPagedPaintDevice& device, QRectF paper, int first, int last);

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
    bool cancel_ = false;
    std::function<void(bool)> finish_;
};

}  // namespace vitrina
