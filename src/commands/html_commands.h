#pragma once
// The commands the dispatcher gives the HTML pane.
#include <string>

namespace vitrina {

class IHtmlCommands {
public:
    virtual ~IHtmlCommands() = default;
    // "back" and "forward": the current viewer's history, pressing the screen's switches of the
    // visit group the document belongs to.
    virtual void HistoryBack() = 0;
    virtual void HistoryForward() = 0;
    // "html"N: the visit group first, then the document in area N.
    virtual void OpenInArea(int number, const std::string& document) = 0;
    // The current pane: the document it shows (a Windows path, empty for none), and a document opened in it.
    virtual std::string CurrentDocument() const = 0;
    virtual void OpenDocument(const std::string& document) = 0;
    virtual void CopyHtml() = 0;
    virtual void TopHtml() = 0;
    virtual void SelectAllHtml() = 0;
    virtual bool ShowsArchivePage() const = 0;
    // Some viewer is still loading its document.
    virtual bool DocumentsLoading() const = 0;
};

}  // namespace vitrina
