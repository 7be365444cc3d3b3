// vitrina [--disc FOLDER] [--screenshot OUT.png] [--command TEXT]... [--settle-ms N] [--scale FACTOR]
//         [document [/h] | /t]
// vitrina [--disc FOLDER] --print-pdf DOCUMENT OUT.pdf
// vitrina --help | --version
// (--first-paint-exit: print "painted" at the first painted frame and end; for benchmarks)
#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QScreen>
#include <QTimer>

#include <charconv>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>
#include <unistd.h>

#include "app/application.h"
#include "app/first_paint.h"
#include "app/html_module_loader.h"
#include "app/program.h"
#include "app/program_options.h"
#include "app/program_parts.h"
#include "app/scale_fit.h"
#include "app/start_failure.h"
#include "commands/html_commands.h"
#include "html/engine_process.h"
#include "media/decoder_choice.h"
#include "panes/html_module.h"
#include "panes/standard_window_geometry.h"
#include "platform/click_sound.h"
#include "platform/cp1251.h"
#include "platform/program_copy.h"
#include "platform/quiet_start.h"
#include "platform/shell_desktop.h"
#include "platform/software_drawing.h"
#include "platform/user_folders.h"
#include "resources/help_viewer.h"
#include "screen/skin_window.h"

namespace fs = std::filesystem;
using namespace vitrina;

namespace {

bool HoldsContainer(const fs::path& folder) {
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(folder, ec))
        if (SameText1251(e.path().filename().string(), "Vuv.dhl")) return true;
    return false;
}

// The window's image holds the program's other windows over it, a modal one among them; a modal
// window that covers the main one is the image itself.
QImage ScreenshotWithModal(TSkinWindow& form, QWidget* modal) {
    if (modal && modal->width() >= form.width() && modal->height() >= form.height()) return modal->grab().toImage();
    return form.Screenshot();
}

fs::path DiscFolder(const TProgramOptions& c, const char* argv0) {
    if (!c.disc.empty()) return fs::absolute(c.disc);
    if (const char* env = std::getenv("VITRINA_DISC"); env && *env) return fs::absolute(env);
    if (HoldsContainer(fs::current_path())) return fs::current_path();
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::absolute(argv0).parent_path() : exe.parent_path();
}

// Qt takes the factor from the environment once, when the application is made. Then the reader's
// own value goes back, so that what the disc starts (wine, the desktop's opener) does not inherit
// ours; the program's own copies are handed the factor on their command line.
class TScaleEnvironment {
public:
    explicit TScaleEnvironment(double factor) {
        ::unsetenv(kCopyScaleVariable);
        if (factor <= 0) return;
        set_ = true;
        if (const char* own = std::getenv("QT_SCALE_FACTOR")) readers_ = own;
        char text[32] = {};
        std::to_chars(text, text + sizeof text - 1, factor);
        ::setenv("QT_SCALE_FACTOR", text, 1);
        ::setenv(kCopyScaleVariable, text, 1);
    }
    void ApplicationMade() {
        if (!std::exchange(set_, false)) return;
        if (readers_) ::setenv("QT_SCALE_FACTOR", readers_->c_str(), 1);
        else ::unsetenv("QT_SCALE_FACTOR");
    }

private:
    bool set_ = false;
    std::optional<std::string> readers_;
};

}  // namespace

int main(int argc, char** argv) {
    const TProgramOptions line = ParseProgramOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (!line.error.empty()) {
        std::cerr << "vitrina: " << line.error << "\n" << kProgramUsage << "\n";
        return 2;
    }
    if (line.help || line.version) {
        std::cout << (line.help ? ProgramHelp() : std::string("vitrina " VITRINA_VERSION "\n"));
        return 0;
    }
    KeepLibrariesQuiet();
    TScaleEnvironment scale(line.scale);
    PreferLightDecoders();
    // The engine's sandbox cannot run as root; documents come only from the disc anyway.
    PrepareEngineProcess(::geteuid() == 0, DrawsInSoftware(ThisDrawingHost(argc, argv)));
    TUserFolders::ProvideRuntimeFolder();
    // Web views share one GL context set, which must be chosen before the application exists:
    // the engine, loaded later with the HTML module, cannot choose it itself then.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    std::srand(unsigned(std::time(nullptr)));
    const std::vector<std::string> commandLine(argv, argv + argc);
    TApplication app(argc, argv);
    scale.ApplicationMade();
    app.setQuitOnLastWindowClosed(false);

    const TUserFolders folders = TUserFolders::FromEnvironment();
    const fs::path discFolder = DiscFolder(line, argv[0]);
    if (std::error_code ec; !fs::is_directory(discFolder, ec))
        return ReportStartFailure("folder not found: " + discFolder.string());
    TDriveMap drives(discFolder, folders.data);
    if (drives.RootIsReadersOrSystemFolder())
        return ReportStartFailure("Диск не открыт: папка диска " + drives.DiscRoot().string() +
                                  " — домашняя или системная папка.");
    if (!line.printPdf.empty()) {
        IHtmlModule* html = HtmlModule();
        if (!html) return 1;
        std::string error;
        const int result = html->PrintDocumentToPdf(drives, folders, line.printPdf, IsPictureFile(line.printPdf),
                                                    fs::absolute(line.printPdfOut), error);
        if (result != 0) std::cerr << "vitrina: " << error << "\n";
        return result;
    }
    // A screenshot is an image and keeps the factor asked for; a window must fit the screen.
    if (line.scale > 1 && line.screenshot.empty()) {
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const double fitted = FittingScale(line.scale, DiscWindowSize(drives), screen->availableGeometry().size());
            if (fitted < line.scale) {
                std::cerr << "vitrina: --scale " << line.scale << " makes the window larger than the screen: "
                          << fitted << " instead\n";
                RestartWithScale(commandLine, fitted);
            }
        }
    }
    TClickSound sounds;
    TShellDesktop desktop(HostPathsOf(drives), sounds);
    THelpViewer help(drives);
    desktop.SetHelpViewer([&help](const std::string& file, const std::string& topic) { help.Show(file, topic); });
    TStartOptions options;
    options.animations = line.screenshot.empty();
    options.arguments = line.arguments;
    // Files handed in by host path are named the disc's way (z:\...), so the slashes of a host
    // path never read as the "/t" or " /h" marks of the mode selection.
    for (std::string& a : options.arguments) {
        std::error_code ec;
        const fs::path host(Cp1251ToUtf8(a));
        if (a.size() > 2 && a[0] == '/' && fs::exists(host, ec)) a = drives.ToWindowsPath(host);
    }

    auto program = std::make_unique<TProgram>(drives, folders, desktop, options);
    program->Start();
    help.SetWindowDirectory(program->WindowDirectory());
    const bool documentMode = program->Creation() == TProgram::TCreation::DocumentMode;
    const bool thesaurus = program->Creation() == TProgram::TCreation::ThesaurusMode;
    switch (program->Creation()) {
    case TProgram::TCreation::Normal:
    case TProgram::TCreation::DocumentMode:
    case TProgram::TCreation::ThesaurusMode:
        break;
    case TProgram::TCreation::SecondCopy:
        // Ends as asked: a terminal deserves one line.
        std::cerr << "vitrina: " << program->CreationMessage() << "\n";
        return 0;
    default:
        // A disc that cannot be opened: silent in the program's own windows, but not unseen.
        return ReportStartFailure(program->CreationMessage());
    }
    TSkinWindow* form = &program->Window();
    if (documentMode) {
        // A plain window showing one file: closing it or Esc ends the copy.
        app.setQuitOnLastWindowClosed(true);
        program->Parts().OnEscape = [] { QCoreApplication::exit(0); };
        program->Parts().SetUpDocumentMode(*form, options.arguments);
    } else if (thesaurus) {
        // Closing the thesaurus window ends its copy, without the main window's closing sequence.
        app.setQuitOnLastWindowClosed(true);
        form->OnTerminate = [] { QCoreApplication::exit(0); };
        form->ShowMainWindow();
    } else {
        // exit, not quit: quit asks the windows to close, and the main window refuses (it closes
        // through its animation, which is what ends here).
        form->OnTerminate = [] { QCoreApplication::exit(0); };
        program->ShowMainWindow();
    }

    if (line.firstPaintExit) {
        // Reports the first painted frame on stdout and ends, for the start-up benchmark: the
        // frame of whichever window comes first (a disc's start clip comes before the main window).
        app.installEventFilter(new TFirstPaint(&app));
    }

    int rc = 0;
    bool shot = false;
    auto takeScreenshot = [&](QWidget* modal) {
        if (std::exchange(shot, true)) return;
        if (!ScreenshotWithModal(*form, modal).save(QString::fromStdString(line.screenshot), "PNG")) {
            std::cerr << "vitrina: cannot write " << line.screenshot << "\n";
            rc = 1;
        }
        // Every loop ends, a modal window's too.
        QCoreApplication::exit(0);
    };
    // A command that opens a modal window returns when it closes: the screenshot is taken of the
    // modal window once the same one has stood for the pause.
    QTimer modalWatch;
    QPointer<QWidget> modal;
    QElapsedTimer modalSince;
    if (!line.screenshot.empty()) {
        QObject::connect(&modalWatch, &QTimer::timeout, [&] {
            QWidget* now = QApplication::activeModalWidget();
            if (now != modal) {
                modal = now;
                modalSince.start();
            } else if (modal && modal->isVisible() && modalSince.elapsed() >= line.settleMs) {
                takeScreenshot(modal);
            }
        });
        modalWatch.start(50);
    }
    // The commands run one after another from the window's own loop: each once the documents
    // the one before opened have loaded (boundedly), and the screenshot after the last, once its
    // documents are there and the pause has passed. A command that opens a modal window returns
    // when it closes; meanwhile the steps wait.
    std::size_t nextCommand = 0;
    bool running = false;
    QElapsedTimer waited;
    waited.start();
    QTimer steps;
    QObject::connect(&steps, &QTimer::timeout, form, [&] {
        if (running) return;
        if (shot) return steps.stop();
        const TCommandServices& services = program->Dispatcher().Services();
        if (services.html && services.html->DocumentsLoading() && waited.elapsed() < 10000) return;
        if (nextCommand < line.commands.size()) {
            running = true;
            program->ExecuteCommand(line.commands[nextCommand++]);
            running = false;
            waited.start();
            return;
        }
        steps.stop();
        if (!line.screenshot.empty() && !shot) QTimer::singleShot(line.settleMs, form, [&] { takeScreenshot(nullptr); });
    });
    steps.start(50);
    const int loop = app.exec();
    help.SetWindowDirectory(nullptr);
    program.reset();
    return rc ? rc : loop;
}
