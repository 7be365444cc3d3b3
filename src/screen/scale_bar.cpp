#include "screen/scale_bar.h"

#include <QPainter>

#include "resources/read_bin.h"

namespace vitrina {

namespace {
QImage LoadPicture(const TReadBin& container, const std::string& name) {
    std::string bytes;
    if (!container.ReadStream(name, bytes)) return {};
    return QImage::fromData(reinterpret_cast<const uchar*>(bytes.data()), int(bytes.size()));
}
}  // namespace

void TScaleBar::Load(int currentScreen, QImage* dialogBackground) {
    if (currentScreen == screen_) {
        filled_ = LoadPicture(container_, filledName_);
        empty_ = LoadPicture(container_, emptyName_);
        right_ = left_ + empty_.width();
        bottom_ = top_ + empty_.height();
        if (dialogBackground) {
            QPainter p(dialogBackground);
            p.drawImage(QPoint(left_, top_), filled_, QRect(0, 0, position_ - left_, filled_.height()));
            p.drawImage(QPoint(position_, top_), empty_, QRect(position_ - left_, 0, right_ - position_, empty_.height()));
        }
        Reset(currentScreen, dialogBackground);
    } else if (currentScreen == lastScreen_) {
        filled_ = empty_ = QImage();
    }
    lastScreen_ = currentScreen;
}

void TScaleBar::Reset(int currentScreen, QImage* dialogBackground) {
    position_ = left_;
    if (currentScreen == screen_ && dialogBackground && !empty_.isNull()) {
        QPainter p(dialogBackground);
        p.drawImage(QPoint(left_, top_), empty_);
    }
}

void TScaleBar::Step(int currentScreen, QImage* dialogBackground) {
    // Past the right edge there is nothing of the filled picture left to copy.
    if (currentScreen == screen_ && dialogBackground && position_ < right_ && !filled_.isNull()) {
        QPainter p(dialogBackground);
        p.drawImage(QPoint(position_, top_), filled_, QRect(position_ - left_, 0, 1, filled_.height()));
    }
    ++position_;
}

}  // namespace vitrina
