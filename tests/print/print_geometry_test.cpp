#include "print/print_geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <optional>
#include <utility>

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

// Shrinks a picture with the search against pagesAt, formatting as the preview does; the scale
// found, and the number of layouts after the first.
std::pair<float, int> Shrink(float start, const std::function<int(float)>& pagesAt) {
    TShrinkSearch search(start, pagesAt(start));
    int pages = 0, layouts = 0;
    float last = start;
    for (std::optional<float> next; (next = search.Next()); ++layouts) search.Result(pages = pagesAt(last = *next));
    EXPECT_EQ(last, search.Scale()) << "the last layout is the answer's";
    return {search.Scale(), layouts};
}

// The preview's old loop: one step of 0.005 at a time while the picture takes two sheets or more
// and the scale is above 0.05.
float ShrinkStepByStep(float scale, const std::function<int(float)>& pagesAt) {
    while (pagesAt(scale) >= 2 && scale > 0.05f) scale -= 0.005f;
    return scale;
}

TEST(PrintGeometry, ShrinkSearchFindsWhatSteppingDownFound) {
    // A picture that fits at or below a scale; pages grow with the scale above it.
    const struct {
        float start, fitsAt;
    } cases[] = {
        {1, 0.8f},     {1, 0.7975f}, {1, 0.995f}, {1, 0.99f},   {1, 0.5f},    {1, 0.0501f}, {1, 0.05f},
        {1, 0.04f},    {1, 0},       {1, 2},      {0.73f, 0.3f}, {0.731f, 0.7f}, {0.3f, 0.1f}, {0.06f, 0.055f},
        {0.051f, 0.01f}, {0.05f, 0.01f}, {0.02f, 0.01f},
    };
    for (const auto& c : cases) {
        auto pagesAt = [&](float s) { return s <= c.fitsAt ? 1 : 2 + int((s - c.fitsAt) * 100); };
        const auto [scale, layouts] = Shrink(c.start, pagesAt);
        EXPECT_EQ(scale, ShrinkStepByStep(c.start, pagesAt)) << c.start << " " << c.fitsAt;
        EXPECT_LE(layouts, 9) << c.start << " " << c.fitsAt;
    }
    // Every threshold on the grid from 1 and between its steps.
    for (float fitsAt = 1.001f; fitsAt > 0.04f; fitsAt -= 0.0013f) {
        auto pagesAt = [&](float s) { return s <= fitsAt ? 1 : 2; };
        EXPECT_EQ(Shrink(1, pagesAt).first, ShrinkStepByStep(1, pagesAt)) << fitsAt;
    }
}

TEST(PrintGeometry, ShrinkSearchLeavesAPictureThatFitsAlone) {
    for (int pages : {0, 1}) {
        const TShrinkSearch search(0.9f, pages);
        EXPECT_FALSE(search.Next());
        EXPECT_EQ(search.Scale(), 0.9f);
    }
}

}  // namespace
}  // namespace vitrina
