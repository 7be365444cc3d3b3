#include "html/doc_engine.h"

#include <QWebEngineProfile>

#include "html/doc_request_guard.h"
#include "html/doc_scheme_handler.h"
#include "html/doc_url.h"

namespace vitrina {

TDocEngine::TDocEngine(const TDocumentFiles& files, const TDocumentReach& reach)
    : handler_(new TDocSchemeHandler(files, reach)), guard_(new TDocRequestGuard()) {}

QWebEngineProfile* TDocEngine::Profile() const {
    if (profile_) return profile_;
    profile_ = new QWebEngineProfile();
    // Pictures come from memory through the handler: no cache, nothing written to disk.
    profile_->setHttpCacheType(QWebEngineProfile::NoCache);
    profile_->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
    profile_->setSpellCheckEnabled(false);
    profile_->setUrlRequestInterceptor(guard_);
    profile_->installUrlSchemeHandler(kDocScheme, handler_);
    return profile_;
}

TDocEngine::~TDocEngine() {
    if (profile_) {
        profile_->removeAllUrlSchemeHandlers();
        profile_->setUrlRequestInterceptor(nullptr);
        delete profile_;
    }
    delete handler_;
    delete guard_;
}

QSize TDocEngine::LastPictureSize() const { return handler_->LastPictureSize(); }

}  // namespace vitrina
