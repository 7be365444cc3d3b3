#include "app/pane_questions.h"

#include <QApplication>
#include <QMessageBox>

#include "app/window_parts.h"
#include "html/doc_url.h"
#include "panes/html_module.h"
#include "platform/qt_text.h"
#include "screen/skin_window.h"
#include "screen/status_line.h"

namespace vitrina {

QWidget* TPaneQuestions::ActiveViewer() const {
    IHtmlPane* html = parts_.Html();
    return html ? html->ActiveViewer() : nullptr;
}

std::string TPaneQuestions::CurrentDocument() const { return parts_.Commands().CurrentDocument(); }

void TPaneQuestions::ClearSkinHover() { parts_.ClearSkinHover(); }

int TPaneQuestions::CurrentScreen() const { return parts_.CurrentScreen(); }

const std::string& TPaneQuestions::ProgramFolder() const { return parts_.session_.ProgramFolder; }

std::string TPaneQuestions::ResolveDocument(const std::string& link) const {
    return ResolveLink(link, CurrentDocument());
}

bool TPaneQuestions::ViewerVisible() const {
    QWidget* v = ActiveViewer();
    return v && v->isVisible();
}

void TPaneQuestions::OpenDocument(const std::string& document) { parts_.Commands().OpenDocument(document); }

void TPaneQuestions::OpenInHtmlArea(int number, const std::string& document) {
    if (IHtmlPane* html = parts_.NeedHtml()) html->OpenInHtmlArea(number, document);
}

void TPaneQuestions::HidePopups() { parts_.ClosePopups(); }

void TPaneQuestions::SetChapterHints(const std::string& next, const std::string& previous) {
    if (TSkinWindow* window = parts_.window_) window->SetChapterHints(next, previous);
}

QRect TPaneQuestions::ViewerRect() const {
    QWidget* v = ActiveViewer();
    return v ? v->geometry() : QRect();
}

void TPaneQuestions::SetViewerRect(const QRect& rect) {
    if (QWidget* v = ActiveViewer()) v->setGeometry(rect);
}

void TPaneQuestions::SetViewerShown(bool shown) {
    if (QWidget* v = ActiveViewer()) v->setVisible(shown);
}

void TPaneQuestions::ReloadViewer() {
    if (IHtmlPane* html = parts_.Html()) html->Reload();
}

bool TPaneQuestions::FindInViewer(const std::string& frame, const QString& text, bool matchCase, bool fromTop,
                                  std::function<void(bool)> done) {
    IHtmlPane* html = parts_.Html();
    return html && html->FindInViewer(frame, text, matchCase, fromTop, std::move(done));
}

void TPaneQuestions::BringDocument(const std::string& document, bool followTree, std::function<void()> done) {
    QWidget* v = ActiveViewer();
    if (!v) return done();
    v->show();
    if (followTree) parts_.TreeFollowDocument(document);
    parts_.Html()->BringDocument(document, std::move(done));
}

bool TPaneQuestions::FindInContents(const std::string& text) {
    TContentsTrees* trees = parts_.Trees();
    if (!trees) return false;
    TTreeViews* second = trees->Second();
    TTreeViews* tree = second && second->isVisible() ? second : trees->First();
    return tree && tree->FindByCaption(text);
}

void TPaneQuestions::ShowStatus(const std::string& text) { parts_.ShowStatus(text); }

void TPaneQuestions::ClearStatus() {
    if (TSkinWindow* window = parts_.window_; window && window->StatusLine()) window->StatusLine()->Clear();
}

void TPaneQuestions::ShowIndexMessage(const std::string& text) {
    // Not modal: a scan or a test goes on while it is up.
    auto* box = new QMessageBox(QMessageBox::Warning, QApplication::applicationDisplayName(), QText(text),
                                QMessageBox::Ok, parts_.window_);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

}  // namespace vitrina
