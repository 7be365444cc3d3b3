#include "print/preview_state.h"

#include <gtest/gtest.h>

namespace vitrina {
namespace {

const TPrinterGeometry kA4 = DefaultGeometry(TPageOrientation::Portrait);

TEST(PreviewZoom, EntriesAndTheirZoom) {
    const QStringList entries = ZoomEntries();
    ASSERT_EQ(entries.size(), 12);
    EXPECT_EQ(entries[0], QString::fromUtf8("Страница целиком"));
    EXPECT_EQ(entries[1], QString::fromUtf8("По ширине страницы"));
    EXPECT_EQ(entries[2], QString::fromUtf8("Вручную"));
    EXPECT_EQ(entries[11], "400%");
    // A4 is 8.263 x 11.693 inches; a 1020 x 1000 client at 100 pixels per inch.
    const QSize client(1020, 1000);
    const double heightFit = 980 / 100.0 / (3508 / 300.0);
    const double widthFit = 1000 / 100.0 / (2479 / 300.0);
    struct Case {
        int index;
        double zoom;
    } cases[] = {{0, heightFit}, {1, widthFit}, {2, 0.7}, {3, 0.25}, {6, 1.0}, {8, 1.5}, {11, 4.0}, {-1, 1.0}, {12, 1.0}};
    for (const auto& c : cases) EXPECT_NEAR(ZoomOfEntry(c.index, 0.7, client, 100, kA4), c.zoom, 1e-12) << c.index;
    // Whole page is the smaller fit: in a wide client it is the height fit, in a tall one the width fit.
    EXPECT_NEAR(ZoomOfEntry(0, 1, QSize(3000, 500), 96, kA4), ZoomOfEntry(0, 1, QSize(500000, 500), 96, kA4), 1e-12);
    EXPECT_NEAR(ZoomOfEntry(0, 1, QSize(500, 3000), 96, kA4), ZoomOfEntry(1, 1, QSize(500, 3000), 96, kA4), 1e-12);
}

TEST(PreviewZoom, ToolStepsStopAtTheirBounds) {
    EXPECT_FLOAT_EQ(StepPrintScale(1, true), 1.1f);
    EXPECT_FLOAT_EQ(StepPrintScale(1, false), 1 / 1.1f);
    // Below the bound: one more step, which may pass it.
    EXPECT_FLOAT_EQ(StepPrintScale(2.9f, true), 2.9f * 1.1f);
    EXPECT_EQ(StepPrintScale(3.19f, true), 3.19f);
    EXPECT_FLOAT_EQ(StepPrintScale(0.051f, false), 0.051f / 1.1f);
    EXPECT_EQ(StepPrintScale(0.046f, false), 0.046f);

    EXPECT_DOUBLE_EQ(StepViewZoom(1, true), 1.25);
    EXPECT_DOUBLE_EQ(StepViewZoom(1, false), 0.8);
    EXPECT_DOUBLE_EQ(StepViewZoom(19, true), 23.75);
    EXPECT_EQ(StepViewZoom(23.75, true), 23.75);
    EXPECT_DOUBLE_EQ(StepViewZoom(0.11, false), 0.088);
    EXPECT_EQ(StepViewZoom(0.088, false), 0.088);

    // Repeated presses end within one step of the bound.
    float s = 1;
    for (int i = 0; i < 100; ++i) s = StepPrintScale(s, true);
    EXPECT_GE(s, 3);
    EXPECT_LT(s, 3 * 1.1f);
    double z = 1;
    for (int i = 0; i < 100; ++i) z = StepViewZoom(z, false);
    EXPECT_LE(z, 0.1);
    EXPECT_GT(z, 0.1 / 1.25);
}

TEST(PreviewPages, ButtonsFollowThePageInOneAndTwoPageMode) {
    struct Case {
        int count, page;
        bool two;
        int left, right;
        TPageButtons buttons;  // first, previous, next, last, goTo, twoPageEnabled
    } cases[] = {
        {0, 0, false, -1, -1, {false, false, false, false, false, true}},
        {1, 0, true, 0, -1, {false, false, false, false, false, false}},
        {3, 0, false, 0, -1, {false, false, true, true, true, true}},
        {3, 1, false, 1, -1, {true, true, true, true, true, true}},
        {3, 2, false, 2, -1, {true, true, false, false, true, true}},
        {3, 0, true, 0, 1, {false, false, true, true, true, true}},
        {3, 1, true, 1, 2, {true, true, true, true, true, true}},
        // The last page in two-page mode: the right box is empty.
        {3, 2, true, 2, -1, {true, true, false, false, true, true}},
        {3, 7, false, 2, -1, {true, true, false, false, true, true}},
        {3, -4, false, 0, -1, {false, false, true, true, true, true}},
    };
    for (const auto& c : cases) {
        TPreviewPages p;
        p.SetCount(c.count);
        p.SetTwoPages(c.two);
        p.Show(c.page);
        const auto b = p.Buttons();
        const std::string name = std::to_string(c.count) + "/" + std::to_string(c.page) + (c.two ? " two" : " one");
        EXPECT_EQ(p.LeftPage(), c.left) << name;
        EXPECT_EQ(p.RightPage(), c.right) << name;
        EXPECT_EQ(b.first, c.buttons.first) << name;
        EXPECT_EQ(b.previous, c.buttons.previous) << name;
        EXPECT_EQ(b.next, c.buttons.next) << name;
        EXPECT_EQ(b.last, c.buttons.last) << name;
        EXPECT_EQ(b.goTo, c.buttons.goTo) << name;
        EXPECT_EQ(b.twoPageEnabled, c.buttons.twoPageEnabled) << name;
    }
}

TEST(PreviewPages, MovesByOnePageAndGoToIsLimited) {
    TPreviewPages p;
    p.SetCount(4);
    p.SetTwoPages(true);
    p.Next();
    EXPECT_EQ(p.Current(), 1);
    p.Last();
    EXPECT_EQ(p.Current(), 3);
    p.Next();
    EXPECT_EQ(p.Current(), 3);
    p.Previous();
    EXPECT_EQ(p.Current(), 2);
    p.First();
    p.Previous();
    EXPECT_EQ(p.Current(), 0);
    struct {
        int number, page;
    } goTo[] = {{1, 0}, {3, 2}, {4, 3}, {5, 3}, {99, 3}, {0, 0}, {-3, 0}};
    for (const auto& g : goTo) {
        p.GoTo(g.number);
        EXPECT_EQ(p.Current(), g.page) << g.number;
    }
    // Fewer pages after a new formatting: the page stays inside, a single page leaves two-page mode.
    p.Last();
    p.SetCount(2);
    EXPECT_EQ(p.Current(), 1);
    EXPECT_TRUE(p.TwoPages());
    p.SetCount(1);
    EXPECT_EQ(p.Current(), 0);
    EXPECT_FALSE(p.TwoPages());
    p.SetTwoPages(true);
    EXPECT_FALSE(p.TwoPages());
}

TEST(PreviewLayout, PagesCentredWhenTheyFitElseAtTen) {
    // At 96 dpi and zoom 0.5, A4 is round(96 * 0.5 * 3508 / 300) = 561 high, 397 wide.
    struct Case {
        QSize client;
        double zoom;
        bool two;
        QSize grey;
        QRect left, right;
    } cases[] = {
        {QSize(1000, 800), 0.5, false, QSize(999, 799), QRect(499 - 198, 119, 397, 561), QRect()},
        {QSize(1000, 800), 0.5, true, QSize(999, 799), QRect(499 - 814 / 2, 119, 397, 561), QRect(509, 119, 397, 561)},
        // Larger than the client: from (10, 10), the grey panel as large as the pages.
        {QSize(300, 300), 0.5, false, QSize(417, 581), QRect(10, 10, 397, 561), QRect()},
        {QSize(600, 300), 0.5, true, QSize(834, 581), QRect(10, 10, 397, 561), QRect(427, 10, 397, 561)},
    };
    for (const auto& c : cases) {
        const TPreviewLayout l = LayOutPages(c.client, 96, c.zoom, kA4, c.two);
        EXPECT_EQ(l.grey, c.grey) << c.client.width() << (c.two ? " two" : " one");
        EXPECT_EQ(l.left, c.left) << c.client.width() << (c.two ? " two" : " one");
        EXPECT_EQ(l.right, c.right) << c.client.width() << (c.two ? " two" : " one");
    }
}

}  // namespace
}  // namespace vitrina
