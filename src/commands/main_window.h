#pragma once
// What the dispatcher asks of the main window.
#include <QPoint>

namespace vitrina {

class IMainWindow {
public:
    virtual ~IMainWindow() = default;
    // kind and index name the control that issued the change (0 button, 1 switch, 2 member).
    virtual void SwitchScreen(int n, int kind, int index) = 0;
    virtual void Minimize(int kind, int index) = 0;
    // A close request to the main window: it closes through its closing sequence.
    virtual void CloseWindow() = 0;
    // The program ends now (Esc in the document mode and the help variant).
    virtual void Terminate() = 0;
    // The bottom-left (right false) or bottom-right corner of a button of the current screen, on
    // the screen; a button that does not exist gives (0, 0).
    virtual QPoint ControlCorner(int index, bool right) const = 0;
    virtual QPoint PointerPosition() const = 0;
    // A left press at a point of the window, as the pointer would.
    virtual void PressAt(int x, int y) = 0;
    // The window fades in or out: keys wait.
    virtual bool Animating() const = 0;
};

}  // namespace vitrina
