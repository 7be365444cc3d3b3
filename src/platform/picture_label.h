#pragma once
// A label that shows a picture or the frame of a movie, centred, painted as the skin is: sharp at
// whole device pixel ratios and smoothed at fractional ones (QLabel's own painting smooths at
// every ratio, and so blurs a skin shown at 2).
#include <QLabel>

namespace vitrina {

class TPictureLabel : public QLabel {
public:
    explicit TPictureLabel(QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace vitrina
