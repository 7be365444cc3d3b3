#pragma once
// "Настройки": the user's settings in a standard dialog, shown without making it modal, on top
// and in the middle of the screen. The settings themselves were loaded with the session.
#include <QDialog>

#include <functional>

#include "commands/options_commands.h"

class QButtonGroup;
class QCheckBox;
class QLabel;
class QRadioButton;
class QSlider;
class QTabWidget;

namespace vitrina {

class TDiscSession;

struct TOptionsActions {
    // The slide show's timer: on or off, and its interval in ms.
    std::function<void(bool on)> runSlideShow;
    std::function<void(int ms)> slideInterval;
    // "Шрифт": the document font dialog.
    std::function<void()> fontDialog;
};

class TFormOptions : public QDialog, public IOptionsCommands {
public:
    TFormOptions(TDiscSession& session, TOptionsActions actions, QWidget* parent = nullptr);

    void ShowOptions() override;
    // The music player ticks and unticks the hidden "Фоновая музыка".
    void SetBackgroundSound(bool on);

    QTabWidget* Tabs() const { return tabs_; }
    QCheckBox* CheckBoxWav() const { return checkBoxWav_; }
    QCheckBox* CheckBoxClip() const { return checkBoxClip_; }
    QCheckBox* CheckBoxBGSound() const { return checkBoxBGSound_; }
    QCheckBox* CheckBoxRunSlideShow() const { return checkBoxRunSlideShow_; }
    QSlider* TrackBarSlideShow() const { return trackBarSlideShow_; }
    QLabel* LabelTimeSlideShow() const { return labelTimeSlideShow_; }
    QRadioButton* Sequence(int i) const { return sequence_[i]; }
    QRadioButton* Interface(int i) const { return interface_[i]; }
    int SizeInterface() const { return sizeInterface_; }

    void ButtonOKClick();
    void ButtonCancelClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void RefreshSlideLabel();

    TDiscSession& session_;
    TOptionsActions actions_;
    bool hasImageAreas_;
    int sizeInterface_ = 0;
    QTabWidget* tabs_;
    QCheckBox* checkBoxWav_;
    QCheckBox* checkBoxClip_;
    QCheckBox* checkBoxBGSound_;
    QCheckBox* checkBoxAnimation_;
    QCheckBox* checkBoxHint_;
    QRadioButton* interface_[4];
    QCheckBox* checkBoxRunSlideShow_;
    QSlider* trackBarSlideShow_;
    QLabel* labelTimeSlideShow_;
    QRadioButton* sequence_[2];
    class QPushButton* buttonOK_;
};

}  // namespace vitrina
