#pragma once
// The dialogs of "Dialog.cfs": per dialog index (number - 1) its background picture, message
// area, buttons and two-state switches. Read once; the dialog window shows them.
#include <string>
#include <vector>

#include "resources/dynamic_arrays.h"
#include "resources/screen_model.h"

namespace vitrina {

// Dialog numbers above this are ignored, so a hostile description cannot demand huge lists.
constexpr int kMaxDialogs = 1024;

class TDialogDescription {
public:
    explicit TDialogDescription(std::string programFolder) : programFolder_(std::move(programFolder)) {}

    // The lines of the description, decoded with lower-casing. Each list grows on demand to the
    // highest index it met plus one, so the lists may differ in length.
    void Read(const TDynamicStringArray& lines);

    std::vector<std::string> DialogPictures;
    TDynamicTextArray DialogTexts;
    std::vector<TDynamicBtnArray> DialogButtons;
    std::vector<TDynamicSwthGrpArray> DialogSwitches;

    // Empty records for an index no list reached.
    const std::string& Picture(int index) const;
    const RText& Text(int index) const;
    const TDynamicBtnArray& Buttons(int index) const;
    // Null for an index the switch list never reached.
    TDynamicSwthGrpArray* Switches(int index);

private:
    std::string programFolder_;
};

}  // namespace vitrina
