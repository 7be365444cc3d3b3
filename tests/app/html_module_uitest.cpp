// The program and its HTML module: the program links none of the engine's libraries, and
// without the module it says so in one line and goes on (the HTML areas stay empty).
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <filesystem>

#include "app/test_disc.h"
#include "support/temp_folder.h"

namespace vitrina {
namespace {

namespace fs = std::filesystem;

TEST(HtmlModule, TheProgramLinksNoneOfTheEngineOrPrintingLibraries) {
    const QString readelf = QStandardPaths::findExecutable("readelf");
    if (readelf.isEmpty()) GTEST_SKIP() << "no readelf";
    QProcess p;
    p.start(readelf, {"-d", VITRINA_PROGRAM});
    ASSERT_TRUE(p.waitForFinished(30000));
    const QString needed = QString::fromLocal8Bit(p.readAllStandardOutput());
    ASSERT_TRUE(needed.contains("libQt6Widgets")) << needed.toStdString();
    for (const char* library : {"WebEngine", "Qt6Quick", "Qt6Pdf", "Qt6PrintSupport"})
        EXPECT_FALSE(needed.contains(library)) << library;
}

TEST(HtmlModule, WithoutItTheProgramSaysSoOnceAndShowsItsWindow) {
    if (!fs::exists(fs::path(VITRINA_SAMPLE_DISC) / "Vuv.dhl")) GTEST_SKIP() << "sample disc not built";
    // The program alone in a folder of its own.
    test::TTempFolder folder;
    const fs::path program = folder.Path() / "vitrina";
    fs::copy_file(VITRINA_PROGRAM, program);
    const QString shot = QString::fromStdString((folder.Path() / "shot.png").string());
    const QString pdf = QString::fromStdString((folder.Path() / "out.pdf").string());
    const struct {
        QStringList arguments;
        int code;
    } cases[] = {
        {{"--command", "screen2=dv_obzor.htm", "--screenshot", shot, "--settle-ms", "100"}, 0},
        {{"--print-pdf", "dv_obzor.htm", pdf}, 1},
    };
    for (const auto& c : cases) {
        QProcess p;
        p.setProcessEnvironment(test::ProgramEnvironment(folder.Path() / "home"));
        p.start(QString::fromStdString(program.string()), QStringList{"--disc", VITRINA_SAMPLE_DISC} + c.arguments);
        ASSERT_TRUE(p.waitForFinished(60000)) << c.arguments.join(' ').toStdString();
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(p.exitCode(), c.code) << c.arguments.join(' ').toStdString();
        const QString err = QString::fromLocal8Bit(p.readAllStandardError());
        EXPECT_TRUE(err.startsWith("vitrina: documents cannot be shown: ")) << err.toStdString();
        EXPECT_EQ(err.count('\n'), 1) << err.toStdString();
    }
    EXPECT_FALSE(QImage(shot).isNull());
    EXPECT_FALSE(QFile::exists(pdf));
}

// The module beside the program is used only when its version is the program's; another is
// refused in the same one line as a missing one.
TEST(HtmlModule, TheProgramLoadsAModuleOfItsOwnVersionAndRefusesAnother) {
    if (!fs::exists(fs::path(VITRINA_SAMPLE_DISC) / "Vuv.dhl")) GTEST_SKIP() << "sample disc not built";
    const struct {
        const char* module;
        int code;
        bool refused;
    } cases[] = {
        {VITRINA_HTML_MODULE, 0, false},
        {VITRINA_OTHER_VERSION_MODULE, 1, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.module);
        test::TTempFolder folder;
        const fs::path program = folder.Path() / "vitrina";
        fs::copy_file(VITRINA_PROGRAM, program);
        fs::copy_file(c.module, folder.Path() / "vitrina_html.so");
        const QString pdf = QString::fromStdString((folder.Path() / "out.pdf").string());
        QProcess p;
        p.setProcessEnvironment(test::ProgramEnvironment(folder.Path() / "home"));
        p.start(QString::fromStdString(program.string()),
                {"--disc", VITRINA_SAMPLE_DISC, "--print-pdf", "dv_obzor.htm", pdf});
        ASSERT_TRUE(p.waitForFinished(60000));
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(p.exitCode(), c.code);
        const QString err = QString::fromLocal8Bit(p.readAllStandardError());
        EXPECT_EQ(QFile::exists(pdf), !c.refused);
        if (c.refused) {
            EXPECT_TRUE(err.startsWith("vitrina: documents cannot be shown: ")) << err.toStdString();
            EXPECT_TRUE(err.contains("version")) << err.toStdString();
            EXPECT_EQ(err.count('\n'), 1) << err.toStdString();
        } else {
            EXPECT_FALSE(err.contains("documents cannot be shown")) << err.toStdString();
        }
    }
}

}  // namespace
}  // namespace vitrina
