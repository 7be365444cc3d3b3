// The skinned window: start-up from process start to the first painted frame of the sample
// disc, as a ratio to a bare Qt program that shows one window with one picture (bare_window;
// both measured in this run, alternating), and the cost of one cross-fade frame of a button.
//
//   window_bench [SAMPLE_DISC]      (QT_QPA_PLATFORM=offscreen or a display)
#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>
#include <unistd.h>

#include "app/program.h"
#include "html/engine_process.h"
#include "bench_support.h"
#include "platform/click_sound.h"
#include "platform/registry.h"
#include "platform/shell_desktop.h"
#include "resources/read_bin.h"
#include "screen/skin_window.h"
#include "resources/struct_loader.h"
#include "session/settings.h"

namespace fs = std::filesystem;
using namespace vitrina;

namespace {

// Milliseconds from starting the program to its "painted" line; -1 on failure.
double TimeToFirstPaint(const QString& program, const QStringList& args, const QProcessEnvironment& env) {
    QProcess p;
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::SeparateChannels);
    QElapsedTimer clock;
    clock.start();
    p.start(program, args);
    while (p.waitForReadyRead(20000)) {
        if (p.readAllStandardOutput().contains("painted")) {
            const double ms = clock.nsecsElapsed() / 1e6;
            p.waitForFinished(20000);
            return ms;
        }
    }
    p.kill();
    p.waitForFinished();
    return -1;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? -1 : v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const fs::path disc = argc > 1 ? fs::path(argv[1]) : fs::path(VITRINA_SAMPLE_DISC);
    // The program's own process set-up, for the window made in this process below.
    PrepareEngineProcess(::geteuid() == 0);
    QApplication app(argc, argv);
    bench::TScratchFolder scratch("window-bench");

    // The sample disc's first screen picture, as a file for the bare program.
    TDriveMap drives(disc, scratch.Path() / "c");
    TReadBin container;
    TDynamicStringArray lines;
    if (ReadStructLines(drives, container, lines) != TStructLoad::Loaded) {
        std::fprintf(stderr, "window_bench: no sample disc at %s\n", disc.c_str());
        return 1;
    }
    TScreenModel model(drives.ProgramFolder());
    model.ReadHeader(lines);
    model.ReadSections(lines);
    std::string bytes;
    container.ReadStream(model.ScreenPictures.empty() ? "" : model.ScreenPictures[0], bytes);
    const fs::path picture = scratch.Path() / "screen.bmp";
    std::ofstream(picture, std::ios::binary) << bytes;

    // A disc's start clip plays before the main window shows, for as long as the clip lasts: the
    // main window is timed with the clip turned off in the reader's settings (as the settings
    // dialog does), and the first frame with the clip, which is the clip's window, apart.
    const fs::path home = scratch.Path() / "home", clipHome = scratch.Path() / "clip-home";
    TRegistry settings(home / "config");
    if (settings.OpenKey(SettingsKey(model.Title), true)) settings.WriteBool("Clip", false);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment(), clipEnv = env;
    env.insert("VITRINA_HOME", QString::fromStdString(home.string()));
    clipEnv.insert("VITRINA_HOME", QString::fromStdString(clipHome.string()));
    const QStringList programArgs{"--disc", QString::fromStdString(disc.string()), "--first-paint-exit"};
    std::vector<double> bare, program, withClip;
    constexpr int kRuns = 7;
    for (int i = 0; i < kRuns; ++i) {
        bare.push_back(TimeToFirstPaint(VITRINA_BARE_WINDOW, {QString::fromStdString(picture.string())}, env));
        program.push_back(TimeToFirstPaint(VITRINA_PROGRAM, programArgs, env));
        if (i < 3) withClip.push_back(TimeToFirstPaint(VITRINA_PROGRAM, programArgs, clipEnv));
    }
    const double b = Median(bare), p = Median(program);
    std::printf("start-up to first painted frame (median of %d): bare Qt %.1f ms, vitrina %.1f ms, ratio %.2f (aim <= 1.2)\n",
                kRuns, b, p, b > 0 ? p / b : 0.0);
    std::printf("with the disc's start clip, its window's first frame (median of %zu): %.1f ms\n", withClip.size(),
                Median(withClip));

    // One cross-fade frame of a button: the blend of its pictures and the repaint of its rect.
    ::setenv("VITRINA_HOME", (scratch.Path() / "home2").c_str(), 1);
    const TUserFolders folders = TUserFolders::FromEnvironment();
    TDriveMap formDrives(disc, folders.data);
    TClickSound sounds;
    TShellDesktop desktop(HostPathsOf(formDrives), sounds);
    TStartOptions options;
    options.animations = false;
    TProgram vitrina(formDrives, folders, desktop, options);
    vitrina.Start();
    TSkinWindow& form = vitrina.Window();
    if (vitrina.Creation() != TProgram::TCreation::Normal || form.ButtonPictures().empty()) {
        std::fprintf(stderr, "window_bench: the window did not start\n");
        return 1;
    }
    form.ShowMainWindow();
    QCoreApplication::processEvents();
    const TBtnPic& button = form.ButtonPictures()[0];
    const RBtn& record = vitrina.Session().Model.ScreenButtons[0][0];
    button.effect->CrossFade(button.up, button.mv, QPoint(record.vx, record.vy));
    constexpr int kFrames = 2000;
    QElapsedTimer clock;
    clock.start();
    for (int n = 0; n < kFrames; ++n) button.effect->StepForBenchmark(1 + n % 63);
    const double us = clock.nsecsElapsed() / 1e3 / kFrames;
    std::printf("one cross-fade frame of a %dx%d button: %.1f us (aim well under 1000 us)\n", button.up.width(),
                button.up.height(), us);
    return 0;
}
