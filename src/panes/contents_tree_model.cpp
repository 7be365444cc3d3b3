#include "panes/contents_tree_model.h"

#include "platform/cp1251.h"
#include "resources/description.h"
#include "resources/read_bin.h"
#include "resources/windows_path.h"

namespace vitrina {

std::optional<TContentsTreeModel> TContentsTreeModel::FromContainer(const TReadBin& container, const std::string& entry) {
    std::string bytes;
    if (container.ReadBuffer(entry, bytes) < 0) return std::nullopt;
    // Captions keep their case: they are shown as written.
    return FromLines(DecodeDescription(bytes, false));
}

TContentsTreeModel TContentsTreeModel::FromLines(const TDynamicStringArray& lines) {
    TContentsTreeModel model;
    auto& items = model.items_;
    int p = 0;  // absolute index of the parent to be; no item there means the top level
    // The last item of each level so far: the parent of a line that steps back up is found at
    // once instead of by walking back over every item (quadratic on a hostile tree).
    std::vector<int> lastAtLevel;
    for (const auto& line : lines) {
        if (line.empty()) continue;
        int level = 0;
        while (level < static_cast<int>(line.size()) && line[level] == '\t') ++level;
        const int count = static_cast<int>(items.size());
        if (count > 0) {
            const int previous = items.back().level;
            if (level == 0) {
                p = count;
            } else if (level > previous) {
                p = count - 1;
            } else if (level < previous) {
                // The nearest item one level up, or none.
                p = level - 1 < static_cast<int>(lastAtLevel.size()) ? lastAtLevel[level - 1] : -1;
            }
        } else {
            p = 0;
        }
        TTreeItem item;
        const auto semicolon = line.find(';');
        item.document = Trim(std::string_view(line).substr(0, semicolon));
        if (semicolon != std::string::npos) {
            const std::string_view rest = std::string_view(line).substr(semicolon + 1);
            item.caption = Trim(rest.substr(0, rest.find(';')));
        }
        if (p >= 0 && p < count) {
            item.parent = p;
            item.level = items[p].level + 1;
        }
        if (static_cast<int>(lastAtLevel.size()) <= item.level) lastAtLevel.resize(item.level + 1, -1);
        lastAtLevel[item.level] = count;
        items.push_back(std::move(item));
    }
    return model;
}

int TContentsTreeModel::FindDocument(std::string_view name) const {
    const std::string wanted = FileNamePart(name);
    for (int i = 0; i < Count(); ++i) {
        if (SameText1251(FileNamePart(items_[i].document), wanted)) return i;
    }
    return -1;
}

int TContentsTreeModel::FindDocumentKey(std::string_view key) const {
    const std::string wanted = LowerCase1251(Trim(key));
    if (wanted.empty()) return -1;
    for (int i = 0; i < Count(); ++i) {
        if (LowerCase1251(Trim(FileNamePart(items_[i].document))) == wanted) return i;
    }
    return -1;
}

int TContentsTreeModel::StepChapter(int focused, int direction) const {
    if (focused < 0 || focused >= Count()) return -1;
    const std::string current = Trim(items_[focused].document);
    for (int i = focused + direction; i >= 0 && i < Count(); i += direction) {
        const std::string document = Trim(items_[i].document);
        if (!document.empty() && document != current) return i;
    }
    return -1;
}

int TContentsTreeModel::NextChapter(int focused) const {
    if (focused < 0) return Count() > 0 ? 0 : -1;
    return StepChapter(focused, +1);
}

int TContentsTreeModel::PrevChapter(int focused) const { return StepChapter(focused, -1); }

std::string TContentsTreeModel::ChapterHint(int item) const {
    const TTreeItem& it = items_.at(item);
    if (it.parent < 0) return it.caption;
    return items_[it.parent].caption + " : " + it.caption;
}

int TContentsTreeModel::FindByCaption(std::string_view text, int focused) const {
    const int start = focused < 0 ? 0 : focused + 1;
    for (int k = 0; k < Count(); ++k) {
        const int i = (start + k) % Count();
        if (FindText1251(items_[i].caption, text) != std::string::npos) return i;
    }
    return -1;
}

}  // namespace vitrina
