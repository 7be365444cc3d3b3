#include "media/background_music.h"

#include <QEvent>
#include <QEventLoop>
#include <QWidget>

#include <algorithm>

#include "media/media_log.h"
#include "media/player_rules.h"
#include "session/disc_session.h"
#include "session/settings.h"

namespace vitrina {

namespace {

constexpr int kFadeOutWaitMs = 10000;
constexpr int kFirstFrameWaitMs = 1000;

// Calls back once the window's first frame is on the screen: after its first paint event has
// returned (the frame is flushed with it), or after the bound when no frame comes.
class TFirstFrameWatch : public QObject {
public:
    TFirstFrameWatch(QWidget* window, std::function<void()> done) : done_(std::move(done)) {
        if (window) window->installEventFilter(this);
        QTimer::singleShot(kFirstFrameWaitMs, this, [this] { Fire(); });
    }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) QTimer::singleShot(0, this, [this] { Fire(); });
        return false;
    }

private:
    void Fire() {
        if (done_) std::exchange(done_, nullptr)();
    }
    std::function<void()> done_;
};

}  // namespace

TBackgroundMusic::TBackgroundMusic(TDiscSession& session) : session_(session), player_(session.Drives()) {
    player_.OnNotify = [this](TMPlayer* p) {
        if (p->NotifyValue() == TMPlayer::nvSuccessful) NextSong();
    };
    fadeTimer_.setTimerType(Qt::PreciseTimer);
    fadeTimer_.setInterval(1);
    QObject::connect(&fadeTimer_, &QTimer::timeout, [this] { FadeTick(); });
}

TBackgroundMusic::~TBackgroundMusic() { fadeTimer_.stop(); }

void TBackgroundMusic::StartAfterFirstFrame(QWidget* window, std::function<void()> start) {
    firstFrame_ = std::make_unique<TFirstFrameWatch>(window, [this, start = std::move(start)] {
        // The watch goes once its own call has returned.
        firstFrame_.release()->deleteLater();
        start();
    });
}

void TBackgroundMusic::Fail() {
    qCDebug(lcMedia) << "background music failed" << player_.Error();
    session_.Settings.BGSound = false;
    if (OnFlagChanged) OnFlagChanged(false);
}

void TBackgroundMusic::Start() {
    firstFrame_.reset();
    // A start while the song opens: that open goes on and plays it.
    if (player_.Opening()) return;
    if (songs_.empty()) return Fail();
    TRegistry& registry = session_.Registry();
    if (registry.OpenKey(SettingsKey(session_.Title), true)) {
        try {
            index_ = registry.ReadInteger("BGSoundSong");
            position_ = registry.ReadInteger("BGSoundPos");
        } catch (const ERegistryError&) {
        }
        registry.CloseKey();
    }
    index_ = ValidSong(index_, int(songs_.size()));
    OpenSong([this] {
        player_.Seek(std::max<std::int64_t>(position_, 0));
        StartFade(true);
        player_.Play();
        qCDebug(lcMedia) << "background music" << index_ << "from" << position_;
    });
}

void TBackgroundMusic::OpenSong(std::function<void()> play) {
    player_.FileName = songs_[std::size_t(index_)];
    player_.Open([this, play = std::move(play)](int error) {
        try {
            if (!error) return play();
        } catch (const EMCIDeviceError&) {
        }
        fadeTimer_.stop();
        SetOutput(saved_);
        Fail();
    });
}

void TBackgroundMusic::Stop(bool fade) {
    firstFrame_.reset();
    // A stop while the song opens drops the open.
    if (player_.Opening()) player_.Close();
    if (!player_.IsOpen()) return;
    TRegistry& registry = session_.Registry();
    if (registry.OpenKey(SettingsKey(session_.Title), true)) {
        try {
            registry.WriteInteger("BGSoundSong", index_);
        } catch (const ERegistryError&) {
        }
        try {
            registry.WriteInteger("BGSoundPos", int(player_.GetPosition()));
        } catch (const ERegistryError&) {
        }
        registry.CloseKey();
    }
    if (fade) {
        // The song may end during the fade: the ring stops here.
        stopping_ = true;
        StartFade(false);
        // Bounded: the fade reaches silence in about two seconds.
        QEventLoop wait;
        QTimer limit;
        limit.setSingleShot(true);
        QObject::connect(&limit, &QTimer::timeout, &wait, &QEventLoop::quit);
        QObject::connect(&fadeTimer_, &QTimer::timeout, &wait, [&] {
            if (!fadeTimer_.isActive()) wait.quit();
        });
        limit.start(kFadeOutWaitMs);
        if (fadeTimer_.isActive()) wait.exec();
        stopping_ = false;
        fadeTimer_.stop();
        player_.Close();
        SetOutput(saved_);
    } else {
        fadeTimer_.stop();
        player_.Close();
        SetOutput(saved_);
    }
    qCDebug(lcMedia) << "background music stopped" << index_;
}

void TBackgroundMusic::StartFade(bool up) {
    // A fade that interrupts another goes on from its level and keeps the volume that one saved,
    // so an early stop neither jumps nor leaves the music quieter for good.
    if (fadeTimer_.isActive()) {
        fade_.Start(saved_, up, fade_.Level());
    } else {
        saved_ = output_;
        fade_.Start(saved_, up);
    }
    qCDebug(lcMedia) << (up ? "fade in" : "fade out") << saved_.left << saved_.right;
    fadeClock_.start();
    lastTick_ = 0;
    fadeTimer_.start();
}

void TBackgroundMusic::FadeTick() {
    // One step per millisecond, also when the window thread was busy and the timer came late.
    const qint64 now = fadeClock_.elapsed();
    TStereoVolume v = output_;
    for (qint64 i = std::max<qint64>(1, now - lastTick_); i > 0 && !fade_.Done(); --i) v = fade_.Tick();
    lastTick_ = now;
    SetOutput(v);
    if (fade_.Done()) {
        fadeTimer_.stop();
        qCDebug(lcMedia) << "fade done" << output_.left << output_.right;
    }
}

void TBackgroundMusic::SetOutput(TStereoVolume v) {
    output_ = v;
    player_.SetVolume(float(std::max(v.left, v.right)) / 65535.0f);
}

void TBackgroundMusic::NextSong() {
    if (stopping_) return;
    index_ = ::vitrina::NextSong(index_, int(songs_.size()));
    OpenSong([this] { player_.Play(); });
}

}  // namespace vitrina
