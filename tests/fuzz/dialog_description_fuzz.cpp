// "Dialog.cfs": the dialog description read from its text (scrambled and decoded first, as the
// container holds it), then each dialog asked for as the dialog window does.
#include "fuzz_support.h"
#include "resources/description.h"
#include "resources/description_scrambler.h"
#include "resources/dialog_description.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vitrina;
    const TDynamicStringArray lines = DecodeDescription(ScrambleDescription(fuzz::AsText(data, size)), true);
    TDialogDescription dialogs("d:\\");
    dialogs.Read(lines);
    fuzz::Check(dialogs.DialogPictures.size() <= std::size_t(kMaxDialogs) &&
                    dialogs.DialogTexts.size() <= std::size_t(kMaxDialogs) &&
                    dialogs.DialogButtons.size() <= std::size_t(kMaxDialogs) &&
                    dialogs.DialogSwitches.size() <= std::size_t(kMaxDialogs),
                "more dialogs than allowed");
    for (int index = -1; index <= 4; ++index) {
        dialogs.Picture(index);
        dialogs.Text(index);
        dialogs.Buttons(index);
        dialogs.Switches(index);
    }
    return 0;
}
