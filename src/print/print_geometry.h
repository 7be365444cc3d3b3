#pragma once
// The printer's sheet as the page recorder knows it, and what follows from it: the area the
// engine fills at a print scale, and the orientation and scale that fit a picture on one sheet.
#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

#include "resources/dynamic_arrays.h"

namespace vitrina {

enum class TPageOrientation { Portrait, Landscape };

// In printer device pixels.
struct TPrinterGeometry {
    int ResX = 300;  // dots per inch
    int ResY = 300;
    int PhysWidth = 0;
    int PhysHeight = 0;
    int OffsetX = 0;  // of the printable area
    int OffsetY = 0;
    int PageWidth = 0;  // printable
    int PageHeight = 0;
    bool operator==(const TPrinterGeometry&) const = default;
};

// An A4 sheet at 300 dots per inch: what is used when no printer can be asked.
TPrinterGeometry DefaultGeometry(TPageOrientation orientation);

// The layout unit: one pixel at this many pixels per inch (the engine's CSS pixel).
inline constexpr double kLayoutDpi = 96.0;

struct TSizeF {
    double width = 0;
    double height = 0;
};

// The margin the engine leaves on each side of the sheet, in device pixels at the scale.
int SideMargin(const TPrinterGeometry& g, float scale);
// ContentArea: the area the engine fills at the print scale, in layout units.
TSizeF ContentArea(const TPrinterGeometry& g, float scale);
// Where the engine's content lands on the sheet at the scale, in device pixels from the sheet's
// top-left corner.
TRectI ContentOnSheet(const TPrinterGeometry& g, float scale);
// Device pixels per layout unit at the scale, across and down.
double LayoutToDeviceX(const TPrinterGeometry& g, float scale);
double LayoutToDeviceY(const TPrinterGeometry& g, float scale);

// FitImageScale: the orientation and print scale for a picture of w x h pixels. geometryFor
// gives the printer's sheet in an orientation (the printer may refuse the one asked for).
struct TImageFit {
    TPageOrientation orientation;
    float scale = 1;
};
TImageFit FitImageScale(int w, int h, TPageOrientation current,
                        const std::function<TPrinterGeometry(TPageOrientation)>& geometryFor);

// The shrink of picture documents: the print scales start, start - 0.005, ... down to the first at
// or below 0.05 form a grid; the answer is the first of them at which the picture takes one sheet,
// or the last. Pages only grow with the scale, so the grid is bisected: about eight layouts where
// stepping down one by one took up to 190. The caller formats at Next() and tells Result() the
// pages until Next() is empty; the recorder then holds the pages at Scale().
class TShrinkSearch {
public:
    // The first formatting, at startScale, gave pages pages.
    TShrinkSearch(float startScale, int pages);
    std::optional<float> Next() const;
    void Result(int pages);
    float Scale() const { return grid_[fits_]; }

private:
    std::optional<size_t> NextIndex() const;

    std::vector<float> grid_;
    size_t tooBig_ = 0;  // the largest index known to take more than one sheet
    size_t fits_ = 0;    // the smallest index known to fit, or the last one
    size_t formatted_ = 0;
};

}  // namespace vitrina
