#include "media/window_clip.h"

#include <QPainter>
#include <QWidget>

#include "media/media_log.h"
#include "media/mplayer.h"
#include "media/video_area.h"
#include "session/disc_session.h"
#include "skin/control_pictures.h"

namespace vitrina {

namespace {

// The window clip of the disc's first screen.
const char* const kClipFile = "car.avi";
const QRect kClipArea(QPoint(31, 135), QPoint(687 - 1, 394 - 1));

}  // namespace

TMyAviPlayer::TMyAviPlayer(TDiscSession& session, QWidget* window, TWindowClipActions actions)
    : session_(session), window_(window), actions_(std::move(actions)) {}

TMyAviPlayer::~TMyAviPlayer() { Release(); }

void TMyAviPlayer::Setup(const QRect& area, const std::string& file) {
    std::string name = file;
    while (!name.empty() && (name.back() == ' ' || name.back() == '\t')) name.pop_back();
    if (name.empty()) return;
    area_ = area;
    if (QImage* background = actions_.background ? actions_.background() : nullptr)
        still_ = background->copy(area_);
    background3d_ = LoadSkinPicture(session_.Container, "3d_bg.bmp");
    if (background3d_.isNull()) background3d_ = still_;
    halted_ = false;
    if (player_) player_->Close();
    else player_ = std::make_unique<TMPlayer>(session_.Drives());
    player_->AutoRewind = true;
    if (!view_) {
        view_ = new TVideoArea(window_, Qt::black);
        // Clicks on the clip are the window's: they pause it, resume it or drag the window.
        view_->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    view_->setGeometry(area_);
    view_->hide();
    player_->SetDisplay(view_);
    player_->FileName = file;
    player_->OnNotify = [this](TMPlayer*) { Loop(); };
    player_->Open([this](int error) {
        // A missing or bad file leaves the rectangle without video.
        if (error) {
            if (!FileItselfBad(error) && actions_.installCodecs) actions_.installCodecs(error);
            return;
        }
        player_->SetDisplayRect(QRect(0, 0, area_.width(), area_.height()));
        // Shown while it opened: it plays now.
        Loop();
    });
}

bool TMyAviPlayer::HaltedOrPaused() const {
    if (halted_) return true;
    // The host's device reports its new mode at once: no second look is needed.
    const int mode = player_ ? player_->GetMode() : TMPlayer::mpNotReady;
    return mode == TMPlayer::mpStopped || mode == TMPlayer::mpPaused || !player_ || !player_->IsOpen();
}

bool TMyAviPlayer::Playing() const { return player_ && player_->GetMode() == TMPlayer::mpPlaying; }

void TMyAviPlayer::Loop() {
    if (shown_ && !halted_ && HaltedOrPaused()) PlayOn();
}

void TMyAviPlayer::PlayOn() {
    if (!player_ || !player_->IsOpen() || !view_) return;
    try {
        player_->Play();
    } catch (const EMCIDeviceError&) {
        return;
    }
    // Until the first frame the rectangle shows the 3D background.
    if (view_->Frame().isNull()) view_->SetStill(background3d_);
    view_->setVisible(screen_ == 0);
}

void TMyAviPlayer::ScreenChanged(int screen) {
    screen_ = screen;
    if (view_) view_->setVisible(screen == 0 && shown_ && !halted_ && Playing());
}

void TMyAviPlayer::Paint(const QImage& picture) {
    QImage* background = actions_.background ? actions_.background() : nullptr;
    if (background && !picture.isNull()) {
        QPainter p(background);
        // A frozen frame is grabbed at the screen's pixels: smoothed down to the skin's.
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(area_, picture);
    }
    if (actions_.repaint) actions_.repaint(area_);
}

void TMyAviPlayer::Halt() {
    if (player_ && player_->IsOpen() && player_->GetMode() == TMPlayer::mpPlaying) player_->Pause();
    halted_ = true;
}

void TMyAviPlayer::ShowClip(bool on) {
    if (!window_->isVisible()) {
        if (player_) player_->Close();
        on = false;
    }
    if (shown_ && !on) {
        Halt();
        if (view_) view_->hide();
        Paint(still_);
    } else if (on) {
        halted_ = false;
        userPaused_ = false;
        Paint(background3d_);
        PlayOn();
    }
    shown_ = on;
    qCDebug(lcMedia) << "window clip" << (on ? "on" : "off");
}

void TMyAviPlayer::FreezeClip() {
    if (!shown_) return;
    Halt();
    // The last frame as it stands in the rectangle.
    frozen_ = view_ && view_->isVisible() ? view_->grab().toImage() : frozen_;
    if (frozen_.isNull()) frozen_ = background3d_;
    if (view_) view_->hide();
    Paint(frozen_);
    qCDebug(lcMedia) << "window clip frozen";
}

void TMyAviPlayer::ResumeClip() {
    halted_ = false;
    Paint(background3d_);
    Loop();
}

void TMyAviPlayer::ToggleClip() {
    const bool stopped = HaltedOrPaused();
    userPaused_ = !stopped;
    if (stopped) {
        halted_ = false;
        PlayOn();
    } else {
        FreezeClip();
    }
}

void TMyAviPlayer::DrawFrozenFrame(QImage& background) const {
    if (frozen_.isNull()) return;
    QPainter p(&background);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(area_, frozen_);
}

void TMyAviPlayer::Release() {
    if (player_) {
        player_->OnNotify = nullptr;
        player_->Close();
        player_->FileName.clear();
        player_->SetDisplay(nullptr);
        player_.reset();
    }
    delete view_.data();
}

TWindowClip::TWindowClip(TDiscSession& session, QWidget* window, TWindowClipActions actions)
    : session_(session), window_(window), actions_(std::move(actions)) {}

TWindowClip::~TWindowClip() = default;

void TWindowClip::CreateClip3d() {
    clip_ = std::make_unique<TMyAviPlayer>(session_, window_, actions_);
    clip_->Setup(kClipArea, session_.ProgramFolder + kClipFile);
}

void TWindowClip::SwitchClipMode(bool moving) {
    if (clip_) clip_->ShowClip(moving);
}

void TWindowClip::PauseClip() {
    if (clip_ && clip_->Shown() && clip_->Playing()) clip_->FreezeClip();
}

void TWindowClip::ToggleWindowClip() {
    if (clip_) clip_->ToggleClip();
}

void TWindowClip::FreezeWindowClip() {
    if (clip_) clip_->FreezeClip();
}

void TWindowClip::ResumeWindowClip() {
    if (clip_) clip_->ResumeClip();
}

void TWindowClip::DrawFrozenFrame(QImage& background) {
    if (clip_) clip_->DrawFrozenFrame(background);
}

void TWindowClip::ReleaseWindowClip() { clip_.reset(); }

}  // namespace vitrina
