#pragma once
// The about window, the settings dialog and the skinned message box.
#include <string>

namespace vitrina {

class IDialogCommands {
public:
    virtual ~IDialogCommands() = default;
    virtual void ShowAbout() = 0;
    virtual void ShowOptions() = 0;
    virtual void ShowMessage(const std::string& text) = 0;
    // A skinned dialog is open.
    virtual bool DialogVisible() const = 0;
    // Esc while a dialog is open; also the closing sequence.
    virtual void CloseDialogKey() = 0;
};

}  // namespace vitrina
