#include "screen/skin_window.h"

#include <QApplication>
#include <QScreen>
#include <QBuffer>
#include <QCloseEvent>
#include <QCursor>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMovie>
#include <QPainter>
#include <QPainterPath>
#include <QTimer>
#include <QToolTip>

#include <filesystem>
#include <utility>

#include <unistd.h>

#include "commands/clip_commands.h"
#include "commands/command_services.h"
#include "commands/dialog_commands.h"
#include "commands/dispatcher.h"
#include "commands/player_commands.h"
#include "commands/popup_commands.h"
#include "commands/window_animation.h"
#include "platform/cp1251.h"
#include "platform/desktop.h"
#include "platform/device_pixels.h"
#include "platform/picture_label.h"
#include "platform/qt_text.h"
#include "platform/super_timer.h"
#include "platform/window_directory.h"
#include "screen/nav_font.h"
#include "screen/panel_bkgrd.h"
#include "screen/path_input_box.h"
#include "screen/status_line.h"
#include "screen/text_msg.h"
#include "session/disc_session.h"

namespace vitrina {
namespace fs = std::filesystem;

namespace {

// Masks need a windowing system; offscreen they are refused with a warning on every call.
bool MasksWork() { return QGuiApplication::platformName() != QLatin1String("offscreen"); }

QRegion ShapeRegion(const TShapeStep& s) {
    const QRect r(QPoint(s.left, s.top), QPoint(s.right - 1, s.bottom - 1));
    if (s.kind == TShapeStep::Ellipse) return QRegion(r, QRegion::Ellipse);
    QPainterPath path;
    path.addRoundedRect(QRectF(r), 10, 10);
    return QRegion(path.toFillPolygon().toPolygon());
}

}  // namespace

TSkinWindow::TSkinWindow(TDiscSession& session, TDispatcher& dispatcher, IDesktop& desktop, bool animations)
    : QWidget(nullptr, Qt::FramelessWindowHint | Qt::Window), session_(session), dispatcher_(dispatcher),
      desktop_(desktop), animations_(animations) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    windowFade_ = std::make_unique<TEffCar>(this);
    dispatcher_.SetWindow(this);
}

const TCommandServices& TSkinWindow::Services() const { return dispatcher_.Services(); }

IClipCommands* TSkinWindow::Clips() const { return Services().clips; }

bool TSkinWindow::WindowClipExists() const { return Clips() && Clips()->WindowClipExists(); }

void TSkinWindow::ExecuteCommand(const std::string& command, const std::string& sound, int silent, int kind, int index) {
    dispatcher_.ExecuteCommand(command, sound, silent, kind, index);
}

void TSkinWindow::BuildSkin() {
    setAcceptDrops(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    if (!session_.Model.Icon.empty()) {
        const QImage icon = LoadPicture(session_.Model.Icon);
        if (!icon.isNull()) setWindowIcon(QPixmap::fromImage(icon));
    }
    QApplication::setApplicationDisplayName(QText(session_.Title));
    setWindowTitle(QText(session_.Title));
    SetUpScreen();
    navFont_ = std::make_unique<TNavFont>();
    panelBkgrd_ = new TPanelBkgrd(this);
    const TScreenModel& model = session_.Model;
    if (!model.TextAreas.empty()) textMsg_ = std::make_unique<TTextMsg>(model.TextAreas, this);
    statusLine_ = std::make_unique<TStatusLine>(textMsg_.get());
    pathInputBox_ = std::make_unique<TPathInputBox>(model.PathAreas, this, session_.Registry(), session_.Title,
                                                    session_.CurrentScreen, [this] { FormMouseMove({}, -1, -1); });
    built_ = true;
    // Key preview: keys of every child reach the key table first.
    qApp->installEventFilter(this);
    // The whole application losing the foreground closes every open popup window.
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state == Qt::ApplicationInactive && Services().popups) Services().popups->ClosePopups();
    });
}

QWidget* TSkinWindow::DocumentPanel() const { return panelBkgrd_; }

void TSkinWindow::FinishStartUp() {
    // The animated busy picture, read through the store.
    busyPicture_ = new TPictureLabel(this);
    busyPicture_->move(583, 470);
    busyPicture_->setAttribute(Qt::WA_TransparentForMouseEvents);
    std::string gif;
    if (session_.Files().Read(session_.ProgramFolder + "piston.gif", gif)) {
        auto* buffer = new QBuffer(busyPicture_);
        buffer->setData(QByteArray(gif.data(), qsizetype(gif.size())));
        busyMovie_ = new QMovie(buffer, QByteArray(), busyPicture_);
        if (busyMovie_->isValid()) {
            busyPicture_->setMovie(busyMovie_);
            busyMovie_->jumpToFrame(0);
            busyPicture_->resize(busyMovie_->currentImage().size());
            // Hidden on screen index 1, animated elsewhere (the screen set-up decides).
            busyPicture_->setVisible(session_.CurrentScreen != 1);
            if (session_.CurrentScreen != 1) busyMovie_->start();
        } else {
            busyMovie_ = nullptr;
        }
    }
    if (!busyMovie_) busyPicture_->hide();
    // Fonts beside the program, for the life of the process.
    RegisterFonts();
    // Start-up commands of the first screen's switches and members.
    const TScreenModel& model = session_.Model;
    if (!model.ScreenSwitches.empty()) {
        for (std::size_t i = 0; i < model.ScreenSwitches[0].size(); ++i) {
            const RSwthOne s = model.ScreenSwitches[0][i];
            ExecuteCommand(s.state ? s.godown : s.goup, s.wav, 1, 1, int(i));
        }
    }
    if (!model.ScreenGroups.empty()) {
        for (std::size_t i = 0; i < model.ScreenGroups[0].size(); ++i) {
            const RSwthGrp g = model.ScreenGroups[0][i];
            if (g.state) ExecuteCommand(g.go, g.wav, 1, 2, int(i));
        }
    }
    // No songs, no background music.
    if (model.BackgroundSongs.empty()) session_.Settings.BGSound = false;
}

void TSkinWindow::RegisterFonts() {
    const auto folder = session_.Drives().ToHostPath(session_.ProgramFolder);
    if (!folder) return;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(*folder, ec)) {
        const std::string name = entry.path().filename().string();
        if (name.size() < 4 || LowerAscii(name.substr(name.size() - 4)) != ".ttf") continue;
        const int id = QFontDatabase::addApplicationFont(QString::fromStdString(entry.path().string()));
        if (id >= 0) installedFonts_.push_back(id);
    }
}

QImage TSkinWindow::LoadPicture(const std::string& name) const { return LoadSkinPicture(session_.Container, name); }

QRegion TSkinWindow::DescriptionShape() const {
    if (session_.Model.VertexMain.size() < 3) return QRegion(rect());
    QPolygon polygon;
    for (const TPoint& p : session_.Model.VertexMain) polygon << QPoint(p.x, p.y);
    return QRegion(polygon, Qt::OddEvenFill);
}

void TSkinWindow::ApplyShape(const QRegion& region) {
    shape_ = region;
    if (MasksWork()) setMask(region.isEmpty() ? QRegion(-1, -1, 1, 1) : region);
}

void TSkinWindow::SetShape(const QRegion& region) {
    if (!region.isEmpty()) return ApplyShape(region);
    shape_ = region;
    clearMask();
}

// The window comes back where the reader left it, when that place is on a screen present now:
// its top strip, with the window buttons, wholly within one screen's free area.
void TSkinWindow::RestorePlace() {
    const auto place = ReadWindowPlace(session_.Registry(), session_.Title);
    if (!place) return;
    const QRect strip(QPoint(place->first, place->second), QSize(width(), std::min(height(), 40)));
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (!screen->availableGeometry().contains(strip)) continue;
        move(strip.topLeft());
        return;
    }
}

void TSkinWindow::ShowMainWindow() {
    session_.Settings.Animation = false;
    if (!session_.DocumentMode) RestorePlace();
    shown_ = true;
    const QRegion shape = DescriptionShape();
    // The thesaurus window simply shows itself.
    if (!animations_ || session_.ThesaurusWindow) {
        ApplyShape(shape);
        show();
    } else {
        ApplyShape(QRegion());
        show();
        // The ellipse grows within the description's shape, so the window ends shaped.
        auto animation = std::make_shared<TOpeningAnimation>(width(), height());
        openingTimer_ = std::make_unique<TSuperTimer>();
        openingTimer_->SetInterval(1);
        openingTimer_->OnTimer = [this, animation, shape](TSuperTimer* t) {
            const TShapeStep s = animation->Next();
            if (s.kind == TShapeStep::Stop) {
                t->SetEnabled(false);
                ApplyShape(shape);
                return;
            }
            ApplyShape(ShapeRegion(s).intersected(shape));
        };
        openingTimer_->SetEnabled(true);
    }
    if (session_.Settings.BGSound && Services().player && !session_.ThesaurusWindow)
        Services().player->BackgroundMusicAfterFirstFrame();
}

void TSkinWindow::Terminate() {
    if (OnTerminate) OnTerminate();
}

void TSkinWindow::Minimize(int kind, int index) {
    showMinimized();
    if (kind == 0 && index >= 0 && index < int(buttonPictures_.size())) {
        buttonPictures_[index].hovered = buttonPictures_[index].pressed = false;
        buttonPictures_[index].effect->StopCrossFade();
    }
}

QPoint TSkinWindow::ControlCorner(int index, bool right) const {
    const TScreenModel& model = session_.Model;
    const int s = session_.CurrentScreen;
    if (s < 0 || s >= int(model.ScreenButtons.size()) || index < 0 || index >= int(model.ScreenButtons[s].size()))
        return {};
    const RBtn& b = model.ScreenButtons[s][index];
    return mapToGlobal(QPoint(right ? b.Right : b.vx, b.Bottom));
}

QPoint TSkinWindow::PointerPosition() const { return QCursor::pos(); }

void TSkinWindow::SetChapterHints(const std::string& next, const std::string& previous) {
    const int s = session_.CurrentScreen;
    auto& screens = session_.Model.ScreenButtons;
    if (s < 0 || s >= int(screens.size())) return;
    auto& buttons = screens[s];
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        const std::string go = LowerAscii(buttons[i].go);
        if (go != "nextchapter" && go != "prevchapter") continue;
        buttons[i].hint = go == "nextchapter" ? next : previous;
        if (i < buttonPictures_.size()) buttonPictures_[i].carrier.hint = QText(buttons[i].hint);
    }
}

void TSkinWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TSkinWindow::dropEvent(QDropEvent* event) {
    // Host files are named the disc's way (z:\..., or d:\... inside the disc).
    std::vector<std::string> files;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile()) files.push_back(session_.Drives().ToWindowsPath(std::filesystem::path(url.toLocalFile().toStdString())));
    // What the reader hands in may be shown, and so may its neighbours (its pictures, frames).
    for (const std::string& file : files) session_.Reach().AllowFolderOf(file);
    event->acceptProposedAction();
    dispatcher_.FilesDropped(files);
}

void TSkinWindow::closeEvent(QCloseEvent* event) {
    if (session_.DocumentMode || session_.ThesaurusWindow) {
        event->accept();
        return;
    }
    event->ignore();
    if (!closingTimer_) StartClosingSequence();
    if (resumeTimer_) {
        resumeTimer_->stop();
        resumeTimer_->deleteLater();
        resumeTimer_ = nullptr;
    }
    if (Services().clips) Services().clips->ReleaseWindowClip();
}

void TSkinWindow::StartClosingSequence() {
    // Companion windows of this process with the closing titles; the main window is closed by
    // the animation, never by a close request.
    CloseWindowsTitled("Помощь", false);
    CloseWindowsTitled("Тезаурус", false);
    for (const char* title : {"Zirorudovure", "Help System: Vizeduzorav ov ivureve v erezodaziver evuruvovod",
                              "Справка: Vizeduzorav ov ivureve v erezodaziver evuruvovod",
                              "Help Topics: Vizeduzorav ov ivureve v erezodaziver evuruvovod",
                              "Vizeduzorav ov ivureve v erezodaziver evuruvovod"})
        CloseWindowsTitled(title, true);
    if (!session_.DocumentMode) CloseWindowsTitled("Увеличенная картинка", true);
    // The dialog goes too: a running search stops at the first close key, the dialog at the
    // second.
    if (IDialogCommands* dialogs = Services().dialogs)
        for (int i = 0; i < 2 && dialogs->DialogVisible(); ++i) dialogs->CloseDialogKey();
    if (openingTimer_) openingTimer_->SetEnabled(false);
    closingTimer_ = std::make_unique<TSuperTimer>();
    if (!animations_) {
        Terminate();
        return;
    }
    auto animation = std::make_shared<TClosingAnimation>(width(), height());
    const QRegion shape = DescriptionShape();
    closingTimer_->SetInterval(2);
    closingTimer_->OnTimer = [this, animation, shape](TSuperTimer* t) {
        const TShapeStep s = animation->Next();
        if (s.kind == TShapeStep::Stop) {
            t->SetEnabled(false);
            Terminate();
            return;
        }
        ApplyShape(ShapeRegion(s).intersected(shape));
    };
    closingTimer_->SetEnabled(true);
}

void TSkinWindow::CloseWindowsTitled(const char* titleUtf8, bool all) {
    // Every matching window gets one close request (a window that ignores it is given up on).
    const std::string title = Utf8ToCp1251(titleUtf8);
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w != this && w->isVisible() && SameText1251(Utf8ToCp1251(w->windowTitle().toStdString()), title)) {
            w->close();
            if (!all) return;
        }
    }
    if (!directory_) return;
    for (const TWindowEntry& w : directory_->Windows()) {
        if (w.pid == ::getpid() || !w.visible || !SameText1251(w.title, title)) continue;
        directory_->Send(w, "close");
        if (!all) return;
    }
}

void TSkinWindow::PublishWindows() {
    publishPending_ = false;
    if (!directory_) return;
    std::vector<TWindowEntry> windows;
    for (QWidget* w : QApplication::topLevelWidgets())
        windows.push_back({::getpid(), Utf8ToCp1251(w->windowTitle().toStdString()), w->isVisible()});
    directory_->Publish(windows);
}

bool TSkinWindow::eventFilter(QObject* watched, QEvent* event) {
    // Top-level windows that appear, go or change their title are published for other copies.
    if (!publishPending_ && (event->type() == QEvent::Show || event->type() == QEvent::Hide ||
                             event->type() == QEvent::WindowTitleChange)) {
        auto* w = qobject_cast<QWidget*>(watched);
        if (w && w->isWindow()) {
            publishPending_ = true;
            QTimer::singleShot(0, this, [this] { PublishWindows(); });
        }
    }
    // Key preview: keys of the window's child controls reach the key table first.
    auto* w = qobject_cast<QWidget*>(watched);
    if (event->type() == QEvent::KeyPress && w && w->window() == this) {
        // A press travelling up from a child that ignored it is the same event seen again.
        // Pointer identity alone is not enough: the next press (I after a held Ctrl) may reuse
        // the address of the last one.
        const bool travelling = event == lastKey_ && lastKeyReceiver_ && w != lastKeyReceiver_ &&
                                w->isAncestorOf(lastKeyReceiver_);
        lastKey_ = event;
        lastKeyReceiver_ = w;
        auto* k = static_cast<QKeyEvent*>(event);
        if (!travelling && dispatcher_.KeyDown(k->key(), k->modifiers())) return true;
    }
    return QWidget::eventFilter(watched, event);
}

bool TSkinWindow::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::ToolTip: {
        // Carriers hold the hints; the window answers for them.
        auto* help = static_cast<QHelpEvent*>(event);
        const QPoint p = help->pos();
        QString hint;
        QRect area;
        auto look = [&](const TMyControl& c) {
            if (hint.isEmpty() && c.bounds.contains(p) && !c.hint.isEmpty()) {
                hint = c.hint;
                area = c.bounds;
            }
        };
        for (const auto& b : buttonPictures_) look(b.carrier);
        for (const auto& s : switchPictures_) look(s.carrier);
        for (const auto& g : groupPictures_) look(g.carrier);
        if (hint.isEmpty()) QToolTip::hideText();
        else QToolTip::showText(help->globalPos(), hint, this, area);
        return true;
    }
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate:
        return true;
    default:
        return QWidget::event(event);
    }
}

TSkinWindow::~TSkinWindow() {
    qApp->removeEventFilter(this);
    dispatcher_.SetWindow(nullptr);
    if (openingTimer_) openingTimer_->SetEnabled(false);
    if (closingTimer_) closingTimer_->SetEnabled(false);
    PlayExitSound();
    // Background music fades out.
    if (session_.Settings.BGSound && Services().player) Services().player->BackgroundMusic(false);
    for (int id : installedFonts_) QFontDatabase::removeApplicationFont(id);
    installedFonts_.clear();
    // The path input boxes save their texts.
    pathInputBox_.reset();
    // Stored switch states, unless this copy never became the program.
    if (built_ && !session_.DocumentMode) WriteStoredSwitchStates(session_.Registry(), session_.Title, session_.Model);
    if (shown_ && !session_.DocumentMode) WriteWindowPlace(session_.Registry(), session_.Title, x(), y());
    for (auto& p : buttonPictures_) p.effect.reset();
    for (auto& p : switchPictures_) p.effect.reset();
    for (auto& p : groupPictures_) p.effect.reset();
}

void TSkinWindow::PlayExitSound() {
    if (std::exchange(exitSoundPlayed_, true)) return;
    const TScreenModel& model = session_.Model;
    const int screen = session_.CurrentScreen;
    const int exitButton = session_.ExitButton;
    if (exitButton >= 0 && screen < int(model.ScreenButtons.size()) && exitButton < int(model.ScreenButtons[screen].size())) {
        const std::string& wav = model.ScreenButtons[screen][exitButton].wav;
        if (session_.Settings.PlaysSound(wav)) desktop_.PlayClickSoundToEnd(session_.ProgramFolder + wav);
    }
}

QImage TSkinWindow::Screenshot() {
    // At the screen's pixels: a scaled window is shown, and so written, larger than its skin.
    QImage image = DeviceImage(size(), devicePixelRatioF(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        const QRegion shape = shape_.isEmpty() ? QRegion(rect()) : shape_;
        p.setClipRegion(shape);
        p.drawPixmap(0, 0, grab());
        // Visible child windows of the program (popups, dialogs) over the main window, each
        // through its own shape. Each clip replaces the one before: turning clipping off in
        // between would leave the raster engine drawing the next window unclipped.
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w == this || !w->isVisible()) continue;
            const QPoint at = w->geometry().topLeft() - geometry().topLeft();
            const QRegion mask = w->mask().isEmpty() ? QRegion(w->rect()) : w->mask();
            p.setClipRegion(mask.translated(at), Qt::ReplaceClip);
            p.drawPixmap(at, w->grab());
        }
    }
    return image;
}

}  // namespace vitrina
