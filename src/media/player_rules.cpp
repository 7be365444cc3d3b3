#include "media/player_rules.h"

#include <algorithm>

namespace vitrina {

int NextEndAction(int requested, bool playing, int current) {
    if (requested != kEndCloseByPlay) return requested;
    if (!playing) return kEndClose;
    return current == kEndClose || current == kEndMusicBack ? current : kEndCloseByPlay;
}

std::int64_t StepForwardTarget(std::int64_t position, std::int64_t length) {
    return std::min(position + kStepMs, length);
}

std::int64_t StepBackTarget(std::int64_t position) { return position <= kStepMs ? 0 : position - kStepMs; }

int NextSong(int index, int count) { return index + 1 < count ? index + 1 : 0; }

int ValidSong(int index, int count) { return index >= 0 && index < count ? index : 0; }

}  // namespace vitrina
