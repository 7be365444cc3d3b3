#include "dialogs/font_form.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

#include "html/doc_engine.h"
#include "html/doc_scheme_handler.h"
#include "html/frame_viewer.h"
#include "imaging/color_names.h"
#include "platform/qt_text.h"
#include "widgets/color_grid.h"

namespace vitrina {
namespace {

QString Ru(const char* utf8) { return QString::fromUtf8(utf8); }

const char* const kDefaultFont = "Arial";
// Where the viewer finds the sample: the engine serves it from memory.
const char* const kSamplePath = "c:\\vitrina\\fontsample.htm";

TColor ButtonFaceColor(const QWidget* widget) {
    const QColor c = widget->palette().color(QPalette::Button);
    return static_cast<TColor>(c.red() | (c.green() << 8) | (c.blue() << 16));
}

int RowOf(const QListWidget* list, const QString& text) {
    for (int row = 0; row < list->count(); ++row)
        if (list->item(row)->text().compare(text, Qt::CaseInsensitive) == 0) return row;
    return -1;
}

QLabel* Caption(const char* text, QWidget* buddy) {
    auto* label = new QLabel(Ru(text));
    label->setBuddy(buddy);
    return label;
}

}  // namespace

QStringList TFontForm::InstalledFonts() {
    // A family that several foundries make is listed once per foundry ("Nimbus Sans [urw]");
    // the documents name the family alone.
    QStringList fonts;
    for (QString family : QFontDatabase::families()) {
        if (const qsizetype at = family.indexOf(QLatin1String(" [")); at > 0 && family.endsWith(QLatin1Char(']')))
            family.truncate(at);
        fonts << family;
    }
    fonts.removeDuplicates();
    return fonts;
}

QString TFontForm::FontSample() {
    return Ru("<center><h1>Заголовок</h1></center><ul>Нормальный текст<li><a href=NoWhere>Ссылка</a><li><b>Жирный "
              "текст</b><li><i>Наклонный текст</i><li><code>Текст кода</code></ul> <hr>");
}

TFontForm::TFontForm(TDocEngine& engine, QStringList fonts, QWidget* parent) : QDialog(parent) {
    setWindowTitle(Ru("Шрифт"));
    setModal(true);

    fontViewer_ = new TFrameViewer(engine, this);
    fontViewer_->setObjectName("FontViewer");
    fontViewer_->SetViewImages(false);
    // The sample's link goes nowhere.
    fontViewer_->OnHotSpotTargetClick = [](TFrameViewer*, const std::string&, const std::string&, bool& handled) {
        handled = true;
    };
    fontViewer_->setMinimumSize(360, 160);
    reload_ = new QTimer(this);
    reload_->setSingleShot(true);
    reload_->setInterval(0);
    // The sample takes no selection.
    const QString sample = QStringLiteral("<style>*{user-select:none}</style>") + FontSample();
    engine.Handler().SetProgramDocument(kSamplePath, QByteArray::fromStdString(Utf8ToCp1251(sample.toStdString())));
    connect(reload_, &QTimer::timeout, this, [this] { fontViewer_->LoadFromFile(kSamplePath); });

    fontListBox_ = new QListWidget;
    fontListBox_->setObjectName("FontListBox");
    fonts.removeDuplicates();
    std::sort(fonts.begin(), fonts.end(),
              [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    fontListBox_->addItems(fonts);
    connect(fontListBox_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0) SetFontName(Utf8ToCp1251(fontListBox_->item(row)->text().toStdString()));
    });

    backListBox_ = new QListWidget;
    backListBox_->setObjectName("BackListBox");
    for (const TColorName& entry : ColorNames()) {
        auto* item = new QListWidgetItem(QString::fromLatin1(entry.name), backListBox_);
        item->setData(Qt::UserRole, entry.value);
    }
    connect(backListBox_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0) SetBackground(backListBox_->item(row)->data(Qt::UserRole).toInt());
    });

    // The setters clear the grid's mark (a colour from elsewhere may be in no cell); a click keeps
    // it on the cell clicked.
    const auto colorGrid = [this](const char* name, void (TFontForm::*set)(TColor)) {
        auto* grid = new TColorGrid;
        grid->setObjectName(name);
        grid->OnChange = [this, grid, set](TColor color) {
            const int cell = grid->Selected();
            (this->*set)(color);
            grid->SetSelected(cell);
        };
        return grid;
    };
    fontColorGrid_ = colorGrid("FontColorGrid", &TFontForm::SetFontColor);
    hotSpotColorGrid_ = colorGrid("HotSpotColorGrid", &TFontForm::SetHotSpotColor);

    fontSizeEdit_ = new QSpinBox;
    fontSizeEdit_->setObjectName("FontSizeEdit");
    fontSizeEdit_->setRange(6, 24);
    connect(fontSizeEdit_, &QSpinBox::valueChanged, this, [this](int size) { SetFontSize(size); });

    resetButton_ = new QPushButton(Ru("&Сброс"));
    resetButton_->setObjectName("ResetButton");
    connect(resetButton_, &QPushButton::clicked, this, [this] { Reset(); });
    okButton_ = new QPushButton(Ru("O&K"));
    okButton_->setObjectName("OKButton");
    okButton_->setDefault(true);
    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);
    cancel_ = new QPushButton(Ru("Отмена"));
    cancel_->setObjectName("Cancel");
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

    auto* fontColumn = new QVBoxLayout;
    fontColumn->addWidget(Caption("&Шрифт", fontListBox_));
    fontColumn->addWidget(fontListBox_);
    auto* colours = new QGridLayout;
    colours->addWidget(Caption("Цвет &текста", fontColorGrid_), 0, 0);
    colours->addWidget(Caption("Цвет &ссылки", hotSpotColorGrid_), 0, 1);
    colours->addWidget(fontColorGrid_, 1, 0);
    colours->addWidget(hotSpotColorGrid_, 1, 1);
    auto* size = new QHBoxLayout;
    size->addWidget(Caption("&Размер", fontSizeEdit_));
    size->addWidget(fontSizeEdit_);
    size->addStretch();
    auto* lookColumn = new QVBoxLayout;
    lookColumn->addLayout(colours);
    lookColumn->addLayout(size);
    lookColumn->addWidget(Caption("&Цвет фона", backListBox_));
    lookColumn->addWidget(backListBox_);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(okButton_);
    buttons->addWidget(cancel_);
    buttons->addWidget(resetButton_);
    buttons->addStretch();
    auto* top = new QHBoxLayout;
    top->addLayout(fontColumn, 3);
    top->addLayout(lookColumn, 2);
    top->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(fontViewer_, 1);
    backListBox_->setMinimumHeight(90);

    SetFontName(kDefaultFont);
    SetFontSize(8);
    SetFontColor(0);
    SetHotSpotColor(0x3366);
    SetBackground(0xFFFFFF);
}

void TFontForm::SetFontName(const std::string& name) {
    sampleFontName_ = name;
    int row = RowOf(fontListBox_, QText(name));
    if (row < 0) row = RowOf(fontListBox_, QString::fromLatin1(kDefaultFont));
    {
        const QSignalBlocker quiet(fontListBox_);
        fontListBox_->setCurrentRow(row);
        if (row < 0) fontListBox_->clearSelection();
        else fontListBox_->scrollToItem(fontListBox_->item(row));
    }
    ShowSample();
}

void TFontForm::SetFontColor(TColor color) {
    fontColor_ = color;
    fontColorGrid_->ClearMark();
    ShowSample();
}

void TFontForm::SetHotSpotColor(TColor color) {
    hotSpotColor_ = color;
    hotSpotColorGrid_->ClearMark();
    ShowSample();
}

void TFontForm::SetFontSize(int size) {
    fontSize_ = size;
    {
        const QSignalBlocker quiet(fontSizeEdit_);
        fontSizeEdit_->setValue(size);
    }
    ShowSample();
}

void TFontForm::SetBackground(TColor color) {
    sampleBackground_ = color;
    const QString name = QString::fromLatin1(ColorToString(color));
    int row = -1;
    for (int i = 0; i < backListBox_->count() && row < 0; ++i)
        if (backListBox_->item(i)->text() == name) row = i;
    if (row < 0) {
        auto* item = new QListWidgetItem(name, backListBox_);
        item->setData(Qt::UserRole, color);
        row = backListBox_->count() - 1;
    }
    {
        const QSignalBlocker quiet(backListBox_);
        backListBox_->setCurrentRow(row);
    }
    ShowSample();
}

std::string TFontForm::FontName() const {
    const QListWidgetItem* item = fontListBox_->currentRow() >= 0 ? fontListBox_->currentItem() : nullptr;
    return item ? Utf8ToCp1251(item->text().toStdString()) : std::string(kDefaultFont);
}

TColor TFontForm::Background() const {
    const QListWidgetItem* item = backListBox_->currentRow() >= 0 ? backListBox_->currentItem() : nullptr;
    return item ? item->data(Qt::UserRole).toInt() : ButtonFaceColor(this);
}

void TFontForm::Reset() {
    const TKept kept = kept_;
    SetFontName(kept.fontName);
    SetFontSize(kept.fontSize);
    SetFontColor(kept.fontColor);
    SetHotSpotColor(kept.hotSpotColor);
    SetBackground(kept.background);
}

void TFontForm::showEvent(QShowEvent* event) {
    kept_ = {FontName(), fontColor_, hotSpotColor_, Background(), fontSize_};
    QDialog::showEvent(event);
}

void TFontForm::ShowSample() {
    fontViewer_->SetDefaults(sampleFontName_, fontColor_, fontSize_, hotSpotColor_, sampleBackground_);
    reload_->start();
}

}  // namespace vitrina
