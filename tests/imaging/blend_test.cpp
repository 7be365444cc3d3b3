#include "imaging/blend.h"
#include "imaging/fade_levels.h"

#include <gtest/gtest.h>

namespace vitrina {
namespace {

TBitmap24 Filled(int w, int h, std::uint8_t v) {
    TBitmap24 b(w, h);
    std::fill(b.bits.begin(), b.bits.end(), v);
    return b;
}

TEST(Blend, EndsAndMiddleFollowTheFormula) {
    struct {
        std::uint8_t source, target;
        int level;
        std::uint8_t out;
    } cases[] = {
        {10, 200, 0, 10},    {10, 200, 255, 199}, {0, 255, 255, 254},  {255, 0, 255, 0},
        {200, 10, 128, 105}, {100, 100, 77, 100}, {255, 0, 1, 254},    {0, 255, 128, 127},
    };
    for (const auto& c : cases) {
        TBitmap24 out(2, 2);
        BlendImages(out, Filled(2, 2, c.target), Filled(2, 2, c.source), c.level);
        for (auto v : out.bits) EXPECT_EQ(v, c.out) << int(c.source) << "->" << int(c.target) << " @" << c.level;
    }
}

TEST(Blend, WorksOnTheSharedRectangleOnly) {
    TBitmap24 out = Filled(4, 3, 7);
    BlendImages(out, Filled(2, 2, 100), Filled(3, 3, 0), 255);
    EXPECT_EQ(out.Row(0)[0], 99);
    EXPECT_EQ(out.Row(1)[5], 99);   // pixel (1,1), last channel
    EXPECT_EQ(out.Row(0)[6], 7);    // pixel (2,0): outside the target
    EXPECT_EQ(out.Row(2)[0], 7);
    TBitmap24 empty;
    BlendImages(empty, Filled(2, 2, 1), Filled(2, 2, 1), 10);  // nothing to do, no crash
}

TEST(FadeLevels, CrossFadeStepsAndReversal) {
    TCrossFadeLevels f;
    f.FadeStep = 4;
    f.Start(0);
    int frames = 0;
    int n = 1;
    while (f.Step(n)) {
        ++frames;
        ++n;
    }
    EXPECT_EQ(frames, 63);  // levels 4..252, then the closing frame
    EXPECT_FALSE(f.Running);

    f.Start(0);
    EXPECT_EQ(f.LevelAt(10), 40);
    f.Start(10);  // redirected halfway: the new fade starts where the old one had come to
    EXPECT_EQ(f.StartLevel, 255 - 40);
    EXPECT_EQ(f.LevelAt(1), 219);
    f.Stop();
    EXPECT_EQ(f.StartLevel, 0);

    TCrossFadeLevels menu;
    menu.FadeStep = 3;
    menu.Start(0);
    int m = 1;
    while (menu.Step(m)) ++m;
    EXPECT_EQ(m - 1, 85);  // levels 3..255
}

TEST(FadeLevels, WindowFadeShowsFiftyOneFrames) {
    int n = 1;
    while (TWindowFadeLevels::Draws(n)) ++n;
    EXPECT_EQ(n - 1, 51);
    EXPECT_FALSE(TWindowFadeLevels::ClosingFrame(52 - 1));
    EXPECT_TRUE(TWindowFadeLevels::ClosingFrame(52));
}

}  // namespace
}  // namespace vitrina
