#include "panes/standard_window.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QWidget>

#include "panes/standard_window_geometry.h"
#include "platform/cp1251.h"
#include "platform/qt_text.h"

namespace vitrina {

namespace {

constexpr int kImageSize = 20;
constexpr int kDividerWidth = 10;

// The 20 x 20 image list: 0 back, 1 forward, 2 print, 3 back to the skinned window; drawn at
// ratio device pixels to one.
QPixmap ToolbarPixmap(int index, qreal ratio) {
    QPixmap pixmap(QSize(kImageSize, kImageSize) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(30, 60, 120), 1.5));
    p.setBrush(QColor(70, 130, 200));
    switch (index) {
    case 0:
    case 1: {
        QPainterPath arrow;
        arrow.moveTo(2, 10);
        arrow.lineTo(10, 3);
        arrow.lineTo(10, 7);
        arrow.lineTo(18, 7);
        arrow.lineTo(18, 13);
        arrow.lineTo(10, 13);
        arrow.lineTo(10, 17);
        arrow.closeSubpath();
        if (index == 1) p.setTransform(QTransform(-1, 0, 0, 1, kImageSize, 0));
        p.drawPath(arrow);
        break;
    }
    case 2:
        p.setBrush(Qt::white);
        p.drawRect(QRectF(5.5, 2.5, 9, 6));
        p.setBrush(QColor(160, 160, 160));
        p.drawRoundedRect(QRectF(1.5, 8.5, 17, 7), 1.5, 1.5);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(5.5, 13.5, 9, 5));
        break;
    default:
        p.setBrush(Qt::white);
        p.drawRect(QRectF(2.5, 3.5, 15, 13));
        p.setBrush(QColor(70, 130, 200));
        p.drawRect(QRectF(2.5, 3.5, 15, 3));
        p.drawRect(QRectF(5.5, 12.5, 9, 2));
        break;
    }
    return pixmap;
}

// Sharp on scaled screens too: the icon takes the drawing nearest the screen's ratio.
QIcon ToolbarImage(int index) {
    QIcon icon;
    for (qreal ratio : {1, 2, 3}) icon.addPixmap(ToolbarPixmap(index, ratio));
    return icon;
}

}  // namespace

TStandardWindow::TStandardWindow(QWidget& window, TStandardWindowActions actions, QObject* parent)
    : QObject(parent), window_(window), actions_(std::move(actions)) {}

TStandardWindow::~TStandardWindow() {
    window_.removeEventFilter(this);
    // The parts are the window's children; they go with it unless the window outlives us.
    delete toolbar_;
    delete statusBar_;
    delete client_;
    delete backMenu_;
    delete forwardMenu_;
}

QAction* TStandardWindow::Button(int index) const { return index >= 0 && index < 5 ? buttons_[index] : nullptr; }

void TStandardWindow::CreateParts() {
    backMenu_ = new QMenu(QString::fromUtf8("Назад"));
    backMenu_->setIcon(ToolbarImage(0));
    forwardMenu_ = new QMenu(QString::fromUtf8("Вперед"));
    forwardMenu_->setIcon(ToolbarImage(1));
    for (QMenu* menu : {backMenu_, forwardMenu_}) {
        for (int i = 0; i < kHistoryMenuItems; ++i) {
            QAction* item = menu->addAction(QString());
            item->setVisible(false);
            connect(item, &QAction::triggered, this, [this, item] {
                if (actions_.goToHistory) actions_.goToHistory(item->data().toInt());
            });
        }
    }

    toolbar_ = new QToolBar(&window_);
    toolbar_->setMovable(false);
    toolbar_->setFloatable(false);
    toolbar_->setIconSize(QSize(kImageSize, kImageSize));
    toolbar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    toolbar_->setAutoFillBackground(true);
    auto button = [this](int index, const char* caption, int image, const char* hint) {
        QAction* a = toolbar_->addAction(ToolbarImage(image), QString::fromUtf8(caption));
        a->setToolTip(QString::fromUtf8(hint));
        a->setStatusTip(QString::fromUtf8(hint));
        connect(a, &QAction::triggered, this, [this, index] { ButtonClick(index); });
        buttons_[index] = a;
    };
    button(kSkinned, "Свернуть", 3, "Вернуться к красивому окошку");
    button(kPrint, "Печать", 2, "Напечатать текущий файл");
    auto* divider = new QWidget(toolbar_);
    divider->setFixedWidth(kDividerWidth);
    buttons_[kDivider] = toolbar_->addWidget(divider);
    button(kForward, "Вперед", 1, "Перемещение вперед на одну ссылку");
    buttons_[kForward]->setMenu(forwardMenu_);
    button(kBack, "Назад", 0, "Перемещение назад на одну ссылку");
    buttons_[kBack]->setMenu(backMenu_);
    for (int i : {kForward, kBack})
        if (auto* b = qobject_cast<QToolButton*>(toolbar_->widgetForAction(buttons_[i])))
            b->setPopupMode(QToolButton::MenuButtonPopup);

    client_ = new QWidget(&window_);
    client_->setAutoFillBackground(true);
    client_->installEventFilter(this);

    statusBar_ = new QStatusBar(&window_);
    statusBar_->setSizeGripEnabled(false);
    window_.installEventFilter(this);
}

void TStandardWindow::Enter(bool documentMode) {
    if (actions_.hideScreenFields) actions_.hideScreenFields(true);
    // The skinned shape is kept for the return; the plain window has none.
    if (!shown_) {
        if (actions_.shape) keptRegion_ = actions_.shape();
        keptPlace_ = window_.geometry().topLeft();
    }
    if (actions_.setShape) actions_.setShape(QRegion());
    QPalette palette = window_.palette();
    palette.setColor(QPalette::Window, QApplication::palette().color(QPalette::Button));
    window_.setPalette(palette);
    window_.setWindowFlags((window_.windowFlags() & ~Qt::FramelessWindowHint) | Qt::Window);
    if (!toolbar_) CreateParts();
    toolbar_->show();
    client_->show();
    toolbar_->raise();
    client_->raise();
    // Only "Печать" and, outside the document mode, "Свернуть" are on view.
    buttons_[kSkinned]->setVisible(!documentMode);
    for (int i : {kDivider, kForward, kBack}) buttons_[i]->setVisible(false);
    statusBar_->hide();
    shown_ = true;
    Layout();
    if (actions_.fitViewer) actions_.fitViewer(client_);
    if (documentMode)
        window_.show();
    else {
        // Without a window manager a maximised state alone changes nothing: take the work area.
        if (QScreen* screen = window_.screen()) window_.setGeometry(screen->availableGeometry());
        window_.showMaximized();
    }
}

void TStandardWindow::Leave() {
    if (!shown_) return;
    shown_ = false;
    toolbar_->hide();
    statusBar_->hide();
    QPalette palette = window_.palette();
    palette.setColor(QPalette::Window, Qt::white);
    window_.setPalette(palette);
    window_.setWindowFlags(window_.windowFlags() | Qt::FramelessWindowHint);
    window_.setWindowState(Qt::WindowNoState);
    // The window the reader left: its size, its place, its shape.
    window_.setGeometry(QRect(keptPlace_, actions_.skinSize ? actions_.skinSize() : window_.size()));
    if (actions_.setShape) actions_.setShape(keptRegion_);
    if (actions_.restoreViewer) actions_.restoreViewer();
    client_->hide();
    if (actions_.hideScreenFields) actions_.hideScreenFields(false);
    window_.showNormal();
    // A window manager may place a window anew when it is shown again.
    window_.setGeometry(QRect(keptPlace_, window_.size()));
}

void TStandardWindow::SizeWindow(const std::string& file, QSize picture) {
    const QSize now = window_.size();
    const TTextSize size = StandardWindowSize(file, {picture.width(), picture.height()}, {now.width(), now.height()});
    QScreen* screen = window_.screen() ? window_.screen() : QApplication::primaryScreen();
    const QRect work = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    const TRectI place = StandardWindowPlace(size, {work.left(), work.top(), work.width(), work.height()});
    window_.setGeometry(place.left, place.top, place.width, place.height);
}

void TStandardWindow::SetStatusText(const std::string& text) {
    if (statusBar_) statusBar_->showMessage(QText(text));
}

void TStandardWindow::FillHistoryMenus(const TDynamicStringArray& titles, int index) {
    if (!backMenu_) return;
    // History entries are newest first: older ones are behind, newer ones ahead.
    auto fill = [&](QMenu* menu, int step) {
        const auto items = menu->actions();
        for (int i = 0; i < items.size(); ++i) {
            const int entry = index + step * (i + 1);
            const bool present = entry >= 0 && entry < int(titles.size());
            items[i]->setVisible(present);
            if (!present) continue;
            items[i]->setText(QText(titles[entry]));
            items[i]->setData(entry);
        }
    };
    fill(backMenu_, +1);
    fill(forwardMenu_, -1);
}

void TStandardWindow::ButtonClick(int index) {
    switch (index) {
    case kSkinned:
        Leave();
        break;
    case kPrint:
        if (actions_.print) actions_.print();
        break;
    case kForward:
        if (actions_.forward) actions_.forward();
        break;
    case kBack:
        if (actions_.back) actions_.back();
        break;
    default:
        break;
    }
}

void TStandardWindow::Layout() {
    if (!toolbar_ || !shown_) return;
    const int w = window_.width();
    const int top = toolbar_->sizeHint().height();
    toolbar_->setGeometry(0, 0, w, top);
    const int bottom = statusBar_->isVisibleTo(&window_) ? statusBar_->sizeHint().height() : 0;
    statusBar_->setGeometry(0, window_.height() - bottom, w, bottom);
    client_->setGeometry(0, top, w, std::max(0, window_.height() - top - bottom));
}

bool TStandardWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &window_ && event->type() == QEvent::Resize) Layout();
    // Client alignment: the viewer follows the client area.
    if (watched == client_ && event->type() == QEvent::Resize && shown_ && actions_.fitViewer)
        actions_.fitViewer(client_);
    return QObject::eventFilter(watched, event);
}

}  // namespace vitrina
