#include "html/doc_engine.h"

#include <QWebEngineProfile>

#include "html/doc_scheme_handler.h"
#include "html/doc_url.h"

namespace vitrina {

TDocEngine::TDocEngine(const TDocumentFiles& files)
    : profile_(new QWebEngineProfile()), handler_(new TDocSchemeHandler(files)) {
    // Pictures come from memory through the handler: no cache, nothing written to disk.
    profile_->setHttpCacheType(QWebEngineProfile::NoCache);
    profile_->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
    profile_->setSpellCheckEnabled(false);
    profile_->installUrlSchemeHandler(kDocScheme, handler_);
}

TDocEngine::~TDocEngine() {
    profile_->removeAllUrlSchemeHandlers();
    delete profile_;
    delete handler_;
}

QSize TDocEngine::LastPictureSize() const { return handler_->LastPictureSize(); }

}  // namespace vitrina
