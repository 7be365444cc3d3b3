// A contents tree description ("tree1.cfs"): its lines as the items of the tree, and the walks
// the tree pane makes over them. The input is the description's text, scrambled and decoded
// first as the container holds it.
#include "fuzz_support.h"
#include "panes/contents_tree_model.h"
#include "resources/description.h"
#include "resources/description_scrambler.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vitrina;
    const std::string_view text = vitrina::fuzz::AsText(data, size);
    const auto model = TContentsTreeModel::FromLines(DecodeDescription(ScrambleDescription(text), false));
    const auto& items = model.Items();
    for (int i = 0; i < model.Count(); ++i) {
        const TTreeItem& item = items[i];
        fuzz::Check(item.parent < i && (item.parent < 0 ? item.level == 0 : item.level == items[item.parent].level + 1),
                    "an item whose parent is not before it one level up");
    }
    // Walks from a few items, not all: each walk may cross the whole tree.
    for (int focused : {-1, 0, model.Count() / 2, model.Count() - 1}) {
        model.NextChapter(focused);
        model.PrevChapter(focused);
        if (focused >= 0 && focused < model.Count()) model.ChapterHint(focused);
        model.FindByCaption(text.substr(0, 3), focused);
    }
    model.FindDocument(text.substr(0, 8));
    model.FindDocumentKey(text.substr(0, 8));
    return 0;
}
