#include <gtest/gtest.h>

#include <vector>

#include "media/volume_fade.h"

namespace vitrina {
namespace {

std::vector<TStereoVolume> RunToTheEnd(TVolumeFade& fade) {
    std::vector<TStereoVolume> steps;
    while (!fade.Done() && steps.size() < 100000) steps.push_back(fade.Tick());
    return steps;
}

TEST(VolumeFade, StepsGrowWithTheLevel) {
    const struct {
        int level, step;
    } cases[] = {{0, 3}, {100, 3}, {101, 7}, {4000, 7}, {4001, 15}, {8000, 15}, {8001, 25}, {32000, 25}, {32001, 50}, {65535, 50}};
    for (const auto& c : cases) EXPECT_EQ(TVolumeFade::Step(c.level), c.step) << c.level;
}

TEST(VolumeFade, FadeInRisesToTheSavedVolumeKeepingTheBalance) {
    TVolumeFade fade;
    fade.Start({0x8000, 0x4000}, true);
    EXPECT_EQ(fade.Target(), 0x8000);
    const auto steps = RunToTheEnd(fade);
    ASSERT_TRUE(fade.Done());
    EXPECT_EQ(steps.front(), (TStereoVolume{0, 0}));
    EXPECT_EQ(steps.back(), (TStereoVolume{0x8000, 0x4000}));
    for (std::size_t i = 1; i + 1 < steps.size(); ++i) {
        EXPECT_GE(steps[i].left, steps[i - 1].left);
        EXPECT_EQ(steps[i].right, steps[i].left / 2);
        EXPECT_LT(steps[i].left, 0x8000);
    }
}

TEST(VolumeFade, FadeOutEndsInSilence) {
    TVolumeFade fade;
    fade.Start({0x1000, 0xffff}, false);
    EXPECT_EQ(fade.Level(), 0x1000);  // from the left level, whichever channel is louder
    const auto steps = RunToTheEnd(fade);
    ASSERT_TRUE(fade.Done());
    EXPECT_EQ(steps.back(), (TStereoVolume{0, 0}));
    EXPECT_EQ(steps.front().right, 0x1000);
    EXPECT_EQ(steps.front().left, 0x1000 / 16);
}

TEST(VolumeFade, RatiosRoundHalvesToEvenAndSilenceCountsAsOne) {
    const struct {
        TStereoVolume saved;
        TStereoVolume first;  // of a fade-out, which starts at the left level
    } cases[] = {
        {{5000, 2000}, {5000, 2500}},  // ratio 2.5 rounds to 2
        {{7000, 2000}, {7000, 1750}},  // 3.5 rounds to 4
        {{2000, 5000}, {1000, 2000}},
    };
    for (const auto& c : cases) {
        TVolumeFade fade;
        fade.Start(c.saved, false);
        EXPECT_EQ(fade.Tick(), c.first);
    }
    TVolumeFade fade;
    fade.Start({0, 0}, false);
    EXPECT_EQ(fade.Saved(), (TStereoVolume{1, 1}));
    EXPECT_EQ(fade.Level(), 1);
}

}  // namespace
}  // namespace vitrina
