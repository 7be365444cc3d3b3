#pragma once
// The fade of the background music: the output's left and right volume (16 bits each) move step
// by step from silence to the saved volume or from the saved volume to silence, keeping the
// balance between the channels. The steps grow with the level, so the ear hears an even fade.
#include <cstdint>

namespace vitrina {

struct TStereoVolume {
    std::uint16_t left = 0xffff;
    std::uint16_t right = 0xffff;
    bool operator==(const TStereoVolume&) const = default;
};

class TVolumeFade {
public:
    // Saves the volume (a 0 counts as 1) and starts from silence (up) or from the saved left
    // level (down); from, when not negative, is the level of a fade this one interrupts.
    void Start(TStereoVolume saved, bool up, int from = -1);

    // One tick: the volume to set now; Done() tells whether this was the last step.
    TStereoVolume Tick();
    bool Done() const { return done_; }
    bool Up() const { return up_; }
    // The volume at the start, which a finished fade-in leaves set.
    TStereoVolume Saved() const { return {left_, right_}; }
    int Level() const { return level_; }
    int Target() const { return target_; }

    static int Step(int level);

private:
    std::uint16_t left_ = 1, right_ = 1;
    float ratio_ = 1;
    int target_ = 0;
    int level_ = 0;
    bool up_ = true;
    bool done_ = true;
};

}  // namespace vitrina
