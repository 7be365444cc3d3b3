// The vocabulary's actions and the key table on the dispatcher alone: every part it hands work
// to writes down what reached it.
#include "commands/dispatcher.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commands/about_commands.h"
#include "commands/archive_commands.h"
#include "session/busy.h"
#include "commands/clip_commands.h"
#include "commands/dialog_commands.h"
#include "commands/html_commands.h"
#include "commands/main_window.h"
#include "commands/options_commands.h"
#include "commands/player_commands.h"
#include "commands/popup_commands.h"
#include "commands/print_commands.h"
#include "commands/search_commands.h"
#include "commands/setup_commands.h"
#include "commands/standard_window_commands.h"
#include "commands/tree_commands.h"
#include "platform/cp1251.h"
#include "platform/desktop.h"
#include "session/disc_session.h"
#include "support/temp_folder.h"

namespace vitrina {
namespace {

using TLog = std::vector<std::string>;

// Every part of the window at once; each call is one line of the log.
struct TRecorder : IMainWindow, IHtmlCommands, ITreeCommands, IPopupCommands, IStandardWindowCommands,
                   IDialogCommands, IAboutCommands, IOptionsCommands, IPrintCommands, ISearchCommands, IPlayerCommands, IClipCommands,
                   IArchiveCommands, ISetupCommands, IDesktop {
    TLog log;
    bool archivePage = false;
    bool findDialog = false;
    bool dialog = false;
    bool clipPlayer = false;
    void Note(const std::string& line) { log.push_back(line); }

    void SwitchScreen(int n, int kind, int index) override {
        Note("screen " + std::to_string(n) + " " + std::to_string(kind) + " " + std::to_string(index));
    }
    void Minimize(int, int) override { Note("minimize"); }
    void CloseWindow() override { Note("close"); }
    void Terminate() override { Note("terminate"); }
    QPoint ControlCorner(int index, bool right) const override { return {right ? 100 + index : index, 50}; }
    QPoint PointerPosition() const override { return {7, 8}; }
    void PressAt(int x, int y) override { Note("press " + std::to_string(x) + "," + std::to_string(y)); }
    bool Animating() const override { return false; }

    void HistoryBack() override { Note("back"); }
    void HistoryForward() override { Note("forward"); }
    void OpenInArea(int number, const std::string& document) override {
        Note("html " + std::to_string(number) + " " + document);
    }
    std::string CurrentDocument() const override { return "d:\\shown.htm"; }
    void OpenDocument(const std::string& document) override { Note("open " + document); }
    void CopyHtml() override { Note("copyhtml"); }
    void TopHtml() override { Note("tophtml"); }
    void SelectAllHtml() override { Note("selectall"); }
    bool ShowsArchivePage() const override { return archivePage; }
    bool DocumentsLoading() const override { return false; }

    void SetPendingDocument(const std::string& document) override { Note("pending " + document); }
    void SwitchTree(bool tree1) override { Note(tree1 ? "tree1" : "tree2"); }
    void ShowTrees(bool show) override { Note(show ? "ontree" : "offtree"); }
    void NextChapter() override { Note("nextchapter"); }
    void PrevChapter() override { Note("prevchapter"); }
    bool SecondTreeExists() const override { return true; }
    bool AnyTreeVisible() const override { return true; }

    void OpenPopup(int type, int x, int y) override {
        Note("popup " + std::to_string(type) + " at " + std::to_string(x) + "," + std::to_string(y));
    }
    void ClosePopups() override { Note("closepopups"); }
    void AddToFavorites() override { Note("favorite"); }

    void ShowStandardWindow() override { Note("standard"); }

    void ShowAbout() override { Note("about"); }
    void ShowOptions() override { Note("options"); }
    void ShowDialog(int index, const std::string& text) override {
        Note("dialog " + std::to_string(index) + " " + Cp1251ToUtf8(text));
    }
    bool DialogVisible() const override { return dialog; }
    void CloseDialogKey() override { Note("closedialog"); }

    void PrintHtml() override { Note("print"); }
    void PrintHtmlDialog() override { Note("printdialog"); }

    void ShowFindDialog() override { Note("find"); }
    void CloseFindDialog() override { Note("closefind"); }
    bool FindDialogVisible() const override { return findDialog; }
    void FindNext(int field) override { Note("findnext " + std::to_string(field)); }
    void FindAcrossAll(bool all) override { Note(all ? "findall" : "findlimit"); }
    void Thesaurus(const std::string&) override { Note("thesaurus"); }
    void FindPaneEnter() override { Note("findpaneenter"); }
    void ShowWordSearch() override { Note("wordsearch"); }

    void BackgroundMusic(bool on) override { Note(on ? "music on" : "music off"); }
    void BackgroundMusicAfterFirstFrame() override { Note("music after the first frame"); }
    void Play() override { Note("play"); }
    void Stop() override { Note("stop"); }
    void Pause() override { Note("pause"); }
    void StepForward() override { Note("stepforward"); }
    void StepBack() override { Note("stepback"); }
    void Clip(const std::string& file, const std::string& document) override { Note("clip " + file + " " + document); }
    void NextPicture() override { Note("nextpic"); }
    void PrevPicture() override { Note("prevpic"); }
    void PlayMedia(const std::string& file, const std::string&, int) override { Note("media " + file); }
    void PlayDroppedFile(const std::string& file) override { Note("play " + file); }

    bool ClipPlayerExists() const override { return clipPlayer; }
    void CreateClip3d() override { Note("create3d"); }
    void SwitchClipMode(bool moving) override { Note(moving ? "mode 3d" : "mode 2d"); }
    void PauseClip() override { Note("pauseclip"); }
    bool WindowClipExists() const override { return false; }
    bool WindowClipShown() const override { return false; }
    bool WindowClipPlaying() const override { return false; }
    bool WindowClipHaltedOrPaused() const override { return false; }
    bool WindowClipPausedByUser() const override { return false; }
    bool InsideWindowClip(int, int) const override { return false; }
    void ToggleWindowClip() override {}
    void FreezeWindowClip() override {}
    void ResumeWindowClip() override {}
    void DrawFrozenFrame(QImage&) override {}
    void ReleaseWindowClip() override {}

    void ExtractArchive() override { Note("unarc"); }
    void OpenArchivePage(const std::string& archive, const std::string& document) override {
        Note("archive " + archive + " for " + document);
    }

    void InstallFonts() override { Note("installfonts"); }
    void RunGame(const std::string& setup, const std::string& key) override { Note("rungame " + setup + " " + key); }
    void RemoveGame(const std::string& key) override { Note("delgame " + key); }
    void SetFontFolder(const std::string&) override {}
    bool GameValuePresent(const std::string&, const std::string&) const override { return false; }

    void ShellExecute(const std::string& target, const std::string& params) override {
        Note("run " + target + " " + params);
    }
    void WinExec(const std::string& program, const std::string&) override { Note("exec " + program); }
    void ShowHelpTopic(const std::string&, const std::string& topic) override { Note("help " + topic); }
    void PlayClickSound(const std::string& file) override { Note("sound " + file); }
    void PlayClickSoundToEnd(const std::string& file) override { Note("soundtoend " + file); }
};

// A disc of three screens with one switch on the document screen, in a fresh user folder.
struct TDispatch {
    test::TTempFolder folder;
    TDriveMap drives{folder.Path(), folder.Path() / "c"};
    TDiscSession session{drives, TUserFolders{folder.Path() / "config", folder.Path() / "c", folder.Path() / "run"}};
    TRecorder parts;
    TCommandServices services;
    TDispatcher dispatcher{session, services};

    explicit TDispatch(bool withParts = true) {
        session.OpenFolders();
        session.Title = "t";
        session.Model.ScreenPictures = {"a.bmp", "b.bmp", "c.bmp"};
        RSwthOne tree;
        tree.vx = 10;
        tree.vy = 20;
        tree.goup = "tree1";
        tree.godown = "tree2";
        session.Model.ScreenSwitches = {{}, {tree}, {}};
        if (withParts) {
            services = {.desktop = &parts, .windows = nullptr, .html = &parts, .trees = &parts, .popups = &parts,
                        .standard = &parts, .dialogs = &parts, .about = &parts, .options = &parts, .print = &parts,
                        .search = &parts, .player = &parts, .clips = &parts, .archive = &parts, .setup = &parts};
            dispatcher.SetWindow(&parts);
        }
    }
    TLog Run(const std::string& command, int kind = 0, int index = 0) {
        parts.log.clear();
        dispatcher.ExecuteCommand(command, "", 1, kind, index);
        return parts.log;
    }
    TLog Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        parts.log.clear();
        dispatcher.KeyDown(key, modifiers);
        return parts.log;
    }
};

TEST(Dispatcher, ADroppedFileGoesWhereItsNameSays) {
    TDispatch d;
    const struct {
        std::vector<std::string> files;
        TLog reached;
    } cases[] = {
        {{"z:\\home\\notes.html", "z:\\x.rar"}, {"open z:\\home\\notes.html"}},  // the first file counts
        {{"z:\\PIC.JPEG"}, {"open z:\\PIC.JPEG"}},
        {{"z:\\x.bmp.rar"}, {"open z:\\x.bmp.rar"}},  // a picture mark before the archive mark
        {{"z:\\arc.rar"}, {"archive z:\\arc.rar for d:\\shown.htm"}},
        {{"z:\\a.rar.old"}, {"archive z:\\a.rar.old for d:\\shown.htm"}},  // anywhere in the name
        {{"z:\\song.MP3"}, {"play z:\\song.MP3"}},
        {{"z:\\tool.exe"}, {}},
        {{}, {}},
    };
    for (const auto& c : cases) {
        d.parts.log.clear();
        d.dispatcher.FilesDropped(c.files);
        EXPECT_EQ(d.parts.log, c.reached) << (c.files.empty() ? "nothing" : c.files[0]);
    }
    // Only the first 200 characters are looked at.
    d.parts.log.clear();
    d.dispatcher.FilesDropped({"z:\\" + std::string(200, 'a') + ".rar"});
    EXPECT_TRUE(d.parts.log.empty());
}

TEST(Dispatcher, EachCommandReachesItsPart) {
    struct TCase {
        const char* command;
        int kind;
        TLog expected;
    };
    const TCase cases[] = {
        {"screen2=doc.htm", 0, {"pending d:\\doc.htm", "screen 1 0 3"}},
        {"3", 1, {"screen 2 1 3"}},
        {"9", 0, {}},  // no such screen: not a screen command
        {"2d", 0, {}},  // no clip player yet
        {"3d", 0, {"create3d", "mode 3d"}},
        {"run=prog.exe", 0, {"run d:\\prog.exe "}},
        {"about", 0, {}},  // the container has no about description
        {"minimize", 0, {"minimize"}},
        {"tree1", 0, {"tree1"}},
        {"tree2", 0, {"tree2"}},
        {"ontree", 0, {"ontree"}},
        {"offtree", 0, {"offtree"}},
        {"historyback", 0, {"popup -1 at 103,50"}},
        {"historyforward", 0, {"popup -2 at 3,50"}},
        {"showfavorite", 0, {"popup -3 at 3,50"}},
        {"deletefromfavorite", 0, {"popup -4 at 3,50"}},
        {"historyback", 1, {}},  // popups open only from buttons
        {"contextmenu-5", 0, {"popup -5 at 7,8"}},
        {"addtofavorite", 0, {"favorite"}},
        {"tesaurus", 0, {"thesaurus"}},
        {"fulltextsearch", 0, {"wordsearch"}},
        {"back", 0, {"back"}},
        {"forward", 0, {"forward"}},
        {"html20=d:\\x.htm", 0, {"html 20 d:\\x.htm"}},
        {"copyhtml", 0, {"copyhtml"}},
        {"printhtml", 0, {"print"}},
        {"tophtml", 0, {"tophtml"}},
        {"nextchapter", 0, {"nextchapter"}},
        {"prevchapter", 0, {"prevchapter"}},
        {"findnext1", 0, {"find"}},  // outside the thesaurus window: the find dialog
        {"findtxtall", 0, {"findall"}},
        {"findtxtlimit", 0, {"findlimit"}},
        {"standartwin", 0, {"standard"}},
        {"options", 0, {"options"}},
        {"help", 0, {"help Topic12"}},
        {"unarc", 0, {"dialog 0 Выберите файл для распаковки."}},
        {"play", 0, {"play"}},
        {"stop", 0, {"stop"}},
        {"pause", 0, {"pause"}},
        {"stepforward", 0, {"stepforward"}},
        {"stepback", 0, {"stepback"}},
        {"nextpic", 0, {"nextpic"}},
        {"prevpic", 0, {"prevpic"}},
        {"installfonts", 0, {"installfonts"}},
        {"delgame=key", 0, {"delgame key"}},
    };
    TDispatch d;
    for (const TCase& c : cases) EXPECT_EQ(d.Run(Utf8ToCp1251(c.command), c.kind, 3), c.expected) << c.command;
}

TEST(Dispatcher, CommandsForMissingPartsDoNothing) {
    // The same vocabulary with no window and no parts: nothing reached, nothing broken.
    TDispatch d(false);
    for (const char* command : {"screen2=doc.htm", "3d", "run=x.exe", "about", "minimize", "tree1", "ontree",
                                "historyback", "contextmenu-1", "addtofavorite", "back", "html20=x.htm", "copyhtml",
                                "printhtml", "findnext1", "findtxtall", "standartwin", "options", "help", "unarc", "play",
                                "clip=a.avi", "nextpic", "installfonts", "rungame=a=b", "delgame=b", "2", "exit",
                                "bgsound"})
        d.dispatcher.ExecuteCommand(command, "click.wav", 0, 0, 0);
    EXPECT_TRUE(d.parts.log.empty());
    EXPECT_EQ(d.session.CurrentScreen, 0);
    for (int key : {Qt::Key_Escape, Qt::Key_F1, Qt::Key_I}) d.dispatcher.KeyDown(key, Qt::ControlModifier);
    EXPECT_TRUE(d.parts.log.empty());
}

TEST(Dispatcher, SessionStateCommands) {
    TDispatch d;
    d.Run("caseon");
    EXPECT_TRUE(d.session.MatchCase);
    d.Run("caseoff");
    EXPECT_FALSE(d.session.MatchCase);
    // Background music toggles from a button only, and the choice is stored.
    d.session.Settings.BGSound = false;
    EXPECT_EQ(d.Run("bgsound", 1), TLog{});
    EXPECT_EQ(d.Run("bgsound", 0), TLog{"music on"});
    EXPECT_TRUE(d.session.Settings.BGSound);
    TSettings stored;
    stored.BGSound = false;
    stored.Load(d.session.Registry(), "t", false);
    EXPECT_TRUE(stored.BGSound);
    // Exit without a window directory closes the window; a button remembers itself as the exit.
    EXPECT_EQ(d.Run("exit", 0, 4), TLog{"close"});
    EXPECT_EQ(d.session.ExitButton, 4);
    d.Run("exit", 1, 2);
    EXPECT_EQ(d.session.ExitButton, 4);
}

TEST(Dispatcher, SoundsAndTheBusyFlag) {
    TDispatch d;
    d.dispatcher.ExecuteCommand("caseon", "click.wav", 0, 0, 0);
    d.dispatcher.ExecuteCommand("caseon", "click.wav", 1, 0, 0);  // silent
    d.dispatcher.ExecuteCommand("caseon", "no", 0, 0, 0);
    EXPECT_EQ(d.parts.log, TLog{"sound d:\\click.wav"});
    d.session.MatchCase = false;
    {
        const TBusy busy;
        EXPECT_EQ(d.Run("caseon"), TLog{});
    }
    EXPECT_FALSE(d.session.MatchCase);
}

TEST(Dispatcher, RoutingThatDependsOnState) {
    TDispatch d;
    d.parts.archivePage = true;
    EXPECT_EQ(d.Run("unarc"), TLog{"unarc"});
    d.parts.clipPlayer = true;
    EXPECT_EQ(d.Run("3d"), TLog{"mode 3d"});
    EXPECT_EQ(d.Run("2d"), TLog{"mode 2d"});
    EXPECT_EQ(d.Run("exit"), (TLog{"pauseclip", "close"}));
    d.parts.findDialog = true;
    EXPECT_EQ(d.Run("2"), (TLog{"closefind", "screen 1 0 0"}));
    d.session.ThesaurusWindow = true;
    EXPECT_EQ(d.Run("findnext2"), TLog{"findnext 2"});
}

TEST(Dispatcher, KeyTable) {
    struct TCase {
        int screen;
        int key;
        Qt::KeyboardModifiers modifiers;
        TLog expected;
    };
    const Qt::KeyboardModifiers shift = Qt::ShiftModifier, ctrl = Qt::ControlModifier;
    const TCase cases[] = {
        {0, Qt::Key_F1, {}, {"help Topic12"}},
        {1, Qt::Key_F1, {}, {"help Topic13"}},
        {2, Qt::Key_F1, {}, {}},
        {1, Qt::Key_Escape, {}, {"closepopups"}},
        {1, Qt::Key_I, ctrl, {"favorite"}},
        {1, Qt::Key_P, ctrl, {"printdialog"}},
        {1, Qt::Key_F, ctrl, {"find"}},
        {1, Qt::Key_A, ctrl, {"selectall"}},
        {0, Qt::Key_I, ctrl, {}},  // only on the document screen
        {1, Qt::Key_T, shift, {"thesaurus"}},
        {1, Qt::Key_F, shift | ctrl, {"wordsearch"}},
        {0, Qt::Key_F, shift | ctrl, {}},
        {1, Qt::Key_Z, shift, {"press 11,21"}},  // the tree1 switch
        {1, Qt::Key_Z, shift | ctrl, {}},          // no OffTree switch
        {1, Qt::Key_Down, shift, {"nextchapter"}},
        {1, Qt::Key_Up, shift, {"prevchapter"}},
        {1, Qt::Key_Home, shift, {"screen 0 0 0"}},
    };
    for (const TCase& c : cases) {
        TDispatch d;
        d.session.CurrentScreen = c.screen;
        EXPECT_EQ(d.Key(c.key, c.modifiers), c.expected) << c.screen << " " << c.key;
    }
    // Esc with a dialog open closes the dialog, not the popups.
    TDispatch d;
    d.parts.dialog = true;
    EXPECT_EQ(d.Key(Qt::Key_Escape), TLog{"closedialog"});
    // In the document mode only Esc counts, and it ends the program.
    d.session.DocumentMode = true;
    d.session.CurrentScreen = 1;
    EXPECT_EQ(d.Key(Qt::Key_I, ctrl), TLog{});
    EXPECT_EQ(d.Key(Qt::Key_Escape), (TLog{"terminate", "closedialog"}));
}

}  // namespace
}  // namespace vitrina
