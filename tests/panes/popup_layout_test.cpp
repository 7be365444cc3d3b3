#include "panes/popup_layout.h"

#include <gtest/gtest.h>

namespace vitrina {
namespace {

std::vector<TPopupItemBox> Items(std::initializer_list<bool> visible, int height = 20) {
    std::vector<TPopupItemBox> items;
    for (bool v : visible) items.push_back({100, height, v});
    return items;
}

std::vector<int> Tops(const std::vector<TPopupItemBox>& items) {
    std::vector<int> tops;
    for (const auto& item : items) tops.push_back(item.visible ? item.top : -1);
    return tops;
}

TEST(PopupLayout, StacksVisibleItemsBetweenMargins) {
    auto items = Items({true, true, true});
    EXPECT_EQ(LayoutPopupItems(items, 10, 6, 200), 3 * 20 + 2 * 6);
    EXPECT_EQ(Tops(items), (std::vector<int>{6, 26, 46}));
    EXPECT_EQ(items[0].left, 10);

    auto centred = Items({true});
    EXPECT_EQ(LayoutPopupItems(centred, -1, -1, 200), 20 + 2 * 5);
    EXPECT_EQ(centred[0].left, 50);
    EXPECT_EQ(centred[0].top, 5);
}

TEST(PopupLayout, HidingAnItemClosesTheGap) {
    auto items = Items({true, true, true, true});
    LayoutPopupItems(items, 0, 5, 100);
    items[1].visible = false;
    EXPECT_EQ(LayoutPopupItems(items, 0, 5, 100), 3 * 20 + 10);
    EXPECT_EQ(Tops(items), (std::vector<int>{5, -1, 25, 45}));
    items[1].visible = true;
    LayoutPopupItems(items, 0, 5, 100);
    EXPECT_EQ(Tops(items), (std::vector<int>{5, 25, 45, 65}));
    auto none = Items({false, false});
    EXPECT_EQ(LayoutPopupItems(none, 0, 5, 100), 10);
}

TEST(PopupLayout, BackgroundKeepsTopAndBottomAndRepeatsTheMiddle) {
    // 10 rows, margin 2: growing to 14 repeats row 5 four times before the moved bottom rows.
    EXPECT_EQ(StretchedBackgroundRows(10, 14, 2), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 5, 5, 5, 5, 8, 9}));
    // Shrinking to 6 keeps the top rows and moves the bottom two up.
    EXPECT_EQ(StretchedBackgroundRows(10, 6, 2), (std::vector<int>{0, 1, 2, 3, 8, 9}));
    EXPECT_EQ(StretchedBackgroundRows(10, 10, 2), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    // A margin larger than the picture cannot reach outside it.
    for (int row : StretchedBackgroundRows(4, 9, 30)) {
        EXPECT_GE(row, 0);
        EXPECT_LT(row, 4);
    }
    EXPECT_TRUE(StretchedBackgroundRows(0, 9, 2).empty());
}

TEST(PopupLayout, KeepsWindowsOnTheDesktop) {
    const TRectI desktop{0, 0, 1024, 768};
    struct Case {
        TRectI window, expected;
    } cases[] = {
        {{1000, 700, 100, 200}, {924, 568, 100, 200}},
        {{-50, -10, 100, 100}, {0, 0, 100, 100}},
        {{10, 10, 100, 100}, {10, 10, 100, 100}},
        {{0, 0, 2000, 1000}, {0, 0, 2000, 1000}},
    };
    for (const auto& c : cases) EXPECT_EQ(KeepOnDesktop(c.window, desktop), c.expected);
}

TEST(PopupLayout, LongCaptionsAreShortenedAndHinted) {
    auto measure = [](const std::string& text) { return TTextSize{static_cast<int>(text.size()) * 10, 12}; };
    const auto fits = FitCaption("short", 120, 24, measure);
    EXPECT_EQ(fits.text, "short");
    EXPECT_TRUE(fits.hint.empty());
    EXPECT_EQ(fits.rect, (TRectI{7, 6, 50, 12}));

    const auto cut = FitCaption("a very long caption", 120, 24, measure);
    EXPECT_EQ(cut.hint, "a very long caption");
    EXPECT_EQ(cut.rect.width, 106);
    EXPECT_EQ(cut.text, "a very ...");
    EXPECT_LE(measure(cut.text).width, cut.rect.width);

    const auto tall = FitCaption("x", 120, 10, measure);
    EXPECT_EQ(tall.rect.top, -3);
    EXPECT_EQ(tall.rect.Bottom(), 10);
}

}  // namespace
}  // namespace vitrina
