#include "search/find_pane.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>

#include <set>

#include "session/busy.h"
#include "platform/cp1251.h"
#include "platform/qt_text.h"
#include "resources/find_files.h"
#include "search/document_scan.h"
#include "session/disc_session.h"

namespace vitrina {

namespace {

const std::string& EnterWordText() {
    static const std::string text = Utf8ToCp1251("Введите слово для поиска");
    return text;
}

const std::string& NotFoundText() {
    static const std::string text = Utf8ToCp1251("Текст не найден");
    return text;
}

}  // namespace

TFindTxtHtml::TFindTxtHtml(TDiscSession& session, IFindPaneHost& host, IFindDialog* dialog, QWidget* fieldParent)
    : session_(session), host_(host), dialog_(dialog), hosted_(fieldParent != nullptr) {
    for (const RFindTxt& a : session_.Model.FindAreas) {
        TArea area;
        area.field = new QLineEdit(fieldParent);
        area.field->hide();
        area.field->setFrame(false);
        area.field->setToolTip(QText(a.hint));
        QFont font = area.field->font();
        font.setPixelSize(std::max(1, a.vh - a.vy - 1));
        area.field->setFont(font);
        area.field->setGeometry(a.vx, a.vy, std::max(0, a.vw - a.vx), std::max(0, a.vh - a.vy));
        area.field->setMouseTracking(true);
        area.field->installEventFilter(this);
        connect(area.field, &QLineEdit::textChanged, this, [this] { TextChanged(); });
        area.frame = a.frame;
        area.exclusions = a.nofiles;
        area.number = a.number;
        area.screen = a.screen;
        areas_.push_back(std::move(area));
    }
    ShowScreenFields();
}

TFindTxtHtml::~TFindTxtHtml() {
    // Fields still without a window, or on a window that outlives the pane, go with it.
    for (TArea& a : areas_) delete a.field;
}

QLineEdit* TFindTxtHtml::Field(int number) const {
    const int i = AreaOf(number);
    return i < 0 ? nullptr : areas_[std::size_t(i)].field;
}

int TFindTxtHtml::AreaOf(int number) const {
    for (std::size_t i = 0; i < areas_.size(); ++i)
        if (areas_[i].number == number) return int(i);
    return -1;
}

void TFindTxtHtml::HostFields(QWidget* dialog, bool findDialog) {
    for (TArea& a : areas_) {
        if (!a.field) continue;
        a.field->setParent(dialog);
        a.field->hide();
    }
    hosted_ = findDialog;
    if (findDialog) ShowFieldsOf(session_.CurrentScreen, true);
}

void TFindTxtHtml::DialogClosed() {
    SetIdle(true);
    host_.ClearStatus();
    hosted_ = false;
}

void TFindTxtHtml::ShowFieldsOf(int screen, bool shown) {
    for (TArea& a : areas_) {
        if (a.screen != screen || !a.field) continue;
        // A field without a window would become a window of its own.
        a.field->setVisible(shown && hosted_ && a.field->parentWidget());
        if (shown) a.field->update();
    }
}

void TFindTxtHtml::ShowScreenFields() {
    const int current = session_.CurrentScreen;
    if (previousScreen_ != current) ShowFieldsOf(previousScreen_, false);
    ShowFieldsOf(current, true);
    previousScreen_ = current;
}

void TFindTxtHtml::HideFields(bool hide) { ShowFieldsOf(session_.CurrentScreen, !hide); }

void TFindTxtHtml::SetIdle(bool idle) {
    // Idle again (found, stopped, the dialog closed): a running scan ends quietly.
    if (idle) scan_.Stop();
    idle_ = idle;
    if (dialog_) dialog_->SetFindButtonHint(Utf8ToCp1251(idle ? "Искать" : "Остановить поиск"));
}

void TFindTxtHtml::SetAllDocuments(bool all) {
    if (all != allDocuments_) {
        for (TArea& a : areas_) a.documents.clear();
        scanPosition_ = -1;
    }
    allDocuments_ = all;
    indexMode_ = false;
    contentsMode_ = false;
}

void TFindTxtHtml::SetScope(TScope scope) {
    switch (scope) {
    case TScope::Document:
        SetAllDocuments(false);
        break;
    case TScope::Index:
        indexMode_ = true;
        contentsMode_ = false;
        break;
    case TScope::Contents:
        contentsMode_ = true;
        indexMode_ = false;
        break;
    }
}

void TFindTxtHtml::TextChanged() {
    if (IsBusy()) return;
    scanPosition_ = -1;
    headwordTried_ = false;
    results_ = {};
    host_.ClearStatus();
}

bool TFindTxtHtml::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove) {
        host_.ClearSkinHover();
        return false;
    }
    if (event->type() != QEvent::KeyPress) return false;
    // Typing waits while a search runs.
    if (IsBusy()) return true;
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        if (!areas_.empty() && watched == areas_.front().field) FindWithFirstField();
        return true;
    }
    // Esc goes on to the window, which closes the dialog or stops the search.
    return false;
}

void TFindTxtHtml::FindWithFirstField() {
    if (dialog_) dialog_->RunDialogCommand("findnext1", "no");
    else FindNext(1);
}

void TFindTxtHtml::EnterInFields() {
    if (IsBusy() || areas_.empty()) return;
    if (QLineEdit* first = areas_.front().field; first && first->isVisible()) FindWithFirstField();
}

void TFindTxtHtml::FindNext(int number) {
    host_.ClearStatus();
    const int i = AreaOf(number);
    if (i < 0) {
        idle_ = true;
        return;
    }
    TArea& area = areas_[std::size_t(i)];
    if (!area.field) return;
    const std::string text = NormalisedFindText(Utf8ToCp1251(area.field->text().toStdString()));
    if (QText(text) != area.field->text()) area.field->setText(QText(text));
    if (contentsMode_) {
        ContentsSearch(text);
        SetIdle(true);
    } else if (indexMode_) {
        IndexSearch(area, text);
    } else {
        TextSearch(area, text);
    }
}

void TFindTxtHtml::TextSearch(TArea& area, const std::string& text) {
    SetIdle(false);
    if (text.empty()) {
        host_.ShowStatus(EnterWordText());
        SetIdle(true);
        return;
    }
    if (startDocument_.empty()) startDocument_ = host_.CurrentDocument();
    if (!session_.ThesaurusWindow || headwordTried_) return FindInPage(area, text);
    // Headwords of the thesaurus carry a mark in front.
    headwordTried_ = true;
    QPointer<TFindTxtHtml> self(this);
    const std::size_t index = std::size_t(&area - areas_.data());
    auto then = [self, index, text](bool found) {
        if (!self) return;
        if (found || self->idle_) self->SetIdle(true);
        else self->FindInPage(self->areas_[index], text);
    };
    if (!host_.FindInViewer(area.frame, QText("~ " + text), session_.MatchCase, false, then)) {
        headwordTried_ = false;
        SetIdle(true);
    }
}

void TFindTxtHtml::FindInPage(TArea& area, const std::string& text) {
    QPointer<TFindTxtHtml> self(this);
    const std::size_t index = std::size_t(&area - areas_.data());
    auto then = [self, index, text](bool found) {
        if (!self) return;
        // Found, or stopped by the reader meanwhile.
        if (found || self->idle_) self->SetIdle(true);
        else self->ScanOtherDocuments(self->areas_[index], text);
    };
    if (!host_.FindInViewer(area.frame, QText(text), session_.MatchCase, false, then)) SetIdle(true);
}

void TFindTxtHtml::ScanOtherDocuments(TArea& area, const std::string& text) {
    area.documents.clear();
    if (allDocuments_) {
        // The documents in the disc's folder, in the order of the file search, then those of
        // the store: a disc that keeps its documents in the store has none on disk.
        TDynamicStringArray masks{"*.htm*"};
        FindFiles(session_.Drives(), session_.ProgramFolder, masks, true, area.documents, false);
        std::set<std::string> listed;
        for (const std::string& d : area.documents) listed.insert(LowerCase1251(d));
        for (std::string& d : IndexScanDocuments(session_.Store.ListFiles(), session_.ContentFolder, {}, true))
            if (listed.insert(LowerCase1251(d)).second) area.documents.push_back(std::move(d));
    }
    // The scan keeps its own list: a click meanwhile may clear the area's.
    const auto documents = std::make_shared<const TDynamicStringArray>(area.documents);
    const QString query = QText(text);
    const bool matchCase = session_.MatchCase;
    const std::string frame = area.frame;
    auto work = [&files = session_.Files(), documents, from = std::size_t(scanPosition_ + 1),
                 textQuery = TTextQuery(text, matchCase),
                 skip = LowerCase1251(startDocument_)](const std::function<bool(std::size_t)>& keepGoing) {
        TScanCallbacks callbacks;
        callbacks.keepGoing = keepGoing;
        callbacks.matched = [](std::size_t) { return false; };
        return TDocumentScan(files).Scan(*documents, from, textQuery, callbacks, skip);
    };
    QPointer<TFindTxtHtml> self(this);
    auto done = [this, self, documents, query, matchCase, frame](const TScanOutcome& outcome) {
        if (outcome.end == TScanEnd::Matched) {
            scanPosition_ = outcome.position;
            host_.BringDocument((*documents)[std::size_t(outcome.position)], false, [self, query, matchCase, frame] {
                if (!self) return;
                const bool asked = self->host_.FindInViewer(frame, query, matchCase, false, [self](bool) {
                    if (self) self->SetIdle(true);
                });
                if (!asked) self->SetIdle(true);
            });
            return;
        }
        if (outcome.end == TScanEnd::Stopped) return SetIdle(true);
        scanPosition_ = -1;
        startDocument_.clear();
        if (allDocuments_) return SetIdle(true);
        // Within the shown document the find starts over at its top.
        const bool asked = host_.FindInViewer(frame, query, matchCase, true, [self](bool found) {
            if (!self) return;
            if (!found) self->host_.ShowStatus(NotFoundText());
            self->SetIdle(true);
        });
        if (!asked) SetIdle(true);
    };
    // Where a stopped scan was, the next find goes on from.
    scan_.Start(std::move(work), [this](std::size_t i) { scanPosition_ = std::ptrdiff_t(i); }, std::move(done));
}

void TFindTxtHtml::IndexSearch(TArea& area, const std::string& text) {
    if (text.empty()) {
        host_.ShowStatus(EnterWordText());
        return SetIdle(true);
    }
    const std::string& folder = session_.ProgramFolder;
    TMakeFind find(
        session_.Files(), [this](const std::string& message, TSearchMessageKind) { host_.ShowIndexMessage(message); },
        &indexCache_);
    find.SetIndexFolder(folder);
    results_ = {};
    if (find.FindDocuments(text, results_, false)) {
        for (std::string& path : results_.paths) path = folder + path;
        return ShowIndexResults();
    }
    SetIdle(false);
    scanPosition_ = -1;
    if (area.documents.empty())
        area.documents =
            IndexScanDocuments(session_.Store.ListFiles(), session_.ContentFolder, area.exclusions, allDocuments_);
    const auto found = std::make_shared<TFindResultLists>();
    auto work = [&files = session_.Files(), documents = area.documents, folder,
                 textQuery = TTextQuery(text, session_.MatchCase),
                 found](const std::function<bool(std::size_t)>& keepGoing) {
        return ScanForTitledDocuments(files, documents, folder, textQuery, *found, keepGoing);
    };
    auto progress = [this, n = std::max<std::size_t>(1, area.documents.size())](std::size_t i) {
        scanPosition_ = std::ptrdiff_t(i);
        if (!dialog_) return;
        // The bar fills in step with the documents; it cannot fill past its own length.
        const int range = dialog_->ScaleRange();
        const long long target = (long long)(i + 1) * range / (long long)n;
        while (dialog_->ScaleFilled() <= target && dialog_->ScaleFilled() <= range) dialog_->StepScale();
    };
    scan_.Start(std::move(work), std::move(progress), [this, found](const TScanOutcome&) {
        results_ = std::move(*found);
        ShowIndexResults();
    });
}

void TFindTxtHtml::ShowIndexResults() {
    if (dialog_) {
        dialog_->ResetScale();
        dialog_->ShowFindResults(results_);
    }
    if (results_.paths.empty()) host_.ShowStatus(NotFoundText());
    SetIdle(true);
}

void TFindTxtHtml::ContentsSearch(const std::string& text) {
    if (text.empty()) host_.ShowStatus(EnterWordText());
    else if (!host_.FindInContents(text)) host_.ShowStatus(NotFoundText());
}

void TFindTxtHtml::OpenResult(int index) {
    if (index < 0 || std::size_t(index) >= results_.paths.size()) return;
    QPointer<TFindTxtHtml> self(this);
    host_.BringDocument(results_.paths[std::size_t(index)], true, [self] {
        if (!self) return;
        // A text search in the chosen document, whatever the dialog's kind.
        const bool indexMode = self->indexMode_;
        self->indexMode_ = false;
        self->FindNext(1);
        self->indexMode_ = indexMode;
    });
}

}  // namespace vitrina
