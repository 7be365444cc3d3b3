#pragma once
// The media of the main window: the music and clip player, the background music, the slides and
// the window clip, behind the dispatcher's interfaces; the screen switch shows their areas.
#include <QWidget>

#include <functional>
#include <memory>
#include <string>

#include "commands/player_commands.h"
#include "media/codec_setup.h"
#include "session/disc_session.h"

namespace vitrina {

class TBackgroundMusic;
class TSlideImage;
class TSound;
class TStartClip;
class TWindowClip;

struct TMediaActions {
    std::function<void(int number, const std::string& document)> showDocument;
    std::function<void()> areaMouseMove;
    // The skin's picture of the current screen, which the window clip paints its stills into.
    std::function<QImage*()> background;
};

class TMediaParts : public IPlayerCommands, public IScreenObserver {
public:
    TMediaParts(TDiscSession& session, QWidget* window, TMediaActions actions);
    ~TMediaParts() override;

    // The end of the window: the music fades out and keeps its place for the next run.
    void Release();
    // The start clip when the description names one and the setting is on; finished runs when
    // it has ended. False: there is none, and the caller goes on at once.
    bool PlayStartClip(std::function<void()> finished);

    // IPlayerCommands.
    void BackgroundMusic(bool on) override;
    void BackgroundMusicAfterFirstFrame() override;
    void Play() override;
    void Stop() override;
    void Pause() override;
    void StepForward() override;
    void StepBack() override;
    void Clip(const std::string& file, const std::string& document) override;
    void NextPicture() override;
    void PrevPicture() override;
    void PlayMedia(const std::string& file, const std::string& document, int endAction) override;
    void PlayDroppedFile(const std::string& file) override;

    // IScreenObserver.
    void ScreenChanged(int screen) override;

    TSound& Sound() const { return *sound_; }
    TBackgroundMusic& Music() const { return *music_; }
    TSlideImage* Slides() const { return slides_.get(); }
    TCodecSetup& Codecs() { return codecs_; }
    TWindowClip& WindowClip() const { return *windowClip_; }

private:
    TDiscSession& session_;
    QWidget* window_;
    TCodecSetup codecs_;
    std::unique_ptr<TBackgroundMusic> music_;
    std::unique_ptr<TSound> sound_;
    std::unique_ptr<TSlideImage> slides_;
    std::unique_ptr<TWindowClip> windowClip_;
    std::unique_ptr<TStartClip> startClip_;
};

}  // namespace vitrina
