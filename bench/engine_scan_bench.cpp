// The document scan with and without the web engine, on the same pages of the benchmark disc:
// each page loaded into a hidden viewer and searched with the engine's find (one page after the
// other, as a scan through a viewer must go) against TDocumentScan over the same pages.
//
//   engine_scan_bench DISC [--documents N] [--word WORD]     (WORD in UTF-8; N defaults to 200)
#include <QApplication>
#include <QElapsedTimer>
#include <QTest>

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>

#include <unistd.h>

#include "html/doc_engine.h"
#include "html/doc_scheme_handler.h"
#include "html/engine_process.h"
#include "html/frame_viewer.h"
#include "html/html_viewer.h"
#include "platform/cp1251.h"
#include "resources/compr_stream.h"
#include "resources/document_reach.h"
#include "resources/drive_map.h"
#include "resources/store.h"
#include "search/document_scan.h"

namespace fs = std::filesystem;
using namespace vitrina;

int main(int argc, char** argv) {
    PrepareEngineProcess(::geteuid() == 0);
    TDocSchemeHandler::RegisterScheme();
    // Web views need shared contexts, set before the application exists.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    if (argc < 2) {
        std::cerr << "usage: engine_scan_bench DISC [--documents N] [--word WORD]\n";
        return 2;
    }
    const fs::path disc = argv[1];
    std::size_t count = 200;
    std::string word = Utf8ToCp1251("двигатель");
    for (int i = 2; i + 1 < argc; ++i) {
        if (std::string(argv[i]) == "--documents") count = std::max(1, std::atoi(argv[++i]));
        else if (std::string(argv[i]) == "--word") word = Utf8ToCp1251(argv[++i]);
    }
    const fs::path home = fs::temp_directory_path() / ("vitrina-scan-bench-" + std::to_string(::getpid()));
    fs::create_directories(home);
    TDriveMap drives(disc, home);
    TStore store;
    if (!store.Open(disc / "interface.dat")) {
        std::cerr << "engine_scan_bench: no store in " << disc << "\n";
        return 1;
    }
    store.SetPrefix("d:\\");
    TDocumentFiles files(store, drives);
    const TDocumentReach reach(drives);
    TDocEngine engine(files, reach);
    TDynamicStringArray documents = IndexScanDocuments(store.ListFiles(), "d:\\", {}, true);
    if (documents.size() > count) documents.resize(count);

    // The engine: load, wait, find; one page at a time.
    TFrameViewer viewer(engine);
    viewer.SetViewImages(false);
    viewer.resize(800, 600);
    viewer.show();
    QTest::qWaitForWindowExposed(&viewer);
    QElapsedTimer clock;
    clock.start();
    std::size_t engineFound = 0;
    bool loaded = false;
    QObject::connect(&viewer, &QWebEngineView::loadFinished, [&](bool) { loaded = true; });
    for (const std::string& d : documents) {
        loaded = false;
        viewer.LoadFromFile(d);
        QTest::qWaitFor([&] { return loaded; }, 10000);
        bool answered = false, found = false;
        viewer.MainViewer().FindNext(QString::fromStdString(Cp1251ToUtf8(word)), false, [&](bool f) {
            found = f;
            answered = true;
        });
        QTest::qWaitFor([&] { return answered; }, 10000);
        engineFound += found;
    }
    const double engineMs = clock.nsecsElapsed() / 1e6;

    clock.restart();
    std::size_t scanFound = 0;
    TScanCallbacks callbacks;
    callbacks.matched = [&](std::size_t) { return ++scanFound, true; };
    TDocumentScan(files).Scan(documents, 0, TTextQuery(word, false), callbacks);
    const double scanMs = clock.nsecsElapsed() / 1e6;

    std::printf("%zu documents, found in %zu (engine) and %zu (scan)\n", documents.size(), engineFound, scanFound);
    std::printf("engine: %.0f ms (%.1f ms a document)\nscan:   %.1f ms\nratio engine/scan: %.0f\n", engineMs,
                engineMs / double(documents.size()), scanMs, engineMs / scanMs);
    fs::remove_all(home);
    return 0;
}
