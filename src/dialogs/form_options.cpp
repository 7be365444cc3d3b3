#include "dialogs/form_options.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSlider>
#include <QTabWidget>
#include <QVBoxLayout>

#include "dialogs/options_values.h"
#include "platform/qt_text.h"
#include "session/disc_session.h"

namespace vitrina {

namespace {

QString Ru(const char* utf8) { return QString::fromUtf8(utf8); }

bool AnyButtonSound(const TScreenModel& model) {
    for (const auto& screen : model.ScreenButtons)
        for (const RBtn& b : screen)
            if (!b.wav.empty() && b.wav != "no") return true;
    return false;
}

}  // namespace

TFormOptions::TFormOptions(TDiscSession& session, TOptionsActions actions, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint), session_(session), actions_(std::move(actions)),
      hasImageAreas_(!session.Model.ImageAreas.empty()) {
    setWindowTitle(Ru("Настройки"));
    setModal(false);
    tabs_ = new QTabWidget(this);

    auto* main = new QWidget;
    main->setObjectName("TabSheetMain");
    auto* mainLayout = new QVBoxLayout(main);
    checkBoxWav_ = new QCheckBox(Ru("Озвучка кнопок"));
    checkBoxWav_->setEnabled(AnyButtonSound(session.Model));
    checkBoxClip_ = new QCheckBox(Ru("Клип при запуске"));
    checkBoxClip_->setEnabled(!session.Model.Rolic.empty() && session.Model.Rolic != "no");
    checkBoxBGSound_ = new QCheckBox(Ru("Фоновая музыка"));
    checkBoxAnimation_ = new QCheckBox(Ru("Анимация окон"));
    checkBoxHint_ = new QCheckBox(Ru("Всплывающие подсказки"));
    for (QCheckBox* box : {checkBoxWav_, checkBoxClip_, checkBoxBGSound_, checkBoxAnimation_, checkBoxHint_})
        mainLayout->addWidget(box);
    checkBoxClip_->hide();
    checkBoxBGSound_->hide();
    checkBoxAnimation_->hide();
    checkBoxHint_->hide();
    auto* sizes = new QGroupBox(Ru(" Вариант интерфейса "));
    auto* sizesLayout = new QVBoxLayout(sizes);
    const char* sizeCaptions[4] = {"Автоматический выбор", "800x600", "1024x768", "Произвольный"};
    for (int i = 0; i < 4; ++i) {
        interface_[i] = new QRadioButton(Ru(sizeCaptions[i]));
        sizesLayout->addWidget(interface_[i]);
    }
    mainLayout->addWidget(sizes);
    auto* font = new QPushButton(Ru("Шрифт"));
    connect(font, &QPushButton::clicked, this, [this] {
        if (actions_.fontDialog) actions_.fontDialog();
    });
    mainLayout->addWidget(font, 0, Qt::AlignLeft);
    mainLayout->addStretch();
    tabs_->addTab(main, Ru("Основные"));

    auto* pictures = new QWidget;
    pictures->setObjectName("TabSheetPictures");
    auto* picturesLayout = new QVBoxLayout(pictures);
    checkBoxRunSlideShow_ = new QCheckBox(Ru("Включить Слайд-шоу"));
    picturesLayout->addWidget(checkBoxRunSlideShow_);
    auto* timeRow = new QHBoxLayout;
    trackBarSlideShow_ = new QSlider(Qt::Horizontal);
    trackBarSlideShow_->setRange(1, 10);
    trackBarSlideShow_->setSingleStep(1);
    trackBarSlideShow_->setPageStep(1);
    trackBarSlideShow_->setTickPosition(QSlider::TicksBelow);
    labelTimeSlideShow_ = new QLabel;
    timeRow->addWidget(trackBarSlideShow_);
    timeRow->addWidget(labelTimeSlideShow_);
    picturesLayout->addLayout(timeRow);
    connect(trackBarSlideShow_, &QSlider::valueChanged, this, [this] { RefreshSlideLabel(); });
    auto* order = new QGroupBox(Ru(" Последовательность "));
    auto* orderLayout = new QVBoxLayout(order);
    sequence_[0] = new QRadioButton(Ru("Прямая"));
    sequence_[1] = new QRadioButton(Ru("Обратная"));
    orderLayout->addWidget(sequence_[0]);
    orderLayout->addWidget(sequence_[1]);
    picturesLayout->addWidget(order);
    picturesLayout->addStretch();
    tabs_->addTab(pictures, Ru("Картинки"));
    // No play-list areas ever: the player's tab stays out; without slides, the pictures' tab too.
    tabs_->setTabVisible(1, hasImageAreas_);

    buttonOK_ = new QPushButton(Ru("OK"));
    buttonOK_->setDefault(true);
    auto* cancel = new QPushButton(Ru("Отмена"));
    connect(buttonOK_, &QPushButton::clicked, this, [this] { ButtonOKClick(); });
    connect(cancel, &QPushButton::clicked, this, [this] { ButtonCancelClick(); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(buttonOK_);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addLayout(buttons);
    tabs_->setCurrentIndex(0);
}

void TFormOptions::SetBackgroundSound(bool on) { checkBoxBGSound_->setChecked(on); }

void TFormOptions::ShowOptions() {
    adjustSize();
    if (QScreen* screen = QGuiApplication::primaryScreen()) move(screen->geometry().center() - rect().center());
    show();
    raise();
    activateWindow();
}

void TFormOptions::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    const TSettings& s = session_.Settings;
    buttonOK_->setFocus();
    if (checkBoxClip_->isEnabled()) checkBoxClip_->setChecked(s.Clip);
    if (checkBoxWav_->isEnabled()) checkBoxWav_->setChecked(s.Wav);
    checkBoxAnimation_->setChecked(s.Animation);
    checkBoxHint_->setChecked(s.Hint);
    if (sizeInterface_ >= 0 && sizeInterface_ < 4) interface_[sizeInterface_]->setChecked(true);
    checkBoxRunSlideShow_->setChecked(s.RunSlideShow);
    trackBarSlideShow_->setValue(s.SlideShowTime);
    sequence_[0]->setChecked(s.ImageSequence == 0);
    sequence_[1]->setChecked(s.ImageSequence == 1);
    RefreshSlideLabel();
}

void TFormOptions::RefreshSlideLabel() { labelTimeSlideShow_->setText(QText(SlideTimeText(trackBarSlideShow_->value()))); }

void TFormOptions::ButtonOKClick() {
    hide();
    TOptionsChoice choice;
    choice.clip = checkBoxClip_->isChecked();
    choice.clipEnabled = checkBoxClip_->isEnabled();
    choice.wav = checkBoxWav_->isChecked();
    choice.wavEnabled = checkBoxWav_->isEnabled();
    for (int i = 0; i < 4 && choice.sizeInterface < 0; ++i)
        if (interface_[i]->isChecked()) choice.sizeInterface = i;
    choice.runSlideShow = checkBoxRunSlideShow_->isChecked();
    choice.slideTime = trackBarSlideShow_->value();
    choice.sequence = sequence_[1]->isChecked() ? 1 : sequence_[0]->isChecked() ? 0 : session_.Settings.ImageSequence;
    const TOptionsEffects e =
        ApplyOptions(session_.Registry(), session_.Title, hasImageAreas_, choice, session_.Settings, sizeInterface_);
    if (e.slideShowRunning && actions_.runSlideShow) actions_.runSlideShow(*e.slideShowRunning);
    if (e.slideInterval && actions_.slideInterval) actions_.slideInterval(*e.slideInterval);
}

void TFormOptions::ButtonCancelClick() { hide(); }

}  // namespace vitrina
