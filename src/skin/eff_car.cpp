#include "skin/eff_car.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include <algorithm>

#include "imaging/blend.h"
#include "platform/device_pixels.h"

namespace vitrina {

QImage ToWorkImage(const QImage& image) {
    return image.format() == QImage::Format_RGB888 ? image : image.convertToFormat(QImage::Format_RGB888);
}

void BlendImages(QImage& out, const QImage& target, const QImage& source, int level) {
    int table[511];
    BlendTable(level, table);
    const int w = std::min({out.width(), target.width(), source.width()});
    const int h = std::min({out.height(), target.height(), source.height()});
    for (int y = 0; y < h; ++y)
        BlendRows(out.scanLine(y), target.constScanLine(y), source.constScanLine(y), std::size_t(w) * 3, table);
}

namespace {
std::unique_ptr<TSuperTimer> MakeEffectTimer() {
    auto timer = std::make_unique<TSuperTimer>();
    timer->SetInterval(1);
    timer->SetPriority(TSuperTimer::tpHighest);
    timer->SetAccurate(false);
    return timer;
}
}  // namespace

TEffCar::TEffCar(QWidget* owner) : owner_(owner), timer_(MakeEffectTimer()) {
    timer_->OnTimer = [this](TSuperTimer* t) { Tick(t); };
}

TEffCar::~TEffCar() = default;

void TEffCar::FadeIn() {
    const QRect r = owner_->frameGeometry();
    QScreen* screen = owner_->screen() ? owner_->screen() : QGuiApplication::primaryScreen();
    // Both images at the screen's pixels (a scaled window's grab is larger than the window), so
    // the blend meets them pixel for pixel.
    foreground_ = ToWorkImage(owner_->grab().toImage());
    background_ = screen ? ToWorkImage(screen->grabWindow(0, r.x(), r.y(), r.width(), r.height()).toImage()) : QImage();
    if (background_.isNull()) {
        background_ = DeviceImage(owner_->size(), foreground_.devicePixelRatio(), QImage::Format_RGB888);
        background_.fill(Qt::black);
    } else if (background_.size() != foreground_.size()) {
        // A frame drawn around the window, or a side rounded the other way at a fractional ratio.
        background_ = background_.copy(QRect(QPoint(0, 0), foreground_.size()));
    }
    frame_ = background_.copy();
    running_ = true;
    if (OnRunningChanged) OnRunningChanged(true);
    timer_->SetEnabled(true);
}

void TEffCar::PaintFadeFrame(QPainter& painter) const {
    if (!frame_.isNull()) painter.drawImage(0, 0, frame_);
}

void TEffCar::Tick(TSuperTimer* timer) {
    const int n = static_cast<int>(timer->TickCount());
    if (TWindowFadeLevels::Draws(n)) {
        BlendImages(frame_, foreground_, background_, TWindowFadeLevels::LevelAt(n));
        owner_->repaint();
        return;
    }
    timer_->SetEnabled(false);
    if (TWindowFadeLevels::ClosingFrame(n)) {
        BlendImages(frame_, foreground_, background_, 255);
        owner_->repaint();
    }
    running_ = false;
    Release();
    if (OnRunningChanged) OnRunningChanged(false);
    owner_->update();
}

void TEffCar::Release() {
    background_ = foreground_ = frame_ = QImage();
}

TEffBtnCar::TEffBtnCar(QWidget* owner, int index, std::function<bool()> canDraw)
    : owner_(owner), index_(index), canDraw_(std::move(canDraw)), timer_(MakeEffectTimer()) {
    timer_->OnTimer = [this](TSuperTimer* t) { Tick(t); };
}

TEffBtnCar::~TEffBtnCar() = default;

void TEffBtnCar::CrossFade(const QImage& source, const QImage& target, QPoint point) {
    if (levels_.Running) timer_->SetEnabled(false);
    levels_.Start(static_cast<int>(timer_->TickCount()));
    source_ = ToWorkImage(source);
    target_ = ToWorkImage(target);
    if (source_.isNull()) source_ = target_;
    if (target_.isNull()) target_ = source_;
    // The frame keeps the source's size; a picture that failed to load leaves nothing to show.
    // A new frame starts as the source, so a repaint before the first step shows no stray pixels.
    if (shown_.size() != source_.size() || shown_.format() != QImage::Format_RGB888) shown_ = source_.copy();
    point_ = point;
    timer_->SetEnabled(true);
}

void TEffBtnCar::StopCrossFade() {
    timer_->SetEnabled(false);
    levels_.Stop();
    source_ = target_ = shown_ = QImage();
}

void TEffBtnCar::Draw(int level) {
    if (shown_.isNull()) return;
    BlendImages(shown_, target_, source_, level);
    if (!canDraw_ || canDraw_()) owner_->repaint(ShownRect());
}

void TEffBtnCar::Tick(TSuperTimer* timer) {
    const int n = static_cast<int>(timer->TickCount());
    if (levels_.Step(n)) {
        Draw(levels_.LevelAt(n));
        return;
    }
    timer_->SetEnabled(false);
    Draw(255);
    source_ = target_ = QImage();
}

}  // namespace vitrina
