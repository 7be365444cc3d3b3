#include "dialogs/about_window.h"

#include <algorithm>

#include <QFontMetrics>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>
#include <QScreen>
#include <QToolTip>
#include <QWindow>

#include "imaging/windows_color.h"
#include "platform/desktop.h"
#include "platform/device_pixels.h"
#include "platform/qt_text.h"
#include "resources/description.h"
#include "session/disc_session.h"
#include "session/settings.h"

namespace vitrina {

TAboutBox::TAboutBox(TDiscSession& session, IDesktop& desktop)
    // Over the program, as the skinned dialog.
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), session_(session),
      desktop_(desktop), description_(session.ProgramFolder) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_AlwaysShowToolTips);
    setWindowModality(Qt::ApplicationModal);
    setMouseTracking(true);
    fade_ = std::make_unique<TEffCar>(this);
    std::string bytes;
    if (session_.Container.ReadStream("About.cfs", bytes)) description_.Read(DecodeDescription(bytes, true));
    background_ = LoadSkinPicture(session_.Container, description_.Picture);
    const QRect screen = (QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->geometry() : QRect());
    setGeometry(screen.width() / 2 - background_.width() / 2, screen.height() / 2 - background_.height() / 2,
                background_.width(), background_.height());
    if (description_.Vertex.size() >= 3) {
        QPolygon polygon;
        for (const TPoint& p : description_.Vertex) polygon << QPoint(p.x, p.y);
        shape_ = QRegion(polygon, Qt::WindingFill);
        setMask(shape_);
    }
    AddButtons();
    DrawTexts();
}

TAboutBox::~TAboutBox() {
    // The effects repaint this window; they go before it.
    for (auto& p : pictures_) p.effect.reset();
    fade_.reset();
}

void TAboutBox::AddButtons() {
    QPainter painter;
    if (!background_.isNull()) painter.begin(&background_);
    for (RBtn b : description_.Buttons) {
        TBtnPic& p = pictures_.emplace_back();
        p.up = LoadSkinPicture(session_.Container, b.fn1);
        p.mv = LoadSkinPicture(session_.Container, b.fn2);
        b.Right = b.vx + p.up.width();
        b.Bottom = b.vy + p.up.height();
        if (painter.isActive() && !p.up.isNull()) painter.drawImage(b.vx, b.vy, p.up);
        p.carrier = {QRect(QPoint(b.vx, b.vy), QPoint(b.Right - 1, b.Bottom - 1)), QText(b.hint)};
        p.effect = std::make_unique<TEffBtnCar>(this, int(entries_.size()), [this] { return CanDrawEffects(); });
        p.effect->SetFadeStep(4);
        entries_.push_back(std::move(b));
    }
}

void TAboutBox::DrawTexts() {
    QPainter painter;
    if (!background_.isNull()) painter.begin(&background_);
    for (const RText& text : description_.Texts) {
        const QFont font = SkinFont(text.font, text.size, ReadStyleSet(text.style));
        const QFontMetrics metrics(font, background_.isNull() ? nullptr : &background_);
        if (IsAboutLink(text)) {
            // The area covers the whole value, whatever part of it is shown.
            RBtn link;
            link.vx = text.vx;
            link.vy = text.vy;
            link.Right = text.vx + metrics.horizontalAdvance(QText(text.value));
            link.Bottom = text.vy + metrics.height();
            link.go = AboutLinkTarget(text.value);
            link.IsLink = true;
            link.fn1 = "url";
            entries_.push_back(std::move(link));
            pictures_.emplace_back();
        }
        if (!painter.isActive()) continue;
        painter.setFont(font);
        painter.setPen(ToQColor(text.color));
        painter.drawText(QPoint(text.vx, text.vy + metrics.ascent()), QText(AboutShownText(text)));
    }
    linkCursor_.assign(entries_.size(), false);
}

void TAboutBox::ShowAbout(const QRect& mainWindow) {
    if (mainWindow.isValid()) {
        QRect placed(QPoint(), size());
        placed.moveCenter(mainWindow.center());
        if (const QScreen* screen = QGuiApplication::screenAt(mainWindow.center())) {
            const QRect free = screen->availableGeometry();
            placed.moveLeft(std::clamp(placed.left(), free.left(), std::max(free.left(), free.right() + 1 - placed.width())));
            placed.moveTop(std::clamp(placed.top(), free.top(), std::max(free.top(), free.bottom() + 1 - placed.height())));
        }
        move(placed.topLeft());
    }
    for (auto& p : pictures_) p.hovered = false;
    linkCursor_.assign(entries_.size(), false);
    unsetCursor();
    fade_->FadeIn();
    show();
    raise();
    activateWindow();
}

void TAboutBox::paintEvent(QPaintEvent*) {
    TSkinPainter p(this);
    if (fade_->Running()) {
        fade_->PaintFadeFrame(p);
        return;
    }
    if (background_.isNull()) return;
    p.drawImage(0, 0, background_);
    for (std::size_t i = 0; i < pictures_.size(); ++i) {
        const TBtnPic& pic = pictures_[i];
        if (pic.effect && !pic.effect->Shown().isNull())
            p.drawImage(pic.effect->ShownRect().topLeft(), pic.effect->Shown());
        else if (pic.hovered && !pic.mv.isNull()) p.drawImage(entries_[i].vx, entries_[i].vy, pic.mv);
    }
}

void TAboutBox::FormMouseMove(int x, int y) {
    if (fade_->Running()) return;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const RBtn& b = entries_[i];
        TBtnPic& pic = pictures_[i];
        const QPoint at(b.vx, b.vy);
        if (Inside(b, x, y)) {
            if (b.IsLink && !linkCursor_[i]) {
                setCursor(Qt::PointingHandCursor);
                linkCursor_[i] = true;
            }
            if (!pic.hovered) {
                if (!pic.mv.isNull()) pic.effect->CrossFade(pic.up, pic.mv, at);
                pic.hovered = true;
            }
        } else {
            if (b.IsLink && linkCursor_[i]) {
                unsetCursor();
                linkCursor_[i] = false;
            }
            if (pic.hovered) {
                if (!pic.up.isNull()) pic.effect->CrossFade(pic.mv, pic.up, at);
                pic.hovered = false;
            }
        }
    }
}

void TAboutBox::FormMouseDown(Qt::MouseButton button, int x, int y) {
    if (fade_->Running()) return;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const RBtn& b = entries_[i];
        if (!Inside(b, x, y)) continue;
        if (session_.Settings.PlaysSound(b.wav)) desktop_.PlayClickSound(session_.ProgramFolder + b.wav);
        if (b.IsLink) {
            desktop_.ShellExecute(b.go, "");
        } else {
            pictures_[i].hovered = false;
            linkCursor_[i] = false;
            unsetCursor();
            close();
        }
        return;
    }
    // The background: the borderless window follows the pointer.
    if (button == Qt::LeftButton && windowHandle()) windowHandle()->startSystemMove();
}

void TAboutBox::mouseMoveEvent(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    FormMouseMove(p.x(), p.y());
}

void TAboutBox::mousePressEvent(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    FormMouseDown(e->button(), p.x(), p.y());
}

void TAboutBox::leaveEvent(QEvent*) { FormMouseMove(-1, -1); }

void TAboutBox::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape || e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) close();
    else QWidget::keyPressEvent(e);
}

bool TAboutBox::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip) return QWidget::event(event);
    auto* help = static_cast<QHelpEvent*>(event);
    for (const auto& p : pictures_) {
        const TMyControl& c = p.carrier;
        if (session_.Settings.Hint && c.bounds.contains(help->pos()) && !c.hint.isEmpty()) {
            QToolTip::showText(help->globalPos(), c.hint, this, c.bounds);
            return true;
        }
    }
    QToolTip::hideText();
    return true;
}

void TAboutCommands::ShowAbout() {
    if (!window_) window_ = std::make_unique<TAboutBox>(session_, desktop_);
    window_->ShowAbout(mainWindow_.geometry());
}

}  // namespace vitrina
