// The skinned dialog in the program, on a small disc written by the test.
#include "dialogs/cool_dialog.h"
#include "screen/status_line.h"
#include "search/make_find.h"

#include <QTest>

#include <optional>
#include <gtest/gtest.h>

#include "app/program_fixture.h"
#include "session/busy.h"
#include "commands/dispatcher.h"
#include "resources/description.h"
#include "resources/description_scrambler.h"
#include "search/dialog_find_pane.h"
#include "support/image_bytes.h"

namespace vitrina {
namespace {

using test::Bmp;

constexpr int kPictureWidth = 200, kPictureHeight = 80;

const char* kStruct = "title=Диалоги\n1 _screen=bg.bmp\n";

// Dialog 1: the message box with three buttons of three alignments; 2: a missing picture;
// 3: switches of two groups.
const char* kDialogs = R"(1 _picture=msg.bmp
1 _text
vx=20; vy=10; vw=180; font=DejaVu Sans; size=10; style=; color=255,255,255; value=не рисуется
1 _button vx=10; vy=50; align=left; fn1=b_up.bmp; fn2=b_mv.bmp; fn3=b_dn.bmp; go=ok; hint=Закрыть; wav=click.wav
1 _button vx=80; vy=50; align=middle; fn1=b_up.bmp; fn2=b_mv.bmp; fn3=b_dn.bmp; go=findnext1; hint=Искать; wav=click.wav
1 _button vx=150; vy=50; align=right; fn1=b_up.bmp; fn2=b_mv.bmp; fn3=b_dn.bmp; go=ok; hint=; wav=no
2 _picture=missing.bmp
2 _button vx=10; vy=50; align=left; fn1=b_up.bmp; fn2=b_mv.bmp; fn3=b_dn.bmp; go=ok; hint=; wav=no
3 _picture=msg.bmp
3 switchgrp vx=10; vy=10; fn1=s_up.bmp; fn2=s_mvup.bmp; fn3=s_mvdn.bmp; fn4=s_dn.bmp
textcaptionup=Текст; textcaptiondn=Текст; texttx=2; textty=2; textbx=38; textby=18; textfontname=DejaVu Sans
textfontsize=9; textfontcolorup=255,255,255
state=on; store=on; group=1; go=findtxtlimit; hint=; wav=switch.wav
3 switchgrp vx=60; vy=10; fn1=s_up.bmp; fn2=s_mvup.bmp; fn3=s_mvdn.bmp; fn4=s_dn.bmp
state=off; store=on; group=1; go=findtxtall; hint=; wav=switch.wav
3 switchgrp vx=110; vy=10; fn1=s_up.bmp; fn2=s_mvup.bmp; fn3=s_mvdn.bmp; fn4=s_dn.bmp
state=on; store=on; group=2; go=findtxtcontents; hint=; wav=switch.wav
)";

const QColor kLeft(0, 0, 160), kMiddle(0, 160, 0), kRight(160, 0, 0), kButton(200, 200, 0);

// Blue left of the middle column, green in it, red right of it: a widening shows where each
// column came from.
std::string MessagePicture() {
    QImage image(kPictureWidth, kPictureHeight, QImage::Format_RGB888);
    for (int x = 0; x < kPictureWidth; ++x)
        for (int y = 0; y < kPictureHeight; ++y)
            image.setPixelColor(x, y, x < kPictureWidth / 2 ? kLeft : x == kPictureWidth / 2 ? kMiddle : kRight);
    return test::ImageBytes(image, "BMP");
}

std::string Scrambled(const std::string& utf8) {
    std::string text;
    for (char c : Utf8ToCp1251(utf8)) text += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return ScrambleDescription(text);
}

std::vector<TContainerEntry> Pictures(bool withDialogs = true) {
    std::vector<TContainerEntry> entries = {
        {"bg.bmp", Bmp(600, 400, Qt::gray)},   {"msg.bmp", MessagePicture()},
        {"b_up.bmp", Bmp(30, 20, kButton)},    {"b_mv.bmp", Bmp(30, 20, Qt::cyan)},
        {"b_dn.bmp", Bmp(30, 20, Qt::magenta)}, {"s_up.bmp", Bmp(40, 20, Qt::darkGray)},
        {"s_mvup.bmp", Bmp(40, 20, Qt::yellow)}, {"s_mvdn.bmp", Bmp(40, 20, Qt::cyan)},
        {"s_dn.bmp", Bmp(40, 20, Qt::white)}};
    if (withDialogs) entries.push_back({"Dialog.cfs", Scrambled(kDialogs)});
    return entries;
}

template <typename F>
bool WaitFor(F done, int ms = 5000) {
    for (int i = 0; i < ms / 10 && !done(); ++i) QTest::qWait(10);
    return done();
}

class CoolDialog : public ::testing::Test {
protected:
    CoolDialog() {
        program.disc.folder.Write("disc/click.wav", test::Wav(20));
        program.disc.folder.Write("disc/switch.wav", test::Wav(20));
        program.Start();
    }
    TCoolDialog& Dialog() const { return *program.program->Dialog(); }
    // Shows a dialog and waits until it has faded in and takes the pointer.
    void Show(int index, const std::string& utf8 = "") {
        ASSERT_TRUE(program.program->Dialog());
        Dialog().ShowDialog(index, Utf8ToCp1251(utf8));
        ASSERT_TRUE(Dialog().isVisible());
        ASSERT_TRUE(WaitFor([&] { return !Dialog().Fading(); }));
    }
    // A real click: the pointer comes, presses and releases.
    void Click(QPoint at) {
        QTest::mouseMove(&Dialog(), at);
        QTest::mousePress(&Dialog(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(&Dialog(), Qt::LeftButton, {}, at);
    }
    template <typename T>
    static QPoint Centre(const T& c) {
        return {(c.vx + c.Right) / 2, (c.vy + c.Bottom) / 2};
    }
    std::vector<std::string> SoundsPlayed() const {
        std::vector<std::string> names;
        for (const auto& p : program.sounds.Played()) names.push_back(p.file.filename().string());
        return names;
    }

    test::TTestProgram program{kStruct, Pictures(), false};
};

// Ink of the message: columns of the band below vy where the text colour shows.
std::pair<int, int> InkColumns(const QImage& image, int top, int bottom) {
    int first = -1, last = -1;
    for (int x = 0; x < image.width(); ++x)
        for (int y = top; y < bottom; ++y)
            if (image.pixelColor(x, y).lightness() > 200) {
                if (first < 0) first = x;
                last = x;
                break;
            }
    return {first, last};
}

TEST_F(CoolDialog, AMessageThatFitsIsCentredInItsAreaAndTheDialogOnTheWindow) {
    Show(kMessageDialog, "Да");
    EXPECT_EQ(Dialog().width(), kPictureWidth);
    EXPECT_EQ(Dialog().height(), kPictureHeight);
    const QRect main = program.Window().geometry();
    EXPECT_EQ(Dialog().x(), main.x() + main.width() / 2 - kPictureWidth / 2);
    EXPECT_EQ(Dialog().y(), main.y() + main.height() / 2 - kPictureHeight / 2);
    const auto [first, last] = InkColumns(Dialog().Background(), 10, 40);
    ASSERT_GE(first, 20);
    ASSERT_LT(last, 180);
    // Glyph bearings aside, the margins to both edges of the area are the same.
    EXPECT_NEAR(first - 20, 180 - 1 - last, 3);
    for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(Dialog().PlacedButtons()[i].vx, Dialog().Dialogs().Buttons(0)[i].vx);
}

TEST_F(CoolDialog, AWiderMessageWidensByTheExcessAndMovesTheButtons) {
    const std::string message = "Архив повреждён или записан в формате, который не читается";
    Show(kMessageDialog, message);
    const int d = Dialog().MessageWidth() - (180 - 20);
    ASSERT_GT(d, 1);
    EXPECT_EQ(Dialog().width(), kPictureWidth + d);
    const QRect main = program.Window().geometry();
    EXPECT_EQ(Dialog().x(), main.x() + main.width() / 2 - (kPictureWidth + d) / 2);
    // The text starts at the area's left edge.
    EXPECT_EQ(Dialog().MessageLeft(), 20);
    const QImage& bg = Dialog().Background();
    const int row = 45;  // between the message and the buttons
    const int middle = kPictureWidth / 2;
    EXPECT_EQ(bg.pixelColor(middle - 1, row), kLeft);
    for (int x = middle; x <= middle + d; ++x) ASSERT_EQ(bg.pixelColor(x, row), kMiddle) << x;
    EXPECT_EQ(bg.pixelColor(middle + d + 1, row), kRight);
    EXPECT_EQ(bg.pixelColor(kPictureWidth + d - 1, row), kRight);
    // left stays, middle moves by half the excess, any other alignment by all of it; the up
    // pictures are drawn where the buttons went.
    const int expected[] = {10, 80 + d / 2, 150 + d};
    for (int i = 0; i < 3; ++i) {
        const RBtn& b = Dialog().PlacedButtons()[i];
        EXPECT_EQ(b.vx, expected[i]) << i;
        EXPECT_EQ(b.Right, expected[i] + 30) << i;
        EXPECT_EQ(bg.pixelColor(b.vx + 1, 51), kButton) << i;
    }
}

TEST_F(CoolDialog, AHugeMessageStaysWithinAPictureSize) {
    Show(kMessageDialog, std::string(20000, 'W'));
    EXPECT_LE(Dialog().width(), kMaxCoordinate);
    EXPECT_EQ(Dialog().PlacedButtons()[2].vx, 150 + Dialog().width() - kPictureWidth);
}

TEST_F(CoolDialog, AButtonClickRunsItsCommand) {
    const struct {
        int button;
        bool wav;
        bool closes;
        std::vector<std::string> sounds;
    } cases[] = {
        {0, true, true, {"click.wav"}},
        {0, false, true, {}},            // button sounds off
        {1, true, false, {"click.wav"}},  // a find command without a find pane: nothing, still open
        {2, true, true, {}},              // wav=no
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button);
        program.Session().Settings.Wav = c.wav;
        Show(kMessageDialog, "Сообщение");
        const std::size_t before = program.sounds.Played().size();
        Click(Centre(Dialog().PlacedButtons()[c.button]));
        EXPECT_EQ(Dialog().isVisible(), !c.closes);
        std::vector<std::string> sounds = SoundsPlayed();
        sounds.erase(sounds.begin(), sounds.begin() + long(before));
        EXPECT_EQ(sounds, c.sounds);
        if (c.closes) EXPECT_TRUE(Dialog().ButtonImages().empty()) << "the shown dialog's images are released";
        Dialog().close();
    }
}

TEST_F(CoolDialog, ReleasingOverAButtonThatWasNotPressedRunsNothing) {
    Show(kMessageDialog, "Сообщение");
    const QPoint ok = Centre(Dialog().PlacedButtons()[0]);
    QTest::mousePress(&Dialog(), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseMove(&Dialog(), ok);
    QTest::mouseRelease(&Dialog(), Qt::LeftButton, {}, ok);
    EXPECT_TRUE(Dialog().isVisible());
    EXPECT_FALSE(Dialog().ButtonImages()[0].pressed);
}

TEST_F(CoolDialog, EscClosesTheDialogThroughTheKeyTable) {
    Show(kMessageDialog, "Сообщение");
    QTest::keyClick(&Dialog(), Qt::Key_Escape);
    EXPECT_FALSE(Dialog().isVisible());
}

TEST_F(CoolDialog, ASwitchPressTurnsOffItsGroupAndItsStateSurvivesARestart) {
    const int index = 2;
    Show(index);
    // Showing replays the commands of the switches that are on, with their sounds.
    EXPECT_EQ(SoundsPlayed(), (std::vector<std::string>{"switch.wav", "switch.wav"}));
    auto states = [&] {
        std::vector<bool> s;
        for (const RSwthGrp& g : Dialog().Dialogs().DialogSwitches[index]) s.push_back(g.state);
        return s;
    };
    const auto& switches = Dialog().Dialogs().DialogSwitches[index];
    Click(Centre(switches[1]));
    EXPECT_EQ(states(), (std::vector<bool>{false, true, true})) << "the other group keeps its switch";
    EXPECT_TRUE(Dialog().isVisible()) << "find options do not close the dialog";
    EXPECT_EQ(SoundsPlayed().size(), 3u);
    // Pressing a switch that is on does nothing, not even a sound.
    Click(Centre(switches[1]));
    EXPECT_EQ(states(), (std::vector<bool>{false, true, true}));
    EXPECT_EQ(SoundsPlayed().size(), 3u);
    Dialog().CloseDialogKey();

    program.Restart();
    ASSERT_TRUE(program.program->Dialog());
    EXPECT_EQ(states(), (std::vector<bool>{false, true, true}));
}

TEST_F(CoolDialog, SwitchCaptionsAreDrawnOnTheirPictures) {
    Show(2);
    const QImage& up = Dialog().SwitchImages()[0].pic[0];
    int ink = 0;
    for (int x = 0; x < up.width(); ++x)
        for (int y = 0; y < up.height(); ++y) ink += up.pixelColor(x, y) != QColor(Qt::darkGray);
    EXPECT_GT(ink, 10);
    EXPECT_EQ(Dialog().SwitchImages()[1].pic[0].pixelColor(20, 10), QColor(Qt::darkGray)) << "no caption, no ink";
}

TEST_F(CoolDialog, AMissingPictureShowsNothing) {
    ASSERT_TRUE(program.program->Dialog());
    for (int index : {1, 7, -1, 5000}) {
        Dialog().ShowDialog(index, "x");
        EXPECT_FALSE(Dialog().isVisible()) << index;
        EXPECT_TRUE(Dialog().ButtonImages().empty()) << index;
    }
}

// The find pane as the dialog sees it: what reached it, in order.
struct TFindPaneLog : IDialogFindPane {
    std::vector<std::string> log;
    bool searching = false;
    void HostFields(QWidget*, bool findDialog) override { log.push_back(findDialog ? "host find" : "host other"); }
    void DialogClosed() override { log.push_back("closed"); }
    bool Searching() const override { return searching; }
    void SetIdle(bool idle) override { log.push_back(idle ? "idle" : "busy"); }
    void FindNext(int field) override { log.push_back("findnext " + std::to_string(field)); }
    void SetScope(TScope scope) override {
        log.push_back(scope == TScope::Index ? "index" : scope == TScope::Contents ? "contents" : "document");
    }
    const TFindResultLists& Results() const override { return results; }
    void OpenResult(int index) override { log.push_back("open " + std::to_string(index)); }
    TFindResultLists results;
};

TEST_F(CoolDialog, FindCommandsGoToTheFindPaneAndOthersClose) {
    const struct {
        const char* go;
        bool searching;
        bool closes;
        std::vector<std::string> reaches;
        std::size_t sounds;
    } cases[] = {
        {"findnext2", false, false, {"findnext 2"}, 1},
        {"findtxtall", false, false, {"index"}, 1},
        {"xfindtxtlimit", false, false, {"document"}, 1},
        {"findtxtcontents", false, false, {"contents"}, 1},
        {"findnext1", true, false, {"idle"}, 0},  // the find button stops a running search
        {"findtxtall", true, false, {"index"}, 1},
        {"screen2", false, true, {"closed"}, 1},
    };
    TFindPaneLog pane;
    Dialog().SetFindPane(&pane);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.go);
        Show(kMessageDialog, "Сообщение");
        pane.log.clear();
        pane.searching = c.searching;
        // A running scan keeps the program busy.
        std::optional<TBusy> busy;
        if (c.searching) busy.emplace();
        const std::size_t before = program.sounds.Played().size();
        EXPECT_EQ(Dialog().RunDialogCommand(c.go, "click.wav"), c.closes);
        busy.reset();
        EXPECT_EQ(Dialog().isVisible(), !c.closes);
        EXPECT_EQ(pane.log, c.reaches);
        EXPECT_EQ(program.sounds.Played().size() - before, c.sounds);
    }
    // Esc stops a running search and leaves the dialog; without a search it closes it.
    Show(kMessageDialog, "Сообщение");
    pane.log.clear();
    pane.searching = true;
    QTest::keyClick(&Dialog(), Qt::Key_Escape);
    EXPECT_TRUE(Dialog().isVisible());
    EXPECT_EQ(pane.log, std::vector<std::string>{"idle"});
    pane.searching = false;
    QTest::keyClick(&Dialog(), Qt::Key_Escape);
    EXPECT_FALSE(Dialog().isVisible());
    // Showing a dialog hands the pane's fields to it, shown on the find dialog only.
    pane.log.clear();
    Show(2);
    EXPECT_EQ(pane.log, (std::vector<std::string>{"host other", "document", "contents"}));
    Dialog().SetFindPane(nullptr);
}

TEST(CoolDialogCreation, ADiscWithoutDialogsHasNoDialogAndMessagesDoNothing) {
    test::TTestProgram program(kStruct, Pictures(false));
    ASSERT_EQ(program.Creation(), TProgram::TCreation::Normal);
    EXPECT_EQ(program.program->Dialog(), nullptr);
    EXPECT_EQ(program.program->Dispatcher().Services().dialogs, nullptr);
    program.Execute("unarc");
}

TEST(CoolDialogCreation, TheProgramPublishesTheDialogForMessages) {
    test::TTestProgram program(kStruct, Pictures());
    ASSERT_TRUE(program.program->Dialog());
    program.Execute("unarc");
    EXPECT_TRUE(program.program->Dialog()->isVisible());
    EXPECT_EQ(program.program->Dialog()->Message(), Utf8ToCp1251("Выберите файл для распаковки."));
}

}  // namespace
}  // namespace vitrina

namespace vitrina {
namespace {

TEST(CoolDialogCreation, TextAreasNumberedForTheDialogAreDrawnOnItNotOnTheWindow) {
    const std::string description = std::string(kStruct) +
                                    "_text 1\nvx=20\nvy=20\nvw=180\nfont=DejaVu Sans\nsize=14\nstyle=bold\n"
                                    "color=255,255,0\nvalue=\nident=statusline\nnumber=1000\n";
    test::TTestProgram program(description, Pictures());
    TCoolDialog* dialog = program.program->Dialog();
    ASSERT_TRUE(dialog);
    dialog->ShowDialog(kMessageDialog, "");
    ASSERT_TRUE(WaitFor([&] { return !dialog->Fading(); }));
    const auto yellowPixels = [](const QImage& image) {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) n += image.pixelColor(x, y) == QColor(255, 255, 0);
        return n;
    };
    const QImage windowBefore = program.Window().grab().toImage();
    EXPECT_EQ(yellowPixels(dialog->grab().toImage()), 0);
    program.Window().StatusLine()->Show(Utf8ToCp1251("Текст не найден"));
    EXPECT_GT(yellowPixels(dialog->grab().toImage()), 20);
    EXPECT_EQ(program.Window().grab().toImage(), windowBefore);
}

}  // namespace
}  // namespace vitrina
