#pragma once
// Printing of the shown document.
namespace vitrina {

class IPrintCommands {
public:
    virtual ~IPrintCommands() = default;
    // "printhtml": the preview of the shown document.
    virtual void PrintHtml() = 0;
    // Ctrl+P on the document screen.
    virtual void PrintHtmlDialog() = 0;
};

}  // namespace vitrina
