#pragma once
// A small disc for the engine tests: loose files on disk and a document store, served through
// the real scheme handler to real viewers.
#include <QApplication>
#include <QTest>
#include <QVariant>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <memory>
#include <string>
#include <vector>

#include "html/doc_engine.h"
#include "html/doc_scheme_handler.h"
#include "html/engine_process.h"
#include "platform/cp1251.h"
#include "resources/drive_map.h"
#include "resources/compr_stream.h"
#include "resources/document_reach.h"
#include "resources/store.h"
#include "resources/store_writer.h"
#include "support/temp_folder.h"

namespace vitrina::test {

// The scheme and the engine's flags must be set before the application object exists.
inline const bool kSchemeRegistered = [] {
    PrepareEngineProcess(false);  // ui_main turns the sandbox off
    TDocSchemeHandler::RegisterScheme();
    return true;
}();

inline std::string W(std::string_view utf8) { return Utf8ToCp1251(utf8); }

// What a script gives in the page, once the engine answers (an invalid value after 5 s).
inline QVariant Eval(QWebEnginePage* page, const QString& script) {
    QVariant result;
    bool done = false;
    page->runJavaScript(script, [&](const QVariant& r) { result = r, done = true; });
    QTest::qWaitFor([&] { return done; }, 5000);
    return result;
}

class THtmlDisc {
public:
    // diskFiles: relative host paths below the disc root; storeFiles: store paths.
    THtmlDisc(const std::vector<std::pair<std::string, std::string>>& diskFiles,
              const std::vector<TStoreFile>& storeFiles)
        : drives_(folder_.Path() / "disc", folder_.Path() / "user") {
        std::filesystem::create_directories(folder_.Path() / "user");
        for (const auto& [path, bytes] : diskFiles) folder_.Write(std::filesystem::path("disc") / path, bytes);
        folder_.Write("disc/interface.dat", WriteStore(storeFiles));
        store_.Open(folder_.Path() / "disc" / "interface.dat");
        store_.SetPrefix("d:\\");
        files_ = std::make_unique<TDocumentFiles>(store_, drives_);
        engine_ = std::make_unique<TDocEngine>(*files_, reach_);
    }

    TDocEngine& Engine() { return *engine_; }
    TDocumentFiles& Files() { return *files_; }
    TDriveMap& Drives() { return drives_; }
    TDocumentReach& Reach() { return reach_; }
    const std::filesystem::path& Root() const { return folder_.Path(); }

private:
    TTempFolder folder_;
    TDriveMap drives_;
    TStore store_;
    TDocumentReach reach_{drives_};
    std::unique_ptr<TDocumentFiles> files_;
    std::unique_ptr<TDocEngine> engine_;
};

}  // namespace vitrina::test
