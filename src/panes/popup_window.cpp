#include "panes/popup_window.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>
#include <QScreen>
#include <QToolTip>
#include <QVariantAnimation>
#include <cstdlib>

#include "imaging/windows_color.h"
#include "panes/popup_layout.h"
#include "platform/cp1251.h"
#include "platform/device_pixels.h"
#include "platform/qt_text.h"
#include "platform/registry.h"
#include "resources/description.h"
#include "resources/read_bin.h"
#include "resources/windows_path.h"

namespace vitrina {
namespace {

QFont ItemFont(const std::string& name, int size, const std::string& style) {
    QFont font(QText(name));
    if (size > 0) font.setPointSize(size);
    const TStyleSet set = ReadStyleSet(style);
    font.setBold(set & kStyleBold);
    font.setItalic(set & kStyleItalic);
    font.setUnderline(set & kStyleUnderline);
    font.setStrikeOut(set & kStyleStrikeout);
    return font;
}

const std::string& FromList(const TDynamicStringArray& list, int position) {
    static const std::string none;
    if (list.empty()) return none;
    return position < static_cast<int>(list.size()) ? list[position] : list.front();
}

// Pictures are looked up in the container by their file-name part.
QImage ContainerImage(const TReadBin& container, const std::string& name) {
    std::string bytes;
    if (name.empty() || !container.ReadStream(FileNamePart(name), bytes)) return {};
    return QImage::fromData(reinterpret_cast<const uchar*>(bytes.data()), static_cast<int>(bytes.size()))
        .convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

constexpr int kSlideMs = 100;
constexpr int kNoSlideWithinMs = 250;

}  // namespace

TPopupWindow::TPopupWindow(const RPopupData& data, int index, const TReadBin& container,
                           const std::string& programFolder, std::function<void(TPopupWindow&, int)> onItem)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus),
      data_(data),
      index_(index),
      container_(container),
      programFolder_(programFolder),
      onItem_(std::move(onItem)) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
    picture_ = ContainerImage(container_, data_.fnfon);
    background_ = picture_;
    if (!picture_.isNull()) resize(picture_.size());
    hasShape_ = data_.vertex.size() > 1;
    if (data_.type == kPopupHistoryBack || data_.type == kPopupHistoryForward) {
        SetItemCount(kHistoryPopupItems);
    } else if (data_.type != kPopupFavorite) {
        for (std::size_t i = 0; i < data_.caption.size(); ++i) {
            AddItem(data_.caption[i], i < data_.go.size() ? data_.go[i] : std::string());
        }
    }
}

void TPopupWindow::LoadItemImages(TItemsBtn& item, int position) {
    item.upName = FromList(data_.fnbtnup, position);
    item.mvName = FromList(data_.fnbtnmove, position);
    item.dnName = FromList(data_.fnbtndown, position);
    item.up = ContainerImage(container_, item.upName);
    item.mv = ContainerImage(container_, item.mvName);
    item.dn = ContainerImage(container_, item.dnName);
    // Hover and press pictures fall back to the up picture so an item never vanishes.
    if (item.mv.isNull()) item.mv = item.up;
    if (item.dn.isNull()) item.dn = item.mv;
}

void TPopupWindow::SetCaption(TItemsBtn& item, const std::string& caption) {
    item.caption = caption;
    const int position = static_cast<int>(&item - items_.data());
    LoadItemImages(item, position);
    if (caption.empty() || item.up.isNull()) {
        item.hint.clear();
        return;
    }
    const QFont upFont = ItemFont(data_.font[0], data_.size[0], data_.style[0]);
    const QFont mvFont = ItemFont(data_.font[1], data_.size[1], data_.style[1]);
    auto measureWith = [](const QFont& font) {
        return [metrics = QFontMetrics(font)](const std::string& text) {
            return TTextSize{metrics.horizontalAdvance(QText(text)), metrics.height()};
        };
    };
    // Each state's caption is fitted with the font it is drawn in: the hover font may be wider.
    const TCaptionFit fit = FitCaption(caption, item.Width(), item.Height(), measureWith(upFont));
    const TCaptionFit mvFit = FitCaption(caption, item.Width(), item.Height(), measureWith(mvFont));
    item.hint = fit.hint.empty() ? mvFit.hint : fit.hint;
    item.upText = fit.text;
    item.mvText = mvFit.text;
    auto draw = [&](QImage& image, const QFont& font, TColor color, const TCaptionFit& f) {
        QPainter painter(&image);
        painter.setFont(font);
        painter.setPen(ToQColor(color));
        const QRect rect(f.rect.left, f.rect.top, f.rect.width, f.rect.height);
        painter.setClipRect(rect);
        painter.drawText(rect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, QText(f.text));
    };
    draw(item.up, upFont, data_.color[0], fit);
    draw(item.mv, mvFont, data_.color[1], mvFit);
    draw(item.dn, mvFont, data_.color[1], mvFit);
    update();
}

void TPopupWindow::SetItemCount(int count) {
    items_.resize(std::max(0, count));
    for (int i = 0; i < static_cast<int>(items_.size()); ++i) {
        TItemsBtn& item = items_[i];
        item.command.clear();
        item.hint.clear();
        item.caption.clear();
        LoadItemImages(item, i);
        item.visible = item.placed = item.hovered = item.pressed = false;
    }
    Layout();
}

void TPopupWindow::AddItem(const std::string& caption, const std::string& command) {
    items_.emplace_back();
    items_.back().command = command;
    SetCaption(items_.back(), caption);
    items_.back().visible = true;
    Layout();
}

void TPopupWindow::SetItem(const std::string& caption, const std::string& command, int index) {
    if (index < 0 || index >= static_cast<int>(items_.size())) return;
    items_[index].command = command;
    if (items_[index].caption != caption || items_[index].up.isNull()) SetCaption(items_[index], caption);
}

void TPopupWindow::SetItemVisible(bool visible, int index) {
    if (index < 0 || index >= static_cast<int>(items_.size())) return;
    TItemsBtn& item = items_[index];
    if (!visible) item.placed = item.hovered = item.pressed = false;
    item.visible = visible;
    Layout();
}

void TPopupWindow::RemoveItem(int index) {
    if (index < 0 || index >= static_cast<int>(items_.size())) return;
    // Following items move up one place, taking their pictures from their new position.
    std::vector<std::pair<std::string, std::string>> rest;
    for (std::size_t i = index + 1; i < items_.size(); ++i) rest.emplace_back(items_[i].caption, items_[i].command);
    items_.resize(index);
    for (const auto& [caption, command] : rest) AddItem(caption, command);
    Layout();
    if (items_.empty()) HidePopup();
}

bool TPopupWindow::HasVisibleItem() const {
    return std::any_of(items_.begin(), items_.end(), [](const TItemsBtn& item) { return item.visible; });
}

void TPopupWindow::Layout() {
    std::vector<TPopupItemBox> boxes;
    for (const auto& item : items_) boxes.push_back({item.Width(), item.Height(), item.visible, item.placed, item.left, item.top});
    const int height = LayoutPopupItems(boxes, data_.xbtn, data_.ybtn, width());
    for (std::size_t i = 0; i < items_.size(); ++i) {
        items_[i].placed = boxes[i].placed;
        items_[i].left = boxes[i].left;
        items_[i].top = boxes[i].top;
    }
    if (!hasShape_ && !picture_.isNull() && height != background_.height()) {
        const auto rows = StretchedBackgroundRows(picture_.height(), height, PopupMargin(data_.ybtn));
        QImage stretched(picture_.width(), height, picture_.format());
        for (int r = 0; r < height; ++r) {
            std::memcpy(stretched.scanLine(r), picture_.constScanLine(rows[r]), picture_.bytesPerLine());
        }
        background_ = stretched;
        resize(picture_.width(), height);
    }
    update();
}

void TPopupWindow::ShowAt(QPoint position, QPoint pointer, int currentScreen) {
    const QScreen* screen = QGuiApplication::screenAt(pointer);
    if (!screen) screen = QGuiApplication::primaryScreen();
    const QRect desktop = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
    const TRectI placed = KeepOnDesktop({position.x(), position.y(), width(), height()},
                                        {desktop.left(), desktop.top(), desktop.width(), desktop.height()});
    move(placed.left, placed.top);
    if (currentScreen == 0 && hasShape_) {
        QPolygon polygon;
        for (const auto& vertex : data_.vertex) {
            const auto comma = vertex.find(',');
            if (comma == std::string::npos) continue;
            // The clamp keeps the mask's sums in range.
            polygon << QPoint(ClampCoordinate(ReadLong(vertex.substr(0, comma))),
                              ClampCoordinate(ReadLong(vertex.substr(comma + 1))));
        }
        setMask(QRegion(polygon, Qt::WindingFill));
    }
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (currentScreen == 1 && now - lastShowEnd_ > kNoSlideWithinMs) {
        // Slide in: downwards when the window opens below the pointer, upwards otherwise.
        const bool down = placed.top >= pointer.y();
        auto* slide = new QVariantAnimation(this);
        slide->setDuration(kSlideMs);
        slide->setStartValue(down ? -height() : height());
        slide->setEndValue(0);
        connect(slide, &QVariantAnimation::valueChanged, this, [this](const QVariant& v) {
            slideOffset_ = v.toInt();
            update();
        });
        connect(slide, &QVariantAnimation::finished, slide, &QObject::deleteLater);
        slideOffset_ = down ? -height() : height();
        slide->start();
    }
    show();
    raise();
    update();
    lastShowEnd_ = QDateTime::currentMSecsSinceEpoch();
}

void TPopupWindow::HidePopup() {
    for (auto& item : items_) item.hovered = item.pressed = false;
    DeleteMode = false;
    slideOffset_ = 0;
    hide();
}

int TPopupWindow::ItemAt(QPoint p) const {
    for (int i = 0; i < static_cast<int>(items_.size()); ++i) {
        const TItemsBtn& item = items_[i];
        if (item.visible && item.placed && p.x() > item.left && p.x() < item.left + item.Width() &&
            p.y() > item.top && p.y() < item.top + item.Height())
            return i;
    }
    return -1;
}

void TPopupWindow::paintEvent(QPaintEvent*) {
    TSkinPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.translate(0, slideOffset_);
    painter.drawImage(0, 0, background_);
    for (const auto& item : items_) {
        if (!item.visible || !item.placed) continue;
        painter.drawImage(item.left, item.top, item.pressed ? item.dn : item.hovered ? item.mv : item.up);
    }
}

void TPopupWindow::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    const int under = ItemAt(p);
    for (int i = 0; i < static_cast<int>(items_.size()); ++i) {
        TItemsBtn& item = items_[i];
        if (i == under && !item.hovered) {
            item.hovered = true;
            update();
        } else if (i != under && item.hovered) {
            item.hovered = item.pressed = false;
            update();
        }
    }
    if (under >= 0 && !items_[under].hint.empty()) {
        QToolTip::showText(event->globalPosition().toPoint(), QText(items_[under].hint), this);
    } else {
        QToolTip::hideText();
    }
}

void TPopupWindow::mousePressEvent(QMouseEvent* event) {
    const int under = ItemAt(event->position().toPoint());
    if (under < 0 || items_[under].pressed) return;
    items_[under].pressed = true;
    update();
    onItem_(*this, under);
}

void TPopupWindow::leaveEvent(QEvent*) {
    for (auto& item : items_) item.hovered = item.pressed = false;
    update();
}

bool TPopupWindow::event(QEvent* event) {
    switch (event->type()) {
        case QEvent::WindowActivate:
        case QEvent::FocusIn:
        case QEvent::Wheel:
            return true;
        default:
            return QWidget::event(event);
    }
}

TControlPopupWindow::TControlPopupWindow(const TScreenModel& model, const TReadBin& container, TRegistry& registry,
                                         std::string settingsKey, TPopupActions actions,
                                         std::function<QPoint(QPoint)> clientToScreen)
    : model_(model),
      container_(container),
      registry_(registry),
      settingsKey_(std::move(settingsKey)),
      actions_(std::move(actions)),
      clientToScreen_(std::move(clientToScreen)) {
    for (const auto& screen : model_.ScreenPopups) {
        for (const auto& data : screen) {
            if (data.type == kPopupFavorite && !favorites_) {
                favorites_ = std::make_unique<THtmlFavorite>();
                favorites_->Load(registry_, settingsKey_);
            }
        }
    }
}

TControlPopupWindow::~TControlPopupWindow() {
    if (favorites_) favorites_->Save(registry_, settingsKey_);
}

void TControlPopupWindow::BuildForScreen(int screen) {
    currentScreen_ = screen;
    if (screen < 0 || screen >= static_cast<int>(model_.ScreenPopups.size()) || model_.ScreenPopups[screen].empty())
        return;
    windows_.clear();
    builtScreen_ = screen;
    int index = 0;
    for (const auto& data : model_.ScreenPopups[screen]) {
        windows_.push_back(std::make_unique<TPopupWindow>(
            data, index++, container_, model_.ProgramFolder(),
            [this](TPopupWindow& popup, int item) { RunItemCommand(popup, item); }));
    }
    FillFavorites();
}

void TControlPopupWindow::FillFavorites() {
    TPopupWindow* popup = Popup(kPopupFavorite);
    if (!popup || !favorites_) return;
    popup->SetItemCount(0);
    for (const auto& favorite : favorites_->Favorites()) popup->AddItem(favorite.Caption, favorite.Command);
}

TPopupWindow* TControlPopupWindow::Popup(int kind) const {
    for (const auto& window : windows_) {
        if (window->Kind() == kind) return window.get();
    }
    return nullptr;
}

void TControlPopupWindow::ShowPopup(int kind, QPoint screenPoint) {
    const bool deleteMode = kind == -4;
    TPopupWindow* popup = Popup(deleteMode ? kPopupFavorite : kind);
    if (!popup || !popup->HasVisibleItem()) return;
    popup->DeleteMode = deleteMode;
    QPoint point = screenPoint;
    if (kind == kPopupHistoryBack) point.rx() -= popup->width();
    // The windows may come from an earlier screen: their own screen's records place them.
    if (builtScreen_ < 0 || builtScreen_ >= int(model_.ScreenPopups.size()) ||
        popup->Index() >= int(model_.ScreenPopups[builtScreen_].size()))
        return;
    const RPopupData& data = model_.ScreenPopups[builtScreen_][popup->Index()];
    const QPoint described = clientToScreen_(QPoint(data.xfon, data.yfon));
    const QPoint position(data.xfon == -1 ? point.x() : described.x(), data.yfon == -1 ? point.y() : described.y());
    popup->ShowAt(position, screenPoint, currentScreen_);
}

void TControlPopupWindow::HideAllPopups() {
    for (const auto& window : windows_) {
        if (window->isVisible()) window->HidePopup();
    }
}

bool TControlPopupWindow::AnyShown() const {
    return std::any_of(windows_.begin(), windows_.end(), [](const auto& w) { return w->isVisible(); });
}

void TControlPopupWindow::SetItemCount(int count, int kind) {
    if (TPopupWindow* popup = Popup(kind)) popup->SetItemCount(count);
}

void TControlPopupWindow::AddItem(const std::string& caption, const std::string& command, int kind) {
    if (TPopupWindow* popup = Popup(kind)) popup->AddItem(caption, command);
}

void TControlPopupWindow::SetItem(const std::string& caption, const std::string& command, int index, int kind) {
    if (TPopupWindow* popup = Popup(kind)) popup->SetItem(caption, command, index);
}

void TControlPopupWindow::SetItemVisible(bool visible, int kind, int index) {
    if (TPopupWindow* popup = Popup(kind)) popup->SetItemVisible(visible, index);
}

void TControlPopupWindow::RefreshHistory(const TDynamicStringArray& titles, int index) {
    for (const auto& [kind, items] : {std::pair{kPopupHistoryBack, BackHistoryItems(titles, index)},
                                      std::pair{kPopupHistoryForward, ForwardHistoryItems(titles, index)}}) {
        for (int i = 0; i < static_cast<int>(items.size()); ++i) {
            if (items[i].visible) SetItem(items[i].caption, items[i].command, i, kind);
            SetItemVisible(items[i].visible, kind, i);
        }
    }
}

void TControlPopupWindow::AddToFavorites() {
    TFavoriteVisit visit;
    if (actions_.currentVisit && actions_.currentVisit(visit)) AddFavorite(visit.caption, visit.file, visit.position);
}

bool TControlPopupWindow::AddFavorite(const std::string& caption, const std::string& file, int position) {
    if (!favorites_) return false;
    if (favorites_->Add(caption, THtmlFavorite::Command(file, position)) == THtmlFavorite::TAdded::Refused) return false;
    FillFavorites();
    return true;
}

void TControlPopupWindow::RunItemCommand(TPopupWindow& popup, int item) {
    const std::string command = popup.Items()[item].command;
    if (popup.DeleteMode) {
        if (favorites_ && popup.Kind() == kPopupFavorite) favorites_->Remove(item);
        popup.RemoveItem(item);
        return;
    }
    // The command runs inside the item's own press: nothing queued may run before it returns
    // (a screen switch would free this popup under its handler).
    popup.HidePopup();
    const std::string name = command.substr(0, command.find('='));
    const std::string rest = command.find('=') == std::string::npos ? "" : command.substr(command.find('=') + 1);
    if (name == "history") {
        if (actions_.history) actions_.history(ClampCoordinate(ReadLong(rest)));
    } else if (name == "html") {
        if (actions_.openHtml) actions_.openHtml(ResolvePath(rest, model_.ProgramFolder()));
    } else if (name == "htmlpos") {
        const auto last = command.rfind('=');
        const std::string document = command.substr(name.size() + 1, last - name.size() - 1);
        if (actions_.openHtmlPos) actions_.openHtmlPos(document, ClampCoordinate(ReadLong(command.substr(last + 1))));
    } else if (command == "copyclipboardhtml") {
        if (actions_.copySelection) actions_.copySelection();
    } else if (command == "addtofavorite") {
        if (actions_.addToFavorite) actions_.addToFavorite();
    } else if (command == "deffonthtml") {
        if (actions_.fontDialog) actions_.fontDialog();
    } else if (command == "selectallhtml") {
        if (actions_.selectAll) actions_.selectAll();
    } else if (command == "printhtml") {
        if (actions_.printPreview) actions_.printPreview();
    } else if (actions_.command) {
        actions_.command(command);
    }
}

}  // namespace vitrina
