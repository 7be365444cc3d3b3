#pragma once
// The looping clip inside a fixed rectangle of the first screen ("3d" on, "2d" off). While it
// plays its frames cover the rectangle; stopped or frozen, the rectangle shows a picture painted
// into the window's skin: the skin's own still picture ("2d"), or the last frame.
#include <QImage>
#include <QPointer>
#include <QRect>

#include <functional>
#include <memory>
#include <string>

#include "commands/clip_commands.h"
#include "media/video_area.h"

class QWidget;

namespace vitrina {

class TDiscSession;
class TMPlayer;

struct TWindowClipActions {
    // The skin's picture of the current screen (null before there is one).
    std::function<QImage*()> background;
    // The window's image changed under the rectangle.
    std::function<void(const QRect&)> repaint;
    std::function<void(int error)> installCodecs;
};

class TMyAviPlayer {
public:
    TMyAviPlayer(TDiscSession& session, QWidget* window, TWindowClipActions actions);
    ~TMyAviPlayer();

    // Only for a file name that is not blank.
    void Setup(const QRect& area, const std::string& file);
    void ShowClip(bool on);
    void FreezeClip();
    void ResumeClip();
    void ToggleClip();
    void Release();
    // The video covers its rectangle on the first screen only; elsewhere it plays on unseen.
    void ScreenChanged(int screen);

    bool Shown() const { return shown_; }
    bool Halted() const { return halted_; }
    bool PausedByUser() const { return userPaused_; }
    bool HaltedOrPaused() const;
    bool Playing() const;
    const QRect& Area() const { return area_; }
    void DrawFrozenFrame(QImage& background) const;
    TMPlayer* Player() const { return player_.get(); }
    TVideoArea* View() const { return view_.data(); }

private:
    void Loop();
    void Halt();
    void Paint(const QImage& picture);
    void PlayOn();

    TDiscSession& session_;
    QWidget* window_;
    TWindowClipActions actions_;
    std::unique_ptr<TMPlayer> player_;
    QPointer<TVideoArea> view_;  // a child of the window
    QRect area_;
    QImage still_;
    QImage background3d_;
    QImage frozen_;
    bool shown_ = false;
    bool halted_ = true;
    bool userPaused_ = false;
    int screen_ = 0;
};

// The dispatcher's clip commands over the window clip of the first screen.
class TWindowClip : public IClipCommands {
public:
    TWindowClip(TDiscSession& session, QWidget* window, TWindowClipActions actions);
    ~TWindowClip() override;

    bool ClipPlayerExists() const override { return clip_ != nullptr; }
    void CreateClip3d() override;
    void SwitchClipMode(bool moving) override;
    void PauseClip() override;
    bool WindowClipExists() const override { return clip_ != nullptr; }
    bool WindowClipShown() const override { return clip_ && clip_->Shown(); }
    bool WindowClipPlaying() const override { return clip_ && clip_->Playing(); }
    bool WindowClipHaltedOrPaused() const override { return clip_ && clip_->HaltedOrPaused(); }
    bool WindowClipPausedByUser() const override { return clip_ && clip_->PausedByUser(); }
    bool InsideWindowClip(int x, int y) const override { return clip_ && clip_->Area().contains(x, y); }
    void ToggleWindowClip() override;
    void FreezeWindowClip() override;
    void ResumeWindowClip() override;
    void DrawFrozenFrame(QImage& background) override;
    void ReleaseWindowClip() override;

    TMyAviPlayer* Clip() const { return clip_.get(); }

private:
    TDiscSession& session_;
    QWidget* window_;
    TWindowClipActions actions_;
    std::unique_ptr<TMyAviPlayer> clip_;
};

}  // namespace vitrina
