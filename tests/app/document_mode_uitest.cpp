// The document mode as other copies meet it: a plain window for one file, sized by its picture,
// found by its caption, asked over the copy-data requests, reused for the same picture.
#include <QProcess>
#include <QProcessEnvironment>
#include <QAction>
#include <QTest>
#include <QToolBar>
#include <gtest/gtest.h>

#include <unistd.h>

#include "app/program.h"
#include "app/program_fixture.h"
#include "app/program_parts.h"
#include "app/test_disc.h"
#include "support/minimal_disc.h"
#include "html/frame_viewer.h"
#include "panes/html_font_values.h"
#include "panes/html_frame.h"
#include "panes/standard_window.h"
#include "platform/click_sound.h"
#include "platform/cp1251.h"
#include "platform/copy_data_channel.h"
#include "platform/registry.h"
#include "platform/request_record.h"
#include "session/settings.h"
#include "platform/window_directory.h"
#include "resources/drive_map.h"
#include "resources/help_viewer.h"

namespace vitrina {
namespace {

const std::string kStruct = test::MinimalDescription("копия", "icon=ico.bmp\n");

const std::string kPictureTitle = "\xD3\xE2\xE5\xEB\xE8\xF7\xE5\xED\xED\xE0\xFF \xEA\xE0\xF0\xF2\xE8\xED\xEA\xE0";

struct TDisc : test::TTestDisc {
    TDisc()
        : TTestDisc(kStruct, test::MinimalPictures(100, 80, {{"ico.bmp", test::Bmp(16, 16, Qt::green)}})) {
        folder.Write("disc/pics/motor.bmp", test::Bmp(400, 300, Qt::blue));
        folder.Write("disc/pics/scheme.bmp", test::Bmp(50, 40, Qt::blue));
        folder.Write("disc/pics/other.bmp", test::Bmp(30, 20, Qt::blue));
        folder.Write("disc/page.htm", "<p>page");
    }
    QString Disc() const { return QString::fromStdString(disc.string()); }
};

// Waits for a visible window of that process with that title.
bool WaitForWindow(const TWindowDirectory& directory, long pid, const std::string& title, TWindowEntry& found) {
    return QTest::qWaitFor(
        [&] {
            for (const TWindowEntry& w : directory.Windows())
                if (w.pid == pid && w.visible && w.title == title) {
                    found = w;
                    return true;
                }
            return false;
        },
        20000);
}

TEST(DocumentMode, PicturesSizeTheWindowAndTheDiagramsTakeTheirFixedSize) {
    TDisc disc;
    // A picture handed in by host path from outside the disc (its "/t..." is no thesaurus mark).
    const auto outside = disc.folder.Write("tmp/outside/photo.bmp", test::Bmp(100, 50, Qt::blue));
    struct Case {
        QString file;
        QSize size;
    } cases[] = {{"d:\\pics\\motor.bmp", {445, 390}},
                 {"d:\\pics\\SCHEME.bmp", {780, 550}},
                 {QString::fromStdString(outside.string()), {145, 140}}};
    for (const Case& c : cases) {
        const auto out = disc.folder.Path() / "shot.png";
        QProcess p;
        p.setProcessEnvironment(test::ProgramEnvironment(disc.home));
        p.start(VITRINA_PROGRAM, {"--disc", disc.Disc(), "--screenshot", QString::fromStdString(out.string()),
                                  "--settle-ms", "300", c.file});
        ASSERT_TRUE(p.waitForFinished(30000));
        ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
        const QImage shot(QString::fromStdString(out.string()));
        EXPECT_EQ(shot.size(), c.size) << c.file.toStdString();
    }
}

// This test stands in for another copy: it finds the picture window and asks it.
TEST(DocumentMode, ACopyAnswersQueriesAndOpenRequestsAndEndsOnAClose) {
    TDisc disc;
    QProcess copy;
    copy.setProcessEnvironment(test::ProgramEnvironment(disc.home));
    copy.start(VITRINA_PROGRAM, {"--disc", disc.Disc(), "d:\\pics\\other.bmp"});
    ASSERT_TRUE(copy.waitForStarted());
    TWindowDirectory directory(disc.home / "run");
    TCopyDataChannel channel(directory.Folder());
    TWindowEntry window;
    ASSERT_TRUE(WaitForWindow(directory, long(copy.processId()), kPictureTitle, window));

    struct Case {
        const char* name;
        std::string block;
        std::vector<TCopyDataAnswer> answers;
    } cases[] = {
        {"the file it shows", EncodeRequestRecord({kRequestQuery, {{0, "d:\\pics\\other.bmp"}}}), {{kMessageQueryAnswer, 1}}},
        {"another file", EncodeRequestRecord({kRequestQuery, {{0, "d:\\pics\\motor.bmp"}}}), {{kMessageQueryAnswer, 0}}},
        {"compared exactly", EncodeRequestRecord({kRequestQuery, {{0, "D:\\PICS\\OTHER.BMP"}}}), {{kMessageQueryAnswer, 0}}},
        {"an item of another kind", EncodeRequestRecord({kRequestQuery, {{1, "d:\\pics\\other.bmp"}}}), {{kMessageQueryAnswer, 0}}},
        {"no item", EncodeRequestRecord({kRequestQuery, {}}), {{kMessageQueryAnswer, 0}}},
        {"open a document", EncodeRequestRecord({kRequestOpen, {{0, "page.htm"}}}), {{kMessageHandled, copy.processId()}}},
        {"unknown kind", EncodeRequestRecord({7, {{0, "x"}}}), {}},
        {"short block", EncodeRequestRecord({kRequestQuery, {{0, "d:\\pics\\other.bmp"}}}).substr(0, 100), {}},
        {"too many items", [] {
             std::string b = EncodeRequestRecord({kRequestQuery, {{0, "d:\\pics\\other.bmp"}}});
             b[2] = 9;
             return b;
         }(), {}},
    };
    for (const Case& c : cases) EXPECT_EQ(channel.Send(window, c.block), c.answers) << c.name;
    EXPECT_EQ(copy.state(), QProcess::Running);

    // The window is closed like every companion window: the copy ends.
    ASSERT_TRUE(directory.Send(window, "close"));
    ASSERT_TRUE(copy.waitForFinished(20000));
    EXPECT_EQ(copy.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(copy.exitCode(), 0);
}

TEST(DocumentMode, TheHelpVariantKeepsItsCaptionAndIsNoPictureWindow) {
    TDisc disc;
    QProcess copy;
    copy.setProcessEnvironment(test::ProgramEnvironment(disc.home));
    copy.start(VITRINA_PROGRAM, {"--disc", disc.Disc(), "d:\\page.htm", "/h"});
    ASSERT_TRUE(copy.waitForStarted());
    TWindowDirectory directory(disc.home / "run");
    TWindowEntry window;
    ASSERT_TRUE(WaitForWindow(directory, long(copy.processId()), "\xCF\xEE\xEC\xEE\xF9\xFC", window));  // "Помощь"
    QTest::qWait(500);  // the document has loaded by now; the caption stays
    TWindowEntry picture;
    EXPECT_FALSE(directory.FindWindowByTitle(kPictureTitle, picture));
    ASSERT_TRUE(directory.Send(window, "close"));
    ASSERT_TRUE(copy.waitForFinished(20000));
}

// The document font values: the help variant reads and writes them under "Помощь", the plain
// document mode right under the settings root, and neither touches the other's.
TEST(DocumentMode, EachVariantKeepsItsDocumentFontValuesUnderItsOwnKey) {
    TDisc disc;
    const std::string help = "\xCF\xEE\xEC\xEE\xF9\xFC";  // "Помощь"
    const THtmlFontValues chosen{"Verdana", 0x112233, 12, 0xFF, 0xEEEEEE};
    {
        TRegistry reg(disc.home / "config");
        chosen.Write(reg, help);
    }
    auto run = [&](QStringList arguments) {
        QProcess copy;
        copy.setProcessEnvironment(test::ProgramEnvironment(disc.home));
        copy.start(VITRINA_PROGRAM, QStringList{"--disc", disc.Disc(), "d:\\page.htm"} + arguments);
        ASSERT_TRUE(copy.waitForStarted());
        TWindowDirectory directory(disc.home / "run");
        TWindowEntry window;
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                for (const TWindowEntry& w : directory.Windows())
                    if (w.pid == long(copy.processId()) && w.visible) return window = w, true;
                return false;
            },
            20000));
        ASSERT_TRUE(directory.Send(window, "close"));
        ASSERT_TRUE(copy.waitForFinished(20000));
    };
    auto stored = [&](const std::string& title) -> std::optional<THtmlFontValues> {
        TRegistry reg(disc.home / "config");
        if (!reg.OpenKey(SettingsKey(title), false) || !reg.ValueExists("FontName")) return std::nullopt;
        return THtmlFontValues::Read(reg, title);
    };
    run({"/h"});
    EXPECT_EQ(stored(help), chosen);
    EXPECT_EQ(stored(""), std::nullopt);
    run({});
    EXPECT_EQ(stored(""), THtmlFontValues{});
    EXPECT_EQ(stored(help), chosen);
}

// A "_blank" picture link asks the open picture windows first: the same picture twice starts
// one copy, and a different picture another.
TEST(DocumentMode, APictureWindowIsReusedForTheSamePicture) {
    TDisc disc;
    TDriveMap drives(disc.disc, disc.Folders().data);
    TClickSound sounds;
    std::vector<std::string> started;
    std::vector<std::unique_ptr<QProcess>> copies;
    const auto startCopy = [&](const std::string& file) {
        started.push_back(file);
        auto copy = std::make_unique<QProcess>();
        copy->setProcessEnvironment(test::ProgramEnvironment(disc.home));
        copy->start(VITRINA_PROGRAM, {"--disc", disc.Disc(), QString::fromStdString(file)});
        copies.push_back(std::move(copy));
    };
    TStartOptions options;
    options.animations = false;
    test::TRecordingDesktop desktop(drives, sounds);
    TProgram program(drives, disc.Folders(), desktop, options);
    program.Start();
    TSkinWindow& form = program.Window();
    TProgramParts& parts = program.Parts();
    ASSERT_EQ(program.Creation(), TProgram::TCreation::Normal);
    parts.StartPictureCopy = startCopy;
    form.ShowMainWindow();

    parts.OpenPictureWindow("d:\\pics\\motor.bmp");
    ASSERT_EQ(started.size(), 1u);
    ASSERT_TRUE(copies[0]->waitForStarted());
    TWindowEntry window;
    ASSERT_TRUE(WaitForWindow(*program.WindowDirectory(), long(copies[0]->processId()), kPictureTitle, window));
    parts.OpenPictureWindow("d:\\pics\\motor.bmp");
    EXPECT_EQ(started.size(), 1u);  // the window that shows it answered and came to the front
    parts.OpenPictureWindow("d:\\pics\\other.bmp");
    EXPECT_EQ(started, (std::vector<std::string>{"d:\\pics\\motor.bmp", "d:\\pics\\other.bmp"}));
    for (auto& copy : copies) {
        copy->kill();
        copy->waitForFinished();
    }
}

// "standartwin" in the normal mode: a plain, sizeable window around the pane; "Свернуть" brings
// the skinned window back with its shape; the caption stays and "exit" still ends the program.
TEST(StandardWindowProgram, StandartwinAndBackKeepTheShapeAndExitStillEndsTheProgram) {
    test::TTestDisc disc(kStruct + "vertexmain=[0,0;99,0;0,79]\n_html 1\nvx=0\nvy=0\nvw=100\nvh=80\nfn=page.htm\nnumber=20\n",
                         test::MinimalPictures());
    disc.folder.Write("disc/page.htm", "<title>p</title><p>page");
    TDriveMap drives(disc.disc, disc.Folders().data);
    TClickSound sounds;
    TStartOptions options;
    options.animations = false;
    test::TRecordingDesktop desktop(drives, sounds);
    TProgram program(drives, disc.Folders(), desktop, options);
    program.Start();
    TSkinWindow& form = program.Window();
    TProgramParts& parts = program.Parts();
    ASSERT_EQ(program.Creation(), TProgram::TCreation::Normal);
    bool terminated = false;
    form.OnTerminate = [&] { terminated = true; };
    form.ShowMainWindow();
    TFrameViewer* viewer = test::ActiveFrameViewer(parts);
    ASSERT_NE(viewer, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !viewer->Loading() && !viewer->CurrentFile().empty(); }, 10000));
    const QRegion skin = form.Shape();
    ASSERT_FALSE(skin.isEmpty());
    EXPECT_FALSE(parts.StatusBarExists());

    program.Dispatcher().ExecuteCommand("standartwin", "", 1, 0, 0);
    TStandardWindow* standard = parts.Standard();
    ASSERT_NE(standard, nullptr);
    EXPECT_TRUE(form.Shape().isEmpty());
    EXPECT_FALSE(form.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(standard->Toolbar()->isVisible());
    EXPECT_TRUE(standard->Button(TStandardWindow::kSkinned)->isVisible());
    EXPECT_EQ(viewer->parentWidget(), standard->Client());
    EXPECT_EQ(viewer->size(), standard->Client()->size());
    EXPECT_EQ(form.windowTitle(), QString::fromUtf8("Увеличенная картинка"));
    EXPECT_TRUE(parts.StatusBarExists());

    standard->Button(TStandardWindow::kSkinned)->trigger();
    EXPECT_EQ(form.Shape(), skin);
    EXPECT_TRUE(form.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(form.size(), QSize(100, 80));
    EXPECT_FALSE(standard->Toolbar()->isVisible());
    EXPECT_EQ(viewer->parentWidget(), &form);
    EXPECT_EQ(viewer->geometry(), QRect(0, 0, 100, 80));
    EXPECT_EQ(form.windowTitle(), QString::fromUtf8("Увеличенная картинка"));

    QTest::qWait(50);  // the new caption is published
    program.Dispatcher().ExecuteCommand("exit", "", 1, 0, 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return terminated; }, 5000));
}

// This process as a copy started with arguments (set up by the test once it is in the document mode).
struct TDocumentCopy {
    TDocumentCopy(const TDisc& disc, std::vector<std::string> arguments)
        : drives(disc.disc, disc.Folders().data), desktop(drives, sounds) {
        options.arguments = std::move(arguments);
        program = std::make_unique<TProgram>(drives, disc.Folders(), desktop, options);
        program->Start();
    }
    void SetUp() { program->Parts().SetUpDocumentMode(program->Window(), options.arguments); }

    TDriveMap drives;
    TClickSound sounds;
    test::TRecordingDesktop desktop;
    TStartOptions options;
    std::unique_ptr<TProgram> program;
};

TEST(DocumentMode, EscEndsTheCopyAndOtherKeysDoNot) {
    TDisc disc;
    TDocumentCopy copy(disc, {"d:\\page.htm"});
    int escapes = 0;
    TSkinWindow& form = copy.program->Window();
    TProgramParts& parts = copy.program->Parts();
    ASSERT_EQ(copy.program->Creation(), TProgram::TCreation::DocumentMode);
    parts.OnEscape = [&] { ++escapes; };
    copy.SetUp();
    EXPECT_TRUE(form.isVisible());
    EXPECT_FALSE(parts.Standard()->Button(TStandardWindow::kSkinned)->isVisible());
    EXPECT_EQ(parts.CommandLineFile(), "d:\\page.htm");
    TFrameViewer* viewer = test::ActiveFrameViewer(parts);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !viewer->Loading() && viewer->CurrentFile() == "d:\\page.htm"; }, 10000));
    EXPECT_EQ(form.windowTitle(), QString::fromUtf8("Увеличенная картинка"));
    QWidget* target = viewer->focusProxy() ? viewer->focusProxy() : viewer;
    for (int key : {Qt::Key_F1, Qt::Key_Return, Qt::Key_A}) QTest::keyClick(target, Qt::Key(key));
    EXPECT_EQ(escapes, 0);
    QTest::keyClick(target, Qt::Key_Escape);
    EXPECT_EQ(escapes, 1);
}

// F1 with the help window open: the window shows the new topic, then comes forward; a page the
// help window may not read is not opened.
TEST(DocumentMode, TheOpenHelpWindowShowsTheNewTopic) {
    TDisc disc;
    disc.folder.Write("disc/other.htm", "<p id=two>other");
    TDocumentCopy copy(disc, {"d:\\page.htm", "/h"});
    const TDriveMap& drives = copy.drives;
    TSkinWindow& form = copy.program->Window();
    TProgramParts& parts = copy.program->Parts();
    ASSERT_EQ(copy.program->Creation(), TProgram::TCreation::DocumentMode);
    copy.SetUp();
    TFrameViewer* viewer = test::ActiveFrameViewer(parts);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !viewer->Loading() && viewer->CurrentFile() == "d:\\page.htm"; }, 10000));
    ASSERT_TRUE(QTest::qWaitFor([&] { TWindowEntry w; return parts.Directory()->FindWindowByTitle("\xCF\xEE\xEC\xEE\xF9\xFC", w); }, 10000));

    int started = 0;
    THelpViewer help(drives, [&](const std::vector<std::string>&) { ++started; });
    help.SetWindowDirectory(parts.Directory());
    help.Show("d:\\other.htm", "two");
    EXPECT_EQ(started, 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !viewer->Loading() && viewer->CurrentFile() == "d:\\other.htm"; }, 10000));
    EXPECT_TRUE(form.isVisible());
    // A host file outside what the reader handed in stays unread.
    const auto outside = disc.folder.Write("tmp/secret.htm", "<p>secret");
    ASSERT_TRUE(parts.Directory()->Send({long(::getpid()), "\xCF\xEE\xEC\xEE\xF9\xFC", true},
                                        THelpViewer::TopicRequest(drives.ToWindowsPath(outside))));
    help.Show("d:\\page.htm", {});
    ASSERT_TRUE(QTest::qWaitFor([&] { return !viewer->Loading() && viewer->CurrentFile() == "d:\\page.htm"; }, 10000));
    EXPECT_LT(viewer->History().Find(drives.ToWindowsPath(outside)), 0);
    EXPECT_EQ(started, 0);
}

// The whole road on the sample disc with real clicks: the picture of a document is a "_blank"
// link; the first click starts a picture window, the second brings that window to the front.
TEST(DocumentMode, ClickingTheSamePictureTwiceStartsOnePictureWindow) {
    test::TTempFolder home;
    ::setenv("VITRINA_HOME", home.Path().c_str(), 1);
    const TUserFolders folders = TUserFolders::FromEnvironment();
    TDriveMap drives(VITRINA_SAMPLE_DISC, folders.data);
    TClickSound sounds;
    std::vector<std::string> started;
    std::vector<std::unique_ptr<QProcess>> copies;
    const auto startCopy = [&](const std::string& file) {
        started.push_back(file);
        auto copy = std::make_unique<QProcess>();
        copy->setProcessEnvironment(test::ProgramEnvironment(home.Path()));
        copy->start(VITRINA_PROGRAM, {"--disc", VITRINA_SAMPLE_DISC, QString::fromStdString(Cp1251ToUtf8(file))});
        copies.push_back(std::move(copy));
    };
    TStartOptions options;
    options.animations = false;
    test::TRecordingDesktop desktop(drives, sounds);
    TProgram program(drives, folders, desktop, options);
    program.Start();
    TSkinWindow& form = program.Window();
    TProgramParts& parts = program.Parts();
    ASSERT_EQ(program.Creation(), TProgram::TCreation::Normal);
    parts.StartPictureCopy = startCopy;
    form.ShowMainWindow();
    program.Dispatcher().ExecuteCommand("screen2", "", 1, 0, 0);
    program.Dispatcher().ExecuteCommand("html20=d:\\tr_obzor.htm", "", 1, 0, 0);
    TFrameViewer* viewer = test::ActiveFrameViewer(parts);
    ASSERT_NE(viewer, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !viewer->Loading() && SameText1251(viewer->CurrentFile(), "d:\\tr_obzor.htm"); }, 10000));
    QVariantList box;
    bool done = false;
    viewer->page()->runJavaScript(
        "(function(){const b=document.querySelector('a[target=_blank]').getBoundingClientRect();"
        "return [b.left+b.width/2,b.top+Math.min(b.height/2,40)];})()",
        [&](const QVariant& r) { box = r.toList(), done = true; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return done; }, 5000));
    ASSERT_EQ(box.size(), 2);
    const QPoint at(box[0].toInt(), box[1].toInt());
    auto click = [&] {
        QTest::mouseMove(viewer->focusProxy(), at);
        QTest::qWait(50);
        QTest::mouseClick(viewer->focusProxy(), Qt::LeftButton, {}, at);
    };
    click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return started.size() == 1; }, 5000));
    EXPECT_EQ(started[0], "d:\\images\\tormoza.jpg");
    TWindowEntry window;
    ASSERT_TRUE(WaitForWindow(*program.WindowDirectory(), long(copies[0]->processId()), kPictureTitle, window));
    click();
    QTest::qWait(1000);  // time for a wrong second start to show
    EXPECT_EQ(started.size(), 1u);
    EXPECT_EQ(copies[0]->state(), QProcess::Running);
    EXPECT_TRUE(SameText1251(viewer->CurrentFile(), "d:\\tr_obzor.htm"));  // the page stays
    for (auto& copy : copies) {
        copy->kill();
        copy->waitForFinished();
    }
}

// Open requests of another copy (the thesaurus window's): on the first screen they go through
// "screen2="; on the document screen a document already shown is not loaded again. Both answer.
TEST(StandardWindowProgram, OpenRequestsSwitchOrOpenAndAlwaysAnswerHandled) {
    test::TTestDisc disc(kStruct + "_html 2\nvx=0\nvy=0\nvw=100\nvh=80\nfn=page.htm\nnumber=20\n_screen=bg2.bmp\n",
                         test::MinimalPictures(100, 80, {{"bg2.bmp", test::Bmp(100, 80, Qt::white)}}));
    disc.folder.Write("disc/page.htm", "<title>p</title><p>page");
    disc.folder.Write("disc/next.htm", "<title>n</title><p>next");
    TDriveMap drives(disc.disc, disc.Folders().data);
    TClickSound sounds;
    TStartOptions options;
    options.animations = false;
    test::TRecordingDesktop desktop(drives, sounds);
    TProgram program(drives, disc.Folders(), desktop, options);
    program.Start();
    TSkinWindow& form = program.Window();
    TProgramParts& parts = program.Parts();
    ASSERT_EQ(program.Creation(), TProgram::TCreation::Normal);
    form.ShowMainWindow();
    ASSERT_EQ(program.Session().CurrentScreen, 0);
    const std::vector<TCopyDataAnswer> handled{{kMessageHandled, TCopyDataChannel::OwnHandle()}};
    std::vector<TCopyDataAnswer> answers;
    parts.CopyData(EncodeRequestRecord({kRequestOpen, {{0, "page.htm"}}}), 1, answers);
    EXPECT_EQ(answers, handled);
    EXPECT_EQ(program.Session().CurrentScreen, 1);
    TFrameViewer* viewer = test::ActiveFrameViewer(parts);
    ASSERT_NE(viewer, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !viewer->Loading() && viewer->CurrentFile() == "d:\\page.htm"; }, 10000));

    answers.clear();
    parts.CopyData(EncodeRequestRecord({kRequestOpen, {{0, "PAGE.htm"}}}), 1, answers);
    EXPECT_EQ(answers, handled);
    EXPECT_FALSE(viewer->Loading());
    EXPECT_EQ(viewer->History().Count(), 1);

    answers.clear();
    parts.CopyData(EncodeRequestRecord({kRequestOpen, {{0, "next.htm"}}}), 1, answers);
    EXPECT_EQ(answers, handled);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !viewer->Loading() && viewer->CurrentFile() == "d:\\next.htm"; }, 10000));

    // Nothing to open, nothing answered.
    answers.clear();
    parts.CopyData(EncodeRequestRecord({kRequestOpen, {}}), 1, answers);
    parts.CopyData(std::string(100, '\0'), 1, answers);
    EXPECT_TRUE(answers.empty());
}

}  // namespace
}  // namespace vitrina
