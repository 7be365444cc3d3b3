#include "print/prn_status_form.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPagedPaintDevice>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <utility>

#include "print/meta_file_printer.h"
#include "print/page_formatter.h"

namespace vitrina {

TPrnStatusForm::TPrnStatusForm(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QString::fromUtf8("Форматирование текста"));
    setObjectName("PrnStatusForm");
    auto* layout = new QVBoxLayout(this);
    StatusLabel = new QLabel(this);
    StatusLabel->setObjectName("StatusLabel");
    StatusLabel->setMinimumWidth(220);
    StatusLabel->setAlignment(Qt::AlignCenter);
    CancelBut = new QPushButton(QString::fromUtf8("Отмена"), this);
    CancelBut->setObjectName("CancelBut");
    layout->addWidget(StatusLabel);
    layout->addWidget(CancelBut, 0, Qt::AlignHCenter);
    connect(CancelBut, &QPushButton::clicked, this, &TPrnStatusForm::reject);
    setModal(true);
}

TPrnStatusForm::~TPrnStatusForm() = default;

bool TPrnStatusForm::Progress(int page) {
    StatusLabel->setText(page == 0 ? QString::fromUtf8("Форматирование ...")
                                   : QString::fromUtf8("Номер страницы ") + QString::number(page));
    StatusLabel->repaint();
    return !cancel_;
}

void TPrnStatusForm::keyPressEvent(QKeyEvent*) { reject(); }

void TPrnStatusForm::reject() {
    cancel_ = true;
    // Taken out first: ending the work lets go of finish_.
    if (auto finish = std::exchange(finish_, nullptr)) finish(false);
}

bool TPrnStatusForm::Run(const std::function<void(std::function<void(bool)>)>& work, bool cancelEnds) {
    cancel_ = false;
    bool ok = false;
    bool ended = false;
    auto finish = [this, &ok, &ended](bool result) {
        if (ended) return;
        ended = true;
        finish_ = nullptr;
        ok = result && !cancel_;
        done(ok ? Accepted : Rejected);
    };
    if (cancelEnds) finish_ = finish;
    // Once the window is up, so that it shows while the work runs; not at all when the window
    // was closed before (the timer goes with this call).
    QTimer start;
    start.setSingleShot(true);
    connect(&start, &QTimer::timeout, this, [work, finish, &ended] {
        if (!ended) work(finish);
    });
    start.start(0);
    exec();
    finish_ = nullptr;
    return ok;
}

bool TPrnStatusForm::FormatWithProgress(TFrameViewer* viewer, TMetaFilePrinter& recorder, float scale) {
    TPageFormatter* formatter = nullptr;
    const bool ok = Run([&](std::function<void(bool)> finish) {
        formatter = new TPageFormatter(viewer, recorder, scale, [this](int page) { return Progress(page); },
                                       std::move(finish), this);
        formatter->Start();
    }, true);
    delete formatter;
    return ok;
}

void TPrnStatusForm::PrintWithProgress(const TMetaFilePrinter& recorder, QPagedPaintDevice& device, QRectF paper,
                                       int first, int last, std::function<void(bool)> done) {
    cancel_ = false;
    printed_ = std::move(done);
    printing_ = std::make_unique<TPagePrinting>(recorder, device, paper, first, last);
    open();
    if (!printing_->Begin()) return EndPrint(false);
    // Each page on its own turn, the first once the window is up.
    QTimer::singleShot(0, this, &TPrnStatusForm::PrintStep);
}

void TPrnStatusForm::PrintStep() {
    if (!printing_) return;
    const int page = printing_->NextPage();
    if (page == 0) return EndPrint(printing_->End());
    if (!Progress(page)) return EndPrint(false);
    printing_->Step();
    QTimer::singleShot(0, this, &TPrnStatusForm::PrintStep);
}

void TPrnStatusForm::EndPrint(bool ok) {
    // A stopped print still ends the device's job, with the pages it has.
    if (printing_) printing_->End();
    printing_.reset();
    ok = ok && !cancel_;
    done(ok ? Accepted : Rejected);
    if (auto printed = std::exchange(printed_, nullptr)) printed(ok);
}

}  // namespace vitrina
