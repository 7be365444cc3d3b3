#pragma once
// The skinned main window: start-up and tear-down in their order, the screens and their
// picture sets, painting and the pointer, keys, the command dispatcher.
#include <QImage>
#include <QRegion>
#include <QWidget>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "commands/settings.h"
#include "dialogs/eff_car.h"
#include "platform/drive_map.h"
#include "platform/registry.h"
#include "platform/single_instance.h"
#include "resources/read_bin.h"
#include "resources/store.h"
#include "screen/my_control.h"
#include "screen/screen_model.h"

class QLabel;
class QMovie;

namespace vitrina {

class TClickSound;
class TCommandTargets;
class TDocumentFiles;
class TNavFont;
class TPanelBkgrd;
class TPathInputBox;
class TScaleBar;
class TStatusLine;
class TSuperTimer;
class TTextMsg;
class TWindowDirectory;

struct TStartOptions {
    // Off for screenshots: no start clip, no opening or closing animation.
    bool animations = true;
    // The command line after the program's own options, 1251.
    std::vector<std::string> arguments;
};

// What one skinned control of the current screen shows and owns.
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

class TMainForm : public QWidget {
public:
    enum class TCreation { Normal, NoContainer, NoDescription, SecondCopy, ThesaurusMode, DocumentMode };

    TMainForm(TDriveMap& drives, const TUserFolders& folders, TClickSound& sounds, TCommandTargets& targets,
              TStartOptions options);
    ~TMainForm() override;

    // How FormCreate ended; anything but Normal means the application terminates.
    TCreation Creation() const { return creation_; }
    // Why, in one line for a person at a terminal.
    const std::string& CreationMessage() const { return creationMessage_; }

    // Shows the window with the opening animation (or at once without animations).
    void ShowMainWindow();
    bool Closing() const { return closingTimer_ != nullptr; }
    // Runs when the closing animation has ended (the application quits then).
    std::function<void()> OnTerminate;

    void ExecuteCommand(const std::string& command, const std::string& sound, int silent, int kind, int index);
    void SwitchScreen(int n, int kind, int index);

    void FormMouseMove(Qt::KeyboardModifiers shift, int x, int y);
    void FormMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void FormMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    // True when the key was consumed.
    bool FormKeyDown(int key, Qt::KeyboardModifiers shift);

    // The window's visible shape (the description's polygon, or the animation's current shape).
    QRegion Shape() const { return shape_; }
    // The standard window takes the shape off and gives it back (with an empty region: none).
    void SetShape(const QRegion& region) {
        if (!region.isEmpty()) return ApplyShape(region);
        shape_ = region;
        clearMask();
    }
    // The image of the window as a person sees it: pixels outside the shape transparent, the
    // program's other visible windows composited at their places.
    QImage Screenshot();

    // Process-wide values and the window's state, named as the system names them.
    std::string ProgramDrive, ProgramFolder, ContentFolder, SystemFolder, WindowsFolder, TempFolder;
    std::string Title;
    int CaptionSpacing = 0;
    bool DocumentMode = false;
    bool SecondaryVariant = false;
    bool ThesaurusWindow = false;
    int ExitButton = -1;
    int CurrentScreen = 0;
    bool MatchCase = false;
    TSettings Settings;
    TScreenModel Model{"d:\\"};
    QImage Background;
    TDynamicBtnPicArray ButtonPictures;
    TDynamicSwthOnePicArray SwitchPictures;
    TDynamicSwthGrpPicArray GroupPictures;
    TReadBin Container;
    TStore Store;
    std::vector<int> InstalledFonts;

    TTextMsg* TextMsg() const { return textMsg_.get(); }
    TStatusLine* StatusLine() const { return statusLine_.get(); }
    TPathInputBox* PathInputBox() const { return pathInputBox_.get(); }
    TScaleBar* ScaleBar() const { return scaleBar_.get(); }
    TEffCar* WindowFade() const { return windowFade_.get(); }
    TRegistry& Registry() { return registry_; }
    const TDocumentFiles& Files() const { return *files_; }
    TDriveMap& Drives() const { return drives_; }
    QLabel* BusyPicture() const { return busyPicture_; }
    // The program's windows as other copies see them; null outside the normal mode.
    TWindowDirectory* WindowDirectory() const { return directory_.get(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void BuildAfterSections();
    void RegisterFonts();
    void SetUpScreen();
    void LoadControlPictures(int screen);
    void CopyUpPicturesIntoBackground();
    void ReplaySwitchCommands(int screen, int passes, bool skip3d);
    QImage LoadPicture(const std::string& name) const;
    void DrawButtonCaptions(const RBtn& b, TBtnPic& p) const;
    void DrawSwitchCaptions(const RSwthOne& s, TSwthPic& p) const;
    void DrawGroupCaptions(const RSwthGrp& g, TSwthPic& p) const;
    void ApplyShape(const QRegion& region);
    QRegion DescriptionShape() const;
    void StartClosingSequence();
    void PlayClickSound(const std::string& sound);
    void ShowHelp(const std::string& topic);
    void RunProgram(const std::string& program, const std::string& params);
    void CopyGroupPicture(int index, int picture);
    bool InsideShownClip(int x, int y) const;
    void StartResumeTimer();
    bool WindowFadeRunning() const;
    bool CanDrawEffects() const { return !WindowFadeRunning(); }
    std::unique_ptr<TEffBtnCar> MakeEffect(int index);
    std::filesystem::path HostPath(const std::string& windowsPath) const;

    TDriveMap& drives_;
    TUserFolders folders_;
    TClickSound& sounds_;
    TCommandTargets& targets_;
    TStartOptions options_;
    TRegistry registry_;
    TNamedSemaphore semaphore_;
    std::unique_ptr<TDocumentFiles> files_;
    TCreation creation_ = TCreation::Normal;
    std::string creationMessage_;
    bool built_ = false;
    const QEvent* lastKey_ = nullptr;  // the key press being delivered; cleared by its release
    bool switching_ = false;
    QRegion shape_;

    std::unique_ptr<TEffCar> windowFade_;
    std::unique_ptr<TTextMsg> textMsg_;
    std::unique_ptr<TStatusLine> statusLine_;
    std::unique_ptr<TPathInputBox> pathInputBox_;
    std::unique_ptr<TScaleBar> scaleBar_;
    std::unique_ptr<TNavFont> navFont_;
    TPanelBkgrd* panelBkgrd_ = nullptr;
    QLabel* busyPicture_ = nullptr;
    QMovie* busyMovie_ = nullptr;
    std::unique_ptr<TSuperTimer> openingTimer_;
    std::unique_ptr<TSuperTimer> closingTimer_;
    std::unique_ptr<TWindowDirectory> directory_;
    class QTimer* resumeTimer_ = nullptr;  // resumes the window clip of the first screen
    bool publishPending_ = false;
    void PublishWindows();
    void CloseWindowsTitled(const char* titleUtf8, bool all);
};

}  // namespace vitrina
