#pragma once
// The standard window: the plain, sizeable form of the main window around the HTML pane, with
// its toolbar ("Свернуть", "Печать", a divider, the "Вперед" and "Назад" drop-downs), their
// history menus and the status bar. The parts are made on the first entry and kept, hidden,
// when the skinned window returns.
#include <QObject>
#include <QPoint>
#include <QRegion>
#include <QSize>

#include <functional>
#include <string>

#include "resources/dynamic_arrays.h"

class QAction;
class QMenu;
class QStatusBar;
class QToolBar;
class QToolButton;
class QWidget;

namespace vitrina {

struct TStandardWindowActions {
    // The skinned window's shape and size.
    std::function<QRegion()> shape;
    std::function<void(const QRegion&)> setShape;
    std::function<QSize()> skinSize;
    // Find fields and path input boxes of the screen: hidden (true) or shown again.
    std::function<void(bool hide)> hideScreenFields;
    // The current viewer fills the given widget (client alignment), or gets its area back.
    std::function<void(QWidget* client)> fitViewer;
    std::function<void()> restoreViewer;
    std::function<void()> print;
    std::function<void()> forward;
    std::function<void()> back;
    std::function<void(int historyIndex)> goToHistory;
};

class TStandardWindow : public QObject {
public:
    static constexpr int kHistoryMenuItems = 7;
    enum TButton { kSkinned = 0, kPrint = 1, kDivider = 2, kForward = 3, kBack = 4 };

    TStandardWindow(QWidget& window, TStandardWindowActions actions, QObject* parent = nullptr);
    ~TStandardWindow() override;

    // ShowStandardWindow without its sizing step (see SizeWindow) and the navigation refresh.
    void Enter(bool documentMode);
    // ShowSkinnedWindow.
    void Leave();
    // Step 6 of the entry: size by the command-line file, placed at (40, 30) within the work area.
    void SizeWindow(const std::string& commandLineFile, QSize lastPictureSize);

    bool ToolbarExists() const { return toolbar_ != nullptr; }
    bool Shown() const { return shown_; }
    QToolBar* Toolbar() const { return toolbar_; }
    QStatusBar* StatusBar() const { return statusBar_; }
    QWidget* Client() const { return client_; }
    QAction* Button(int index) const;
    QMenu* BackMenu() const { return backMenu_; }
    QMenu* ForwardMenu() const { return forwardMenu_; }

    // The status bar's one panel.
    void SetStatusText(const std::string& text1251);
    // The history menus: entries older than the index go under "Назад", newer under "Вперед".
    void FillHistoryMenus(const TDynamicStringArray& titles, int index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateParts();
    void Layout();
    void ButtonClick(int index);

    QWidget& window_;
    TStandardWindowActions actions_;
    bool shown_ = false;
    QRegion keptRegion_;
    QPoint keptPlace_;
    QToolBar* toolbar_ = nullptr;
    QStatusBar* statusBar_ = nullptr;
    QWidget* client_ = nullptr;
    QMenu* backMenu_ = nullptr;
    QMenu* forwardMenu_ = nullptr;
    QAction* buttons_[5] = {};
};

}  // namespace vitrina
