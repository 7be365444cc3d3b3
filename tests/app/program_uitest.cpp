// The vitrina program as a person starts it: processes, exit codes, the terminal line.
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QRegularExpression>
#include <QTest>
#include <gtest/gtest.h>
#include <unistd.h>

#include "app/program_fixture.h"
#include "app/scale_fit.h"
#include "app/test_disc.h"
#include "support/minimal_disc.h"
#include "platform/single_instance.h"
#include "platform/window_directory.h"

namespace vitrina {
namespace {

const std::string kSmall = test::MinimalDescription("копия");

struct TRun {
    int code = -1;
    QString err;
    QString out;
};

TRun RunProgram(const QStringList& args, const std::filesystem::path& home, int timeoutMs = 20000) {
    QProcess p;
    p.setProcessEnvironment(test::ProgramEnvironment(home));
    p.start(VITRINA_PROGRAM, args);
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        return {};
    }
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromLocal8Bit(p.readAllStandardError()),
            QString::fromLocal8Bit(p.readAllStandardOutput())};
}

TEST(Program, ADiscThatCannotBeOpenedEndsWithOneLineAndAFailureStatus) {
    test::TTestDisc disc(kSmall);
    std::filesystem::create_directories(disc.folder.Path() / "empty");
    disc.folder.Write("other/Vuv.dhl", WriteContainer({{"About.cfs", "x"}}));
    disc.folder.Write("damaged/Vuv.dhl", std::string(300, '\x5A'));
    const struct {
        const char* folder;
        const char* says;
    } cases[] = {
        {"missing", "folder not found"},
        {"empty", "Vuv.dhl"},
        {"other", "Struct.cfs"},
        {"damaged", ""},
    };
    for (const auto& c : cases) {
        const TRun run = RunProgram({"--disc", QString::fromStdString((disc.folder.Path() / c.folder).string())}, disc.home);
        EXPECT_EQ(run.code, 1) << c.folder;
        // The sound system may add its own complaints; ours is one line.
        const QStringList ours = run.err.split('\n').filter(QRegularExpression("^vitrina: "));
        ASSERT_EQ(ours.size(), 1) << c.folder << ": " << run.err.toStdString();
        EXPECT_TRUE(ours[0].contains(c.says)) << c.folder << ": " << ours[0].toStdString();
    }
}

TEST(Program, HelpAndVersionAnswerOnStdoutAndABadOptionGetsTheUsage) {
    test::TTestDisc disc(kSmall);
    const TRun help = RunProgram({"--help"}, disc.home);
    EXPECT_EQ(help.code, 0);
    EXPECT_TRUE(help.out.startsWith("usage: vitrina")) << help.out.toStdString();
    EXPECT_TRUE(help.out.contains("--disc FOLDER"));
    EXPECT_TRUE(help.err.isEmpty()) << help.err.toStdString();
    // Among other options and a document, help is still all that happens.
    const TRun helpInLine = RunProgram({"a.htm", "--disc", "x", "--help"}, disc.home);
    EXPECT_EQ(helpInLine.code, 0);
    EXPECT_EQ(helpInLine.out, help.out);
    const TRun version = RunProgram({"--version"}, disc.home);
    EXPECT_EQ(version.code, 0);
    EXPECT_TRUE(version.out.startsWith("vitrina ")) << version.out.toStdString();
    const TRun bad = RunProgram({"--bogus"}, disc.home);
    EXPECT_EQ(bad.code, 2);
    EXPECT_TRUE(bad.err.contains("bogus")) << bad.err.toStdString();
    EXPECT_TRUE(bad.err.contains("usage: vitrina")) << bad.err.toStdString();
    EXPECT_TRUE(bad.out.isEmpty());
}

// A normal start says nothing on stderr, the web engine's set-up report and a missing runtime
// folder included, unless the reader's own logging rules ask the engine to speak. On a real X
// server, with the reader's own engine flags (none), as a reader without a display would start
// it; where no GPU draws, the program's choice of software drawing is not reported either.
TEST(Program, StartsQuietlyUnlessTheReadersLoggingRulesAskOtherwise) {
    const QString xvfb = QStandardPaths::findExecutable("xvfb-run");
    if (xvfb.isEmpty()) GTEST_SKIP() << "xvfb-run is not installed";
    test::TTestDisc disc(kSmall);
    const struct {
        const char* rules;
        bool quiet;
    } cases[] = {
        {nullptr, true},
        {"qt.webenginecontext.info=true", false},
    };
    for (const auto& c : cases) {
        QProcessEnvironment env = test::ProgramEnvironment(disc.home);
        env.remove("XDG_RUNTIME_DIR");
        env.remove("QTWEBENGINE_DISABLE_SANDBOX");
        env.remove("QTWEBENGINE_CHROMIUM_FLAGS");
        env.remove("QT_LOGGING_RULES");
        env.remove("QT_QPA_PLATFORM");
        env.remove("DISPLAY");
        if (c.rules) env.insert("QT_LOGGING_RULES", c.rules);
        QProcess p;
        p.setProcessEnvironment(env);
        const auto shot = disc.folder.Path() / "shot.png";
        // The document screen, so that the engine really starts.
        p.start(xvfb, {"-a", VITRINA_PROGRAM, "--disc", VITRINA_SAMPLE_DISC, "--screenshot",
                       QString::fromStdString(shot.string()), "--command", "screen2=dv_obzor.htm", "--settle-ms", "50"});
        ASSERT_TRUE(p.waitForFinished(60000));
        EXPECT_EQ(p.exitCode(), 0);
        const QString err = QString::fromLocal8Bit(p.readAllStandardError());
        if (c.quiet) {
            EXPECT_TRUE(err.isEmpty()) << err.toStdString();
        } else {
            EXPECT_TRUE(err.contains("qt.webenginecontext")) << err.toStdString();
        }
    }
}

TEST(Program, ASecondCopyOfTheTitleExitsAtOnceAndTheFirstIsNotDisturbed) {
    test::TTestDisc disc(kSmall, test::MinimalPictures());
    QProcess first;
    first.setProcessEnvironment(test::ProgramEnvironment(disc.home));
    first.start(VITRINA_PROGRAM, {"--disc", QString::fromStdString(disc.disc.string())});
    ASSERT_TRUE(first.waitForStarted());
    // The first copy has passed its single-instance test once it wrote its settings (probing
    // the semaphore itself would take it for a moment and could turn the first copy away).
    const auto runtime = disc.home / "run";
    const auto hive = disc.home / "config" / "HKEY_CURRENT_USER.reg";
    for (int i = 0; i < 500 && !std::filesystem::exists(hive); ++i) QTest::qWait(20);
    ASSERT_TRUE(std::filesystem::exists(hive));
    const TRun second = RunProgram({"--disc", QString::fromStdString(disc.disc.string())}, disc.home);
    EXPECT_EQ(second.code, 0);
    EXPECT_TRUE(second.err.contains("another copy")) << second.err.toStdString();
    EXPECT_EQ(first.state(), QProcess::Running);
    first.kill();
    first.waitForFinished();
    // A copy that died leaves no lock behind.
    TNamedSemaphore after;
    EXPECT_TRUE(after.Create(runtime, "\xCA\xEE\xEF\xE8\xFF"));
}

TEST(Program, ASecondCopyBringsTheFirstCopysWindowBack) {
    test::TTestProgram first(kSmall, test::MinimalPictures());
    ASSERT_EQ(first.Creation(), TProgram::TCreation::Normal);
    first.Window().showMinimized();
    ASSERT_TRUE(first.Window().isMinimized());
    // The second copy finds the first through the window directory, which learns of the window
    // on the next turn (a second directory object in this process would take over its socket).
    const auto entry = first.disc.home / "run" / "windows" / std::to_string(::getpid());
    for (int i = 0; i < 500 && !std::filesystem::exists(entry); ++i) QTest::qWait(20);
    ASSERT_TRUE(std::filesystem::exists(entry));
    QProcess second;
    second.setProcessEnvironment(test::ProgramEnvironment(first.disc.home));
    second.start(VITRINA_PROGRAM, {"--disc", QString::fromStdString(first.disc.disc.string())});
    // The second copy ends at once; the first copy's window comes back.
    for (int i = 0; i < 1000 && second.state() != QProcess::NotRunning; ++i) QTest::qWait(20);
    EXPECT_EQ(second.exitCode(), 0);
    for (int i = 0; i < 100 && first.Window().isMinimized(); ++i) QTest::qWait(20);
    EXPECT_FALSE(first.Window().isMinimized());
    EXPECT_TRUE(first.Window().isVisible());
}

TEST(Program, ScreenshotWritesTheShapedWindowAndExits) {
    test::TTestDisc disc(kSmall + "vertexmain=[0,0;99,0;0,79]\n",
                         test::MinimalPictures());
    const auto out = disc.folder.Path() / "shot.png";
    const TRun r = RunProgram({"--disc", QString::fromStdString(disc.disc.string()), "--screenshot",
                        QString::fromStdString(out.string()), "--command", "caseon", "--settle-ms", "50"},
                       disc.home);
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QImage shot(QString::fromStdString(out.string()));
    ASSERT_EQ(shot.size(), QSize(100, 80));
    EXPECT_EQ(shot.pixelColor(15, 15), QColor(Qt::red));   // the button's up picture
    EXPECT_EQ(shot.pixelColor(5, 40).alpha(), 255);        // inside the triangle
    EXPECT_EQ(shot.pixelColor(95, 75).alpha(), 0);         // outside it: transparent
}

// --scale sizes this program only: a Windows program the disc starts through wine sees the
// reader's own QT_SCALE_FACTOR, or none.
TEST(Program, TheScaleFactorIsNotHandedToTheProgramsADiscStarts) {
    struct TCase {
        const char* readers;  // nullptr: not set
        const char* seen;
    };
    for (const TCase c : {TCase{nullptr, ""}, TCase{"1.25", "1.25"}}) {
        SCOPED_TRACE(c.readers ? c.readers : "unset");
        test::TTestDisc disc(kSmall, test::MinimalPictures());
        disc.folder.Write("disc/game.exe", "MZ");
        const auto seen = disc.folder.Path() / "seen";
        const auto bin = disc.folder.Write("bin/wine", "#!/bin/sh\nprintf '%s' \"$QT_SCALE_FACTOR\" > '" +
                                                           seen.string() + ".part' && mv '" + seen.string() + ".part' '" +
                                                           seen.string() + "'\n");
        std::filesystem::permissions(bin, std::filesystem::perms::owner_all);
        QProcessEnvironment env = test::ProgramEnvironment(disc.home);
        env.insert("PATH", QString::fromStdString(bin.parent_path().string()) + ":" + env.value("PATH"));
        if (c.readers) env.insert("QT_SCALE_FACTOR", c.readers);
        else env.remove("QT_SCALE_FACTOR");
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(VITRINA_PROGRAM, {"--disc", QString::fromStdString(disc.disc.string()), "--scale", "2", "--command",
                                  "run=d:\\game.exe", "--screenshot",
                                  QString::fromStdString((disc.folder.Path() / "shot.png").string()), "--settle-ms", "50"});
        ASSERT_TRUE(p.waitForFinished(20000));
        ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
        for (int i = 0; i < 250 && !std::filesystem::exists(seen); ++i) QTest::qWait(20);
        ASSERT_TRUE(std::filesystem::exists(seen)) << "wine was not started";
        EXPECT_EQ(disc.folder.Read("seen"), c.seen);
        // The program itself was drawn at factor 2.
        EXPECT_EQ(QImage(QString::fromStdString((disc.folder.Path() / "shot.png").string())).size(), QSize(200, 160));
    }
}

TEST(Program, AScaleFactorIsLoweredToOneAtWhichTheWindowFitsTheScreen) {
    const struct {
        double factor;
        QSize window, available;
        double fitted;
    } cases[] = {
        {3, {740, 560}, {426, 341}, 1.5},  // 1280x1024 at factor 3: 1.73, in quarter steps 1.5
        {2, {740, 560}, {640, 512}, 1.5},
        {2, {400, 300}, {400, 300}, 2},    // fits exactly
        {4, {740, 560}, {100, 100}, 1},    // not even 1 fits
        {2, {}, {640, 512}, 2},            // no picture to measure
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FittingScale(c.factor, c.window, c.available), c.fitted) << c.factor << " " << c.window.width();
    }

    // The offscreen screen is 800x600: a 400x300 window at factor 4 fits at 2, in a second start.
    test::TTestDisc disc(kSmall, {{"bg1.bmp", test::Bmp(400, 300, Qt::white)}, {"b.bmp", test::Bmp(10, 10, Qt::red)}});
    const QString folder = QString::fromStdString(disc.disc.string());
    TRun run = RunProgram({"--disc", folder, "--scale", "4", "--first-paint-exit"}, disc.home);
    EXPECT_EQ(run.code, 0) << run.err.toStdString();
    EXPECT_EQ(run.err, "vitrina: --scale 4 makes the window larger than the screen: 2 instead\n");
    EXPECT_TRUE(run.out.contains("painted")) << run.out.toStdString();
    run = RunProgram({"--disc", folder, "--scale=2", "--first-paint-exit"}, disc.home);
    EXPECT_EQ(run.err, "") << "a factor that fits is kept";
    // A screenshot keeps the factor asked for.
    const auto shot = disc.folder.Path() / "shot.png";
    run = RunProgram({"--disc", folder, "--scale", "4", "--screenshot", QString::fromStdString(shot.string()),
                      "--settle-ms", "50"}, disc.home);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(QImage(QString::fromStdString(shot.string())).size(), QSize(1600, 1200));
}

TEST(Program, CopiesCloseEachOthersWindowsThroughTheWindowDirectory) {
    test::TTestDisc disc(kSmall, test::MinimalPictures());
    QProcess program;
    program.setProcessEnvironment(test::ProgramEnvironment(disc.home));
    program.start(VITRINA_PROGRAM, {"--disc", QString::fromStdString(disc.disc.string())});
    ASSERT_TRUE(program.waitForStarted());
    // This test stands in for the thesaurus window of another copy.
    TWindowDirectory directory(disc.home / "run");
    std::vector<std::string> requests;
    directory.OnRequest = [&](const std::string& title, const std::string& request) { requests.push_back(title + "|" + request); };
    directory.Publish({{0, "\xD2\xE5\xE7\xE0\xF3\xF0\xF3\xF1", true}});  // "Тезаурус"
    TWindowEntry main;
    for (int i = 0; i < 500 && !directory.FindWindowByTitle("\xEA\xEE\xEF\xE8\xFF", main); ++i) QTest::qWait(20);
    ASSERT_NE(main.pid, 0);
    EXPECT_EQ(main.pid, program.processId());
    // A close request to the main window runs its closing sequence, which closes ours.
    ASSERT_TRUE(directory.Send(main, "close"));
    ASSERT_TRUE(program.waitForFinished(20000));
    EXPECT_EQ(program.exitCode(), 0);
    for (int i = 0; i < 100 && requests.empty(); ++i) QTest::qWait(10);
    EXPECT_EQ(requests, (std::vector<std::string>{"\xD2\xE5\xE7\xE0\xF3\xF0\xF3\xF1|close"}));
    // The copy that ended left no entry behind.
    TWindowEntry gone;
    EXPECT_FALSE(directory.FindWindowByTitle("\xEA\xEE\xEF\xE8\xFF", gone));
}

}  // namespace
}  // namespace vitrina
