#pragma once
// A coloured area of the main window that shows the frames of a video: the program paints them
// itself, so they appear inside the shaped window, in grabbed images and on any platform.
#include <QImage>
#include <QRect>
#include <QWidget>

#include <functional>

namespace vitrina {

class TVideoArea : public QWidget {
public:
    TVideoArea(QWidget* parent, QColor color);

    // The latest frame; a null image shows the colour again.
    void SetFrame(const QImage& frame);
    const QImage& Frame() const { return frame_; }
    // Where the frame goes, in the area's coordinates; an empty rectangle: at the frame's own
    // size in the top left corner.
    void SetDestination(const QRect& rect);
    QRect Destination() const;
    // Shows a still picture instead of video (a frozen frame, the skin under a stopped clip).
    void SetStill(const QImage& still);
    // The pointer moved over the area.
    std::function<void()> OnMouseMove;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QColor color_;
    QImage frame_;
    QImage still_;
    QRect destination_;
};

}  // namespace vitrina
