#pragma once
// The skinned dialog window: one borderless, stay-on-top, modeless window that shows each dialog
// of "Dialog.cfs" from its bitmaps (the message box, the find dialog, the printer warnings).
// Its buttons and switches behave like those of the main window.
#include <QImage>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>

#include "commands/dialog_commands.h"
#include "resources/dialog_description.h"
#include "search/dialog_find_pane.h"
#include "skin/control_pictures.h"
#include "skin/eff_car.h"

class QListWidget;

namespace vitrina {

class IDesktop;
class TDiscSession;
class TScaleBar;
class TTextMsg;

class TCoolDialog : public QWidget, public IDialogCommands, public IFindDialog {
public:
    // Reads "Dialog.cfs" from the session's container and the stored switch states. mainWindow
    // is the window the dialogs are centred on; desktop plays the controls' sounds.
    TCoolDialog(TDiscSession& session, IDesktop& desktop, QWidget& mainWindow);
    ~TCoolDialog() override;

    // The main window's key table: the dialog's keys go there first (Esc closes the dialog).
    // True when the key was consumed.
    std::function<bool(int key, Qt::KeyboardModifiers modifiers)> OnKey;

    // IDialogCommands.
    void ShowDialog(int index, const std::string& text) override;
    bool DialogVisible() const override { return isVisible(); }
    void CloseDialogKey() override;

    // One command of a control: the find vocabulary is run here, anything else closes the
    // dialog. True when it closed the dialog.
    bool RunDialogCommand(const std::string& go, const std::string& wav) override;
    // The hint of the first placed button whose command is "findnext1".
    void SetFindButtonHint(const std::string& hint) override;
    // IFindDialog: the find dialog, its result list and its progress bar.
    void ShowFindDialog() override { ShowDialog(kFindDialog, {}); }
    bool FindDialogShown() const override { return isVisible() && currentDialog_ == kFindDialog; }
    void CloseShownDialog() override { close(); }
    void ShowFindResults(const TFindResultLists& results) override;
    int ScaleRange() const override;
    int ScaleFilled() const override;
    void StepScale() override;
    void ResetScale() override;
    // The result list; null while there are no results.
    QListWidget* ResultsList() const { return resultsList_; }
    // The text areas of the description; those numbered for the dialog are drawn on it.
    void SetTextAreas(TTextMsg* texts);
    // The find pane, once it exists: it then receives the find commands.
    void SetFindPane(IDialogFindPane* pane) { findPane_ = pane; }

    void FormMouseMove(int x, int y);
    void FormMouseDown(Qt::MouseButton button, int x, int y);
    void FormMouseUp(int x, int y);

    const TDialogDescription& Dialogs() const { return dialogs_; }
    int CurrentDialog() const { return currentDialog_; }
    // Of the dialog shown.
    const TDynamicBtnArray& PlacedButtons() const { return placedButtons_; }
    const TDynamicBtnPicArray& ButtonImages() const { return buttonImages_; }
    const TDynamicSwthGrpPicArray& SwitchImages() const { return switchImages_; }
    const QImage& Background() const { return background_; }
    // The message given with the dialog shown (1251).
    const std::string& Message() const { return message_; }
    // The message as drawn: its left edge and width in the background.
    int MessageLeft() const { return messageLeft_; }
    int MessageWidth() const { return messageWidth_; }
    int FullHeight() const { return fullHeight_; }
    bool Fading() const { return fade_->Running(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    void LoadButtons(int index);
    void LoadSwitches(int index);
    // The background of the picture for text: returns the widening d.
    int DrawMessage(const QImage& picture, const std::string& text);
    void ReleaseShown();
    void DropResultsList();
    TDynamicSwthGrpArray& Switches();
    std::unique_ptr<TEffBtnCar> MakeEffect(int index);
    bool CanDrawEffects() const { return isVisible() && !fade_->Running(); }

    TDiscSession& session_;
    IDesktop& desktop_;
    QWidget& mainWindow_;
    IDialogFindPane* findPane_ = nullptr;
    TDialogDescription dialogs_;
    int currentDialog_ = 0;
    TDynamicBtnArray placedButtons_;
    TDynamicBtnPicArray buttonImages_;
    TDynamicSwthGrpPicArray switchImages_;
    QImage background_;
    std::string message_;
    int messageLeft_ = 0, messageWidth_ = 0;
    int fullHeight_ = 0;
    std::unique_ptr<TEffCar> fade_;
    std::unique_ptr<TScaleBar> scaleBar_;
    QListWidget* resultsList_ = nullptr;
    TTextMsg* texts_ = nullptr;
};

}  // namespace vitrina
