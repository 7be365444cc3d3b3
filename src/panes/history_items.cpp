#include "panes/history_items.h"

#include "platform/cp1251.h"

namespace vitrina {
namespace {

THistoryItem Item(const TDynamicStringArray& titles, int entry) {
    std::string caption = titles[entry].substr(0, kHistoryCaptionLength);
    if (caption.empty()) caption = Utf8ToCp1251("Без названия");
    return {caption, "history=" + std::to_string(entry), true};
}

}  // namespace

std::vector<THistoryItem> BackHistoryItems(const TDynamicStringArray& titles, int index) {
    std::vector<THistoryItem> items(kHistoryPopupItems);
    const int count = static_cast<int>(titles.size());
    for (int k = 0; k < kHistoryPopupItems; ++k) {
        const int entry = index + 1 + k;
        if (entry >= 0 && entry < count) items[k] = Item(titles, entry);
    }
    return items;
}

std::vector<THistoryItem> ForwardHistoryItems(const TDynamicStringArray& titles, int index) {
    std::vector<THistoryItem> items(kHistoryPopupItems);
    const int count = static_cast<int>(titles.size());
    // The k-th of the entries index-8 .. index-1 goes to item 7-k.
    for (int k = 0; k < kHistoryPopupItems; ++k) {
        const int entry = index - kHistoryPopupItems + k;
        if (entry >= 0 && entry < count) items[kHistoryPopupItems - 1 - k] = Item(titles, entry);
    }
    return items;
}

}  // namespace vitrina
