#pragma once
// Recognition of the command vocabulary, apart from the actions: several tests are substring
// tests, so the order of the table decides which action a command reaches.
#include <optional>
#include <string>
#include <string_view>

namespace vitrina {

// The numbers of the vocabulary tests, in their order of recognition.
enum TCommandTest : int {
    kTestNone = 0,
    kTestScreenDocument = 1,
    kTest2d,
    kTest3d,
    kTestRun,
    kTestAbout,
    kTestMinimize,
    kTestTree1,
    kTestTree2,
    kTestOnTree,
    kTestOffTree,
    kTestHistoryBack,
    kTestHistoryForward,
    kTestShowFavorite,
    kTestAddToFavorite,
    kTestDeleteFromFavorite,
    kTestTesaurus,
    kTestContextMenu,
    kTestBack,
    kTestForward,
    kTestHtml,
    kTestCopyHtml,
    kTestPrintHtml,
    kTestTopHtml,
    kTestNextChapter,
    kTestPrevChapter,
    kTestFindNext,
    kTestFindTxtAll,
    kTestFindTxtLimit,
    kTestCaseOn,
    kTestCaseOff,
    kTestBgSound,
    kTestStandartWin,
    kTestOptions,
    kTestHelp,
    kTestUnarc,
    kTestPlay,
    kTestStop,
    kTestPause,
    kTestStepForward,
    kTestStepBack,
    kTestClip,
    kTestNextPic,
    kTestPrevPic,
    kTestInstallFonts,
    kTestRunGame,
    kTestDelGame,
    kTestScreenNumber = 47,
    // Commands of this program's own, after the disc's vocabulary.
    kTestFullTextSearch,
};

struct TRecognisedCommand {
    // The exact command "exit", handled before the table.
    bool exit = false;
    // The first test that succeeds; kTestNone when none does.
    int test = kTestNone;
    std::string name;  // CommandName
    // The integer the test reads (screen number, area number, popup number, find field).
    std::optional<int> number;
    // CommandArgument and CommandParams where the test uses them.
    std::optional<std::string> argument;
    std::optional<std::string> params;
};

// screenCount bounds the numeric commands of the last test; a negative count accepts any
// positive number (the tool uses that when it is given no count).
TRecognisedCommand RecogniseCommand(std::string_view command, int screenCount,
                                    const std::string& programFolder);

// A ReadNumber from a 1-based position, the way the vocabulary states its positions.
int ReadNumberAt(std::string_view text, int position1);

}  // namespace vitrina
