#pragma once
// The progress bar of the full-text search, drawn on the skinned dialog's background picture.
#include <QImage>

#include <string>

namespace vitrina {

class TReadBin;

class TScaleBar {
public:
    TScaleBar(const TReadBin& container, std::string filled, std::string empty, int screen, int left, int top)
        : container_(container), filledName_(std::move(filled)), emptyName_(std::move(empty)),
          screen_(screen), left_(left), top_(top), right_(left), bottom_(top), position_(left) {}

    // dialogBackground: the dialog's picture to draw on, or null while there is no dialog.
    void Load(int currentScreen, QImage* dialogBackground);
    void Reset(int currentScreen, QImage* dialogBackground);
    void Step(int currentScreen, QImage* dialogBackground);

    int Left() const { return left_; }
    int Right() const { return right_; }
    int Position() const { return position_; }

private:
    const TReadBin& container_;
    std::string filledName_, emptyName_;
    int screen_, left_, top_, right_, bottom_, position_;
    int lastScreen_ = -1;
    QImage filled_, empty_;
};

}  // namespace vitrina
