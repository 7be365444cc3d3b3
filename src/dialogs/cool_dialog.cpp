#include "dialogs/cool_dialog.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QWindow>

#include <algorithm>

#include "session/busy.h"
#include "imaging/windows_color.h"
#include "platform/desktop.h"
#include "platform/device_pixels.h"
#include "platform/qt_text.h"
#include "resources/description.h"
#include "screen/scale_bar.h"
#include "screen/text_msg.h"
#include "search/dialog_find_pane.h"
#include "search/make_find.h"
#include "session/disc_session.h"
#include "session/settings.h"

namespace vitrina {

namespace {

QRect Bounds(int left, int top, int right, int bottom) { return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)); }

// However long a message, the window stays a size a picture can have.
constexpr int kMaxDialogWidth = kMaxCoordinate;
// The find dialog without results shows only its upper part.
constexpr int kFindDialogShortHeight = 115;

}  // namespace

TCoolDialog::TCoolDialog(TDiscSession& session, IDesktop& desktop, QWidget& mainWindow)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), session_(session),
      desktop_(desktop), mainWindow_(mainWindow), dialogs_(session.ProgramFolder) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_AlwaysShowToolTips);
    setMouseTracking(true);
    setWindowTitle(QText(session_.Title));
    std::string bytes;
    if (session_.Container.ReadStream("Dialog.cfs", bytes)) dialogs_.Read(DecodeDescription(bytes, true));
    fade_ = std::make_unique<TEffCar>(this);
    scaleBar_ = std::make_unique<TScaleBar>(session_.Container, "status_dn.bmp", "status_up.bmp", 1, 33, 75);
    ReadStoredSwitchStates(session_.Registry(), session_.Title, dialogs_);
}

void TCoolDialog::SetTextAreas(TTextMsg* texts) {
    if (texts_) texts_->OnDialogText = nullptr;
    texts_ = texts;
    if (texts_) texts_->OnDialogText = [this] { update(); };
}

TCoolDialog::~TCoolDialog() {
    SetTextAreas(nullptr);
    if (!background_.isNull()) WriteStoredSwitchStates(session_.Registry(), session_.Title, dialogs_);
    // The effects repaint this window; they go before it.
    for (auto& p : buttonImages_) p.effect.reset();
    for (auto& p : switchImages_) p.effect.reset();
    fade_.reset();
}

TDynamicSwthGrpArray& TCoolDialog::Switches() {
    static TDynamicSwthGrpArray none;
    TDynamicSwthGrpArray* switches = dialogs_.Switches(currentDialog_);
    return switches ? *switches : none;
}

std::unique_ptr<TEffBtnCar> TCoolDialog::MakeEffect(int index) {
    auto effect = std::make_unique<TEffBtnCar>(this, index, [this] { return CanDrawEffects(); });
    effect->SetFadeStep(4);
    return effect;
}

void TCoolDialog::LoadButtons(int index) {
    const TDynamicBtnArray& buttons = dialogs_.Buttons(index);
    placedButtons_ = buttons;
    buttonImages_.clear();
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        RBtn& b = placedButtons_[i];
        TBtnPic& p = buttonImages_.emplace_back();
        p.up = LoadSkinPicture(session_.Container, b.fn1);
        p.mv = LoadSkinPicture(session_.Container, b.fn2);
        p.dn = LoadSkinPicture(session_.Container, b.fn3);
        // A button without its up picture is neither drawn nor hit.
        b.Right = b.vx + p.up.width();
        b.Bottom = b.vy + p.up.height();
        p.carrier.hint = QText(b.hint);
        p.effect = MakeEffect(int(i));
    }
}

void TCoolDialog::LoadSwitches(int index) {
    switchImages_.clear();
    TDynamicSwthGrpArray* switches = dialogs_.Switches(index);
    if (!switches) return;
    for (std::size_t i = 0; i < switches->size(); ++i) {
        RSwthGrp& s = (*switches)[i];
        TSwthPic& p = switchImages_.emplace_back();
        const std::string* names[4] = {&s.fn1, &s.fn2, &s.fn3, &s.fn4};
        for (int k = 0; k < 4; ++k) p.pic[k] = LoadSkinPicture(session_.Container, *names[k]);
        s.Right = s.vx + p.pic[0].width();
        s.Bottom = s.vy + p.pic[0].height();
        s.Hovered = false;
        const TStyleSet styles[4] = {s.textfontstyleup, s.textfontstylemvup, s.textfontstylemvdn, s.textfontstyledn};
        const TColor colors[4] = {s.textfontcolorup, s.textfontcolormvup, s.textfontcolormvdn, s.textfontcolordn};
        const qreal ratio = devicePixelRatioF();
        for (int k = 0; k < 4; ++k)
            DrawCaption(p.pic[k], ratio, k < 2 ? s.textcaptionup : s.textcaptiondn, s.texttx, s.textty, s.textbx,
                        s.textby, s.textfontname, s.textfontsize, styles[k], colors[k], session_.CaptionSpacing);
        p.carrier = {Bounds(s.vx, s.vy, s.Right, s.Bottom), QText(s.hint)};
        p.effect = MakeEffect(int(i));
    }
}

int TCoolDialog::DrawMessage(const QImage& picture, const std::string& text) {
    const RText& area = dialogs_.Text(currentDialog_);
    const QFont font = SkinFont(area.font, area.size, ReadStyleSet(area.style));
    const QFontMetrics metrics(font, &picture);
    const QString message = QText(text);
    const int w = picture.width();
    const int available = area.vw - area.vx;
    const int width = metrics.horizontalAdvance(message);
    const int d = std::clamp(width - available, 0, std::max(0, kMaxDialogWidth - w));
    if (d > 0) {
        // The middle column of the picture repeats across the excess.
        background_ = QImage(w + d, picture.height(), picture.format());
        background_.setDotsPerMeterX(picture.dotsPerMeterX());
        background_.setDotsPerMeterY(picture.dotsPerMeterY());
        QPainter p(&background_);
        const int middle = w / 2;
        p.drawImage(0, 0, picture, 0, 0, middle, picture.height());
        p.drawImage(middle + d, 0, picture, middle, 0, w - middle, picture.height());
        p.drawImage(QRect(middle, 0, d, picture.height()), picture.copy(middle, 0, 1, picture.height()));
    } else {
        background_ = picture;
    }
    messageLeft_ = d > 0 ? area.vx : area.vx + (available - width) / 2;
    messageWidth_ = width;
    if (!message.isEmpty()) {
        QPainter p(&background_);
        p.setFont(font);
        p.setPen(ToQColor(area.color));
        p.setClipRect(Bounds(area.vx, area.vy, area.vw + d, area.vy + metrics.height()));
        p.drawText(QPoint(messageLeft_, area.vy + metrics.ascent()), message);
    }
    return d;
}

void TCoolDialog::ShowDialog(int index, const std::string& text) {
    const QImage picture = LoadSkinPicture(session_.Container, dialogs_.Picture(index));
    if (picture.isNull()) return;
    // A second request while shown builds the dialog anew.
    if (isVisible()) hide();
    if (!background_.isNull()) ReleaseShown();
    currentDialog_ = index;
    message_ = text;
    LoadButtons(index);
    LoadSwitches(index);
    if (findPane_) findPane_->HostFields(this, index == kFindDialog);
    const int d = DrawMessage(picture, text);
    // Buttons follow the widening as their alignment says; switches stay.
    for (std::size_t i = 0; i < placedButtons_.size(); ++i) {
        RBtn& b = placedButtons_[i];
        const int shift = b.align == "left" ? 0 : b.align == "middle" ? d / 2 : d;
        b.vx += shift;
        b.Right += shift;
        buttonImages_[i].carrier.bounds = Bounds(b.vx, b.vy, b.Right, b.Bottom);
    }
    {
        QPainter p(&background_);
        for (std::size_t i = 0; i < placedButtons_.size(); ++i)
            if (!buttonImages_[i].up.isNull()) p.drawImage(placedButtons_[i].vx, placedButtons_[i].vy, buttonImages_[i].up);
        const TDynamicSwthGrpArray& switches = Switches();
        for (std::size_t i = 0; i < switches.size(); ++i)
            if (!switchImages_[i].pic[0].isNull()) p.drawImage(switches[i].vx, switches[i].vy, switchImages_[i].pic[0]);
    }
    const QRect main = mainWindow_.geometry();
    setGeometry(main.left() + main.width() / 2 - background_.width() / 2,
                main.top() + main.height() / 2 - background_.height() / 2, background_.width(), background_.height());
    fullHeight_ = background_.height();
    if (index == kFindDialog) scaleBar_->Load(session_.CurrentScreen, &background_);
    // Remembered find options apply again, with their sounds.
    const TDynamicSwthGrpArray switches = Switches();
    for (const RSwthGrp& s : switches)
        if (s.state && RunDialogCommand(s.go, s.wav)) return;
    fade_->FadeIn();
    show();
    raise();
    activateWindow();
}

bool TCoolDialog::RunDialogCommand(const std::string& go, const std::string& wav) {
    const bool findNext = Contains(go, "findnext");
    // The find button while a scan keeps the program busy stops it.
    if (findNext && findPane_ && IsBusy()) {
        findPane_->SetIdle(true);
        return false;
    }
    if (session_.Settings.PlaysSound(wav)) desktop_.PlayClickSound(session_.ProgramFolder + wav);
    using TScope = IDialogFindPane::TScope;
    if (go == "findtxtall") {
        if (findPane_) {
            findPane_->SetScope(TScope::Index);
            ShowFindResults(findPane_->Results());
        }
    } else if (Contains(go, "findtxtlimit")) {
        if (findPane_) findPane_->SetScope(TScope::Document);
        ShowFindResults({});
    } else if (Contains(go, "findtxtcontents")) {
        if (findPane_) findPane_->SetScope(TScope::Contents);
        ShowFindResults({});
    } else if (!findNext) {
        close();
        return true;
    } else if (findPane_) {
        findPane_->FindNext(ReadNumber(go, 8));
    }
    return false;
}

void TCoolDialog::SetFindButtonHint(const std::string& hint) {
    for (std::size_t i = 0; i < placedButtons_.size(); ++i) {
        if (placedButtons_[i].go != "findnext1") continue;
        placedButtons_[i].hint = hint;
        buttonImages_[i].carrier.hint = QText(hint);
        return;
    }
}

void TCoolDialog::ShowFindResults(const TFindResultLists& results) {
    if (results.paths.empty()) {
        DropResultsList();
        resize(width(), kFindDialogShortHeight);
        return;
    }
    if (!resultsList_) {
        resultsList_ = new QListWidget(this);
        resultsList_->setGeometry(11, 127, 377, 112);
        resultsList_->setFrameShape(QFrame::NoFrame);
        connect(resultsList_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
            if (findPane_ && resultsList_) findPane_->OpenResult(resultsList_->row(item));
        });
        resize(width(), fullHeight_);
    }
    resultsList_->clear();
    for (const std::string& title : results.titles) resultsList_->addItem(QText(title));
    resultsList_->show();
}

void TCoolDialog::DropResultsList() {
    if (!resultsList_) return;
    // Later: the list may be asking for this from its own click.
    resultsList_->hide();
    resultsList_->deleteLater();
    resultsList_ = nullptr;
}

int TCoolDialog::ScaleRange() const { return scaleBar_->Right() - scaleBar_->Left(); }

int TCoolDialog::ScaleFilled() const { return scaleBar_->Position() - scaleBar_->Left(); }

void TCoolDialog::StepScale() {
    scaleBar_->Step(session_.CurrentScreen, background_.isNull() ? nullptr : &background_);
    update();
}

void TCoolDialog::ResetScale() {
    scaleBar_->Reset(session_.CurrentScreen, background_.isNull() ? nullptr : &background_);
    update();
}

void TCoolDialog::CloseDialogKey() {
    // While a search runs, Esc stops it and the dialog stays.
    if (findPane_ && findPane_->Searching()) findPane_->SetIdle(true);
    else close();
}

void TCoolDialog::ReleaseShown() {
    if (findPane_) findPane_->DialogClosed();
    DropResultsList();
    for (auto& p : buttonImages_) p.effect.reset();
    buttonImages_.clear();
    placedButtons_.clear();
    background_ = QImage();
    message_.clear();
    WriteStoredSwitchStates(session_.Registry(), session_.Title, dialogs_);
    for (auto& p : switchImages_) p.effect.reset();
    switchImages_.clear();
}

void TCoolDialog::closeEvent(QCloseEvent* event) {
    ReleaseShown();
    event->accept();
}

void TCoolDialog::paintEvent(QPaintEvent*) {
    if (background_.isNull()) return;
    TSkinPainter p(this);
    if (fade_->Running()) {
        fade_->PaintFadeFrame(p);
        return;
    }
    p.drawImage(0, 0, background_);
    for (std::size_t i = 0; i < buttonImages_.size(); ++i) {
        const TBtnPic& pic = buttonImages_[i];
        if (!pic.effect->Shown().isNull()) p.drawImage(pic.effect->ShownRect().topLeft(), pic.effect->Shown());
        else if (pic.hovered) p.drawImage(placedButtons_[i].vx, placedButtons_[i].vy, pic.mv);
    }
    const TDynamicSwthGrpArray& switches = Switches();
    for (std::size_t i = 0; i < switches.size() && i < switchImages_.size(); ++i) {
        const TSwthPic& pic = switchImages_[i];
        const RSwthGrp& s = switches[i];
        if (!pic.effect->Shown().isNull()) {
            p.drawImage(pic.effect->ShownRect().topLeft(), pic.effect->Shown());
            continue;
        }
        const int shown = s.Hovered ? (s.state ? 2 : 1) : (s.state ? 3 : -1);
        if (shown >= 0) p.drawImage(s.vx, s.vy, pic.pic[shown]);
    }
    if (texts_) texts_->Paint(p, session_.CurrentScreen, true);
}

void TCoolDialog::FormMouseMove(int x, int y) {
    if (fade_->Running() || !isVisible()) return;
    for (std::size_t i = 0; i < placedButtons_.size(); ++i)
        TrackButtonHover(buttonImages_[i], placedButtons_[i], Inside(placedButtons_[i], x, y));
    TDynamicSwthGrpArray& switches = Switches();
    for (std::size_t i = 0; i < switches.size() && i < switchImages_.size(); ++i) {
        RSwthGrp& s = switches[i];
        TSwthPic& pic = switchImages_[i];
        const bool inside = Inside(s, x, y);
        if (inside && !s.Hovered) {
            if (s.state) pic.effect->CrossFade(pic.pic[3], pic.pic[2], QPoint(s.vx, s.vy));
            else pic.effect->CrossFade(pic.pic[0], pic.pic[1], QPoint(s.vx, s.vy));
            s.Hovered = true;
        } else if (!inside && s.Hovered) {
            if (s.state) pic.effect->CrossFade(pic.pic[2], pic.pic[3], QPoint(s.vx, s.vy));
            else pic.effect->CrossFade(pic.pic[1], pic.pic[0], QPoint(s.vx, s.vy));
            s.Hovered = false;
        }
    }
}

void TCoolDialog::FormMouseDown(Qt::MouseButton button, int x, int y) {
    if (fade_->Running()) return;
    for (std::size_t i = 0; i < placedButtons_.size(); ++i) {
        const RBtn& b = placedButtons_[i];
        TBtnPic& pic = buttonImages_[i];
        if (Inside(b, x, y) && !pic.pressed) {
            pic.effect->CrossFade(pic.mv, pic.dn, QPoint(b.vx, b.vy));
            pic.pressed = true;
            return;
        }
    }
    TDynamicSwthGrpArray& switches = Switches();
    for (std::size_t i = 0; i < switches.size() && i < switchImages_.size(); ++i) {
        RSwthGrp& s = switches[i];
        if (!Inside(s, x, y)) continue;
        if (s.state) return;
        switchImages_[i].effect->CrossFade(switchImages_[i].pic[1], switchImages_[i].pic[2], QPoint(s.vx, s.vy));
        for (std::size_t k = 0; k < switches.size() && k < switchImages_.size(); ++k) {
            RSwthGrp& other = switches[k];
            if (k == i || other.group != s.group || !other.state) continue;
            switchImages_[k].effect->CrossFade(switchImages_[k].pic[3], switchImages_[k].pic[0], QPoint(other.vx, other.vy));
            other.state = false;
        }
        s.state = true;
        const RSwthGrp pressed = s;  // the command may close the dialog
        RunDialogCommand(pressed.go, pressed.wav);
        return;
    }
    // The background: the borderless window follows the pointer.
    if (button == Qt::LeftButton && windowHandle()) windowHandle()->startSystemMove();
}

void TCoolDialog::FormMouseUp(int x, int y) {
    for (std::size_t i = 0; i < placedButtons_.size(); ++i) {
        const RBtn b = placedButtons_[i];
        TBtnPic& pic = buttonImages_[i];
        if (!Inside(b, x, y)) continue;
        if (pic.pressed) {
            pic.pressed = false;
            pic.effect->CrossFade(pic.dn, pic.mv, QPoint(b.vx, b.vy));
            if (RunDialogCommand(b.go, b.wav)) return;
        } else {
            pic.effect->CrossFade(pic.dn, pic.up, QPoint(b.vx, b.vy));
        }
    }
    TDynamicSwthGrpArray& switches = Switches();
    for (std::size_t i = 0; i < switches.size(); ++i) {
        if (!Inside(switches[i], x, y)) continue;
        switches[i].Hovered = false;
        FormMouseMove(x, y);
    }
}

void TCoolDialog::mouseMoveEvent(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    FormMouseMove(p.x(), p.y());
}

void TCoolDialog::mousePressEvent(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    FormMouseDown(e->button(), p.x(), p.y());
}

void TCoolDialog::mouseReleaseEvent(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    FormMouseUp(p.x(), p.y());
}

void TCoolDialog::mouseDoubleClickEvent(QMouseEvent* e) { mousePressEvent(e); }

void TCoolDialog::leaveEvent(QEvent*) { FormMouseMove(-1, -1); }

void TCoolDialog::keyPressEvent(QKeyEvent* e) {
    // The main window's key table answers the dialog's keys too (Esc closes it).
    if (!OnKey || !OnKey(e->key(), e->modifiers())) QWidget::keyPressEvent(e);
}

bool TCoolDialog::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip) return QWidget::event(event);
    auto* help = static_cast<QHelpEvent*>(event);
    QString hint;
    QRect area;
    auto look = [&](const TMyControl& c) {
        if (hint.isEmpty() && c.bounds.contains(help->pos()) && !c.hint.isEmpty()) {
            hint = c.hint;
            area = c.bounds;
        }
    };
    if (session_.Settings.Hint) {
        for (const auto& b : buttonImages_) look(b.carrier);
        for (const auto& s : switchImages_) look(s.carrier);
    }
    if (hint.isEmpty()) QToolTip::hideText();
    else QToolTip::showText(help->globalPos(), hint, this, area);
    return true;
}

}  // namespace vitrina
