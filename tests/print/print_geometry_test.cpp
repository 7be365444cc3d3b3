#include "print/print_geometry.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vitrina {
namespace {

using O = TPageOrientation;

TEST(PrintGeometry, ContentAreaIsTheSheetLessTwoCentimetresEachSide) {
    // A4 at 300 dpi: 2479 device pixels across, 2 cm = 236 pixels, 96 layout units per inch.
    struct Case {
        O orientation;
        float scale;
        double width, height;
    } cases[] = {
        {O::Portrait, 1, (2479 - 472) * 96.0 / 300, (3508 - 472) * 96.0 / 300},
        {O::Landscape, 1, (3508 - 472) * 96.0 / 300, (2479 - 472) * 96.0 / 300},
        // At half scale the engine lays out twice the area: R = 150, margin 118.
        {O::Portrait, 0.5f, (2479 - 236) * 96.0 / 150, (3508 - 236) * 96.0 / 150},
        {O::Landscape, 2, (3508 - 944) * 96.0 / 600, (2479 - 944) * 96.0 / 600},
    };
    for (const auto& c : cases) {
        const TSizeF area = ContentArea(DefaultGeometry(c.orientation), c.scale);
        EXPECT_NEAR(area.width, c.width, 1e-9) << c.scale;
        EXPECT_NEAR(area.height, c.height, 1e-9) << c.scale;
    }
}

TEST(PrintGeometry, ContentLandsInsideTheMarginsOfTheSheet) {
    const TPrinterGeometry g = DefaultGeometry(O::Landscape);
    EXPECT_EQ(ContentOnSheet(g, 1), (TRectI{236, 236, 3508 - 472, 2479 - 472}));
    // The engine's layout unit at the scale, times the content area, covers the same pixels.
    for (float scale : {0.5f, 1.0f, 1.7f}) {
        const TRectI r = ContentOnSheet(g, scale);
        EXPECT_NEAR(ContentArea(g, scale).width * LayoutToDeviceX(g, scale), r.width, 1) << scale;
        EXPECT_NEAR(ContentArea(g, scale).height * LayoutToDeviceY(g, scale), r.height, 1) << scale;
    }
}

TEST(PrintGeometry, APrintableAreaBeyondTheSheetCountsToItsEnd) {
    TPrinterGeometry g = DefaultGeometry(O::Portrait);
    g.PhysWidth = 2000;  // page 2333 + offset 75 reach beyond it
    EXPECT_NEAR(ContentArea(g, 1).width, (2333 + 75 - 472) * 96.0 / 300, 1e-9);
}

TEST(PrintGeometry, ZeroScaleGivesNoArea) {
    const TSizeF area = ContentArea(DefaultGeometry(O::Portrait), 0);
    EXPECT_EQ(area.width, 0);
    EXPECT_EQ(area.height, 0);
}

// A printer that takes any orientation asked for.
TPrinterGeometry Obliging(O o) { return DefaultGeometry(o); }

TEST(PrintGeometry, FitImageScaleChoosesOrientationAndScale) {
    const TSizeF portrait = ContentArea(DefaultGeometry(O::Portrait), 1);    // ~642 x 971
    const TSizeF landscape = ContentArea(DefaultGeometry(O::Landscape), 1);  // ~971 x 642
    struct Case {
        const char* name;
        int w, h;
        O current;
        O orientation;
        double scale;
    } cases[] = {
        {"nothing to fit", 0, 500, O::Landscape, O::Landscape, 1},
        {"small picture stays", 300, 200, O::Portrait, O::Portrait, 1},
        {"wide picture that fits in portrait stays portrait", 600, 400, O::Portrait, O::Portrait, 1},
        {"wide picture wider than portrait turns", 900, 400, O::Portrait, O::Landscape, 1},
        {"landscape is kept for a wide picture", 300, 200, O::Landscape, O::Landscape, 1},
        {"very wide picture shrinks in landscape", 1942, 400, O::Portrait, O::Landscape, landscape.width / 1942},
        {"tall picture too tall for landscape turns portrait", 400, 800, O::Landscape, O::Portrait, 1},
        {"tall picture that fits landscape keeps it", 400, 600, O::Landscape, O::Landscape, 1},
        {"very tall picture shrinks", 500, 1942, O::Portrait, O::Portrait, portrait.height / 1942},
        {"square picture wider than portrait", 800, 800, O::Portrait, O::Portrait, portrait.width / 800},
    };
    for (const auto& c : cases) {
        const TImageFit fit = FitImageScale(c.w, c.h, c.current, Obliging);
        EXPECT_EQ(fit.orientation, c.orientation) << c.name;
        EXPECT_NEAR(fit.scale, c.scale, 1e-6) << c.name;
    }
}

TEST(PrintGeometry, FitImageScaleUsesTheSheetThePrinterAccepted) {
    // A printer that only prints portrait: the scale comes from the portrait sheet.
    auto portraitOnly = [](O) { return DefaultGeometry(O::Portrait); };
    const TImageFit fit = FitImageScale(1942, 400, O::Portrait, portraitOnly);
    EXPECT_NEAR(fit.scale, ContentArea(DefaultGeometry(O::Portrait), 1).width / 1942, 1e-6);
}

TEST(PrintGeometry, ShrinkLoopStepsDownUntilOnePageOrTheFloor) {
    // A picture that needs scale 0.8 to fit: pages at a scale are 1 at or below it.
    auto pagesAt = [](float s) { return s <= 0.8f ? 1 : 2; };
    // The first step at or below it ends the loop.
    float start = 1;
    int steps = 0;
    for (float next; (next = NextShrinkScale(start, pagesAt(start))) != 0; ++steps) start = next;
    EXPECT_LE(start, 0.8f);
    EXPECT_GT(start + 0.005f, 0.8f);
    EXPECT_GE(steps, 40);
    EXPECT_LE(steps, 41);

    // Never fits: the first step at or below the floor ends it.
    start = 1;
    for (float next; (next = NextShrinkScale(start, 3)) != 0;) start = next;
    EXPECT_LE(start, 0.05f);
    EXPECT_GT(start + 0.005f, 0.05f);

    EXPECT_EQ(NextShrinkScale(1, 1), 0);
    EXPECT_EQ(NextShrinkScale(1, 0), 0);
}

}  // namespace
}  // namespace vitrina
