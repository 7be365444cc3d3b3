#pragma once
// The search commands of the dispatcher: the find dialog with its find pane, and the thesaurus,
// which is handed to the thesaurus window of another copy or starts one.
#include <functional>
#include <memory>
#include <string>

#include "commands/search_commands.h"
#include "search/make_find.h"

namespace vitrina {

class TCopyDataChannel;
class TDiscSession;
class TFindTxtHtml;
class IFindDialog;
class IFindPaneHost;
class TWordSearchWindow;
class TWindowDirectory;

class TSearchService : public ISearchCommands {
public:
    // Any of dialog, pane, windows and channel may be null: what needs them does nothing.
    TSearchService(TDiscSession& session, IFindDialog* dialog, TFindTxtHtml* pane, TWindowDirectory* windows,
                   TCopyDataChannel* channel, TSearchMessages messages);
    ~TSearchService() override;

    void ShowFindDialog() override;
    void CloseFindDialog() override;
    bool FindDialogVisible() const override;
    void FindNext(int field) override;
    void FindAcrossAll(bool all) override;
    void Thesaurus(const std::string& word) override;
    void FindPaneEnter() override;
    void ShowWordSearch() override;
    // The window that shows what the search by word forms finds; without one the command does
    // nothing.
    void SetWordSearchHost(IFindPaneHost* host) { wordSearchHost_ = host; }

    // The title of the thesaurus window, 1251.
    static std::string ThesaurusTitle();
    // Starts the thesaurus window's copy with its document (replaceable by tests).
    std::function<void(const std::string& document)> StartThesaurus;

private:
    TDiscSession& session_;
    IFindDialog* dialog_;
    TFindTxtHtml* pane_;
    TWindowDirectory* windows_;
    TCopyDataChannel* channel_;
    TSearchMessages messages_;
    IFindPaneHost* wordSearchHost_ = nullptr;
    std::unique_ptr<TWordSearchWindow> wordSearch_;
};

}  // namespace vitrina
