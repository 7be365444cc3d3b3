#pragma once
// The HTML pane's font dialog: TFontForm, modal over the window, filled with the pane's current
// defaults and read back on OK.
#include "panes/html_frame_host.h"

class QWidget;

namespace vitrina {

class TDocEngine;

class THtmlFontChooser : public IHtmlFonts {
public:
    THtmlFontChooser(TDocEngine& engine, QWidget* parent) : engine_(engine), parent_(parent) {}
    bool ChooseFonts(TFontChoice& choice) override;

private:
    TDocEngine& engine_;
    QWidget* parent_;
};

}  // namespace vitrina
