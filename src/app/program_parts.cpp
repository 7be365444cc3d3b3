#include "app/program_parts.h"

#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QProcess>
#include <QTimer>

#include <unistd.h>

#include "commands/dispatcher.h"
#include "html/history_list.h"
#include "panes/html_module.h"
#include "panes/standard_window.h"
#include "panes/standard_window_geometry.h"
#include "platform/cp1251.h"
#include "platform/program_copy.h"
#include "platform/qt_text.h"
#include "platform/request_record.h"
#include "platform/window_directory.h"
#include "print/handed_print_file.h"
#include "resources/description.h"
#include "resources/help_viewer.h"
#include "resources/windows_path.h"
#include "screen/path_input_box.h"
#include "screen/skin_window.h"

namespace vitrina {
namespace fs = std::filesystem;

namespace {

const char* const kPictureWindowTitle = "Увеличенная картинка";
const char* const kHelpTitle = "Помощь";

// The document mode's window: Esc ends it; its title and visibility are published for others.
class TDocumentModeWatch : public QObject {
public:
    TDocumentModeWatch(QWidget& window, std::function<void()> escape, std::function<void()> publish)
        : window_(window), escape_(std::move(escape)), publish_(std::move(publish)) {
        qApp->installEventFilter(this);
    }
    ~TDocumentModeWatch() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            auto* w = qobject_cast<QWidget*>(watched);
            if (w && w->window() == &window_ && escape_) {
                escape_();
                return true;
            }
        }
        if (watched == &window_ && !pending_ &&
            (event->type() == QEvent::Show || event->type() == QEvent::Hide ||
             event->type() == QEvent::WindowTitleChange)) {
            pending_ = true;
            QTimer::singleShot(0, this, [this] {
                pending_ = false;
                publish_();
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget& window_;
    std::function<void()> escape_;
    std::function<void()> publish_;
    bool pending_ = false;
};

void SetCaption(QWidget& window, const QString& caption) {
    QApplication::setApplicationDisplayName(caption);
    window.setWindowTitle(caption);
}

}  // namespace

TProgramParts::TProgramParts(TDiscSession& session, TDispatcher& dispatcher, IDesktop& desktop,
                             TWindowDirectory* directory)
    : TWindowParts(session, dispatcher, desktop), directory_(directory) {}

TProgramParts::~TProgramParts() { TProgramParts::ReleasePanes(); }

void TProgramParts::BuildPanes(TSkinWindow& window, QWidget* documentPanel) {
    TWindowParts::BuildPanes(window, documentPanel);
    standardServed_ = dispatcher_.Services().Register(&TCommandServices::standard, this);
    if (TWindowDirectory* directory = Directory()) {
        channel_ = std::make_unique<TCopyDataChannel>(directory->Folder());
        channel_->OnCopyData = [this](const std::string&, long long sender, const std::string& block,
                                      std::vector<TCopyDataAnswer>& answers) { CopyData(block, sender, answers); };
    }
}

void TProgramParts::ReleasePanes() {
    standardServed_.Release();
    channel_.reset();
    keys_.reset();
    TWindowParts::ReleasePanes();
    standard_.reset();
    ownDirectory_.reset();
}

TWindowDirectory* TProgramParts::Directory() const { return ownDirectory_ ? ownDirectory_.get() : directory_; }

void TProgramParts::MakeStandardWindow() {
    if (standard_ || !window_) return;
    TSkinWindow& form = *window_;
    TStandardWindowActions a;
    a.shape = [&form] { return form.Shape(); };
    a.setShape = [&form](const QRegion& region) { form.SetShape(region); };
    a.skinSize = [&form] { return form.SkinSize(); };
    a.hideScreenFields = [&form](bool hide) {
        if (form.PathInputBox()) form.PathInputBox()->HideAll(hide);
    };
    a.fitViewer = [this](QWidget* client) {
        if (Html()) Html()->FitStandardWindow(client);
    };
    a.restoreViewer = [this] {
        if (Html()) Html()->RestoreAreaBounds();
    };
    a.print = [this] {
        if (Html()) Html()->Print({});
    };
    a.forward = [this] { Commands().HistoryForward(); };
    a.back = [this] { Commands().HistoryBack(); };
    a.goToHistory = [this](int n) {
        if (Html()) Html()->GoToHistory(n);
    };
    standard_ = std::make_unique<TStandardWindow>(form, std::move(a));
}

void TProgramParts::ShowStandardWindow() {
    MakeStandardWindow();
    if (!standard_) return;
    standard_->Enter(documentMode_);
    RefreshNavigation();
    // A picture's size is known once it has loaded (RefreshNavigation sizes the window then).
    if (documentMode_ && !IsPictureFile(commandLineFile_)) {
        standard_->SizeWindow(commandLineFile_, {});
        sized_ = true;
    }
}

void TProgramParts::ShowSkinnedWindow() {
    if (standard_) standard_->Leave();
}

bool TProgramParts::StatusBarExists() const { return standard_ && standard_->StatusBar(); }

void TProgramParts::ShowStatusBarText(const std::string& text) {
    if (standard_) standard_->SetStatusText(text);
}

void TProgramParts::RefreshNavigation() {
    TWindowParts::RefreshNavigation();
    IHtmlPane* html = Html();
    const THistoryList* history = html ? html->History() : nullptr;
    if (!standard_ || !standard_->ToolbarExists() || !history || !window_) return;
    // The help window keeps its own caption: renaming it would make it answer picture queries and
    // hide it from the closing sequence's search for "Помощь".
    if (!secondary_) SetCaption(*window_, QString::fromUtf8(kPictureWindowTitle));
    standard_->FillHistoryMenus(history->Titles(), history->Index());
    if (documentMode_ && !sized_ && !html->Loading()) {
        sized_ = true;
        standard_->SizeWindow(commandLineFile_, html->LastPictureSize());
    }
}

void TProgramParts::OpenPictureWindow(const std::string& file) {
    // A copy may show only what this one may: a link cannot hand it a host file.
    if (!session_.Reach().Allows(file)) return;
    TWindowDirectory* directory = Directory();
    if (directory && channel_) {
        const std::string block = EncodeRequestRecord({kRequestQuery, {{0, file}}});
        const std::string title = Utf8ToCp1251(kPictureWindowTitle);
        for (const TWindowEntry& w : directory->Windows()) {
            if (!w.visible || !SameText1251(w.title, title)) continue;
            for (const TCopyDataAnswer& answer : channel_->Send(w, block)) {
                if (answer.message == kMessageQueryAnswer && answer.wParam == 1) {
                    directory->Send(w, "show");
                    return;
                }
            }
        }
    }
    if (StartPictureCopy)
        StartPictureCopy(file);
    else
        StartCopy(file);
}

void TProgramParts::StartCopy(const std::string& file) {
    StartProgramCopy(session_.Drives().ToHostPath(session_.ProgramFolder), {file});
}

void TProgramParts::CopyData(const std::string& block, long long sender, std::vector<TCopyDataAnswer>& answers) {
    const auto request = DecodeRequestRecord(block);
    IHtmlPane* html = request ? NeedHtml() : nullptr;
    if (!html || !window_) return;
    TSkinWindow& form = *window_;
    const auto& items = request->items;
    switch (request->kind) {
    case kRequestOpen: {
        if (items.empty()) return;
        const std::string& text = items[0].text;
        // The thesaurus window is handed whole paths, anchors included.
        if (session_.ThesaurusWindow) {
            Commands().OpenDocument(text);
            answers.push_back({kMessageHandled, TCopyDataChannel::OwnHandle()});
            break;
        }
        const std::string document = session_.ProgramFolder + text;
        // The document mode has no second screen to switch to: its pane opens the document.
        if (session_.CurrentScreen == 0 && !documentMode_) {
            dispatcher_.ExecuteCommand("screen2=" + document, "", 1, 0, 0);
        } else if (LowerCase1251(FileNamePart(Commands().CurrentDocument())) != LowerCase1251(text)) {
            Commands().OpenDocument(document);
        }
        TreeFollowDocument(document);
        answers.push_back({kMessageHandled, TCopyDataChannel::OwnHandle()});
        break;
    }
    case kRequestPrint: {
        std::string file;
        int width = -1;
        int height = -1;
        for (const TRequestItem& item : items) {
            if (item.kind == 0) file = item.text;
            else if (item.kind == 1) width = ClampSize(ReadLong(item.text));
            else if (item.kind == 2) height = ClampSize(ReadLong(item.text));
        }
        html->MarkPicturePrint(width, height);
        // The print request to itself: after the sender has its answer. The preview is modal:
        // when Print returns, the sender's temporary file is printed and goes.
        QTimer::singleShot(0, &form, [this, file] {
            if (!Html()) return;
            Html()->Print(file);
            RemoveHandedPrintFile(session_.Drives(), session_.TempFolder, file);
        });
        break;
    }
    case kRequestQuery: {
        html->MarkPicturePrint(-1, -1);
        const bool shown = !items.empty() && items[0].kind == 0 && !commandLineFile_.empty() &&
                           items[0].text == Trim(commandLineFile_);
        answers.push_back({kMessageQueryAnswer, shown ? 1 : 0});
        break;
    }
    default:
        break;
    }
    (void)sender;
}

void TProgramParts::ShowHelpTopic(const std::string& document) {
    // Another help page of the disc, or of a CHM help file the program wrote out; nothing else.
    if (const std::string chm = THelpViewer::ChmFolderOf(document); !chm.empty()) session_.Reach().AllowFolder(chm);
    if (!session_.Reach().Allows(document.substr(0, document.find('#')))) return;
    Commands().OpenDocument(document);
}

void TProgramParts::SetUpDocumentMode(TSkinWindow& form, const std::vector<std::string>& arguments) {
    const TDocumentArgument argument = ParseDocumentArgument(arguments);
    documentMode_ = true;
    secondary_ = argument.secondary;
    commandLineFile_ = argument.file;
    // A host path handed in from outside the disc is reached through z:.
    std::string document = argument.file;
    if (!document.empty() && document[0] == '/') document = session_.Drives().ToWindowsPath(fs::path(Cp1251ToUtf8(document)));
    // The reader handed this file in: its folder is theirs to show.
    session_.Reach().AllowFolderOf(document);
    // A written-out CHM help's pages link to each other across its folder.
    if (const std::string chm = THelpViewer::ChmFolderOf(document); secondary_ && !chm.empty())
        session_.Reach().AllowFolder(chm);
    // 1: the container's directory (for the icon only; the window has no skin).
    TReadBin container;
    try {
        if (const auto host = session_.Drives().ToHostPath(session_.ProgramFolder + "Vuv.dhl")) container.Open(*host);
    } catch (const std::exception&) {
    }
    // The settings key's subkey before the pane reads its font values there: the help
    // variant keeps its own under "Помощь".
    session_.Title = secondary_ ? Utf8ToCp1251(kHelpTitle) : std::string();
    // 2-3: one empty screen; one HTML area showing the file.
    session_.Model.ScreenButtons.assign(1, {});
    session_.Model.ScreenSwitches.assign(1, {});
    session_.Model.ScreenGroups.assign(1, {});
    session_.CurrentScreen = 0;
    RHTML area;
    area.fn = document;
    session_.Model.HtmlAreas = {area};
    BuildPanes(form, nullptr);
    // 5: the icon named by the first "icon" line of the description, read without lower-casing.
    std::string description;
    if (container.ReadBuffer("Struct.cfs", description) >= 0) {
        for (const std::string& line : DecodeDescription(description, false)) {
            const std::size_t at = LowerAscii(line).find("icon");
            if (at == std::string::npos) continue;
            const std::string name = Trim(line.size() > at + 5 ? line.substr(at + 5) : std::string());
            std::string bytes;
            QImage icon;
            if (!name.empty() && container.ReadBuffer(name, bytes) >= 0)
                icon = QImage::fromData(reinterpret_cast<const uchar*>(bytes.data()), int(bytes.size()));
            if (!icon.isNull()) form.setWindowIcon(QPixmap::fromImage(icon));
            break;
        }
    }
    // 6-7: the help variant's title; the program has no icon resource of its own to put back.
    SetCaption(form, QText(session_.Title));
    // Other copies find this window by its caption and ask it about its picture.
    ownDirectory_ = std::make_unique<TWindowDirectory>(session_.Folders().runtime);
    ownDirectory_->OnRequest = [this, &form](const std::string&, const std::string& request) {
        const auto topic = secondary_ ? THelpViewer::DocumentOfTopicRequest(request) : std::nullopt;
        if (request == "close") {
            form.close();
        } else if (request == "show" || topic) {
            // The help window shows the topic asked for before it comes forward.
            if (topic) ShowHelpTopic(*topic);
            form.showNormal();
            form.raise();
            form.activateWindow();
        }
    };
    channel_ = std::make_unique<TCopyDataChannel>(ownDirectory_->Folder());
    channel_->OnCopyData = [this](const std::string&, long long sender, const std::string& block,
                                  std::vector<TCopyDataAnswer>& answers) { CopyData(block, sender, answers); };
    keys_ = std::make_unique<TDocumentModeWatch>(
        form,
        [this] {
            if (OnEscape) OnEscape();
        },
        [this, &form] {
            if (ownDirectory_)
                ownDirectory_->Publish({{long(::getpid()), Utf8ToCp1251(form.windowTitle().toStdString()), form.isVisible()}});
        });
    // 8.
    ShowStandardWindow();
}

}  // namespace vitrina
