#include "panes/html_pane.h"

#include <QTimer>

#include <utility>

#include "html/doc_engine.h"
#include "html/frame_viewer.h"
#include "html/html_viewer.h"
#include "panes/html_font_chooser.h"
#include "panes/html_frame.h"
#include "platform/qt_text.h"
#include "print/print_service.h"
#include "session/disc_session.h"

namespace vitrina {

THtmlPane::THtmlPane(const TDynamicHtmlArray& areas, const THtmlPaneParts& parts)
    : session_(parts.session),
      engine_(std::make_unique<TDocEngine>(parts.session.Files(), parts.session.Reach())) {
    TDiscSession& session = parts.session;
    print_ = std::make_unique<TPrintService>(TPrintServiceParts{
        *engine_, parts.window, [this] { Print({}); }, parts.dialogs, parts.windows, parts.printHelp});
    fonts_ = std::make_unique<THtmlFontChooser>(*engine_, parts.window);
    THtmlFrameServices services{*engine_,     session.Files(),     session.Drives(), session.Registry(),
                                session.Title, parts.window,       parts.documentPanel, parts.host};
    services.archive = parts.archive;
    services.player = parts.player;
    services.setup = parts.setup;
    services.search = parts.search;
    services.printing = this;
    services.fonts = fonts_.get();
    frame_ = std::make_unique<THtmlFrame>(areas, services);
}

THtmlPane::~THtmlPane() = default;

TFrameViewer* THtmlPane::ActiveFrameViewer() const { return frame_->ActiveFrameViewer(); }

void THtmlPane::PrintHtml() { print_->PrintHtml(); }

void THtmlPane::PrintHtmlDialog() { print_->PrintHtmlDialog(); }

void THtmlPane::PrintPreview(TFrameViewer* viewer, const std::string& file, bool picture, QSize pictureSize) {
    print_->PrintPreview(viewer, file, picture, pictureSize);
}

void THtmlPane::ShowScreenViewer() { frame_->ShowScreenViewer(); }

void THtmlPane::SetSearch(ISearchCommands* search) { frame_->SetSearch(search); }

void THtmlPane::HistoryBack() { StepHistory(true); }

void THtmlPane::HistoryForward() { StepHistory(false); }

void THtmlPane::StepHistory(bool back) {
    const int s = session_.CurrentScreen;
    const auto& model = session_.Model;
    const TDynamicSwthOneArray none;
    const TDynamicSwthGrpArray noGroups;
    const TDynamicSwthOneArray& switches = s >= 0 && s < int(model.ScreenSwitches.size()) ? model.ScreenSwitches[s] : none;
    const TDynamicSwthGrpArray& groups = s >= 0 && s < int(model.ScreenGroups.size()) ? model.ScreenGroups[s] : noGroups;
    if (back) frame_->Back(switches, groups);
    else frame_->Forward(switches, groups);
}

void THtmlPane::OpenInArea(int number, const std::string& document) {
    // The "html" command: the visit group first, then the document.
    frame_->RememberVisit(document);
    frame_->OpenInArea(number, document);
}

void THtmlPane::OpenInHtmlArea(int number, const std::string& document) { frame_->OpenInArea(number, document); }

void THtmlPane::OpenDocument(const std::string& document) { frame_->OpenDocument(document); }

void THtmlPane::GoToHistory(int index) { frame_->GoToHistory(index); }

bool THtmlPane::ShowsArchivePage() const { return frame_->IsArchivePage(); }

void THtmlPane::TopHtml() { frame_->ScrollToTop(); }

void THtmlPane::SelectAllHtml() { frame_->SelectAll(); }

void THtmlPane::CopyHtml() { frame_->CopyDocument(); }

void THtmlPane::CopySelection() {
    if (TFrameViewer* v = ActiveFrameViewer()) v->CopyToClipboard();
}

void THtmlPane::ChooseFonts() { frame_->ChooseFonts(); }

void THtmlPane::Print(const std::string& file) { frame_->Print(file); }

void THtmlPane::MarkPicturePrint(int width, int height) {
    frame_->PrintPicture = true;
    if (width >= 0) frame_->PrintWidth = width;
    if (height >= 0) frame_->PrintHeight = height;
}

void THtmlPane::FitStandardWindow(QWidget* client) {
    TFrameViewer* v = ActiveFrameViewer();
    if (!v) return;
    if (v->parentWidget() == client)
        v->setGeometry(client->rect());
    else if (!v->isHidden())
        frame_->FitStandardWindow(client);
}

void THtmlPane::RestoreAreaBounds() { frame_->RestoreAreaBounds(); }

bool THtmlPane::DocumentsLoading() const {
    for (const auto& viewer : frame_->Viewers) {
        if (viewer && viewer->Loading()) return true;
    }
    return false;
}

QWidget* THtmlPane::ActiveViewer() const { return ActiveFrameViewer(); }

const THistoryList* THtmlPane::History() const {
    TFrameViewer* v = ActiveFrameViewer();
    return v ? &v->History() : nullptr;
}

std::string THtmlPane::CurrentDocument() const {
    TFrameViewer* v = ActiveFrameViewer();
    return v ? v->CurrentFile() : std::string();
}

bool THtmlPane::Loading() const {
    TFrameViewer* v = ActiveFrameViewer();
    return v && v->Loading();
}

int THtmlPane::ScrollPosition() const {
    TFrameViewer* v = ActiveFrameViewer();
    return v ? v->VScrollBarPosition() : 0;
}

void THtmlPane::SetScrollPosition(int y) {
    if (TFrameViewer* v = ActiveFrameViewer()) v->SetVScrollBarPosition(y);
}

QSize THtmlPane::LastPictureSize() const {
    TFrameViewer* v = ActiveFrameViewer();
    return v ? v->LastPictureSize() : QSize();
}

void THtmlPane::Reload() {
    if (TFrameViewer* v = ActiveFrameViewer()) v->Reload();
}

void THtmlPane::BringDocument(const std::string& document, std::function<void()> done) {
    TFrameViewer* v = ActiveFrameViewer();
    if (!v) return done();
    v->show();
    const int entry = v->History().Find(document);
    if (entry >= 0 && entry == v->HistoryIndex() && !v->Loading()) return done();
    // Once, when the load ends or, should the engine never say so, after a while.
    auto once = std::make_shared<std::function<void()>>(std::move(done));
    auto finish = [once] {
        if (auto f = std::exchange(*once, nullptr)) f();
    };
    auto* guard = new QObject(v);
    QObject::connect(v, &QWebEngineView::loadFinished, guard, [guard, finish](bool) {
        guard->deleteLater();
        finish();
    });
    QTimer::singleShot(10000, guard, [guard, finish] {
        guard->deleteLater();
        finish();
    });
    if (entry >= 0) v->SetHistoryIndex(entry);
    else v->LoadFromFile(document);
}

bool THtmlPane::FindInViewer(const std::string& frame, const QString& text, bool matchCase, bool fromTop,
                             std::function<void(bool)> done) {
    TFrameViewer* v = ActiveFrameViewer();
    if (!v) return false;
    // The viewer's script falls back to the focused frame when the named one is missing.
    const THTMLViewer page = frame.empty() ? v->ActiveViewer() : v->ViewerByName(QText(frame));
    if (fromTop) page.ResetSelection();
    page.FindNext(text, matchCase, std::move(done));
    return true;
}

}  // namespace vitrina
