// The vitrina program as a person starts it: processes, exit codes, the terminal line.
#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>
#include <gtest/gtest.h>

#include "app/test_disc.h"
#include "platform/single_instance.h"
#include "platform/window_directory.h"

namespace vitrina {
namespace {

const char* kSmall = R"(title=копия
button 1
vx=10
vy=10
fn1=b.bmp
fn2=b.bmp
fn3=b.bmp
go=caseon
hint=x
wav=no
_screen=bg1.bmp
)";

struct TRun {
    int code = -1;
    QString err;
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
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromLocal8Bit(p.readAllStandardError())};
}

TEST(Program, MissingContainerOrDescriptionEndsWithOneLine) {
    test::TTestDisc disc(kSmall);
    const TRun none = RunProgram({"--disc", QString::fromStdString((disc.folder.Path() / "empty").string())}, disc.home);
    EXPECT_EQ(none.code, 0);
    EXPECT_TRUE(none.err.contains("Vuv.dhl")) << none.err.toStdString();
    disc.folder.Write("other/Vuv.dhl", WriteContainer({{"About.cfs", "x"}}));
    const TRun noStruct = RunProgram({"--disc", QString::fromStdString((disc.folder.Path() / "other").string())}, disc.home);
    EXPECT_EQ(noStruct.code, 0);
    EXPECT_TRUE(noStruct.err.contains("Struct.cfs")) << noStruct.err.toStdString();
}

TEST(Program, ASecondCopyOfTheTitleExitsAtOnceAndTheFirstIsNotDisturbed) {
    test::TTestDisc disc(kSmall, {{"bg1.bmp", test::Bmp(100, 80, Qt::white)}, {"b.bmp", test::Bmp(10, 10, Qt::red)}});
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

TEST(Program, ScreenshotWritesTheShapedWindowAndExits) {
    test::TTestDisc disc(std::string(kSmall) + "vertexmain=[0,0;99,0;0,79]\n",
                         {{"bg1.bmp", test::Bmp(100, 80, Qt::white)}, {"b.bmp", test::Bmp(10, 10, Qt::red)}});
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

TEST(Program, CopiesCloseEachOthersWindowsThroughTheWindowDirectory) {
    test::TTestDisc disc(kSmall, {{"bg1.bmp", test::Bmp(100, 80, Qt::white)}, {"b.bmp", test::Bmp(10, 10, Qt::red)}});
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
