#include "app/pane_commands.h"

#include "app/window_parts.h"
#include "panes/html_module.h"

namespace vitrina {

// Without the pane there is no history to step through.
void TPaneCommands::HistoryBack() { StepHistory(&IHtmlCommands::HistoryBack); }

void TPaneCommands::HistoryForward() { StepHistory(&IHtmlCommands::HistoryForward); }

void TPaneCommands::StepHistory(void (IHtmlCommands::*step)()) {
    IHtmlPane* html = parts_.Html();
    if (!html) return;
    (html->*step)();
    // The engine moves when the page is there: the tree follows the changed document.
    parts_.followHistory_ = true;
}

void TPaneCommands::OpenInArea(int number, const std::string& document) {
    // The "html" command: the visit group first, then the document.
    if (IHtmlPane* html = parts_.NeedHtml()) html->OpenInArea(number, document);
}

std::string TPaneCommands::CurrentDocument() const {
    IHtmlPane* html = parts_.Html();
    return html ? html->CurrentDocument() : std::string();
}

void TPaneCommands::OpenDocument(const std::string& document) {
    if (IHtmlPane* html = parts_.NeedHtml()) html->OpenDocument(document);
}

void TPaneCommands::CopyHtml() {
    if (IHtmlPane* html = parts_.Html()) html->CopyHtml();
}

void TPaneCommands::TopHtml() {
    if (IHtmlPane* html = parts_.Html()) html->TopHtml();
}

void TPaneCommands::SelectAllHtml() {
    if (IHtmlPane* html = parts_.Html()) html->SelectAllHtml();
}

bool TPaneCommands::ShowsArchivePage() const {
    IHtmlPane* html = parts_.Html();
    return html && html->ShowsArchivePage();
}

bool TPaneCommands::DocumentsLoading() const {
    IHtmlPane* html = parts_.Html();
    return html && html->DocumentsLoading();
}

// The shown document is printed in a viewer: without the pane there is none.
void TPaneCommands::PrintHtml() {
    if (IHtmlPane* html = parts_.Html()) html->PrintHtml();
}

void TPaneCommands::PrintHtmlDialog() {
    if (IHtmlPane* html = parts_.Html()) html->PrintHtmlDialog();
}

}  // namespace vitrina
