#include "print/preview_form.h"

#include <QActionGroup>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QSpinBox>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "html/frame_viewer.h"
#include "print/go_page_form.h"
#include "print/page_formatter.h"
#include "print/preview_cursors.h"
#include "print/prn_status_form.h"

namespace vitrina {

namespace {

QString U(const char* text) { return QString::fromUtf8(text); }

QString Percent(double value) { return QLocale(QLocale::Russian).toString(value * 100, 'f', 0) + "%"; }

}  // namespace

TPreviewForm::TPreviewForm(QWidget* owner, int imageHeight, int imageWidth, bool imageDocument, TFrameViewer* viewer,
                           std::unique_ptr<TMetaFilePrinter> recorder, bool& failed)
    : QDialog(owner), viewer_(viewer), recorder_(std::move(recorder)) {
    failed = false;
    BuildWindow();
    ZoomBox->setCurrentIndex(kZoomWholePage);
    ChooseTool(ZoomCursorBut);
    SetPrintBackgrounds(viewer, PrintBackground->isChecked());
    if (!recorder_ || !recorder_->RefreshDevice()) {
        failed = true;
        return;
    }
    const std::optional<float> scale =
        FormatAtStart(viewer, *recorder_, imageDocument, QSize(imageWidth, imageHeight), [this, viewer](float at) {
            TPrnStatusForm status(this);
            return status.FormatWithProgress(viewer, *recorder_, at);
        });
    if (!scale) {
        failed = true;
        return;
    }
    PrintScale = StartPrintScale = *scale;
    pages_.SetCount(recorder_->PageCount());
    setWindowIcon(QApplication::windowIcon());
    PageOrientationBut->setChecked(recorder_->PageOrientation() == TPageOrientation::Landscape);
    setMinimumSize(250, 300);
    // The whole screen also where no window manager maximises windows.
    if (const QScreen* s = owner ? owner->screen() : QApplication::primaryScreen()) setGeometry(s->availableGeometry());
    setWindowState(Qt::WindowMaximized);
}

TPreviewForm::~TPreviewForm() {
    // A print still going ends before the printer it prints on goes.
    qDeleteAll(findChildren<TPrnStatusForm*>(Qt::FindDirectChildrenOnly));
}

QToolButton* TPreviewForm::AddButton(const char* name, const QString& caption, const QString& hint, int icon) {
    auto* button = new QToolButton(ToolBar);
    button->setObjectName(name);
    button->setText(caption);
    button->setToolTip(hint);
    button->setStatusTip(hint);
    button->setIcon(PreviewIcon(TPreviewIcon(icon)));
    button->setAutoRaise(true);
    ToolBar->addWidget(button);
    return button;
}

void TPreviewForm::BuildWindow() {
    setWindowTitle(U("Предварительный просмотр"));
    setObjectName("PreviewForm");
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    setWindowFlag(Qt::WindowMinimizeButtonHint);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    ToolBar = new QToolBar(this);
    ToolBar->setObjectName("ToolBar");
    ToolBar->setIconSize(QSize(20, 20));
    using I = TPreviewIcon;
    PrintBut = AddButton("PrintBut", U("Печать"), U("Печать"), int(I::Print));
    PageOrientationBut = AddButton("PageOrientationBut", QString(), U("Ориентация листа"), int(I::Orientation));
    PageOrientationBut->setCheckable(true);
    ToolBar->addSeparator();
    FirstPageBut = AddButton("FirstPageBut", U("Первая станица"), U("На первую страницу"), int(I::First));
    PrevPageBut = AddButton("PrevPageBut", U("Предыдущая страница"), U("На предыдущую страницу"), int(I::Previous));
    NextPageBut = AddButton("NextPageBut", U("Следующая страница"), U("На следующую страницу"), int(I::Next));
    LastPageBut = AddButton("LastPageBut", U("Последняя страница"), U("На последнюю страницу"), int(I::Last));
    GoToPageBut = AddButton("GoToPageBut", U("Переход на страницу"), U("Переход на страницу"), int(I::GoTo));
    ToolBar->addSeparator();
    ZoomBox = new QComboBox(ToolBar);
    ZoomBox->setObjectName("ZoomBox");
    ZoomBox->addItems(ZoomEntries());
    ZoomBox->setMaxVisibleItems(12);
    ZoomBox->setToolTip(U("Выбор масштаба отображения документа"));
    ZoomBox->setStatusTip(ZoomBox->toolTip());
    ToolBar->addWidget(ZoomBox);
    FitPageBut = AddButton("FitPageBut", U("Лист целиком"), U("Лист целиком"), int(I::FitPage));
    FitWidthBut = AddButton("FitWidthBut", U("По ширине"), U("По ширине"), int(I::FitWidth));
    FitPageBut->setCheckable(true);
    FitWidthBut->setCheckable(true);
    RestoreStartPrintZoomBut = AddButton("RestoreStartPrintZoomBut", U("Восстановить масштаб"),
                                         U("Восстановить исходный масштаб печати"), int(I::Restore));
    ToolBar->addSeparator();
    ZoomCursorPrintBut = AddButton("ZoomCursorPrintBut", U("Масштаб печати"),
                                   U("Увеличение/уменьшение масштаба печати"), int(I::PrintZoom));
    ZoomCursorBut = AddButton("ZoomCursorBut", U("Масштаб просмотра"), U("Увеличение/уменьшение масштаба просмотра"),
                              int(I::ViewZoom));
    HandCursorBut = AddButton("HandCursorBut", U("Перемещение"), U("Перемещение"), int(I::Hand));
    auto* tools = new QButtonGroup(this);
    for (QToolButton* tool : {ZoomCursorPrintBut, ZoomCursorBut, HandCursorBut}) {
        tool->setCheckable(true);
        tools->addButton(tool);
    }
    ToolBar->addSeparator();
    OnePageBut = AddButton("OnePageBut", U("Один лист"), U("Один лист на странице"), int(I::OnePage));
    TwoPageBut = AddButton("TwoPageBut", U("Два листа"), U("Два листа на странице"), int(I::TwoPages));
    OnePageBut->setCheckable(true);
    TwoPageBut->setCheckable(true);
    OnePageBut->setChecked(true);
    ToolBar->addSeparator();
    HelpBut = AddButton("HelpBut", U("Помощь"), U("Помощь"), int(I::Help));
    CloseBut = AddButton("CloseBut", U("Выход"), U("Завершить просмотр"), int(I::Close));
    layout->addWidget(ToolBar);

    ScrollBox = new QScrollArea(this);
    ScrollBox->setObjectName("ScrollBox");
    ScrollBox->setWidgetResizable(false);
    ScrollBox->setFrameShape(QFrame::NoFrame);
    ContainPanel = new QWidget;
    ContainPanel->setObjectName("ContainPanel");
    ContainPanel->setAutoFillBackground(true);
    QPalette grey = ContainPanel->palette();
    grey.setColor(QPalette::Window, QColor(128, 128, 128));
    ContainPanel->setPalette(grey);
    ScrollBox->setWidget(ContainPanel);
    const QString pageHint = U("Просмотр страницы. Используйте правую/левую кнопку мыши для уменьшения/увеличения.");
    auto makePanel = [&](const char* name, bool right, TPageBox*& box) {
        auto* panel = new QWidget(ContainPanel);
        panel->setObjectName(name);
        panel->setAutoFillBackground(true);
        QPalette white = panel->palette();
        white.setColor(QPalette::Window, Qt::white);
        panel->setPalette(white);
        box = new TPageBox(*this, right, panel);
        box->setObjectName(right ? "PB2" : "PB1");
        box->setToolTip(pageHint);
        box->setStatusTip(pageHint);
        return panel;
    };
    PagePanel = makePanel("PagePanel", false, PB1);
    PagePanel2 = makePanel("PagePanel2", true, PB2);
    PagePanel2->hide();
    layout->addWidget(ScrollBox, 1);

    StatusBar = new QStatusBar(this);
    StatusBar->setObjectName("StatusBar");
    StatusBar->setSizeGripEnabled(false);
    const int widths[] = {125, 150, 150, 50};
    for (int i = 0; i < 4; ++i) {
        StatusPanels[i] = new QLabel(StatusBar);
        StatusPanels[i]->setMinimumWidth(widths[i]);
        if (i == 0) StatusPanels[i]->setAlignment(Qt::AlignCenter);
        StatusBar->addWidget(StatusPanels[i], i == 3 ? 1 : 0);
    }
    layout->addWidget(StatusBar);

    PopupMenu1 = new QMenu(this);
    QMenu* numbers = PopupMenu1->addMenu(U("Номера страниц"));
    auto* numberGroup = new QActionGroup(this);
    PageNumbersOn = numbers->addAction(U("Выводить"));
    PageNumbersOff = numbers->addAction(U("Не выводить"));
    for (QAction* a : {PageNumbersOn, PageNumbersOff}) {
        a->setCheckable(true);
        numberGroup->addAction(a);
    }
    PageNumbersOn->setChecked(true);
    ButtonCaptions = PopupMenu1->addAction(U("Подписи  к кнопкам"));
    ButtonCaptions->setCheckable(true);
    PrintBackground = PopupMenu1->addAction(U("Печатать фон"));
    PrintBackground->setCheckable(true);
    PrintBackground->setChecked(true);
    ToolBar->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ToolBar, &QWidget::customContextMenuRequested, this,
            [this](QPoint p) { PopupMenu1->popup(ToolBar->mapToGlobal(p)); });
    ShowButtonCaptions(false);

    connect(PrintBut, &QToolButton::clicked, this, &TPreviewForm::PrintDocument);
    connect(PageOrientationBut, &QToolButton::clicked, this, [this](bool down) { SetPrintOrientation(down); });
    connect(FirstPageBut, &QToolButton::clicked, this, [this] { ShowPage(0); });
    connect(PrevPageBut, &QToolButton::clicked, this, [this] { ShowPage(CurrentPage() - 1); });
    connect(NextPageBut, &QToolButton::clicked, this, [this] { ShowPage(CurrentPage() + 1); });
    connect(LastPageBut, &QToolButton::clicked, this, [this] { ShowPage(pages_.Count() - 1); });
    connect(GoToPageBut, &QToolButton::clicked, this, &TPreviewForm::GoToPage);
    connect(ZoomBox, &QComboBox::currentIndexChanged, this, [this] { LayoutPages(); });
    connect(FitPageBut, &QToolButton::clicked, this, [this] {
        twoPageRequested_ = false;
        ZoomBox->setCurrentIndex(kZoomWholePage);
        LayoutPages();
    });
    connect(FitWidthBut, &QToolButton::clicked, this, [this] {
        twoPageRequested_ = false;
        ZoomBox->setCurrentIndex(kZoomPageWidth);
        LayoutPages();
    });
    connect(RestoreStartPrintZoomBut, &QToolButton::clicked, this, [this] {
        PrintScale = StartPrintScale;
        ChangeAndReformat();
    });
    for (QToolButton* tool : {ZoomCursorPrintBut, ZoomCursorBut, HandCursorBut})
        connect(tool, &QToolButton::clicked, this, [this, tool] { ChooseTool(tool); });
    connect(OnePageBut, &QToolButton::clicked, this, [this] {
        twoPageRequested_ = false;
        ZoomBox->setCurrentIndex(kZoomWholePage);
        LayoutPages();
    });
    connect(TwoPageBut, &QToolButton::clicked, this, [this] {
        ZoomBox->blockSignals(true);
        ZoomBox->setCurrentIndex(kZoomManual);
        ZoomBox->blockSignals(false);
        FitPageBut->setChecked(false);
        FitWidthBut->setChecked(false);
        twoPageRequested_ = true;
        LayoutPages();
        ShowPage(CurrentPage());
    });
    connect(HelpBut, &QToolButton::clicked, this, [this] {
        if (OnHelp) OnHelp();
    });
    connect(CloseBut, &QToolButton::clicked, this, &QDialog::reject);
    connect(PageNumbersOn, &QAction::triggered, this, [this] {
        recorder_->PageNumbers = true;
        ChangeAndReformat();
    });
    connect(PageNumbersOff, &QAction::triggered, this, [this] {
        recorder_->PageNumbers = false;
        ChangeAndReformat();
    });
    connect(ButtonCaptions, &QAction::toggled, this, [this](bool on) { ShowButtonCaptions(on); });
    connect(PrintBackground, &QAction::toggled, this, [this](bool on) {
        SetPrintBackgrounds(viewer_, on);
        ChangeAndReformat();
    });

    auto key = [this](QKeySequence sequence, std::function<void()> action) {
        auto* shortcut = new QShortcut(sequence, this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, std::move(action));
    };
    key(Qt::Key_PageUp, [this] {
        if (CurrentPage() >= 1) ShowPage(CurrentPage() - 1);
    });
    key(Qt::Key_PageDown, [this] {
        if (CurrentPage() + 1 < pages_.Count()) ShowPage(CurrentPage() + 1);
    });
    key(Qt::Key_End, [this] { ShowPage(pages_.Count() - 1); });
    key(Qt::Key_Home, [this] { ShowPage(0); });
    auto scroll = [this](QScrollBar* bar, int by) {
        if (bar->isVisible()) bar->setValue(bar->value() + by);
    };
    key(Qt::Key_Left, [this, scroll] { scroll(ScrollBox->horizontalScrollBar(), -10); });
    key(Qt::Key_Right, [this, scroll] { scroll(ScrollBox->horizontalScrollBar(), 10); });
    key(Qt::Key_Up, [this, scroll] { scroll(ScrollBox->verticalScrollBar(), -10); });
    key(Qt::Key_Down, [this, scroll] { scroll(ScrollBox->verticalScrollBar(), 10); });
    key(QKeySequence(Qt::CTRL | Qt::Key_P), [this] { PrintDocument(); });
    key(Qt::Key_F1, [this] {
        if (OnHelp) OnHelp();
    });
}

double TPreviewForm::ScreenDpi() const {
    const QScreen* s = screen();
    return s ? s->logicalDotsPerInchY() : kLayoutDpi;
}

bool TPreviewForm::event(QEvent* event) {
    // The hints of the controls go to the last status panel.
    if (event->type() == QEvent::StatusTip) {
        StatusPanels[3]->setText(" " + static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QDialog::event(event);
}

void TPreviewForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    LayoutPages();
    ShowPage(0);
}

void TPreviewForm::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    LayoutPages();
}

void TPreviewForm::ChooseTool(QToolButton* tool) {
    tool->setChecked(true);
    const QCursor cursor = PreviewCursor(tool == HandCursorBut ? TPreviewCursor::HandOpened : TPreviewCursor::Zoom);
    PB1->setCursor(cursor);
    PB2->setCursor(cursor);
}

void TPreviewForm::ShowButtonCaptions(bool on) {
    ToolBar->setToolButtonStyle(on ? Qt::ToolButtonTextUnderIcon : Qt::ToolButtonIconOnly);
    PageOrientationBut->setText(on ? U("Ориентация листа") : QString());
    for (QToolButton* b : ToolBar->findChildren<QToolButton*>()) {
        if (b->objectName().isEmpty()) continue;
        b->setToolButtonStyle(ToolBar->toolButtonStyle());
        if (on) {
            b->setMinimumSize(0, 0);
            b->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        } else {
            b->setFixedSize(23, 22);
        }
    }
    if (on) PageOrientationBut->setFixedWidth(125);
    if (on) setMinimumSize(300, 600);
    else setMinimumSize(250, 300);
    LayoutPages();
}

void TPreviewForm::LayoutPages() {
    if (!recorder_ || !ScrollBox) return;
    int index = ZoomBox->currentIndex();
    if (index < 0) index = kZoomWholePage;
    if (index == kZoomWholePage || index == kZoomPageWidth) twoPageRequested_ = false;
    pages_.SetTwoPages(twoPageRequested_);
    const bool two = pages_.TwoPages();
    OnePageBut->setChecked(!two);
    TwoPageBut->setChecked(two);
    if (!two) {
        FitPageBut->setChecked(index == kZoomWholePage);
        FitWidthBut->setChecked(index == kZoomPageWidth);
    }
    const TPrinterGeometry& g = recorder_->Geometry();
    const QSize client = ScrollBox->viewport()->size();
    ViewZoom = ZoomOfEntry(index, ViewZoom, client, ScreenDpi(), g);
    const TPreviewLayout l = LayOutPages(client, ScreenDpi(), ViewZoom, g, two);
    ContainPanel->resize(l.grey);
    PagePanel->setGeometry(l.left);
    PB1->setGeometry(0, 0, l.left.width(), l.left.height());
    PagePanel2->setVisible(two);
    if (two) {
        PagePanel2->setGeometry(l.right);
        PB2->setGeometry(0, 0, l.right.width(), l.right.height());
    }
    StatusPanels[1]->setText(U(" Масштаб просмотра: ") + Percent(ViewZoom));
    StatusPanels[2]->setText(U(" Масштаб печати: ") + Percent(PrintScale));
}

void TPreviewForm::ShowPage(int page) {
    pages_.Show(page);
    StatusPanels[0]->setText(U("Страница %1 из %2").arg(pages_.Current() + 1).arg(pages_.Count()));
    PB1->update();
    PB2->update();
    UpdateButtons();
}

void TPreviewForm::UpdateButtons() {
    const TPageButtons b = pages_.Buttons();
    NextPageBut->setEnabled(b.next);
    PrevPageBut->setEnabled(b.previous);
    FirstPageBut->setEnabled(b.first);
    LastPageBut->setEnabled(b.last);
    GoToPageBut->setEnabled(b.goTo);
    TwoPageBut->setEnabled(b.twoPageEnabled);
    if (!b.twoPageEnabled && twoPageRequested_) {
        twoPageRequested_ = false;
        LayoutPages();
    }
}

void TPreviewForm::GoToPage() {
    TGoPageForm form(CurrentPage() + 1, pages_.Count(), this);
    if (form.exec() != QDialog::Accepted) return;
    pages_.GoTo(form.PageNum->value());
    ShowPage(pages_.Current());
}

bool TPreviewForm::Reformat() {
    TPrnStatusForm status(this);
    return status.FormatWithProgress(viewer_, *recorder_, PrintScale);
}

void TPreviewForm::ChangeAndReformat() {
    if (!Reformat()) return;
    pages_.SetCount(recorder_->PageCount());
    LayoutPages();
    ShowPage(pages_.Current());
}

void TPreviewForm::SetPrintOrientation(bool landscape) {
    recorder_->SetPageOrientation(landscape ? TPageOrientation::Landscape : TPageOrientation::Portrait);
    recorder_->RefreshDevice();
    PageOrientationBut->setChecked(recorder_->PageOrientation() == TPageOrientation::Landscape);
    ChangeAndReformat();
}

void TPreviewForm::PrintDocument() {
    auto unavailable = [this] {
        if (OnPrinterUnavailable) OnPrinterUnavailable();
        else QMessageBox::warning(this, windowTitle(), U("Принтер не доступен!"));
    };
    if (!recorder_->RefreshDevice() || !recorder_->Printer()) return unavailable();
    QPrinter& printer = *recorder_->Printer();
    QPrintDialog dialog(&printer, this);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange);
    dialog.setMinMax(1, pages_.Count());
    if (printer.fromPage() == 0) printer.setFromTo(1, pages_.Count());
    if (dialog.exec() != QDialog::Accepted) return;
    int first = 1, last = pages_.Count();
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = printer.fromPage();
        last = std::max(first, printer.toPage());
    }
    if (viewer_ && !viewer_->title().isEmpty()) printer.setDocName(viewer_->title());
    printer.setFullPage(true);
    const QRectF paper = printer.paperRect(QPrinter::DevicePixel).translated(-printer.paperRect(QPrinter::DevicePixel).topLeft());
    auto* status = new TPrnStatusForm(this);
    status->setAttribute(Qt::WA_DeleteOnClose);
    status->PrintWithProgress(*recorder_, printer, paper, first - 1, last - 1, [this, status, unavailable](bool ok) {
        // The sheet is read with its printable area again.
        if (QPrinter* p = recorder_->Printer()) p->setFullPage(false);
        if (!ok && !status->Cancelled()) unavailable();
    });
}

void TPreviewForm::PagePress(TPageBox* box, Qt::MouseButton button, QPoint point) {
    if (QWidget* focused = QApplication::focusWidget()) focused->clearFocus();
    const bool left = button == Qt::LeftButton, right = button == Qt::RightButton;
    if (ZoomCursorPrintBut->isChecked() || ZoomCursorBut->isChecked()) {
        if (left || right) box->setCursor(PreviewCursor(left ? TPreviewCursor::ZoomIn : TPreviewCursor::ZoomOut));
    }
    if (ZoomCursorPrintBut->isChecked()) {
        if (!left && !right) return;
        const float before = PrintScale;
        PrintScale = StepPrintScale(PrintScale, left);
        if (PrintScale == before) return;
        // A cancelled formatting keeps the pages of the scale they were made at.
        if (!Reformat()) {
            PrintScale = before;
            return;
        }
        pages_.SetCount(recorder_->PageCount());
        LayoutPages();
        ShowPage(pages_.Current());
    } else if (ZoomCursorBut->isChecked()) {
        if (!left && !right) return;
        const double before = ViewZoom;
        ViewZoom = StepViewZoom(ViewZoom, left);
        ZoomBox->blockSignals(true);
        ZoomBox->setCurrentIndex(kZoomManual);
        ZoomBox->blockSignals(false);
        LayoutPages();
        const double ratio = before > 0 ? ViewZoom / before : 1;
        const QPoint inGrey = box->parentWidget()->pos() + QPoint(int(point.x() * ratio), int(point.y() * ratio));
        const QPoint to = CentreOn(inGrey, ScrollBox->viewport()->size());
        ScrollBox->horizontalScrollBar()->setValue(to.x());
        ScrollBox->verticalScrollBar()->setValue(to.y());
    } else if (HandCursorBut->isChecked() && left) {
        box->setCursor(PreviewCursor(TPreviewCursor::HandClosed));
        dragging_ = true;
        dragPoint_ = box->mapToGlobal(point);
    }
}

void TPreviewForm::PageMove(TPageBox* box, Qt::MouseButtons buttons, QPoint global) {
    if (dragging_ && buttons) {
        const QPoint by = dragPoint_ - global;
        dragPoint_ = global;
        ScrollBox->horizontalScrollBar()->setValue(ScrollBox->horizontalScrollBar()->value() + by.x());
        ScrollBox->verticalScrollBar()->setValue(ScrollBox->verticalScrollBar()->value() + by.y());
    } else if (!buttons) {
        box->setCursor(PreviewCursor(HandCursorBut->isChecked() ? TPreviewCursor::HandOpened : TPreviewCursor::Zoom));
    }
}

void TPreviewForm::PageRelease(TPageBox* box) {
    dragging_ = false;
    box->setCursor(PreviewCursor(HandCursorBut->isChecked() ? TPreviewCursor::HandOpened : TPreviewCursor::Zoom));
}

TPageBox::TPageBox(TPreviewForm& form, bool right, QWidget* parent) : QWidget(parent), form_(form), right_(right) {
    setMouseTracking(true);
}

void TPageBox::paintEvent(QPaintEvent*) {
    const int page = right_ ? form_.Pages().RightPage() : form_.Pages().LeftPage();
    if (page < 0) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    form_.Recorder().PaintSheet(painter, page, rect());
}

void TPageBox::mousePressEvent(QMouseEvent* event) { form_.PagePress(this, event->button(), event->position().toPoint()); }

void TPageBox::mouseMoveEvent(QMouseEvent* event) {
    form_.PageMove(this, event->buttons(), event->globalPosition().toPoint());
}

void TPageBox::mouseReleaseEvent(QMouseEvent*) { form_.PageRelease(this); }

}  // namespace vitrina
