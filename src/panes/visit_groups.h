#pragma once
// Visit groups: which documents were reached after a document opened with the "html" command,
// so that back and forward can find the skin switch that belongs to the document on view.
#include <string>
#include <vector>

#include "resources/dynamic_arrays.h"
#include "resources/screen_model.h"

namespace vitrina {

class TVisitGroups {
public:
    // The "html" command's first step: the first entry containing the document (case-sensitive)
    // becomes current; otherwise the document starts a new entry.
    void RememberVisit(const std::string& document);
    // After every change of the shown document: the first entry containing the file becomes
    // current; otherwise "; " and the lower-cased file are appended to the current entry.
    void DocumentChanged(const std::string& currentFile);

    const TDynamicStringArray& Groups() const { return groups_; }
    int CurrentGroup() const { return current_; }
    // The current entry's first document: its text up to the first ";", trimmed. Empty when
    // there is no current entry.
    std::string FirstDocument() const;

private:
    TDynamicStringArray groups_;
    int current_ = -1;
};

// The points (left + 1, top + 1) of the switches of a screen to press with Shift so that they
// show the state that belongs to the document: single switches that are on and whose "goup"
// contains it, or off and whose "godown" contains it; then the group members whose "go" contains
// it. An empty document presses nothing.
std::vector<TPoint> SwitchPressPoints(const std::string& document, const TDynamicSwthOneArray& switches,
                                      const TDynamicSwthGrpArray& groups);

}  // namespace vitrina
