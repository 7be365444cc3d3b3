#include "panes/standard_window_geometry.h"

#include <gtest/gtest.h>

namespace vitrina {
namespace {

TEST(StandardWindowGeometry, SizeFollowsTheFile) {
    struct Case {
        const char* file;
        int width, height;
    } cases[] = {
        {"d:\\pics\\SCHEME.BMP", 780, 550},
        {"z:\\tmp\\scheme_lux.bmp", 780, 550},
        {"d:\\pics\\motor.bmp", 445, 390},
        {"d:\\pics\\motor.JPEG", 445, 390},
        {"d:\\pics\\anim.gif", 445, 390},
        {"d:\\html\\page.htm", 640, 480},
        {"", 640, 480},
    };
    for (const auto& c : cases) {
        const auto size = StandardWindowSize(c.file, {400, 300}, {640, 480});
        EXPECT_EQ(size.width, c.width) << c.file;
        EXPECT_EQ(size.height, c.height) << c.file;
    }
}

TEST(StandardWindowGeometry, PlacedAt40By30UnlessItWouldLeaveTheWorkArea) {
    EXPECT_EQ(StandardWindowPlace({780, 550}, {0, 0, 1024, 768}), (TRectI{40, 30, 780, 550}));
    EXPECT_EQ(StandardWindowPlace({1000, 550}, {0, 0, 1024, 768}), (TRectI{0, 30, 1000, 550}));
    EXPECT_EQ(StandardWindowPlace({780, 750}, {0, 0, 1024, 768}), (TRectI{40, 0, 780, 750}));
}

}  // namespace
}  // namespace vitrina
