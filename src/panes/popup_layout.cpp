#include "panes/popup_layout.h"

#include <algorithm>

namespace vitrina {

int PopupMargin(int itemTop) { return itemTop == -1 ? 5 : itemTop; }

int LayoutPopupItems(std::vector<TPopupItemBox>& items, int itemLeft, int itemTop, int windowWidth) {
    const int margin = PopupMargin(itemTop);
    bool replace = false;
    for (auto& item : items) {
        if (!item.visible || !item.placed) replace = true;
        if (replace) item.placed = false;
    }
    int height = 2 * margin;
    const TPopupItemBox* previous = nullptr;
    for (auto& item : items) {
        if (!item.visible) continue;
        if (!item.placed) {
            item.left = itemLeft == -1 ? (windowWidth - item.width) / 2 : itemLeft;
            item.top = previous ? previous->top + previous->height : margin;
            item.placed = true;
        }
        height += item.height;
        previous = &item;
    }
    return height;
}

std::vector<int> StretchedBackgroundRows(int oldHeight, int newHeight, int margin) {
    std::vector<int> rows(std::max(0, newHeight));
    if (oldHeight <= 0) return {};
    margin = std::clamp(margin, 0, std::min(oldHeight, std::max(0, newHeight)));
    for (int r = 0; r < newHeight; ++r) {
        if (r >= newHeight - margin) {
            rows[r] = oldHeight - (newHeight - r);
        } else if (r < oldHeight - margin) {
            rows[r] = r;
        } else {
            rows[r] = oldHeight / 2;
        }
    }
    return rows;
}

TRectI KeepOnDesktop(TRectI window, const TRectI& desktop) {
    if (window.Bottom() > desktop.Bottom()) window.top = desktop.Bottom() - window.height;
    if (window.Right() > desktop.Right()) window.left = desktop.Right() - window.width;
    window.left = std::max(window.left, desktop.left);
    window.top = std::max(window.top, desktop.top);
    return window;
}

TCaptionFit FitCaption(const std::string& caption, int itemWidth, int itemHeight,
                       const std::function<TTextSize(const std::string&)>& measure) {
    TCaptionFit fit;
    const TTextSize size = measure(caption);
    fit.rect.left = 7;
    if (size.width + 14 < itemWidth) {
        fit.rect.width = size.width;
    } else {
        fit.rect.width = itemWidth - 14;
        fit.hint = caption;
    }
    if (size.height < itemHeight) {
        fit.rect.top = (itemHeight - size.height) / 2;
        fit.rect.height = size.height;
    } else {
        fit.rect.top = -3;
        fit.rect.height = itemHeight + 3;
    }
    fit.text = caption;
    if (size.width > fit.rect.width) {
        std::string shortened = caption;
        do {
            if (!shortened.empty()) shortened.pop_back();
            fit.text = shortened + "...";
        } while (!shortened.empty() && measure(fit.text).width > fit.rect.width);
    }
    return fit;
}

}  // namespace vitrina
