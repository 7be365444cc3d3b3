#include "screen/skin_window.h"

#include <algorithm>

#include <QApplication>
#include <QScreen>
#include <QEventLoop>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "app/program_fixture.h"
#include "session/busy.h"
#include "commands/clip_commands.h"
#include "commands/tree_commands.h"
#include "platform/click_sound.h"
#include "platform/registry.h"
#include "screen/path_input_box.h"
#include "screen/status_line.h"
#include "screen/text_msg.h"

namespace vitrina {
namespace {

const QColor kUp(200, 0, 0), kMv(0, 200, 0), kDn(0, 0, 200);
const QColor kSwUp(10, 10, 10), kSwMvUp(60, 60, 60), kSwMvDn(120, 120, 120), kSwDn(250, 250, 250);
const QColor kBg1(255, 255, 200), kBg2(200, 255, 255);

// Screen 1: two buttons (screen 2, a command that does nothing), one stored switch, a group of
// two; screen 2: one button, then the window buttons. The close button has a click sound.
const char* kStruct = R"(title=проба
minimize
vx=300
vy=5
fn1=b_up.bmp
fn2=b_mv.bmp
fn3=b_dn.bmp
hint=Свернуть
wav=no
close
vx=340
vy=5
fn1=b_up.bmp
fn2=b_mv.bmp
fn3=b_dn.bmp
hint=Выход
wav=click.wav
vertexmain=[0,0;399,0;399,299;0,299]
button 1
vx=10
vy=50
fn1=b_up.bmp
fn2=b_mv.bmp
fn3=b_dn.bmp
go=screen2
hint=Второй экран
wav=click.wav
button 1
vx=60
vy=50
fn1=b_up.bmp
fn2=b_mv.bmp
fn3=b_dn.bmp
go=caseon
hint=Учёт регистра
wav=no
switchone 1
vx=10
vy=120
fn1=s0.bmp
fn2=s1.bmp
fn3=s2.bmp
fn4=s3.bmp
state=off
store=on
goup=caseoff
godown=caseon
hint=Переключатель
wav=no
switchgrp 1
vx=10
vy=200
fn1=s0.bmp
fn2=s1.bmp
fn3=s2.bmp
fn4=s3.bmp
state=on
store=on
group=1
go=caseoff
hint=Первый
wav=no
switchgrp 1
vx=60
vy=200
fn1=s0.bmp
fn2=s1.bmp
fn3=s2.bmp
fn4=s3.bmp
state=off
store=on
group=1
go=caseon
hint=Второй
wav=no
_screen=bg1.bmp
_text 1
vx=150
vy=250
vw=390
font=Arial
size=10
style=bold
color=0,0,0
value=Готово
ident=statusline
number=1
_path 2
vx=100
vy=100
vw=300
vh=120
pathdef=c:\games
hint=Папка
button 2
vx=10
vy=50
fn1=b_up.bmp
fn2=b_mv.bmp
fn3=b_dn.bmp
go=1
hint=Назад
wav=no
_screen=bg2.bmp
)";

std::vector<TContainerEntry> Pictures() {
    return {{"b_up.bmp", test::Bmp(30, 20, kUp)},    {"b_mv.bmp", test::Bmp(30, 20, kMv)},
            {"b_dn.bmp", test::Bmp(30, 20, kDn)},    {"s0.bmp", test::Bmp(30, 20, kSwUp)},
            {"s1.bmp", test::Bmp(30, 20, kSwMvUp)},  {"s2.bmp", test::Bmp(30, 20, kSwMvDn)},
            {"s3.bmp", test::Bmp(30, 20, kSwDn)},    {"bg1.bmp", test::Bmp(400, 300, kBg1)},
            {"bg2.bmp", test::Bmp(400, 300, kBg2)}};
}

// The program on the test disc, with a click sound beside the description.
struct TWindow : test::TTestProgram {
    TSkinWindow* form = nullptr;

    explicit TWindow(const char* text = kStruct, std::vector<TContainerEntry> pictures = Pictures())
        : TTestProgram(text, std::move(pictures), false) {
        disc.folder.Write("disc/click.wav", test::Wav(200));
        Start();
        form = &Window();
    }
    void Restart() {
        TTestProgram::Restart();
        form = &Window();
    }
    void Dispatch(const std::string& command, const std::string& sound, int silent, int kind, int index) {
        program->Dispatcher().ExecuteCommand(command, sound, silent, kind, index);
    }
};

// Waits until the condition holds; the bound only keeps a broken fade from hanging the suite.
template <typename F>
bool WaitFor(F done) {
    for (int i = 0; i < 500 && !done(); ++i) QTest::qWait(10);
    return done();
}

bool Near(QColor a, QColor b) {
    return std::abs(a.red() - b.red()) <= 1 && std::abs(a.green() - b.green()) <= 1 && std::abs(a.blue() - b.blue()) <= 1;
}

TEST(SkinWindow, StartsOnScreenOneWithItsPicturesAndShape) {
    TWindow w;
    ASSERT_EQ(w.Creation(), TProgram::TCreation::Normal);
    EXPECT_EQ(w.Session().Title, "\xCF\xF0\xEE\xE1\xE0");  // "Проба", first letter upper-cased
    EXPECT_EQ(w.form->windowTitle(), QString::fromUtf8("Проба"));
    EXPECT_EQ(w.form->size(), QSize(400, 300));
    EXPECT_EQ(w.Session().CurrentScreen, 0);
    EXPECT_EQ(w.form->ButtonPictures().size(), 4u);  // two buttons, then the window buttons
    EXPECT_EQ(w.Pixel(5, 5), kBg1);
    EXPECT_EQ(w.Pixel(20, 60), kUp);   // up pictures are part of the background
    EXPECT_EQ(w.Pixel(20, 130), kSwUp);
    EXPECT_EQ(w.Pixel(20, 210), kSwDn);  // the selected member shows its down picture
    EXPECT_TRUE(w.form->Shape().contains(QPoint(200, 150)));
    // The status line's text area paints its value.
    ASSERT_NE(w.form->TextMsg(), nullptr);
    EXPECT_EQ(w.form->TextMsg()->Text(0), "\xC3\xEE\xF2\xEE\xE2\xEE");
}

TEST(SkinWindow, HoverFadesReachTheirTargetAndBack) {
    TWindow w;
    QTest::mouseMove(w.form, QPoint(25, 60));
    EXPECT_TRUE(w.form->ButtonPictures()[0].hovered);
    ASSERT_TRUE(WaitFor([&] { return !w.form->ButtonPictures()[0].effect->Running(); }));
    EXPECT_TRUE(Near(w.Pixel(25, 60), kMv)) << w.Pixel(25, 60).name().toStdString();
    QTest::mouseMove(w.form, QPoint(200, 280));
    EXPECT_FALSE(w.form->ButtonPictures()[0].hovered);
    ASSERT_TRUE(WaitFor([&] { return !w.form->ButtonPictures()[0].effect->Running(); }));
    EXPECT_TRUE(Near(w.Pixel(25, 60), kUp));
}

TEST(SkinWindow, LeavingHalfwayFadesBackFromTheLevelReached) {
    TWindow w;
    TEffBtnCar& effect = *w.form->ButtonPictures()[0].effect;
    QTest::mouseMove(w.form, QPoint(25, 60));
    ASSERT_TRUE(WaitFor([&] { return !effect.Shown().isNull() && effect.Shown().pixelColor(1, 1).green() > 60; }));
    QTest::mouseMove(w.form, QPoint(200, 280));
    // The first frame of the way back is no greener than the frame the hover had reached.
    const int reached = effect.Shown().pixelColor(1, 1).green();
    ASSERT_TRUE(WaitFor([&] { return !effect.Running(); }));
    EXPECT_GT(reached, 0);
    EXPECT_TRUE(Near(w.Pixel(25, 60), kUp));
}

TEST(SkinWindow, PressAndReleaseRunTheCommandOnce) {
    TWindow w;
    QTest::mouseMove(w.form, QPoint(75, 60));
    QTest::mousePress(w.form, Qt::LeftButton, {}, QPoint(75, 60));
    EXPECT_TRUE(w.form->ButtonPictures()[1].pressed);
    EXPECT_FALSE(w.Session().MatchCase);  // nothing runs on the press
    QTest::mouseRelease(w.form, Qt::LeftButton, {}, QPoint(75, 60));
    EXPECT_TRUE(w.Session().MatchCase);
    EXPECT_FALSE(w.form->ButtonPictures()[1].pressed);
    // A second release without a press runs nothing and fades from down to up.
    w.Session().MatchCase = false;
    QTest::mouseRelease(w.form, Qt::LeftButton, {}, QPoint(75, 60));
    EXPECT_FALSE(w.Session().MatchCase);
}

TEST(SkinWindow, EdgePixelsHitNothing) {
    TWindow w;
    // The button spans 60..90 x 50..70; its edges are outside.
    QTest::mousePress(w.form, Qt::LeftButton, {}, QPoint(60, 60));
    EXPECT_FALSE(w.form->ButtonPictures()[1].pressed);
    QTest::mousePress(w.form, Qt::RightButton, {}, QPoint(61, 51));
    EXPECT_TRUE(w.form->ButtonPictures()[1].pressed);  // any mouse button presses
}

TEST(SkinWindow, ShiftTogglesASwitchWithoutItsCommand) {
    TWindow w;
    RSwthOne& sw = w.Session().Model.ScreenSwitches[0][0];
    w.Session().MatchCase = false;
    QTest::mousePress(w.form, Qt::LeftButton, Qt::ShiftModifier, QPoint(20, 130));
    EXPECT_TRUE(sw.state);
    EXPECT_FALSE(w.Session().MatchCase);  // godown "caseon" did not run
    QTest::mousePress(w.form, Qt::LeftButton, {}, QPoint(20, 130));
    EXPECT_FALSE(sw.state);
    QTest::mousePress(w.form, Qt::LeftButton, {}, QPoint(20, 130));
    EXPECT_TRUE(sw.state);
    EXPECT_TRUE(w.Session().MatchCase);  // now it ran
}

TEST(SkinWindow, GroupMembersExcludeEachOther) {
    TWindow w;
    auto& g = w.Session().Model.ScreenGroups[0];
    ASSERT_TRUE(g[0].state);
    w.Session().MatchCase = false;
    QTest::mousePress(w.form, Qt::LeftButton, {}, QPoint(70, 210));
    EXPECT_TRUE(g[1].state);
    EXPECT_FALSE(g[0].state);
    EXPECT_TRUE(w.Session().MatchCase);
    EXPECT_EQ(w.Pixel(20, 210), kSwUp);
    // Pressing the selected member changes nothing and runs nothing.
    w.Session().MatchCase = false;
    QTest::mousePress(w.form, Qt::LeftButton, {}, QPoint(70, 210));
    EXPECT_TRUE(g[1].state);
    EXPECT_FALSE(w.Session().MatchCase);
}

TEST(SkinWindow, ScreenSwitchResizesThePictureSets) {
    TWindow w;
    QTest::mousePress(w.form, Qt::LeftButton, {}, QPoint(25, 60));
    QTest::mouseRelease(w.form, Qt::LeftButton, {}, QPoint(25, 60));
    EXPECT_EQ(w.Session().CurrentScreen, 1);
    EXPECT_EQ(w.form->ButtonPictures().size(), 3u);
    EXPECT_EQ(w.form->SwitchPictures().size(), 0u);
    EXPECT_EQ(w.form->GroupPictures().size(), 0u);
    EXPECT_EQ(w.form->size(), QSize(400, 300));
    EXPECT_EQ(w.Pixel(5, 5), kBg2);
    // The path box of screen 2 shows, with its default text.
    ASSERT_EQ(w.form->PathInputBox()->Count(), 1u);
    EXPECT_TRUE(w.form->PathInputBox()->Box(0)->isVisible());
    EXPECT_EQ(w.form->PathInputBox()->Box(0)->text(), QString("c:\\games"));
    // Back with the numeric command "1": the sets grow again.
    w.Dispatch("1", "1", 1, 0, 0);
    EXPECT_EQ(w.Session().CurrentScreen, 0);
    EXPECT_EQ(w.form->ButtonPictures().size(), 4u);
    EXPECT_EQ(w.form->SwitchPictures().size(), 1u);
    EXPECT_EQ(w.form->GroupPictures().size(), 2u);
    EXPECT_FALSE(w.form->PathInputBox()->Box(0)->isVisible());
    // A screen the description does not have is refused.
    w.Dispatch("screen9=x.htm", "", 1, 0, 0);
    EXPECT_EQ(w.Session().CurrentScreen, 0);
}

TEST(SkinWindow, StoredStatesAndPathsSurviveARestart) {
    TWindow w;
    QTest::mousePress(w.form, Qt::LeftButton, {}, QPoint(20, 130));  // switch down
    QTest::mousePress(w.form, Qt::LeftButton, {}, QPoint(70, 210));  // second member
    w.Dispatch("2", "2", 1, 0, 0);
    w.form->PathInputBox()->Box(0)->setText("d:\\x");
    w.Restart();
    EXPECT_TRUE(w.Session().Model.ScreenSwitches[0][0].state);
    EXPECT_FALSE(w.Session().Model.ScreenGroups[0][0].state);
    EXPECT_TRUE(w.Session().Model.ScreenGroups[0][1].state);
    EXPECT_EQ(w.Pixel(20, 130), kSwDn);
    EXPECT_EQ(w.form->PathInputBox()->Box(0)->text(), QString("d:\\x"));
    TRegistry reg(w.disc.Folders().config);
    ASSERT_TRUE(reg.OpenKey("SOFTWARE\\Quarnelo\\\xCF\xF0\xEE\xE1\xE0", false));
    EXPECT_TRUE(reg.ReadBool("SwOne00"));
    EXPECT_TRUE(reg.ReadBool("SwGrp01"));
    EXPECT_TRUE(reg.ReadBool("Wav"));  // the options were written back on the first run
}

// The offscreen screen is 800x600 and the window 400x300.
TEST(SkinWindow, TheWindowComesBackToItsPlaceWhenThatIsOnAScreen) {
    TWindow w;
    // A place on the screen whatever the scale factor makes of its size.
    const QRect area = w.form->screen()->availableGeometry();
    if (w.form->width() > area.width()) GTEST_SKIP() << "the window is wider than the screen";
    const QPoint place(area.left() + std::min(70, area.width() - w.form->width()), area.top() + std::min(125, area.height() / 2));
    w.form->move(place);
    w.Restart();
    EXPECT_EQ(w.form->pos(), place);
    // A place where the top strip would not be wholly on a screen now: beyond it, sticking out of
    // its right edge, above its top.
    for (const QPoint gone : {QPoint(2000, 100), QPoint(500, 100), QPoint(70, -30)}) {
        w.form->move(gone);
        w.Restart();
        EXPECT_NE(w.form->pos(), gone);
    }
    w.program.reset();
    TRegistry reg(w.disc.Folders().config);
    ASSERT_TRUE(reg.OpenKey("SOFTWARE\\Quarnelo\\\xCF\xF0\xEE\xE1\xE0", false));
    reg.WriteInteger("WindowLeft", 30);
    reg.WriteInteger("WindowTop", 40);
    reg.DeleteValue("WindowTop");
    reg.CloseKey();
    w.Start();
    w.form = &w.Window();
    EXPECT_NE(w.form->pos(), QPoint(30, 40)) << "half a place is none";
}

TEST(SkinWindow, AClearedPathBoxIsSavedEmptyAndShowsItsDefaultNextTime) {
    TWindow w;
    w.form->PathInputBox()->Box(0)->setText("");
    w.Restart();
    EXPECT_EQ(w.form->PathInputBox()->Box(0)->text(), QString("c:\\games"));
    TRegistry reg(w.disc.Folders().config);
    ASSERT_TRUE(reg.OpenKey("SOFTWARE\\Quarnelo\\\xCF\xF0\xEE\xE1\xE0", false));
    EXPECT_TRUE(reg.ValueExists("PathInstall0"));
    EXPECT_EQ(reg.ReadString("PathInstall0"), "");  // the first run saved it empty
    std::string path = "unchanged";
    w.form->PathInputBox()->CurrentPath(path);  // screen 1 has no box
    EXPECT_EQ(path, "unchanged");
    w.Dispatch("2", "", 1, 0, 0);
    w.form->PathInputBox()->CurrentPath(path);
    EXPECT_EQ(path, "c:\\games\\");
}

// The disc gives the path box its first folder, but never one on the host (z:), where a "copy:"
// link would write over the reader's files: the box then starts at the program's own folder.
// A folder the reader types, on the host too, stays theirs.
TEST(SkinWindow, OnlyTheReaderPointsThePathBoxAtTheHost) {
    struct TCase {
        const char* pathdef;
        const char* typed;  // null: the reader leaves the box alone
        const char* shown;  // after a restart
    };
    const TCase cases[] = {
        {"z:\\home\\reader\\.config", nullptr, "c:\\vitrina"},
        {"Z:\\", nullptr, "c:\\vitrina"},
        {"c:\\games", nullptr, "c:\\games"},
        {"d:\\setup", nullptr, "d:\\setup"},
        {"z:\\home\\reader", "z:\\home\\reader\\mine", "z:\\home\\reader\\mine"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.pathdef);
        std::string text = kStruct;
        const std::string old = "pathdef=c:\\games";
        text.replace(text.find(old), old.size(), std::string("pathdef=") + c.pathdef);
        TWindow w(text.c_str());
        w.Dispatch("2", "", 1, 0, 0);
        if (c.typed) w.form->PathInputBox()->Box(0)->setText(c.typed);
        w.Restart();
        w.Dispatch("2", "", 1, 0, 0);
        EXPECT_EQ(w.form->PathInputBox()->Box(0)->text().toStdString(), c.shown);
        std::string path;
        w.form->PathInputBox()->CurrentPath(path);
        EXPECT_EQ(path, std::string(c.shown) + "\\");
    }
}

TEST(SkinWindow, ASecondCopyWithTheSameTitleExitsWithoutAWindow) {
    TWindow w;
    TStartOptions options;
    options.animations = false;
    TProgram second(w.drives, w.disc.Folders(), w.desktop, options);
    second.Start();
    EXPECT_EQ(second.Creation(), TProgram::TCreation::SecondCopy);
    EXPECT_TRUE(second.Session().DocumentMode);
    EXPECT_FALSE(second.Window().isVisible());
    EXPECT_TRUE(second.Window().ButtonPictures().empty());
}

TEST(SkinWindow, MissingContainerOrDescriptionEndsCreation) {
    test::TTestDisc disc("title=x\n");
    TDriveMap drives(disc.folder.Path() / "nowhere", disc.Folders().data);
    TClickSound sounds;
    test::TRecordingDesktop desktop(drives, sounds);
    TProgram program(drives, disc.Folders(), desktop, {});
    program.Start();
    EXPECT_EQ(program.Creation(), TProgram::TCreation::NoContainer);
    EXPECT_FALSE(program.CreationMessage().empty());

    disc.folder.Write("disc2/Vuv.dhl", WriteContainer({{"Other.cfs", "x"}}));
    TDriveMap drives2(disc.folder.Path() / "disc2", disc.Folders().data);
    TProgram program2(drives2, disc.Folders(), desktop, {});
    program2.Start();
    EXPECT_EQ(program2.Creation(), TProgram::TCreation::NoDescription);
}

TEST(SkinWindow, TheBusyFlagDropsCommands) {
    TWindow w;
    {
        const TBusy busy;
        w.Dispatch("2", "click.wav", 0, 0, 0);
        w.Dispatch("caseon", "", 0, 0, 0);
    }
    EXPECT_EQ(w.Session().CurrentScreen, 0);
    EXPECT_FALSE(w.Session().MatchCase);
    EXPECT_TRUE(w.sounds.Played().empty());  // no sound either
    w.Dispatch("caseon", "", 0, 0, 0);
    EXPECT_TRUE(w.Session().MatchCase);
}

TEST(SkinWindow, ClickSoundsFollowTheRule) {
    TWindow w;
    w.Dispatch("caseon", "click.wav", 0, 0, 0);
    w.Dispatch("caseon", "click.wav", 1, 0, 0);  // silent
    w.Dispatch("caseon", "no", 0, 0, 0);
    w.Dispatch("caseon", "", 0, 0, 0);
    ASSERT_EQ(w.sounds.Played().size(), 1u);
    EXPECT_EQ(w.sounds.Played()[0].file, w.disc.disc / "click.wav");
    EXPECT_FALSE(w.sounds.Played()[0].toEnd);
    w.Session().Settings.Wav = false;
    w.Dispatch("caseon", "click.wav", 0, 0, 0);
    EXPECT_EQ(w.sounds.Played().size(), 1u);
}

TEST(SkinWindow, ExitButtonsSoundIsPlayedToItsEndAtDestruction) {
    TWindow w;
    bool terminated = false;
    w.form->OnTerminate = [&] { terminated = true; };
    // The close button is the last button of screen 1; release it as a click would.
    const RBtn close = w.Session().Model.ScreenButtons[0][3];
    ASSERT_EQ(close.go, "exit");
    QTest::mousePress(w.form, Qt::LeftButton, {}, QPoint(close.vx + 5, close.vy + 5));
    QTest::mouseRelease(w.form, Qt::LeftButton, {}, QPoint(close.vx + 5, close.vy + 5));
    EXPECT_EQ(w.Session().ExitButton, 3);
    EXPECT_TRUE(terminated);            // the closing sequence ran (no animation in tests)
    EXPECT_TRUE(w.sounds.Played().empty());  // not at the click
    w.program.reset();
    ASSERT_EQ(w.sounds.Played().size(), 1u);
    EXPECT_EQ(w.sounds.Played()[0].file, w.disc.disc / "click.wav");
    EXPECT_TRUE(w.sounds.Played()[0].toEnd);
    EXPECT_TRUE(w.sounds.Played()[0].completed);
}

TEST(SkinWindow, ExitFromAKeyUsesButtonZerosSound) {
    TWindow w;
    w.form->OnTerminate = [] {};
    w.Dispatch("exit", "exit", 1, 0, 0);
    EXPECT_EQ(w.Session().ExitButton, 0);
    w.Dispatch("EXIT", "", 1, 0, 0);  // capitals are not exit
}

TEST(SkinWindow, F1ShowsTheTopicOfTheScreen) {
    TWindow w;
    QTest::keyClick(w.form, Qt::Key_F1);
    w.Dispatch("2", "", 1, 0, 0);
    QTest::keyClick(w.form, Qt::Key_F1);
    w.Dispatch("help", "help", 1, 0, 0);
    EXPECT_EQ(w.desktop.calls, (std::vector<std::string>{"help Topic12", "help Topic13", "help Topic13"}));
}

TEST(SkinWindow, ScreenCommandWithADocumentSetsThePendingDocument) {
    TWindow w;
    w.Dispatch("Screen2=doc.htm", "", 1, 0, 0);
    EXPECT_EQ(w.Session().CurrentScreen, 1);
    // The first tree keeps it for when it shows (this disc's tree is hidden).
    EXPECT_EQ(w.Parts().Trees()->First()->PendingDocument, "d:\\doc.htm");
}

// A first screen with the window clip's "3d" switch, and a second screen.
const char* kClipStruct = R"(title=клип
switchone 1
vx=10
vy=10
fn1=s0.bmp
fn2=s1.bmp
fn3=s2.bmp
fn4=s3.bmp
state=on
store=off
goup=2d
godown=3d
hint=x
wav=no
_screen=bg1.bmp
button 2
vx=10
vy=50
fn1=b_up.bmp
fn2=b_mv.bmp
fn3=b_dn.bmp
go=1
hint=x
wav=no
_screen=bg2.bmp
)";

// A window clip that is always shown and halted, and writes down what it is asked.
struct TRecordingClips : IClipCommands {
    std::vector<std::string> calls;
    bool ClipPlayerExists() const override { return false; }
    void CreateClip3d() override {}
    void SwitchClipMode(bool moving) override { calls.push_back(moving ? "3d" : "2d"); }
    void PauseClip() override {}
    bool WindowClipExists() const override { return true; }
    bool WindowClipShown() const override { return true; }
    bool WindowClipPlaying() const override { return false; }
    bool WindowClipHaltedOrPaused() const override { return true; }
    bool WindowClipPausedByUser() const override { return false; }
    bool InsideWindowClip(int, int) const override { return false; }
    void ToggleWindowClip() override {}
    void FreezeWindowClip() override { calls.push_back("freeze"); }
    void ResumeWindowClip() override { calls.push_back("resume"); }
    void DrawFrozenFrame(QImage&) override {}
    void ReleaseWindowClip() override {}
};

TEST(SkinWindow, The3dSwitchRunsAtStartButIsNotReplayedAndTheClipResumesOnTheFirstScreen) {
    test::TTestProgram w(kClipStruct, Pictures(), false);
    TRecordingClips clips;
    w.Start([&](TCommandServices& services) { services.clips = &clips; });
    ASSERT_EQ(w.Creation(), TProgram::TCreation::Normal);
    EXPECT_EQ(clips.calls, (std::vector<std::string>{"3d"}));
    w.Execute("2");  // screen index 1 freezes the clip
    w.Execute("1");
    EXPECT_EQ(clips.calls, (std::vector<std::string>{"3d", "freeze"}));  // "3d" is not replayed
    ASSERT_TRUE(WaitFor([&] { return clips.calls.size() == 3; }));
    EXPECT_EQ(clips.calls.back(), "resume");
}

TEST(StatusLine, BlinksAndSkipsEqualTexts) {
    TWindow w;
    TTextMsg& text = *w.form->TextMsg();
    TStatusLine& status = *w.form->StatusLine();
    const int before = text.RepaintRequests();
    text.SetText(text.Text(0), -1, true);  // equal: nothing
    EXPECT_EQ(text.RepaintRequests(), before);
    status.Show("abc");
    EXPECT_EQ(text.Text(0), "abc");
    EXPECT_TRUE(status.Blinking());
    status.Tick();  // counter 1: hidden
    EXPECT_EQ(text.Text(0), "");
    status.Tick();  // counter 2: shown
    EXPECT_EQ(text.Text(0), "abc");
    status.Show("new");  // restarts from the new text
    EXPECT_EQ(status.Counter(), 1);
    for (int i = 0; i < 40; ++i) status.Tick();
    EXPECT_FALSE(status.Blinking());
    EXPECT_EQ(text.Text(0), "");
}

}  // namespace
}  // namespace vitrina

namespace vitrina {
namespace {

// A part that fails while the window is built (here the clip, on a start-up command) ends
// start-up with a message instead of leaving a half-built window reported as started.
TEST(SkinWindow, AFailureDuringStartUpEndsItWithAMessage) {
    struct TFailingClips : TRecordingClips {
        void SwitchClipMode(bool) override { throw std::runtime_error("the clip cannot start"); }
    } clips;
    test::TTestProgram w(kClipStruct, Pictures(), false);
    w.Start([&](TCommandServices& services) { services.clips = &clips; });
    EXPECT_EQ(w.Creation(), TProgram::TCreation::Failed);
    EXPECT_NE(w.program->CreationMessage().find("the clip cannot start"), std::string::npos);
    EXPECT_FALSE(w.Window().isVisible());
}

}  // namespace
}  // namespace vitrina
