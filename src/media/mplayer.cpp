#include "media/mplayer.h"

#include <QAudioOutput>
#include <QMediaMetaData>
#include <QMediaPlayer>
#include <QTimer>
#include <QUrl>
#include <QVideoFrame>
#include <QVideoSink>

#include <algorithm>
#include <utility>

#include "media/frame_image.h"
#include "media/media_log.h"
#include "media/video_area.h"
#include "resources/drive_map.h"

namespace vitrina {

namespace {

// How long an open waits for the backend to know the file.
constexpr int kOpenTimeoutMs = 10000;

}  // namespace

TMPlayer::TMPlayer(const TDriveMap& drives, QObject* parent) : QObject(parent), drives_(drives) {}

void TMPlayer::MakeOutputs() {
    // Made with the first file, not with the player: the first output starts the media backend
    // (GStreamer, its plugins and device monitor), which a window showing itself must not wait for.
    if (output_) return;
    output_ = std::make_unique<QAudioOutput>();
    output_->setVolume(volume_);
    sink_ = std::make_unique<QVideoSink>();
    connect(sink_.get(), &QVideoSink::videoFrameChanged, this, &TMPlayer::FrameArrived);
}

void TMPlayer::MakeBackend() {
    MakeOutputs();
    // A fresh player for every file: the reports the last one still has queued (a failure is
    // reported several times) must not be taken for the new file's.
    if (player_) {
        player_->disconnect(this);
        player_->stop();
    }
    player_ = std::make_unique<QMediaPlayer>();
    player_->setAudioOutput(output_.get());
    player_->setVideoOutput(sink_.get());
    connect(player_.get(), &QMediaPlayer::mediaStatusChanged, this, [this](QMediaPlayer::MediaStatus status) {
        if (loading_) {
            // Taken after this turn: a failure report that names the cause may follow.
            if (status == QMediaPlayer::LoadedMedia || status == QMediaPlayer::InvalidMedia ||
                status == QMediaPlayer::EndOfMedia)
                LoadReported(0);
        } else if (status == QMediaPlayer::EndOfMedia && open_) {
            Ended();
        }
    });
    connect(player_.get(), &QMediaPlayer::errorOccurred, this, [this](QMediaPlayer::Error, const QString& message) {
        if (loading_) LoadReported(MciErrorOfBackend(message.toStdString()));
        else if (open_) Failed(message);
    });
}

TMPlayer::~TMPlayer() {
    if (open_) CloseDevice();
    // The notices still queued for this player are dropped with it.
    OnNotify = nullptr;
}

TMPlayer::TFlags TMPlayer::WaitingFlags() {
    TFlags f{true, false};
    if (waitSet_) f.wait = wait_;
    if (notifySet_) f.notify = notify_;
    waitSet_ = notifySet_ = false;
    return f;
}

TMPlayer::TFlags TMPlayer::NotifyingFlags() {
    TFlags f{false, true};
    if (notifySet_) f.notify = notify_;
    if (waitSet_) f.wait = wait_;
    waitSet_ = notifySet_ = false;
    return f;
}

void TMPlayer::SetNotify(bool value) {
    notify_ = value;
    notifySet_ = true;
}

void TMPlayer::SetWait(bool value) {
    wait_ = value;
    waitSet_ = true;
}

void TMPlayer::CheckOpen() const {
    if (!open_) throw EMCIDeviceError("No MCI device open");
}

void TMPlayer::Deliver(int value) {
    qCDebug(lcMedia) << "completion" << value << QString::fromStdString(FileName);
    // As a posted message: the handler runs after the command that caused it has returned.
    QMetaObject::invokeMethod(
        this,
        [this, value] {
            notifyValue_ = value;
            if (OnNotify) OnNotify(this);
        },
        Qt::QueuedConnection);
}

void TMPlayer::EndPending(int value) {
    if (!pending_) return;
    pending_ = false;
    Deliver(value);
}

void TMPlayer::Ended() {
    atEnd_ = true;
    stopped_ = true;
    qCDebug(lcMedia) << "end" << QString::fromStdString(FileName);
    if (pending_) {
        pending_ = false;
        Deliver(nvSuccessful);
    }
}

void TMPlayer::Failed(const QString& message) {
    error_ = MciErrorOfBackend(message.toStdString());
    qCDebug(lcMedia) << "failure" << error_ << message << QString::fromStdString(FileName);
    EndPending(nvFailure);
}

void TMPlayer::LoadReported(int code) {
    // The backend reports a failure more than once; the first report names the cause.
    if (!loadCode_) loadCode_ = code;
    if (loadEnding_) return;
    loadEnding_ = true;
    QMetaObject::invokeMethod(this, [this, generation = openGeneration_] { Loaded(generation); }, Qt::QueuedConnection);
}

void TMPlayer::Loaded(unsigned generation) {
    if (!loading_ || generation != openGeneration_) return;
    loading_ = false;
    int code = loadCode_;
    if (!code && player_->mediaStatus() == QMediaPlayer::InvalidMedia) code = kMciInvalidFile;
    if (code) return Opened(code);
    open_ = true;
    displayRect_ = {};
    hasVideo_ = player_->hasVideo();
    const QMediaMetaData meta = player_->metaData();
    displaySize_ = meta.value(QMediaMetaData::Resolution).toSize();
    frameRate_ = meta.value(QMediaMetaData::VideoFrameRate).toDouble();
    if (hasVideo_ && !player_->videoTracks().isEmpty()) {
        const QMediaMetaData track = player_->videoTracks().front();
        if (displaySize_.isEmpty()) displaySize_ = track.value(QMediaMetaData::Resolution).toSize();
        if (frameRate_ <= 0) frameRate_ = track.value(QMediaMetaData::VideoFrameRate).toDouble();
    }
    qCDebug(lcMedia) << "open" << QString::fromStdString(FileName) << "video" << hasVideo_ << displaySize_
                     << "length" << player_->duration();
    if (hasVideo_) Attach();
    if (openNotify_) Deliver(nvSuccessful);
    Opened(0);
}

void TMPlayer::Opened(int code) {
    if (code) {
        error_ = code;
        if (player_) player_->setSource(QUrl());
        qCDebug(lcMedia) << "open failed" << code << QString::fromStdString(FileName);
    }
    // Taken out first: the caller may open again from here.
    if (TOpened opened = std::exchange(opened_, nullptr)) opened(code);
}

void TMPlayer::CancelLoad() {
    if (!loading_) return;
    qCDebug(lcMedia) << "open superseded" << QString::fromStdString(FileName);
    loading_ = false;
    ++openGeneration_;
    player_->stop();
    player_->setSource(QUrl());
    opened_ = nullptr;
}

void TMPlayer::Open(TOpened opened) {
    const TFlags f = WaitingFlags();
    if (open_) CloseDevice();
    CancelLoad();
    error_ = 0;
    atEnd_ = false;
    stopped_ = true;
    opened_ = std::move(opened);
    openNotify_ = f.notify;
    int code = kMciFilenameRequired;
    std::optional<std::filesystem::path> host;
    if (!FileName.empty()) {
        host = drives_.ToHostPath(FileName);
        code = MciErrorOfFile(host);
    }
    if (code) return Opened(code);
    MakeBackend();
    loading_ = true;
    loadCode_ = 0;
    loadEnding_ = false;
    const unsigned generation = ++openGeneration_;
    // A file the backend has not understood by then is bad.
    QTimer::singleShot(kOpenTimeoutMs, player_.get(), [this, generation] {
        if (loading_ && generation == openGeneration_) LoadReported(kMciInvalidFile);
    });
    player_->setSource(QUrl::fromLocalFile(QString::fromStdString(host->string())));
}

void TMPlayer::Attach() {
    if (!display_) return;
    display_->SetFrame({});
    display_->SetDestination(displayRect_);
}

void TMPlayer::CloseDevice() {
    EndPending(nvAborted);
    player_->stop();
    player_->setSource(QUrl());
    open_ = false;
    hasVideo_ = false;
    if (display_) display_->SetFrame({});
    qCDebug(lcMedia) << "close" << QString::fromStdString(FileName);
}

void TMPlayer::Close() {
    const TFlags f = WaitingFlags();
    CancelLoad();
    if (!open_) return;
    CloseDevice();
    if (f.notify) Deliver(nvSuccessful);
}

int TMPlayer::Play() {
    const TFlags f = NotifyingFlags();
    CheckOpen();
    if (AutoRewind && GetPosition() >= GetLength()) {
        player_->setPosition(0);
        atEnd_ = false;
    }
    EndPending(nvSuperseded);
    qCDebug(lcMedia) << "play" << QString::fromStdString(FileName) << "from" << player_->position();
    stopped_ = false;
    if (atEnd_) {
        // Nothing is left to play: the play is complete at once.
        stopped_ = true;
        if (f.notify) Deliver(nvSuccessful);
        return 0;
    }
    pending_ = f.notify;
    player_->play();
    return 0;
}

int TMPlayer::Stop() {
    const TFlags f = WaitingFlags();
    CheckOpen();
    qCDebug(lcMedia) << "stop" << QString::fromStdString(FileName);
    EndPending(nvAborted);
    // The position stays where it is, as a device's stop leaves it.
    if (player_->playbackState() == QMediaPlayer::PlayingState) player_->pause();
    stopped_ = true;
    if (f.notify) Deliver(nvSuccessful);
    return 0;
}

int TMPlayer::Pause() {
    const TFlags f = WaitingFlags();
    CheckOpen();
    qCDebug(lcMedia) << "pause" << QString::fromStdString(FileName);
    if (player_->playbackState() == QMediaPlayer::PlayingState) {
        player_->pause();
        stopped_ = false;
    }
    if (f.notify) Deliver(nvSuccessful);
    return 0;
}

int TMPlayer::Resume() {
    const TFlags f = NotifyingFlags();
    CheckOpen();
    if (GetMode() != mpPaused) {
        // A device that is not paused refuses to resume: play from where it stands.
        SetNotify(f.notify);
        if (f.wait) SetWait(true);
        return Play();
    }
    qCDebug(lcMedia) << "resume" << QString::fromStdString(FileName);
    if (f.notify) {
        EndPending(nvSuperseded);
        pending_ = true;
    }
    player_->play();
    return 0;
}

void TMPlayer::PauseToggle() {
    const int mode = GetMode();
    if (mode == mpPlaying) Pause();
    else if (mode == mpPaused) Resume();
}

int TMPlayer::Seek(std::int64_t position) {
    const TFlags f = WaitingFlags();
    CheckOpen();
    const std::int64_t ms = std::clamp<std::int64_t>(FromFormat(position), 0, std::max<std::int64_t>(player_->duration(), 0));
    qCDebug(lcMedia) << "seek" << QString::fromStdString(FileName) << ms;
    EndPending(nvAborted);
    // A seek stops the device where it lands.
    if (player_->playbackState() == QMediaPlayer::PlayingState) player_->pause();
    player_->setPosition(ms);
    stopped_ = true;
    atEnd_ = player_->duration() > 0 && ms >= player_->duration();
    if (f.notify) Deliver(nvSuccessful);
    return 0;
}

int TMPlayer::Rewind() {
    SetWait(true);
    return Seek(0);
}

std::int64_t TMPlayer::ToFormat(std::int64_t ms) const {
    if (timeFormat_ == tfFrames && frameRate_ > 0) return std::int64_t(double(ms) * frameRate_ / 1000.0 + 0.5);
    return ms;
}

std::int64_t TMPlayer::FromFormat(std::int64_t value) const {
    if (timeFormat_ == tfFrames && frameRate_ > 0) return std::int64_t(double(value) * 1000.0 / frameRate_ + 0.5);
    return value;
}

std::int64_t TMPlayer::GetLength() {
    CheckOpen();
    return ToFormat(std::max<std::int64_t>(player_->duration(), 0));
}

std::int64_t TMPlayer::GetPosition() {
    if (!open_) return 0;
    if (atEnd_) return ToFormat(std::max<std::int64_t>(player_->duration(), 0));
    return ToFormat(player_->position());
}

int TMPlayer::GetMode() const {
    if (!open_) return mpNotReady;
    if (player_->playbackState() == QMediaPlayer::PlayingState) return mpPlaying;
    if (player_->playbackState() == QMediaPlayer::PausedState && !stopped_) return mpPaused;
    return mpStopped;
}

void TMPlayer::SetDisplay(TVideoArea* display) {
    if (display_ && display_ != display) display_->SetFrame({});
    display_ = display;
    if (display && open_ && hasVideo_) Attach();
}

TVideoArea* TMPlayer::Display() const { return display_; }

void TMPlayer::SetDisplayRect(const QRect& rect) {
    if (!open_ || !hasVideo_) return;
    QRect r = rect;
    if (r.width() == 0 && r.height() == 0) r.setSize(displaySize_);
    displayRect_ = r;
    displaySize_ = r.size();
    if (display_) display_->SetDestination(r);
}

QRect TMPlayer::GetDisplayRect() const {
    if (!open_ || !hasVideo_) return {};
    if (!displayRect_.isEmpty()) return displayRect_;
    return QRect(QPoint(0, 0), displaySize_);
}

void TMPlayer::FrameArrived(const QVideoFrame& frame) {
    if (!open_ || !display_ || !frame.isValid()) return;
    const QImage image = FrameImage(frame);
    if (image.isNull()) return;
    if (displaySize_.isEmpty()) displaySize_ = image.size();
    display_->SetFrame(image);
}

void TMPlayer::SetVolume(float volume) {
    // Bounded as the output bounds it, so the volume kept is the output's whether it exists or not.
    volume_ = std::clamp(volume, 0.0f, 1.0f);
    if (output_) output_->setVolume(volume_);
}

const QAudioOutput* TMPlayer::Output() {
    MakeOutputs();
    return output_.get();
}

}  // namespace vitrina
