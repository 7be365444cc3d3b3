#pragma once
// The background music: the songs of the description played one after another in a ring, faded
// in at the start and out at the stop, and resumed where it stopped in an earlier run (the song
// and the position are kept in the settings key).
#include <QElapsedTimer>
#include <QTimer>

#include <functional>
#include <memory>
#include <string>

#include "media/mplayer.h"
#include "media/volume_fade.h"
#include "resources/dynamic_arrays.h"

class QWidget;

namespace vitrina {

class TDiscSession;

class TBackgroundMusic {
public:
    explicit TBackgroundMusic(TDiscSession& session);
    ~TBackgroundMusic();

    // The songs as full Windows paths (the description reader has resolved them already).
    void SetSongs(const TDynamicStringArray& songs) { songs_ = songs; }
    const TDynamicStringArray& Songs() const { return songs_; }

    // From the stored song and position, fading in; a failure clears the session's flag.
    void Start();
    // Stores the song and the position; with fade the music fades out first (waiting at most
    // 10 seconds for silence).
    void Stop(bool fade);
    // The start at the window's first showing: start runs once the window's first frame is on the
    // screen (opening the music takes longer than drawing the window), or after a second when no
    // frame comes. A Start or Stop before then takes its place, as if the music had started at
    // once: a stop leaves it off, a start starts it then and only then.
    void StartAfterFirstFrame(QWidget* window, std::function<void()> start);
    bool StartPending() const { return firstFrame_ != nullptr; }

    int SongIndex() const { return index_; }
    TMPlayer& Player() { return player_; }
    bool Fading() const { return fadeTimer_.isActive(); }
    bool Opening() const { return player_.Opening(); }
    // The output volume the fades start from and come back to.
    TStereoVolume SavedVolume() const { return saved_; }
    // Told when the flag changes here (the settings dialog's check box follows it).
    std::function<void(bool on)> OnFlagChanged;

private:
    void StartFade(bool up);
    void FadeTick();
    void SetOutput(TStereoVolume v);
    void NextSong();
    // Opens the song at index_, then play; a failure (also one play throws) clears the flag. A
    // stop or another open meanwhile drops it.
    void OpenSong(std::function<void()> play);
    void Fail();

    TDiscSession& session_;
    TMPlayer player_;
    std::unique_ptr<QObject> firstFrame_;  // watches the window while the start waits for its frame
    bool stopping_ = false;  // the stop's fade-out runs
    TDynamicStringArray songs_;
    int index_ = 0;
    std::int64_t position_ = 0;
    TVolumeFade fade_;
    QTimer fadeTimer_;
    QElapsedTimer fadeClock_;
    qint64 lastTick_ = 0;
    TStereoVolume output_;  // the output's volume now
    TStereoVolume saved_;   // what it was before the fade that runs
};

}  // namespace vitrina
