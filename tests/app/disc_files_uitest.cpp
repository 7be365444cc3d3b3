// What stands on a disc is a stranger's: the program started on it, as a reader starts it, reads
// no hidden file of the folder around it, unpacks no store entry past its cap, never hangs on a
// pipe in place of a file, and refuses a disc whose folder would be the reader's home.
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <gtest/gtest.h>

#include "app/program.h"
#include "app/program_fixture.h"
#include "app/test_disc.h"
#include "support/minimal_disc.h"
#include "html/frame_viewer.h"
#include "support/fifo.h"
#include "support/raw_store.h"

namespace vitrina {
namespace {

namespace fs = std::filesystem;

const std::string kStruct = test::MinimalDescription("files") + "_html 1\nvx=0 vy=0 vw=600 vh=400 fn=start.htm; number=20\n";

std::vector<TContainerEntry> Pictures() {
    return test::MinimalPictures(600, 400);
}

struct TRun {
    int code = -1;  // -1: killed after the wait, or crashed
    QStringList lines;  // our lines on stderr
};

// The program on folder, ending by itself after its screenshot; killed when it takes longer than
// any start can.
TRun RunProgram(const fs::path& folder, const fs::path& userHome, const fs::path& readersHome) {
    QProcess p;
    QProcessEnvironment env = test::ProgramEnvironment(userHome);
    env.insert("HOME", QString::fromStdString(readersHome.string()));
    p.setProcessEnvironment(env);
    p.start(VITRINA_PROGRAM, {"--disc", QString::fromStdString(folder.string()), "--screenshot",
                              QString::fromStdString((userHome / "shot.png").string()), "--settle-ms", "0"});
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
        return {};
    }
    const QString err = QString::fromUtf8(p.readAllStandardError());
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            err.split('\n').filter(QRegularExpression("^vitrina: "))};
}

// A disc unpacked as ~/run would make the whole home the disc: the program refuses it, with one
// line; the same disc one folder deeper starts.
TEST(DiscFiles, AHomeFolderNamedRunIsRefusedAsADisc) {
    test::TTestDisc disc(kStruct, Pictures());
    const fs::path home = disc.folder.Path() / "reader";
    const std::string container = disc.folder.Read("disc/Vuv.dhl");
    disc.folder.Write("reader/run/Vuv.dhl", container);
    disc.folder.Write("reader/books/run/Vuv.dhl", container);
    disc.folder.Write("reader/.ssh/id_rsa", "key");
    const struct {
        fs::path folder;
        int code;
    } cases[] = {{home / "run", 1}, {home / "books/run", 0}};
    for (const auto& c : cases) {
        const TRun run = RunProgram(c.folder, disc.home, home);
        EXPECT_EQ(run.code, c.code) << c.folder;
        if (c.code == 0) continue;
        ASSERT_EQ(run.lines.size(), 1) << c.folder;
        EXPECT_TRUE(run.lines[0].contains(QStringLiteral("домашняя или системная папка"))) << run.lines[0].toStdString();
        EXPECT_TRUE(run.lines[0].contains(QString::fromStdString(home.string()))) << run.lines[0].toStdString();
    }
}

// A pipe at the place of the first document, the store or the container: the program goes on
// (or ends with its line) instead of waiting for a writer for good.
TEST(DiscFiles, APipeInPlaceOfADiscFileNeverHangsTheProgram) {
    const struct {
        const char* pipe;
        int code;
    } cases[] = {{"start.htm", 0}, {"interface.dat", 0}, {"Vuv.dhl", 1}};
    for (const auto& c : cases) {
        test::TTestDisc disc(kStruct, Pictures());
        if (std::string(c.pipe) == "Vuv.dhl") fs::remove(disc.disc / c.pipe);
        test::MakeFifo(disc.disc / c.pipe);
        if (std::string(c.pipe) != "start.htm") disc.folder.Write("disc/start.htm", "<p>page");
        const TRun run = RunProgram(disc.disc, disc.home, disc.home);
        EXPECT_EQ(run.code, c.code) << c.pipe << " (-1: it hung and was killed)";
        if (c.code == 1) EXPECT_EQ(run.lines.size(), 1) << c.pipe;
    }
}

// A page asks for hidden files of the disc's folder, by name and through a link, and for a store
// entry that unpacks past the cap: each fails like a missing file; its own files still come.
TEST(DiscFiles, APageReadsNoHiddenFileAndNoEntryPastTheCap) {
    test::TTestDisc disc(kStruct, Pictures());
    disc.folder.Write("disc/.ssh/id_rsa", "SECRET-KEY");
    fs::create_directory_symlink(disc.disc / ".ssh", disc.disc / "keys");
    disc.folder.Write("disc/own.txt", "own");
    const std::uint64_t huge = 1 + 258 * std::uint64_t(400000);  // 103 200 001 bytes
    const std::string bomb = test::ZerosZlib(huge);
    test::TRawStore raw;
    raw.data = bomb + "small";
    raw.folders = {{0, 2}};
    raw.entries = {{"BOMB.TXT", 0, std::uint32_t(bomb.size()), std::uint32_t(huge), TStore::kFile},
                   {"SMALL.TXT", std::uint32_t(bomb.size()), 5, 5, TStore::kFile}};
    disc.folder.Write("disc/interface.dat", raw.Bytes());
    // Each asked for in a frame of the page's own origin, whose text the page can read when it came.
    std::string page = "<html><head><title>asking</title></head><body>";
    const char* names[] = {"own.txt", "small.txt", ".ssh/id_rsa", "keys/id_rsa", "bomb.txt"};
    for (const char* name : names) page += std::string("<iframe src='") + name + "'></iframe>";
    page += "<script>window.addEventListener('load', () => {"
            "  const frames = [...document.querySelectorAll('iframe')];"
            "  document.title = 'settled ' + frames.map(f => { let got = 'failed';"
            "    try { const text = f.contentDocument.documentElement.textContent;"
            "      if (text.length) got = 'read ' + text.length; } catch (e) {}"
            "    return f.getAttribute('src') + '=' + got; }).join(' '); });"
            "</script></body></html>";
    disc.folder.Write("disc/start.htm", page);
    TDriveMap drives(disc.disc, disc.Folders().data);
    TClickSound sounds;
    test::TRecordingDesktop desktop(drives, sounds);
    TStartOptions options;
    options.animations = false;
    TProgram vitrina(drives, disc.Folders(), desktop, options);
    vitrina.Start();
    ASSERT_EQ(vitrina.Creation(), TProgram::TCreation::Normal);
    vitrina.Window().ShowMainWindow();
    TFrameViewer* viewer = test::ActiveFrameViewer(vitrina.Parts());
    ASSERT_NE(viewer, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return viewer->page()->title().startsWith("settled"); }, 30000))
        << viewer->page()->title().toStdString();
    const QString title = viewer->page()->title();
    for (const char* expected : {"own.txt=read", "small.txt=read"})
        EXPECT_TRUE(title.contains(expected)) << expected << " in " << title.toStdString();
    for (const char* refused : {".ssh/id_rsa=read", "keys/id_rsa=read", "bomb.txt=read"})
        EXPECT_FALSE(title.contains(refused)) << refused << " in " << title.toStdString();
}

}  // namespace
}  // namespace vitrina
