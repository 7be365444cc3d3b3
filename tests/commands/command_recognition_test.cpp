#include "commands/command_recognition.h"

#include <gtest/gtest.h>

#include <optional>

namespace vitrina {
namespace {

struct TCase {
    const char* command;
    int test;
    std::optional<int> number;
};

void PrintTo(const TCase& c, std::ostream* os) { *os << '"' << c.command << '"'; }

class RecognitionOrder : public ::testing::TestWithParam<TCase> {};

TEST_P(RecognitionOrder, FirstSucceedingTestWins) {
    const TCase& c = GetParam();
    const TRecognisedCommand r = RecogniseCommand(c.command, 3, "d:\\run\\");
    EXPECT_FALSE(r.exit);
    EXPECT_EQ(r.test, c.test);
    EXPECT_EQ(r.number, c.number);
}

const TCase kCases[] = {
    // The whole vocabulary, one command per test.
    {"screen2=doc.htm", kTestScreenDocument, 2},
    {"2d", kTest2d, {}},
    {"3d", kTest3d, {}},
    {"run=setup.exe=/s", kTestRun, {}},
    {"about", kTestAbout, {}},
    {"minimize", kTestMinimize, {}},
    {"tree1", kTestTree1, {}},
    {"tree2", kTestTree2, {}},
    {"ontree", kTestOnTree, {}},
    {"offtree", kTestOffTree, {}},
    {"historyback", kTestHistoryBack, {}},
    {"historyforward", kTestHistoryForward, {}},
    {"showfavorite", kTestShowFavorite, {}},
    {"addtofavorite", kTestAddToFavorite, {}},
    {"deletefromfavorite", kTestDeleteFromFavorite, {}},
    {"tesaurus", kTestTesaurus, {}},
    {"fulltextsearch", kTestFullTextSearch, {}},
    {"contextmenu4", kTestContextMenu, 4},
    {"back", kTestBack, {}},
    {"forward", kTestForward, {}},
    {"html20=page.htm", kTestHtml, 20},
    {"copyhtml", kTestCopyHtml, {}},
    {"printhtml", kTestPrintHtml, {}},
    {"tophtml", kTestTopHtml, {}},
    {"nextchapter", kTestNextChapter, {}},
    {"prevchapter", kTestPrevChapter, {}},
    {"findnext2", kTestFindNext, 2},
    {"findtxtall", kTestFindTxtAll, {}},
    {"findtxtlimit", kTestFindTxtLimit, {}},
    {"caseon", kTestCaseOn, {}},
    {"caseoff", kTestCaseOff, {}},
    {"bgsound", kTestBgSound, {}},
    {"standartwin", kTestStandartWin, {}},
    {"options", kTestOptions, {}},
    {"help", kTestHelp, {}},
    {"unarc", kTestUnarc, {}},
    {"play", kTestPlay, {}},
    {"stop", kTestStop, {}},
    {"pause", kTestPause, {}},
    {"stepforward", kTestStepForward, {}},
    {"stepback", kTestStepBack, {}},
    {"clip=video\\a.avi=doc.htm", kTestClip, {}},
    {"nextpic", kTestNextPic, {}},
    {"prevpic", kTestPrevPic, {}},
    {"installfonts", kTestInstallFonts, {}},
    {"rungame=setup.exe=chess", kTestRunGame, {}},
    {"delgame=chess", kTestDelGame, {}},
    {"3", kTestScreenNumber, 3},
    // Test 1 looks at the lower-cased name only: without "=" a screen command falls through to
    // the numeric test; a capital S still counts.
    {"screen2", kTestScreenNumber, 2},
    {"Screen3=doc.htm", kTestScreenDocument, 3},
    {"screen=doc.htm", kTestScreenDocument, -1},
    // Numbers out of range, no number, and words no test knows.
    {"9", kTestNone, {}},
    {"0", kTestNone, {}},
    {"EXIT", kTestNone, {}},
    {"list", kTestNone, {}},
    {"nextsong", kTestNone, {}},
    {"", kTestNone, {}},
    // Substring tests take whatever contains them first.
    {"mytree1view", kTestTree1, {}},
    {"offtree2", kTestTree2, {}},
    {"ontreex", kTestOnTree, {}},
    {"contextmenu", kTestContextMenu, -1},
    {"xcontextmenu12", kTestContextMenu, 12},
    {"1contextmenu", kTestContextMenu, -1},
    {"findnext", kTestFindNext, -1},
    {"findtxtall2", kTestFindTxtAll, {}},
    // Equality tests are exact and case-sensitive.
    {"About", kTestNone, {}},
    {"back2", kTestScreenNumber, 2},
    // Names: the html and clip tests need "=" because they look at the name.
    {"printhtml=x.htm", kTestHtml, -1},
    {"copyhtml2", kTestScreenNumber, 2},
    {"clip", kTestNone, {}},
    {"videoclip=a.avi", kTestClip, {}},
    {"rungame", kTestNone, {}},
    {"run", kTestNone, {}},
    // "screen" in a name wins over everything below it.
    {"htmlscreen1=x", kTestScreenDocument, 1},
    {"tree1screen=x", kTestScreenDocument, 1},
};

INSTANTIATE_TEST_SUITE_P(Vocabulary, RecognitionOrder, ::testing::ValuesIn(kCases));

TEST(Recognition, ExitIsExactAndComesFirst) {
    EXPECT_TRUE(RecogniseCommand("exit", 3, "d:\\").exit);
    EXPECT_FALSE(RecogniseCommand("Exit", 3, "d:\\").exit);
    EXPECT_FALSE(RecogniseCommand("exit=1", 3, "d:\\").exit);
}

TEST(Recognition, ArgumentsAndParamsAreResolvedAgainstTheProgramFolder) {
    const auto r = RecogniseCommand("clip=video\\a.avi=doc.htm", 3, "d:\\run\\");
    EXPECT_EQ(r.argument, "d:\\run\\video\\a.avi");
    EXPECT_EQ(r.params, "d:\\run\\doc.htm");
    const auto s = RecogniseCommand("screen2=html\\p.htm", 3, "d:\\run\\");
    EXPECT_EQ(s.argument, "d:\\run\\html\\p.htm");
    EXPECT_FALSE(s.params.has_value());
    const auto g = RecogniseCommand("delgame=chess", 3, "d:\\");
    EXPECT_EQ(g.argument, "chess");
}

TEST(Recognition, ScreenCountBoundsTheNumericTest) {
    EXPECT_EQ(RecogniseCommand("4", 3, "d:\\").test, kTestNone);
    EXPECT_EQ(RecogniseCommand("4", 4, "d:\\").test, kTestScreenNumber);
    EXPECT_EQ(RecogniseCommand("400", -1, "d:\\").test, kTestScreenNumber);
    EXPECT_EQ(RecogniseCommand("2", 0, "d:\\").test, kTestNone);
}

TEST(Recognition, ReadNumberAtCountsFromOne) {
    EXPECT_EQ(ReadNumberAt("html20=x", 5), 20);
    EXPECT_EQ(ReadNumberAt("contextmenu7", 11), 7);
    EXPECT_EQ(ReadNumberAt("abc", 1), -1);
}

}  // namespace
}  // namespace vitrina
