#pragma once
// What the print preview shows, computed without a window: the zoom list and its fits, the
// steps of the zoom tools, page navigation with its button states, and where the pages go.
#include <QRect>
#include <QSize>
#include <QStringList>

#include "print/print_geometry.h"

namespace vitrina {

enum TZoomEntry { kZoomWholePage = 0, kZoomPageWidth = 1, kZoomManual = 2 };
// The entries of ZoomBox, top to bottom.
QStringList ZoomEntries();
// ViewZoom for an entry; the fits take the scroll box's client size and the screen's pixels per inch.
double ZoomOfEntry(int index, double current, QSize client, double screenDpi, const TPrinterGeometry& g);

// The zoom tools: a left press enlarges while below the upper bound, a right press reduces while
// above the lower one, so a value may end a step beyond a bound. Returns the value unchanged
// when the press does nothing.
float StepPrintScale(float scale, bool enlarge);
double StepViewZoom(double zoom, bool enlarge);

struct TPageButtons {
    bool first = false, previous = false, next = false, last = false, goTo = false;
    bool twoPageEnabled = false;
};

// The pages shown and the state of the buttons that move between them.
class TPreviewPages {
public:
    void SetCount(int count);
    int Count() const { return count_; }
    int Current() const { return current_; }
    // CurrentPage; kept inside the page list.
    void Show(int page);
    void First() { Show(0); }
    void Previous() { if (current_ >= 1) Show(current_ - 1); }
    void Next() { if (current_ + 1 < count_) Show(current_ + 1); }
    void Last() { Show(count_ - 1); }
    // The go-to-page value (1-based), limited to the page count.
    void GoTo(int number);
    bool TwoPages() const { return twoPages_; }
    // A single page cannot be shown in two-page mode.
    void SetTwoPages(bool on) { twoPages_ = on && count_ > 1; }
    TPageButtons Buttons() const;
    // The page index of the left and right boxes, -1 when the box is empty.
    int LeftPage() const { return current_ < count_ ? current_ : -1; }
    int RightPage() const { return twoPages_ && current_ + 1 < count_ ? current_ + 1 : -1; }

private:
    int count_ = 0;
    int current_ = 0;
    bool twoPages_ = false;
};

// Where the page panels go on the grey panel inside the scroll box.
struct TPreviewLayout {
    QSize grey;
    QRect left;
    QRect right;  // empty outside two-page mode
};
TPreviewLayout LayOutPages(QSize client, double screenDpi, double viewZoom, const TPrinterGeometry& g, bool twoPages);

// The page under a point of the page box, centred in the scroll box: the scroll positions.
QPoint CentreOn(QPoint pointInGrey, QSize client);

}  // namespace vitrina
