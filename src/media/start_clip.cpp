#include "media/start_clip.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>

#include "media/media_log.h"
#include "media/mplayer.h"
#include "media/video_area.h"
#include "session/disc_session.h"

namespace vitrina {

namespace {

constexpr int kBevel = 10;
const QColor kNavy(0, 0, 128);

}  // namespace

TStartClip::TStartClip(TDiscSession& session, const std::string& clip, const std::string& background,
                       std::function<void(int error)> installCodecs, std::function<void()> finished)
    : QWidget(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Window), session_(session),
      clip_(clip), framed_(background.empty() || background == "no"), installCodecs_(std::move(installCodecs)),
      finished_callback_(std::move(finished)) {
    QPalette pal = palette();
    pal.setColor(QPalette::Window, framed_ ? kNavy : QColor(Qt::black));
    setPalette(pal);
    setAutoFillBackground(true);
    view_ = new TVideoArea(this, framed_ ? kNavy : QColor(Qt::black));
    startTimer_.setSingleShot(true);
    startTimer_.setInterval(10);
    watchStart_.setInterval(500);
    watchEnd_.setInterval(100);
    connect(&startTimer_, &QTimer::timeout, this, [this] { Begin(); });
    connect(&watchStart_, &QTimer::timeout, this, [this] { WatchStart(); });
    connect(&watchEnd_, &QTimer::timeout, this, [this] { WatchEnd(); });
}

TStartClip::~TStartClip() {
    startTimer_.stop();
    watchStart_.stop();
    watchEnd_.stop();
}

void TStartClip::Start() { startTimer_.start(); }

void TStartClip::Begin() {
    player_ = std::make_unique<TMPlayer>(session_.Drives());
    player_->FileName = session_.ProgramFolder + clip_;
    player_->SetDisplay(view_);
    player_->Open([this](int error) { Opened(error, true); });
}

void TStartClip::Opened(int error, bool mayRetry) {
    if (error) {
        if (FileItselfBad(error) || !mayRetry) return Finish();
        if (installCodecs_) installCodecs_(error);
        player_->Open([this](int again) { Opened(again, false); });
        return;
    }
    const QRect screen = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->geometry() : QRect(0, 0, 1024, 768);
    const QRect video = player_->GetDisplayRect();
    const int w = video.width(), h = video.height();
    if (framed_) {
        player_->SetDisplayRect(QRect(0, 0, w, h));
        view_->setGeometry(kBevel, kBevel, w, h);
        setGeometry(screen.width() / 2 - w / 2 - 20, screen.height() / 2 - h / 2 - 20, w + 20, h + 20);
    } else {
        player_->SetDisplayRect(QRect(0, 0, w, h));
        view_->setGeometry(screen.width() / 2 - w / 2, screen.height() / 2 - h / 2, w, h);
        setGeometry(0, 0, screen.width(), screen.height());
    }
    try {
        player_->Play();
    } catch (const EMCIDeviceError&) {
        return Finish();
    }
    watchStart_.start();
}

void TStartClip::WatchStart() {
    if (player_->GetMode() == TMPlayer::mpPlaying) {
        watchStart_.stop();
        watchEnd_.start();
        show();
        raise();
        activateWindow();
        return;
    }
    if (retries_ >= kRetries) {
        watchStart_.stop();
        watchEnd_.start();
        return;
    }
    player_->SetNotify(false);
    try {
        player_->Play();
    } catch (const EMCIDeviceError&) {
    }
    ++retries_;
}

void TStartClip::WatchEnd() {
    if (player_->GetMode() == TMPlayer::mpPlaying) return;
    watchEnd_.stop();
    player_->Close();
    Finish();
}

void TStartClip::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Escape) return QWidget::keyPressEvent(event);
    watchStart_.stop();
    watchEnd_.stop();
    if (player_) player_->Close();
    Finish();
}

void TStartClip::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    if (!framed_) return;
    // The raised frame around the video.
    QPainter p(this);
    const QRect r = rect();
    for (int i = 0; i < kBevel; ++i) {
        const QRect edge = r.adjusted(i, i, -i - 1, -i - 1);
        p.setPen(i < kBevel / 2 ? QColor(96, 96, 192) : QColor(0, 0, 80));
        p.drawLine(edge.topLeft(), edge.topRight());
        p.drawLine(edge.topLeft(), edge.bottomLeft());
        p.setPen(i < kBevel / 2 ? QColor(0, 0, 64) : QColor(64, 64, 160));
        p.drawLine(edge.bottomLeft(), edge.bottomRight());
        p.drawLine(edge.topRight(), edge.bottomRight());
    }
}

void TStartClip::Finish() {
    if (finished_) return;
    finished_ = true;
    qCDebug(lcMedia) << "start clip finished";
    hide();
    if (finished_callback_) finished_callback_();
}

}  // namespace vitrina
