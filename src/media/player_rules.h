#pragma once
// The rules of the music and clip player that need no device: what happens when a sound or a
// clip ends, where the step buttons seek to, which song follows.
#include <cstdint>

namespace vitrina {

// What the player does at the natural end of what it plays.
enum TEndAction : int {
    kEndNothing = 0,
    kEndCloseByPlay = 3,   // a dropped or linked sound: a play without a file closes the device
    kEndClose = 4,         // a clip
    kEndMusicBack = 5,     // a sound that interrupted the background music: the music comes back
};

// The end action a new play gets. requested 3 (a dropped or linked sound) keeps a 4 or 5 of what
// still plays, so a second sound does not lose the music's return.
int NextEndAction(int requested, bool playing, int current);

constexpr std::int64_t kStepMs = 10000;
std::int64_t StepForwardTarget(std::int64_t position, std::int64_t length);
std::int64_t StepBackTarget(std::int64_t position);

// The song after index in a ring of count songs; a stored index outside the list starts at 0.
int NextSong(int index, int count);
int ValidSong(int index, int count);

}  // namespace vitrina
