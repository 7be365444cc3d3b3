#include "html/history_list.h"

#include <gtest/gtest.h>

#include "platform/cp1251.h"

namespace vitrina {
namespace {

using Files = std::vector<std::string>;

TEST(HistoryList, NewestFirstBoundedAndForwardEntriesDroppedOnANewVisit) {
    THistoryList h(3);
    EXPECT_FALSE(h.BackButtonEnabled());
    h.Visit("a", "A");
    h.Visit("b", "B");
    h.Visit("c", "C");
    h.Visit("d", "D");
    EXPECT_EQ(h.Files(), (Files{"d", "c", "b"}));
    EXPECT_EQ(h.Titles(), (Files{"D", "C", "B"}));
    EXPECT_TRUE(h.BackButtonEnabled());
    EXPECT_FALSE(h.FwdButtonEnabled());

    ASSERT_TRUE(h.SetIndex(2));
    EXPECT_FALSE(h.BackButtonEnabled());
    EXPECT_TRUE(h.FwdButtonEnabled());
    h.Visit("e", "E");  // from "b": "d" and "c" are gone
    EXPECT_EQ(h.Files(), (Files{"e", "b"}));
    EXPECT_EQ(h.Index(), 0);
}

TEST(HistoryList, TheCurrentDocumentAgainAddsNoEntryAndTakesTheNewTitle) {
    THistoryList h;
    h.Visit("d:\\a.htm", "");
    h.Visit("D:\\A.HTM", "Title");
    EXPECT_EQ(h.Count(), 1);
    EXPECT_EQ(h.Titles()[0], "Title");
    h.SetTitle("Other");
    EXPECT_EQ(h.Titles()[0], "Other");
}

TEST(HistoryList, FindIgnoresCaseAndBadIndexesAreRefused) {
    THistoryList h;
    h.Visit(Utf8ToCp1251("d:\\Глава.htm"), "");
    h.Visit("d:\\b.htm", "");
    EXPECT_EQ(h.Find(Utf8ToCp1251("D:\\ГЛАВА.HTM")), 1);
    EXPECT_EQ(h.Find("d:\\c.htm"), -1);
    EXPECT_FALSE(h.SetIndex(2));
    EXPECT_FALSE(h.SetIndex(-1));
    EXPECT_EQ(h.Index(), 0);
}

TEST(HistoryList, MaxCountZeroKeepsNothingAndLoweringItTrims) {
    THistoryList none(0);
    none.Visit("a", "");
    EXPECT_EQ(none.Count(), 0);
    THistoryList h(10);
    for (const char* f : {"a", "b", "c", "d"}) h.Visit(f, "");
    h.SetIndex(3);
    h.SetMaxCount(2);
    EXPECT_EQ(h.Files(), (Files{"d", "c"}));
    EXPECT_EQ(h.Index(), 1);
}

TEST(VisitedList, NewestFirstNoDuplicatesAtMostTwenty) {
    TVisitedList v;
    EXPECT_EQ(v.MaxCount(), 20);
    for (int i = 0; i < 25; ++i) EXPECT_TRUE(v.Add("l" + std::to_string(i)));
    EXPECT_EQ(v.Links().size(), 20u);
    EXPECT_EQ(v.Links().front(), "l24");
    EXPECT_EQ(v.Links().back(), "l5");
    EXPECT_FALSE(v.Add("L24"));  // already newest
    EXPECT_TRUE(v.Add("L10"));   // moves to the front in its new spelling
    EXPECT_EQ(v.Links().front(), "L10");
    EXPECT_EQ(v.Links().size(), 20u);
    EXPECT_TRUE(v.Contains("l10"));
    EXPECT_FALSE(v.Contains("l4"));
    EXPECT_FALSE(v.Add(""));
}

}  // namespace
}  // namespace vitrina
