#include "media/media_parts.h"

#include "media/background_music.h"
#include "media/player_rules.h"
#include "media/slide_image.h"
#include "media/sound.h"
#include "media/start_clip.h"
#include "media/window_clip.h"


namespace vitrina {

TMediaParts::TMediaParts(TDiscSession& session, QWidget* window, TMediaActions actions)
    : session_(session), window_(window) {
    music_ = std::make_unique<TBackgroundMusic>(session);
    music_->SetSongs(session.Model.BackgroundSongs);
    TSoundActions soundActions;
    soundActions.showDocument = actions.showDocument;
    soundActions.areaMouseMove = actions.areaMouseMove;
    soundActions.installCodecs = [this](int error) { codecs_.InstallForFailedOpen(error); };
    sound_ = std::make_unique<TSound>(session, *music_, session.Model.ClipAreas, window, std::move(soundActions));
    if (!session.Model.ImageAreas.empty())
        slides_ = std::make_unique<TSlideImage>(session, session.Model.ImageAreas, window, actions.areaMouseMove);
    TWindowClipActions clipActions;
    clipActions.background = actions.background;
    clipActions.repaint = [window](const QRect& r) { window->update(r); };
    clipActions.installCodecs = [this](int error) { codecs_.InstallForFailedOpen(error); };
    windowClip_ = std::make_unique<TWindowClip>(session, window, std::move(clipActions));
    codecs_.InstallAtStartUp(session.Model.Codec, session.Settings.Clip);
}

bool TMediaParts::PlayStartClip(std::function<void()> finished) {
    const std::string& clip = session_.Model.Rolic;
    if (clip.empty() || clip == "no" || !session_.Settings.Clip) return false;
    auto done = [this, finished = std::move(finished)] {
        // The window goes once its own handler has returned.
        if (startClip_) startClip_.release()->deleteLater();
        if (finished) finished();
    };
    startClip_ = std::make_unique<TStartClip>(session_, clip, session_.Model.Background,
                                              [this](int error) { codecs_.InstallForFailedOpen(error); }, std::move(done));
    startClip_->Start();
    return true;
}

TMediaParts::~TMediaParts() = default;

void TMediaParts::Release() {
    if (session_.Settings.BGSound) music_->Stop(true);
    sound_->Close();
    windowClip_->ReleaseWindowClip();
}

void TMediaParts::BackgroundMusic(bool on) {
    if (on) sound_->StartMusic();
    else music_->Stop(true);
}

void TMediaParts::BackgroundMusicAfterFirstFrame() {
    music_->StartAfterFirstFrame(window_, [this] {
        if (session_.Settings.BGSound) sound_->StartMusic();
    });
}

void TMediaParts::Play() { sound_->PlayMedia({}, {}, kEndNothing); }

void TMediaParts::Stop() { sound_->StopCommand(); }

void TMediaParts::Pause() { sound_->PauseCommand(); }

void TMediaParts::StepForward() { sound_->StepForward(); }

void TMediaParts::StepBack() { sound_->StepBack(); }

void TMediaParts::Clip(const std::string& file, const std::string& document) {
    sound_->PlayMedia(file, document, kEndClose);
}

void TMediaParts::NextPicture() {
    if (slides_) slides_->NextPicture();
}

void TMediaParts::PrevPicture() {
    if (slides_) slides_->PreviousPicture();
}

void TMediaParts::PlayMedia(const std::string& file, const std::string& document, int endAction) {
    sound_->PlayMedia(file, document, endAction);
}

void TMediaParts::PlayDroppedFile(const std::string& file) { sound_->PlayMedia(file, {}, kEndCloseByPlay); }

void TMediaParts::ScreenChanged(int screen) {
    sound_->ShowAreasForScreen();
    if (slides_) slides_->ShowPicturesForScreen();
    if (windowClip_->Clip()) windowClip_->Clip()->ScreenChanged(screen);
}

}  // namespace vitrina
