#include "commands/window_animation.h"

#include <gtest/gtest.h>

namespace vitrina {
namespace {

TEST(WindowAnimation, OpeningGrowsAnEllipseFromTheCentre) {
    TOpeningAnimation a(100, 60);
    TShapeStep first = a.Next();
    EXPECT_EQ(first.kind, TShapeStep::Ellipse);
    EXPECT_EQ(first.left, 50);
    EXPECT_EQ(first.top, 30);
    EXPECT_EQ(first.right, 50);
    EXPECT_EQ(first.bottom, 30);
    TShapeStep second = a.Next();
    EXPECT_EQ(second.left, 46);
    EXPECT_EQ(second.top, 28);
    EXPECT_EQ(second.right, 54);
    EXPECT_EQ(second.bottom, 32);
    int steps = 2;
    TShapeStep last = second;
    for (TShapeStep s = a.Next(); s.kind != TShapeStep::Stop; s = a.Next(), ++steps) last = s;
    // x runs 50, 46, ..., -50: 26 ellipses, the last one covering the whole window and more.
    EXPECT_EQ(steps, 26);
    EXPECT_EQ(last.left, -50);
    EXPECT_EQ(last.right, 150);
}

TEST(WindowAnimation, ClosingShrinksInThreePhases) {
    TClosingAnimation a(100, 60);
    TShapeStep s = a.Next();
    EXPECT_EQ(s.kind, TShapeStep::RoundRect);
    EXPECT_EQ(s.left, 0);
    EXPECT_EQ(s.top, 0);
    EXPECT_EQ(s.right, 100);
    EXPECT_EQ(s.bottom, 60);
    int roundRects = 0, ellipses = 0;
    TShapeStep lastRound, lastEllipse;
    for (; s.kind != TShapeStep::Stop; s = a.Next()) {
        if (s.kind == TShapeStep::Ellipse) {
            ++ellipses;
            lastEllipse = s;
        } else {
            ++roundRects;
            lastRound = s;
        }
    }
    // y = 0, 2, ..., 20 (up to 60 / 2 - 10), then x = 0, 3, ..., 39 (up to 100 / 2 - 10), then
    // ellipses while x <= 50 with x and y growing by one.
    EXPECT_EQ(roundRects, 11 + 14);
    EXPECT_EQ(lastRound.left, 39);
    EXPECT_EQ(lastRound.top, 22);
    EXPECT_EQ(ellipses, 9);
    EXPECT_EQ(lastEllipse.left, 50);
    EXPECT_EQ(lastEllipse.top, 30);
    EXPECT_EQ(a.Next().kind, TShapeStep::Stop);
}

}  // namespace
}  // namespace vitrina
