#include "panes/tree_views.h"

#include <QHeaderView>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QToolTip>

#include "platform/cp1251.h"
#include "platform/qt_text.h"
#include "resources/description.h"
#include "resources/read_bin.h"
#include "resources/windows_path.h"

namespace vitrina {
namespace {

constexpr int kTreeWidth = 165;

TContentsTreeModel ReadTree(const TReadBin& container, const char* entry) {
    return TContentsTreeModel::FromContainer(container, entry).value_or(TContentsTreeModel{});
}

}  // namespace

TTreeViews::TTreeViews(QWidget* panel, QWidget* splitter, TContentsTreeModel model, TTreeHost& host)
    : QTreeWidget(panel), panel_(panel), splitter_(splitter), model_(std::move(model)), host_(host) {
    hide();
    setMinimumWidth(30);
    setGeometry(0, 0, kTreeWidth, panel ? panel->height() : 421);
    setHeaderHidden(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setFrameShape(QFrame::NoFrame);
    setItemsExpandable(true);
    setExpandsOnDoubleClick(true);
    setLayoutDirection(Qt::LeftToRight);
    setMouseTracking(true);
    setStyleSheet("QTreeWidget::item:selected { background: rgb(137,154,164); color: white; }");

    for (const auto& item : model_.Items()) {
        auto* widgetItem = item.parent < 0 ? new QTreeWidgetItem(this) : new QTreeWidgetItem(lineItems_[item.parent]);
        widgetItem->setText(0, QText(item.caption));
        widgetItem->setData(0, Qt::UserRole, static_cast<int>(lineItems_.size()));
        lineItems_.push_back(widgetItem);
    }
    // Groups show their expand arrows; a flat list needs no room for them.
    bool groups = false;
    for (const auto& item : model_.Items()) groups = groups || item.parent >= 0;
    setRootIsDecorated(groups);
    connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current, QTreeWidgetItem*) {
        if (!current) return;
        SelectedDocument = model_.Items()[current->data(0, Qt::UserRole).toInt()].document;
        if (!selecting_) OpenSelected(true);
    });
    SyncWithScreen();
}

int TTreeViews::FocusedIndex() const {
    const QTreeWidgetItem* item = currentItem();
    return item ? item->data(0, Qt::UserRole).toInt() : -1;
}

void TTreeViews::FocusIndex(int index) {
    if (index < 0 || index >= static_cast<int>(lineItems_.size())) return;
    selecting_ = true;
    setCurrentItem(lineItems_[index]);
    selecting_ = false;
    SelectedDocument = model_.Items()[index].document;
    scrollToItem(lineItems_[index]);
}

void TTreeViews::SyncWithScreen() {
    const int screen = host_.CurrentScreen();
    if (screen == 1) {
        if (panel_) panel_->show();
        show();
        Inactive = false;
    } else if (screen == 0) {
        if (panel_) panel_->hide();
        hide();
        Inactive = true;
        HiddenByOfftree = false;
    }
    if (!isVisible() || PendingDocument.empty()) return;
    const int found = model_.FindDocument(PendingDocument);
    if (found >= 0) {
        FocusIndex(found);
        OpenSelected();
    } else if (const auto hash = PendingDocument.find('#'); hash != std::string::npos) {
        const int file = model_.FindDocument(PendingDocument.substr(0, hash));
        if (file >= 0) FindByCaption(model_.Items()[file].caption);
    }
}

void TTreeViews::OpenSelected(bool fromWidget) {
    // An item names its document relative to the program folder, and may name folders below
    // it: such a document is the same wherever the current one lies.
    const bool bare = FileNamePart(SelectedDocument) == SelectedDocument;
    const std::string document =
        bare ? host_.ProgramFolder() + SelectedDocument : ResolvePath(SelectedDocument, host_.ProgramFolder());
    if (bare ? !SameText1251(FileNamePart(host_.CurrentDocument()), SelectedDocument)
             : !SameText1251(host_.CurrentDocument(), document)) {
        if (host_.ViewerVisible()) {
            host_.OpenDocument(document);
        } else {
            host_.OpenInHtmlArea(20, document);
        }
    }
    if (fromWidget && currentItem()) scrollToItem(currentItem());
}

bool TTreeViews::FindByCaption(const std::string& text) {
    const int found = model_.FindByCaption(text, FocusedIndex());
    if (found < 0) return false;
    FocusIndex(found);
    OpenSelected();
    return true;
}

void TTreeViews::FollowDocument(const std::string& name) {
    const std::string trimmed = Trim(name);
    std::string key;
    if (!trimmed.empty() && trimmed != "fromhistory") {
        key = FileNamePart(host_.ResolveDocument(trimmed));
        key = key.substr(0, key.find('#'));
    } else {
        key = FileNamePart(host_.CurrentDocument());
    }
    if (Trim(key).empty()) return;
    const int found = model_.FindDocumentKey(key);
    if (found < 0) return;
    FocusIndex(found);
    int top = found;
    while (model_.Items()[top].parent >= 0) top = model_.Items()[top].parent;
    scrollToItem(lineItems_[top]);
    scrollToItem(lineItems_[found]);
    if (trimmed.empty()) OpenSelected();
}

void TTreeViews::StepTo(int index) {
    if (index >= 0) FocusIndex(index);
    if (currentItem()) scrollToItem(currentItem());
    OpenSelected();
}

void TTreeViews::NextChapter() {
    const int focused = FocusedIndex();
    const int next = model_.NextChapter(focused);
    StepTo(next >= 0 ? next : focused);
}

void TTreeViews::PrevChapter() {
    const int focused = FocusedIndex();
    const int previous = focused < 0 ? model_.NextChapter(-1) : model_.PrevChapter(focused);
    StepTo(previous >= 0 ? previous : focused);
}

void TTreeViews::UpdateChapterHints() {
    if (model_.Count() == 0) return;
    if (FocusedIndex() < 0) FocusIndex(0);
    const int focused = FocusedIndex();
    const int next = model_.NextChapter(focused);
    const int previous = model_.PrevChapter(focused);
    host_.SetChapterHints(next >= 0 ? model_.ChapterHint(next) : Utf8ToCp1251("Последний раздел"),
                          previous >= 0 ? model_.ChapterHint(previous) : Utf8ToCp1251("Первый раздел"));
}

void TTreeViews::SetOfftree(bool putAway, QRect& saved) {
    if (putAway) {
        hide();
        if (splitter_) splitter_->hide();
        if (saved.isNull()) saved = host_.ViewerRect();
        host_.SetViewerRect(QRect(x(), saved.top(), saved.right() + 1 - x(), saved.height()));
        host_.ReloadViewer();
    } else {
        if (!Inactive) {
            show();
            if (splitter_) {
                splitter_->move(width() + 1, 0);
                splitter_->show();
            }
        }
        if (!saved.isNull()) host_.SetViewerRect(saved);
    }
    HiddenByOfftree = putAway;
}

void TTreeViews::focusInEvent(QFocusEvent* event) {
    // Taking the focus makes the first item current when none is. That is not the reader's
    // choice: it must not replace the document being opened (the window gains the focus while
    // the first document of the screen may still be loading).
    selecting_ = true;
    QTreeWidget::focusInEvent(event);
    selecting_ = false;
}

void TTreeViews::mousePressEvent(QMouseEvent* event) {
    host_.HidePopups();
    QTreeWidget::mousePressEvent(event);
}

void TTreeViews::mouseMoveEvent(QMouseEvent* event) {
    host_.ClearSkinHover();
    QTreeWidget::mouseMoveEvent(event);
}

bool TTreeViews::viewportEvent(QEvent* event) {
    if (event->type() != QEvent::ToolTip) return QTreeWidget::viewportEvent(event);
    auto* help = static_cast<QHelpEvent*>(event);
    const QModelIndex index = indexAt(help->pos());
    const QRect shown = visualRect(index).intersected(viewport()->rect());
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const int needed = index.isValid() ? itemDelegateForIndex(index)->sizeHint(option, index).width() : 0;
    if (index.isValid() && needed > shown.width())
        QToolTip::showText(help->globalPos(), index.data().toString(), viewport(), visualRect(index));
    else
        QToolTip::hideText();
    return true;
}

TContentsTrees::TContentsTrees(const TReadBin& container, QWidget* panel, QWidget* splitter, TTreeHost& host)
    : panel_(panel), splitter_(splitter), host_(host) {
    first_ = std::make_unique<TTreeViews>(panel, splitter, ReadTree(container, "tree1.cfs"), host);
    if (container.Contains("tree2.cfs")) {
        second_ = std::make_unique<TTreeViews>(panel, splitter, ReadTree(container, "tree2.cfs"), host);
        // Both start on the document screen; the second waits until "tree1" brings it up.
        if (host_.CurrentScreen() == 1) {
            second_->hide();
            second_->Inactive = true;
        }
    }
}

TTreeViews* TContentsTrees::Shown() const {
    if (first_ && first_->isVisibleTo(panel_)) return first_.get();
    if (second_ && second_->isVisibleTo(panel_)) return second_.get();
    return first_ ? first_.get() : second_.get();
}

bool TContentsTrees::AnyVisible() const {
    return (first_ && first_->isVisible()) || (second_ && second_->isVisible());
}

void TContentsTrees::SyncWithScreen() {
    // Only the tree on view comes back with the document screen.
    const bool secondOnView = second_ && !second_->Inactive && first_->Inactive;
    first_->SyncWithScreen();
    if (second_) {
        second_->SyncWithScreen();
        if (host_.CurrentScreen() == 1) {
            TTreeViews* away = secondOnView ? first_.get() : second_.get();
            away->hide();
            away->Inactive = true;
        }
    }
}

void TContentsTrees::Switch(bool bringUpSecond) {
    TTreeViews* up = bringUpSecond ? second_.get() : first_.get();
    TTreeViews* away = bringUpSecond ? first_.get() : second_.get();
    if (up) {
        if (!up->HiddenByOfftree) {
            up->show();
            if (away) away->hide();
            if (splitter_) splitter_->move(up->width() + 1, 0);
        }
        up->Inactive = false;
    }
    if (away) {
        if (!away->HiddenByOfftree) away->hide();
        away->Inactive = true;
    }
}

void TContentsTrees::Offtree() {
    host_.SetViewerShown(false);
    for (TTreeViews* tree : {first_.get(), second_.get()}) {
        if (tree && !tree->HiddenByOfftree) tree->SetOfftree(true, savedViewerRect_);
    }
    host_.SetViewerShown(true);
}

void TContentsTrees::Ontree() {
    host_.SetViewerShown(false);
    for (TTreeViews* tree : {first_.get(), second_.get()}) {
        if (tree && tree->HiddenByOfftree) tree->SetOfftree(false, savedViewerRect_);
    }
    host_.SetViewerShown(true);
}

void TContentsTrees::SetPendingDocument(const std::string& document) {
    if (first_) first_->PendingDocument = document;
}

void TContentsTrees::ShowTrees(bool show) {
    if (show) Ontree();
    else Offtree();
}

void TContentsTrees::NextChapter() {
    if (TTreeViews* shown = Shown()) shown->NextChapter();
}

void TContentsTrees::PrevChapter() {
    if (TTreeViews* shown = Shown()) shown->PrevChapter();
}

}  // namespace vitrina
