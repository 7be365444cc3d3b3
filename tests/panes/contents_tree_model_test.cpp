#include "panes/contents_tree_model.h"

#include <gtest/gtest.h>

#include "platform/cp1251.h"

namespace vitrina {
namespace {

std::string W(std::string_view utf8) { return Utf8ToCp1251(utf8); }

TContentsTreeModel Tree(std::initializer_list<const char*> utf8Lines) {
    TDynamicStringArray lines;
    for (const char* line : utf8Lines) lines.push_back(W(line));
    return TContentsTreeModel::FromLines(lines);
}

std::vector<int> Parents(const TContentsTreeModel& tree) {
    std::vector<int> parents;
    for (const auto& item : tree.Items()) parents.push_back(item.parent);
    return parents;
}

TEST(ContentsTreeModel, BuildsLevelsFromTabs) {
    struct Case {
        const char* what;
        TContentsTreeModel tree;
        std::vector<int> parents;
    } cases[] = {
        {"levels 0 1 2 1 0", Tree({"a.htm;A", "\tb.htm;B", "\t\tc.htm;C", "\td.htm;D", "e.htm;E"}), {-1, 0, 1, 0, -1}},
        {"a jump of two levels gives a child", Tree({"a;A", "\tb;B", "\t\t\tc;C", "\t\t\td;D"}), {-1, 0, 1, 2}},
        {"first line deeper than the top", Tree({"\t\ta;A", "\t\tb;B", "c;C"}), {-1, 0, -1}},
        {"back up several levels", Tree({"a;A", "\tb;B", "\t\tc;C", "\t\t\td;D", "\te;E"}), {-1, 0, 1, 2, 0}},
        {"empty lines are no items", Tree({"a;A", "", "\tb;B", ""}), {-1, 0}},
        {"levels compare with the depth of the item made", Tree({"a;A", "\t\t\tb;B", "\t\tc;C"}), {-1, 0, 1}},
        {"back up to the nearest item one level up, past earlier subtrees",
         Tree({"a;A", "\tb;B", "\t\tc;C", "d;D", "\te;E", "\t\tf;F", "\t\t\tg;G", "\tx;X", "\t\t\t\ty;Y", "\t\tz;Z"}),
         {-1, 0, 1, -1, 3, 4, 5, 3, 7, 7}},
    };
    for (const auto& c : cases) EXPECT_EQ(Parents(c.tree), c.parents) << c.what;
}

TEST(ContentsTreeModel, FieldsAreTrimmedAndExtraFieldsIgnored) {
    const auto tree = Tree({"\t engine.htm#valves ; Клапаны ; extra", "heading", "\t;Раздел"});
    ASSERT_EQ(tree.Count(), 3);
    EXPECT_EQ(tree.Items()[0].document, "engine.htm#valves");
    EXPECT_EQ(tree.Items()[0].caption, W("Клапаны"));
    EXPECT_EQ(tree.Items()[1].document, "heading");
    EXPECT_EQ(tree.Items()[1].caption, "");
    EXPECT_EQ(tree.Items()[2].document, "");
}

TEST(ContentsTreeModel, ChapterStepsSkipHeadingsAndRepeats) {
    const auto tree = Tree({";Двигатель", "\ta.htm;Блок", "\ta.htm;Блок ещё раз", "\t;Подраздел", "\tb.htm;Клапаны",
                            ";Тормоза", "\tc.htm;Колодки"});
    EXPECT_EQ(tree.NextChapter(-1), 0) << "no focus: the first item";
    EXPECT_EQ(tree.NextChapter(1), 4);
    EXPECT_EQ(tree.NextChapter(4), 6);
    EXPECT_EQ(tree.NextChapter(6), -1);
    EXPECT_EQ(tree.PrevChapter(6), 4);
    EXPECT_EQ(tree.PrevChapter(4), 2);
    EXPECT_EQ(tree.PrevChapter(1), -1);
    EXPECT_EQ(tree.NextChapter(0), 1) << "from a heading the first document counts";
    // Documents compare as written: the same file in other letters is another chapter.
    const auto cased = Tree({"a.htm;A", "A.HTM;B"});
    EXPECT_EQ(cased.NextChapter(0), 1);
}

TEST(ContentsTreeModel, ChapterHints) {
    const auto tree = Tree({"top.htm;Введение", ";Двигатель", "\ta.htm;Блок цилиндров"});
    EXPECT_EQ(tree.ChapterHint(0), W("Введение"));
    EXPECT_EQ(tree.ChapterHint(2), W("Двигатель : Блок цилиндров"));
}

TEST(ContentsTreeModel, FindingDocuments) {
    const auto tree = Tree({"Intro.htm;A", "\tengine.htm#valves;B", "\tengine.htm;C", "\tСхема.htm;D"});
    EXPECT_EQ(tree.FindDocument("d:\\html\\INTRO.HTM"), 0);
    EXPECT_EQ(tree.FindDocument("engine.htm"), 2) << "the anchor is part of an item's document";
    EXPECT_EQ(tree.FindDocument(W("схема.HTM")), 3);
    EXPECT_EQ(tree.FindDocument("none.htm"), -1);
    EXPECT_EQ(tree.FindDocumentKey(W("  СХЕМА.htm ")), 3);
    EXPECT_EQ(tree.FindDocumentKey(""), -1);
}

TEST(ContentsTreeModel, FindByCaptionWrapsAroundFromTheFocus) {
    const auto tree = Tree({"a;Клапаны впуска", "b;Тормоза", "c;клапаны выпуска"});
    EXPECT_EQ(tree.FindByCaption(W("КЛАПАНЫ"), -1), 0);
    EXPECT_EQ(tree.FindByCaption(W("клапаны"), 0), 2);
    EXPECT_EQ(tree.FindByCaption(W("клапаны"), 2), 0);
    EXPECT_EQ(tree.FindByCaption(W("Тормоза"), 1), 1) << "the focused item is searched last";
    EXPECT_EQ(tree.FindByCaption("zzz", 1), -1);
    EXPECT_EQ(TContentsTreeModel().FindByCaption("a", -1), -1);
}

}  // namespace
}  // namespace vitrina
