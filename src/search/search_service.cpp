#include "search/search_service.h"

#include "platform/copy_data_channel.h"
#include "platform/cp1251.h"
#include "platform/program_copy.h"
#include "platform/request_record.h"
#include "platform/window_directory.h"
#include "search/dialog_find_pane.h"
#include "search/find_pane.h"
#include "search/make_tesaurus_find.h"
#include "search/word_search_window.h"
#include "session/disc_session.h"

namespace vitrina {

TSearchService::TSearchService(TDiscSession& session, IFindDialog* dialog, TFindTxtHtml* pane,
                               TWindowDirectory* windows, TCopyDataChannel* channel, TSearchMessages messages)
    : session_(session), dialog_(dialog), pane_(pane), windows_(windows), channel_(channel),
      messages_(std::move(messages)) {
    StartThesaurus = [this](const std::string& document) {
        StartProgramCopy(session_.Drives().ToHostPath(session_.ProgramFolder), {document, "/t"});
    };
}

TSearchService::~TSearchService() = default;

std::string TSearchService::ThesaurusTitle() { return Utf8ToCp1251("Тезаурус"); }

void TSearchService::ShowFindDialog() {
    if (dialog_) dialog_->ShowFindDialog();
}

void TSearchService::CloseFindDialog() {
    if (!FindDialogVisible()) return;
    if (pane_) pane_->SetIdle(true);
    dialog_->CloseShownDialog();
}

bool TSearchService::FindDialogVisible() const {
    return dialog_ && dialog_->FindDialogShown();
}

void TSearchService::FindNext(int field) {
    if (pane_) pane_->FindNext(field);
}

void TSearchService::FindAcrossAll(bool all) {
    if (pane_) pane_->SetAllDocuments(all);
}

void TSearchService::FindPaneEnter() {
    if (pane_) pane_->EnterInFields();
}

void TSearchService::Thesaurus(const std::string& word) {
    TMakeTesaurusFind find(session_.Files(), messages_);
    find.SetIndexFolder(session_.ProgramFolder);
    std::string document;
    if (!find.FindThesaurusEntry(word, document)) return;
    const std::string path = session_.ProgramFolder + document;
    TWindowEntry window;
    if (windows_ && windows_->FindWindowByTitle(ThesaurusTitle(), window)) {
        windows_->Send(window, "show");
        // The record holds at most 273 characters of the path.
        if (channel_) channel_->Send(window, EncodeRequestRecord({kRequestOpen, {{0, path.substr(0, 273)}}}));
        return;
    }
    if (!session_.Files().StoreFileExists(path.substr(0, path.find('#')))) return;
    if (StartThesaurus) StartThesaurus(path);
}

void TSearchService::ShowWordSearch() {
    if (!wordSearchHost_) return;
    if (!wordSearch_)
        wordSearch_ = std::make_unique<TWordSearchWindow>(session_.Files(), session_.Folders().cache, *wordSearchHost_);
    wordSearch_->ShowInFront();
}

}  // namespace vitrina
