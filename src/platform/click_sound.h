#pragma once
// Click sounds. QMediaPlayer plays without a sound server (GStreamer falls back to a fake
// sink), where QSoundEffect would never end, so both the desktop and CI hear the same thing.
#include <QObject>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

class QMediaPlayer;
class QAudioOutput;

namespace vitrina {

class TClickSound : public QObject {
public:
    explicit TClickSound(QObject* parent = nullptr);
    ~TClickSound() override;

    // Starts the file and returns at once; a missing or unplayable file is silent.
    void Play(const std::filesystem::path& file);
    // Plays the file to its end, waiting at most its length plus a second (ten seconds while
    // its length is unknown). True when the end was reached.
    bool PlayToEnd(const std::filesystem::path& file);

    struct TPlayed {
        std::filesystem::path file;
        bool toEnd = false;
        bool completed = false;
    };
    // Every request, in order: the record of what the program asked to hear.
    const std::vector<TPlayed>& Played() const { return played_; }

private:
    struct TVoice {
        std::unique_ptr<QAudioOutput> output;
        std::unique_ptr<QMediaPlayer> player;
    };
    TVoice& FreeVoice();

    std::vector<std::unique_ptr<TVoice>> voices_;
    std::vector<TPlayed> played_;
};

}  // namespace vitrina
