#pragma once
// The clip player ("2d", "3d") and the window clip of the first screen.
class QImage;

namespace vitrina {

class IClipCommands {
public:
    virtual ~IClipCommands() = default;
    virtual bool ClipPlayerExists() const = 0;
    virtual void CreateClip3d() = 0;
    virtual void SwitchClipMode(bool moving) = 0;
    virtual void PauseClip() = 0;

    virtual bool WindowClipExists() const = 0;
    virtual bool WindowClipShown() const = 0;
    virtual bool WindowClipPlaying() const = 0;
    virtual bool WindowClipHaltedOrPaused() const = 0;
    virtual bool WindowClipPausedByUser() const = 0;
    virtual bool InsideWindowClip(int x, int y) const = 0;
    virtual void ToggleWindowClip() = 0;
    virtual void FreezeWindowClip() = 0;
    virtual void ResumeWindowClip() = 0;
    virtual void DrawFrozenFrame(QImage& background) = 0;
    virtual void ReleaseWindowClip() = 0;
};

}  // namespace vitrina
