#include <gtest/gtest.h>

#include "media/player_rules.h"

namespace vitrina {
namespace {

TEST(PlayerRules, EndActionOfANewPlay) {
    const struct {
        int requested;
        bool playing;
        int current;
        int expected;
    } cases[] = {
        {kEndClose, true, kEndMusicBack, kEndClose},            // a clip always closes at its end
        {kEndNothing, false, kEndClose, kEndNothing},           // "play"
        {kEndCloseByPlay, true, kEndMusicBack, kEndMusicBack},  // a second sound keeps the music's return
        {kEndCloseByPlay, true, kEndClose, kEndClose},
        {kEndCloseByPlay, true, kEndNothing, kEndCloseByPlay},
        {kEndCloseByPlay, false, kEndMusicBack, kEndClose},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NextEndAction(c.requested, c.playing, c.current), c.expected)
            << c.requested << " " << c.playing << " " << c.current;
}

TEST(PlayerRules, StepsStayInsideTheMedia) {
    EXPECT_EQ(StepBackTarget(7000), 0);
    EXPECT_EQ(StepBackTarget(10000), 0);
    EXPECT_EQ(StepBackTarget(10001), 1);
    EXPECT_EQ(StepForwardTarget(15000, 20000), 20000);
    EXPECT_EQ(StepForwardTarget(2000, 20000), 12000);
}

TEST(PlayerRules, SongRing) {
    EXPECT_EQ(NextSong(0, 1), 0);
    EXPECT_EQ(NextSong(0, 2), 1);
    EXPECT_EQ(NextSong(1, 2), 0);
    EXPECT_EQ(ValidSong(5, 2), 0);
    EXPECT_EQ(ValidSong(-1, 2), 0);
    EXPECT_EQ(ValidSong(1, 2), 1);
}

}  // namespace
}  // namespace vitrina
