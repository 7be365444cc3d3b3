#pragma once
// The HTML and print commands of the window's parts: a command that shows a document makes the
// HTML pane (loads the module) when there is none yet; the others do nothing without it.
#include <string>

#include "commands/html_commands.h"
#include "commands/print_commands.h"

namespace vitrina {

class TWindowParts;

class TPaneCommands : public IHtmlCommands, public IPrintCommands {
public:
    explicit TPaneCommands(TWindowParts& parts) : parts_(parts) {}

    void HistoryBack() override;
    void HistoryForward() override;
    void OpenInArea(int number, const std::string& document) override;
    std::string CurrentDocument() const override;
    void OpenDocument(const std::string& document) override;
    void CopyHtml() override;
    void TopHtml() override;
    void SelectAllHtml() override;
    bool ShowsArchivePage() const override;
    bool DocumentsLoading() const override;
    void PrintHtml() override;
    void PrintHtmlDialog() override;

private:
    // Back or forward in the pane; the contents tree follows the document it comes to.
    void StepHistory(void (IHtmlCommands::*step)());

    TWindowParts& parts_;
};

}  // namespace vitrina
