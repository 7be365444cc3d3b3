// The program on the sample disc, with its real panes: chapters, trees, history, popups.
#include <QTest>
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QToolBar>

#include "app/program.h"
#include "app/program_fixture.h"
#include "app/program_parts.h"
#include "app/sample_disc_fixture.h"
#include "commands/dialog_commands.h"
#include "commands/dispatcher.h"
#include "commands/popup_commands.h"
#include "commands/print_commands.h"
#include "commands/search_commands.h"
#include "commands/tree_commands.h"
#include "dialogs/cool_dialog.h"
#include "dialogs/form_options.h"
#include "html/frame_viewer.h"
#include "html/html_fixture.h"
#include "media/background_music.h"
#include "media/media_parts.h"
#include "media/slide_image.h"
#include "media/sound.h"
#include "media/video_area.h"
#include "media/window_clip.h"
#include "panes/html_frame.h"
#include "panes/popup_window.h"
#include "platform/click_sound.h"
#include "platform/cp1251.h"
#include "screen/path_input_box.h"
#include "screen/skin_window.h"
#include "support/temp_folder.h"

namespace vitrina {
namespace {

namespace fs = std::filesystem;


TEST_F(SampleDiscTest, AChapterButtonOpensTheDocumentAndSelectsItsTreeItem) {
    // The start screen shows no document: the engine waits for the first screen that does.
    EXPECT_FALSE(parts->Html());
    ClickButton("screen2=dv_obzor.htm");
    ASSERT_TRUE(parts->Html());
    EXPECT_EQ(program->Session().CurrentScreen, 1);
    ASSERT_TRUE(WaitFor([&] { return Shows("dv_obzor.htm"); }));
    EXPECT_EQ(FocusedDocument(), "dv_obzor.htm");
    EXPECT_TRUE(parts->Trees()->Shown()->isVisible());

    // The next chapter is another document; the history popup then offers the first.
    program->Dispatcher().ExecuteCommand("nextchapter", "", 1, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return Viewer() && !Viewer()->Loading() && !Shows("dv_obzor.htm"); }));
    const std::string second = FocusedDocument();
    EXPECT_NE(second, "dv_obzor.htm");
    EXPECT_TRUE(Shows(LowerCase1251(second)));
    TPopupWindow* back = parts->Popups()->Popup(kPopupHistoryBack);
    ASSERT_TRUE(back);
    ASSERT_TRUE(back->Items()[0].visible);
    EXPECT_EQ(back->Items()[0].command, "history=1");

    program->Dispatcher().ExecuteCommand("back", "", 1, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return Shows("dv_obzor.htm"); }));
    EXPECT_EQ(FocusedDocument(), "dv_obzor.htm") << "the tree follows the history";
}

TEST_F(SampleDiscTest, RightPressInTheDocumentShowsTheContextMenu) {
    ClickButton("screen2=dv_obzor.htm");
    ASSERT_TRUE(WaitFor([&] { return Shows("dv_obzor.htm"); }));
    QWidget* target = Viewer()->focusProxy() ? Viewer()->focusProxy() : Viewer();
    QTest::mousePress(target, Qt::RightButton, {}, QPoint(50, 50));
    QTest::mouseRelease(target, Qt::RightButton, {}, QPoint(50, 50));
    TPopupWindow* menu = parts->Popups()->Popup(kPopupContextHtml);
    ASSERT_TRUE(menu);
    EXPECT_TRUE(WaitFor([&] { return menu->isVisible(); }, 2000));
    // Esc hides every popup.
    QTest::keyClick(form, Qt::Key_Escape);
    EXPECT_TRUE(WaitFor([&] { return !menu->isVisible(); }, 2000));
}

TEST_F(SampleDiscTest, FavoritesSurviveARestart) {
    ClickButton("screen2=dv_obzor.htm");
    ASSERT_TRUE(WaitFor([&] { return Shows("dv_obzor.htm"); }));
    program->Dispatcher().ExecuteCommand("addtofavorite", "", 1, 0, 0);
    program->Dispatcher().ExecuteCommand("addtofavorite", "", 1, 0, 0);
    ASSERT_TRUE(parts->Popups()->Favorites());
    EXPECT_EQ(parts->Popups()->Favorites()->Favorites().size(), 1u) << "the same caption twice is refused";
    Stop();
    Start();
    ASSERT_TRUE(parts->Popups()->Favorites());
    ASSERT_EQ(parts->Popups()->Favorites()->Favorites().size(), 1u);
    EXPECT_NE(parts->Popups()->Favorites()->Favorites()[0].Command.find("dv_obzor.htm"), std::string::npos);
}

TEST_F(SampleDiscTest, TheStandardWindowGivesBackTheWindowTheReaderLeft) {
    ClickButton("screen2=dv_obzor.htm");
    ASSERT_TRUE(WaitFor([&] { return Shows("dv_obzor.htm"); }));
    form->move(120, 90);
    const QRect window = form->geometry();
    QWidget* panel = form->DocumentPanel();
    const QRect viewer = Viewer()->geometry();
    TTreeViews* tree = parts->Trees()->Shown();
    ASSERT_TRUE(tree->isVisible());
    ASSERT_EQ(Viewer()->parentWidget(), panel);

    ClickButton("standartwin");
    QToolBar* toolbar = form->findChild<QToolBar*>();
    ASSERT_TRUE(toolbar && toolbar->isVisible());
    QAction* skinned = nullptr;
    for (QAction* a : toolbar->actions())
        if (a->text() == QString::fromUtf8("Свернуть")) skinned = a;
    ASSERT_TRUE(skinned);
    QTest::mouseClick(toolbar->widgetForAction(skinned), Qt::LeftButton);
    ASSERT_TRUE(WaitFor([&] { return !toolbar->isVisible(); }, 2000));

    EXPECT_EQ(form->geometry(), window);
    EXPECT_EQ(Viewer()->parentWidget(), panel);
    EXPECT_EQ(Viewer()->geometry(), viewer) << "the document stays beside the tree";
    EXPECT_EQ(parts->Trees()->Shown(), tree);
    EXPECT_TRUE(tree->isVisible());
    // The other tree comes up in the same place, with the document beside it.
    program->Dispatcher().ExecuteCommand(tree == parts->Trees()->First() ? "tree1" : "tree2", "", 1, 0, 0);
    TTreeViews* second = parts->Trees()->Shown();
    EXPECT_NE(second, tree);
    EXPECT_TRUE(second->isVisible());
    EXPECT_FALSE(tree->isVisible());
    EXPECT_GE(Viewer()->geometry().left(), second->geometry().right());
}

TEST_F(SampleDiscTest, AnArchiveIsBrowsedAsPagesAndUnpackedIntoThePathBoxFolder) {
    program->Dispatcher().ExecuteCommand("3", "", 1, 0, 0);  // the media screen, with its path box
    ASSERT_TRUE(WaitFor([&] { return Shows("media.htm"); }));
    // As a reader drops the disc's archive on the window.
    program->Dispatcher().FilesDropped({"d:\\archives\\shemy.rar"});
    ASSERT_TRUE(WaitFor([&] { return Shows("as_shemy.rar.htm"); }));
    EXPECT_TRUE(parts->Commands().ShowsArchivePage());
    program->Dispatcher().ExecuteCommand("unarc", "", 1, 0, 0);
    const fs::path unpacked = home.Path() / "c" / "vitrina" / "Архивы" / "shemy.rar";
    EXPECT_TRUE(fs::exists(unpacked / "Схемы" / "Двигатель" / "зажигание.txt"));
    EXPECT_TRUE(fs::exists(unpacked / "readme.txt"));
    ASSERT_TRUE(program->Dialog() && program->Dialog()->isVisible());
    EXPECT_EQ(program->Dialog()->Message(), Utf8ToCp1251("Архив распакован в папку " + unpacked.string()))
        << "the reader is told where the files are";

    // Back at the document the archive was opened from, "unarc" asks for an archive page.
    program->Dispatcher().ExecuteCommand("back", "", 1, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return Shows("media.htm"); }));
    EXPECT_FALSE(parts->Commands().ShowsArchivePage());
    ASSERT_TRUE(program->Dispatcher().Services().dialogs);
    program->Dispatcher().ExecuteCommand("unarc", "", 1, 0, 0);
    EXPECT_TRUE(program->Dispatcher().Services().dialogs->DialogVisible());
    EXPECT_FALSE(fs::exists(unpacked.parent_path() / "shemy1.rar"));
}

// Stands in for the subsystems behind the key table and writes down what reached them.
struct TKeyRecorder : IPopupCommands, ISearchCommands, IPrintCommands, ITreeCommands, IDialogCommands {
    std::vector<std::string> log;
    void OpenPopup(int, int, int) override {}
    void ClosePopups() override {}
    void AddToFavorites() override { log.push_back("favorite"); }
    void ShowFindDialog() override { log.push_back("find"); }
    void CloseFindDialog() override { log.push_back("close find"); }
    bool FindDialogVisible() const override { return true; }
    void FindNext(int) override {}
    void FindAcrossAll(bool) override {}
    void Thesaurus(const std::string&) override { log.push_back("thesaurus"); }
    void FindPaneEnter() override {}
    void ShowWordSearch() override { log.push_back("wordsearch"); }
    void PrintHtml() override {}
    void PrintHtmlDialog() override { log.push_back("print"); }
    void SetPendingDocument(const std::string&) override {}
    void SwitchTree(bool) override {}
    void ShowTrees(bool) override { log.push_back("trees"); }
    void NextChapter() override { log.push_back("next chapter"); }
    void PrevChapter() override { log.push_back("previous chapter"); }
    bool SecondTreeExists() const override { return true; }
    bool AnyTreeVisible() const override { return true; }
    void ShowDialog(int, const std::string&) override {}
    bool DialogVisible() const override { return true; }
    void CloseDialogKey() override { log.push_back("close dialog"); }
};

TEST_F(SampleDiscTest, TheKeyTableAnswersWhereverTheFocusIs) {
    ClickButton("screen2=dv_obzor.htm");
    ASSERT_TRUE(WaitFor([&] { return Shows("dv_obzor.htm"); }));
    TCommandServices& services = program->Dispatcher().Services();
    const TCommandServices kept = services;
    TKeyRecorder recorder;
    services.popups = &recorder;
    services.search = &recorder;
    services.print = &recorder;
    services.trees = &recorder;
    services.dialogs = &recorder;

    struct TKey {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        const char* reaches;
    };
    const TKey keys[] = {
        {Qt::Key_I, Qt::ControlModifier, "favorite"},
        {Qt::Key_F, Qt::ControlModifier, "find"},
        {Qt::Key_P, Qt::ControlModifier, "print"},
        {Qt::Key_T, Qt::ShiftModifier, "thesaurus"},
        {Qt::Key_Down, Qt::ShiftModifier, "next chapter"},
        {Qt::Key_Up, Qt::ShiftModifier, "previous chapter"},
        {Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier, "trees"},
        {Qt::Key_Escape, Qt::NoModifier, "close dialog"},
        {Qt::Key_F1, Qt::NoModifier, "help Topic13"},
    };
    QWidget* document = Viewer()->focusProxy() ? Viewer()->focusProxy() : Viewer();
    const std::pair<const char*, QWidget*> places[] = {
        {"tree", parts->Trees()->Shown()}, {"document", document}, {"background", form}};
    for (const auto& [place, widget] : places) {
        widget->setFocus();
        for (const TKey& k : keys) {
            recorder.log.clear();
            desktop->calls.clear();
            // QTest presses the modifiers first, as a keyboard does.
            QTest::keyClick(widget, k.key, k.modifiers);
            std::vector<std::string> reached = recorder.log;
            reached.insert(reached.end(), desktop->calls.begin(), desktop->calls.end());
            EXPECT_EQ(reached, std::vector<std::string>{k.reaches}) << place << ": " << k.reaches;
        }
    }
    // A path input box lives on the media screen, where only Esc is in the table.
    services = kept;
    program->Dispatcher().ExecuteCommand("3", "", 1, 0, 0);
    ASSERT_EQ(program->Session().CurrentScreen, 2);
    ASSERT_TRUE(form->PathInputBox() && form->PathInputBox()->Box(0));
    services.dialogs = &recorder;
    recorder.log.clear();
    QLineEdit* box = form->PathInputBox()->Box(0);
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Escape);
    EXPECT_EQ(recorder.log, std::vector<std::string>{"close dialog"});
    services = kept;
}

TEST_F(SampleDiscTest, UnpackingWithoutAnArchivePageAsksForAFileInTheMessageBox) {
    TCoolDialog* dialog = program->Dialog();
    ASSERT_TRUE(dialog);
    program->ExecuteCommand("unarc");
    ASSERT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->CurrentDialog(), kMessageDialog);
    EXPECT_EQ(dialog->Message(), Utf8ToCp1251("Выберите файл для распаковки."));
    const QRect main = form->geometry();
    EXPECT_EQ(dialog->x(), main.x() + main.width() / 2 - dialog->width() / 2) << "centred on the main window";
    EXPECT_EQ(dialog->y(), main.y() + main.height() / 2 - dialog->height() / 2);
    ASSERT_TRUE(WaitFor([&] { return !dialog->Fading(); }));
    // Its button closes it.
    ASSERT_EQ(dialog->PlacedButtons().size(), 1u);
    const RBtn& ok = dialog->PlacedButtons()[0];
    const QPoint centre((ok.vx + ok.Right) / 2, (ok.vy + ok.Bottom) / 2);
    QTest::mouseMove(dialog, centre);
    QTest::mousePress(dialog, Qt::LeftButton, {}, centre);
    QTest::mouseRelease(dialog, Qt::LeftButton, {}, centre);
    EXPECT_FALSE(dialog->isVisible());
}

// The music starts after the window's first frame: "Музыка" given between the showing and that
// frame (a command of the command line, a request of another copy) turns it off as if it had
// started at once, and the next one starts it.
TEST_F(SampleDiscTest, TheMusicCommandBeforeTheFirstFrame) {
    Stop();
    Start({}, TProgram::TCreation::Normal, [&] { program->ExecuteCommand("bgsound"); });
    TBackgroundMusic& music = parts->Media()->Music();
    QCoreApplication::sendPostedEvents();
    EXPECT_FALSE(music.StartPending());
    EXPECT_FALSE(music.Player().IsOpen());
    EXPECT_FALSE(program->Session().Settings.BGSound);
    program->ExecuteCommand("bgsound");
    EXPECT_TRUE(program->Session().Settings.BGSound);
    EXPECT_TRUE(WaitFor([&] { return music.Player().GetMode() == TMPlayer::mpPlaying; }));
}

TEST_F(SampleDiscTest, OnExitTheExitSoundIsHeardBeforeTheMusicFadesOut) {
    TBackgroundMusic& music = parts->Media()->Music();
    ASSERT_TRUE(WaitFor([&] { return music.Player().GetMode() == TMPlayer::mpPlaying && !music.Fading(); }));
    bool heard = false, musicOn = false;
    desktop->beforeSoundToEnd = [&] {
        heard = true;
        musicOn = music.Player().IsOpen() && !music.Fading();
    };
    form->OnTerminate = [] {};
    ClickButton("exit");
    Stop();
    EXPECT_TRUE(heard);
    EXPECT_TRUE(musicOn) << "the music still plays while the exit sound is heard";
}

// The disc's songs, clips, window clip, slides and settings dialog.
TEST_F(SampleDiscTest, MediaPlays) {
    TMediaParts& media = *parts->Media();
    auto run = [&](const std::string& command) { program->Dispatcher().ExecuteCommand(command, "", 1, 0, 0); };
    // The songs are named once with the program folder, and the first one plays once the window
    // has painted its first frame.
    TMPlayer& music = media.Music().Player();
    ASSERT_TRUE(WaitFor([&] { return music.GetMode() == TMPlayer::mpPlaying; }));
    EXPECT_EQ(music.FileName, program->Session().ProgramFolder + "music\\song1.mp3");

    run("3");
    run("clip=video\\engine.avi=klip_dvigatel.htm");
    EXPECT_FALSE(program->Session().Settings.BGSound);  // the clip suspends the music
    EXPECT_FALSE(music.IsOpen());
    TVideoArea* area = media.Sound().Areas().at(0);
    ASSERT_TRUE(WaitFor([&] { return !area->Frame().isNull(); }));
    EXPECT_EQ(area->Frame().size(), QSize(400, 224));
    // "Музыка" brings the music back (the clip gives way) and takes it away again.
    run("bgsound");
    EXPECT_TRUE(program->Session().Settings.BGSound);
    EXPECT_TRUE(WaitFor([&] { return music.IsOpen(); }));
    EXPECT_FALSE(media.Sound().IsOpen());
    run("bgsound");
    EXPECT_FALSE(program->Session().Settings.BGSound);
    EXPECT_FALSE(music.IsOpen());

    run("1");
    run("3d");
    TMyAviPlayer* clip = media.WindowClip().Clip();
    ASSERT_NE(clip, nullptr);
    ASSERT_TRUE(WaitFor([&] { return !clip->View()->Frame().isNull(); }));
    EXPECT_TRUE(media.WindowClip().WindowClipPlaying());
    EXPECT_EQ(clip->View()->geometry(), QRect(QPoint(31, 135), QPoint(686, 393)));

    run("4");
    TSlideImage& slides = *media.Slides();
    EXPECT_TRUE(slides.Area(0)->isVisible());
    const std::string first = slides.Shown(0);
    EXPECT_TRUE(first.ends_with("montazhny_blok.bmp")) << first;
    run("nextpic");
    EXPECT_TRUE(slides.Shown(0).ends_with("obshiy_vid.bmp"));
    run("prevpic");
    EXPECT_EQ(slides.Shown(0), first);

    run("options");
    ASSERT_NE(parts->Options(), nullptr);
    EXPECT_TRUE(parts->Options()->isVisible());
    parts->Options()->ButtonCancelClick();
}

}  // namespace
}  // namespace vitrina
