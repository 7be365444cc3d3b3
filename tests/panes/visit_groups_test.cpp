#include "panes/visit_groups.h"

#include <gtest/gtest.h>

namespace vitrina {
namespace {

TEST(VisitGroups, HtmlCommandsStartGroupsAndDocumentChangesJoinThem) {
    TVisitGroups g;
    g.DocumentChanged("d:\\html\\start.htm");  // no groups yet: nothing recorded
    EXPECT_TRUE(g.Groups().empty());

    g.RememberVisit("d:\\html\\engine.htm");
    g.DocumentChanged("d:\\html\\engine.htm");
    g.DocumentChanged("d:\\html\\Pistons.htm");
    g.RememberVisit("d:\\html\\brakes.htm");
    g.DocumentChanged("d:\\html\\brakes.htm");
    ASSERT_EQ(g.Groups().size(), 2u);
    EXPECT_EQ(g.Groups()[0], "d:\\html\\engine.htm; d:\\html\\pistons.htm");
    EXPECT_EQ(g.Groups()[1], "d:\\html\\brakes.htm");
    EXPECT_EQ(g.CurrentGroup(), 1);

    g.DocumentChanged("d:\\html\\pistons.htm");  // found in group 0
    EXPECT_EQ(g.CurrentGroup(), 0);
    EXPECT_EQ(g.FirstDocument(), "d:\\html\\engine.htm");

    g.RememberVisit("d:\\html\\engine.htm");
    EXPECT_EQ(g.CurrentGroup(), 0);
    EXPECT_EQ(g.Groups().size(), 2u);
}

TEST(VisitGroups, ComparisonsAreCaseSensitiveSubstrings) {
    TVisitGroups g;
    g.RememberVisit("d:\\html\\engine.htm");
    g.RememberVisit("D:\\HTML\\ENGINE.HTM");
    EXPECT_EQ(g.Groups().size(), 2u);
    g.RememberVisit("engine.htm");
    EXPECT_EQ(g.CurrentGroup(), 0);
}

TEST(SwitchPressPoints, SwitchesShowingTheOtherStateAndMatchingMembersArePressed) {
    TDynamicSwthOneArray switches(3);
    switches[0] = {.vx = 10, .vy = 20, .goup = "html20=d:\\html\\engine.htm", .state = true};
    switches[1] = {.vx = 30, .vy = 40, .godown = "html20=d:\\html\\engine.htm", .state = true};
    switches[2] = {.vx = 50, .vy = 60, .godown = "html20=d:\\html\\engine.htm", .state = false};
    TDynamicSwthGrpArray groups(2);
    groups[0] = {.vx = 70, .vy = 80, .go = "html20=d:\\html\\engine.htm"};
    groups[1] = {.vx = 90, .vy = 100, .go = "html20=d:\\html\\brakes.htm"};
    const auto points = SwitchPressPoints("d:\\html\\engine.htm", switches, groups);
    EXPECT_EQ(points, (std::vector<TPoint>{{11, 21}, {51, 61}, {71, 81}}));
    EXPECT_TRUE(SwitchPressPoints("", switches, groups).empty());
}

}  // namespace
}  // namespace vitrina
