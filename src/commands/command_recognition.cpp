#include "commands/command_recognition.h"

#include "platform/cp1251.h"
#include "resources/description.h"

namespace vitrina {

int ReadNumberAt(std::string_view text, int position1) {
    return ReadNumber(text, position1 > 0 ? static_cast<std::size_t>(position1 - 1) : 0);
}

TRecognisedCommand RecogniseCommand(std::string_view command, int screenCount,
                                    const std::string& programFolder) {
    TRecognisedCommand r;
    r.name = CommandName(command);
    if (command == "exit") {
        r.exit = true;
        return r;
    }
    const std::string& name = r.name;
    auto is = [&](std::string_view word) { return command == word; };
    auto has = [&](std::string_view word) { return Contains(command, word); };
    auto argument = [&] { r.argument = CommandArgument(command, programFolder); };
    auto params = [&] { r.params = CommandParams(command, programFolder); };
    auto test = [&](int n) {
        r.test = n;
        return r;
    };

    if (Contains(LowerCase1251(name), "screen")) {
        argument();
        r.number = ReadNumberAt(name, 1);
        return test(kTestScreenDocument);
    }
    if (is("2d")) return test(kTest2d);
    if (is("3d")) return test(kTest3d);
    if (name == "run") {
        argument();
        params();
        return test(kTestRun);
    }
    if (is("about")) return test(kTestAbout);
    if (is("minimize")) return test(kTestMinimize);
    if (has("tree1")) return test(kTestTree1);
    if (has("tree2")) return test(kTestTree2);
    if (has("ontree")) return test(kTestOnTree);
    if (has("offtree")) return test(kTestOffTree);
    if (is("historyback")) return test(kTestHistoryBack);
    if (is("historyforward")) return test(kTestHistoryForward);
    if (is("showfavorite")) return test(kTestShowFavorite);
    if (is("addtofavorite")) return test(kTestAddToFavorite);
    if (is("deletefromfavorite")) return test(kTestDeleteFromFavorite);
    if (is("tesaurus")) return test(kTestTesaurus);
    if (has("contextmenu")) {
        r.number = ReadNumberAt(command, 11);
        return test(kTestContextMenu);
    }
    if (is("back")) return test(kTestBack);
    if (is("forward")) return test(kTestForward);
    if (Contains(name, "html")) {
        argument();
        r.number = ReadNumberAt(command, 5);
        return test(kTestHtml);
    }
    if (is("copyhtml")) return test(kTestCopyHtml);
    if (is("printhtml")) return test(kTestPrintHtml);
    if (is("tophtml")) return test(kTestTopHtml);
    if (is("nextchapter")) return test(kTestNextChapter);
    if (is("prevchapter")) return test(kTestPrevChapter);
    if (has("findnext")) {
        r.number = ReadNumberAt(command, 9);
        return test(kTestFindNext);
    }
    if (has("findtxtall")) return test(kTestFindTxtAll);
    if (has("findtxtlimit")) return test(kTestFindTxtLimit);
    if (is("caseon")) return test(kTestCaseOn);
    if (is("caseoff")) return test(kTestCaseOff);
    if (is("bgsound")) return test(kTestBgSound);
    if (is("standartwin")) return test(kTestStandartWin);
    if (is("options")) return test(kTestOptions);
    if (is("help")) return test(kTestHelp);
    if (is("unarc")) return test(kTestUnarc);
    if (is("play")) return test(kTestPlay);
    if (is("stop")) return test(kTestStop);
    if (is("pause")) return test(kTestPause);
    if (is("stepforward")) return test(kTestStepForward);
    if (is("stepback")) return test(kTestStepBack);
    if (Contains(name, "clip")) {
        argument();
        params();
        return test(kTestClip);
    }
    if (is("nextpic")) return test(kTestNextPic);
    if (is("prevpic")) return test(kTestPrevPic);
    if (is("installfonts")) return test(kTestInstallFonts);
    if (name == "rungame") {
        argument();
        params();
        return test(kTestRunGame);
    }
    if (name == "delgame") {
        argument();
        return test(kTestDelGame);
    }
    const int n = ReadNumberAt(command, 1);
    if (n >= 1 && (screenCount < 0 || n <= screenCount)) {
        r.number = n;
        return test(kTestScreenNumber);
    }
    if (is("fulltextsearch")) return test(kTestFullTextSearch);
    return r;
}

}  // namespace vitrina
