// "html" open-to-painted: THtmlFrame::OpenInArea on the sample disc (documents served from the
// store through the scheme handler) against a bare QWebEngineView loading the same document from
// disk as a file: URL, alternating in the same run, same view size. "Painted" means: the load
// has finished and one grab of the view has returned. Prints medians, their ratio and the
// resident memory of this process and of the engine's processes.
//
//   html_bench [--rounds N] [--screenshot OUT.png [--document NAME.htm]]
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>
#include <unistd.h>

#include "html/doc_engine.h"
#include "html/doc_scheme_handler.h"
#include "html/engine_process.h"
#include "html/doc_url.h"
#include "panes/html_frame.h"
#include "platform/cp1251.h"
#include "resources/drive_map.h"
#include "platform/registry.h"
#include "resources/compr_stream.h"
#include "resources/document_reach.h"
#include "resources/store.h"

namespace fs = std::filesystem;
using namespace vitrina;

namespace {

// A window around the pane that only counts document changes.
class TBenchHost : public THtmlFrameHost {
public:
    int CurrentScreen() const override { return 1; }
    void SetTitleText(const std::string&) override { ++changes; }
    void PressWithShift(int, int) override {}
    void ClearSkinHover() override {}
    void ExecuteCommand(const std::string&) override {}
    void Beep() override {}
    QRect DocumentPanelClientRect() const override { return {}; }
    void ShowStatus(const std::string&) override {}
    bool PathInputExists() const override { return false; }
    std::string CurrentPath() const override { return {}; }
    bool StatusBarExists() const override { return false; }
    void ShowStatusBarText(const std::string&) override {}
    void RefreshNavigation() override {}
    void TreeFollowDocument(const std::string&) override {}
    void UpdateChapterHints() override {}
    void ShellOpen(const std::string&, const std::string&) override {}
    void RunProgram(const std::string&, const std::string&) override {}
    void OpenPictureWindow(const std::string&) override {}
    std::filesystem::path AskZipTarget(const std::filesystem::path&, const std::string&) override { return {}; }
    void ClosePopups() override {}
    void OpenPopup(int, int, int) override {}
    int changes = 0;
};

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

long RssKb(int pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(in, line);)
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    return 0;
}

// The engine's helper processes are children of this one.
long ChildrenRssKb() {
    long total = 0;
    const int self = ::getpid();
    for (const auto& e : fs::directory_iterator("/proc")) {
        const std::string name = e.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos) continue;
        std::ifstream stat(e.path() / "stat");
        std::string text;
        std::getline(stat, text);
        const auto close = text.rfind(')');
        if (close == std::string::npos) continue;
        int ppid = 0;
        char state;
        if (std::sscanf(text.c_str() + close + 1, " %c %d", &state, &ppid) == 2 && ppid == self)
            total += RssKb(std::stoi(name));
    }
    return total;
}

}  // namespace

int main(int argc, char** argv) {
    PrepareEngineProcess(::geteuid() == 0);
    TDocSchemeHandler::RegisterScheme();
    QApplication app(argc, argv);
    int rounds = 3;
    std::string screenshot, shown;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::string(argv[i]) == "--rounds") rounds = std::max(1, std::atoi(argv[++i]));
        else if (std::string(argv[i]) == "--screenshot") screenshot = argv[++i];
        else if (std::string(argv[i]) == "--document") shown = argv[++i];
    }
    const fs::path disc = VITRINA_SAMPLE_DISC;
    const fs::path sources = VITRINA_SAMPLE_SOURCES;
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(sources))
        if (e.path().extension() == ".htm") names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    if (names.empty() || !fs::exists(disc / "interface.dat")) {
        std::cerr << "html_bench: the sample disc is not built (" << disc << ")\n";
        return 1;
    }

    const fs::path home = fs::temp_directory_path() / ("vitrina-html-bench-" + std::to_string(::getpid()));
    fs::create_directories(home / "user");
    TDriveMap drives(disc, home / "user");
    TStore store;
    store.Open(disc / "interface.dat");
    store.SetPrefix("d:\\");
    TDocumentFiles files(store, drives);
    const TDocumentReach reach(drives);
    TDocEngine engine(files, reach);
    TRegistry registry(home / "config");
    TBenchHost host;

    QWidget window;
    window.resize(800, 600);
    QWidget* panel = new QWidget(&window);
    panel->setGeometry(0, 0, 800, 600);
    window.show();
    TDynamicHtmlArray areas(1);
    areas[0] = {.vx = 0, .vy = 0, .vw = 800, .vh = 600, .fn = "d:\\" + names[0], .number = 20, .screen = 1};
    auto pane = THtmlFrame::CreateHtmlPane(areas, {engine, files, drives, registry, "Bench", &window, panel, host});
    QTest::qWaitFor([&] { return host.changes > 0; }, 20000);

    QWebEngineView bare;
    bare.resize(panel->size());
    bare.show();
    bool bareDone = false;
    QObject::connect(&bare, &QWebEngineView::loadFinished, [&](bool) { bareDone = true; });
    bare.load(QUrl::fromLocalFile(QString::fromStdString((sources / names[0]).string())));
    QTest::qWaitFor([&] { return bareDone; }, 20000);

    // A plain view on the document scheme: how much of the difference is the scheme.
    QWebEngineView plain;
    plain.setPage(new QWebEnginePage(engine.Profile(), &plain));
    plain.resize(panel->size());
    plain.show();
    bool plainDone = false;
    QObject::connect(&plain, &QWebEngineView::loadFinished, [&](bool) { plainDone = true; });
    std::vector<double> ours, theirs, oursLoad, theirsLoad, scheme;
    QElapsedTimer timer;
    for (int r = 0; r < rounds; ++r) {
        for (std::size_t i = 1; i < names.size(); ++i) {
            const std::string& name = names[(r + i) % names.size()];
            // Ours: the "html" command's work, then the first grab.
            auto runOurs = [&] {
                const int before = host.changes;
                timer.start();
                pane->OpenInArea(20, "d:\\" + name);
                while (host.changes == before && timer.elapsed() < 20000)
                    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
                if (host.changes == before) return;
                oursLoad.push_back(timer.nsecsElapsed() / 1e6);
                pane->Viewers[0]->grab();
                ours.push_back(timer.nsecsElapsed() / 1e6);
            };
            // Bare: the same document from disk.
            auto runBare = [&] {
                bareDone = false;
                timer.start();
                bare.load(QUrl::fromLocalFile(QString::fromStdString((sources / name).string())));
                while (!bareDone && timer.elapsed() < 20000) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
                if (!bareDone) return;
                theirsLoad.push_back(timer.nsecsElapsed() / 1e6);
                bare.grab();
                theirs.push_back(timer.nsecsElapsed() / 1e6);
            };
            auto runPlain = [&] {
                plainDone = false;
                timer.start();
                plain.load(DocUrl("d:\\" + name));
                while (!plainDone && timer.elapsed() < 20000) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
                if (plainDone) scheme.push_back(timer.nsecsElapsed() / 1e6);
            };
            // Each goes first as often as the others, so that none pays for the one before.
            switch ((r * names.size() + i) % 3) {
            case 0: runOurs(); runBare(); runPlain(); break;
            case 1: runBare(); runPlain(); runOurs(); break;
            default: runPlain(); runOurs(); runBare(); break;
            }
        }
    }
    const double a = Median(ours), b = Median(theirs);
    std::printf("html open-to-painted: vitrina median %.1f ms (%zu loads), bare QWebEngineView median %.1f ms (%zu loads), ratio %.2f\n",
                a, ours.size(), b, theirs.size(), b > 0 ? a / b : 0.0);
    std::printf("load finished only: vitrina median %.1f ms, bare median %.1f ms, ratio %.2f\n", Median(oursLoad),
                Median(theirsLoad), Median(theirsLoad) > 0 ? Median(oursLoad) / Median(theirsLoad) : 0.0);
    std::printf("plain view on the document scheme: median %.1f ms\n", Median(scheme));
    std::printf("resident memory: this process %ld kB, engine processes %ld kB\n", RssKb(::getpid()), ChildrenRssKb());
    if (!screenshot.empty()) {
        pane->OpenInArea(20, "d:\\" + (shown.empty() ? names[0] : shown));
        QTest::qWait(1000);
        window.grab().save(QString::fromStdString(screenshot));
    }
    pane.reset();
    std::error_code ec;
    fs::remove_all(home, ec);
    return 0;
}
