#pragma once
// The find dialog, the full-text search and the thesaurus.
#include <string>

namespace vitrina {

class ISearchCommands {
public:
    virtual ~ISearchCommands() = default;
    virtual void ShowFindDialog() = 0;
    virtual void CloseFindDialog() = 0;
    virtual bool FindDialogVisible() const = 0;
    // "findnext"N in the thesaurus window.
    virtual void FindNext(int field) = 0;
    // "findtxtall" (true) and "findtxtlimit" (false).
    virtual void FindAcrossAll(bool all) = 0;
    virtual void Thesaurus(const std::string& word) = 0;
    // "fulltextsearch" and Ctrl+Shift+F: the window of the search by word forms.
    virtual void ShowWordSearch() = 0;
    // Enter in a document: as if typed into the visible find fields.
    virtual void FindPaneEnter() = 0;
};

}  // namespace vitrina
