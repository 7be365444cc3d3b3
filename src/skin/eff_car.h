#pragma once
// The transition effects of the skinned windows: the window fade-in (TEffCar) and the button
// cross-fade (TEffBtnCar), stepped by a TSuperTimer. Frames are kept in the effect and shown by
// repainting only the effect's rectangle at once; the owner's paint handler draws them.
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QWidget>

#include <functional>
#include <memory>

#include "imaging/fade_levels.h"
#include "platform/super_timer.h"

namespace vitrina {

class TEffCar {
public:
    explicit TEffCar(QWidget* owner);
    ~TEffCar();

    // Blends the owner in over what the screen showed beneath it.
    void FadeIn();
    bool Running() const { return running_; }
    void PaintFadeFrame(class QPainter& painter) const;

    // Called when the fade starts and ends (the dialog hides its find fields meanwhile).
    std::function<void(bool running)> OnRunningChanged;

private:
    void Tick(TSuperTimer* timer);
    void Release();

    QWidget* owner_;
    std::unique_ptr<TSuperTimer> timer_;
    bool running_ = false;
    QImage background_, foreground_, frame_;
};

class TEffBtnCar {
public:
    // canDraw: false while the owner must not show frames (its own fade-in runs, or it is a
    // hidden dialog).
    TEffBtnCar(QWidget* owner, int index, std::function<bool()> canDraw = {});
    ~TEffBtnCar();

    // Starts, or redirects from the level reached so far, a fade from source to target at point.
    void CrossFade(const QImage& source, const QImage& target, QPoint point);
    void StopCrossFade();

    int FadeStep() const { return levels_.FadeStep; }
    void SetFadeStep(int step) { levels_.FadeStep = step; }
    bool Running() const { return levels_.Running; }
    int Index() const { return index_; }

    // What the effect last put on the owner: a frame while running, the last frame after it
    // ended, nothing after StopCrossFade or Forget.
    const QImage& Shown() const { return shown_; }
    QRect ShownRect() const { return QRect(point_, shown_.deviceIndependentSize().toSize()); }
    void Forget() { shown_ = QImage(); }

    // Runs one step as the timer would (for benchmarks of a frame's cost).
    void StepForBenchmark(int tick) { Draw(levels_.LevelAt(tick)); }

private:
    void Tick(TSuperTimer* timer);
    void Draw(int level);

    QWidget* owner_;
    int index_;
    std::function<bool()> canDraw_;
    std::unique_ptr<TSuperTimer> timer_;
    TCrossFadeLevels levels_;
    QImage source_, target_, shown_;
    QPoint point_;
};

// 24-bit copy of a picture, the form the blend works on.
QImage ToWorkImage(const QImage& image);
// out = blend of source towards target at level, on the rectangle they share.
void BlendImages(QImage& out, const QImage& target, const QImage& source, int level);

}  // namespace vitrina
