#pragma once
// A viewer's history: file names newest first with their titles, and the index of the entry on
// view. At most MaxCount entries, so memory stays bounded on a disc with many documents.
#include <string>
#include <vector>

namespace vitrina {

class THistoryList {
public:
    explicit THistoryList(int maxCount = 10) : maxCount_(maxCount) {}

    // A document was shown by loading it (not through the history): the entries ahead of the
    // current one are dropped, the new one goes first (unless it is already the current entry),
    // and the oldest fall off.
    void Visit(const std::string& file, const std::string& title);
    // The entry on view changed its title.
    void SetTitle(const std::string& title);

    int Count() const { return static_cast<int>(files_.size()); }
    int Index() const { return index_; }
    // False for an index out of range.
    bool SetIndex(int index);
    const std::vector<std::string>& Files() const { return files_; }
    const std::vector<std::string>& Titles() const { return titles_; }
    // The entry whose file equals file ignoring case, or -1.
    int Find(const std::string& file) const;

    bool BackButtonEnabled() const { return index_ + 1 < Count(); }
    bool FwdButtonEnabled() const { return index_ > 0; }

    int MaxCount() const { return maxCount_; }
    // 0 keeps no history at all.
    void SetMaxCount(int maxCount);

private:
    void Trim();

    int maxCount_;
    int index_ = 0;
    std::vector<std::string> files_;
    std::vector<std::string> titles_;
};

// Visited links, newest first, no duplicates (ignoring case), at most MaxCount.
class TVisitedList {
public:
    explicit TVisitedList(int maxCount = 20) : maxCount_(maxCount) {}
    // True when the list changed.
    bool Add(const std::string& link);
    bool Contains(const std::string& link) const;
    const std::vector<std::string>& Links() const { return links_; }
    int MaxCount() const { return maxCount_; }
    void SetMaxCount(int maxCount);

private:
    int maxCount_;
    std::vector<std::string> links_;
};

}  // namespace vitrina
