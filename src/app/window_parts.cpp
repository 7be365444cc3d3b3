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
#include "commands/dialog_commands.h"
#include "commands/dispatcher.h"
#include "dialogs/cool_dialog.h"
#include "dialogs/form_options.h"
#include "dialogs/zip_save_dialog.h"
#include "html/doc_url.h"
#include "html/history_list.h"
#include "media/background_music.h"
#include "media/media_parts.h"
#include "media/slide_image.h"
#include "media/window_clip.h"
#include "panes/html_module.h"
#include "panes/popup_window.h"
#include "platform/cp1251.h"
#include "platform/desktop.h"
#include "platform/qt_text.h"
#include "screen/panel_bkgrd.h"
#include "screen/path_input_box.h"
#include "screen/skin_window.h"
#include "screen/status_line.h"
#include "screen/text_msg.h"
#include "search/search_service.h"
#include "session/settings.h"

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
    media.showDocument = [this](int number, const std::string& document) { questions_.OpenInHtmlArea(number, document); };
    media.areaMouseMove = [this] { ClearSkinHover(); };
    media.background = [&window] { return &window.Background(); };
    TCommandServices& services = dispatcher_.Services();
    media_.Make(std::make_unique<TMediaParts>(session_, &window, std::move(media)));
    media_.Serve(services.Register(&TCommandServices::player, media_.get()));
    media_.Serve(services.Register(&TCommandServices::clips, &media_->WindowClip()));
    // The first screen's documents come at once; the engine waits for a screen that shows some.
    if (ScreenHasHtml(session_.CurrentScreen)) NeedHtml();
    QWidget* splitter = nullptr;
    if (auto* panel = dynamic_cast<TPanelBkgrd*>(documentPanel)) splitter = panel->Splitter();
    trees_.Make(std::make_unique<TContentsTrees>(session_.Container, documentPanel, splitter, questions_));
    trees_.Serve(services.Register(&TCommandServices::trees, trees_.get()));
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
            commands_.OpenDocument(document);
        };
        actions.openHtmlPos = [this](const std::string& document, int position) {
            TreeFollowDocument(document);
            commands_.OpenDocument(document);
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
        actions.selectAll = [this] { commands_.SelectAllHtml(); };
        actions.printPreview = [this] {
            if (html_) html_->Print({});
        };
        actions.command = [this](const std::string& command) { ExecuteCommand(command); };
        popups_.Make(std::make_unique<TControlPopupWindow>(
            session_.Model, session_.Container, session_.Registry(), SettingsKey(session_.Title), std::move(actions),
            [this](QPoint p) { return window_ ? window_->mapToGlobal(p) : p; }));
        popups_.Serve(services.Register(&TCommandServices::popups, popups_.get()));
        popups_->BuildForScreen(session_.CurrentScreen);
    }
    if (!session_.Model.HtmlAreas.empty()) served_.push_back(services.Register(&TCommandServices::html, &commands_));
    served_.push_back(services.Register(&TCommandServices::print, &commands_));
    ObserveScreens(true);
}

void TWindowParts::ObserveScreens(bool observe) {
    if (observe) {
        if (media_) session_.AddScreenObserver(media_.get());
        session_.AddScreenObserver(this);
    } else {
        if (media_) session_.RemoveScreenObserver(media_.get());
        session_.RemoveScreenObserver(this);
    }
}

void TWindowParts::MakeSearch(TCoolDialog* dialog, TWindowDirectory* windows, TCopyDataChannel* channel) {
    if (!session_.Model.FindAreas.empty() && window_)
        find_ = std::make_unique<TFindTxtHtml>(session_, questions_, dialog, dialog ? nullptr : window_);
    if (dialog) dialog->SetFindPane(find_.get());
    search_.Make(std::make_unique<TSearchService>(
        session_, dialog, find_.get(), windows, channel,
        [this](const std::string& text, TSearchMessageKind) { questions_.ShowIndexMessage(text); }));
    search_.Serve(dispatcher_.Services().Register(&TCommandServices::search, search_.get()));
    // The search by word forms opens its pages here, in the HTML pane.
    if (window_) search_->SetWordSearchHost(&questions_);
    if (html_) html_->SetSearch(search_.get());
}

void TWindowParts::ReleasePanes() {
    if (html_) html_->SetSearch(nullptr);
    search_.reset();
    find_.reset();
    ObserveScreens(false);
    served_.clear();
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
    a.showsArchivePage = [this] { return commands_.ShowsArchivePage(); };
    a.showDocument = [this](const std::string& document) { commands_.OpenDocument(document); };
    a.wroteFolder = [this](const std::string& folder) { session_.Reach().AllowFolder(folder); };
    a.now = [] { return DosDateTime(QDateTime::currentDateTime()); };
    archive_.Make(std::make_unique<TUnRar>(session_.Drives(), session_.TempFolder, std::move(a)));
    archive_.Serve(dispatcher_.Services().Register(&TCommandServices::archive, archive_.get()));
}

void TWindowParts::MakeOptions() {
    TOptionsActions a;
    a.runSlideShow = [this](bool on) {
        if (media_ && media_->Slides()) media_->Slides()->SetRunning(on);
    };
    a.slideInterval = [this](int ms) {
        if (media_ && media_->Slides()) media_->Slides()->SetInterval(ms);
    };
    // The settings dialog offers the fonts before any document has brought the HTML part.
    a.fontDialog = [this] {
        if (IHtmlPane* html = NeedHtml()) html->ChooseFonts();
    };
    options_.Make(std::make_unique<TFormOptions>(session_, std::move(a)));
    options_.Serve(dispatcher_.Services().Register(&TCommandServices::options, options_.get()));
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

fs::path TWindowParts::AskZipTarget(const fs::path& initialFolder, const std::string& name) {
    return vitrina::AskZipTarget(initialFolder, name);
}

void TWindowParts::OpenPopup(int type, int x, int y) {
    if (popups_) popups_->ShowPopup(type, QPoint(x, y));
}

void TWindowParts::ClosePopups() {
    if (popups_) popups_->HideAllPopups();
}

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

}  // namespace vitrina
