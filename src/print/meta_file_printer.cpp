#include "print/meta_file_printer.h"

#include <QPrinterInfo>

#include <algorithm>
#include <cmath>

#include "print/pdf_pages.h"

namespace vitrina {

namespace {

// Pages are drawn for a printer at no more than this many dots per inch: the engine's text is
// laid under the picture, and a sharper picture only makes the job larger.
constexpr double kMaxPictureDpi = 300;

QPageLayout::Orientation QtOrientation(TPageOrientation o) {
    return o == TPageOrientation::Landscape ? QPageLayout::Landscape : QPageLayout::Portrait;
}

}  // namespace

TMetaFilePrinter::TMetaFilePrinter(const TWarnings& warnings) {
    if (QPrinterInfo::availablePrinterNames().isEmpty()) {
        if (warnings.noPrinters) warnings.noPrinters();
    } else {
        const QPrinterInfo info = QPrinterInfo::defaultPrinter();
        if (info.isNull() || info.state() == QPrinter::Error) {
            if (warnings.defaultUnavailable) warnings.defaultUnavailable();
        } else {
            printer_ = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
            printerUsable_ = printer_->isValid();
            if (printerUsable_ && printer_->pageLayout().orientation() == QPageLayout::Landscape)
                orientation_ = TPageOrientation::Landscape;
        }
    }
    geometry_ = DefaultGeometry(orientation_);
}

TMetaFilePrinter::TMetaFilePrinter(TPrinterGeometry geometry) : sheetOnly_(true), geometry_(geometry) {
    if (geometry.PhysWidth > geometry.PhysHeight) orientation_ = TPageOrientation::Landscape;
}

TMetaFilePrinter::~TMetaFilePrinter() = default;

bool TMetaFilePrinter::RefreshDevice() {
    if (sheetOnly_) return true;
    if (!printer_ || !printerUsable_) {
        geometry_ = DefaultGeometry(orientation_);
        return false;
    }
    if (printer_->pageLayout().orientation() != QtOrientation(orientation_))
        printer_->setPageOrientation(QtOrientation(orientation_));
    ReadGeometry();
    if (geometry_.PhysWidth <= 0 || geometry_.PhysHeight <= 0 || geometry_.ResX <= 0) {
        geometry_ = DefaultGeometry(orientation_);
        return false;
    }
    return true;
}

void TMetaFilePrinter::ReadGeometry() {
    const QRect paper = printer_->paperRect(QPrinter::DevicePixel).toRect();
    const QRect page = printer_->pageRect(QPrinter::DevicePixel).toRect();
    geometry_.ResX = geometry_.ResY = printer_->resolution();
    geometry_.PhysWidth = paper.width();
    geometry_.PhysHeight = paper.height();
    geometry_.OffsetX = page.left() - paper.left();
    geometry_.OffsetY = page.top() - paper.top();
    geometry_.PageWidth = page.width();
    geometry_.PageHeight = page.height();
}

void TMetaFilePrinter::SetPageOrientation(TPageOrientation orientation) {
    orientation_ = orientation;
    if (!printer_ || !printerUsable_) {
        if (sheetOnly_ && (geometry_.PhysWidth > geometry_.PhysHeight) != (orientation == TPageOrientation::Landscape)) {
            std::swap(geometry_.PhysWidth, geometry_.PhysHeight);
            std::swap(geometry_.PageWidth, geometry_.PageHeight);
            std::swap(geometry_.OffsetX, geometry_.OffsetY);
            std::swap(geometry_.ResX, geometry_.ResY);
        }
        return;
    }
    printer_->setPageOrientation(QtOrientation(orientation));
    orientation_ = printer_->pageLayout().orientation() == QPageLayout::Landscape ? TPageOrientation::Landscape
                                                                                  : TPageOrientation::Portrait;
}

TPrinterGeometry TMetaFilePrinter::GeometryFor(TPageOrientation orientation) {
    SetPageOrientation(orientation);
    RefreshDevice();
    return geometry_;
}

void TMetaFilePrinter::BeginPages() {
    pages_.clear();
    recording_ = true;
    NewPage();
}

void TMetaFilePrinter::NewPage() { pages_.push_back(std::make_unique<TPage>()); }

void TMetaFilePrinter::DrawOnPage(std::function<void(QPainter&)> drawing) {
    if (pages_.empty()) NewPage();
    pages_.back()->used = true;
    pages_.back()->overlay.push_back(std::move(drawing));
}

void TMetaFilePrinter::SetPageContent(std::shared_ptr<TPdfPages> pdf, int page, TRectI content) {
    if (pages_.empty()) NewPage();
    TPage& p = *pages_.back();
    p.pdf = std::move(pdf);
    p.pdfPage = page;
    p.content = content;
    p.used = true;
}

void TMetaFilePrinter::EndPages() {
    recording_ = false;
    if (!pages_.empty() && !pages_.back()->used) pages_.pop_back();
}

void TMetaFilePrinter::PaintSheet(QPainter& painter, int i, const QRectF& target, bool forPrint) const {
    if (i < 0 || i >= PageCount() || geometry_.PhysWidth <= 0 || geometry_.PhysHeight <= 0) return;
    const TPage& page = *pages_[i];
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(target.width() / geometry_.PhysWidth, target.height() / geometry_.PhysHeight);
    painter.fillRect(QRect(0, 0, geometry_.PhysWidth, geometry_.PhysHeight), Qt::white);
    if (page.pdf && page.pdfPage >= 0 && page.content.width > 0 && page.content.height > 0) {
        const QRectF content(page.content.left, page.content.top, page.content.width, page.content.height);
        const QRectF onDevice = painter.transform().mapRect(content);
        double factor = 1;
        if (forPrint) {
            // At most kMaxPictureDpi on the sheet.
            const double dpi = onDevice.width() / (content.width() / geometry_.ResX);
            if (dpi > kMaxPictureDpi) factor = kMaxPictureDpi / dpi;
        }
        const QSize size(std::max(1, int(std::lround(onDevice.width() * factor))),
                         std::max(1, int(std::lround(onDevice.height() * factor))));
        if (forPrint) {
            // The text under the picture: hidden on paper, there for whoever reads the file.
            const QSizeF points = page.pdf->PagePointSize(page.pdfPage);
            if (points.width() > 0 && points.height() > 0) {
                const double sx = content.width() / points.width(), sy = content.height() / points.height();
                QFont font(QStringLiteral("Arial"));
                painter.setPen(Qt::black);
                for (const TTextLine& line : page.pdf->TextLines(page.pdfPage)) {
                    const QRectF r(content.left() + line.rect.left() * sx, content.top() + line.rect.top() * sy,
                                   line.rect.width() * sx, line.rect.height() * sy);
                    font.setPixelSize(std::max(1, int(r.height() * 0.8)));
                    painter.setFont(font);
                    painter.drawText(r, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextDontClip, line.text);
                }
            }
        }
        painter.drawImage(content, page.pdf->Render(page.pdfPage, size));
    }
    painter.translate(geometry_.OffsetX, geometry_.OffsetY);
    for (const auto& drawing : page.overlay) {
        painter.save();
        drawing(painter);
        painter.restore();
    }
    painter.restore();
}

bool TMetaFilePrinter::PrintPages(QPagedPaintDevice& device, QRectF paper, int first, int last,
                                  const std::function<bool(int)>& progress) const {
    TPagePrinting printing(*this, device, paper, first, last);
    if (!printing.Begin()) return false;
    while (const int page = printing.NextPage()) {
        if (progress && !progress(page)) {
            printing.End();
            return false;
        }
        printing.Step();
    }
    return printing.End();
}

TPagePrinting::TPagePrinting(const TMetaFilePrinter& recorder, QPagedPaintDevice& device, QRectF paper, int first,
                             int last)
    : recorder_(recorder), device_(device), paper_(paper), first_(std::max(first, 0)),
      last_(std::min(last, recorder.PageCount() - 1)), next_(first_) {}

bool TPagePrinting::Begin() { return painter_.begin(&device_); }

int TPagePrinting::NextPage() const { return painter_.isActive() && next_ <= last_ ? next_ + 1 : 0; }

void TPagePrinting::Step() {
    if (!NextPage()) return;
    if (next_ > first_) device_.newPage();
    recorder_.PaintSheet(painter_, next_, paper_, true);
    ++next_;
}

bool TPagePrinting::End() { return painter_.isActive() && painter_.end(); }

}  // namespace vitrina
