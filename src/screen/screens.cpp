// Screens of the main window: set-up at start, switching, the picture sets, captions.
#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QMovie>
#include <QPainter>
#include <QTimer>

#include <map>

#include "app/main_form.h"
#include "commands/command_targets.h"
#include "platform/cp1251.h"
#include "platform/qt_text.h"
#include "resources/description.h"
#include "screen/path_input_box.h"
#include "screen/text_msg.h"

namespace vitrina {

namespace {

QFont CaptionFont(const std::string& name, int size, TStyleSet style) {
    QFont f(QText(name));
    f.setPointSize(std::max(1, size));
    f.setBold(style & kStyleBold);
    f.setItalic(style & kStyleItalic);
    f.setUnderline(style & kStyleUnderline);
    f.setStrikeOut(style & kStyleStrikeout);
    return f;
}

// One character at a time: each advances by its bold width, whatever the picture's style.
void DrawCaption(QImage& picture, std::string caption, int tx, int ty, int bx, int by, const std::string& font,
                 int size, TStyleSet style, TColor color, int spacing) {
    if (picture.isNull() || Trim(caption).empty()) return;
    QPainter p(&picture);
    const QFont stateFont = CaptionFont(font, size, style);
    const QFont boldFont = CaptionFont(font, size, style | kStyleBold);
    const QFontMetrics bold(boldFont, &picture);
    p.setPen(ToQColor(color));
    p.setFont(stateFont);
    int left = tx;
    const QString text = QText(caption);
    for (const QChar ch : text) {
        const int advance = bold.horizontalAdvance(ch);
        const QRect clip(QPoint(left, ty), QPoint(bx - 1, by - 1));
        if (clip.isValid()) {
            p.save();
            p.setClipRect(clip);
            p.drawText(clip, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip, QString(ch));
            p.restore();
        }
        left += advance + spacing;
    }
}

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

void TMainForm::StartResumeTimer() {
    if (!resumeTimer_) {
        resumeTimer_ = new QTimer(this);
        resumeTimer_->setInterval(100);
        connect(resumeTimer_, &QTimer::timeout, this, [this] {
            // The timer keeps running while the window fades in.
            if (WindowFadeRunning()) return;
            resumeTimer_->stop();
            if (CurrentScreen == 0 && targets_.WindowClipExists() && !targets_.WindowClipPausedByUser())
                targets_.ResumeClip();
        });
    }
    resumeTimer_->start();
}

bool TMainForm::InsideShownClip(int x, int y) const {
    return targets_.WindowClipShown() && targets_.InsideWindowClip(x, y);
}

std::unique_ptr<TEffBtnCar> TMainForm::MakeEffect(int index) {
    return std::make_unique<TEffBtnCar>(this, index, [this] { return CanDrawEffects(); });
}

bool TMainForm::WindowFadeRunning() const { return windowFade_ && windowFade_->Running(); }

void TMainForm::DrawButtonCaptions(const RBtn& b, TBtnPic& p) const {
    DrawCaption(p.up, b.textcaption, b.texttx, b.textty, b.textbx, b.textby, b.textfontname, b.textfontsize,
                b.textfontstyleup, b.textfontcolorup, CaptionSpacing);
    DrawCaption(p.mv, b.textcaption, b.texttx, b.textty, b.textbx, b.textby, b.textfontname, b.textfontsize,
                b.textfontstylemv, b.textfontcolormv, CaptionSpacing);
    DrawCaption(p.dn, b.textcaption, b.texttx, b.textty, b.textbx, b.textby, b.textfontname, b.textfontsize,
                b.textfontstyledn, b.textfontcolordn, CaptionSpacing);
}

void TMainForm::DrawSwitchCaptions(const RSwthOne& s, TSwthPic& p) const {
    DrawCaption(p.pic[0], s.textcaptionup, s.texttxup, s.texttyup, s.textbxup, s.textbyup, s.textfontname,
                s.textfontsize, s.textfontstyleup, s.textfontcolorup, CaptionSpacing);
    DrawCaption(p.pic[1], s.textcaptionup, s.texttxup, s.texttyup, s.textbxup, s.textbyup, s.textfontname,
                s.textfontsize, s.textfontstylemvup, s.textfontcolormvup, CaptionSpacing);
    DrawCaption(p.pic[2], s.textcaptiondn, s.texttxdn, s.texttydn, s.textbxdn, s.textbydn, s.textfontname,
                s.textfontsize, s.textfontstylemvdn, s.textfontcolormvdn, CaptionSpacing);
    DrawCaption(p.pic[3], s.textcaptiondn, s.texttxdn, s.texttydn, s.textbxdn, s.textbydn, s.textfontname,
                s.textfontsize, s.textfontstyledn, s.textfontcolordn, CaptionSpacing);
}

void TMainForm::DrawGroupCaptions(const RSwthGrp& g, TSwthPic& p) const {
    const std::string up = GroupCaption(g.textcaptionup);
    const std::string dn = GroupCaption(g.textcaptiondn);
    DrawCaption(p.pic[0], up, g.texttx, g.textty, g.textbx, g.textby, g.textfontname, g.textfontsize,
                g.textfontstyleup, g.textfontcolorup, CaptionSpacing);
    DrawCaption(p.pic[1], up, g.texttx, g.textty, g.textbx, g.textby, g.textfontname, g.textfontsize,
                g.textfontstylemvup, g.textfontcolormvup, CaptionSpacing);
    DrawCaption(p.pic[2], dn, g.texttx, g.textty, g.textbx, g.textby, g.textfontname, g.textfontsize,
                g.textfontstylemvdn, g.textfontcolormvdn, CaptionSpacing);
    DrawCaption(p.pic[3], dn, g.texttx, g.textty, g.textbx, g.textby, g.textfontname, g.textfontsize,
                g.textfontstyledn, g.textfontcolordn, CaptionSpacing);
}

void TMainForm::LoadControlPictures(int screen) {
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
    TDynamicBtnArray& buttons = screen < int(Model.ScreenButtons.size()) ? Model.ScreenButtons[screen] : noButtons;
    TDynamicSwthOneArray& switches = screen < int(Model.ScreenSwitches.size()) ? Model.ScreenSwitches[screen] : noSwitches;
    TDynamicSwthGrpArray& groups = screen < int(Model.ScreenGroups.size()) ? Model.ScreenGroups[screen] : noGroups;

    Resize(ButtonPictures, buttons.size(), make);
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        RBtn& b = buttons[i];
        TBtnPic& p = ButtonPictures[i];
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
    Resize(SwitchPictures, switches.size(), make);
    for (std::size_t i = 0; i < switches.size(); ++i) {
        RSwthOne& s = switches[i];
        TSwthPic& p = SwitchPictures[i];
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
    Resize(GroupPictures, groups.size(), make);
    for (std::size_t i = 0; i < groups.size(); ++i) {
        RSwthGrp& g = groups[i];
        TSwthPic& p = GroupPictures[i];
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

void TMainForm::CopyUpPicturesIntoBackground() {
    if (Background.isNull()) return;
    QPainter p(&Background);
    const int s = CurrentScreen;
    if (s < int(Model.ScreenButtons.size()))
        for (std::size_t i = 0; i < Model.ScreenButtons[s].size() && i < ButtonPictures.size(); ++i)
            p.drawImage(Model.ScreenButtons[s][i].vx, Model.ScreenButtons[s][i].vy, ButtonPictures[i].up);
    if (s < int(Model.ScreenSwitches.size()))
        for (std::size_t i = 0; i < Model.ScreenSwitches[s].size() && i < SwitchPictures.size(); ++i)
            p.drawImage(Model.ScreenSwitches[s][i].vx, Model.ScreenSwitches[s][i].vy, SwitchPictures[i].pic[0]);
    if (s < int(Model.ScreenGroups.size()))
        for (std::size_t i = 0; i < Model.ScreenGroups[s].size() && i < GroupPictures.size(); ++i)
            p.drawImage(Model.ScreenGroups[s][i].vx, Model.ScreenGroups[s][i].vy, GroupPictures[i].pic[0]);
}

void TMainForm::SetUpScreen() {
    CurrentScreen = 0;
    if (!Model.ScreenPictures.empty()) {
        QImage picture = LoadPicture(Model.ScreenPictures[0]);
        if (!picture.isNull()) {
            Background = picture;
            resize(Background.size());
        }
    }
    setAttribute(Qt::WA_AlwaysShowToolTips);
    LoadControlPictures(0);
    for (TBtnPic& p : ButtonPictures) p.hovered = p.pressed = false;
    ReadStoredSwitchStates(registry_, Title, Model);
    CopyUpPicturesIntoBackground();
}

void TMainForm::ReplaySwitchCommands(int screen, int passes, bool skip3d) {
    for (int pass = 0; pass < passes; ++pass) {
        if (screen >= int(Model.ScreenSwitches.size())) break;
        for (std::size_t i = 0; i < Model.ScreenSwitches[screen].size(); ++i) {
            const RSwthOne s = Model.ScreenSwitches[screen][i];
            if (skip3d && s.godown == "3d") continue;
            ExecuteCommand(s.state ? s.godown : s.goup, s.wav, 1, 1, int(i));
            if (CurrentScreen != screen) return;
        }
    }
    if (screen >= int(Model.ScreenGroups.size())) return;
    for (std::size_t i = 0; i < Model.ScreenGroups[screen].size(); ++i) {
        const RSwthGrp g = Model.ScreenGroups[screen][i];
        if (!g.state || (skip3d && g.go == "3d")) continue;
        ExecuteCommand(g.go, g.wav, 1, 2, int(i));
        if (CurrentScreen != screen) return;
    }
}

void TMainForm::SwitchScreen(int n, int kind, int index) {
    // Screens the description never filled, and switches nested in a switch's replay, are refused.
    if (n < 0 || n >= Model.ScreenCount() || switching_) return;
    switching_ = true;
    // 1.
    if (resumeTimer_) resumeTimer_->stop();
    // 2: the issuing control loses its marks.
    if (kind == 0 && index >= 0 && index < int(ButtonPictures.size())) {
        ButtonPictures[index].hovered = ButtonPictures[index].pressed = false;
        ButtonPictures[index].effect->StopCrossFade();
    } else if (kind == 1 && CurrentScreen < int(Model.ScreenSwitches.size()) &&
               index >= 0 && index < int(Model.ScreenSwitches[CurrentScreen].size())) {
        Model.ScreenSwitches[CurrentScreen][index].Hovered = false;
    } else if (kind == 2 && CurrentScreen < int(Model.ScreenGroups.size()) &&
               index >= 0 && index < int(Model.ScreenGroups[CurrentScreen].size())) {
        Model.ScreenGroups[CurrentScreen][index].Hovered = false;
    }
    // 3-4.
    CurrentScreen = n;
    if (n == 1 && targets_.WindowClipExists()) targets_.FreezeClip();
    unsetCursor();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // 5: a picture that fails to load leaves the previous one; the window keeps its size.
    if (n < int(Model.ScreenPictures.size())) {
        QImage picture = LoadPicture(Model.ScreenPictures[n]);
        if (!picture.isNull()) Background = picture;
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
    targets_.ScreenChanged(n);
    // 12-13: the switch commands of the new screen, twice for the switches.
    ReplaySwitchCommands(n, 2, true);
    switching_ = false;
    // 14-15: the window clip shows its frozen frame; back on the first screen it resumes soon.
    if (targets_.WindowClipExists() && targets_.WindowClipShown() && targets_.WindowClipHaltedOrPaused())
        targets_.DrawFrozenFrame(Background);
    if (n == 0 && (!targets_.WindowClipExists() || targets_.WindowClipHaltedOrPaused())) {
        bool started = false;
        if (n < int(Model.ScreenSwitches.size()))
            for (const RSwthOne& s : Model.ScreenSwitches[n])
                if (!started && s.state && s.godown == "3d" && targets_.WindowClipExists() && targets_.WindowClipShown()) {
                    StartResumeTimer();
                    started = true;
                }
        if (n < int(Model.ScreenGroups.size()))
            for (const RSwthGrp& g : Model.ScreenGroups[n])
                if (!started && g.state && g.go == "3d" && targets_.WindowClipExists() && targets_.WindowClipShown()) {
                    StartResumeTimer();
                    started = true;
                }
    }
    // 16.
    update();
    QApplication::restoreOverrideCursor();
}

}  // namespace vitrina
