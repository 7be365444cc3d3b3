#pragma once
// Text messages of the "_text" areas, drawn at the end of every paint of the main window.
#include <QFont>
#include <QColor>
#include <QRect>

#include <functional>
#include <string>
#include <vector>

#include "imaging/windows_color.h"
#include "resources/screen_model.h"

class QPainter;
class QWidget;

namespace vitrina {

class TTextMsg {
public:
    // Areas numbered 1000 belong to the skinned dialog and are left to it.
    static constexpr int kDialogNumber = 1000;

    TTextMsg(const TDynamicTextArray& areas, QWidget* window);

    // The current screen's areas of the main window, or (dialogAreas) those of the skinned dialog.
    void Paint(QPainter& painter, int currentScreen, bool dialogAreas = false);
    // A dialog area's text changed: the dialog repaints.
    std::function<void()> OnDialogText;
    // number >= 0: the first area with that number; -1: every area whose ident is
    // "statusline". An equal text changes nothing and repaints nothing.
    void SetText(const std::string& text, int number, bool repaint);

    std::size_t Count() const { return areas_.size(); }
    const std::string& Text(std::size_t i) const { return areas_[i].text; }
    QRect Rect(std::size_t i) const { return areas_[i].rect; }
    // Repaints that SetText asked for, for tests of the no-repaint rule.
    int RepaintRequests() const { return repaints_; }

private:
    struct TArea {
        QFont font;
        QColor color;
        QRect rect;
        std::string text;
        int screen = 0;
        int number = 0;
        std::string ident;
    };
    std::vector<TArea> areas_;
    QWidget* window_;
    int repaints_ = 0;
};

}  // namespace vitrina
