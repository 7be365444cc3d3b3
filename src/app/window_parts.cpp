#include "app/window_parts.h"

#include <QApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include "app/main_form.h"
#include "dialogs/popup_window.h"
#include "html/doc_engine.h"
#include "html/doc_url.h"
#include "html/frame_viewer.h"
#include "commands/settings.h"
#include "panes/html_frame.h"
#include "platform/cp1251.h"
#include "screen/panel_bkgrd.h"
#include "screen/path_input_box.h"
#include "screen/status_line.h"
#include "screen/text_msg.h"

namespace vitrina {

TWindowParts::TWindowParts() = default;

TWindowParts::~TWindowParts() { ReleasePanes(); }

void TWindowParts::BuildPanes(TMainForm& form, QWidget* documentPanel) {
    form_ = &form;
    panel_ = documentPanel;
    engine_ = std::make_unique<TDocEngine>(form.Files());
    html_ = THtmlFrame::CreateHtmlPane(
        form.Model.HtmlAreas,
        THtmlFrameServices{*engine_, form.Files(), form.Drives(), form.Registry(), form.Title, &form, documentPanel,
                           *this});
    QWidget* splitter = nullptr;
    if (auto* panel = dynamic_cast<TPanelBkgrd*>(documentPanel)) splitter = panel->Splitter();
    trees_ = std::make_unique<TContentsTrees>(form.Container, documentPanel, splitter, *this);
    bool anyPopup = false;
    for (const auto& screen : form.Model.ScreenPopups) anyPopup = anyPopup || !screen.empty();
    if (anyPopup) {
        TPopupActions actions;
        actions.history = [this](int n) {
            if (TFrameViewer* v = Viewer(); v && html_) {
                if (n >= 0 && n < v->History().Count()) TreeFollowDocument(v->History().Files()[n]);
                html_->GoToHistory(n);
            }
        };
        actions.openHtml = [this](const std::string& document) {
            TreeFollowDocument(document);
            OpenDocument(document);
        };
        actions.openHtmlPos = [this](const std::string& document, int position) {
            TreeFollowDocument(document);
            OpenDocument(document);
            if (TFrameViewer* v = Viewer()) v->SetVScrollBarPosition(position);
        };
        actions.copySelection = [this] {
            if (TFrameViewer* v = Viewer()) v->CopyToClipboard();
        };
        actions.addToFavorite = [this] { AddToFavorites(); };
        actions.fontDialog = [this] {
            if (html_) html_->ChooseFonts();
        };
        actions.selectAll = [this] { SelectAllHtml(); };
        actions.printPreview = [this] {
            if (html_) html_->Print({});
        };
        actions.command = [this](const std::string& command) { ExecuteCommand(command); };
        popups_ = std::make_unique<TControlPopupWindow>(
            form.Model, form.Container, form.Registry(), SettingsKey(form.Title), std::move(actions),
            [this](QPoint p) { return form_->mapToGlobal(p); });
        popups_->BuildForScreen(form.CurrentScreen);
    }
}

void TWindowParts::ReleasePanes() {
    popups_.reset();
    trees_.reset();
    html_.reset();
    engine_.reset();
    form_ = nullptr;
}

TFrameViewer* TWindowParts::Viewer() const { return html_ ? html_->ActiveFrameViewer() : nullptr; }

bool TWindowParts::DocumentsLoading() const {
    if (!html_) return false;
    for (const auto& viewer : html_->Viewers) {
        if (viewer && viewer->Loading()) return true;
    }
    return false;
}

bool TWindowParts::SecondTreeExists() const { return trees_ && trees_->Second(); }

bool TWindowParts::AnyTreeVisible() const { return trees_ && trees_->AnyVisible(); }

void TWindowParts::TreeSetPendingDocument(const std::string& document) {
    if (trees_) trees_->First()->PendingDocument = document;
}

void TWindowParts::TreeSwitch(bool bringUpSecond) {
    if (trees_) trees_->Switch(bringUpSecond);
}

void TWindowParts::TreesShow(bool show) {
    if (!trees_) return;
    if (show) trees_->Ontree();
    else trees_->Offtree();
}

void TWindowParts::TreeNextChapter() {
    if (trees_ && trees_->Shown()) trees_->Shown()->NextChapter();
}

void TWindowParts::TreePrevChapter() {
    if (trees_ && trees_->Shown()) trees_->Shown()->PrevChapter();
}

void TWindowParts::OpenPopup(int type, int x, int y) {
    if (popups_) popups_->ShowPopup(type, QPoint(x, y));
}

void TWindowParts::ClosePopups() {
    if (popups_) popups_->HideAllPopups();
}

void TWindowParts::AddToFavorites() {
    TFrameViewer* v = Viewer();
    if (!popups_ || !v || v->History().Count() == 0) return;
    const int index = v->HistoryIndex();
    const std::string caption = index >= 0 && index < v->History().Count() ? v->History().Titles()[index] : "";
    popups_->AddFavorite(caption, v->CurrentFile(), v->VScrollBarPosition());
}

void TWindowParts::HistoryBack() { StepHistory(&THtmlFrame::Back); }

void TWindowParts::HistoryForward() { StepHistory(&THtmlFrame::Forward); }

void TWindowParts::StepHistory(void (THtmlFrame::*step)(const TDynamicSwthOneArray&, const TDynamicSwthGrpArray&)) {
    if (!html_ || !form_) return;
    const int s = form_->CurrentScreen;
    const auto& model = form_->Model;
    (html_.get()->*step)(s < int(model.ScreenSwitches.size()) ? model.ScreenSwitches[s] : TDynamicSwthOneArray{},
                         s < int(model.ScreenGroups.size()) ? model.ScreenGroups[s] : TDynamicSwthGrpArray{});
    // The engine moves when the page is there: the tree follows the changed document.
    followHistory_ = true;
}

void TWindowParts::OpenInArea(int number, const std::string& document) {
    // The "html" command: the visit group first, then the document.
    if (!html_) return;
    html_->RememberVisit(document);
    html_->OpenInArea(number, document);
}

void TWindowParts::OpenInHtmlArea(int number, const std::string& document) {
    if (html_) html_->OpenInArea(number, document);
}

void TWindowParts::CopyHtml() {
    if (html_) html_->CopyDocument();
}

void TWindowParts::TopHtml() {
    if (html_) html_->ScrollToTop();
}

void TWindowParts::SelectAllHtml() {
    if (html_) html_->SelectAll();
}

bool TWindowParts::ShowsArchivePage() const { return html_ && html_->IsArchivePage(); }

void TWindowParts::ScreenChanged(int currentScreen) {
    // The tree first: the viewer of the document screen takes the room beside it.
    if (trees_) trees_->SyncWithScreen();
    if (html_) html_->ShowScreenViewer();
    if (popups_) {
        popups_->HideAllPopups();
        popups_->BuildForScreen(currentScreen);
    }
}

int TWindowParts::CurrentScreen() const { return form_ ? form_->CurrentScreen : 0; }

void TWindowParts::PressWithShift(int x, int y) {
    if (!form_) return;
    form_->FormMouseDown(Qt::LeftButton, Qt::ShiftModifier, x, y);
    form_->FormMouseUp(Qt::LeftButton, Qt::ShiftModifier, x, y);
}

void TWindowParts::ClearSkinHover() {
    if (form_) form_->FormMouseMove({}, -1, -1);
}

void TWindowParts::ExecuteCommand(const std::string& command) {
    if (form_) form_->ExecuteCommand(command, "", 1, 0, 0);
}

void TWindowParts::Beep() { QApplication::beep(); }

QRect TWindowParts::DocumentPanelClientRect() const {
    if (!panel_ || !trees_) return {};
    const TTreeViews* shown = trees_->Shown();
    if (!shown || !shown->isVisible()) return {};
    // Beside the tree and the splitter.
    const int left = shown->width() + 4;
    return QRect(left, 0, panel_->width() - left, panel_->height());
}

void TWindowParts::SetTitleText(const std::string& text) {
    if (form_ && form_->TextMsg()) form_->TextMsg()->SetText(text, 1, true);
}

void TWindowParts::ShowStatus(const std::string& text) {
    if (form_ && form_->StatusLine()) form_->StatusLine()->Show(text);
}

bool TWindowParts::PathInputExists() const { return form_ && form_->PathInputBox() && form_->PathInputBox()->Count() > 0; }

std::string TWindowParts::CurrentPath() const {
    std::string path;
    if (form_ && form_->PathInputBox()) form_->PathInputBox()->CurrentPath(path);
    return path;
}

void TWindowParts::RefreshNavigation() {
    if (followHistory_) {
        followHistory_ = false;
        TreeFollowDocument("fromhistory");
    }
    TFrameViewer* v = Viewer();
    if (popups_ && v) popups_->RefreshHistory(v->History().Titles(), v->HistoryIndex());
}

void TWindowParts::TreeFollowDocument(const std::string& file) {
    if (trees_ && trees_->Shown()) trees_->Shown()->FollowDocument(file);
}

void TWindowParts::UpdateChapterHints() {
    if (trees_ && trees_->Shown()) trees_->Shown()->UpdateChapterHints();
}

void TWindowParts::ShellOpen(const std::string& target, const std::string&) {
    // Disc files open through the drive map; web and mail links as they are.
    const bool drivePath = target.size() > 2 && target[1] == ':' && (target[2] == '\\' || target[2] == '/');
    if (drivePath && form_) {
        if (const auto host = form_->Drives().ToHostPath(target)) {
            QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(host->string())));
        }
        return;
    }
    QDesktopServices::openUrl(QUrl(QString::fromStdString(Cp1251ToUtf8(target))));
}

void TWindowParts::RunProgram(const std::string& file, const std::string& folder) {
    if (!form_) return;
    const auto host = form_->Drives().ToHostPath(file);
    if (!host) return;
    const auto workFolder = form_->Drives().ToHostPath(folder);
    const QString program = QString::fromStdString(host->string());
    const QString workDir = workFolder ? QString::fromStdString(workFolder->string()) : QString();
    // Windows programs run through wine where it is installed; anything else as it is.
    const QString wine = QStandardPaths::findExecutable("wine");
    if (program.endsWith(".exe", Qt::CaseInsensitive) && !wine.isEmpty()) {
        QProcess::startDetached(wine, {program}, workDir);
    } else {
        QProcess::startDetached(program, {}, workDir);
    }
}

const std::string& TWindowParts::ProgramFolder() const {
    static const std::string none = "d:\\";
    return form_ ? form_->ProgramFolder : none;
}

std::string TWindowParts::CurrentDocument() const {
    TFrameViewer* v = Viewer();
    return v ? v->CurrentFile() : std::string();
}

std::string TWindowParts::ResolveDocument(const std::string& link) const {
    return ResolveLink(link, CurrentDocument());
}

bool TWindowParts::ViewerVisible() const {
    TFrameViewer* v = Viewer();
    return v && v->isVisible();
}

void TWindowParts::OpenDocument(const std::string& document) {
    if (html_) html_->OpenDocument(document);
}

void TWindowParts::SetChapterHints(const std::string& next, const std::string& previous) {
    if (!form_) return;
    const int s = form_->CurrentScreen;
    if (s >= int(form_->Model.ScreenButtons.size())) return;
    auto& buttons = form_->Model.ScreenButtons[s];
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        const std::string go = LowerAscii(buttons[i].go);
        if (go != "nextchapter" && go != "prevchapter") continue;
        buttons[i].hint = go == "nextchapter" ? next : previous;
        if (i < form_->ButtonPictures.size()) {
            form_->ButtonPictures[i].carrier.hint = QString::fromStdString(Cp1251ToUtf8(buttons[i].hint));
        }
    }
}

QRect TWindowParts::ViewerRect() const {
    TFrameViewer* v = Viewer();
    return v ? v->geometry() : QRect();
}

void TWindowParts::SetViewerRect(const QRect& rect) {
    if (TFrameViewer* v = Viewer()) v->setGeometry(rect);
}

void TWindowParts::SetViewerShown(bool shown) {
    if (TFrameViewer* v = Viewer()) v->setVisible(shown);
}

void TWindowParts::ReloadViewer() {
    if (TFrameViewer* v = Viewer()) v->Reload();
}

}  // namespace vitrina
