#include "html/history_list.h"

#include <algorithm>

#include "platform/cp1251.h"

namespace vitrina {

void THistoryList::Visit(const std::string& file, const std::string& title) {
    if (maxCount_ <= 0) return;
    if (index_ > 0) {
        files_.erase(files_.begin(), files_.begin() + index_);
        titles_.erase(titles_.begin(), titles_.begin() + index_);
        index_ = 0;
    }
    if (!files_.empty() && SameText1251(files_.front(), file)) {
        titles_.front() = title;
        return;
    }
    files_.insert(files_.begin(), file);
    titles_.insert(titles_.begin(), title);
    Trim();
}

void THistoryList::SetTitle(const std::string& title) {
    if (index_ < Count()) titles_[index_] = title;
}

bool THistoryList::SetIndex(int index) {
    if (index < 0 || index >= Count()) return false;
    index_ = index;
    return true;
}

int THistoryList::Find(const std::string& file) const {
    for (int i = 0; i < Count(); ++i)
        if (SameText1251(files_[i], file)) return i;
    return -1;
}

void THistoryList::SetMaxCount(int maxCount) {
    maxCount_ = std::max(0, maxCount);
    Trim();
}

void THistoryList::Trim() {
    if (Count() <= maxCount_) return;
    files_.resize(maxCount_);
    titles_.resize(maxCount_);
    index_ = std::min(index_, std::max(0, Count() - 1));
}

bool TVisitedList::Add(const std::string& link) {
    if (maxCount_ <= 0 || link.empty()) return false;
    const auto same = std::find_if(links_.begin(), links_.end(),
                                   [&](const std::string& l) { return SameText1251(l, link); });
    if (same != links_.end() && same == links_.begin()) return false;
    if (same != links_.end()) links_.erase(same);
    links_.insert(links_.begin(), link);
    if (static_cast<int>(links_.size()) > maxCount_) links_.resize(maxCount_);
    return true;
}

bool TVisitedList::Contains(const std::string& link) const {
    return std::any_of(links_.begin(), links_.end(), [&](const std::string& l) { return SameText1251(l, link); });
}

void TVisitedList::SetMaxCount(int maxCount) {
    maxCount_ = std::max(0, maxCount);
    if (static_cast<int>(links_.size()) > maxCount_) links_.resize(maxCount_);
}

}  // namespace vitrina
