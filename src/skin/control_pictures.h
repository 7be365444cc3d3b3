#pragma once
// What a skinned button or two-state switch shows and owns, shared by the main window and the
// dialog: its pictures, carrier and cross-fade; loading pictures from the container and drawing
// captions on them.
#include <QImage>

#include <memory>
#include <string>
#include <vector>

#include "resources/screen_model.h"
#include "skin/eff_car.h"
#include "skin/my_control.h"

namespace vitrina {

class TReadBin;

struct TBtnPic {
    QImage up, mv, dn;
    bool hovered = false;
    bool pressed = false;
    TMyControl carrier;
    std::unique_ptr<TEffBtnCar> effect;
};
struct TSwthPic {
    QImage pic[4];  // up, hover over up, hover over down, down
    TMyControl carrier;
    std::unique_ptr<TEffBtnCar> effect;
    int copied = -1;  // picture a plain copy put on the window (group members)
};
using TDynamicBtnPicArray = std::vector<TBtnPic>;
using TDynamicSwthOnePicArray = std::vector<TSwthPic>;
using TDynamicSwthGrpPicArray = std::vector<TSwthPic>;

// The pointer over a control: edges excluded.
template <typename T>
bool Inside(const T& control, int x, int y) {
    return control.vx < x && x < control.Right && control.vy < y && y < control.Bottom;
}

// A button the pointer has entered fades to its hover picture; one it has left fades back and
// is no longer pressed.
void TrackButtonHover(TBtnPic& pic, const RBtn& button, bool inside);

// A picture of the container as a 24-bit image at 96 dpi (the screen the point sizes of the
// descriptions were written for); null when the entry is missing or no picture.
QImage LoadSkinPicture(const TReadBin& container, const std::string& name);

// The font of a caption or message: name, point size and style set.
QFont SkinFont(const std::string& name, int size, TStyleSet style);

// A caption drawn one character at a time into the rectangle tx, ty, bx, by of picture: each
// character advances by its bold width plus spacing, whatever the picture's style, so the
// letters stand at the same places in every state. The picture is first brought to the device's
// pixels (devicePixelRatio, every state of a control alike, caption or not), so that the letters
// are drawn at the screen's resolution rather than enlarged with the picture.
void DrawCaption(QImage& picture, qreal devicePixelRatio, const std::string& caption, int tx, int ty, int bx, int by,
                 const std::string& font, int size, TStyleSet style, TColor color, int spacing);

}  // namespace vitrina
