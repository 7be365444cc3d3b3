#include "print/page_formatter.h"

#include <QEventLoop>
#include <QPageLayout>
#include <QPageSize>
#include <QTimer>
#include <QWebEngineSettings>

#include <memory>

#include "html/frame_viewer.h"
#include "print/meta_file_printer.h"
#include "print/pdf_pages.h"

namespace vitrina {

TPageFormatter::TPageFormatter(TFrameViewer* viewer, TMetaFilePrinter& recorder, float scale, TProgress progress,
                               std::function<void(bool)> done, QObject* parent)
    : QObject(parent), viewer_(viewer), recorder_(recorder), scale_(scale), progress_(std::move(progress)),
      done_(std::move(done)) {}

void TPageFormatter::Start() {
    if (!viewer_ || (progress_ && !progress_(0))) return done_(false);
    const TSizeF area = ContentArea(recorder_.Geometry(), scale_);
    if (area.width < 1 || area.height < 1) return done_(false);
    // Layout units are the engine's pixels, 96 to the inch; its PDF pages are in points.
    const QPageLayout layout(QPageSize(QSizeF(area.width * 72 / kLayoutDpi, area.height * 72 / kLayoutDpi), QPageSize::Point),
                             QPageLayout::Portrait, QMarginsF());
    QPointer<TPageFormatter> self(this);
    viewer_->PrintToPdf(layout, [self](const QByteArray& pdf) {
        if (self) self->Pages(pdf);
    });
}

void TPageFormatter::Pages(const QByteArray& pdf) {
    auto pages = std::make_shared<TPdfPages>();
    if (pdf.isEmpty() || !pages->Load(pdf) || pages->PageCount() == 0) return done_(false);
    const TPrinterGeometry& g = recorder_.Geometry();
    const TRectI content = ContentOnSheet(g, scale_);
    const int pageWidth = int(g.PageWidth / LayoutToDeviceX(g, scale_));
    recorder_.BeginPages();
    for (int i = 0; i < pages->PageCount(); ++i) {
        if (progress_ && !progress_(i + 1)) {
            recorder_.EndPages();
            return done_(false);
        }
        if (i > 0) recorder_.NewPage();
        recorder_.SetPageContent(pages, i, content);
        if (recorder_.PageNumbers && viewer_ && viewer_->OnPrintHeader) {
            recorder_.DrawOnPage([header = viewer_->OnPrintHeader, viewer = viewer_, page = i + 1, pageWidth,
                                  sx = LayoutToDeviceX(g, scale_), sy = LayoutToDeviceY(g, scale_)](QPainter& canvas) {
                canvas.scale(sx, sy);
                header(viewer, canvas, page, pageWidth);
            });
        }
    }
    recorder_.EndPages();
    done_(true);
}

bool FormatPagesNow(TFrameViewer* viewer, TMetaFilePrinter& recorder, float scale, const TPageFormatter::TProgress& progress) {
    QEventLoop loop;
    bool result = false, finished = false;
    TPageFormatter formatter(viewer, recorder, scale, progress, [&](bool ok) {
        result = ok;
        finished = true;
        loop.quit();
    });
    formatter.Start();
    if (!finished) {
        // The engine answers in well under a second; a page that never answers ends the wait.
        QTimer::singleShot(60000, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return result;
}

std::optional<float> FormatAtStart(TFrameViewer* viewer, TMetaFilePrinter& recorder, bool picture, QSize size,
                                   const std::function<bool(float)>& format) {
    float scale = 1;
    if (picture && size.width() != 0 && size.height() != 0) {
        const TImageFit fit = FitImageScale(size.width(), size.height(), recorder.PageOrientation(),
                                            [&recorder](TPageOrientation o) { return recorder.GeometryFor(o); });
        recorder.SetPageOrientation(fit.orientation);
        recorder.RefreshDevice();
        scale = fit.scale;
    }
    if (!format(scale)) return std::nullopt;
    if (picture) {
        TShrinkSearch shrink(scale, recorder.PageCount());
        for (std::optional<float> next; (next = shrink.Next());) {
            scale = *next;
            if (!FormatPagesNow(viewer, recorder, scale)) break;
            shrink.Result(recorder.PageCount());
        }
    }
    return scale;
}

void SetPrintBackgrounds(TFrameViewer* viewer, bool on) {
    if (viewer) viewer->settings()->setAttribute(QWebEngineSettings::PrintElementBackgrounds, on);
}

}  // namespace vitrina
