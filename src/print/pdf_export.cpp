#include "print/pdf_export.h"

#include <QEventLoop>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

#include <memory>

#include "html/doc_engine.h"
#include "html/frame_viewer.h"
#include "platform/cp1251.h"
#include "print/meta_file_printer.h"
#include "print/page_formatter.h"
#include "print/print_service.h"
#include "session/disc_session.h"

namespace vitrina {
namespace fs = std::filesystem;

int PrintDocumentToPdf(TDriveMap& drives, const TUserFolders& folders, const std::string& document, bool picture,
                       const fs::path& out,
                       std::string& error) {
    TDiscSession session(drives, folders);
    session.OpenFolders();
    std::string file = document;
    std::error_code ec;
    if (const fs::path host(Cp1251ToUtf8(document)); host.is_absolute() && fs::is_regular_file(host, ec)) {
        file = drives.ToWindowsPath(host);
        session.Reach().AllowFolderOf(file);
    } else if (document.size() < 2 || document[1] != ':') {
        file = session.ProgramFolder + document;
    }
    TDocEngine engine(session.Files(), session.Reach());
    // The one wait that stays: this batch run (--print-pdf) has no window, and nothing else runs
    // on this thread while the engine loads and lays out.
    std::unique_ptr<TFrameViewer> viewer;
    QEventLoop loading;
    LoadPrintViewer(engine, nullptr, file, [&](std::unique_ptr<TFrameViewer> loaded) {
        viewer = std::move(loaded);
        loading.quit();
    });
    loading.exec();
    if (!viewer) {
        error = "cannot load " + Cp1251ToUtf8(document);
        return 1;
    }
    TMetaFilePrinter recorder(DefaultGeometry(TPageOrientation::Portrait));
    const auto scale = FormatAtStart(viewer.get(), recorder, picture, viewer->LastPictureSize(),
                                     [&](float at) { return FormatPagesNow(viewer.get(), recorder, at); });
    if (!scale || recorder.PageCount() == 0) {
        error = "the engine laid out no pages";
        return 1;
    }
    const TPrinterGeometry& g = recorder.Geometry();
    QPdfWriter writer(QString::fromStdString(out.string()));
    writer.setResolution(g.ResX);
    writer.setPageLayout(QPageLayout(QPageSize(QSizeF(g.PhysWidth * 72.0 / g.ResX, g.PhysHeight * 72.0 / g.ResY), QPageSize::Point),
                                     QPageLayout::Portrait, QMarginsF()));
    writer.setTitle(viewer->title());
    writer.setCreator("vitrina");
    if (!recorder.PrintPages(writer, QRectF(0, 0, writer.width(), writer.height()), 0, recorder.PageCount() - 1, {})) {
        error = "cannot write " + out.string();
        return 1;
    }
    return 0;
}

}  // namespace vitrina
