#include "panes/html_font_chooser.h"

#include "dialogs/font_form.h"

namespace vitrina {

bool THtmlFontChooser::ChooseFonts(TFontChoice& choice) {
    TFontForm form(engine_, TFontForm::InstalledFonts(), parent_);
    form.SetFontName(choice.fontName);
    form.SetFontColor(choice.fontColor);
    form.SetFontSize(choice.fontSize);
    form.SetHotSpotColor(choice.hotSpotColor);
    form.SetBackground(choice.background);
    if (form.exec() != QDialog::Accepted) return false;
    choice = {form.FontName(), form.FontColor(), form.FontSize(), form.HotSpotColor(), form.Background()};
    return true;
}

}  // namespace vitrina
