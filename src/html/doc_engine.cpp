#include "html/doc_engine.h"

#include <QByteArray>
#include <QQuickWindow>
#include <QWebEngineProfile>

#include <utility>

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

void TDocEngine::PrepareProcess(bool withoutSandbox, bool software) {
    TDocSchemeHandler::RegisterScheme();
    // The engine reads its flags from this variable when it starts; the reader's own flags stay.
    // No host name resolves, IP addresses included, which stops what the request interceptor
    // never sees (preconnects, a peer connection's relay); a peer connection sends no datagram
    // of its own either.
    static const std::pair<const char*, const char*> kFlags[] = {
        {"--host-resolver-rules", "=\"MAP * ~NOTFOUND\""},
        {"--force-webrtc-ip-handling-policy", "=disable_non_proxied_udp"}};
    QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    auto add = [&flags](const QByteArray& name, const QByteArray& value) {
        if (flags.contains(name)) return;
        if (!flags.isEmpty()) flags += ' ';
        flags += name + value;
    };
    for (const auto& [name, value] : kFlags) add(name, value);
    // As a flag rather than QTWEBENGINE_DISABLE_SANDBOX, which also makes the engine say so on
    // every start.
    if (withoutSandbox) add("--no-sandbox", "");
    // The engine's own error log (a lost GPU context under load, and the like) stays off the
    // terminal unless the reader's flags choose a level.
    add("--log-level", "=3");
    if (software) {
        add("--disable-gpu", "");
        // No GL context at all: the engine's set-up makes one for sharing whatever the scene
        // graph draws with, and that alone loads Mesa's rasteriser.
        qputenv("QT_XCB_GL_INTEGRATION", "none");
        qputenv("QT_QPA_OFFSCREEN_NO_GLX", "1");
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    }
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags);
}

}  // namespace vitrina
