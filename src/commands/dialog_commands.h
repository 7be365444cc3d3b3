#pragma once
// The skinned dialog: the message box, the find dialog and the printer warnings.
#include <string>

namespace vitrina {

// Dialog indices the program asks for (the description numbers them from 1).
enum : int { kMessageDialog = 0, kFindDialog = 1, kNoPrinterDialog = 2, kPrinterUnavailableDialog = 3 };

class IDialogCommands {
public:
    virtual ~IDialogCommands() = default;
    // Shows dialog index with text as its message (empty for dialogs without one). Modeless:
    // the caller goes on at once.
    virtual void ShowDialog(int index, const std::string& text) = 0;
    void ShowMessage(const std::string& text) { ShowDialog(kMessageDialog, text); }
    // A skinned dialog is open.
    virtual bool DialogVisible() const = 0;
    // Esc while a dialog is open; also the closing sequence.
    virtual void CloseDialogKey() = 0;
};

}  // namespace vitrina
