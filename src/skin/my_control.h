#pragma once
// The carrier of a skinned control: a non-windowed area that holds the control's rectangle and
// hint. The window answers tooltips and pointer events for it by hit test, so the carrier needs
// no widget of its own.
#include <QRect>
#include <QString>

namespace vitrina {

struct TMyControl {
    QRect bounds;
    QString hint;
};

}  // namespace vitrina
