#include "app/main_form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QLabel>
#include <QMovie>
#include <QBuffer>
#include <QPainter>
#include <QPainterPath>
#include <QTimer>

#include <iostream>

#include <unistd.h>

#include "commands/command_targets.h"
#include "commands/window_animation.h"
#include "media/super_timer.h"
#include "platform/click_sound.h"
#include "platform/cp1251.h"
#include "platform/qt_text.h"
#include "platform/window_directory.h"
#include "resources/compr_stream.h"
#include "resources/description.h"
#include "resources/windows_path.h"
#include "screen/nav_font.h"
#include "screen/panel_bkgrd.h"
#include "screen/path_input_box.h"
#include "screen/scale_bar.h"
#include "screen/status_line.h"
#include "screen/struct_loader.h"
#include "screen/text_msg.h"

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

TMainForm::TMainForm(TDriveMap& drives, const TUserFolders& folders, TClickSound& sounds,
                     TCommandTargets& targets, TStartOptions options)
    : QWidget(nullptr, Qt::FramelessWindowHint | Qt::Window), drives_(drives), folders_(folders),
      sounds_(sounds), targets_(targets), options_(std::move(options)), registry_(folders.config) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    try {
        FormCreate();
    } catch (...) {
        // An error while reading the description ends creation; what was built stays usable.
    }
    // Key preview: keys of every child reach the key table first.
    if (creation_ == TCreation::Normal) qApp->installEventFilter(this);
    // The whole application losing the foreground closes every open popup window.
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state == Qt::ApplicationInactive) targets_.ClosePopups();
    });
}

fs::path TMainForm::HostPath(const std::string& windowsPath) const {
    return drives_.ToHostPath(windowsPath).value_or(fs::path());
}

void TMainForm::FormCreate() {
    // 1-3: folders, the store, the content folder as the store's prefix.
    ProgramDrive = drives_.ProgramDrive();
    ProgramFolder = drives_.ProgramFolder();
    Model = TScreenModel(ProgramFolder);
    if (const fs::path store = HostPath(ProgramFolder + "interface.dat"); !store.empty()) Store.Open(store);
    ContentFolder = ContentFolderOf(ProgramFolder);
    Store.SetPrefix(ContentFolder);
    files_ = std::make_unique<TDocumentFiles>(Store, drives_);
    // 4: the Windows folders live in the per-user c: tree.
    WindowsFolder = "c:\\windows\\";
    SystemFolder = "c:\\windows\\system\\";
    TempFolder = "c:\\windows\\temp\\";
    for (const char* sub : {"windows/system", "windows/temp", "windows/fonts"}) {
        std::error_code ec;
        fs::create_directories(folders_.data / sub, ec);
    }
    // 5-7: no Windows 95 caption spacing; the keyboard layout is the host's.
    CaptionSpacing = 0;
    ExitButton = -1;
    windowFade_ = std::make_unique<TEffCar>(this);
    // 8-9: mode selection.
    DocumentMode = !options_.arguments.empty();
    std::string commandLine;
    for (const std::string& a : options_.arguments) commandLine += (commandLine.empty() ? "" : " ") + a;
    if (Contains(commandLine, "/t")) {
        ThesaurusWindow = true;
        SecondaryVariant = true;
        creation_ = TCreation::ThesaurusMode;
        creationMessage_ = "the thesaurus window is not available yet";
        return;
    }
    if (DocumentMode) {
        creation_ = TCreation::DocumentMode;
        creationMessage_ = "document mode";
        return;
    }
    // 10-12: the container and the description; either missing ends the process.
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    TDynamicStringArray lines;
    std::string error;
    switch (ReadStructLines(drives_, Container, lines, &error)) {
    case TStructLoad::Loaded:
        break;
    case TStructLoad::NoContainer:
        creation_ = TCreation::NoContainer;
        creationMessage_ = error;
        return;
    default:
        creation_ = TCreation::NoDescription;
        creationMessage_ = error;
        return;
    }
    // 13: the header pass; the icon and the window shape apply at once.
    Model.ReadHeader(lines);
    Title = Model.Title;
    if (!Model.Icon.empty()) {
        const QImage icon = LoadPicture(Model.Icon);
        if (!icon.isNull()) setWindowIcon(QPixmap::fromImage(icon));
    }
    // 14: one copy per title.
    if (!semaphore_.Create(folders_.runtime, Title)) {
        DocumentMode = true;
        creation_ = TCreation::SecondCopy;
        creationMessage_ = "another copy of " + Cp1251ToUtf8(Title) + " is running";
        return;
    }
    // 15-16.
    QApplication::setApplicationDisplayName(QText(Title));
    setWindowTitle(QText(Title));
    // Other copies find this window (and close it) through the window directory.
    directory_ = std::make_unique<TWindowDirectory>(folders_.runtime);
    directory_->OnRequest = [this](const std::string& title, const std::string& request) {
        if (request != "close") return;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && SameText1251(Utf8ToCp1251(w->windowTitle().toStdString()), title)) {
                w->close();
                return;
            }
    };
    Model.ReadSections(lines);
    BuildAfterSections();
    built_ = true;
}

void TMainForm::BuildAfterSections() {
    // 2: the settings the settings dialog loads into process-wide flags.
    Settings.Load(registry_, Title, !Model.ImageAreas.empty());
    // 4: dropped files are handled with the requests of other copies (documents issue).
    // 5-6: screen 1 with its controls, the stored switch states, the up pictures.
    SetUpScreen();
    // 7: status line, navigation font, background panel.
    navFont_ = std::make_unique<TNavFont>();
    panelBkgrd_ = new TPanelBkgrd(this);
    // 8: widgets of the areas.
    if (!Model.TextAreas.empty()) textMsg_ = std::make_unique<TTextMsg>(Model.TextAreas, this);
    statusLine_ = std::make_unique<TStatusLine>(textMsg_.get());
    pathInputBox_ = std::make_unique<TPathInputBox>(Model.PathAreas, this, registry_, Title, CurrentScreen,
                                                    [this] { FormMouseMove({}, -1, -1); });
    // HTML panes, contents trees, popup windows.
    targets_.BuildPanes(*this, panelBkgrd_);
    // 10: the progress bar of the full-text search.
    scaleBar_ = std::make_unique<TScaleBar>(Container, "status_dn.bmp", "status_up.bmp", 1, 33, 75);
    // 11: the animated busy picture, read through the store.
    busyPicture_ = new QLabel(this);
    busyPicture_->move(583, 470);
    busyPicture_->setAttribute(Qt::WA_TransparentForMouseEvents);
    std::string gif;
    if (files_->Read(ProgramFolder + "piston.gif", gif)) {
        auto* buffer = new QBuffer(busyPicture_);
        buffer->setData(QByteArray(gif.data(), qsizetype(gif.size())));
        busyMovie_ = new QMovie(buffer, QByteArray(), busyPicture_);
        if (busyMovie_->isValid()) {
            busyPicture_->setMovie(busyMovie_);
            busyMovie_->jumpToFrame(0);
            busyPicture_->resize(busyMovie_->currentImage().size());
            // Hidden on screen index 1, animated elsewhere (the screen set-up decides).
            busyPicture_->setVisible(CurrentScreen != 1);
            if (CurrentScreen != 1) busyMovie_->start();
        } else {
            busyMovie_ = nullptr;
        }
    }
    if (!busyMovie_) busyPicture_->hide();
    // 12: fonts beside the program, for the life of the process.
    RegisterFonts();
    // 13: start-up commands of screen 1's switches and members.
    if (!Model.ScreenSwitches.empty()) {
        for (std::size_t i = 0; i < Model.ScreenSwitches[0].size(); ++i) {
            const RSwthOne s = Model.ScreenSwitches[0][i];
            ExecuteCommand(s.state ? s.godown : s.goup, s.wav, 1, 1, int(i));
        }
    }
    if (!Model.ScreenGroups.empty()) {
        for (std::size_t i = 0; i < Model.ScreenGroups[0].size(); ++i) {
            const RSwthGrp g = Model.ScreenGroups[0][i];
            if (g.state) ExecuteCommand(g.go, g.wav, 1, 2, int(i));
        }
    }
    // 15: no songs, no background music.
    if (Model.BackgroundSongs.empty()) Settings.BGSound = false;
}

void TMainForm::RegisterFonts() {
    const fs::path folder = HostPath(ProgramFolder);
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        const std::string name = entry.path().filename().string();
        if (name.size() < 4 || LowerAscii(name.substr(name.size() - 4)) != ".ttf") continue;
        const int id = QFontDatabase::addApplicationFont(QString::fromStdString(entry.path().string()));
        if (id >= 0) InstalledFonts.push_back(id);
    }
}

QImage TMainForm::LoadPicture(const std::string& name) const {
    std::string bytes;
    if (name.empty() || !Container.ReadStream(name, bytes)) return {};
    QImage image = QImage::fromData(reinterpret_cast<const uchar*>(bytes.data()), int(bytes.size()));
    if (image.isNull()) return {};
    image = image.convertToFormat(QImage::Format_RGB888);
    // Point sizes of captions are those of a 96 dpi screen.
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    return image;
}

QRegion TMainForm::DescriptionShape() const {
    if (Model.VertexMain.size() < 3) return QRegion(rect());
    QPolygon polygon;
    for (const TPoint& p : Model.VertexMain) polygon << QPoint(p.x, p.y);
    return QRegion(polygon, Qt::OddEvenFill);
}

void TMainForm::ApplyShape(const QRegion& region) {
    shape_ = region;
    if (MasksWork()) setMask(region.isEmpty() ? QRegion(-1, -1, 1, 1) : region);
}

void TMainForm::ShowMainWindow() {
    Settings.Animation = false;
    const QRegion shape = DescriptionShape();
    if (!options_.animations) {
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
    if (Settings.BGSound) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        targets_.BackgroundMusic(true);
        QApplication::restoreOverrideCursor();
    }
}

void TMainForm::closeEvent(QCloseEvent* event) {
    if (DocumentMode || ThesaurusWindow) {
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
    targets_.ReleaseWindowClip();
}

void TMainForm::StartClosingSequence() {
    // Companion windows of this process with the closing titles; the main window is closed by
    // the animation, never by a close request.
    CloseWindowsTitled("Помощь", false);
    CloseWindowsTitled("Тезаурус", false);
    for (const char* title : {"Zirorudovure", "Help System: Vizeduzorav ov ivureve v erezodaziver evuruvovod",
                              "Справка: Vizeduzorav ov ivureve v erezodaziver evuruvovod",
                              "Help Topics: Vizeduzorav ov ivureve v erezodaziver evuruvovod",
                              "Vizeduzorav ov ivureve v erezodaziver evuruvovod"})
        CloseWindowsTitled(title, true);
    if (!DocumentMode) CloseWindowsTitled("Увеличенная картинка", true);
    targets_.CloseDialogKey();
    if (openingTimer_) openingTimer_->SetEnabled(false);
    auto finish = [this] {
        if (OnTerminate) OnTerminate();
    };
    closingTimer_ = std::make_unique<TSuperTimer>();
    if (!options_.animations) {
        finish();
        return;
    }
    auto animation = std::make_shared<TClosingAnimation>(width(), height());
    const QRegion shape = DescriptionShape();
    closingTimer_->SetInterval(2);
    closingTimer_->OnTimer = [this, animation, shape, finish](TSuperTimer* t) {
        const TShapeStep s = animation->Next();
        if (s.kind == TShapeStep::Stop) {
            t->SetEnabled(false);
            finish();
            return;
        }
        ApplyShape(ShapeRegion(s).intersected(shape));
    };
    closingTimer_->SetEnabled(true);
}

void TMainForm::CloseWindowsTitled(const char* titleUtf8, bool all) {
    // Every matching window gets one close request (a window that ignores it is given up on);
    // the main window itself closes by the animation, never by a request.
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

void TMainForm::PublishWindows() {
    publishPending_ = false;
    if (!directory_) return;
    std::vector<TWindowEntry> windows;
    for (QWidget* w : QApplication::topLevelWidgets())
        windows.push_back({::getpid(), Utf8ToCp1251(w->windowTitle().toStdString()), w->isVisible()});
    directory_->Publish(windows);
}

TMainForm::~TMainForm() {
    targets_.ReleasePanes();
    if (openingTimer_) openingTimer_->SetEnabled(false);
    if (closingTimer_) closingTimer_->SetEnabled(false);
    // 1: the exit button's sound, heard to its end.
    const bool exitButtonExists = ExitButton >= 0 && CurrentScreen < int(Model.ScreenButtons.size()) &&
                                  ExitButton < int(Model.ScreenButtons[CurrentScreen].size());
    if (exitButtonExists) {
        const std::string& wav = Model.ScreenButtons[CurrentScreen][ExitButton].wav;
        if (!wav.empty() && wav != "no" && Settings.Wav) sounds_.PlayToEnd(HostPath(ProgramFolder + wav));
    }
    // 3: background music fades out.
    if (Settings.BGSound) targets_.BackgroundMusic(false);
    // 4: fonts registered at start-up.
    for (int id : InstalledFonts) QFontDatabase::removeApplicationFont(id);
    InstalledFonts.clear();
    // 5: the path input boxes save their texts.
    pathInputBox_.reset();
    // 6: stored switch states, unless this copy never became the program.
    if (built_ && !DocumentMode) WriteStoredSwitchStates(registry_, Title, Model);
    // 7: pictures and effects.
    for (auto& p : ButtonPictures) p.effect.reset();
    for (auto& p : SwitchPictures) p.effect.reset();
    for (auto& p : GroupPictures) p.effect.reset();
    ButtonPictures.clear();
    SwitchPictures.clear();
    GroupPictures.clear();
    Background = QImage();
}

QImage TMainForm::Screenshot() {
    QImage image(size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        const QRegion shape = shape_.isEmpty() ? QRegion(rect()) : shape_;
        p.setClipRegion(shape);
        p.drawPixmap(0, 0, grab());
        // Visible child windows of the program (popups, dialogs) over the main window.
        p.setClipping(false);
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w == this || !w->isVisible()) continue;
            const QPoint at = w->geometry().topLeft() - geometry().topLeft();
            const QRegion mask = w->mask().isEmpty() ? QRegion(w->rect()) : w->mask();
            p.setClipRegion(mask.translated(at));
            p.drawPixmap(at, w->grab());
        }
    }
    return image;
}

}  // namespace vitrina
