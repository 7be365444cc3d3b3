#include "panes/tree_views.h"

#include <QApplication>
#include <QHelpEvent>
#include <QTest>
#include <QToolTip>
#include <gtest/gtest.h>

#include "platform/cp1251.h"
#include "resources/container_writer.h"
#include "resources/description_scrambler.h"
#include "resources/read_bin.h"
#include "support/temp_folder.h"

namespace vitrina {
namespace {

using test::TTempFolder;

// Records what the trees ask of the window; the "pane" shows whatever was opened last.
class TRecordingHost : public TTreeHost {
public:
    int CurrentScreen() const override { return screen; }
    const std::string& ProgramFolder() const override { return folder; }
    std::string CurrentDocument() const override { return current; }
    std::string ResolveDocument(const std::string& link) const override { return "d:\\html\\" + link; }
    bool ViewerVisible() const override { return viewerVisible; }
    void OpenDocument(const std::string& d) override { opened.push_back(d), current = d; }
    void OpenInHtmlArea(int n, const std::string& d) override { opened.push_back(std::to_string(n) + ":" + d), current = d; }
    void HidePopups() override { ++popupsHidden; }
    void ClearSkinHover() override {}
    void SetChapterHints(const std::string& n, const std::string& p) override { next = n, previous = p; }
    QRect ViewerRect() const override { return viewer; }
    void SetViewerRect(const QRect& r) override { viewer = r; }
    void SetViewerShown(bool) override {}
    void ReloadViewer() override { ++reloads; }

    int screen = 1;
    std::string folder = "d:\\html\\";
    std::string current;
    bool viewerVisible = true;
    std::vector<std::string> opened;
    int popupsHidden = 0;
    std::string next, previous;
    QRect viewer{168, 0, 505, 421};
    int reloads = 0;
};

std::string TreeText(std::initializer_list<const char*> lines) {
    std::string text;
    for (const char* line : lines) text += Utf8ToCp1251(line) + "\r\n";
    return ScrambleDescription(text);
}

class TreeViewsTest : public ::testing::Test {
protected:
    void Open(bool withSecond) {
        std::vector<TContainerEntry> entries = {
            {"tree1.cfs", TreeText({";Двигатель", "\tblock.htm;Блок цилиндров", "\tblock.htm;Блок: продолжение",
                                    "\t;Подраздел", "\t\tvalves.htm;Клапаны", ";Тормоза", "\tpads.htm;Колодки"})}};
        if (withSecond) entries.push_back({"tree2.cfs", TreeText({"pads.htm;Колодки", "block.htm;Блок"})});
        container.Open(temp.Write("Vuv.dhl", WriteContainer(entries)));
        panel.resize(673, 421);
        trees = std::make_unique<TContentsTrees>(container, &panel, &splitter, host);
        panel.show();
    }
    TTreeViews& First() { return *trees->First(); }

    TTempFolder temp;
    TReadBin container;
    TRecordingHost host;
    QWidget panel;
    QWidget splitter{&panel};
    std::unique_ptr<TContentsTrees> trees;
};

TEST_F(TreeViewsTest, ItemsNestAsTheTabsSay) {
    Open(false);
    TTreeViews& tree = First();
    ASSERT_EQ(tree.topLevelItemCount(), 2);
    EXPECT_EQ(tree.topLevelItem(0)->childCount(), 3);
    EXPECT_EQ(tree.topLevelItem(0)->child(2)->child(0)->text(0), "Клапаны");
    EXPECT_TRUE(tree.isVisible()) << "the document screen shows the tree";
    EXPECT_FALSE(trees->Second());
}

TEST_F(TreeViewsTest, GroupsShowExpandArrowsThatOpenOnAClick) {
    Open(true);
    TTreeViews& tree = First();
    EXPECT_TRUE(tree.rootIsDecorated());
    EXPECT_FALSE(trees->Second()->rootIsDecorated()) << "a flat list keeps its room";
    QTreeWidgetItem* group = tree.topLevelItem(1);
    ASSERT_FALSE(group->isExpanded());
    const QRect row = tree.visualItemRect(group);
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, QPoint(row.left() - tree.indentation() / 2, row.center().y()));
    EXPECT_TRUE(group->isExpanded());
}

TEST_F(TreeViewsTest, ACutLabelShowsItsFullTextAsATooltip) {
    Open(false);
    TTreeViews& tree = First();
    tree.expandAll();
    auto tooltipAt = [&](QTreeWidgetItem* item) {
        QToolTip::hideText();  // hides after a moment
        for (int i = 0; i < 100 && QToolTip::isVisible(); ++i) QTest::qWait(10);
        const QPoint p = tree.visualItemRect(item).center();
        QHelpEvent help(QEvent::ToolTip, p, tree.viewport()->mapToGlobal(p));
        QApplication::sendEvent(tree.viewport(), &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    QTreeWidgetItem* longer = tree.topLevelItem(0)->child(1);  // "Блок: продолжение"
    QTreeWidgetItem* shorter = tree.topLevelItem(1);           // "Тормоза"
    EXPECT_EQ(tooltipAt(shorter), QString()) << "a label that fits has no tooltip";
    tree.resize(110, tree.height());
    EXPECT_EQ(tooltipAt(longer), QString::fromUtf8("Блок: продолжение"));
    EXPECT_EQ(tooltipAt(shorter), QString());
}

TEST_F(TreeViewsTest, ClickingAnItemOpensItsDocument) {
    Open(false);
    TTreeViews& tree = First();
    tree.expandAll();
    const QRect rect = tree.visualItemRect(tree.topLevelItem(1)->child(0));
    host.viewerVisible = false;
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, rect.center());
    EXPECT_EQ(tree.SelectedDocument, "pads.htm");
    EXPECT_EQ(host.opened, std::vector<std::string>{"20:d:\\html\\pads.htm"}) << "a hidden viewer opens in area 20";
    EXPECT_GE(host.popupsHidden, 1);
    // The same document again opens nothing.
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, rect.center());
    EXPECT_EQ(host.opened.size(), 1u);
}

TEST_F(TreeViewsTest, ChaptersSkipHeadingsAndRepeatsAndHintTheNeighbours) {
    Open(false);
    TTreeViews& tree = First();
    tree.NextChapter();
    EXPECT_EQ(tree.FocusedIndex(), 0) << "no focus: the first item";
    tree.NextChapter();
    EXPECT_EQ(tree.FocusedIndex(), 1);
    tree.NextChapter();
    EXPECT_EQ(tree.FocusedIndex(), 4) << "the repeated document and the heading are skipped";
    EXPECT_EQ(host.opened.back(), "d:\\html\\valves.htm");
    tree.UpdateChapterHints();
    EXPECT_EQ(host.next, Utf8ToCp1251("Тормоза : Колодки"));
    EXPECT_EQ(host.previous, Utf8ToCp1251("Двигатель : Блок: продолжение"));
    tree.NextChapter();
    tree.NextChapter();
    EXPECT_EQ(tree.FocusedIndex(), 6) << "the last chapter keeps the focus";
    tree.UpdateChapterHints();
    EXPECT_EQ(host.next, Utf8ToCp1251("Последний раздел"));
}

TEST_F(TreeViewsTest, FollowingADocumentSelectsItsItem) {
    Open(false);
    TTreeViews& tree = First();
    tree.FollowDocument("valves.htm#seats");
    EXPECT_EQ(tree.FocusedIndex(), 4);
    EXPECT_TRUE(host.opened.empty()) << "following a link opens nothing itself";
    tree.FollowDocument("unknown.htm");
    EXPECT_EQ(tree.FocusedIndex(), 4);
    host.current = "d:\\html\\PADS.HTM";
    tree.FollowDocument("fromhistory");
    EXPECT_EQ(tree.FocusedIndex(), 6);
}

TEST_F(TreeViewsTest, PendingDocumentIsSelectedOnTheDocumentScreen) {
    host.screen = 0;
    Open(false);
    TTreeViews& tree = First();
    EXPECT_FALSE(tree.isVisible());
    tree.PendingDocument = "d:\\html\\valves.htm";
    host.screen = 1;
    trees->SyncWithScreen();
    EXPECT_EQ(tree.FocusedIndex(), 4);
    EXPECT_EQ(host.opened, std::vector<std::string>{"d:\\html\\valves.htm"});
    // An anchor that no item names: the item of the file gives a caption to search for.
    tree.PendingDocument = "d:\\html\\block.htm#top";
    trees->SyncWithScreen();
    EXPECT_EQ(tree.FocusedIndex(), 1) << "from after the focus, wrapping round";
}

// An item may name folders below the program folder: it opens the same document from wherever
// the reader is, and following that document finds it.
TEST_F(TreeViewsTest, AnItemInAFolderOpensFromTheProgramFolder) {
    container.Open(temp.Write("Vuv.dhl", WriteContainer({{"tree1.cfs", TreeText({"glava.htm;Глава",
                                                                                 "\tbrakes\\pads.htm;Колодки"})}})));
    trees = std::make_unique<TContentsTrees>(container, &panel, &splitter, host);
    panel.show();
    TTreeViews& tree = First();
    host.current = "d:\\html\\engine\\block.htm";
    tree.expandAll();
    const QPoint item = tree.visualItemRect(tree.topLevelItem(0)->child(0)).center();
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, item);
    EXPECT_EQ(host.opened, std::vector<std::string>{"d:\\html\\brakes\\pads.htm"});
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, item);
    EXPECT_EQ(host.opened.size(), 1u) << "the document shown opens nothing";

    tree.FollowDocument("glava.htm");
    EXPECT_EQ(tree.FocusedIndex(), 0);
    tree.FollowDocument("brakes\\pads.htm");
    EXPECT_EQ(tree.FocusedIndex(), 1);
    tree.PendingDocument = "d:\\html\\brakes\\pads.htm";
    tree.FollowDocument("glava.htm");
    trees->SyncWithScreen();
    EXPECT_EQ(tree.FocusedIndex(), 1) << "a screen command's document selects the item in its folder";
}

TEST_F(TreeViewsTest, SwitchAndOfftree) {
    Open(true);
    TTreeViews& first = First();
    TTreeViews& second = *trees->Second();
    EXPECT_TRUE(first.isVisible());
    EXPECT_FALSE(second.isVisible());
    trees->Switch(true);
    EXPECT_TRUE(second.isVisible());
    EXPECT_FALSE(first.isVisible());
    EXPECT_TRUE(first.Inactive);
    EXPECT_EQ(trees->Shown(), &second);

    trees->Offtree();
    EXPECT_FALSE(second.isVisible());
    EXPECT_EQ(host.viewer, QRect(0, 0, 673, 421)) << "the viewer takes the tree's room";
    EXPECT_TRUE(first.HiddenByOfftree && second.HiddenByOfftree);
    trees->Ontree();
    EXPECT_TRUE(second.isVisible());
    EXPECT_FALSE(first.isVisible()) << "an inactive tree stays away";
    EXPECT_EQ(host.viewer, QRect(168, 0, 505, 421));
}

}  // namespace
}  // namespace vitrina
