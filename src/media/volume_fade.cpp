#include "media/volume_fade.h"

#include <algorithm>
#include <cmath>

namespace vitrina {

int TVolumeFade::Step(int level) {
    if (level < 101) return 3;
    if (level < 4001) return 7;
    if (level < 8001) return 15;
    if (level < 32001) return 25;
    return 50;
}

void TVolumeFade::Start(TStereoVolume saved, bool up, int from) {
    left_ = std::max<std::uint16_t>(saved.left, 1);
    right_ = std::max<std::uint16_t>(saved.right, 1);
    if (right_ > left_) {
        ratio_ = float(right_) / float(left_);
        target_ = right_;
    } else {
        ratio_ = float(left_) / float(right_);
        target_ = left_;
    }
    up_ = up;
    level_ = from >= 0 ? from : up ? 0 : left_;
    done_ = false;
}

TStereoVolume TVolumeFade::Tick() {
    if (done_) return up_ ? Saved() : TStereoVolume{0, 0};
    // Halves round to even, as the default rounding mode does.
    const int divisor = std::max(1, int(std::nearbyint(ratio_)));
    const int level = std::clamp(level_, 0, 0xffff);
    TStereoVolume v;
    if (right_ < left_) {
        v.left = std::uint16_t(level);
        v.right = std::uint16_t(level / divisor);
    } else {
        v.left = std::uint16_t(level / divisor);
        v.right = std::uint16_t(level);
    }
    const int step = Step(level_);
    if (up_) {
        level_ += step;
        if (level_ >= target_) {
            done_ = true;
            return Saved();
        }
    } else {
        level_ -= step;
        if (level_ <= 0) {
            done_ = true;
            return {0, 0};
        }
    }
    return v;
}

}  // namespace vitrina
