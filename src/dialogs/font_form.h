#pragma once
// TFontForm ("Шрифт"): the default look of the HTML panes (font, text colour, link colour, size,
// background) with a live sample. Every value set, by the caller, a control or Reset, goes to the
// sample at once; on show the five values are kept for Reset.
#include <QDialog>
#include <QStringList>

#include <string>

#include "resources/dynamic_arrays.h"

class QListWidget;
class QPushButton;
class QSpinBox;
class QTimer;

namespace vitrina {

class TColorGrid;
class TDocEngine;
class TFrameViewer;

class TFontForm : public QDialog {
public:
    // fonts: the names FontListBox offers (listed sorted, once each).
    explicit TFontForm(TDocEngine& engine, QStringList fonts = InstalledFonts(), QWidget* parent = nullptr);

    static QStringList InstalledFonts();
    // The sample document.
    static QString FontSample();

    // Names and the font name are 1251 text; colours Windows colour values.
    void SetFontName(const std::string& name);
    void SetFontColor(TColor color);
    void SetHotSpotColor(TColor color);
    void SetFontSize(int size);
    void SetBackground(TColor color);
    // The selected font, "Arial" when none is selected.
    std::string FontName() const;
    TColor FontColor() const { return fontColor_; }
    TColor HotSpotColor() const { return hotSpotColor_; }
    int FontSize() const { return fontSize_; }
    // The selected background entry's colour, the system's button face when none is selected.
    TColor Background() const;
    void Reset();

    QListWidget* FontListBox() const { return fontListBox_; }
    QListWidget* BackListBox() const { return backListBox_; }
    TColorGrid* FontColorGrid() const { return fontColorGrid_; }
    TColorGrid* HotSpotColorGrid() const { return hotSpotColorGrid_; }
    QSpinBox* FontSizeEdit() const { return fontSizeEdit_; }
    QPushButton* ResetButton() const { return resetButton_; }
    QPushButton* OKButton() const { return okButton_; }
    QPushButton* CancelButton() const { return cancel_; }
    TFrameViewer* FontViewer() const { return fontViewer_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ShowSample();

    TFrameViewer* fontViewer_;
    QListWidget* fontListBox_;
    QListWidget* backListBox_;
    TColorGrid* fontColorGrid_;
    TColorGrid* hotSpotColorGrid_;
    QSpinBox* fontSizeEdit_;
    QPushButton* resetButton_;
    QPushButton* okButton_;
    QPushButton* cancel_;
    QTimer* reload_;

    std::string sampleFontName_ = "Arial";
    TColor fontColor_ = 0;
    TColor hotSpotColor_ = 0x3366;
    int fontSize_ = 8;
    TColor sampleBackground_ = 0xFFFFFF;

    struct TKept {
        std::string fontName;
        TColor fontColor, hotSpotColor, background;
        int fontSize;
    } kept_{"Arial", 0, 0x3366, 0xFFFFFF, 8};
};

}  // namespace vitrina
