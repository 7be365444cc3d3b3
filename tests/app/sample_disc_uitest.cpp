// The program on the sample disc, with its real panes: chapters, trees, history, popups.
#include <QTest>
#include <gtest/gtest.h>

#include "app/program.h"
#include "app/program_parts.h"
#include "dialogs/popup_window.h"
#include "html/frame_viewer.h"
#include "html/html_fixture.h"
#include "panes/html_frame.h"
#include "platform/click_sound.h"
#include "platform/shell_desktop.h"
#include "screen/skin_window.h"
#include "support/temp_folder.h"

namespace vitrina {
namespace {

namespace fs = std::filesystem;

template <typename F>
bool WaitFor(F done, int ms = 15000) {
    for (int i = 0; i < ms / 20 && !done(); ++i) QTest::qWait(20);
    return done();
}

class SampleDiscTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!fs::exists(fs::path(VITRINA_SAMPLE_DISC) / "Vuv.dhl")) GTEST_SKIP() << "sample disc not built";
        ::setenv("VITRINA_HOME", home.Path().c_str(), 1);
        Start();
    }
    void Start() {
        drives = std::make_unique<TDriveMap>(VITRINA_SAMPLE_DISC, TUserFolders::FromEnvironment().data);
        desktop = std::make_unique<TShellDesktop>(HostPathsOf(*drives), sounds);
        TStartOptions options;
        options.animations = false;
        program = std::make_unique<TProgram>(*drives, TUserFolders::FromEnvironment(), *desktop, options);
        program->Start();
        ASSERT_EQ(program->Creation(), TProgram::TCreation::Normal) << program->CreationMessage();
        form = &program->Window();
        parts = &program->Parts();
        form->ShowMainWindow();
        QTest::qWaitForWindowExposed(form);
    }
    void Stop() {
        program.reset();
        form = nullptr;
        parts = nullptr;
    }
    TFrameViewer* Viewer() const { return parts->Html() ? parts->Html()->ActiveFrameViewer() : nullptr; }
    bool Shows(const std::string& file) const {
        TFrameViewer* v = Viewer();
        return v && !v->Loading() && v->CurrentFile().size() >= file.size() &&
               LowerCase1251(v->CurrentFile()).ends_with(file);
    }
    // A real click on the first button of the current screen whose command is go.
    void ClickButton(const std::string& go) {
        const auto& buttons = program->Session().Model.ScreenButtons[program->Session().CurrentScreen];
        for (const auto& b : buttons) {
            if (b.go != go) continue;
            const QPoint centre((b.vx + b.Right) / 2, (b.vy + b.Bottom) / 2);
            QTest::mouseMove(form, centre);
            QTest::mousePress(form, Qt::LeftButton, {}, centre);
            QTest::mouseRelease(form, Qt::LeftButton, {}, centre);
            return;
        }
        FAIL() << "no button " << go;
    }
    std::string FocusedDocument() const {
        TTreeViews* tree = parts->Trees()->Shown();
        const int i = tree->FocusedIndex();
        return i < 0 ? "" : tree->Model().Items()[i].document;
    }

    test::TTempFolder home;
    TClickSound sounds;
    std::unique_ptr<TDriveMap> drives;
    std::unique_ptr<TShellDesktop> desktop;
    std::unique_ptr<TProgram> program;
    TSkinWindow* form = nullptr;
    TProgramParts* parts = nullptr;
};

TEST_F(SampleDiscTest, AChapterButtonOpensTheDocumentAndSelectsItsTreeItem) {
    ASSERT_TRUE(parts->Html());
    ClickButton("screen2=dv_obzor.htm");
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

}  // namespace
}  // namespace vitrina
