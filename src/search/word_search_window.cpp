#include "search/word_search_window.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QThread>
#include <QVBoxLayout>

#include "platform/cp1251.h"
#include "search/disc_word_index.h"
#include "search/find_pane.h"

namespace vitrina {

namespace {

QString Text(const std::string& text1251) { return QString::fromStdString(Cp1251ToUtf8(text1251)); }

}  // namespace

TWordSearchWindow::TWordSearchWindow(const TDocumentFiles& files, const std::filesystem::path& cacheRoot,
                                     IFindPaneHost& host)
    : QWidget(nullptr, Qt::Window), files_(files), cacheRoot_(cacheRoot), host_(host),
      field_(new QLineEdit(this)), status_(new QLabel(this)), list_(new QListWidget(this)) {
    setWindowTitle(QStringLiteral("Поиск по тексту"));
    setObjectName(QStringLiteral("wordSearch"));
    field_->setPlaceholderText(QStringLiteral("Слова или их начало; \"слова подряд\" в кавычках"));
    field_->setClearButtonEnabled(true);
    list_->setWordWrap(true);
    list_->setAlternatingRowColors(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(field_);
    layout->addWidget(status_);
    layout->addWidget(list_, 1);
    resize(560, 640);
    field_->installEventFilter(this);
    connect(field_, &QLineEdit::textChanged, this, [this] { Search(); });
    connect(list_, &QListWidget::itemActivated, this, [this] { OpenChosen(); });
}

TWordSearchWindow::~TWordSearchWindow() {
    // The worker reads the disc's store: it ends before the window (and the disc) go. It stops at
    // the next page.
    stop_->store(true);
    if (worker_) worker_->wait();
}

void TWordSearchWindow::ShowInFront() {
    show();
    raise();
    activateWindow();
    field_->setFocus();
    field_->selectAll();
    if (!index_.IsOpen() && !worker_) StartIndex();
}

void TWordSearchWindow::StartIndex() {
    if (cacheRoot_.empty()) {
        status_->setText(QStringLiteral("Поиск по тексту недоступен: нет папки для указателя."));
        return;
    }
    status_->setText(QStringLiteral("Составляется указатель слов диска..."));
    QPointer<TWordSearchWindow> self(this);
    auto stop = stop_;
    const TDocumentFiles& files = files_;
    const std::filesystem::path cache = cacheRoot_;
    worker_ = QThread::create([self, stop, &files, cache] {
        auto index = std::make_shared<TWordIndex>();
        const TWordIndexSource source = TDiscWordIndex(files, cache).Provide(
            *index, [self, stop](std::size_t done, std::size_t total) {
                if (stop->load()) return false;
                if (done % 50 == 0 && self)
                    QMetaObject::invokeMethod(self, [self, done, total] { if (self) self->Progress(done, total); },
                                              Qt::QueuedConnection);
                return true;
            });
        if (stop->load() || !self) return;
        QMetaObject::invokeMethod(self, [self, source, index] { if (self) self->IndexDone(int(source), index); },
                                  Qt::QueuedConnection);
    });
    worker_->start(QThread::LowPriority);
}

void TWordSearchWindow::Progress(std::size_t done, std::size_t total) {
    if (index_.IsOpen() || total == 0) return;
    status_->setText(QStringLiteral("Составляется указатель слов диска: %1 %").arg(done * 100 / total));
}

void TWordSearchWindow::IndexDone(int source, std::shared_ptr<TWordIndex> index) {
    worker_->wait();
    worker_->deleteLater();
    worker_ = nullptr;
    if (TWordIndexSource(source) == TWordIndexSource::Failed || !index->IsOpen()) {
        status_->setText(QStringLiteral("Не удалось составить указатель слов диска."));
        return;
    }
    index_ = std::move(*index);
    Search();
}

void TWordSearchWindow::Search() {
    list_->clear();
    hits_.clear();
    if (!index_.IsOpen()) return;
    const std::string query = Utf8ToCp1251(field_->text().toStdString());
    const auto results = index_.Search(query, kShownHits);
    if (!results) {
        // The database went bad under us: it is built again.
        index_.Close();
        status_->setText(QStringLiteral("Указатель повреждён и составляется заново..."));
        std::filesystem::remove_all(TDiscWordIndex(files_, cacheRoot_).Folder());
        if (!worker_) StartIndex();
        return;
    }
    hits_ = results->hits;
    status_->setText(field_->text().trimmed().isEmpty() ? QString()
                                                        : QStringLiteral("Найдено: %1").arg(results->estimate));
    for (const TWordHit& hit : hits_) {
        auto* item = new QListWidgetItem(list_);
        auto* label = new QLabel(QStringLiteral("<b>%1</b><br><small>%2</small><br>%3")
                                     .arg(Text(hit.title).toHtmlEscaped(), Text(hit.path).toHtmlEscaped(),
                                          Text(hit.snippet).replace("<b>", "<b style=\"background:#ffe680\">")),
                                 list_);
        label->setWordWrap(true);
        label->setTextFormat(Qt::RichText);
        label->setContentsMargins(4, 3, 4, 3);
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
        item->setSizeHint(QSize(0, label->heightForWidth(list_->viewport()->width() - 8) + 6));
        list_->setItemWidget(item, label);
    }
    if (!hits_.empty()) list_->setCurrentRow(0);
}

void TWordSearchWindow::OpenChosen() {
    const int row = list_->currentRow();
    if (row < 0 || std::size_t(row) >= hits_.size()) return;
    // The page is marked with the first word found, in the form it has there, as a find in it would.
    const QString snippet = Text(hits_[std::size_t(row)].snippet);
    const qsizetype start = snippet.indexOf(QStringLiteral("<b>"));
    const qsizetype end = snippet.indexOf(QStringLiteral("</b>"), start);
    const QString first = start < 0 || end < 0 ? QString() : snippet.mid(start + 3, end - start - 3);
    host_.BringDocument(hits_[std::size_t(row)].path, true, [this, self = QPointer<TWordSearchWindow>(this), first] {
        if (!self || first.isEmpty()) return;
        host_.FindInViewer({}, first, false, true, [](bool) {});
    });
}

bool TWordSearchWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == field_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Up || key == Qt::Key_Down) && list_->count() > 0) {
            const int row = list_->currentRow() + (key == Qt::Key_Up ? -1 : 1);
            list_->setCurrentRow(std::clamp(row, 0, list_->count() - 1));
            return true;
        }
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            OpenChosen();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TWordSearchWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        OpenChosen();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace vitrina
