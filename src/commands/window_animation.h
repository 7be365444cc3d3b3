#pragma once
// The shapes of the main window's opening and closing animations, one per timer tick.
namespace vitrina {

struct TShapeStep {
    enum TKind { Stop, Ellipse, RoundRect } kind = Stop;
    int left = 0, top = 0, right = 0, bottom = 0;  // RoundRect corners are 20 x 20
};

// An ellipse growing from the window centre: x and y start at half the size and shrink by 4
// and 2 per tick; the animation stops once x is below -(width / 2), keeping the last shape.
class TOpeningAnimation {
public:
    TOpeningAnimation(int width, int height) : w_(width), h_(height), x_(width / 2), y_(height / 2) {}
    TShapeStep Next() {
        if (x_ < -(w_ / 2)) return {};
        TShapeStep s{TShapeStep::Ellipse, x_, y_, w_ - x_, h_ - y_};
        x_ -= 4;
        y_ -= 2;
        return s;
    }

private:
    int w_, h_, x_, y_;
};

// The window shrinks: rounded rectangles closing in from top and bottom, then from the sides,
// then an ellipse; Stop ends the program.
class TClosingAnimation {
public:
    TClosingAnimation(int width, int height) : w_(width), h_(height) {}
    TShapeStep Next() {
        if (y_ <= h_ / 2 - 10) {
            TShapeStep s{TShapeStep::RoundRect, 0, y_, w_, h_ - y_};
            y_ += 2;
            return s;
        }
        if (x_ <= w_ / 2 - 10) {
            TShapeStep s{TShapeStep::RoundRect, x_, y_, w_ - x_, h_ - y_};
            x_ += 3;
            return s;
        }
        if (x_ <= w_ / 2) {
            TShapeStep s{TShapeStep::Ellipse, x_, y_, w_ - x_, h_ - y_};
            ++x_;
            ++y_;
            return s;
        }
        return {};
    }

private:
    int w_, h_, x_ = 0, y_ = 0;
};

}  // namespace vitrina
