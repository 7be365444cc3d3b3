#include "print/print_geometry.h"

#include <algorithm>
#include <cmath>

namespace vitrina {

TPrinterGeometry DefaultGeometry(TPageOrientation orientation) {
    if (orientation == TPageOrientation::Landscape) return {300, 300, 3508, 2479, 95, 75, 3321, 2333};
    return {300, 300, 2479, 3508, 75, 91, 2333, 3321};
}

namespace {

// 2 cm in inches.
constexpr double kTwoCentimetres = 0.7874015748031496;

// The sheet's extent on one axis; a printer reporting a printable area beyond the sheet is taken
// at its printable end.
int SheetExtent(int phys, int page, int offset) { return phys - page - offset < 0 ? page + offset : phys; }

double ContentExtent(int phys, int page, int offset, int res, float scale) {
    const long r = std::lround(double(scale) * res);
    if (r <= 0) return 0;
    const long margin = std::lround(r * kTwoCentimetres);
    return double(SheetExtent(phys, page, offset) - 2 * margin) * kLayoutDpi / double(r);
}

}  // namespace

int SideMargin(const TPrinterGeometry& g, float scale) {
    return int(std::lround(std::lround(double(scale) * g.ResX) * kTwoCentimetres));
}

TSizeF ContentArea(const TPrinterGeometry& g, float scale) {
    return {ContentExtent(g.PhysWidth, g.PageWidth, g.OffsetX, g.ResX, scale),
            ContentExtent(g.PhysHeight, g.PageHeight, g.OffsetY, g.ResY, scale)};
}

TRectI ContentOnSheet(const TPrinterGeometry& g, float scale) {
    const int mx = SideMargin(g, scale);
    const int my = int(std::lround(std::lround(double(scale) * g.ResY) * kTwoCentimetres));
    return {mx, my, SheetExtent(g.PhysWidth, g.PageWidth, g.OffsetX) - 2 * mx,
            SheetExtent(g.PhysHeight, g.PageHeight, g.OffsetY) - 2 * my};
}

double LayoutToDeviceX(const TPrinterGeometry& g, float scale) { return double(scale) * g.ResX / kLayoutDpi; }
double LayoutToDeviceY(const TPrinterGeometry& g, float scale) { return double(scale) * g.ResY / kLayoutDpi; }

TImageFit FitImageScale(int w, int h, TPageOrientation current,
                        const std::function<TPrinterGeometry(TPageOrientation)>& geometryFor) {
    TImageFit fit{current, 1};
    if (w == 0 || h == 0) return fit;
    const TSizeF area = ContentArea(geometryFor(current), 1);
    if (w > h) {
        if (current == TPageOrientation::Portrait && area.width < w) fit.orientation = TPageOrientation::Landscape;
    } else if (area.height < h) {
        fit.orientation = TPageOrientation::Portrait;
    }
    const TSizeF chosen = ContentArea(geometryFor(fit.orientation), 1);
    fit.scale = float(std::min({1.0, chosen.width / w, chosen.height / h}));
    return fit;
}

TShrinkSearch::TShrinkSearch(float startScale, int pages) : grid_{startScale} {
    if (pages < 2) return;
    // Stepped as a float, as the scale has always been, so that each step lands where it did.
    for (float s = startScale; s > 0.05f;) grid_.push_back(s -= 0.005f);
    fits_ = grid_.size() - 1;
}

std::optional<size_t> TShrinkSearch::NextIndex() const {
    if (fits_ - tooBig_ > 1) return tooBig_ + (fits_ - tooBig_) / 2;
    // Found: the recorder must end with the pages of the answer.
    if (formatted_ != fits_) return fits_;
    return std::nullopt;
}

std::optional<float> TShrinkSearch::Next() const {
    const auto i = NextIndex();
    return i ? std::optional(grid_[*i]) : std::nullopt;
}

void TShrinkSearch::Result(int pages) {
    const auto i = NextIndex();
    if (!i) return;
    formatted_ = *i;
    if (*i == fits_) return;
    (pages < 2 ? fits_ : tooBig_) = *i;
}

}  // namespace vitrina
