#pragma once
// The program on the sample disc, with its real panes, for the tests that drive it.
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/program.h"
#include "app/program_fixture.h"
#include "app/program_parts.h"
#include "html/frame_viewer.h"
#include "html/html_viewer.h"
#include "html/html_fixture.h"
#include "panes/html_frame.h"
#include "panes/tree_views.h"
#include "platform/cp1251.h"

namespace vitrina {

template <typename F>
bool WaitFor(F done, int ms = 15000) {
    for (int i = 0; i < ms / 20 && !done(); ++i) QTest::qWait(20);
    return done();
}

class SampleDiscTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::filesystem::exists(disc / "Vuv.dhl")) GTEST_SKIP() << "sample disc not built";
        ::setenv("VITRINA_HOME", home.Path().c_str(), 1);
        Start();
    }
    // arguments: the disc's own command line ("/t" for the thesaurus window); afterShow runs
    // right after the main window is shown, before its first frame.
    void Start(std::vector<std::string> arguments = {},
               TProgram::TCreation expected = TProgram::TCreation::Normal,
               const std::function<void()>& afterShow = {}) {
        drives = std::make_unique<TDriveMap>(disc, TUserFolders::FromEnvironment().data);
        desktop = std::make_unique<test::TRecordingDesktop>(*drives, sounds);
        TStartOptions options;
        options.animations = false;
        options.arguments = std::move(arguments);
        program = std::make_unique<TProgram>(*drives, TUserFolders::FromEnvironment(), *desktop, options);
        program->Start();
        ASSERT_EQ(program->Creation(), expected) << program->CreationMessage();
        form = &program->Window();
        parts = &program->Parts();
        form->ShowMainWindow();
        if (afterShow) afterShow();
        QTest::qWaitForWindowExposed(form);
    }
    void Stop() {
        program.reset();
        form = nullptr;
        parts = nullptr;
    }
    TFrameViewer* Viewer() const { return test::ActiveFrameViewer(*parts); }
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
    // The selected text of the shown document, lower-cased.
    QString Selection() const {
        QString text;
        bool answered = false;
        Viewer()->ActiveViewer().SelectionText([&](QString s) {
            text = s;
            answered = true;
        });
        WaitFor([&] { return answered; });
        return text.toLower();
    }
    std::string FocusedDocument() const {
        TTreeViews* tree = parts->Trees()->Shown();
        const int i = tree->FocusedIndex();
        return i < 0 ? "" : tree->Model().Items()[i].document;
    }

    // The disc's folder: the built sample disc, or a copy a test changed.
    std::filesystem::path disc = VITRINA_SAMPLE_DISC;
    test::TTempFolder home;
    TClickSound sounds;
    std::unique_ptr<TDriveMap> drives;
    std::unique_ptr<test::TRecordingDesktop> desktop;
    std::unique_ptr<TProgram> program;
    TSkinWindow* form = nullptr;
    TProgramParts* parts = nullptr;
};

}  // namespace vitrina
