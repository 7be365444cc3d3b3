#pragma once
// The commands the dispatcher gives the contents trees.
#include <string>

namespace vitrina {

class ITreeCommands {
public:
    virtual ~ITreeCommands() = default;
    // The document a screen change by "screen"N"=" hands the first tree.
    virtual void SetPendingDocument(const std::string& document) = 0;
    // "tree1" (true) and "tree2" (false).
    virtual void SwitchTree(bool bringUpFirst) = 0;
    // "ontree" and "offtree".
    virtual void ShowTrees(bool show) = 0;
    virtual void NextChapter() = 0;
    virtual void PrevChapter() = 0;
    virtual bool SecondTreeExists() const = 0;
    virtual bool AnyTreeVisible() const = 0;
};

}  // namespace vitrina
