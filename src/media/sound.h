#pragma once
// The music and clip player: sound files without a window, clips in the coloured display areas
// the description places on each screen, with the HTML area beside a clip showing its document.
// Starting anything suspends the background music; the end action decides what the natural end
// of a sound or clip does (close the device, bring the music back).
#include <QPointer>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "media/mplayer.h"
#include "resources/screen_model.h"

class QWidget;

namespace vitrina {

class TBackgroundMusic;
class TDiscSession;
class TVideoArea;

struct TSoundActions {
    // Shows a document in the HTML area with this number.
    std::function<void(int number, const std::string& document)> showDocument;
    // The codec installation, before the single retry of an open that failed for want of a
    // decoder.
    std::function<void(int error)> installCodecs;
    // The pointer moved over an area (the window clears its hover marks).
    std::function<void()> areaMouseMove;
};

class TSound : public TMPlayer {
public:
    // areas: the clip records; window: the parent of their display areas.
    TSound(TDiscSession& session, TBackgroundMusic& music, const TDynamicClipArray& areas, QWidget* window,
           TSoundActions actions);
    ~TSound() override;

    void ShowAreasForScreen();
    void PlayMedia(const std::string& file, const std::string& document, int endAction);
    void StepForward();
    void StepBack();
    // "stop" and "pause".
    void StopCommand();
    void PauseCommand();
    // "bgsound" turning the music on: the player gives way first.
    void StartMusic();

    int EndAction() const { return endAction_; }
    // The display areas in record order (null for one the window has already destroyed).
    std::vector<TVideoArea*> Areas() const { return {areas_.begin(), areas_.end()}; }

private:
    void Ended();
    // The file of a play is open (error 0) or failed; a clip that wants a decoder retries once.
    // cursor: the wait cursor, kept until the outcome.
    void Opened(int error, bool mayRetry, const std::shared_ptr<void>& cursor);
    void Step(bool forward);
    void SetMusicFlag(bool on);

    TDiscSession& session_;
    TBackgroundMusic& music_;
    TSoundActions actions_;
    TDynamicClipArray records_;
    std::vector<QPointer<TVideoArea>> areas_;  // children of the window
    int lastScreen_ = -1;
    int endAction_ = 0;
};

}  // namespace vitrina
