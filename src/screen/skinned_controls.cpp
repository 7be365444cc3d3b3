// Painting of the skin and the pointer state machine of its buttons, switches and members.
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QToolTip>
#include <QWindow>

#include "app/main_form.h"
#include "commands/command_targets.h"
#include "platform/cp1251.h"
#include "screen/text_msg.h"

namespace vitrina {

namespace {

// Edges excluded.
template <typename T>
bool Inside(const T& c, int x, int y) {
    return c.vx < x && x < c.Right && c.vy < y && y < c.Bottom;
}

bool StartsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

}  // namespace

void TMainForm::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    if (WindowFadeRunning()) {
        windowFade_->PaintFadeFrame(p);
        return;
    }
    p.setClipRegion(event->region());
    p.drawImage(0, 0, Background);
    const int s = CurrentScreen;
    if (s < int(Model.ScreenButtons.size())) {
        const auto& buttons = Model.ScreenButtons[s];
        for (std::size_t i = 0; i < buttons.size() && i < ButtonPictures.size(); ++i) {
            const TBtnPic& pic = ButtonPictures[i];
            if (!pic.effect->Shown().isNull()) p.drawImage(pic.effect->ShownRect().topLeft(), pic.effect->Shown());
            else if (pic.hovered) p.drawImage(buttons[i].vx, buttons[i].vy, pic.mv);
        }
    }
    auto paintSwitch = [&](const TSwthPic& pic, int vx, int vy, bool hovered, bool state) {
        if (!pic.effect->Shown().isNull()) {
            p.drawImage(pic.effect->ShownRect().topLeft(), pic.effect->Shown());
            return;
        }
        if (pic.copied >= 0) {
            p.drawImage(vx, vy, pic.pic[pic.copied]);
            return;
        }
        const int chosen = hovered ? (state ? 2 : 1) : (state ? 3 : -1);
        if (chosen >= 0) p.drawImage(vx, vy, pic.pic[chosen]);
    };
    if (s < int(Model.ScreenSwitches.size()))
        for (std::size_t i = 0; i < Model.ScreenSwitches[s].size() && i < SwitchPictures.size(); ++i) {
            const RSwthOne& sw = Model.ScreenSwitches[s][i];
            paintSwitch(SwitchPictures[i], sw.vx, sw.vy, sw.Hovered, sw.state);
        }
    if (s < int(Model.ScreenGroups.size()))
        for (std::size_t i = 0; i < Model.ScreenGroups[s].size() && i < GroupPictures.size(); ++i) {
            const RSwthGrp& g = Model.ScreenGroups[s][i];
            paintSwitch(GroupPictures[i], g.vx, g.vy, g.Hovered, g.state);
        }
    if (textMsg_) textMsg_->Paint(p, CurrentScreen);
}

void TMainForm::CopyGroupPicture(int index, int picture) {
    TSwthPic& pic = GroupPictures[index];
    pic.effect->Forget();
    pic.copied = picture;
    repaint(pic.carrier.bounds);
}

void TMainForm::FormMouseMove(Qt::KeyboardModifiers, int x, int y) {
    if (WindowFadeRunning() || InsideShownClip(x, y)) return;
    const int s = CurrentScreen;
    if (s < int(Model.ScreenButtons.size())) {
        auto& buttons = Model.ScreenButtons[s];
        for (std::size_t i = 0; i < buttons.size() && i < ButtonPictures.size(); ++i) {
            TBtnPic& pic = ButtonPictures[i];
            const RBtn& b = buttons[i];
            const bool inside = Inside(b, x, y);
            if (inside && !pic.hovered) {
                pic.effect->CrossFade(pic.up, pic.mv, QPoint(b.vx, b.vy));
                pic.hovered = true;
            } else if (!inside && pic.hovered) {
                pic.effect->CrossFade(pic.mv, pic.up, QPoint(b.vx, b.vy));
                pic.hovered = pic.pressed = false;
            }
        }
    }
    if (s < int(Model.ScreenSwitches.size())) {
        auto& switches = Model.ScreenSwitches[s];
        for (std::size_t i = 0; i < switches.size() && i < SwitchPictures.size(); ++i) {
            RSwthOne& sw = switches[i];
            TSwthPic& pic = SwitchPictures[i];
            const bool inside = Inside(sw, x, y);
            if (inside && !sw.Hovered) {
                if (targets_.SecondTreeExists() && !targets_.AnyTreeVisible() &&
                    (SameText1251(sw.goup, "tree2") || SameText1251(sw.godown, "tree2")))
                    return;
                pic.copied = -1;
                if (sw.state) pic.effect->CrossFade(pic.pic[3], pic.pic[2], QPoint(sw.vx, sw.vy));
                else pic.effect->CrossFade(pic.pic[0], pic.pic[1], QPoint(sw.vx, sw.vy));
                sw.Hovered = true;
            } else if (!inside && sw.Hovered) {
                pic.copied = -1;
                if (sw.state) pic.effect->CrossFade(pic.pic[2], pic.pic[3], QPoint(sw.vx, sw.vy));
                else pic.effect->CrossFade(pic.pic[1], pic.pic[0], QPoint(sw.vx, sw.vy));
                sw.Hovered = false;
            }
        }
    }
    if (s < int(Model.ScreenGroups.size())) {
        auto& groups = Model.ScreenGroups[s];
        for (std::size_t i = 0; i < groups.size() && i < GroupPictures.size(); ++i) {
            RSwthGrp& g = groups[i];
            const bool inside = Inside(g, x, y);
            if (inside && !g.Hovered) {
                CopyGroupPicture(int(i), g.state ? 2 : 1);
                g.Hovered = true;
            } else if (!inside && g.Hovered) {
                CopyGroupPicture(int(i), g.state ? 3 : 0);
                g.Hovered = false;
            }
        }
    }
}

void TMainForm::FormMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y) {
    targets_.ClosePopups();
    if (WindowFadeRunning()) return;
    if (InsideShownClip(x, y)) {
        targets_.ToggleClip();
        // After a short pause the window may still be dragged from a halted or paused clip.
        QTimer::singleShot(100, this, [this, button] {
            if (button == Qt::LeftButton && targets_.WindowClipHaltedOrPaused() && windowHandle())
                windowHandle()->startSystemMove();
        });
        return;
    }
    const bool shiftHeld = shift & Qt::ShiftModifier;
    const int s = CurrentScreen;
    if (s < int(Model.ScreenButtons.size())) {
        auto& buttons = Model.ScreenButtons[s];
        for (std::size_t i = 0; i < buttons.size() && i < ButtonPictures.size(); ++i) {
            TBtnPic& pic = ButtonPictures[i];
            if (Inside(buttons[i], x, y) && !pic.pressed) {
                pic.effect->CrossFade(pic.mv, pic.dn, QPoint(buttons[i].vx, buttons[i].vy));
                pic.pressed = true;
                return;
            }
        }
    }
    if (s < int(Model.ScreenSwitches.size())) {
        auto& switches = Model.ScreenSwitches[s];
        for (std::size_t i = 0; i < switches.size() && i < SwitchPictures.size(); ++i) {
            RSwthOne& sw = switches[i];
            if (!Inside(sw, x, y)) continue;
            if (targets_.SecondTreeExists() && !targets_.AnyTreeVisible() &&
                (SameText1251(sw.goup, "tree2") || SameText1251(sw.godown, "tree2")))
                return;
            TSwthPic& pic = SwitchPictures[i];
            pic.copied = -1;
            std::string command;
            if (sw.state) {
                pic.effect->CrossFade(pic.pic[2], pic.pic[1], QPoint(sw.vx, sw.vy));
                command = sw.goup;
            } else {
                pic.effect->CrossFade(pic.pic[1], pic.pic[2], QPoint(sw.vx, sw.vy));
                command = sw.godown;
            }
            sw.state = !sw.state;
            if (!shiftHeld) ExecuteCommand(command, sw.wav, 0, 1, int(i));
            return;
        }
    }
    if (s < int(Model.ScreenGroups.size())) {
        auto& groups = Model.ScreenGroups[s];
        for (std::size_t i = 0; i < groups.size() && i < GroupPictures.size(); ++i) {
            RSwthGrp& g = groups[i];
            if (!Inside(g, x, y)) continue;
            if (g.state) return;
            CopyGroupPicture(int(i), shiftHeld ? 3 : 2);
            for (std::size_t k = 0; k < groups.size() && k < GroupPictures.size(); ++k) {
                if (groups[k].group == g.group && groups[k].state) {
                    CopyGroupPicture(int(k), 0);
                    groups[k].state = false;
                }
            }
            g.state = true;
            if (!shiftHeld) {
                const RSwthGrp copy = g;
                ExecuteCommand(copy.go, copy.wav, 0, 2, int(i));
            }
            return;
        }
    }
    // The background: the borderless window follows the pointer.
    if (windowHandle() && button == Qt::LeftButton) windowHandle()->startSystemMove();
}

void TMainForm::FormMouseUp(Qt::MouseButton, Qt::KeyboardModifiers, int x, int y) {
    if (WindowFadeRunning() || InsideShownClip(x, y)) return;
    const int screen = CurrentScreen;
    if (screen < int(Model.ScreenButtons.size())) {
        for (std::size_t i = 0; screen == CurrentScreen && i < Model.ScreenButtons[screen].size() && i < ButtonPictures.size(); ++i) {
            const RBtn b = Model.ScreenButtons[screen][i];
            TBtnPic& pic = ButtonPictures[i];
            if (!Inside(b, x, y)) continue;
            if (pic.pressed) {
                pic.pressed = false;
                if (StartsWith(b.go, "screen2") && targets_.WindowClipShown() && targets_.WindowClipPlaying())
                    targets_.FreezeClip();
                if (!StartsWith(b.go, "screen2") && !StartsWith(b.go, "exit") && b.go != "1")
                    pic.effect->CrossFade(pic.dn, pic.mv, QPoint(b.vx, b.vy));
                ExecuteCommand(b.go, b.wav, 0, 0, int(i));
                if (CurrentScreen != screen) return;
            } else {
                pic.effect->CrossFade(pic.dn, pic.up, QPoint(b.vx, b.vy));
            }
        }
    }
    if (screen != CurrentScreen || screen >= int(Model.ScreenGroups.size())) return;
    for (std::size_t i = 0; i < Model.ScreenGroups[screen].size(); ++i) {
        RSwthGrp& g = Model.ScreenGroups[screen][i];
        if (!Inside(g, x, y)) continue;
        g.Hovered = false;
        FormMouseMove({}, x, y);
    }
}

void TMainForm::mouseMoveEvent(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    FormMouseMove(e->modifiers(), p.x(), p.y());
}

void TMainForm::mousePressEvent(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    FormMouseDown(e->button(), e->modifiers(), p.x(), p.y());
}

void TMainForm::mouseReleaseEvent(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    FormMouseUp(e->button(), e->modifiers(), p.x(), p.y());
}

void TMainForm::mouseDoubleClickEvent(QMouseEvent* e) {
    // A double click is a second press to the skin, as the system reports it.
    mousePressEvent(e);
}

void TMainForm::leaveEvent(QEvent*) {
    // The pointer left the window: nothing is under it any more.
    FormMouseMove({}, -1, -1);
}

}  // namespace vitrina
