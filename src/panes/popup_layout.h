#pragma once
// The geometry of skinned popup windows, apart from the windows: stacking items, stretching
// the background, keeping a window on the desktop, fitting a caption onto an item.
#include <functional>
#include <string>
#include <vector>

#include "resources/dynamic_arrays.h"

namespace vitrina {

struct TPopupItemBox {
    int width = 0, height = 0;  // the up image's size
    bool visible = false;
    bool placed = false;
    int left = 0, top = 0;
};

// The margin above the first item and below the last: the item top, or 5 when it is -1.
int PopupMargin(int itemTop);

// Places the visible items one under the other; hidden items take no space, and items after
// the first hidden or unplaced one are placed anew. itemLeft -1 centres them. Returns the
// window height the items need (sum of visible heights plus both margins).
int LayoutPopupItems(std::vector<TPopupItemBox>& items, int itemLeft, int itemTop, int windowWidth);

// For each row of a background stretched or cut from oldHeight to newHeight rows: the old row
// it copies. The bottom margin rows move with the bottom; new rows repeat the old middle row.
std::vector<int> StretchedBackgroundRows(int oldHeight, int newHeight, int margin);

// Moves a window fully onto the desktop: up and left first, then not past its left or top.
TRectI KeepOnDesktop(TRectI window, const TRectI& desktop);

struct TCaptionFit {
    std::string text;  // shortened with "..." when needed
    TRectI rect;       // where to draw it on the item
    std::string hint;  // the full caption when it had to be shortened, else empty
};
// Fits a caption onto an item of the given size; measure gives a text's size in the item font.
TCaptionFit FitCaption(const std::string& caption, int itemWidth, int itemHeight,
                       const std::function<TTextSize(const std::string&)>& measure);

}  // namespace vitrina
