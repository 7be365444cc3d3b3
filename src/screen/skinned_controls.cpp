// Painting of the skin and the pointer state machine of its buttons, switches and members.
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QToolTip>
#include <QWindow>

#include "commands/clip_commands.h"
#include "commands/command_services.h"
#include "commands/dispatcher.h"
#include "commands/popup_commands.h"
#include "commands/tree_commands.h"
#include "platform/cp1251.h"
#include "platform/device_pixels.h"
#include "screen/skin_window.h"
#include "screen/text_msg.h"
#include "session/disc_session.h"

namespace vitrina {

namespace {

bool StartsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

}  // namespace

void TSkinWindow::paintEvent(QPaintEvent* event) {
    TSkinPainter p(this);
    if (WindowFadeRunning()) {
        windowFade_->PaintFadeFrame(p);
        return;
    }
    p.setClipRegion(event->region());
    p.drawImage(0, 0, background_);
    const int s = session_.CurrentScreen;
    if (s < int(session_.Model.ScreenButtons.size())) {
        const auto& buttons = session_.Model.ScreenButtons[s];
        for (std::size_t i = 0; i < buttons.size() && i < buttonPictures_.size(); ++i) {
            const TBtnPic& pic = buttonPictures_[i];
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
    if (s < int(session_.Model.ScreenSwitches.size()))
        for (std::size_t i = 0; i < session_.Model.ScreenSwitches[s].size() && i < switchPictures_.size(); ++i) {
            const RSwthOne& sw = session_.Model.ScreenSwitches[s][i];
            paintSwitch(switchPictures_[i], sw.vx, sw.vy, sw.Hovered, sw.state);
        }
    if (s < int(session_.Model.ScreenGroups.size()))
        for (std::size_t i = 0; i < session_.Model.ScreenGroups[s].size() && i < groupPictures_.size(); ++i) {
            const RSwthGrp& g = session_.Model.ScreenGroups[s][i];
            paintSwitch(groupPictures_[i], g.vx, g.vy, g.Hovered, g.state);
        }
    if (textMsg_) textMsg_->Paint(p, session_.CurrentScreen);
}

void TSkinWindow::CopyGroupPicture(int index, int picture) {
    TSwthPic& pic = groupPictures_[index];
    pic.effect->Forget();
    pic.copied = picture;
    repaint(pic.carrier.bounds);
}

void TSkinWindow::FormMouseMove(Qt::KeyboardModifiers, int x, int y) {
    if (WindowFadeRunning() || InsideShownClip(x, y)) return;
    const int s = session_.CurrentScreen;
    if (s < int(session_.Model.ScreenButtons.size())) {
        auto& buttons = session_.Model.ScreenButtons[s];
        for (std::size_t i = 0; i < buttons.size() && i < buttonPictures_.size(); ++i) {
            TrackButtonHover(buttonPictures_[i], buttons[i], Inside(buttons[i], x, y));
        }
    }
    if (s < int(session_.Model.ScreenSwitches.size())) {
        auto& switches = session_.Model.ScreenSwitches[s];
        for (std::size_t i = 0; i < switches.size() && i < switchPictures_.size(); ++i) {
            RSwthOne& sw = switches[i];
            TSwthPic& pic = switchPictures_[i];
            const bool inside = Inside(sw, x, y);
            if (inside && !sw.Hovered) {
                if (Services().trees && Services().trees->SecondTreeExists() && !Services().trees->AnyTreeVisible() &&
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
    if (s < int(session_.Model.ScreenGroups.size())) {
        auto& groups = session_.Model.ScreenGroups[s];
        for (std::size_t i = 0; i < groups.size() && i < groupPictures_.size(); ++i) {
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

void TSkinWindow::FormMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y) {
    if (Services().popups) Services().popups->ClosePopups();
    if (WindowFadeRunning()) return;
    if (InsideShownClip(x, y)) {
        Clips()->ToggleWindowClip();
        // After a short pause the window may still be dragged from a halted or paused clip.
        QTimer::singleShot(100, this, [this, button] {
            if (button == Qt::LeftButton && Clips()->WindowClipHaltedOrPaused() && windowHandle())
                windowHandle()->startSystemMove();
        });
        return;
    }
    const bool shiftHeld = shift & Qt::ShiftModifier;
    const int s = session_.CurrentScreen;
    if (s < int(session_.Model.ScreenButtons.size())) {
        auto& buttons = session_.Model.ScreenButtons[s];
        for (std::size_t i = 0; i < buttons.size() && i < buttonPictures_.size(); ++i) {
            TBtnPic& pic = buttonPictures_[i];
            if (Inside(buttons[i], x, y) && !pic.pressed) {
                pic.effect->CrossFade(pic.mv, pic.dn, QPoint(buttons[i].vx, buttons[i].vy));
                pic.pressed = true;
                return;
            }
        }
    }
    if (s < int(session_.Model.ScreenSwitches.size())) {
        auto& switches = session_.Model.ScreenSwitches[s];
        for (std::size_t i = 0; i < switches.size() && i < switchPictures_.size(); ++i) {
            RSwthOne& sw = switches[i];
            if (!Inside(sw, x, y)) continue;
            if (Services().trees && Services().trees->SecondTreeExists() && !Services().trees->AnyTreeVisible() &&
                (SameText1251(sw.goup, "tree2") || SameText1251(sw.godown, "tree2")))
                return;
            TSwthPic& pic = switchPictures_[i];
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
    if (s < int(session_.Model.ScreenGroups.size())) {
        auto& groups = session_.Model.ScreenGroups[s];
        for (std::size_t i = 0; i < groups.size() && i < groupPictures_.size(); ++i) {
            RSwthGrp& g = groups[i];
            if (!Inside(g, x, y)) continue;
            if (g.state) return;
            CopyGroupPicture(int(i), shiftHeld ? 3 : 2);
            for (std::size_t k = 0; k < groups.size() && k < groupPictures_.size(); ++k) {
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

void TSkinWindow::FormMouseUp(Qt::MouseButton, Qt::KeyboardModifiers, int x, int y) {
    if (WindowFadeRunning() || InsideShownClip(x, y)) return;
    const int screen = session_.CurrentScreen;
    if (screen < int(session_.Model.ScreenButtons.size())) {
        for (std::size_t i = 0; screen == session_.CurrentScreen && i < session_.Model.ScreenButtons[screen].size() && i < buttonPictures_.size(); ++i) {
            const RBtn b = session_.Model.ScreenButtons[screen][i];
            TBtnPic& pic = buttonPictures_[i];
            if (!Inside(b, x, y)) continue;
            if (pic.pressed) {
                pic.pressed = false;
                if (StartsWith(b.go, "screen2") && Clips() && Clips()->WindowClipShown() && Clips()->WindowClipPlaying())
                    Clips()->FreezeWindowClip();
                if (!StartsWith(b.go, "screen2") && !StartsWith(b.go, "exit") && b.go != "1")
                    pic.effect->CrossFade(pic.dn, pic.mv, QPoint(b.vx, b.vy));
                ExecuteCommand(b.go, b.wav, 0, 0, int(i));
                if (session_.CurrentScreen != screen) return;
            } else {
                pic.effect->CrossFade(pic.dn, pic.up, QPoint(b.vx, b.vy));
            }
        }
    }
    if (screen != session_.CurrentScreen || screen >= int(session_.Model.ScreenGroups.size())) return;
    for (std::size_t i = 0; i < session_.Model.ScreenGroups[screen].size(); ++i) {
        RSwthGrp& g = session_.Model.ScreenGroups[screen][i];
        if (!Inside(g, x, y)) continue;
        g.Hovered = false;
        FormMouseMove({}, x, y);
    }
}

void TSkinWindow::mouseMoveEvent(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    FormMouseMove(e->modifiers(), p.x(), p.y());
}

void TSkinWindow::mousePressEvent(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    FormMouseDown(e->button(), e->modifiers(), p.x(), p.y());
}

void TSkinWindow::mouseReleaseEvent(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    FormMouseUp(e->button(), e->modifiers(), p.x(), p.y());
}

void TSkinWindow::mouseDoubleClickEvent(QMouseEvent* e) {
    // A double click is a second press to the skin, as the system reports it.
    mousePressEvent(e);
}

void TSkinWindow::leaveEvent(QEvent*) {
    // The pointer left the window: nothing is under it any more.
    FormMouseMove({}, -1, -1);
}

}  // namespace vitrina
