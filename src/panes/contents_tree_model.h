#pragma once
// The items of a contents tree and the rules that walk them: building levels from a tree
// description, finding a document's item, chapter steps and their hints, the contents search.
// The tree widget shows these items in the same order.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "resources/dynamic_arrays.h"

namespace vitrina {

class TReadBin;

struct TTreeItem {
    std::string caption;
    std::string document;  // field 1 as written: a file name, maybe with "#anchor"; empty for a heading
    int parent = -1;       // absolute index of the parent item, -1 at the top level
    int level = 0;         // 0 at the top level
};

class TContentsTreeModel {
public:
    // Each non-empty line is an item: its level is its count of leading tabs, its fields split
    // at ";" are the document and the caption.
    static TContentsTreeModel FromLines(const TDynamicStringArray& lines);
    // The tree of a container entry ("tree1.cfs", "tree2.cfs"); nothing when there is no such entry.
    static std::optional<TContentsTreeModel> FromContainer(const TReadBin& container, const std::string& entry);

    const std::vector<TTreeItem>& Items() const { return items_; }
    int Count() const { return static_cast<int>(items_.size()); }

    // Items compare by the file-name part of their document, so an item that names folders is
    // found like one that names none.
    // The first item whose document equals the file-name part of name ignoring case; -1 for none.
    int FindDocument(std::string_view name) const;
    // The first item whose trimmed, lower-cased document equals the trimmed, lower-cased key.
    int FindDocumentKey(std::string_view key) const;
    // The next (or previous) item whose document is not empty and differs from the focused one's;
    // -1 when there is none. A focus of -1 gives the first item for a step forward.
    int NextChapter(int focused) const;
    int PrevChapter(int focused) const;
    // "Parent : caption", or the caption alone for a top-level item.
    std::string ChapterHint(int item) const;
    // From the item after focused on, wrapping round, the first whose caption contains text
    // ignoring case; -1 for none.
    int FindByCaption(std::string_view text, int focused) const;

private:
    int StepChapter(int focused, int direction) const;

    std::vector<TTreeItem> items_;
};

}  // namespace vitrina
