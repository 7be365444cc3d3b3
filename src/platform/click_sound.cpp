#include "platform/click_sound.h"

#include <QAudioOutput>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMediaPlayer>
#include <QTimer>
#include <QUrl>

namespace vitrina {

TClickSound::TClickSound(QObject* parent) : QObject(parent) {}

TClickSound::~TClickSound() {
    for (auto& v : voices_) v->player->stop();
}

TClickSound::TVoice& TClickSound::FreeVoice() {
    for (auto& v : voices_)
        if (v->player->playbackState() != QMediaPlayer::PlayingState) return *v;
    // A few voices let quick clicks overlap, as asynchronous sounds do; beyond that the
    // oldest one is cut.
    if (voices_.size() >= 4) {
        voices_.front()->player->stop();
        return *voices_.front();
    }
    auto v = std::make_unique<TVoice>();
    v->output = std::make_unique<QAudioOutput>();
    v->player = std::make_unique<QMediaPlayer>();
    v->player->setAudioOutput(v->output.get());
    voices_.push_back(std::move(v));
    return *voices_.back();
}

void TClickSound::Play(const std::filesystem::path& file) {
    played_.push_back({file, false, false});
    if (!std::filesystem::is_regular_file(file)) return;
    TVoice& v = FreeVoice();
    v.player->stop();
    v.player->setSource(QUrl::fromLocalFile(QString::fromStdString(file.string())));
    v.player->play();
}

bool TClickSound::PlayToEnd(const std::filesystem::path& file) {
    played_.push_back({file, true, false});
    if (!std::filesystem::is_regular_file(file)) return false;
    QMediaPlayer player;
    QAudioOutput output;
    player.setAudioOutput(&output);
    QEventLoop loop;
    bool ended = false;
    QObject::connect(&player, &QMediaPlayer::mediaStatusChanged, &loop, [&](QMediaPlayer::MediaStatus s) {
        if (s == QMediaPlayer::EndOfMedia || s == QMediaPlayer::InvalidMedia) {
            ended = s == QMediaPlayer::EndOfMedia;
            loop.quit();
        }
    });
    QObject::connect(&player, &QMediaPlayer::errorOccurred, &loop, [&] { loop.quit(); });
    QTimer bound;
    bound.setSingleShot(true);
    QObject::connect(&bound, &QTimer::timeout, &loop, &QEventLoop::quit);
    QElapsedTimer clock;
    clock.start();
    bound.start(10000);
    QObject::connect(&player, &QMediaPlayer::durationChanged, &loop, [&](qint64 ms) {
        if (ms > 0) bound.start(std::max<qint64>(0, ms + 1000 - clock.elapsed()));
    });
    player.setSource(QUrl::fromLocalFile(QString::fromStdString(file.string())));
    player.play();
    if (player.mediaStatus() != QMediaPlayer::EndOfMedia && player.error() == QMediaPlayer::NoError) loop.exec();
    player.stop();
    played_.back().completed = ended;
    return ended;
}

}  // namespace vitrina
