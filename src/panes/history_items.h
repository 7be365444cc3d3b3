#pragma once
// What the back and forward history popups show for a viewer's history.
#include <string>
#include <vector>

#include "resources/dynamic_arrays.h"

namespace vitrina {

struct THistoryItem {
    std::string caption;
    std::string command;  // "history=" index
    bool visible = false;
};

constexpr int kHistoryPopupItems = 8;
constexpr std::size_t kHistoryCaptionLength = 80;

// titles[0] is the newest entry; index is the entry on view. Back: the older entries, nearest
// first. Forward: the newer entries bottom-up, so the nearest newer one is the top visible item.
std::vector<THistoryItem> BackHistoryItems(const TDynamicStringArray& titles, int index);
std::vector<THistoryItem> ForwardHistoryItems(const TDynamicStringArray& titles, int index);

}  // namespace vitrina
