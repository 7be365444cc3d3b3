#include "app/window_parts.h"

#include <QApplication>
#include <QCursor>
#include <QDateTime>
#include <QDesktopServices>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>

#include <memory>
#include <optional>

#include "app/html_module_loader.h"
#include "archive/archive_page_files.h"
#include "archive/unrar.h"
#include "session/busy.h"
#include "commands/dispatcher.h"
#include "dialogs/cool_dialog.h"
#include "dialogs/dialog_commands.h"
#include "dialogs/popup_window.h"
#include "dialogs/zip_save_dialog.h"
#include "html/doc_url.h"
#include "html/history_list.h"
#include "html/html_module.h"
#include "dialogs/form_options.h"
#include "media/background_music.h"
#include "media/media_parts.h"
#include "media/slide_image.h"
#include "media/window_clip.h"
#include "session/settings.h"
#include "platform/cp1251.h"
#include "platform/desktop.h"
#include "platform/qt_text.h"
#include "search/search_service.h"
#include "screen/panel_bkgrd.h"
#include "screen/skin_window.h"
#include "screen/path_input_box.h"
#include "screen/status_line.h"
#include "screen/text_msg.h"

namespace vitrina {
namespace fs = std::filesystem;

TWindowParts::TWindowParts(TDiscSession& session, TDispatcher& dispatcher, IDesktop& desktop)
    : session_(session), dispatcher_(dispatcher), desktop_(desktop) {}

TWindowParts::~TWindowParts() { TWindowParts::ReleasePanes(); }

void TWindowParts::BuildPanes(TSkinWindow& window, QWidget* documentPanel) {
    window_ = &window;
    panel_ = documentPanel;
    MakeArchivePages();
    // The player first: the HTML pane hands it the media links.
    TMediaActions media;
    media.showDocument = [this](int number, const std::string& document) { OpenInHtmlArea(number, document); };
    media.areaMouseMove = [this] { ClearSkinHover(); };
    media.background = [&window] { return &window.Background(); };
    media_ = std::make_unique<TMediaParts>(session_, &window, std::move(media));
    if (!dispatcher_.Services().player) dispatcher_.Services().player = media_.get();
    // The first screen's documents come at once; the engine waits for a screen that shows some.
    if (ScreenHasHtml(session_.CurrentScreen)) NeedHtml();
    QWidget* splitter = nullptr;
    if (auto* panel = dynamic_cast<TPanelBkgrd*>(documentPanel)) splitter = panel->Splitter();
    trees_ = std::make_unique<TContentsTrees>(session_.Container, documentPanel, splitter, *this);
    bool anyPopup = false;
    for (const auto& screen : session_.Model.ScreenPopups) anyPopup = anyPopup || !screen.empty();
    MakeOptions();
    if (anyPopup) {
        TPopupActions actions;
        actions.history = [this](int n) {
            if (const THistoryList* history = html_ ? html_->History() : nullptr) {
                if (n >= 0 && n < history->Count()) TreeFollowDocument(history->Files()[n]);
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
            if (html_) html_->SetScrollPosition(position);
        };
        actions.copySelection = [this] {
            if (html_) html_->CopySelection();
        };
        actions.addToFavorite = [this] {
            if (popups_) popups_->AddToFavorites();
        };
        actions.currentVisit = [this](TFavoriteVisit& visit) {
            const THistoryList* history = html_ ? html_->History() : nullptr;
            if (!history || history->Count() == 0) return false;
            const int index = history->Index();
            visit.caption = index >= 0 && index < history->Count() ? history->Titles()[index] : "";
            visit.file = html_->CurrentDocument();
            visit.position = html_->ScrollPosition();
            return true;
        };
        actions.fontDialog = [this] {
            if (html_) html_->ChooseFonts();
        };
        actions.selectAll = [this] { SelectAllHtml(); };
        actions.printPreview = [this] {
            if (html_) html_->Print({});
        };
        actions.command = [this](const std::string& command) { ExecuteCommand(command); };
        popups_ = std::make_unique<TControlPopupWindow>(
            session_.Model, session_.Container, session_.Registry(), SettingsKey(session_.Title), std::move(actions),
            [this](QPoint p) { return window_ ? window_->mapToGlobal(p) : p; });
        popups_->BuildForScreen(session_.CurrentScreen);
    }
    Publish(true);
}

void TWindowParts::Publish(bool present) {
    TCommandServices& services = dispatcher_.Services();
    services.html = present && !session_.Model.HtmlAreas.empty() ? this : nullptr;
    services.trees = present ? trees_.get() : nullptr;
    services.popups = present ? popups_.get() : nullptr;
    services.archive = present ? archive_.get() : nullptr;
    // A media service set before start-up (a test's) stays; ours go with the panes.
    auto own = [present](auto*& slot, auto* mine) {
        if (present && !slot) slot = mine;
        else if (!present && slot == mine) slot = nullptr;
    };
    own(services.player, static_cast<IPlayerCommands*>(media_.get()));
    own(services.clips, media_ ? static_cast<IClipCommands*>(&media_->WindowClip()) : nullptr);
    own(services.options, static_cast<IOptionsCommands*>(options_.get()));
    own(services.print, static_cast<IPrintCommands*>(this));
    if (present) {
        if (media_) session_.AddScreenObserver(media_.get());
        session_.AddScreenObserver(this);
    } else {
        if (media_) session_.RemoveScreenObserver(media_.get());
        session_.RemoveScreenObserver(this);
    }
}

void TWindowParts::MakeSearch(TCoolDialog* dialog, TWindowDirectory* windows, TCopyDataChannel* channel) {
    if (!session_.Model.FindAreas.empty() && window_)
        find_ = std::make_unique<TFindTxtHtml>(session_, *this, dialog, dialog ? nullptr : window_);
    if (dialog) dialog->SetFindPane(find_.get());
    search_ = std::make_unique<TSearchService>(
        session_, dialog, find_.get(), windows, channel,
        [this](const std::string& text, TSearchMessageKind) { ShowIndexMessage(text); });
    dispatcher_.Services().search = search_.get();
    if (html_) html_->SetSearch(search_.get());
}

void TWindowParts::ReleasePanes() {
    dispatcher_.Services().search = nullptr;
    if (html_) html_->SetSearch(nullptr);
    search_.reset();
    find_.reset();
    Publish(false);
    if (media_) media_->Release();
    popups_.reset();
    trees_.reset();
    html_.reset();
    archive_.reset();
    options_.reset();
    media_.reset();
    window_ = nullptr;
}

void TWindowParts::MakeArchivePages() {
    TArchiveActions a;
    a.showMessage = [this](const std::string& message) {
        if (IDialogCommands* dialogs = dispatcher_.Services().dialogs) dialogs->ShowMessage(message);
    };
    a.setBusy = [flag = std::make_shared<std::optional<TBusy>>()](bool busy) {
        if (busy) {
            flag->emplace();
            QApplication::setOverrideCursor(Qt::WaitCursor);
        } else {
            flag->reset();
            QApplication::restoreOverrideCursor();
        }
    };
    a.pathInputText = [this]() -> std::optional<std::string> {
        if (!PathInputExists()) return std::nullopt;
        return CurrentPath();
    };
    a.showsArchivePage = [this] { return ShowsArchivePage(); };
    a.showDocument = [this](const std::string& document) { OpenDocument(document); };
    a.wroteFolder = [this](const std::string& folder) { session_.Reach().AllowFolder(folder); };
    a.now = [] { return DosDateTime(QDateTime::currentDateTime()); };
    archive_ = std::make_unique<TUnRar>(session_.Drives(), session_.TempFolder, std::move(a));
}

void TWindowParts::MakeOptions() {
    TOptionsActions a;
    a.runSlideShow = [this](bool on) {
        if (media_ && media_->Slides()) media_->Slides()->SetRunning(on);
    };
    a.slideInterval = [this](int ms) {
        if (media_ && media_->Slides()) media_->Slides()->SetInterval(ms);
    };
    a.fontDialog = [this] {
        if (html_) html_->ChooseFonts();
    };
    options_ = std::make_unique<TFormOptions>(session_, std::move(a));
    options_->SetBackgroundSound(session_.Settings.BGSound);
    media_->Music().OnFlagChanged = [this](bool on) {
        if (options_) options_->SetBackgroundSound(on);
    };
}

IHtmlPane* TWindowParts::NeedHtml() {
    if (html_ || !window_ || session_.Model.HtmlAreas.empty()) return html_.get();
    IHtmlModule* module = HtmlModule();
    if (!module) return nullptr;
    const TCommandServices& services = dispatcher_.Services();
    THtmlPaneParts parts{session_,
                         window_,
                         panel_,
                         *this,
                         archive_.get(),
                         services.player,
                         services.setup,
                         search_.get(),
                         services.windows,
                         [this] { return dispatcher_.Services().dialogs; },
                         [this] { dispatcher_.ShowHelp("Topic18"); }};
    html_ = module->MakePane(session_.Model.HtmlAreas, parts);
    return html_.get();
}

bool TWindowParts::ScreenHasHtml(int screen) const {
    for (const RHTML& area : session_.Model.HtmlAreas)
        if (area.screen == screen) return true;
    return false;
}

// The shown document is printed, and the fonts chosen, in a viewer: without the pane there is none.
void TWindowParts::PrintHtml() {
    if (html_) html_->PrintHtml();
}

void TWindowParts::PrintHtmlDialog() {
    if (html_) html_->PrintHtmlDialog();
}

bool TWindowParts::DocumentsLoading() const { return html_ && html_->DocumentsLoading(); }

fs::path TWindowParts::AskZipTarget(const fs::path& initialFolder, const std::string& name) {
    return vitrina::AskZipTarget(initialFolder, name);
}

void TWindowParts::OpenPopup(int type, int x, int y) {
    if (popups_) popups_->ShowPopup(type, QPoint(x, y));
}

void TWindowParts::ClosePopups() {
    if (popups_) popups_->HideAllPopups();
}

// Without the pane there is no history to step through.
void TWindowParts::HistoryBack() { StepHistory(&IHtmlCommands::HistoryBack); }

void TWindowParts::HistoryForward() { StepHistory(&IHtmlCommands::HistoryForward); }

void TWindowParts::StepHistory(void (IHtmlCommands::*step)()) {
    if (!html_) return;
    (html_.get()->*step)();
    // The engine moves when the page is there: the tree follows the changed document.
    followHistory_ = true;
}

void TWindowParts::OpenInArea(int number, const std::string& document) {
    // The "html" command: the visit group first, then the document.
    if (IHtmlPane* html = NeedHtml()) html->OpenInArea(number, document);
}

void TWindowParts::OpenInHtmlArea(int number, const std::string& document) {
    if (IHtmlPane* html = NeedHtml()) html->OpenInHtmlArea(number, document);
}

void TWindowParts::CopyHtml() {
    if (html_) html_->CopyHtml();
}

void TWindowParts::TopHtml() {
    if (html_) html_->TopHtml();
}

void TWindowParts::SelectAllHtml() {
    if (html_) html_->SelectAllHtml();
}

bool TWindowParts::ShowsArchivePage() const { return html_ && html_->ShowsArchivePage(); }

void TWindowParts::ScreenChanged(int currentScreen) {
    // The tree first: the viewer of the document screen takes the room beside it.
    if (trees_) trees_->SyncWithScreen();
    if (html_) html_->ShowScreenViewer();
    else if (ScreenHasHtml(currentScreen)) NeedHtml();
    if (find_) find_->ShowScreenFields();
    if (popups_) {
        popups_->HideAllPopups();
        popups_->BuildForScreen(currentScreen);
    }
}

void TWindowParts::PressWithShift(int x, int y) {
    if (!window_) return;
    window_->FormMouseDown(Qt::LeftButton, Qt::ShiftModifier, x, y);
    window_->FormMouseUp(Qt::LeftButton, Qt::ShiftModifier, x, y);
}

void TWindowParts::ClearSkinHover() {
    if (window_) window_->FormMouseMove({}, -1, -1);
}

void TWindowParts::ExecuteCommand(const std::string& command) {
    dispatcher_.ExecuteCommand(command, "", 1, 0, 0);
}

void TWindowParts::Beep() { QApplication::beep(); }

QRect TWindowParts::DocumentPanelClientRect() const {
    if (!panel_ || !trees_) return {};
    const TTreeViews* shown = trees_->Shown();
    // Relative to the panel: the window itself is hidden for a moment when it changes between
    // the skinned and the standard form, and the viewer is placed back then.
    if (!shown || !shown->isVisibleTo(panel_)) return {};
    // Beside the tree and the splitter.
    const int left = shown->width() + 4;
    return QRect(left, 0, panel_->width() - left, panel_->height());
}

void TWindowParts::SetTitleText(const std::string& text) {
    if (window_ && window_->TextMsg()) window_->TextMsg()->SetText(text, 1, true);
}

void TWindowParts::ShowStatus(const std::string& text) {
    if (window_ && window_->StatusLine()) window_->StatusLine()->Show(text);
}

bool TWindowParts::PathInputExists() const { return window_ && window_->PathInputBox() && window_->PathInputBox()->Count() > 0; }

std::string TWindowParts::CurrentPath() const {
    std::string path;
    if (window_ && window_->PathInputBox()) window_->PathInputBox()->CurrentPath(path);
    return path;
}

void TWindowParts::RefreshNavigation() {
    if (followHistory_) {
        followHistory_ = false;
        TreeFollowDocument("fromhistory");
    }
    const THistoryList* history = html_ ? html_->History() : nullptr;
    if (popups_ && history) popups_->RefreshHistory(history->Titles(), history->Index());
}

void TWindowParts::TreeFollowDocument(const std::string& file) {
    if (trees_ && trees_->Shown()) trees_->Shown()->FollowDocument(file);
}

void TWindowParts::UpdateChapterHints() {
    if (trees_ && trees_->Shown()) trees_->Shown()->UpdateChapterHints();
}

void TWindowParts::ShellOpen(const std::string& target, const std::string&) { desktop_.ShellExecute(target, {}); }

void TWindowParts::RunProgram(const std::string& file, const std::string& folder) { desktop_.WinExec(file, folder); }

std::string TWindowParts::CurrentDocument() const { return html_ ? html_->CurrentDocument() : std::string(); }

std::string TWindowParts::ResolveDocument(const std::string& link) const {
    return ResolveLink(link, CurrentDocument());
}

bool TWindowParts::ViewerVisible() const {
    QWidget* v = html_ ? html_->ActiveViewer() : nullptr;
    return v && v->isVisible();
}

void TWindowParts::OpenDocument(const std::string& document) {
    if (IHtmlPane* html = NeedHtml()) html->OpenDocument(document);
}

void TWindowParts::SetChapterHints(const std::string& next, const std::string& previous) {
    if (window_) window_->SetChapterHints(next, previous);
}

QRect TWindowParts::ViewerRect() const {
    QWidget* v = html_ ? html_->ActiveViewer() : nullptr;
    return v ? v->geometry() : QRect();
}

void TWindowParts::SetViewerRect(const QRect& rect) {
    if (QWidget* v = html_ ? html_->ActiveViewer() : nullptr) v->setGeometry(rect);
}

void TWindowParts::SetViewerShown(bool shown) {
    if (QWidget* v = html_ ? html_->ActiveViewer() : nullptr) v->setVisible(shown);
}

void TWindowParts::ReloadViewer() {
    if (html_) html_->Reload();
}

bool TWindowParts::FindInViewer(const std::string& frame, const QString& text, bool matchCase, bool fromTop,
                                std::function<void(bool)> done) {
    return html_ && html_->FindInViewer(frame, text, matchCase, fromTop, std::move(done));
}

void TWindowParts::BringDocument(const std::string& document, bool followTree, std::function<void()> done) {
    QWidget* v = html_ ? html_->ActiveViewer() : nullptr;
    if (!v) return done();
    v->show();
    if (followTree) TreeFollowDocument(document);
    html_->BringDocument(document, std::move(done));
}

bool TWindowParts::FindInContents(const std::string& text) {
    if (!trees_) return false;
    TTreeViews* second = trees_->Second();
    TTreeViews* tree = second && second->isVisible() ? second : trees_->First();
    return tree && tree->FindByCaption(text);
}

void TWindowParts::ClearStatus() {
    if (window_ && window_->StatusLine()) window_->StatusLine()->Clear();
}

void TWindowParts::ShowIndexMessage(const std::string& text) {
    // Not modal: a scan or a test goes on while it is up.
    auto* box = new QMessageBox(QMessageBox::Warning, QApplication::applicationDisplayName(), QText(text),
                                QMessageBox::Ok, window_);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

}  // namespace vitrina
