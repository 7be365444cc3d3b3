#pragma once
// The commands the dispatcher gives the popup windows (history, favorites, context menus).
namespace vitrina {

class IPopupCommands {
public:
    virtual ~IPopupCommands() = default;
    // type -1 back history, -2 forward history, -3 favorites, -4 favorites to delete, N >= 1 the
    // screen's context menu N; at a point on the screen.
    virtual void OpenPopup(int type, int x, int y) = 0;
    virtual void ClosePopups() = 0;
    // The current document of the HTML pane becomes a favorite.
    virtual void AddToFavorites() = 0;
};

}  // namespace vitrina
