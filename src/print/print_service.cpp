#include "print/print_service.h"

#include <QEventLoop>
#include <QMessageBox>
#include <QTimer>

#include <memory>

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

TFrameViewer* LoadPrintViewer(TDocEngine& engine, QWidget* parent, const std::string& file) {
    auto* viewer = new TPrintFrameViewer(engine, parent);
    viewer->setGeometry(0, 0, 0, 0);
    viewer->hide();
    viewer->SetHistoryMaxCount(0);
    viewer->SetImageCacheCount(0);
    viewer->OnPrintHeader = [](TFrameViewer*, QPainter& canvas, int page, int pageWidth) {
        PageNumberHeader(canvas, page, pageWidth);
    };
    bool loaded = false;
    QEventLoop loop;
    QObject::connect(viewer, &QWebEngineView::loadFinished, &loop, [&](bool ok) {
        loaded = ok;
        loop.quit();
    });
    viewer->OnLoadFailed = [&](TFrameViewer*) { loop.quit(); };
    QTimer::singleShot(30000, &loop, &QEventLoop::quit);
    viewer->LoadFromFile(file);
    loop.exec();
    viewer->OnLoadFailed = nullptr;
    if (!loaded) {
        delete viewer;
        return nullptr;
    }
    return viewer;
}

void TPrintService::PrintPreview(TFrameViewer* viewer, const std::string& file, bool picture, QSize pictureSize) {
    // One preview at a time: it is modal, but requests from other copies still arrive.
    if (open_) return;
    if (file.empty()) return Preview(viewer, picture, pictureSize);
    std::unique_ptr<TFrameViewer> own(LoadPrintViewer(parts_.engine, parts_.window, file));
    if (own) Preview(own.get(), picture, pictureSize);
}

void TPrintService::NotifyCompanion() const {
    TWindowEntry companion;
    if (parts_.windows && parts_.windows->FindWindowByTitle("Zirorudovure", companion))
        parts_.windows->Send(companion, "1690 " + std::to_string(TCopyDataChannel::OwnHandle()) + " 0");
}

void TPrintService::Preview(TFrameViewer* viewer, bool picture, QSize pictureSize) {
    if (!viewer) return;
    open_ = true;
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
    open_ = false;
}

}  // namespace vitrina
