#pragma once
// The about window: a borderless, shaped window drawn from "About.cfs" with its text lines,
// link areas that open web and mail addresses through the desktop, and buttons that close it.
// Made at the first "about" of a run and kept; each later "about" shows it again.
#include <QImage>
#include <QRegion>
#include <QWidget>

#include <memory>

#include "commands/about_commands.h"
#include "resources/about_description.h"
#include "skin/control_pictures.h"
#include "skin/eff_car.h"

namespace vitrina {

class IDesktop;
class TDiscSession;

class TAboutBox : public QWidget {
public:
    // Reads "About.cfs" from the session's container and draws the background once.
    TAboutBox(TDiscSession& session, IDesktop& desktop);
    ~TAboutBox() override;

    // Shows the window modally over the program, fading in.
    // Centred over the main window where it stands now, kept within that screen's free area.
    void ShowAbout(const QRect& mainWindow);

    const TAboutDescription& Description() const { return description_; }
    // The description's buttons, then one entry per link text (IsLink, target in go).
    const TDynamicBtnArray& Entries() const { return entries_; }
    const QImage& Background() const { return background_; }
    // The window's shape; empty when it keeps its rectangle.
    const QRegion& Shape() const { return shape_; }
    bool Fading() const { return fade_->Running(); }

    void FormMouseMove(int x, int y);
    void FormMouseDown(Qt::MouseButton button, int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;

private:
    void AddButtons();
    void DrawTexts();
    bool CanDrawEffects() const { return isVisible() && !fade_->Running(); }

    TDiscSession& session_;
    IDesktop& desktop_;
    TAboutDescription description_;
    QImage background_;
    QRegion shape_;
    TDynamicBtnArray entries_;
    // Per entry; link entries have no pictures and no effect.
    TDynamicBtnPicArray pictures_;
    std::vector<bool> linkCursor_;
    std::unique_ptr<TEffCar> fade_;
};

// "about": makes the window at the first request and shows it at every one.
class TAboutCommands : public IAboutCommands {
public:
    TAboutCommands(TDiscSession& session, IDesktop& desktop, const QWidget& mainWindow)
        : session_(session), desktop_(desktop), mainWindow_(mainWindow) {}
    void ShowAbout() override;
    TAboutBox* Window() const { return window_.get(); }

private:
    TDiscSession& session_;
    IDesktop& desktop_;
    const QWidget& mainWindow_;
    std::unique_ptr<TAboutBox> window_;
};

}  // namespace vitrina
