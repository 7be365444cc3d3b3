#pragma once
// The skinned main window: the screens of the description with their picture sets and
// captions, painting, the pointer on buttons, switches and group members, the window's shape,
// its opening and closing, and the widgets of the screen areas.
#include <QImage>
#include <QPointer>
#include <QRegion>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "commands/main_window.h"
#include "resources/screen_model.h"
#include "skin/control_pictures.h"
#include "skin/eff_car.h"
#include "skin/my_control.h"

class QLabel;
class QMovie;
class QTimer;

namespace vitrina {

class IDesktop;
class TDiscSession;
class TDispatcher;
class TNavFont;
class TPanelBkgrd;
class TPathInputBox;
class TStatusLine;
class TSuperTimer;
class TTextMsg;
class TWindowDirectory;
struct TCommandServices;

class TSkinWindow : public QWidget, public IMainWindow {
public:
    // animations off (screenshots): no opening or closing animation.
    TSkinWindow(TDiscSession& session, TDispatcher& dispatcher, IDesktop& desktop, bool animations);
    ~TSkinWindow() override;
    // The exit button's sound, heard to its end; once (the program plays it first when it
    // ends, before the music fades out).
    void PlayExitSound();

    // Where this copy publishes its windows and finds those of other copies.
    void SetWindowDirectory(TWindowDirectory* directory) { directory_ = directory; }

    // The skin of the session's description: icon, title, the first screen with its stored
    // switch states, the widgets of the areas, the key preview. The document mode has none.
    void BuildSkin();
    // Where the HTML panes and the trees live (null before BuildSkin).
    QWidget* DocumentPanel() const;
    // After the panes: the search progress bar, the busy picture, the fonts beside the program
    // and the start-up commands of the first screen's switches and members.
    void FinishStartUp();

    // Shows the window with the opening animation (or at once without animations).
    void ShowMainWindow();
    bool Closing() const { return closingTimer_ != nullptr; }
    // Runs when the closing animation has ended, and for Terminate.
    std::function<void()> OnTerminate;

    void FormMouseMove(Qt::KeyboardModifiers shift, int x, int y);
    void FormMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void FormMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);

    // IMainWindow.
    void SwitchScreen(int n, int kind, int index) override;
    void Minimize(int kind, int index) override;
    void CloseWindow() override { close(); }
    void Terminate() override;
    QPoint ControlCorner(int index, bool right) const override;
    QPoint PointerPosition() const override;
    void PressAt(int x, int y) override { FormMouseDown(Qt::LeftButton, Qt::NoModifier, x, y); }
    bool Animating() const override { return WindowFadeRunning(); }

    // The window's visible shape (the description's polygon, or the animation's current shape).
    QRegion Shape() const { return shape_; }
    // The standard window takes the shape off and gives it back (with an empty region: none).
    void SetShape(const QRegion& region);
    // The image of the window as a person sees it: pixels outside the shape transparent, the
    // program's other visible windows composited at their places.
    QImage Screenshot();
    // The size of the skin's picture (the window's size without one).
    QSize SkinSize() const { return background_.isNull() ? size() : background_.size(); }
    // The skin's picture of the current screen: the window clip paints its stills into it.
    QImage& Background() { return background_; }

    // The hints of the current screen's chapter buttons.
    void SetChapterHints(const std::string& next, const std::string& previous);

    const TDynamicBtnPicArray& ButtonPictures() const { return buttonPictures_; }
    const TDynamicSwthOnePicArray& SwitchPictures() const { return switchPictures_; }
    const TDynamicSwthGrpPicArray& GroupPictures() const { return groupPictures_; }
    TTextMsg* TextMsg() const { return textMsg_.get(); }
    TStatusLine* StatusLine() const { return statusLine_.get(); }
    TPathInputBox* PathInputBox() const { return pathInputBox_.get(); }
    TEffCar* WindowFade() const { return windowFade_.get(); }
    QLabel* BusyPicture() const { return busyPicture_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void RegisterFonts();
    void RestorePlace();
    void SetUpScreen();
    void LoadControlPictures(int screen);
    void CopyUpPicturesIntoBackground();
    void ReplaySwitchCommands(int screen, int passes, bool skip3d);
    void ExecuteCommand(const std::string& command, const std::string& sound, int silent, int kind, int index);
    QImage LoadPicture(const std::string& name) const;
    void DrawButtonCaptions(const RBtn& b, TBtnPic& p) const;
    void DrawSwitchCaptions(const RSwthOne& s, TSwthPic& p) const;
    void DrawGroupCaptions(const RSwthGrp& g, TSwthPic& p) const;
    void ApplyShape(const QRegion& region);
    QRegion DescriptionShape() const;
    void StartClosingSequence();
    void CopyGroupPicture(int index, int picture);
    bool InsideShownClip(int x, int y) const;
    void StartResumeTimer();
    bool WindowFadeRunning() const;
    bool CanDrawEffects() const { return !WindowFadeRunning(); }
    std::unique_ptr<TEffBtnCar> MakeEffect(int index);
    void PublishWindows();
    void CloseWindowsTitled(const char* titleUtf8, bool all);
    const TCommandServices& Services() const;
    class IClipCommands* Clips() const;
    bool WindowClipExists() const;

    TDiscSession& session_;
    TDispatcher& dispatcher_;
    IDesktop& desktop_;
    TWindowDirectory* directory_ = nullptr;
    bool animations_;
    bool built_ = false;
    bool shown_ = false;
    bool exitSoundPlayed_ = false;
    // The key press last seen and the widget it was delivered to: an ignored press travels up to
    // the parents as the same event, and the table must see it once.
    const QEvent* lastKey_ = nullptr;
    QPointer<QWidget> lastKeyReceiver_;
    bool switching_ = false;
    QRegion shape_;
    QImage background_;
    TDynamicBtnPicArray buttonPictures_;
    TDynamicSwthOnePicArray switchPictures_;
    TDynamicSwthGrpPicArray groupPictures_;
    std::vector<int> installedFonts_;

    std::unique_ptr<TEffCar> windowFade_;
    std::unique_ptr<TTextMsg> textMsg_;
    std::unique_ptr<TStatusLine> statusLine_;
    std::unique_ptr<TPathInputBox> pathInputBox_;
    std::unique_ptr<TNavFont> navFont_;
    TPanelBkgrd* panelBkgrd_ = nullptr;
    QLabel* busyPicture_ = nullptr;
    QMovie* busyMovie_ = nullptr;
    std::unique_ptr<TSuperTimer> openingTimer_;
    std::unique_ptr<TSuperTimer> closingTimer_;
    QTimer* resumeTimer_ = nullptr;  // resumes the window clip of the first screen
    bool publishPending_ = false;
};

}  // namespace vitrina
