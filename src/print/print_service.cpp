#include "print/print_service.h"

#include <QMessageBox>
#include <QTimer>

#include <functional>
#include <memory>
#include <utility>

#include "commands/dialog_commands.h"
#include "html/frame_viewer.h"
#include "platform/copy_data_channel.h"
#include "platform/window_directory.h"
#include "print/meta_file_printer.h"
#include "print/page_number_header.h"
#include "print/preview_form.h"

namespace vitrina {

TPrintService::TPrintService(TPrintServiceParts parts) : parts_(std::move(parts)) {}

void TPrintService::PrintHtml() {
    if (parts_.printShown) parts_.printShown();
}

void TPrintService::PrintHtmlDialog() {
    printAtOnce_ = true;
    PrintHtml();
    printAtOnce_ = false;
}

void LoadPrintViewer(TDocEngine& engine, QWidget* parent, const std::string& file,
                     std::function<void(std::unique_ptr<TFrameViewer> viewer)> loaded) {
    auto* viewer = new TPrintFrameViewer(engine, parent);
    viewer->setGeometry(0, 0, 0, 0);
    viewer->hide();
    viewer->SetHistoryMaxCount(0);
    viewer->SetImageCacheCount(0);
    viewer->OnPrintHeader = [](TFrameViewer*, QPainter& canvas, int page, int pageWidth) {
        PageNumberHeader(canvas, page, pageWidth);
    };
    // The first of load, failure and the bound ends the wait, once; the answer goes out from the
    // window's loop, not from inside the viewer's own signal.
    auto finish = [viewer, loaded = std::move(loaded)](bool ok) mutable {
        if (!loaded) return;
        viewer->OnLoadFailed = nullptr;
        QObject::disconnect(viewer, &QWebEngineView::loadFinished, nullptr, nullptr);
        QTimer::singleShot(0, viewer, [viewer, ok, loaded = std::exchange(loaded, nullptr)] {
            std::unique_ptr<TFrameViewer> own(viewer);
            if (!ok) own.reset();
            loaded(std::move(own));
        });
    };
    auto shared = std::make_shared<decltype(finish)>(std::move(finish));
    QObject::connect(viewer, &QWebEngineView::loadFinished, viewer, [shared](bool ok) { (*shared)(ok); });
    viewer->OnLoadFailed = [shared](TFrameViewer*) { (*shared)(false); };
    QTimer::singleShot(30000, viewer, [shared] { (*shared)(false); });
    viewer->LoadFromFile(file);
}

void TPrintService::PrintPreview(TFrameViewer* viewer, const std::string& file, bool picture, QSize pictureSize) {
    // One preview at a time, from the request on: it is modal, but requests from other copies
    // and clicks still arrive while the file loads.
    if (open_) return;
    if (file.empty()) return Preview(viewer, picture, pictureSize);
    open_ = true;
    LoadPrintViewer(parts_.engine, parts_.window, file,
                    [this, picture, pictureSize, alive = std::weak_ptr<int>(alive_)](std::unique_ptr<TFrameViewer> own) {
                        if (alive.expired()) return;
                        open_ = false;
                        if (own) Preview(own.get(), picture, pictureSize);
                    });
}

void TPrintService::NotifyCompanion() const {
    TWindowEntry companion;
    if (parts_.windows && parts_.windows->FindWindowByTitle("Zirorudovure", companion))
        parts_.windows->Send(companion, "1690 " + std::to_string(TCopyDataChannel::OwnHandle()) + " 0");
}

void TPrintService::Preview(TFrameViewer* viewer, bool picture, QSize pictureSize) {
    if (!viewer) return;
    open_ = true;
    // Down again however the preview ends.
    struct TClosed {
        bool& open;
        ~TClosed() { open = false; }
    } closed{open_};
    NotifyCompanion();
    QWidget* owner = parts_.window;
    auto warn = [this, owner](int index, const char* text) {
        if (IDialogCommands* dialogs = parts_.dialogs ? parts_.dialogs() : nullptr) dialogs->ShowDialog(index, {});
        else QMessageBox::warning(owner, QString(), QString::fromUtf8(text));
    };
    TMetaFilePrinter::TWarnings warnings;
    warnings.noPrinters = [&] { warn(kNoPrinterDialog, "Не найдено установленных принтеров!"); };
    warnings.defaultUnavailable = [&] { warn(kPrinterUnavailableDialog, "Принтер, установленный по умолчанию, сейчас не доступен!"); };
    bool failed = false;
    auto form = std::make_unique<TPreviewForm>(owner, pictureSize.height(), pictureSize.width(), picture, viewer,
                                               std::make_unique<TMetaFilePrinter>(warnings), failed);
    if (!failed) {
        form->OnHelp = parts_.help;
        if (printAtOnce_) QTimer::singleShot(0, form.get(), [f = form.get()] { f->PrintDocument(); });
        form->exec();
    }
}

}  // namespace vitrina
