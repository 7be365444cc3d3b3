#include "media/sound.h"

#include <QApplication>
#include <QColor>

#include <memory>

#include "imaging/windows_color.h"
#include "media/background_music.h"
#include "media/media_log.h"
#include "media/player_rules.h"
#include "media/video_area.h"
#include "platform/cp1251.h"
#include "session/disc_session.h"

namespace vitrina {

namespace {

class TWaitCursor {
public:
    TWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TWaitCursor() { QApplication::restoreOverrideCursor(); }
};

}  // namespace

TSound::TSound(TDiscSession& session, TBackgroundMusic& music, const TDynamicClipArray& areas, QWidget* window,
               TSoundActions actions)
    : TMPlayer(session.Drives()), session_(session), music_(music), actions_(std::move(actions)), records_(areas) {
    OnNotify = [this](TMPlayer* p) {
        if (p->NotifyValue() == nvSuccessful) Ended();
    };
    for (const RClip& r : records_) {
        auto* area = new TVideoArea(window, ToQColor(r.bgcolor));
        area->setGeometry(r.vx, r.vy, r.vw - r.vx, r.vh - r.vy);
        area->hide();
        area->OnMouseMove = [this] {
            if (actions_.areaMouseMove) actions_.areaMouseMove();
        };
        areas_.push_back(area);
    }
    ShowAreasForScreen();
}

TSound::~TSound() {
    OnNotify = nullptr;
    for (const QPointer<TVideoArea>& a : areas_) delete a.data();
}

void TSound::ShowAreasForScreen() {
    const int current = session_.CurrentScreen;
    for (std::size_t i = 0; i < areas_.size(); ++i) {
        if (!areas_[i]) continue;
        if (records_[i].screen == current) areas_[i]->show();
        else if (records_[i].screen == lastScreen_) areas_[i]->hide();
    }
    lastScreen_ = current;
}

void TSound::SetMusicFlag(bool on) {
    session_.Settings.BGSound = on;
    if (music_.OnFlagChanged) music_.OnFlagChanged(on);
}

void TSound::PlayMedia(const std::string& file, const std::string& document, int endAction) {
    // A file still opening is on its way to play.
    endAction_ = NextEndAction(endAction, GetMode() == mpPlaying || Opening(), endAction_);
    if (session_.Settings.BGSound) {
        music_.Stop(false);
        SetMusicFlag(false);
        if (endAction == kEndCloseByPlay) endAction_ = kEndMusicBack;
    }
    // The wait cursor shows until the open has an outcome; it goes with the callback, also when a
    // newer play takes this one's place.
    auto cursor = std::make_shared<TWaitCursor>();
    FileName = file;
    qCDebug(lcMedia) << "play media" << QString::fromStdString(Cp1251ToUtf8(file)) << "end action" << endAction_;
    // A case-sensitive test, as the descriptions have always been read.
    const bool clip = !file.empty() && file.find(".wav") == std::string::npos;
    if (clip) {
        for (std::size_t i = 0; i < areas_.size(); ++i) {
            if (records_[i].screen != session_.CurrentScreen) continue;
            SetDisplay(areas_[i]);
            std::string shown = document;
            if (shown.empty()) {
                for (const RHTML& h : session_.Model.HtmlAreas)
                    if (h.number == records_[i].html) {
                        shown = h.fn;
                        break;
                    }
            }
            if (actions_.showDocument) actions_.showDocument(records_[i].html, shown);
            break;
        }
    }
    Open([this, cursor, clip](int error) { Opened(error, clip, cursor); });
}

void TSound::Opened(int error, bool mayRetry, const std::shared_ptr<void>& cursor) {
    if (error) {
        if (!mayRetry || FileItselfBad(error)) return;
        if (actions_.installCodecs) actions_.installCodecs(error);
        Open([this, cursor](int again) { Opened(again, false, cursor); });
        return;
    }
    try {
        Play();
    } catch (const EMCIDeviceError&) {
    }
}

void TSound::Ended() {
    qCDebug(lcMedia) << "sound ended, end action" << endAction_;
    switch (endAction_) {
    case kEndCloseByPlay:
        PlayMedia({}, {}, kEndNothing);
        break;
    case kEndClose:
        Close();
        break;
    case kEndMusicBack: {
        TWaitCursor cursor;
        session_.Settings.BGSound = true;
        music_.Start();
        if (session_.Settings.BGSound) SetMusicFlag(true);
        break;
    }
    default:
        break;
    }
}

void TSound::Step(bool forward) {
    try {
        SetTimeFormat(tfMilliseconds);
        const std::int64_t position = GetPosition();
        Seek(forward ? StepForwardTarget(position, GetLength()) : StepBackTarget(position));
        Play();
    } catch (const EMCIDeviceError&) {
    }
}

void TSound::StepForward() { Step(true); }

void TSound::StepBack() { Step(false); }

void TSound::StopCommand() {
    try {
        Stop();
    } catch (const EMCIDeviceError&) {
    }
}

void TSound::PauseCommand() {
    SetNotify(false);
    try {
        PauseToggle();
    } catch (const EMCIDeviceError&) {
    }
}

void TSound::StartMusic() {
    Close();
    session_.Settings.BGSound = true;
    music_.Start();
    if (session_.Settings.BGSound && music_.OnFlagChanged) music_.OnFlagChanged(true);
}

}  // namespace vitrina
