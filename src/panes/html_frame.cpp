#include "panes/html_frame.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "archive/archive_pages.h"
#include "commands/player_commands.h"
#include "commands/search_commands.h"
#include "commands/setup_commands.h"
#include "html/doc_engine.h"
#include "html/doc_url.h"
#include "panes/follow_link.h"
#include "platform/cp1251.h"
#include "print/page_number_header.h"
#include "resources/compr_stream.h"
#include "resources/description.h"
#include "resources/drive_map.h"
#include "resources/windows_path.h"

namespace vitrina {
namespace fs = std::filesystem;

namespace {

constexpr int kHintInterval = 200;
constexpr int kHintMaxWidth = 300;
constexpr int kHintBelowPointer = 18;
constexpr int kHintLastTick = 21;

// What reaches beyond the viewer (a window, the desktop, wine, a copy, an unpack) waits for the
// reader's own press on that very link.
bool StartsSomething(const TLinkDecision& d) {
    switch (d.action) {
    case TLinkAction::PictureWindow:
    case TLinkAction::ShellOpenLink:
    case TLinkAction::CopyFile:
    case TLinkAction::CopyListEntry:
    case TLinkAction::Command:
    case TLinkAction::SaveZip:
    case TLinkAction::OpenArchivePage:
    case TLinkAction::RunProgram:
    case TLinkAction::ShellOpenFile:
        return true;
    default:
        return d.extractFirst;
    }
}

}  // namespace

std::unique_ptr<THtmlFrame> THtmlFrame::CreateHtmlPane(const TDynamicHtmlArray& areas,
                                                       const THtmlFrameServices& services) {
    if (areas.empty()) return nullptr;
    return std::make_unique<THtmlFrame>(areas, services);
}

THtmlFrame::THtmlFrame(const TDynamicHtmlArray& areas, const THtmlFrameServices& services) : services_(services) {
    for (const auto& a : areas)
        if (ViewerOfScreen(a.screen) < 0) ViewerScreens.push_back(a.screen);
    ReadFontValues();
    Viewers.resize(ViewerScreens.size());
    ArchiveMarks.resize(ViewerScreens.size(), false);
    VisitGroups.resize(ViewerScreens.size());
    for (const auto& a : areas) {
        AreaDocuments.push_back(ResolvePath(a.fn, services_.drives.ProgramFolder()));
        AreaRects.emplace_back(a.vx, a.vy, a.vw - a.vx, a.vh - a.vy);
        AreaNumbers.push_back(a.number);
        AreaScreens.push_back(a.screen);
    }
    HintTimer.setInterval(kHintInterval);
    connect(&HintTimer, &QTimer::timeout, this, [this] { HintTimerTick(); });
    HintWindow = new QLabel(services_.window, Qt::ToolTip);
    HintWindow->setWordWrap(true);
    HintWindow->setMaximumWidth(kHintMaxWidth);
    HintWindow->setStyleSheet("QLabel { background-color: #FFFFE1; color: black; border: 1px solid black; padding: 2px; }");
    HintWindow->hide();
    if (services_.documentPanel) services_.documentPanel->installEventFilter(this);
    PreviousScreen = -1;
    ShowScreenViewer();
}

TFrameViewer* THtmlFrame::ViewerAt(int index) {
    if (Viewers[index]) return Viewers[index];
    auto* v = new TFrameViewer(services_.engine, services_.window);
    v->hide();
    v->setGeometry(0, 0, 0, 0);
    v->SetDefaults(FontName, FontColor, FontSize, HotSpotColor, Background);
    v->SetfvOptions(fvNoBorder | fvOverLinksActive);
    v->SetDefOverLinkColor(255);
    v->SetHistoryMaxCount(10);
    v->SetVisitedMaxCount(20);
    v->SetImageCacheCount(0);
    v->OnHotSpotTargetCovered = [this](TFrameViewer* s, const std::string& t, const std::string& l,
                                       const std::string& d) { ShowLinkStatus(s, t, l, d); };
    v->OnHotSpotTargetClick = [this](TFrameViewer* s, const std::string& t, const std::string& l, bool& h) {
        FollowLink(s, t, l, h);
    };
    v->OnHistoryChange = [this](TFrameViewer* s) { DocumentChanged(s); };
    // A document that cannot be loaded hides its viewer; the window stays usable.
    v->OnLoadFailed = [](TFrameViewer* s) { s->hide(); };
    v->OnKeyDown = [this](TFrameViewer* s, QKeyEvent* e) { return KeyDown(s, e); };
    v->OnMouseMove = [this](TFrameViewer* s, QMouseEvent* e) { PointerMoved(s, e->position().toPoint()); };
    v->OnMouseDown = [this](TFrameViewer* s, QMouseEvent* e) { MouseDown(s, e); };
    v->OnPrintHeader = &THtmlFrame::PrintHeader;
    Viewers[index] = v;
    return Viewers[index];
}

THtmlFrame::~THtmlFrame() {
    WriteFontValues();
    if (services_.documentPanel) services_.documentPanel->removeEventFilter(this);
    for (auto& v : Viewers) delete v.data();
    delete HintWindow;
}

void THtmlFrame::ReadFontValues() {
    const THtmlFontValues values = THtmlFontValues::Read(services_.registry, services_.title);
    FontName = values.FontName;
    FontColor = values.FontColor;
    FontSize = values.FontSize;
    HotSpotColor = values.HotSpotColor;
    Background = values.Background;
}

void THtmlFrame::WriteFontValues() {
    TFrameViewer* v = CurrentViewer >= 0 ? Viewers[CurrentViewer].data() : (Viewers.empty() ? nullptr : Viewers[0].data());
    const THtmlFontValues values = v ? THtmlFontValues{v->DefFontName(), v->DefFontColor(), v->DefFontSize(),
                                                       v->DefHotSpotColor(), v->DefBackground()}
                                     : THtmlFontValues{FontName, FontColor, FontSize, HotSpotColor, Background};
    values.Write(services_.registry, services_.title);
}

int THtmlFrame::ViewerOfScreen(int screen) const {
    for (std::size_t i = 0; i < ViewerScreens.size(); ++i)
        if (ViewerScreens[i] == screen) return static_cast<int>(i);
    return -1;
}

int THtmlFrame::IndexOf(TFrameViewer* viewer) const {
    for (std::size_t i = 0; i < Viewers.size(); ++i)
        if (Viewers[i] == viewer) return static_cast<int>(i);
    return -1;
}

TFrameViewer* THtmlFrame::ActiveFrameViewer() const {
    const int i = ViewerOfScreen(services_.host.CurrentScreen());
    return i >= 0 ? Viewers[i].data() : nullptr;
}

void THtmlFrame::PlaceViewer(TFrameViewer* v, int area) {
    if (AreaScreens[area] == 1 && services_.documentPanel) {
        QWidget* panel = services_.documentPanel;
        if (v->parentWidget() != panel) v->setParent(panel);
        // Client alignment: the viewer fills the panel beside the tree, whatever the area says.
        const QRect client = services_.host.DocumentPanelClientRect();
        v->setGeometry(client.isEmpty() ? panel->rect() : client);
        panelFiller_ = v;
    } else {
        if (v->parentWidget() != services_.window) v->setParent(services_.window);
        v->setGeometry(AreaRects[area]);
        if (panelFiller_ == v) panelFiller_ = nullptr;
    }
}

bool THtmlFrame::eventFilter(QObject* watched, QEvent* event) {
    if (watched == services_.documentPanel && event->type() == QEvent::Resize && panelFiller_ &&
        panelFiller_->parentWidget() == services_.documentPanel) {
        const QRect client = services_.host.DocumentPanelClientRect();
        panelFiller_->setGeometry(client.isEmpty() ? services_.documentPanel->rect() : client);
    }
    return QObject::eventFilter(watched, event);
}

void THtmlFrame::ShowScreenViewer() {
    const int screen = services_.host.CurrentScreen();
    int shown = -1;
    int area = -1;
    for (std::size_t i = 0; i < AreaScreens.size(); ++i)
        if (AreaScreens[i] == screen) {
            area = static_cast<int>(i);
            break;
        }
    if (area >= 0) {
        CurrentArea = area;
        CurrentViewer = ViewerOfScreen(screen);
        TFrameViewer* v = ViewerAt(CurrentViewer);
        if (v->History().Count() == 0 && !v->Loading())
            v->LoadFromFile(AreaDocuments[area]);
        else
            v->MainViewer().SetPosition(0);
        PlaceViewer(v, area);
        v->show();
        shown = CurrentViewer;
    }
    if (PreviousScreen >= 0) {
        const int previous = ViewerOfScreen(PreviousScreen);
        if (previous >= 0 && previous != shown && Viewers[previous]) Viewers[previous]->hide();
    }
    PreviousScreen = screen;
}

bool THtmlFrame::LoadOrGo(TFrameViewer* v, const std::string& document) {
    const int entry = v->History().Find(document);
    if (entry >= 0 && entry == v->HistoryIndex() && !v->Loading()) return false;
    if (entry >= 0)
        v->SetHistoryIndex(entry);
    else
        v->LoadFromFile(document);
    return true;
}

void THtmlFrame::OpenInArea(int number, const std::string& document) {
    int area = -1;
    for (std::size_t i = 0; i < AreaNumbers.size(); ++i)
        if (AreaNumbers[i] == number) {
            area = static_cast<int>(i);
            break;
        }
    if (area < 0) return;
    const std::string file = document.empty() ? AreaDocuments[area] : document;
    const int screen = services_.host.CurrentScreen();
    if (AreaScreens[area] == screen) {
        CurrentViewer = ViewerOfScreen(screen);
        TFrameViewer* v = ViewerAt(CurrentViewer);
        // A document that is loaded comes at its top anyway.
        const bool loads = LoadOrGo(v, file);
        PlaceViewer(v, area);
        if (!loads) v->MainViewer().SetPosition(0);
        v->show();
        CurrentArea = area;
    } else {
        // Loaded out of sight; ShowScreenViewer finds it ready when that screen comes.
        TFrameViewer* v = ViewerAt(ViewerOfScreen(AreaScreens[area]));
        v->setGeometry(0, 0, 0, 0);
        v->show();
        LoadOrGo(v, file);
        v->hide();
    }
}

void THtmlFrame::RememberVisit(const std::string& document) {
    const int i = ViewerOfScreen(services_.host.CurrentScreen());
    if (i >= 0) VisitGroups[i].RememberVisit(document);
}

void THtmlFrame::OpenDocument(const std::string& document) {
    TFrameViewer* v = ActiveFrameViewer();
    if (!v || v->isHidden()) return;
    const int entry = v->History().Find(document);
    if (entry < 0) {
        v->AddVisitedLink(document);
        v->CheckVisitedLinks();
        v->LoadFromFile(document);
    } else {
        v->SetHistoryIndex(entry);
        v->MainViewer().SetPosition(0);
    }
}

void THtmlFrame::GoToHistory(int index) {
    if (TFrameViewer* v = ActiveFrameViewer()) v->SetHistoryIndex(index);
}

void THtmlFrame::Back(const TDynamicSwthOneArray& switches, const TDynamicSwthGrpArray& groups) {
    Navigate(true, switches, groups);
}

void THtmlFrame::Forward(const TDynamicSwthOneArray& switches, const TDynamicSwthGrpArray& groups) {
    Navigate(false, switches, groups);
}

void THtmlFrame::Navigate(bool back, const TDynamicSwthOneArray& switches, const TDynamicSwthGrpArray& groups) {
    TFrameViewer* v = ActiveFrameViewer();
    if (!v || !(back ? v->BackButtonEnabled() : v->FwdButtonEnabled())) {
        services_.host.Beep();
        return;
    }
    // The switches are pressed once the entry is on view (DocumentChanged).
    pendingSync_ = TPendingSync{v, v->CurrentFile(), switches, groups};
    if (back)
        v->GoBack();
    else
        v->GoFwd();
}

bool THtmlFrame::IsArchivePage() const {
    const int i = ViewerOfScreen(services_.host.CurrentScreen());
    return i >= 0 && ArchiveMarks[i];
}

void THtmlFrame::SetArchivePage(bool on) {
    const int i = ViewerOfScreen(services_.host.CurrentScreen());
    if (i >= 0) ArchiveMarks[i] = on;
}

void THtmlFrame::DocumentChanged(TFrameViewer* sender) {
    const int i = IndexOf(sender);
    if (i < 0) return;
    const std::string file = sender->CurrentFile();
    VisitGroups[i].DocumentChanged(file);
    if (sender == ActiveFrameViewer()) {
        SetArchivePage(services_.archive && services_.archive->UpdateArchiveFlag(IsArchivePage(), file));
        if (services_.setup) services_.setup->SetFontFolder(file);
        const auto& h = sender->History();
        const std::string title = h.Count() > 0 ? h.Titles()[h.Index()] : std::string();
        services_.host.SetTitleText(title + "  ");
        services_.host.RefreshNavigation();
        services_.host.UpdateChapterHints();
    }
    if (pendingSync_ && pendingSync_->viewer == sender) {
        const TPendingSync sync = std::move(*pendingSync_);
        pendingSync_.reset();
        if (!SameText1251(sync.before, file)) {
            for (const TPoint& p : SwitchPressPoints(VisitGroups[i].FirstDocument(), sync.switches, sync.groups))
                services_.host.PressWithShift(p.x, p.y);
        }
    }
}

void THtmlFrame::ShowLinkStatus(TFrameViewer* sender, const std::string& target, const std::string& link,
                                const std::string& document) {
    if (!services_.host.StatusBarExists()) return;
    const int i = IndexOf(sender);
    TLinkStatusContext c;
    c.target = target;
    c.link = link;
    c.currentFile = document.empty() ? sender->CurrentFile() : document;
    c.archivePage = i >= 0 && ArchiveMarks[i];
    c.pathInputExists = services_.host.PathInputExists();
    if (c.pathInputExists) c.currentPath = services_.host.CurrentPath();
    c.gameValuePresent = [this](const std::string& key, const std::string& value) {
        return services_.setup && services_.setup->GameValuePresent(key, value);
    };
    services_.host.ShowStatusBarText(LinkStatusText(c));
}

void THtmlFrame::FollowLink(TFrameViewer* sender, const std::string& target, const std::string& link, bool& handled) {
    const int i = IndexOf(sender);
    TLinkContext c;
    c.target = target;
    c.link = link;
    c.currentFile = sender->CurrentFile();
    c.programDrive = services_.drives.ProgramDrive();
    c.archivePage = i >= 0 && ArchiveMarks[i];
    c.fileExists = [this](const std::string& file) { return services_.files.StoreFileExists(file); };
    const TLinkDecision d = DecideLink(c);
    handled = d.handled;
    if (StartsSomething(d) && !sender->TakeReaderPermit()) return;
    if (!d.visited.empty()) {
        sender->AddVisitedLink(d.visited);
        sender->CheckVisitedLinks();
    }
    // The engine is inside its navigation decision: the rest runs right after it.
    QPointer<TFrameViewer> viewer(sender);
    QTimer::singleShot(0, this, [this, d, viewer] {
        if (viewer) Carry(d, viewer);
    });
}

void THtmlFrame::Carry(const TLinkDecision& d, TFrameViewer* sender) {
    THtmlFrameHost& host = services_.host;
    if (d.extractFirst && services_.archive) services_.archive->ExtractIntoPageFolder();
    if (!d.treeFollows.empty()) host.TreeFollowDocument(d.treeFollows);
    switch (d.action) {
    case TLinkAction::None:
        break;
    case TLinkAction::PictureWindow:
        host.OpenPictureWindow(d.argument);
        break;
    case TLinkAction::ShellOpenLink:
        host.ShellOpen(d.argument, {});
        break;
    case TLinkAction::Print:
        Print(d.argument);
        break;
    case TLinkAction::CopyFile:
        CopyIntoPathBox(d.argument);
        break;
    case TLinkAction::CopyListEntry:
        CopyListEntry(d.argument);
        break;
    case TLinkAction::Command:
        host.ExecuteCommand(d.argument);
        break;
    case TLinkAction::OpenDocument:
        OpenDocument(d.argument);
        break;
    case TLinkAction::SaveZip: {
        const fs::path chosen = host.AskZipTarget(ZipFolder, FileNamePart(d.argument));
        if (chosen.empty()) break;
        ZipFolder = chosen.parent_path();
        std::string bytes;
        if (!services_.files.Read(d.argument, bytes)) break;
        std::error_code ec;
        fs::create_directories(chosen.parent_path(), ec);
        if (FILE* out = std::fopen(chosen.c_str(), "wb")) {
            std::fwrite(bytes.data(), 1, bytes.size(), out);
            std::fclose(out);
        }
        break;
    }
    case TLinkAction::OpenArchivePage:
        if (services_.archive) services_.archive->OpenArchivePage(d.argument, d.secondArgument);
        break;
    case TLinkAction::PlayMedia:
        if (services_.player) services_.player->PlayMedia(d.argument, {}, 3);
        break;
    case TLinkAction::RunProgram:
        host.RunProgram(d.argument, FolderPart(d.argument));
        break;
    case TLinkAction::ShellOpenFile:
        host.ShellOpen(d.argument, FolderPart(d.argument));
        break;
    }
}

void THtmlFrame::CopyIntoPathBox(const std::string& source) {
    if (services_.host.PathInputExists()) copier_.CopyFileInto(source, services_.host.CurrentPath());
}

void THtmlFrame::CopyDocument() {
    TFrameViewer* v = ActiveFrameViewer();
    if (!v || v->isHidden() || v->CurrentFile().empty() || !services_.host.PathInputExists()) return;
    // A real copy error or a refusal is not reported as success; a document held only in the
    // store still is.
    const TCopyOutcome outcome = copier_.CopyDocumentInto(v->CurrentFile(), services_.host.CurrentPath());
    if (outcome == TCopyOutcome::Copied || outcome == TCopyOutcome::NotOnDisk)
        services_.host.ShowStatus(Utf8ToCp1251("Файл скопирован"));
}

void THtmlFrame::CopyListEntry(const std::string& name) {
    TFrameViewer* v = ActiveFrameViewer();
    if (!v) return;
    QPointer<TFrameViewer> guard(v);
    v->ActiveViewer().FormControls([this, guard, name](std::vector<TFormControl> controls) {
        if (!guard) return;
        for (const QString& entry : THtmlFileCopier::ListEntries(controls, name)) {
            QGuiApplication::clipboard()->setText(entry);
            services_.host.ShowStatus(Utf8ToCp1251("Серийный номер скопирован"));
        }
    });
}

void THtmlFrame::SelectAll() {
    TFrameViewer* v = ActiveFrameViewer();
    if (v && !v->isHidden()) v->SelectAll();
}

void THtmlFrame::ScrollToTop() {
    if (TFrameViewer* v = ActiveFrameViewer()) v->ActiveViewer().SetPosition(0);
}

void THtmlFrame::ChooseFonts() {
    // Before any document is shown there is no viewer: the choice waits for the viewers to come.
    TFrameViewer* v = ActiveFrameViewer();
    TFontChoice choice = v ? TFontChoice{v->DefFontName(), v->DefFontColor(), v->DefFontSize(), v->DefHotSpotColor(),
                                         v->DefBackground()}
                           : TFontChoice{FontName, FontColor, FontSize, HotSpotColor, Background};
    if (!services_.fonts || !services_.fonts->ChooseFonts(choice)) return;
    // Viewers made later take the new values too.
    FontName = choice.fontName;
    FontColor = choice.fontColor;
    FontSize = choice.fontSize;
    HotSpotColor = choice.hotSpotColor;
    Background = choice.background;
    for (auto& each : Viewers)
        if (each) each->SetDefaults(choice.fontName, choice.fontColor, choice.fontSize, choice.hotSpotColor, choice.background);
    if (v) v->Reload();
}

void THtmlFrame::Print(const std::string& file) {
    TFrameViewer* v = ActiveFrameViewer();
    if (file.empty()) {
        if (!v) return;
        const std::string ext = LowerCase1251(ExtensionOf(v->CurrentFile()));
        const bool picture = ext == ".bmp" || ext == ".gif" || ext == ".jpg" || ext == ".jpeg";
        if (services_.printing) services_.printing->PrintPreview(v, {}, picture, v->LastPictureSize());
        return;
    }
    if (services_.printing) services_.printing->PrintPreview(nullptr, file, PrintPicture, QSize(PrintWidth, PrintHeight));
    PrintPicture = false;
}

void THtmlFrame::FitStandardWindow(QWidget* window) {
    TFrameViewer* v = ActiveFrameViewer();
    if (!v || !window) return;
    if (v->parentWidget() != window) v->setParent(window);
    v->setGeometry(window->rect());
    v->show();
}

void THtmlFrame::RestoreAreaBounds() {
    TFrameViewer* v = ActiveFrameViewer();
    if (v && CurrentArea >= 0) {
        PlaceViewer(v, CurrentArea);
        v->show();
    }
}

void THtmlFrame::PrintHeader(TFrameViewer* sender, QPainter& canvas, int page, int pageWidth) {
    if (sender && !sender->CurrentFile().empty()) PageNumberHeader(canvas, page, pageWidth);
}

void THtmlFrame::PointerMoved(TFrameViewer* v, QPoint point) {
    lastPointer_ = point;
    lastPointerViewer_ = v;
    if (v == ActiveFrameViewer()) {
        QPointer<TFrameViewer> guard(v);
        v->MainViewer().ObjectAt(point, [this, guard](TObjectInfo info) {
            if (!guard) return;
            if (!info.any) {
                HintImage.clear();
            } else if (info.picture && info.id != HintImage && !HintTimer.isActive() && !info.alt.isEmpty()) {
                HintTicks = 0;
                HintTimer.start();
            }
        });
    }
    services_.host.ClearSkinHover();
}

void THtmlFrame::HintTimerTick() {
    ++HintTicks;
    TFrameViewer* v = lastPointerViewer_;
    if (!v) {
        StopHint();
        return;
    }
    const int tick = HintTicks;
    QPointer<TFrameViewer> guard(v);
    v->MainViewer().ObjectAt(lastPointer_, [this, guard, tick](TObjectInfo info) {
        if (!guard || !HintTimer.isActive()) return;
        if (!info.any) {
            HintImage.clear();
            StopHint();
            return;
        }
        if (tick >= kHintLastTick) {
            StopHint();
            return;
        }
        if (tick < 2 || (hintShown_ && info.id == HintImage) || !info.picture) return;
        if (info.alt.isEmpty()) {
            StopHint();
            return;
        }
        HintWindow->setText(info.alt);
        HintWindow->adjustSize();
        HintWindow->move(guard->mapToGlobal(lastPointer_) + QPoint(0, kHintBelowPointer));
        HintWindow->show();
        hintShown_ = true;
        if (info.id != HintImage) {
            HintTicks = 2;
            HintImage = info.id;
        }
    });
}

void THtmlFrame::StopHint() {
    HintTimer.stop();
    HintWindow->hide();
    hintShown_ = false;
}

bool THtmlFrame::KeyDown(TFrameViewer* v, QKeyEvent* e) {
    const auto mods = e->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if (mods == Qt::ControlModifier && (e->key() == Qt::Key_C || e->key() == Qt::Key_Insert)) {
        v->CopyToClipboard();
        return true;
    }
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        if (services_.search) services_.search->FindPaneEnter();
    }
    return false;
}

void THtmlFrame::MouseDown(TFrameViewer*, QMouseEvent* e) {
    services_.host.ClosePopups();
    if (e->buttons() == Qt::RightButton) {
        const QPoint p = e->globalPosition().toPoint();
        services_.host.OpenPopup(kPopupContextHtml, p.x(), p.y());
    }
}

}  // namespace vitrina
