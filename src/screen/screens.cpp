// Screens of the main window: set-up at start, switching, the picture sets, captions.
#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QMovie>
#include <QPainter>
#include <QTimer>

#include <map>

#include "commands/clip_commands.h"
#include "commands/command_services.h"
#include "commands/dispatcher.h"
#include "commands/popup_commands.h"
#include "platform/cp1251.h"
#include "platform/qt_text.h"
#include "resources/description.h"
#include "screen/path_input_box.h"
#include "screen/skin_window.h"
#include "screen/text_msg.h"
#include "session/disc_session.h"
#include "skin/control_pictures.h"

namespace vitrina {

namespace {

std::string GroupCaption(const std::string& caption) {
    if (SameText1251(caption, "2d")) return "2D";
    if (SameText1251(caption, "3d")) return "3D";
    return caption;
}

template <typename T>
void Resize(std::vector<T>& pictures, std::size_t count, const std::function<std::unique_ptr<TEffBtnCar>(int)>& make) {
    // Surplus elements go from the last one down; new ones get their effect.
    while (pictures.size() > count) {
        pictures.back().effect.reset();
        pictures.pop_back();
    }
    while (pictures.size() < count) {
        pictures.emplace_back();
        pictures.back().effect = make(int(pictures.size() - 1));
    }
}

}  // namespace

void TSkinWindow::StartResumeTimer() {
    if (!resumeTimer_) {
        resumeTimer_ = new QTimer(this);
        resumeTimer_->setInterval(100);
        connect(resumeTimer_, &QTimer::timeout, this, [this] {
            // The timer keeps running while the window fades in.
            if (WindowFadeRunning()) return;
            resumeTimer_->stop();
            if (session_.CurrentScreen == 0 && WindowClipExists() && !Clips()->WindowClipPausedByUser())
                Clips()->ResumeWindowClip();
        });
    }
    resumeTimer_->start();
}

bool TSkinWindow::InsideShownClip(int x, int y) const {
    return Clips() && Clips()->WindowClipShown() && Clips()->InsideWindowClip(x, y);
}

std::unique_ptr<TEffBtnCar> TSkinWindow::MakeEffect(int index) {
    return std::make_unique<TEffBtnCar>(this, index, [this] { return CanDrawEffects(); });
}

bool TSkinWindow::WindowFadeRunning() const { return windowFade_ && windowFade_->Running(); }

void TSkinWindow::DrawButtonCaptions(const RBtn& b, TBtnPic& p) const {
    const qreal ratio = devicePixelRatioF();
    DrawCaption(p.up, ratio, b.textcaption, b.texttx, b.textty, b.textbx, b.textby, b.textfontname, b.textfontsize,
                b.textfontstyleup, b.textfontcolorup, session_.CaptionSpacing);
    DrawCaption(p.mv, ratio, b.textcaption, b.texttx, b.textty, b.textbx, b.textby, b.textfontname, b.textfontsize,
                b.textfontstylemv, b.textfontcolormv, session_.CaptionSpacing);
    DrawCaption(p.dn, ratio, b.textcaption, b.texttx, b.textty, b.textbx, b.textby, b.textfontname, b.textfontsize,
                b.textfontstyledn, b.textfontcolordn, session_.CaptionSpacing);
}

void TSkinWindow::DrawSwitchCaptions(const RSwthOne& s, TSwthPic& p) const {
    const qreal ratio = devicePixelRatioF();
    DrawCaption(p.pic[0], ratio, s.textcaptionup, s.texttxup, s.texttyup, s.textbxup, s.textbyup, s.textfontname,
                s.textfontsize, s.textfontstyleup, s.textfontcolorup, session_.CaptionSpacing);
    DrawCaption(p.pic[1], ratio, s.textcaptionup, s.texttxup, s.texttyup, s.textbxup, s.textbyup, s.textfontname,
                s.textfontsize, s.textfontstylemvup, s.textfontcolormvup, session_.CaptionSpacing);
    DrawCaption(p.pic[2], ratio, s.textcaptiondn, s.texttxdn, s.texttydn, s.textbxdn, s.textbydn, s.textfontname,
                s.textfontsize, s.textfontstylemvdn, s.textfontcolormvdn, session_.CaptionSpacing);
    DrawCaption(p.pic[3], ratio, s.textcaptiondn, s.texttxdn, s.texttydn, s.textbxdn, s.textbydn, s.textfontname,
                s.textfontsize, s.textfontstyledn, s.textfontcolordn, session_.CaptionSpacing);
}

void TSkinWindow::DrawGroupCaptions(const RSwthGrp& g, TSwthPic& p) const {
    const qreal ratio = devicePixelRatioF();
    const std::string up = GroupCaption(g.textcaptionup);
    const std::string dn = GroupCaption(g.textcaptiondn);
    DrawCaption(p.pic[0], ratio, up, g.texttx, g.textty, g.textbx, g.textby, g.textfontname, g.textfontsize,
                g.textfontstyleup, g.textfontcolorup, session_.CaptionSpacing);
    DrawCaption(p.pic[1], ratio, up, g.texttx, g.textty, g.textbx, g.textby, g.textfontname, g.textfontsize,
                g.textfontstylemvup, g.textfontcolormvup, session_.CaptionSpacing);
    DrawCaption(p.pic[2], ratio, dn, g.texttx, g.textty, g.textbx, g.textby, g.textfontname, g.textfontsize,
                g.textfontstylemvdn, g.textfontcolormvdn, session_.CaptionSpacing);
    DrawCaption(p.pic[3], ratio, dn, g.texttx, g.textty, g.textbx, g.textby, g.textfontname, g.textfontsize,
                g.textfontstyledn, g.textfontcolordn, session_.CaptionSpacing);
}

void TSkinWindow::LoadControlPictures(int screen) {
    const auto make = [this](int i) { return MakeEffect(i); };
    // Controls of a screen share their pictures; each is decoded once (captions detach copies).
    std::map<std::string, QImage> decoded;
    auto LoadPicture = [&](const std::string& name) {
        auto found = decoded.find(name);
        if (found == decoded.end()) found = decoded.emplace(name, this->LoadPicture(name)).first;
        return found->second;
    };
    static TDynamicBtnArray noButtons;
    static TDynamicSwthOneArray noSwitches;
    static TDynamicSwthGrpArray noGroups;
    TDynamicBtnArray& buttons = screen < int(session_.Model.ScreenButtons.size()) ? session_.Model.ScreenButtons[screen] : noButtons;
    TDynamicSwthOneArray& switches = screen < int(session_.Model.ScreenSwitches.size()) ? session_.Model.ScreenSwitches[screen] : noSwitches;
    TDynamicSwthGrpArray& groups = screen < int(session_.Model.ScreenGroups.size()) ? session_.Model.ScreenGroups[screen] : noGroups;

    Resize(buttonPictures_, buttons.size(), make);
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        RBtn& b = buttons[i];
        TBtnPic& p = buttonPictures_[i];
        p.effect->StopCrossFade();
        p.up = LoadPicture(b.fn1);
        p.mv = LoadPicture(b.fn2);
        p.dn = LoadPicture(b.fn3);
        b.Right = b.vx + p.up.width();
        b.Bottom = b.vy + p.up.height();
        DrawButtonCaptions(b, p);
        p.carrier = {QRect(QPoint(b.vx, b.vy), QPoint(b.Right - 1, b.Bottom - 1)), QText(b.hint)};
        p.effect->SetFadeStep(Contains(LowerCase1251(b.go), "contextmenu") ? 3 : 4);
    }
    Resize(switchPictures_, switches.size(), make);
    for (std::size_t i = 0; i < switches.size(); ++i) {
        RSwthOne& s = switches[i];
        TSwthPic& p = switchPictures_[i];
        p.effect->StopCrossFade();
        p.copied = -1;
        const std::string* names[4] = {&s.fn1, &s.fn2, &s.fn3, &s.fn4};
        for (int k = 0; k < 4; ++k) p.pic[k] = LoadPicture(*names[k]);
        s.Right = s.vx + p.pic[0].width();
        s.Bottom = s.vy + p.pic[0].height();
        DrawSwitchCaptions(s, p);
        p.carrier = {QRect(QPoint(s.vx, s.vy), QPoint(s.Right - 1, s.Bottom - 1)), QText(s.hint)};
        p.effect->SetFadeStep(4);
    }
    Resize(groupPictures_, groups.size(), make);
    for (std::size_t i = 0; i < groups.size(); ++i) {
        RSwthGrp& g = groups[i];
        TSwthPic& p = groupPictures_[i];
        p.effect->StopCrossFade();
        p.copied = -1;
        const std::string* names[4] = {&g.fn1, &g.fn2, &g.fn3, &g.fn4};
        for (int k = 0; k < 4; ++k) p.pic[k] = LoadPicture(*names[k]);
        g.Right = g.vx + p.pic[0].width();
        g.Bottom = g.vy + p.pic[0].height();
        DrawGroupCaptions(g, p);
        p.carrier = {QRect(QPoint(g.vx, g.vy), QPoint(g.Right - 1, g.Bottom - 1)), QText(g.hint)};
        p.effect->SetFadeStep(4);
    }
}

void TSkinWindow::CopyUpPicturesIntoBackground() {
    if (background_.isNull()) return;
    QPainter p(&background_);
    const int s = session_.CurrentScreen;
    if (s < int(session_.Model.ScreenButtons.size()))
        for (std::size_t i = 0; i < session_.Model.ScreenButtons[s].size() && i < buttonPictures_.size(); ++i)
            p.drawImage(session_.Model.ScreenButtons[s][i].vx, session_.Model.ScreenButtons[s][i].vy, buttonPictures_[i].up);
    if (s < int(session_.Model.ScreenSwitches.size()))
        for (std::size_t i = 0; i < session_.Model.ScreenSwitches[s].size() && i < switchPictures_.size(); ++i)
            p.drawImage(session_.Model.ScreenSwitches[s][i].vx, session_.Model.ScreenSwitches[s][i].vy, switchPictures_[i].pic[0]);
    if (s < int(session_.Model.ScreenGroups.size()))
        for (std::size_t i = 0; i < session_.Model.ScreenGroups[s].size() && i < groupPictures_.size(); ++i)
            p.drawImage(session_.Model.ScreenGroups[s][i].vx, session_.Model.ScreenGroups[s][i].vy, groupPictures_[i].pic[0]);
}

void TSkinWindow::SetUpScreen() {
    session_.CurrentScreen = 0;
    if (!session_.Model.ScreenPictures.empty()) {
        QImage picture = LoadPicture(session_.Model.ScreenPictures[0]);
        if (!picture.isNull()) {
            background_ = picture;
            resize(background_.size());
        }
    }
    setAttribute(Qt::WA_AlwaysShowToolTips);
    LoadControlPictures(0);
    for (TBtnPic& p : buttonPictures_) p.hovered = p.pressed = false;
    ReadStoredSwitchStates(session_.Registry(), session_.Title, session_.Model);
    CopyUpPicturesIntoBackground();
}

void TSkinWindow::ReplaySwitchCommands(int screen, int passes, bool skip3d) {
    for (int pass = 0; pass < passes; ++pass) {
        if (screen >= int(session_.Model.ScreenSwitches.size())) break;
        for (std::size_t i = 0; i < session_.Model.ScreenSwitches[screen].size(); ++i) {
            const RSwthOne s = session_.Model.ScreenSwitches[screen][i];
            if (skip3d && s.godown == "3d") continue;
            ExecuteCommand(s.state ? s.godown : s.goup, s.wav, 1, 1, int(i));
            if (session_.CurrentScreen != screen) return;
        }
    }
    if (screen >= int(session_.Model.ScreenGroups.size())) return;
    for (std::size_t i = 0; i < session_.Model.ScreenGroups[screen].size(); ++i) {
        const RSwthGrp g = session_.Model.ScreenGroups[screen][i];
        if (!g.state || (skip3d && g.go == "3d")) continue;
        ExecuteCommand(g.go, g.wav, 1, 2, int(i));
        if (session_.CurrentScreen != screen) return;
    }
}

void TSkinWindow::SwitchScreen(int n, int kind, int index) {
    // Screens the description never filled, and switches nested in a switch's replay, are refused.
    if (n < 0 || n >= session_.Model.ScreenCount() || switching_) return;
    switching_ = true;
    // 1.
    if (resumeTimer_) resumeTimer_->stop();
    // 2: the issuing control loses its marks.
    if (kind == 0 && index >= 0 && index < int(buttonPictures_.size())) {
        buttonPictures_[index].hovered = buttonPictures_[index].pressed = false;
        buttonPictures_[index].effect->StopCrossFade();
    } else if (kind == 1 && session_.CurrentScreen < int(session_.Model.ScreenSwitches.size()) &&
               index >= 0 && index < int(session_.Model.ScreenSwitches[session_.CurrentScreen].size())) {
        session_.Model.ScreenSwitches[session_.CurrentScreen][index].Hovered = false;
    } else if (kind == 2 && session_.CurrentScreen < int(session_.Model.ScreenGroups.size()) &&
               index >= 0 && index < int(session_.Model.ScreenGroups[session_.CurrentScreen].size())) {
        session_.Model.ScreenGroups[session_.CurrentScreen][index].Hovered = false;
    }
    // 3-4.
    session_.CurrentScreen = n;
    if (n == 1 && WindowClipExists()) Clips()->FreezeWindowClip();
    unsetCursor();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // 5: a picture that fails to load leaves the previous one; the window keeps its size.
    if (n < int(session_.Model.ScreenPictures.size())) {
        QImage picture = LoadPicture(session_.Model.ScreenPictures[n]);
        if (!picture.isNull()) background_ = picture;
    }
    // 6-8.
    LoadControlPictures(n);
    CopyUpPicturesIntoBackground();
    // 9-11: the objects of the screen follow.
    if (pathInputBox_) pathInputBox_->ScreenChanged(n);
    if (busyPicture_ && busyMovie_) {
        busyPicture_->setVisible(n != 1);
        if (n == 1) busyMovie_->stop();
        else busyMovie_->start();
    }
    session_.NotifyScreenChanged();
    // 12-13: the switch commands of the new screen, twice for the switches.
    ReplaySwitchCommands(n, 2, true);
    switching_ = false;
    // 14-15: the window clip shows its frozen frame; back on the first screen it resumes soon.
    if (WindowClipExists() && Clips()->WindowClipShown() && Clips()->WindowClipHaltedOrPaused())
        Clips()->DrawFrozenFrame(background_);
    if (n == 0 && (!WindowClipExists() || Clips()->WindowClipHaltedOrPaused())) {
        bool started = false;
        if (n < int(session_.Model.ScreenSwitches.size()))
            for (const RSwthOne& s : session_.Model.ScreenSwitches[n])
                if (!started && s.state && s.godown == "3d" && WindowClipExists() && Clips()->WindowClipShown()) {
                    StartResumeTimer();
                    started = true;
                }
        if (n < int(session_.Model.ScreenGroups.size()))
            for (const RSwthGrp& g : session_.Model.ScreenGroups[n])
                if (!started && g.state && g.go == "3d" && WindowClipExists() && Clips()->WindowClipShown()) {
                    StartResumeTimer();
                    started = true;
                }
    }
    // 16.
    update();
    QApplication::restoreOverrideCursor();
}

}  // namespace vitrina
