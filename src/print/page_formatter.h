#pragma once
// FormatPages: the document of a viewer laid out on the recorder's pages at a print scale. The
// engine prints it to PDF at the content area of the sheet; each page of that PDF becomes a page
// of the recorder, with the viewer's page header drawn on it while page numbers are on.
#include <QObject>
#include <QPointer>

#include <QSize>

#include <functional>
#include <optional>

namespace vitrina {

class TFrameViewer;
class TMetaFilePrinter;

class TPageFormatter : public QObject {
public:
    // progress(page) is called with 0 when the layout starts and then with each page number;
    // it returns false to stop.
    using TProgress = std::function<bool(int page)>;
    // done(ok): false when the engine gave nothing or the progress stopped it.
    TPageFormatter(TFrameViewer* viewer, TMetaFilePrinter& recorder, float scale, TProgress progress,
                   std::function<void(bool ok)> done, QObject* parent = nullptr);
    void Start();

private:
    void Pages(const QByteArray& pdf);

    QPointer<TFrameViewer> viewer_;
    TMetaFilePrinter& recorder_;
    float scale_;
    TProgress progress_;
    std::function<void(bool)> done_;
};

// Lays out and waits (a local event loop, bounded): true when pages were made.
bool FormatPagesNow(TFrameViewer* viewer, TMetaFilePrinter& recorder, float scale,
                    const TPageFormatter::TProgress& progress = {});

// The pages a document opens with: for a picture of size pixels the orientation and scale of
// FitImageScale, then the first formatting (format, at a scale), then, for a picture, smaller
// and smaller scales until it takes one sheet. The print scale the pages were made at, or
// nothing when the first formatting failed or was cancelled.
std::optional<float> FormatAtStart(TFrameViewer* viewer, TMetaFilePrinter& recorder, bool picture, QSize size,
                                   const std::function<bool(float scale)>& format);

// Sets the engine's printing of backgrounds (tables' and the page's).
void SetPrintBackgrounds(TFrameViewer* viewer, bool on);

}  // namespace vitrina
