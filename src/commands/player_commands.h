#pragma once
// The music player, the background music and the slides.
#include <string>

namespace vitrina {

class IPlayerCommands {
public:
    virtual ~IPlayerCommands() = default;
    virtual void BackgroundMusic(bool on) = 0;
    // The music at the window's first showing: it starts once the window's first frame is on
    // the screen; a music command before then takes its place.
    virtual void BackgroundMusicAfterFirstFrame() = 0;
    virtual void Play() = 0;
    virtual void Stop() = 0;
    virtual void Pause() = 0;
    virtual void StepForward() = 0;
    virtual void StepBack() = 0;
    virtual void Clip(const std::string& file, const std::string& document) = 0;
    virtual void NextPicture() = 0;
    virtual void PrevPicture() = 0;
    // A media link of a document: the file with the document to show beside it; endAction says
    // what happens when it ends.
    virtual void PlayMedia(const std::string& file, const std::string& document, int endAction) = 0;
    // A sound file dropped on the window.
    virtual void PlayDroppedFile(const std::string& file) = 0;
};

}  // namespace vitrina
