#pragma once
// Path input boxes of the "_path" areas: borderless edits whose texts are kept in the settings
// as "PathInstall" + n.
#include <QLineEdit>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "resources/screen_model.h"

namespace vitrina {

class TRegistry;

class TPathInputBox {
public:
    // onPointerOver: a pointer move over a box clears every hover of the skinned controls.
    TPathInputBox(const TDynamicPathInputArray& areas, QWidget* window, TRegistry& registry, std::string title,
                  int currentScreen, std::function<void()> onPointerOver);
    // Writes every box's text back.
    ~TPathInputBox();

    void ScreenChanged(int currentScreen);
    void HideAll(bool hide);
    // The current screen's box text with a trailing "\"; path stays when the screen has none.
    void CurrentPath(std::string& path) const;

    std::size_t Count() const { return boxes_.size(); }
    QLineEdit* Box(std::size_t i) const { return boxes_[i].edit; }

private:
    struct TBox {
        QLineEdit* edit = nullptr;  // child of the window
        int screen = 0;
    };
    std::vector<TBox> boxes_;
    TRegistry& registry_;
    std::string title_;
    int current_ = 0;
    int lastShown_ = -1;
    std::unique_ptr<QObject> filter_;
};

}  // namespace vitrina
