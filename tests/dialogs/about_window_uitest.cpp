// The about window in the program, on a small disc written by the test.
#include "dialogs/about_window.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

#include "app/program_fixture.h"
#include "platform/cp1251.h"
#include "resources/description_scrambler.h"
#include "skin/control_pictures.h"

namespace vitrina {
namespace {

using test::Bmp;

const char* kStruct = "title=О программе\n1 _screen=bg.bmp\n";

// A chamfered shape whose list goes on to its second line, two links and a close button.
const char* kAbout = R"(picture=about.bmp
vertex=[20,0; 280,0; 300,20; 300,140
  280,160; 20,160; 0,140; 0,20]
text
  vx=10; vy=20; font=DejaVu Sans; size=10; style=; color=255,255,255
  value=http://site.example/disc?from=about
  idenf=url
text vx=10; vy=60; font=DejaVu Sans; size=10; style=underline; color=255,255,255; value=mail@site.example; idenf=URL
button vx=200; vy=120; fn1=b_up.bmp; fn2=b_mv.bmp; hint=Закрыть; wav=click.wav
)";

std::string Scrambled(const std::string& utf8) {
    std::string text;
    for (char c : Utf8ToCp1251(utf8)) text += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return ScrambleDescription(text);
}

template <typename F>
bool WaitFor(F done, int ms = 5000) {
    for (int i = 0; i < ms / 10 && !done(); ++i) QTest::qWait(10);
    return done();
}

class AboutWindow : public ::testing::Test {
protected:
    AboutWindow() {
        program.disc.folder.Write("disc/click.wav", test::Wav(20));
        program.Start();
    }
    TAboutBox& Shown() {
        program.Execute("about");
        TAboutBox* box = program.program->About() ? program.program->About()->Window() : nullptr;
        EXPECT_TRUE(box && box->isVisible());
        EXPECT_TRUE(box && WaitFor([&] { return !box->Fading(); }));
        return *box;
    }
    static QPoint Centre(const RBtn& b) { return {(b.vx + b.Right) / 2, (b.vy + b.Bottom) / 2}; }

    test::TTestProgram program{kStruct,
                               {{"bg.bmp", Bmp(600, 400, Qt::gray)},
                                {"about.bmp", Bmp(300, 160, Qt::black)},
                                {"b_up.bmp", Bmp(60, 20, Qt::darkGreen)},
                                {"b_mv.bmp", Bmp(60, 20, Qt::green)},
                                {"About.cfs", Scrambled(kAbout)}},
                               false};
};

TEST_F(AboutWindow, AboutShowsTheShapedWindowWithItsLinksAndButton) {
    TAboutBox& box = Shown();
    EXPECT_EQ(box.size(), QSize(300, 160));
    // Eight corners: the chamfers are cut away, the middle stays.
    EXPECT_FALSE(box.Shape().contains(QPoint(2, 2)));
    EXPECT_FALSE(box.Shape().contains(QPoint(297, 157)));
    EXPECT_TRUE(box.Shape().contains(QPoint(150, 150)));
    EXPECT_EQ(box.mask(), box.Shape());

    const TDynamicBtnArray& entries = box.Entries();
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_FALSE(entries[0].IsLink);
    EXPECT_EQ(entries[0].Right, 260);
    EXPECT_EQ(entries[0].Bottom, 140);
    EXPECT_TRUE(entries[1].IsLink);
    EXPECT_EQ(entries[1].go, "http://site.example/disc?from=about");
    EXPECT_EQ(entries[2].go, "mailto:mail@site.example");

    // The link area spans the whole address; the ink only the part before its "?".
    const QFontMetrics metrics(SkinFont("dejavu sans", 10, 0), &box.Background());
    const int whole = metrics.horizontalAdvance("http://site.example/disc?from=about");
    const int cut = metrics.horizontalAdvance("http://site.example/disc");
    EXPECT_EQ(entries[1].Right - entries[1].vx, whole);
    int lastInk = -1;
    for (int x = 0; x < box.Background().width(); ++x)
        for (int y = 20; y < 20 + metrics.height(); ++y)
            if (box.Background().pixelColor(x, y).lightness() > 128) lastInk = x;
    EXPECT_GT(lastInk, 10 + cut / 2);
    EXPECT_LE(lastInk, 10 + cut + 2);
    // The button's up picture is drawn in once.
    EXPECT_EQ(box.Background().pixelColor(230, 130), QColor(Qt::darkGreen));
}

// The main window is 600x400 and the about window 300x160.
TEST_F(AboutWindow, TheWindowIsCentredOverTheMainWindowWhereItStandsAndStaysOnTheScreen) {
    ASSERT_TRUE(QGuiApplication::primaryScreen());
    const QRect free = QGuiApplication::primaryScreen()->availableGeometry();
    // Centred on the free area (the main window may be larger than a scaled screen).
    program.Window().move(free.center() - QPoint(300, 200));
    TAboutBox& box = Shown();
    EXPECT_EQ(box.geometry().center(), program.Window().geometry().center());
    box.close();
    // The main window's centre near the free area's lower left corner: the about window would
    // stick out there.
    program.Window().move(free.left() + 50 - 300, free.bottom() - 50 - 200);
    Shown();
    EXPECT_EQ(box.pos(), QPoint(free.left(), free.bottom() + 1 - 160)) << "within the screen";
}

TEST_F(AboutWindow, LinksOpenThroughTheDesktopAndAnyButtonClosesTheWindow) {
    TAboutBox& box = Shown();
    const RBtn site = box.Entries()[1], mail = box.Entries()[2], close = box.Entries()[0];
    // Pointer moves go to the window under the pointer, which this platform may not know: they
    // are handed to the window's own handler.
    box.FormMouseMove(Centre(site).x(), Centre(site).y());
    EXPECT_EQ(box.cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseClick(&box, Qt::LeftButton, {}, Centre(site));
    box.FormMouseMove(Centre(mail).x(), Centre(mail).y());
    QTest::mouseClick(&box, Qt::LeftButton, {}, Centre(mail));
    EXPECT_TRUE(box.isVisible());
    const std::vector<std::string> opened{"shell http://site.example/disc?from=about",
                                          "shell mailto:mail@site.example"};
    EXPECT_EQ(program.desktop.calls, opened);
    box.FormMouseMove(150, 100);
    EXPECT_NE(box.cursor().shape(), Qt::PointingHandCursor);

    box.FormMouseMove(Centre(close).x(), Centre(close).y());
    QTest::mouseClick(&box, Qt::LeftButton, {}, Centre(close));
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(program.desktop.calls.size(), 2u);  // a button runs nothing

    // Shown again, it is the same window; Esc and Enter close it.
    for (const auto key : {Qt::Key_Escape, Qt::Key_Return}) {
        EXPECT_EQ(&Shown(), &box);
        QTest::keyClick(&box, key);
        EXPECT_FALSE(box.isVisible());
    }
}

TEST(AboutWindowAbsent, WithoutAboutCfsAboutDoesNothing) {
    test::TTestProgram program{kStruct, {{"bg.bmp", Bmp(600, 400, Qt::gray)}}};
    EXPECT_EQ(program.program->About(), nullptr);
    program.Execute("about");
    for (QWidget* w : QApplication::topLevelWidgets()) EXPECT_EQ(dynamic_cast<TAboutBox*>(w), nullptr);
}

}  // namespace
}  // namespace vitrina
