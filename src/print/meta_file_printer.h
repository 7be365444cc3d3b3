#pragma once
// TMetaFilePrinter: the page recorder of the preview. It knows the current printer's sheet and
// keeps the formatted pages: each is the engine's page (a page of its PDF, drawn at whatever
// resolution it is painted at) and the drawings over it (the page header), kept as calls and made
// again on every painting, so that text stays text on any device.
#include <QPainter>
#include <QPrinter>

#include <functional>
#include <memory>
#include <vector>

#include "print/print_geometry.h"

namespace vitrina {

class TPdfPages;

class TMetaFilePrinter {
public:
    // The two warnings: no printer installed, the default printer not available.
    struct TWarnings {
        std::function<void()> noPrinters;
        std::function<void()> defaultUnavailable;
    };
    // Checks the printers (warning as it finds) and takes the printer's current orientation.
    explicit TMetaFilePrinter(const TWarnings& warnings);
    // A recorder for a sheet of this geometry and no printer (writing PDF files); its device is
    // the sheet.
    explicit TMetaFilePrinter(TPrinterGeometry geometry);
    ~TMetaFilePrinter();

    // Reads the printer's sheet; false when there is no printer (the geometry is then the
    // default one of the orientation).
    bool RefreshDevice();
    const TPrinterGeometry& Geometry() const { return geometry_; }
    // Null without a usable printer.
    QPrinter* Printer() const { return printer_.get(); }

    TPageOrientation PageOrientation() const { return orientation_; }
    // Asks the printer for the orientation and keeps what it accepted.
    void SetPageOrientation(TPageOrientation orientation);
    // The sheet in an orientation, as the printer gives it (FitImageScale asks for both).
    TPrinterGeometry GeometryFor(TPageOrientation orientation);

    bool PageNumbers = true;

    // Recording.
    void BeginPages();
    void NewPage();
    // A drawing over the open page, in device pixels from the printable area's top-left corner.
    void DrawOnPage(std::function<void(QPainter&)> drawing);
    // The engine's page on the open page, placed at content (device pixels on the sheet).
    void SetPageContent(std::shared_ptr<TPdfPages> pdf, int page, TRectI content);
    void EndPages();
    bool Recording() const { return recording_; }

    int PageCount() const { return int(pages_.size()); }
    // The whole sheet of page i in target, the recorded printable area at its place on it.
    // forPrint also lays the page's text under its picture, so that printed files keep it.
    void PaintSheet(QPainter& painter, int i, const QRectF& target, bool forPrint = false) const;
    // Pages first..last (0-based) on the device, one sheet each; progress(page number) returns
    // false to stop. False when stopped or when the device cannot be painted on.
    bool PrintPages(QPagedPaintDevice& device, QRectF paper, int first, int last,
                    const std::function<bool(int)>& progress) const;

private:
    struct TPage {
        std::shared_ptr<TPdfPages> pdf;
        int pdfPage = -1;
        TRectI content;
        std::vector<std::function<void(QPainter&)>> overlay;
        bool used = false;
    };
    void ReadGeometry();

    std::unique_ptr<QPrinter> printer_;
    bool printerUsable_ = false;
    bool sheetOnly_ = false;
    TPrinterGeometry geometry_;
    TPageOrientation orientation_ = TPageOrientation::Portrait;
    std::vector<std::unique_ptr<TPage>> pages_;
    bool recording_ = false;
};

// A print of a recorder's pages first..last (0-based) on a device, one sheet per Step, so that
// the window can take its events between sheets. The recorder and the device outlive it.
class TPagePrinting {
public:
    TPagePrinting(const TMetaFilePrinter& recorder, QPagedPaintDevice& device, QRectF paper, int first, int last);
    // False when the device cannot be painted on.
    bool Begin();
    // The page number (1-based) the next Step prints, 0 when all are printed.
    int NextPage() const;
    void Step();
    // Ends the device's job (also after a stop); false when it failed.
    bool End();

private:
    const TMetaFilePrinter& recorder_;
    QPagedPaintDevice& device_;
    QRectF paper_;
    int first_, last_, next_;
    QPainter painter_;
};

}  // namespace vitrina
